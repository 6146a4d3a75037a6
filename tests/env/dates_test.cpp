#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/dates.h"
#include "tests/env/environment_fixture.h"

namespace {

std::string Parsed(const char* typed, const char* picture) {
  char result[9] = "########";
  date4parse_picture(typed, picture, result);
  return std::string(result, 8);
}

TEST(Dates, DayNumbers) {
  struct Case {
    const char* date;
    int32_t expected;
  };
  for (const Case& c : {Case{"20000101", 2451545}, Case{"20240229", 2460370}, Case{"20230229", -1},
                        Case{"20241301", -1}, Case{"20240100", -1}, Case{"20240431", -1},
                        Case{"        ", 0}, Case{"19000229", -1}, Case{"20000229", 2451604},
                        Case{"00010101", 1721426}, Case{"", 0}, Case{"2024", -1}}) {
    EXPECT_EQ(date4long(c.date), c.expected) << c.date;
  }
  double julian = 0;
  EXPECT_EQ(c4dt_julian("        ", &julian), -2);
  EXPECT_EQ(julian, 1.0E100);
  EXPECT_EQ(c4dt_julian("20230229", &julian), -1);
  EXPECT_EQ(c4dt_julian("20000101", &julian), 0);
  EXPECT_EQ(julian, 2451545);
}

TEST(Dates, AssignIsTheInverseOfTheDayNumber) {
  char date[9] = {};
  for (int32_t n = date4long("18991225"); n <= date4long("21010110"); ++n) {
    date4assign(date, n);
    ASSERT_EQ(date4long(date), n) << date;
  }
  date4assign(date, 2451545);
  EXPECT_STREQ(date, "20000101");
  date4assign(date, 0);
  EXPECT_STREQ(date, "        ");
  date4assign(date, 1721426);
  EXPECT_STREQ(date, "00010101");
  date4assign(date, 2000000000);   // beyond four digits of year
  EXPECT_STREQ(date, "        ");
}

// Subtracting days from a date of year 0 in a key or filter expression gives
// day numbers before the first date; they must come out blank, not stop.
TEST(Dates, AssignBeforeTheFirstDayIsBlank) {
  char date[9] = {};
  const int32_t first = date4long("00000101");
  date4assign(date, first);
  EXPECT_STREQ(date, "00000101");
  for (int32_t n = 1; n < first; ++n) {
    std::memcpy(date, "########", 8);
    date4assign(date, n);
    ASSERT_STREQ(date, "        ") << n;
  }
  date4assign(date, date4long("20261210") - 2460332);
  EXPECT_STREQ(date, "        ");
}

TEST(Dates, DayAndMonthNames) {
  EXPECT_EQ(date4dow("20000101"), 7);
  EXPECT_EQ(date4dow("20261210"), 5);
  EXPECT_EQ(date4dow("20261213"), 1);
  EXPECT_EQ(date4dow("20230229"), 0);
  EXPECT_EQ(date4dow("        "), 0);
  EXPECT_EQ(std::string(date4cdow("20261210")), "Czwartek");
  EXPECT_EQ(std::string(date4cdow("20261211")), Utf8ToMazText("Piątek"));
  EXPECT_EQ(std::string(date4cdow("2026x210")), "");
  EXPECT_EQ(std::string(date4month_name("20261015")), Utf8ToMazText("Październik"));
  EXPECT_EQ(date4year("20261015"), 2026);
  EXPECT_EQ(date4month("20261015"), 10);
  EXPECT_EQ(date4day("20261015"), 15);
}

TEST(Dates, Pictures) {
  struct Case {
    const char* date;
    const char* picture;
    std::string expected;
  };
  for (const Case& c : {Case{"20241231", "DD-MM/YY", "31-12/24"}, Case{"20241231", "DD-MM-CCYY", "31-12-2024"},
                        Case{"20241231", "CCYYMMDD", "20241231"}, Case{"20241231", "YY", "24"},
                        Case{"20241031", "DD MMM CCYY", Utf8ToMazText("31 Paź 2024")},
                        Case{"20240215", "MMMMMMMMMM DD", "Luty       15"},
                        Case{"20241531", "MMMM", Utf8ToMazText("Grud")}, Case{"2024  31", "MMM", "   "},
                        Case{"20241231", "D/M", "3/1"}, Case{"20241231", "X", "X"}}) {
    EXPECT_EQ(std::string(DateFmtQStr(c.date, c.picture)), c.expected) << c.picture;
  }
  EXPECT_STREQ(DateQStr("20240507"), "07-05/24");
  EXPECT_STREQ(DateQStr(""), "  -  /  ");   // a short text reads as blanks, never past its end
  EXPECT_STREQ(FullDateQStr("20240507"), "07-05-2024");
  std::string longPicture(60, 'D');
  EXPECT_EQ(std::strlen(DateFmtQStr("20240507", longPicture.c_str())), 31u);
}

TEST(Dates, TypedUnderAPicture) {
  struct Case {
    std::string typed;
    const char* picture;
    const char* expected;
  };
  for (const Case& c : {Case{"311299", "DDMMYY", "19991231"}, Case{"010130", "DDMMYY", "20300101"},
                        Case{"010131", "DDMMYY", "19310101"}, Case{"31-12/24", "DD-MM/YY", "20241231"},
                        Case{"  -  /  ", "DD-MM/YY", "        "}, Case{"12/24", "MM/YY", "20241201"},
                        Case{"2024", "CCYY", "20240101"}, Case{"31-12-1899", "DD-MM-CCYY", "18991231"},
                        Case{" 5- 3/ 7", "DD-MM/YY", "20070305"},
                        Case{Utf8ToMazText("15-PAŹ-2024"), "DD-MMM-CCYY", "20241015"},
                        Case{Utf8ToMazText("15-paź-2024"), "DD-MMM-CCYY", "20241015"},
                        Case{Utf8ToMazText("01-ŚRO-2024"), "DD-MMM-CCYY", "20240001"},
                        Case{"07-sty-2024", "DD-MMM-CCYY", "20240107"}, Case{"07-LU -2024", "DD-MMM-CCYY", "20240207"},
                        Case{"07-xyz-2024", "DD-MMM-CCYY", "20240007"}}) {
    EXPECT_EQ(Parsed(c.typed.c_str(), c.picture), c.expected) << c.typed << " " << c.picture;
  }
  char result[9] = {};
  date4ctod(result, "31-12-2024", "dd-mm-ccyy");
  EXPECT_STREQ(result, "20241231");
  date4ctod(result, Utf8ToMazText("03 paź 24").c_str(), "dd mmm yy");
  EXPECT_STREQ(result, "20241003");
}

TEST(Dates, TodayComesFromTheClock) {
  FixedClock clock(2026, 3, 4, 5, 6, 7);
  char today[9] = {};
  date4today(today);
  EXPECT_STREQ(today, "20260304");
  char now[9] = {};
  time4now(now);
  EXPECT_STREQ(now, "05:06:07");
}

}  // namespace
