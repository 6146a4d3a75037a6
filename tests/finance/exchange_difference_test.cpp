// The exchange-rate difference of a EUR invoice on the headless screen: the
// payment stored with its settlement entry, the difference posted into the
// book, the refusal of a payment above the rest and of a header another
// workstation holds.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "app/option_sets.h"
#include "env/code_pages.h"
#include "finance/posting.h"
#include "platform/screen_hook.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/std_windows.h"
#include "tests/app/screen_shots.h"
#include "tests/finance/posting_fixture.h"

namespace {

class ExchangeDifferenceTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.taxation = 1;
    salesOptions.askRateDate = 'N';
    ASSERT_EQ(OpenZ5KURS(0), 0);
    AppendRecord(Z5KURS.table, {{"DAT", "20261209"}, {"KOD", "EUR"}, {"KUR", "4.40"}});
    d4close(Z5KURS.table);
    // A EUR invoice at 0 % booked at 4.30, nothing paid yet.
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20261201",
                        {{"STV", "T"}, {"KKS", "4.30"}, {"WAL", "EUR"}, {"ZAP", "N"}, {"NET", "1000"},
                         {"BRU", "1000"}, {"KZA", "0"}, {"PLA", "PRZELEW"}},
                        {{{"WNE", "1000"}, {"WAB", "1000"}, {"TYP", "1"}, {"VAT", "5"}}});
    d4go(Z5SPRZ.table, 1);
  }
  void Run(const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    try {
      RoznicaKursowa();
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
  }
  std::string Header(const char* name) {
    d4go(Z5SPRZ.table, 1);
    return TrimmedField(Z5SPRZ.table, name);
  }
};

TEST_F(ExchangeDifferenceTest, DifferenceIsPostedAsOtherRevenue) {
  // The dialog accepted, "post?" yes, "not posted" noted, the entry form
  // saved, no posting order.
  Run("{F9}{F2}t{F9}{ENTER}{F9}{F2}t{ESC}");
  EXPECT_NE(seen.find("RÓŻNICA KURSOWA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("100.00"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Dokument nie był zaksięgowany!"), std::string::npos) << seen;
  EXPECT_EQ(Header("KZA"), "1000.00");
  EXPECT_EQ(Header("ZAP"), "T");
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  ASSERT_EQ(d4reccount(Z5ROZL.table), 1);
  d4go(Z5ROZL.table, 1);
  EXPECT_EQ(TrimmedField(Z5ROZL.table, "ZAP"), TrimmedField(Z5ROZL.table, "KWO"));
  d4close(Z5ROZL.table);
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  ASSERT_EQ(d4reccount(Z5DANE.table), 1);
  d4go(Z5DANE.table, 1);
  EXPECT_EQ(TrimmedField(Z5DANE.table, "POP"), "100.00");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "PSP"), "0.00");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "DAT"), "20261210");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "OP1"), "różnica kursowa");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "OP2"), "zapłata 1000.00 EUR");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "K15"), "1 EUR = 4.4 PLN");
  d4close(Z5DANE.table);
}

// From 2022 the flat-rate register takes the difference spread over the
// document's rates: 600 EUR at 3 % and 400 EUR at 8.5 %.
TEST_F(ExchangeDifferenceTest, FlatRateDifferenceIsSpreadOverTheRates) {
  salesOptions.taxation = 2;
  salesOptions.stored56 = 2;
  d4go(Z5SPRE.table, 1);
  SetFields(Z5SPRE.table, {{"WNE", "600"}, {"WAB", "600"}, {"RYT", "1"}});
  d4write(Z5SPRE.table, 1);
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"TYV", "1"}, {"WNE", "400"}, {"WAB", "400"}, {"TYP", "1"},
                              {"VAT", "5"}, {"RYT", "3"}});
  d4go(Z5SPRZ.table, 1);
  Run("{F2}t{F2}t{ESC}");
  ASSERT_EQ(OpenZ5RYPR(2026, 0), 0);
  ASSERT_EQ(d4reccount(Z5RYPR.table), 1);
  d4go(Z5RYPR.table, 1);
  EXPECT_EQ(TrimmedField(Z5RYPR.table, "HAN"), "60.00");
  EXPECT_EQ(TrimmedField(Z5RYPR.table, "USL"), "40.00");
  EXPECT_EQ(TrimmedField(Z5RYPR.table, "RAZ"), "100.00");
  EXPECT_EQ(TrimmedField(Z5RYPR.table, "DPR"), "20261210");
  EXPECT_EQ(TrimmedField(Z5RYPR.table, "UW1"), "różnica kursowa");
  EXPECT_EQ(TrimmedField(Z5RYPR.table, "UW2"), "zapłata 1000.00 EUR");
  d4close(Z5RYPR.table);
  EXPECT_EQ(Header("KZA"), "1000.00");
}

TEST_F(ExchangeDifferenceTest, PaymentAboveTheRestIsRefused) {
  Run("1200{ENTER}{F9}{ENTER}{ESC}");
  EXPECT_NE(seen.find("Za duża kwota !"), std::string::npos) << seen;
  EXPECT_EQ(Header("KZA"), "0.00");
  EXPECT_EQ(Header("ZAP"), "N");
}

// Another workstation holds the headers until the run has ended: the
// operator gives up the wait and neither the payment nor a posting is stored.
TEST_F(ExchangeDifferenceTest, RefusedHeaderLockStoresAndPostsNothing) {
  // The seeding's own locks go first: the child's closing of the inherited
  // handles would drop them behind this process's back.
  ASSERT_EQ(d4unlock(Z5SPRZ.table), 0);
  // As the program has it: refused tries end in the wait notice, where the
  // operator's Esc gives up (typed while it shows, not ahead of it).
  env->engine.lock_tries = 5;
  UiInstallScreenHook();
  ScreenHook givesUp = *ScreenHookGet();
  givesUp.readKey = [] { return SCREEN_KEY_ESC; };
  static std::string noticeTitle;
  noticeTitle.clear();
  givesUp.noticeOn = [](const char* title, const char*) { noticeTitle = title; };
  ScreenHookSet(&givesUp);
  int release[2];
  ASSERT_EQ(pipe(release), 0);
  pid_t other = StartSecondWorkstation(env, [&release] {
    char byte = 0;
    return read(release[0], &byte, 1) == 1 ? 0 : 1;
  });
  ASSERT_GT(other, 0);
  Run("{F9}{F2}");
  ScreenHookSet(nullptr);
  ASSERT_EQ(write(release[1], "x", 1), 1);
  close(release[0]);
  close(release[1]);
  EXPECT_TRUE(SecondWorkstationDone(other));
  EXPECT_EQ(noticeTitle, Utf8ToMazText("SIEĆ"));
  EXPECT_EQ(Header("KZA"), "0.00");
  EXPECT_EQ(Header("ZAP"), "N");
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  EXPECT_EQ(d4reccount(Z5ROZL.table), 0);
  d4close(Z5ROZL.table);
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  EXPECT_EQ(d4reccount(Z5DANE.table), 0);
  d4close(Z5DANE.table);
}

}  // namespace
