#include "sales/cash_documents.h"

#include <string>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "sales/payments.h"
#include "sales/sales_context.h"
#include "tables/cash_tables.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_ADDING_CASH_DOCUMENTS = 95;
constexpr int PROGRESS_ROWS = 5, PROGRESS_WIDTH = 40;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
int Register() { return salesContext ? salesContext->rejestr : 1; }
int SourceType() { return Register() == 2 ? SOURCE_AUXILIARY_SALES : SOURCE_SALES; }
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

// The three questions; false when the run is abandoned.
bool Confirmed(bool* paidOnly) {
  if (Pytanie(Sys("Czy dopisać dokumenty kasowe ?").c_str()) == KEY_ESC) return false;
  *paidOnly = Pytanie(Sys("Czy sprawdzać \"czy zapłacono?\" ?").c_str()) != KEY_ESC;
  if (salesOptions.cashVat == 'T' &&
      MessageWindow(MB_QUESTION | MB_YES_ESC, Sys("Zostanie skorygowana data rozliczenia VAT.").c_str(),
                    Sys("Czy kontynuować ?").c_str()) == KEY_ESC)
    return false;
  return true;
}

bool HasCashEntry(long record) {
  return d4seek(Z5KASA.table, KluczTypRokRek(SourceType(), WorkingYear(), record)) == 0;
}

bool Wanted(bool paidOnly) {
  if (paidOnly && f4char(Header("ZAP")) != 'T') return false;
  if (KwotaDoRozliczenia(nullptr) == 0) return false;
  return !HasCashEntry(d4recno(Z5SPRZ.table));
}

// Under the cash method the VAT date becomes the payment date, in the lines too.
bool MoveVatDate(const char* date) {
  ToFieldCopyMaxString(Header("DAV"), date);
  DbTable* lines = Z5SPRE.table;
  if (set_lock(lines, -1) != 0) return false;
  long header = f4long(Header("REC"));
  int rc = SeekSalesLinesByRek(header);
  bool ok = rc >= 0;
  for (; ok && rc == 0 && !d4eof(lines) && f4long(Line("REK")) == header; rc = d4skip(lines, 1)) {
    ToFieldCopyMaxString(Line("DAV"), date);
    ok = d4write(lines, d4recno(lines)) == 0;
  }
  d4flush(lines);
  d4unlock(lines);
  return ok && rc >= 0;
}

// One document's entry and its header; false when either failed.
bool AddCashDocument() {
  PlatnoscKasowa request;
  platnosc_calej_kwoty(&request);
  if (dopisz_wpis_kasy(&request) != 0) return false;
  std::string note = std::string(FldQStr(Header("OZA"), 1)) + ZrodloKasyQStr();
  ToFieldCopyDouble(Header("KZA"), ROUND(request.kwota / FldKurs(Header("KKS")), 2));
  ToFieldCopyMaxString(Header("OZA"), note.c_str());
  f4assign_char(Header("ZAP"), 'T');
  if (salesOptions.cashVat == 'T' && !MoveVatDate(request.data)) return false;
  return d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)) == 0;
}

struct Progress {
  OpenedWindow window{[] {
    return DefineDialogWindow((Desktop.rows - PROGRESS_ROWS) / 2, (Desktop.cols - PROGRESS_WIDTH) / 2, PROGRESS_ROWS,
                              PROGRESS_WIDTH, EnvFindString(MSG_ADDING_CASH_DOCUMENTS));
  }};
  Progress() {
    if (window.handle < 0) return;
    w4select(window.handle);
    w4centre(3, Sys(" Proszę czekać. ").c_str());
  }
  void Show(int count) {
    if (window.handle < 0) return;
    w4select(window.handle);
    w4centre(1, PrintfQStr("Dokument nr %i", count));
  }
};

}  // namespace

int dopisz_dokumenty_kasowe_listy(DbScanCtx* list) {
  bool paidOnly = false;
  if (!Confirmed(&paidOnly)) return -1;
  DbTable* headers = Z5SPRZ.table;
  DbTag* previousTag = d4tag_selected(Z5KASA.table);
  d4tag_select(Z5KASA.table, Z5KASA.tag[CASH_TAG_SOURCE]);
  int count = 0;
  {
    Progress progress;
    // The whole table is locked, so the documents are read as stored and
    // none changes under the batch.
    if (set_lock(headers, -1) != 0) {
      d4tag_select(Z5KASA.table, previousTag);
      return -1;
    }
    for (int rc = x4top(list); rc == 0; rc = x4skip(list, 1)) {
      if (!Wanted(paidOnly)) continue;
      if (!AddCashDocument()) break;
      progress.Show(++count);
    }
    d4unlock(headers);
    d4flush(headers);
  }
  d4tag_select(Z5KASA.table, previousTag);
  Informacja(PrintfQStr(Sys("Dopisano dokumentów kasowych: %i").c_str(), count));
  return count;
}

int dopisz_dokumenty_kasowe() {
  BrowseContext* browse = CurrentBrowse;
  if (!browse) return 0;
  long current = d4recno(Z5SPRZ.table);
  dopisz_dokumenty_kasowe_listy(&browse->scan);
  browse_call(0, current);
  return 0;
}
