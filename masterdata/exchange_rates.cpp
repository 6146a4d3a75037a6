// The rate lookup: the day's rate, or the last earlier one, or one typed in
// and stored, so the rates grow from daily work.
#include "masterdata/exchange_rates.h"

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "tables/masterdata_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int KURS_DAT = 0, KURS_KOD = 1, KURS_KUR = 2, KURS_INF = 6;
constexpr int BY_CODE_AND_DAY = 1;
constexpr int MSG_NOT_FOUND = 20123;
constexpr int MSG_FOUND = 20222;
constexpr int MSG_ACCEPT = 20036;
constexpr int MSG_ABOVE_ZERO = 50134;
constexpr int CODE_LENGTH = 3;
constexpr int DATE_LENGTH = 8;

// What the entry window's validators work on.
char workingCode[CODE_LENGTH + 1];
double workingRate = 1.0;
char workingDate[DATE_LENGTH + 1];

enum Outcome { ON_THE_DAY, EARLIER, NONE };

DbTable* Table() { return Z5KURS.table; }

std::string Key(const char* date) { return std::string(workingCode, CODE_LENGTH) + std::string(date, DATE_LENGTH); }

int SeekRate(const char* date) {
  d4tag_select(Table(), Z5KURS.tag[BY_CODE_AND_DAY]);
  return d4seek_n(Table(), Key(date).c_str(), CODE_LENGTH + DATE_LENGTH);
}

Outcome Look(const char* date) {
  int found = SeekRate(date);
  if (found == 0) return ON_THE_DAY;
  if (found != 2 && found != 3) return NONE;
  // The last rate before the key, when it is this currency's.
  if ((found == 3 ? d4bottom(Table()) : d4skip(Table(), -1)) != 0) return NONE;
  bool sameCode = std::memcmp(f4ptr(Z5KURS.field[KURS_KOD]), workingCode, CODE_LENGTH) == 0;
  bool before = std::memcmp(f4ptr(Z5KURS.field[KURS_DAT]), date, DATE_LENGTH) < 0;
  return sameCode && before ? EARLIER : NONE;
}

// The date typed must be a date; a rate stored for it is loaded.
int DateValid(Get4* get) {
  if (test_daty_niepustej(get) != 0) return -1;
  if (SeekRate(workingDate) == 0) {
    Uwaga(PrintfQStr("Znaleziono kurs %s z %s.", workingCode, FullDateQStr(workingDate)));
    workingRate = f4double(Z5KURS.field[KURS_KUR]);
    OdswiezGety();
  }
  return 0;
}

int RateValid(Get4*) {
  if (workingRate > 0) return 0;
  Uwaga(MSG_ABOVE_ZERO);
  return -1;
}

// The typed rate into the day's record, or a new record.
int StoreRate() {
  if (SeekRate(workingDate) == 0) {
    f4assign_double(Z5KURS.field[KURS_KUR], workingRate);
    return write_and_unlock(Table()) == 0 ? 0 : -1;
  }
  d4blank(Table());
  d4changed(Table(), 0);
  f4assign(Z5KURS.field[KURS_KOD], workingCode);
  f4assign(Z5KURS.field[KURS_DAT], workingDate);
  f4assign_double(Z5KURS.field[KURS_KUR], workingRate);
  set_pass_inf(0, Z5KURS.field[KURS_INF]);
  return lock_and_append(Table(), nullptr, nullptr) == 0 ? 0 : -1;
}

// The window "Szukaj / Dopisz kurs": 1 with the rate stored, -1 when left.
int EntryWindow() {
  int previous = w4select(-1);
  std::string title = PrintfQStr("Szukaj / Dopisz kurs %s", workingCode);
  int window = DefineWprowadzWindow(8, 10, 6, 60, title.c_str(), nullptr, nullptr);
  w4activate(window);
  const char* dateLabel = "Data :";
  const char* rateLabel = "Kurs :";
  w4(1, 1, dateLabel);
  g4date(1, 1 + static_cast<int>(std::strlen(dateLabel)) + 2, workingDate);
  g4picture("DD-MM/YY");
  g4valid(DateValid);
  w4(3, 1, rateLabel);
  g4double(3, 1 + static_cast<int>(std::strlen(rateLabel)) + 1, &workingRate);
  g4picture("999.999999");
  g4valid(RateValid);
  int key = g4read();
  int result = -1;
  if (key == KEY_ENTER || key == KEY_F2) result = StoreRate() == 0 ? 1 : -1;
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return result;
}

void RecordEnter() {
  if (Environment* env = EnvCurrent()) env->lastGetKey = KEY_ENTER;
}

}  // namespace

int kurs_waluty(const char* code, int32_t day, double* rate, int redisplay, int booking) {
  // Upper-cased as the tag keeps it, before the "PLN" test and the seek.
  std::memset(workingCode, ' ', CODE_LENGTH);
  std::memcpy(workingCode, code, strnlen(code, CODE_LENGTH));
  workingCode[CODE_LENGTH] = 0;
  c4upper(workingCode);
  if (std::strcmp(workingCode, "PLN") == 0) return 0;
  char asked[DATE_LENGTH + 1];
  date4assign(asked, day);
  asked[DATE_LENGTH] = 0;
  int result = -1;
  if (OpenZ5KURS(0) == 0) {
    Outcome outcome = Look(asked);
    const char* word = booking ? "ksi\x91gowania" : "VAT";
    std::string notFound = PrintfQStr(MSG_NOT_FOUND, word, FullDateQStr(asked));
    std::string found = PrintfQStr(MSG_FOUND, word, FldFullDateQStr(Z5KURS.field[KURS_DAT]));
    workingRate = 1.0;
    std::memcpy(workingDate, asked, sizeof workingDate);
    bool accepted = false;
    if (outcome == ON_THE_DAY) {
      workingRate = f4double(Z5KURS.field[KURS_KUR]);
      accepted = salesOptions.askRateDate != 'T' || MessageWindow(MB_YES_ESC, found.c_str(), MSG_ACCEPT) != KEY_ESC;
    } else if (outcome == EARLIER) {
      std::memcpy(workingDate, f4ptr(Z5KURS.field[KURS_DAT]), DATE_LENGTH);
      workingRate = f4double(Z5KURS.field[KURS_KUR]);
      accepted = MessageWindow(MB_YES_ESC, notFound.c_str(), found.c_str(), MSG_ACCEPT) != KEY_ESC;
    }
    if (accepted) {
      *rate = workingRate;
      RecordEnter();
      result = 1;
    } else {
      result = EntryWindow();
      if (result == 1) *rate = workingRate;
    }
    d4close(Table());
  }
  if (redisplay) OdswiezGety();
  return result;
}
