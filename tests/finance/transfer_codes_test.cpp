// The codes and symbols of transfer orders, the names of their forms, and
// the tax order's date that fills the payee from the tax office.
#include <gtest/gtest.h>

#include <string>

#include "finance/transfers.h"
#include "env/code_pages.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/finance/common_tables_fixture.h"
#include "ui/get4.h"

namespace {

using TransferCodesTest = CommonTablesTest;

int Validate(GetValidator validator, std::string& text) {
  Get4 get{};
  get.type = GET_TEXT;
  get.data = text.data();
  get.dataWidth = static_cast<int>(text.size());
  return validator(&get);
}

TEST_F(TransferCodesTest, ReservedSymbolsAreRefusedByTheirBeginning) {
  const struct {
    const char* symbol;
    int reserved;
  } cases[] = {{"VATX   ", 1}, {"XVAT   ", 0}, {"ZUSFEP ", 1}, {"PIT-4  ", 1}, {"SPRZED ", 0}, {"G      ", 0},
               {"INNE   ", 1}, {"       ", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.symbol);
    EXPECT_EQ(SymbolZarezerwowany(c.symbol), c.reserved);
    std::string text = c.symbol;
    EXPECT_EQ(Validate(SprawdzSymbolPlatnosci, text), c.reserved ? -1 : 0);
    EXPECT_EQ(Boxes(), c.reserved ? "Symbol zarezerwowany !" : "");
  }
}

TEST_F(TransferCodesTest, ExcludedTitleCodesAndFormNames) {
  EXPECT_EQ(KodTytuluWykluczony("05211"), 1);
  EXPECT_EQ(KodTytuluWykluczony("0542"), 1);
  EXPECT_EQ(KodTytuluWykluczony("0512"), 0);
  EXPECT_EQ(KodTytuluWykluczony("051"), 0);
  EXPECT_EQ(KodTytuluWykluczony(""), 0);
  EXPECT_STREQ(NazwaFormularzaPrzelewu('P', 0), "Przelew");
  EXPECT_STREQ(NazwaFormularzaPrzelewu('P', 1), "Przelew oryg.");
  EXPECT_EQ(MazToUtf8Text(NazwaFormularzaPrzelewu('W', 1)), "Wpłata oryg.");
  EXPECT_EQ(MazToUtf8Text(NazwaFormularzaPrzelewu('X', 0)), "Wpłata");
}

TEST_F(TransferCodesTest, TaxOrderDateFillsThePayeeFromTheOffice) {
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  ASSERT_EQ(OpenZ5USKA(0), 0);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  d4blank(Z5PLEW.table);
  SetNamed(Z5PLEW, {{"NO2", "stara nazwa"}, {"AO1", "stary adres"}});
  SetNamed(Z5USKA, {{"KOD", "1471"}, {"NAZ", "Urząd Skarbowy Warszawa-Bielany"}, {"BCP", "NBP O/Warszawa"}});
  SetNamed(Z5PAWL, {{"ZN3", "11 1010 0071 2222 1234 5678 9012"}});

  std::string invalid = "20261332";
  Get4 get{};
  get.type = GET_DATE;
  get.data = invalid.data();
  get.dataWidth = 8;
  EXPECT_EQ(DataPrzelewuUrzedu(&get), -1);
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "NO2")), "stara nazwa");   // nothing filled

  std::string valid = "20261215";
  get.data = valid.data();
  EXPECT_EQ(DataPrzelewuUrzedu(&get), 0);
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "KOO")), "1471");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "NO1")), "Urząd Skarbowy Warszawa-Bielany");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "NO2")), "");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "AO1")), "");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "BAO")), "NBP O/Warszawa");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "KNO")), "11 1010 0071 2222 1234 5678 9012");
  EXPECT_EQ(f4long(d4field(Z5PLEW.table, "SOO")), 2);
}

}  // namespace
