// The interest of a late payment at the tax-arrears and the statutory rates,
// over the open rate and days-off tables.
#include "finance/interest.h"

#include <algorithm>
#include <string>

#include "app/document_kinds.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "tables/cash_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int RATE_DAT = 0, RATE_STO = 1, RATE_TYP = 2;
constexpr int DAY_DAT = 0;
constexpr int SUNDAY = 1, SATURDAY = 7;
constexpr int MSG_CALCULATION_ERROR = 20006;   // "Błąd obliczeń programu !"
constexpr int MSG_NO_DAYS_OFF = 20032;
constexpr int MSG_NO_STATUTORY_RATES = 20033;
constexpr int MSG_NO_TAX_RATES = 20034;
constexpr int MSG_STATUTORY_TITLE = 152, MSG_TAX_TITLE = 153;
constexpr int DAYS_IN_YEAR = 365;

std::string DateText(int32_t day) {
  char text[9] = {};
  date4assign(text, day);
  return std::string(text, 8);
}

int32_t RowDay(TableHandles& rates) { return date4long(std::string(f4ptr(rates.field[RATE_DAT]), 8).c_str()); }

bool IsDayOff(int32_t day) {
  std::string text = DateText(day);
  int dow = date4dow(text.c_str());
  return dow == SUNDAY || dow == SATURDAY || d4seek(Z5DNWO.table, text.c_str()) == 0;
}

enum class Walk { Done, NoRate, EngineError };

// Moves to the last of the rows starting on the current row's day, so that
// of two rows of one day the later one holds.
Walk LastOfItsDay(TableHandles& rates) {
  int32_t day = RowDay(rates);
  for (;;) {
    int rc = d4skip(rates.table, 1);
    if (rc < 0) return Walk::EngineError;
    if (d4eof(rates.table) || RowDay(rates) != day) return d4skip(rates.table, -1) < 0 ? Walk::EngineError : Walk::Done;
  }
}

// Puts the table on the row in force on `day` (the latest starting on or before it).
Walk RowInForce(TableHandles& rates, int32_t day) {
  int rc = d4seek(rates.table, DateText(day).c_str());
  if (rc < 0) return Walk::EngineError;
  if (rc == 0) return LastOfItsDay(rates);
  rc = rc == 3 ? d4bottom(rates.table) : d4skip(rates.table, -1);
  if (rc < 0) return Walk::EngineError;
  return d4bof(rates.table) || d4eof(rates.table) || RowDay(rates) > day ? Walk::NoRate : Walk::Done;
}

// The interest of `amount` for every day after `from` up to `to`, each at
// the rate in force that day, summed period by period; `counted` the days.
Walk InterestOver(TableHandles& rates, int32_t from, int32_t to, double amount, double* interest, int32_t* counted) {
  *interest = 0;
  *counted = 0;
  int32_t start = from + 1;
  Walk walk = RowInForce(rates, start);
  while (walk == Walk::Done && start <= to) {
    double rate = f4double(rates.field[RATE_STO]);
    int divisor = f4char(rates.field[RATE_TYP]) == 'R' ? DAYS_IN_YEAR : 1;
    if (d4skip(rates.table, 1) < 0) return Walk::EngineError;
    bool last = d4eof(rates.table) != 0;
    int32_t end = last ? to : std::min(to, RowDay(rates) - 1);
    int32_t days = end - start + 1;
    *interest += (0.01 * rate) * amount * days / divisor;
    *counted += days;
    start = end + 1;
    if (!last && start <= to) walk = LastOfItsDay(rates);
  }
  return walk;
}

void TellNoRate(int title, int32_t day) {
  std::string line = Sys("Brak stopy odsetek na dzień ") + std::string(DateQStr(DateText(day).c_str())) + " !";
  MessageWindow(MB_WARNING, TextRef(title), line.c_str());
}

// One table's interest: 0 computed (or the table empty), -1 failed.
int TableInterest(TableHandles& rates, int emptyMessage, int title, int32_t from, int32_t to, double amount,
                  double* interest, int32_t days) {
  d4tag_select(rates.table, rates.tag[0]);
  if (d4reccount(rates.table) == 0) {
    Alarm(emptyMessage);
    return 0;
  }
  int32_t counted = 0;
  switch (InterestOver(rates, from, to, amount, interest, &counted)) {
    case Walk::EngineError:
      return -1;
    case Walk::NoRate:
      *interest = 0;
      TellNoRate(title, from + 1);
      return -1;
    case Walk::Done:
      break;
  }
  if (counted != days) Alarm(MSG_CALCULATION_ERROR);
  return 0;
}

}  // namespace

int OpenInterestTables() {
  static int (*const openers[])(int) = {OpenZ5DNWO, OpenZ5ODUS, OpenZ5ZAPO};
  for (auto open : openers)
    if (open(0) != 0) {
      CloseInterestTables();
      return -1;
    }
  return 0;
}

void CloseInterestTables() {
  for (TableHandles* t : {&Z5DNWO, &Z5ODUS, &Z5ZAPO})
    if (t->table) {
      d4close(t->table);
      t->table = nullptr;
    }
}

int LiczOdsetki(const char* due, const char* paid, double amount, double* taxInterest, double* statutoryInterest,
                int* days) {
  *taxInterest = *statutoryInterest = 0;
  *days = 0;
  d4tag_select(Z5DNWO.table, Z5DNWO.tag[DAY_DAT]);
  if (d4reccount(Z5DNWO.table) == 0) {
    Alarm(MSG_NO_DAYS_OFF);
    return 0;
  }
  int32_t payment = date4long(paid);
  int32_t start = date4long(due);
  while (start < payment && IsDayOff(start)) start++;
  if (start >= payment) return 0;
  int32_t n = payment - start;
  if (TableInterest(Z5ZAPO, MSG_NO_TAX_RATES, MSG_TAX_TITLE, start, payment, amount, taxInterest, n) < 0 ||
      TableInterest(Z5ODUS, MSG_NO_STATUTORY_RATES, MSG_STATUTORY_TITLE, start, payment, amount, statutoryInterest,
                    n) < 0)
    return -1;
  *days = n;
  return 0;
}
