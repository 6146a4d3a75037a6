// The tax-office catalogue: running numbers of new offices, also when two
// workstations append at once, and what its form lets the operator change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/module_entries.h"
#include "db/db_lock.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/masterdata_fixture.h"
#include "tests/tables/empty_catalogue.h"

namespace {

constexpr int KEY_F8 = 0x4200;
constexpr int SKN = 0, NAZ = 1, ULI = 2, MIA = 5, KOD = 9, XML = 11;

// Another workstation appends an office while the form is open, through its
// own handle of the table, numbering it as the catalogue does.
int OtherWorkstationAppends(int32_t, int32_t) {
  TableHandles ours = Z5USKA;
  if (OpenZ5USKA(0) == 0) {
    d4blank(Z5USKA.table);
    f4assign(Z5USKA.field[SKN], "US INNY");
    lock_and_append(Z5USKA.table,
                    [](int) {
                      f4assign_long(Z5USKA.field[KOD], d4reccount(Z5USKA.table) + 1);
                      return 0;
                    },
                    nullptr);
    d4close(Z5USKA.table);
  }
  Z5USKA = ours;
  return 0;
}

class TaxOfficesTest : public MasterdataTest {
 protected:
  void SetUp() override {
    MasterdataTest::SetUp();
    if (HasFatalFailure()) return;
    OpenEmptyCatalogue(Z5USKA, OpenZ5USKA);
    Append(Z5USKA, {{SKN, "US B"}, {NAZ, "URZAD B"}, {KOD, "1"}, {XML, "1401"}});
    Append(Z5USKA, {{SKN, "US A"}, {NAZ, "URZAD A"}, {KOD, "2"}, {XML, "1402"}});
    d4close(Z5USKA.table);
    g4set_key_to(KEY_F8, OtherWorkstationAppends);
  }
  void TearDown() override {
    g4set_key_to(KEY_F8, nullptr);
    MasterdataTest::TearDown();
  }
  int Catalogue(const std::string& keys) {
    EXPECT_EQ(OpenZ5USKA(0), 0);
    int result = Run(keys, kartoteka_urzedow);
    d4close(Z5USKA.table);
    return result;
  }
  // "KOD SKN XML ULI MIA" of every office in record order.
  std::vector<std::string> Stored() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5USKA(0), 0);
    for (long n = 1; n <= d4reccount(Z5USKA.table); n++) {
      EXPECT_EQ(d4go(Z5USKA.table, n), 0);
      all.push_back(Trim(Z5USKA.field[KOD]) + " " + Trim(Z5USKA.field[SKN]) + " " + Trim(Z5USKA.field[XML]) + " " +
                    Trim(Z5USKA.field[ULI]) + " " + Trim(Z5USKA.field[MIA]));
    }
    d4close(Z5USKA.table);
    return all;
  }
};

TEST_F(TaxOfficesTest, NewOfficeNumberedUnderTheAppendLock) {
  // The other office lands while the form is open: the new one still gets a number of its own.
  EXPECT_EQ(Catalogue("{INS}1403{ENTER}URZAD C{ENTER}US C{ENTER}{F8}Polna{F2}{ESC}"), 0);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"1 US B 1401  ", "2 US A 1402  ", "3 US INNY   ",
                                                "4 US C 1403 Polna "}));
}

TEST_F(TaxOfficesTest, ModifyChangesOnlyTheAddress) {
  // The list runs by short name from the first: "US A". The code and the
  // names are passed over; the street comes first.
  EXPECT_EQ(Catalogue("{ALT+M}Lipowa{ENTER}{ENTER}{ENTER}Opole{F2}{ESC}"), 0);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"1 US B 1401  ", "2 US A 1402 Lipowa Opole"}));
  // Deleting is not offered.
  EXPECT_EQ(Catalogue("{DEL}{ESC}"), 0);
  EXPECT_EQ(Stored().size(), 2u);
}

}  // namespace
