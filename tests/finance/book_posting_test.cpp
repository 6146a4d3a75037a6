// Posting records written into the revenue and expense book and the
// flat-rate register without the entry form: numbers, dates, months marked
// for recounting, re-posting, two workstations, the rent division.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <string>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "tables/book_tables.h"
#include "tests/finance/posting_fixture.h"
#include "ui/get4.h"

namespace {

class BookPostingTest : public PostingFixture<SalesTest> {
 protected:
  void SetUp() override {
    PostingFixture::SetUp();
    if (HasFatalFailure()) return;
    ClearMarks(2026);
  }
  // A posting of `income` on the book date.
  void Posting(const char* date, double income, const char* number = "FV/1/2026") {
    record = ZapisKsiegowy{};
    std::memcpy(record.dataKsiegi, date, 8);
    std::memset(record.dataWystawienia, ' ', 8);
    std::memset(record.dataPlatnosci, ' ', 8);
    record.zrodlo = 1;
    record.zaplacono = 'N';
    record.kasowo = ' ';
    record.status = ' ';
    record.przychodSprzedaz = income;
    std::strcpy(record.nrDokumentu, number);
    std::strcpy(record.nazwa[0], "Odbiorca");
  }
  // The months of the totals as 12 STA characters, each set back to blank.
  static void ClearMarks(int year) {
    ASSERT_EQ(OpenZ5STAK(year), 0);
    for (long n = 1; n <= 12; n++) {
      d4go(Z5STAK.table, n);
      f4assign(d4field(Z5STAK.table, "STA"), " ");
      d4write(Z5STAK.table, n);
    }
    d4close(Z5STAK.table);
  }
  static std::string Marks(int year) {
    std::string marks;
    EXPECT_EQ(OpenZ5STAK(year), 0);
    for (long n = 1; n <= 12; n++) {
      d4go(Z5STAK.table, n);
      marks += static_cast<char>(f4char(d4field(Z5STAK.table, "STA")));
    }
    d4close(Z5STAK.table);
    return marks;
  }
  // "LPO DAT NUM PSP REC" of every entry of the book.
  static std::string Book(int year) {
    std::string all;
    EXPECT_EQ(OpenZ5DANE(year, 0), 0);
    DbTable* t = Z5DANE.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      for (const char* name : {"LPO", "DAT", "NUM", "PSP"}) all += TrimmedField(t, name) + " ";
      all += TrimmedField(t, "REC") + ";";
    }
    d4close(t);
    Z5DANE.table = nullptr;
    return all;
  }
};

TEST_F(BookPostingTest, EntriesKeepTheirBookDateAndNumbersRunOn) {
  Posting("20260305", 813.01);
  ASSERT_EQ(KsiegujKPiR(1), 0);
  EXPECT_EQ(record.zapisano, 1);
  EXPECT_EQ(record.lp, 1u);
  EXPECT_EQ(record.recKsiegi, 1);
  EXPECT_EQ(std::string(record.dataZapisu, 8), "20260305");
  // A later document of another month keeps its own month (not January).
  Posting("20260718", 100, "FV/2/2026");
  ASSERT_EQ(KsiegujKPiR(1), 0);
  EXPECT_EQ(record.lp, 2u);
  EXPECT_EQ(std::string(record.dataZapisu, 8), "20260718");
  EXPECT_EQ(Book(2026), "1 20260305 FV/1/2026 813.01 1;2 20260718 FV/2/2026 100.00 2;");
  EXPECT_EQ(Marks(2026), "  A   A     ");
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  d4go(Z5DANE.table, 1);
  EXPECT_EQ(FieldText(Z5DANE.table, "ZAP"), "N");
  EXPECT_EQ(FieldText(Z5DANE.table, "ZRK"), "1");
  EXPECT_EQ(FieldText(Z5DANE.table, "NA1"), "Odbiorca");
  d4close(Z5DANE.table);
  Z5DANE.table = nullptr;
  EXPECT_EQ(OstatniMiesiacKsiegi(2026), 7);
  EXPECT_EQ(OstatniMiesiacKsiegi(2025), 1);
}

TEST_F(BookPostingTest, RepostingRewritesItsEntryOrMakesANewOne) {
  Posting("20260305", 500);
  ASSERT_EQ(KsiegujKPiR(1), 0);
  // Without the screen the comparison's question is declined: nothing is
  // written, yet both months are marked.
  ClearMarks(2026);
  Posting("20260410", 600);
  record.recKsiegi = 1;
  ASSERT_EQ(KsiegujKPiR(1), 0);
  EXPECT_EQ(record.zapisano, 0);
  EXPECT_EQ(Marks(2026), "  AA        ");
  EXPECT_EQ(Book(2026), "1 20260305 FV/1/2026 500.00 1;");
  // The old entry deleted from the book: a new entry is made.
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  d4go(Z5DANE.table, 1);
  f4assign_long(d4field(Z5DANE.table, "REC"), 77);
  d4write(Z5DANE.table, 1);
  d4close(Z5DANE.table);
  Z5DANE.table = nullptr;
  Posting("20260410", 600);
  record.recKsiegi = 1;
  ASSERT_EQ(KsiegujKPiR(1), 0);
  EXPECT_EQ(record.zapisano, 1);
  EXPECT_EQ(record.recKsiegi, 2);
  EXPECT_EQ(Book(2026), "1 20260305 FV/1/2026 500.00 77;2 20260410 FV/1/2026 600.00 2;");
}

TEST_F(BookPostingTest, LeapDayAndTheDayControl) {
  Posting("20240229", 10);
  ASSERT_EQ(KsiegujKPiR(1), 0);
  EXPECT_EQ(Book(2024), "1 20240229 FV/1/2026 10.00 1;");
  struct Case {
    int year, month, day;
    bool valid;
  } cases[] = {{2024, 2, 29, true}, {2026, 2, 29, false}, {2026, 4, 31, false}, {2026, 12, 31, true},
               {2026, 1, 0, false}};
  for (const Case& c : cases) {
    record.rok = c.year;
    record.miesiac = c.month;
    record.dzien = 1;
    int32_t day = c.day;
    Get4 get{};
    get.data = &day;
    EXPECT_EQ(WalidujDzienKsiegi(&get) == 0, c.valid) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(record.dzien, c.valid ? c.day : 1);
  }
  EXPECT_EQ(Boxes(), "Nielegalna data !|Nielegalna data !|Nielegalna data !");
}

TEST_F(BookPostingTest, ZeroEntryNeedsAYes) {
  Posting("20260305", 0);
  ASSERT_EQ(KsiegujKPiR(1), 0);
  EXPECT_EQ(record.zapisano, 0);
  EXPECT_EQ(Boxes(), "Wartość księgowa dokumentu jest równa 0\nCzy zaksięgować ?");
  EXPECT_EQ(Book(2026), "");
}

TEST_F(BookPostingTest, TwoWorkstationsDrawDifferentNumbers) {
  constexpr int kEach = 12;
  pid_t other = fork();
  if (other == 0) {
    d4close_all(&env->engine);
    // A refused lock fails the posting at once here (no operator waits), so
    // each side tries again as the operator would.
    for (int n = 0; n < kEach;) {
      Posting("20260305", 1);
      if (KsiegujKPiR(1) == 0 && record.zapisano) n++;
    }
    _exit(0);
  }
  ASSERT_GT(other, 0);
  for (int n = 0; n < kEach;) {
    Posting("20260305", 2);
    if (KsiegujKPiR(1) == 0 && record.zapisano) n++;
  }
  int status = 0;
  waitpid(other, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  std::set<long> numbers, records;
  ASSERT_EQ(d4reccount(Z5DANE.table), 2 * kEach);
  for (long n = 1; n <= 2 * kEach; n++) {
    d4go(Z5DANE.table, n);
    numbers.insert(f4long(d4field(Z5DANE.table, "LPO")));
    records.insert(f4long(d4field(Z5DANE.table, "REC")));
  }
  d4close(Z5DANE.table);
  Z5DANE.table = nullptr;
  EXPECT_EQ(numbers.size(), static_cast<size_t>(2 * kEach));
  EXPECT_EQ(*numbers.rbegin(), 2 * kEach);
  EXPECT_EQ(records.size(), static_cast<size_t>(2 * kEach));
}

}  // namespace
