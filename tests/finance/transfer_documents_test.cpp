// An order filled from a sales document: the amount in PLN, the own firm as
// payee with the chosen account, the buyer as payer, the title.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "env/code_pages.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"
#include "tests/tables/tables_fixture.h"

namespace {

class TransferDocumentsTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Testowa"}, {"NA2", "Sp. z o.o."}, {"ULI", "Polna"}, {"NRD", "7"},
                             {"KOD", "00-950"}, {"MIA", "Warszawa"}, {"BAN1", "Bank Pierwszy"},
                             {"NRR1", "11 2222 3333 4444 5555 6666 7777"}, {"BAN2", "Bank Drugi"},
                             {"NRR2", "22 2222 3333 4444 5555 6666 7777"}});
    ASSERT_EQ(OpenZ5PLEW(0), 0);
    d4blank(Z5PLEW.table);
  }
  // Fills the order from a document with these header fields, the keys
  // answering the account choice.
  void FillFrom(const std::vector<std::pair<const char*, std::string>>& header, const char* keys) {
    AppendRecord(Z5SPRZ.table, {{"REC", "1"}, {"TYV", "1"}, {"PRE", "FV"}, {"NRV", "12"}, {"DAW", "20261201"},
                                {"DPL", "20261215"}, {"BRU", "100"}, {"NA1", "Nabywca"}, {"NA2", "Spolka"},
                                {"ULI", "Lesna 5"}, {"KOP", "30-001"}, {"MIA", "Krakow"}});
    for (const auto& [name, value] : header) {
      DbField* field = d4field(Z5SPRZ.table, name);
      if (f4type(field) == 'N')
        f4assign_double(field, std::stod(value));
      else
        f4assign(field, value.c_str());
    }
    d4blank(Z5PLEW.table);
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    WypelnijPrzelewZDokumentu();
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
  static std::string O(int field) { return Trim(Z5PLEW.field[field]); }
};

TEST_F(TransferDocumentsTest, AmountsInPlnOfInvoicesAndCorrections) {
  const struct {
    const char* name;
    std::vector<std::pair<const char*, std::string>> header;
    const char* amount;
  } cases[] = {
      {"EUR at 4.3000", {{"WAL", "EUR"}, {"KVA", "4.3"}}, "430.00"},
      {"PLN without a rate", {}, "100.00"},
      {"a correction's change", {{"TYV", "3"}, {"KRN", "-50"}, {"KRV", "-11.5"}, {"BRU", "0"}}, "-61.50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FillFrom(c.header, "{ENTER}");
    EXPECT_EQ(O(PLEW_KWO), c.amount);
  }
}

TEST_F(TransferDocumentsTest, FirmPaidByTheBuyerOfTheDocument) {
  FillFrom({}, "{ESC}");   // Esc in the account choice: the basic account
  EXPECT_EQ(O(PLEW_DAP), "20261215");
  EXPECT_EQ(O(PLEW_SOO), "5");
  EXPECT_EQ(O(PLEW_KOO), "PODSTAWOWE");
  EXPECT_EQ(O(PLEW_BAO), "Bank Pierwszy");
  EXPECT_EQ(O(PLEW_KNO), "11 2222 3333 4444 5555 6666 7777");
  EXPECT_EQ(O(PLEW_NO1), "Firma Testowa Sp. z o.o.");
  EXPECT_EQ(O(PLEW_AO1), "Polna 7");
  EXPECT_EQ(O(PLEW_AO2), "00-950 Warszawa");
  // a buyer without a contractor code is taken from the document
  EXPECT_EQ(O(PLEW_KOZ), "");
  EXPECT_EQ(O(PLEW_NZ1), "Nabywca Spolka");
  EXPECT_EQ(O(PLEW_AZ1), "Lesna 5");
  EXPECT_EQ(O(PLEW_AZ2), "30-001 Krakow");
  EXPECT_EQ(O(PLEW_SOZ), "1");
  EXPECT_EQ(O(PLEW_TYB), "6");
  EXPECT_EQ(O(PLEW_SYP), "SPRZED");
  EXPECT_EQ(O(PLEW_TY1), "fakt. FV/12 z 01-12/26");
}

TEST_F(TransferDocumentsTest, ChosenAccountAndAKnownContractor) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  AppendRecord(Z5KHNT.table, {{"KOD", "K1"}, {"NA1", "Kontrahent Jeden"}, {"BAN", "Bank K"}, {"KON", "99 8888"}});
  FillFrom({{"KNA", "K1"}}, "{DOWN}{ENTER}");
  EXPECT_EQ(O(PLEW_KOO), "POMOCNICZE 1");
  EXPECT_EQ(O(PLEW_BAO), "Bank Drugi");
  EXPECT_EQ(O(PLEW_KOZ), "K1");
  EXPECT_EQ(O(PLEW_NZ1), "Kontrahent Jeden");
  EXPECT_EQ(O(PLEW_KNZ), "99 8888");
  EXPECT_EQ(O(PLEW_SOZ), "1");
  EXPECT_NE(Z5KHNT.table, nullptr);   // what the caller opened stays open
}

}  // namespace
