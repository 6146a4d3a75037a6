#include "tables/warehouse_tables.h"

#include "tables/opening.h"

TableHandles Z5MAPR, Z5MAWY, Z5MAPE, Z5MAWE;

namespace {
constexpr int HEADER_HANDLES = 25, LINE_HANDLES = 24;
}

int OpenZ5MAPR(int flags) {
  static char name[] = "Z5MAPR  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5MAPR, name, &Z5MAPR, PLACE_FIRM, 0, HEADER_HANDLES}, WorkingYear(), flags);
}

int OpenZ5MAWY(int flags) {
  static char name[] = "Z5MAWY  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5MAPR, name, &Z5MAWY, PLACE_FIRM, 0, HEADER_HANDLES}, WorkingYear(), flags);
}

int OpenZ5MAPE(int flags) {
  static char name[] = "Z5MAPE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5MAPE, name, &Z5MAPE, PLACE_FIRM, 0, LINE_HANDLES}, WorkingYear(), flags);
}

int OpenZ5MAWE(int flags) {
  static char name[] = "Z5MAWE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5MAPE, name, &Z5MAWE, PLACE_FIRM, 0, LINE_HANDLES}, WorkingYear(), flags);
}
