// The number change of a stored document on the headless screen: Ctrl+N
// between the numberings, and two workstations giving one number.
#include <gtest/gtest.h>

#include <string>

#include "db/db_lock.h"
#include "sales/register_actions.h"
#include "tests/sales/sales_fixture.h"

namespace {

class NumberChangeTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(salesOptions.numbering[DOC_FV].prefix, "FV");
  }
  void Document(const char* number, const char* rec) {
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", number}, {"REC", rec}, {"DAW", "20261201"}});
    AppendRecord(Z5SPRE.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", number}, {"REK", rec}});
  }
  std::string Stored(long record, const char* name) {
    d4go(Z5SPRZ.table, record);
    return FieldText(Z5SPRZ.table, name);
  }
  long Number(long record) {
    d4go(Z5SPRZ.table, record);
    return f4long(d4field(Z5SPRZ.table, "NRV"));
  }
};

TEST_F(NumberChangeTest, CtrlNTakesAFreeNumberIntoTheHeaderAndItsLines) {
  Document("7", "1");
  d4go(Z5SPRZ.table, 1);
  // An entry that starts with a blank is not taken.
  HeadlessSetScript("{F9} A/1{F2}");
  zmien_numer_dokumentu(0);
  EXPECT_NE(seen.find("ZMIEŃ NUMER"), std::string::npos) << seen;
  EXPECT_EQ(Number(1), 7);
  EXPECT_EQ(Stored(1, "RE4"), "");

  HeadlessSetScript("FV/A/1{F2}");
  zmien_numer_dokumentu(0);
  EXPECT_EQ(Stored(1, "OSM"), "FV/A/1");
  EXPECT_EQ(Stored(1, "RE4"), "N");
  EXPECT_EQ(Stored(1, "PRE"), "");
  EXPECT_EQ(Stored(1, "NRV"), "");
  d4go(Z5SPRE.table, 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "NRV"), "");
  EXPECT_EQ(Z5SPRZ.table->file_locked, 0);
}

// Esc in the window leaves the document in its numbering, in the buffer as
// well as on disk.
TEST_F(NumberChangeTest, EscInTheCtrlNWindowKeepsTheNumbering) {
  Document("7", "1");
  d4go(Z5SPRZ.table, 1);
  for (const char* re4 : {" ", "N"}) {
    SetFields(Z5SPRZ.table, {{"RE4", re4}, {"OSM", "FV/A/1"}});
    ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
    HeadlessSetScript("{ESC}");
    zmien_numer_dokumentu(0);
    EXPECT_EQ(FieldText(Z5SPRZ.table, "RE4"), re4 == std::string(" ") ? "" : "N");
    EXPECT_EQ(Stored(1, "RE4"), re4 == std::string(" ") ? "" : "N");
    EXPECT_EQ(Number(1), 7);
  }
}

// While the window of document FV/7 proposes 12, a second workstation gives
// number 12 to FV/11: under the headers lock 12 is found taken and refused.
TEST_F(NumberChangeTest, TwoDocumentsRenumberedToOneNumberOneIsRefused) {
  Document("7", "1");
  Document("11", "2");
  pid_t other = StartSecondWorkstation(env, [] {
    d4go(Z5SPRZ.table, 2);
    f4assign_long(d4field(Z5SPRZ.table, "NRV"), 12);
    return d4write(Z5SPRZ.table, 2);
  });
  ASSERT_GT(other, 0);
  d4go(Z5SPRZ.table, 1);
  // Enter on the prefix proposes 12, F2 takes it; the lock finds it taken.
  HeadlessSetScript("{ENTER}{F9}{F2}{F9}{ENTER}{ESC}");
  zmien_numer_dokumentu(-1);
  EXPECT_TRUE(SecondWorkstationDone(other));
  EXPECT_NE(seen.find("Podaj numer dokumentu:    FV/   12/"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Podany numer już istnieje!"), std::string::npos) << seen;
  EXPECT_EQ(Number(1), 7);
  EXPECT_EQ(Number(2), 12);
  EXPECT_EQ(Z5SPRZ.table->file_locked, 0);
}

TEST_F(NumberChangeTest, MenuNumberIsStoredInTheHeaderAndItsLines) {
  Document("7", "1");
  d4go(Z5SPRZ.table, 1);
  HeadlessSetScript("{ENTER}{F2}");
  zmien_numer_dokumentu(-1);
  EXPECT_EQ(Number(1), 8);
  d4go(Z5SPRE.table, 1);
  EXPECT_EQ(f4long(d4field(Z5SPRE.table, "NRV")), 8);
  EXPECT_EQ(Z5SPRZ.table->file_locked, 0);
}

}  // namespace
