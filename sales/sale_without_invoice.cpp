#include "sales/sale_without_invoice.h"

#include <cstring>
#include <iterator>
#include <string>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/description_field.h"
#include "sales/date_checks.h"
#include "sales/document_header.h"
#include "sales/document_totals.h"
#include "sales/interrupted_entry.h"
#include "sales/marks_dialogs.h"
#include "sales/numbering.h"
#include "sales/sales_context.h"
#include "sales/vat_summary_entry.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/selection.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int KIND = 5;
constexpr int KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;
constexpr int SUB_KIND_CASH_REPORT = 1, SUB_KIND_MARGIN = 2;
constexpr int NKV_MARGIN_TRAVEL = 6, NKV_MARGIN_GOODS = 7, MARK_POSITIONS = 13, NO_DEFAULT_MARK = 14;
constexpr int WINDOW_ROW = 9, WINDOW_ROWS = 19, WINDOW_WIDTH = 80;
constexpr int WIDGETS = 40;
constexpr int LINE_HINTS_ORDER = 5;
constexpr int FREE_NUMBER_WIDTH = 40, FIXED_NUMBER_WIDTH = 20;

enum class Mode { ADD, MODIFY, PREVIEW };

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }
int Register() { return salesContext ? salesContext->rejestr : 1; }
bool Adding() { return AddingNewDocument() != 0; }
void SetPosition(const char* field, int position, char c) { f4assign_ptr(H(field))[position - 1] = c; }

// The handle slot of a header field, as the wigets bind it.
DbField** Slot(const char* name) {
  DbField* field = H(name);
  for (DbField*& bound : Z5SPRZ.field)
    if (bound == field) return &bound;
  return nullptr;
}

// What the window keeps while it runs.
struct BrWindow {
  Wiget list[WIDGETS];
  int32_t savedTry;
  char number[FREE_NUMBER_WIDTH + 1];
  char procedures[4];
  std::string marginLabel, costLabel;
};
BrWindow* shown;

void RefreshProcedures() {
  if (!shown) return;
  bool any = false;
  const char* marks = f4ptr(H("NKV"));
  for (int i = 0; i < MARK_POSITIONS; i++) any = any || marks[i] == 'T';
  std::strcpy(shown->procedures, any ? "TAK" : "NIE");
  if (Wiget* w = WigetBySource(shown->list, WigetVar(shown->procedures))) w->state |= WS_REDRAW;
}

// KSM, STA and their labels belong to margin sales only.
void SwitchMarginRows(int subKind) {
  if (!shown) return;
  StateOfWigetsBySrc_(WS_DISABLED | WS_HIDDEN, subKind != SUB_KIND_MARGIN, shown->list, WigetFld(Slot("KSM")),
                      WigetFld(Slot("STA")), WigetMsg(shown->marginLabel.c_str()),
                      WigetMsg(shown->costLabel.c_str()));
}

void MarginMarks() {
  int procedure = f4int(H("KSM"));
  SetPosition("NKV", NKV_MARGIN_TRAVEL, procedure == 1 ? 'T' : 'N');
  SetPosition("NKV", NKV_MARGIN_GOODS, procedure >= 2 && procedure <= 4 ? 'T' : 'N');
}

void DefaultTexts(const char* date) {
  opisy_sprzedazy_bezrachunkowej(date);
  if (!shown) return;
  for (const char* name : {"NA1", "OP1", "OP2"})
    if (Wiget* w = WigetBySource(shown->list, WigetFld(Slot(name)))) w->state |= WS_REDRAW;
}

std::string Date(const char* name) { return std::string(f4ptr(H(name)), 8); }

int br_data_wystawienia(WigetEvent* e, Wiget*, void*) {
  switch (e->code) {
    case WE_LEAVE:
      for (const char* name : {"DAS", "DAV"}) ToFieldCopyField(H(name), H("DAW"));
      if (FieldIsEmpty(H("NA1"))) DefaultTexts(Date("DAW").c_str());
      return 0;
    case WE_TEST:
      if (date4year(std::string(e->newValue.date, 8).c_str()) == WorkingYear()) return 0;
      e->message = TextRef(Sys("Rok różny od rozrachunkowego!").c_str());
      return 1;
    case WE_CHANGED:
      DefaultTexts(std::string(e->newValue.date, 8).c_str());
      return 0;
    default:
      return 0;
  }
}

int br_data_sprzedazy(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_TEST) return 0;
  if (date4year(std::string(e->newValue.date, 8).c_str()) != WorkingYear()) Uwaga(Sys("Rok różny od rozrachunkowego!").c_str());
  if (Adding()) {
    std::memcpy(f4assign_ptr(H("DAS")), e->newValue.date, 8);
    ustal_date_vat();
  }
  return 0;
}

int br_data_vat(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_TEST) return 0;
  std::string date(e->newValue.date, 8);
  bool smallTaxpayer = f4int(H("TYV")) == 7 && salesOptions.cashVat == 'T';
  int refused = smallTaxpayer ? sprawdz_date_vat_mp(date.c_str()) : sprawdz_date_vat(date.c_str());
  return refused != 0 ? 1 : 0;
}

// F4/F5 on the fields of a new BR: its lines, summed into the header.
int br_klawisz_pozycji(WigetEvent* e, Wiget*, void*) {
  if (!Adding()) return 0;
  bool margin = czy_dokument_marzy() != 0;
  switch (e->code) {
    case WE_ENTER:
      ShowLineEntryHints(margin, LINE_HINTS_ORDER);
      return 0;
    case WE_LEAVE:
      RemoveLineEntryHints();
      return 0;
    case WE_KEY:
      break;
    default:
      return 0;
  }
  if (e->key != KEY_F4 && e->key != KEY_F5) return 0;
  if (salesOptions.stored24 == 'T' && f4char(H("STM")) != '4') {
    wprowadz_podsumowanie_vat(KIND, e->key);
    e->key = KEY_ENTER;
    return 0;
  }
  int priceMode = LineEntryPriceMode(margin, e->key);
  PushKeyMessage('D', 1);   // the line list starts by adding a line
  if (wprowadz_pozycje_z_formularza(KIND, priceMode, Register()) < 0) {
    e->key = KEY_ESC;
    return 0;
  }
  // The GTU marks of the lines are the lines' own in a BR.
  ToFieldCopyMaxString(H("NKK"), "");
  e->key = KEY_ENTER;
  return 0;
}

int br_opis(WigetEvent* e, Wiget*, void*) {
  if (e->code == WE_ENTER) set_fun_help("F4", "Lista", 5);
  if (e->code == WE_LEAVE) remove_fun_help("F4");
  if (e->code != WE_KEY || e->key != KEY_F4) return 0;
  e->key = wybierz_opis_do_pol(H("OP1"), H("OP2")) == KEY_ENTER ? KEY_ENTER : 0;
  return 0;
}

int br_zwolnienie(WigetEvent* e, Wiget*, void*) {
  if (e->code == WE_ENTER) set_fun_help("F4", "Lista", 5);
  if (e->code == WE_LEAVE) remove_fun_help("F4");
  if (e->code != WE_KEY || e->key != KEY_F4) return 0;
  static std::string items[5];
  static const char* list[6];
  items[0] = std::string(32, ' ');
  for (int n = 1; n <= 4; n++) items[n] = PrintfQStr("%i. %s", n, podstawa_zwolnienia(n));
  for (int i = 0; i < 5; i++) list[i] = items[i].c_str();
  list[5] = nullptr;
  int chosen = get_menu_function(" WYBIERZ ", list, 1, -1, -1);
  if (chosen > 0) {
    ToFieldCopyMaxString(H("RE1"), podstawa_zwolnienia(chosen));
    e->key = KEY_ENTER;
  } else {
    e->key = 0;
  }
  return 0;
}

int br_procedura_marzy(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_STORED) return 0;
  MarginMarks();
  RefreshProcedures();
  return 0;
}

int br_procedury(WigetEvent* e, Wiget*, void*) {
  if (e->code == WE_ENTER) set_fun_help("F4", "Opcje", 5);
  if (e->code == WE_LEAVE) remove_fun_help("F4");
  if (e->code != WE_KEY) return 0;
  if (e->key == KEY_F4) {
    procedury(0);
    RefreshProcedures();
    e->key = 0;
  } else if (!WigetCtrlKey(e->key)) {
    e->key = 0;   // the display is not typed over
  }
  return 0;
}

int po_zmianie_rodzaju_br(WigetEvent* e, Wiget*, void*) {
  if (e->code == WE_CHANGED) {
    DefaultTexts(Date("DAW").c_str());
    return 0;
  }
  if (e->code != WE_STORED) return 0;
  int subKind = e->newLong;
  SwitchMarginRows(subKind);
  if (subKind == SUB_KIND_MARGIN && FieldIsEmpty(H("KSM")))
    f4assign_char(H("KSM"), static_cast<char>('0' + salesOptions.list102));
  if (f4int(H("STA")) == 0) f4assign_char(H("STA"), '1');
  if (subKind != SUB_KIND_MARGIN) {
    f4assign_long(H("TRY"), shown ? shown->savedTry : 1);
    SetPosition("NKV", NKV_MARGIN_TRAVEL, 'N');
    SetPosition("NKV", NKV_MARGIN_GOODS, 'N');
  } else {
    f4assign_long(H("TRY"), 2);
    MarginMarks();
  }
  RefreshProcedures();
  if (shown)
    for (Wiget* w = shown->list;; w++) {
      w->state |= WS_REDRAW;
      if (w->state & WS_LAST) break;
    }
  return 0;
}

// Lists of the window, built once.
struct Lists {
  Selection subKinds[3], priceModes[3], deliveries[8], margins[5], costs[3];
  Lists() {
    auto fill = [](Selection* array, int bytes, int width,
                   std::initializer_list<std::pair<int32_t, const char*>> items) {
      ResetSelectionDefinition(array, bytes, width, 3);
      for (const auto& [code, text] : items) DefineSelection(code, Utf8ToMazText(text).c_str(), nullptr, 0);
    };
    fill(subKinds, sizeof subKinds, 32, {{1, "SPRZEDAŻ wg RAPORTU KASOWEGO"}, {0, "INNA SPRZEDAŻ"}});
    fill(priceModes, sizeof priceModes, 10, {{1, "NETTO"}, {2, "BRUTTO"}});
    fill(deliveries, sizeof deliveries, 19,
         {{'1', "KRAJOWA"}, {'2', "WDT"}, {'3', "EKSPORT"}, {'5', "UE-usługi"}, {'6', "POZA KRAJEM"},
          {'8', "ZWROT podróżnym"}, {'4', "OSS"}});
    fill(margins, sizeof margins, 42,
         {{'1', "dla biur podróży."}, {'2', "- towary używane."}, {'3', "- dzieła sztuki."},
          {'4', "- przedmioty kolekcjonerskie i antyki."}});
    fill(costs, sizeof costs, 8, {{'1', "NETTO"}, {'2', "MARŻA"}});
  }
};

Wiget* Field(int row, int col, const char* name, WigetHook hook = nullptr, uint32_t flags = 0) {
  Wiget* w = DefineWigetEx(row, col, WigetFld(Slot(name)), 0, W_FIELD | flags);
  if (w) w->hook = hook;
  return w;
}
Wiget* Code(int row, int col, const char* name, const Selection* list, WigetHook hook = nullptr, uint32_t flags = 0) {
  Wiget* w = DefineWigetEx(row, col, WigetFld(Slot(name)), list, W_FIELD_CODE | flags);
  if (w) w->hook = hook;
  return w;
}
void Label(int row, int col, const char* utf8) {
  static std::string kept[16];
  static int used;
  std::string& text = kept[used++ % 16];
  text = Utf8ToMazText(utf8);
  DefineWigetEx(row, col, WigetMsg(text.c_str()), 0, W_STATIC);
}

void DefineWindow(BrWindow& b, bool displayOnly) {
  static Lists lists;
  uint32_t ro = displayOnly ? WF_DISPLAY_ONLY : 0;
  // Rows and columns count from the window's frame.
  ResetWigetsDefinition(b.list, WIDGETS * WIGET_BYTES, 1);
  Label(2, 1, "rodzaj:");
  Label(2, 60, "ceny:");
  Label(3, 1, "nr");
  Label(3, 51, "dostawa:");
  Label(4, 1, "data wystawienia:");
  Label(4, 49, "data sprzedaży...:");
  Label(5, 49, "data VAT.........:");
  Label(6, 1, "nazwa..:");
  Label(7, 1, "opis...:");
  Label(8, 1, "uwagi..:");
  Label(10, 1, "czy rejestrować w ewidencji VAT?..");
  Label(11, 1, "podstawa zwolnienia z VAT.........");
  Label(14, 1, "wystawił..........................");
  if (salesOptions.procedureMarks == 'T') Label(15, 64, "procedury:");
  Label(17, 1, "netto:");
  Label(17, 33, "VAT:");
  Label(17, 58, "brutto:");
  Code(2, 8, "RE5", lists.subKinds, po_zmianie_rodzaju_br, ro);
  Code(2, 67, "TRY", lists.priceModes, nullptr, WF_DISPLAY_ONLY);
  int width = f4char(H("RE4")) == 'N' ? FREE_NUMBER_WIDTH : FIXED_NUMBER_WIDTH;
  DefineWigetEx(3, 4, WigetVar(b.number), width, W_TEXT | WF_DISPLAY_ONLY);
  Code(3, 60, "STM", lists.deliveries, nullptr, ro);
  Field(4, 18, "DAW", br_data_wystawienia, ro);
  Field(4, 67, "DAS", br_data_sprzedazy, ro);
  Field(5, 67, "DAV", br_data_vat, ro);
  Field(6, 9, "NA1", br_klawisz_pozycji, ro);
  Field(7, 9, "OP1", br_opis, ro);
  Field(7, 31, "OP2", br_klawisz_pozycji, ro);
  Field(8, 9, "UW1", br_klawisz_pozycji, ro);
  Field(9, 9, "UW2", br_klawisz_pozycji, ro);
  DefineWigetEx(10, 36, WigetFld(Slot("STV")), 0, W_FIELD_YESNO | ro);
  Field(11, 36, "RE1", br_zwolnienie, ro);
  b.marginLabel = Sys("procedura marży...................");
  b.costLabel = Sys("co księgować?.....................");
  DefineWigetEx(12, 1, WigetMsg(b.marginLabel.c_str()), 0, W_STATIC);
  Code(12, 36, "KSM", lists.margins, br_procedura_marzy, ro);
  DefineWigetEx(13, 1, WigetMsg(b.costLabel.c_str()), 0, W_STATIC);
  Code(13, 36, "STA", lists.costs, nullptr, ro);
  Field(14, 36, "WYS", br_klawisz_pozycji, ro);
  if (salesOptions.procedureMarks == 'T')
    DefineWigetEx(15, 75, WigetVar(b.procedures), 3, W_TEXT | ro)->hook = br_procedury;
  Field(17, 15, "NET", nullptr, WF_DISPLAY_ONLY);
  Field(17, 38, "VAT", nullptr, WF_DISPLAY_ONLY);
  Field(17, 65, "BRU", nullptr, WF_DISPLAY_ONLY);
}

void NumberText(char* out) {
  std::string text = f4char(H("RE4")) == 'N' ? FldQStr(H("OSM"), 1) : NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
  std::strncpy(out, text.c_str(), FREE_NUMBER_WIDTH);
  out[FREE_NUMBER_WIDTH] = 0;
}

// Runs the window over the current header; the key that ended it.
int RunWindow(Mode mode) {
  BrWindow b{};
  b.savedTry = f4int(H("TRY"));
  if (FieldIsEmpty(H("RE5"))) f4assign_long(H("RE5"), 0);
  NumberText(b.number);
  BrWindow* outer = shown;
  shown = &b;
  bool displayOnly = mode == Mode::PREVIEW;
  DefineWindow(b, displayOnly);
  RefreshProcedures();   // looks its element up, so only once the list exists
  SwitchMarginRows(f4int(H("RE5")));
  std::string title = Sys(displayOnly ? "SPRZEDAŻ BEZRACHUNKOWA podgląd" : "SPRZEDAŻ BEZRACHUNKOWA");
  int previous = w4select(-1);
  int window = DefineBroAppeWindow(WINDOW_ROW, 0, WINDOW_ROWS, WINDOW_WIDTH, title.c_str(), 0, b.list, &b);
  int key = KEY_ESC;
  if (window >= 0) {
    w4activate(window);
    w4select(window);
    // The form draws its fixed texts only when it starts shown only.
    DisplayPageWigets(w4record(window), b.list, 0, 0, WD_ALL);
    add_help_line();
    set_fun_help("F2", displayOnly ? Sys("Podgląd").c_str() : "Zapisz", 1);
    key = ActivateWindow(window, nullptr, nullptr, displayOnly ? AW_DISPLAY | AW_NO_QUESTIONS : 0);
    remove_help_line();
    w4deactivate(window);
    w4close(window);
  }
  w4select(previous);
  FreeWigets(b.list);
  shown = outer;
  return key;
}

}  // namespace

namespace {

// The window over the header and what follows its end; the ending key.
int RunAndStore(bool modify) {
  DbTable* t = Z5SPRZ.table;
  if (modify) {
    if (FieldIsEmpty(H("RE1"))) ToFieldCopyMaxString(H("RE1"), podstawa_zwolnienia(salesOptions.list103));
    if (FieldIsEmpty(H("KSM")) || f4int(H("KSM")) == 0)
      f4assign_char(H("KSM"), static_cast<char>('0' + salesOptions.list102));
    if (FieldIsEmpty(H("STA")) || f4int(H("STA")) == 0) f4assign_char(H("STA"), '1');
  }
  int key = RunWindow(modify ? Mode::MODIFY : Mode::ADD);
  if (key != KEY_F2) {
    if (!modify && key == KEY_ESC) {
      anuluj_nowy_dokument();
    } else if (modify) {
      // What the window changed in the record buffer is dropped, so that no
      // later move writes it.
      long record = d4recno(t);
      d4changed(t, 0);
      d4go(t, record);
    }
    return key;
  }
  set_pass_inf(modify ? STAMP_KIND_MODIFIED : 0, H("INF"));
  if (modify) {
    d4write(t, d4recno(t));
    if (po_modyfikacji_dokumentu() == 0) po_modyfikacji_ksiegowanie();
  } else if (zapisz_nowa_sprzedaz() == 0) {
    po_zapisaniu_dokumentu();
  }
  d4flush(t);
  return KEY_F2;
}

}  // namespace

int okno_sprzedazy_bezrachunkowej(int modify) {
  DbTable* t = Z5SPRZ.table;
  // The numbering of the series follows the kind being entered.
  if (salesContext) salesContext->kind = KIND;
  if (!modify) {
    if (podaj_numer_dokumentu(salesOptions.standardNumbering == 'T', 0, 0) < 0) return 0;
    if (nowa_sprzedaz_bezrachunkowa() != 0) return 0;
  } else if (CurrentBrowse && EmptyBrowseWarning(CurrentBrowse) != 0) {
    return 0;
  }
  // A stored header is read again and kept locked while it is edited, so
  // that no other workstation's change is written over.
  long record = d4recno(t);
  if (modify && (record <= 0 || go_and_lock(t, record) != 0)) return 0;
  BrowseContext* browse = CurrentBrowse;
  uint8_t browseMode = browse ? browse->modify_mode : 0;
  if (browse) browse->modify_mode = modify ? 1 : 0;
  int key = RunAndStore(modify != 0);
  if (browse) browse->modify_mode = browseMode;
  if (modify) d4unlock(t);
  if (browse) browse_call(0, d4deleted(t) ? 0 : d4recno(t));
  return key;
}

int nowa_sprzedaz_bezrachunkowa() {
  DbTable* t = Z5SPRZ.table;
  d4blank(t);
  f4assign_long(H("TYV"), KIND);
  f4assign_char(H("SDR"), '2');
  if (podsumowanieVat)
    for (int row = 1; row < SUMMARY_ROWS; row++) zeruj_wiersz_podsumowania(row);
  kontekst_sprzedazy* c = salesContext;
  if (salesOptions.standardNumbering == 'T') {
    if (c) wpisz_numer_do_naglowka(H("PRE"), H("NRV"), H("POS"), &c->next);
  } else {
    if (c) ToFieldCopyMaxString(H("OSM"), c->freeNumber);
    f4assign_char(H("RE4"), 'N');
  }
  f4assign_long(H("TYB"), 1);
  f4assign_long(H("TRY"), 1);
  f4assign_char(H("STM"), '1');
  char today[9];
  if (c)
    std::memcpy(today, c->workingDate, 8);
  else
    date4today(today);
  for (const char* date : {"DAW", "DAS", "DAV"}) std::memcpy(f4assign_ptr(H(date)), today, 8);
  f4assign_char(H("ZAP"), 'T');
  ToFieldCopyMaxString(H("PLA"), Sys("GOTÓWKA").c_str());
  for (const char* mark : {"ANU", "TTR"}) f4assign_char(H(mark), 'N');
  for (const char* mark : {"STV", "RE3"}) f4assign_char(H(mark), 'T');
  std::string issuedBy = QuickStr(salesOptions.issuedBy, -1, 1);
  ToFieldCopyMaxString(H("WYS"), issuedBy.empty() ? QuickStr(EnvCurrent()->operatorFullName, -1, 1) : issuedBy.c_str());
  ToFieldCopyMaxString(H("WAL"), "PLN");
  ToFieldCopyMaxString(H("KRA"), "POLSKA");
  f4assign_double(H("KVA"), 1);
  f4assign_double(H("KKS"), 1);
  ToFieldCopyMaxString(H("RE1"), podstawa_zwolnienia(salesOptions.list103));
  int mark = salesOptions.list131;
  if (mark >= 1 && mark < NO_DEFAULT_MARK) SetPosition("NKV", mark, 'T');
  BeginHeaderEntry(H("INF"));
  int failed = lock_and_append(t, przed_dopisaniem_naglowka, nullptr);
  d4unlock(t);
  if (failed) EndHeaderEntry();
  return failed ? -1 : 0;
}

int zapisz_nowa_sprzedaz() {
  // A BR has no linked number, so the ordinary save is the whole of it.
  return zapisz_dokument(Z5SPRZ.table, nullptr, nullptr);
}

void opisy_sprzedazy_bezrachunkowej(const char* date) {
  const char* longText;
  const char* shortText;
  switch (f4int(H("RE5"))) {
    case SUB_KIND_CASH_REPORT:
      longText = "sprzedaż wg raportu kasowego";
      shortText = "raport kasowy";
      break;
    case SUB_KIND_MARGIN:
      longText = "sprzedaż z marżą wg raportu kasowego";
      shortText = "raport kasowy marża";
      break;
    default:
      longText = "sprzedaż bezrachunkowa";
      shortText = "bezrachunkowa";
      break;
  }
  std::string day(date, 8);
  int year = date4year(day.c_str());
  std::string name = PrintfQStr("%s - %s %04i", Sys(longText).c_str(), date4month_name(day.c_str()), year);
  ToFieldCopyMaxString(H("NA1"), name.c_str());
  std::string issued(f4ptr(H("DAW")), 8);
  ToFieldCopyMaxString(H("OP1"), PrintfQStr(Sys("sprzedaż - %02i.%04i").c_str(), date4month(issued.c_str()), year));
  ToFieldCopyMaxString(H("OP2"), Sys(shortText).c_str());
}

int podglad_sprzedazy_bezrachunkowej() {
  if (FieldIsEmpty(H("RE5"))) f4assign_long(H("RE5"), 0);
  return RunWindow(Mode::PREVIEW);
}
