#include "sales/vat_register.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/catalogue_lists.h"
#include "print/tabulogram.h"
#include "printouts/account_sums.h"
#include "printouts/margin_register.h"
#include "printouts/register_totals.h"
#include "printouts/sales_chart.h"
#include "printouts/turnover_summaries.h"
#include "printouts/vat_register_print.h"
#include "sales/currency_view.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/numbering.h"
#include "sales/register_filters.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

kontekst_ewidencji* kontekstEwidencji = nullptr;

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int LINES_BY_NUMBER = 0, LINES_BY_VAT_DATE = 1, LINES_BY_NAME = 2;
constexpr int HEADERS_BY_REC = 4;
constexpr int NUMBER_WIDTH = 40, NAME_WIDTH = 27, NAME_SEEK_WIDTH = 40;
constexpr int KEY_F5 = 0x3F00, KEY_ALT_K = 0x2500, KEY_ALT_U = 0x1600;
constexpr int TITLE_MAX = 90, STATUS_MAX = 1024;
constexpr int MSG_SUM_WITH_CHECK = 20052;

char title[TITLE_MAX + 1];
char printTitle[STATUS_MAX];

DbTable* Lines() { return Z5SPRE.table; }
DbField* Line(const char* name) { return d4field(Lines(), name); }

// Binds the line field's own slot so that columns follow the record.
DbField** LineSlot(const char* name) {
  DbField* field = Line(name);
  for (DbField*& bound : Z5SPRE.field)
    if (bound == field) return &bound;
  return nullptr;
}

// The rate an amount of the current line is multiplied by in a view.
double ViewRate(int view) { return kurs_widoku(view, Line("KVA"), Line("KKS")); }

// The document number: the free number RE1, else prefix/number/suffix.
std::string DocumentNumber() {
  std::string free(f4ptr(Line("RE1")), f4len(Line("RE1")));
  if (free.find_first_not_of(' ') != std::string::npos) return free;
  char text[64];
  std::snprintf(text, sizeof text, "%.*s/%5ld/%.*s", static_cast<int>(f4len(Line("PRE"))), f4ptr(Line("PRE")),
                f4long(Line("NRV")), static_cast<int>(f4len(Line("POS"))), f4ptr(Line("POS")));
  return text;
}

void NumberColumn(ColumnValue* value) {
  std::string number = DocumentNumber();
  number.resize(NUMBER_WIDTH, ' ');
  value->type = 'C';
  value->length = NUMBER_WIDTH;
  std::memcpy(value->text, number.data(), NUMBER_WIDTH);
  value->text[NUMBER_WIDTH] = '\0';
}

void MarkColumn(ColumnValue* value) {
  long mark = f4long(Line("RE5"));
  value->type = 'C';
  value->length = 2;
  std::snprintf(value->text, sizeof value->text, "%s", mark == 0 ? "  " : (mark < 10 ? " " + std::to_string(mark)
                                                                                       : std::to_string(mark)).c_str());
}

void NetColumn(ColumnValue* value) {
  value->type = 'N';
  value->length = static_cast<uint8_t>(f4len(Line("WNE")));
  value->decimals = 2;
  value->number = f4double(Line("WNE"));
  przelicz_kwote_widoku(value, kontekstEwidencji ? kontekstEwidencji->widok_waluty : VIEW_OWN_CURRENCY, Line("KVA"),
                        Line("KKS"));
}

// Tabulogram amounts in the currency mode of the printout.
void ConvertedAmount(TabuValue* value) {
  DbField* field = Line(value->fieldName);
  double amount = field ? f4double(field) : value->number;
  value->number = ROUND(amount * ViewRate(kontekstEwidencji ? kontekstEwidencji->tryb_przeliczenia : 2), 2);
}

void NumberValue(TabuValue* value) {
  std::string number = DocumentNumber();
  std::memset(value->text, ' ', sizeof value->text);
  std::memcpy(value->text, number.data(), std::min(number.size(), sizeof value->text));
}

void Columns(kontekst_ewidencji& c) {
  ResetScrollDefinition(c.kolumny, sizeof c.kolumny);
  DefineScrollColumn(LineSlot("DAV"), 0, "data VAT");
  ScrollColumn* number = DefineScrollColumn(LineSlot("RE1"), SCROLL_FIXED_WIDTH, "numer");
  if (number) {
    number->valueRoutine = NumberColumn;
    number->width = NUMBER_WIDTH;
  }
  if (salesOptions.procedureMarks == 'T') {
    ScrollColumn* mark = DefineScrollColumn(LineSlot("RE5"), 0, "oz");
    if (mark) mark->valueRoutine = MarkColumn;
  }
  ScrollColumn* name = DefineScrollColumn(LineSlot("NA1"), SCROLL_FIXED_WIDTH, "nazwa");
  if (name) name->width = NAME_WIDTH;
  ScrollColumn* net = DefineScrollColumn(LineSlot("WNE"), 0, "netto");
  if (net) net->valueRoutine = NetColumn;
}

void Tabulogram(kontekst_ewidencji& c) {
  ResetTabuDefinition(c.tabulogram, sizeof c.tabulogram);
  struct Tabu {
    const char* heading1;
    const char* heading2;
    const char* field;
    int block;
    TabuValueRoutine value;
  };
  const Tabu tabu[] = {
      {"data", "VAT", "DAV", 1, nullptr},           {"data", "wyst", "DAW", 1, nullptr},
      {"numer", "dokumentu", "RE1", 2, NumberValue}, {"nazwa", "pozycji", "NA1", 3, nullptr},
      {"", "", "NA2", 3, nullptr},                   {"", "", "NA3", 4, nullptr},
      {"", "", "NA4", 4, nullptr},                   {"", "", "NA5", 5, nullptr},
      {"", "", "NA6", 5, nullptr},                   {"j.m", "", "JED", 6, nullptr},
      {"KWiU", "", "KWU", 6, nullptr},               {"ilość", "pozycji", "ILO", 7, nullptr},
      {"cena", "netto", "CNR", 7, ConvertedAmount},  {"VAT", "[%]", "VAS", 8, nullptr},
      {"cena", "brutto", "CBR", 8, ConvertedAmount}, {"wartość", "netto", "WNE", 9, ConvertedAmount},
      {"wartość", "VAT", "WAV", 9, ConvertedAmount}, {"wartość", "brutto", "WAB", 10, ConvertedAmount},
      {"korekta", "ilość", "ILK", 10, nullptr},      {"kor. netto", "", "KRN", 11, ConvertedAmount},
      {"korekta", "VAT", "KRV", 11, ConvertedAmount}, {"wart. zakupu", "", "ZFM", 12, nullptr},
      {"ryczałt", "[%]", "RYS", 12, nullptr},
  };
  for (const Tabu& t : tabu) {
    TabuColumn* column = DefineTabuColumn(Sys(t.heading1), Sys(t.heading2), LineSlot(t.field), 0, t.block);
    if (column) column->valueRoutine = t.value;
  }
  // The buyer's NIP comes from the header each line is related to.
  DbField* nip = d4field(Z5SPRZ.table, "NIP");
  for (DbField*& bound : Z5SPRZ.field)
    if (bound == nip) DefineTabuColumn("NIP", "", &bound, 0, 2);
}

// ---- the information panel

constexpr int16_t RES_PANEL = 200;
constexpr int PANEL_ROWS = 13;

void PutText(TextCtrl* entry, const std::string& text, int width) {
  std::string shown = text;
  shown.resize(static_cast<size_t>(width), ' ');
  int room = std::min(width, w4width() - entry->col);
  if (room > 0) w4num(entry->row, entry->col, shown.c_str(), room);
}

// The kind's name; from 2024 a final, collective or receipt final invoice
// by the line's RFK.
void KindText(TextCtrl* entry) {
  int kind = f4int(Line("TYV"));
  int rfk = f4int(Line("RFK"));
  std::string name = nazwa_rodzaju_dokumentu(kind, kontekstEwidencji ? kontekstEwidencji->rejestr : 1);
  if (WorkingYear() >= FIRST_YEAR_2024 && (kind == 1 || kind == 7) && rfk >= 1 && rfk <= 3) {
    static const char* const finals[] = {"FAKTURA końcowa", "FAKTURA zbiorcza", "FAKTURA końcowa parag."};
    name = Sys(finals[rfk - 1]);
  }
  PutText(entry, name, 21);
}

// An amount of the line in the current view.
void ViewAmount(TextCtrl* entry) {
  pokaz_kwote_w_widoku(entry, kontekstEwidencji ? kontekstEwidencji->widok_waluty : VIEW_OWN_CURRENCY, Line("KVA"),
                       Line("KKS"));
}

void ViewCurrency(TextCtrl* entry) {
  int view = kontekstEwidencji ? kontekstEwidencji->widok_waluty : 2;
  PutText(entry, view == 2 ? std::string(f4ptr(Line("WAL")), f4len(Line("WAL"))) : "PLN", 3);
}

void AccountText(TextCtrl* entry) {
  DbTable* accounts = Z5KONT.table;
  if (!accounts) return PutText(entry, "", 44);
  std::string text(f4ptr(d4field(accounts, "NUM")), f4len(d4field(accounts, "NUM")));
  text += " ";
  text.append(f4ptr(d4field(accounts, "NAZ")), f4len(d4field(accounts, "NAZ")));
  PutText(entry, text, 44);
}

void Panel(kontekst_ewidencji& c) {
  ResetTextCtrlDefinition(c.panel, sizeof c.panel);
  bool from2024 = WorkingYear() >= FIRST_YEAR_2024;
  struct At {
    int row, col;
    const char* field;
    void (*draw)(TextCtrl*);
  };
  // The document and the item on the left, the amounts in a column on the
  // right: every value ends before column 78 and clear of the labels.
  const At at[] = {
      {0, 9, "TYV", KindText},    {0, 34, "PRE", nullptr},     {0, 39, "NRV", nullptr},
      {0, 45, "POS", nullptr},    {1, 14, "KOT", nullptr},     {1, 66, "DAW", nullptr},
      {2, 8, "NA1", nullptr},     {3, 8, "NA2", nullptr},      {4, 8, "NA3", nullptr},
      {5, 8, "NA4", nullptr},     {6, 8, "NA5", nullptr},      {7, 8, "NA6", nullptr},
      {2, 64, "ILO", nullptr},    {3, 64, "CNB", ViewAmount},  {4, 64, "RAS", nullptr},
      {5, 64, "CNR", ViewAmount}, {6, 64, "WAV", ViewAmount},  {7, 64, "WAB", ViewAmount},
      {8, 64, "ILK", nullptr},    {9, 64, "KRN", ViewAmount},  {8, 14, "JED", nullptr},
      {8, 27, "KWU", nullptr},    {9, 33, "VAS", nullptr},     {10, 33, "RYS", nullptr},
      {11, 15, "KON", AccountText}, {12, 62, "CSS", nullptr},  {12, 74, "WAL", ViewCurrency},
  };
  for (const At& a : at) {
    TextCtrl* entry = DefineTextCtrl(a.row, a.col, LineSlot(a.field), 0);
    if (entry) entry->drawRoutine = a.draw;
  }
  if (TextCtrl* e = DefineTextCtrl(10, 64, LineSlot("TYP"), 0))
    e->codeTexts = CodeList({"1. SPRZEDAŻ", "2. POZOSTAŁE", "3. WYN. W NAT."});
  if (TextCtrl* e = DefineTextCtrl(9, 14, LineSlot("VAT"), 0)) e->codeTexts = NAZWY_STAWEK_VAT;
  if (TextCtrl* e = DefineTextCtrl(12, 8, LineSlot("STM"), 0)) e->codeTexts = DeliveryList(from2024);
  if (TextCtrl* e = DefineTextCtrl(10, 14, LineSlot("RYT"), 0)) e->codeTexts = ListaStawekRyczaltu(WorkingYear());
}

// ---- menu actions

int32_t Redisplay() { return browse_call(0, d4recno(Lines())) < 0 ? -1 : 0; }

int32_t FiltersAction(int32_t) {
  okno_filtrow_ewidencji(kontekstEwidencji, 0);
  return Redisplay();
}
int32_t SearchAction(int32_t kind) { return szukaj_w_ewidencji(kind); }
int32_t PrintAction(int32_t kind) { return drukuj_ewidencje(kind); }
int32_t DeleteAction(int32_t) { return usun_pozycje_ewidencji(); }
int32_t SumsAction(int32_t) {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  okno_filtrow_ewidencji(c, 0);
  if (!c->filtry.changed) return Redisplay();
  long shown = d4recno(Lines());
  int check = Pytanie(MSG_SUM_WITH_CHECK) == KEY_ESC ? 0 : 1;
  c->z_naglowkiem = 1;
  if (WorkingYear() >= FIRST_YEAR_2024)
    sumy_rejestru_sprzedazy_2024(check);
  else
    sumy_rejestru_sprzedazy(check);
  c->z_naglowkiem = 0;
  AskResetFilter(&c->filtry);
  return browse_call(0, shown) < 0 ? -1 : 0;
}
int32_t ChartAction(int32_t) { return wykres_z_ewidencji(); }

void Item(const char* text, int rights, int key, int value, MenuAction action, int32_t* submenu = nullptr) {
  MenuDefineItem(Sys(text), rights, key, value, action, submenu);
}

void Menus(kontekst_ewidencji& c) {
  c.menu_glowne = DefineMainMenuWindow();
  Item(" Szukaj ", 1250, 's', -1, nullptr, &c.menu_szukaj);
  Item(" Drukuj ", 1260, 'd', -1, nullptr, &c.menu_drukuj);
  Item(" Suma ", 1270, 'a', 0, SumsAction);
  Item(" Usuń ", 1280, 'u', 0, DeleteAction);
  Item(" Filtry ", 1290, 'f', 0, FiltersAction);
  Item(" Wykres ", 1291, 'w', 0, ChartAction);

  c.menu_szukaj = DefineMenuWindow();
  Item(" Data ", 1251, 'd', 1, SearchAction);
  Item(" Nazwa ", 1252, 'n', -1, nullptr, &c.menu_nazwa);
  Item(" Numer ", 1255, 'u', 3, SearchAction);
  Item(" Numer niestandardowy ", 1255, 'r', 6, SearchAction);

  c.menu_nazwa = DefineMenuWindow();
  Item(" Porządek ", 1253, 'p', 2, SearchAction);
  Item(" Wzorzec ", 1254, 'w', 4, SearchAction);

  c.menu_drukuj = DefineMenuWindow();
  if (WorkingYear() < FIRST_YEAR_2024 || c.rejestr == 1) Item(" Rejestr Marża ", 1266, 'm', 6, PrintAction);
  Item(" Rejestr ", 1261, 'r', 1, PrintAction);
  Item(" Tabulogram ", 1262, 't', 2, PrintAction);
  Item(" Konta ", 1263, 'k', 3, PrintAction);
  Item(" Towary ", 1264, 'o', 4, PrintAction);
  Item(" Usługi ", 1265, 'u', 5, PrintAction);
  w4select(c.menu_glowne);
}

// The header of the current line; false when it no longer exists.
bool SeekHeader() {
  DbTable* h = Z5SPRZ.table;
  long rek = f4long(Line("REK"));
  if (rek > 0) {
    DbTag* previous = d4tag_selected(h);
    d4tag_select(h, Z5SPRZ.tag[HEADERS_BY_REC]);
    int r = d4seek_double(h, static_cast<double>(rek));
    d4tag_select(h, previous);
    if (r == 0 && !d4deleted(h)) return true;
  }
  d4go_eof(h);
  d4blank(h);
  return false;
}

const char* NameText() { return FldQStr(Line("NA1"), 0); }
const char* FreeNumberText() { return FldQStr(Line("RE1"), 0); }

int ScanFilter(intptr_t) { return filtr_ewidencji(); }

// An orphan line gives its stock back by its own kind, since its header is gone.
int BeforeDelete() { return oddaj_ilosc_pozycji(f4int(Line("TYV"))); }

void Settings(BrowseContext* b, kontekst_ewidencji& c) {
  std::snprintf(title, sizeof title, "%s %d",
                Sys(c.rejestr == 1 ? "Ewidencja sprzedaży" : "Pomocnicza ewidencja sprzedaży"), WorkingYear());
  b->title = title;
  b->print_title = printTitle;
  b->print_columns = c.tabulogram;
  b->record_texts = c.panel;
  b->record_lines_source = []() -> int16_t { return RES_PANEL; };
  b->record_height = PANEL_ROWS;
  b->record_lines_count = PANEL_ROWS;
  b->key_hook = klawisze_ewidencji;
  b->stamp_field = Line("INF");
  b->filter_fn = ScanFilter;
  b->before_delete = BeforeDelete;
}

}  // namespace

int definiuj_ewidencje(kontekst_ewidencji** out, int rejestr) {
  auto* c = static_cast<kontekst_ewidencji*>(take_mem(sizeof(kontekst_ewidencji)));
  *out = c;
  if (!c) return -1;
  c->menu_glowne = c->menu_szukaj = c->menu_nazwa = c->menu_drukuj = -1;
  c->rejestr = rejestr;
  c->widok_waluty = 2;
  c->tryb_przeliczenia = 2;
  Menus(*c);
  Columns(*c);
  Tabulogram(*c);
  Panel(*c);
  definiuj_filtry_ewidencji(c);
  return 0;
}

void zwolnij_ewidencje(kontekst_ewidencji** context) {
  kontekst_ewidencji* c = *context;
  if (!c) return;
  FreeFilters(&c->filtry);
  for (int32_t menu : {c->menu_drukuj, c->menu_nazwa, c->menu_szukaj, c->menu_glowne})
    if (menu >= 0) w4close(menu);
  free_mem(context);
}

int ewidencja_sprzedazy() {
  int window = w4select(-1);
  DbTag* salesTag = d4tag_selected(Lines());
  kontekst_ewidencji* c = nullptr;
  int result = -1;
  if (definiuj_ewidencje(&c, salesContext ? salesContext->rejestr : 1) == 0) {
    kontekst_ewidencji* outer = kontekstEwidencji;
    kontekstEwidencji = c;
    BrowseContext* browse = nullptr;
    if (allocate_browse(&browse, Lines(), Z5SPRE.tag[LINES_BY_VAT_DATE], c->kolumny, c->menu_glowne) == 0) {
      Settings(browse, *c);
      podpowiedz_widoku_waluty(c->widok_waluty, CURRENCY_VIEW_HINT);
      c->z_kontem = 1;
      result = zrob_browse(browse->record_height, 0, 0);
      c->z_kontem = 0;
      free_browse(&browse);
      // the register's own view comes back with its list
      if (definicjaRejestru) podpowiedz_widoku_waluty(definicjaRejestru->currencyView, CURRENCY_VIEW_HINT);
    }
    kontekstEwidencji = outer;
  }
  zwolnij_ewidencje(&c);
  d4tag_select(Lines(), salesTag);
  w4select(window);
  if (CurrentBrowse) browse_call(0, d4recno(Z5SPRZ.table));
  return result;
}

int filtr_ewidencji() {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return X4_ACCEPT;
  if (c->z_kontem && Z5KONT.table && szukaj_konta_pozycji() < 0) return X4_REJECT;
  FilterItem* buyer = c->elementy[FE_KOD_KONTRAHENTA];
  if (c->z_naglowkiem || (buyer && buyer->active)) SeekHeader();
  if (c->filtry.off || c->filtry.count == 0) return X4_ACCEPT;
  FilterItem* delivery = c->elementy[FE_TYP_DOSTAWY];
  bool ossChosen = delivery && delivery->active && delivery->code == '4';
  if (f4char(Line("STM")) == '4' && !ossChosen) return X4_REJECT;
  return FilterFunctionEx(&c->filtry, nullptr);
}

int szukaj_w_ewidencji(int kind) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return -1;
  if (kind == 2) return SzukajWKatalogu(Sys("Szukaj nazwy towaru -"), NAME_SEEK_WIDTH, Z5SPRE.tag[LINES_BY_NAME]);
  std::string key;
  DbTag* tag = nullptr;
  if (kind == 1) {
    char date[9] = "        ";
    if (PytanieWOknieSzukania(c, "Szukaj daty -", date, "DD-MM/YY", false) != KEY_ENTER) return 0;
    key.assign(date, 8);
    tag = Z5SPRE.tag[LINES_BY_VAT_DATE];
  } else if (kind == 3) {
    char number[6] = "     ";
    if (PytanieWOknieSzukania(c, "Szukaj numeru dokumentu -", number, "99999", false) != KEY_ENTER) return 0;
    wyrownaj_do_prawej(number, 5);
    key.assign(number, 5);
    tag = Z5SPRE.tag[LINES_BY_NUMBER];
  } else if (kind == 4 || kind == 6) {
    std::string pattern(NAME_SEEK_WIDTH, ' ');
    const char* prompt = kind == 4 ? "Szukaj wzoru w nazwie pozycji -" : "Szukaj wzoru w numerze dokumentu -";
    if (PytanieWOknieSzukania(c, prompt, pattern.data(), nullptr, false) != KEY_ENTER) return 0;
    long found = BrowseLocate(pattern.c_str(), kind == 4 ? NameText : FreeNumberText);
    if (found < 0) return -1;
    return browse_call(0, found > 0 ? found : d4recno(Lines()));
  } else {
    return 0;
  }
  long current = d4recno(Lines());
  d4tag_select(Lines(), tag);
  int r = x4seek(&c->scan, key.c_str());
  if (r < 0) return -1;
  return browse_call(0, r == 0 || r == 2 ? d4recno(Lines()) : current);
}

int czy_mozna_usunac_pozycje_ewidencji() {
  bool headerExists = SeekHeader();
  if (!headerExists) return 0;
  Uwaga(Sys("Pozycję można usunąć tylko poprzez ewidencję dokumentów !"));
  return -1;
}

int usun_pozycje_ewidencji() {
  if (czy_mozna_usunac_pozycje_ewidencji() != 0) return -1;
  return browse_skasuj(1);
}

int drukuj_ewidencje(int kind) {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return -1;
  if (kind < 1 || kind > 6) return -1;
  if (LoadPodatkiOptions() != 0) return -1;
  // the printouts walk the lines; the list comes back where it stood
  long shown = d4recno(Lines());
  c->rodzaj_wydruku = kind == 6 ? 3 : kind == 5 ? 2 : kind == 4 ? 1 : 0;
  okno_filtrow_ewidencji(c, kind == 6 ? 6 : 0);
  if (!c->filtry.changed) return Redisplay();
  if (kind >= 2 && kind <= 5) {
    int mode = 2;
    if (wybierz_przeliczenie_walut(&mode, czy_raport_w_walucie(c->elementy[FE_WALUTA])) != 0) return Redisplay();
    c->tryb_przeliczenia = mode;
  }
  int result;
  if (kind == 3) {
    // a refused lock skips the sums
    result = -1;
    if (d4lock_all(Lines()) == 0) {
      result = sumy_wg_kont();
      d4unlock(Lines());
    }
  } else if (kind == 4 || kind == 5) {
    result = kind == 4 ? zestawienie_towarow(Lines(), 1, c->rejestr) : zestawienie_uslug(Lines(), 1, c->rejestr);
  } else {
    c->z_naglowkiem = 1;
    if (kind == 1) {
      result = drukuj_rejestr_vat();
    } else if (kind == 6) {
      result = drukuj_rejestr_marzy();
    } else {
      opis_stanu_filtrow(&c->filtry, printTitle, sizeof printTitle, 1, 0);
      FilterItem* currency = c->elementy[FE_WALUTA];
      dopisz_opis_widoku_waluty(printTitle, sizeof printTitle, c->tryb_przeliczenia,
                                czy_raport_w_walucie(currency) ? currency->text : "");
      result = browse_drukuj();
    }
    c->z_naglowkiem = 0;
  }
  AskResetFilter(&c->filtry);
  browse_call(0, shown);
  return result;
}

int klawisze_ewidencji(int key) {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c) return 0;
  switch (key) {
    case KEY_F5:
      c->widok_waluty = (c->widok_waluty + 1) % 3;
      podpowiedz_widoku_waluty(c->widok_waluty, CURRENCY_VIEW_HINT);
      Redisplay();
      return 1;
    case KEY_DEL:
    case KEY_ALT_U:
      usun_pozycje_ewidencji();
      return 1;
    case KEY_ALT_K:
      hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, Line("INF"));
      return 1;
    default:
      return 0;
  }
}
