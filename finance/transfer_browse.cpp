// The browse "Ewidencja przelewów" of the year's transfer orders: its menus,
// columns, preview panel, new-order defaults, the copy of an order (Ctrl+C,
// Ctrl+Z), the form of payment key (F7), filters, search, sums, the print
// marks and the printing of the forms.
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "masterdata/catalogue_browse.h"
#include "print/tabulogram.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_PANEL = 80;
constexpr int PANEL_LINES = 17, FORM_LINES = 23;
constexpr int MSG_TITLE = 155;   // "Ewidencja przelewów"
constexpr int RIGHT_APPEND = 6610, RIGHT_MODIFY = 6620, RIGHT_DELETE = 6640;
constexpr int KIND_COLUMN_WIDTH = 9;
constexpr int SUM_ROW = 17, SUM_ROWS = 10, SUM_COLS = 80, SUM_ATTRIBUTE = 142;
constexpr int STATUS_WIDTH = 2048;
constexpr int KEY_F7 = 0x4100, KEY_CTRL_Z = 26;
constexpr int FORM_ENTRIES = 40;
constexpr int IN_HISTORY = 0x80;   // the item is recorded in the usage history

struct KontekstPrzelewow {
  int menu, printMenu, searchMenu;
  char copy[1024];         // one record of "Z5PLEW"
  bool nothingCopied, appendCopy;
  int16_t screen;          // of the form now defined
  EditCtrl form[FORM_ENTRIES];
  TextCtrl formTexts[2];
  ScrollColumn columns[8];
  TextCtrl panel[16];
  TabuColumn tabulogram[9];
  FilterSet filters;
  FilterItem filterItems[12];
  std::string title;
};
KontekstPrzelewow* ctx = nullptr;

DbTable* T() { return Z5PLEW.table; }
DbField* F(int field) { return Z5PLEW.field[field]; }
DbField** Slot(int field) { return &Z5PLEW.field[field]; }

bool Empty() { return EmptyBrowseWarning(CurrentBrowse) != 0; }
void Redisplay(long record) { browse_call(0, record); }

const char* KindText(long kind) {
  switch (kind) {
    case 1: return Sys("ZWYKŁY");
    case 2: return "ZUS";
    case 3: return "PODATEK";
    default: return "";
  }
}

void TextColumn(ColumnValue* v, const char* text, int width) {
  v->type = 'C';
  v->length = width;
  std::memset(v->text, ' ', static_cast<size_t>(width));
  std::memcpy(v->text, text, std::min(std::strlen(text), static_cast<size_t>(width)));
}

void KindColumn(ColumnValue* v) { TextColumn(v, KindText(f4long(F(PLEW_TYP))), KIND_COLUMN_WIDTH); }
const char* FormText() { return f4char(F(PLEW_ROW)) == 'P' ? "PRZELEW" : Sys("WPŁATA "); }
void FormColumn(ColumnValue* v) { TextColumn(v, FormText(), 7); }

void DrawPartyKind(TextCtrl* e) {
  static const char* const parties[] = {"KONTRAHENT", "URZĄD", "ZUS", "PRACOWNIK", "FIRMA", "WSPÓLNIK", "INNY"};
  long kind = f4long(*e->field);
  std::string text = kind >= 1 && kind <= 7 ? Sys(parties[kind - 1]) : "";
  text.resize(TRANSFER_TEXT_WIDTH, ' ');
  w4(e->row, e->col, text.c_str());
}

void DrawKind(TextCtrl* e) { w4(e->row, e->col, KindText(f4long(*e->field))); }

void DefineLists(KontekstPrzelewow& k) {
  ResetScrollDefinition(k.columns, sizeof k.columns);
  DefineScrollColumn(Slot(PLEW_DRU), 0, "druk?");
  DefineScrollColumn(Slot(PLEW_DAP), 0, "data")->tag = &Z5PLEW.tag[0];
  DefineScrollColumn(Slot(PLEW_TYP), SCROLL_FIXED_WIDTH, "typ")->valueRoutine = KindColumn;
  k.columns[2].width = KIND_COLUMN_WIDTH;
  DefineScrollColumn(Slot(PLEW_ROW), SCROLL_FIXED_WIDTH, "forma")->valueRoutine = FormColumn;
  k.columns[3].width = 7;
  DefineScrollColumn(Slot(PLEW_KWO), 0, "kwota");
  DefineScrollColumn(Slot(PLEW_SYP), 0, Sys("płatność"));
  DefineScrollColumn(Slot(PLEW_DEK), DEF_LAST, "okres");

  ResetTextCtrlDefinition(k.panel, sizeof k.panel);
  DefineTextCtrl(1, 9, Slot(PLEW_TY1), 0);
  DefineTextCtrl(2, 9, Slot(PLEW_TY2), 0);
  DefineTextCtrl(4, 17, Slot(PLEW_SOO), 0)->drawRoutine = DrawPartyKind;
  DefineTextCtrl(4, 33, Slot(PLEW_KOO), 0);
  int row = 6;
  for (int field : {PLEW_NO1, PLEW_NO2, PLEW_BAO, PLEW_KNO}) DefineTextCtrl(row++, 9, Slot(field), 0);
  DefineTextCtrl(11, 17, Slot(PLEW_SOZ), 0)->drawRoutine = DrawPartyKind;
  DefineTextCtrl(11, 33, Slot(PLEW_KOZ), 0);
  row = 13;
  for (int field : {PLEW_NZ1, PLEW_NZ2, PLEW_BAZ}) DefineTextCtrl(row++, 9, Slot(field), 0);
  DefineTextCtrl(16, 9, Slot(PLEW_KNZ), DEF_LAST);

  // the form's own fields show the order; only the kind is drawn with it
  ResetTextCtrlDefinition(k.formTexts, sizeof k.formTexts);
  DefineTextCtrl(0, 69, Slot(PLEW_TYP), DEF_LAST)->drawRoutine = DrawKind;

  ResetTabuDefinition(k.tabulogram, sizeof k.tabulogram);
  DefineTabuColumn(Sys("w ciężar"), "", Slot(PLEW_NZ1), 0, 1);
  DefineTabuColumn(" c.d.", "", Slot(PLEW_NZ2), 0, 1);
  DefineTabuColumn("na dobro", "", Slot(PLEW_NO1), 0, 2);
  DefineTabuColumn(" c.d.", "", Slot(PLEW_NO2), 0, 2);
  DefineTabuColumn("bank", "", Slot(PLEW_BAO), 0, 3);
  DefineTabuColumn("konto", "", Slot(PLEW_KNO), 0, 3);
  DefineTabuColumn("data", "", Slot(PLEW_DAP), 0, 4);
  TabuColumn* amount = DefineTabuColumn("kwota", "", Slot(PLEW_KWO), DEF_LAST, 4);
  if (amount) amount->width = 12;
}

// Accepts an order of at least the whole amount entered, as the label "kwoty >=" says.
int AmountAtLeast(DbField* field, int32_t value, DbTable*) {
  return f4double(field) >= value ? X4_ACCEPT : X4_REJECT;
}

void DefineFilters(KontekstPrzelewow& k) {
  ResetFiltersDefinition(&k.filters, k.filterItems, sizeof k.filterItems);
  DefineFilter(FilterFld(F(PLEW_DAP)), "od dnia........", " od:", FILTER_DATE, 0);
  DefineFilter(FilterFld(F(PLEW_DAP)), "do dnia........", " do:", FILTER_DATE, FILTER_UPPER_BOUND);
  DefineFilter(FilterFld(F(PLEW_DRU)), Sys("czy drukować..."), Sys("czy drukować:"), FILTER_TEXT, FILTER_UPPER, 0,
               wybierz_tak_nie, 0, nullptr);
  static const char* const labels[] = {"konto podstaw..", "konto pomocn. 1", "konto pomocn. 2", "konto pomocn. 3",
                                       "konto pomocn. 4", "konto inne....."};
  static const char* const prefixes[] = {"konto podstaw:", "konto pomocn 1:", "konto pomocn 2:", "konto pomocn 3:",
                                         "konto pomocn 4:", "konto inne:"};
  for (int n = 1; n <= 6; n++)
    DefineFilter(FilterFld(F(PLEW_TYB)), labels[n - 1], prefixes[n - 1], FILTER_YES_NO, 0,
                 static_cast<uint32_t>(FILTER_IF_EQUAL | n));
  FilterItem* amount =
      DefineFilter(FilterFld(F(PLEW_KWO)), "tylko kwoty >=.", "tylko kwoty >=:", FILTER_NUMBER, 0, "999999", nullptr);
  if (amount) amount->own_test.number = AmountAtLeast;
}

// ---- new orders and the form of their kind

int16_t FormResource() { return ctx->screen; }

void DefineForm(int kind) {
  int16_t screen = DefineTransferForm(kind, ctx->form, sizeof ctx->form, 1);
  if (screen) ctx->screen = screen;
}

int BeforeNew() {
  KontekstPrzelewow& k = *ctx;
  DbTable* t = T();
  f4assign_long(F(PLEW_TYP), 1);
  f4assign(F(PLEW_DAP), get_cur_das(0));
  f4assign_char(F(PLEW_DRU), 'T');
  DefineForm(1);
  FirmaDoZleceniodawcy(0, TRANSFER_ORDINARY);
  f4assign_char(F(PLEW_ROW), mainOptions.transfer41);
  if (k.appendCopy) {
    k.appendCopy = false;
    std::memcpy(d4record(t), k.copy, static_cast<size_t>(d4record_width(t)));
    DefineForm(static_cast<int>(f4long(F(PLEW_TYP))));
  }
  OdswiezTekstyPrzelewu();
  return 0;
}

int BeforeModify() {
  DefineForm(static_cast<int>(f4long(F(PLEW_TYP))));
  OdswiezTekstyPrzelewu();
  return 0;
}

// ---- actions

int32_t Append(int32_t) { return browse_dopisz(0); }
int32_t Modify(int32_t) { return browse_modyfikuj(0); }
int32_t Delete(int32_t) { return browse_skasuj(1); }

int32_t Filters(int32_t) {
  OpenFiltersWindow(&ctx->filters);
  Redisplay(0);
  return 0;
}

// The print mark of the current order, written under its lock.
int WriteMark(char mark) {
  DbTable* t = T();
  long record = d4recno(t);
  if (go_and_lock(t, record) != 0) return -1;
  f4assign_char(F(PLEW_DRU), mark);
  int r = d4write(t, record);
  if (r == 0) r = d4flush(t);
  d4unlock(t);
  return r;
}

int32_t Toggle(int32_t) {
  if (Empty()) return 0;
  WriteMark(f4char(F(PLEW_DRU)) == 'T' ? 'N' : 'T');
  Redisplay(d4recno(T()));
  return 0;
}

int32_t ClearMarks(int32_t) {
  DbTable* t = T();
  long current = d4recno(t);
  DbTag* shown = d4tag_selected(t);
  if (set_lock(t, -1) == 0) {
    d4tag_select(t, nullptr);
    DbScanCtx scan;
    x4init(&scan, t, FilterFunction, reinterpret_cast<intptr_t>(&ctx->filters));
    for (int r = x4top(&scan); r == 0 && !d4eof(t); r = x4skip(&scan, 1)) {
      if (f4char(F(PLEW_DRU)) == 'N') continue;
      f4assign_char(F(PLEW_DRU), 'N');
      if (d4write(t, d4recno(t)) != 0) break;
    }
    d4flush(t);
    d4unlock(t);
  }
  d4tag_select(t, shown);
  Redisplay(current);
  return 0;
}

int32_t Summary(int32_t) {
  if (CurrentBrowse && CurrentBrowse->is_empty) return 0;
  FilterSet* set = &ctx->filters;
  OpenFiltersWindow(set);
  if (!set->changed) return 0;
  DbTable* t = T();
  long current = d4recno(t);
  {
    OpenedWindow window([] {
      return DefineRaportoweWindow(SUM_ROW, 0, SUM_ROWS, SUM_COLS, "PODSUMOWANIE", nullptr, nullptr, SUM_ATTRIBUTE);
    });
    if (window.handle >= 0 && set_lock(t, -1) == 0) {
      double sums[6] = {};
      DbScanCtx scan;
      x4init(&scan, t, FilterFunction, reinterpret_cast<intptr_t>(set));
      for (int r = x4top(&scan); r == 0 && !d4eof(t); r = x4skip(&scan, 1)) {
        long account = f4long(F(PLEW_TYB));
        sums[account >= 1 && account <= 5 ? account - 1 : 5] += f4double(F(PLEW_KWO));
      }
      static const char* const labels[] = {"Konto podstawowe..", "Konto pomocnicze 1", "Konto pomocnicze 2",
                                           "Konto pomocnicze 3", "Konto pomocnicze 4", "Konto inne........"};
      for (int n = 0; n < 6; n++) {
        w4(n + 1, 2, labels[n]);
        w4double_f(n + 1, 22, sums[n], 11, 2);
      }
      g4char();
      d4unlock(t);
    }
  }
  AskResetFilter(set);
  Redisplay(current);
  return 0;
}

int32_t PrintOne(int32_t) {
  if (Empty()) return 0;
  long record = d4recno(T());
  DrukujJedenPrzelew();
  Redisplay(record);
  return 0;
}

// One pass over the filtered orders still to print whose kind prints as
// `kind`; false when a job or a form failed.
bool PrintPass(long wanted) {
  DbTable* t = T();
  bool open = false, ok = true;
  DbScanCtx scan;
  x4init(&scan, t, FilterFunction, reinterpret_cast<intptr_t>(&ctx->filters));
  for (int r = x4top(&scan); r == 0 && !d4eof(t); r = x4skip(&scan, 1)) {
    long kind = f4long(F(PLEW_TYP));
    if (f4char(F(PLEW_DRU)) != 'T' || RodzajWydrukuPrzelewu(kind) != wanted) continue;
    if (!open) {
      long record = d4recno(t);
      if (OtworzWydrukPrzelewu(static_cast<int>(wanted)) != 0) {
        ok = false;
        break;
      }
      open = true;
      d4go(t, record);   // the print dialog may have redrawn the browse over other records
    }
    if (DrukujPrzelew(0, static_cast<int>(wanted)) != 0) {
      ok = false;
      break;
    }
  }
  if (open) ZamknijWydrukPrzelewu();
  return ok;
}

int32_t PrintMarked(int32_t) {
  if (Empty()) return 0;
  long record = d4recno(T());
  // the kinds without a form of their own print nothing: no job is opened for them
  for (long kind : {1, 3, 2})
    if (PrzelewMaFormularz(static_cast<int>(kind)) && !PrintPass(kind)) break;
  Redisplay(record);
  return 0;
}

int32_t Tabulogram(int32_t) {
  FilterSet* set = &ctx->filters;
  OpenFiltersWindow(set);
  if (set->changed) {
    static char status[STATUS_WIDTH];
    status[0] = '\0';
    MakeFilterStatusString(set, status);
    CurrentBrowse->print_subtitle = status;
    browse_drukuj();
    AskResetFilter(set);
  }
  Redisplay(0);
  return 0;
}

long Seek(const char* key) {
  DbTable* t = T();
  long current = d4recno(t);
  int r = x4seek(&CurrentBrowse->scan, key);
  if (r < 0) return -1;
  return r == 0 || r == 2 ? d4recno(t) : current;
}

const char* TitleText() { return PrintfQStr("%s%s", FldQStr(F(PLEW_TY1), QS_RTRIM), FldQStr(F(PLEW_TY2), QS_RTRIM)); }
const char* PayeeText() { return PrintfQStr("%s%s", FldQStr(F(PLEW_NO1), QS_RTRIM), FldQStr(F(PLEW_NO2), QS_RTRIM)); }

int32_t SearchDate(int32_t) {
  char date[9] = "        ";
  if (PytanieWOknieSzukania(CurrentBrowse, "Szukaj daty -", date, "DD-MM/YY", false) != KEY_ENTER) return 0;
  long found = Seek(date);
  return found < 0 ? -1 : browse_call(0, found);
}

int SearchText(const char* prompt, DbLocateText text) {
  std::string pattern(f4len(F(PLEW_TY1)), ' ');
  if (PytanieWOknieSzukania(CurrentBrowse, prompt, pattern.data(), nullptr, false) != KEY_ENTER) return 0;
  long found = BrowseLocate(pattern.c_str(), text);
  if (found < 0) return -1;
  return browse_call(0, found > 0 ? found : d4recno(T()));
}

int32_t SearchTitle(int32_t) { return SearchText("Szukaj wzorca w tytułem -", TitleText); }
int32_t SearchPayee(int32_t) { return SearchText("Wzorzec w odbiorcy -", PayeeText); }

int32_t Options(int32_t) { return OpcjePrzelewow(); }

int Keys(int key) {
  KontekstPrzelewow& k = *ctx;
  DbTable* t = T();
  switch (key) {
    case KEY_CTRL_C:
      std::memcpy(k.copy, d4record(t), static_cast<size_t>(d4record_width(t)));
      k.nothingCopied = false;
      break;
    case KEY_CTRL_Z:
      if (!k.nothingCopied && pass_tab_test(RIGHT_APPEND)) {
        k.appendCopy = true;
        browse_dopisz(1);
        k.appendCopy = false;
      }
      break;
    case KEY_F7: {
      long record = d4recno(t);
      if (go_and_lock(t, record) != 0) break;
      f4assign_char(F(PLEW_ROW), f4char(F(PLEW_ROW)) == 'P' ? 'W' : 'P');
      int r = d4write(t, record);
      if (r == 0) r = d4flush(t);
      d4unlock(t);
      if (r == 0) Redisplay(record);
      break;
    }
    default:
      hot_keys(key, 0, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, F(PLEW_INF));
      break;
  }
  return 0;
}

void BuildMenus(KontekstPrzelewow& k) {
  k.menu = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', 0, Append, nullptr);
  MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, Modify, nullptr);
  MenuDefineItem(" Drukuj ", 6630, 'r', -1, nullptr, &k.printMenu);
  MenuDefineItem(Sys(" Usuń "), RIGHT_DELETE, 'u', 0, Delete, nullptr);
  MenuDefineItem(" Szukaj ", 6650, 's', -1, nullptr, &k.searchMenu);
  MenuDefineItem(" Filtry ", 6690, 'f', 0, Filters, nullptr);
  MenuDefineItem(" Suma ", 6680, 'a', 0, Summary, nullptr);
  MenuDefineItem(" Ustaw ", 6660, 't', 0, Toggle, nullptr);
  MenuDefineItem(" Kasuj ", 6670, 'k', 0, ClearMarks, nullptr);
  MenuDefineItem(" Opcje ", 42, 'o' | IN_HISTORY, 0, Options, nullptr);
  k.printMenu = DefineMenuWindow();
  MenuDefineItem(" Wybrane ", 6631, 'w', 0, PrintMarked, nullptr);
  MenuDefineItem(" Jeden ", 6632, 'j', 0, PrintOne, nullptr);
  MenuDefineItem(" Tabulogram ", 6633, 't', 0, Tabulogram, nullptr);
  k.searchMenu = DefineMenuWindow();
  MenuDefineItem(" Data ", 6651, 'd', 0, SearchDate, nullptr);
  MenuDefineItem(Sys(" Tytułem "), 6652, 't', 0, SearchTitle, nullptr);
  MenuDefineItem(" Odbiorca ", 6655, 'o', 0, SearchPayee, nullptr);
  w4select(k.menu);
}

int Run(KontekstPrzelewow& k) {
  BuildMenus(k);
  DefineLists(k);
  DefineFilters(k);
  k.nothingCopied = true;
  k.title = PrintfQStr("%s %d", EnvMessageText(MSG_TITLE), WorkingYear());
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, T(), Z5PLEW.tag[0], k.columns, k.menu) == 0) {
    browse->title = k.title.c_str();
    browse->print_title = MSG_TITLE;
    browse->print_columns = k.tabulogram;
    browse->record_texts = k.panel;
    browse->record_lines_source = []() -> int16_t { return RES_PANEL; };
    browse->record_lines_count = PANEL_LINES;
    browse->append_edits = k.form;
    browse->edit_texts = k.formTexts;
    browse->edit_lines_source = FormResource;
    browse->edit_lines_count = FORM_LINES;
    browse->before_new = BeforeNew;
    browse->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    browse->stamp_field = F(PLEW_INF);
    browse->key_hook = Keys;
    browse->filter_fn = FilterFunction;
    browse->filter_data = reinterpret_cast<intptr_t>(&k.filters);
    set_fun_help("F7", Sys("Forma płatności"), 7);
    zrob_browse(PANEL_LINES, FORM_LINES, 0);
    free_browse(&browse);
  }
  FreeFilters(&k.filters);
  for (int m : {k.searchMenu, k.printMenu, k.menu}) w4close(m);
  return 0;
}

}  // namespace

int Przelewy() {
  auto* k = static_cast<KontekstPrzelewow*>(take_mem(sizeof(KontekstPrzelewow)));
  if (!k) return 0;
  new (k) KontekstPrzelewow();
  bool firmOpened = !Z5PAWL.table && OpenZ5PAWL() == 0;
  KontekstPrzelewow* outer = ctx;
  ctx = k;
  void (*outerRefresh)() = OdswiezFormularzPrzelewu;
  OdswiezFormularzPrzelewu = OdswiezTekstyPrzelewu;
  Run(*k);
  OdswiezFormularzPrzelewu = outerRefresh;
  ctx = outer;
  if (firmOpened) {
    d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
  }
  k->~KontekstPrzelewow();
  free_mem(&k);
  return 0;
}
