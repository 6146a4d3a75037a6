#include "ui/calendar.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "env/dates.h"
#include "env/session/environment.h"
#include "env/numbers.h"
#include "platform/clock.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int kHeight = 21, kWidth = 40;
constexpr int kFrameAttr = 130, kTitleAttr = 40, kFaceAttr = 142;
constexpr int kDayAttr = 143, kSundayAttr = 140, kSelectedAttr = 248;
constexpr int kClockMs = 1000;
constexpr int kFirstYear = 1970, kLastYear = 2038;   // what the platform's calendar conversion covers

constexpr int kFirstWeekRow = 4, kCellCol = 3, kCellStep = 5;
constexpr int kYearRow = 16;

const char kHeader[] = "   N   Pn   Wt   \x98r   Cz   Pt   So  ";   // Śr
const char kHelp[] = "[\x1E/\x1F]-Miesi\x86" "c      [PgUp/PgDn]-Rok";

// Box pieces of the system's character set.
constexpr char kH = '\xC4', kV = '\xB3';

struct Calendar {
  int window;
  int year, month;       // shown
  int selected;          // day of the shown month
  int today, todayMonth, todayYear;
  int firstColumn;       // weekday of the 1st, 0 Sunday
  int length;            // days of the shown month
};

void FirstOfMonth(int year, int month, char* date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d%02d01", year, month);
  std::memcpy(date, text, 8);
}

void Measure(Calendar& c) {
  char first[8], next[8];
  FirstOfMonth(c.year, c.month, first);
  FirstOfMonth(c.month == 12 ? c.year + 1 : c.year, c.month == 12 ? 1 : c.month + 1, next);
  c.firstColumn = date4dow(first) - 1;
  c.length = static_cast<int>(date4long(next) - date4long(first));
}

void DrawCell(const Calendar& c, int day, bool selected) {
  int cell = c.firstColumn + day - 1;
  int row = kFirstWeekRow + 2 * (cell / 7), column = cell % 7;
  char text[16];
  std::snprintf(text, sizeof text, "%2d", day);
  int attr = selected ? kSelectedAttr : column == 0 ? kSundayAttr : kDayAttr;
  w4num_att(row, kCellCol + kCellStep * column, text, 2, attr);
}

void DrawMonth(Calendar& c) {
  Measure(c);
  for (int cell = 0; cell < 42; cell++)
    w4num_att(kFirstWeekRow + 2 * (cell / 7), kCellCol + kCellStep * (cell % 7), "  ", 2, kDayAttr);
  c.selected = c.today <= c.length ? c.today : 1;
  bool current = c.year == c.todayYear && c.month == c.todayMonth;
  for (int day = 1; day <= c.length; day++) DrawCell(c, day, current && day == c.selected);
  char text[32];
  std::snprintf(text, sizeof text, "%04d", c.year);
  w4num_att(kYearRow, 4, text, 4, kFaceAttr);
  std::snprintf(text, sizeof text, " %-12s", kMonthNames[c.month]);
  w4num_att(kYearRow, 9, text, 13, kFaceAttr);
}

// A line of the grid: `left`, `middle` between the cells, `right`, filled with `fill`.
void GridLine(int row, char left, char middle, char right, char fill) {
  std::string line(36, fill);
  for (int i = 0; i <= 7; i++) line[kCellStep * i] = i == 0 ? left : i == 7 ? right : middle;
  w4num_att(row, 1, line.c_str(), static_cast<int>(line.size()), kFaceAttr);
}

void DrawFace() {
  w4num_att(2, 0, kHeader, -1, kFaceAttr);
  GridLine(3, '\xDA', '\xC2', '\xBF', kH);
  for (int week = 0; week < 6; week++) {
    GridLine(kFirstWeekRow + 2 * week, kV, kV, kV, ' ');
    if (week < 5) GridLine(kFirstWeekRow + 2 * week + 1, '\xC3', '\xC5', '\xB4', kH);
  }
  GridLine(15, '\xC3', '\xC1', '\xB4', kH);
  GridLine(kYearRow, kV, ' ', kV, ' ');
  GridLine(17, '\xC0', kH, '\xD9', kH);
  int saved = w4attribute(-1);
  w4attribute(kTitleAttr);
  w4centre(18, kHelp);
  w4attribute(saved);
}

// The clock's timer routine; `user` is the calendar's window.
void ClockTick(int32_t user) {
  int previous = w4select(user);
  PlatDateTime now;
  PlatNow(&now);
  char text[32];
  std::snprintf(text, sizeof text, "Czas:%02d:%02d:%02d", now.hour, now.minute, now.second);
  w4centre(0, text);
  w4select(previous);
}

void Store(const Calendar& c, KalendarzDate* result) {
  result->day = c.selected;
  result->month = c.month;
  result->year = c.year - 1900;
  result->weekday = (c.firstColumn + c.selected - 1) % 7;
  c4ltoa(c.year, result->date, 4);
  c4ltoa(c.month, result->date + 4, 2);
  c4ltoa(c.selected, result->date + 6, 2);
  result->end = 0;
}

}  // namespace

int kalendarz(int row, int col, KalendarzDate* result) {
  Environment* env = EnvCurrent();
  if (!env || env->exclusiveToolActive || !result) return 0;
  int previous = Desktop.curHandle;
  int caretRow = env->caretRow, caretCol = env->caretColumn;
  w4cursor(-1, -1);

  char today[8];
  date4today(today);
  Calendar c{};
  c.today = result->day = date4day(today);
  c.todayMonth = result->month = date4month(today);
  c.todayYear = date4year(today);
  result->year = c.todayYear - 1900;
  c.year = c.todayYear;
  c.month = c.todayMonth;

  c.window = w4define(row, col, row + kHeight - 1, col + kWidth - 1);
  if (c.window >= 0) {
    w4popup();
    w4border(kStdFrame, kFrameAttr);
    w4title(0, -1, "KALENDARZ", kTitleAttr);
    w4attribute(kFaceAttr);
    w4activate(c.window);
    DrawFace();
    DrawMonth(c);
    ClockTick(c.window);
    int timer = AllocTimer(TIMER_PERIODIC, kClockMs, ClockTick, c.window);

    int key;
    while ((key = g4char()) != KEY_ENTER && key != KEY_ESC) {
      switch (key) {
        case KEY_LEFT:
        case KEY_RIGHT: {
          DrawCell(c, c.selected, false);
          if (key == KEY_LEFT)
            c.selected = c.selected > 1 ? c.selected - 1 : c.length;
          else
            c.selected = c.selected < c.length ? c.selected + 1 : 1;
          DrawCell(c, c.selected, true);
          break;
        }
        case KEY_UP:
          if (c.year <= kFirstYear) break;
          if (--c.month < 1) {
            c.month = 12;
            c.year--;
          }
          DrawMonth(c);
          break;
        case KEY_DOWN:
          if (c.year >= kLastYear) break;
          if (++c.month > 12) {
            c.month = 1;
            c.year++;
          }
          DrawMonth(c);
          break;
        case KEY_PGUP:
          if (c.year <= kFirstYear) break;
          c.year--;
          DrawMonth(c);
          break;
        case KEY_PGDN:
          if (c.year >= kLastYear - 1) break;
          c.year++;
          DrawMonth(c);
          break;
        default:
          break;
      }
    }
    if (timer > 0) FreeTimer(&timer);
    w4deactivate(c.window);
    w4close(c.window);
    if (key == KEY_ENTER) Store(c, result);
  }
  w4select(previous);
  if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
  return 0;
}
