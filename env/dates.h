// Dates: "CCYYMMDD" texts (8 blanks when empty), julian day numbers for
// arithmetic, pictures for entry and display, month and day names.
#pragma once
#include <cstdint>

constexpr int32_t DATE_JULIAN_BASE = 1721425;
// The day number of an empty date as a double.
constexpr double DATE_EMPTY_DOUBLE = 1.0E100;

// Month names indexed 1 to 12 and day names indexed by the day of week
// (0 empty, 1 Sunday .. 7 Saturday), in the system's character set.
extern const char kMonthNames[13][13];
extern const char kDayNames[8][14];

// Days of the month (1..12) in the year, February by the Gregorian leap rule.
int DaysInMonth(int year, int month);

int date4day(const char* date);
int date4month(const char* date);
int date4year(const char* date);
// Day number; 0 for 8 blanks; -1 when invalid.
int32_t date4long(const char* date);
// 0 and the day number; -2 and 1.0E100 for 8 blanks; -1 when invalid.
int c4dt_julian(const char* date, double* result);
// Writes the 8 characters of the day number (8 blanks below 1); no NUL.
void date4assign(char* buffer, int32_t dayNumber);
// 1 Sunday .. 7 Saturday; 0 for an invalid date.
int date4dow(const char* date);
const char* date4cdow(const char* date);
const char* date4month_name(const char* date);

// The date laid out by a picture (C century, Y year, M month, D day; three
// or more M the month's name), as a temporary string.
char* DateFmtQStr(const char* date, const char* picture);
char* DateQStr(const char* date);        // "DD-MM/YY"
char* FullDateQStr(const char* date);    // "DD-MM-CCYY"

// A date typed under a picture back to "CCYYMMDD" (8 bytes, no NUL). A
// two-digit year above 30 falls in the 1900s, otherwise in the 2000s; a
// month typed as a name is compared by its first three letters with the
// system's case rules.
void date4parse_picture(const char* typed, const char* picture, char* result);
// The same with the picture upper-cased first (the expression function CTOD).
void date4ctod(char* result, const char* typed, const char* picture);
// Today "CCYYMMDD" and the time "hh:mm:ss": 8 characters each, no NUL.
void date4today(char* buffer);
void time4now(char* buffer);
