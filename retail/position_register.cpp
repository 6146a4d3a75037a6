// The receipt position register: the browse over the year's positions in
// sale-date order, its columns, the view of one position, the search list,
// the positions tabulogram, the menu and its actions, and the deletion of a
// position whose receipt is gone.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/messages.h"
#include "masterdata/warehouse_documents.h"
#include "print/tabulogram.h"
#include "retail/position_register.h"
#include "retail/receipt_filters.h"
#include "retail/receipts.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/wiget.h"
#include "ui/window4.h"

namespace retail {

kontekst_ewidencji_paragonow* kontekstEwidencjiParagonow = nullptr;

namespace {

constexpr int MSG_TITLE = 222;              // "Ewidencja pozycji paragonów -"
constexpr int MSG_ONLY_BY_REGISTER = 20178; // "Pozycję można usunąć tylko poprzez ewidencję dokumentów !"
constexpr int MSG_CONTROL_QUESTION = 20052; // "Czy sumować kontrolując stan rejestru dokumentów?"
constexpr int16_t RES_POSITION_VIEW = 37;
constexpr int VIEW_ROWS = 17;
constexpr int TAG_NUMBER = 0, TAG_DATE = 1, TAG_NAME = 2;
constexpr int HEADERS_BY_REC = 3;
constexpr int NUMBER_WIDTH = 20, NAME_WIDTH = 30;

kontekst_ewidencji_paragonow& Ctx() { return *kontekstEwidencjiParagonow; }
DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

DbField** Slot(TableHandles& set, const char* name) {
  DbField* field = set.table ? d4field(set.table, name) : nullptr;
  if (!field) return nullptr;
  for (DbField*& bound : set.field)
    if (bound == field) return &bound;
  return nullptr;
}
DbField** PS(const char* name) { return Slot(Z5PARE, name); }
DbField** KS(const char* name) { return Slot(Z5KONT, name); }

// ---- columns, view and tabulogram

void Columns(kontekst_ewidencji_paragonow& c) {
  ResetScrollDefinition(c.kolumny, sizeof c.kolumny);
  DefineScrollColumn(PS("DAV"), 0, "data");
  if (ScrollColumn* number = DefineScrollColumn(PS("PRE"), SCROLL_FIXED_WIDTH, "numer")) {
    number->valueRoutine = numer_paragonu_pozycji;
    number->width = NUMBER_WIDTH;
  }
  if (ScrollColumn* name = DefineScrollColumn(PS("NA1"), SCROLL_FIXED_WIDTH, "nazwa")) name->width = NAME_WIDTH;
  DefineScrollColumn(PS("WNE"), 0, "netto");
  DefineScrollColumn(PS("VAS"), 0, "[%]");
}

void View(kontekst_ewidencji_paragonow& c) {
  ResetTextCtrlDefinition(c.formularz, sizeof c.formularz);
  struct At {
    int row, col;
    DbField** field;
  };
  const At at[] = {
      {0, 13, PS("PRE")}, {0, 18, PS("NRV")}, {0, 24, PS("POS")}, {0, 55, PS("DAV")},  {2, 15, PS("KOT")},
      {3, 15, PS("NA1")}, {4, 15, PS("NA2")}, {5, 15, PS("NA3")}, {6, 15, PS("NA4")},  {7, 15, PS("NA5")},
      {8, 15, PS("NA6")}, {9, 15, PS("JED")}, {9, 55, KS("NUM")}, {10, 15, PS("KWU")}, {10, 41, KS("NAZ")},
      {12, 18, PS("ILO")}, {12, 71, PS("VAS")}, {13, 55, PS("WAV")}, {15, 16, PS("CNR")}, {15, 56, PS("CBR")},
      {16, 15, PS("WNE")}, {16, 55, PS("WAB")},
  };
  for (const At& a : at)
    if (a.field) DefineTextCtrl(a.row, a.col, a.field, 0);
  if (TextCtrl* kind = DefineTextCtrl(2, 41, PS("ZRP"), 0)) kind->codeTexts = CodeList({"1. TOWARY", "2. USŁUGI"});
  if (TextCtrl* rate = DefineTextCtrl(12, 56, PS("VAT"), DEF_LAST)) rate->codeTexts = NAZWY_STAWEK_VAT;
}

// The receipt number fitted into the tabulogram's column.
void NumberValue(TabuValue* value) {
  std::string number = NrDokumentuStalyQStr(P("PRE"), P("NRV"), P("POS"));
  std::memset(value->text, ' ', sizeof value->text);
  std::memcpy(value->text, number.data(), std::min(number.size(), static_cast<size_t>(NUMBER_WIDTH)));
  value->text[NUMBER_WIDTH] = '\0';
  value->width = NUMBER_WIDTH;
  value->type = 'C';
}

void Tabulogram(kontekst_ewidencji_paragonow& c) {
  ResetTabuDefinition(c.tabulogram, sizeof c.tabulogram);
  struct Tabu {
    const char *heading1, *heading2, *field;
    int group;
  };
  const Tabu tabu[] = {
      {"data", "", "DAV", 1},          {"numer", "dokumentu", "PRE", 2}, {"nazwa", "", "NA1", 3},
      {"", "", "NA2", 3},              {"", "", "NA3", 3},               {"", "", "NA4", 3},
      {"", "", "NA5", 3},              {"", "", "NA6", 3},               {"j.m", "", "JED", 4},
      {"KWiU", "", "KWU", 5},          {"ilość", "towaru", "ILO", 6},    {"cena", "netto", "CNR", 7},
      {"VAT", "[%]", "VAS", 8},        {"cena", "brutto", "CBR", 9},     {"wartość", "netto", "WNE", 10},
      {"wartość", "VAT", "WAV", 11},   {"wartość", "brutto", "WAB", 12},
  };
  for (const Tabu& t : tabu) {
    TabuColumn* column = DefineTabuColumn(Sys(t.heading1), Sys(t.heading2), PS(t.field), 0, t.group);
    if (column && std::strcmp(t.field, "PRE") == 0) column->valueRoutine = NumberValue;
  }
}

void Search(kontekst_ewidencji_paragonow& c) {
  InitSzukajPola(c.polaSzukania, sizeof c.polaSzukania);
  BlankSearchBuffer(c.szukanaData, 8);
  BlankSearchBuffer(c.szukanaNazwa, 40);
  BlankSearchBuffer(c.szukanyWzor, 40);
  c.szukanyNumer = 1;
  DefineSzukajPole("data", PS("DAV"), &Z5PARE.tag[TAG_DATE], c.szukanaData, W_DATE);
  DefineSzukajPole("nazwa", PS("NA1"), &Z5PARE.tag[TAG_NAME], c.szukanaNazwa, W_TEXT);
  DefineSzukajPole("nazwa", PS("NA1"), nullptr, c.szukanyWzor, W_TEXT);
  DefineSzukajPole("numer", PS("NRV"), &Z5PARE.tag[TAG_NUMBER], &c.szukanyNumer, W_INT | WidthFlag(5));
}

// ---- actions

long Shown() { return d4recno(Z5PARE.table); }
void Redisplay(long record) { browse_call(0, record); }

// The filter window before a report; true when it was closed with "Zapamiętaj".
bool FiltersConfirmed() { return filtry_ewidencji_paragonow() == 1; }

// After a report: the filter question, the mark and the list again.
void AfterReport(long record) {
  AskResetFilter(&Ctx().filtry);
  Redisplay(record);
}

int32_t SearchAction(int32_t) { return OknoSzukaj(&Ctx().szukaj, Ctx().polaSzukania); }

int32_t FiltersAction(int32_t) {
  long record = Shown();
  filtry_ewidencji_paragonow();
  Redisplay(record);
  return 0;
}

int32_t DeleteAction(int32_t) { return browse_skasuj(1); }

int32_t PositionsAction(int32_t) {
  long record = Shown();
  if (!FiltersConfirmed()) return 0;
  kontekst_ewidencji_paragonow& c = Ctx();
  c.zNaglowkiem = 1;
  opis_filtrow_ewidencji(c.opisFiltrow, sizeof c.opisFiltrow);
  int result = browse_drukuj();
  c.zNaglowkiem = 0;
  Redisplay(record);
  return result;
}

int32_t TurnoverAction(int32_t) {
  long record = Shown();
  if (!FiltersConfirmed()) return 0;
  obroty_towarow(Z5PARE.table);
  AfterReport(record);
  return 0;
}

int32_t ChartAction(int32_t) {
  long record = Shown();
  if (!FiltersConfirmed()) return 0;
  Ctx().zNaglowkiem = 1;
  wykres_paragonow(Z5PARE.table);
  AfterReport(record);
  return 0;
}

int32_t SumsAction(int32_t) {
  long record = Shown();
  if (!FiltersConfirmed()) return 0;
  kontekst_ewidencji_paragonow& c = Ctx();
  c.zNaglowkiem = 1;
  int answer = Pytanie(MSG_CONTROL_QUESTION);
  sumy_rejestru_paragonow(answer == 't' || answer == 'T');
  c.zNaglowkiem = 0;
  AfterReport(record);
  return 0;
}

int32_t RegisterAction(int32_t) {
  long record = Shown();
  if (!FiltersConfirmed()) return 0;
  kontekst_ewidencji_paragonow& c = Ctx();
  c.zNaglowkiem = 1;
  int result = rejestr_z_paragonow();
  c.zNaglowkiem = 0;
  AfterReport(record);
  return result;
}

int32_t AccountsAction(int32_t) {
  long record = Shown();
  if (!FiltersConfirmed()) return 0;
  int result = 0;
  // a refused lock skips the summary
  if (d4lock_all(Z5PARE.table) == 0) {
    result = zestawienie_kont();
    d4unlock(Z5PARE.table);
  }
  AfterReport(record);
  return result;
}

void Menus(kontekst_ewidencji_paragonow& c) {
  c.menuGlowne = DefineMainMenuWindow();
  MenuDefineItem(" Szukaj ", 12100, 's', 0, SearchAction, nullptr);
  MenuDefineItem(" Drukuj ", 12200, 'r', -1, nullptr, &c.menuDrukuj);
  MenuDefineItem(" Suma ", 12300, 'a', 0, SumsAction, nullptr);
  MenuDefineItem(Sys(" Usuń "), 12400, 'u', 0, DeleteAction, nullptr);
  MenuDefineItem(" Filtry ", 12500, 'f', 0, FiltersAction, nullptr);
  MenuDefineItem(" Wykres ", 12600, 'w', 0, ChartAction, nullptr);
  c.menuDrukuj = DefineMenuWindow();
  MenuDefineItem(" Rejestr ", 12210, 'r', 0, RegisterAction, nullptr);
  MenuDefineItem(" Pozycje ", 12220, 'p', 0, PositionsAction, nullptr);
  MenuDefineItem(" Konta ", 12230, 'k', 0, AccountsAction, nullptr);
  MenuDefineItem(" Obroty ", 12240, 'o', 0, TurnoverAction, nullptr);
  w4select(c.menuGlowne);
}

kontekst_ewidencji_paragonow* Define() {
  auto* c = static_cast<kontekst_ewidencji_paragonow*>(take_mem(sizeof(kontekst_ewidencji_paragonow)));
  if (!c) return nullptr;
  c->menuGlowne = c->menuDrukuj = -1;
  std::snprintf(c->tytul, sizeof c->tytul, "%s %d", EnvFindString(MSG_TITLE), WorkingYear());
  Menus(*c);
  Columns(*c);
  View(*c);
  Tabulogram(*c);
  Search(*c);
  definiuj_filtry_ewidencji_paragonow(c);
  return c;
}

void Release(kontekst_ewidencji_paragonow** context) {
  kontekst_ewidencji_paragonow* c = *context;
  if (!c) return;
  FreeFilters(&c->filtry);
  for (int32_t menu : {c->menuDrukuj, c->menuGlowne})
    if (menu >= 0) w4close(menu);
  free_mem(context);
}

void Settings(BrowseContext* b, kontekst_ewidencji_paragonow& c) {
  b->title = c.tytul;
  b->print_title = c.tytul;
  b->print_subtitle = c.opisFiltrow;
  b->print_columns = c.tabulogram;
  b->record_texts = c.formularz;
  b->record_lines_source = []() -> int16_t { return RES_POSITION_VIEW; };
  b->record_lines_count = VIEW_ROWS;
  b->record_height = VIEW_ROWS;
  b->filter_fn = filtr_ewidencji_paragonow;
  b->before_delete = usun_pozycje_ewidencji;
  b->pre_key_hook = skroty_ewidencji;
  b->stamp_field = P("INF");
}

}  // namespace

int obroty_towarow(DbTable* positions) {
  const ZrodloObrotow source = {positions, filtr_ewidencji_paragonow, "WNE", "Obroty towarów - paragony"};
  return ::obroty_towarow(source);
}

int ewidencja_paragonow() {
  int window = w4select(-1);
  DbTag* tag = d4tag_selected(Z5PARE.table);
  kontekst_ewidencji_paragonow* c = Define();
  int result = -1;
  if (c) {
    kontekst_ewidencji_paragonow* outer = kontekstEwidencjiParagonow;
    kontekstEwidencjiParagonow = c;
    BrowseContext* browse = nullptr;
    if (allocate_browse(&browse, Z5PARE.table, Z5PARE.tag[TAG_DATE], c->kolumny, c->menuGlowne) == 0) {
      Settings(browse, *c);
      c->zKontem = 1;
      c->zNaglowkiem = 0;
      c->filtry.off = 1;
      result = zrob_browse(VIEW_ROWS, VIEW_ROWS, 0);
      free_browse(&browse);
    }
    kontekstEwidencjiParagonow = outer;
  }
  Release(&c);
  d4tag_select(Z5PARE.table, tag);
  w4select(window);
  return result;
}

int32_t ewidencja_z_menu(int32_t) {
  long record = d4recno(Z5PARA.table);
  int result = ewidencja_paragonow();
  if (CurrentBrowse) browse_call(0, record);
  return result;
}

int usun_pozycje_ewidencji() {
  // The receipt is found by its own identifier, as positions point to it.
  DbTable* headers = Z5PARA.table;
  long rek = f4long(P("REK"));
  bool exists = false;
  if (rek != 0 && headers) {
    DbTag* previous = d4tag_selected(headers);
    d4tag_select(headers, Z5PARA.tag[HEADERS_BY_REC]);
    int rc = d4seek_double(headers, static_cast<double>(rek));
    d4tag_select(headers, previous);
    exists = rc == 0 && !d4deleted(headers);
  }
  if (!exists) return 0;
  Uwaga(MSG_ONLY_BY_REGISTER);
  return -1;
}

int skroty_ewidencji(int key) {
  hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, P("INF"));
  return 0;
}

}  // namespace retail
