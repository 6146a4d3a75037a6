#include "app/validators.h"

#include <cctype>
#include <cstring>
#include <string>

#include "app/option_values.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "tables/masterdata_tables.h"
#include "ui/get4.h"
#include "ui/message_box.h"
#include "ui/validators.h"
#include "ui/wiget.h"

namespace {

constexpr int MSG_BAD_NIP = 20020;
constexpr int MSG_NEITHER_NIP_NOR_PESEL = 20021;
constexpr int MSG_BAD_PESEL = 20022;
constexpr int MSG_NIP_LENGTH = 20219;
constexpr int MSG_PESEL_LENGTH = 20220;
constexpr int MSG_NOT_WORKING_YEAR = 50132;

constexpr int NIP_DIGITS = 10;
constexpr int PESEL_DIGITS = 11;

enum NipScan { NIP_OK = 0, NIP_BAD_CHARACTER = -2, NIP_WRONG_LENGTH = -3, NIP_WRONG_CHECKSUM = -4 };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of a Polish NIP: a non-digit in the first two places is a
// country prefix and skipped, blanks and "-" separate the groups. Only the
// first ten digits are kept; more of them is a wrong length.
NipScan ScanNip(const char* text) {
  static const int kWeights[NIP_DIGITS - 1] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
  int digits[NIP_DIGITS];
  int count = 0;
  for (int i = 0; text[i]; i++) {
    char c = text[i];
    if (IsDigit(c)) {
      if (count < NIP_DIGITS) digits[count] = c - '0';
      count++;
    } else if (i >= 2 && c != ' ' && c != '-') {
      return NIP_BAD_CHARACTER;
    }
  }
  if (count != NIP_DIGITS) return NIP_WRONG_LENGTH;
  int sum = 0;
  for (int i = 0; i < NIP_DIGITS - 1; i++) sum += kWeights[i] * digits[i];
  return sum % 11 == digits[NIP_DIGITS - 1] ? NIP_OK : NIP_WRONG_CHECKSUM;
}

bool IsBlank(const char* text) {
  for (const char* p = text; *p; p++)
    if (*p != ' ') return false;
  return true;
}

// A message box that leaves the environment's menu-key routine as it found it.
void Warn(int message) {
  Environment* env = EnvCurrent();
  int (*menuKey)() = env ? env->menuKeyRoutine : nullptr;
  Uwaga(message);
  if (env) env->menuKeyRoutine = menuKey;
}

std::string GetText(const Get4* get) {
  const char* data = static_cast<const char*>(get->data);
  return get->dataWidth > 0 ? std::string(data, strnlen(data, static_cast<size_t>(get->dataWidth))) : data;
}

int WorkingYearCheck(Get4* get) {
  const char* date = static_cast<const char*>(get->data);
  if (std::memcmp(date, "        ", 8) == 0) return 0;
  Environment* env = EnvCurrent();
  if (env && date4year(std::string(date, 8).c_str()) != env->settlementYear) {
    Alarm(MSG_NOT_WORKING_YEAR);
    return -1;
  }
  return 0;
}

// A foreign number: its two-letter prefix in the countries table.
int ForeignNip(const char* text) {
  char code[4] = {text[0], text[1] ? text[1] : ' ', ' ', '\0'};
  for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  bool opened = Z5KRAJ.table == nullptr;
  if (opened && OpenZ5KRAJ(0) != 0) return 0;
  int result;
  if (d4reccount(Z5KRAJ.table) == 0) {
    result = -5;
  } else {
    d4tag_select(Z5KRAJ.table, Z5KRAJ.tag[0]);
    if (d4seek_n(Z5KRAJ.table, code, 3) != 0)
      result = 3;
    else
      result = *f4ptr(d4field(Z5KRAJ.table, "SUE")) == 'T' ? 1 : 2;
  }
  if (opened) d4close(Z5KRAJ.table);
  return result;
}

}  // namespace

int SprawdzNip(const char* text) {
  if (IsBlank(text)) return -1;
  if (std::strncmp(text, "PL", 2) == 0) return ScanNip(text + (text[2] == ' ' ? 3 : 2));
  if (!IsDigit(text[0]) && text[0] != ' ') return ForeignNip(text);
  return ScanNip(text);
}

int NipOrPeselQuiet(Get4* get) {
  std::string text = GetText(get);
  if (ValidPesel(text.c_str(), 0)) return 0;
  int nip = SprawdzNip(text.c_str());
  if (nip != 0 && nip != 1 && nip != -1) Warn(MSG_NEITHER_NIP_NOR_PESEL);
  return 0;
}

int ValidNip(const char* text, int showMessage, int onlyWhenOption) {
  if (onlyWhenOption && optionNipCheck != 'T') return 1;
  if (IsBlank(text)) return 1;
  if (!IsDigit(text[0]) && text[0] != ' ' && std::strncmp(text, "PL", 2) != 0) return 1;
  NipScan result = ScanNip(text);
  if (result == NIP_OK) return 1;
  if (showMessage) Warn(result == NIP_WRONG_LENGTH ? MSG_NIP_LENGTH : MSG_BAD_NIP);
  return 0;
}

int JestPesel(DbField* field) {
  const char* bytes = f4ptr(field);
  int width = static_cast<int>(f4len(field));
  int digits = 0;
  for (int i = 0; i < width; i++) {
    if (IsDigit(bytes[i])) digits++;
    else if (bytes[i] != ' ') return 0;
  }
  return digits == PESEL_DIGITS ? 1 : 0;
}

int ValidPesel(const char* text, int showMessage) {
  static const int kWeights[PESEL_DIGITS - 1] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
  int digits[PESEL_DIGITS];
  int count = 0;
  for (const char* p = text; *p; p++) {
    if (*p == ' ') continue;
    if (!IsDigit(*p)) {
      if (showMessage) Warn(MSG_BAD_PESEL);
      return 0;
    }
    if (count < PESEL_DIGITS) digits[count] = *p - '0';
    count++;
  }
  if (count != PESEL_DIGITS) {
    if (showMessage) Warn(MSG_PESEL_LENGTH);
    return 0;
  }
  int sum = 0;
  for (int i = 0; i < PESEL_DIGITS - 1; i++) sum += kWeights[i] * digits[i];
  if ((10 - sum % 10) % 10 == digits[PESEL_DIGITS - 1]) return 1;
  if (showMessage) Warn(MSG_BAD_PESEL);
  return 0;
}

int ValidPeselOpt(const char* text, int showMessage, int onlyWhenOption) {
  if (onlyWhenOption && optionPeselCheck != 'T') return 1;
  if (IsBlank(text)) return 1;
  return ValidPesel(text, showMessage);
}

int NipGetValid(Get4* get) {
  ValidNip(GetText(get).c_str(), 1, 1);
  return 0;
}

int PeselGetValid(Get4* get) {
  ValidPeselOpt(GetText(get).c_str(), 1, 1);
  return 0;
}

int NipOrPeselGetValid(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST || !event->newValue.text.text) return 0;
  std::string text(event->newValue.text.text, static_cast<size_t>(event->newValue.text.width));
  if (!ValidNip(text.c_str(), 0, 0) && !ValidPesel(text.c_str(), 0)) Warn(MSG_NEITHER_NIP_NOR_PESEL);
  return 0;
}

int NipWigetValid(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST || !event->newValue.text.text) return 0;
  std::string text(event->newValue.text.text, static_cast<size_t>(event->newValue.text.width));
  ValidNip(text.c_str(), 1, 1);
  return 0;
}

int DataWRoku(Get4* get) {
  int invalid = test_daty(get);
  return invalid ? invalid : WorkingYearCheck(get);
}

int ValidDataWRoku(Get4* get) {
  int invalid = test_daty_niepustej(get);
  return invalid ? invalid : WorkingYearCheck(get);
}
