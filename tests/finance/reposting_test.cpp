// Posting again on the headless screen: the comparison "POWTÓRNE
// KSIĘGOWANIE" and the entry forms of the book and of the flat-rate
// register, the entry rewritten in place, the rent divided again.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "app/option_sets.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "tables/book_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/finance/posting_fixture.h"

namespace {

class RepostingTest : public PostingFixture<SalesScreenTest> {
 protected:
  void SetUp() override {
    PostingFixture::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.stored56 = 2;
    taxOptions.postingLimit = 100000.0;
  }
  void Posting(const char* date) {
    StartPosting(date, "FV/3/2026");
    record.zaplacono = 'T';
  }
  int Run(const char* keys, int (*posting)(int)) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = posting(0);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return result;
  }
  static std::string Rows(int (*open)(int, int), TableHandles& set, std::initializer_list<const char*> columns) {
    std::string all;
    EXPECT_EQ(open(2026, 0), 0);
    DbTable* t = set.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      for (const char* name : columns) all += TrimmedField(t, name) + " ";
      all.back() = ';';
    }
    d4close(t);
    return all;
  }
};

TEST_F(RepostingTest, BookEntryIsComparedAndRewritten) {
  Posting("20260305");
  record.przychodSprzedaz = 500;
  ASSERT_EQ(Run("{F2}t", KsiegujKPiR), 0);
  Posting("20260305");
  record.przychodSprzedaz = 650;
  record.recKsiegi = 1;
  // The comparison, a key, "post again?" yes, then the form saved; the day
  // changed to the 20th on the way.
  ASSERT_EQ(Run("{F9}{ENTER}t{F9}20{ENTER}{F2}t", KsiegujKPiR), 0);
  EXPECT_NE(seen.find("POWTÓRNE KSIĘGOWANIE"), std::string::npos) << seen;
  EXPECT_NE(seen.find("*** STARY ZAPIS ***"), std::string::npos) << seen;
  EXPECT_EQ(record.zapisano, 1);
  EXPECT_EQ(std::string(record.dataZapisu, 8), "20260320");
  EXPECT_EQ(Rows(OpenZ5DANE, Z5DANE, {"LPO", "DAT", "PSP", "REC"}), "1 20260320 650.00 1;");
}

TEST_F(RepostingTest, DayBeyondTheMonthIsRefusedInTheForm) {
  Posting("20260205");
  record.przychodSprzedaz = 10;
  ASSERT_EQ(Run("30{ENTER}{F9}{ENTER}28{ENTER}{F2}t", KsiegujKPiR), 0);
  EXPECT_NE(seen.find("Nielegalna data !"), std::string::npos) << seen;
  EXPECT_EQ(Rows(OpenZ5DANE, Z5DANE, {"DAT"}), "20260228;");
}

// The first pass goes from the day straight to the second description; once
// past the first one the cursor goes back up to it as to any field.
TEST_F(RepostingTest, FirstPassOfTheBookFormSkipsToTheSecondDescription) {
  Posting("20260305");
  std::strcpy(record.opis1, "dostawa");
  record.przychodSprzedaz = 10;
  ASSERT_EQ(Run("{ENTER}raty{UP}{END} towaru{F2}t", KsiegujKPiR), 0);
  EXPECT_EQ(Rows(OpenZ5DANE, Z5DANE, {"NUM", "OP1", "OP2"}), "FV/3/2026 dostawa towaru raty;");
}

// A posting that carries an account: the number must name one, whose
// identity the entry keeps and whose name the form shows beside the labels.
TEST_F(RepostingTest, AccountOfThePostingIsCheckedAndKept) {
  ASSERT_EQ(OpenZ5KONT(0), 0);
  AppendRecord(Z5KONT.table, {{"REC", "7"}, {"NUM", "700-0001"}, {"NAZ", "Sprzedaz towarow"}});
  d4close(Z5KONT.table);
  Z5KONT.table = nullptr;
  for (auto posting : {KsiegujKPiR, KsiegujRyczalt}) {
    salesOptions.taxation = posting == KsiegujKPiR ? 1 : 2;
    Posting("20260305");
    record.konta = 1;
    record.przychodSprzedaz = 10;
    record.ryczalt[0] = 10;
    // The day, (the book skips to OP2), a number no account has, then the right one.
    const char* keys = posting == KsiegujKPiR ? "{ENTER}{ENTER}7009999{ENTER}{F9}{ENTER}7000001{ENTER}{F9}{F2}t"
                                              : "{ENTER}{ENTER}{ENTER}7009999{ENTER}{F9}{ENTER}7000001{ENTER}{F9}{F2}t";
    ASSERT_EQ(Run(keys, posting), 0);
    EXPECT_NE(seen.find("Niezdefiniowany numer konta!"), std::string::npos) << seen;
    EXPECT_NE(seen.find("Sprzedaz towarow"), std::string::npos) << seen;
    EXPECT_EQ(Z5KONT.table, nullptr);
  }
  EXPECT_EQ(Rows(OpenZ5DANE, Z5DANE, {"KON"}), "7;");
  EXPECT_EQ(Rows(OpenZ5RYPR, Z5RYPR, {"KON"}), "7;");
  // The register's labels stand beside its slots, none written over.
  for (const char* label : {"źródło 1. SPRZEDAŻ", "zapłacono.......T", "uwagi...  "})
    EXPECT_NE(seen.find(label), std::string::npos) << label << "\n" << seen;
}

// Rent of 60000.00, 50000.00 and 5000.00: the third goes wholly over the
// threshold, also when it is posted again.
TEST_F(RepostingTest, RentStaysDividedAfterARePosting) {
  salesOptions.taxation = 2;
  const double rents[] = {60000, 50000, 5000};
  const char* dates[] = {"20260110", "20260210", "20260310"};
  for (int i = 0; i < 3; i++) {
    Posting(dates[i]);
    record.ryczalt[3] = rents[i];
    ASSERT_EQ(Run("{F2}t", KsiegujRyczalt), 0);
  }
  const char* divided = "60000.00 0.00;40000.00 10000.00;0.00 5000.00;";
  EXPECT_EQ(Rows(OpenZ5RYPR, Z5RYPR, {"NAJ", "NAW"}), divided);
  Posting("20260310");
  record.ryczalt[3] = 5000;
  record.recKsiegi = 3;
  ASSERT_EQ(Run("{F9}{ENTER}t{F2}t", KsiegujRyczalt), 0);
  EXPECT_NE(seen.find("POWTÓRNE KSIĘGOWANIE"), std::string::npos) << seen;
  EXPECT_EQ(record.zapisano, 1);
  EXPECT_EQ(Rows(OpenZ5RYPR, Z5RYPR, {"NAJ", "NAW"}), divided);
  EXPECT_EQ(Rows(OpenZ5RYPR, Z5RYPR, {"LPO", "ZAP"}), "1 T;2 T;3 T;");
  // The first posted again keeps its own date (option 56: the revenue date),
  // not the date of the latest entry.
  Posting("20260110");
  record.ryczalt[3] = 60000;
  record.recKsiegi = 1;
  ASSERT_EQ(Run("{ENTER}t{F2}t", KsiegujRyczalt), 0);
  EXPECT_EQ(Rows(OpenZ5RYPR, Z5RYPR, {"DAT", "NAJ", "NAW"}),
            "20260110 60000.00 0.00;20260210 40000.00 10000.00;20260310 0.00 5000.00;");
}

// A register of 2021 shows the two rent rows and keeps them in the reserve columns.
TEST_F(RepostingTest, RegisterOf2021ShowsItsRentRows) {
  salesOptions.taxation = 2;
  env->settlementYear = 2021;
  Posting("20210305");
  record.ryczalt[3] = 80;
  record.najemNadwyzka = 125;
  ASSERT_EQ(Run("{F9}{F2}t", KsiegujRyczalt), 0);
  env->settlementYear = 2026;
  EXPECT_NE(seen.find("stawka  8,5 najem"), std::string::npos) << seen;
  EXPECT_NE(seen.find("stawka 12,5 najem"), std::string::npos) << seen;
  std::string rows;
  ASSERT_EQ(OpenZ5RYPR(2021, 0), 0);
  d4go(Z5RYPR.table, 1);
  for (const char* name : {"DAD", "RE4", "RE2", "RAZ", "ZAP"}) rows += TrimmedField(Z5RYPR.table, name) + " ";
  d4close(Z5RYPR.table);
  EXPECT_EQ(rows, "20210305 80.00 125.00 205.00 T ");
}

}  // namespace
