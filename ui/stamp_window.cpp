#include "ui/stamp_window.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NO_INFORMATION = 50032;
constexpr int STAMP_SHOWN_MS = 4000;
constexpr int NAME_AT = 1, NAME_LEN = 15, DATE_AT = 16, TIME_AT = 24;

}  // namespace

void ShowRecordStamp(DbField* stampField) {
  if (!stampField) return;
  char stamp[STAMP_LEN + 1];
  std::memset(stamp, ' ', STAMP_LEN);
  stamp[STAMP_LEN] = '\0';
  std::memcpy(stamp, f4ptr(stampField), std::min<unsigned>(f4len(stampField), STAMP_LEN));
  deconver_pass(stamp, STAMP_LEN, 1);

  int previous = w4select(-1);
  int handle = DefineZazuveWindow(-1, -1, -1, -1, "HISTORIA ZAPISU");
  if (handle < 0) return;
  w4activate(handle);
  const char* what = stamp[0] == 'D' ? "DOPISANIE" : stamp[0] == 'M' ? "MODYFIKACJA" : "";
  w4(1, 1, (std::string("Co   - ") + what).c_str());
  w4(2, 1, (std::string("Kto  - ") + std::string(stamp + NAME_AT, NAME_LEN)).c_str());
  char date[9];
  std::memcpy(date, stamp + DATE_AT, 8);
  date[8] = '\0';
  w4(3, 1, (std::string("Data - ") + FullDateQStr(date)).c_str());
  w4(4, 1, (std::string("Czas - ") + std::string(stamp + TIME_AT, 8)).c_str());
  clr_key_buf();
  WaitFor(1, STAMP_SHOWN_MS);
  clr_key_buf();
  w4deactivate(handle);
  w4close(handle);
  w4select(previous);
}

void RecordStampKey(DbField* stampField) {
  Environment* env = EnvCurrent();
  if (!env || (env->operatorNumber != 0 && env->operatorNumber != 1)) return;
  if (stampField) ShowRecordStamp(stampField);
  else Uwaga(MSG_NO_INFORMATION);
}
