// Pieces the revenue and expense book and the flat-rate register share: the
// global posting record, the saving of an entry, the day control and the
// account slot of the entry form, the months marked for recounting, and the
// entry number drawn inside the append lock.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "masterdata/accounts.h"
#include "tables/masterdata_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/window4.h"

ZapisKsiegowy* zapisKsiegowy = nullptr;

namespace {
constexpr int MSG_ILLEGAL_DATE = 50136;   // "Nielegalna data !"
constexpr int MSG_ZERO_VALUE = 20183;     // "Wartość księgowa dokumentu jest równa 0"
constexpr int MSG_POST = 20059;           // "Czy zaksięgować ?"
constexpr int MSG_NOT_SAVED = 20159;      // "Pozycja nie została zapisana."

constexpr int ACCOUNT_NAME_WIDTH = 34;
struct AccountSlot {
  DbField* ident;
  int nameRow, nameCol;
  char number[9];
} accountSlot;

// The number must name an account; its identity goes into the entry and its
// name beside the slot.
int AccountValid(Get4* get) {
  char name[ACCOUNT_NAME_WIDTH + 1] = {};
  int refused = valid_konto(get, accountSlot.ident, nullptr, name);
  w4(accountSlot.nameRow, accountSlot.nameCol, name);
  return refused;
}
}  // namespace

int OtworzKontaWpisu() {
  if (!zapisKsiegowy->konta) return 0;
  return OpenZ5KONT(0) == 0 ? 0 : -1;
}

void ZamknijKontaWpisu() {
  if (Z5KONT.table == nullptr) return;
  d4close(Z5KONT.table);
  Z5KONT.table = nullptr;
}

void PoleKontaWpisu(int row, int col, int nameRow, int nameCol, DbField* ident) {
  accountSlot.ident = ident;
  accountSlot.nameRow = nameRow;
  accountSlot.nameCol = nameCol;
  numer_konta_wg_rec(accountSlot.number, sizeof accountSlot.number, ident);
  g4(row, col, accountSlot.number);
  g4picture("999-9999");
  g4call(konto_f4_lista, 0);
  g4valid(AccountValid);
}

void PolaMetodyKasowej(DbTable* table, const ZapisKsiegowy* z) {
  f4assign_char(d4field(table, "KAS"), z->kasowo == 0 ? ' ' : z->kasowo);
  f4assign_n(d4field(table, "DWF"), z->dataWystawienia, 8);
  f4assign_n(d4field(table, "DNF"), z->dataPlatnosci, 8);
  f4assign_double(d4field(table, "KNF"), z->kwotaDokumentu);
  f4assign_long(d4field(table, "REW"), z->recDokumentu);
}

int ZapiszWpisKsiegi(const KsiegaWpisow& book, int seryjnie) {
  ZapisKsiegowy* z = zapisKsiegowy;
  DbTable* t = book.table;
  bool again = false;
  if (z->recKsiegi != 0) {
    d4tag_select(t, book.byRec);
    if (d4seek_double(t, z->recKsiegi) == 0 && !d4eof(t)) {
      int compared = book.compareWithOld();
      if (compared != 0) return compared;
      z->lp = static_cast<uint32_t>(f4long(d4field(t, "LPO")));
      again = true;
    } else {
      z->recKsiegi = 0;
    }
  }
  if (!again) {
    d4append_start(t, 0);
    d4blank(t);
  }
  book.fill(!again);
  if (seryjnie == 0 && book.form(!again) != 0) {
    d4changed(t, 0);
    return -2;
  }
  if (book.afterForm) book.afterForm(!again);
  if (book.amountsZero() && MessageWindow(MB_QUESTION | MB_YES_ESC, MSG_ZERO_VALUE, MSG_POST) == KEY_ESC) {
    d4changed(t, 0);
    return 0;
  }
  int written;
  if (again) {
    if (book.markMonth(date4month(f4ptr(d4field(t, book.dateField)))) != 0) return -1;
    set_pass_inf(STAMP_KIND_MODIFIED, d4field(t, "INF"));
    written = write_and_unlock(t);
  } else {
    set_pass_inf(0, d4field(t, "INF"));
    written = lock_and_append(t, book.beforeAppend, nullptr);
  }
  if (written != 0) {
    Uwaga(MSG_NOT_SAVED);
    return -1;
  }
  z->zapisano = 1;
  if (book.afterSave) book.afterSave(!again);
  z->dzien = date4day(f4ptr(d4field(t, book.dateField)));
  return 0;
}

int WalidujDzienKsiegi(Get4* get) {
  ZapisKsiegowy* z = zapisKsiegowy;
  int32_t day = *static_cast<int32_t*>(get->data);
  // February has 29 days in a leap year.
  if (day < 1 || day > DaysInMonth(z->rok, z->miesiac)) {
    Uwaga(MSG_ILLEGAL_DATE);
    return -1;
  }
  z->dzien = day;
  return 0;
}

void UstawDateKsiegi(char* date, int year, int month, int day) {
  char text[9];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
  std::memcpy(date, text, 8);
}

void DataKsiegiNaDzien() {
  ZapisKsiegowy* z = zapisKsiegowy;
  z->rok = date4year(z->dataKsiegi);
  z->miesiac = date4month(z->dataKsiegi);
  z->dzien = date4day(z->dataKsiegi);
  // The entry keeps the month and day of its book date; only an empty date
  // part falls back to 1.
  if (z->miesiac < 1 || z->miesiac > 12) z->miesiac = 1;
  if (z->dzien < 1) z->dzien = 1;
  if (z->dzien > DaysInMonth(z->rok, z->miesiac)) z->dzien = DaysInMonth(z->rok, z->miesiac);
  z->miesiacOd = 1;
}

int ZaznaczMiesiacSum(TableHandles& set, int& openYear, int (*open)(int), int year, int month) {
  if (month < 1 || month > 12) return 0;
  bool opened = false;
  if (set.table == nullptr || openYear != year) {
    if (open(year) != 0) return -1;
    opened = true;
  }
  DbTable* t = set.table;
  int result = -1;
  if (go_and_lock(t, month) == 0) {
    f4assign(d4field(t, "STA"), "A");
    if (d4write(t, month) == 0 && d4flush(t) == 0) result = 0;
    d4unlock(t);
  }
  if (opened) {
    d4close(t);
    set.table = nullptr;
  }
  return result;
}

long OstatniNumerWpisu(DbTable* table) {
  // Entries of earlier months may be posted after later ones, so the last
  // number is the highest of the year, not the last by month.
  long last = 0;
  for (long n = 1, count = d4reccount(table); n <= count; n++)
    if (d4go(table, n) == 0) last = std::max(last, f4long(d4field(table, "LPO")));
  return last;
}

int NumerujNowyWpis(DbTable* table) {
  ZapisKsiegowy* z = zapisKsiegowy;
  // The record being appended sits in the buffer: kept over the seek.
  std::vector<char> buffer(d4record(table), d4record(table) + d4record_width(table));
  long last = OstatniNumerWpisu(table);
  long count = d4reccount(table);
  d4append_start(table, 0);
  std::memcpy(d4record(table), buffer.data(), buffer.size());
  z->lp = static_cast<uint32_t>(last + 1);
  f4assign_long(d4field(table, "LPO"), last + 1);
  f4assign_long(d4field(table, "REC"), count + 1);
  z->recKsiegi = static_cast<int32_t>(count + 1);
  return 0;
}

int OstatniMiesiacTabeli(int (*open)(int, int), TableHandles& set, int tag, const char* dateField, int year) {
  if (open(year, 0) != 0) return -1;
  DbTable* t = set.table;
  d4tag_select(t, set.tag[tag]);
  int month = 1;
  if (d4bottom(t) == 0 && !d4eof(t)) {
    month = date4month(f4ptr(d4field(t, dateField)));
    if (month < 1) month = 1;
  }
  int closed = d4close(t);
  set.table = nullptr;
  return closed == 0 ? month : -1;
}
