// The GTU and procedure marks of an invoice to a receipt: the windows of the
// register's Alt+O and Alt+P over the buyer record, the summary test and the
// marks the positions' GTU groups give.
#include <gtest/gtest.h>

#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "fiscal/printer_params.h"
#include "retail/receipt_invoice.h"
#include "retail/receipts.h"
#include "tests/retail/receipt_fixture.h"

namespace {

using namespace retail;

class MarksTest : public PlainRegisterTest {
 protected:
  void SetUp() override {
    PlainRegisterTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.procedureMarks = 'T';
    year = env->settlementYear;
  }
  void TearDown() override {
    salesOptions.procedureMarks = 0;
    env->settlementYear = year;
    PlainRegisterTest::TearDown();
  }
  // The buyer record of receipt 1 with the marks `re1`.
  void Invoice(const std::string& re1) {
    Header(1, {{"TYF", "9"}, {"PRF", "  FV"}, {"NRF", "1"}});
    AppendNamed(Z5PARO, {{"REK", "1"}, {"NA1", "NABYWCA"}, {"RE1", re1}});
    ASSERT_EQ(d4write(Z5PARO.table, d4recno(Z5PARO.table)), 0);
  }
  std::string StoredMarks() {
    d4go(Z5PARO.table, 1);
    return std::string(f4ptr(d4field(Z5PARO.table, "RE1")), 30);
  }
  int year = 0;
};

const std::string NONE(30, 'N');

std::string With(std::initializer_list<int> positions) {
  std::string s = NONE;
  for (int p : positions) s[static_cast<size_t>(p - 1)] = 'T';
  return s;
}

TEST_F(MarksTest, GtuWindowWritesOnlyOnF2) {
  Invoice(NONE);
  Run("{ALT+O}{DOWN}{SPACE}{F9}{ESC}{ESC}");
  EXPECT_NE(seen.find("OZNACZENIA TOWARÓW I USŁUG (GTU)"), std::string::npos);
  EXPECT_EQ(StoredMarks(), NONE);
  Run("{ALT+O}{DOWN}{SPACE}{F2}{ESC}");
  EXPECT_EQ(StoredMarks(), With({17}));
  EXPECT_EQ(Z5PARO.table->file_locked, 0);
}

TEST_F(MarksTest, ProcedureWindowKeepsTheFourthAndWritesOnF2) {
  Invoice(With({4}));
  Run("{ALT+P}{SPACE}{SPACE}{SPACE}{SPACE}{F9}{F2}{ESC}");
  EXPECT_NE(seen.find("PROCEDURY"), std::string::npos);
  EXPECT_EQ(StoredMarks(), With({1, 2, 3, 4, 5}));
}

TEST_F(MarksTest, WithoutABuyerRecordNothingOpens) {
  Header(1, {});
  Run("{ALT+O}{F9}{ENTER}{ESC}");
  EXPECT_NE(seen.find("Brak faktury."), std::string::npos) << seen;
  EXPECT_EQ(seen.find("OZNACZENIA"), std::string::npos);
  EXPECT_EQ(d4reccount(Z5PARO.table), 0);
}

TEST_F(MarksTest, WithoutTheOptionTheKeysDoNothing) {
  salesOptions.procedureMarks = 'N';
  Invoice(NONE);
  Run("{ALT+O}{ALT+P}{F9}{ESC}");
  EXPECT_EQ(seen.find("OZNACZENIA"), std::string::npos);
  EXPECT_EQ(seen.find("Alt+O"), std::string::npos);
}

// From 2022 the thirteenth procedure has no slot; stored, it stays and counts.
TEST_F(MarksTest, ThirteenthProcedureFrom2022) {
  env->settlementYear = 2022;
  Invoice(With({13}));
  Run("{ALT+P}{F9}{F2}{ESC}");
  EXPECT_NE(seen.find("B_MPV_PRO"), std::string::npos) << seen;
  EXPECT_EQ(StoredMarks(), With({13}));
  d4go(Z5PARO.table, 1);
  EXPECT_EQ(jest_znacznik(d4field(Z5PARO.table, "RE1"), PIERWSZA_PROCEDURA, ZNACZNIKI), 1);
  EXPECT_EQ(jest_znacznik(d4field(Z5PARO.table, "RE1"), PIERWSZY_GTU, ZNACZNIKI), 0);
}

TEST_F(MarksTest, SummaryTestOverRanges) {
  struct Case {
    std::string re1;
    int first, count, expected;
  } cases[] = {
      {NONE, 1, 13, 0},          {With({13}), 1, 13, 1},  {With({14, 15}), 1, 13, 0},
      {With({14, 15}), 16, 13, 0}, {With({16}), 16, 13, 1}, {With({28}), 16, 13, 1},
      {With({29}), 16, 13, 0},   {With({30}), 16, 15, 1},  // a range past the field's end reads nothing more
  };
  Invoice(NONE);
  DbField* re1 = d4field(Z5PARO.table, "RE1");
  for (const Case& c : cases) {
    f4assign(re1, c.re1.c_str());
    EXPECT_EQ(jest_znacznik(re1, c.first, c.count), c.expected) << c.re1 << " " << c.first;
  }
}

// Group 3 marks position 18, none (0) nothing, 14 ("BRAK") position 29,
// a stored 20 nothing at all.
TEST_F(MarksTest, PositionGroupsMarkTheirGtu) {
  Invoice(NONE);
  for (const char* group : {"3", "0", "3"}) Position(1, {{"NA1", "TOWAR"}, {"RE2", group}});
  Position(2, {{"NA1", "INNY"}, {"RE2", "5"}});
  GoHeader(1);
  d4go(Z5PARO.table, 1);
  ASSERT_EQ(oznacz_grupy_gtu_pozycji(), 0);
  EXPECT_EQ(std::string(f4ptr(d4field(Z5PARO.table, "RE1")), 30), With({18}));
  struct Case {
    const char* group;
    std::string expected;
  } cases[] = {{"14", With({29})}, {"20", NONE}, {"1", With({16})}, {"13", With({28})}, {"-1", NONE}};
  long rec = 10;
  for (const Case& c : cases) {
    Header(rec, {});
    Position(rec, {{"RE2", c.group}});
    GoHeader(rec);
    f4assign(d4field(Z5PARO.table, "RE1"), NONE.c_str());
    ASSERT_EQ(oznacz_grupy_gtu_pozycji(), 0);
    EXPECT_EQ(std::string(f4ptr(d4field(Z5PARO.table, "RE1")), 30), c.expected) << c.group;
    ++rec;
  }
}

}  // namespace
