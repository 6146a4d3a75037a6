#include "tables/cash_tables.h"

#include "tables/opening.h"

TableHandles Z5KASA, Z5ROZL, Z5PLEW, Z5ODUS, Z5ZAPO, Z5DNWO;

int OpenZ5KASA(int flags) {
  static char name[] = "Z5KASA.DBF";
  if (Z5KASA.table != nullptr) {
    Z5KASA.table->open_count++;
    return 0;
  }
  return OpenTable(TableSpec{&LAYOUT_Z5KASA, name, &Z5KASA, PLACE_FIRM, 0, 33, -1, 1}, NO_YEAR, flags);
}

int OpenZ5ROZL(int flags) {
  static char name[] = "Z5ROZL.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ROZL, name, &Z5ROZL, PLACE_FIRM, 0, 22, -1, 2}, NO_YEAR, flags);
}

int OpenZ5PLEW(int flags) {
  static char name[] = "Z5PLEW  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PLEW, name, &Z5PLEW, PLACE_FIRM, 0}, WorkingYear(), flags);
}

int OpenZ5ODUS(int flags) {
  static char name[] = "Z5ODUS.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ODUS, name, &Z5ODUS, PLACE_COMMON, 366, -1, -1, 1}, NO_YEAR, flags);
}

int OpenZ5ZAPO(int flags) {
  static char name[] = "Z5ZAPO.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ODUS, name, &Z5ZAPO, PLACE_COMMON, 372, -1, -1, 1}, NO_YEAR, flags);
}

int OpenZ5DNWO(int flags) {
  static char name[] = "Z5DNWO.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5DNWO, name, &Z5DNWO, PLACE_COMMON, 358, -1, -1, 1}, NO_YEAR, flags);
}
