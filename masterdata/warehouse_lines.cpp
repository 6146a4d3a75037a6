// The lines of a warehouse document: their arithmetic, the stock rules and
// the line editor of one document.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "masterdata/price_arithmetic.h"
#include "masterdata/stock_update.h"
#include "masterdata/warehouse_documents.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_LINES_TITLE = 164;    // "Dowód przesunięcia nr %s z dnia %s"
constexpr int MSG_TOO_LARGE = 20160;    // "Przekroczona maks. wartość %s !"
constexpr double VALUE_LIMIT = 100000000.0;
constexpr int RIGHT_END = 6;
constexpr int16_t RES_LINE_FORM = 271;
constexpr int FORM_LINES = 11;
constexpr int KEY_ALT_I = 0x1700;
constexpr int FIRST_YEAR_2024 = 2024;
constexpr int NAME_COLUMN_WIDTH = 27;
constexpr int LINES = 6;   // NA1 to NA6

DbTable* Lines() { return stronaMagazynu->lines->table; }
DbField* Line(const char* name) { return d4field(Lines(), name); }
DbField* Header(const char* name) { return d4field(stronaMagazynu->headers->table, name); }

// The handle's own slot of a line field: lists keep pointers to it.
DbField** Bound(const char* name) {
  DbField* field = Line(name);
  for (DbField*& bound : stronaMagazynu->lines->field)
    if (bound == field) return &bound;
  return nullptr;
}

std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

bool StockOn() { return warehouseOptions.stockOnEntry == 'T'; }

// ---- the editor's state

struct Editor {
  int net;
  int view;
  int menu;
  char oldCode[33];
  char oldName[41];
  double oldQuantity;
  double oldPrice;
  char oldStp;
  char title[121];
  ScrollColumn columns[6];
  TextCtrl panel[16];
  TextCtrl formTexts[24];
  EditCtrl form[20];
};
Editor* editor = nullptr;


// The rate of the line's code: the one rule of the VAT codes.
void SetRateFromCode(int code) {
  f4assign_long(Line("VAT"), code);
  f4assign_double(Line("VAS"), wartosc_stawki_vat(Line("VAT")));
  ustaw_tekst_stawki_pozycji();
}

void Redraw() { OdswiezGety(); }

// ---- stock of the line being saved

// Gives the remembered line back, then applies the present one.
int RestockModified() {
  Editor& e = *editor;
  std::string code = FldQStr(Line("KOT"), 0);
  bool same = code == std::string(e.oldCode) && ROUND(f4double(Line("ILO")), 4) == ROUND(e.oldQuantity, 4);
  char wanted = StockOn() ? 'T' : 'N';
  if (same && e.oldStp == wanted) return 0;
  if (e.oldStp == 'T') {
    int reached = 0;
    int r = stan_pozycji_magazynowej(e.oldCode, e.oldName, e.oldQuantity, 0, &reached);
    if (r != 0) {
      zamknij_okno_raportu(1);
      return -1;
    }
  }
  char stp = 'N';
  if (StockOn()) {
    int reached = 0;
    int r = stan_pozycji_magazynowej(code.c_str(), FldQStr(Line("NA1"), 0), f4double(Line("ILO")), 1, &reached);
    if (r == 0 && reached) stp = 'T';
  }
  f4assign_char(Line("STP"), stp);
  zamknij_okno_raportu(1);
  return 0;
}

// ---- field routines

int LeaveIfCodeGiven(Get4*, char*, int32_t) {
  if (!pusty_towar_pozycji) return KEY_ENTER;
  return 0;
}

int Recalculate() {
  if (przelicz_pozycje_magazynowa(editor->net) != 0) return -1;
  Redraw();
  return 0;
}

int QuantityValid(Get4*) {
  if (f4double(Line("ILO")) < 0) {
    Uwaga(Sys("Wartość nie może być mniejsza od zera.").c_str());
    return -1;
  }
  return Recalculate();
}

int RecalculateValid(Get4*) { return Recalculate(); }

int VatCodeKey(Get4*, char* buffer, int32_t) {
  int key = g4char();
  if (WigetCtrlKey(key)) return key;
  int current = f4int(Line("VAT"));
  int chosen = WorkingYear() >= FIRST_YEAR_2024 ? wybierz_kod_stawki_vat(current, 0)
                                                : wybierz_stawke_vat(NAZWY_STAWEK_VAT, current, -1, -1, 0);
  if (chosen < 0) return KEY_UP;
  SetRateFromCode(chosen);
  std::memcpy(buffer, tekst_stawki_pozycji, sizeof tekst_stawki_pozycji - 1);
  if (Recalculate() != 0) return -1;
  return KEY_ENTER;
}

// Alt+I in the value: the quantity that gives the value typed at the price.
int ValueKey(Get4* get, char* buffer, int32_t) {
  int key = g4char();
  if (key != KEY_ALT_I) return key;
  double price = f4double(Line(editor->net ? "CEN" : "CEB"));
  if (price == 0) return -1;
  std::string typed(buffer, strnlen(buffer, static_cast<size_t>(get->dataWidth)));
  double value = std::strtod(typed.c_str(), nullptr);
  f4assign_double(Line("ILO"), value / price);
  if (Recalculate() != 0) return -1;
  return KEY_ENTER;
}

int VatAmountValid(Get4*) {
  if (editor->net)
    f4assign_double(Line("WAB"), ROUND(f4double(Line("WAN")) + f4double(Line("WAV")), 2));
  else
    f4assign_double(Line("WAN"), ROUND(f4double(Line("WAB")) - f4double(Line("WAV")), 2));
  Redraw();
  return 0;
}

// ---- the browse's hooks

int BeforeNew() {
  f4assign_long(Line("REK"), f4long(Header("REC")));
  f4assign_long(Line("NUM"), f4long(Header("NUM")));
  f4assign_field(Line("DAT"), Header("DAT"));
  f4assign_double(Line("ILO"), 1);
  int code = salesOptions.usualVatCode;
  bool kept = code == 2 || code == 3 || code == 4 || code == 5 || code == 8 || code == 9 || code == 13;
  SetRateFromCode(kept ? code : 1);
  f4assign_char(Line("STP"), 'N');
  pusty_towar_pozycji = 1;
  modyfikacja_pozycji_magazynowej = 0;
  return 0;
}

int AfterAppend() {
  if (!StockOn()) return 0;
  DbTable* lines = Lines();
  long record = d4recno(lines);
  int reached = 0;
  int r = stan_pozycji_magazynowej(FldQStr(Line("KOT"), 0), FldQStr(Line("NA1"), 0), f4double(Line("ILO")), 1,
                                   &reached);
  zamknij_okno_raportu(1);
  if (r == 0 && reached && go_and_lock(lines, record) == 0) {
    f4assign_char(Line("STP"), 'T');
    if (write_and_unlock(lines) != 0) return -1;
  }
  return r;
}

int BeforeModify() {
  Editor& e = *editor;
  std::string code = FldQStr(Line("KOT"), 0);
  std::snprintf(e.oldCode, sizeof e.oldCode, "%s", code.c_str());
  std::snprintf(e.oldName, sizeof e.oldName, "%s", FldQStr(Line("NA1"), 0));
  e.oldQuantity = f4double(Line("ILO"));
  e.oldPrice = f4double(Line("CEN"));
  e.oldStp = static_cast<char>(f4char(Line("STP")));
  pusty_towar_pozycji = code.empty();
  modyfikacja_pozycji_magazynowej = 1;
  ustaw_ostatni_kod_towaru(code.c_str());
  ustaw_tekst_stawki_pozycji();
  return 0;
}

// A failed give-back of the old line refuses the change: the stored line
// stays as applied.
int AfterModify() { return RestockModified(); }

int BeforeDelete() {
  if (f4char(Line("STP")) != 'T') return 0;
  int reached = 0;
  int r = stan_pozycji_magazynowej(FldQStr(Line("KOT"), 0), FldQStr(Line("NA1"), 0), f4double(Line("ILO")), 0,
                                   &reached);
  zamknij_okno_raportu(1);
  return r == 0 ? 0 : 1;
}

int Keys(int key) {
  if (editor->view) {
    hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, Line("INF"));
    return 0;
  }
  int base = stronaMagazynu->lineRightsBase;
  hot_keys(key, 0, base + 10, 0, base + 20, 1, base + 30, Line("INF"));
  return 0;
}

void LabelsFixup(char* lines) {
  // "cena" on row 9, the two "wart." on row 10: net or gross after each.
  const char* first = editor->net ? "netto " : "brutto";
  const char* second = editor->net ? "brutto" : "netto ";
  auto put = [&](int row, int col, const char* text) { std::memcpy(lines + row * 78 + col, text, 6); };
  put(9, 5, first);
  put(10, 6, first);
  put(10, 42, second);
}

void DefineLists(Editor& e) {
  ResetScrollDefinition(e.columns, sizeof e.columns);
  DefineScrollColumn(Bound("KOT"), 0, "kod");
  DefineScrollColumn(Bound("NA1"), SCROLL_FIXED_WIDTH, "nazwa")->width = NAME_COLUMN_WIDTH;
  DefineScrollColumn(Bound("WAN"), 0, "netto");
  DefineScrollColumn(Bound("VAS"), 0, "[%]");
  DefineScrollColumn(Bound("WAB"), DEF_LAST, "brutto");

  definiuj_panel_pozycji(e.panel, sizeof e.panel);
  const char* names[LINES] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"};

  const char* priceField = e.net ? "CEN" : "CEB";
  const char* valueField = e.net ? "WAN" : "WAB";
  const char* otherField = e.net ? "WAB" : "WAN";
  ResetTextCtrlDefinition(e.formTexts, sizeof e.formTexts);
  DefineTextCtrl(0, 14, Bound("KOT"), 0);
  for (int i = 0; i < LINES; i++) DefineTextCtrl(1 + i, 14, Bound(names[i]), 0);
  DefineTextCtrl(7, 14, Bound("JED"), 0);
  DefineTextCtrl(8, 16, Bound("ILO"), 0);
  DefineTextCtrl(8, 49, Bound("VAT"), 0)->codeTexts = NAZWY_STAWEK_VAT;
  DefineTextCtrl(8, 70, Bound("VAS"), 0);
  DefineTextCtrl(9, 15, Bound(priceField), TEXT_THOUSANDS);
  DefineTextCtrl(10, 14, Bound(valueField), TEXT_THOUSANDS);
  DefineTextCtrl(9, 50, Bound("WAV"), TEXT_THOUSANDS);
  DefineTextCtrl(10, 50, Bound(otherField), TEXT_THOUSANDS | DEF_LAST);

  ResetEditCtrlDefinition(e.form, sizeof e.form);
  EditCtrl* code = DefineEditCtrl(0, 14, Bound("KOT"), EDIT_DATE | EDIT_UPPER);
  code->keyRoutine = towar_f4_lista;
  code->routineData = stronaMagazynu->receipt ? 2 : 1;
  code->validator = valid_towar_pozycji;
  for (int i = 0; i < LINES; i++) DefineEditCtrl(1 + i, 14, Bound(names[i]), EDIT_DATE)->keyRoutine = LeaveIfCodeGiven;
  DefineEditCtrl(7, 14, Bound("JED"), EDIT_DATE)->keyRoutine = LeaveIfCodeGiven;
  DefineEditCtrl(8, 16, Bound("ILO"), EDIT_DATE | EDIT_THOUSANDS)->validator = QuantityValid;
  DefineEditCtrl(8, 49, tekst_stawki_pozycji, EDIT_TEXT | EDIT_DIRECT)->keyRoutine = VatCodeKey;
  DefineEditCtrl(8, 70, Bound("VAS"), EDIT_DATE)->validator = RecalculateValid;
  DefineEditCtrl(9, 15, Bound(priceField), EDIT_DATE | EDIT_THOUSANDS)->validator = RecalculateValid;
  EditCtrl* value = DefineEditCtrl(10, 14, Bound(valueField), EDIT_DATE | EDIT_THOUSANDS);
  value->keyRoutine = ValueKey;
  value->validator = RecalculateValid;
  DefineEditCtrl(9, 50, Bound("WAV"), EDIT_DATE | EDIT_THOUSANDS)->validator = VatAmountValid;
  DefineEditCtrl(10, 50, Bound(otherField), EDIT_DATE | EDIT_THOUSANDS | DEF_LAST);
}

void DefineMenu(Editor& e) {
  e.menu = DefineMainMenuWindow();
  if (e.view) {
    static const std::string end = Sys(" Zakończ ");
    MenuDefineItem(end.c_str(), RIGHT_END, 'z', 0, [](int32_t) -> int32_t { return browse_zakoncz(); }, nullptr);
    return;
  }
  static const std::string remove = Sys(" Usuń ");
  int base = stronaMagazynu->lineRightsBase;
  MenuDefineItem(" Dopisz ", base + 10, 'd', 0, browse_dopisz, nullptr);
  MenuDefineItem(" Modyfikuj ", base + 20, 'm', 0, browse_modyfikuj, nullptr);
  MenuDefineItem(remove.c_str(), base + 30, 'u', 1, browse_skasuj, nullptr);
}

}  // namespace

char tekst_stawki_pozycji[21];

std::string bez_odstepow(const char* text) {
  std::string s(text);
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

void ustaw_tekst_stawki_pozycji() {
  std::memset(tekst_stawki_pozycji, ' ', sizeof tekst_stawki_pozycji - 1);
  tekst_stawki_pozycji[sizeof tekst_stawki_pozycji - 1] = '\0';
  const char* name = KodAsPopupMenuString(f4int(Line("VAT")), NAZWY_STAWEK_VAT);
  std::memcpy(tekst_stawki_pozycji, name, strnlen(name, sizeof tekst_stawki_pozycji - 1));
}
int modyfikacja_pozycji_magazynowej = 0;

void definiuj_panel_pozycji(TextCtrl* panel, int size) {
  ResetTextCtrlDefinition(panel, size);
  DefineTextCtrl(0, 14, Bound("KOT"), 0);
  DefineTextCtrl(1, 14, Bound("NA1"), 0);
  DefineTextCtrl(2, 14, Bound("ILO"), TEXT_THOUSANDS);
  DefineTextCtrl(3, 14, Bound("VAT"), 0)->codeTexts = NAZWY_STAWEK_VAT;
  DefineTextCtrl(3, 40, Bound("VAS"), 0);
  DefineTextCtrl(4, 14, Bound("CEN"), TEXT_THOUSANDS);
  DefineTextCtrl(5, 14, Bound("WAV"), TEXT_THOUSANDS);
  DefineTextCtrl(4, 56, Bound("WAN"), TEXT_THOUSANDS);
  DefineTextCtrl(5, 56, Bound("WAB"), TEXT_THOUSANDS | DEF_LAST);
}

int przelicz_pozycje_magazynowa(int net) {
  double quantity = f4double(Line("ILO"));
  double rate = f4double(Line("VAS"));
  double c = 1 + rate / 100;
  double cen, ceb, wan, wav, wab;
  if (net) {
    cen = zaokraglij_cene(f4double(Line("CEN")));
    wan = ROUND(quantity * cen, 2);
    ceb = zaokraglij_cene(c * cen);
    wav = ROUND(rate * wan / 100, 2);
    wab = ROUND(wan + wav, 2);
  } else {
    ceb = zaokraglij_cene(f4double(Line("CEB")));
    wab = ROUND(quantity * ceb, 2);
    cen = zaokraglij_cene(ceb / c);
    wav = ROUND(wab - wab / c, 2);
    wan = ROUND(wab - wav, 2);
  }
  double largest = std::fabs(net ? wan : wab);
  const char* which = net ? "netto" : "brutto";
  if (std::fabs(wab) > largest) {
    largest = std::fabs(wab);
    which = "brutto";
  }
  if (std::fabs(wan) > largest) {
    largest = std::fabs(wan);
    which = "netto";
  }
  if (largest >= VALUE_LIMIT) {
    Uwaga(PrintfQStr(MSG_TOO_LARGE, which));
    return -1;
  }
  f4assign_double(Line("CEN"), cen);
  f4assign_double(Line("CEB"), ceb);
  f4assign_double(Line("WAN"), wan);
  f4assign_double(Line("WAV"), wav);
  f4assign_double(Line("WAB"), wab);
  return 0;
}

int stan_pozycji_magazynowej(const char* code, const char* name, double quantity, int apply, int* reached) {
  // aktualizuj_ilosc takes out what it is given: a receipt applied puts in.
  bool out = stronaMagazynu->receipt ? !apply : apply;
  *reached = 0;
  return aktualizuj_ilosc(code, name, out ? quantity : -quantity, 1, reached);
}

int sumuj_pozycje_magazynowe(long record, int carry, double* net, double* vat, double* gross) {
  DbTable* lines = Lines();
  *net = *vat = *gross = 0;
  d4tag_select(lines, stronaMagazynu->lines->tag[WH_LINES_BY_HEADER]);
  char key[8];
  std::snprintf(key, sizeof key, "%7ld", record);
  int r = d4seek_n(lines, key, 7);
  if (r < 0) return -1;
  if (r == 3 || d4eof(lines)) return 0;
  while (!d4eof(lines) && f4long(Line("REK")) == record) {
    if (carry) {
      f4assign_long(Line("NUM"), f4long(Header("NUM")));
      f4assign_field(Line("DAT"), Header("DAT"));
      f4assign_long(Line("REK"), f4long(Header("REC")));
      if (d4write(lines, d4recno(lines)) != 0) return -1;
    }
    *net += f4double(Line("WAN"));
    *vat += f4double(Line("WAV"));
    *gross += f4double(Line("WAB"));
    if (d4skip(lines, 1) < 0) return -1;
  }
  return d4flush(lines) == 0 ? 0 : -1;
}

int usun_pozycje_dokumentu(long record) {
  DbTable* lines = Lines();
  if (set_lock(lines, -1) != 0) return -1;
  d4tag_select(lines, stronaMagazynu->lines->tag[WH_LINES_BY_HEADER]);
  char key[8];
  std::snprintf(key, sizeof key, "%7ld", record);
  int result = 0;
  for (;;) {
    int r = d4seek_n(lines, key, 7);
    if (r < 0) {
      result = -1;
      break;
    }
    if (r == 3 || d4eof(lines) || f4long(Line("REK")) != record) break;
    if (f4char(Line("STP")) == 'T') {
      int reached = 0;
      if (stan_pozycji_magazynowej(FldQStr(Line("KOT"), 0), FldQStr(Line("NA1"), 0), f4double(Line("ILO")), 0,
                                   &reached) != 0) {
        result = 1;
        break;
      }
    }
    d4delete(lines);
    if (d4write(lines, d4recno(lines)) != 0 || d4flush(lines) != 0) {
      result = -1;
      break;
    }
  }
  zamknij_okno_raportu(1);
  d4unlock(lines);
  return result;
}

int pozycje_dokumentu_magazynowego(int net, int view) {
  auto* e = static_cast<Editor*>(take_mem(sizeof(Editor)));
  if (!e) return -1;
  Editor* outer = editor;
  editor = e;
  e->net = net;
  e->view = view;
  DefineLists(*e);
  DefineMenu(*e);
  std::string number = FldQStr(Header("NUM"), 0);
  number.erase(0, number.find_first_not_of(' '));
  std::snprintf(e->title, sizeof e->title, EnvFindString(MSG_LINES_TITLE), number.c_str(),
                FldFullDateQStr(Header("DAT")));
  DbTable* lines = Lines();
  int result = -1;
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, lines, stronaMagazynu->lines->tag[WH_LINES_BY_HEADER], e->columns, e->menu) == 0) {
    browse->title = e->title;
    browse->print_title = e->title;
    browse->record_texts = e->panel;
    browse->record_lines_source = []() -> int16_t { return RES_LINE_PANEL; };
    browse->record_lines_count = PANEL_LINES;
    browse->edit_texts = e->formTexts;
    browse->append_edits = e->form;
    browse->edit_lines_source = []() -> int16_t { return RES_LINE_FORM; };
    browse->edit_lines_fixup = LabelsFixup;
    browse->edit_lines_count = FORM_LINES;
    browse->stamp_field = Line("INF");
    browse->limit_field = Line("REK");
    browse->limit_value = f4long(Header("REC"));
    browse->top_fn = dynfiltr_top;
    browse->bottom_fn = dynfiltr_bottom;
    browse->skip_fn = dynfiltr_skip;
    browse->before_new = BeforeNew;
    browse->after_append = AfterAppend;
    browse->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    browse->modify_hooks[MODIFY_AFTER] = AfterModify;
    browse->before_delete = BeforeDelete;
    browse->key_hook = Keys;
    result = zrob_browse(PANEL_LINES, FORM_LINES, 0);
    free_browse(&browse);
  }
  w4close(e->menu);
  editor = outer;
  free_mem(&e);
  return result;
}
