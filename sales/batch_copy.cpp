#include "sales/batch_copy.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "sales/document_copies.h"
#include "sales/numbering.h"
#include "sales/payments.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "sales/work_copies.h"
#include "tables/catalogue.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

KopiowanieDokumentow kopiowanieDokumentow;

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int MSG_NO_LINES = 50007;       // " Brak pozycji !"
constexpr int MSG_START = 20050;          // "Czy rozpocząć operację?"
constexpr int MSG_NUMBER_EXISTS = 20155;  // "Podany numer już istnieje!"
constexpr int TAG_ISSUE_DATE = 1;         // DTOS(DAW)+STR(TYV,2,0)+...
constexpr int PREFIX_WIDTH = 4, SUFFIX_WIDTH = 9, FREE_WIDTH = 40;
constexpr int DAYS_AFTER_RANGE = 30;

KopiowanieDokumentow& Run() { return kopiowanieDokumentow; }
kontekst_sprzedazy& Ctx() { return *salesContext; }
DbField* F(DbTable* t, const char* name) { return d4field(t, name); }
bool Standard() { return salesOptions.standardNumbering == 'T'; }
int Register() { return Ctx().rejestr; }

bool AppendByteCopy(DbTable* target, DbTable* source) {
  if (d4append_start(target, 0) != 0) return false;
  std::memcpy(d4record(target), d4record(source), d4record_width(source));
  return true;
}

std::string Date(DbField* field) { return std::string(f4ptr(field), 8); }

void AddDays(char* out, const char* date, long days) {
  date4assign(out, date4long(date) + static_cast<int32_t>(days));
  out[8] = '\0';
}

// The number the n-th copy (from 0) gets.
struct Number {
  numer_dokumentu standard;
  std::string free;
};

Number NumberOf(int n) {
  Number number{Ctx().next, ""};
  number.standard.number += n;
  if (!Standard()) {
    std::string base = BezSpacjiMyslnikowQStr(Ctx().freeNumber);
    number.free = PrintfQStr("%s_%03i", base.c_str(), n + 1);
    number.free.resize(std::min(number.free.size(), static_cast<size_t>(FREE_WIDTH)));
  }
  return number;
}

std::string Upper(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  for (char& c : s) c = static_cast<char>(EnvToUpper(static_cast<unsigned char>(c)));
  return s;
}

std::string KeyOf(const Number& number) {
  if (!Standard()) return Upper(number.free);
  char n[16];
  std::snprintf(n, sizeof n, "%d", number.standard.number);
  return Upper(std::string(number.standard.prefix, PREFIX_WIDTH)) + "/" + n + "/" +
         Upper(std::string(number.standard.suffix, SUFFIX_WIDTH));
}

std::string KeyOfRecord(DbTable* h) {
  if (!Standard()) return Upper(std::string(f4ptr(F(h, "OSM")), f4len(F(h, "OSM"))));
  char n[16];
  std::snprintf(n, sizeof n, "%ld", f4long(F(h, "NRV")));
  return Upper(std::string(f4ptr(F(h, "PRE")), f4len(F(h, "PRE")))) + "/" + n + "/" +
         Upper(std::string(f4ptr(F(h, "POS")), f4len(F(h, "POS"))));
}

std::string Shown(const Number& number) {
  if (!Standard()) return number.free;
  return NrDokumentuQStr(number.standard.prefix, PREFIX_WIDTH, number.standard.number, number.standard.suffix,
                         SUFFIX_WIDTH);
}

// The numbers of the kind the target holds, read under its lock.
int TakenNumbers(DbTable* headers, std::set<std::string>* taken) {
  DbTag* tag = d4tag_selected(headers);
  d4tag_select(headers, nullptr);
  int rc = d4top(headers);
  for (; rc == 0 && !d4eof(headers); rc = d4skip(headers, 1))
    if (f4int(F(headers, "TYV")) == Ctx().kind) taken->insert(KeyOfRecord(headers));
  d4tag_select(headers, tag);
  return rc < 0 ? -1 : 0;
}

bool HasLines(long rec) { return SeekEsexByRek(rec) == 0 && f4long(F(SpreCopy.table, "REK")) == rec; }

void ClearCopiedHeader(DbTable* h) {
  for (const char* name : {"NRZ", "DZM", "KZA", "OZA", "DDU", "TRK", "REK", "LPO", "DZA", "TYM", "NUK", "DAK"})
    f4blank(F(h, name));
  if (WorkingYear() >= FIRST_YEAR_2024)
    for (const char* name : {"KON", "NKZ", "DAZ"}) f4blank(F(h, name));
}

void NumberHeader(DbTable* h, const Number& number) {
  f4assign_char(F(h, "RE4"), Standard() ? 'T' : 'N');
  if (Standard()) {
    wpisz_numer_do_naglowka(F(h, "PRE"), F(h, "NRV"), F(h, "POS"), &number.standard);
    f4blank(F(h, "OSM"));
  } else {
    FldCopyString(F(h, "OSM"), number.free.c_str());
    for (const char* part : {"PRE", "NRV", "POS"}) f4blank(F(h, part));
  }
}

// Marks deleted the records from `first` on: a copy that failed leaves no
// half document (its lines took no stock).
void Drop(DbTable* t, long first) {
  for (long n = first; n <= d4reccount(t); n++) {
    if (d4go(t, n) != 0) continue;
    d4delete(t);
    d4write(t, n);
  }
  d4flush(t);
}

// One gathered header with its lines and recipient into the target.
int AppendOne(TableHandles& headers, TableHandles& lines, TableHandles& recipients, const Number& number) {
  DbTable* source = SprzCopy.table;
  DbTable* h = headers.table;
  DbTable* l = lines.table;
  const char* newDate = Run().newDate;
  long sourceRec = f4long(F(source, "REC"));
  if (!AppendByteCopy(h, source)) return -1;
  if (!FieldIsEmpty(F(h, "DPL"))) {
    char due[9];
    AddDays(due, newDate, date4long(f4ptr(F(source, "DPL"))) - date4long(f4ptr(F(source, "DAW"))));
    f4assign_n(F(h, "DPL"), due, 8);
  }
  for (const char* date : {"DAW", "DAS", "DAV"}) f4assign_n(F(h, date), newDate, 8);
  NumberHeader(h, number);
  long rec = d4reccount(h) + 1;
  f4assign_long(F(h, "REC"), rec);
  f4assign_char(F(h, "ZAP"), 'N');
  ClearCopiedHeader(h);
  set_pass_inf(0, F(h, "INF"));
  if (d4append(h) != 0) return -1;
  int rc = SeekEsexByRek(sourceRec);
  for (; rc == 0 && !d4eof(SpreCopy.table) && f4long(F(SpreCopy.table, "REK")) == sourceRec;
       rc = d4skip(SpreCopy.table, 1)) {
    if (!AppendByteCopy(l, SpreCopy.table)) return -1;
    for (const char* part : {"PRE", "NRV", "POS"}) f4assign_n(F(l, part), f4ptr(F(h, part)), f4len(F(l, part)));
    if (Standard())
      f4blank(F(l, "RE1"));
    else
      f4assign_n(F(l, "RE1"), f4ptr(F(h, "OSM")), f4len(F(l, "RE1")));
    f4assign_n(F(l, "DAW"), newDate, 8);
    f4assign_n(F(l, "DAV"), newDate, 8);
    f4assign_long(F(l, "REK"), rec);
    f4assign_long(F(l, "REC"), d4reccount(l) + 1);
    f4assign_char(F(l, "STA"), 'N');
    set_pass_inf(0, F(l, "INF"));
    if (d4append(l) != 0) return -1;
  }
  if (rc < 0) return -1;
  if (SeekSoexByRek(Register(), sourceRec) == 0) {
    DbTable* r = recipients.table;
    if (!r || !AppendByteCopy(r, SoexCopy.table)) return -1;
    f4assign_long(F(r, "REK"), rec);
    f4assign_long(F(r, "REC"), d4reccount(r) + 1);
    if (d4append(r) != 0) return -1;
  }
  return d4flush(l) == 0 && d4flush(h) == 0 ? 0 : -1;
}

// Whole-table locks of the target's headers and lines; 0 or -1 (none held).
int LockTarget(DbTable* headers, DbTable* lines) {
  if (set_lock(headers, -1) != 0) return -1;
  if (set_lock(lines, -1) == 0) return 0;
  d4unlock(headers);
  return -1;
}

// The second set of another year; the main register's own auxiliary
// tables in that set are opened again afterwards.
int OpenYear(int year) {
  for (TableHandles* set : {&Z5SPRE_2, &Z5SPRZ_2, &Z5SPRO_2})
    if (set->table) d4close(set->table);
  int mode = Register() == 1 ? SALES_MAIN_SECOND : SALES_AUX_SECOND;
  if (OpenZ5SPRE(year, 0, mode) != 0 || OpenZ5SPRZ(year, 0, mode) != 0 || OpenZ5SPRO(year, 0, SALES_MAIN_SECOND) != 0)
    return -1;
  return 0;
}

void CloseYear() {
  for (TableHandles* set : {&Z5SPRE_2, &Z5SPRZ_2, &Z5SPRO_2})
    if (set->table) d4close(set->table);
  if (Register() == 1) {
    OpenZ5SPRE(0, 0, SALES_AUX_SECOND);
    OpenZ5SPRZ(0, 0, SALES_AUX_SECOND);
  }
}

bool InWorkingYear(const char* date) { return date4year(date) == WorkingYear(); }

// The default first number of the kind: its prefix and suffix with the next
// number of the series.
void ProposeFirstNumber() {
  kontekst_sprzedazy& c = Ctx();
  zapamietaj_numer(&c.next, prefiks_numeru_rodzaju(c.kind, c.rejestr), 0, sufiks_numeru_rodzaju(c.kind, c.rejestr));
  wyrownaj_do_prawej(c.next.prefix, PREFIX_WIDTH);
  nastepny_numer_dokumentu(0);
}

// ---- the window

struct Window {
  int32_t choice;   // 1, 2, 3 for the kinds 1, 2, 7
  char prefix[PREFIX_WIDTH + 1];
  int32_t number;
  char suffix[SUFFIX_WIDTH + 1];
  char freeNumber[FREE_WIDTH + 1];
  char previousTo[9];
  char previousNew[9];
  int prefixGet;
} window;

constexpr int kKinds[] = {0, 1, 2, 7};

void ShowFirstNumber() {
  const kontekst_sprzedazy& c = Ctx();
  std::memcpy(window.prefix, c.next.prefix, PREFIX_WIDTH + 1);
  window.number = c.next.number;
  std::memcpy(window.suffix, c.next.suffix, SUFFIX_WIDTH + 1);
}

void TakeFirstNumber() {
  wyrownaj_do_prawej(window.prefix, PREFIX_WIDTH);
  zapamietaj_numer(&Ctx().next, window.prefix, window.number, window.suffix);
}

int ChoiceLeft(Get4* get) {
  if (window.choice < 1 || window.choice > 3) return -1;
  return po_zmianie_rodzaju_kopii(get);
}

int PrefixLeft(Get4*) {
  wyrownaj_do_prawej(window.prefix, PREFIX_WIDTH);
  return 0;
}

int ShowWindow() {
  int previous = w4select(-1);
  int handle = DefineWprowadzWindow(11, 15, 8, 55, Sys("KOPIOWANIE DOKUMENTÓW SPRZEDAŻY"), nullptr, nullptr);
  if (handle < 0) return KEY_ESC;
  w4activate(handle);
  w4(2, 1, "Typ dokumentu:");
  w4(3, 1, "Data wystawienia od:");
  w4(4, 1, "Data wystawienia do:");
  w4(5, 1, "Nowa data:");
  w4(2, 28, Sys("1. FAKTURA  2. RACHUNEK  3. MP"));
  g4int(2, 26, &window.choice);
  g4picture("9");
  g4valid(ChoiceLeft);
  g4date(3, 26, Run().from);
  g4picture("DD-MM/YY");
  g4date(4, 26, Run().to);
  g4picture("DD-MM/YY");
  g4valid(po_dacie_do_kopii);
  g4date(5, 26, Run().newDate);
  g4picture("DD-MM/YY");
  g4valid(po_nowej_dacie_kopii);
  if (Standard()) {
    w4(6, 1, "Nr pierwszego dokumentu:     /     /");
    g4(6, 26, window.prefix);
    g4width(PREFIX_WIDTH, PREFIX_WIDTH);
    g4upper();
    g4valid(PrefixLeft);
    g4long(6, 31, &window.number);
    g4picture("99999");
    g4(6, 37, window.suffix);
    g4width(SUFFIX_WIDTH, SUFFIX_WIDTH);
    g4upper();
    g4valid(sprawdz_pierwszy_numer_kopii);
  } else {
    w4(6, 1, "Nr pierwszego dokumentu:");
    g4(6, 26, window.freeNumber);
    g4width(FREE_WIDTH, FREE_WIDTH);
  }
  int key = g4read();
  w4deactivate(handle);
  w4close(handle);
  w4select(previous);
  return key;
}

}  // namespace

int po_zmianie_rodzaju_kopii(Get4*) {
  int kind = kKinds[window.choice >= 1 && window.choice <= 3 ? window.choice : 1];
  if (kind == Ctx().kind) return 0;
  Ctx().kind = kind;
  if (Standard()) {
    ProposeFirstNumber();
    ShowFirstNumber();
  }
  return 0;
}

int po_dacie_do_kopii(Get4*) {
  KopiowanieDokumentow& r = Run();
  if (date4long(r.to) < date4long(r.from)) {
    Uwaga(Sys("Błąd daty 'DO'."));
    return -1;
  }
  if (std::memcmp(r.to, window.previousTo, 8) != 0) {
    AddDays(r.newDate, r.to, DAYS_AFTER_RANGE);
    std::memcpy(window.previousTo, r.to, 9);
  }
  return 0;
}

int po_nowej_dacie_kopii(Get4*) {
  KopiowanieDokumentow& r = Run();
  if (date4long(r.newDate) <= date4long(r.to)) {
    Uwaga(Sys("Błąd nowej daty wystawienia."));
    return -1;
  }
  if (std::memcmp(r.newDate, window.previousNew, 8) != 0) {
    if (!InWorkingYear(r.newDate) && Standard()) {
      Ctx().next.number = 1;
      window.number = 1;
    }
    std::memcpy(window.previousNew, r.newDate, 9);
  }
  return 0;
}

int sprawdz_pierwszy_numer_kopii(Get4*) {
  TakeFirstNumber();
  if (!InWorkingYear(Run().newDate)) return 0;
  if (set_lock(Z5SPRZ.table, -1) != 0) return -1;
  if (sprawdz_duplikat_numeru() == 0) return 0;
  d4unlock(Z5SPRZ.table);
  return -1;
}

int zbierz_dokumenty_do_kopii() {
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  const KopiowanieDokumentow& r = Run();
  DbTag* tag = d4tag_selected(h);
  d4tag_select(h, Z5SPRZ.tag[TAG_ISSUE_DATE]);
  int result = 1;
  int rc = d4top(h);
  for (; rc == 0 && !d4eof(h); rc = d4skip(h, 1)) {
    std::string daw = Date(F(h, "DAW"));
    if (daw < std::string(r.from, 8) || daw > std::string(r.to, 8)) continue;
    // What Ctrl+C refuses is not copied here either.
    if (f4int(F(h, "TYV")) != Ctx().kind || CopyKind(0) == 0) continue;
    long record = d4recno(h);
    long rec = f4long(F(h, "REC"));
    if (!AppendByteCopy(SprzCopy.table, h) || d4append(SprzCopy.table) != 0) {
      result = -1;
      break;
    }
    int lines = SeekSalesLinesByRek(rec);
    for (; lines == 0 && !d4eof(l) && f4long(F(l, "REK")) == rec; lines = d4skip(l, 1))
      if (!AppendByteCopy(SpreCopy.table, l) || d4append(SpreCopy.table) != 0) lines = -1;
    if (lines < 0) {
      result = -1;
      break;
    }
    if (Z5SPRO.table && szukaj_odbiorcy(Register(), rec) == 0 &&
        (!AppendByteCopy(SoexCopy.table, Z5SPRO.table) || d4append(SoexCopy.table) != 0)) {
      result = -1;
      break;
    }
    result = 0;
    if (d4go(h, record) != 0) {
      result = -1;
      break;
    }
  }
  if (rc < 0) result = -1;
  d4tag_select(h, tag);
  return result;
}

int kopiuj_dokumenty_z_kopii(int target) {
  TableHandles& headers = target == 0 ? Z5SPRZ : Z5SPRZ_2;
  TableHandles& lines = target == 0 ? Z5SPRE : Z5SPRE_2;
  TableHandles& recipients = target == 0 ? Z5SPRO : Z5SPRO_2;
  DbTable* source = SprzCopy.table;
  d4tag_select(SpreCopy.table, SpreCopy.tag[0]);
  if (d4top(source) != 0) return -1;
  if (LockTarget(headers.table, lines.table) != 0) return -1;
  // The numbers first, all of them, under the lock: a taken one copies nothing.
  std::vector<long> withLines;
  std::set<std::string> taken;
  int rc = TakenNumbers(headers.table, &taken);
  for (rc = rc == 0 ? d4top(source) : rc; rc == 0 && !d4eof(source); rc = d4skip(source, 1)) {
    long rec = f4long(F(source, "REC"));
    if (HasLines(rec)) {
      withLines.push_back(d4recno(source));
      continue;
    }
    std::string named = f4char(F(source, "RE4")) == 'N' ? FldQStr(F(source, "OSM"), 1)
                                                         : NrDokumentuStalyQStr(F(source, "PRE"), F(source, "NRV"), F(source, "POS"));
    named.erase(named.find_last_not_of(' ') + 1);
    Uwaga(PrintfQStr(Sys("Dokument %s nie ma pozycji - pominięto."), named.c_str()));
  }
  int result = rc < 0 ? -1 : 0;
  for (size_t n = 0; result == 0 && n < withLines.size(); n++) {
    Number number = NumberOf(static_cast<int>(n));
    if (taken.count(KeyOf(number))) {
      MessageWindow(MB_WARNING, MSG_NUMBER_EXISTS, Shown(number).c_str());
      result = -1;
    }
  }
  int copied = 0;
  for (size_t n = 0; result == 0 && n < withLines.size(); n++) {
    long firstHeader = d4reccount(headers.table) + 1;
    long firstLine = d4reccount(lines.table) + 1;
    long firstRecipient = recipients.table ? d4reccount(recipients.table) + 1 : 0;
    if (d4go(source, withLines[n]) != 0 || AppendOne(headers, lines, recipients, NumberOf(copied)) != 0) {
      Drop(lines.table, firstLine);
      Drop(headers.table, firstHeader);
      if (recipients.table) Drop(recipients.table, firstRecipient);
      MessageWindow(MB_ERROR, Sys("Kopiowanie zakończone błędnie."),
                    PrintfQStr(Sys("Skopiowano %i dokumentów."), copied));
      result = -1;
      break;
    }
    // The settlement entries are the working year's.
    if (target == 0 && d4go(headers.table, firstHeader) == 0) zapisz_rozliczenie_dokumentu(0);
    copied++;
  }
  d4unlock(lines.table);
  if (target != 0) d4unlock(headers.table);
  return result == 0 ? copied : -1;
}

int CopyChosenDocuments() {
  DbTable* h = Z5SPRZ.table;
  if (set_lock(h, -1) != 0) return -1;
  int result = -1;
  if (OpenWorkCopies() == 0) {
    int gathered = zbierz_dokumenty_do_kopii();
    if (gathered == 1) Uwaga(MSG_NO_LINES);
    if (gathered < 0) Alarm(Sys("Kopiowanie zakończone błędnie."));
    if (gathered == 0) {
      if (InWorkingYear(Run().newDate)) {
        result = kopiuj_dokumenty_z_kopii(0);
      } else {
        if (OpenYear(date4year(Run().newDate)) == 0) result = kopiuj_dokumenty_z_kopii(5);
        CloseYear();
      }
    }
    if (result > 0) Informacja(PrintfQStr(Sys("Skopiowano %i dokumentów."), result));
    CloseWorkCopies();
  }
  d4unlock(h);
  return result;
}

int kopiuj_dokumenty_sprzedazy() {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  kontekst_sprzedazy& c = Ctx();
  KopiowanieDokumentow& r = Run();
  std::memcpy(r.to, c.workingDate, 8);
  r.to[8] = '\0';
  std::memcpy(r.from, c.workingDate, 6);
  std::memcpy(r.from + 6, "01", 3);
  AddDays(r.newDate, r.to, DAYS_AFTER_RANGE);
  window = Window{};
  window.choice = 1;
  std::memcpy(window.previousTo, r.to, 9);
  std::memcpy(window.previousNew, r.newDate, 9);
  c.kind = 1;
  if (Standard()) {
    ProposeFirstNumber();
    ShowFirstNumber();
  }
  std::memset(window.freeNumber, ' ', FREE_WIDTH);
  int key = ShowWindow();
  d4unlock(Z5SPRZ.table);
  if (key == KEY_ENTER || key == KEY_F2) {
    if (Standard())
      TakeFirstNumber();
    else
      std::memcpy(c.freeNumber, window.freeNumber, sizeof c.freeNumber);
    if (Pytanie(MSG_START) != KEY_ESC) CopyChosenDocuments();
  }
  browse_call(0, d4recno(Z5SPRZ.table));
  return 0;
}
