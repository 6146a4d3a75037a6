// The browse "KASA" of the cash book: the whole book from the menu, or the
// entries of one document for a payment request; its menu, columns, detail
// area, filters, search, the guards on deleting and changing entries, the
// cash-desk code and the texts that name an entry.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "finance/cash_book.h"
#include "finance/payments.h"
#include "print/tabulogram.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/window4.h"

KontekstKasy* kontekstKasy = nullptr;

const char* const* ZRODLA_KASY =
    CodeList({" 1.Ewidencja sprzedaży ", " 2.Ew. sprzedaży pomoc.", " 3.                    "});
const char* const* KONTA_KASY = CodeList({"1. PODSTAWOWE  ", "2. POMOCNICZE 1", "3. POMOCNICZE 2", "4. POMOCNICZE 3",
                                          "5. POMOCNICZE 4", "6. INNE        "});

int pozycja_zrodla_kasy(int typ) { return typ == SOURCE_SALES ? 1 : typ == SOURCE_AUXILIARY_SALES ? 2 : 3; }
int typ_zrodla_z_pozycji(int item) { return item == 1 ? SOURCE_SALES : item == 2 ? SOURCE_AUXILIARY_SALES : 0; }

namespace {

constexpr int DETAIL_ROWS = 8, DETAIL_ROWS_CASH_METHOD = 9;
constexpr int16_t RES_DETAIL = 1;
constexpr int KIND_COLUMN_WIDTH = 18;
constexpr int FIRST_CASH_METHOD_YEAR = 2025;
constexpr int MENU_QUIT = 6;

KontekstKasy& K() { return *kontekstKasy; }
DbField* Field(const char* name) { return d4field(Z5KASA.table, name); }
DbField** Slot(const char* name) {
  DbField* field = Field(name);
  for (DbField*& bound : Z5KASA.field)
    if (bound == field) return &bound;
  return nullptr;
}
char Kind() { return static_cast<char>(f4char(Field("TYP"))); }

void Redisplay(long record) { browse_call(0, record); }

// ---- texts

const char* SourceText(int typ) { return ZRODLA_KASY[pozycja_zrodla_kasy(typ)]; }

void KindColumn(ColumnValue* v) {
  std::string text = typ_zapisu_kasy_tekst();
  v->type = 'C';
  v->length = KIND_COLUMN_WIDTH;
  std::memset(v->text, ' ', KIND_COLUMN_WIDTH);
  std::memcpy(v->text, text.data(), std::min<size_t>(text.size(), KIND_COLUMN_WIDTH));
}

// ---- the detail area

void DrawSource(TextCtrl* e) { w4(e->row, e->col, SourceText(f4int(*e->field))); }

void DrawPosting(TextCtrl* e) {
  int posted = f4int(*e->field);
  static const char* const* books = CodeList({"1. KPiR                ", "2. ewidencja przychodów"});
  w4(e->row, e->col, posted == 1 || posted == 2 ? books[posted] : std::string(23, ' ').c_str());
}

void AfterShowRecord() {
  KontekstKasy& k = K();
  if (k.request) {
    w4(1, 47, Sys("suma wpłat/wypłat"));
    w4double_f(1, 65, k.requestSum, 11, 2);
  }
  if (k.cashMethod)
    w4(8, 0, Sys("zaksięgowano:                       lp       data            kwota"));
}

void DefineDetail(KontekstKasy& k) {
  ResetTextCtrlDefinition(k.detail, sizeof k.detail);
  DefineTextCtrl(0, 7, Slot("TYZ"), 0)->drawRoutine = DrawSource;
  DefineTextCtrl(1, 7, Slot("DOK"), 0);
  DefineTextCtrl(2, 7, Slot("TYT"), 0);
  DefineTextCtrl(3, 7, Slot("NA1"), 0);
  DefineTextCtrl(4, 7, Slot("NA2"), 0);
  DefineTextCtrl(5, 18, Slot("KOP"), 0);
  DefineTextCtrl(5, 25, Slot("MIA"), 0);
  DefineTextCtrl(6, 7, Slot("ULI"), 0);
  DefineTextCtrl(7, 18, Slot("ODB"), 0);
  DefineTextCtrl(7, 53, Slot("KAS"), k.cashMethod ? 0 : DEF_LAST);
  if (k.cashMethod) {
    DefineTextCtrl(8, 14, Slot("KSI"), 0)->drawRoutine = DrawPosting;
    DefineTextCtrl(8, 39, Slot("LKS"), 0);
    DefineTextCtrl(8, 50, Slot("DKS"), 0);
    DefineTextCtrl(8, 67, Slot("KKS"), DEF_LAST);
  }
}

// ---- columns, filters, search, tabulogram

void DefineColumns(KontekstKasy& k) {
  ResetScrollDefinition(k.columns, sizeof k.columns);
  DefineScrollColumn(Slot("DAT"), 0, "data")->tag = &Z5KASA.tag[CASH_TAG_DATE];
  DefineScrollColumn(Slot("TYP"), SCROLL_FIXED_WIDTH, "typ")->valueRoutine = KindColumn;
  k.columns[1].width = KIND_COLUMN_WIDTH;
  DefineScrollColumn(Slot("PRE"), 0, "kod");
  DefineScrollColumn(Slot("NUM"), 0, "numer")->tag = &Z5KASA.tag[CASH_TAG_NUMBER];
  DefineScrollColumn(Slot("KWO"), 0, "kwota");
  DefineScrollColumn(Slot("KOD"), DEF_LAST, "kod kontrahenta")->tag = &Z5KASA.tag[CASH_TAG_CONTRACTOR];
}

int SourceFilterTest(DbField* field, int32_t code, DbTable*) {
  return pozycja_zrodla_kasy(f4int(field)) == code - '0' ? X4_ACCEPT : X4_REJECT;
}
int AccountFilterTest(DbField* field, int32_t code, DbTable*) {
  return f4int(field) == code - '0' ? X4_ACCEPT : X4_REJECT;
}

void DefineFilters(KontekstKasy& k) {
  static const char* const* kinds =
      CodeList({"1. WPŁATA GOTÓWKI ", "2. WYPŁATA GOTÓWKI", "3. WYCIĄG         ", "4. SUMA ZALICZEK  "});
  ResetFiltersDefinition(&k.filters, k.filterItems, sizeof k.filterItems);
  DefineFilter(FilterFld(Field("PRE")), "kod kasy...........", " kasa:", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0,
               nullptr);
  DefineFilter(FilterFld(Field("DAT")), "od dnia............", " od:", FILTER_DATE, 0);
  DefineFilter(FilterFld(Field("DAT")), "do dnia............", " do:", FILTER_DATE, FILTER_UPPER_BOUND);
  DefineFilter(FilterFld(Field("TYP")), Sys("typ zapisu........."), " typ:", FILTER_CHOICE, 0, kinds);
  FilterItem* account =
      DefineFilter(FilterFld(Field("TYK")), "typ konta..........", " konto:", FILTER_CHOICE, 0, KONTA_KASY);
  if (account) account->own_test.code = AccountFilterTest;
  DefineFilter(FilterFld(Field("NUM")), "numer KP,KW,.......", " nr:", FILTER_NUMBER, 0, "99999", nullptr);
  DefineFilter(FilterFld(Field("KOD")), "kod kontrahenta....", " kontr:", FILTER_TEXT, FILTER_UPPER, 0,
               lista_kontrahentow_kasy, 0, nullptr);
  FilterItem* source = DefineFilter(FilterFld(Field("TYZ")), Sys("źródło dokumentu..."), Sys(" źródło:"),
                                    FILTER_CHOICE, 0, ZRODLA_KASY);
  if (source) source->own_test.code = SourceFilterTest;
  DefineFilter(FilterFld(Field("DOK")), "nr dokumentu.......", " dok:", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0,
               nullptr);
  DefineFilter(FilterFld(Field("TYP")), "bez sum zaliczek...", " bez sum zaliczek", FILTER_YES_NO, 0,
               static_cast<uint32_t>(FILTER_IF_DIFFERENT | '4'));
}

void DefineSearch(KontekstKasy& k) {
  InitSzukajPola(k.searchFields, sizeof k.searchFields);
  BlankSearchBuffer(k.searchDate, 8);
  BlankSearchBuffer(k.searchDocument, 30);
  BlankSearchBuffer(k.searchContractor, 20);
  BlankSearchBuffer(k.searchName, 30);
  BlankSearchBuffer(k.searchTitle, 30);
  k.searchNumber = 1;
  DefineSzukajPole("data", Slot("DAT"), &Z5KASA.tag[CASH_TAG_DATE], k.searchDate, W_DATE);
  DefineSzukajPole("nr dokumentu", Slot("DOK"), nullptr, k.searchDocument, W_TEXT);
  DefineSzukajPole("numer KP,KW,", Slot("NUM"), &Z5KASA.tag[CASH_TAG_NUMBER], &k.searchNumber,
                   W_INT | WidthFlag(5));
  DefineSzukajPole("kod kontrahenta", Slot("KOD"), nullptr, k.searchContractor, W_TEXT);
  DefineSzukajPole("nazwa", Slot("NA1"), nullptr, k.searchName, W_TEXT);
  DefineSzukajPole(Sys("tytuł"), Slot("TYT"), nullptr, k.searchTitle, W_TEXT);
}

void TabuKind(TabuValue* v) { tekst_kolumny_tabulogramu(v, Z5KASA.table, "TYPK", typ_zapisu_kasy_tekst(), KIND_COLUMN_WIDTH); }
void TabuSource(TabuValue* v) { tekst_kolumny_tabulogramu(v, Z5KASA.table, "ZROD", SourceText(f4int(Field("TYZ"))), 23); }
void TabuTown(TabuValue* v) { tekst_kolumny_tabulogramu(v, Z5KASA.table, "MIAS", TrimFldsToQStr_(Field("KOP"), Field("MIA")), 32); }

void DefineTabulogram(KontekstKasy& k) {
  ResetTabuDefinition(k.tabulogram, sizeof k.tabulogram);
  int column = 0;
  auto add = [&](const char* heading, const char* field, TabuValueRoutine routine, int flags = 0) {
    TabuColumn* c = DefineTabuColumn(Sys(heading), "", Slot(field), flags, ++column);
    if (c && routine) c->valueRoutine = routine;
    return c;
  };
  add("data", "DAT", nullptr);
  add("typ", "TYP", TabuKind);
  add("numer", "NUM", nullptr);
  TabuColumn* amount = add("kwota", "KWO", nullptr);
  if (amount) amount->width = 12;
  add("źródło dokumentu", "TYZ", TabuSource);
  add("nr dokumentu", "DOK", nullptr);
  add("tytuł", "TYT", nullptr);
  add("kod", "KOD", nullptr);
  add("nazwa", "NA1", nullptr);
  add("nazwa cd", "NA2", nullptr);
  add("miasto", "MIA", TabuTown);
  add("ulica", "ULI", nullptr, DEF_LAST);
}

// ---- actions

bool Empty() { return EmptyBrowseWarning(CurrentBrowse) != 0; }

int32_t Append(int32_t kind) { return formularz_kasy(0, static_cast<char>(kind)); }

void RecountRequest() {
  PlatnoscKasowa* r = K().request;
  if (r) K().requestSum = SumaKasyDokumentu(r->typ_zrodla, r->rok, r->rekord);
}

int32_t Modify(int32_t) {
  if (Empty()) return 0;
  std::string stored(f4ptr(Field("PRE")), 4);
  std::string desk(salesOptions.cashDeskCode, strnlen(salesOptions.cashDeskCode, 4));
  desk.resize(4, ' ');
  if (!EqualText(stored.c_str(), desk.c_str(), QS_UPPER)) {
    MessageWindow(MB_WARNING, Sys("Niezgodność kodu kasy."), Sys("Nie można modyfikować!"));
    return 0;
  }
  if (f4int(Field("KSI")) > 0)
    MessageWindow(MB_WARNING, Sys("Ta pozycja została zaksięgowana."), Sys("Modyfikacje nie są wskazane."),
                  Sys("Po modyfikacji nie zapomnij zaksięgować ponownie."));
  RecountRequest();
  return formularz_kasy(1, Kind());
}

int32_t Delete(int32_t) {
  if (Empty()) return 0;
  int posted = f4int(Field("KSI"));
  if (posted >= 1) {
    const char* book = posted == 1 ? Sys("księgi.") : Sys("ewidencji przychodów.");
    MessageWindow(0, Sys("Nie można usunąć zaksięgowanego zapisu."),
                  PrintfQStr(Sys("Trzeba najpierw usunąć pozycję z %s"), book));
    return 0;
  }
  browse_skasuj(1);
  RecountRequest();
  Redisplay(d4recno(Z5KASA.table));
  return 0;
}

int AfterDelete() {
  PrzeniesPlatnoscDoZrodla(-f4double(Field("KWO")), nullptr, K().request ? 0 : TRANSFER_OPEN_ALL);
  return 0;
}

int32_t Filters(int32_t) {
  OpenFiltersWindow(&K().filters);
  Redisplay(0);
  return 0;
}

int32_t Search(int32_t) { return OknoSzukaj(&K().search, K().searchFields); }

int32_t DeskCode(int32_t) {
  char code[5];
  std::memcpy(code, salesOptions.cashDeskCode, 4);
  code[4] = '\0';
  int key;
  {
    OpenedWindow window([] { return DefineDialogWindow(11, 15, 3, 40, nullptr); });
    if (window.handle < 0) return 0;
    w4(0, 1, "Kod kasy:");
    g4(0, 11, code);
    g4width(4, 4);
    key = g4read();
  }
  if (key == KEY_ENTER || key == KEY_F2) {
    std::memcpy(salesOptions.cashDeskCode, code, 4);
    salesOptions.cashDeskCode[4] = '\0';
    SaveEwidencjeOptions();
  }
  Redisplay(d4recno(Z5KASA.table));
  return 0;
}

int32_t PrintDocument(int32_t) {
  if (Empty()) return 0;
  long record = d4recno(Z5KASA.table);
  if (Kind() == '3')
    drukuj_wyciag_kasy();
  else
    DrukujKPKW(0);
  Redisplay(record);
  return 0;
}

int32_t Quit(int32_t) { return browse_zakoncz(); }

int Keys(int key) {
  hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, Field("INF"));
  return 0;
}

int RowFilter(intptr_t) {
  PlatnoscKasowa* r = K().request;
  return czy_zapis_kasy_dokumentu(r->typ_zrodla, r->rok, r->rekord) ? X4_ACCEPT : X4_REJECT;
}

void BuildMenus(KontekstKasy& k, int viewOnly) {
  k.menu = DefineMainMenuWindow();
  if (viewOnly) {
    MenuDefineItem(Sys(" Zakończ "), MENU_QUIT, 'z', 0, Quit, nullptr);
    return;
  }
  bool whole = !k.request;
  MenuDefineItem(Sys(" Wpłata "), 4101, 'w', '1', Append, nullptr);
  int payment = MenuDefineItem(Sys(" Wypłata "), 4101, 'y', '2', Append, nullptr);
  int statement = MenuDefineItem(Sys(" Wyciąg "), 4101, 'g', '3', Append, nullptr);
  // The cursor starts on the item that fits the request.
  if (k.request && (k.request->rodzaj == '2' || k.request->rodzaj == '3'))
    n4start_item(k.request->rodzaj == '2' ? payment : statement);
  MenuDefineItem(" Modyfikuj ", 4102, 'm', 0, Modify, nullptr);
  MenuDefineItem(Sys(" Usuń "), 4103, 'u', 0, Delete, nullptr);
  MenuDefineItem(" Drukuj ", 4104, 'r', -1, nullptr, &k.printMenu);
  if (whole) {
    MenuDefineItem(" Filtry ", 4120, 'f', 0, Filters, nullptr);
    MenuDefineItem(" Szukaj ", 4121, 's', 0, Search, nullptr);
  }
  MenuDefineItem(" Kod kasy ", 4114, 'k', 0, DeskCode, nullptr);
  k.printMenu = DefineMenuWindow();
  MenuDefineItem(" Dokument ", 4105, 'd', 0, PrintDocument, nullptr);
  if (whole) {
    MenuDefineItem(" Suma ", 4106, 's', 0, suma_kasy, nullptr);
    MenuDefineItem(" Tabulogram ", 4107, 't', 0, tabulogram_kasy, nullptr);
  }
  w4select(k.menu);
}

int RunBrowse(KontekstKasy& k, int viewOnly) {
  for (int* m : {&k.menu, &k.printMenu}) *m = -1;
  k.cashMethod = WorkingYear() >= FIRST_CASH_METHOD_YEAR && salesOptions.cashPit == 'T';
  if (k.request) {
    PlatnoscKasowa* r = k.request;
    std::memcpy(k.note, r->opis_platnosci, sizeof k.note);
    k.requestSum = SumaKasyDokumentu(r->typ_zrodla, r->rok, r->rekord);
  }
  BuildMenus(k, viewOnly);
  DefineColumns(k);
  DefineDetail(k);
  if (!k.request) {
    DefineFilters(k);
    DefineSearch(k);
    DefineTabulogram(k);
  }
  int rows = k.cashMethod ? DETAIL_ROWS_CASH_METHOD : DETAIL_ROWS;
  BrowseContext* browse = nullptr;
  d4tag_select(Z5KASA.table, Z5KASA.tag[CASH_TAG_DATE]);
  if (allocate_browse(&browse, Z5KASA.table, Z5KASA.tag[CASH_TAG_DATE], k.columns, k.menu) == 0) {
    browse->title = "KASA";
    browse->print_title = "KASA";
    browse->record_texts = k.detail;
    browse->record_lines_source = []() -> int16_t { return RES_DETAIL; };
    browse->record_lines_count = DETAIL_ROWS;
    browse->after_show_record = AfterShowRecord;
    browse->stamp_field = Field("INF");
    browse->key_hook = Keys;
    browse->after_delete = AfterDelete;
    if (k.request) {
      browse->filter_fn = RowFilter;
    } else {
      browse->print_columns = k.tabulogram;
      browse->filter_fn = FilterFunction;
      browse->filter_data = reinterpret_cast<intptr_t>(&k.filters);
    }
    zrob_browse(rows, 0, 0);
    free_browse(&browse);
  }
  if (!k.request) FreeFilters(&k.filters);
  for (int m : {k.printMenu, k.menu})
    if (m >= 0) w4close(m);
  return 0;
}

}  // namespace

void tekst_kolumny_tabulogramu(TabuValue* v, DbTable* table, const char* alias, const std::string& text, int width) {
  std::memset(v->fieldName, 0, sizeof v->fieldName);
  std::strncpy(v->fieldName, alias, sizeof v->fieldName - 1);
  std::memset(v->sourceName, 0, sizeof v->sourceName);
  std::strncpy(v->sourceName, d4alias(table), sizeof v->sourceName - 1);
  v->type = 'C';
  v->width = width;
  std::memset(v->text, ' ', sizeof v->text);
  std::memcpy(v->text, text.data(), std::min(text.size(), static_cast<size_t>(width)));
}

const char* typ_zapisu_kasy_tekst() {
  switch (Kind()) {
    case '1': return Sys("wpłata gotówki");
    case '4': return "suma zaliczek";
    case '3': {
      int account = f4int(Field("TYK"));
      if (account < 1 || account > 6) return "";
      return PrintfQStr("konto %s", KONTA_KASY[account] + 3);
    }
    default: return Sys("wypłata gotówki");
  }
}

int PrzegladajKase(PlatnoscKasowa* platnosc, int openTable, int viewOnly) {
  if (openTable && OpenZ5KASA(0) != 0) return -1;
  int result = 0;
  if (OpenZ5KHNT(0) == 0) {
    auto* k = static_cast<KontekstKasy*>(take_mem(sizeof(KontekstKasy)));
    if (k) {
      KontekstKasy* outer = kontekstKasy;
      kontekstKasy = k;
      k->request = platnosc;
      result = RunBrowse(*k, viewOnly);
      kontekstKasy = outer;
      free_mem(&k);
    }
    d4close(Z5KHNT.table);
  }
  if (openTable) d4close(Z5KASA.table);
  return result;
}
