// " Menu " > " Kopiuj " through the real program, headless: three invoices of
// June 2025 issued again from the number 101.
#include <gtest/gtest.h>

#include <string>

#include "env/dates.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

class BatchCopyRoadTest : public SalesRoadTest {
 protected:
  void Seed() {
    MakeFirmWithSales();
    Open();
    if (HasFatalFailure()) return;
    const char* const dates[] = {"20250612", "20250603", "20250620"};
    for (int n = 0; n < 3; n++) {
      std::string rec = std::to_string(n + 1);
      AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"RE4", "T"}, {"PRE", "  FV"}, {"NRV", rec}, {"REC", rec},
                                  {"DAW", dates[n]}, {"DAS", dates[n]}, {"DAV", dates[n]}, {"DPL", "20250630"},
                                  {"NA1", "Hurtownia"}, {"BRU", "123"}, {"NET", "100"}, {"VAT", "23"},
                                  {"ZAP", "T"}, {"KZA", "123"}, {"PLA", "PRZELEW"}});
      AppendRecord(Z5SPRE.table, {{"REK", rec}, {"REC", rec}, {"TYV", "1"}, {"KOT", "T1"}, {"NA1", "towar"},
                                  {"ILO", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"ZRP", "1"},
                                  {"STA", "T"}});
      AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", rec}, {"REC", rec}, {"NA1", "odbiorca"}});
    }
    d4close_all(&env->engine);
  }
  void Open() {
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
  }
};

TEST_F(BatchCopyRoadTest, ThreeInvoicesOfJuneBecome101To103) {
  Seed();
  // Kind 1; the range of June; the new date 15 July; the first number FV/101/.
  std::string window = "{ENTER}010625{ENTER}300625{ENTER}150725{ENTER}{ENTER}101{ENTER}{ENTER}";
  RunToEnd(std::string(LOGO) + INTO_SALES + "ep" + window + "t{ENTER}{ESC}{ESC}{ESC}");
  Open();
  DbTable* h = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(h), 6);
  // By issue date: sources 2 (3 June), 1 (12 June), 3 (20 June).
  const long dueDays[] = {27, 18, 10};
  for (long n = 0; n < 3; n++) {
    ASSERT_EQ(d4go(h, 4 + n), 0);
    EXPECT_EQ(f4long(d4field(h, "NRV")), 101 + n);
    EXPECT_EQ(FieldText(h, "PRE"), "  FV");
    EXPECT_EQ(FieldText(h, "DAW"), "20250715");
    EXPECT_EQ(FieldText(h, "DAS"), "20250715");
    EXPECT_EQ(FieldText(h, "ZAP"), "N");
    EXPECT_EQ(f4double(d4field(h, "KZA")), 0);
    char due[9];
    date4assign(due, date4long("20250715") + static_cast<int32_t>(dueDays[n]));
    due[8] = '\0';
    EXPECT_EQ(FieldText(h, "DPL"), due) << n;
  }
  EXPECT_EQ(d4reccount(Z5SPRO.table), 6);
  ASSERT_EQ(d4go(Z5SPRO.table, 6), 0);
  EXPECT_EQ(f4long(d4field(Z5SPRO.table, "REK")), 6);
  ASSERT_EQ(d4go(Z5SPRE.table, 6), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "STA"), "N");   // the stock is left alone
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  EXPECT_EQ(d4reccount(Z5ROZL.table), 3);
  d4close_all(&env->engine);
}

}  // namespace
