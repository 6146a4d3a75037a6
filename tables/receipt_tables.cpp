#include "tables/receipt_tables.h"

#include "tables/opening.h"

TableHandles Z5PARA, Z5PARE, Z5PARO;

int OpenZ5PARA(int flags) {
  static char name[] = "Z5PARA  .DBF";
  TableSpec spec{&LAYOUT_Z5PARA, name, &Z5PARA, PLACE_FIRM, 0};
  spec.fields = 23;    // RE2 is never read or written
  return OpenTable(spec, WorkingYear(), flags);
}

int OpenZ5PARE(int flags) {
  static char name[] = "Z5PARE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PARE, name, &Z5PARE, PLACE_FIRM, 0}, WorkingYear(), flags);
}

int OpenZ5PARO(int flags) {
  static char name[] = "Z5PARO  .DBF";
  TableSpec spec{&LAYOUT_Z5PARO, name, &Z5PARO, PLACE_FIRM, 0};
  spec.fields = 23;
  return OpenTable(spec, WorkingYear(), flags);
}

int SeekParagonLinesByRek(long rek) { return SeekNumber(Z5PARE, 4, rek, 7); }
