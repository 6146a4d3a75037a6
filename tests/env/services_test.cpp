#include "env/services.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/session/environment.h"
#include "tests/support/env_test.h"

namespace {

class WorkingDateTest : public EnvTest {
 protected:
  FixedClock clock{2024, 5, 17};
};

TEST_F(WorkingDateTest, TodayOrTheWorkingDate) {
  EXPECT_STREQ(get_cur_das(0), "20240517");
  std::memcpy(env->workingDate, "20231231", 9);
  env->useSystemDate = 'N';
  EXPECT_STREQ(get_cur_das(0), "20231231");
  EXPECT_STREQ(get_cur_das(1), "20240517");   // forced: the computer's date
  env->useSystemDate = 'T';
  EXPECT_STREQ(get_cur_das(0), "20240517");
}

TEST_F(WorkingDateTest, DayFilter) {
  char buffer[12] = "XXXXXXXX-Y";
  set_dzien_filter(0, buffer, 1);
  EXPECT_STREQ(buffer, "20240501-Y");
  set_dzien_filter(0, buffer, 0);
  EXPECT_STREQ(buffer, "20240517-Y");
  std::memcpy(buffer, "19990101", 8);
  set_dzien_filter(1, buffer, 1);
  EXPECT_STREQ(buffer, "19990101-Y");
}

TEST(SetDataStr, WritesEightDigitsAndNeverMore) {
  struct Case {
    int year, month, day;
    const char* expected;
  } cases[] = {
      {2024, 5, 7, "20240507"},
      {999, 12, 31, "09991231"},
      {12345, 123, 7, "23452307"},   // too wide: the last digits, the date stays 8 long
      {2024, -1, 7, "20240007"},
  };
  for (const Case& c : cases) {
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(set_data_str(c.year, c.month, c.day, buffer), buffer);
    EXPECT_STREQ(buffer, c.expected);
    EXPECT_EQ(buffer[9], '#');
  }
}

TEST(CmpStr, IgnoresCaseInTheSystemsSet) {
  const std::string lower = Utf8ToMazText("zażółć"), upper = Utf8ToMazText("ZAŻÓŁĆ");
  EXPECT_EQ(cmp_str(lower.c_str(), upper.c_str(), 6), 0);
  EXPECT_EQ(cmp_str("abc", "ABD", 3), -1);
  EXPECT_EQ(cmp_str("abd", "ABC", 3), 1);
  EXPECT_EQ(cmp_str("abd", "ABC", 2), 0);
  EXPECT_EQ(cmp_str("b", "\x86", 1), -1);   // bytes compare unsigned: ą sorts after ASCII
  EXPECT_EQ(cmp_str("ab", "AB", 10), 0);     // texts that end together are equal
  EXPECT_EQ(cmp_str("ab", "ABC", 10), -1);
}

struct TwoLines {
  char one[6], two[6];
  char guard = '#';
  std::string First() const { return std::string(one, sizeof one); }
  std::string Second() const { return std::string(two, sizeof two); }
};

TEST(DivStr, BreaksAtBlanks) {
  struct Case {
    const char* text;
    const char* first;
    const char* second;
  } cases[] = {
      {"ABCDEF GHIJK", "ABCDEF", " GHIJK"},   // the blank no longer fits line 1
      {"ABCDE FGHIJ", "ABCDE ", "FGHIJ "},    // here it stays at the end of line 1
      {"AB CD EF    ", "AB CD ", "EF    "},   // trailing blanks do not count
      {"ABCDEFGHIJ", "ABCDEF", "GHIJ  "},     // one word longer than a line: cut as it is
      {"ABC DEFGHIJK", "ABC DE", "FGHIJK"},   // does not fit word by word: cut as it is
      {"", "      ", "      "},
  };
  for (const Case& c : cases) {
    TwoLines lines;
    std::memset(lines.one, 'x', sizeof lines.one);
    std::memset(lines.two, 'x', sizeof lines.two);
    div_str(c.text, static_cast<int>(std::strlen(c.text)), lines.one, 6, lines.two, 6, nullptr);
    EXPECT_EQ(lines.First(), c.first) << c.text;
    EXPECT_EQ(lines.Second(), c.second) << c.text;
    EXPECT_EQ(lines.guard, '#');
  }
  // The length limits the text, not its NUL.
  TwoLines lines;
  div_str("ABC DEF GHI", 7, lines.one, 6, lines.two, 6, 0);
  EXPECT_EQ(lines.First() + lines.Second(), "ABC   DEF   ");
}

TEST(SmallServices, ListCountAndCells) {
  const char* list[] = {"width", "one", "two", "three", nullptr};
  EXPECT_EQ(CountListItems(list), 3);
  const char* none[] = {nullptr};
  EXPECT_EQ(CountListItems(none), 0);

  uint16_t cells[4] = {1, 1, 1, 1};
  CellFill(cells, 3, 0xB0, 0x1F);
  EXPECT_EQ(cells[0], 0x1FB0);
  EXPECT_EQ(cells[2], 0x1FB0);
  EXPECT_EQ(cells[3], 1);
  EXPECT_EQ(print_screen(), 0);
}

}  // namespace
