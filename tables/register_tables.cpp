#include "tables/register_tables.h"

#include "db/dbf_records.h"
#include "env/session/field_text.h"
#include "tables/opening.h"

TableHandles Z5SAMO, Z5PRCE, Z5PRZE, Z5RASA, Z5AMOR, Z5DOWO, Z5DOWE, Z5SKUP, Z5WYPO, Z5SPZE;

namespace {

constexpr int AMOR_WPZ = 6, AMOR_DWU = 7, AMOR_WUZ = 8, AMOR_RSO = 10, AMOR_RMO = 11, AMOR_AWO = 12;

void CarryWriteOffs() {
  DbTable* table = Z5AMOR.table;
  DbField** f = Z5AMOR.field;
  for (int rc = d4top(table); rc == 0; rc = d4skip(table, 1)) {
    double awo = f4double(f[AMOR_AWO]);
    FldAddDouble(f[AMOR_DWU], awo);
    double wuz = FldAddDouble(f[AMOR_WUZ], awo);
    if (!(f4double(f[AMOR_WPZ]) > wuz)) {
      f4assign_double(f[AMOR_RSO], 0);
      f4assign_double(f[AMOR_RMO], 0);
    }
    f4assign_double(f[AMOR_AWO], 0);
    if (d4write(table, d4recno(table)) != 0) break;
  }
  d4top(table);
}

}  // namespace

int OpenZ5SAMO(int flags) {
  static char name[] = "Z5SAMO.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5SAMO, name, &Z5SAMO, PLACE_FIRM, 0, -1, -1, 1}, NO_YEAR, flags);
}

int OpenZ5PRCE(int flags) {
  static char name[] = "Z5PRCE.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PRCE, name, &Z5PRCE, PLACE_FIRM, 0}, NO_YEAR, flags);
}

int OpenZ5PRZE(int flags) {
  static char name[] = "Z5PRZE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PRZE, name, &Z5PRZE, PLACE_FIRM, 0, 14, -1, 1}, WorkingYear(), flags);
}

int OpenZ5RASA(int flags) {
  static char name[] = "Z5RASA  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5RASA, name, &Z5RASA, PLACE_FIRM, 0, 19}, WorkingYear(), flags);
}

int OpenZ5AMOR(int flags) {
  static char name[] = "Z5AMOR  .DBF";
  bool copied = !(flags & OPEN_DBF_MUST_EXIST) && CarryOverPreviousYear(name, 20028) == CARRY_COPIED;
  if (copied) flags |= OPEN_DBF_REINDEX;
  int result = OpenTable(TableSpec{&LAYOUT_Z5AMOR, name, &Z5AMOR, PLACE_FIRM, 0, 23}, WorkingYear(), flags);
  if (result == 0 && copied) CarryWriteOffs();
  return result;
}

int OpenZ5DOWO(int flags) {
  static char name[] = "Z5DOWO  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5DOWO, name, &Z5DOWO, PLACE_FIRM, 0, 14}, WorkingYear(), flags);
}

int OpenZ5DOWE(int flags) {
  static char name[] = "Z5DOWE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5DOWE, name, &Z5DOWE, PLACE_FIRM, 0, -1, -1, 1}, WorkingYear(), flags);
}

int OpenZ5SKUP(int flags) {
  static char name[] = "Z5SKUP.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5SKUP, name, &Z5SKUP, PLACE_FIRM, 0, 30}, NO_YEAR, flags);
}

int OpenZ5WYPO(int flags) {
  static char name[] = "Z5WYPO.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5WYPO, name, &Z5WYPO, PLACE_FIRM, 0, 13}, NO_YEAR, flags);
}

int OpenZ5SPZE(int flags) {
  static char name[] = "Z5SPZE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5SPZE, name, &Z5SPZE, PLACE_FIRM, 0, 35}, WorkingYear(), flags);
}
