// The GTU and procedure marks of an invoice to a receipt: the two windows
// over RE1 of the buyer record, the summary test and the marks that the
// receipt's positions give.
#include <cstring>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/db_index.h"
#include "db/dbf_table.h"
#include "retail/receipt_invoice.h"
#include "retail/receipts.h"
#include "sales/marks_dialogs.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"

namespace retail {

namespace {

constexpr int BUYER_BY_RECEIPT = 1;   // REK
constexpr int LAST_GTU_GROUP = 14;    // "e. BRAK": lands past the 13 marks
constexpr const char* NO_INVOICE = "Brak faktury.";

DbField* Marks() { return d4field(Z5PARO.table, "RE1"); }

}  // namespace

int okno_oznaczen_gtu(int tylko_odczyt) { return okno_gtu_pola(Marks(), PIERWSZY_GTU - 1, tylko_odczyt); }

int okno_procedur(int tylko_odczyt) { return okno_procedur_pola(Marks(), PIERWSZA_PROCEDURA - 1, tylko_odczyt); }

int jest_znacznik(DbField* field, int first, int count) {
  const char* text = f4ptr(field);
  int length = static_cast<int>(f4len(field));
  for (int i = first - 1; i < first - 1 + count && i < length; i++)
    if (i >= 0 && text[i] == 'T') return 1;
  return 0;
}

int oznacz_grupy_gtu_pozycji() {
  DbTable* lines = Z5PARE.table;
  long rek = f4long(d4field(Z5PARA.table, "REC"));
  int rc = SeekParagonLinesByRek(rek);
  if (rc < 0) return -1;
  DbField* marks = Marks();
  int length = static_cast<int>(f4len(marks));
  while (rc == 0 && !d4eof(lines) && f4long(d4field(lines, "REK")) == rek) {
    // Only a group the positions window offers marks anything.
    int group = f4int(d4field(lines, "RE2"));
    int at = group + PIERWSZY_GTU - 2;
    if (group >= 1 && group <= LAST_GTU_GROUP && at < length) f4assign_ptr(marks)[at] = 'T';
    if (d4skip(lines, 1) < 0) return -1;
  }
  return 0;
}

int oznaczenia_faktury(int gtu) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* buyers = Z5PARO.table;
  long header = d4recno(Z5PARA.table);
  if (set_lock(buyers, -1) != 0) return 0;
  d4tag_select(buyers, Z5PARO.tag[BUYER_BY_RECEIPT]);
  int rc = d4seek_double(buyers, f4double(d4field(Z5PARA.table, "REC")));
  if (rc > 0) Uwaga(NO_INVOICE);
  if (rc == 0) {
    int key = gtu ? okno_oznaczen_gtu(0) : okno_procedur(0);
    if (key == KEY_F2) {
      set_pass_inf(STAMP_KIND_MODIFIED, d4field(buyers, "INF"));
      d4write(buyers, d4recno(buyers));
      d4flush(buyers);
    }
  }
  d4unlock(buyers);
  browse_call(0, header);
  return 0;
}

}  // namespace retail
