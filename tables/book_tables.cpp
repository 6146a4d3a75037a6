#include "tables/book_tables.h"

#include <cstdio>

#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "tables/opening.h"

TableHandles Z5DANE, Z5RYPR, Z5STAK, Z5STRB;
int Z5STAKYear, Z5STRBYear;

namespace {

// Months 1 to 12 right-aligned, then "**" for the year; STA "A", FIL as given.
bool SeedTotals(DbTable* table, char fil) {
  if (set_lock(table, -1) != 0) return false;
  bool ok = true;
  if (d4reccount(table) == 0) {
    for (int month = 1; ok && month <= TOTALS_RECORDS; month++) {
      char mie[3] = {'*', '*', 0};
      if (month < TOTALS_RECORDS) {
        mie[0] = month < 10 ? ' ' : '1';
        mie[1] = (char)('0' + month % 10);
      }
      ok = d4append_start(table, 0) == 0;
      if (!ok) break;
      d4blank(table);
      f4assign(d4field_j(table, 1), mie);
      f4assign(d4field_j(table, 2), "A");
      f4assign_char(d4field_j(table, 3), fil);
      ok = d4append(table) == 0;
    }
  }
  d4unlock(table);
  return ok;
}

int OpenTotals(const TableLayout& layout, char* pattern, int year, TableHandles& set, int handles, char fil) {
  if (year == 0) return -1;
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(layout, -1, nullptr, false);
  DbEngine* engine = &EnvCurrent()->engine;
  char name[260];
  std::snprintf(name, sizeof name, "%s", SetDbfYear(pattern, year));
  u4name_ext(name, sizeof name, "DBF", 1);
  int result = -1;
  DbTable* table = nullptr;
  bool seeded = false;
  if (EnvFileExists(name)) {
    table = d4open(engine, name);
    if (table != nullptr && set_lock(table, -1) == 0) {
      long count = d4reccount(table);
      if (count == TOTALS_RECORDS) {
        seeded = true;
      } else {
        d4close(table);
        table = nullptr;
        if (!KeepWrongCountAsBackup(name, count, TOTALS_RECORDS)) goto done;
      }
    } else if (table != nullptr) {
      d4close(table);
      goto done;
    } else {
      goto done;
    }
  }
  if (!seeded) {
    engine->create_safety = 0;
    table = d4create(engine, name, GetFieldsInfo(), nullptr);
    if (table == nullptr || !SeedTotals(table, fil)) {
      if (table != nullptr) d4close(table);
      goto done;
    }
  }
  d4unlock(table);
  set.table = table;
  set.index = nullptr;
  table->owner = &set.table;
  if (!BindHandles(&set, table, nullptr, handles, 0, layout)) {
    d4close(table);
    goto done;
  }
  result = 0;
done:
  ReleaseDbfDefinition();
  return result;
}

}  // namespace

int OpenZ5DANE(int year, int flags) {
  static char name[] = "Z5DANE  .DBF";
  if (year == 0) return -1;
  return OpenTable(TableSpec{&LAYOUT_Z5DANE, name, &Z5DANE, PLACE_FIRM, 0}, year, flags);
}

int OpenZ5RYPR(int year, int flags) {
  static char current[] = "Z5RYPR  .DBF";
  static char older[] = "Z5RYCZ  .DBF";
  if (year == 0) return -1;
  bool isNew = year >= NEW_FLAT_RATE_YEAR;
  TableSpec spec{isNew ? &LAYOUT_Z5RYPR : &LAYOUT_Z5RYCZ, isNew ? current : older, &Z5RYPR, PLACE_FIRM, 0};
  return OpenTable(spec, year, flags);
}

int OpenZ5STAK(int year) {
  static char name[] = "Z5STAK  .DBF";
  Z5STAKYear = year;
  return OpenTotals(LAYOUT_Z5STAK, name, year, Z5STAK, 17, ' ');
}

int OpenZ5STRB(int year) {
  static char current[] = "Z5STRB  .DBF";
  static char older[] = "Z5STRY  .DBF";
  Z5STRBYear = year;
  bool isNew = year >= NEW_FLAT_RATE_YEAR;
  return OpenTotals(isNew ? LAYOUT_Z5STRB : LAYOUT_Z5STRY, isNew ? current : older, year, Z5STRB, isNew ? 16 : 13, 'N');
}
