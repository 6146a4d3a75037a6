// The totals of a receipt: the summary correction per VAT rate, the sums and
// their check against the header, the header stamped into the positions,
// and the deletion of the positions with their stock.
#include <gtest/gtest.h>

#include "masterdata/stock_update.h"
#include "retail/receipt_positions.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/retail/receipt_fixture.h"

namespace {

using namespace retail;

class ReceiptTotalsTest : public ReceiptTest {
 protected:
  void TearDown() override {
    zamknij_okno_raportu(0);
    ReceiptTest::TearDown();
  }
  // Two 23 % positions of net 0.10 each, VAT rounded per position, on receipt 1.
  void TwoSmallPositions(const char* fill) {
    Header(1, {{"TRY", fill}});
    for (int i = 0; i < 2; i++)
      Position(1, {{"VAT", "1"}, {"VAS", "23"}, {"WNE", "0.10"}, {"WAV", "0.02"}, {"WAB", "0.12"}});
    GoHeader(1);
  }
};

TEST_F(ReceiptTotalsTest, NetReceiptGetsOneCorrectionPerRateAndTheTotalsFollowIt) {
  TwoSmallPositions("1");
  Position(2, {{"VAT", "1"}, {"VAS", "23"}, {"WNE", "0.10"}, {"WAV", "0.02"}, {"WAB", "0.12"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  std::vector<long> corrections = Corrections(1);
  ASSERT_EQ(corrections.size(), 1u);
  d4go(Z5PARE.table, corrections[0]);
  EXPECT_EQ(Trim(P("NA1")), "KOREKTA PODSUMOWANIA");
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), 0.01);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 0.01);
  EXPECT_DOUBLE_EQ(f4double(P("CBR")), 0.01);
  EXPECT_DOUBLE_EQ(f4double(P("WNE")), 0);
  EXPECT_DOUBLE_EQ(f4double(P("ILO")), 1);
  EXPECT_EQ(f4int(P("VAT")), 1);
  EXPECT_DOUBLE_EQ(f4double(P("VAS")), 23);
  EXPECT_EQ(Trim(P("PRE")), "PA");
  EXPECT_EQ(Trim(P("DAV")), "20261210");
  GoHeader(1);
  ASSERT_EQ(sumuj_pozycje_paragonu(), 0);
  EXPECT_DOUBLE_EQ(sumy_pozycji[SUMA_NETTO], 0.20);
  EXPECT_NEAR(sumy_pozycji[SUMA_VAT], 0.05, 1e-9);
  EXPECT_NEAR(sumy_pozycji[SUMA_BRUTTO], 0.25, 1e-9);
  EXPECT_TRUE(Corrections(2).empty()) << "another receipt is not touched";
}

TEST_F(ReceiptTotalsTest, CorrectionIsRewrittenThenDeletedWhenTheDifferenceGoes) {
  TwoSmallPositions("1");
  ASSERT_EQ(korekta_podsumowania(), 0);
  long first = Corrections(1).at(0);
  // a third position: net 0.30 gives VAT 0.07 against 0.06 summed, still one correction
  Position(1, {{"VAT", "1"}, {"VAS", "23"}, {"WNE", "0.10"}, {"WAV", "0.02"}, {"WAB", "0.12"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  ASSERT_EQ(Corrections(1), std::vector<long>{first});
  d4go(Z5PARE.table, first);
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), 0.01);
  // a position of net 0.20 makes 0.50 at 0.12 against 0.06 + 0.05: 0.01 still
  Position(1, {{"VAT", "1"}, {"VAS", "23"}, {"WNE", "0.20"}, {"WAV", "0.05"}, {"WAB", "0.25"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  ASSERT_EQ(Corrections(1).size(), 1u);
  // net 0.50 at 0.115: one more position with VAT 0.01 evens it out
  Position(1, {{"VAT", "1"}, {"VAS", "23"}, {"WNE", "0.00"}, {"WAV", "0.01"}, {"WAB", "0.01"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  EXPECT_TRUE(Corrections(1).empty());
}

TEST_F(ReceiptTotalsTest, GrossReceiptCorrectsTheNetSide) {
  // gross 1.23 + 1.23 at 23 %: VAT per position 0.23 each; from the total
  // 2.46 x 23 / 123 = 0.46: no VAT difference, and the net difference is 0
  // too; three of 0.41 gross (VAT 0.08 each, 0.24) from 1.23 give 0.23.
  Header(1, {{"TRY", "2"}});
  for (int i = 0; i < 3; i++)
    Position(1, {{"VAT", "1"}, {"VAS", "23"}, {"WNE", "0.33"}, {"WAV", "0.08"}, {"WAB", "0.41"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  std::vector<long> corrections = Corrections(1);
  ASSERT_EQ(corrections.size(), 1u);
  d4go(Z5PARE.table, corrections[0]);
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), -0.01);
  EXPECT_DOUBLE_EQ(f4double(P("WNE")), 0.01);
  EXPECT_DOUBLE_EQ(f4double(P("CNB")), 0.01);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 0);
}

TEST_F(ReceiptTotalsTest, CodesOutsideTheTaxedRatesNeverGetACorrection) {
  Header(1, {{"TRY", "1"}});
  for (int code : {3, 4, 5, 6, 7, 10, 11, 13, 14})
    for (int i = 0; i < 2; i++)
      Position(1, {{"VAT", std::to_string(code)}, {"VAS", "23"}, {"WNE", "0.10"}, {"WAV", "0.02"}, {"WAB", "0.12"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  EXPECT_TRUE(Corrections(1).empty());
}

TEST_F(ReceiptTotalsTest, EveryTaxedRateGetsItsOwnCorrection) {
  Header(1, {{"TRY", "1"}});
  for (const char* code : {"1", "2", "8", "9", "12"})
    for (int i = 0; i < 2; i++)
      Position(1, {{"VAT", code}, {"VAS", "23"}, {"WNE", "0.10"}, {"WAV", "0.02"}, {"WAB", "0.12"}});
  GoHeader(1);
  ASSERT_EQ(korekta_podsumowania(), 0);
  EXPECT_EQ(Corrections(1).size(), 5u);
}

TEST_F(ReceiptTotalsTest, SumsCompareWithTheHeaderToTheGrosz) {
  struct Case {
    const char* net;
    const char* vat;
    const char* gross;
    int result;
  } cases[] = {{"0.20", "0.04", "0.24", 0}, {"0.21", "0.04", "0.24", -1}, {"0.20", "0.05", "0.24", -1},
               {"0.20", "0.04", "0.25", -1}};
  for (const Case& c : cases) {
    TwoSmallPositions("1");
    SetNamed(Z5PARA, {{"NET", c.net}, {"VAT", c.vat}, {"BRU", c.gross}});
    ASSERT_EQ(sumuj_pozycje_paragonu(), 0);
    EXPECT_EQ(porownaj_sumy_paragonu(), c.result) << c.net << " " << c.vat << " " << c.gross;
    d4delete(Z5PARA.table);
    for (long r : Positions(1)) {
      d4go(Z5PARE.table, r);
      d4delete(Z5PARE.table);
    }
  }
}

TEST_F(ReceiptTotalsTest, CheckStampsTheHeaderIntoThePositionsAndBoxesADifference) {
  TwoSmallPositions("1");
  SetNamed(Z5PARA, {{"PRE", "  KA"}, {"NRV", "17"}, {"POS", "/X"}, {"DSP", "20261211"}, {"NET", "0.20"},
                    {"VAT", "0.04"}, {"BRU", "0.24"}});
  ASSERT_EQ(zgodnosc_paragonu(), 0);
  for (long r : Positions(1)) {
    d4go(Z5PARE.table, r);
    EXPECT_EQ(Trim(P("PRE")), "KA");
    EXPECT_EQ(f4long(P("NRV")), 17);
    EXPECT_EQ(Trim(P("POS")), "/X");
    EXPECT_EQ(Trim(P("DAV")), "20261211");
  }
  GoHeader(1);
  SetNamed(Z5PARA, {{"BRU", "0.25"}});
  HeadlessSetScript("{F9}{ENTER}");
  EXPECT_EQ(zgodnosc_paragonu(), -1);
  EXPECT_NE(seen.find("Nie zgadza się podsumowanie dokumentu z sumą pozycji !"), std::string::npos) << seen;
}

TEST_F(ReceiptTotalsTest, DeletingPositionsGivesTakenGoodsBack) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "TOWAR"}, {"ILO", "7"}});
  d4close(Z5TOWA.table);
  Header(1, {});
  Position(1, {{"KOT", "T1"}, {"NA1", "TOWAR"}, {"ILO", "3"}, {"ZRP", "1"}, {"STA", "T"}});
  Position(1, {{"KOT", "T1"}, {"NA1", "TOWAR"}, {"ILO", "2"}, {"ZRP", "1"}, {"STA", "N"}});
  Position(1, {{"NA1", "RECZNA"}, {"ILO", "5"}, {"STA", "T"}});
  Position(2, {{"KOT", "T1"}, {"ILO", "1"}, {"ZRP", "1"}, {"STA", "T"}});
  GoHeader(1);
  HeadlessSetScript("{ENTER}{ENTER}");
  EXPECT_EQ(usun_pozycje_paragonu(), 0);
  EXPECT_TRUE(Positions(1).empty());
  EXPECT_EQ(Positions(2).size(), 1u);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10) << "only the stock-taken goods position goes back";
}

TEST_F(ReceiptTotalsTest, RefusedGiveBackStopsAndSaysTheReceiptStays) {
  Header(1, {});
  Position(1, {{"NA1", "RECZNA"}, {"ILO", "1"}});
  Position(1, {{"KOT", "BRAK"}, {"NA1", "NIEZNANY"}, {"ILO", "3"}, {"ZRP", "1"}, {"STA", "T"}});
  Position(1, {{"NA1", "DALSZA"}, {"ILO", "1"}});
  GoHeader(1);
  // the missing goods code asks whether to go on: Esc refuses
  HeadlessSetScript("{ENTER}{ESC}{F9}{ENTER}{ENTER}{ENTER}");
  EXPECT_EQ(usun_pozycje_paragonu(), 1);
  EXPECT_EQ(Positions(1).size(), 2u) << "the refused position and the one after it stay";
  EXPECT_NE(seen.find("Nie oddano ilości towaru do magazynu."), std::string::npos) << seen;
}

}  // namespace
