// The browse "Ewidencja VAT-OSS": its menu, columns, record view, filters by
// quarter, month and country, the form "INFORMACJE DODATKOWE" and the
// tabulogram.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "db/db_scan.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "jpk/vat_oss.h"
#include "masterdata/countries.h"
#include "print/tabulogram.h"
#include "tables/vat_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_VIEW = 184, RES_INFO = 185;
constexpr int VIEW_ROWS = 7, INFO_ROWS = 19;
constexpr int OSS_BY_MONTH = 0, OSS_BY_SALE_DATE = 1;
constexpr int MSG_NO_ITEMS = 50007;
constexpr int STATUS_MAX = 512;

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }
const char* Keep(const char* utf8) {
  static std::string texts[64];
  static int used = 0;
  for (int i = 0; i < used; i++)
    if (texts[i] == Maz(utf8)) return texts[i].c_str();
  texts[used] = Maz(utf8);
  return texts[used++].c_str();
}

struct KontekstVatOss {
  int menu;
  FilterSet filters;
  FilterItem filterItems[4];
  ScrollColumn columns[7];
  TextCtrl view[16];
  TabuColumn tabulogram[24];
};
KontekstVatOss* k = nullptr;
char subtitle[STATUS_MAX];

DbTable* T() { return Z5VOSS.table; }
DbField* F(const char* name) { return d4field(T(), name); }
DbField** Slot(const char* name) {
  DbField* field = F(name);
  for (DbField*& bound : Z5VOSS.field)
    if (bound == field) return &bound;
  return nullptr;
}

void Redisplay(long record) { browse_call(0, record > 0 ? record : d4recno(T())); }

// ---- columns, view, tabulogram

void KindColumn(ColumnValue* v) {
  v->type = 'C';
  v->length = 7;
  std::snprintf(v->text, sizeof v->text, "%-7s", f4int(F("TYD")) == 1 ? "faktura" : "korekta");
}

void TabuText(TabuValue* v, const std::string& text, int width) {
  v->type = 'C';
  v->width = width;
  std::memset(v->text, ' ', sizeof v->text);
  std::memcpy(v->text, text.data(), std::min(text.size(), static_cast<size_t>(width)));
}
void TabuKind(TabuValue* v) { TabuText(v, f4int(F("ROD")) == 1 ? "towar " : Maz("usługa"), 6); }
std::string Amount(const char* field, const char* currency) {
  return PrintfQStr("%12.2f %s", f4double(F(field)), FldQStr(F(currency), QS_RTRIM));
}
void TabuNet(TabuValue* v) { TabuText(v, Amount("NET", "NWA"), 16); }
void TabuVat(TabuValue* v) { TabuText(v, Amount("VAT", "NWA"), 16); }
void TabuRate(TabuValue* v) { TabuText(v, PrintfQStr("%12.1f [%%]", f4double(F("VST"))), 16); }
void TabuQuarter(TabuValue* v) {
  std::string text;
  if (f4int(F("KRO")) != 0)
    text = PrintfQStr(Maz("korygowany kwartał %1i/%4i").c_str(), f4int(F("KKW")), f4int(F("KRO")));
  TabuText(v, text, 25);
}

// The register's code list of ROD: "1. TOWAR", "2. USŁUGA".
const char* const* CodeListOss() {
  static const char* list[] = {"", "1. TOWAR", nullptr, nullptr};
  if (!list[2]) list[2] = Keep("2. USŁUGA");
  return list;
}

void Define(KontekstVatOss& c) {
  ResetScrollDefinition(c.columns, sizeof c.columns);
  DefineScrollColumn(Slot("MIE"), 0, "mc");
  DefineScrollColumn(Slot("KKR"), 0, "kod");
  DefineScrollColumn(Slot("KRA"), SCROLL_FIXED_WIDTH, "kraj")->width = 20;
  DefineScrollColumn(Slot("DAS"), 0, "data wyst.");
  DefineScrollColumn(Slot("NRD"), SCROLL_FIXED_WIDTH, "nr dokumentu")->width = 25;
  ScrollColumn* kind = DefineScrollColumn(Slot("TYD"), SCROLL_FIXED_WIDTH, "typ dok");
  kind->valueRoutine = KindColumn;
  kind->width = 7;

  ResetTextCtrlDefinition(c.view, sizeof c.view);
  DefineTextCtrl(0, 5, Slot("ROD"), 0)->codeTexts = CodeListOss();
  const char* lines[] = {"OP1", "OP2", "OP3", "OP4", "OP5", "OP6"};
  for (int i = 0; i < 6; i++) DefineTextCtrl(i + 1, 5, Slot(lines[i]), 0);
  struct At {
    int row, col;
    const char* field;
  };
  const At at[] = {{1, 60, "ILO"}, {2, 61, "VST"}, {3, 61, "NET"}, {3, 74, "NWA"},
                   {4, 61, "VAT"}, {4, 74, "VWA"}, {6, 61, "KKW"}, {6, 72, "KRO"}};
  for (size_t i = 0; i < std::size(at); i++)
    DefineTextCtrl(at[i].row, at[i].col, Slot(at[i].field), i + 1 == std::size(at) ? DEF_LAST : 0);

  ResetTabuDefinition(c.tabulogram, sizeof c.tabulogram);
  struct Tabu {
    const char* heading;
    const char* field;
    int group;
    TabuValueRoutine value;
  };
  const Tabu tabu[] = {
      {"data sprzedaży", "DAS", 1, nullptr},     {"kraj", "KRA", 1, nullptr},
      {"rodzaj", "ROD", 2, TabuKind},             {"opis", "OP1", 2, nullptr},
      {"opis c.d.", "OP2", 2, nullptr},           {"opis c.d.", "OP3", 2, nullptr},
      {"opis c.d.", "OP4", 2, nullptr},           {"opis c.d.", "OP5", 2, nullptr},
      {"opis c.d.", "OP6", 2, nullptr},           {"ilość", "ILO", 3, nullptr},
      {"podstawa ", "NET", 3, TabuNet},           {"stawka VAT", "VST", 3, TabuRate},
      {"podatek należny", "VAT", 3, TabuVat},     {"data wystawienia faktury", "DAW", 5, nullptr},
      {"numer faktury", "NRD", 5, nullptr},       {"opis faktury", "OFA", 5, nullptr},
      {"opis płatności", "OPL", 5, nullptr},      {"miejsce rozpoczęcia wysyłki", "AD1", 5, nullptr},
      {"miejsce zakończenia wysyłki", "AD2", 5, nullptr}, {"korygowany kwartał", "KRO", 5, TabuQuarter},
  };
  for (const Tabu& t : tabu) {
    TabuColumn* column = DefineTabuColumn(Keep(t.heading), "", Slot(t.field), 0, t.group);
    if (column) column->valueRoutine = t.value;
  }
}

// ---- filters

int QuarterTest(DbField* field, int32_t quarter, DbTable*) {
  int month = f4int(field);
  return month >= 3 * quarter - 2 && month <= 3 * quarter ? X4_ACCEPT : X4_REJECT;
}

void DefineFilters(KontekstVatOss& c) {
  ResetFiltersDefinition(&c.filters, c.filterItems, sizeof c.filterItems);
  FilterItem* quarter = DefineFilter(FilterFld(F("MIE")), Keep("kwartał................"), Keep(" kwartał: "),
                                     FILTER_NUMBER, 0, "9", valid_int_kwartal);
  if (quarter) quarter->own_test.number = QuarterTest;
  DefineFilter(FilterFld(F("MIE")), Keep("miesiąc................"), Keep(" miesiąc: "), FILTER_NUMBER, 0, "99",
               valid_int_month);
  DefineFilter(FilterFld(F("KRA")), "kraj...................", " kraj: ", FILTER_TEXT_LENGTH, FILTER_UPPER, 18, 0,
               kraj_f4_lista, static_cast<int32_t>(KRAJ_DAJ_NAZWE), nullptr);
}

// ---- actions

int32_t AppendMonth(int32_t) { return dopisz_miesiac_vat_oss(); }
int32_t Modify(int32_t) { return informacje_dodatkowe_vat_oss(0); }
int32_t Filters(int32_t) {
  OpenFiltersWindow(&k->filters);
  Redisplay(0);
  return 0;
}
int32_t Print(int32_t) { return drukuj_vat_oss(); }

int Keys(int key) {
  if (key != KEY_F2) return 0;
  informacje_dodatkowe_vat_oss(1);
  return 1;
}

void Menus(KontekstVatOss& c) {
  c.menu = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", 1212, 'd', 0, AppendMonth, nullptr);
  MenuDefineItem(" Modyfikuj ", 1213, 'm', 0, Modify, nullptr);
  MenuDefineItem(" Filtry ", 1214, 'f', 0, Filters, nullptr);
  MenuDefineItem(" Drukuj ", 1215, 'r', 0, Print, nullptr);
  w4select(c.menu);
}

// The form's fields over the current record.
void InfoGets(bool correction) {
  struct Get {
    int row, col;
    const char* field;
  };
  const Get gets[] = {{2, 5, "OFA"}, {5, 5, "OPL"}, {7, 11, "ZAL"}, {10, 5, "AD1"}, {13, 5, "AD2"}};
  for (const Get& g : gets) g4field(g.row, g.col, Slot(g.field));
  if (correction) {
    g4field(15, 20, Slot("KKW"));
    g4field(15, 27, Slot("KRO"));
  } else {
    w4clear(15);
    w4(15, 1, Keep("Faktura: kwartał korygowany dotyczy tylko korekt."));
  }
}

}  // namespace

int informacje_dodatkowe_vat_oss(int tylko_podglad) {
  if (d4reccount(T()) == 0 || d4eof(T())) {
    Uwaga(MSG_NO_ITEMS);
    return 0;
  }
  long record = d4recno(T());
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(10, 0, INFO_ROWS, 80, "INFORMACJE DODATKOWE", nullptr, nullptr);
  w4select(window);
  w4activate(window);
  uint16_t size = 0;
  const unsigned char* text = EnvFindRcData(RC_ACTIVE_INSTANCE, [] { return RES_INFO; }, &size);
  if (text) {
    std::string lines(reinterpret_cast<const char*>(text), strnlen(reinterpret_cast<const char*>(text), size));
    for (int row = 0; row * 78 < static_cast<int>(lines.size()) && row < INFO_ROWS; row++)
      w4num(row, 0, lines.c_str() + row * 78, std::min<int>(78, static_cast<int>(lines.size()) - row * 78));
  }
  InfoGets(f4int(F("TYD")) == 2);
  if (tylko_podglad) {
    g4display();
    WaitFor(1, 0);
    if (KeyPressed()) g4char();
    g4release(0);
  } else if (g4read() == KEY_F2 && set_lock(T(), record) == 0) {
    d4write(T(), record);
    d4flush(T());
    d4unlock(T());
  }
  // Whatever was typed and not written goes: the stored record comes back.
  d4changed(T(), 0);
  d4go(T(), record);
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  Redisplay(record);
  return 0;
}

int drukuj_vat_oss() {
  long record = d4recno(T());
  OpenFiltersWindow(&k->filters);
  if (k->filters.changed) {
    MakeFilterStatusString(&k->filters, subtitle);
    BrowseContext* b = CurrentBrowse;
    if (BrowsePrintTabulogram && b)
      BrowsePrintTabulogram(b->print_columns, &b->scan, T(), b->shown_tag, "Ewidencja VAT-OSS", subtitle, "Z5VOSS",
                            0);
    AskResetFilter(&k->filters);
  }
  Redisplay(record);
  return 0;
}

int dopisz_miesiac_vat_oss() {
  long remembered = d4reccount(T()) > 0 ? d4recno(T()) : 0;
  int month = wybierz_miesiac_vat_oss();
  if (month < 0) {
    Redisplay(remembered);
    return 0;
  }
  buduj_miesiac_vat_oss(month);
  long first = 0;
  DbTag* shown = d4tag_selected(T());
  d4tag_select(T(), Z5VOSS.tag[OSS_BY_MONTH]);
  char key[12];
  std::snprintf(key, sizeof key, "%2d", month);
  if (d4seek_n(T(), key, 2) == 0) first = d4recno(T());
  d4tag_select(T(), shown);
  Redisplay(first > 0 ? first : remembered);
  return 0;
}

int ewidencja_vat_oss(int) {
  auto* c = static_cast<KontekstVatOss*>(take_mem(sizeof(KontekstVatOss)));
  if (!c) return 0;
  KontekstVatOss* outer = k;
  k = c;
  int window = w4select(-1);
  Menus(*c);
  Define(*c);
  DefineFilters(*c);
  set_fun_help("F2", Keep("Podgląd"), 0);
  BrowseContext* browse = nullptr;
  d4tag_select(T(), Z5VOSS.tag[OSS_BY_SALE_DATE]);
  if (allocate_browse(&browse, T(), Z5VOSS.tag[OSS_BY_SALE_DATE], c->columns, c->menu) == 0) {
    browse->title = "Ewidencja VAT-OSS";
    browse->print_title = "Ewidencja VAT-OSS";
    browse->print_subtitle = subtitle;
    browse->print_columns = c->tabulogram;
    browse->record_texts = c->view;
    browse->record_lines_source = []() -> int16_t { return RES_VIEW; };
    browse->record_lines_count = VIEW_ROWS;
    browse->key_hook = Keys;
    browse->filter_fn = FilterFunction;
    browse->filter_data = reinterpret_cast<intptr_t>(&c->filters);
    zrob_browse(VIEW_ROWS, 0, 0);
    free_browse(&browse);
  }
  remove_fun_help("F2");
  FreeFilters(&c->filters);
  if (c->menu >= 0) w4close(c->menu);
  w4select(window);
  k = outer;
  free_mem(&c);
  return 0;
}
