// The totals of a receipt: the summary correction per VAT rate, the sums and
// their check against the header, the header stamped into the positions,
// and the deletion of the positions with their stock.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db/db_lock.h"
#include "masterdata/stock_update.h"
#include "retail/receipt_positions.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/retail/receipt_fixture.h"
#include "tests/support/test_support.h"

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

// One position per receipt whose own VAT was left at 0: the correction is
// the VAT of the rounded total, which lands above or below half a grosz at
// each rate and must round to the nearest grosz.
TEST_F(ReceiptTotalsTest, CorrectionRoundsTheTotalsVatToTheNearestGroszAtEveryRate) {
  struct Case {
    const char* fill;
    const char* rate;
    const char* amount;   // the net value of a net receipt, else the gross one
    double vat, net, gross;   // the correction position's WAV, WNE and WAB
  } cases[] = {
      {"1", "23", "0.50", 0.12, 0, 0.12},    // 0.115
      {"1", "23", "0.47", 0.11, 0, 0.11},    // 0.1081
      {"1", "8", "0.87", 0.07, 0, 0.07},     // 0.0696
      {"1", "8", "0.81", 0.06, 0, 0.06},     // 0.0648
      {"1", "5", "0.93", 0.05, 0, 0.05},     // 0.0465
      {"1", "5", "0.81", 0.04, 0, 0.04},     // 0.0405
      {"2", "23", "1.00", 0.19, -0.19, 0},   // 0.18699
      {"2", "23", "0.50", 0.09, -0.09, 0},   // 0.09350
      {"2", "8", "0.90", 0.07, -0.07, 0},    // 0.06667
      {"2", "8", "1.00", 0.07, -0.07, 0},    // 0.07407
      {"2", "5", "1.00", 0.05, -0.05, 0},    // 0.04762
      {"2", "5", "0.50", 0.02, -0.02, 0},    // 0.02381
  };
  long rec = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fill) + ": " + c.amount + " at " + c.rate + " %");
    Header(++rec, {{"TRY", c.fill}});
    Position(rec, {{"VAT", "1"}, {"VAS", c.rate}, {"WNE", c.amount}, {"WAV", "0"}, {"WAB", c.amount}});
    GoHeader(rec);
    ASSERT_EQ(korekta_podsumowania(), 0);
    std::vector<long> corrections = Corrections(rec);
    ASSERT_EQ(corrections.size(), 1u);
    d4go(Z5PARE.table, corrections[0]);
    EXPECT_NEAR(f4double(P("WAV")), c.vat, 1e-9);
    EXPECT_NEAR(f4double(P("WNE")), c.net, 1e-9);
    EXPECT_NEAR(f4double(P("CNB")), c.net, 1e-9);
    EXPECT_NEAR(f4double(P("WAB")), c.gross, 1e-9);
    EXPECT_NEAR(f4double(P("CBB")), c.gross, 1e-9);
    EXPECT_DOUBLE_EQ(f4double(P("VAS")), std::stod(c.rate));
    GoHeader(rec);
    ASSERT_EQ(sumuj_pozycje_paragonu(), 0);
    EXPECT_NEAR(sumy_pozycji[SUMA_VAT], c.vat, 1e-9);
    EXPECT_NEAR(sumy_pozycji[SUMA_NETTO], std::stod(c.amount) + c.net, 1e-9);
    EXPECT_NEAR(sumy_pozycji[SUMA_BRUTTO], std::stod(c.amount) + c.gross, 1e-9);
  }
}

// Another workstation holds the whole positions table: the correction waits
// for it, and when the operator gives the wait up nothing is written.
TEST_F(ReceiptTotalsTest, CorrectionWaitsForThePositionsHeldByAnotherWorkstation) {
  TwoSmallPositions("1");
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t other = fork();
  if (other == 0) {
    close(ready[0]);
    close(release[1]);
    d4close_all(&env->engine);
    if (OpenZ5PARE(0) != 0 || set_lock(Z5PARE.table, -1) != 0) _exit(1);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    if (read(release[0], &byte, 1) < 0) _exit(1);
    _exit(0);
  }
  close(ready[1]);
  close(release[0]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  {
    RecordingScreenHook hook;
    hook.keys = {SCREEN_KEY_ESC};
    env->engine.lock_tries = 1;
    EXPECT_NE(korekta_podsumowania(), 0);
    EXPECT_TRUE(hook.keys.empty()) << "the wait was given up with Esc";
    EXPECT_GT(hook.noticeCount, 0);
  }
  EXPECT_TRUE(Corrections(1).empty());
  close(release[1]);
  close(ready[0]);
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // Free again: the correction is made.
  GoHeader(1);
  EXPECT_EQ(korekta_podsumowania(), 0);
  EXPECT_EQ(Corrections(1).size(), 1u);
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
