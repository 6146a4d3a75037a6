// A transfer order made from a sales document through the real program:
// " Przelew " of the sales register, the question, the account choice and
// the window "PRZELEW" saved with F2.
#include <gtest/gtest.h>

#include <string>

#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

using TransferRoadTest = SalesRoadTest;

TEST_F(TransferRoadTest, OrderFromASalesDocument) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"DAW", "20251210"},
                              {"DPL", "20251224"}, {"NA1", "Odbiorca Jan Nowak"}, {"ULI", "Lesna 5"},
                              {"NET", "51.95"}, {"VAT", "11.95"}, {"BRU", "63.90"}});
  d4close_all(&env->engine);
  std::string form = Run(std::string(LOGO) + INTO_SALES + "{HOME}pt{ENTER}").screen;
  EXPECT_NE(form.find("PRZELEW"), std::string::npos) << form;
  EXPECT_NE(form.find("Odbiorca Jan Nowak"), std::string::npos) << form;
  RunToEnd(std::string(LOGO) + INTO_SALES + "{HOME}pt{ENTER}{F2}{ESC}{ESC}{ESC}{ESC}");
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  ASSERT_EQ(d4reccount(Z5PLEW.table), 1);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(FieldText(Z5PLEW.table, "KWO"), "      63.90");
  EXPECT_EQ(FieldText(Z5PLEW.table, "SYP"), "SPRZED");
  EXPECT_EQ(FieldText(Z5PLEW.table, "DRU"), "T");
  EXPECT_EQ(FieldText(Z5PLEW.table, "KOO").substr(0, 10), "PODSTAWOWE");
  d4close_all(&env->engine);
}

}  // namespace
