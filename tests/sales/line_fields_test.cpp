// The arithmetic of a sales line when its amount fields are left.
#include <gtest/gtest.h>

#include <string>

#include "app/option_values.h"
#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "sales/line_fields.h"
#include "sales/line_form.h"
#include "tests/sales/sales_fixture.h"

namespace {

class LineFieldsTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.roundPrices = 'T';
    lines = kontekst_pozycji{};
    kontekstPozycji = &lines;
    savedRates[0] = currentVatRates[VAT_BASIC];
    savedRates[1] = currentVatRates[VAT_REDUCED_1];
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
  }
  void TearDown() override {
    currentVatRates[VAT_BASIC] = savedRates[0];
    currentVatRates[VAT_REDUCED_1] = savedRates[1];
    kontekstPozycji = nullptr;
    wartosciPozycji = WartosciPozycji{};
    SalesTest::TearDown();
  }
  double Value(const char* name) { return f4double(d4field(Z5SPRE.table, name)); }

  kontekst_pozycji lines{};
  double savedRates[2] = {};
};

TEST_F(LineFieldsTest, PriceChains) {
  using Handler = int (*)(Get4*);
  struct Case {
    const char* name;
    int priceEntry;
    char rounding;
    Fields line;
    Handler handler;
    int result;
    Fields expected;
    const char* box;
  } cases[] = {
      {"net", 1, 'T', {{"CNB", "10"}, {"ILO", "3"}, {"VAS", "23"}}, przelicz_od_ceny_netto, 0,
       {{"CNR", "10"}, {"WNE", "30"}, {"WAV", "6.90"}, {"WAB", "36.90"}, {"CBR", "12.30"}, {"CBB", "12.30"}}, ""},
      {"gross back", 2, 'T', {{"CBB", "12.30"}, {"ILO", "3"}, {"VAS", "23"}}, przelicz_od_ceny_brutto, 0,
       {{"WAB", "36.90"}, {"WAV", "6.90"}, {"CNR", "10"}, {"CNB", "10"}, {"WNE", "30"}}, ""},
      {"discount, four places", 1, 'N', {{"CNB", "10.1234"}, {"RAS", "10"}, {"ILO", "1"}}, przelicz_od_ceny_netto, 0,
       {{"CNB", "10.1234"}, {"CNR", "9.1111"}}, ""},
      {"discount, grosz", 1, 'T', {{"CNB", "10.1234"}, {"RAS", "10"}, {"ILO", "1"}}, przelicz_od_ceny_netto, 0,
       {{"CNB", "10.12"}, {"CNR", "9.11"}}, ""},
      {"too large", 1, 'T', {{"CNB", "9999999"}, {"ILO", "11"}, {"WNE", "12.34"}}, przelicz_od_ceny_netto, -1,
       {{"WNE", "12.34"}}, "Przekroczona maks. wartość netto !"},
      {"too large gross", 2, 'T', {{"CBB", "9999999"}, {"ILO", "11"}, {"WAB", "5"}}, przelicz_od_ceny_brutto, -1,
       {{"WAB", "5"}}, "Przekroczona maks. wartość brutto !"},
      // a net line not in the sales structure
      {"code 7", 1, 'T', {{"CNB", "10"}, {"ILO", "1"}, {"VAT", "7"}, {"CSS", "T"}}, przelicz_od_ceny_netto, 0,
       {{"CSS", "N"}, {"WAV", "0"}, {"WAB", "10"}}, ""},
      {"gross keeps the structure mark", 2, 'T', {{"CBB", "10"}, {"ILO", "1"}, {"VAT", "7"}, {"CSS", "T"}},
       przelicz_od_ceny_brutto, 0, {{"CSS", "T"}}, ""},
      {"gross quantity 0", 2, 'T', {{"CBB", "12.30"}, {"ILO", "0"}, {"VAS", "23"}}, przelicz_od_ceny_brutto, 0,
       {{"WAB", "0"}, {"CNB", "10"}, {"CNR", "0"}}, ""},
      {"margin below purchase", 2, 'T',
       {{"TYV", "8"}, {"CBB", "80"}, {"ILO", "1"}, {"VAS", "23"}, {"ZFM", "100"}}, przelicz_od_ceny_brutto, 0,
       {{"WAB", "80"}, {"WAV", "0"}, {"WNE", "-20"}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    salesOptions.roundPrices = c.rounding;
    lines.cena = c.priceEntry;
    lines.wartosc_zakupu = std::string(c.name).find("margin") != std::string::npos;
    d4blank(Z5SPRE.table);
    SetFields(Z5SPRE.table, c.line);
    EXPECT_EQ(c.handler(nullptr), c.result);
    for (const auto& [field, value] : c.expected) {
      if (f4type(d4field(Z5SPRE.table, field)) == 'N')
        EXPECT_DOUBLE_EQ(Value(field), std::stod(value)) << field;
      else
        EXPECT_EQ(FieldText(Z5SPRE.table, field), value) << field;
    }
    EXPECT_EQ(Boxes(), c.box);
  }
}

// One piece at each rate, its VAT landing above and below half a grosz:
// every amount rounds to the nearest grosz, none is cut.
TEST_F(LineFieldsTest, VatRoundsToTheNearestGroszAtEveryRate) {
  struct Case {
    int priceEntry;
    const char* rate;
    const char* price;
    Fields expected;
  } cases[] = {
      // net 0.50 x 23 % = 0.115, 0.47 x 23 % = 0.1081
      {1, "23", "0.50", {{"WNE", "0.50"}, {"WAV", "0.12"}, {"WAB", "0.62"}, {"CBR", "0.62"}, {"CBB", "0.62"}}},
      {1, "23", "0.47", {{"WNE", "0.47"}, {"WAV", "0.11"}, {"WAB", "0.58"}, {"CBR", "0.58"}, {"CBB", "0.58"}}},
      // 0.87 x 8 % = 0.0696, 0.81 x 8 % = 0.0648
      {1, "8", "0.87", {{"WNE", "0.87"}, {"WAV", "0.07"}, {"WAB", "0.94"}, {"CBR", "0.94"}, {"CBB", "0.94"}}},
      {1, "8", "0.81", {{"WNE", "0.81"}, {"WAV", "0.06"}, {"WAB", "0.87"}, {"CBR", "0.87"}, {"CBB", "0.87"}}},
      // 0.93 x 5 % = 0.0465, 0.81 x 5 % = 0.0405
      {1, "5", "0.93", {{"WNE", "0.93"}, {"WAV", "0.05"}, {"WAB", "0.98"}, {"CBR", "0.98"}, {"CBB", "0.98"}}},
      {1, "5", "0.81", {{"WNE", "0.81"}, {"WAV", "0.04"}, {"WAB", "0.85"}, {"CBR", "0.85"}, {"CBB", "0.85"}}},
      // gross 1.00 x 23/123 = 0.18699, 0.50 x 23/123 = 0.09350
      {2, "23", "1.00", {{"WAB", "1.00"}, {"WAV", "0.19"}, {"CNR", "0.81"}, {"CNB", "0.81"}, {"WNE", "0.81"}}},
      {2, "23", "0.50", {{"WAB", "0.50"}, {"WAV", "0.09"}, {"CNR", "0.41"}, {"CNB", "0.41"}, {"WNE", "0.41"}}},
      // 0.90 x 8/108 = 0.06667, 1.00 x 8/108 = 0.07407
      {2, "8", "0.90", {{"WAB", "0.90"}, {"WAV", "0.07"}, {"CNR", "0.83"}, {"CNB", "0.83"}, {"WNE", "0.83"}}},
      {2, "8", "1.00", {{"WAB", "1.00"}, {"WAV", "0.07"}, {"CNR", "0.93"}, {"CNB", "0.93"}, {"WNE", "0.93"}}},
      // 1.00 x 5/105 = 0.04762, 0.50 x 5/105 = 0.02381
      {2, "5", "1.00", {{"WAB", "1.00"}, {"WAV", "0.05"}, {"CNR", "0.95"}, {"CNB", "0.95"}, {"WNE", "0.95"}}},
      {2, "5", "0.50", {{"WAB", "0.50"}, {"WAV", "0.02"}, {"CNR", "0.48"}, {"CNB", "0.48"}, {"WNE", "0.48"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.priceEntry == 1 ? "net " : "gross ") + c.price + " at " + c.rate + " %");
    lines.cena = c.priceEntry;
    d4blank(Z5SPRE.table);
    SetFields(Z5SPRE.table, {{"ILO", "1"}, {c.priceEntry == 1 ? "CNB" : "CBB", c.price}, {"VAS", c.rate}});
    EXPECT_EQ((c.priceEntry == 1 ? przelicz_od_ceny_netto : przelicz_od_ceny_brutto)(nullptr), 0);
    for (const auto& [field, value] : c.expected) EXPECT_NEAR(Value(field), std::stod(value), 1e-9) << field;
  }
}

TEST_F(LineFieldsTest, QuantityAboveTheStockIsCut) {
  salesOptions.blockNonPositiveStock = 'T';
  lines.cena = 1;
  wartosciPozycji.dostepnaIlosc = 3;
  SetFields(Z5SPRE.table, {{"KOT", "T1"}, {"ZRP", "1"}, {"ILO", "5"}, {"CNB", "2"}, {"VAS", "0"}});
  EXPECT_EQ(waliduj_ilosc(nullptr), 0);
  EXPECT_DOUBLE_EQ(Value("ILO"), 3);
  EXPECT_DOUBLE_EQ(Value("WNE"), 6);
  EXPECT_EQ(Boxes(), "Za mała ilość towaru w magazynie.");
  // a free-text line has no stock
  SetFields(Z5SPRE.table, {{"KOT", ""}, {"ILO", "5"}});
  EXPECT_EQ(waliduj_ilosc(nullptr), 0);
  EXPECT_DOUBLE_EQ(Value("ILO"), 5);
}

TEST_F(LineFieldsTest, CorrectionStartsFromTheLineAndChangesBy) {
  lines.cena = 1;
  lines.korekta = 1;
  SetFields(Z5SPRE.table, {{"KOT", "T1"}, {"ILO", "3"}, {"CNB", "10"}, {"CNR", "10"}, {"VAT", "1"}, {"VAS", "23"},
                           {"WNE", "30"}, {"WAV", "6.90"}});
  EXPECT_EQ(waliduj_ilosc(nullptr), 0);
  EXPECT_DOUBLE_EQ(Value("KILO"), 3);
  EXPECT_DOUBLE_EQ(Value("KCNB"), 10);
  EXPECT_DOUBLE_EQ(Value("KVAS"), 23);
  SetFields(Z5SPRE.table, {{"KILO", "2"}});
  EXPECT_EQ(waliduj_ilosc_korekty(nullptr), 0);
  for (auto [field, value] : {std::pair{"KWNE", 20.0}, {"KWAV", 4.60}, {"KWAB", 24.60}, {"KRN", -10.0},
                              {"KRV", -2.30}, {"ILK", -1.0}})
    EXPECT_DOUBLE_EQ(Value(field), value) << field;
  // the copy is taken once for a code: the typed twins stay
  EXPECT_EQ(waliduj_ilosc(nullptr), 0);
  EXPECT_DOUBLE_EQ(Value("KILO"), 2);
}

}  // namespace

namespace {

TEST_F(LineFieldsTest, DeliverySwitchWorksTheLineOutAgain) {
  env->settlementYear = 2025;
  salesOptions.usualVatCode = 1;
  lines.cena = 1;
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"STM", "1"}});
  struct Case {
    const char* openedWith;   // the line's delivery when the form opened
    const char* openedCode;
    int codeBack;
  } cases[] = {
      {"1", "2", 2},   // its own domestic code comes back
      {"6", "7", 1},   // opened abroad: the new-line default
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.openedWith);
    d4blank(Z5SPRE.table);
    SetFields(Z5SPRE.table, {{"STM", c.openedWith}, {"VAT", c.openedCode}, {"ILO", "2"}, {"CNR", "50"}});
    przed_modyfikacja_pozycji();
    SetFields(Z5SPRE.table, {{"STM", "1"}, {"VAT", "1"}, {"VAS", "23"}});
    zmien_dostawe_pozycji();
    EXPECT_EQ(FieldText(Z5SPRE.table, "STM"), "6");
    EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 7);
    EXPECT_DOUBLE_EQ(Value("WNE"), 100);
    EXPECT_DOUBLE_EQ(Value("WAV"), 0);
    EXPECT_DOUBLE_EQ(Value("WAB"), 100);
    zmien_dostawe_pozycji();
    EXPECT_EQ(FieldText(Z5SPRE.table, "STM"), "1");
    EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), c.codeBack);
    EXPECT_DOUBLE_EQ(Value("WAB"), c.codeBack == 1 ? 123 : 108);
  }
  // WDT and EU services switch into each other
  SetFields(Z5SPRE.table, {{"STM", "2"}});
  zmien_dostawe_pozycji();
  EXPECT_EQ(FieldText(Z5SPRE.table, "STM"), "5");
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 7);
  zmien_dostawe_pozycji();
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 3);
}

}  // namespace
