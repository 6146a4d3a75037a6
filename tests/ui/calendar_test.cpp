#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/ui/ui_fixture.h"
#include "ui/calendar.h"

namespace {

std::string Repeat(const char* key, int times) {
  std::string s;
  for (int i = 0; i < times; i++) s += key;
  return s;
}

// The calendar's inner window as the snapshot key saw it.
struct Snap {
  std::vector<std::string> rows;   // UTF-8
  std::vector<int> selected;       // day numbers drawn in the selection attribute
  int timers = 0;                  // timer slots in use
  int sundayAttr = -1;             // attribute of the first day in the Sunday column
};
std::vector<Snap> snaps;

int TakeSnap(int32_t, int32_t) {
  const Window4* w = w4record(Desktop.topWindow);
  Snap s;
  for (int r = 0; r < w->height; r++) {
    std::string bytes;
    for (int c = 0; c < w->width; c++) bytes += static_cast<char>(Desktop.cells[(w->row + r) * Desktop.cols + w->col + c] & 0xFF);
    s.rows.push_back(MazToUtf8Text(bytes.c_str()));
  }
  for (int week = 0; week < 6; week++)
    for (int day = 0; day < 7; day++) {
      int row = w->row + 4 + 2 * week, col = w->col + 3 + 5 * day;
      uint16_t a = Desktop.cells[row * Desktop.cols + col], b = Desktop.cells[row * Desktop.cols + col + 1];
      std::string text{static_cast<char>(a & 0xFF), static_cast<char>(b & 0xFF)};
      if ((b >> 8) == 248) s.selected.push_back(std::stoi(text));
      if (day == 0 && s.sundayAttr < 0 && text != "  ") s.sundayAttr = b >> 8;
    }
  for (const TimerSlot& slot : EnvCurrent()->timers) s.timers += slot.callback != nullptr;
  snaps.push_back(s);
  return 0;
}

class CalendarTest : public UiTest {
 protected:
  KalendarzDate result{};

  void SetUp() override {
    UiTest::SetUp();
    snaps.clear();
    g4set_key_to(KEY_ALT_A, TakeSnap);
    std::memset(&result, 0x7F, sizeof result);
  }

  void Today(int year, int month, int day) {
    PlatDateTime at{year, month, day, 10, 0, 0, 0, 0};
    PlatClockFix(&at);
  }

  void Run(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript(keys.c_str()), 0);
    EXPECT_EQ(kalendarz(5, 20, &result), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
};

TEST_F(CalendarTest, EnterReturnsTheSelectedDate) {
  Run("{ENTER}");
  EXPECT_EQ(result.day, 10);
  EXPECT_EQ(result.month, 12);
  EXPECT_EQ(result.year, 126);
  EXPECT_EQ(result.weekday, 4);
  EXPECT_EQ(std::string(result.date, 8), "20261210");
  EXPECT_EQ(result.end, 0);

  Run("{PGUP}{PGUP}{UP}{UP}{LEFT}{LEFT}{ENTER}");   // 8 October 2024
  EXPECT_EQ(result.day, 8);
  EXPECT_EQ(result.month, 10);
  EXPECT_EQ(result.year, 124);
  EXPECT_EQ(result.weekday, 2);
  EXPECT_EQ(std::string(result.date, 8), "202410 8");   // right-aligned with blanks
}

TEST_F(CalendarTest, EscKeepsTodayAndLeavesTheRest) {
  Run("{RIGHT}{DOWN}{ESC}");
  EXPECT_EQ(result.day, 10);
  EXPECT_EQ(result.month, 12);
  EXPECT_EQ(result.year, 126);
  EXPECT_EQ(result.weekday, 0x7F7F7F7F);
  EXPECT_EQ(result.date[0], 0x7F);
}

TEST_F(CalendarTest, FebruaryHasTwentyNineDaysInLeapYears) {
  struct Case {
    int years;   // PgUp presses from 2026
    int days, weekdayOfLast;
  } cases[] = {{26, 29, 2}, {2, 29, 4}, {3, 28, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(2026 - c.years);
    // Up ten times reaches February; from the 10th ten Lefts wrap to the last day.
    Run(Repeat("{UP}", 10) + Repeat("{PGUP}", c.years) + Repeat("{LEFT}", 10) + "{ENTER}");
    EXPECT_EQ(result.month, 2);
    EXPECT_EQ(result.year + 1900, 2026 - c.years);
    EXPECT_EQ(result.day, c.days);
    EXPECT_EQ(result.weekday, c.weekdayOfLast);
  }
}

TEST_F(CalendarTest, SelectionWrapsAndFollowsShorterMonths) {
  Today(2026, 12, 31);
  Run("{RIGHT}{ENTER}");   // from the last day to the 1st
  EXPECT_EQ(result.day, 1);
  EXPECT_EQ(result.month, 12);
  Run("{UP}{ENTER}");      // November has no 31st
  EXPECT_EQ(result.day, 1);
  EXPECT_EQ(result.month, 11);
  Run("{UP}{DOWN}{ENTER}");
  EXPECT_EQ(result.day, 31);
  EXPECT_EQ(result.month, 12);
  Today(2026, 1, 1);
  Run("{UP}{ENTER}");      // across the year's start
  EXPECT_EQ(result.month, 12);
  EXPECT_EQ(result.year, 125);
}

TEST_F(CalendarTest, StaysWithinTheYearsItCanShow) {
  struct Case {
    std::string keys;
    int month, year;
  } cases[] = {
      {Repeat("{DOWN}", 133) + "{DOWN}{PGDN}", 1, 2038},   // January 2038 is the end
      {Repeat("{PGDN}", 11) + "{PGDN}", 12, 2037},         // no year after 2037 by PgDn
      {Repeat("{PGUP}", 56) + "{PGUP}{UP}", 12, 1970},                      // no month before 1971 by Up
      {Repeat("{UP}", 11) + Repeat("{PGUP}", 56) + "{UP}{PGUP}", 1, 1970},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.month * 10000 + c.year);
    Run(c.keys + "{ENTER}");
    EXPECT_EQ(result.month, c.month);
    EXPECT_EQ(result.year + 1900, c.year);
  }
}

TEST_F(CalendarTest, DrawsTheMonthAndMarksTodayOnlyInItsMonth) {
  Run("{ALT+A}{DOWN}{ALT+A}{RIGHT}{ALT+A}{UP}{ALT+A}{ESC}");
  ASSERT_EQ(snaps.size(), 4u);
  const Snap& december = snaps[0];
  EXPECT_EQ(december.rows[2].rfind("   N   Pn   Wt   Śr   Cz   Pt   So  ", 0), 0u) << december.rows[2];
  EXPECT_NE(december.rows[16].find("2026  Grudzień "), std::string::npos) << december.rows[16];
  EXPECT_NE(december.rows[18].find("Miesiąc      [PgUp/PgDn]-Rok"), std::string::npos);
  // 1 December 2026 is a Tuesday: the first week row starts with three blanks.
  EXPECT_EQ(december.rows[4].rfind(" │    │    │  1 │  2 │  3 │  4 │  5 │", 0), 0u) << december.rows[4];
  EXPECT_EQ(december.selected, std::vector<int>{10});
  EXPECT_EQ(december.sundayAttr, 140);
  EXPECT_NE(snaps[1].rows[16].find("2027  Styczeń "), std::string::npos);
  EXPECT_TRUE(snaps[1].selected.empty());
  EXPECT_EQ(snaps[2].selected, std::vector<int>{11});
  EXPECT_EQ(snaps[3].selected, std::vector<int>{10});
}

TEST_F(CalendarTest, ClockTicksWhileWaitingAndItsTimerIsFreed) {
  int before = 0;
  for (const TimerSlot& slot : env->timers) before += slot.callback != nullptr;
  Run("{ALT+A}{WAIT 2500}{ALT+A}{ESC}");
  ASSERT_EQ(snaps.size(), 2u);
  EXPECT_NE(snaps[0].rows[0].find("Czas:10:00:00"), std::string::npos) << snaps[0].rows[0];
  EXPECT_NE(snaps[1].rows[0].find("Czas:10:00:02"), std::string::npos) << snaps[1].rows[0];
  EXPECT_EQ(snaps[0].timers, before + 1);
  int after = 0;
  for (const TimerSlot& slot : env->timers) after += slot.callback != nullptr;
  EXPECT_EQ(after, before);
}

TEST_F(CalendarTest, RestoresTheScreenAndCaret) {
  int w = w4define(2, 2, 27, 70);
  w4activate(w);
  w4(10, 30, "beneath");
  w4cursor(3, 4);
  std::vector<std::string> before;
  for (int r = 0; r < Desktop.rows; r++) before.push_back(Row(r));
  Run("{ENTER}");
  for (int r = 0; r < Desktop.rows; r++) EXPECT_EQ(Row(r), before[r]) << "row " << r;
  EXPECT_EQ(Desktop.curHandle, w);
  EXPECT_EQ(env->caretRow, 3);
  EXPECT_EQ(env->caretColumn, 4);
}

TEST_F(CalendarTest, DoesNothingWhileAnExclusiveToolRuns) {
  env->exclusiveToolActive = 1;
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_EQ(kalendarz(5, 20, &result), 0);
  EXPECT_EQ(result.day, 0x7F7F7F7F);
  env->exclusiveToolActive = 0;
}

}  // namespace
