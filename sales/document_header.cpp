#include "sales/document_header.h"

#include <cmath>
#include <cstring>
#include <list>
#include <string>
#include <vector>

#include "app/document_kinds.h"
#include "app/link_numbers.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "masterdata/stock_update.h"
#include "printouts/invoice_print.h"
#include "sales/buyer.h"
#include "sales/document_conversions.h"
#include "sales/document_lines.h"
#include "sales/document_preview.h"
#include "sales/document_totals.h"
#include "sales/header_form.h"
#include "sales/interrupted_entry.h"
#include "sales/numbering.h"
#include "sales/payments.h"
#include "sales/sale_without_invoice.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "sales/vat_summary_entry.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr double SPLIT_PAYMENT_LIMIT = 15000;
constexpr int MSG_TOTALS_DIFFER = 20131, MSG_CHECK_LINES = 20165, MSG_START_PRINT = 20051;
constexpr int MSG_FINAL_INVOICE = 23, MSG_HAS_FINAL_INVOICE = 247, MSG_CHANGES_NOT_ADVISED = 32;
constexpr int NKV_TRIANGULAR = 5, NKV_SPLIT_PAYMENT = 13, MARK_POSITIONS = 13, NO_DEFAULT_MARK = 14;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* L(const char* name) { return d4field(Z5SPRE.table, name); }
kontekst_sprzedazy& Ctx() { return *salesContext; }
definicja_rejestru_sprzedazy& Def() { return *definicjaRejestru; }
int Register() { return salesContext->rejestr; }
bool From2024() { return WorkingYear() >= FIRST_YEAR_2024; }
char Mark(const char* name) { return static_cast<char>(f4char(H(name))); }

void SetText(const char* name, const char* utf8) { FldCopyString(H(name), Sys(utf8)); }

// Position (1-based) of a marks field set to the character.
void SetPosition(DbField* field, int position, char c) {
  if (position >= 1 && position <= static_cast<int>(f4len(field))) f4assign_ptr(field)[position - 1] = c;
}

bool AnyPositionSet(DbField* field, int count) {
  const char* p = f4ptr(field);
  for (int i = 0; i < count && i < static_cast<int>(f4len(field)); i++)
    if (p[i] == 'T') return true;
  return false;
}

int WriteCurrentHeader() {
  DbTable* t = Z5SPRZ.table;
  return d4write(t, d4recno(t)) != 0 || d4flush(t) != 0 ? -1 : 0;
}

// The whole table locked; 0, or non-zero when the operator gave up.
int LockTable(DbTable* table) { return set_lock(table, -1); }

// ---- the menus of a new document

const char* const* Items(const std::vector<const char*>& texts) {
  static std::list<std::vector<std::string>> kept;
  static std::list<std::vector<const char*>> lists;
  std::vector<std::string>& k = kept.emplace_back();
  for (const char* t : texts) k.push_back(Sys(t));
  std::vector<const char*>& l = lists.emplace_back();
  for (const std::string& s : k) l.push_back(s.c_str());
  l.push_back(nullptr);
  return l.data();
}

// The kind menus open 2 rows below and 22 columns right of the list's origin.
void MenuPlace(int* row, int* col) {
  *row = 2;
  *col = 22;
  if (CurrentBrowse && CurrentBrowse->list_window >= 0) {
    int previous = w4select(CurrentBrowse->list_window);
    *row += w4start_row();
    *col += w4start_col();
    w4select(previous);
  }
}

// The kind chosen in the kind menu of the register and year; -1 on Esc.
int ChooseKind() {
  bool from2024 = From2024();
  bool main = Register() == 1;
  const char* const* list;
  static const int k2024Main[] = {0, 1, 7, 8, 3, 5, 2, 4};
  static const int k2024Aux[] = {0, 11, 10, 9, 3, 6};
  if (from2024 && main) {
    static const char* const* l = Items({"1. FAKTURA                FV", "1. FAKTURA                FV",
                                         "2. FAKTURA mały podatnik  MP", "3. FAKTURA marża          FM",
                                         "4. KOREKTA faktury        FK", "5. SPRZEDAŻ bezrachunkowa BR",
                                         "6. RACHUNEK               RA", "7. KOREKTA rachunku       RK"});
    list = l;
  } else if (from2024) {
    static const char* const* l = Items({"1. FAKTURA zaliczkowa     FZ", "1. FAKTURA zaliczkowa     FZ",
                                         "2. ZALICZKOWA do paragonu ZP", "3. FAKTURA do paragonu    FP",
                                         "4. KOREKTA                FK", "5. FAKTURA PRO FORMA      PF"});
    list = l;
  } else {
    // The menu's first entry is the item it starts on.
    static const char* const* lists[2] = {};
    const char* const*& l = lists[main ? 0 : 1];
    if (!l) {
      std::vector<const char*> items = AddKindItemsBefore2024(main ? 1 : 2);
      items.insert(items.begin(), items.front());
      l = Items(items);
    }
    list = l;
  }
  int row, col;
  MenuPlace(&row, &col);
  int chosen = get_menu_function(" WYBIERZ ", list, 1, row, col);
  if (chosen < 1) return -1;
  if (from2024) return main ? k2024Main[chosen] : k2024Aux[chosen];
  return chosen;
}

const char* const* DeliveryMenu() {
  static const char* const* l =
      Items({"9. WDT trójstr. drugi podatnik", "1. KRAJOWA", "2. WDT", "3. EKSPORT", "4. OSS", "5. UE-usługi",
             "6. POZA KRAJEM", "7. WDT trójstronna", "8. ZWROT podróżnym", "9. WDT trójstr. drugi podatnik"});
  return l;
}

// The kind of the corrected document; -1 on Esc (in every year: a
// correction without it would be stored with no corrected kind).
int ChooseCorrectedKind() {
  bool main = Register() == 1;
  const char* const* list;
  const int* kinds;
  static const int kMain[] = {0, 1, 7, 8, 9}, kAux2024[] = {0, 11, 10, 9};
  if (From2024() && !main) {
    static const char* const* l = Items({"1. FAKTURA zaliczkowa    ", "1. FAKTURA zaliczkowa    ",
                                         "2. ZALICZKOWA do paragonu", "3. FAKTURA do paragonu   "});
    list = l;
    kinds = kAux2024;
  } else if (!From2024() && main) {
    static const char* const* l =
        Items({"1. FAKTURA                 -FV", "1. FAKTURA                 -FV", "2. FAKTURA mały podatnik   -MP",
               "3. FAKTURA marża           -FM", "4. FAKTURA do paragonu     -FP"});
    list = l;
    kinds = kMain;
  } else {
    static const char* const* l = Items({"1. FAKTURA                 -FV", "1. FAKTURA                 -FV",
                                         "2. FAKTURA mały podatnik   -MP", "3. FAKTURA marża           -FM"});
    list = l;
    kinds = kMain;
  }
  int row, col;
  MenuPlace(&row, &col);
  int chosen = get_menu_function(Sys(" WYBIERZ TYP KORYGOWANEGO DOKUMENTU"), list, 1, row, col);
  return chosen < 1 ? -1 : kinds[chosen];
}

// What the menus of a new document decided, asked before the number is
// taken so that no menu waits with the headers table locked.
struct NewDocumentChoices {
  int delivery;        // 0 before 2024
  int correctedKind;   // 0 when not asked
};

int AskNewDocumentChoices(int kind, NewDocumentChoices* out) {
  *out = {0, 0};
  if (From2024()) {
    if (kind == 2 || kind == 4) {
      out->delivery = 1;
    } else {
      int chosen = get_menu_function(" DOSTAWA", DeliveryMenu(), Def().lastDelivery, -1, -1);
      if (chosen < 1) return -1;
      out->delivery = chosen;
      Def().lastDelivery = chosen;
    }
  }
  if (kind == 3) {
    out->correctedKind = ChooseCorrectedKind();
    if (out->correctedKind < 0) return -1;
  }
  return 0;
}

// The exemption basis entry n of the list without its "n. ".
const char* ExemptionBasis(int n) {
  static const char* const kBasis[] = {"art.43 ust.1 ustawy o ptu. ", "art.113 ust.1 ustawy o ptu.",
                                       "art.113 ust.9 ustawy o ptu.", "brak"};
  return n >= 1 && n <= 4 ? kBasis[n - 1] : "";
}

void FillDefaults(int kind, const NewDocumentChoices& choices) {
  kontekst_sprzedazy& c = Ctx();
  bool from2024 = From2024();
  if (!from2024) {
    f4assign_char(H("TTR"), 'N');
    f4assign_char(H("ANU"), 'T');
    f4assign(H("WAL"), "PLN");
    f4assign(H("KRA"), "POLSKA");
    f4assign_char(H("RE3"), 'T');
  } else {
    int d = choices.delivery;
    f4assign(H("WAL"), "PLN");
    f4assign_char(H("TTR"), d == 7 || d == 9 ? 'T' : 'N');
    f4assign_char(H("ANU"), d == 2 || d == 5 || d == 7 || d == 9 ? 'T' : 'N');
    if (d == 4) {
      f4assign(H("WAL"), "EUR");
      f4assign_char(H("RE3"), 'N');
      f4assign_char(H("ANU"), 'N');
    }
  }
  if (kind == 3) f4assign_long(H("TYM"), choices.correctedKind);
  if (kind == 4) f4assign_long(H("TYM"), 2);
  if (kind == 8) f4assign_long(H("KSM"), salesOptions.list102);
  f4assign_long(H("TYV"), kind);
  if (salesOptions.standardNumbering == 'T') {
    wpisz_numer_do_naglowka(H("PRE"), H("NRV"), H("POS"), &c.next);
  } else {
    FldCopyString(H("OSM"), c.freeNumber);
    f4assign_char(H("RE4"), 'N');
  }
  f4assign_long(H("TYB"), 1);
  bool margin = kind == 8 || ((kind == 3 || kind == 4) && f4int(H("TYM")) == 8);
  f4assign_long(H("TRY"), margin ? 2 : 1);
  if (margin) f4assign_long(H("STA"), 1);
  if (kind == 2 || kind == 4 || kind == 5)
    f4assign_char(H("STM"), '1');
  else
    f4assign_char(H("STM"), '0' + (from2024 ? choices.delivery : Def().lastDelivery));
  for (const char* date : {"DAW", "DAS", "DAV"}) f4assign_n(H(date), c.workingDate, 8);
  if (kind == 7 && salesOptions.cashVat == 'T') EmptyField(H("DAV"));
  f4assign_char(H("ZAP"), 'N');
  f4assign_char(H("STV"), 'T');
  f4assign_char(H("PKA"), Def().cashPitShown && czy_dokument_pit_kasowego(0) ? 'T' : 'N');
  f4assign_long(H("SDR"), Def().advanceFlag >= 1 ? Def().advanceFlag : 1);
  wpisz_wystawiajacego(H("WYS"));
  FldCopyString(H("PLA"), salesOptions.usualPayment);
  f4assign_double(H("KVA"), 1);
  f4assign_double(H("KKS"), 1);
  FldCopyString(H("RE1"), ExemptionBasis(salesOptions.list103));
  if (salesOptions.list131 != NO_DEFAULT_MARK) SetPosition(H("NKV"), salesOptions.list131, 'T');
  SetPosition(H("NKV"), NKV_TRIANGULAR, Mark("TTR") == 'T' ? 'T' : 'N');
  if (salesOptions.list132 != NO_DEFAULT_MARK) SetPosition(H("NKK"), salesOptions.list132, 'T');
  f4assign_long(H("TFA"), salesOptions.stored18 == 'T' ? 1 : salesOptions.stored24 == 'T' ? 2 : 0);
  SetText("OP1", kind == 3 ? "korekta sprzedaży" : "sprzedaż");
}

bool NukEditable(int kind) {
  if (From2024()) return Register() == 2 && (kind == 9 || kind == 10);
  if (kind != 9) return false;
  return Register() == 1 || Def().advanceFlag == 3;
}

// The linked number typed in the form goes into NUK: for the documents whose
// form offers it, and for every correction (its corrected document, kept in
// the form " Koryguj " gives it). A longer number a correction was made with
// stays while its start is unchanged.
void TakeTypedNuk(int kind) {
  bool correction = kind == 3 || kind == 4;
  if (!NukEditable(kind) && !correction) return;
  std::string typed = Def().nuk;
  if (correction) {
    typed = StoredLinkNumber(Z5SPRZ.table, H("NUK"), typed);
    if (std::strncmp(f4ptr(H("NUK")), typed.c_str(), typed.size()) == 0) return;
  }
  FldCopyString(H("NUK"), typed.c_str());
}

// Deletes the current header through the register's delete rules without a
// question; 0 when it went, else non-zero.
int DeleteCurrentHeader() {
  DbTable* t = Z5SPRZ.table;
  long record = d4recno(t);
  if (record <= 0 || go_and_lock(t, record) != 0) return -1;
  int answer = przed_usunieciem_dokumentu();
  if (answer != 0) {
    d4unlock(t);
    return answer;
  }
  if (d4go(t, record) != 0) {
    d4unlock(t);
    return -1;
  }
  d4delete(t);
  int failed = d4flush(t) != 0;
  if (d4unlock(t) != 0) failed = 1;
  return failed ? -1 : 0;
}

// While a document moves to the other register its lines go with their
// stock and its cash entries stay: only the header and lines here go.
bool moving = false;

int SourceType() { return Register() == 1 ? SOURCE_SALES : SOURCE_AUXILIARY_SALES; }

// A final or collective invoice of the main register holds gathered
// documents of the auxiliary one; its AKT is the choice it was made by.
bool IsGatheringInvoice(int akt) { return akt == 1 || akt == 2 || akt == 3; }

}  // namespace

const char* podstawa_zwolnienia(int n) { return ExemptionBasis(n); }

void wpisz_wystawiajacego(DbField* wys) {
  const char* byOption = salesOptions.issuedBy;
  if (QuickStr(byOption, -1, 1)[0] != 0)
    FldCopyString(wys, byOption);
  else
    FldCopyString(wys, QuickStr(EnvCurrent()->operatorFullName, -1, 1));
}

// ---- totals

void zapisz_sumy_naglowka(int kind) {
  const double* sums = sumyDokumentu.document;
  double amount;
  bool correction = kind == 3 || kind == 4 || kind >= 12;
  if (!correction) {
    f4assign_double(H("NET"), sums[SUM_NET]);
    f4assign_double(H("VAT"), sums[SUM_VAT]);
    f4assign_double(H("BRU"), sums[SUM_GROSS]);
    amount = f4double(H("BRU"));
  } else {
    f4assign_double(H("KRN"), sums[SUM_CORRECTION_NET]);
    f4assign_double(H("KRV"), sums[SUM_CORRECTION_VAT]);
    amount = std::fabs(f4double(H("KRN")) + f4double(H("KRV")));
  }
  // The split-payment limit is in złote: a foreign-currency amount counts
  // at the document's VAT rate.
  double inPln = ROUND(amount * FldKurs(H("KVA")), 2);
  definicja_rejestru_sprzedazy* d = definicjaRejestru;
  if (kind != 5 && d && !d->splitPaymentAnswered && inPln > SPLIT_PAYMENT_LIMIT &&
      Pytanie(Sys("Czy mechanizm podzielonej płatności?")) != KEY_ESC) {
    d->splitPaymentAnswered = true;
    f4assign_long(H("NRM"), 1);
    SetPosition(H("NKV"), NKV_SPLIT_PAYMENT, 'T');
    odswiez_teksty_formularza();
  }
  if (salesContext->exemptRows == 1) {
    std::string basis = FldQStr(H("RE1"), 1);
    if (basis.empty() || basis.compare(0, 4, "brak") == 0) FldCopyString(H("RE1"), ExemptionBasis(1));
  }
  bool from2024 = From2024();
  if (kind == 9 && (from2024 || Register() == 1)) {
    f4assign_double(H("KZA"), amount);
    f4assign_char(H("ZAP"), 'T');
  }
  if (from2024) {
    if (kind == 5) {
      f4assign_double(H("KZA"), amount);
      f4assign_char(H("ZAP"), 'T');
    }
    if (kind != 10 && kind != 11) ustaw_stan_zaplaty();
  } else if (Register() == 2 && kind != 9) {
    ustaw_stan_zaplaty();
  }
}

int przepisz_naglowek_do_pozycji() {
  wyczysc_sumy_dokumentu();
  long header = f4long(H("REC"));
  int rc = SeekSalesLinesByRek(header);
  if (rc < 0) return -1;
  DbTable* lines = Z5SPRE.table;
  int stm = f4int(H("STM"));
  bool freeNumber = Mark("RE4") == 'N';
  for (; rc == 0 && !d4eof(lines) && f4long(L("REK")) == header; rc = d4skip(lines, 1)) {
    for (const char* name : {"TYV", "PRE", "NRV", "POS", "DAW", "DAV", "WAL", "KVA", "KKS"})
      ToFieldCopyField(L(name), H(name));
    if (freeNumber) ToFieldCopyField(L("RE1"), H("OSM"));
    f4assign_long(L("REK"), header);
    // Domestic, bills and the like keep each line's own delivery type.
    if (stm != 1 && stm != 2 && stm != 5 && stm != 6) ToFieldCopyField(L("STM"), H("STM"));
    ToFieldCopyField(L("STV"), H("TTR"));
    f4assign_long(L("RFK"), f4long(H("AKT")));
    if (d4write(lines, d4recno(lines)) != 0 || d4flush(lines) != 0) return -1;
    dodaj_pozycje_do_sum(0);
  }
  return rc < 0 ? -1 : 0;
}

int sprawdz_pozycje_dokumentu(int kind) {
  if (przepisz_naglowek_do_pozycji() != 0) return -1;
  if (sprawdz_sumy_dokumentu(kind, 0) == 0) return 0;
  MessageWindow(MB_WARNING, MSG_TOTALS_DIFFER, MSG_CHECK_LINES);
  return -1;
}

// ---- adding

int przygotuj_nowy_dokument() {
  kontekst_sprzedazy& c = Ctx();
  definicja_rejestru_sprzedazy& d = Def();
  int kind = c.kind;
  if (podsumowanieVat)
    for (int row = 1; row < SUMMARY_ROWS; row++) zeruj_wiersz_podsumowania(row);
  std::memset(d.nuk, ' ', sizeof d.nuk - 1);
  d.nuk[sizeof d.nuk - 1] = 0;
  d.splitPaymentAnswered = false;
  zeruj_dane_nabywcy();
  wybierz_formularz_naglowka(kind);
  NewDocumentChoices choices;
  if (AskNewDocumentChoices(kind, &choices) != 0) return -1;
  uklad_formularza_nowego(kind, choices.correctedKind);
  if (podaj_numer_dokumentu(salesOptions.standardNumbering == 'T', 0, 0) < 0) return -1;
  DbTable* t = Z5SPRZ.table;
  d4blank(t);
  FillDefaults(kind, choices);
  odswiez_teksty_formularza();
  BeginHeaderEntry(H("INF"));
  int failed = lock_and_append(t, przed_dopisaniem_naglowka, nullptr);
  d4unlock(t);
  if (failed) EndHeaderEntry();
  return failed ? -1 : 0;
}

int przed_dopisaniem_naglowka(int) {
  FldCopyString(H("NUK"), Def().nuk);
  f4assign_long(H("REC"), d4reccount(Z5SPRZ.table) + 1);
  return 0;
}

int anuluj_nowy_dokument() {
  if (DeleteCurrentHeader() == 0) EndHeaderEntry();
  return 0;
}

int zapisz_dokument(DbTable*, int (*)(int), int (*)(int)) {
  kontekst_sprzedazy& c = Ctx();
  int kind = f4int(H("TYV"));
  TakeTypedNuk(kind);
  DbTable* headers = Z5SPRZ.table;
  DbTable* lines = Z5SPRE.table;
  long record = d4recno(headers);
  bool ok = LockTable(headers) == 0;
  bool linesLocked = ok && LockTable(lines) == 0;
  ok = linesLocked && WriteCurrentHeader() == 0;
  if (ok && salesOptions.autoNumbering == 'T' && salesOptions.standardNumbering == 'T') {
    c.next.number = 0;
    ok = nastepny_numer_dokumentu(0) == 0 && d4go(headers, record) == 0;
    if (ok && c.next.number > 0) {
      f4assign_long(H("NRV"), c.next.number);
      ok = WriteCurrentHeader() == 0;
    }
  }
  if (ok) {
    int lines = salesOptions.stored24 == 'T' ? zapisz_pozycje_z_podsumowania(kind) : sprawdz_pozycje_dokumentu(kind);
    ok = lines == 0 && WriteCurrentHeader() == 0;
  }
  if (linesLocked) d4unlock(lines);
  d4unlock(headers);
  if (ok) {
    EndHeaderEntry();
    return 0;
  }
  if (d4recno(headers) != record) d4go(headers, record);
  if (usun_pozycje_dokumentu(Register()) == 0 && go_and_lock(headers, record) == 0) {
    d4delete(headers);
    if (d4flush(headers) == 0) EndHeaderEntry();
    d4unlock(headers);
  }
  return -1;
}

int po_zapisaniu_dokumentu() {
  int kind = f4int(H("TYV"));
  if (Register() == 2 && kind != 6 && kind != 9) return 0;
  bool printed =
      salesOptions.printAfterSave == 'T' && salesOptions.stored18 == 'N' && Pytanie(MSG_START_PRINT) != KEY_ESC;
  if (printed) drukuj_dokument_sprzedazy(kind, Z5SPRZ.table, 0, nullptr, Register());
  int stm = f4int(H("STM"));
  if (stm >= 1) Def().lastDelivery = stm;
  platnosci_po_zapisaniu(printed ? 1 : 0);
  return 0;
}

// ---- modifying

int przygotuj_modyfikacje() {
  kontekst_sprzedazy& c = Ctx();
  definicja_rejestru_sprzedazy& d = Def();
  d.splitPaymentAnswered = false;
  c.kind = f4int(H("TYV"));
  wybierz_formularz_naglowka(c.kind);
  bool changed = false;
  auto repairMark = [&](const char* name, char keep, char otherwise) {
    if (Mark(name) != keep && Mark(name) != otherwise) {
      f4assign_char(H(name), otherwise);
      changed = true;
    }
  };
  if (!AnyPositionSet(H("NKV"), MARK_POSITIONS) && salesOptions.list131 >= 1 && salesOptions.list131 < NO_DEFAULT_MARK &&
      Pytanie(Sys("Czy podstawić domyślną procedurę ?")) != KEY_ESC) {
    SetPosition(H("NKV"), salesOptions.list131, 'T');
    changed = true;
  }
  if (f4int(H("SDR")) == 0) {
    f4assign_long(H("SDR"), 1);
    changed = true;
  }
  int akt = f4int(H("AKT"));
  if (Register() == 1 && f4int(H("SDR")) == 3 && akt != 1 && akt != 3) {
    if (c.kind == 1 || c.kind == 7) {
      c.kind = 9;
      f4assign_long(H("TYV"), 9);
      wybierz_formularz_naglowka(9);
    }
    f4assign_long(H("SDR"), 1);
    changed = true;
  }
  repairMark("ANU", 'N', 'T');
  repairMark("TTR", 'T', 'N');
  repairMark("RE3", 'N', 'T');
  repairMark("STV", 'N', 'T');
  if (FieldIsEmpty(H("KRA"))) {
    f4assign(H("KRA"), "POLSKA");
    changed = true;
  }
  if (f4int(H("NRM")) == 1 && f4ptr(H("NKV"))[NKV_SPLIT_PAYMENT - 1] != 'T') {
    SetPosition(H("NKV"), NKV_SPLIT_PAYMENT, 'T');
    changed = true;
  }
  if (FieldIsEmpty(H("PKA"))) {
    f4assign_char(H("PKA"), d.cashPitShown && czy_dokument_pit_kasowego(0) ? 'T' : 'N');
    changed = true;
  }
  uklad_formularza_modyfikacji(c.kind);
  odswiez_teksty_formularza();
  if (!changed) return 0;
  // The lines carry the repaired kind with the header, so an Esc in the
  // form leaves no header whose lines say otherwise.
  DbTable* lines = Z5SPRE.table;
  if (LockTable(lines) != 0) return 0;
  if (WriteCurrentHeader() == 0) przepisz_naglowek_do_pozycji();
  d4unlock(lines);
  return 0;
}

int po_modyfikacji_dokumentu() {
  int kind = f4int(H("TYV"));
  TakeTypedNuk(kind);
  DbTable* lines = Z5SPRE.table;
  if (LockTable(lines) != 0) return -1;
  int result = WriteCurrentHeader() == 0 && sprawdz_pozycje_dokumentu(kind) == 0 ? 0 : -1;
  d4unlock(lines);
  if (result == 0) {
    if (Register() == 1 && IsGatheringInvoice(f4int(H("AKT"))))
      aktualizuj_powiazania_zrodel(f4long(H("REC")));
    if (synchronizuj_powiazanie_proformy(0) < 0) result = -1;
  }
  return result;
}

int po_modyfikacji_ksiegowanie() {
  if (f4long(H("LPO")) > 0) Uwaga(Sys("Nie zapomnij o zaksięgowaniu !"));
  // The form may have changed the amount, the dates or the buyer: the entry
  // follows them, as after a save.
  zapisz_rozliczenie_dokumentu(0);
  return 0;
}

// ---- deleting

int przed_usunieciem_dokumentu() {
  if (!FieldIsEmpty(H("DZA")) && !moving)
    MessageWindow(MB_WARNING, Sys("Dokument został zaksięgowany"), Sys("Skoryguj zapis w księdze"));
  int kind = f4int(H("TYV"));
  int akt = f4int(H("AKT"));
  int tym = f4int(H("TYM"));
  bool main = Register() == 1;
  std::string sure = Sys("Czy na pewno usunąć?");
  std::string collective = Sys("To jest faktura zbiorcza.");
  std::string refused = Sys("Nie można usuwać!");
  if (!moving && From2024()) {
    if (main && (akt == 1 || akt == 2 || akt == 3)) {
      if (MessageWindow(MB_YES_ESC, akt == 2 ? TextRef(collective.c_str()) : TextRef(MSG_FINAL_INVOICE),
                        sure.c_str()) == KEY_ESC)
        return 1;
    } else if (!main) {
      int kon = f4int(H("KON"));
      if (kon == 1 && kind == 11) {
        MessageWindow(MB_WARNING, MSG_HAS_FINAL_INVOICE, refused.c_str());
        return 1;
      }
      if (kon == 2 && kind == 6) {
        MessageWindow(MB_WARNING, Sys("Faktura pro forma ma fakturę zbiorczą."), refused.c_str());
        return 1;
      }
    }
  } else if (!moving) {
    if ((kind == 1 || kind == 7) && (tym == 9 || tym == 11 || tym == 6)) {
      if (MessageWindow(MB_YES_ESC, tym == 6 ? TextRef(collective.c_str()) : TextRef(MSG_FINAL_INVOICE),
                        sure.c_str()) == KEY_ESC)
        return 1;
    }
    if (!main && tym > 0 && kind == 9) {
      MessageWindow(MB_WARNING, MSG_HAS_FINAL_INVOICE, refused.c_str());
      return 1;
    }
    if (!main && akt == 2 && kind == 6) {
      MessageWindow(MB_WARNING, Sys("Faktura pro forma ma fakturę zbiorczą."), refused.c_str());
      return 1;
    }
  }
  if (!moving) {
    if (main && IsGatheringInvoice(akt)) odlacz_dokumenty_zrodlowe(f4long(H("REC")));
    if (synchronizuj_powiazanie_proformy(1) < 0) return -1;
  }
  DbTable* lines = Z5SPRE.table;
  if (LockTable(lines) != 0) return -1;
  if (write_and_unlock(Z5SPRZ.table) != 0) {
    d4unlock(lines);
    return -1;
  }
  int deleted = usun_pozycje_dokumentu(Register());
  d4unlock(lines);
  if (deleted == 1) return 1;   // the header stays with the lines that could not give their stock back
  if (!moving) {
    long record = f4long(H("REC"));
    UsunRozliczenie(SourceType(), WorkingYear(), record);
    UsunZapisyKasy(SourceType(), WorkingYear(), record);
  }
  return deleted == 0 ? 0 : -1;
}

int usun_dokument() {
  if (Register() == 2 && SprawdzFaktureKoncowa(f4int(H("TYV")), f4int(H("AKT"))) == 0) return 0;
  browse_skasuj(1);
  return 0;
}

int przenies_dokument() {
  int kind = f4int(H("TYV"));
  int akt = f4int(H("AKT"));
  bool main = Register() == 1;
  bool allowed = main ? (kind == 1 || kind == 3 || kind == 7) && akt != 1 && akt != 2 && akt != 3
                      : kind == 9 || kind == 3;
  if (!allowed) {
    Uwaga(Sys("Tego dokumentu nie można przenieść !"));
    return 0;
  }
  std::string how = main ? Sys(kind == 3 ? "jako korekta faktury do paragonu." : "jako faktura do paragonu.")
                         : Sys(kind == 3 ? "jako korekta zwykłej faktury." : "jako zwykła faktura.");
  if (MessageWindow(MB_YES_ESC, Sys("Faktura zostanie przeniesiona"),
                    Sys(main ? "do sprzedaży pomocniczej" : "do sprzedaży głównej"), how.c_str(), " ",
                    Sys("Czy kontynuować ?")) == KEY_ESC)
    return 0;
  if (CopyDocumentToExchange(main ? 1 : 2) != 0) {
    MessageWindow(MB_ERROR, Sys("Przeniesienie zakończone błędnie."));
    return 0;
  }
  moving = true;
  int deleted = DeleteCurrentHeader();
  moving = false;
  browse_call(0, 0);
  if (deleted == 0) Informacja(Sys("Faktura została przeniesiona."));
  return 0;
}

int usun_pozycje_dokumentu(int rejestr) {
  DbTable* lines = Z5SPRE.table;
  long header = f4long(H("REC"));
  int kind = f4int(H("TYV"));
  bool giveBack = salesOptions.stockOnEntry == 'T' && (rejestr == 1 || salesOptions.stockRulesForAuxiliary == 'T');
  if (f4int(H("AKT")) == 2 && salesOptions.stockRulesForAuxiliary == 'T' && salesOptions.stockOnProForma == 'T')
    giveBack = false;
  if (moving) giveBack = false;
  int result;
  for (;;) {
    int rc = SeekSalesLinesByRek(header);
    if (rc < 0) {
      result = -1;
      break;
    }
    if (rc != 0 || d4eof(lines) || f4long(L("REK")) != header) {
      result = 0;
      break;
    }
    if (giveBack && f4char(L("STA")) == 'T') {
      std::string code = FldQStr(L("KOT"), 1);
      std::string name = FldQStr(L("NA1"), 1);
      if (aktualizuj_ilosc(code.c_str(), name.c_str(), -ilosc_magazynowa_pozycji(kind), 1) != 0) {
        MessageWindow(MB_WARNING, Sys("Nie oddano ilości towaru do magazynu."),
                      Sys("Dokument pozostaje z pozycjami, których nie usunięto."));
        result = 1;
        break;
      }
    }
    d4delete(lines);
    if (d4flush(lines) != 0) {
      result = -1;
      break;
    }
  }
  zamknij_okno_raportu(1);
  return result;
}

// ---- the entry

int dopisz_lub_modyfikuj_opis(int modify) {
  kontekst_sprzedazy& c = Ctx();
  definicja_rejestru_sprzedazy& d = Def();
  d.advanceFlag = 0;
  bool from2024 = From2024();
  if (!modify) {
    int kind = ChooseKind();
    if (kind < 0) return 0;
    if (kind == 5) {
      okno_sprzedazy_bezrachunkowej(0);
      return 0;
    }
    if (from2024 && (kind == 9 || kind == 10)) d.advanceFlag = 3;
    if (!from2024 && kind == 10) {
      kind = 9;
      d.advanceFlag = 3;
    }
    c.kind = kind;
    // The append defines its window before the first document is prepared,
    // so the form's height must be chosen first (an empty register never
    // passed a key through the key routine that otherwise chooses it).
    wybierz_formularz_naglowka(kind);
    browse_dopisz(0);
    return 0;
  }
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(H("TYV"));
  if (kind == 5) {
    okno_sprzedazy_bezrachunkowej(1);
    return 0;
  }
  int akt = f4int(H("AKT"));
  if (from2024) {
    if (kind == 9 || kind == 10) d.advanceFlag = 3;
    if (kind != 3 && kind != 4 && (akt == 1 || akt == 3))
      MessageWindow(MB_WARNING, MSG_FINAL_INVOICE, MSG_CHANGES_NOT_ADVISED);
    if (kind == 11 && akt == 1) {
      MessageWindow(MB_WARNING, MSG_HAS_FINAL_INVOICE, MSG_CHANGES_NOT_ADVISED);
      podglad_dokumentu();
      return 0;
    }
  } else if (kind == 9) {
    d.advanceFlag = 3;
  }
  c.kind = kind;
  browse_modyfikuj(0);
  return 0;
}
