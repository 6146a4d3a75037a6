#include "sales/sales_exchange.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/paths.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/stock_update.h"
#include "printouts/report_period.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/name_dialogs.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_START = 20050, MSG_NO_LINES = 50007;
constexpr int MSG_EXPORT_DONE = 20090, MSG_EXPORT_FAILED = 20089, MSG_IMPORT_DONE = 20107, MSG_IMPORT_FAILED = 20106;
constexpr int TAG_ISSUE_DATE = 1;
constexpr int FIRST_YEAR_2024 = 2024;
constexpr int PRO_FORMA = 6, ADVANCE = 9, ADVANCE_FINAL = 10, ADVANCE_OTHER = 11, SDR_FINAL = 3;
constexpr int STAMP_NEW = 0;
constexpr int DIRECTORY_WIDTH = 50;

DbField* F(DbTable* t, const char* name) { return d4field(t, name); }
int Register() { return salesContext ? salesContext->rejestr : 1; }
int Int(DbTable* t, const char* name) { return f4int(F(t, name)); }

bool AppendCopy(DbTable* target, DbTable* source) {
  if (d4append_start(target, 0) != 0) return false;
  std::memcpy(d4record(target), d4record(source), d4record_width(source));
  return true;
}

// ---- the window of the run

int runWindow = -1;
long shown = 0;

void OpenRunWindow(const char* title) {
  shown = 0;
  runWindow = DefineEksportoweWindow(-1, -1, -1, -1, Sys(title));
  if (runWindow >= 0) w4activate(runWindow);
}

void RunLine(const std::string& text) {
  if (runWindow < 0) return;
  int previous = w4select(runWindow);
  if (w4row() >= w4height() - 1) {
    w4scroll(1);
    w4position(w4height() - 1, 0);
  } else if (shown > 0) {
    w4position(w4row() + 1, 0);
  }
  w4(w4row(), 0, text.c_str());
  w4select(previous);
}

void DocumentLine(DbTable* h) {
  char line[120];
  std::string number = f4char(F(h, "RE4")) == 'N' ? FldQStr(F(h, "OSM"), QS_RTRIM)
                                                  : NrDokumentuFldQStr(F(h, "PRE"), F(h, "NRV"), F(h, "POS"));
  std::snprintf(line, sizeof line, "%5ld %-20.20s %s %-30.30s %s", ++shown,
                nazwa_rodzaju_dokumentu(Int(h, "TYV"), Register()), FldDateQStr(F(h, "DAW")),
                FldQStr(F(h, "NA1"), 0), number.c_str());
  RunLine(line);
}

void SummaryLine(const char* label) {
  if (runWindow < 0) return;
  int previous = w4select(runWindow);
  std::string rule(w4width(), '-');
  w4select(previous);
  RunLine(rule);
  RunLine(std::string(Sys(label)) + " " + std::to_string(shown));
}

void CloseRunWindow() {
  if (runWindow < 0) return;
  w4deactivate(runWindow);
  w4close(runWindow);
  runWindow = -1;
}

// The directory of an option, or the default one.
void DefaultDirectory(char* buffer, const char* option, const char* fallback) {
  std::string text = QuickStr(option, -1, QS_RTRIM | QS_LTRIM);
  std::snprintf(buffer, DIRECTORY_WIDTH + 1, "%s", text.empty() ? fallback : text.c_str());
}

bool OpenRecipients(bool& opened) {
  opened = false;
  if (Z5SPRO.table) return true;
  opened = OpenZ5SPRO(0, 0, Register()) == 0;
  return opened;
}

// ---- export

bool Exported(DbTable* h, int wybor, const char* od, const char* do_) {
  if (Register() == 2 && Int(h, "TYM") > 0) return false;
  std::string date(f4ptr(F(h, wybor == WG_DATY_WYSTAWIENIA ? "DAW" : "DAV")), 8);
  if (wybor == BEZ_DATY_VAT) return FieldIsEmpty(F(h, "DAV"));
  return date >= std::string(od, 8) && date <= std::string(do_, 8);
}

// One document into the exchange tables; false on a failed step.
bool ExportDocument(DbTable* h) {
  DbTable* l = Z5SPRE.table;
  if (!AppendCopy(SprzCopy.table, h) || d4append(SprzCopy.table) != 0) return false;
  DocumentLine(h);
  long rec = f4long(F(h, "REC"));
  int rc = SeekSalesLinesByRek(rec);
  if (rc < 0) return false;
  for (; rc == 0 && !d4eof(l) && f4long(F(l, "REK")) == rec; rc = d4skip(l, 1))
    if (!AppendCopy(SpreCopy.table, l) || d4append(SpreCopy.table) != 0) return false;
  if (rc < 0) return false;
  if (Z5SPRO.table && szukaj_odbiorcy(Register(), rec) == 0 &&
      (!AppendCopy(SoexCopy.table, Z5SPRO.table) || d4append(SoexCopy.table) != 0))
    return false;
  return true;
}

// ---- import

bool StoredHere(DbTable* h, int year) {
  int kind = Int(h, "TYV");
  bool advanceKinds = kind == PRO_FORMA || kind == ADVANCE || kind == ADVANCE_FINAL || kind == ADVANCE_OTHER;
  if (year >= FIRST_YEAR_2024) return Register() == 1 ? !advanceKinds : advanceKinds;
  if (Register() == 1) return !(kind == PRO_FORMA && Int(h, "AKT") > 0);
  return Int(h, "AKT") <= 0;
}

// The first pass: every header is followed by its lines. False refuses the import.
bool LinesFollowHeaders(DbTable* headers, DbTable* lines) {
  int rl = d4top(lines);
  for (int rh = d4top(headers); rh == 0 && !d4eof(headers); rh = d4skip(headers, 1)) {
    long rec = f4long(F(headers, "REC"));
    if (rl != 0 || d4eof(lines) || f4long(F(lines, "REK")) != rec) return false;
    while (rl == 0 && !d4eof(lines) && f4long(F(lines, "REK")) == rec) rl = d4skip(lines, 1);
    if (rl < 0) return false;
  }
  return true;
}

// Takes an imported line's goods out of stock; true when it took effect.
bool StockTaken(DbTable* l) {
  if (salesOptions.stockOnImport != 'T') return false;
  int kind = Int(l, "TYV");
  if (kind == ADVANCE || (kind == PRO_FORMA && salesOptions.stockOnProForma != 'T')) return false;
  bool plain = kind == 1 || kind == 2 || kind == 5 || kind == 6 || kind == 7 || kind == 8;
  std::string code = FldQStr(F(l, "KOT"), QS_RTRIM);
  std::string name = FldQStr(F(l, "NA1"), QS_RTRIM);
  int result = aktualizuj_ilosc(code.c_str(), name.c_str(), f4double(F(l, plain ? "ILO" : "ILK")), 1);
  zamknij_okno_raportu(0);
  return result == 0;
}

// One exchanged header with its lines and recipient into the register. The
// exchange lines stand on the header's first line and move past its last.
bool ImportDocument(DbTable* copy, DbTable* copied, int year, bool store) {
  long oldRec = f4long(F(copy, "REC"));
  if (!store) {
    while (!d4eof(copied) && f4long(F(copied, "REK")) == oldRec)
      if (d4skip(copied, 1) < 0) return false;
    return true;
  }
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  if (!AppendCopy(h, copy)) return false;
  long newRec = d4reccount(h) + 1;
  f4assign_long(F(h, "REC"), newRec);
  if (Register() == 2 && year < FIRST_YEAR_2024 && Int(h, "TYV") == ADVANCE)
    f4assign_int(F(h, "TYV"), Int(h, "SDR") == SDR_FINAL ? ADVANCE_FINAL : ADVANCE_OTHER);
  for (const char* posting : {"TRK", "REK", "LPO", "DZA"}) f4blank(F(h, posting));
  set_pass_inf(STAMP_NEW, F(h, "INF"));
  if (d4append(h) != 0) return false;
  DocumentLine(h);
  while (!d4eof(copied) && f4long(F(copied, "REK")) == oldRec) {
    if (!AppendCopy(l, copied)) return false;
    f4assign_long(F(l, "REK"), newRec);
    f4assign_long(F(l, "REC"), d4reccount(l) + 1);
    f4assign_char(F(l, "STA"), 'N');
    set_pass_inf(STAMP_NEW, F(l, "INF"));
    if (d4append(l) != 0) return false;
    if (c4atoi(f4ptr(F(l, "ZRP")), f4len(F(l, "ZRP"))) == 1 && StockTaken(l)) {
      f4assign_char(F(l, "STA"), 'T');
      if (d4write(l, d4recno(l)) != 0) return false;
    }
    if (d4skip(copied, 1) < 0) return false;
  }
  if (SeekSoexByRek(Register(), oldRec) == 0 && Z5SPRO.table) {
    DbTable* r = Z5SPRO.table;
    if (!AppendCopy(r, SoexCopy.table)) return false;
    f4assign_long(F(r, "REK"), newRec);
    f4assign_long(F(r, "REC"), d4reccount(r) + 1);
    if (d4append(r) != 0) return false;
  }
  return true;
}

long ImportOpened(int year) {
  DbTable* copy = SprzCopy.table;
  DbTable* copied = SpreCopy.table;
  d4tag_select(copy, nullptr);
  d4tag_select(copied, nullptr);
  if (d4top(copy) != 0 || d4eof(copy)) return -2;
  if (d4top(copied) != 0 || d4eof(copied)) return -1;
  if (!LinesFollowHeaders(copy, copied)) return -2;
  long count = 0;
  d4top(copied);
  for (int rc = d4top(copy); rc == 0 && !d4eof(copy); rc = d4skip(copy, 1)) {
    bool store = StoredHere(copy, year);
    if (!ImportDocument(copy, copied, year, store)) return -2;
    if (store) count++;
  }
  return count;
}

void CloseCopies() {
  for (TableHandles* set : {&SoexCopy, &SprzCopy, &SpreCopy})
    if (set->table) d4close(set->table);
}

}  // namespace

long EksportujSprzedaz(int wybor, const char* od, const char* do_, const char* katalog) {
  DbTable* h = Z5SPRZ.table;
  bool recipientsOpened = false;
  OpenRecipients(recipientsOpened);
  long count = -1;
  char lines[] = "Z5ESEX  .DBF", headers[] = "Z5SPEX  .DBF";
  if (set_lock(h, -1) == 0) {
    if (OpenZ5SPRECopy(lines, 1, katalog, 0) == 0 && OpenZ5SPRZCopy(headers, 1, katalog, 0) == 0 &&
        OpenZ5SOEX(1, katalog, 0) == 0) {
      DbTag* remembered = d4tag_selected(h);
      long record = d4recno(h);
      d4tag_select(h, Z5SPRZ.tag[TAG_ISSUE_DATE]);
      bool ok = true;
      count = 0;
      int rc = d4top(h);
      for (; ok && rc == 0 && !d4eof(h); rc = d4skip(h, 1)) {
        if (!Exported(h, wybor, od, do_)) continue;
        ok = ExportDocument(h);
        if (ok) count++;
      }
      if (!ok || rc < 0) count = -1;
      d4tag_select(h, remembered);
      if (record > 0 && record <= d4reccount(h)) d4go(h, record);
    }
    CloseCopies();
    d4unlock(h);
  }
  if (recipientsOpened) d4close(Z5SPRO.table);
  if (count >= 0) {
    SummaryLine("Zapisano dokumentów -");
    Uwaga(MSG_EXPORT_DONE);
  } else {
    Alarm(MSG_EXPORT_FAILED);
  }
  return count;
}

long ImportujSprzedaz(int rok, const char* katalog) {
  char lines[] = "Z5ESEX  .DBF", headers[] = "Z5SPEX  .DBF", recipients[] = "Z5SOEX  .DBF";
  bool present = true;
  for (char* name : {lines, headers, recipients}) {
    char path[260];
    SetDbfYear(name, rok);
    MergePath(path, sizeof path, MERGE_DIR | MERGE_NAME, katalog, name);
    if (!EnvFileExists(path)) present = false;
  }
  long result = -2;
  bool recipientsOpened = false;
  if (present && OpenRecipients(recipientsOpened) && OpenZ5SPRECopy(lines, 0, katalog, rok) == 0 &&
      OpenZ5SPRZCopy(headers, 0, katalog, rok) == 0 && OpenZ5SOEX(0, katalog, rok) == 0) {
    DbTable* h = Z5SPRZ.table;
    DbTable* l = Z5SPRE.table;
    if (set_lock(h, -1) == 0) {
      if (set_lock(l, -1) == 0) {
        result = ImportOpened(WorkingYear());
        d4flush(l);
        d4unlock(l);
      }
      d4flush(h);
      d4unlock(h);
    }
    if (Z5SPRO.table) d4flush(Z5SPRO.table);
  }
  CloseCopies();
  if (recipientsOpened) d4close(Z5SPRO.table);
  if (result >= 0) {
    SummaryLine("Odczytano dokumentów -");
    Uwaga(MSG_IMPORT_DONE);
  } else if (result == -1) {
    Uwaga(MSG_NO_LINES);
  } else {
    Alarm(MSG_IMPORT_FAILED);
  }
  return result;
}

int eksport_sprzedazy() {
  OpenRunWindow("EXPORT-SPRZEDAŻ");
  add_help_line();
  static const char* const choices[] = {"                           ", "1. wg daty wystawienia     ",
                                        "2. wg daty VAT             ", "3. z niewypełnioną datą VAT", nullptr};
  static const char* const* items = [] {
    static const char* converted[5];
    for (int i = 0; i < 4; i++) converted[i] = Sys(choices[i]);
    return converted;
  }();
  int wybor = get_menu_function(" WYBIERZ ", items, 1, -1, -1);
  bool go = wybor >= 1;
  if (go && wybor != BEZ_DATY_VAT) go = podaj_okres() == 0;
  char directory[DIRECTORY_WIDTH + 1] = {};
  if (go) {
    char proposed[DIRECTORY_WIDTH + 1];
    DefaultDirectory(proposed, salesOptions.exportDir, "c:\\Zelm_eksport");
    go = Podaj_Nazwe_Katalogu(directory, DIRECTORY_WIDTH, proposed) == 1 && Pytanie(MSG_START) != KEY_ESC;
  }
  if (go) EksportujSprzedaz(wybor, okres_raportu.od, okres_raportu.do_, directory);
  remove_help_line();
  CloseRunWindow();
  browse_call(0, d4recno(Z5SPRZ.table));
  return 0;
}

int import_sprzedazy() {
  OpenRunWindow("IMPORT-SPRZEDAŻ");
  add_help_line();
  int year = PodajRokImportu();
  char directory[DIRECTORY_WIDTH + 1] = {};
  bool go = year > 0;
  if (go) {
    char proposed[DIRECTORY_WIDTH + 1];
    DefaultDirectory(proposed, salesOptions.importDir, "c:\\Zelm_import");
    go = Podaj_Nazwe_Katalogu(directory, DIRECTORY_WIDTH, proposed) == 1 && Pytanie(MSG_START) != KEY_ESC;
  }
  if (go) ImportujSprzedaz(year, directory);
  remove_help_line();
  CloseRunWindow();
  browse_call(0, d4recno(Z5SPRZ.table));
  return 0;
}
