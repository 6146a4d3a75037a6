// Printing a saved receipt: the chooser of " Drukuj " > " Dokument ", the
// dispatcher between the fiscal printer and the plain printouts, and the
// fiscal receipt sent from the saved positions.
#include <string>

#include "app/document_kinds.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "retail/receipt_invoice.h"
#include "retail/receipts.h"
#include "tables/firm_tables.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"

namespace retail {

namespace {

constexpr int MSG_NO_INVOICE = 232;   // "Brak zdefiniowanego dokumentu VAT !"
constexpr int MSG_EMPTY = 233;        // "Pusty paragon!"
constexpr int MSG_PRINTED = 235;      // "Paragon został wydrukowany !"
constexpr int MSG_AGAIN = 243;        // "Czy wydrukować ponownie?"

DbField* H(const char* name) { return d4field(Z5PARA.table, name); }
DbField* L(const char* name) { return d4field(Z5PARE.table, name); }

// Positions the first position of the current receipt: 0 there, 1 none, -1 an error.
int FirstPosition() {
  long rek = f4long(H("REC"));
  int rc = SeekParagonLinesByRek(rek);
  if (rc < 0) return -1;
  return rc == 0 && !d4eof(Z5PARE.table) && f4long(L("REK")) == rek ? 0 : 1;
}

bool OfReceipt(long rek) { return !d4eof(Z5PARE.table) && f4long(L("REK")) == rek; }
bool Correction() { return f4char(L("ODC")) == 'T'; }

bool HasPrinter() { return dfSesja && dfSesja->driver != DF_DRIVER_NONE; }

}  // namespace

int pozycje_do_druku(int* count, double* total) {
  *count = 0;
  *total = 0;
  int rc = FirstPosition();
  if (rc != 0) return rc;
  long rek = f4long(H("REC"));
  while (OfReceipt(rek)) {
    if (!Correction()) {
      ++*count;
      *total += f4double(L("WAB"));
    }
    if (d4skip(Z5PARE.table, 1) < 0) return -1;
  }
  *total = ROUND(*total, 2);
  return 0;
}

int paragon_fiskalny() {
  int count = 0;
  double total = 0;
  int rc = pozycje_do_druku(&count, &total);
  if (rc < 0) return -1;
  if (rc > 0) {
    Uwaga(MSG_EMPTY);
    return -1;
  }
  if (count == 0) return -1;
  double paid = 0, change = 0;
  if (parametryDetal.paidWindow == 'T') rozliczenie_wplaty(total, &paid, &change);
  bool sent = FirstPosition() == 0 && DFParagonStart(count, total, H("RE1")) == 0;
  long rek = f4long(H("REC"));
  while (sent && OfReceipt(rek)) {
    if (!Correction()) {
      std::string name = FldQStr(L("NA1"), 1);
      sent = DFLinia(name.c_str(), f4int(L("VAT")), f4double(L("ILO")), f4double(L("CBR")), f4double(L("WAB"))) == 0;
    }
    if (sent && d4skip(Z5PARE.table, 1) < 0) sent = false;
  }
  if (sent && DFParagonKoniec(total, paid, change, nullptr) == 0) return 0;
  DFAnuluj();
  return -1;
}

int drukuj_paragon(int kind) {
  if (OpenZ5PAWL() != 0) return 0;
  if (kind == 1) {
    static const char* const forms[] = {"                ", "1. OD CEN NETTO", "2. OD CEN BRUTTO", nullptr};
    int form = get_menu_function(" WYBIERZ ", forms, 1, -1, -1);
    if (form > 0) faktura_do_paragonu_wydruk(form);
  } else if (!HasPrinter()) {
    paragon_wydruk();
  } else if (paragon_fiskalny() == 0) {
    MarkPrinted();
  }
  d4close(Z5PAWL.table);
  Z5PAWL.table = nullptr;
  return 0;
}

int32_t drukuj_z_menu(int32_t start) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  static const char* const items[] = {"                    ", "1. PARAGON FISKALNY", Sys("2. FAKTURĘ"), nullptr};
  int item = get_menu_function("DRUKUJ", items, start, -1, -1);
  if (item == 1) {
    if (f4char(H("WYD")) == 'T' && MessageWindow(MB_QUESTION | MB_YES_ESC, MSG_PRINTED, MSG_AGAIN) == KEY_ESC)
      return 0;
    drukuj_paragon(0);
  } else if (item == 2) {
    if (f4int(H("TYF")) == 0)
      Uwaga(MSG_NO_INVOICE);
    else
      drukuj_paragon(1);
  }
  return 0;
}

}  // namespace retail
