// The code slot of a receipt position: the catalogue loads at a price
// level, the stock block, the margin receipt's rate, the pickers with F7,
// the scanner's keys, and the goods-filter check.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "fiscal/printer_params.h"
#include "retail/receipt_positions.h"
#include "tables/masterdata_tables.h"
#include "tests/retail/receipt_fixture.h"
#include "ui/get4.h"

namespace {

using namespace retail;

class ReceiptCodesTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    savedSales = salesOptions;
    savedDetal = parametryDetal;
    std::memcpy(savedRates, currentVatRates, sizeof savedRates);
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    salesOptions.blockNonPositiveStock = 'N';
    salesOptions.roundPrices = 'N';
    salesOptions.usualVatCode = 1;
    salesOptions.list103 = 1;
    salesOptions.list44 = 1;
    parametryDetal.sellingPrice = 1;
    parametryDetal.pricesShown = 1;
    parametryDetal.searchByName = 'N';
    stanKoduPozycji = StanKoduPozycji{KOD_PARAGONU_NETTO, 0, 'A', 0, {}};
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "CHLEB"}, {"NA2", "RAZOWY"}, {"ILO", "10"}, {"JED", "szt"},
                         {"CSN", "1.111"}, {"CSB", "1.37"}, {"CBN", "2"}, {"CBB", "2.46"}, {"CCN", "3"},
                         {"CCB", "3.69"}, {"VST", "2"}, {"KOS", "7"}, {"RE2", "0"}});
    AppendNamed(Z5TOWA, {{"KOD", "PUSTY"}, {"NA1", "BRAK"}, {"ILO", "0"}, {"CSN", "5"}, {"VST", "1"}});
    AppendNamed(Z5TOWA, {{"KOD", "NP"}, {"NA1", "NIE PODLEGA"}, {"ILO", "1"}, {"VST", "7"}});
    AppendNamed(Z5TOWA, {{"KOD", "STARY"}, {"NA1", "WYCOFANY"}, {"ILO", "1"}, {"STA", "N"}});
    d4close(Z5TOWA.table);
    ASSERT_EQ(OpenZ5USLU(0), 0);
    AppendNamed(Z5USLU, {{"KOD", "U1"}, {"NA1", "NAPRAWA"}, {"CSN", "100"}, {"CSB", "123"}, {"CBN", "90"},
                         {"CBB", "110.70"}, {"VTS", "1"}, {"RE2", "12"}});
    d4close(Z5USLU.table);
    Header(1, {{"STA", "N"}});
    Position(1, {});
  }
  void TearDown() override {
    salesOptions = savedSales;
    parametryDetal = savedDetal;
    std::memcpy(currentVatRates, savedRates, sizeof savedRates);
    ReceiptTest::TearDown();
  }
  // A get over `text` as the code slot edits it.
  Get4* Slot(const char* text) {
    std::memset(code, ' ', sizeof code);
    std::memcpy(code, text, std::strlen(text));
    get = Get4{};
    get.data = code;
    get.dataWidth = 18;
    return &get;
  }

  SalesOptions savedSales{};
  DetalParams savedDetal{};
  double savedRates[VAT_RATE_COUNT]{};
  char code[19]{};
  Get4 get{};
};

TEST_F(ReceiptCodesTest, GoodsLoadAtThePriceLevel) {
  struct Case {
    char level;
    char round;
    double net, gross;
  } cases[] = {{'A', 'N', 1.111, 1.37}, {'A', 'T', 1.11, 1.37}, {'B', 'N', 2, 2.46}, {'C', 'N', 3, 3.69}};
  for (const Case& c : cases) {
    salesOptions.roundPrices = c.round;
    ASSERT_EQ(pobierz_towar("T1", 1, c.level), 0) << c.level;
    EXPECT_DOUBLE_EQ(f4double(P("CNB")), c.net) << c.level << c.round;
    EXPECT_DOUBLE_EQ(f4double(P("CBB")), c.gross) << c.level << c.round;
  }
  EXPECT_EQ(Trim(P("NA1")), "CHLEB");
  EXPECT_EQ(Trim(P("NA2")), "RAZOWY");
  EXPECT_EQ(Trim(P("JED")), "szt");
  EXPECT_EQ(f4int(P("VAT")), 2);
  EXPECT_DOUBLE_EQ(f4double(P("VAS")), 8);
  EXPECT_EQ(f4long(P("KON")), 7);
  EXPECT_EQ(f4int(P("ZRP")), 1);
  EXPECT_EQ(f4int(P("RE2")), 14) << "no GTU group reads as none";
}

TEST_F(ReceiptCodesTest, VatOptionsOverTheCatalogueRate) {
  struct Case {
    int usual, exemption, code;
    double rate;
  } cases[] = {{1, 1, 2, 8}, {5, 1, 5, 0}, {1, 2, 4, 0}, {1, 3, 4, 0}, {5, 3, 4, 0}};
  for (const Case& c : cases) {
    salesOptions.usualVatCode = c.usual;
    salesOptions.list103 = c.exemption;
    ASSERT_EQ(pobierz_towar("T1", 1, 'A'), 0);
    EXPECT_EQ(f4int(P("VAT")), c.code) << c.usual << " " << c.exemption;
    EXPECT_DOUBLE_EQ(f4double(P("VAS")), c.rate) << c.usual << " " << c.exemption;
  }
}

TEST_F(ReceiptCodesTest, GoodsWithoutStockAreRefusedOnlyWhenBlocked) {
  salesOptions.blockNonPositiveStock = 'T';
  Keys("{F9}{ENTER}");
  EXPECT_EQ(pobierz_towar("PUSTY", 1, 'A'), -1);
  EXPECT_NE(seen.find("Zerowa ilość towaru w magazynie."), std::string::npos) << seen;
  EXPECT_TRUE(FieldIsBlank("NA1"));
  salesOptions.blockNonPositiveStock = 'N';
  EXPECT_EQ(pobierz_towar("PUSTY", 1, 'A'), 0);
  EXPECT_EQ(Trim(P("NA1")), "BRAK");
}

TEST_F(ReceiptCodesTest, ServicesLoadOrAreRefusedWhenUnknown) {
  stanKoduPozycji.poziomCeny = 'B';
  ASSERT_EQ(pobierz_usluge("U1", 1), 0);
  EXPECT_EQ(Trim(P("NA1")), "NAPRAWA");
  EXPECT_DOUBLE_EQ(f4double(P("CNB")), 90);
  EXPECT_DOUBLE_EQ(f4double(P("CBB")), 110.70);
  EXPECT_EQ(f4int(P("ZRP")), 2);
  EXPECT_EQ(f4int(P("RE2")), 12);
  Keys("{F9}{ENTER}");
  EXPECT_EQ(pobierz_usluge("U2", 1), -1);
  EXPECT_NE(seen.find("Niezdefiniowany kod pozycji!"), std::string::npos) << seen;
}

TEST_F(ReceiptCodesTest, CodeCheckTakesTheCatalogueOfTheOptionAndTheMarginRate) {
  salesOptions.list44 = 2;
  EXPECT_EQ(sprawdz_kod_pozycji(Slot("U1")), 0);
  EXPECT_EQ(Trim(P("NA1")), "NAPRAWA");
  EXPECT_STREQ(stanKoduPozycji.ostatniKod, "U1");
  salesOptions.list44 = 1;
  stanKoduPozycji.kartoteka = 0;
  SetNamed(Z5PARA, {{"STA", "T"}});
  EXPECT_EQ(sprawdz_kod_pozycji(Slot("T1")), 0);
  EXPECT_EQ(Trim(P("NA1")), "CHLEB");
  EXPECT_EQ(f4int(P("VAT")), 14) << "a margin receipt";
  EXPECT_DOUBLE_EQ(f4double(P("VAS")), 0);
  EXPECT_EQ(sprawdz_kod_pozycji(Slot("")), 0);
  EXPECT_TRUE(FieldIsBlank("ZRP"));
}

TEST_F(ReceiptCodesTest, ChangedServicePositionReloadsFromTheServices) {
  // the goods catalogue is the option's; the position came from the services
  SetNamed(Z5PARE, {{"KOT", "U1"}, {"ZRP", "2"}});
  std::strcpy(stanKoduPozycji.ostatniKod, "U1");
  stanKoduPozycji.poziomCeny = 'A';
  EXPECT_EQ(sprawdz_kod_pozycji(Slot("U1")), 0) << seen;
  EXPECT_DOUBLE_EQ(f4double(P("CNB")), 100);
  EXPECT_EQ(f4int(P("ZRP")), 2);
}

TEST_F(ReceiptCodesTest, UnknownGoodsCodeOffersTheCatalogueAndDeclinedIsRefused) {
  Keys("{F9}{ESC}{ESC}{ESC}");
  EXPECT_EQ(sprawdz_kod_pozycji(Slot("NOWY")), -1);
  EXPECT_NE(seen.find("Niezdefiniowany kod towaru !"), std::string::npos) << seen;
}

TEST_F(ReceiptCodesTest, ScannerKeysAndTheLevelOfTheOption) {
  parametryDetal.sellingPrice = 3;
  Keys("{CTRL+C}");
  EXPECT_EQ(klawisz_kodu_pozycji(&get, code, KOD_PARAGONU_NETTO), KEY_F2);
  EXPECT_EQ(stanKoduPozycji.poziomCeny, 'C');
  parametryDetal.sellingPrice = 7;
  Keys("X");
  EXPECT_EQ(klawisz_kodu_pozycji(&get, code, KOD_PARAGONU_BRUTTO), 'X');
  EXPECT_EQ(stanKoduPozycji.poziomCeny, 'A');
  EXPECT_EQ(stanKoduPozycji.tryb, KOD_PARAGONU_BRUTTO);
}

TEST_F(ReceiptCodesTest, GoodsPickerCyclesTheLevelWithF7AndCopiesTheCode) {
  EXPECT_EQ(nastepny_poziom_ceny('A'), 'B');
  EXPECT_EQ(nastepny_poziom_ceny('C'), 'A');
  Slot("");
  Keys("{F4}{F9}{F7}{F9}{F7}{F9}{F7}{DOWN}{DOWN}{ENTER}");
  EXPECT_EQ(klawisz_kodu_pozycji(&get, code, KOD_PARAGONU_NETTO), KEY_ENTER);
  EXPECT_EQ(std::string(code, 2), "T1");
  EXPECT_EQ(stanKoduPozycji.kartoteka, 1);
  EXPECT_EQ(stanKoduPozycji.zPickeraTowarow, 1);
  EXPECT_EQ(stanKoduPozycji.poziomCeny, 'A') << "C and F7 gives A again";
  size_t a = seen.find("c.netto A"), b = seen.find("c.netto B"), c = seen.find("c.netto C");
  EXPECT_NE(a, std::string::npos) << seen;
  EXPECT_NE(b, std::string::npos) << seen;
  EXPECT_NE(c, std::string::npos) << seen;
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_NE(seen.find("ilość"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("WYCOFANY"), std::string::npos) << "inactive goods are hidden";
}

TEST_F(ReceiptCodesTest, ServicesPickerTakesItsCatalogue) {
  Slot("");
  Keys("{F5}{ENTER}");
  EXPECT_EQ(klawisz_kodu_pozycji(&get, code, KOD_PARAGONU_NETTO), KEY_ENTER);
  EXPECT_EQ(std::string(code, 2), "U1");
  EXPECT_EQ(stanKoduPozycji.kartoteka, 2);
  EXPECT_EQ(stanKoduPozycji.zPickeraTowarow, 0);
}

TEST_F(ReceiptCodesTest, FilterCodeCheck) {
  char remembered[19] = {};
  ostatniKodFiltru = remembered;
  stanKoduPozycji.tryb = KOD_FILTRU_EWIDENCJI;
  struct Case {
    const char* code;
    int result;
    const char* box;
  } cases[] = {{"", -1, "Wprowadź kod !"}, {"XX", -1, "Niezdefiniowany kod towaru !"},
               {"NP", -1, "NIE PODLEGA"}, {"T1", 0, nullptr}};
  for (const Case& c : cases) {
    seen.clear();
    Keys("{F9}{ENTER}");
    EXPECT_EQ(sprawdz_kod_filtru(Slot(c.code)), c.result) << c.code;
    if (c.box) {
      EXPECT_NE(seen.find(c.box), std::string::npos) << c.code << seen;
    }
  }
  EXPECT_EQ(std::string(nazwaTowaruFiltru).substr(0, 5), "CHLEB");
  EXPECT_STREQ(remembered, "T1");
  stanKoduPozycji.tryb = KOD_WYKRESU;
  EXPECT_EQ(sprawdz_kod_filtru(Slot("")), 0) << "the chart takes an empty code";
  ostatniKodFiltru = nullptr;
}

}  // namespace
