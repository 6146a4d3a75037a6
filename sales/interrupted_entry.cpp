#include "sales/interrupted_entry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "db/change_mark.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/temp_strings.h"
#include "sales/document_header.h"
#include "tables/sales_tables.h"
#include "ui/record_stamp.h"

namespace {

// The mark, before scrambling: 'W' and the slot in four digits.
constexpr char ENTRY_MARK = 'W';
constexpr int SLOT_DIGITS = 4;
constexpr int MAX_DEAD = 64;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }

// The slot an entry mark in the current header names, or -1.
int MarkedSlot() {
  DbField* stamp = H("INF");
  char text[STAMP_LEN];
  int n = std::min(static_cast<int>(f4len(stamp)), STAMP_LEN);
  if (n < 1 + SLOT_DIGITS) return -1;
  std::memcpy(text, f4ptr(stamp), n);
  deconver_pass(text, n, 1);
  if (text[0] != ENTRY_MARK) return -1;
  int slot = 0;
  for (int i = 1; i <= SLOT_DIGITS; i++) {
    if (text[i] < '0' || text[i] > '9') return -1;
    slot = slot * 10 + (text[i] - '0');
  }
  return slot;
}

std::string HeaderNumber() {
  if (f4char(H("RE4")) == 'N') return QuickStr(f4ptr(H("OSM")), f4len(H("OSM")), 1);
  return NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
}

bool Among(int slot, const int* slots, int count) { return std::find(slots, slots + count, slot) != slots + count; }

// Removes the current header when it is still a dead entry's, under the
// table's lock; its number, or "" when it stayed.
std::string RemoveWhenDead(long record, const int* dead, int count) {
  DbTable* t = Z5SPRZ.table;
  if (set_lock(t, -1) != 0) return "";
  bool still = d4go(t, record) == 0 && !d4deleted(t) && Among(MarkedSlot(), dead, count);
  std::string number = still ? HeaderNumber() : "";
  if (still) anuluj_nowy_dokument();
  d4unlock(t);
  if (d4go(t, record) != 0 || !d4deleted(t)) return "";
  return number;
}

}  // namespace

void BeginHeaderEntry(DbField* stamp) {
  int slot = db_entry_begin(Z5SPRZ.table);
  if (slot < 0) return;
  char text[STAMP_LEN];
  std::memset(text, ' ', sizeof text);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*d", SLOT_DIGITS, slot);
  text[0] = ENTRY_MARK;
  std::memcpy(text + 1, digits, SLOT_DIGITS);
  int n = std::min(static_cast<int>(f4len(stamp)), STAMP_LEN);
  std::memcpy(f4ptr(stamp), text, n);
  conver_pass(f4ptr(stamp), n, 1);
}

void EndHeaderEntry() { db_entry_end(Z5SPRZ.table); }

void RemoveInterruptedEntries() {
  DbTable* t = Z5SPRZ.table;
  int dead[MAX_DEAD];
  int count = db_entry_take_dead(t, dead, MAX_DEAD);
  if (count == 0) return;
  long current = d4recno(t);
  std::string removed;
  bool stayed = false;
  for (long record = d4reccount(t); record >= 1; record--) {
    if (d4go(t, record) != 0) {
      stayed = true;
      break;
    }
    if (d4deleted(t) || !Among(MarkedSlot(), dead, count)) continue;
    std::string number = RemoveWhenDead(record, dead, count);
    if (number.empty()) stayed = true;
    removed += (removed.empty() || number.empty() ? "" : ", ") + number;
  }
  // A header that could not go keeps its slot's byte for the next opening.
  db_entry_release(t, dead, count, stayed ? 0 : 1);
  if (current > 0 && current <= d4reccount(t)) d4go(t, current);
  if (removed.empty()) return;
  std::string text = Utf8ToMazText("Dokument ") + removed +
                     Utf8ToMazText(" nie został zapisany:\n"
                                   "praca stanowiska, na którym go wprowadzano, została przerwana.\n"
                                   "Jego nagłówek i pozycje zostały usunięte.");
  db_report_mended(text.c_str());
}
