// The life of one receipt header: " Dopisz " appends it at once and starts
// the printer's receipt when it prints online, the header form runs the
// positions, the save numbers it and checks it against its positions, the
// closing ends the printer's receipt with the optional change window; the
// cancellation and the later changes of the header and its positions.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/validators.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "retail/receipt_invoice.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "tables/catalogue.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace retail {

namespace {

constexpr int MSG_PRINTED = 235;           // "Paragon został wydrukowany !"
constexpr int MSG_NO_INVOICE = 232;        // "Brak zdefiniowanego dokumentu VAT !"
constexpr int MSG_OTHER_YEAR = 246;        // "Data systemowa różna od roku rozrachunkwego."
constexpr int MSG_START_PRINT = 20051;     // " Czy rozpocząć wydruk ?"
constexpr int MSG_BAD_NIP = 20020;         // "Błędny NIP !"
constexpr int BUYER_BY_RECEIPT = 1;
constexpr int KEY_F4 = 0x3E00;
constexpr int HINT_ORDER_POSITIONS = 7;
constexpr int FORM_BACKGROUND = 0x17, FORM_RECORD = 0x1F;
constexpr int SETTLE_ROW = 8, SETTLE_COL = 24, SETTLE_HEIGHT = 7, SETTLE_WIDTH = 31;

DbField* H(const char* name) { return d4field(Z5PARA.table, name); }

bool Modifying() { return CurrentBrowse && CurrentBrowse->modify_mode; }

int WriteHeader() {
  DbTable* t = Z5PARA.table;
  return d4write(t, d4recno(t)) == 0 && d4flush(t) == 0 ? 0 : -1;
}

void RedisplayForm() {
  BrowseContext* c = CurrentBrowse;
  if (c && c->edit_window >= 0) wyswietl_edit_window_modify(c, c->edit_window, FORM_BACKGROUND, FORM_RECORD);
  OdswiezGety();
}

// A text option cut to the field's width.
void CutTo(char* out, const char* option, int width) {
  std::memset(out, ' ', static_cast<size_t>(width));
  out[width] = '\0';
  std::memcpy(out, option, std::min(std::strlen(option), static_cast<size_t>(width)));
}

// Deletes the current header with its positions (goods back to stock) and
// buyer record; a refused give-back keeps it.
void DeleteCurrentReceipt() {
  DbTable* t = Z5PARA.table;
  long record = d4recno(t);
  if (record <= 0 || go_and_lock(t, record) != 0) return;
  if (usun_paragon() == 0 && d4go(t, record) == 0) {
    d4delete(t);
    d4flush(t);
  }
  d4unlock(t);
}

}  // namespace

bool paragon_online() {
  return parametryDetal.printAfterSave == 'T' && dfSesja && dfSesja->driver != DF_DRIVER_NONE &&
         dfSesja->printMode == 1;
}

void MarkPrinted() {
  DbTable* t = Z5PARA.table;
  long record = d4recno(t);
  if (set_lock(t, -1) != 0) {
    Uwaga(Sys("Paragon wydrukowano, lecz nie oznaczono go jako wydrukowanego."));
    return;
  }
  d4go(t, record);
  f4assign_char(H("WYD"), 'T');
  d4write(t, record);
  d4flush(t);
  d4unlock(t);
}

// ---- a new receipt

int nadaj_rec_paragonu(int) {
  f4assign_long(H("REC"), d4reccount(Z5PARA.table) + 1);
  return 0;
}

int dopisz_paragon() {
  static const char* const items[] = {"          ", Sys("1. ZWYKŁY"), Sys("2. MARŻA "), nullptr};
  int item = get_menu_function("DOPISZ PARAGON", items, 1, -1, -1);
  if (item < 0) return -1;
  DbTable* t = Z5PARA.table;
  numer_paragonu& n = kontekstParagonow->numer;
  n.mode = NUMER_PARAGONU;
  n.invoiceKind = 0;
  CutTo(n.prefix, parametryDetal.receiptIdent, static_cast<int>(f4len(H("PRE"))));
  wyrownaj_w_prawo(n.prefix, static_cast<int>(f4len(H("PRE"))));
  CutTo(n.suffix, parametryDetal.receiptSuffix, static_cast<int>(f4len(H("POS"))));
  n.number = 0;

  d4blank(t);
  f4assign(H("PRE"), n.prefix);
  f4assign_long(H("NRV"), 0);
  f4assign(H("POS"), n.suffix);
  f4assign_char(H("STA"), item == 2 ? 'T' : 'N');
  f4assign_long(H("TRY"), parametryDetal.netSpecification == 'T' ? 1 : 2);
  f4assign_char(H("WYD"), 'N');
  const char* today = get_cur_das(0);
  if (date4year(today) != WorkingYear()) {
    Alarm(MSG_OTHER_YEAR);
    d4unlock(t);
    return -1;
  }
  f4assign(H("DSP"), std::string(today, 8).c_str());
  f4assign(H("OP"), parametryDetal.vatFromNet == 'T' ? "TAK" : "NIE");
  int appended = lock_and_append(t, nadaj_rec_paragonu, nullptr);
  d4unlock(t);
  if (appended != 0) return -1;
  paragonOnline = ParagonOnline{};
  paragonOnline.drukowany = paragon_online() ? 1 : 0;
  if (paragonOnline.drukowany) {
    if (DFParagonStart(0, 0, nullptr) == 0)
      paragonOnline.otwarty = 1;
    else
      DFAnuluj();
  }
  return 0;
}

int klawisz_daty_paragonu(Get4*, char*, int32_t) {
  if (Modifying()) return KEY_ENTER;
  if (pozycje_i_sumy_paragonu(0) == 0) return KEY_ESC;
  RedisplayForm();
  return KEY_ENTER;
}

int klawisz_uwag_paragonu(Get4*, char*, int32_t) {
  if (Modifying()) return 0;
  if (f4double(H("NET")) == 0 && f4double(H("VAT")) == 0 && f4double(H("BRU")) == 0) return KEY_ESC;
  if (parametryDetal.remarks == 'N') return KEY_F2;
  set_fun_help("F4", "Pozycje", HINT_ORDER_POSITIONS);
  int key = g4char();
  if (key == KEY_F4) {
    if (pozycje_i_sumy_paragonu(0) == 1) RedisplayForm();
    return KEY_HOME;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int sprawdz_nip_paragonu(Get4* get) {
  std::string nip(static_cast<const char*>(get->data), static_cast<size_t>(get->dataWidth));
  nip.erase(nip.find_last_not_of(' ') + 1);
  int r = SprawdzNip(nip.c_str());
  if (r == 0 || r == 1 || r == -1) return 0;
  Uwaga(MSG_BAD_NIP);
  return -1;
}

int pozycje_i_sumy_paragonu(int mode) {
  if (mode == 0) PushKeyMessage('D', 1);
  if (pozycje_paragonu(mode == 0 ? 0 : 1, f4int(H("TRY")), 0) != 0) return 0;
  if (f4ptr(H("OP"))[0] == 'T' && korekta_podsumowania() < 0) return 0;
  if (sumuj_pozycje_paragonu() < 0) return 0;
  f4assign_double(H("NET"), sumy_pozycji[0]);
  f4assign_double(H("VAT"), sumy_pozycji[1]);
  f4assign_double(H("BRU"), sumy_pozycji[2]);
  f4assign_double(H("ZAP"), sumy_pozycji[2]);
  return 1;
}

int zapisz_paragon() {
  DbTable* t = Z5PARA.table;
  DbTable* lines = Z5PARE.table;
  long record = d4recno(t);
  bool locked = set_lock(t, -1) == 0;
  bool linesLocked = locked && set_lock(lines, -1) == 0;
  bool ok = linesLocked;
  if (ok) {
    f4assign_long(H("AKT"), 1);
    ok = WriteHeader() == 0;
  }
  if (ok) {
    // The number is taken under the table's lock: no other workstation
    // can save the same one meanwhile.
    ok = kolejny_numer(0) == 0 && d4go(t, record) == 0;
    if (ok) {
      f4assign_long(H("NRV"), kontekstParagonow->numer.number);
      ok = WriteHeader() == 0;
    }
  }
  if (ok) ok = zgodnosc_paragonu() == 0;
  if (ok) {
    f4assign_long(H("AKT"), 0);
    ok = WriteHeader() == 0;
  }
  if (linesLocked) d4unlock(lines);
  if (locked) d4unlock(t);
  if (ok) return 0;
  anuluj_paragon_online();
  if (d4go(t, record) == 0) DeleteCurrentReceipt();
  return -1;
}

int anuluj_paragon() {
  anuluj_paragon_online();
  DeleteCurrentReceipt();
  return 0;
}

int rozliczenie_wplaty(double due, double* paid, double* change) {
  *paid = *change = 0;
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(SETTLE_ROW, SETTLE_COL, SETTLE_HEIGHT, SETTLE_WIDTH, "Rozliczenie", nullptr,
                                    nullptr);
  if (window < 0) return 0;
  w4activate(window);
  char amount[32];
  std::snprintf(amount, sizeof amount, "%11.2f", due);
  w4(1, 1, Sys("Do zapłaty -"));
  w4(1, 14, amount);
  w4(2, 1, Sys("Wpłacono   -"));
  double given = due;
  g4double(2, 14, &given);
  g4picture("99999999.99");
  if (g4read() == KEY_ENTER) {
    *paid = given;
    *change = std::max(0.0, ROUND(given - due, 2));
    w4repeat(3, 0, '-', SETTLE_WIDTH - 2);
    std::snprintf(amount, sizeof amount, "%11.2f", *change);
    w4(4, 1, "Reszta     -");
    w4(4, 14, amount);
    g4char();
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return 0;
}

int zamknij_paragon() {
  if (parametryDetal.printAfterSave != 'T' || !dfSesja) return 0;
  if (dfSesja->printMode == 0) {
    if (Pytanie(MSG_START_PRINT) != KEY_ESC) drukuj_paragon(0);
    return 0;
  }
  // A receipt whose printer's receipt was cancelled sends nothing more.
  if (dfSesja->driver == DF_DRIVER_NONE || !paragonOnline.otwarty) return 0;
  // The printer's lines are the saved positions but the corrections: their
  // gross sum is the total due.
  int count = 0;
  double total = 0;
  if (pozycje_do_druku(&count, &total) != 0) {
    anuluj_paragon_online();
    return 0;
  }
  double paid = 0, change = 0;
  if (parametryDetal.paidWindow == 'T') rozliczenie_wplaty(total, &paid, &change);
  paragonOnline.otwarty = 0;
  if (DFParagonKoniec(total, paid, change, H("RE1")) == 0)
    MarkPrinted();
  else
    DFAnuluj();
  return 0;
}

// ---- changes of a saved receipt

int przed_modyfikacja_paragonu() {
  if (f4char(H("WYD")) == 'T') Uwaga(MSG_PRINTED);
  return 0;
}

int po_modyfikacji_paragonu() {
  DbTable* lines = Z5PARE.table;
  if (set_lock(lines, -1) != 0) return -1;
  f4assign_long(H("AKT"), 1);
  int result = WriteHeader() == 0 && zgodnosc_paragonu() == 0 ? 0 : -1;
  if (result == 0) f4assign_long(H("AKT"), 0);
  d4unlock(lines);
  if (f4int(H("TYF")) != 0) {
    DbTable* buyers = Z5PARO.table;
    if (set_lock(buyers, -1) == 0) {
      d4tag_select(buyers, Z5PARO.tag[BUYER_BY_RECEIPT]);
      if (d4seek_double(buyers, f4double(H("REC"))) == 0) {
        ToFieldCopyField(d4field(buyers, "NIP"), H("RE1"));
        set_pass_inf(STAMP_KIND_MODIFIED, d4field(buyers, "INF"));
        d4write(buyers, d4recno(buyers));
        d4flush(buyers);
      }
      d4unlock(buyers);
    }
  }
  return result;
}

int32_t modyfikuj_pozycje_paragonu(int32_t) {
  BrowseContext* c = CurrentBrowse;
  if (EmptyBrowseWarning(c) != 0) return 0;
  if (f4char(H("WYD")) == 'T') Uwaga(MSG_PRINTED);
  DbTable* t = Z5PARA.table;
  long record = d4recno(t);
  if (go_and_lock(t, record) != 0) return -1;
  f4assign_long(H("AKT"), 1);
  int failed = WriteHeader();
  if (failed == 0) {
    if (pozycje_i_sumy_paragonu(1) == 1) f4assign_long(H("AKT"), 0);
    failed = d4recno(t) == record ? 0 : -1;
  }
  if (failed == 0) failed = WriteHeader();
  d4unlock(t);
  browse_call(0, record);
  return failed;
}

int32_t modyfikuj_opis(int32_t item) {
  if (item == 1) return browse_modyfikuj(0);
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  if (f4int(H("TYF")) == 0) {
    Uwaga(MSG_NO_INVOICE);
    return 0;
  }
  return edytuj_dane_faktury();
}

}  // namespace retail
