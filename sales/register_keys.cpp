#include <string>

#include "app/document_lines_view.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/address_clipboard.h"
#include "masterdata/tax_number_checks.h"
#include "printouts/payment_demand.h"
#include "sales/buyer.h"
#include "sales/cash_documents.h"
#include "sales/currency_view.h"
#include "sales/document_copies.h"
#include "sales/document_header.h"
#include "sales/document_preview.h"
#include "sales/document_totals.h"
#include "sales/header_form.h"
#include "sales/marks_dialogs.h"
#include "sales/payments.h"
#include "sales/recipient_window.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/rights.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int FORM_ROWS = 25;
constexpr int16_t RES_HEADER_FORM = 67, RES_CORRECTION_FORM = 68;

enum Keys {
  K_CTRL_C = 3, K_CTRL_E = 5, K_CTRL_F = 6, K_CTRL_J = 10, K_CTRL_K = 11, K_CTRL_N = 14, K_CTRL_O = 15,
  K_CTRL_P = 16, K_CTRL_T = 20, K_CTRL_V = 22, K_CTRL_X = 24,
  K_ALT_O = 0x1800, K_ALT_P = 0x1900, K_ALT_D = 0x2000, K_ALT_F = 0x2100, K_ALT_M = 0x3200,
  K_F3 = 0x3D00, K_F4 = 0x3E00, K_F5 = 0x3F00, K_F7 = 0x4100, K_F8 = 0x4200,
  K_ALT_F3 = 0x6A00, K_ALT_F4 = 0x6B00, K_ALT_F5 = 0x6C00, K_ALT_F8 = 0x6F00,
};

constexpr int RIGHT_ADD = 1110, RIGHT_HEADER = 1141, RIGHT_PAYMENT = 1145;
constexpr int MSG_HAS_FINAL_INVOICE = 247, MSG_CHANGES_NOT_ADVISED = 32;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
int Kind() { return f4int(Header("TYV")); }
int Register() { return salesContext ? salesContext->rejestr : 1; }
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }


void Redisplay() { browse_call(0, d4recno(Z5SPRZ.table)); }

// The header locked and read again, so that another workstation's change is
// not written over; 0 when it is ours.
int LockHeader() {
  long record = d4recno(Z5SPRZ.table);
  return record > 0 ? go_and_lock(Z5SPRZ.table, record) : -1;
}

void WriteHeader() {
  d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table));
  d4flush(Z5SPRZ.table);
}

const char* YesNo(char mark) { return mark == 'T' ? "TAK" : "NIE"; }

void PaidFlag() {
  if (LockHeader() != 0) return;
  DbField* zap = Header("ZAP");
  char before = static_cast<char>(f4char(zap));
  char now = KwotyRozliczone(KwotaDoRozliczenia(nullptr), f4double(Header("KZA"))) ? 'T' : 'N';
  if (now != before) {
    f4assign_char(zap, now);
    WriteHeader();
  }
  d4unlock(Z5SPRZ.table);
  if (now == before)
    Informacja(Sys("Status 'Czy zapłacono?' bez zmian.").c_str());
  else
    Informacja(PrintfQStr(Sys("Zmieniono status 'Czy zapłacono?' na %s").c_str(), YesNo(now)));
  Redisplay();
}

void VatPayerStatus() {
  char wanted = 0;
  if (mainOptions.onlineNipCheck == 'T') {
    std::string nip = FldQStr(Header("NIP"), 1);
    int result = sprawdz_nip_kontrahenta(nip.c_str(), 0);
    // No register answered: what is known stays.
    if (NipRegisterUnreachable(result)) return;
    wanted = NipIsVatPayer(result) ? 'T' : 'N';
  }
  if (LockHeader() != 0) return;
  DbField* re3 = Header("RE3");
  char before = static_cast<char>(f4char(re3));
  char now = wanted ? wanted : before == 'T' ? 'N' : 'T';
  f4assign_char(re3, now);
  WriteHeader();
  d4unlock(Z5SPRZ.table);
  if (now != before)
    Informacja(PrintfQStr(Sys("Zmieniono status 'czy podatnik VAT?' na %s").c_str(), YesNo(now)));
  Redisplay();
}

// Ctrl+P of the auxiliary register: documents taken into a final or
// collective invoice keep their payments.
bool PaymentRefused() {
  if (Register() != 2) return false;
  int kind = Kind();
  if (f4int(Header("TYM")) > 0 && kind == 9) {
    MessageWindow(MB_WARNING, MSG_HAS_FINAL_INVOICE, MSG_CHANGES_NOT_ADVISED);
    return true;
  }
  if (f4int(Header("AKT")) == 2 && kind == 6) {
    MessageWindow(MB_WARNING, Sys("Faktura pro forma ma fakturę zbiorczą.").c_str(), MSG_CHANGES_NOT_ADVISED);
    return true;
  }
  return false;
}

void CurrencyView() {
  definicja_rejestru_sprzedazy& d = *definicjaRejestru;
  d.currencyView = (d.currencyView + 1) % 3;
  podpowiedz_widoku_waluty(d.currencyView, CURRENCY_VIEW_HINT);
  Redisplay();
}

}  // namespace

void wybierz_formularz_naglowka(int kind) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return;
  if (kind == 3 || kind == 4)
    c->edit_lines_source = []() -> int16_t { return RES_CORRECTION_FORM; };
  else
    c->edit_lines_source = []() -> int16_t { return RES_HEADER_FORM; };
  c->edit_lines_count = FORM_ROWS;
  c->append_edits = pola_formularza(kind == 3 || kind == 4);
  c->edit_texts = teksty_formularza(kind == 3 || kind == 4);
  c->edit_height = FORM_ROWS + 2;   // with its frame
}

int klawisze_rejestru_sprzedazy(int key) {
  definicja_rejestru_sprzedazy& d = *definicjaRejestru;
  bool from2024 = WorkingYear() >= FIRST_YEAR_2024;
  if (key == K_F3) d.f3Count++;
  if ((key == KEY_INS || key == K_ALT_D) && pass_tab_test_and_inform(RIGHT_ADD)) dopisz_lub_modyfikuj_opis(0);
  if (key == K_ALT_M && pass_tab_test_and_inform(RIGHT_HEADER)) dopisz_lub_modyfikuj_opis(1);
  wybierz_formularz_naglowka(Kind());
  switch (key) {
    case KEY_F2: podglad_dokumentu(); break;
    case K_F3: przelacz_dokument_pozycje(key); break;
    case K_CTRL_C:
      if (pass_tab_test_and_inform(RIGHT_ADD)) kopiuj_lub_koryguj_dokument(0);
      break;
    case K_CTRL_E: wezwanie_do_zaplaty(0); break;
    case K_CTRL_F:
    case K_CTRL_J:
      if (!from2024 && Register() == 1)
        zamien_rodzaj_faktury(key);
      else if (key == K_CTRL_F && from2024 && Register() == 2 && (Kind() == 10 || Kind() == 11))
        zamien_rodzaj_zaliczkowej(Kind());
      break;
    case K_CTRL_K:
      if (pass_tab_test_and_inform(RIGHT_PAYMENT)) kasa_dokumentu();
      break;
    case K_CTRL_N: zmien_numer_dokumentu(0); break;
    case K_CTRL_O: okno_odbiorcy(); break;
    case K_CTRL_P:
      if (!PaymentRefused() && pass_tab_test_and_inform(RIGHT_PAYMENT)) wprowadz_platnosc(Register());
      break;
    case K_CTRL_T:
      if (pass_tab_test_and_inform(RIGHT_HEADER)) zmien_typ_dostawy(key, 0);
      break;
    case K_CTRL_V:
      if (pass_tab_test_and_inform(RIGHT_HEADER)) zmien_date_vat();
      break;
    case K_CTRL_X:
      if (Register() == 1 || !from2024) zamien_fakture_maly_podatnik(Register());
      break;
    default: break;
  }
  kopiuj_adres(key);
  if (d.f3Count >= 2) {
    ShowLinkedDocuments();
    d.f3Count = 0;
  }
  switch (key) {
    case K_F4: przenies_dokument(); break;
    case K_F5: CurrencyView(); break;
    case K_F7: PaidFlag(); break;
    case K_F8: VatPayerStatus(); break;
    case K_ALT_F:
    case KEY_ALT_F1: skroty_klawiszowe(Register()); break;
    case K_ALT_F5:
      if (pass_tab_test_and_inform(RIGHT_PAYMENT)) dopisz_dokumenty_kasowe();
      break;
    case K_ALT_F8:
      if (mainOptions.onlineNipCheck == 'T') sprawdz_nip_dokumentow();
      break;
    default: break;
  }
  if (salesOptions.procedureMarks != 'T' || f4char(Header("STM")) == '4') return 0;
  if ((key == K_ALT_O || key == K_ALT_F3) && Kind() != 5) oznaczenia_dokumentu(1);
  if (key == K_ALT_P || key == K_ALT_F4) oznaczenia_dokumentu(0);
  return 0;
}
