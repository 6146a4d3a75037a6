#include "sales/work_copies.h"

#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "platform/clock.h"
#include "sales/document_header.h"
#include "sales/numbering.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"

namespace {

constexpr int MSG_NO_LINES = 50007;   // " Brak pozycji !"
constexpr int HOLD_TRIES = 100, HOLD_WAIT_MS = 100;   // about ten seconds

DbField* F(DbTable* t, const char* name) { return d4field(t, name); }
int Register() { return salesContext ? salesContext->rejestr : 1; }

std::string DataDirectory() {
  Environment* env = EnvCurrent();
  return std::string(env->dataPath.drive) + env->dataPath.dir + env->dataPath.name + env->dataPath.ext;
}

bool AppendByteCopy(DbTable* target, DbTable* source) {
  if (d4append_start(target, 0) != 0) return false;
  std::memcpy(d4record(target), d4record(source), d4record_width(source));
  return true;
}

void Failed(const char* utf8) { Alarm(Utf8ToMazText(utf8).c_str()); }

// The record count + 1 the new record's REC takes.
long NextRec(DbTable* t) { return d4reccount(t) + 1; }

bool FreeNumber(DbTable* header) { return f4char(F(header, "RE4")) == 'N'; }

// The common changes of a new header: own number, kind, document number and
// the new date in every date of the document.
void NewHeader(DbTable* h) {
  const kontekst_sprzedazy& c = *salesContext;
  f4assign_long(F(h, "REC"), NextRec(h));
  f4assign_int(F(h, "TYV"), c.kind);
  if (FreeNumber(h)) {
    FldCopyString(F(h, "OSM"), c.freeNumber);
  } else {
    wpisz_numer_do_naglowka(F(h, "PRE"), F(h, "NRV"), F(h, "POS"), &c.next);
    f4blank(F(h, "OSM"));
  }
  for (const char* date : {"DAW", "DAS", "DAV", "DPL"}) f4assign_n(F(h, date), c.newIssueDate, 8);
  set_pass_inf(0, F(h, "INF"));
}

void NewLine(DbTable* l, DbTable* h) {
  f4assign_long(F(l, "REK"), f4long(F(h, "REC")));
  f4assign_long(F(l, "REC"), NextRec(l));
  f4assign_int(F(l, "TYV"), f4int(F(h, "TYV")));
  for (const char* part : {"PRE", "NRV", "POS", "DAW", "DAV"})
    f4assign_n(F(l, part), f4ptr(F(h, part)), f4len(F(h, part)));
  if (FreeNumber(h))
    f4assign_n(F(l, "RE1"), f4ptr(F(h, "OSM")), f4len(F(l, "RE1")));
  f4assign_char(F(l, "STA"), 'N');
  set_pass_inf(0, F(l, "INF"));
}

int CopyRecipient(long sourceRec, long newRec) {
  if (!SoexCopy.table || SeekSoexByRek(Register(), sourceRec) != 0) return 0;
  DbTable* recipients = Z5SPRO.table;
  if (!recipients || !AppendByteCopy(recipients, SoexCopy.table)) return -1;
  f4assign_long(F(recipients, "REK"), newRec);
  f4assign_long(F(recipients, "REC"), NextRec(recipients));
  return d4append(recipients) == 0 ? 0 : -1;
}

// Another workstation's run holds the copies for a moment: its turn ends
// before ours begins. Each refused create is quiet; the caller reports the
// last.
template <class Open>
int WaitingForOtherRuns(Open open) {
  DbEngine& engine = EnvCurrent()->engine;
  int reported = engine.report_create_errors;
  engine.report_create_errors = 0;
  int result = -1;
  for (int attempt = 0; attempt < HOLD_TRIES && result != 0; attempt++) {
    if (attempt > 0) PlatWaitMs(HOLD_WAIT_MS);
    result = open();
  }
  engine.report_create_errors = reported;
  return result;
}

}  // namespace

int OpenWorkCopies() {
  return WaitingForOtherRuns([] {
    static char lines[] = "Z5ESEX  .DBF";
    static char headers[] = "Z5SPEX  .DBF";
    std::string directory = DataDirectory();
    if (OpenZ5SPRECopy(lines, 1, directory.c_str(), 0) != 0) return -1;
    if (OpenZ5SPRZCopy(headers, 1, directory.c_str(), 0) != 0) {
      d4close(SpreCopy.table);
      return -1;
    }
    if (OpenZ5SOEX(1, directory.c_str(), 0) != 0) {
      d4close(SprzCopy.table);
      d4close(SpreCopy.table);
      return -1;
    }
    return 0;
  });
}

int OpenRecipientWorkCopy() {
  return WaitingForOtherRuns([] { return OpenZ5SOEX(1, DataDirectory().c_str(), 0); });
}

void CloseWorkCopies() {
  for (TableHandles* copy : {&SoexCopy, &SprzCopy, &SpreCopy})
    if (copy->table) d4close(copy->table);
}

int kopiuj_do_kopii_roboczej() {
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  long rec = f4long(F(h, "REC"));
  DbTag* remembered = d4tag_selected(l);
  int rc = SeekSalesLinesByRek(rec);
  int result = rc < 0 ? -1 : 0;
  int count = 0;
  for (; result == 0 && rc == 0 && !d4eof(l) && f4long(F(l, "REK")) == rec; rc = d4skip(l, 1), count++)
    if (!AppendByteCopy(SpreCopy.table, l) || d4append(SpreCopy.table) != 0) result = -1;
  if (rc < 0) result = -1;
  d4tag_select(l, remembered);
  if (result == 0 && count == 0) return 1;
  if (result == 0 && (!AppendByteCopy(SprzCopy.table, h) || d4append(SprzCopy.table) != 0)) result = -1;
  if (result == 0 && szukaj_odbiorcy(Register(), rec) == 0 &&
      (!AppendByteCopy(SoexCopy.table, Z5SPRO.table) || d4append(SoexCopy.table) != 0))
    result = -1;
  return result;
}

int kopia_robocza_dokumentu() {
  if (OpenWorkCopies() != 0) {
    Failed("Eksport zakończony błędnie.");
    return -1;
  }
  int result = kopiuj_do_kopii_roboczej();
  if (result == 1) Uwaga(MSG_NO_LINES);
  if (result < 0) Failed("Eksport zakończony błędnie.");
  if (result != 0) CloseWorkCopies();
  return result;
}

int AppendFromWorkCopies(const AppendRules& rules) {
  DbTable* headers = Z5SPRZ.table;
  DbTable* lines = Z5SPRE.table;
  DbTable* header = SprzCopy.table;
  DbTable* copied = SpreCopy.table;
  d4tag_select(copied, SpreCopy.tag[0]);
  if (d4top(header) != 0 || d4eof(header)) {
    Failed("Import zakończony błędnie.");
    return -1;
  }
  long sourceRec = f4long(F(header, "REC"));
  int rc = d4top(copied);
  if (rc != 0 || d4eof(copied)) {
    Uwaga(MSG_NO_LINES);
    return 1;
  }
  if (f4long(F(copied, "REK")) != sourceRec) {
    Failed("Import zakończony błędnie.");
    return -1;
  }
  if (!AppendByteCopy(headers, header)) {
    Failed("Import zakończony błędnie.");
    return -1;
  }
  NewHeader(headers);
  if (rules.header) rules.header(headers);
  if (d4append(headers) != 0) {
    Failed("Import zakończony błędnie.");
    return -1;
  }
  long record = d4recno(headers);
  long newRec = f4long(F(headers, "REC"));
  int result = 0;
  for (; rc == 0 && !d4eof(copied) && f4long(F(copied, "REK")) == sourceRec; rc = d4skip(copied, 1)) {
    if (!AppendByteCopy(lines, copied)) {
      result = -1;
      break;
    }
    NewLine(lines, headers);
    if (rules.line) rules.line(lines);
    if (d4append(lines) != 0) {
      result = -1;
      break;
    }
    int stock = rules.stock ? rules.stock() : 0;
    if (stock < 0) {
      result = -1;
      break;
    }
    if (stock == 1) {
      f4assign_char(F(lines, "STA"), 'T');
      if (d4write(lines, d4recno(lines)) != 0) {
        result = -1;
        break;
      }
    }
  }
  if (rc < 0) result = -1;
  if (result == 0) result = CopyRecipient(sourceRec, newRec);
  d4flush(lines);
  d4flush(headers);
  if (result != 0) {
    bool removed = WithdrawDocument(record) == 0;
    MessageWindow(MB_ERROR, Utf8ToMazText("Import zakończony błędnie.").c_str(),
                  Utf8ToMazText(removed ? "Rozpoczęty dokument usunięto." : "Rozpoczętego dokumentu nie usunięto.")
                      .c_str());
    return -1;
  }
  return d4go(headers, record) == 0 ? 0 : -1;
}

int WithdrawDocument(long record) {
  DbTable* headers = Z5SPRZ.table;
  if (d4go(headers, record) != 0) return -1;
  long rec = f4long(F(headers, "REC"));
  if (usun_pozycje_dokumentu(Register()) != 0) return -1;
  if (d4go(headers, record) != 0) return -1;
  d4delete(headers);
  int result = d4flush(headers) == 0 ? 0 : -1;
  if (Z5SPRO.table && szukaj_odbiorcy(Register(), rec) == 0) {
    d4delete(Z5SPRO.table);
    if (d4flush(Z5SPRO.table) != 0) result = -1;
  }
  return result;
}
