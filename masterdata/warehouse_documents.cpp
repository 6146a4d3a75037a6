// The registers of warehouse receipts and issues: the browse of the year's
// document headers with their lines, the header form, numbering, the save
// that carries the header into its lines, deletion with the stock given
// back, searches, filters and sums.
#include "masterdata/warehouse_documents.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/browse_search.h"
#include "app/document_lines_view.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/validators.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/address_clipboard.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/stock_update.h"
#include "tables/warehouse_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/window4.h"

const StronaMagazynu STRONA_PRZYJEC = {1, &Z5MAPR, &Z5MAPE, 7300, 7400};
const StronaMagazynu STRONA_WYDAN = {0, &Z5MAWY, &Z5MAWE, 7100, 7200};
const StronaMagazynu* stronaMagazynu = nullptr;

namespace {

constexpr int MSG_ISSUES_TITLE = 161, MSG_RECEIPTS_TITLE = 162;
constexpr int MSG_SUMS_DIFFER = 20131, MSG_CHECK_LINES = 20165;
constexpr int MSG_NUMBER_EXISTS = 20155, MSG_FILL_NUMBER = 20186;
constexpr int MSG_START_PRINT = 20051, MSG_DOCUMENTS_WRONG = 20004;
constexpr int16_t RES_HEADER_FORM = 270;
constexpr int FORM_LINES = 14;
constexpr int NAME_COLUMN_WIDTH = 48;   // what the screen leaves beside number, date and net
constexpr int KEY_ALT_D = 0x2000, KEY_ALT_M = 0x3200, KEY_ALT_U = 0x1600;
constexpr int KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;
constexpr int HELP_ORDER_NET = 4, HELP_ORDER_GROSS = 5;

bool Receipts() { return stronaMagazynu->receipt != 0; }
DbTable* Headers() { return stronaMagazynu->headers->table; }
DbTable* LinesTable() { return stronaMagazynu->lines->table; }
DbField* H(const char* name) { return d4field(Headers(), name); }
DbTag* HeaderTag(int tag) { return stronaMagazynu->headers->tag[tag]; }
int Right(int offset) { return stronaMagazynu->rightsBase + offset; }

DbField** Bound(TableHandles* set, const char* name) {
  DbField* field = d4field(set->table, name);
  for (DbField*& bound : set->field)
    if (bound == field) return &bound;
  return nullptr;
}
DbField** HB(const char* name) { return Bound(stronaMagazynu->headers, name); }
DbField** LB(const char* name) { return Bound(stronaMagazynu->lines, name); }

// Texts of the menus and forms in the system's character set, kept while the program runs.
const char* Sys(const char* utf8) {
  static std::map<std::string, std::string> kept;
  return kept.try_emplace(utf8, Utf8ToMazText(utf8)).first->second.c_str();
}

struct Register {
  int menus[5];
  char title[81];
  char defaultDate[9];
  bool adding;
  FilterSet filters;
  FilterItem filterItems[3];
  char contractorFilter[71];
  SearchContext search;
  SearchField searchFields[5];
  char searchDate[9], searchName[37], searchPattern[37];
  int32_t searchNumber;
  ScrollColumn columns[5];
  ScrollColumn lineColumns[6];
  TabuColumn tabulogram[12];
  TextCtrl formTexts[20];
  EditCtrl form[16];
  TextCtrl previewTexts[12];
};
Register* reg = nullptr;

void Redisplay(long record) { browse_call(0, record); }

// ---- lines and their sums

// The header's sums from its lines, carried into them when asked; 1 when
// they differ from NET, VAT and BRU, 0 when they agree, -1 on an error.
int CheckLines(int carry) {
  double net, vat, gross;
  if (sumuj_pozycje_magazynowe(f4long(H("REC")), carry, &net, &vat, &gross) != 0) return -1;
  bool same = ROUND(net, 2) == ROUND(f4double(H("NET")), 2) && ROUND(vat, 2) == ROUND(f4double(H("VAT")), 2) &&
              ROUND(gross, 2) == ROUND(f4double(H("BRU")), 2);
  return same ? 0 : 1;
}

int SumLinesIntoHeader() {
  if (set_lock(LinesTable(), -1) != 0) return -1;
  double net, vat, gross;
  int r = sumuj_pozycje_magazynowe(f4long(H("REC")), 0, &net, &vat, &gross);
  d4unlock(LinesTable());
  if (r != 0) return -1;
  f4assign_double(H("NET"), ROUND(net, 2));
  f4assign_double(H("VAT"), ROUND(vat, 2));
  f4assign_double(H("BRU"), ROUND(gross, 2));
  return 0;
}

int WriteHeader() {
  DbTable* t = Headers();
  return d4write(t, d4recno(t)) == 0 && d4flush(t) == 0 ? 0 : -1;
}

// Carries the header into its lines under the lines' lock and checks the
// sums: 0 agreed (AKT back to 0), 1 the sums differ, -1 an error.
int CarryIntoLines() {
  if (set_lock(LinesTable(), -1) != 0) return -1;
  int r = CheckLines(1);
  d4unlock(LinesTable());
  if (r == 1) MessageWindow(MB_WARNING, MSG_SUMS_DIFFER, MSG_CHECK_LINES);
  if (r != 0) return r;
  f4assign_long(H("AKT"), 0);
  return WriteHeader();
}

// The document's lines with their stock, then the header; a refused
// give-back keeps the header with the lines that remain. 0 deleted.
int DeleteDocument() {
  DbTable* t = Headers();
  long record = d4recno(t);
  f4assign_long(H("AKT"), 1);
  if (WriteHeader() != 0) return -1;
  if (usun_pozycje_dokumentu(f4long(H("REC"))) != 0) return -1;
  if (d4go(t, record) != 0) return -1;
  d4delete(t);
  return WriteHeader();
}

// ---- numbers

// Both look in number order and give the browse its own order back.
long HighestNumber() {
  DbTable* t = Headers();
  DbTag* shown = d4tag_selected(t);
  d4tag_select(t, HeaderTag(WH_HEADERS_BY_NUMBER));
  long highest = 0;
  if (d4bottom(t) == 0 && !d4eof(t)) highest = f4long(H("NUM"));
  d4tag_select(t, shown);
  return highest;
}

// 1 when a header other than record `skip` holds the number.
bool NumberExists(long number, long skip) {
  DbTable* t = Headers();
  long current = d4recno(t);
  DbTag* shown = d4tag_selected(t);
  d4tag_select(t, HeaderTag(WH_HEADERS_BY_NUMBER));
  char key[6];
  std::snprintf(key, sizeof key, "%5ld", number);
  bool exists = false;
  if (d4seek_n(t, key, 5) == 0) {
    while (!d4eof(t) && f4long(H("NUM")) == number) {
      if (d4recno(t) != skip) exists = true;
      if (d4skip(t, 1) != 0) break;
    }
  }
  d4tag_select(t, shown);
  if (current > 0 && current <= d4reccount(t)) d4go(t, current);
  return exists;
}

long numberSkip = 0;

int NumberValid(Get4* get) {
  int key = EnvCurrent() ? EnvCurrent()->lastGetKey : 0;
  long number = *static_cast<int32_t*>(get->data);
  if (key != KEY_ENTER && key != KEY_DOWN && key != KEY_F2) return 0;
  if (number == 0) {
    Uwaga(MSG_FILL_NUMBER);
    return -1;
  }
  if (key == KEY_F2 && NumberExists(number, numberSkip)) {
    Uwaga(PrintfQStr("%s %ld", EnvFindString(MSG_NUMBER_EXISTS), number));
    return -1;
  }
  return 0;
}

// The window "Podaj numer dokumentu -": the number after Enter or F2, -1 when left.
long AskNumber(long proposal, long skip) {
  numberSkip = skip;
  int previous = w4select(-1);
  int window = DefineDialogWindow(8, 14, 5, 51, nullptr);
  if (window < 0) return -1;
  w4activate(window);
  w4select(window);
  w4(1, 2, Sys("Podaj numer dokumentu -"));
  int32_t number = static_cast<int32_t>(proposal);
  Get4* g = g4long(1, 27, &number);
  if (g) {
    g4picture("99999");
    g4valid(NumberValid);
  }
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key == KEY_ENTER || key == KEY_F2 ? number : -1;
}

// ---- the header form

void DrawTry(TextCtrl* e) {
  int kind = f4int(*e->field);
  w4(e->row, e->col, kind == 2 ? "2. BRUTTO" : kind == 1 ? "1. NETTO " : "         ");
}
void DrawError(TextCtrl* e) {
  w4(e->row, e->col, f4int(*e->field) == 1 ? Sys("1. BŁĄD DOKUMENTU") : "                 ");
}

// F4 "Poz.Netto" and F5 "Poz.Brutto" while a new document's form is open.
int LinesFromForm(int key) {
  bool net = key == KEY_F4;
  PushKeyMessage('d', 1);
  int r = pozycje_dokumentu_magazynowego(net, 0);
  if (r < 0) return KEY_ESC;
  f4assign_long(H("TRY"), net ? 1 : 2);
  SumLinesIntoHeader();
  wyswietl_edit_window_modify(CurrentBrowse, CurrentBrowse->edit_window, 0x17, 0x1F);
  OdswiezGety();
  return KEY_CTRL_PGUP;
}

int NewDocumentKeys(Get4*, char*, int32_t) {
  if (!reg->adding) return 0;
  set_fun_help("F4", "Poz.Netto", HELP_ORDER_NET);
  set_fun_help("F5", "Poz.Brutto", HELP_ORDER_GROSS);
  int key = g4char();
  if (key == KEY_F4 || key == KEY_F5) key = LinesFromForm(key);
  if (WigetCtrlKey(key)) {
    remove_fun_help("F4");
    remove_fun_help("F5");
  }
  return key;
}

// The name and address are typed only without a contractor code.
int AddressKeys(Get4* get, char* buffer, int32_t data) {
  if (!pusty_kontrahent_magazynu) {
    int last = EnvCurrent() ? EnvCurrent()->lastGetKey : KEY_ENTER;
    return last == KEY_UP ? KEY_UP : KEY_ENTER;
  }
  return NewDocumentKeys(get, buffer, data);
}

int DateValid(Get4* get) {
  if (ValidDataWRoku(get) != 0) return -1;
  if (reg->adding) std::memcpy(reg->defaultDate, f4ptr(H("DAT")), 8);
  return 0;
}

void DefineForm(Register& r) {
  bool receipts = Receipts();
  ResetTextCtrlDefinition(r.formTexts, sizeof r.formTexts);
  struct At {
    int row, col;
    const char* field;
  };
  const At shown[] = {{0, 16, "NUM"}, {0, 56, "DAT"}, {2, 16, "KOO"}, {3, 8, "NA1"}, {4, 8, "NA2"},
                      {5, 16, "KOP"}, {5, 23, "MIA"}, {6, 8, "ULI"},  {8, 12, receipts ? "WYS" : "ODE"},
                      {8, 50, receipts ? "ODE" : "WYS"}, {9, 8, "UWA"}};
  for (const At& a : shown) DefineTextCtrl(a.row, a.col, HB(a.field), 0);
  DefineTextCtrl(11, 16, HB("NET"), TEXT_THOUSANDS);
  DefineTextCtrl(12, 17, HB("VAT"), TEXT_THOUSANDS);
  DefineTextCtrl(13, 16, HB("BRU"), TEXT_THOUSANDS);
  DefineTextCtrl(11, 57, HB("TRY"), 0)->drawRoutine = DrawTry;
  DefineTextCtrl(5, 56, HB("AKT"), DEF_LAST)->drawRoutine = DrawError;

  ResetEditCtrlDefinition(r.form, sizeof r.form);
  EditCtrl* date = DefineEditCtrl(0, 56, HB("DAT"), EDIT_DATE);
  date->picture = "DD-MM/YY";
  date->validator = DateValid;
  date->keyRoutine = NewDocumentKeys;
  EditCtrl* code = DefineEditCtrl(2, 16, HB("KOO"), EDIT_DATE | EDIT_UPPER);
  code->keyRoutine = kontrahent_magazynu_f4_lista;
  code->routineData = 1;
  code->validator = valid_kontrahent_magazynu;
  DefineEditCtrl(3, 8, HB("NA1"), EDIT_DATE)->keyRoutine = AddressKeys;
  DefineEditCtrl(4, 8, HB("NA2"), EDIT_DATE)->keyRoutine = AddressKeys;
  EditCtrl* postal = DefineEditCtrl(5, 16, HB("KOP"), EDIT_DATE);
  postal->picture = "99-999";
  postal->keyRoutine = AddressKeys;
  DefineEditCtrl(5, 23, HB("MIA"), EDIT_DATE)->keyRoutine = AddressKeys;
  DefineEditCtrl(6, 8, HB("ULI"), EDIT_DATE)->keyRoutine = AddressKeys;
  DefineEditCtrl(8, 12, HB(receipts ? "WYS" : "ODE"), EDIT_DATE)->keyRoutine = NewDocumentKeys;
  DefineEditCtrl(8, 50, HB(receipts ? "ODE" : "WYS"), EDIT_DATE)->keyRoutine = NewDocumentKeys;
  DefineEditCtrl(9, 8, HB("UWA"), EDIT_DATE | DEF_LAST)->keyRoutine = NewDocumentKeys;
}

void FormLabelsFixup(char* lines) {
  if (Receipts()) return;
  // The issue form names the recipient and swaps the two persons.
  std::memcpy(lines + 2 * 78, Sys("kod odbiorcy..."), 15);
  std::memcpy(lines + 8 * 78, Sys("odebrał...."), 11);
  std::memcpy(lines + 8 * 78 + 38, Sys("wystawił..."), 11);
}

// The form of the current header: 0 saved with F2, -1 left.
int RunForm() {
  BrowseContext* c = CurrentBrowse;
  int previous = w4select(-1);
  c->edit_window = DefineEditModifyWindow(c);
  w4activate(c->edit_window);
  c->edit_mode = 1;
  add_help_line();
  set_fun_help("F2", "Zapisz", 2);
  wyswietl_edit_window_modify(c, c->edit_window, 0x17, 0x1F);
  pusty_kontrahent_magazynu = FieldIsEmpty(H("KOO"));
  w4select(c->edit_window);
  int left = build_get_struct(BGS_ASK, reg->form, 0x70);
  remove_help_line();
  w4deactivate(c->edit_window);
  w4close(c->edit_window);
  c->edit_window = -1;
  c->edit_mode = 0;
  w4select(previous);
  return left;
}

// ---- new documents

long newNumber = 0;

int SetRecord(int) {
  f4assign_long(H("REC"), d4reccount(Headers()) + 1);
  return 0;
}

// The new header appended before its form; with a number typed by hand
// the number is checked again under the table's lock. The record, or -1.
long AppendHeader() {
  DbTable* t = Headers();
  long proposal = HighestNumber() + 1;
  for (;;) {
    newNumber = 0;
    if (warehouseOptions.autoNumbering == 'N') {
      if (!Receipts()) proposal = HighestNumber() + 1;
      newNumber = AskNumber(proposal, 0);
      if (newNumber < 0) return -1;
      if (set_lock(t, -1) != 0) continue;
      if (NumberExists(newNumber, 0)) {
        d4unlock(t);
        Uwaga(PrintfQStr("%s %ld", EnvFindString(MSG_NUMBER_EXISTS), newNumber));
        continue;
      }
    }
    d4blank(t);
    d4changed(t, 0);
    f4assign_long(H("NUM"), newNumber);
    f4assign(H("DAT"), reg->defaultDate);
    ToMaxFieldCopyMem(H("WYS"), warehouseOptions.issuedBy);
    f4assign_long(H("TRY"), 1);
    int r = lock_and_append(t, SetRecord, nullptr);
    d4unlock(t);
    return r == 0 ? d4recno(t) : -1;
  }
}

// The save of a new document: 0 saved, 1 kept with its error mark, -1
// failed (the document is to be deleted).
int SaveNew() {
  DbTable* t = Headers();
  long record = d4recno(t);
  f4assign_long(H("AKT"), 1);
  if (WriteHeader() != 0) return -1;
  if (warehouseOptions.autoNumbering != 'N') {
    if (set_lock(t, -1) != 0) return -1;
    long number = HighestNumber() + 1;
    int failed = d4go(t, record) != 0;
    if (!failed) {
      f4assign_long(H("NUM"), number);
      failed = WriteHeader() != 0;
    }
    d4unlock(t);
    if (failed) return -1;
  }
  int r = CarryIntoLines();
  if (r == 1 && !Receipts()) return 1;
  return r;
}

int32_t PrintDocument(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  long record = d4recno(Headers());
  drukuj_dokument_magazynowy(Receipts() ? 2 : 1, Headers());
  d4go(Headers(), record);
  return 0;
}

int NewDocument() {
  long record = AppendHeader();
  if (record < 0) return -1;
  DbTable* t = Headers();
  reg->adding = true;
  nowy_dokument_magazynowy = 1;
  int left = RunForm();
  reg->adding = false;
  nowy_dokument_magazynowy = 0;
  if (d4go(t, record) != 0) return -1;
  if (left != 0) {
    DeleteDocument();
    return -1;
  }
  int r = SaveNew();
  if (r < 0) {
    if (d4go(t, record) == 0) DeleteDocument();
    return -1;
  }
  if (r == 0 && warehouseOptions.printAfterSave == 'T' && Pytanie(MSG_START_PRINT) != KEY_ESC)
    PrintDocument(0);
  Redisplay(record);
  return 0;
}

int32_t NewDocuments(int32_t) {
  if (!pass_tab_test_and_inform(Right(10))) return 0;
  while (NewDocument() == 0) {
  }
  Redisplay(0);
  return 0;
}

// ---- changes of a stored document

int LockCurrent() {
  DbTable* t = Headers();
  long record = d4recno(t);
  return record > 0 && record <= d4reccount(t) ? go_and_lock(t, record) : -1;
}

bool headerSaved = false;

int BeforeModify() {
  pusty_kontrahent_magazynu = FieldIsEmpty(H("KOO"));
  headerSaved = false;
  return 0;
}

int AfterModify() {
  headerSaved = true;
  return 0;
}

int32_t ModifyHeader(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  long record = d4recno(Headers());
  browse_modyfikuj(0);
  if (!headerSaved) return 0;
  if (d4go(Headers(), record) != 0 || LockCurrent() != 0) return 0;
  f4assign_long(H("AKT"), 1);
  if (WriteHeader() == 0) CarryIntoLines();
  d4unlock(Headers());
  Redisplay(record);
  return 0;
}

int32_t ModifyLines(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* t = Headers();
  long record = d4recno(t);
  if (LockCurrent() != 0) return 0;
  f4assign_long(H("AKT"), 1);
  WriteHeader();
  int r = pozycje_dokumentu_magazynowego(f4int(H("TRY")) != 2, 0);
  d4go(t, record);
  if (r >= 0 && SumLinesIntoHeader() == 0) f4assign_long(H("AKT"), 0);
  WriteHeader();
  d4unlock(t);
  Redisplay(record);
  return 0;
}

int32_t ModifyNumber(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* t = Headers();
  long record = d4recno(t);
  long number = AskNumber(f4long(H("NUM")), record);
  if (number < 0) return 0;
  if (set_lock(t, -1) != 0) return 0;
  if (d4go(t, record) == 0) {
    f4assign_long(H("NUM"), number);
    f4assign_long(H("AKT"), 1);
    if (WriteHeader() == 0) CarryIntoLines();
  }
  d4unlock(t);
  Redisplay(record);
  return 0;
}

int32_t DeleteAction(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  if (Pytanie(Sys("Czy usunąć pozycję ?")) == KEY_ESC) return 0;
  DbTable* t = Headers();
  long record = d4recno(t);
  if (LockCurrent() != 0) return 0;
  int r = DeleteDocument();
  d4unlock(t);
  Redisplay(r == 0 ? 0 : record);
  return 0;
}

// ---- preview, searches, filters, sums

void Preview() {
  BrowseContext* c = CurrentBrowse;
  if (EmptyBrowseWarning(c) != 0) return;
  int previous = w4select(-1);
  int window = DefineEditModifyWindow(c);
  w4activate(window);
  wyswietl_edit_window_modify(c, window, 0x17, 0x1F);
  int key = g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key == KEY_F2) {
    long record = d4recno(Headers());
    pozycje_dokumentu_magazynowego(f4int(H("TRY")) != 2, 1);
    Redisplay(record);
  }
}

void DefineSearch(Register& r) {
  InitSzukajPola(r.searchFields, sizeof r.searchFields);
  BlankSearchBuffer(r.searchDate, 8);
  BlankSearchBuffer(r.searchName, 36);
  BlankSearchBuffer(r.searchPattern, 36);
  r.searchNumber = 1;
  TableHandles* h = stronaMagazynu->headers;
  DefineSzukajPole("data wyst", HB("DAT"), &h->tag[WH_HEADERS_BY_DATE], r.searchDate, W_DATE);
  DefineSzukajPole("nazwa", HB("NA1"), &h->tag[WH_HEADERS_BY_NAME], r.searchName, W_TEXT | WF_LONG);
  DefineSzukajPole("nazwa", HB("NA1"), nullptr, r.searchPattern, W_TEXT);
  DefineSzukajPole("numer", HB("NUM"), &h->tag[WH_HEADERS_BY_NUMBER], &r.searchNumber, W_INT | WidthFlag(5));
}

// The issues: one window of the four searches.
int32_t Search(int32_t) { return OknoSzukaj(&reg->search, reg->searchFields); }

// The receipts: each search asks in the browse's search line.
enum ReceiptSearchKind { SEARCH_DATE, SEARCH_NAME, SEARCH_NAME_PATTERN, SEARCH_NUMBER };

// The key sought on the tag: the document found, or the next in key order,
// becomes current; past the last one the list stays where it was.
int SeekReceipt(int tag, const std::string& key) {
  long current = d4recno(Headers());
  d4tag_select(Headers(), stronaMagazynu->headers->tag[tag]);
  int r = x4seek(&CurrentBrowse->scan, key.c_str());
  if (r < 0) return -1;
  Redisplay(r == 0 || r == 2 ? d4recno(Headers()) : current);
  return 0;
}

const char* ReceiptName() { return FldQStr(H("NA1"), 0); }

int32_t ReceiptSearch(int32_t kind) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return -1;
  auto asked = [c](const char* prompt, std::string& text, const char* picture, bool upper) {
    return PytanieWOknieSzukania(c, Utf8ToMazText(prompt).c_str(), text.data(), picture, upper) == KEY_ENTER;
  };
  switch (kind) {
    case SEARCH_DATE: {
      std::string date(8, ' ');
      if (!asked("Szukaj daty -", date, "DD-MM/YY", false)) return 0;
      return SeekReceipt(WH_HEADERS_BY_DATE, date.substr(0, 8));
    }
    case SEARCH_NAME: {
      std::string name(f4len(H("NA1")) / 2, ' ');
      if (!asked("Szukaj nabywcy -", name, nullptr, true)) return 0;
      name.erase(name.find_last_not_of(' ') + 1);
      return SeekReceipt(WH_HEADERS_BY_NAME, name);
    }
    case SEARCH_NAME_PATTERN: {
      std::string pattern(f4len(H("NA1")) / 2, ' ');
      if (!asked("Szukaj wzoru w nazwie nabywcy -", pattern, nullptr, false)) return 0;
      long found = BrowseLocate(pattern.c_str(), ReceiptName);
      if (found < 0) return -1;
      Redisplay(found > 0 ? found : d4recno(Headers()));
      return 0;
    }
    default: {
      std::string number = "    1";
      if (!asked("Szukaj numeru dokumentu -", number, "99999", false)) return 0;
      std::string digits = number.substr(0, 5);
      digits.erase(0, digits.find_first_not_of(' ') == std::string::npos ? digits.size() : digits.find_first_not_of(' '));
      digits.erase(digits.find_last_not_of(' ') + 1);
      return SeekReceipt(WH_HEADERS_BY_NUMBER, std::string(5 - std::min<size_t>(digits.size(), 5), ' ') + digits);
    }
  }
}

int ContractorFilterKey(Get4* get, char* buffer, int32_t) { return kontrahent_magazynu_f4_lista(get, buffer, 7); }

void DefineFilters(Register& r) {
  ResetFiltersDefinition(&r.filters, r.filterItems, sizeof r.filterItems);
  DefineFilter(FilterFld(H("DAT")), "od dnia", " od:", FILTER_DATE, 0);
  DefineFilter(FilterFld(H("DAT")), "do dnia", " do:", FILTER_DATE, FILTER_UPPER_BOUND);
  DefineFilter(FilterFld(H("KOO")), "kod kontrahenta", " kod kontr:", FILTER_TEXT, FILTER_UPPER, 0,
               ContractorFilterKey, 7, valid_kontrahent_magazynu);
}

int32_t FiltersAction(int32_t) {
  OpenFiltersWindow(&reg->filters);
  Redisplay(0);
  return 0;
}

int32_t TabulogramAction(int32_t) {
  OpenFiltersWindow(&reg->filters);
  if (reg->filters.changed) {
    DbTag* shown = d4tag_selected(Headers());
    d4tag_select(Headers(), HeaderTag(WH_HEADERS_BY_DATE));
    browse_drukuj();
    d4tag_select(Headers(), shown);
    AskResetFilter(&reg->filters);
  }
  Redisplay(0);
  return 0;
}

int32_t SumsAction(int32_t) {
  FilterSet* set = &reg->filters;
  OpenFiltersWindow(set);
  if (!set->changed) return 0;
  DbTable* t = Headers();
  long current = d4recno(t);
  if (set_lock(t, -1) != 0) return 0;
  if (set_lock(LinesTable(), -1) != 0) {
    d4unlock(t);
    return 0;
  }
  DbScanCtx scan;
  x4init(&scan, t, FilterFunction, reinterpret_cast<intptr_t>(set));
  long count = 0;
  double net = 0, vat = 0, gross = 0;
  bool wrong = false, stopped = false;
  for (int r = x4top(&scan); r == 0 && !d4eof(t) && !stopped; r = x4skip(&scan, 1)) {
    long record = d4recno(t);
    int check = CheckLines(0);
    d4go(t, record);
    if (check != 0) {
      wrong = true;
      std::string number = FldQStr(H("NUM"), 0);
      number.erase(0, number.find_first_not_of(' '));
      if (MessageWindow(MB_ERROR, MSG_SUMS_DIFFER, PrintfQStr("%s z dnia %s", number.c_str(), FldFullDateQStr(H("DAT"))),
                        Sys("Czy kontynuować ?")) == KEY_ESC)
        stopped = true;
      continue;
    }
    count++;
    net += f4double(H("NET"));
    vat += f4double(H("VAT"));
    gross += f4double(H("BRU"));
  }
  d4unlock(LinesTable());
  d4unlock(t);
  if (wrong) {
    Uwaga(MSG_DOCUMENTS_WRONG);
  } else {
    const char* title = Receipts() ? Sys("Sumy dokumentów przyjęć") : Sys("Sumy dokumentów wydań");
    std::vector<std::string> rows = {
        PrintfQStr("%s %12ld", Sys("ilość dokum."), count), PrintfQStr("netto        %12.2f", net),
        PrintfQStr("VAT          %12.2f", vat), PrintfQStr("brutto       %12.2f", gross)};
    std::string heading = title;
    FilterItem* from = &set->items[0];
    FilterItem* to = &set->items[1];
    if (from->active) heading += std::string(" Od dnia ") + FullDateQStr(from->date);
    if (to->active) heading += std::string(" do dnia ") + FullDateQStr(to->date);
    okno_sum_magazynu(t, title, heading, rows);
  }
  AskResetFilter(set);
  Redisplay(current);
  return 0;
}

int32_t Exchange(int32_t) {
  long record = d4recno(Headers());
  if (Receipts())
    import_magazynu();
  else
    eksport_magazynu();
  Redisplay(record);
  return 0;
}

int32_t LineRegister(int32_t) {
  long record = d4recno(Headers());
  ewidencja_pozycji_magazynowych();
  Redisplay(record);
  return 0;
}

// ---- the browse

// Append works in an empty register too, where only this hook runs.
int AppendKeys(int key) {
  if (key == KEY_INS || key == KEY_ALT_D) NewDocuments(0);
  return 0;
}

int Keys(int key) {
  hot_keys(key, KEY_ESC, -1, KEY_ESC, -1, KEY_ESC, -1, H("INF"));
  if (key == KEY_ALT_M && pass_tab_test_and_inform(Right(30))) ModifyHeader(0);
  if ((key == KEY_DEL || key == KEY_ALT_U) && pass_tab_test_and_inform(Right(40))) DeleteAction(0);
  if (key == KEY_F2) Preview();
  przelacz_dokument_pozycje(key);
  kopiuj_adres(key);
  return 0;
}

void BuildMenus(Register& r) {
  int* m = r.menus;
  m[0] = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", Right(10), 'd', 0, NewDocuments, nullptr);
  MenuDefineItem(" Drukuj ", Right(20), 'r', -1, nullptr, &m[1]);
  MenuDefineItem(" Modyfikuj ", Right(30), 'm', -1, nullptr, &m[2]);
  MenuDefineItem(Sys(" Usuń "), Right(40), 'u', 0, DeleteAction, nullptr);
  if (Receipts())
    MenuDefineItem(" Szukaj ", Right(50), 's', -1, nullptr, &m[3]);
  else
    MenuDefineItem(" Szukaj ", Right(50), 's', 0, Search, nullptr);
  MenuDefineItem(" Filtry ", Right(60), 'f', 0, FiltersAction, nullptr);
  MenuDefineItem(" Suma ", Right(70), 'a', 0, SumsAction, nullptr);
  if (Receipts())
    MenuDefineItem(" Import ", Right(80), 'p', 0, Exchange, nullptr);
  else
    MenuDefineItem(" Export ", Right(80), 'p', 0, Exchange, nullptr);
  MenuDefineItem(" Ewidencja ", Right(100), 'e', 0, LineRegister, nullptr);

  m[1] = DefineMenuWindow();
  MenuDefineItem(" Dokument ", Right(22), 'd', 0, PrintDocument, nullptr);
  MenuDefineItem(" Tabulogram ", Right(21), 't', 0, TabulogramAction, nullptr);
  m[2] = DefineMenuWindow();
  MenuDefineItem(" Opis ", Right(31), 'o', 0, ModifyHeader, nullptr);
  MenuDefineItem(" Pozycje ", Right(33), 'p', 0, ModifyLines, nullptr);
  MenuDefineItem(" Numer ", Right(32), 'n', 0, ModifyNumber, nullptr);
  if (Receipts()) {
    m[3] = DefineMenuWindow();
    MenuDefineItem(" Data ", Right(51), 'd', SEARCH_DATE, ReceiptSearch, nullptr);
    MenuDefineItem(" Nabywca ", Right(52), 'b', -1, nullptr, &m[4]);
    MenuDefineItem(" Numer ", Right(55), 'n', SEARCH_NUMBER, ReceiptSearch, nullptr);
    m[4] = DefineMenuWindow();
    MenuDefineItem(Sys(" Porządek "), Right(53), 'p', SEARCH_NAME, ReceiptSearch, nullptr);
    MenuDefineItem(" Wzorzec ", Right(54), 'w', SEARCH_NAME_PATTERN, ReceiptSearch, nullptr);
  }
  w4select(m[0]);
}

void DefineColumns(Register& r) {
  ResetScrollDefinition(r.columns, sizeof r.columns);
  DefineScrollColumn(HB("NUM"), 0, "numer");
  DefineScrollColumn(HB("DAT"), 0, "data wyst");
  DefineScrollColumn(HB("NA1"), SCROLL_FIXED_WIDTH, "nazwa")->width = NAME_COLUMN_WIDTH;
  DefineScrollColumn(HB("NET"), DEF_LAST, "netto");
  if (!Receipts()) {
    r.columns[0].tag = &stronaMagazynu->headers->tag[WH_HEADERS_BY_NUMBER];
    r.columns[1].tag = &stronaMagazynu->headers->tag[WH_HEADERS_BY_DATE];
    r.columns[2].tag = &stronaMagazynu->headers->tag[WH_HEADERS_BY_NAME];
  }
  ResetScrollDefinition(r.lineColumns, sizeof r.lineColumns);
  DefineScrollColumn(LB("NA1"), SCROLL_FIXED_WIDTH, "nazwa")->width = 26;
  DefineScrollColumn(LB("ILO"), 0, Sys("ilość"));
  DefineScrollColumn(LB("CEN"), 0, "cena");
  DefineScrollColumn(LB("WAN"), 0, "netto");
  DefineScrollColumn(LB("WAB"), DEF_LAST, "brutto");

  ResetTabuDefinition(r.tabulogram, sizeof r.tabulogram);
  struct Tabu {
    const char* h1;
    const char* h2;
    const char* field;
  } tabu[] = {{"numer", "dokumentu", "NUM"}, {"data", "dokumentu", "DAT"}, {"kod", "odbiorcy", "KOO"},
              {"nazwa", "odbiorcy", "NA1"},   {"nazwa cd", "odbiorcy", "NA2"}, {"miasto", "", "MIA"},
              {"ulica", "", "ULI"},           {"wartość", "netto", "NET"},    {"wartość", "VAT", "VAT"},
              {"wartość", "brutto", "BRU"}};
  int column = 0;
  for (const Tabu& t : tabu) {
    column++;
    DefineTabuColumn(Sys(t.h1), Sys(t.h2), HB(t.field), column == 10 ? DEF_LAST : 0, column);
  }
}

void ClipboardFields() {
  PolaSchowkaAdresu p{};
  p.code = H("KOO");
  p.name1 = H("NA1");
  p.name2 = H("NA2");
  p.postal_code = H("KOP");
  p.town = H("MIA");
  p.street = H("ULI");
  p.nip = H("NIP");
  p.person = H(Receipts() ? "WYS" : "ODE");
  pola_schowka_adresu = p;
}

int RunRegister(const StronaMagazynu* side) {
  const StronaMagazynu* outerSide = stronaMagazynu;
  stronaMagazynu = side;
  auto* r = static_cast<Register*>(take_mem(sizeof(Register)));
  if (!r) {
    stronaMagazynu = outerSide;
    return -1;
  }
  Register* outer = reg;
  reg = r;
  for (int& m : r->menus) m = -1;
  std::memcpy(r->defaultDate, get_cur_das(0), 8);
  std::snprintf(r->title, sizeof r->title, "%s %d",
                EnvFindString(side->receipt ? MSG_RECEIPTS_TITLE : MSG_ISSUES_TITLE), WorkingYear());
  ClipboardFields();
  BuildMenus(*r);
  DefineColumns(*r);
  DefineForm(*r);
  DefineFilters(*r);
  DefineSearch(*r);
  int result = -1;
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, Headers(), HeaderTag(WH_HEADERS_BY_DATE), r->columns, r->menus[0]) == 0) {
    browse->title = r->title;
    browse->print_title = r->title;
    browse->print_columns = r->tabulogram;
    browse->edit_texts = r->formTexts;
    browse->append_edits = r->form;
    browse->edit_lines_source = []() -> int16_t { return RES_HEADER_FORM; };
    browse->edit_lines_fixup = FormLabelsFixup;
    browse->edit_lines_count = FORM_LINES;
    browse->edit_height = FORM_LINES + 2;
    browse->stamp_field = H("INF");
    browse->filter_fn = FilterFunction;
    browse->filter_data = reinterpret_cast<intptr_t>(&r->filters);
    browse->key_hook = Keys;
    browse->pre_key_hook = AppendKeys;
    browse->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    browse->modify_hooks[MODIFY_AFTER] = AfterModify;
    browse->rel_table = LinesTable();
    browse->rel_tag = stronaMagazynu->lines->tag[WH_LINES_BY_HEADER];
    browse->rel_key_field = H("REC");
    browse->rel_link_field = d4field(LinesTable(), "REK");
    browse->rel_columns = r->lineColumns;
    if (alloc_schowek_adresu() == 0) {
      set_fun_help("F2", Sys("Podgląd"), 2);
      set_fun_help("F3", "Pozycje", 3);
      DbTable* t = Headers();
      long last = d4bottom(t) == 0 && !d4eof(t) ? d4recno(t) : 0;
      result = zrob_browse(0, FORM_LINES, last);
      free_schowek_adresu();
    }
    free_browse(&browse);
  }
  FreeFilters(&r->filters);
  for (int i = 4; i >= 0; i--)
    if (r->menus[i] >= 0) w4close(r->menus[i]);
  reg = outer;
  free_mem(&r);
  stronaMagazynu = outerSide;
  return result;
}

}  // namespace

int przyjecia_magazynowe() { return RunRegister(&STRONA_PRZYJEC); }

int wydania_magazynowe() { return RunRegister(&STRONA_WYDAN); }
