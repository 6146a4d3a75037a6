// The VAT-OSS register through the real program, headless: Sprzedaż >
// " Menu " > " VAT-OSS " > " Dopisz " rebuilds March from an OSS invoice.
#include <gtest/gtest.h>

#include <string>

#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "tests/sales/sales_road.h"

namespace {

class VatOssRoadTest : public SalesRoadTest {};

TEST_F(VatOssRoadTest, AppendRebuildsTheMonthFromTheSalesRegister) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"DAW", "20250305"},
                              {"DAS", "20250305"}, {"DAV", "20250305"}, {"STM", "4"}, {"KRA", "NIEMCY"},
                              {"NA1", "Kunde GmbH"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "2"}, {"REC", "2"}, {"DAW", "20250306"},
                              {"DAS", "20250306"}, {"DAV", "20250306"}, {"STM", "1"}, {"NA1", "Krajowy"}});
  for (const char* rek : {"1", "2"})
    AppendRecord(Z5SPRE.table, {{"REK", rek}, {"REC", rek}, {"TYV", "1"}, {"NA1", "Towar"}, {"AKC", "1"},
                                {"WNE", "100"}, {"WAV", "19"}, {"VAS", "19"}, {"VAT", "1"}, {"WAL", "EUR"}});
  d4close_all(&env->engine);
  // " Menu " > " VAT-OSS "; " Dopisz " with the month proposed (March); the closing box.
  Outcome shown = Run(std::string(LOGO) + INTO_SALES + "ev" + "d{ENTER}{ENTER}");
  EXPECT_TRUE(Has(shown, "Ewidencja VAT-OSS")) << shown.screen;
  EXPECT_TRUE(Has(shown, "NIEMCY")) << shown.screen;
  EXPECT_TRUE(Has(shown, "faktura")) << shown.screen;
  OpenFirmHeaders();
  ASSERT_EQ(OpenZ5VOSS(0), 0);
  ASSERT_EQ(d4reccount(Z5VOSS.table), 1);
  d4go(Z5VOSS.table, 1);
  EXPECT_EQ(f4int(d4field(Z5VOSS.table, "MIE")), 3);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5VOSS.table, "NET")), 100);
  d4close_all(&env->engine);
}

}  // namespace
