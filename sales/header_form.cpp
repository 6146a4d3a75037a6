#include "sales/header_form.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <list>
#include <string>
#include <vector>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/settlement.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/countries.h"
#include "masterdata/description_field.h"
#include "masterdata/exchange_rates.h"
#include "sales/buyer.h"
#include "sales/currency_view.h"
#include "sales/date_checks.h"
#include "sales/document_header.h"
#include "sales/document_totals.h"
#include "sales/marks_dialogs.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "sales/vat_summary_entry.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024, FIRST_MARGIN_YEAR = 2013;
constexpr int KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;
constexpr int TEXT_WIDTH = 40;
constexpr int FORM_ENTRIES = 56, FORM_TEXTS = 64;
constexpr int NKV_SPLIT_PAYMENT = 13, MARK_POSITIONS = 13, NKV_MARGIN_TRAVEL = 6, NKV_MARGIN_GOODS = 7;
constexpr int LABEL_ATTR = 23, TOTALS_ATTR = 31;
constexpr int FORM_BACKGROUND_ATTR = 0x17, FORM_FIELD_ATTR = 0x1F;
constexpr int LINE_HINTS_ORDER = 5;

// The form's text buffers: what the choice fields show, NUL-terminated.
// Each as wide as the form leaves it room.
struct Teksty {
  char stm[31], tyb[TEXT_WIDTH + 1], sta[9], ksm[43], sdr[16];
  char split[2];
  char procedures[4], gtu[4];
};
Teksty teksty;

struct Formularz {
  EditCtrl edits[FORM_ENTRIES];
  TextCtrl texts[FORM_TEXTS];
};
Formularz formularze[2];
int rejestrFormularzy = 1;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
bool From2024() { return WorkingYear() >= FIRST_YEAR_2024; }
int Kind() { return salesContext ? salesContext->kind : f4int(H("TYV")); }
bool Adding() { return AddingNewDocument() != 0; }
int LastKey() { return EnvCurrent()->lastGetKey; }

// The handle's own slot of a header field: entries keep pointers to it.
DbField** Slot(const char* name) {
  DbField* field = d4field(Z5SPRZ.table, name);
  for (DbField*& bound : Z5SPRZ.field)
    if (bound == field) return &bound;
  return nullptr;
}

// A list of texts chosen by a field's number; entry 0 gives the menu its width.
const char* const* MenuList(std::initializer_list<const char*> items) {
  static std::list<std::vector<std::string>> kept;
  static std::list<std::vector<const char*>> lists;
  std::vector<std::string>& k = kept.emplace_back();
  k.emplace_back(TEXT_WIDTH / 2, ' ');
  for (const char* item : items) k.push_back(Sys(item));
  std::vector<const char*>& l = lists.emplace_back();
  for (const std::string& s : k) l.push_back(s.c_str());
  l.push_back(nullptr);
  return l.data();
}

const char* const* HeaderDeliveryList() {
  static const char* const* before = MenuList({"1. KRAJOWA", "2. WEWNĄTRZWSPÓLNOTOWA", "3. EKSPORT", "4. OSS"});
  static const char* const* beforeAux = MenuList({"1. KRAJOWA", "2. WEWNĄTRZWSPÓLNOTOWA", "3. EKSPORT"});
  static const char* const* after =
      MenuList({"1. KRAJOWA", "2. WDT", "3. EKSPORT", "4. OSS", "5. UE-usługi", "6. POZA KRAJEM",
                "7. WDT trójstronna", "8. ZWROT podróżnym", "9. WDT trójstr. drugi podatnik"});
  if (From2024()) return after;
  return rejestrFormularzy == 1 ? before : beforeAux;
}
const char* const* AccountList() {
  static const char* const* l = MenuList({"1. PODSTAWOWE", "2. POMOCNICZE 1", "3. POMOCNICZE 2", "4. POMOCNICZE 3",
                                          "5. POMOCNICZE 4", "6. INNE"});
  return l;
}
const char* const* CostList() {
  static const char* const* l = MenuList({"1. NETTO", "2. MARŻA"});
  return l;
}
const char* const* MarginList() {
  static const char* const* l = MenuList({"1. dla biur podróży.", "2. - towary używane.", "3. - dzieła sztuki.",
                                          "4. - przedmioty kolekcjonerskie i antyki."});
  return l;
}
const char* const* DocumentList() {
  static const char* const* l = MenuList({"1. ZWYKŁY", "2. WEWNĘTRZNY", "3. DO PARAGONU"});
  return l;
}
const char* const* KindList() {
  static const char* const* main =
      MenuList({"1. FAKTURA", "2. RACHUNEK", "3. FAKTURA KORYGUJĄCA", "4. RACHUNEK KORYGUJĄCY",
                "5. SPRZEDAŻ BEZRACHUNKOWA", "6. FAKTURA PRO FORMA", "7. FAKTURA mały podatnik", "8. FAKTURA marża",
                "9. FAKTURA do paragonu", "a. KOŃCOWA do paragonu", "b. FAKTURA ZALICZKOWA"});
  static const char* const* aux =
      MenuList({"1. FAKTURA", "2. RACHUNEK", "3. FAKTURA KORYGUJĄCA", "4. RACHUNEK KORYGUJĄCY",
                "5. SPRZEDAŻ BEZRACHUNKOWA", "6. FAKTURA PRO FORMA", "7. FAKTURA mały podatnik", "8. FAKTURA marża",
                "9. FAKTURA ZALICZKOWA", "a. ZALICZKOWA do paragonu", "b. FAKTURA ZALICZKOWA"});
  return rejestrFormularzy == 1 ? main : aux;
}

template <size_t N>
void PutText(char (&buffer)[N], const char* text) {
  std::memset(buffer, ' ', N - 1);
  buffer[N - 1] = 0;
  std::memcpy(buffer, text, std::min(std::strlen(text), N - 1));
}

template <size_t N>
void CodeText(char (&buffer)[N], const char* const* list, int code) {
  int n = 0;
  while (list[n + 1]) n++;
  PutText(buffer, code >= 1 && code <= n ? list[code] : "");
}

// The chosen text into the form's buffer and the get's edit buffer.
template <size_t N>
void ChoiceText(char* buffer, char (&text)[N], const char* const* list, int code) {
  CodeText(text, list, code);
  std::memcpy(buffer, text, N - 1);
}

bool AnySet(const char* field, int count) {
  const char* p = f4ptr(H(field));
  for (int i = 0; i < count; i++)
    if (p[i] == 'T') return true;
  return false;
}

void SetPosition(const char* field, int position, char c) { f4assign_ptr(H(field))[position - 1] = c; }

// A choice from a centred list starting at the current value; -1 on Esc.
int Choose(const char* title, const char* const* list, int current) {
  return get_menu_function(title, list, current > 0 ? current : 1, -1, -1);
}

void Redisplay() { OdswiezGety(); }

// The whole form drawn again, what it only shows with it: after the lines the
// totals and the price mode are new.
void RedisplayForm() {
  BrowseContext* c = CurrentBrowse;
  if (c && c->edit_window >= 0) wyswietl_edit_window_modify(c, c->edit_window, FORM_BACKGROUND_ATTR, FORM_FIELD_ATTR);
  Redisplay();
}

// ---- key routines and validators

// A yes/no entry that turns a blank into 'T' first.
int YesNoBlankIsYes(Get4* get, char* buffer, int32_t data) {
  if (buffer[0] == ' ') buffer[0] = 'T';
  return wybierz_tak_nie(get, buffer, data);
}

int LinesFromForm(int key) {
  if (f4int(H("STM")) == 4 && FieldIsEmpty(H("KRA"))) {
    ClearKeyMessages();
    MessageWindow(MB_WARNING, Sys("Niewypełnione pole 'KRAJ'."),
                  Sys("Trzeba je wypełnić przed dopisaniem pozycji. "));
    return KEY_HOME;
  }
  int kind = Kind();
  bool margin = kind == 8 || ((kind == 3 || kind == 4) && f4int(H("TYM")) == 8);
  int priceMode = LineEntryPriceMode(margin, key);
  PushKeyMessage('D', 1);   // the line list starts by adding a line
  if (wprowadz_pozycje_z_formularza(kind, priceMode, salesContext ? salesContext->rejestr : 1) < 0) return KEY_ESC;
  RedisplayForm();
  return KEY_HOME;
}

int klawisz_adresu(Get4* get, char* buffer, int32_t data) {
  if (!FieldIsEmpty(H("KNA"))) return LastKey();
  return klawisz_pozycji(get, buffer, data);
}

int klawisz_korygowanego(Get4* get, char* buffer, int32_t data) {
  int kind = Kind();
  if (!Adding()) return g4char();
  if (salesOptions.stored24 == 'T' && f4int(H("STM")) != 4) return wprowadz_podsumowanie_vat(kind, 0);
  if (kind == 2 || kind == 4 || kind == 5) return klawisz_pozycji(get, buffer, data);
  return g4char();
}

int wybierz_dostawe(Get4*, char* buffer, int32_t) {
  int chosen = Choose(" DOSTAWA", HeaderDeliveryList(), f4int(H("STM")));
  if (chosen < 0) return KEY_UP;
  if (chosen == 1 && Adding()) {
    f4assign(H("WAL"), "PLN");
    f4assign_double(H("KVA"), 1);
    f4assign_double(H("KKS"), 1);
  }
  if (chosen == 4) {
    f4assign(H("WAL"), "EUR");
    f4assign_char(H("RE3"), 'N');
    f4assign_char(H("ANU"), 'N');
    if (FldQStr(H("KRA"), 1) == std::string("POLSKA")) EmptyField(H("KRA"));
    std::strcpy(teksty.procedures, "NIE");
    std::strcpy(teksty.gtu, "NIE");
  }
  f4assign_char(H("STM"), '0' + chosen);
  ChoiceText(buffer, teksty.stm, HeaderDeliveryList(), chosen);
  if (Adding()) ustal_date_vat();
  Redisplay();
  return KEY_ENTER;
}

int klawisz_waluty(Get4* get, char* buffer, int32_t) {
  int stm = f4int(H("STM"));
  int filter = stm == 2 || stm == 4 || stm == 5 || stm == 7 || stm == 9 ? KRAJ_UE_Z_WALUTA
               : stm == 3                                                 ? KRAJ_POZA_UE_Z_WALUTA
                                                                          : KRAJ_Z_WALUTA;
  return kraj_f4_lista(get, buffer, filter);
}

int waliduj_walute(Get4* get) {
  if (valid_waluta(get) != 0) return -1;
  std::string code(static_cast<const char*>(get->data), 3);
  if (code == "PLN") {
    f4assign_double(H("KVA"), 1);
    f4assign_double(H("KKS"), 1);
    Redisplay();
    return 0;
  }
  long issue = date4long(f4ptr(H("DAW")));
  long sale = date4long(f4ptr(H("DAS")));
  int stm = f4int(H("STM"));
  if (stm != 4) {
    bool byIssue = sale >= issue || stm == 2 || stm == 5 || stm == 7 || stm == 9;
    double rate = 0;
    if (kurs_waluty(code.c_str(), static_cast<int32_t>((byIssue ? issue : sale) - 1), &rate, 0, 0) > 0 && rate > 0)
      f4assign_double(H("KVA"), rate);
  }
  double booking = 0;
  int rc = kurs_waluty(code.c_str(), static_cast<int32_t>(std::min(issue, sale) - 1), &booking, 0, 1);
  if (rc < 0) return -1;
  if (rc > 0 && booking > 0) f4assign_double(H("KKS"), booking);
  Redisplay();
  return 0;
}

int klawisz_kursu(Get4*, char*, int32_t) {
  if (FldQStr(H("WAL"), 1) == std::string("PLN")) return LastKey();
  int last = LastKey();
  if (last == KEY_ENTER || last == KEY_DOWN) return last;
  return g4char();
}

int po_kursie(Get4*) {
  if (FldQStr(H("WAL"), 1) == std::string("PLN")) {
    f4assign_double(H("KVA"), 1);
    f4assign_double(H("KKS"), 1);
  }
  return 0;
}

int klawisz_kraju(Get4* get, char* buffer, int32_t) {
  if (!FieldIsEmpty(H("KNA"))) return LastKey();
  int flags = KRAJ_DAJ_NAZWE | (f4int(H("STM")) == 4 ? KRAJ_UE : 0);
  return kraj_f4_lista(get, buffer, flags);
}

int waliduj_kraj(Get4* get) {
  bool empty = std::string(static_cast<const char*>(get->data), static_cast<size_t>(get->dataWidth))
                   .find_first_not_of(' ') == std::string::npos;
  return f4int(H("STM")) == 4 && empty ? -1 : 0;
}

int klawisz_podatnika_vat(Get4* get, char* buffer, int32_t data) {
  if (f4int(H("STM")) == 4 || !FieldIsEmpty(H("KNA"))) return LastKey();
  return YesNoBlankIsYes(get, buffer, data);
}

const char* const kPaymentForms[] = {"1. GOTÓWKA", "2. PRZELEW", "3. CZEK Nr", "4. WYDŁUŻONY TERMIN",
                                     "5. POBRANIE POCZTOWE", "6. ZAPŁACONO GOTÓWKĄ", "7. KARTA PŁATNICZA",
                                     "8. POLECENIE ZAPŁATY"};

bool PaymentDefaultsApply() {
  int kind = Kind();
  if (From2024()) return kind != 10 && kind != 11;
  return salesContext && salesContext->rejestr == 2 && kind != 9;
}

int klawisz_formy_platnosci(Get4* get, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", 5);
  int key = g4char();
  if (key == KEY_F4) {
    static const char* const* list = MenuList(std::initializer_list<const char*>(
        {kPaymentForms[0], kPaymentForms[1], kPaymentForms[2], kPaymentForms[3], kPaymentForms[4], kPaymentForms[5],
         kPaymentForms[6], kPaymentForms[7]}));
    int chosen = get_menu_function(" WYBIERZ ", list, 1, -1, -1);
    if (chosen > 0) {
      std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
      const char* text = list[chosen] + 3;
      std::memcpy(buffer, text, std::min(std::strlen(text), static_cast<size_t>(get->dataWidth)));
      f4assign_n(H("PLA"), buffer, static_cast<unsigned>(get->dataWidth));
      if (PaymentDefaultsApply()) ustaw_stan_zaplaty();
      Redisplay();
    }
    return KEY_HOME;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int po_formie_platnosci(Get4*) {
  if (Adding()) {
    ustaw_stan_zaplaty();
    Redisplay();
  }
  return 0;
}

int po_mpp(Get4* get) {
  bool yes = static_cast<const char*>(get->data)[0] == 'T';
  f4assign_long(H("NRM"), yes ? 1 : 0);
  SetPosition("NKV", NKV_SPLIT_PAYMENT, yes ? 'T' : 'N');
  std::strcpy(teksty.procedures, AnySet("NKV", MARK_POSITIONS) ? "TAK" : "NIE");
  Redisplay();
  return 0;
}

int klawisz_kwoty_glowny(Get4*, char*, int32_t) {
  int akt = f4int(H("AKT"));
  return akt == 1 || akt == 3 ? LastKey() : g4char();
}

int klawisz_kwoty_pomocniczy(Get4*, char*, int32_t) {
  int tym = f4int(H("TYM"));
  return Kind() == 9 && (tym == 1 || tym == 2 || tym == 7) ? LastKey() : g4char();
}

int waliduj_kwote_zaplacona(Get4* get) {
  int kind = Kind();
  double paid = QuickDouble(static_cast<const char*>(get->data), get->dataWidth);
  bool advance = From2024() ? kind == 10 || kind == 11 : salesContext && salesContext->rejestr == 2 && kind == 9;
  if (advance) {
    if (rozloz_zaliczke(paid) != 0 || sumuj_pozycje_dokumentu(0, salesContext->rejestr) != 0) return -1;
    zapisz_sumy_naglowka(kind);
  } else if (kind != 10) {
    f4assign_char(H("ZAP"), KwotyRozliczone(KwotaDoRozliczenia(nullptr), paid) ? 'T' : 'N');
  }
  Redisplay();
  return 0;
}

int po_kwocie_korekty(Get4*) {
  if (Adding()) {
    ustaw_znacznik_zaplaty();
    ustal_date_vat_mp_po_zaplacie();
    Redisplay();
  }
  return 0;
}

int klawisz_zwolnienia(Get4* get, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", 5);
  int key = g4char();
  if (key == KEY_F4) {
    static const char* const* list =
        MenuList({"1. art.43 ust.1 ustawy o ptu. ", "2. art.113 ust.1 ustawy o ptu.", "3. art.113 ust.9 ustawy o ptu.",
                  "4. brak"});
    int chosen = get_menu_function(" WYBIERZ ", list, 1, -1, -1);
    if (chosen > 0) {
      std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
      const char* text = list[chosen] + 3;
      std::memcpy(buffer, text, std::min(std::strlen(text), static_cast<size_t>(get->dataWidth)));
      Redisplay();
    }
    return KEY_HOME;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int wybierz_procedure_marzy(Get4*, char* buffer, int32_t) {
  int chosen = Choose(" WYBIERZ ", MarginList(), f4int(H("KSM")));
  if (chosen < 0) return KEY_UP;
  f4assign_long(H("KSM"), chosen);
  SetPosition("NKV", NKV_MARGIN_TRAVEL, chosen == 1 ? 'T' : 'N');
  SetPosition("NKV", NKV_MARGIN_GOODS, chosen >= 2 ? 'T' : 'N');
  ChoiceText(buffer, teksty.ksm, MarginList(), chosen);
  return KEY_ENTER;
}

int wybierz_konto_zaplaty(Get4*, char* buffer, int32_t) {
  int chosen = Choose(" WYBIERZ ", AccountList(), f4int(H("TYB")));
  if (chosen < 0) return KEY_UP;
  f4assign_long(H("TYB"), chosen);
  ChoiceText(buffer, teksty.tyb, AccountList(), chosen);
  return KEY_ENTER;
}

int klawisz_ksiegowania(Get4* get, char* buffer, int32_t data) {
  int key = wybierz_tak_nie(get, buffer, data);
  if (buffer[0] == 'N') f4assign_char(H("PKA"), 'N');
  return key;
}

int klawisz_pit_kasowego(Get4* get, char* buffer, int32_t data) {
  int kind = Kind();
  int base = kind == 3 || kind == 4 ? f4int(H("TYM")) : kind;
  int akt = f4int(H("AKT"));
  bool qualifies = (base == 1 || base == 7 || base == 8) && f4char(H("STV")) == 'T' &&
                   !((kind == 1 || kind == 7) && (akt == 1 || akt == 3));
  if (!qualifies) return LastKey();
  return wybierz_tak_nie(get, buffer, data);
}

int wybierz_co_ksiegowac(Get4*, char* buffer, int32_t) {
  int chosen = Choose(Sys("KSIĘGUJ"), CostList(), f4int(H("STA")));
  if (chosen < 0) return LastKey();
  f4assign_long(H("STA"), chosen);
  ChoiceText(buffer, teksty.sta, CostList(), chosen);
  return KEY_ENTER;
}

int wybierz_rodzaj_sdr(Get4*, char* buffer, int32_t) {
  if (f4int(H("STM")) == 4) return KEY_UP;
  static const char* const* offered = MenuList({"1. ZWYKŁY", "2. WEWNĘTRZNY"});
  int current = f4int(H("SDR"));
  int chosen = Choose("RODZAJ DOKUMENTU", offered, current <= 2 ? current : 1);
  if (chosen < 0) return KEY_UP;
  f4assign_long(H("SDR"), chosen);
  ChoiceText(buffer, teksty.sdr, DocumentList(), chosen);
  return KEY_ENTER;
}

int MarksKey(char* buffer, const char* name) {
  if (f4int(H("STM")) == 4) return KEY_UP;
  set_fun_help("F4", "Opcje", 5);
  for (;;) {
    int key = g4char();
    if (key == KEY_F4) {
      bool gtu = std::string(name) != "Procedury";
      if (gtu)
        oznaczenia_gtu(0);
      else
        procedury(0);
      std::strcpy(gtu ? teksty.gtu : teksty.procedures, AnySet(gtu ? "NKK" : "NKV", MARK_POSITIONS) ? "TAK" : "NIE");
      Redisplay();
      continue;
    }
    if (WigetCtrlKey(key)) {
      remove_fun_help("F4");
      std::memcpy(buffer, std::string(name) == "Procedury" ? teksty.procedures : teksty.gtu, 3);
      return key;
    }
  }
}
int klawisz_procedur(Get4*, char* buffer, int32_t) { return MarksKey(buffer, "Procedury"); }
int klawisz_gtu(Get4*, char* buffer, int32_t) { return MarksKey(buffer, "Oznaczenia"); }

int ValidOrBlankDate(Get4* get) { return test_daty(get); }

// ---- the definition

struct Builder {
  Formularz& f;
  bool correction;
  EditCtrl* Field(int row, int col, const char* name, GetKeyRoutine key = nullptr, GetValidator valid = nullptr,
                  uint32_t flags = 0) {
    DefineTextCtrl(row, col, Slot(name), 0);
    EditCtrl* e = DefineEditCtrl(row, col, Slot(name), EDIT_DATE | flags);
    if (e) {
      e->keyRoutine = key;
      e->validator = valid;
      if (f4type(*Slot(name)) == 'D') e->picture = "DD-MM/YY";
    }
    return e;
  }
  EditCtrl* Text(int row, int col, char* buffer, GetKeyRoutine key, const char* const* codes, const char* name) {
    TextCtrl* t = DefineTextCtrl(row, col, Slot(name), 0);
    if (t) t->codeTexts = codes;
    EditCtrl* e = DefineEditCtrl(row, col, buffer, EDIT_TEXT | EDIT_DIRECT);
    if (e) e->keyRoutine = key;
    return e;
  }
  TextCtrl* Shown(int row, int col, const char* name, const char* const* codes = nullptr) {
    TextCtrl* t = DefineTextCtrl(row, col, Slot(name), 0);
    if (t && codes) t->codeTexts = codes;
    return t;
  }
};

void ShowYesNo(TextCtrl* entry) { w4(entry->row, entry->col, f4char(*entry->field) == 'T' ? "TAK" : "NIE"); }
void ShowProcedures(TextCtrl* entry) { w4(entry->row, entry->col, teksty.procedures); }
void ShowGtu(TextCtrl* entry) { w4(entry->row, entry->col, teksty.gtu); }

void Build(Formularz& f, bool correction, int rejestr) {
  bool from2024 = From2024();
  Builder b{f, correction};
  ResetTextCtrlDefinition(f.texts, sizeof f.texts);
  ResetEditCtrlDefinition(f.edits, sizeof f.edits);
  // Rows of the correction form below the buyer are two further down.
  int d = correction ? 2 : 0;
  TextCtrl* kind = b.Shown(0, 3, "TYV", from2024 ? nullptr : KindList());
  if (from2024 && kind) kind->drawRoutine = formularz_rodzaj;
  b.Shown(0, 67, "TRY", MenuList({"1. NETTO", "2. BRUTTO"}));
  DefineTextCtrl(1, 4, Slot("NRV"), 0)->drawRoutine = formularz_numer;
  if (correction) {
    if (TextCtrl* corrected = b.Shown(2, 3, "TYM")) corrected->drawRoutine = formularz_rodzaj_korygowany;
    b.Text(0, 43, teksty.sta, wybierz_co_ksiegowac, CostList(), "STA");
    DefineTextCtrl(2, 10, Slot("NUK"), 0)->drawRoutine = formularz_numer_powiazany;
    EditCtrl* nuk = DefineEditCtrl(2, 10, definicjaRejestru->nuk, EDIT_TEXT | EDIT_DIRECT);
    nuk->keyRoutine = klawisz_korygowanego;
  } else {
    DefineTextCtrl(0, 30, Slot("NUK"), 0)->drawRoutine = formularz_numer_powiazany;
    DefineEditCtrl(0, 30, definicjaRejestru->nuk, EDIT_TEXT | EDIT_DIRECT);
  }
  b.Field(1, 68, "DAW", nullptr, waliduj_date_wystawienia);
  if (correction) b.Field(2, 68, "DAK", klawisz_korygowanego, test_daty_niepustej, EDIT_MUST);
  int r = correction ? 3 : 2;
  if (from2024)
    b.Shown(r, 13, "STM", HeaderDeliveryList());
  else
    b.Text(r, 13, teksty.stm, wybierz_dostawe, HeaderDeliveryList(), "STM");
  b.Field(r, 68, "DAS", nullptr, waliduj_date_sprzedazy);
  r++;
  b.Field(r, 14, "WAL", klawisz_waluty, waliduj_walute, EDIT_UPPER);
  EditCtrl* kva = b.Field(r, correction ? 34 : 32, "KVA", klawisz_kursu, po_kursie);
  kva->picture = "999.999999";
  EditCtrl* kks = b.Field(r, 68, "KKS", klawisz_kursu, po_kursie);
  kks->picture = "999.999999";
  r = 4 + d;
  EditCtrl* code = b.Field(r, 14, "KNA", pole_kontrahenta, waliduj_kontrahenta, EDIT_UPPER);
  code->routineData = POLE_NAGLOWKA;
  b.Field(r, 54, "RE3", klawisz_podatnika_vat, data_vat_mp_wg_platnika);
  EditCtrl* nip = b.Field(r + 1, 14, "NIP", pole_nip_nabywcy);
  nip->routineData = POLE_NAGLOWKA;
  r = 6 + d;
  b.Field(r, 8, "NA1", klawisz_adresu);
  b.Field(r + 1, 8, "NA2", klawisz_adresu);
  b.Field(r + 2, 8, "ULI", klawisz_adresu);
  b.Field(r + 3, 16, "KOP", klawisz_adresu)->picture = "99-999";
  b.Field(r + 3, 23, "MIA", klawisz_adresu);
  if (correction) {
    b.Field(11, 58, "OP1", opis_f4_lista);
    b.Field(12, 58, "OP2", klawisz_pozycji);
    b.Field(12, 16, "KRA", klawisz_kraju);
    b.Field(13, 16, "TYK", klawisz_pozycji);
  } else {
    b.Field(9, 57, "OP1", opis_f4_lista);
    b.Field(10, 16, "KRA", klawisz_kraju, waliduj_kraj);
    b.Field(10, 57, "OP2", klawisz_pozycji);
  }
  r = correction ? 14 : 11;
  if (from2024) {
    DefineTextCtrl(r, 16, Slot("ANU"), 0)->drawRoutine = ShowYesNo;
    DefineTextCtrl(r, 74, Slot("TTR"), 0)->drawRoutine = ShowYesNo;
  } else {
    b.Field(r, 16, "ANU", wybierz_tak_nie);
    b.Field(r, 74, "TTR", wybierz_tak_nie);
  }
  if (!correction) {
    b.Field(12, 16, "NRZ", klawisz_pozycji);
    b.Field(12, 68, "DZM", klawisz_pozycji, ValidOrBlankDate);
  }
  r = correction ? 15 : 13;
  b.Field(r, 10, "PLA", klawisz_formy_platnosci, po_formie_platnosci);
  DefineTextCtrl(r, 54, Slot("NRM"), 0)->drawRoutine = formularz_mpp;
  EditCtrl* split = DefineEditCtrl(r, 54, teksty.split, EDIT_TEXT | EDIT_DIRECT);
  split->keyRoutine = wybierz_tak_nie;
  split->validator = po_mpp;
  b.Field(r, 68, "DPL", klawisz_pozycji, ValidOrBlankDate);
  r++;
  b.Field(r, 8, "UW1", klawisz_pozycji);
  b.Field(r + 1, 8, "UW2", klawisz_pozycji);
  b.Field(r + 2, 9, "WYS", klawisz_pozycji);
  b.Field(r + 2, 51, "ODE", klawisz_pozycji);
  b.Text(r + 3, 15, teksty.tyb, wybierz_konto_zaplaty, AccountList(), "TYB");
  r += 4;
  b.Field(r, 16, "ZAP", wybierz_tak_nie);
  if (correction)
    b.Field(r, 64, "KZA", nullptr, po_kwocie_korekty);
  else
    b.Field(r, 64, "KZA", rejestr == 1 ? klawisz_kwoty_glowny : klawisz_kwoty_pomocniczy, waliduj_kwote_zaplacona);
  b.Field(r + 1, 16, "OZA");
  if (!correction) {
    b.Field(20, 35, "RE1", klawisz_zwolnienia);
    b.Text(21, 15, teksty.ksm, wybierz_procedure_marzy, MarginList(), "KSM");
  }
  b.Field(22, 16, "STV", correction ? wybierz_tak_nie : klawisz_ksiegowania);
  if (!correction) b.Text(22, 19, teksty.sta, wybierz_co_ksiegowac, CostList(), "STA");
  if (definicjaRejestru->cashPitShown && (correction || rejestr == 1)) b.Field(22, 44, "PKA", klawisz_pit_kasowego);
  b.Field(22, 69, "DAV", nullptr, waliduj_date_vat);
  b.Text(23, 15, teksty.sdr, wybierz_rodzaj_sdr, DocumentList(), "SDR");
  if (salesOptions.procedureMarks == 'T') {
    DefineTextCtrl(23, 42, Slot("NKV"), 0)->drawRoutine = ShowProcedures;
    DefineTextCtrl(23, 74, Slot("NKK"), 0)->drawRoutine = ShowGtu;
    DefineEditCtrl(23, 42, teksty.procedures, EDIT_TEXT | EDIT_DIRECT)->keyRoutine = klawisz_procedur;
    DefineEditCtrl(23, 74, teksty.gtu, EDIT_TEXT | EDIT_DIRECT)->keyRoutine = klawisz_gtu;
  }
  if (correction) {
    b.Shown(24, 22, "KRN");
    DefineTextCtrl(24, 42, Slot("KRV"), DEF_LAST);
  } else {
    b.Shown(24, 14, "NET");
    b.Shown(24, 37, "VAT");
    DefineTextCtrl(24, 64, Slot("BRU"), DEF_LAST);
  }
  // The list ends after its last entry.
  for (EditCtrl* e = f.edits; e < f.edits + FORM_ENTRIES; e++)
    if (!e->data) {
      (e - 1)->flags |= DEF_LAST;
      break;
    }
}

EditCtrl* Entry(Formularz& f, const void* data) {
  for (EditCtrl* e = f.edits; e < f.edits + FORM_ENTRIES && e->data; e++)
    if (e->data == data) return e;
  return nullptr;
}

// Entry of a field or buffer reachable or skipped in both forms.
void Reachable(const void* data, bool on) {
  for (Formularz& f : formularze)
    if (EditCtrl* e = Entry(f, data)) {
      if (on)
        e->flags &= ~EDIT_SKIP;
      else
        e->flags |= EDIT_SKIP;
    }
}
void Shown(const char* name, bool on) {
  for (Formularz& f : formularze) SetTextCtrlEnabled(f.texts, Slot(name), on ? 0 : 0x80);
}

bool NukCase(int kind, int sdrOrFlag) {
  int rejestr = salesContext ? salesContext->rejestr : 1;
  if (From2024()) return rejestr == 2 && (kind == 9 || kind == 10);
  return kind == 9 && (rejestr == 1 || sdrOrFlag == 3);
}

void Layout(int kind, bool marginCost, bool nuk) {
  bool marginProcedure = kind == 8 && WorkingYear() >= FIRST_MARGIN_YEAR;
  Reachable(teksty.sta, marginCost);
  Shown("STA", marginCost);
  Reachable(teksty.ksm, marginProcedure);
  Shown("KSM", marginProcedure);
  Reachable(definicjaRejestru->nuk, nuk);
  Reachable(teksty.sdr, !nuk);
  // A correction always names the document it corrects.
  if (EditCtrl* corrected = Entry(formularze[1], definicjaRejestru->nuk)) corrected->flags &= ~EDIT_SKIP;
}

}  // namespace

void buduj_formularze_naglowka(int rejestr) {
  rejestrFormularzy = rejestr;
  Build(formularze[0], false, rejestr);
  Build(formularze[1], true, rejestr);
}

EditCtrl* pola_formularza(int correction) { return formularze[correction ? 1 : 0].edits; }
TextCtrl* teksty_formularza(int correction) { return formularze[correction ? 1 : 0].texts; }

void odswiez_teksty_formularza() {
  CodeText(teksty.stm, HeaderDeliveryList(), f4int(H("STM")));
  CodeText(teksty.tyb, AccountList(), f4int(H("TYB")));
  CodeText(teksty.sta, CostList(), f4int(H("STA")));
  CodeText(teksty.ksm, MarginList(), f4int(H("KSM")));
  CodeText(teksty.sdr, DocumentList(), f4int(H("SDR")));
  teksty.split[0] = f4int(H("NRM")) >= 1 ? 'T' : 'N';
  teksty.split[1] = 0;
  int ksm = f4int(H("KSM"));
  SetPosition("NKV", NKV_MARGIN_TRAVEL, ksm == 1 ? 'T' : 'N');
  SetPosition("NKV", NKV_MARGIN_GOODS, ksm >= 2 ? 'T' : 'N');
  std::strcpy(teksty.gtu, AnySet("NKK", MARK_POSITIONS) ? "TAK" : "NIE");
  std::strcpy(teksty.procedures, AnySet("NKV", MARK_POSITIONS) ? "TAK" : "NIE");
  definicja_rejestru_sprzedazy& d = *definicjaRejestru;
  std::memset(d.nuk, ' ', sizeof d.nuk - 1);
  std::memcpy(d.nuk, f4ptr(H("NUK")), std::min<size_t>(f4len(H("NUK")), sizeof d.nuk - 1));
  d.nuk[sizeof d.nuk - 1] = 0;
}

void uklad_formularza_nowego(int kind, int correctedKind) {
  Layout(kind, kind == 8 || correctedKind == 8, NukCase(kind, definicjaRejestru->advanceFlag));
}

void uklad_formularza_modyfikacji(int kind) {
  bool marginCost = kind == 8 || ((kind == 3 || kind == 4) && f4int(H("TYM")) == 8);
  Layout(kind, marginCost, NukCase(kind, f4int(H("SDR"))));
}

void etykiety_formularza_naglowka() {
  int kind = Kind();
  int rejestr = salesContext ? salesContext->rejestr : 1;
  int old = w4attribute(LABEL_ATTR);
  if (rejestr == 1 && definicjaRejestru->cashPitShown) w4(22, 27, "czy PIT kasowy ?");
  bool margin = kind == 8 || ((kind == 3 || kind == 4) && f4int(H("TYM")) == 8);
  if (margin && WorkingYear() >= FIRST_MARGIN_YEAR) w4(21, 0, Sys("procedura marży"));
  if (NukCase(kind, f4int(H("SDR")))) w4(0, 27, "nr");
  if (rejestr == 1 && (kind == 1 || kind == 2 || kind == 9) && f4int(H("TYM")) == 6) w4(0, 27, "do");
  w4attribute(TOTALS_ATTR);
  w4(24, 0, kind == 3 || kind == 4 ? "RAZEM KOREKTY:" : "RAZEM:");
  w4attribute(old);
  if (salesOptions.procedureMarks != 'T') w4repeat(23, 31, ' ', 42);
}

int klawisz_pozycji(Get4* get, char* buffer, int32_t data) {
  (void)get;
  (void)buffer;
  (void)data;
  if (!Adding()) return g4char();
  int kind = Kind();
  if (salesOptions.stored24 == 'T' && f4int(H("STM")) != 4) return wprowadz_podsumowanie_vat(kind, 0);
  bool margin = kind == 8 || ((kind == 3 || kind == 4) && f4int(H("TYM")) == 8);
  ShowLineEntryHints(margin, LINE_HINTS_ORDER);
  int key = g4char();
  if (key == KEY_F4 || key == KEY_F5) key = LinesFromForm(key);
  if (WigetCtrlKey(key) && key != KEY_HOME) RemoveLineEntryHints();
  std::strcpy(teksty.gtu, AnySet("NKK", MARK_POSITIONS) ? "TAK" : "NIE");
  return key;
}
