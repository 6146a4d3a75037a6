// The register of all lines of the year's warehouse documents: searches,
// its own filter, the sums by VAT rate, the tabulogram, and the deletion of
// lines whose document is gone.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>
#include <string>

#include "app/browse_search.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/document_seeks.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "masterdata/stock_update.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/printer.h"
#include "tables/masterdata_tables.h"
#include "masterdata/warehouse_documents.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_RECEIPT_LINES = 163, MSG_ISSUE_LINES = 165;
constexpr int MSG_ONLY_WITH_DOCUMENT = 20178, MSG_SUM_CHECKED = 20052;
constexpr int FIRST_YEAR_2024 = 2024;
constexpr int CODE_WIDTH = 18, CONTRACTOR_WIDTH = 20, NAME_WIDTH = 40;

DbTable* Lines() { return stronaMagazynu->lines->table; }
DbTable* Headers() { return stronaMagazynu->headers->table; }
DbField* L(const char* name) { return d4field(Lines(), name); }
DbField* H(const char* name) { return d4field(Headers(), name); }
int Right(int offset) { return stronaMagazynu->lineRightsBase + 40 + offset; }

DbField** Bound(const char* name) {
  DbField* field = L(name);
  for (DbField*& bound : stronaMagazynu->lines->field)
    if (bound == field) return &bound;
  return nullptr;
}

const char* Sys(const char* utf8) {
  static std::map<std::string, std::string> kept;
  return kept.try_emplace(utf8, Utf8ToMazText(utf8)).first->second.c_str();
}

struct Filter {
  char from[9], to[9];         // CCYYMMDD, blank when off
  char code[CODE_WIDTH + 1];   // pattern with '*' and '?'
  char codeName[NAME_WIDTH + 1];
  char contractor[CONTRACTOR_WIDTH + 1];
  char contractorName[71];
  int vat;                     // 0 off
  char vatText[21];
};

struct LineRegister {
  int menus[4];
  char title[81];
  Filter active, edited;
  bool on;
  bool summing;
  ScrollColumn columns[6];
  TextCtrl panel[12];
  TabuColumn tabulogram[20];
  SearchContext search;
  SearchField searchFields[5];
  char searchDate[9], searchName[41], searchPattern[41];
  int32_t searchNumber;
};
LineRegister* reg = nullptr;

bool Blank(const char* text) { return text[std::strspn(text, " ")] == '\0'; }


}  // namespace

// '*' ends the comparison with a match, '?' takes any character; letter
// case is ignored.
bool kod_pasuje_do_wzorca(const char* code, const char* pattern) {
  std::string c = bez_odstepow(code), p = bez_odstepow(pattern);
  size_t i = 0;
  for (; i < p.size(); i++) {
    if (p[i] == '*') return true;
    if (i >= c.size()) return false;
    if (p[i] != '?' && EnvToUpper(static_cast<unsigned char>(p[i])) != EnvToUpper(static_cast<unsigned char>(c[i])))
      return false;
  }
  return i == c.size();
}

namespace {

void Blanked(char* text, int width) {
  std::memset(text, ' ', static_cast<size_t>(width));
  text[width] = '\0';
}

void ClearFilter(Filter* f) {
  Blanked(f->from, 8);
  Blanked(f->to, 8);
  Blanked(f->code, CODE_WIDTH);
  Blanked(f->codeName, NAME_WIDTH);
  Blanked(f->contractor, CONTRACTOR_WIDTH);
  Blanked(f->contractorName, 70);
  Blanked(f->vatText, 20);
  f->vat = 0;
}

// After a printout or the sums: "Czy usunąć filtry ?" (Esc keeps them).
void AskClearFilter() {
  if (Pytanie(Sys("Czy usunąć filtry ?")) == KEY_ESC) return;
  ClearFilter(&reg->active);
  reg->on = false;
  BrowseDispFilterState(0);
}

bool HeaderOfLine() {
  long record = f4long(L("REK"));
  DbTable* t = Headers();
  if (record > 0 && record <= d4reccount(t) && d4go(t, record) == 0 && !d4deleted(t)) return true;
  d4blank(t);
  d4changed(t, 0);
  return false;
}

int LineFilter(intptr_t) {
  if (!reg) return X4_ACCEPT;
  const Filter& f = reg->active;
  bool contractor = !Blank(f.contractor);
  if (reg->summing || contractor) HeaderOfLine();
  if (!reg->on) return X4_ACCEPT;
  if (!Blank(f.code) && !kod_pasuje_do_wzorca(FldQStr(L("KOT"), 0), f.code)) return X4_REJECT;
  if (contractor && bez_odstepow(FldQStr(H("KOO"), 0)) != bez_odstepow(f.contractor)) return X4_REJECT;
  std::string date(f4ptr(L("DAT")), 8);
  double day;
  bool valid = c4dt_julian(date.c_str(), &day) == 0;
  if (!Blank(f.from) && (!valid || date < std::string(f.from))) return X4_REJECT;
  if (!Blank(f.to) && (!valid || date > std::string(f.to))) return X4_REJECT;
  if (f.vat != 0 && f4int(L("VAT")) != f.vat) return X4_REJECT;
  return X4_ACCEPT;
}

// ---- the filter dialog

int VatKey(Get4*, char* buffer, int32_t) {
  int key = g4char();
  if (WigetCtrlKey(key) && key != KEY_ENTER) return key;
  int current = reg->edited.vat;
  if (current == 0 && WorkingYear() >= FIRST_YEAR_2024) current = 1;
  int chosen = WorkingYear() >= FIRST_YEAR_2024 ? wybierz_kod_stawki_vat(current, 0)
                                                : wybierz_stawke_vat(NAZWY_STAWEK_VAT, current, -1, -1, 0);
  reg->edited.vat = chosen < 0 ? 0 : chosen;
  std::memset(buffer, ' ', 20);
  const char* name = chosen < 0 ? "?" : KodAsPopupMenuString(chosen, NAZWY_STAWEK_VAT);
  std::memcpy(buffer, name, strnlen(name, 20));
  return KEY_ENTER;
}

int GoodsKey(Get4* get, char* buffer, int32_t) { return towar_f4_lista(get, buffer, 5); }
int ContractorKey(Get4* get, char* buffer, int32_t) { return kontrahent_magazynu_f4_lista(get, buffer, 7); }

int GoodsValid(Get4* get) {
  std::string code = bez_odstepow(static_cast<const char*>(get->data));
  if (code.empty()) return 0;
  // A pattern names no goods of its own.
  if (code.find_first_of("*?") != std::string::npos) return 0;
  nazwa_z_walidacji = reg->edited.codeName;
  szerokosc_nazwy_z_walidacji = NAME_WIDTH;
  int r = valid_towar_pozycji(get);
  nazwa_z_walidacji = nullptr;
  OdswiezGety();
  return r;
}

int ContractorValid(Get4* get) {
  if (Blank(static_cast<const char*>(get->data))) return 0;
  nazwa_z_walidacji = reg->edited.contractorName;
  szerokosc_nazwy_z_walidacji = 70;
  int r = valid_kontrahent_magazynu(get);
  nazwa_z_walidacji = nullptr;
  OdswiezGety();
  return r;
}

// "FILTRY": F2 ("Zapamiętaj") makes the edited values the filter; 1 then.
int FilterDialog() {
  LineRegister& r = *reg;
  r.edited = r.active;
  int previous = w4select(-1);
  int window = DefineDialogWindow(16, 10, 9, 60, "FILTRY");
  if (window < 0) return 0;
  w4activate(window);
  w4select(window);
  const char* labels[] = {"od dnia........", "do dnia........", "kod towaru.....", "", "kod kontrahenta", "",
                          "stawka VAT....."};
  for (int i = 0; i < 7; i++) w4(i, 1, Sys(labels[i]));
  w4(7, 1, Sys("Zapamiętaj: F2"));
  Filter& f = r.edited;
  g4date(0, 17, f.from);
  g4picture("DD-MM/YY");
  g4date(1, 17, f.to);
  g4picture("DD-MM/YY");
  g4(2, 17, f.code);
  g4upper();
  g4call(GoodsKey, 5);
  g4valid(GoodsValid);
  g4(3, 17, f.codeName);
  g4disabled();
  g4(4, 17, f.contractor);
  g4upper();
  g4call(ContractorKey, 7);
  g4valid(ContractorValid);
  g4(5, 17, f.contractorName);
  g4disabled();
  g4(6, 17, f.vatText);
  g4call(VatKey, 0);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key != KEY_F2) return 0;
  r.active = f;
  r.on = !Blank(f.from) || !Blank(f.to) || !Blank(f.code) || !Blank(f.contractor) || f.vat != 0;
  BrowseDispFilterState(r.on);
  return 1;
}

void Redisplay() { browse_call(0, 0); }

// ---- actions

int32_t FiltersAction(int32_t) {
  FilterDialog();
  Redisplay();
  return 0;
}

// The filter's state under the tabulogram's title.
std::string FilterState() {
  const Filter& f = reg->active;
  std::string state;
  if (!Blank(f.from)) state += std::string(" od:") + FullDateQStr(f.from);
  if (!Blank(f.to)) state += std::string(" do:") + FullDateQStr(f.to);
  if (!Blank(f.code)) state += " kod tow:" + bez_odstepow(f.code);
  if (!Blank(f.contractor)) state += " kod kontr:" + bez_odstepow(f.contractor);
  if (f.vat != 0) state += " VAT:" + bez_odstepow(f.vatText);
  return state;
}

int32_t GoodsPrintout(int32_t) {
  if (FilterDialog()) {
    static std::string subtitle;
    subtitle = FilterState();
    CurrentBrowse->print_subtitle = subtitle.c_str();
    browse_drukuj();
    AskClearFilter();
  }
  Redisplay();
  return 0;
}

int32_t TurnoverAction(int32_t) {
  if (FilterDialog()) {
    obroty_towarow(Lines(), stronaMagazynu->receipt);
    AskClearFilter();
  }
  Redisplay();
  return 0;
}

// Lines whose document is gone give their stock back as they go.
int32_t DeleteLine(int32_t) {
  BrowseContext* c = CurrentBrowse;
  if (EmptyBrowseWarning(c) != 0) return 0;
  DbTable* lines = Lines();
  long record = d4recno(lines);
  if (HeaderOfLine()) {
    Uwaga(MSG_ONLY_WITH_DOCUMENT);
    d4go(lines, record);
    return 0;
  }
  d4go(lines, record);
  if (Pytanie(Sys("Czy usunąć pozycję ?")) == KEY_ESC) return 0;
  if (go_and_lock(lines, record) != 0) return 0;
  bool refused = false;
  if (f4char(L("STP")) == 'T') {
    int reached = 0;
    refused = stan_pozycji_magazynowej(FldQStr(L("KOT"), 0), FldQStr(L("NA1"), 0), f4double(L("ILO")), 0,
                                       &reached) != 0;
    zamknij_okno_raportu(1);
  }
  if (!refused) {
    d4go(lines, record);
    d4delete(lines);
    d4write(lines, record);
    d4flush(lines);
  }
  d4unlock(lines);
  Redisplay();
  return 0;
}

struct SumRow {
  const char* label;
  double net, vat, gross;
};

int32_t Sums(int32_t) {
  if (!FilterDialog()) return 0;
  Pytanie(MSG_SUM_CHECKED);
  SumRow rows[] = {{"podstawowa        23% lub 22%", 0, 0, 0}, {"obniżona           8% lub 7%", 0, 0, 0},
                   {"s.obniżona         5% lub 3%", 0, 0, 0}, {"zwrot RR           7% lub 6%", 0, 0, 0},
                   {"zerowa kraj", 0, 0, 0},                  {"zerowa eksport", 0, 0, 0},
                   {"zwolniona", 0, 0, 0},                    {"nie podlega VAT", 0, 0, 0},
                   {"RAZEM", 0, 0, 0}};
  double quantity = 0;
  DbTable* lines = Lines();
  if (set_lock(lines, -1) != 0) return 0;
  reg->summing = true;
  DbScanCtx scan;
  x4init(&scan, lines, LineFilter, 0);
  for (int r = x4top(&scan); r == 0 && !d4eof(lines); r = x4skip(&scan, 1)) {
    double wan = f4double(L("WAN")), wav = f4double(L("WAV")), wab = f4double(L("WAB"));
    int code = f4int(L("VAT"));
    auto add = [&](int row, double net, double vat, double gross) {
      rows[row].net += net;
      rows[row].vat += vat;
      rows[row].gross += gross;
    };
    switch (code) {
      case 1: add(0, wan, wav, wab); break;
      case 2: add(1, wan, wav, wab); break;
      case 8: add(2, wan, wav, wab); break;
      case 9: add(3, wan, wav, wab); break;
      case 3:
      case 13: add(4, wan, 0, wan); break;
      case 5: add(5, wan, 0, wan); break;
      case 4: add(6, wan, 0, wan); break;
      case 7: add(7, 0, 0, wab); break;
      default: break;
    }
    add(8, wan, wav, wab);
    quantity += f4double(L("ILO"));
  }
  reg->summing = false;
  d4unlock(lines);

  std::vector<std::string> text;
  text.push_back(Sys(stronaMagazynu->receipt ? "SUMA EWIDENCJI PRZYJĘĆ" : "SUMA EWIDENCJI WYDAŃ"));
  text.push_back(std::string(32, ' ') + "       netto          VAT       brutto");
  for (const SumRow& row : rows) {
    char line[100];
    std::snprintf(line, sizeof line, "%-30.30s  %12.2f %12.2f %12.2f", Sys(row.label), row.net, row.vat, row.gross);
    text.push_back(line);
  }
  if (stronaMagazynu->receipt && !Blank(reg->active.code)) text.push_back(PrintfQStr("Il.towaru- %13.4f", quantity));
  std::string heading = Sys("Sumy rejestru przesunięć.");
  if (!Blank(reg->active.from)) heading += std::string(" Od dnia ") + FullDateQStr(reg->active.from);
  if (!Blank(reg->active.to)) heading += std::string(" do dnia ") + FullDateQStr(reg->active.to);
  okno_sum_magazynu(Lines(), Sys("Sumy rejestru przesunięć."), heading, text);
  AskClearFilter();
  Redisplay();
  return 0;
}

int32_t Search(int32_t) { return OknoSzukaj(&reg->search, reg->searchFields); }

int Keys(int key) {
  hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, L("INF"));
  return 0;
}

void Define(LineRegister& r) {
  r.menus[0] = DefineMainMenuWindow();
  MenuDefineItem(" Szukaj ", Right(0), 's', 0, Search, nullptr);
  MenuDefineItem(" Drukuj ", Right(10), 'r', -1, nullptr, &r.menus[1]);
  MenuDefineItem(" Suma ", Right(20), 'a', 0, Sums, nullptr);
  MenuDefineItem(Sys(" Usuń "), Right(30), 'u', 0, DeleteLine, nullptr);
  MenuDefineItem(" Filtry ", Right(40), 'f', 0, FiltersAction, nullptr);
  r.menus[1] = DefineMenuWindow();
  MenuDefineItem(" Towary ", Right(11), 't', 0, GoodsPrintout, nullptr);
  MenuDefineItem(" Obroty ", Right(12), 'o', 0, TurnoverAction, nullptr);
  w4select(r.menus[0]);

  ResetScrollDefinition(r.columns, sizeof r.columns);
  DefineScrollColumn(Bound("DAT"), 0, "data");
  DefineScrollColumn(Bound("NUM"), 0, "numer");
  DefineScrollColumn(Bound("NA1"), 0, "nazwa");
  DefineScrollColumn(Bound("WAN"), 0, "netto");
  DefineScrollColumn(Bound("VAS"), DEF_LAST, "[%]");
  definiuj_panel_pozycji(r.panel, sizeof r.panel);

  ResetTabuDefinition(r.tabulogram, sizeof r.tabulogram);
  struct Tabu {
    const char* h1;
    const char* h2;
    const char* field;
    int column;
  } tabu[] = {{"numer", "dokumentu", "NUM", 1}, {"data", "", "DAT", 2},       {"nazwa", "towaru", "NA1", 3},
              {"nazwa", "towaru", "NA2", 3},     {"nazwa", "towaru", "NA3", 4}, {"nazwa", "towaru", "NA4", 4},
              {"nazwa", "towaru", "NA5", 5},     {"nazwa", "towaru", "NA6", 5}, {"j.m", "", "JED", 6},
              {"ilość", "towaru", "ILO", 7},     {"cena", "netto", "CEN", 8},   {"VAT[%]", "", "VAS", 9},
              {"cena", "brutto", "CEB", 10},     {"wartość", "netto", "WAN", 11}, {"wartość", "VAT", "WAV", 12},
              {"wartość", "brutto", "WAB", 13}};
  int n = 0;
  for (const Tabu& t : tabu) {
    n++;
    DefineTabuColumn(Sys(t.h1), Sys(t.h2), Bound(t.field), n == 16 ? DEF_LAST : 0, t.column);
  }

  InitSzukajPola(r.searchFields, sizeof r.searchFields);
  BlankSearchBuffer(r.searchDate, 8);
  BlankSearchBuffer(r.searchName, 40);
  BlankSearchBuffer(r.searchPattern, 40);
  r.searchNumber = 1;
  TableHandles* l = stronaMagazynu->lines;
  DefineSzukajPole("data", Bound("DAT"), &l->tag[WH_LINES_BY_DATE], r.searchDate, W_DATE);
  DefineSzukajPole("nazwa towaru", Bound("NA1"), &l->tag[WH_LINES_BY_NAME], r.searchName, W_TEXT | WF_LONG);
  DefineSzukajPole("wzorzec", Bound("NA1"), nullptr, r.searchPattern, W_TEXT);
  DefineSzukajPole("numer", Bound("NUM"), &l->tag[WH_LINES_BY_NUMBER], &r.searchNumber, W_INT | WidthFlag(5));

  ClearFilter(&r.active);
  ClearFilter(&r.edited);
}

}  // namespace

int ewidencja_pozycji_magazynowych() {
  auto* r = static_cast<LineRegister*>(take_mem(sizeof(LineRegister)));
  if (!r) return -1;
  std::memset(static_cast<void*>(r), 0, sizeof(LineRegister));
  LineRegister* outer = reg;
  reg = r;
  for (int& m : r->menus) m = -1;
  std::snprintf(r->title, sizeof r->title, "%s %d",
                EnvFindString(stronaMagazynu->receipt ? MSG_RECEIPT_LINES : MSG_ISSUE_LINES), WorkingYear());
  Define(*r);
  DbTable* lines = Lines();
  DbTag* tag = d4tag_selected(lines);
  int result = -1;
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, lines, stronaMagazynu->lines->tag[WH_LINES_BY_DATE], r->columns, r->menus[0]) == 0) {
    browse->title = r->title;
    browse->print_title = r->title;
    browse->print_columns = r->tabulogram;
    browse->record_texts = r->panel;
    browse->record_lines_source = []() -> int16_t { return RES_LINE_PANEL; };
    browse->record_lines_count = PANEL_LINES;
    browse->stamp_field = L("INF");
    browse->filter_fn = LineFilter;
    browse->key_hook = Keys;
    result = zrob_browse(PANEL_LINES, 0, 0);
    free_browse(&browse);
  }
  d4tag_select(lines, tag);
  for (int i = 3; i >= 0; i--)
    if (r->menus[i] >= 0) w4close(r->menus[i]);
  reg = outer;
  free_mem(&r);
  return result;
}

void okno_sum_magazynu(DbTable* table, const char* title, const std::string& heading,
                       const std::vector<std::string>& rows) {
  constexpr int ROWS = 22, COLS = 78;
  std::vector<char> text(ROWS * COLS, ' '), bold(text.size(), ' ');
  for (size_t i = 0; i < rows.size() && i < ROWS; i++)
    rows[i].copy(&text[i * COLS], std::min<size_t>(rows[i].size(), COLS));
  if (edytuj_memory(text.data(), bold.data(), ROWS, COLS, title, 1, 1, 0) != KEY_F2) return;
  if (init_prn(table, "SUM", title, COLS, 0) != 0) return;
  Environment* env = EnvCurrent();
  for (;;) {
    if (drukuj_top_margin() != 0 || drukuj(heading.c_str()) != 0 || drukuj_line_feed(1) != 0 ||
        print_lines(text.data(), bold.data(), COLS, 0, ROWS, 0, -1) != 0 || drukuj_form_feed() != 0)
      break;
    if (env->copiesLeft-- <= 0) break;
  }
  deinit_prn();
}

namespace {

struct Turnover {
  int menus[1];
  ScrollColumn columns[6];
  TabuColumn tabulogram[10];
  double above;
  bool filtered;
  char title[81];
};
Turnover* turnover = nullptr;

DbField** TmpSlot(int field) { return &TowaTmp.field[field]; }

int AboveFilter(intptr_t) {
  if (!turnover || !turnover->filtered) return X4_ACCEPT;
  return f4double(TowaTmp.field[TOWA_ILO]) > turnover->above ? X4_ACCEPT : X4_REJECT;
}

// Enter sets the threshold; any other exit switches it off.
int32_t TurnoverFilter(int32_t) {
  double value = turnover->above;
  int accepted = 0;
  PodajKwote(&value, &accepted, Sys("Na ilość powyżej -"));
  turnover->filtered = accepted != 0;
  if (accepted) turnover->above = value;
  BrowseDispFilterState(turnover->filtered);
  browse_call(0, 0);
  return 0;
}

int32_t TurnoverPrint(int32_t) { return browse_drukuj(); }

// Positions the goods record of exactly `code` (trimmed, not blank) in the
// temporary table; never one whose code only begins with it. 0 when found.
int SeekWholeCode(std::string code) {
  DbField* kod = TowaTmp.field[TOWA_KOD];
  size_t width = static_cast<size_t>(f4len(kod));
  if (code.size() > width) return -1;
  code.resize(width, ' ');
  if (SeekTowarTmpByKod(code.c_str()) != 0) return -1;
  return std::string(f4ptr(kod), width) == code ? 0 : -1;
}

// Every goods record with zero, then the filtered lines added by code; lines
// with a blank or unknown code belong to no goods.
int FillTurnover(const ZrodloObrotow& source) {
  DbTable* goods = Z5TOWA.table;
  DbTable* tmp = TowaTmp.table;
  DbTable* lines = source.table;
  for (int r = d4top(goods); r == 0 && !d4eof(goods); r = d4skip(goods, 1)) {
    if (d4append_start(tmp, 0) != 0) return -1;
    d4blank(tmp);
    for (int j = 1; j <= d4num_fields(goods); j++) f4assign_field(d4field_j(tmp, j), d4field_j(goods, j));
    f4assign_double(TowaTmp.field[TOWA_ILO], 0);
    f4assign_double(TowaTmp.field[TOWA_WSN], 0);
    f4assign_double(TowaTmp.field[TOWA_WSB], 0);
    if (d4append(tmp) != 0) return -1;
  }
  DbScanCtx scan;
  x4init(&scan, lines, source.filter, 0);
  int r;
  for (r = x4top(&scan); r == 0 && !d4eof(lines); r = x4skip(&scan, 1)) {
    DbField* kot = d4field(lines, "KOT");
    std::string code(f4ptr(kot), static_cast<size_t>(f4len(kot)));
    code.erase(code.find_last_not_of(' ') + 1);
    if (code.empty() || SeekWholeCode(code) != 0) continue;
    FldAddDouble(TowaTmp.field[TOWA_WSN], f4double(d4field(lines, source.net)));
    FldAddDouble(TowaTmp.field[TOWA_WSB], f4double(d4field(lines, "WAB")));
    FldAddDouble(TowaTmp.field[TOWA_ILO], f4double(d4field(lines, "ILO")));
    if (d4write(tmp, d4recno(tmp)) != 0) return -1;
  }
  if (r < 0) return -1;
  return d4flush(tmp);
}

}  // namespace

int obroty_towarow(DbTable* lines, int receipts) {
  const ZrodloObrotow source = {lines, LineFilter, "WAN",
                                receipts ? "Obroty towarów - przyjęcia" : "Obroty towarów - wydania"};
  return obroty_towarow(source);
}

int obroty_towarow(const ZrodloObrotow& source) {
  DbTable* lines = source.table;
  if (OpenZ5TOWA(0) != 0) return -1;
  if (NameTowaTmp() != 0 || CreateTowaTmp() != 0) {
    RemoveTowaTmp();
    d4close(Z5TOWA.table);
    return -1;
  }
  int result = -1;
  if (set_lock(lines, -1) == 0) {
    if (set_lock(Z5TOWA.table, -1) == 0) {
      result = FillTurnover(source);
      d4unlock(Z5TOWA.table);
    }
    d4unlock(lines);
  }
  auto* t = static_cast<Turnover*>(take_mem(sizeof(Turnover)));
  if (result == 0 && t) {
    std::memset(static_cast<void*>(t), 0, sizeof(Turnover));
    Turnover* outer = turnover;
    turnover = t;
    std::snprintf(t->title, sizeof t->title, "%s", Sys(source.title));
    t->menus[0] = DefineMainMenuWindow();
    MenuDefineItem(" Drukuj ", 1295, 'd', 0, TurnoverPrint, nullptr);
    MenuDefineItem(" Filtry ", 1296, 'f', 0, TurnoverFilter, nullptr);
    ResetScrollDefinition(t->columns, sizeof t->columns);
    DefineScrollColumn(TmpSlot(TOWA_KOD), 0, "kod");
    DefineScrollColumn(TmpSlot(TOWA_NA1), SCROLL_FIXED_WIDTH, "nazwa")->width = 18;
    DefineScrollColumn(TmpSlot(TOWA_ILO), 0, Sys("ilość"));
    DefineScrollColumn(TmpSlot(TOWA_WSN), 0, "netto");
    DefineScrollColumn(TmpSlot(TOWA_WSB), DEF_LAST, "brutto");
    ResetTabuDefinition(t->tabulogram, sizeof t->tabulogram);
    DefineTabuColumn("kod", "towaru", TmpSlot(TOWA_KOD), 0, 1);
    for (int i = 0; i < 6; i++) DefineTabuColumn("nazwa", "towaru", TmpSlot(TOWA_NA1 + i), 0, 2);
    DefineTabuColumn(Sys("ilość"), "towaru", TmpSlot(TOWA_ILO), 0, 3);
    DefineTabuColumn(Sys("wartość"), "netto", TmpSlot(TOWA_WSN), 0, 4);
    DefineTabuColumn(Sys("wartość"), "brutto", TmpSlot(TOWA_WSB), DEF_LAST, 5);
    BrowseContext* browse = nullptr;
    if (allocate_browse(&browse, TowaTmp.table, TowaTmp.tag[TOWA_TAG_KOD], t->columns, t->menus[0]) == 0) {
      browse->title = t->title;
      browse->print_title = t->title;
      browse->print_columns = t->tabulogram;
      browse->filter_fn = AboveFilter;
      zrob_browse(0, 0, 0);
      free_browse(&browse);
    }
    w4close(t->menus[0]);
    turnover = outer;
  }
  if (t) free_mem(&t);
  d4close(TowaTmp.table);
  RemoveTowaTmp();
  d4close(Z5TOWA.table);
  return result;
}
