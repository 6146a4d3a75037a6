// The browse "ROZLICZENIA" of the settlements: what remains to be paid of
// every document, its detail, filters and search, the change of the due
// date and title, the summary of receivables and payables and the
// tabulogram.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/browse_search.h"
#include "app/document_kinds.h"
#include "app/module_entries.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "finance/cash_book.h"
#include "finance/payments.h"
#include "print/char_output.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "sales/background_screen.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/opened_window.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_DETAIL = 83, RES_FORM = 84, RES_SUMMARY = 85;
constexpr int DETAIL_ROWS = 8;
constexpr int SUMMARY_WIDTH = 78, SUMMARY_ROWS = 14;
constexpr int STATUS_WIDTH = 2048;
constexpr int AMOUNT_WIDTH = 11;

struct KontekstRozliczen {
  int menu, printMenu;
  FilterSet filters;
  FilterItem filterItems[8];
  SearchContext search;
  SearchField searchFields[5];
  char searchDate[9], searchDocument[31], searchContractor[21], searchName[31];
  ScrollColumn columns[5];
  TextCtrl detail[10];
  TabuColumn tabulogram[13];
};
KontekstRozliczen* ctx = nullptr;

DbField* Field(const char* name) { return d4field(Z5ROZL.table, name); }
DbField** Slot(const char* name) {
  DbField* field = Field(name);
  for (DbField*& bound : Z5ROZL.field)
    if (bound == field) return &bound;
  return nullptr;
}

const char* const* Statuses() {
  static const char* const* list = CodeList({"1. Niezapłacony", "2. Zapłacony   "});
  return list;
}
const char* const* Types() {
  static const char* const* list = CodeList({"1. Należność   ", "2. Zobowiązanie"});
  return list;
}
const char* const* Sources() {
  static const char* const* list = CodeList({" 1.Ewidencja sprzedaży ", " 2.Ew. sprzedaży pomoc."});
  return list;
}
int SourceItem(int typ) { return typ == SOURCE_SALES ? 1 : typ == SOURCE_AUXILIARY_SALES ? 2 : 0; }
const char* SourceText(int typ) {
  int item = SourceItem(typ);
  return item ? Sources()[item] : "";
}
int TypeItem() { return f4char(Field("TYP")) == 'N' ? 1 : f4char(Field("TYP")) == 'Z' ? 2 : 0; }

double Remaining() { return f4double(Field("KWO")) - f4double(Field("ZAP")); }

void RemainingColumn(ColumnValue* v) {
  v->type = 'N';
  v->length = AMOUNT_WIDTH;
  v->number = Remaining();
  v->decimals = 2;
}

void DrawType(TextCtrl* e) { w4(e->row, e->col, TypeItem() ? Types()[TypeItem()] : ""); }
void DrawSource(TextCtrl* e) { w4(e->row, e->col, SourceText(f4int(*e->field))); }

void Define(KontekstRozliczen& k) {
  ResetScrollDefinition(k.columns, sizeof k.columns);
  DefineScrollColumn(Slot("DAW"), 0, "data")->tag = &Z5ROZL.tag[SETTLEMENT_TAG_DATE];
  DefineScrollColumn(Slot("DOK"), 0, "nr dokumentu")->tag = &Z5ROZL.tag[SETTLEMENT_TAG_NUMBER];
  DefineScrollColumn(Slot("KWO"), 0, "kwota")->valueRoutine = RemainingColumn;
  DefineScrollColumn(Slot("KOD"), DEF_LAST, "kod kontrahenta")->tag = &Z5ROZL.tag[SETTLEMENT_TAG_CONTRACTOR];

  ResetTextCtrlDefinition(k.detail, sizeof k.detail);
  DefineTextCtrl(0, 18, Slot("TYP"), 0)->drawRoutine = DrawType;
  DefineTextCtrl(1, 18, Slot("KWO"), 0);
  DefineTextCtrl(1, 62, Slot("ZAP"), 0);
  DefineTextCtrl(2, 18, Slot("TYZ"), 0)->drawRoutine = DrawSource;
  DefineTextCtrl(3, 18, Slot("DAP"), 0);
  DefineTextCtrl(4, 7, Slot("TYT"), 0);
  DefineTextCtrl(6, 7, Slot("NA1"), 0);
  DefineTextCtrl(7, 7, Slot("NA2"), DEF_LAST);

  ResetFiltersDefinition(&k.filters, k.filterItems, sizeof k.filterItems);
  FilterItem* status =
      DefineFilter(FilterFld(Field("ROL")), "status dokumentu....", " status:", FILTER_CHOICE, 0, Statuses());
  if (status)
    status->own_test.code = [](DbField* field, int32_t code, DbTable*) {
      char wanted = code == '1' ? 'N' : 'R';
      return f4char(field) == wanted ? X4_ACCEPT : X4_REJECT;
    };
  FilterItem* type = DefineFilter(FilterFld(Field("TYP")), "typ zapisu..........", " typ:", FILTER_CHOICE, 0, Types());
  if (type)
    type->own_test.code = [](DbField* field, int32_t code, DbTable*) {
      char wanted = code == '1' ? 'N' : 'Z';
      return f4char(field) == wanted ? X4_ACCEPT : X4_REJECT;
    };
  DefineFilter(FilterFld(Field("DAW")), "data wystawienia od.", " wyst. od:", FILTER_DATE, 0);
  DefineFilter(FilterFld(Field("DAW")), "                 do.", " do:", FILTER_DATE, FILTER_UPPER_BOUND);
  DefineFilter(FilterFld(Field("DAP")), Sys("termin płatności od."), Sys(" płat. od:"), FILTER_DATE, 0);
  DefineFilter(FilterFld(Field("DAP")), "                 do.", " do:", FILTER_DATE, FILTER_UPPER_BOUND);
  FilterItem* source = DefineFilter(FilterFld(Field("TYZ")), Sys("źródło dokumentu...."), Sys(" źródło:"),
                                    FILTER_CHOICE, 0, Sources());
  if (source)
    source->own_test.code = [](DbField* field, int32_t code, DbTable*) {
      return SourceItem(f4int(field)) == code - '0' ? X4_ACCEPT : X4_REJECT;
    };
  DefineFilter(FilterFld(Field("KOD")), "kod kontrahenta.....", " kontr:", FILTER_TEXT, FILTER_UPPER, 0,
               lista_kontrahentow_kasy, 0, nullptr);

  InitSzukajPola(k.searchFields, sizeof k.searchFields);
  BlankSearchBuffer(k.searchDate, 8);
  BlankSearchBuffer(k.searchDocument, 30);
  BlankSearchBuffer(k.searchContractor, 20);
  BlankSearchBuffer(k.searchName, 30);
  DefineSzukajPole("data wystawienia", Slot("DAW"), &Z5ROZL.tag[SETTLEMENT_TAG_DATE], k.searchDate, W_DATE);
  DefineSzukajPole("nr dokumentu", Slot("DOK"), nullptr, k.searchDocument, W_TEXT);
  DefineSzukajPole("kod kontrahenta", Slot("KOD"), nullptr, k.searchContractor, W_TEXT);
  DefineSzukajPole("nazwa", Slot("NA1"), nullptr, k.searchName, W_TEXT);

  ResetTabuDefinition(k.tabulogram, sizeof k.tabulogram);
  int column = 0;
  auto add = [&](const char* h1, const char* h2, const char* field, TabuValueRoutine routine, int flags = 0) {
    TabuColumn* c = DefineTabuColumn(Sys(h1), Sys(h2), Slot(field), flags, ++column);
    if (c && routine) c->valueRoutine = routine;
  };
  add("data", "wyst.", "DAW", nullptr);
  add("termin", "płat.", "DAP", nullptr);
  add("źródło dokumentu", "", "TYZ", [](TabuValue* v) { tekst_kolumny_tabulogramu(v, Z5ROZL.table, "ZROD", SourceText(f4int(Field("TYZ"))), 23); });
  add("nr dokumentu", "", "DOK", nullptr);
  add("typ", "", "TYP", [](TabuValue* v) { tekst_kolumny_tabulogramu(v, Z5ROZL.table, "TYPR", TypeItem() ? Types()[TypeItem()] : "", 15); });
  add("brutto", "", "KWO", nullptr);
  add("zapłacono", "", "ZAP", nullptr);
  add("kod", "", "KOD", nullptr);
  add("nazwa", "", "NA1", nullptr);
  add("nazwa cd", "", "NA2", nullptr);
  add("miasto", "", "MIA", [](TabuValue* v) { tekst_kolumny_tabulogramu(v, Z5ROZL.table, "MIAS", TrimFldsToQStr_(Field("KOP"), Field("MIA")), 32); });
  add("ulica", "", "ULI", nullptr, DEF_LAST);
}

bool Empty() { return EmptyBrowseWarning(CurrentBrowse) != 0; }

int32_t Modify(int32_t) {
  if (Empty()) return 0;
  DbTable* t = Z5ROZL.table;
  long record = d4recno(t);
  if (set_lock(t, -1) != 0) return 0;
  d4go(t, record);
  int key;
  {
    OpenedWindow window([] { return DefineWprowadzWindow(10, 0, 6, 80, "ROZLICZENIA", nullptr, nullptr); });
    if (window.handle < 0) {
      d4unlock(t);
      return 0;
    }
    pokaz_tlo(RES_FORM, 0, 0);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    g4field(1, 18, Slot("DAP"));
    g4picture("DD-MM/YY");
    g4field(3, 7, Slot("TYT"));
    key = g4read();
    remove_help_line();
  }
  if (key == KEY_F2) {
    set_pass_inf(1, Field("INF"));
    d4write(t, record);
    d4flush(t);
  } else {
    d4changed(t, 0);
    d4go(t, record);
  }
  d4unlock(t);
  browse_call(0, record);
  return 0;
}

int32_t Filters(int32_t) {
  OpenFiltersWindow(&ctx->filters);
  browse_call(0, 0);
  return 0;
}

int32_t Delete(int32_t) { return browse_skasuj(1); }

int32_t Search(int32_t) { return OknoSzukaj(&ctx->search, ctx->searchFields); }

void Put(char* page, int row, int col, const std::string& text) {
  int room = SUMMARY_WIDTH - col;
  if (room > 0) std::memcpy(page + row * SUMMARY_WIDTH + col, text.data(), std::min(text.size(), size_t(room)));
}

std::string Amount(double value) {
  char text[40] = {};
  int n = MemPrintDoubleFmt(text, value, 13, 2 | 0x20);
  return std::string(text, static_cast<size_t>(std::max(n, 0)));
}

int16_t SummaryForm() { return RES_SUMMARY; }

int32_t Summary(int32_t) {
  if (Empty()) return 0;
  FilterSet* set = &ctx->filters;
  OpenFiltersWindow(set);
  if (!set->changed) return 0;
  DbTable* t = Z5ROZL.table;
  long current = d4recno(t);
  double sums[2][2] = {};
  if (set_lock(t, -1) == 0) {
    DbScanCtx scan;
    x4init(&scan, t, FilterFunction, reinterpret_cast<intptr_t>(set));
    for (int r = x4top(&scan); r == 0 && !d4eof(t); r = x4skip(&scan, 1)) {
      int row = f4char(Field("TYP")) == 'N' ? 0 : f4char(Field("TYP")) == 'Z' ? 1 : -1;
      if (row < 0) continue;
      sums[row][0] += f4double(Field("KWO"));
      sums[row][1] += f4double(Field("ZAP"));
    }
    d4unlock(t);
    bool firmOpened = !Z5PAWL.table && OpenZ5PAWL() == 0;
    char *pattern = nullptr, *page = nullptr;
    if (Z5PAWL.table && print_alloc(&pattern, &page, SUMMARY_WIDTH * SUMMARY_ROWS, SummaryForm) == 0) {
      Put(page, 2, 2, TrimFldsToQStr_(d4field(Z5PAWL.table, "NA1")));
      Put(page, 3, 2, TrimFldsToQStr_(d4field(Z5PAWL.table, "NA2")));
      char status[STATUS_WIDTH] = {};
      MakeFilterStatusString(set, status);
      Put(page, 5, 2, status);
      for (int row = 0; row < 2; row++) {
        Put(page, 10 + 2 * row, 25, Amount(sums[row][0]));
        Put(page, 10 + 2 * row, 44, Amount(sums[row][1]));
        Put(page, 10 + 2 * row, 63, Amount(sums[row][0] - sums[row][1]));
      }
      if (init_prn(t, "RSU", Sys("Podsumowanie rozliczeń"), SUMMARY_WIDTH, 0) == 0 && drukuj_top_margin() == 0 &&
          print_lines(pattern, page, SUMMARY_WIDTH, 0, SUMMARY_ROWS, -1, -1) == 0)
        drukuj_form_feed();
      deinit_prn();
    }
    print_free(&pattern, &page);
    if (firmOpened) d4close(Z5PAWL.table);
  }
  AskResetFilter(set);
  browse_call(0, current);
  return 0;
}

int32_t Tabulogram(int32_t) {
  FilterSet* set = &ctx->filters;
  OpenFiltersWindow(set);
  if (set->changed) {
    DbTag* shown = d4tag_selected(Z5ROZL.table);
    d4tag_select(Z5ROZL.table, Z5ROZL.tag[SETTLEMENT_TAG_DATE]);
    browse_drukuj();
    d4tag_select(Z5ROZL.table, shown);
    AskResetFilter(set);
  }
  browse_call(0, 0);
  return 0;
}

int Keys(int key) {
  hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, Field("INF"));
  return 0;
}

void BuildMenus(KontekstRozliczen& k) {
  k.menu = DefineMainMenuWindow();
  MenuDefineItem(" Modyfikuj ", 4151, 'm', 0, Modify, nullptr);
  MenuDefineItem(" Filtry ", 4152, 'f', 0, Filters, nullptr);
  MenuDefineItem(Sys(" Usuń "), 4153, 'u', 0, Delete, nullptr);
  MenuDefineItem(" Drukuj ", 4154, 'r', -1, nullptr, &k.printMenu);
  MenuDefineItem(" Szukaj ", 4157, 's', 0, Search, nullptr);
  k.printMenu = DefineMenuWindow();
  MenuDefineItem(" Suma ", 4155, 's', 0, Summary, nullptr);
  MenuDefineItem(" Tabulogram ", 4156, 't', 0, Tabulogram, nullptr);
  w4select(k.menu);
}

}  // namespace

int PrzegladajRozliczenia() {
  if (OpenZ5ROZL(0) != 0) return 0;
  if (OpenZ5KHNT(0) == 0) {
    auto* k = static_cast<KontekstRozliczen*>(take_mem(sizeof(KontekstRozliczen)));
    if (k) {
      KontekstRozliczen* outer = ctx;
      ctx = k;
      BuildMenus(*k);
      Define(*k);
      BrowseContext* browse = nullptr;
      d4tag_select(Z5ROZL.table, Z5ROZL.tag[SETTLEMENT_TAG_DATE]);
      if (allocate_browse(&browse, Z5ROZL.table, Z5ROZL.tag[SETTLEMENT_TAG_DATE], k->columns, k->menu) == 0) {
        browse->title = "ROZLICZENIA";
        browse->print_title = "ROZLICZENIA";
        browse->print_columns = k->tabulogram;
        browse->record_texts = k->detail;
        browse->record_lines_source = []() -> int16_t { return RES_DETAIL; };
        browse->record_lines_count = DETAIL_ROWS;
        browse->stamp_field = Field("INF");
        browse->key_hook = Keys;
        browse->filter_fn = FilterFunction;
        browse->filter_data = reinterpret_cast<intptr_t>(&k->filters);
        zrob_browse(DETAIL_ROWS, 0, 0);
        free_browse(&browse);
      }
      FreeFilters(&k->filters);
      w4close(k->printMenu);
      w4close(k->menu);
      ctx = outer;
      free_mem(&k);
    }
    d4close(Z5KHNT.table);
  }
  d4close(Z5ROZL.table);
  return 0;
}
