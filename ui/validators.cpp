#include "ui/validators.h"

#include <cstring>
#include <string>

#include "env/dates.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/text_buffers.h"
#include "platform/screen_hook.h"
#include "ui/get4.h"

namespace {

constexpr int MSG_PAGE_NUMBER = 50057;
constexpr int MSG_NOT_NEGATIVE = 50133;
constexpr int MSG_ABOVE_ZERO = 50134;
constexpr int MSG_BAD_DATE = 50136;
constexpr int MSG_BAD_MONTH = 50137;
constexpr int MSG_BAD_QUARTER = 50139;
constexpr int MSG_NOT_EMPTY = 50140;

constexpr int IBAN_MAX = 34;
constexpr int NRB_LEN = 26;

void Warning(int message) { ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, EnvFindString(message)); }
void Alarm(int message) { ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, EnvFindString(message)); }

int RefuseDate(const char* date) {
  std::string title = EnvFindString(MSG_BAD_DATE);
  ScreenMessageBox(SCREEN_BOX_ERROR, title.c_str(), DateQStr(date));
  return -1;
}

const char* Text(const Get4* get) { return static_cast<const char*>(get->data); }

int32_t Int32(const Get4* get) {
  int32_t value;
  std::memcpy(&value, get->data, sizeof value);
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The remainder modulo 97 of a string of decimal digits.
int Mod97(const std::string& digits) {
  int remainder = 0;
  for (char c : digits) remainder = (remainder * 10 + (c - '0')) % 97;
  return remainder;
}

}  // namespace

int test_daty(Get4* get) {
  const char* date = Text(get);
  double day;
  return c4dt_julian(date, &day) == -1 ? RefuseDate(date) : 0;
}

int test_daty_niepustej(Get4* get) {
  const char* date = Text(get);
  double day;
  int result = c4dt_julian(date, &day);
  if (result == -1) return RefuseDate(date);
  if (result == -2) {
    Alarm(MSG_NOT_EMPTY);
    return -1;
  }
  return 0;
}

int valid_empty_get(Get4* get) {
  const char* text = Text(get);
  // A zero byte shows as nothing, so it counts as blank.
  for (int i = 0; i < get->dataWidth; i++)
    if (text[i] != ' ' && text[i] != '\0') return 0;
  Warning(MSG_NOT_EMPTY);
  return 1;
}

int valid_wart_dodat(Get4* get) {
  if (QuickDouble(Text(get), get->dataWidth) > 0) return 0;
  Warning(MSG_ABOVE_ZERO);
  return -1;
}

int valid_wart_nieujemna(Get4* get) {
  if (QuickDouble(Text(get), get->dataWidth) >= 0) return 0;
  Warning(MSG_NOT_NEGATIVE);
  return -1;
}

int valid_int_month(Get4* get) {
  int32_t month = Int32(get);
  if (month >= 1 && month <= 12) return 0;
  Warning(MSG_BAD_MONTH);
  return -1;
}

int valid_int_kwartal(Get4* get) {
  int32_t quarter = Int32(get);
  if (quarter >= 1 && quarter <= 4) return 0;
  Warning(MSG_BAD_QUARTER);
  return -1;
}

int CheckPageNumber(int32_t page, int32_t pages) {
  if (page >= 1 && page <= pages) return 0;
  Warning(MSG_PAGE_NUMBER);
  return -1;
}

int CheckBankAccount(const char* text, int nrb) {
  if (text == nullptr) return 0;
  int length = RTrimLength(text, IBAN_MAX + 1);
  std::string digits;
  if (nrb) {
    if (length != NRB_LEN) return 0;
    digits.assign(text + 2, NRB_LEN - 2);
    digits += "2521";   // PL
  } else {
    if (length < 5 || length > IBAN_MAX) return 0;
    digits.assign(text + 4, length - 4);
    for (int i = 0; i < 2; i++) {
      if (text[i] < 'A' || text[i] > 'Z') return 0;
      digits += std::to_string(text[i] - 55);
    }
  }
  digits.append(text + (nrb ? 0 : 2), 2);
  for (char c : digits)
    if (!IsDigit(c)) return 0;
  return Mod97(digits) == 1 ? 1 : 0;
}
