// The pop-up month calendar with a running clock, from which the operator
// picks a date.
#pragma once
#include <cstdint>

struct KalendarzDate {
  int32_t day;       // of the month
  int32_t month;     // 1..12
  int32_t year;      // year - 1900
  int32_t weekday;   // 0 Sunday .. 6 Saturday
  char date[8];      // year in 4, month and day in 2 characters each, right-aligned with blanks
  char end;          // NUL
};

// Runs the calendar in a 21 x 40 window at (row, col). On entry the record
// gets today's day, month and year; Enter stores the chosen date in it. Returns 0.
int kalendarz(int row, int col, KalendarzDate* result);
