// The cash book's entries: the numbering per desk, kind, account and year,
// the one append path every writer of a numbered entry takes, the sum of a
// document's entries, the texts that name an entry, and the deletion of a
// document's entries.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/cash_book.h"
#include "finance/payments.h"
#include "tables/cash_tables.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"

namespace {

constexpr int SOURCE_KEY_LENGTH = 12;
constexpr int DESK_CODE_WIDTH = 4;
constexpr int MSG_DELETE_CASH_ENTRIES = 20054;   // "Czy usunąć zapisy z kasy?"
constexpr int MSG_ADDED_TO_CASH = 20074;         // "Dopisano do kasy."

DbField* Field(const char* name) { return d4field(Z5KASA.table, name); }

// Keeps the cash book's record, its buffer (an entry being edited) and its
// tag for the length of a scope.
class KeptPosition {
 public:
  KeptPosition()
      : table(Z5KASA.table),
        tag(d4tag_selected(table)),
        record(d4recno(table)),
        changed(d4changed(table, 0)),
        buffer(d4record(table), d4record(table) + d4record_width(table)) {}
  ~KeptPosition() {
    if (record > 0)
      d4go(table, record);
    else if (record == 0)
      d4append_start(table, 0);
    std::memcpy(d4record(table), buffer.data(), buffer.size());
    d4changed(table, changed);
    d4tag_select(table, tag);
  }
  KeptPosition(const KeptPosition&) = delete;
  KeptPosition& operator=(const KeptPosition&) = delete;

 private:
  DbTable* table;
  DbTag* tag;
  long record;
  int changed;
  std::vector<char> buffer;
};

// The whole cash book locked for a scope, unless the caller holds it so
// already (the entry form does): that lock is left to its owner.
class BookLock {
 public:
  BookLock() : table(Z5KASA.table), own(!table->file_locked) {
    if (own) held = set_lock(table, -1) == 0;
  }
  ~BookLock() {
    if (own && held) d4unlock(table);
  }
  bool Held() const { return !own || held; }
  BookLock(const BookLock&) = delete;
  BookLock& operator=(const BookLock&) = delete;

 private:
  DbTable* table;
  bool own;
  bool held = false;
};

}  // namespace

const char* RodzajZapisuKasyText(char kind) {
  static const std::string statement = Utf8ToMazText("Wyciąg");
  switch (kind) {
    case '1': return "KP";
    case '2': return "KW";
    case '3': return statement.c_str();
    case '4': return "Suma zaliczek";
    default: return "";
  }
}

long OstatniNrKasy(int typ, int bank, int year) {
  KeptPosition kept;
  char key[DESK_CODE_WIDTH + 7 + 1];
  std::snprintf(key, sizeof key, "%-4.4s%c%1d%4d", salesOptions.cashDeskCode, static_cast<char>(typ), bank, year);
  d4tag_select(Z5KASA.table, Z5KASA.tag[CASH_TAG_NUMBERING]);
  if (d4seek_n(Z5KASA.table, key, static_cast<int>(std::strlen(key))) != 0) return 0;
  return f4long(Field("NUM"));
}

bool NumerKasyZajety(char kind, int account, int year, long number, long skip) {
  KeptPosition kept;
  char key[DESK_CODE_WIDTH + 12 + 1];
  std::snprintf(key, sizeof key, "%-4.4s%c%1d%4d%5ld", salesOptions.cashDeskCode, kind, account, year, number);
  DbTable* table = Z5KASA.table;
  d4tag_select(table, Z5KASA.tag[CASH_TAG_NUMBERING]);
  int length = static_cast<int>(std::strlen(key));
  for (int rc = d4seek_n(table, key, length); rc == 0 && !d4eof(table); rc = d4skip(table, 1)) {
    bool same = std::memcmp(f4ptr(Field("PRE")), key, DESK_CODE_WIDTH) == 0 && f4char(Field("TYP")) == kind &&
                f4int(Field("TYK")) == account && date4year(f4ptr(Field("DAT"))) == year &&
                f4long(Field("NUM")) == number;
    if (!same) break;
    if (d4recno(table) != skip && !d4deleted(table)) return true;
  }
  return false;
}

char* RodzajZapisuKasyQStr() { return PrintfQStr("%s", RodzajZapisuKasyText(static_cast<char>(f4char(Field("TYP"))))); }

char* ZrodloKasyQStr() {
  std::string date = FullDateQStr(f4ptr(Field("DAT")));
  return PrintfQStr("*%s %ld %s", RodzajZapisuKasyText(static_cast<char>(f4char(Field("TYP")))), f4long(Field("NUM")),
                    date.c_str());
}

double SumaKasyDokumentu(int typ, int rok, long rekord) {
  if (rekord == 0) return 0;
  KeptPosition kept;
  BookLock lock;
  DbTable* table = Z5KASA.table;
  d4tag_select(table, Z5KASA.tag[CASH_TAG_SOURCE]);
  double sum = 0;
  int rc = d4seek_n(table, KluczTypRokRek(typ, rok, rekord), SOURCE_KEY_LENGTH);
  for (; rc == 0 && !d4eof(table) && czy_zapis_kasy_dokumentu(typ, rok, rekord); rc = d4skip(table, 1))
    if (!d4deleted(table)) sum += f4double(Field("KWO"));
  return sum;
}

int dopisz_wpis_kasy(const PlatnoscKasowa* request) {
  DbTable* cash = Z5KASA.table;
  // The number is drawn and the entry appended under one lock, so that two
  // workstations never write the same number.
  BookLock lock;
  if (!lock.Held()) return -1;
  d4append_start(cash, 0);
  d4blank(cash);
  bool statement = request->rodzaj == '3';
  f4assign_char(Field("TYP"), request->rodzaj);
  f4assign_char(Field("TKA"), statement ? 'K' : 'G');
  ToFieldCopyLongint(Field("TYK"), statement ? request->kod_banku : 0);
  ToFieldCopyMaxString(Field("WAL"), "PLN");
  ToFieldCopyDouble(Field("KUR"), 1);
  ToFieldCopyDouble(Field("KUZ"), 1);
  ToFieldCopyMaxString(Field("DAT"), request->data);
  ToFieldCopyMaxString(Field("PRE"), salesOptions.cashDeskCode);
  long number = OstatniNrKasy(request->rodzaj, f4int(Field("TYK")), date4year(request->data)) + 1;
  ToFieldCopyLongint(Field("NUM"), number);
  ToFieldCopyDouble(Field("KWO"), request->kwota);
  ToFieldCopyMaxString(Field("DOK"), request->numer_dokumentu);
  ToFieldCopyMaxString(Field("TYT"), request->tytul);
  ToFieldCopyMaxString(Field("KOD"), request->kod_kontrahenta);
  ToFieldCopyMaxString(Field("NA1"), request->nazwa1);
  ToFieldCopyMaxString(Field("NA2"), request->nazwa2);
  ToFieldCopyMaxString(Field("KOP"), request->kod_pocztowy);
  ToFieldCopyMaxString(Field("MIA"), request->miasto);
  ToFieldCopyMaxString(Field("ULI"), request->ulica);
  ToFieldCopyLongint(Field("ROK"), request->rok);
  ToFieldCopyLongint(Field("REK"), request->rekord);
  ToFieldCopyLongint(Field("TYZ"), request->typ_zrodla);
  set_pass_inf(0, Field("INF"));
  bool appended = d4append(cash) == 0;
  d4flush(cash);
  return appended ? 0 : -1;
}

int DopiszDoKasy(PlatnoscKasowa* request) {
  if (OpenZ5KASA(0) != 0) return -1;
  int result = dopisz_wpis_kasy(request);
  d4close(Z5KASA.table);
  if (result == 0) Informacja(MSG_ADDED_TO_CASH);
  return result;
}

void UsunZapisyKasy(int typ, int rok, int rekord) {
  DbTable* table = Z5KASA.table;
  DbTag* previous = d4tag_selected(table);
  d4tag_select(table, Z5KASA.tag[CASH_TAG_SOURCE]);
  if (d4seek_n(table, KluczTypRokRek(typ, rok, rekord), SOURCE_KEY_LENGTH) == 0 &&
      Pytanie(MSG_DELETE_CASH_ENTRIES) != 27) {
    // Deleted entries leave the tag, so they are gathered before any goes.
    std::vector<long> entries;
    for (int rc = 0; rc == 0 && !d4eof(table) && czy_zapis_kasy_dokumentu(typ, rok, rekord); rc = d4skip(table, 1))
      entries.push_back(d4recno(table));
    for (long entry : entries) {
      if (d4go(table, entry) != 0) break;
      d4delete(table);
      d4write(table, entry);
    }
    d4flush(table);
  }
  d4tag_select(table, previous);
}
