// The number change of the current document: within its numbering from the
// menu, or into the other numbering (structured or free) with Ctrl+N.
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "sales/document_conversions.h"
#include "sales/numbering.h"
#include "sales/payments.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"

namespace {

constexpr int FREE_NUMBER_WIDTH = 40;
constexpr int MAIN_REGISTER = 1;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }

bool Accepted(int key) { return key == KEY_ENTER || key == KEY_F2; }

// Locks the whole headers table for the number that the window accepted and
// stands on the document again; the number is tested once more under the
// lock, since another workstation may have taken it meanwhile. 0 locked and
// free, 1 taken (unlocked, the window comes again), -1 no lock or an error.
int LockForNumber(long record, bool freeNumber, const char* number) {
  DbTable* headers = Z5SPRZ.table;
  if (set_lock(headers, -1) != 0) return -1;
  int taken = d4go(headers, record) != 0 ? -1
              : freeNumber            ? sprawdz_duplikat_numeru_swobodnego(number)
                                      : sprawdz_duplikat_numeru();
  if (taken == 0 && d4go(headers, record) == 0) return 0;
  d4unlock(headers);
  d4go(headers, record);
  return taken > 0 ? 1 : -1;
}

// The free number typed into OSM under the headers lock; 0, or -1 when the
// window was left or the lock not taken.
int TakeFreeNumber(const char* title, long record, bool switching) {
  char number[FREE_NUMBER_WIDTH + 1];
  std::memcpy(number, f4ptr(Header("OSM")), FREE_NUMBER_WIDTH);
  number[FREE_NUMBER_WIDTH] = '\0';
  salesContext->skipCurrentRecord = 1;
  for (;;) {
    int key = okno_numeru_swobodnego(title, number);
    if (!Accepted(key) || number[0] == ' ' || number[0] == '\0') return -1;
    int locked = LockForNumber(record, true, number);
    if (locked < 0) return -1;
    if (locked == 0) break;
  }
  f4assign(Header("OSM"), number);
  if (switching) {
    f4blank(Header("PRE"));
    f4blank(Header("NRV"));
    f4blank(Header("POS"));
    f4assign_char(Header("RE4"), 'N');
  }
  return 0;
}

// The structured number into PRE, NRV, POS under the headers lock; 0, or -1
// when the window was left or the lock not taken.
int TakeStructuredNumber(const char* title, long record, bool switching) {
  kontekst_sprzedazy& c = *salesContext;
  int kind = c.kind;
  if (switching) {
    zapamietaj_numer(&c.next, prefiks_numeru_rodzaju(kind, c.rejestr), 0, sufiks_numeru_rodzaju(kind, c.rejestr));
    wyrownaj_do_prawej(c.next.prefix, static_cast<int>(f4len(Header("PRE"))));
  } else {
    std::string prefix(f4ptr(Header("PRE")), f4len(Header("PRE")));
    std::string suffix(f4ptr(Header("POS")), f4len(Header("POS")));
    zapamietaj_numer(&c.next, prefix.c_str(), f4long(Header("NRV")), suffix.c_str());
  }
  for (;;) {
    if (!Accepted(okno_numeru_dokumentu(title))) return -1;
    int locked = LockForNumber(record, false, nullptr);
    if (locked < 0) return -1;
    if (locked == 0) break;
  }
  wpisz_numer_do_naglowka(Header("PRE"), Header("NRV"), Header("POS"), &c.next);
  if (switching) {
    f4blank(Header("OSM"));
    f4assign_char(Header("RE4"), ' ');
  }
  return 0;
}

}  // namespace

int zmien_numer_dokumentu(int z_menu) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0 || !salesContext) return 0;
  DbTable* headers = Z5SPRZ.table;
  kontekst_sprzedazy& c = *salesContext;
  bool switching = z_menu == 0;
  // Ctrl+N goes over to the other numbering; RE4 itself changes only when
  // the new number is stored.
  bool freeNumber = (f4char(Header("RE4")) == 'N') != switching;
  c.kind = f4int(Header("TYV"));
  long record = d4recno(headers);
  std::string title = switching ? Utf8ToMazText("ZMIEŃ NUMER") : KindTitle(c.kind);
  int taken = freeNumber ? TakeFreeNumber(title.c_str(), record, switching)
                         : TakeStructuredNumber(title.c_str(), record, switching);
  if (taken != 0) {
    d4go(headers, record);
    return browse_call(0, record);
  }
  if (zapisz_naglowek_z_pozycjami() == 0) zapisz_rozliczenie_dokumentu(1);
  d4unlock(headers);
  if (c.rejestr == MAIN_REGISTER && f4int(Header("AKT")) > 0) aktualizuj_powiazania_zrodel(f4long(Header("REC")));
  return browse_call(0, record);
}
