#include "tables/sales_tables.h"

#include "tables/opening.h"

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
