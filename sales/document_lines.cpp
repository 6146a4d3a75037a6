// The line browse of one sales document: its context, menu, list columns,
// record panels and forms, the GTU key and " Rabat ".
#include "sales/document_lines.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "db/db_lock.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "masterdata/catalogue_lists.h"
#include "sales/document_totals.h"
#include "sales/line_code.h"
#include "sales/line_fields.h"
#include "sales/line_form.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int RIGHT_APPEND = 1210, RIGHT_MODIFY = 1220, RIGHT_DELETE = 1230, RIGHT_DISCOUNT = 1240, ID_END = 6;
constexpr int KEY_F8 = 0x4200;
constexpr int MSG_INVOICES_ONLY = 43, MSG_OFFICE_MODE = 44;
constexpr int16_t RES_PANEL_GROSS = 48, RES_PANEL = 49, RES_PANEL_COMPACT = 50, RES_FORM = 51, RES_FORM_COMPACT = 52;
constexpr int PANEL_LINES = 13, PANEL_LINES_COMPACT = 8, FORM_LINES = 23, FORM_LINES_COMPACT = 10;
constexpr int ESC_REPEATS = 10;
constexpr int LINES_BY_DOCUMENT = 3;
constexpr double MOST_DISCOUNT = 99.9, LEAST_DISCOUNT = -9.9;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
int Digit(DbField* field) { return c4atoi(f4ptr(field), static_cast<int>(f4len(field))); }

DbField** Slot(const char* name) { return pole_pozycji(name); }

void Columns(kontekst_pozycji* c) {
  ResetScrollDefinition(c->kolumny, sizeof c->kolumny);
  DefineScrollColumn(Slot("KOT"), 0, "kod");
  if (salesOptions.procedureMarks == 'T') {
    DefineScrollColumn(Slot("RE5"), SCROLL_FIXED_WIDTH, "OZ")->valueRoutine = [](ColumnValue* value) {
      int gtu = f4int(Line("RE5"));
      value->type = 'C';
      value->length = 2;
      std::snprintf(value->text, sizeof value->text, gtu == 0 ? "  " : "%2d", gtu);
    };
  }
  DefineScrollColumn(Slot("NA1"), SCROLL_FIXED_WIDTH, "nazwa")->width = 24;
  if (c->korekta) {
    DefineScrollColumn(Slot("KRN"), SCROLL_THOUSANDS, "korekta");
    DefineScrollColumn(Slot("KRV"), SCROLL_THOUSANDS, "VAT");
  } else {
    DefineScrollColumn(Slot("WNE"), SCROLL_THOUSANDS, "netto");
    DefineScrollColumn(Slot("VAS"), 0, "VAT");
    DefineScrollColumn(Slot("WAB"), SCROLL_THOUSANDS, "brutto");
  }
}

TextCtrl* Text(int row, int col, const char* name, const char* const* codes = nullptr, int flags = 0) {
  TextCtrl* t = DefineTextCtrl(row, col, Slot(name), flags);
  if (t) t->codeTexts = codes;
  return t;
}

const char* const* RateNames() { return Digit(Header("STM")) == 4 ? CodeList({"1. PODSTAWOWA", "2. OBNIŻONA 1",
                                                                              "3. OBNIŻONA 2", "4. SUPER OBNIŻONA"})
                                                                  : NAZWY_STAWEK_VAT; }

// A text cut at the panel's right edge.
void PanelText(TextCtrl* entry, const std::string& text) {
  int room = w4width() - entry->col;
  if (room > 0) w4num(entry->row, entry->col, text.c_str(), std::min(static_cast<int>(text.size()), room));
}

void KindOfLine(TextCtrl* entry) {
  PanelText(entry, KindCode(f4int(Line("TYV")), salesContext ? salesContext->rejestr : 1, f4int(Line("RFK"))));
}

// The account the row callback found for the line (blank when none).
void AccountNumber(TextCtrl* entry) {
  DbField* number = Z5KONT.table ? d4field(Z5KONT.table, "NUM") : nullptr;
  PanelText(entry, number ? std::string(f4ptr(number), f4len(number)) : std::string());
}
void AccountName(TextCtrl* entry) {
  DbField* name = Z5KONT.table ? d4field(Z5KONT.table, "NAZ") : nullptr;
  PanelText(entry, name ? std::string(f4ptr(name), f4len(name)) : std::string());
}

void Panels(kontekst_pozycji* c) {
  bool gross = c->cena == 2;
  int year = WorkingYear();
  const char* const* rates = RateNames();
  const char* const* deliveries = DeliveryList(year >= 2024);
  ResetTextCtrlDefinition(c->panel, sizeof c->panel);
  Text(0, 10, "TYV")->drawRoutine = KindOfLine;
  Text(0, 16, "PRE");
  Text(0, 21, "NRV");
  Text(0, 27, "POS");
  Text(0, 61, "DAW");
  Text(1, 15, "KOT");
  static const char* const NAMES[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"};
  for (int i = 0; i < 6; i++) Text(2 + i, 1, NAMES[i]);
  Text(9, 15, "JED");
  Text(9, 27, "KWU");
  Text(10, 15, "VAT", rates);
  Text(10, 35, "VAS");
  Text(11, 15, "RYT", ListaStawekRyczaltu(year));
  Text(11, 35, "RYS");
  Text(1, 59, "ILO", nullptr, TEXT_THOUSANDS);
  Text(2, 59, gross ? "CBB" : "CNB", nullptr, TEXT_THOUSANDS);
  Text(3, 59, "RAS");
  Text(4, 59, gross ? "CBR" : "CNR", nullptr, TEXT_THOUSANDS);
  Text(5, 59, "WAV", nullptr, TEXT_THOUSANDS);
  Text(6, 59, "WAB", nullptr, TEXT_THOUSANDS);
  Text(7, 59, "ILK", nullptr, TEXT_THOUSANDS);
  Text(8, 59, "KRN", nullptr, TEXT_THOUSANDS);
  Text(9, 59, "TYP", ListaTypuPrzychodu());
  Text(10, 59, "KON")->drawRoutine = AccountNumber;
  Text(11, 44, "KON")->drawRoutine = AccountName;
  Text(12, 9, "STM", deliveries);
  Text(12, 62, "CSS");
  Text(12, 74, "WAL");

  ResetTextCtrlDefinition(c->panel_skrocony, sizeof c->panel_skrocony);
  Text(0, 10, "TYV")->drawRoutine = KindOfLine;
  Text(0, 16, "PRE");
  Text(0, 21, "NRV");
  Text(0, 27, "POS");
  Text(0, 61, "DAW");
  Text(2, 16, gross ? "WAB" : "WNE", nullptr, TEXT_THOUSANDS);
  Text(2, 59, "KRN", nullptr, TEXT_THOUSANDS);
  Text(3, 16, "TYP", ListaTypuPrzychodu());
  Text(3, 59, "KRV", nullptr, TEXT_THOUSANDS);
  Text(4, 16, "VAT", rates);
  Text(4, 35, "VAS");
  Text(5, 16, "RYT", ListaStawekRyczaltu(year));
  Text(6, 16, "KON")->drawRoutine = AccountNumber;
  Text(7, 38, "CSS");
  Text(7, 59, "WAL");
}

int32_t Append(int32_t) { return browse_dopisz(0); }
int32_t Modify(int32_t) { return browse_modyfikuj(0); }
int32_t Delete(int32_t) { return browse_skasuj(1); }
int32_t End(int32_t) { return browse_zakoncz(); }

int StandardKeys(int key) {
  hot_keys(key, 0, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, Line("INF"));
  return 0;
}

int AfterDelete() {
  if (kontekstPozycji) kontekstPozycji->zmiana = 1;
  return 0;
}

int16_t PanelResource() {
  if (kontekstPozycji && kontekstPozycji->formularz_skrocony) return RES_PANEL_COMPACT;
  return kontekstPozycji && kontekstPozycji->cena == 2 ? RES_PANEL_GROSS : RES_PANEL;
}
int16_t FormResource() {
  return kontekstPozycji && kontekstPozycji->formularz_skrocony ? RES_FORM_COMPACT : RES_FORM;
}

// F1 leaves the form and the line list at once.
int LeaveEverything(int32_t, int32_t) {
  PushKeyMessage(KEY_ESC, ESC_REPEATS);
  return 0;
}

}  // namespace

DbField** pole_pozycji(const char* name) {
  DbField* field = Line(name);
  for (DbField*& bound : Z5SPRE.field)
    if (bound == field) return &bound;
  return nullptr;
}

int definicja_pozycji(kontekst_pozycji* c, int kind, int priceEntry, int viewOnly) {
  c->rodzaj = kind;
  c->cena = priceEntry;
  c->korekta = kind == 3 || kind == 4;
  int delivery = Digit(Header("STM"));
  c->formularz_skrocony = delivery != 4 && (salesOptions.stored18 == 'T' || kind == 5);
  c->wartosc_zakupu = czy_dokument_marzy() || (c->korekta && f4int(Header("TYM")) == 8);
  c->domyslny_kod_vat = domyslny_kod_vat_pozycji();
  int window = DefineMainMenuWindow();
  if (window < 0) return -1;
  c->okno_menu = window;
  if (viewOnly) {
    MenuDefineItem(Sys(" Zakończ "), ID_END, 'z', 0, End, nullptr);
  } else {
    MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', 0, Append, nullptr);
    MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, Modify, nullptr);
    MenuDefineItem(Sys(" Usuń "), RIGHT_DELETE, 'u', 0, Delete, nullptr);
    MenuDefineItem(" Rabat ", RIGHT_DISCOUNT, 'r', 0, rabat_dokumentu, nullptr);
  }
  Columns(c);
  Panels(c);
  definicja_formularzy_pozycji(c);
  return 0;
}

int klawisz_gtu_pozycji(int key) {
  if (key != KEY_F8 || salesOptions.procedureMarks != 'T' || !CurrentBrowse) return 0;
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* lines = Z5SPRE.table;
  long record = d4recno(lines);
  int gtu = f4int(Line("RE5"));
  int item = get_menu_function(" WYBIERZ ", ListaOznaczenGtu(WorkingYear()), gtu == 0 ? GTU_NONE_ITEM : gtu, -1, -1);
  if (item <= 0) return 0;
  if (go_and_lock(lines, record) != 0) return 0;
  f4assign_int(Line("RE5"), item == GTU_NONE_ITEM ? 0 : item);
  if (write_and_unlock(lines) == 0) browse_call(0, record);
  return 0;
}

int32_t rabat_dokumentu(int32_t) {
  kontekst_pozycji* c = kontekstPozycji;
  if (!c) return -1;
  int kind = c->rodzaj;
  if (!(kind == 1 || kind == 2 || (kind >= 6 && kind <= 11))) {
    Uwaga(MSG_INVOICES_ONLY);
    return 0;
  }
  if (salesOptions.stored18 == 'T') {
    Uwaga(MSG_OFFICE_MODE);
    return 0;
  }
  double raise = 0;
  if (PodajRabat(&raise) != 0) return 0;
  DbTable* lines = Z5SPRE.table;
  long header = f4long(Header("REC"));
  int rc = SeekSalesLinesByRek(header);
  if (rc < 0) return -1;
  for (; rc == 0 && !d4eof(lines) && f4long(Line("REK")) == header; rc = d4skip(lines, 1)) {
    // RAS holds one decimal under 100 and above -10
    double discount = std::clamp(f4double(Line("RAS")) + raise, LEAST_DISCOUNT, MOST_DISCOUNT);
    ToFieldCopyDouble(Line("RAS"), discount);
    if (c->cena == 2)
      przelicz_od_ceny_brutto(nullptr);
    else
      przelicz_od_ceny_netto(nullptr);
    if (d4write(lines, d4recno(lines)) != 0 || d4flush(lines) != 0) return -1;
  }
  c->zmiana = 1;
  if (rc < 0) return -1;
  return CurrentBrowse ? browse_call(0, 0) : 0;
}

int pozycje_dokumentu(int takeDiscount, int kind, int priceEntry, int viewOnly, int rejestr) {
  int previous = w4select(-1);
  bool countriesOpened = !Z5KRAJ.table && OpenZ5KRAJ(OPEN_DBF_MUST_EXIST) == 0;
  if (takeDiscount) rabatDokumentu = f4double(Header("UPU"));
  auto* c = static_cast<kontekst_pozycji*>(take_mem(sizeof(kontekst_pozycji)));
  if (!c) {
    if (countriesOpened) d4close(Z5KRAJ.table);
    return -1;
  }
  kontekst_pozycji* outer = kontekstPozycji;
  kontekstPozycji = c;
  int result = definicja_pozycji(c, kind, priceEntry, viewOnly);
  if (result == 0 && Z5KRAJ.table && Digit(Header("STM")) == 4) {
    std::string country(f4ptr(Header("KRA")), f4len(Header("KRA")));
    country.erase(country.find_last_not_of(' ') + 1);
    c->stawki_oss = liczba_stawek_oss(country.c_str());
  }
  BrowseContext* browse = nullptr;
  if (result == 0) result = allocate_browse(&browse, Z5SPRE.table, Z5SPRE.tag[LINES_BY_DOCUMENT], c->kolumny,
                                            c->okno_menu);
  if (result == 0 && browse) {
    browse->top_fn = dynfiltr_top;
    browse->bottom_fn = dynfiltr_bottom;
    browse->skip_fn = dynfiltr_skip;
    browse->limit_field = Line("REK");
    browse->limit_value = f4long(Header("REC"));
    // The row callback keeps the accounts on the line's account for the
    // panel, where the caller opened them.
    browse->filter_fn = [](intptr_t) { return Z5KONT.table ? szukaj_konta_pozycji() : X4_ACCEPT; };
    browse->before_new = przed_dopisaniem_pozycji;
    browse->before_write = nadaj_numer_pozycji;
    browse->on_validate = waliduj_pozycje;
    browse->after_append = po_dopisaniu_pozycji;
    browse->modify_hooks[MODIFY_BEFORE] = przed_modyfikacja_pozycji;
    browse->modify_hooks[MODIFY_AFTER] = po_modyfikacji_pozycji;
    browse->before_delete = przed_usunieciem_pozycji;
    browse->after_delete = AfterDelete;
    browse->key_hook = klawisz_gtu_pozycji;
    browse->pre_key_hook = StandardKeys;
    browse->stamp_field = Line("INF");
    browse->record_lines_source = PanelResource;
    browse->edit_lines_source = FormResource;
    browse->edit_lines_fixup = opis_formularza_pozycji;
    bool compact = c->formularz_skrocony;
    browse->record_texts = compact ? c->panel_skrocony : c->panel;
    browse->record_lines_count = compact ? PANEL_LINES_COMPACT : PANEL_LINES;
    browse->edit_texts = compact ? c->teksty_skrocone : c->teksty;
    browse->append_edits = compact ? c->pola_skrocone : c->pola;
    browse->edit_lines_count = compact ? FORM_LINES_COMPACT : FORM_LINES;
    if (!compact) browse->after_show_edit = etykiety_pozycji;
    static std::string title;
    title = opis_dokumentu_sprzedazy(rejestr);
    title.resize(std::min<size_t>(title.size(), 127));
    browse->title = TextRef(title.c_str());
    auto* const outerF1 = EnvCurrent()->hotKeys[KEY_F1 >> 8].routine;
    g4set_key_to(KEY_F1, LeaveEverything);
    add_help_line();
    set_fun_help("F1", "Rezygnuj", 1);
    if (!viewOnly && salesOptions.procedureMarks == 'T') set_fun_help("F8", "Oznaczenie", 8);
    result = zrob_browse(compact ? PANEL_LINES_COMPACT : PANEL_LINES, compact ? FORM_LINES_COMPACT : FORM_LINES, 0);
    remove_help_line();
    g4set_key_to(KEY_F1, outerF1);
    free_browse(&browse);
    if (result == 0 && c->zmiana) result = 1;
  } else {
    result = -1;
  }
  w4close(c->okno_menu);
  if (countriesOpened) d4close(Z5KRAJ.table);
  kontekstPozycji = outer;
  free_mem(&c);
  // Esc keys F1 queued beyond what the way out used
  ClearKeyMessages();
  clr_key_buf();
  w4select(previous);
  return result;
}
