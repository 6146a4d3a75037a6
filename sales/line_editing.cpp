// " Pozycje " of the sales register: the lines of a stored document edited
// under its header lock.
#include "app/document_kinds.h"
#include "db/db_lock.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "sales/document_totals.h"
#include "sales/header_form.h"
#include "sales/payments.h"
#include "sales/register_actions.h"
#include "sales/sales_register.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/message_box.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int KIND_FV = 1, KIND_MP = 7, KIND_FP = 9, LINKED_FINAL = 9;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }

// Before 2024 a final invoice and one that has its final invoice are shown,
// not changed, each after a box.
bool FinalInvoiceBefore2024(int kind, int linked) {
  const char* first = nullptr;
  if ((kind == KIND_FV || kind == KIND_MP) && linked == LINKED_FINAL)
    first = "To jest faktura końcowa.";
  else if (linked > 0 && kind == KIND_FP)
    first = "Faktura ma fakturę końcową.";
  if (!first) return false;
  MessageWindow(MB_WARNING, Sys(first), Sys("Modyfikacje nie są wskazane."), " ");
  return true;
}

}  // namespace

int modyfikuj_pozycje_dokumentu(int rejestr) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(Header("TYV"));
  bool readOnly = SprawdzFaktureKoncowa(kind, f4int(Header("AKT"))) == 0;
  if (WorkingYear() < FIRST_YEAR_2024 && FinalInvoiceBefore2024(kind, f4int(Header("TYM")))) readOnly = true;
  if (definicjaRejestru) odswiez_teksty_formularza();
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (go_and_lock(headers, record) != 0) return -1;
  int edited = wprowadz_pozycje_dokumentu(readOnly ? 1 : 0, kind, rejestr);
  if (edited == 1 && f4long(Header("LPO")) > 0) Uwaga(Sys("Nie zapomnij o zaksięgowaniu !"));
  int written = write_and_unlock(headers);
  zapisz_rozliczenie_dokumentu(1);
  if (written != 0 || (edited != 0 && edited != 1)) return -1;
  return browse_call(0, record);
}
