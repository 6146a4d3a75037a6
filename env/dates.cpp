#include "env/dates.h"

#include <cstdio>
#include <cstring>

#include "env/error_codes.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/temp_strings.h"
#include "platform/clock.h"

// In the system's character set.
const char kMonthNames[13][13] = {
    "",
    "Stycze\xA4",          // Styczeń
    "Luty",
    "Marzec",
    "Kwiecie\xA4",         // Kwiecień
    "Maj",
    "Czerwiec",
    "Lipiec",
    "Sierpie\xA4",         // Sierpień
    "Wrzesie\xA4",         // Wrzesień
    "Pa\xA6\x64ziernik",   // Październik
    "Listopad",
    "Grudzie\xA4",         // Grudzień
};

const char kDayNames[8][14] = {
    "",
    "Niedziela",
    "Poniedzia\x92\x65k",   // Poniedziałek
    "Wtorek",
    "\x98roda",             // Środa
    "Czwartek",
    "Pi\x86tek",            // Piątek
    "Sobota",
};

namespace {

constexpr int MSG_DATE4ASSIGN = 50174;   // "date4assign()"
constexpr int DATE_LEN = 8;
constexpr int PICTURE_MAX = 31;
constexpr int kMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days of all years before `year`.
long DaysBefore(long year) {
  long y = year - 1;
  return 365 * y + y / 4 - y / 100 + y / 400;
}

bool IsBlankDate(const char* date) {
  for (int i = 0; i < DATE_LEN; ++i)
    if (date[i] != ' ') return false;
  return true;
}

// The 8 bytes of a date that may also come as a shorter terminated text
// (NULL and missing characters read as blanks).
void DateBytes(const char* date, char* out) {
  std::memset(out, ' ', DATE_LEN);
  for (int i = 0; date != nullptr && i < DATE_LEN && date[i] != '\0'; ++i) out[i] = date[i];
}

// Month name by the rules of a picture's name run.
const char* MonthNameClamped(int month) {
  if (month < 0) return kMonthNames[1];
  if (month > 12) return kMonthNames[12];
  return kMonthNames[month];
}

// The first run of three or more 'M': its start and length (0 when none).
int MonthNameRun(const char* picture, int* start) {
  for (int i = 0; picture[i] != '\0';) {
    if (picture[i] != 'M') {
      ++i;
      continue;
    }
    int j = i;
    while (picture[j] == 'M') ++j;
    if (j - i >= 3) {
      *start = i;
      return j - i;
    }
    i = j;
  }
  return 0;
}

// Month number of a typed name: its first three letters (trailing blanks
// dropped) in the system's case rules against the start of each name.
int MonthFromName(const char* typed, int n) {
  char letters[3];
  int len = 0;
  for (int i = 0; i < n && i < 3 && typed[i] != '\0'; ++i) letters[len++] = typed[i];
  while (len > 0 && letters[len - 1] == ' ') --len;
  if (len == 0) return 0;
  for (int i = 0; i < len; ++i)
    letters[i] = static_cast<char>(i == 0 ? EnvToUpper(static_cast<unsigned char>(letters[i]))
                                          : EnvToLower(static_cast<unsigned char>(letters[i])));
  for (int month = 1; month <= 12; ++month)
    if (std::strncmp(kMonthNames[month], letters, len) == 0) return month;
  return 0;
}

}  // namespace

int DaysInMonth(int year, int month) { return month == 2 && IsLeap(year) ? 29 : kMonthDays[month]; }

int date4day(const char* date) { return c4atoi(date + 6, 2); }
int date4month(const char* date) { return c4atoi(date + 4, 2); }
int date4year(const char* date) { return c4atoi(date, 4); }

int32_t date4long(const char* text) {
  char date[DATE_LEN];
  DateBytes(text, date);
  if (IsBlankDate(date)) return 0;
  int year = date4year(date), month = date4month(date), day = date4day(date);
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return -1;
  long dayOfYear = day;
  for (int m = 1; m < month; ++m) dayOfYear += DaysInMonth(year, m);
  return static_cast<int32_t>(dayOfYear + DaysBefore(year) + DATE_JULIAN_BASE);
}

int c4dt_julian(const char* text, double* result) {
  char date[DATE_LEN];
  DateBytes(text, date);
  if (IsBlankDate(date)) {
    *result = DATE_EMPTY_DOUBLE;
    return -2;
  }
  int32_t n = date4long(date);
  if (n < 0) {
    *result = 0;
    return -1;
  }
  *result = n;
  return 0;
}

void date4assign(char* buffer, int32_t dayNumber) {
  long m = static_cast<long>(dayNumber) - DATE_JULIAN_BASE;
  // Before 0000-01-01 (the first day a date text can hold), and beyond what
  // four digits of year can hold: an empty date. The year estimate below
  // does not hold for negative years.
  if (dayNumber < 1 || m > DaysBefore(10000) || m <= DaysBefore(0)) {
    std::memset(buffer, ' ', DATE_LEN);
    return;
  }
  long year = static_cast<long>(m / 365.2425) + 1;
  long day = m - DaysBefore(year);
  if (day <= 0) {
    --year;
    day = m - DaysBefore(year);
  }
  int yearLength = IsLeap(year) ? 366 : 365;
  if (day > yearLength) {
    day -= yearLength;
    ++year;
  }
  int month = 1;
  while (month <= 12 && day > DaysInMonth(year, month)) day -= DaysInMonth(year, month++);
  if (month > 12 || day < 1) e4fatal_stop(e4result, MSG_DATE4ASSIGN);
  if (year > 9999) {
    std::memset(buffer, ' ', DATE_LEN);
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%04ld%02d%02ld", year, month, day);
  std::memcpy(buffer, text, DATE_LEN);
}

int date4dow(const char* date) {
  int32_t n = date4long(date);
  if (n <= 0) return 0;
  return (n + 1) % 7 + 1;
}

const char* date4cdow(const char* date) { return kDayNames[date4dow(date)]; }

const char* date4month_name(const char* date) {
  int month = date4month(date);
  return month >= 1 && month <= 12 ? kMonthNames[month] : kMonthNames[0];
}

char* DateFmtQStr(const char* text, const char* picture) {
  static const char kTemplate[] = "CCYYMMDD";
  char date[DATE_LEN];
  DateBytes(text, date);
  if (picture == nullptr) picture = "";
  char* out = GetCycleBuffer(PICTURE_MAX + 1);
  int len = 0;
  while (len < PICTURE_MAX && picture[len] != '\0') {
    out[len] = picture[len];
    ++len;
  }
  out[len] = '\0';
  int pos = -1;
  for (int i = 0; i < DATE_LEN; ++i) {
    char letter = kTemplate[i];
    bool continuesRun = i > 0 && kTemplate[i - 1] == letter;
    if (continuesRun) {
      if (pos >= 0 && pos + 1 < len && picture[pos + 1] == letter) out[++pos] = date[i];
      else pos = -1;
    } else {
      const char* found = std::strchr(picture, letter);
      pos = found != nullptr && found - picture < len ? static_cast<int>(found - picture) : -1;
      if (pos >= 0) out[pos] = date[i];
    }
  }
  int runStart = 0;
  int run = MonthNameRun(picture, &runStart);
  if (run > 0 && runStart + run <= len) {
    std::memset(out + runStart, ' ', run);
    int month = c4atoi(date + 4, 2);
    if (month != 0) {
      const char* name = MonthNameClamped(month);
      for (int i = 0; i < run && name[i] != '\0'; ++i) out[runStart + i] = name[i];
    }
  }
  return CommitCycleBuffer(len, QSTR_TAG_QUICK);
}

char* DateQStr(const char* date) { return DateFmtQStr(date, "DD-MM/YY"); }
char* FullDateQStr(const char* date) { return DateFmtQStr(date, "DD-MM-CCYY"); }

void date4parse_picture(const char* typed, const char* picture, char* result) {
  char r[DATE_LEN];
  std::memset(r, ' ', DATE_LEN);
  int runStart = 0;
  int nameRun = MonthNameRun(picture, &runStart);
  int typedLength = static_cast<int>(std::strlen(typed));
  int count[4] = {0, 0, 0, 0};   // C, Y, M, D
  bool seen[4] = {false, false, false, false};
  static const char kLetters[] = "CYMD";
  for (int i = 0; picture[i] != '\0'; ++i) {
    const char* letter = std::strchr(kLetters, picture[i]);
    if (letter == nullptr) continue;
    int k = static_cast<int>(letter - kLetters);
    seen[k] = true;
    if (k == 2 && nameRun > 0) continue;
    if (count[k] < 2) r[k * 2 + count[k]++] = i < typedLength ? typed[i] : ' ';
  }
  if (nameRun > 0 && runStart < typedLength) {
    int month = MonthFromName(typed + runStart, nameRun);
    if (month > 0) {
      r[4] = static_cast<char>('0' + month / 10);
      r[5] = static_cast<char>('0' + month % 10);
    }
  }
  if (std::memcmp(r, "        ", DATE_LEN) == 0) {
    std::memcpy(result, r, DATE_LEN);
    return;
  }
  if (!seen[1]) std::memcpy(r + 2, "01", 2);
  if (!seen[2]) std::memcpy(r + 4, "01", 2);
  if (!seen[3]) std::memcpy(r + 6, "01", 2);
  if (!seen[0]) std::memcpy(r, c4atoi(r + 2, 2) > 30 ? "19" : "20", 2);
  for (char& c : r)
    if (c == ' ') c = '0';
  std::memcpy(result, r, DATE_LEN);
}

void date4ctod(char* result, const char* typed, const char* picture) {
  char upper[PICTURE_MAX + 1];
  int n = 0;
  while (n < PICTURE_MAX && picture[n] != '\0') {
    upper[n] = static_cast<char>(EnvToUpper(static_cast<unsigned char>(picture[n])));
    ++n;
  }
  upper[n] = '\0';
  date4parse_picture(typed, upper, result);
}

void date4today(char* buffer) {
  PlatDateTime now;
  PlatNow(&now);
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d", now.year, now.month, now.day);
  std::memcpy(buffer, text, DATE_LEN);
}

void time4now(char* buffer) {
  PlatDateTime now;
  PlatNow(&now);
  char text[64];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
  std::memcpy(buffer, text, DATE_LEN);
}
