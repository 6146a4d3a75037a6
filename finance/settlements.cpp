#include <cstring>

#include "app/document_text.h"
#include "app/settlement.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "finance/payments.h"
#include "tables/cash_tables.h"

namespace {

constexpr int KEY_LENGTH = 12;

DbField* Field(const char* name) { return d4field(Z5ROZL.table, name); }

// Seeks the document's entry; the seek's result.
int SeekEntry(int typ, int rok, long rekord) {
  d4tag_select(Z5ROZL.table, Z5ROZL.tag[SETTLEMENT_TAG_SOURCE]);
  return d4seek_n(Z5ROZL.table, KluczTypRokRek(typ, rok, rekord), KEY_LENGTH);
}

void Store(const PlatnoscKasowa& r, bool settled) {
  ToFieldCopyMaxString(Field("DOK"), r.numer_dokumentu);
  ToFieldCopyMaxString(Field("DAW"), r.data);
  ToFieldCopyMaxString(Field("DAP"), r.termin);
  ToFieldCopyMaxString(Field("TYT"), r.tytul);
  ToFieldCopyLongint(Field("TYZ"), r.typ_zrodla);
  ToFieldCopyLongint(Field("ROK"), r.rok);
  ToFieldCopyLongint(Field("REK"), r.rekord);
  ToFieldCopyMaxString(Field("KOD"), r.kod_kontrahenta);
  ToFieldCopyMaxString(Field("NA1"), r.nazwa1);
  ToFieldCopyMaxString(Field("NA2"), r.nazwa2);
  ToFieldCopyMaxString(Field("KOP"), r.kod_pocztowy);
  ToFieldCopyMaxString(Field("MIA"), r.miasto);
  ToFieldCopyMaxString(Field("ULI"), r.ulica);
  ToFieldCopyDouble(Field("KWO"), r.kwota);
  ToFieldCopyDouble(Field("ZAP"), r.kwota_zaplacona);
  f4assign_char(Field("TYP"), r.rodzaj);
  f4assign_char(Field("ROL"), settled ? 'R' : 'N');
}

// The found entry brought up to date under its record lock.
int Rewrite(const PlatnoscKasowa& r, bool settled) {
  DbTable* table = Z5ROZL.table;
  long record = d4recno(table);
  if (go_and_lock(table, record) != 0) return -1;
  Store(r, settled);
  int rc = d4write(table, record);
  d4flush(table);
  d4unlock(table);
  return rc;
}

// A new entry through the append lock; one another workstation appended
// meanwhile is brought up to date instead.
int Append(const PlatnoscKasowa& r, bool settled) {
  DbTable* table = Z5ROZL.table;
  d4changed(table, 0);
  if (set_lock(table, 0) != 0) return -1;
  int found = SeekEntry(r.typ_zrodla, r.rok, r.rekord);
  int rc = found;
  if (found > 0) {
    d4append_start(table, 0);
    d4blank(table);
    Store(r, settled);
    rc = d4append(table);
    d4flush(table);
  }
  d4unlock(table);
  return found == 0 ? Rewrite(r, settled) : rc;
}

}  // namespace

int ZapiszRozliczenie(int wymus, PlatnoscKasowa* request) {
  bool settled = KwotyRozliczone(request->kwota, request->kwota_zaplacona) != 0;
  int rc = OpenZ5ROZL(0);
  if (rc != 0) return rc;
  DbTable* table = Z5ROZL.table;
  rc = SeekEntry(request->typ_zrodla, request->rok, request->rekord);
  // A settled document gets no new entry, but an entry it has follows its
  // payment; left alone it would stay open.
  if (settled && !wymus && rc != 0) {
    d4close(table);
    return rc < 0 ? rc : 1;
  }
  if (rc == 0)
    rc = Rewrite(*request, settled);
  else if (rc > 0)
    rc = Append(*request, settled);
  int closed = d4close(table);
  return rc < 0 ? rc : closed;
}

void UsunRozliczenie(int typ, int rok, int rekord) {
  if (OpenZ5ROZL(0) != 0) return;
  if (SeekEntry(typ, rok, rekord) == 0) d4delete(Z5ROZL.table);
  d4flush(Z5ROZL.table);
  d4close(Z5ROZL.table);
}
