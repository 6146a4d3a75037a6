#include "sales/numbering.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NUMBER_EXISTS = 20155;   // "Podany numer już istnieje!"
constexpr int MSG_FILL_NUMBER = 20186;     // "Wypełnij numer dokumentu."
constexpr int PREFIX_WIDTH = 4, NUMBER_WIDTH = 5, SUFFIX_WIDTH = 9, FREE_NUMBER_WIDTH = 40;
constexpr int TAG_SERIES = 5;         // STR(TYV,2,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)
constexpr int TAG_FREE_NUMBER = 7;    // STR(TYV,2,0)+UPPER(OSM)
constexpr int GET_ATTRIBUTE = 143;
constexpr int WINDOW_HEIGHT = 5, WINDOW_WIDTH = 51;
constexpr int FREE_ROW = 12, FREE_COL = 11, FREE_HEIGHT = 5, FREE_WIDTH = 57;
constexpr int COPY_FREE_COL = 15, COPY_FREE_HEIGHT = 6, COPY_FREE_WIDTH = 62;

std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }

kontekst_sprzedazy& Ctx() { return *salesContext; }

// The proposed number as the operator reads it: prefix/number/suffix.
char* NumberText(const numer_dokumentu& n) {
  return NrDokumentuQStr(n.prefix, PREFIX_WIDTH, n.number, n.suffix, SUFFIX_WIDTH);
}

// Selects a tag of the headers for the length of a scope, then the one before.
class HeaderTag {
 public:
  explicit HeaderTag(int tag) : previous(d4tag_selected(Z5SPRZ.table)) { d4tag_select(Z5SPRZ.table, Z5SPRZ.tag[tag]); }
  ~HeaderTag() { d4tag_select(Z5SPRZ.table, previous); }
  HeaderTag(const HeaderTag&) = delete;
  HeaderTag& operator=(const HeaderTag&) = delete;

 private:
  DbTag* previous;
};

// A text of `width` characters (blank-padded or cut) from a NUL-terminated buffer.
std::string Fixed(const char* text, int width) {
  std::string s(text, strnlen(text, static_cast<size_t>(width)));
  s.resize(static_cast<size_t>(width), ' ');
  return s;
}

std::string KindKey(int kind) {
  char key[8];
  std::snprintf(key, sizeof key, "%2d", kind);
  return key;
}

// ---- the window of standard numbers

struct NumberWindow {
  char prefix[PREFIX_WIDTH + 1];
  int32_t number;
  char suffix[SUFFIX_WIDTH + 1];
  char date[9];
  bool askDate;
  bool failed;   // a table error: the window ends as Esc
};
NumberWindow* shown = nullptr;

// The advance amount a copy of an advance invoice asks beside its number:
// above 0 and not above the source's gross.
struct AdvanceEntry {
  double* amount;   // null: not asked
  double gross;
};
AdvanceEntry advanceShown{};

int AdvanceLeft(Get4*) {
  double amount = *advanceShown.amount;
  if (amount > 0 && amount <= advanceShown.gross) return 0;
  Uwaga(PrintfQStr(Sys("Niewłaściwa kwota! %f, %f").c_str(), amount, advanceShown.gross));
  return -1;
}

// The advance row of a copy's window, when asked.
void AddAdvanceGet(int row, int labelCol, int col, const char* label) {
  if (!advanceShown.amount) return;
  w4(row, labelCol, Sys(label).c_str());
  g4double(row, col, advanceShown.amount);
  g4picture("99999999.99");
  g4valid(AdvanceLeft);
}

void ShowNumber() {
  shown->number = Ctx().next.number;
  OdswiezGety();
}

// Ends the window as if the operator pressed Esc.
int EndAsEsc() {
  shown->failed = true;
  PushKeyMessage(KEY_ESC, 1);
  return 0;
}

void StorePrefix() {
  wyrownaj_do_prawej(shown->prefix, PREFIX_WIDTH);
  std::memcpy(Ctx().next.prefix, shown->prefix, PREFIX_WIDTH + 1);
}

int PrefixLeft(Get4*) {
  StorePrefix();
  if (EnvCurrent()->lastGetKey == KEY_F2) {
    if (sprawdz_numer_niezerowy() != 0) return -1;
    return sprawdz_duplikat_numeru() != 0 ? -1 : 0;
  }
  if (nastepny_numer_dokumentu(0) != 0) return EndAsEsc();
  ShowNumber();
  return 0;
}

int NumberLeft(Get4*) {
  Ctx().next.number = shown->number;
  if (sprawdz_numer_niezerowy() != 0) return -1;
  int duplicate = sprawdz_duplikat_numeru();
  if (duplicate < 0) return EndAsEsc();
  return duplicate;
}

int SuffixLeft(Get4*) {
  int key = EnvCurrent()->lastGetKey;
  std::memcpy(Ctx().next.suffix, shown->suffix, SUFFIX_WIDTH + 1);
  if (key != KEY_ENTER && key != KEY_DOWN && key != KEY_F2) return 0;
  sprawdz_duplikat_numeru();
  if (salesOptions.proposeNumber != 'T') return 0;
  int32_t before = Ctx().next.number;
  if (nastepny_numer_dokumentu(0) != 0) return EndAsEsc();
  int32_t proper = Ctx().next.number;
  Ctx().next.number = before;
  if (proper == before) return 0;
  numer_dokumentu proposed = Ctx().next;
  proposed.number = proper;
  std::string text = NumberText(proposed);
  if (MessageWindow(MB_YES_ESC, Sys("Ten dokument powinien mieć numer:").c_str(), text.c_str(),
                    Sys("Czy skorygować numer?").c_str()) != KEY_ESC) {
    Ctx().next.number = proper;
    ShowNumber();
  }
  return 0;
}

int DateLeft(Get4* get) {
  if (test_daty_niepustej(get) != 0) return -1;
  if (date4year(static_cast<const char*>(get->data)) != WorkingYear())
    MessageWindow(MB_ERROR, Sys("Rok różny od rozrachunkowego!").c_str());
  return 0;
}

// Window at (row, col) under the title; its handle or -1.
int OpenWindow(const char* title, int row, int col, int height, int width) {
  int window = DefineWprowadzWindow(row, col, height, width, title, nullptr, nullptr);
  if (window < 0) return -1;
  w4activate(window);
  g4attribute(GET_ATTRIBUTE);
  return window;
}

void CloseWindow(int window, int previous) {
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

void AddDateGet(int row, int col, char* date) {
  g4date(row, col, date);
  g4picture("DD-MM/YY");
  g4valid(DateLeft);
}

// Runs the window once; the key that ended it.
int RunNumberWindow(NumberWindow& w, const char* title) {
  int previous = w4select(-1);
  int height = WINDOW_HEIGHT + (advanceShown.amount ? 1 : 0);
  int window = OpenWindow(title, (Desktop.rows - height) / 2, (Desktop.cols - WINDOW_WIDTH) / 2, height,
                          WINDOW_WIDTH);
  if (window < 0) return KEY_ESC;
  w4(1, 0, "Podaj numer dokumentu:      /     /");
  g4(1, 24, w.prefix);
  g4width(PREFIX_WIDTH, PREFIX_WIDTH);
  g4upper();
  g4valid(PrefixLeft);
  g4long(1, 29, &w.number);
  g4picture("99999");
  g4valid(NumberLeft);
  g4(1, 35, w.suffix);
  g4width(SUFFIX_WIDTH, SUFFIX_WIDTH);
  g4upper();
  g4valid(SuffixLeft);
  if (w.askDate) {
    w4(2, 0, Sys("Podaj datę wystawienia:").c_str());
    AddDateGet(2, 24, w.date);
  }
  AddAdvanceGet(3, 0, 24, "Podaj kwotę zaliczki:");
  shown = &w;
  w.failed = false;
  int key = g4read();
  shown = nullptr;
  CloseWindow(window, previous);
  return w.failed ? KEY_ESC : key;
}

void PresetDate(char* date) {
  kontekst_sprzedazy& c = Ctx();
  if (c.newIssueDate[0] == '\0' || c.newIssueDate[0] == ' ') std::memcpy(c.newIssueDate, c.workingDate, 8);
  std::memcpy(date, c.newIssueDate, 8);
  date[8] = '\0';
}

int StandardNumber(int askDate) {
  kontekst_sprzedazy& c = Ctx();
  if (nastepny_numer_dokumentu(0) != 0) return -1;
  NumberWindow w{};
  w.askDate = askDate != 0;
  PresetDate(w.date);
  for (;;) {
    std::memcpy(w.prefix, c.next.prefix, PREFIX_WIDTH + 1);
    w.number = c.next.number;
    std::memcpy(w.suffix, c.next.suffix, SUFFIX_WIDTH + 1);
    int key = RunNumberWindow(w, NumberWindowTitle(c.kind, c.rejestr));
    if (key != KEY_ENTER && key != KEY_F2) return -1;
    wyrownaj_do_prawej(w.prefix, PREFIX_WIDTH);
    zapamietaj_numer(&c.next, w.prefix, w.number, w.suffix);
    if (w.askDate) std::memcpy(c.newIssueDate, w.date, 9);
    // The number was only proposed: it counts once the whole table is ours.
    if (set_lock(Z5SPRZ.table, -1) != 0) continue;
    if (sprawdz_duplikat_numeru() == 0) return 0;
    d4unlock(Z5SPRZ.table);
  }
}

// ---- free numbers

struct FreeWindow {
  char number[FREE_NUMBER_WIDTH + 1];
  char date[9];
  bool copy;   // the window of a copy or correction: its own place and texts
};
FreeWindow* freeShown = nullptr;

std::string Upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(EnvToUpper(static_cast<unsigned char>(ch)));
  return text;
}

std::string Trimmed(const char* text, size_t length) {
  std::string s(text, strnlen(text, length));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// 1 when the operator wants another number (stay in the entry).
int AskAboutExisting() {
  std::string osm = Trimmed(f4ptr(Header("OSM")), f4len(Header("OSM")));
  int key = MessageWindow(MB_YES_ESC, PrintfQStr(Sys("Wprowadzony numer: %s już istnieje !").c_str(), osm.c_str()),
                          FldQStr(Header("NA1"), 1), PrintfQStr("NIP: %s", FldQStr(Header("NIP"), 1)),
                          PrintfQStr("data wystawienia: %s", FldFullDateQStr(Header("DAW"))),
                          "Czy nowy numer dokumentu ?");
  if (key != KEY_ESC) return 1;
  std::memset(freeShown->number, ' ', FREE_NUMBER_WIDTH);
  return 0;
}

// Stands on the first header of the context's kind holding the free number
// (the current one passed over when the context says so): 1 found, 0 none,
// -1 on a table error. The order is put back; the record is the one found.
int FindFreeNumber(const std::string& typed) {
  HeaderTag tag(TAG_FREE_NUMBER);
  DbTable* headers = Z5SPRZ.table;
  long current = d4recno(headers);
  std::string key = KindKey(Ctx().kind) + typed;
  int rc = d4seek_n(headers, key.c_str(), static_cast<int>(key.size()));
  if (rc < 0) return -1;
  for (; rc == 0 && !d4eof(headers); rc = d4skip(headers, 1)) {
    if (f4int(Header("TYV")) != Ctx().kind) break;
    std::string osm = Upper(Trimmed(f4ptr(Header("OSM")), FREE_NUMBER_WIDTH));
    if (osm.compare(0, typed.size(), typed) != 0) break;
    if (osm != typed || (Ctx().skipCurrentRecord && d4recno(headers) == current)) continue;
    return 1;
  }
  return rc < 0 ? -1 : 0;
}

int FreeNumberLeft(Get4*) {
  std::string typed = Upper(Trimmed(freeShown->number, FREE_NUMBER_WIDTH));
  if (typed.empty() || FindFreeNumber(typed) != 1) return 0;
  return AskAboutExisting() ? -1 : 0;
}

int RunFreeWindow(FreeWindow& w, const char* title, bool askDate) {
  int previous = w4select(-1);
  int window = w.copy ? OpenWindow(title, FREE_ROW, COPY_FREE_COL, COPY_FREE_HEIGHT, COPY_FREE_WIDTH)
                      : OpenWindow(title, FREE_ROW, FREE_COL, FREE_HEIGHT, FREE_WIDTH);
  if (window < 0) return KEY_ESC;
  int col = w.copy ? 18 : 15;
  w4(w.copy ? 1 : 2, 1, w.copy ? "Numer dokumentu:" : "Nr dokumentu:");
  g4(w.copy ? 1 : 2, col, w.number);
  g4width(FREE_NUMBER_WIDTH, FREE_NUMBER_WIDTH);
  g4valid(FreeNumberLeft);
  if (askDate) {
    w4(w.copy ? 2 : 3, 1, "Data wystawienia:");
    AddDateGet(w.copy ? 2 : 3, w.copy ? col : 21, w.date);
  }
  AddAdvanceGet(3, 1, col, "Kwota zaliczki:");
  freeShown = &w;
  int key = g4read();
  freeShown = nullptr;
  CloseWindow(window, previous);
  return key;
}

bool FreeNumberTyped(const FreeWindow& w) { return w.number[0] != ' ' && w.number[0] != '\0'; }

int FreeNumber(int askDate) {
  kontekst_sprzedazy& c = Ctx();
  c.freeNumberSwitch = 'N';
  FreeWindow w{};
  std::memset(w.number, ' ', FREE_NUMBER_WIDTH);
  PresetDate(w.date);
  int key = RunFreeWindow(w, NumberWindowTitle(c.kind, c.rejestr), askDate != 0);
  if ((key != KEY_ENTER && key != KEY_F2) || !FreeNumberTyped(w)) return -1;
  std::memcpy(c.freeNumber, w.number, sizeof c.freeNumber);
  if (askDate) std::memcpy(c.newIssueDate, w.date, 9);
  return 0;
}

// A copy's free number: the window goes on only with a number that does not
// start with a blank.
int CopyFreeNumber() {
  kontekst_sprzedazy& c = Ctx();
  c.freeNumberSwitch = 'N';
  FreeWindow w{};
  w.copy = true;
  std::memset(w.number, ' ', FREE_NUMBER_WIDTH);
  PresetDate(w.date);
  for (;;) {
    int key = RunFreeWindow(w, NumberWindowTitle(c.kind, c.rejestr), true);
    if (key != KEY_ENTER && key != KEY_F2) return -1;
    if (FreeNumberTyped(w)) break;
  }
  std::memcpy(c.freeNumber, w.number, sizeof c.freeNumber);
  std::memcpy(c.newIssueDate, w.date, 9);
  return 0;
}

}  // namespace

void wyrownaj_do_prawej(char* buffer, int width) {
  std::string text = Trimmed(buffer, static_cast<size_t>(width));
  text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
  std::string aligned(static_cast<size_t>(width) - std::min(text.size(), static_cast<size_t>(width)), ' ');
  aligned += text.substr(0, static_cast<size_t>(width));
  std::memcpy(buffer, aligned.c_str(), static_cast<size_t>(width) + 1);
}

void zapamietaj_numer(numer_dokumentu* record, const char* prefix, long number, const char* suffix) {
  std::memset(record->prefix, 0, sizeof record->prefix);
  std::memset(record->suffix, 0, sizeof record->suffix);
  std::memcpy(record->prefix, Fixed(prefix, PREFIX_WIDTH).c_str(), PREFIX_WIDTH);
  record->number = static_cast<int32_t>(number);
  std::memcpy(record->suffix, Fixed(suffix, SUFFIX_WIDTH).c_str(), SUFFIX_WIDTH);
}

void wpisz_numer_do_naglowka(DbField* pre, DbField* nrv, DbField* pos, const numer_dokumentu* record) {
  ToFieldCopyMaxString(pre, record->prefix);
  ToFieldCopyLongint(nrv, record->number);
  ToFieldCopyMaxString(pos, record->suffix);
}

int nastepny_numer_dokumentu(int redisplay) {
  kontekst_sprzedazy& c = Ctx();
  std::string prefix = Fixed(c.next.prefix, PREFIX_WIDTH), suffix = Fixed(c.next.suffix, SUFFIX_WIDTH);
  // "aaaaa" sorts after every number, so one step back lands on the series' last.
  std::string key = KindKey(c.kind) + Upper(prefix) + Upper(suffix) + "aaaaa";
  HeaderTag tag(TAG_SERIES);
  DbTable* headers = Z5SPRZ.table;
  if (d4seek(headers, key.c_str()) < 0) return -1;
  int rc = d4skip(headers, -1);
  if (rc < 0) return -1;
  bool sameSeries = rc == 0 && !d4bof(headers) && f4int(Header("TYV")) == c.kind &&
                    std::memcmp(f4ptr(Header("PRE")), prefix.data(), PREFIX_WIDTH) == 0 &&
                    std::memcmp(f4ptr(Header("POS")), suffix.data(), SUFFIX_WIDTH) == 0;
  c.next.number = sameSeries ? static_cast<int32_t>(f4long(Header("NRV"))) + 1 : 1;
  if (redisplay && shown) ShowNumber();
  return 0;
}

int sprawdz_duplikat_numeru() {
  kontekst_sprzedazy& c = Ctx();
  char number[NUMBER_WIDTH + 1];
  std::snprintf(number, sizeof number, "%*d", NUMBER_WIDTH, c.next.number);
  std::string key = KindKey(c.kind) + Upper(Fixed(c.next.prefix, PREFIX_WIDTH)) +
                    Upper(Fixed(c.next.suffix, SUFFIX_WIDTH)) + number;
  HeaderTag tag(TAG_SERIES);
  int rc = d4seek(Z5SPRZ.table, key.c_str());
  if (rc < 0) return -1;
  if (rc != 0) return 0;
  MessageWindow(MB_WARNING, MSG_NUMBER_EXISTS, NumberText(c.next));
  return 1;
}

int sprawdz_numer_niezerowy() {
  if (Ctx().next.number != 0) return 0;
  Uwaga(MSG_FILL_NUMBER);
  return -1;
}

int podaj_numer_dokumentu(int standardNumbering, int skipCurrent, int askDate) {
  kontekst_sprzedazy& c = Ctx();
  c.skipCurrentRecord = skipCurrent;
  if (!standardNumbering) return FreeNumber(askDate);
  zapamietaj_numer(&c.next, prefiks_numeru_rodzaju(c.kind, c.rejestr), 0, sufiks_numeru_rodzaju(c.kind, c.rejestr));
  wyrownaj_do_prawej(c.next.prefix, PREFIX_WIDTH);
  // The number is taken when the document is saved.
  if (salesOptions.autoNumbering == 'T') return 0;
  return StandardNumber(askDate);
}

int podaj_numer_kopii(int standardNumbering, double* advance, double gross) {
  kontekst_sprzedazy& c = Ctx();
  c.skipCurrentRecord = 0;
  advanceShown = AdvanceEntry{advance, gross};
  int result;
  if (standardNumbering) {
    zapamietaj_numer(&c.next, prefiks_numeru_rodzaju(c.kind, c.rejestr), 0, sufiks_numeru_rodzaju(c.kind, c.rejestr));
    wyrownaj_do_prawej(c.next.prefix, PREFIX_WIDTH);
    result = StandardNumber(1);
  } else {
    result = CopyFreeNumber();
  }
  advanceShown = AdvanceEntry{};
  return result;
}

int okno_numeru_dokumentu(const char* title) {
  kontekst_sprzedazy& c = Ctx();
  NumberWindow w{};
  std::memcpy(w.prefix, c.next.prefix, PREFIX_WIDTH + 1);
  w.number = c.next.number;
  std::memcpy(w.suffix, c.next.suffix, SUFFIX_WIDTH + 1);
  int key = RunNumberWindow(w, title);
  if (key != KEY_ENTER && key != KEY_F2) return key;
  wyrownaj_do_prawej(w.prefix, PREFIX_WIDTH);
  zapamietaj_numer(&c.next, w.prefix, w.number, w.suffix);
  return key;
}

int okno_numeru_swobodnego(const char* title, char* number) {
  FreeWindow w{};
  std::memcpy(w.number, number, FREE_NUMBER_WIDTH + 1);
  int key = RunFreeWindow(w, title, false);
  std::memcpy(number, w.number, FREE_NUMBER_WIDTH + 1);
  return key;
}

int sprawdz_duplikat_numeru_swobodnego(const char* number) {
  std::string typed = Upper(Trimmed(number, FREE_NUMBER_WIDTH));
  if (typed.empty()) return 0;
  int found = FindFreeNumber(typed);
  if (found == 1) MessageWindow(MB_WARNING, MSG_NUMBER_EXISTS, typed.c_str());
  return found;
}
