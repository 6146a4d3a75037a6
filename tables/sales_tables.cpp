#include "tables/sales_tables.h"

#include <cstring>
#include <string>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "env/session/environment.h"
#include "tables/exchange_tables.h"
#include "tables/opening.h"
#include "ui/browse.h"
#include "ui/record_stamp.h"

TableHandles Z5SPRZ, Z5SPRZ_2;
TableHandles Z5SPRE, Z5SPRE_2;
TableHandles Z5SPRO, Z5SPRO_2;

namespace {

constexpr int SECOND_SET_HEADER_TAGS = 7;
constexpr int SECOND_SET_LINE_TAGS = 4;
constexpr int CONTRACTOR_DATA_HANDLES = 12;
constexpr int LINES_BY_DOCUMENT_TAG = 4;

// Mode 5 is the one where year 0 does not stand for the working year: such
// a name would carry no year at all, so the opener refuses it.
int SalesYear(int year, int mode) {
  if (mode == SALES_MAIN_SECOND) return year == 0 ? -1 : year;
  return YearOrWorking(year);
}

}  // namespace

int OpenZ5SPRZ(int year, int flags, int mode) {
  static char main[] = "Z5SPRZ  .DBF";
  static char aux[] = "Z5SPOM  .DBF";
  year = SalesYear(year, mode);
  if (year < 0) return -1;
  bool second = mode == SALES_AUX_SECOND || mode == SALES_MAIN_SECOND;
  bool mainRegister = mode == SALES_MAIN || mode == SALES_MAIN_SECOND;
  TableSpec spec{&LAYOUT_Z5SPRZ, mainRegister ? main : aux, second ? &Z5SPRZ_2 : &Z5SPRZ, PLACE_FIRM, 0};
  if (second) spec.tags = SECOND_SET_HEADER_TAGS;
  return OpenTable(spec, year, flags);
}

int OpenZ5SPRE(int year, int flags, int mode) {
  static char main[] = "Z5SPRE  .DBF";
  static char aux[] = "Z5SPOE  .DBF";
  year = SalesYear(year, mode);
  if (year < 0) return -1;
  bool second = mode == SALES_AUX_SECOND || mode == SALES_MAIN_SECOND;
  bool mainRegister = mode == SALES_MAIN || mode == SALES_MAIN_SECOND;
  TableSpec spec{&LAYOUT_Z5SPRE, mainRegister ? main : aux, second ? &Z5SPRE_2 : &Z5SPRE, PLACE_FIRM, 0};
  if (second) spec.tags = SECOND_SET_LINE_TAGS;
  return OpenTable(spec, year, flags);
}

int OpenZ5SPRO(int year, int flags, int mode) {
  static char name[] = "Z5SPRO  .DBF";
  TableSpec spec{&LAYOUT_Z5SPRO, name, mode == SALES_MAIN_SECOND ? &Z5SPRO_2 : &Z5SPRO, PLACE_FIRM, 0};
  spec.fields = CONTRACTOR_DATA_HANDLES;
  spec.select = 1;
  return OpenTable(spec, YearOrWorking(year), flags);
}

int SeekSalesLinesByRek(long rek) { return SeekNumber(Z5SPRE, LINES_BY_DOCUMENT_TAG, rek, 7); }
int SeekSalesLinesByRek2(long rek) { return SeekNumber(Z5SPRE_2, LINES_BY_DOCUMENT_TAG, rek, 7); }

namespace {

// Header fields by position (from 0).
constexpr int SPRZ_SDR = 3, SPRZ_TYV = 8, SPRZ_LPO = 43, SPRZ_DZA = 44, SPRZ_REK = 47, SPRZ_REC = 48, SPRZ_TYM = 56,
              SPRZ_INF = 74;
// Line fields.
constexpr int SPRE_TYV = 3, SPRE_REK = 33, SPRE_REC = 34, SPRE_INF = 58;
constexpr int CORRECTION = 3;
constexpr int REC_WIDTH = 7;

bool AppendByteCopy(DbTable* target, DbTable* source) {
  if (d4append_start(target, 0) != 0) return false;
  std::memcpy(d4record(target), d4record(source), d4record_width(source));
  return true;
}

// The current document's header and lines into the copies SprzCopy/SpreCopy.
int CopyOut() {
  DbTag* remembered = d4tag_selected(Z5SPRE.table);
  d4tag_select(Z5SPRE.table, Z5SPRE.tag[LINES_BY_DOCUMENT_TAG - 1]);
  DbField* headerRec = Z5SPRZ.field[SPRZ_REC];
  long rec = f4long(headerRec);
  int result = 0;
  if (!AppendByteCopy(SprzCopy.table, Z5SPRZ.table)) {
    result = -1;
  } else {
    f4assign_long(SprzCopy.field[0], 1);      // REC
    if (d4append(SprzCopy.table) != 0) result = -1;
  }
  if (result == 0 && d4seek_n(Z5SPRE.table, f4ptr(headerRec), REC_WIDTH) != 0) result = -1;
  for (int rc = 0; result == 0 && rc == 0 && f4long(Z5SPRE.field[SPRE_REK]) == rec; rc = d4skip(Z5SPRE.table, 1)) {
    long count = d4reccount(SpreCopy.table);
    if (!AppendByteCopy(SpreCopy.table, Z5SPRE.table)) {
      result = -1;
      break;
    }
    f4assign_long(SpreCopy.field[0], count + 1);   // REC
    f4assign_long(SpreCopy.field[1], 1);           // REK
    if (d4append(SpreCopy.table) != 0) result = -1;
  }
  d4tag_select(Z5SPRE.table, remembered);
  return result;
}

// Marks deleted what a failed copy-in appended, so no register holds half a document.
void Withdraw(DbTable* table, long from) {
  for (long n = from; n <= d4reccount(table); n++) {
    if (d4go(table, n) != 0) continue;
    d4delete(table);
    d4write(table, n);
  }
}

// The copies into the other register's tables in the second handle set.
int CopyIn(int registerNumber) {
  d4tag_select(SprzCopy.table, nullptr);
  d4tag_select(SpreCopy.table, nullptr);
  if (d4reccount(SpreCopy.table) == 0 || d4top(SprzCopy.table) != 0) return -1;
  int kind = registerNumber == 2 ? 1 : 9;
  DbTable* headers = Z5SPRZ_2.table;
  DbTable* lines = Z5SPRE_2.table;
  long headerCount = d4reccount(headers);
  long firstLine = d4reccount(lines) + 1;
  if (!AppendByteCopy(headers, SprzCopy.table)) return -1;
  DbField** h = Z5SPRZ_2.field;
  bool correction = f4int(h[SPRZ_TYV]) == CORRECTION;
  if (correction) {
    f4assign_int(h[SPRZ_TYM], kind);
  } else {
    f4assign_int(h[SPRZ_TYV], kind);
    f4assign_int(h[SPRZ_SDR], registerNumber == 2 ? 1 : 3);
  }
  long newRec = headerCount + 1;
  f4assign_long(h[SPRZ_REC], newRec);
  f4blank(h[SPRZ_REK]);
  f4blank(h[SPRZ_LPO]);
  f4blank(h[SPRZ_DZA]);
  set_pass_inf(0, h[SPRZ_INF]);
  if (d4append(headers) != 0) return -1;
  int result = 0;
  int rc = d4top(SpreCopy.table);
  for (; rc == 0 && f4long(SpreCopy.field[1]) == 1; rc = d4skip(SpreCopy.table, 1)) {
    long count = d4reccount(lines);
    if (!AppendByteCopy(lines, SpreCopy.table)) {
      result = -1;
      break;
    }
    DbField** l = Z5SPRE_2.field;
    if (!correction) f4assign_int(l[SPRE_TYV], kind);
    f4assign_long(l[SPRE_REK], newRec);
    f4assign_long(l[SPRE_REC], count + 1);
    set_pass_inf(0, l[SPRE_INF]);
    if (d4append(lines) != 0) {
      result = -1;
      break;
    }
  }
  if (rc < 0) result = -1;
  if (result != 0) {
    Withdraw(lines, firstLine);
    Withdraw(headers, headerCount + 1);
  }
  return result;
}

}  // namespace

int CopyDocumentToExchange(int registerNumber) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* current = Z5SPRZ.table;
  // Without a record under the cursor there is nothing to copy.
  if (current == nullptr || d4reccount(current) == 0 || d4eof(current) || d4bof(current)) return 0;
  if (registerNumber == 2) {
    if (OpenZ5SPRE(WorkingYear(), 0, SALES_MAIN_SECOND) != 0) return -1;
    if (OpenZ5SPRZ(WorkingYear(), 0, SALES_MAIN_SECOND) != 0) {
      d4close(Z5SPRE_2.table);
      return -2;
    }
  }
  Environment* env = EnvCurrent();
  std::string directory = std::string(env->dataPath.drive) + env->dataPath.dir + env->dataPath.name + env->dataPath.ext;
  int result = 0;
  if (Z5SPRZ_2.table == nullptr || Z5SPRE_2.table == nullptr) return -1;    // the caller opens them for register 1
  if (set_lock(current, -1) == 0) {
    static char lines[] = "Z5ESEX  .DBF";
    static char headers[] = "Z5SPEX  .DBF";
    if (OpenZ5SPRECopy(lines, 1, directory.c_str(), 0) == 0) {
      if (OpenZ5SPRZCopy(headers, 1, directory.c_str(), 0) == 0) {
        result = CopyOut();
        if (result == 0) result = CopyIn(registerNumber);
        d4close(SprzCopy.table);
      }
      d4close(SpreCopy.table);
    }
    d4unlock(current);
  }
  if (registerNumber == 2) {
    d4close(Z5SPRE_2.table);
    d4close(Z5SPRZ_2.table);
  }
  return result;
}
