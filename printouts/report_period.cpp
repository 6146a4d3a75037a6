#include "printouts/report_period.h"

#include <cstring>

#include "env/dates.h"
#include "env/services.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

okres_raportu_t okres_raportu = {};

namespace {

constexpr int GET_ATTRIBUTE = 143;

double DayNumber(const char* date) {
  double day = 0;
  return c4dt_julian(date, &day) == 0 ? day : 0;
}

void DateGet(int row, const char* label, char* date) {
  w4(row, 0, label);
  g4date(row, 10, date);
  g4picture("DD-MM/YY");
  g4valid(test_daty_niepustej);
}

}  // namespace

void przelicz_okres_raportu() {
  okres_raportu.od_dnia = DayNumber(okres_raportu.od);
  okres_raportu.do_dnia = DayNumber(okres_raportu.do_);
}

int podaj_okres() {
  int previous = w4select(-1);
  std::memcpy(okres_raportu.do_, get_cur_das(0), 8);
  okres_raportu.do_[8] = '\0';
  std::memcpy(okres_raportu.od, okres_raportu.do_, 9);
  std::memcpy(okres_raportu.od + 6, "01", 2);

  int window = DefineWprowadzWindow(3, 59, 4, 20, "ZA OKRES", nullptr, nullptr);
  w4select(window);
  w4activate(window);
  g4attribute(GET_ATTRIBUTE);
  DateGet(0, "Od dnia - ", okres_raportu.od);
  DateGet(1, "Do dnia - ", okres_raportu.do_);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key != KEY_ENTER) return -1;
  przelicz_okres_raportu();
  return 0;
}
