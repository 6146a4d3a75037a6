#include "ui/record_stamp.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "platform/clock.h"

namespace {

const char kKey[] = "739205";
constexpr int KEY_LEN = 6;
constexpr int NAME_LEN = 15;

}  // namespace

void conver_pass(char* buffer, int n, signed char mode) {
  for (int i = 0; i < n; i++) {
    unsigned char b = static_cast<unsigned char>(buffer[i]);
    b = static_cast<unsigned char>((kKey[i % KEY_LEN] ^ b) + (i % 256) + 14 * mode);
    buffer[i] = static_cast<char>(b);
  }
}

void deconver_pass(char* buffer, int n, signed char mode) {
  for (int i = 0; i < n; i++) {
    unsigned char b = static_cast<unsigned char>(buffer[i]);
    b = static_cast<unsigned char>(b - (i % 256) - 14 * mode);
    buffer[i] = static_cast<char>(kKey[i % KEY_LEN] ^ b);
  }
}

void StampDateTime(char* date, char* time) {
  // One reading, so that a stamp taken at midnight never pairs one day's date with the next day's time.
  PlatDateTime now;
  PlatNow(&now);
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02d", now.year, now.month, now.day);
  std::memcpy(date, text, 8);
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
  std::memcpy(time, text, 8);
}

void set_pass_inf(int kind, DbField* field) {
  if (field == nullptr) return;
  char stamp[STAMP_LEN];
  stamp[0] = kind == STAMP_KIND_MODIFIED ? 'M' : 'D';
  Environment* env = EnvCurrent();
  BufCopy(stamp + 1, NAME_LEN, env ? env->operatorName : "");
  StampDateTime(stamp + 1 + NAME_LEN, stamp + 1 + NAME_LEN + 8);
  int n = std::min(static_cast<int>(f4len(field)), STAMP_LEN);
  ToFieldCopyMem(field, stamp, n);
  conver_pass(f4ptr(field), n, 1);
}
