#include "sales/payments.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "sales/document_header.h"
#include "sales/document_totals.h"
#include "sales/sales_context.h"
#include "tables/cash_tables.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int FORM_CASH = 1, FORM_PAID_IN_CASH = 6;
constexpr int MSG_ADDED_TO_CASH = 20074;   // "Dopisano do kasy."
constexpr int MSG_HAS_FINAL_INVOICE = 247, MSG_CHANGES_NOT_ADVISED = 32;
constexpr int NOTE_WIDTH = 60;
constexpr const char* AMOUNT_PICTURE = "99999999.99";

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Cash(const char* name) { return d4field(Z5KASA.table, name); }
double HeaderValue(const char* name) { return f4double(Header(name)); }
int Kind() { return f4int(Header("TYV")); }
int Register() { return salesContext ? salesContext->rejestr : 1; }
int SourceType() { return Register() == 2 ? SOURCE_AUXILIARY_SALES : SOURCE_SALES; }
double Rate() { return FldKurs(Header("KKS")); }
double Pln(double amount) { return ROUND(amount * Rate(), 2); }

bool CashForm() {
  int form = kod_formy_platnosci(Header("PLA"));
  return form == FORM_CASH || form == FORM_PAID_IN_CASH;
}

void Copy(char* destination, size_t size, const char* text) {
  std::strncpy(destination, text, size - 1);
  destination[size - 1] = 0;
}
template <size_t N>
void CopyField(char (&destination)[N], const char* name) {
  Copy(destination, N, FldQStr(Header(name), 1));
}
void CopyDate(char* destination, const char* name) {
  std::memcpy(destination, f4ptr(Header(name)), 8);
  destination[8] = 0;
}

// What every request of the current header carries: currency, key,
// document number and title, buyer.
void FillDocument(PlatnoscKasowa& r) {
  std::strcpy(r.waluta, "PLN");
  r.kurs_kwoty = r.kurs_zaplaty = 1.0;
  Copy(r.numer_dokumentu, sizeof r.numer_dokumentu, opis_numeru_dokumentu());
  Copy(r.tytul, sizeof r.tytul, opis_dokumentu_sprzedazy(Register()));
  CopyField(r.kod_kontrahenta, "KNA");
  CopyField(r.nazwa1, "NA1");
  CopyField(r.nazwa2, "NA2");
  CopyField(r.kod_pocztowy, "KOP");
  CopyField(r.miasto, "MIA");
  CopyField(r.ulica, "ULI");
  r.rok = WorkingYear();
  r.rekord = static_cast<int32_t>(d4recno(Z5SPRZ.table));
  r.typ_zrodla = SourceType();
  r.kurs = Rate();
}

// Documents the auxiliary register's payments leave alone: those taken into
// a final or collective invoice.
bool ReadOnlyInAuxiliary() {
  if (Register() != 2) return false;
  int kind = Kind();
  return (f4int(Header("TYM")) > 0 && (kind == 9 || kind == 11 || kind == 10)) ||
         (f4int(Header("AKT")) == 2 && kind == 6);
}

void Redisplay() { browse_call(0, d4recno(Z5SPRZ.table)); }

bool EmptyRegister() { return CurrentBrowse && EmptyBrowseWarning(CurrentBrowse) != 0; }

void Refused(const char* first) { MessageWindow(MB_WARNING, first, MSG_CHANGES_NOT_ADVISED, " "); }

// The refusals of " KP " in the auxiliary register.
bool KpRefused() {
  if (Register() != 2) return false;
  int kind = Kind();
  const char* proForma = Sys("Faktura pro forma ma fakturę zbiorczą.");
  const char* hasFinal = EnvFindString(MSG_HAS_FINAL_INVOICE);
  if (WorkingYear() >= FIRST_YEAR_2024) {
    if (kind == 11 || kind == 10) return Refused(hasFinal), true;
    if (kind == 6) return Refused(proForma), true;
  } else {
    if (f4int(Header("TYM")) > 0 && kind == 9) return Refused(hasFinal), true;
    if (f4int(Header("AKT")) == 2 && kind == 6) return Refused(proForma), true;
  }
  return false;
}

// The payment's entry window, open for its scope.
OpenedWindow PaymentWindow(int row, int col, int height, int width) {
  return OpenedWindow([&] {
    return DefineWprowadzWindow(row, col, height, width, Sys("Wprowadź kwotę płatności"), nullptr, nullptr);
  });
}

void AmountGet(int row, int col, double* value, bool displayOnly) {
  g4double(row, col, value);
  g4picture(AMOUNT_PICTURE);
  if (displayOnly) g4disabled();
}

const char* WorkingDate() {
  static char date[9];
  if (salesContext)
    std::memcpy(date, salesContext->workingDate, 8);
  else
    date4today(date);
  date[8] = 0;
  return date;
}

// Ctrl+P on an advance invoice: the paid amount goes over its lines and the
// lines' sums into the header.
bool SpreadOverAdvanceLines() {
  if (rozloz_zaliczke(HeaderValue("KZA")) != 0) return false;
  if (sumuj_pozycje_dokumentu(0, Register()) != 0) return false;
  zapisz_sumy_naglowka(Kind());
  return true;
}

bool AdvanceInvoice() {
  return WorkingYear() < FIRST_YEAR_2024 ? Register() == 2 && Kind() == 9 : Kind() == 11;
}

}  // namespace

namespace {

// The cash request of the current header: with `zapisz` for an entry written
// at once, else for the cash book window. False when a statement without a
// bank cannot be shown.
bool FillRequest(PlatnoscKasowa& r, int zapisz, double kwota, int suma_zaliczek) {
  r.kod_banku = f4int(Header("TYB"));
  double due = KwotaDoRozliczenia(nullptr);
  bool explicitAmount = kwota > 0;
  if (zapisz) {
    r.kwota_zaplacona = 0;
    r.kwota = Pln(kwota != 0 ? kwota : due);
  } else {
    r.kwota_zaplacona = Pln(kwota);
    r.kwota = Pln(due);
  }
  if (suma_zaliczek)
    r.rodzaj = '4';
  else if (CashForm())
    r.rodzaj = r.kwota >= 0 ? '1' : '2';
  else
    r.rodzaj = '3';
  if (r.rodzaj == '3' && (r.kod_banku < 1 || r.kod_banku > 6)) {
    if (!zapisz) {
      Alarm(Sys("Brak kodu banku."));
      return false;
    }
    r.kod_banku = 1;
  }
  FillDocument(r);
  if (r.rodzaj == '4') {
    std::string title = std::string(r.tytul) + " suma zaliczek";
    Copy(r.tytul, sizeof r.tytul, title.c_str());
  }
  CopyField(r.opis_platnosci, "OZA");
  CopyDate(r.data, FieldIsEmpty(Header("DPL")) || (zapisz && explicitAmount) ? "DAW" : "DPL");
  return true;
}

}  // namespace

int platnosc_kasowa_dokumentu(int zapisz, double kwota, int suma_zaliczek) {
  PlatnoscKasowa r{};
  r.tylko_podglad = ReadOnlyInAuxiliary() ? 1 : 0;
  if (!FillRequest(r, zapisz, kwota, suma_zaliczek)) return 0;
  if (zapisz) {
    if (r.kwota != 0) dopisz_platnosc_do_kasy(&r, 1);
  } else {
    PrzegladajKase(&r, 0, r.tylko_podglad);
  }
  return 0;
}

void platnosc_calej_kwoty(PlatnoscKasowa* request) {
  *request = PlatnoscKasowa{};
  FillRequest(*request, 1, 0, 0);
}

int dopisz_platnosc_do_kasy(PlatnoscKasowa* request, int komunikat) {
  if (dopisz_wpis_kasy(request) != 0) return -1;
  std::string reference = ZrodloKasyQStr();

  // The header is read again under its lock: another workstation's change
  // is kept.
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (record <= 0 || go_and_lock(headers, record) != 0) return -1;
  ToFieldCopyDouble(Header("KZA"), ROUND(f4double(Cash("KWO")) / Rate(), 2));
  ToFieldCopyMaxString(Header("OZA"), reference.c_str());
  bool written = d4write(headers, record) == 0;
  d4flush(headers);
  d4unlock(headers);
  if (!written) return -1;
  if (komunikat) Informacja(MSG_ADDED_TO_CASH);
  return 0;
}

int zapisz_rozliczenie_dokumentu(int wymus) {
  double due = KwotaDoRozliczenia(nullptr);
  if (due == 0) return 1;
  PlatnoscKasowa r{};
  r.kwota = Pln(due);
  r.kwota_zaplacona = Pln(HeaderValue("KZA"));
  r.rodzaj = r.kwota > 0 ? 'N' : 'Z';
  FillDocument(r);
  CopyDate(r.data, "DAW");
  CopyDate(r.termin, "DPL");
  return ZapiszRozliczenie(wymus, &r);
}

int kasa_dokumentu() {
  if (EmptyRegister()) return 0;
  platnosc_kasowa_dokumentu(0, HeaderValue("KZA"), 0);
  Redisplay();
  return 0;
}

int wprowadz_platnosc(int rejestr) {
  (void)rejestr;   // the register of the running context
  if (EmptyRegister()) return 0;
  bool advance = AdvanceInvoice();
  if (advance && f4int(Header("TYM")) > 0) {
    Refused(EnvFindString(MSG_HAS_FINAL_INVOICE));
    return 0;
  }
  double remaining = ROUND((KwotaDoRozliczenia(nullptr) - HeaderValue("KZA")) * Rate(), 2);
  double paid = remaining;
  char date[9];
  std::memcpy(date, WorkingDate(), 9);
  char note[NOTE_WIDTH + 1];
  Copy(note, sizeof note, FldQStr(Header("OZA"), 1));
  int key;
  {
    OpenedWindow window = PaymentWindow(12, 1, 6, 78);
    if (window.handle < 0) return 0;
    static const char* const labels[] = {"kwota należna.", "kwota wpłacana", "data wpłaty...", "opis płatności"};
    for (int i = 0; i < 4; i++) w4(i, 1, Sys(labels[i]));
    AmountGet(0, 16, &remaining, true);
    AmountGet(1, 16, &paid, false);
    g4date(2, 16, date);
    g4picture("DD-MM/YY");
    g4(3, 16, note);
    g4width(NOTE_WIDTH, NOTE_WIDTH);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    key = g4read();
    remove_help_line();
  }
  if (key != KEY_F2) return 0;
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (set_lock(headers, -1) != 0) return 0;
  if (d4go(headers, record) == 0) {
    ToFieldCopyDouble(Header("KZA"), HeaderValue("KZA") + ROUND(paid / Rate(), 2));
    ToFieldCopyMaxString(Header("OZA"), note);
    bool ok = true;
    if (!advance) {
      ustaw_znacznik_zaplaty();
      if (Register() == 1) KorygujDateVatPlatnosci(date, 0);
    } else {
      ok = SpreadOverAdvanceLines();
    }
    if (ok) {
      d4write(headers, record);
      d4flush(headers);
    } else {
      // The payment is dropped: the header as stored comes back.
      d4changed(headers, 0);
      d4go(headers, record);
    }
  }
  d4unlock(headers);
  // The settlement follows the paid state whether settled or not.
  zapisz_rozliczenie_dokumentu(1);
  Redisplay();
  return 0;
}

int wplata_kp_dokumentu() {
  if (EmptyRegister() || KpRefused()) return 0;
  double due = ROUND((KwotaDoRozliczenia(nullptr) - HeaderValue("KZA")) * Rate(), 2);
  double paid = due;
  char date[9];
  std::memcpy(date, WorkingDate(), 9);
  int key;
  {
    OpenedWindow window = PaymentWindow((Desktop.rows - 7) / 2, (Desktop.cols - 40) / 2, 7, 40);
    if (window.handle < 0) return 0;
    static const char* const labels[] = {"data wystawienia..", "", "kwota należna.....", "kwota wpłacana...."};
    for (int i = 0; i < 4; i++) w4(1 + i, 1, Sys(labels[i]));
    g4date(1, 20, date);
    g4picture("DD-MM/YY");
    AmountGet(3, 20, &due, true);
    AmountGet(4, 20, &paid, false);
    key = g4read();
  }
  if (key == KEY_ESC || paid <= 0) return 0;
  zapisz_rozliczenie_dokumentu(1);
  zapisz_wplate_gotowkowa(date, paid);
  Redisplay();
  return 0;
}

void platnosc_po_wydruku() {
  int kind = Kind();
  if (salesOptions.printKp == 'N' || !CashForm() || kind < 1 || kind > 9 || kind == 5 || kind == 6) return;
  double amount = Pln(HeaderValue("KZA"));
  if (amount <= 0) return;
  int key;
  {
    OpenedWindow window = PaymentWindow(12, 15, 5, 50);
    if (window.handle < 0) return;
    w4(1, 1, Sys("kwota wpłacana...."));
    AmountGet(1, 20, &amount, false);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    key = g4read();
    remove_help_line();
  }
  if (key == KEY_ESC || amount <= 0) return;
  zapisz_rozliczenie_dokumentu(1);
  char date[9];
  CopyDate(date, "DAW");
  zapisz_wplate_gotowkowa(date, amount);
}

int zapisz_wplate_gotowkowa(const char* data, double kwota) {
  PlatnoscKasowa r{};
  r.rodzaj = kwota > 0 ? '1' : '2';
  r.kwota = kwota;
  FillDocument(r);
  std::memcpy(r.data, data, 8);
  r.data[8] = 0;
  int result = -1;
  if (dopisz_wpis_kasy(&r) == 0) {
    std::string reference = ZrodloKasyQStr();
    result = PrzeniesPlatnoscDoZrodla(0, reference.c_str(), TRANSFER_APPEND_NOTE);
  }
  DrukujKPKW(0);
  return result;
}

void platnosci_po_zapisaniu(int wydrukowano) {
  if (wydrukowano) platnosc_po_wydruku();
  if (f4char(Header("ZAP")) == 'T' && salesOptions.paidToCash == 'T') {
    int kind = Kind();
    bool ownAmount = Register() == 2 && (kind == 9 || kind == 10 || kind == 11);
    platnosc_kasowa_dokumentu(1, ownAmount ? HeaderValue("KZA") : 0, 0);
  }
  zapisz_rozliczenie_dokumentu(0);
}
