#include "db/index_keys.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "db/db_collation.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "env/dates.h"

namespace {

constexpr unsigned char BCD_EXPONENT_BASE = 0x34;
constexpr int BCD_DIGITS = 20;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int bcd_count(const unsigned char* k) { return (k[1] >> 2) & 0x1F; }

int collate_descending(const void* a, const void* b, unsigned length) {
  return -db_collation_compare(a, b, length);
}
int date_descending(const void* a, const void* b, unsigned length) { return -c4date_compare(a, b, length); }
int bcd_descending(const void* a, const void* b, unsigned length) { return -c4bcd_compare(a, b, length); }

int text_key_c(DbTag* tag, char* key, const char* text, int length) {
  unsigned key_len = t4key_len(tag);
  if (length < 0 || (unsigned)length > key_len) length = (int)key_len;
  std::memcpy(key, text, (size_t)length);
  key[length] = 0;
  return length;
}

int text_key_d(DbTag*, char* key, const char* text, int length) {
  char date[9] = "        ";
  std::memcpy(date, text, (size_t)(length < 8 ? (length < 0 ? 0 : length) : 8));
  double day = DATE_EMPTY_DOUBLE;
  c4dt_julian(date, &day);
  std::memcpy(key, &day, DATE_KEY_LEN);
  return DATE_KEY_LEN;
}

int text_key_n(DbTag*, char* key, const char* text, int length) {
  c4bcd_from_a(key, text, length);
  return BCD_KEY_LEN;
}

int double_key_c(DbTag*, char*, double) { e4fatal_stop(e4info, "!451!"); }

int double_key_d(DbTag*, char* key, double value) {
  std::memcpy(key, &value, DATE_KEY_LEN);
  return DATE_KEY_LEN;
}

int double_key_n(DbTag*, char* key, double value) {
  c4bcd_from_double(key, value);
  return BCD_KEY_LEN;
}

}  // namespace

void c4bcd_from_a(char* out, const char* text, int length) {
  unsigned char* key = reinterpret_cast<unsigned char*>(out);
  std::memset(key, 0, BCD_KEY_LEN);
  int exponent = BCD_EXPONENT_BASE;
  int i = 0;
  auto at = [&](int p) { return p < length ? text[p] : '\0'; };
  while (at(i) == ' ') i++;
  bool negative = false;
  if (at(i) == '-') {
    negative = true;
    i++;
  } else if (at(i) == '+') {
    i++;
  }
  while (at(i) == ' ' || at(i) == '0') i++;
  bool after_point = false;
  if (at(i) == '.') {
    after_point = true;
    i++;
    while (at(i) == '0') {
      exponent--;
      i++;
    }
  }
  int taken = 0, trailing = 0;
  for (;; i++) {
    char c = at(i);
    if (c == '.' && !after_point) {
      after_point = true;
      continue;
    }
    if (!is_digit(c)) break;
    if (!after_point) exponent++;
    if (taken < BCD_DIGITS) {
      int digit = c - '0';
      key[2 + taken / 2] |= (unsigned char)(taken % 2 == 0 ? digit << 4 : digit);
      taken++;
      trailing = digit == 0 ? trailing + 1 : 0;
    }
  }
  int count = taken - trailing;
  if (count > 31) count = 31;
  key[0] = (unsigned char)exponent;
  key[1] = (unsigned char)((count > 0 && negative ? 0x80 : 0) | count << 2 | 1);
}

void c4bcd_from_double(char* out, double value) {
  char text[64];
  if (value == 0 || !std::isfinite(value)) {
    c4bcd_from_a(out, "0", 1);
    return;
  }
  // 15 significant digits from the scientific form, laid out as a decimal.
  char sci[40];
  std::snprintf(sci, sizeof sci, "%.14e", std::fabs(value));
  char digits[16];
  int n = 0;
  const char* p = sci;
  for (; *p && *p != 'e'; p++)
    if (is_digit(*p) && n < 15) digits[n++] = *p;
  digits[n] = 0;
  int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
  int len = 0;
  if (value < 0) text[len++] = '-';
  if (exponent < 0) {
    text[len++] = '.';
    for (int z = 0; z < -exponent - 1 && len < 40; z++) text[len++] = '0';
    for (int d = 0; d < n; d++) text[len++] = digits[d];
  } else {
    for (int d = 0; d < n; d++) {
      if (d == exponent + 1) text[len++] = '.';
      text[len++] = digits[d];
    }
    for (int d = n; d <= exponent && len < 60; d++) text[len++] = '0';
  }
  c4bcd_from_a(out, text, len);
}

int c4bcd_compare(const void* a, const void* b, unsigned) {
  const unsigned char* x = static_cast<const unsigned char*>(a);
  const unsigned char* y = static_cast<const unsigned char*>(b);
  int count_x = bcd_count(x), count_y = bcd_count(y);
  bool neg_x = count_x > 0 && (x[1] & 0x80), neg_y = count_y > 0 && (y[1] & 0x80);
  if (neg_x != neg_y) return neg_x ? -1 : 1;
  int sign = neg_x ? -1 : 1;
  int exp_x = count_x > 0 ? x[0] : 0, exp_y = count_y > 0 ? y[0] : 0;
  if (exp_x != exp_y) return exp_x < exp_y ? -sign : sign;
  int bytes = ((count_x > count_y ? count_x : count_y) + 1) / 2;
  if (bytes > BCD_KEY_LEN - 2) bytes = BCD_KEY_LEN - 2;
  for (int i = 0; i < bytes; i++)
    if (x[2 + i] != y[2 + i]) return x[2 + i] < y[2 + i] ? -sign : sign;
  return 0;
}

int c4collate_compare(const void* a, const void* b, unsigned length) { return db_collation_compare(a, b, length); }

int c4date_compare(const void* a, const void* b, unsigned) {
  double x, y;
  std::memcpy(&x, a, sizeof x);
  std::memcpy(&y, b, sizeof y);
  if (std::fabs(x - y) < 1e-13) return 0;
  return x > y ? 2 : -1;
}

void t4set_key_type(DbTag* tag, int type) {
  bool descending = t4descending(tag);
  switch (type) {
    case 'C':
      tag->compare = descending ? collate_descending : c4collate_compare;
      tag->text_to_key = text_key_c;
      tag->double_to_key = double_key_c;
      break;
    case 'D':
      tag->compare = descending ? date_descending : c4date_compare;
      tag->text_to_key = text_key_d;
      tag->double_to_key = double_key_d;
      break;
    case 'N':
      tag->compare = descending ? bcd_descending : c4bcd_compare;
      tag->text_to_key = text_key_n;
      tag->double_to_key = double_key_n;
      break;
    default: e4fatal_stop(e4info, "!439!");
  }
}
