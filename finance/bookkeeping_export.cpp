// The export for the bookkeeping program: the dialog "Eksport", the copy of
// both registers' documents of the period with their recipients, cash
// entries and settlements, the own-firm file and the three catalogues into
// exchange tables of a directory, packed there into one file.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "app/module_entries.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "db/dbf_definition.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/bookkeeping_exchange.h"
#include "interchange/packed_set.h"
#include "jpk/file_copy.h"
#include "platform/dirs.h"
#include "sales/register_actions.h"
#include "tables/cash_tables.h"
#include "tables/exchange_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_LABELS = 157, MSG_START = 20050, MSG_PRESS_ANY_KEY = 50011;
constexpr int TAG_ISSUE_DATE = 1;   // DTOS(DAW)+...
constexpr int SOURCE_SALES = 1, SOURCE_AUX_SALES = 4;
constexpr int COUNT_COL = 25, RESULT_COL = 28, FIRST_COUNTER_ROW = 3;
constexpr int WINDOW_ROWS = 17, WINDOW_COLS = 40, SCREEN_ROWS = 30, SCREEN_COLS = 80;
constexpr int KEY_WAIT_MS = 10000;
constexpr const char* COUNTER_LABELS[LICZNIKI] = {"Sprzedaż", "Sprzedaż pomocnicza", "Odbiorcy", "Kasa",
                                                   "Rozliczenia"};

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }

bool AppendCopy(DbTable* target, DbTable* source) {
  if (target == nullptr || d4append_start(target, 0) != 0) return false;
  std::memcpy(d4record(target), d4record(source), d4record_width(source));
  return d4append(target) == 0;
}

// ---- the export window and its counters

struct Run {
  EksportKsiegowy* e;
  long counts[LICZNIKI];
  int window;
};

void ShowCount(int row, long value) { w4long(row, COUNT_COL, value, 5); }

void ShowCounters(const Run& run) {
  for (int i = 0; i < LICZNIKI; i++) ShowCount(FIRST_COUNTER_ROW + i, run.counts[i]);
}

std::string Trimmed(const char* text) {
  std::string s = text;
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// One register's documents of the period; the recipients', cash and
// settlement copies are open.
void ExportRegister(Run& run, int rejestr) {
  for (int i = 0; i < LICZNIKI; i++) w4(FIRST_COUNTER_ROW + i, 1, Maz(COUNTER_LABELS[i]).c_str());
  int mode = rejestr == 1 ? SALES_MAIN : SALES_AUX;
  if (OpenZ5SPRE(0, 0, mode) != 0) return;
  if (OpenZ5SPRZ(0, 0, mode) != 0) {
    d4close(Z5SPRE.table);
    return;
  }
  DbTable* headers = Z5SPRZ.table;
  DbTable* lines = Z5SPRE.table;
  char headersName[] = "Z5SPEX  .DBF", linesName[] = "Z5ESEX  .DBF";
  if (rejestr == 2) {
    std::memcpy(headersName, "Z5SPMX", 6);
    std::memcpy(linesName, "Z5ESMX", 6);
  }
  int year = WorkingYear();
  // The cash book and the settlements know an auxiliary document by its source type.
  int source = rejestr == 1 ? SOURCE_SALES : SOURCE_AUX_SALES;
  bool locked = set_lock(headers, -1) == 0 && set_lock(lines, -1) == 0;
  if (locked && OpenZ5SPRZCopy(headersName, 1, run.e->katalog, 0) == 0) {
    if (OpenZ5SPRECopy(linesName, 1, run.e->katalog, 0) == 0) {
      long from = date4long(run.e->od), to = date4long(run.e->do_);
      long& documents = run.counts[rejestr == 1 ? LICZNIK_SPRZEDAZ : LICZNIK_POMOCNICZA];
      d4tag_select(headers, Z5SPRZ.tag[TAG_ISSUE_DATE]);
      DbField* issued = d4field(headers, "DAW");
      DbField* rec = d4field(headers, "REC");
      for (int rc = d4top(headers); rc == 0 && !d4eof(headers); rc = d4skip(headers, 1)) {
        long day = date4long(f4ptr(issued));
        if (day < from || day > to) continue;
        if (!AppendCopy(SprzCopy.table, headers)) break;
        ShowCount(FIRST_COUNTER_ROW + (rejestr == 1 ? LICZNIK_SPRZEDAZ : LICZNIK_POMOCNICZA), ++documents);
        long number = f4long(rec);
        if (SeekSalesLinesByRek(number) == 0)
          for (; !d4eof(lines) && f4long(d4field(lines, "REK")) == number; d4skip(lines, 1))
            if (!AppendCopy(SpreCopy.table, lines)) break;
        if (SoexCopy.table && szukaj_odbiorcy(rejestr, number) == 0 && AppendCopy(SoexCopy.table, Z5SPRO.table))
          ShowCount(FIRST_COUNTER_ROW + LICZNIK_ODBIORCY, ++run.counts[LICZNIK_ODBIORCY]);
        const char* key = KluczTypRokRek(source, year, number);
        if (KasaCopy.table) {
          d4tag_select(Z5KASA.table, Z5KASA.tag[CASH_TAG_SOURCE]);
          if (d4seek(Z5KASA.table, key) == 0)
            for (; !d4eof(Z5KASA.table) && czy_zapis_kasy_dokumentu(source, year, number); d4skip(Z5KASA.table, 1))
              if (AppendCopy(KasaCopy.table, Z5KASA.table))
                ShowCount(FIRST_COUNTER_ROW + LICZNIK_KASA, ++run.counts[LICZNIK_KASA]);
        }
        if (RozlCopy.table) {
          d4tag_select(Z5ROZL.table, Z5ROZL.tag[SETTLEMENT_TAG_SOURCE]);
          if (d4seek(Z5ROZL.table, key) == 0)
            for (; !d4eof(Z5ROZL.table) && czy_rozliczenie_dokumentu(source, year, number);
                 d4skip(Z5ROZL.table, 1))
              if (AppendCopy(RozlCopy.table, Z5ROZL.table))
                ShowCount(FIRST_COUNTER_ROW + LICZNIK_ROZLICZENIA, ++run.counts[LICZNIK_ROZLICZENIA]);
        }
      }
      d4close(SpreCopy.table);
    }
    d4close(SprzCopy.table);
  }
  d4unlock(headers);
  d4unlock(lines);
  d4close(headers);
  d4close(lines);
}

// Opens the documents' side tables; false skips the document part.
bool OpenDocumentSide(const char* directory) {
  if (OpenZ5SPRO(0, 0, SALES_MAIN) != 0) return false;
  if (OpenZ5KASA(0) != 0) return false;
  if (OpenZ5ROZL(0) != 0) return false;
  if (OpenZ5SOEX(1, directory, 0) != 0) return false;
  if (OpenZ5KASACopy("Z5KASAEX.DBF", 1, directory) != 0) return false;
  return OpenZ5ROZLCopy("Z5ROZLEX.DBF", 1, directory) == 0;
}

void CloseDocumentSide() {
  for (TableHandles* set : {&SoexCopy, &KasaCopy, &RozlCopy, &Z5SPRO, &Z5KASA, &Z5ROZL})
    if (set->table) d4close(set->table);
}

struct Catalogue {
  const char* label;
  int (*open)(int);
  TableHandles* live;
  int (*openCopy)(const char*, int, const char*);
  TableHandles* copy;
  const char* file;
};

void ExportCatalogues(Run& run, int row) {
  const Catalogue catalogues[] = {
      {"Konta", OpenZ5KONT, &Z5KONT, OpenZ5KONTCopy, &KontCopy, "Z5KONTEX.DBF"},
      {"Kontrahenci", OpenZ5KHNT, &Z5KHNT, OpenZ5KHNTCopy, &KhntCopy, "Z5KHNTEX.DBF"},
      {"Opisy zdarzeń", OpenZ5OPIS, &Z5OPIS, OpenZ5OPISCopy, &OpisCopy, "Z5OPISEX.DBF"},
  };
  for (const Catalogue& c : catalogues) {
    w4(row, 1, Maz(c.label).c_str());
    long count = 0;
    ShowCount(row, count);
    if (c.open(0) == 0) {
      if (c.openCopy(c.file, 1, run.e->katalog) == 0) {
        DbTable* live = c.live->table;
        d4tag_select(live, nullptr);
        for (int rc = d4top(live); rc == 0 && !d4eof(live); rc = d4skip(live, 1))
          if (!d4deleted(live) && AppendCopy(c.copy->table, live)) ShowCount(row, ++count);
        d4close(c.copy->table);
      }
      d4close(c.live->table);
    }
    row++;
  }
}

// Packs the exchange files in the directory; true when packed.
bool Pack(const EksportKsiegowy& e) {
  std::string remembered = PlatGetCwd();
  std::string directory = EnvToDiskPath(Trimmed(e.katalog).c_str());
  if (PlatChDir(directory.c_str()) != PLAT_OK) return false;
  char headers[] = "Z5ESEX  .DBF", lines[] = "Z5ESMX  .DBF", aux[] = "Z5SPEX  .DBF", auxLines[] = "Z5SPMX  .DBF",
       recipients[] = "Z5SOEX  .DBF";
  int year = WorkingYear();
  for (char* name : {headers, lines, aux, auxLines, recipients}) SetDbfYear(name, year);
  const PackedFileMask masks[] = {
      {headers, 0},        {lines, 0},          {aux, 0},           {auxLines, 0},
      {recipients, 0},     {"Z5KASAEX.DBF", 0}, {"Z5ROZLEX.DBF", 0}, {"Z5PAWLEX.DBF", 0},
      {"Z5KONTEX.DBF", 0}, {"Z5KHNTEX.DBF", 0}, {"Z5OPISEX.DBF", 0}, {nullptr, 0},
  };
  bool packed = Compress2(masks, Trimmed(e.plik).c_str(), 1) == 1;
  PlatChDir(remembered.c_str());
  return packed;
}

// ---- the dialog

EksportKsiegowy* dialog = nullptr;

int NameChanged(Get4*) {
  NazwaPlikuEksportu(dialog, WorkingYear(), get_cur_das(1));
  w4(3, 13, "");
  w4num(3, 13, dialog->plik, 60);
  return 0;
}

}  // namespace

void NazwaPlikuEksportu(EksportKsiegowy* e, int rokDanych, const char* dzisiaj) {
  std::snprintf(e->plik, sizeof e->plik, "KORB_%i_%.8s_%s.EXP", rokDanych, dzisiaj, Trimmed(e->nazwa).c_str());
}

int EksportDlaKsiegowosci(EksportKsiegowy* e, long* liczniki) {
  Run run{e, {}, -1};
  int previous = w4select(-1);
  run.window = DefineDialogWindow((SCREEN_ROWS - WINDOW_ROWS) / 2, (SCREEN_COLS - WINDOW_COLS) / 2, WINDOW_ROWS,
                                  WINDOW_COLS, Maz("EKSPORT DANYCH ZE SPRZEDAŻY").c_str());
  if (run.window >= 0) w4activate(run.window);
  w4(1, 20, Maz("ilość rekordów").c_str());
  if (OpenDocumentSide(e->katalog)) {
    ExportRegister(run, 1);
    ShowCounters(run);
    ExportRegister(run, 2);
  }
  CloseDocumentSide();
  int row = FIRST_COUNTER_ROW + LICZNIKI;
  // Without the own-firm file the bookkeeping program cannot take the archive.
  char target[260];
  bool copied = KopiujPlik("Z5PAWL.DBF", MergePath(target, sizeof target, MERGE_DIR | MERGE_NAME, e->katalog,
                                                   "Z5PAWLEX.DBF")) == 1;
  ExportCatalogues(run, row);
  row += 3 + 1;   // the catalogues, a blank row
  w4(row, 1, "Kompresja danych");
  bool packed = copied && Pack(*e);
  w4(row, RESULT_COL, packed ? "OK" : Maz("BŁĄD").c_str());
  w4centre(row + 2, EnvFindString(MSG_PRESS_ANY_KEY));
  WaitFor(1, KEY_WAIT_MS);
  if (KeyPressed()) g4char();
  if (run.window >= 0) {
    w4deactivate(run.window);
    w4close(run.window);
  }
  w4select(previous);
  if (liczniki) std::memcpy(liczniki, run.counts, sizeof run.counts);
  return packed ? 0 : 1;
}

int EksportDoKsiegowosci() {
  if (OpenZ5PAWL() != 0) return 0;
  EksportKsiegowy e{};
  int year = WorkingYear();
  int month = date4month(get_cur_das(0));
  set_data_str(year, month, 1, e.od);
  set_data_str(year, month, DaysInMonth(year, month), e.do_);
  std::strcpy(e.katalog, "C:\\");
  DbField* shortName = d4field(Z5PAWL.table, "SKN");
  std::snprintf(e.nazwa, sizeof e.nazwa, "%s",
                FldQStr(FieldIsEmpty(shortName) ? d4field(Z5PAWL.table, "NA1") : shortName, QS_RTRIM));
  NazwaPlikuEksportu(&e, year, get_cur_das(1));
  dialog = &e;

  int previous = w4select(-1);
  int window = DefineWprowadzWindow(11, 2, 7, 76, "Eksport", nullptr, nullptr);
  w4select(window);
  w4activate(window);
  std::string labels = EnvFindString(MSG_LABELS);
  for (int row = 0, start = 0; start <= static_cast<int>(labels.size()); row++) {
    size_t end = labels.find('\n', start);
    if (end == std::string::npos) end = labels.size();
    w4(row, 0, labels.substr(start, end - start).c_str());
    start = static_cast<int>(end) + 1;
  }
  g4date(0, 13, e.od);
  g4picture("DD-MM/YY");
  g4date(1, 13, e.do_);
  g4picture("DD-MM/YY");
  g4(2, 13, e.nazwa);
  g4valid(NameChanged);
  w4num(3, 13, e.plik, 60);
  g4(4, 13, e.katalog);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key == KEY_F2 && Pytanie(MSG_START) != KEY_ESC) EksportDlaKsiegowosci(&e);
  dialog = nullptr;
  d4close(Z5PAWL.table);
  return 0;
}
