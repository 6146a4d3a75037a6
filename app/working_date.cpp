#include "app/working_date.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "env/dates.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "platform/clock.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_BAD_YEAR = 20125;
constexpr int LAST_NAMED_YEAR = 2025;
constexpr int WINDOW_ATTRIBUTE = 142;
const char kTitle[] = "Podaj dat\x91";   // "Podaj datę"

int lastAcceptedYear = LAST_START_YEAR;

int WorkingDateValid(Get4* get) {
  int invalid = test_daty(get);
  if (invalid) return invalid;
  std::string date(static_cast<const char*>(get->data), 8);
  int year = date4year(date.c_str());
  if (date == "        " || year < FIRST_WORKING_DATE_YEAR || year > lastAcceptedYear) {
    Alarm(MSG_BAD_YEAR);
    return -1;
  }
  return 0;
}

}  // namespace

int ComputerYear() {
  PlatDateTime now{};
  PlatNow(&now);
  return now.year;
}

int LastWorkingYear() { return std::max(LAST_NAMED_YEAR, ComputerYear() + 1); }

int AskWorkingDate() { return AskWorkingDateUpTo(LAST_START_YEAR); }

int AskWorkingDateUpTo(int lastYear) {
  Environment* env = EnvCurrent();
  if (!env || env->useSystemDate != 'N') return 0;
  char date[9] = {};
  std::memcpy(date, get_cur_das(1), 8);
  lastAcceptedYear = lastYear;
  int previous = w4select(-1);
  int window = w4define(12, 17, 16, 62);
  if (window < 0) return -1;
  w4attribute(WINDOW_ATTRIBUTE);
  w4border(kStdFrame, WINDOW_ATTRIBUTE);
  w4title(0, -1, kTitle, WINDOW_ATTRIBUTE);
  w4activate(window);
  g4date(1, 16, date);
  g4picture("DD-MM-CCYY");
  g4width(8, 10);
  g4valid(WorkingDateValid);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key == KEY_ESC) return -1;
  std::memcpy(env->workingDate, date, 8);
  env->workingDate[8] = '\0';
  return 0;
}
