// The recipient window of a sales document on the headless screen.
#include <gtest/gtest.h>

#include <string>

#include "sales/recipient_window.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class RecipientWindowTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
    // Another document's recipient, where a failed seek of document 1 lands.
    AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", "5"}, {"REC", "1"}, {"NA1", "Inny odbiorca"}});
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"NA1", "Nabywca"}});
    d4go(Z5SPRZ.table, 1);
  }
  std::string Recipient(long record, const char* name) {
    d4go(Z5SPRO.table, record);
    return FieldText(Z5SPRO.table, name);
  }
};

TEST_F(RecipientWindowTest, AppendsOneRecordThenRewritesItAndLeavesOthersAlone) {
  HeadlessSetScript("{F9}{ENTER}{ENTER}Magazyn Polnoc{F2}");
  okno_odbiorcy();
  EXPECT_NE(seen.find("ODBIORCA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("kod odbiorcy."), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5SPRO.table), 2);
  EXPECT_EQ(Recipient(2, "NA1"), "Magazyn Polnoc");
  EXPECT_EQ(f4long(d4field(Z5SPRO.table, "SPR")), 1);
  EXPECT_EQ(f4long(d4field(Z5SPRO.table, "REK")), 1);
  EXPECT_EQ(f4long(d4field(Z5SPRO.table, "REC")), 2);
  EXPECT_EQ(Recipient(1, "NA1"), "Inny odbiorca");

  d4go(Z5SPRZ.table, 1);
  HeadlessSetScript("{ENTER}{ENTER}{ENTER}Brama 2{F2}");
  okno_odbiorcy();
  ASSERT_EQ(d4reccount(Z5SPRO.table), 2);
  EXPECT_EQ(Recipient(2, "NA1"), "Magazyn Polnoc");
  EXPECT_EQ(Recipient(2, "NA2"), "Brama 2");
  EXPECT_EQ(Recipient(1, "NA1"), "Inny odbiorca");
  EXPECT_EQ(Recipient(1, "NA2"), "");

  // Esc stores nothing, whatever was typed.
  d4go(Z5SPRZ.table, 1);
  HeadlessSetScript("{ENTER}{ENTER}X{ESC}");
  okno_odbiorcy();
  EXPECT_EQ(Recipient(2, "NA1"), "Magazyn Polnoc");
  EXPECT_EQ(d4reccount(Z5SPRO.table), 2);
}

TEST_F(RecipientWindowTest, EscOnADocumentWithoutOneBlanksNoOtherRecipient) {
  HeadlessSetScript("{ENTER}{ENTER}X{ESC}");
  okno_odbiorcy();
  EXPECT_EQ(d4reccount(Z5SPRO.table), 1);
  // A later move of the table writes nothing typed into the record it left.
  EXPECT_EQ(Recipient(1, "NA1"), "Inny odbiorca");
  EXPECT_EQ(Recipient(1, "REK"), "      5");
}

TEST_F(RecipientWindowTest, CodesOfTheCatalogueFillTheRecipientAndUnknownOnesAreEmptied) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  // A buyer, not a recipient by type: a typed code is taken all the same.
  AppendRecord(Z5KHNT.table, {{"KOD", "HURT"}, {"TYP", "2"}, {"NA1", "Hurtownia"}, {"MIA", "Lublin"},
                              {"NIP", "1234563218"}});
  d4close(Z5KHNT.table);
  Z5KHNT.table = nullptr;
  HeadlessSetScript("NIEMA{ENTER}{F9}{ENTER}{UP}HURT{ENTER}{F2}");
  okno_odbiorcy();
  EXPECT_NE(seen.find("UWAGA! Brak kontrahenta w kartotece."), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5SPRO.table), 2);
  EXPECT_EQ(Recipient(2, "KNA"), "HURT");
  EXPECT_EQ(Recipient(2, "NA1"), "Hurtownia");
  EXPECT_EQ(Recipient(2, "MIA"), "Lublin");
  EXPECT_EQ(Recipient(2, "NIP"), "1234563218");
  EXPECT_EQ(Z5KHNT.table, nullptr);
}

TEST_F(RecipientWindowTest, RecipientListOffersOnlyRecipients) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  for (const char* type : {"1", "2", "5"}) {
    AppendRecord(Z5KHNT.table, {{"TYP", type}});
    EXPECT_EQ(filtr_odbiorcow(0), std::string(type) == "5" ? 45 : 40) << type;
  }
  d4close(Z5KHNT.table);
  Z5KHNT.table = nullptr;
}

}  // namespace
