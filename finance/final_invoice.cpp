#include "db/dbf_table.h"
#include "finance/payments.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int FIRST_YEAR = 2024;
constexpr int MSG_FINAL_INVOICE = 23;        // "To jest faktura końcowa."
constexpr int MSG_HAS_FINAL_INVOICE = 247;   // "Faktura ma fakturę końcową."
constexpr int MSG_CHANGES_NOT_ADVISED = 32;  // "Modyfikacje nie są wskazane."
constexpr int KIND_ADVANCE_INVOICE = 11;

}  // namespace

int SprawdzFaktureKoncowa(int kind, int akt) {
  if (WorkingYear() < FIRST_YEAR) return 1;
  // An advance invoice marked 1 has a final invoice; it is not one itself.
  if (kind == KIND_ADVANCE_INVOICE && akt == 1) {
    MessageWindow(MB_WARNING, MSG_HAS_FINAL_INVOICE, MSG_CHANGES_NOT_ADVISED, " ");
    return 0;
  }
  if (kind != 3 && (akt == 1 || akt == 3)) {
    MessageWindow(MB_WARNING, MSG_FINAL_INVOICE, MSG_CHANGES_NOT_ADVISED, " ");
    return 0;
  }
  return 1;
}

int CzyFakturaAkt2() {
  int kind = f4int(d4field(Z5SPRZ.table, "TYV"));
  return (kind == 1 || kind == 7) && f4int(d4field(Z5SPRZ.table, "AKT")) == 2 ? 1 : 0;
}
