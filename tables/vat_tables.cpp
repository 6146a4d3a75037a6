#include "tables/vat_tables.h"

#include <cstdio>

#include "tables/opening.h"

TableHandles Z5ZAKU, Z5ZAKE, Z5VOSS, Z5DEKL, JpkWork;

int OpenZ5ZAKU(int year, int flags) {
  static char name[] = "Z5ZAKU  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZAKU, name, &Z5ZAKU, PLACE_FIRM, 0, 62}, YearOrWorking(year), flags);
}

int OpenZ5ZAKE(int year, int flags) {
  static char name[] = "Z5ZAKE  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZAKE, name, &Z5ZAKE, PLACE_FIRM, 0}, YearOrWorking(year), flags);
}

int OpenZ5VOSS(int flags) {
  static char name[] = "Z5VOSS  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5VOSS, name, &Z5VOSS, PLACE_FIRM, 0, -1, -1, 1}, WorkingYear(), flags);
}

int OpenZ5DEKL(int flags) {
  static char name[] = "Z5DEKL.DBF";
  int result = OpenTable(TableSpec{&LAYOUT_Z5DEKL, name, &Z5DEKL, PLACE_COMMON, 359, -1, -1, 1}, NO_YEAR, flags);
  return result == 0 ? 0 : -1;
}

int OpenJpkWorkTable(const char* directory, const char* fileName, int flags) {
  static char name[260];
  std::snprintf(name, sizeof name, "%s", fileName);
  TableSpec spec{&LAYOUT_JPK_WORK, name, &JpkWork, directory != nullptr ? PLACE_GIVEN : PLACE_FIRM, 316, -1, -1, 1};
  spec.directory = directory;
  return OpenTable(spec, NO_YEAR, flags);
}
