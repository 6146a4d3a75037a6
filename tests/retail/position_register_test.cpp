// The receipt position register: its filters with the joins of receipt and
// buyer, the description of the confirmed filters, the VAT filter through
// the receipt rate menu, and the deletion of a position.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "env/code_pages.h"
#include "platform/screen_hook.h"
#include "retail/position_register.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/db/db_test_support.h"
#include "tests/retail/receipt_fixture.h"
#include "ui/std_windows.h"
#include "ui/filters.h"

namespace {

using namespace retail;

class PositionRegisterTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PARO(0), 0);
    context = new kontekst_ewidencji_paragonow{};
    kontekstEwidencjiParagonow = context;
    definiuj_filtry_ewidencji_paragonow(context);
  }
  void TearDown() override {
    FreeFilters(&context->filtry);
    kontekstEwidencjiParagonow = nullptr;
    delete context;
    ReceiptTest::TearDown();
  }
  FilterItem* Item(int index) { return context->elementy[index]; }
  void Date(int index, const char* date) {
    std::memcpy(Item(index)->date, date, 8);
    Item(index)->active = 1;
    context->filtry.off = 0;
  }
  void Text(int index, const std::string& text) {
    std::string value = text;
    value.resize(static_cast<size_t>(Item(index)->length), ' ');
    std::memcpy(Item(index)->text, value.data(), value.size());
    Item(index)->active = 1;
    context->filtry.off = 0;
  }
  // The filter's answer for the position at `record`.
  int Passes(long record) {
    d4go(Z5PARE.table, record);
    return filtr_ewidencji_paragonow(0);
  }
  std::string Description() {
    char text[256];
    opis_filtrow_ewidencji(text, sizeof text);
    return text;
  }
  kontekst_ewidencji_paragonow* context = nullptr;
};

TEST_F(PositionRegisterTest, EitherDateBoundRejectsABlankDate) {
  Header(1, {});
  Position(1, {{"DAV", "20261210"}});
  Position(1, {{"DAV", ""}});
  struct Case {
    int item;
    const char* date;
    int dated, blank;
  };
  const Case cases[] = {
      {FP_OD_DNIA, "20261201", X4_ACCEPT, X4_REJECT},
      {FP_OD_DNIA, "20261211", X4_REJECT, X4_REJECT},
      {FP_DO_DNIA, "20261231", X4_ACCEPT, X4_REJECT},
      {FP_DO_DNIA, "20261209", X4_REJECT, X4_REJECT},
  };
  for (const Case& c : cases) {
    definiuj_filtry_ewidencji_paragonow(context);
    Date(c.item, c.date);
    EXPECT_EQ(Passes(1), c.dated) << c.item << " " << c.date;
    EXPECT_EQ(Passes(2), c.blank) << c.item << " " << c.date;
  }
  EXPECT_EQ(Description(), " do:09-12/26");
}

TEST_F(PositionRegisterTest, VatFilterThroughTheReceiptRateMenuTakesOnlyMarginPositions) {
  Header(1, {});
  Position(1, {{"VAT", "14"}});
  Position(1, {{"VAT", "3"}});
  // The sixth item "stawka VAT....." (no accounts open), the seventh menu item.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{F9}{ENTER}"
                              "{F9}{F2}"),
            0);
  EXPECT_EQ(filtry_ewidencji_paragonow(), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Wybierz stawkę VAT"), std::string::npos) << seen;
  EXPECT_NE(seen.find("7. ZEROWA (marża)"), std::string::npos) << seen;
  EXPECT_EQ(Passes(1), X4_ACCEPT);
  EXPECT_EQ(Passes(2), X4_REJECT);
  EXPECT_EQ(MazToUtf8Text(Description().c_str()), " VAT: ZEROWA (marża)");

  // Esc in the window keeps the confirmed filter and says it was not confirmed.
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(filtry_ewidencji_paragonow(), 0);
  EXPECT_EQ(Passes(2), X4_REJECT);
}

TEST_F(PositionRegisterTest, BuyerFilterComparesTheBuyerOfThePositionsReceipt) {
  Header(7, {});
  Header(8, {});
  AppendNamed(Z5PARO, {{"REK", "7"}, {"KNA", "KOWALSKI"}});
  ASSERT_EQ(d4write(Z5PARO.table, d4recno(Z5PARO.table)), 0);
  Position(7, {});
  Position(8, {});
  Text(FP_NABYWCA, "KOWALSKI");
  EXPECT_EQ(Passes(1), X4_ACCEPT);
  // A receipt without a buyer record is compared with a blank one.
  EXPECT_EQ(Passes(2), X4_REJECT);
  Text(FP_PREFIKS, "  PA");
  EXPECT_EQ(Description(), " id. nr:  PA kod kontr:KOWALSKI");
}

TEST_F(PositionRegisterTest, APositionIsDeletedOnlyWhenItsReceiptIsGone) {
  // Identifiers differ from record numbers: the receipt is found by REC.
  Header(5, {});
  Header(9, {});
  GoHeader(9);
  d4delete(Z5PARA.table);
  Position(5, {});   // of the live receipt in record 1
  Position(1, {});   // no receipt 1, though record 1 exists
  Position(9, {});   // of the deleted receipt
  d4go(Z5PARE.table, 2);
  EXPECT_EQ(usun_pozycje_ewidencji(), 0);
  d4go(Z5PARE.table, 3);
  EXPECT_EQ(usun_pozycje_ewidencji(), 0);
  ASSERT_EQ(HeadlessSetScript("{F9}{ENTER}"), 0);
  d4go(Z5PARE.table, 1);
  EXPECT_EQ(usun_pozycje_ewidencji(), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Pozycję można usunąć tylko poprzez ewidencję dokumentów !"), std::string::npos) << seen;
}

}  // namespace

namespace {

using namespace retail;

class ReceiptSalesRegisterTest : public PositionRegisterTest {
 protected:
  // Five receipts of one position each, with the codes given, sold on days 1 to 5.
  void Month(const int (&codes)[5]) {
    for (int n = 1; n <= 5; n++) {
      std::string day = "2026120" + std::to_string(n);
      Header(n, {{"DSP", day}});
      Position(n, {{"NRV", std::to_string(n)}, {"PRE", "  PA"}, {"DAV", day}, {"VAT", std::to_string(codes[n - 1])},
                   {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}});
    }
    d4tag_select(Z5PARE.table, Z5PARE.tag[1]);
  }
  std::string Rows() {
    std::string all;
    for (long r = 1; r <= d4reccount(Z5ESPP.table); r++) {
      d4go(Z5ESPP.table, r);
      auto f = [](const char* name) { return d4field(Z5ESPP.table, name); };
      char line[200];
      std::snprintf(line, sizeof line, "%s|%.10s|%s|%.2f|%.2f|%.2f|%.2f|%.2f\n", Trim(f("LPO")).c_str(),
                    Trim(f("NUM")).c_str(), Trim(f("DAS")).c_str(), f4double(f("BRU")), f4double(f("NPO")),
                    f4double(f("VPO")), f4double(f("NP1")), f4double(f("N0K")));
      all += line;
    }
    return all;
  }
};

TEST_F(ReceiptSalesRegisterTest, RowsFromTheStartingLpAndATotalsRowOfAllReceipts) {
  Month({1, 1, 12, 13, 2});
  context->zNaglowkiem = 1;
  ASSERT_EQ(CreateZ5ESPP(), 0);
  ASSERT_EQ(wiersze_rejestru_paragonow(3), 0);
  // Codes 12 and 13 add only to the gross.
  EXPECT_EQ(Rows(),
            "3|PA/3|20261203|123.00|0.00|0.00|0.00|0.00\n"
            "4|PA/4|20261204|123.00|0.00|0.00|0.00|0.00\n"
            "5|PA/5|20261205|123.00|0.00|0.00|100.00|0.00\n"
            "*****|**********||615.00|200.00|46.00|100.00|0.00\n");
  d4close(Z5ESPP.table);

  // A start above the count: only the totals.
  ASSERT_EQ(CreateZ5ESPP(), 0);
  ASSERT_EQ(wiersze_rejestru_paragonow(6), 0);
  EXPECT_EQ(Rows(), "*****|**********||615.00|200.00|46.00|100.00|0.00\n");
  d4close(Z5ESPP.table);
}

// The page line of the sums window `below` lines under the one that begins
// with `label`, within its frame.
std::string SumsLine(const std::string& screen, const std::string& label, int below) {
  const std::string left = "╠";
  size_t at = screen.rfind(left + label);
  for (int i = 0; i < below && at != std::string::npos; i++) at = screen.find(left, screen.find('\n', at));
  if (at == std::string::npos) return "";
  at += left.size();
  std::string line = screen.substr(at, screen.find("╣", at) - at);
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

TEST_F(ReceiptSalesRegisterTest, RegisterSumsByRateAndReceiptClass) {
  const double saved[3] = {currentVatRates[VAT_BASIC], currentVatRates[VAT_REDUCED_1], mainOptions.taxiLumpSum};
  currentVatRates[VAT_BASIC] = 23, currentVatRates[VAT_REDUCED_1] = 8, mainOptions.taxiLumpSum = 4;
  Header(1, {});
  Header(2, {{"TYF", "1"}});
  auto sold = [this](long rek, int code, const char* net, const char* vat, const char* gross) {
    Position(rek, {{"VAT", std::to_string(code)}, {"WNE", net}, {"WAV", vat}, {"WAB", gross}, {"NRV", std::to_string(rek)},
                   {"PRE", "  PA"}, {"DAV", "20261210"}});
  };
  sold(1, 1, "100", "23", "123");
  sold(1, 12, "10", "0.80", "10.80");
  sold(1, 7, "5", "0", "5");      // no rate line: only the total gross
  sold(2, 1, "200", "46", "246");
  sold(2, 13, "50", "0", "50");
  sold(9, 4, "20", "0", "20");    // its receipt is gone
  d4tag_select(Z5PARE.table, Z5PARE.tag[1]);
  context->zNaglowkiem = 1;

  // The control stops at the position without its receipt: Esc shows nothing.
  ASSERT_EQ(HeadlessSetScript("{F9}{ESC}"), 0);
  EXPECT_EQ(sumy_rejestru_paragonow(1), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Nie zgadza się podsumowanie dokumentu z sumą pozycji !"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Sumy rejestru paragonów."), std::string::npos);
  seen.clear();

  // Without the control it is summed without a question.
  ASSERT_EQ(HeadlessSetScript("{F9}{ESC}"), 0);
  EXPECT_EQ(sumy_rejestru_paragonow(0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Sumy rejestru paragonów."), std::string::npos) << seen;
  struct Case {
    const char* label;
    int below;
    const char* line;
  };
  const Case cases[] = {
      {"podstawowa", 0, "podstawowa     23.0 % paragon          100.00          23.00         123.00"},
      {"podstawowa", 1, "                      faktura          200.00          46.00         246.00"},
      // code 12 without an invoice, under the taxi lump-sum rate's pair of lines
      {"obniżona /", 0, "obniżona /      8.0 % paragon           10.00           0.80          10.80"},
      {"ryczałt taxi", 0, "ryczałt taxi    4.0 % faktura            0.00           0.00           0.00"},
      // code 13 with an invoice
      {"zerowa kraj", 1, "                      faktura           50.00                         50.00"},
      // the position whose receipt is gone counts as one without an invoice
      {"zwolniona", 0, "zwolniona             paragon           20.00                         20.00"},
      // code 7 adds only to the gross
      {"RAZEM", 0, "RAZEM                                  380.00          69.80         454.80"},
  };
  for (const Case& c : cases) EXPECT_EQ(SumsLine(seen, c.label, c.below), c.line) << seen;
  currentVatRates[VAT_BASIC] = saved[0], currentVatRates[VAT_REDUCED_1] = saved[1], mainOptions.taxiLumpSum = saved[2];
}

// The shots of `seen`, each from its browse title on.
std::vector<std::string> Shots(const std::string& title) {
  std::vector<std::string> shots;
  for (size_t at = seen.find(title); at != std::string::npos;) {
    size_t next = seen.find(title, at + 1);
    shots.push_back(seen.substr(at, next == std::string::npos ? std::string::npos : next - at));
    at = next;
  }
  return shots;
}

// The browse row of goods `code` in a shot, its cells trimmed; empty when not shown.
std::string GoodsRow(const std::string& shot, const std::string& code) {
  size_t at = shot.find("\n" + code + " ");
  if (at == std::string::npos) return "";
  std::string row, line = shot.substr(at + 1, shot.find('\n', at + 1) - at - 1);
  for (size_t bar; (bar = line.find("│")) != std::string::npos;) line.replace(bar, std::string("│").size(), " ");
  std::istringstream words(line);
  for (std::string word; words >> word;) row += (row.empty() ? "" : " ") + word;
  return row;
}

TEST_F(ReceiptSalesRegisterTest, TurnoverTakesWholeCodesAndTheThresholdHidesTheRest) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  for (const char* code : {"ABC", "AB", "XYZ"}) AppendNamed(Z5TOWA, {{"KOD", code}, {"NA1", code}, {"STA", "A"}});
  d4close(Z5TOWA.table);
  Header(1, {});
  struct Seed {
    const char *code, *quantity, *net, *gross;
  };
  const Seed seeds[] = {
      {"ABC", "2", "10", "12.30"}, {"ABC", "1", "5", "6.15"},
      {"ABCD", "40", "400", "492"},   // not in the catalogue, though it begins with ABC
      {"", "70", "700", "861"},       // typed by hand
      {"AB", "-1", "-3", "-3.69"},    // a return: at or below the threshold 0
  };
  for (const Seed& p : seeds)
    Position(1, {{"KOT", p.code}, {"ILO", p.quantity}, {"WNE", p.net}, {"WAB", p.gross}});
  open_envr_win();   // the threshold is asked on the status row
  // The list; " Filtry " with 0; " Filtry " left with Esc switches it off.
  ASSERT_EQ(HeadlessSetScript("{F9}f{ENTER}{F9}f{ESC}{F9}{ESC}"), 0);
  EXPECT_EQ(obroty_towarow(Z5PARE.table), 0);
  close_envr_win();
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::vector<std::string> shots = Shots("Obroty towarów - paragony");
  ASSERT_EQ(shots.size(), 3u) << seen;
  for (size_t i : {0u, 2u}) {
    EXPECT_EQ(GoodsRow(shots[i], "ABC"), "ABC ABC 3.0000 15.00 18.45") << shots[i];
    EXPECT_EQ(GoodsRow(shots[i], "AB"), "AB AB -1.0000 -3.00 -3.69") << shots[i];
    EXPECT_EQ(GoodsRow(shots[i], "XYZ"), "XYZ XYZ 0.0000 0.00 0.00") << shots[i];
  }
  EXPECT_EQ(GoodsRow(shots[1], "ABC"), "ABC ABC 3.0000 15.00 18.45") << shots[1];
  EXPECT_EQ(GoodsRow(shots[1], "AB"), "") << shots[1];
  EXPECT_EQ(GoodsRow(shots[1], "XYZ"), "") << shots[1];
}

// Another workstation holds a position: the register waits for the table
// with the network notice, and Esc there gives up with nothing built.
TEST_F(ReceiptSalesRegisterTest, PositionHeldElsewhereWaitsAndEscBuildsNothing) {
  Month({1, 1, 1, 1, 1});
  ASSERT_EQ(d4flush(Z5PARE.table), 0);
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t other = fork();
  if (other == 0) {
    d4close_all(&env->engine);
    char byte = 1;
    if (OpenZ5PARE(0) != 0 || go_and_lock(Z5PARE.table, 3) != 0) _exit(1);
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    close(release[1]);
    while (read(release[0], &byte, 1) > 0) {
    }
    _exit(0);
  }
  ASSERT_GT(other, 0);
  close(release[0]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);

  // One try a round; the operator presses Esc while the notice stands.
  env->engine.lock_tries = 1;
  static const ScreenHook* screen;
  static std::string notice;
  static bool waiting;
  static ScreenHook givingUp;
  screen = ScreenHookGet();
  notice.clear();
  waiting = false;
  givingUp = *screen;
  givingUp.noticeOn = [](const char* title, const char* text) {
    notice = MazToUtf8Text(title ? title : "") + "|" + MazToUtf8Text(text ? text : "");
    waiting = true;
    screen->noticeOn(title, text);
  };
  givingUp.noticeOff = [] {
    waiting = false;
    screen->noticeOff();
  };
  givingUp.readKey = [] { return waiting ? SCREEN_KEY_ESC : screen->readKey(); };
  ScreenHookSet(&givingUp);
  open_envr_win();
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);   // from Lp 1
  const int result = rejestr_z_paragonow();
  close_envr_win();
  ScreenHookSet(screen);
  close(release[1]);
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  EXPECT_EQ(result, -1);
  EXPECT_EQ(notice, "SIEĆ|Oczekiwanie na dostęp do danych.");
  EXPECT_FALSE(waiting) << "the notice is taken down";
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_FALSE(std::filesystem::exists(firm + "Z5ESPP26.DBF"));
  EXPECT_EQ(Z5PARE.table->file_locked, 0);
  EXPECT_EQ(seen.find("Rejestr paragonów"), std::string::npos) << seen;
}

TEST_F(ReceiptSalesRegisterTest, EscAtTheLpPromptBuildsNothing) {
  Month({1, 1, 1, 1, 1});
  // Without a prompt row the prompt ends as with Esc.
  EXPECT_EQ(rejestr_z_paragonow(), 0);
  EXPECT_FALSE(std::filesystem::exists(firm + "Z5ESPP26.DBF"));
}

}  // namespace

namespace {

using namespace retail;

class ReceiptAccountsTest : public PositionRegisterTest {
 protected:
  void SetUp() override {
    PositionRegisterTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KONT(0), 0);
    context->zKontem = 1;
    Header(1, {});
    long rec = 1;
    for (const char* number : {"200-0001", "100-0001", "199-0001", "130-0001"}) {
      AppendNamed(Z5KONT, {{"REC", std::to_string(rec)}, {"NUM", number}, {"NAZ", std::string("Konto ") + number}});
      ASSERT_EQ(d4write(Z5KONT.table, d4recno(Z5KONT.table)), 0);
      Position(1, {{"KON", std::to_string(rec++)}, {"WNE", "10"}, {"WAV", "2"}, {"WAB", "12"}});
    }
    Position(1, {{"WNE", "1"}, {"WAV", "0"}, {"WAB", "1"}});
  }
  // The numbers and net amounts of Z5KONTES as the run left it on disk.
  std::string Structure() {
    PlainDbf table(ReadFile(firm + "Z5KONTES.DBF"));
    std::string all;
    for (unsigned r = 1; r <= table.count; r++) {
      std::string net = table.Value(r, 2);
      all += table.Value(r, 1) + "|" + net.substr(net.find_first_not_of(' ')) + "\n";
    }
    return all;
  }
};

TEST_F(ReceiptAccountsTest, NoAccountAndTotalsRowsGetNoSubtotals) {
  ASSERT_EQ(HeadlessSetScript("{ENTER}t{ESC}"), 0);
  EXPECT_EQ(zestawienie_kont(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Structure(),
            "        |1.00\n"
            "100-0001|10.00\n"
            "130-0001|10.00\n"
            "199-0001|10.00\n"
            "200-0001|10.00\n"
            "********|41.00\n");

  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{DOWN}{ENTER}t{ESC}"), 0);
  EXPECT_EQ(zestawienie_kont(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Structure(),
            "        |1.00\n"
            "100-0001|10.00\n"
            "100*****|10.00\n"
            "130-0001|10.00\n"
            "130*****|10.00\n"
            "199-0001|10.00\n"
            "199*****|10.00\n"
            "1*******|30.00\n"
            "200-0001|10.00\n"
            "200*****|10.00\n"
            "2*******|10.00\n"
            "********|41.00\n");
}

TEST_F(ReceiptAccountsTest, EscAtTheQuestionCreatesNoTable) {
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}"), 0);
  EXPECT_EQ(zestawienie_kont(), 0);
  EXPECT_FALSE(std::filesystem::exists(firm + "Z5KONTE.DBF"));
}

}  // namespace
