#include "env/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "env/error_codes.h"

namespace {

constexpr int MSG_C4DTOA = 50303;   // "c4dtoa()"
constexpr double kPowersOfTen[7] = {1, 10, 100, 1000, 10000, 100000, 1000000};
constexpr double ROUND_THRESHOLD = 0.49995;
constexpr int QUICK_DIGITS = 13;

void StarFill(char* buffer, int width) { std::memset(buffer, '*', width); }

}  // namespace

double ROUND(double x, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 6) decimals = 6;
  double p = kPowersOfTen[decimals];
  double whole;
  double fraction = std::modf(x * p, &whole);
  if (fraction >= ROUND_THRESHOLD)
    whole += 1;
  else if (fraction <= -ROUND_THRESHOLD)
    whole -= 1;
  return whole / p;
}

double ROUND_VAT(double x) {
  double whole;
  double fraction = std::modf(x, &whole);
  if (fraction >= 0.99995)
    whole += 1;
  else if (fraction <= -0.99995)
    whole -= 1;
  return whole;
}

int32_t RoundLong(double x) { return static_cast<int32_t>(x > 0 ? x + 0.5 : x - 0.5); }

double ZerujMinusowe(double x) { return x > 0 ? x : 0; }
double MniejszaWartosc(double a, double b) { return a < b ? a : b; }
double WiekszaWartosc(double a, double b) { return a > b ? a : b; }
int MniejszaLiczba(int a, int b) { return a < b ? a : b; }
int WiekszaLiczba(int a, int b) { return a > b ? a : b; }

int IntLog2(unsigned long n) {
  int halvings = 0;
  while (n > 1) {
    n >>= 1;
    ++halvings;
  }
  return halvings;
}

long c4atol(const char* text, int n) {
  if (n > 127) n = 127;
  int i = 0;
  // Blanks and control spaces, then a sign, then digits; a value beyond
  // the range of long is held at its end.
  while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const unsigned long long limit = negative ? 0ULL - static_cast<unsigned long long>(LONG_MIN) : LONG_MAX;
  unsigned long long value = 0;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
    if (value > limit) return negative ? LONG_MIN : LONG_MAX;
  }
  return negative ? static_cast<long>(0ULL - value) : static_cast<long>(value);
}

int c4atoi(const char* text, int n) { return static_cast<int>(c4atol(text, n)); }

char* c4ltoa(long number, char* buffer, int width) {
  bool keepZeros = width < 0;
  int w = keepZeros ? -width : width;
  if (w == 0) return buffer;
  bool negative = number < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(number) : number;
  for (int i = w - 1; i >= 0; --i) {
    buffer[i] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  if (magnitude != 0 || (negative && keepZeros)) {
    StarFill(buffer, w);
    return buffer;
  }
  if (keepZeros) return buffer;
  int first = 0;
  while (first < w - 1 && buffer[first] == '0') buffer[first++] = ' ';
  if (negative) {
    if (first == 0)
      StarFill(buffer, w);
    else
      buffer[first - 1] = '-';
  }
  return buffer;
}

char* c4dtoa(double x, char* buffer, int width, int decimals, int terminate) {
  if (width < 0 || width > 128 || decimals < 0 || (decimals > 0 && decimals >= width))
    e4fatal_stop(e4info, MSG_C4DTOA);
  if (decimals > 15) decimals = 15;
  int intWidth = decimals > 0 ? width - decimals - 1 : width;
  std::memset(buffer, '0', width);
  if (terminate) buffer[width] = '\0';
  if (width == 0) return buffer;
  if (decimals > 0) buffer[intWidth] = '.';

  if (!std::isfinite(x)) {
    StarFill(buffer, width);
    return buffer;
  }
  // Correctly rounded, as printf's %.*f gives it; a number too long for the
  // buffer could never fit the field.
  char digits[400];
  std::to_chars_result written = std::to_chars(digits, digits + sizeof digits - 1, x, std::chars_format::fixed, decimals);
  if (written.ec != std::errc()) {
    StarFill(buffer, width);
    return buffer;
  }
  *written.ptr = '\0';
  const char* p = digits;
  bool negative = *p == '-';
  if (negative) ++p;
  const char* point = std::strchr(p, '.');
  int intLength = point != nullptr ? static_cast<int>(point - p) : static_cast<int>(std::strlen(p));
  // "0" before the point counts as one digit and is kept for numbers below 1.
  if (intLength > intWidth || (negative && intLength == intWidth && !(intLength == 1 && p[0] == '0'))) {
    StarFill(buffer, width);
    return buffer;
  }
  std::memset(buffer, ' ', intWidth - intLength);
  std::memcpy(buffer + intWidth - intLength, p, intLength);
  if (negative) {
    if (intLength == intWidth)
      buffer[0] = '-';   // the only integer position held the '0'
    else
      buffer[intWidth - intLength - 1] = '-';
  }
  if (decimals > 0) std::memcpy(buffer + intWidth + 1, point + 1, decimals);
  return buffer;
}

char* c4trim_n(char* text, int n) {
  if (n <= 0) return text;
  int len = 0;
  while (len < n - 1 && text[len] != '\0') ++len;
  text[len] = '\0';
  while (len > 0 && text[len - 1] == ' ') text[--len] = '\0';
  return text;
}

double QuickDouble(const char* text, int length) {
  static constexpr long long kPlace[QUICK_DIGITS] = {
      1000000000000LL, 100000000000LL, 10000000000LL, 1000000000LL, 100000000LL, 10000000LL, 1000000LL,
      100000LL,        10000LL,        1000LL,        100LL,        10LL,         1LL};
  long long sum = 0;
  int row = 0;          // the row the next digit takes
  int unitsRow = -1;    // fixed by the first point
  bool minus = false;
  for (int i = 0; i < length; ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      if (row >= QUICK_DIGITS) break;
      sum += (c - '0') * kPlace[row++];
    } else if (c == '.' && unitsRow < 0) {
      if (row == 0) row = 1;   // ".5": the first row stays the units
      unitsRow = row - 1;
    } else if (c == '-') {
      minus = true;
    }
  }
  if (row == 0) return 0;
  if (unitsRow < 0) unitsRow = row - 1;
  double value = static_cast<double>(sum) / static_cast<double>(kPlace[unitsRow]);
  return minus && sum != 0 ? -value : value;
}

int NumToText(char* buffer, double number, int width, int decimals) {
  c4dtoa(number, buffer, width, decimals, 1);
  int intWidth = decimals > 0 ? width - decimals - 1 : width;
  int first = 0;
  while (first < intWidth && (buffer[first] < '0' || buffer[first] > '9')) ++first;
  int digits = intWidth - first;
  if (digits <= 3) return 0;
  int blanks = (digits - 1) / 3;
  std::string grouped(buffer, first);
  for (int i = first; i < intWidth; ++i) {
    if (i > first && (intWidth - i) % 3 == 0) grouped += ' ';
    grouped += buffer[i];
  }
  grouped.append(buffer + intWidth, width - intWidth);
  std::memcpy(buffer, grouped.c_str(), grouped.size() + 1);
  return blanks;
}
