// A sales line filled from the goods and services catalogues by its code.
#include <gtest/gtest.h>

#include <string>

#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"
#include "ui/get4.h"
#include "tests/tables/empty_catalogue.h"

namespace {

class LineCodeTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.roundPrices = 'T';
    salesOptions.blockNonPositiveStock = 'N';
    lines = kontekst_pozycji{};
    kontekstPozycji = &lines;
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendRecord(Z5TOWA.table, {{"KOD", "T1"}, {"NA1", "Śruba"}, {"JED", "szt"}, {"ILO", "0"}, {"VST", "1"},
                                {"CSN", "40"}, {"CSB", "49.20"}, {"CCN", "80"}, {"CCB", "98.40"}, {"RE2", "0"},
                                {"TYP", "2"}});
    d4close(Z5TOWA.table);
    ASSERT_EQ(OpenZ5USLU(0), 0);
    AppendRecord(Z5USLU.table, {{"KOD", "U1"}, {"NA1", "Montaż"}, {"VTS", "5"}, {"CSN", "100"}, {"CSB", "100"},
                                {"RE2", "12"}});
    d4close(Z5USLU.table);
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"STM", "1"}, {"WAL", "PLN"}, {"KVA", "1"}});
    d4blank(Z5SPRE.table);
  }
  void TearDown() override {
    kontekstPozycji = nullptr;
    wartosciPozycji = WartosciPozycji{};
    SalesTest::TearDown();
  }
  double Value(const char* name) { return f4double(d4field(Z5SPRE.table, name)); }
  // The validator over a code as the form's get holds it.
  int Validate(const char* code, int catalogue) {
    std::string text(18, ' ');
    text.replace(0, std::strlen(code), code);
    Get4 get{};
    get.data = text.data();
    get.dataWidth = 18;
    wartosciPozycji.rodzajPola = POLE_POZYCJI_NETTO;
    wartosciPozycji.rodzajKartoteki = catalogue;
    return waliduj_kod_pozycji(&get);
  }

  kontekst_pozycji lines{};
};

TEST_F(LineCodeTest, GoodsPricesInTheDocumentCurrency) {
  struct Case {
    const char* name;
    const char* currency;
    const char* rate;
    char level;
    double net, gross;
  } cases[] = {
      {"EUR at 4.0", "EUR", "4", 'A', 10, 12.30},
      {"PLN, level C", "PLN", "1", 'C', 80, 98.40},
      {"rate not set", "PLN", "0", 'A', 40, 49.20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFields(Z5SPRZ.table, {{"WAL", c.currency}, {"KVA", c.rate}});
    wartosciPozycji.poziomCeny = c.level;
    ASSERT_EQ(Validate("T1", 1), 0);
    EXPECT_DOUBLE_EQ(Value("CNB"), c.net);
    EXPECT_DOUBLE_EQ(Value("CBB"), c.gross);
  }
  EXPECT_EQ(FieldText(Z5SPRE.table, "NA1"), "Śruba");
  EXPECT_EQ(FieldText(Z5SPRE.table, "ZRP"), "1");
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "RE5")), 14);
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 1);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(LineCodeTest, ServicesAndTheCataloguesOption) {
  // a line without catalogue kind goes by option 44
  salesOptions.list44 = 2;
  wartosciPozycji.poziomCeny = 'A';
  env->settlementYear = 2023;
  ASSERT_EQ(Validate("U1", 0), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "NA1"), "Montaż");
  EXPECT_EQ(FieldText(Z5SPRE.table, "ZRP"), "2");
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 5);   // kept before 2024
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "RE5")), 12);
  EXPECT_EQ(Validate("U9", 2), -1);
  EXPECT_EQ(Boxes(), "Niezdefiniowany kod pozycji!");
  // an empty code makes a free-text line
  SetFields(Z5SPRE.table, {{"ZRP", "2"}});
  EXPECT_EQ(Validate("", 2), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "ZRP"), "");
  EXPECT_EQ(wartosciPozycji.pustyKod, 1);
}

TEST_F(LineCodeTest, GoodsWithoutStockRefusedUnderOption122) {
  salesOptions.blockNonPositiveStock = 'T';
  wartosciPozycji.poziomCeny = 'A';
  EXPECT_EQ(Validate("T1", 1), -1);
  EXPECT_EQ(Boxes(), "Zerowa ilość towaru w magazynie.");
  EXPECT_EQ(FieldText(Z5SPRE.table, "NA1"), "");
  // the filter's code looks up without the offer to add
  Get4 get{};
  std::string code = "T9                ";
  get.data = code.data();
  get.dataWidth = 18;
  wartosciPozycji.rodzajPola = POLE_FILTRA_KODU;
  wartosciPozycji.rodzajKartoteki = 1;
  EXPECT_EQ(waliduj_kod_pozycji(&get), -1);
  EXPECT_EQ(Boxes(), " Niezdefiniowany kod towaru !");
  code = "                  ";
  EXPECT_EQ(waliduj_kod_pozycji(&get), -1);
  EXPECT_EQ(Boxes(), "Wprowadź kod !");
}

}  // namespace

namespace {

TEST_F(LineCodeTest, OssLinesTakeTheCountrysRates) {
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  AppendRecord(Z5KRAJ.table, {{"KRA", "NIEMCY"}, {"VPO", "19"}, {"VO1", "7"}, {"VO2", "0"}, {"VSO", "0"}});
  AppendRecord(Z5KRAJ.table, {{"KRA", "FRANCJA"}, {"VPO", "20"}, {"VO1", "10"}, {"VO2", "5.5"}, {"VSO", "2.1"}});
  EXPECT_EQ(liczba_stawek_oss("Niemcy"), 2);
  EXPECT_EQ(liczba_stawek_oss("FRANCJA"), 4);
  EXPECT_DOUBLE_EQ(stawka_oss("FRANCJA", 4), 2.1);
  EXPECT_EQ(liczba_stawek_oss("ATLANTYDA"), 0);
  EXPECT_EQ(Boxes(), "Nie znaleziono kraju ATLANTYDA.");
  EXPECT_DOUBLE_EQ(stawka_oss("ATLANTYDA", 1), 0);

  // goods of the farmers' code on an OSS line of Germany: index 3, limited to its two rates
  SetFields(Z5SPRZ.table, {{"STM", "4"}, {"KRA", "NIEMCY"}});
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendRecord(Z5TOWA.table, {{"KOD", "T2"}, {"VST", "9"}, {"CSN", "1"}});
  d4close(Z5TOWA.table);
  lines.stawki_oss = 2;
  wartosciPozycji.poziomCeny = 'A';
  ASSERT_EQ(Validate("T2", 1), 0);
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 2);
  EXPECT_DOUBLE_EQ(Value("VAS"), 7);
  d4close(Z5KRAJ.table);
}

}  // namespace
