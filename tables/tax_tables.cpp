#include "tables/tax_tables.h"

#include <cstdio>

#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "tables/opening.h"
#include "tables/wait_notice.h"
#include "ui/message_box.h"

TableHandles Z5PIT, Z5PIL, Z5RYT, Z5VATR, Z5PI11, Z5V27, Z5VUE, Z5VZ, Z5NOTY, Z5V7J, Z5LXML;

namespace {

constexpr int FIRST_RYT_YEAR = 2016;       // from here the "RYT" names with 27 more fields
constexpr int OLD_RYT_FIELDS = 75;
constexpr int LAST_VZD_YEAR = 2016;        // up to here the "VZD" names without ADR
constexpr int VZ_UNBOUND_TAIL = 6;         // RN1 to RC1 get no handle
constexpr int VAT_DATA_TYP = 0, VAT_DATA_VER = 1, VAT_DATA_ROK = 3, VAT_DATA_MIE = 4;

bool Quarterly(char period) { return period == 'T'; }

int OpenPeriod(const TableLayout& layout, char* monthly, char* quarterly, TableHandles& set, char period, int year,
               int flags, int fields = -1) {
  TableSpec spec{&layout, Quarterly(period) ? quarterly : monthly, &set, PLACE_FIRM, 0, fields, -1, 1};
  return OpenTable(spec, year, flags);
}

struct VatDataKind {
  int kind;
  const char* name;
  int records;
};
constexpr VatDataKind VAT_DATA_KINDS[] = {{2, "Z5VATK  .DBF", 4}, {5, "Z5VATD  .DBF", 4}, {8, "Z5VAT8  .DBF", 12},
                                          {9, "Z5VAT9  .DBF", 12}, {12, "Z5VA12  .DBF", 12}};
constexpr VatDataKind VAT_DATA_OTHER = {0, "Z5VATM  .DBF", 12};

char VatDataTyp(int kind) { return kind == 2 ? 'K' : kind == 5 ? 'D' : 'M'; }

int VatDataVer(int kind, int year) {
  switch (kind) {
    case 2: return year >= 2015 ? 9 : year >= 2013 ? 7 : 6;
    case 5: return year >= 2015 ? 6 : year >= 2013 ? 4 : 3;
    case 8: return 9;
    case 9: return 8;
    case 12: return 4;
    default: return 18;
  }
}

bool SeedVatData(TableHandles* set, int kind, int year, int records) {
  DbTable* table = set->table;
  if (set_lock(table, -1) != 0) return false;
  bool ok = true;
  if (d4reccount(table) == 0) {
    for (int i = 1; ok && i <= records; i++) {
      ok = d4append_start(table, 0) == 0;
      if (!ok) break;
      d4blank(table);
      f4assign_char(set->field[VAT_DATA_TYP], VatDataTyp(kind));
      f4assign_int(set->field[VAT_DATA_VER], VatDataVer(kind, year));
      f4assign_int(set->field[VAT_DATA_ROK], year);
      f4assign_int(set->field[VAT_DATA_MIE], i);
      ok = d4append(table) == 0;
    }
  }
  d4unlock(table);
  return ok;
}

// The data tables other than kinds 13 and 14, with the definition in force.
int OpenCountedVatData(TableHandles* set, int create, int year, int kind) {
  VatDataKind which = VAT_DATA_OTHER;
  for (const VatDataKind& k : VAT_DATA_KINDS)
    if (k.kind == kind) which = k;
  char name[13];
  std::snprintf(name, sizeof name, "%s", which.name);
  SetDbfYear(name, year);
  const TableLayout& layout = LAYOUT_Z5V7MC;
  if (EnvFileExists(name)) {
    if (open_dbf(name, &set->table, GetFieldsInfo(), nullptr, nullptr, 0) != 0) return -1;
    set->index = nullptr;
    if (set_lock(set->table, -1) != 0) {
      d4close(set->table);
      return -1;
    }
    long count = d4reccount(set->table);
    d4unlock(set->table);
    if (count == which.records) {
      if (BindHandles(set, set->table, nullptr, -1, 0, layout)) return 0;
      d4close(set->table);
      return -1;
    }
    d4close(set->table);
    if (create == 0) {
      MessageWindow(MB_WARNING, 20179, name);
      return -1;
    }
    if (!KeepWrongCountAsBackup(name, count, which.records)) return -1;
  } else if (create == 0) {
    return -1;
  }
  Uwaga(which.records == 4 ? 20149 : 20150);
  if (open_dbf(name, &set->table, GetFieldsInfo(), nullptr, nullptr, OPEN_DBF_RECREATE) != 0) return -1;
  set->index = nullptr;
  if (!BindHandles(set, set->table, nullptr, -1, 0, layout) || !SeedVatData(set, kind, year, which.records)) {
    d4close(set->table);
    return -1;
  }
  return 0;
}

}  // namespace

int OpenZ5PIT(int flags, char period) {
  static char monthly[] = "Z5PITM  .DBF", quarterly[] = "Z5PITK  .DBF";
  return OpenPeriod(LAYOUT_Z5PITM, monthly, quarterly, Z5PIT, period, WorkingYear(), flags);
}

int OpenZ5PIL(int flags, char period) {
  static char monthly[] = "Z5PILM  .DBF", quarterly[] = "Z5PILK  .DBF";
  return OpenPeriod(LAYOUT_Z5PILM, monthly, quarterly, Z5PIL, period, WorkingYear(), flags);
}

int OpenZ5PITPrev(int flags, char period) {
  static char monthly[] = "Z5PITM  .DBF", quarterly[] = "Z5PITK  .DBF";
  return OpenPeriod(LAYOUT_Z5PITM, monthly, quarterly, Z5PIT, period, WorkingYear() - 1, flags);
}

int OpenZ5PILPrev(int flags, char period) {
  static char monthly[] = "Z5PILM  .DBF", quarterly[] = "Z5PILK  .DBF";
  return OpenPeriod(LAYOUT_Z5PILM, monthly, quarterly, Z5PIL, period, WorkingYear() - 1, flags);
}

int OpenZ5RYT(int flags, char period) {
  static char monthly[] = "Z5RYTM  .DBF", quarterly[] = "Z5RYTK  .DBF";
  static char oldMonthly[] = "Z5RYCM  .DBF", oldQuarterly[] = "Z5RYCK  .DBF";
  bool current = WorkingYear() >= FIRST_RYT_YEAR;
  TableSpec spec{&LAYOUT_Z5RYTM, current ? (Quarterly(period) ? quarterly : monthly)
                                         : (Quarterly(period) ? oldQuarterly : oldMonthly),
                 &Z5RYT, PLACE_FIRM, 0, -1, -1, 1};
  if (!current) spec.defined = OLD_RYT_FIELDS;
  return OpenTable(spec, WorkingYear(), flags);
}

int OpenZ5V27(int flags, char period) {
  static char monthly[] = "Z5V27M  .DBF", quarterly[] = "Z5V27K  .DBF";
  return OpenPeriod(LAYOUT_Z5V27M, monthly, quarterly, Z5V27, period, WorkingYear(), flags, 23);
}

int OpenZ5VUE(int flags, char period) {
  static char monthly[] = "Z5VUEM  .DBF", quarterly[] = "Z5VUEK  .DBF";
  return OpenPeriod(LAYOUT_Z5VUEM, monthly, quarterly, Z5VUE, period, WorkingYear(), flags, 19);
}

int OpenZ5VZ(int kind, int flags) {
  static char names[4][11] = {"Z5VZNM.DBF", "Z5VZNK.DBF", "Z5VZDM.DBF", "Z5VZDK.DBF"};
  bool withAdr = WorkingYear() > LAST_VZD_YEAR;
  bool quarterly = kind == 2 || kind == 5;
  TableSpec spec{&LAYOUT_Z5VZNM, names[(withAdr ? 0 : 2) + (quarterly ? 1 : 0)], &Z5VZ, PLACE_FIRM, 0};
  spec.fields = LAYOUT_Z5VZNM.fieldCount - VZ_UNBOUND_TAIL - (withAdr ? 0 : 1);
  spec.select = 3;
  if (!withAdr) spec.omit = "ADR";
  return OpenTable(spec, NO_YEAR, flags);
}

int OpenZ5VATR(int flags) {
  static char name[] = "Z5VATR.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5VATR, name, &Z5VATR, PLACE_FIRM, 0}, NO_YEAR, flags);
}

int OpenZ5PI11(int flags) {
  static char name[] = "Z5PI11  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PI11, name, &Z5PI11, PLACE_FIRM, 0, -1, -1, 1}, WorkingYear(), flags);
}

int OpenZ5NOTY(int flags) {
  static char name[] = "Z5NOTY  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5NOTY, name, &Z5NOTY, PLACE_FIRM, 0, -1, -1, 1}, WorkingYear(), flags);
}

int OpenZ5V7J(int flags, int kind) {
  static char monthly[] = "Z5V7JM  .DBF", quarterly[] = "Z5V7JK  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5V7JM, kind == 13 ? monthly : quarterly, &Z5V7J, PLACE_FIRM, 0, 91, -1, 2},
                   WorkingYear(), flags);
}

int OpenZ5LXML(int flags) {
  static char name[] = "Z5LXML.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5LXML, name, &Z5LXML, PLACE_COMMON, 365, 15, -1, 1}, NO_YEAR, flags);
}

int OpenVatDataTable(TableHandles* handles, int create, int year, int kind, int flags) {
  static char monthly[] = "Z5V7MC  .DBF", quarterly[] = "Z5V7KW  .DBF";
  if (year == 0) return -1;
  if (kind == 13 || kind == 14)
    return OpenTable(TableSpec{&LAYOUT_Z5V7MC, kind == 13 ? monthly : quarterly, handles, PLACE_FIRM, 0, -1, -1, 1},
                     year, flags);
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(LAYOUT_Z5V7MC, -1, nullptr, false);
  DbEngine* engine = &EnvCurrent()->engine;
  engine->auto_open_index = 0;
  engine->create_safety = 0;
  engine->error_code = 0;
  int result = OpenCountedVatData(handles, create, year, kind);
  ReleaseDbfDefinition();
  return result;
}

int ImportZ5VZOld(int kind) {
  const char* name = kind == 2 || kind == 5 ? "Z5VZDK.DBF" : "Z5VZDM.DBF";
  if (!EnvFileExists(name)) return 0;
  DbTable* old = d4open(&EnvCurrent()->engine, name);
  if (old == nullptr) return -1;
  int previous = ShowWaitNotice();
  DbTable* current = Z5VZ.table;
  for (int rc = d4top(old); rc == 0; rc = d4skip(old, 1)) {
    if (d4append_start(current, 0) != 0) break;
    d4blank(current);
    for (int j = 1; j <= d4num_fields(old); j++) {
      DbField* source = d4field_j(old, j);
      int target = d4field_number(current, f4name(source));
      if (target > 0) f4assign_field(d4field_j(current, target), source);
    }
    if (d4deleted(old)) d4delete(current);
    if (d4append(current) != 0) break;
  }
  d4close(old);
  HideWaitNotice(previous);
  return 0;
}
