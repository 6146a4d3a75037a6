#include "tables/personnel_tables.h"

#include <cstring>

#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "tables/opening.h"

TableHandles Z5PRAC, Z5PENS, Z5PENS_2, Z5PESK, Z5PESK_2, Z5PELI, Z5UMOW, Z5UMPR, Z5SRDN, Z5KZUS, Z5NIEO, Z5ZUSD,
    Z5ZUSP, Z5ZUSR, Z5ZUSS, Z5ZUWS, Z5ZFSS, Z5WSPL, Z5WSSK;

namespace {

constexpr int PESK_KGS = 3, PESK_ROD = 6, PELI_KGS = 0, PELI_ROD = 12;
constexpr int WSPL_PCZ = 19, WSPL_MWS = 189;

bool Blank(DbField* field) {
  const char* p = f4ptr(field);
  for (unsigned i = 0; i < f4len(field); i++)
    if (p[i] != ' ') return false;
  return true;
}

int RodFromKgs(DbField* kgs) {
  const char* p = f4ptr(kgs);
  if (std::strncmp(p, "D31 ", 4) == 0) return 3;
  if (std::strncmp(p, "D221", 4) == 0) return 2;
  return p[0] == 'D' ? 1 : 0;
}

// The newer ROD column is filled once from KGS: only when the first record has none.
void FillRod(TableHandles& set, int kgs, int rod) {
  DbTable* table = set.table;
  if (d4reccount(table) < 1 || d4go(table, 1) != 0 || !Blank(set.field[rod])) return;
  if (set_lock(table, -1) != 0) return;
  for (int rc = d4top(table); rc == 0; rc = d4skip(table, 1)) {
    f4assign_int(set.field[rod], RodFromKgs(set.field[kgs]));
    if (d4write(table, d4recno(table)) != 0) break;
  }
  d4unlock(table);
}

void BlankCarriedPartners() {
  DbTable* table = Z5WSPL.table;
  if (set_lock(table, -1) != 0) return;
  for (int rc = d4top(table); rc == 0; rc = d4skip(table, 1)) {
    f4blank(Z5WSPL.field[WSPL_PCZ]);
    f4blank(Z5WSPL.field[WSPL_MWS]);
    if (d4write(table, d4recno(table)) != 0) break;
  }
  d4unlock(table);
}

}  // namespace

int OpenZ5PRAC(int flags) {
  static char name[] = "Z5PRAC.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PRAC, name, &Z5PRAC, PLACE_FIRM, 0, -1, -1, 1}, NO_YEAR, flags);
}

int OpenZ5PENS(int year, int flags, int set) {
  static char name[] = "Z5PENS  .DBF";
  TableSpec spec{&LAYOUT_Z5PENS, name, set == 1 ? &Z5PENS : &Z5PENS_2, PLACE_FIRM, 0, set == 1 ? 76 : -1, -1, 1};
  return OpenTable(spec, YearOrWorking(year), flags);
}

int OpenZ5PESK(int year, int flags, int set) {
  static char name[] = "Z5PESK  .DBF";
  TableSpec spec{&LAYOUT_Z5PESK, name, set == 1 ? &Z5PESK : &Z5PESK_2, PLACE_FIRM, 0, -1, -1, set == 1 ? 2 : 0};
  int result = OpenTable(spec, YearOrWorking(year), flags);
  if (result == 0 && set != 1) FillRod(Z5PESK_2, PESK_KGS, PESK_ROD);
  return result;
}

int OpenZ5PELI(int flags) {
  static char name[] = "Z5PELI.DBF";
  int result = OpenTable(TableSpec{&LAYOUT_Z5PELI, name, &Z5PELI, PLACE_COMMON, 368, 14}, NO_YEAR, flags);
  if (result == 0) FillRod(Z5PELI, PELI_KGS, PELI_ROD);
  return result;
}

int OpenZ5UMOW(int year, int flags) {
  static char name[] = "Z5UMOW  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5UMOW, name, &Z5UMOW, PLACE_FIRM, 0, -1, -1, 2}, YearOrWorking(year), flags);
}

int OpenZ5UMPR(int flags) {
  static char name[] = "Z5UMPR.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5UMPR, name, &Z5UMPR, PLACE_FIRM, 0}, NO_YEAR, flags);
}

int OpenZ5SRDN(int flags) {
  static char name[] = "Z5SRDN.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5SRDN, name, &Z5SRDN, PLACE_FIRM, 0, -1, -1, 1}, NO_YEAR, flags);
}

int OpenZ5KZUS(int flags) {
  static char name[] = "Z5KZUS.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5KZUS, name, &Z5KZUS, PLACE_COMMON, 364}, NO_YEAR, flags);
}

int OpenZ5NIEO(int year, int flags) {
  static char name[] = "Z5NIEO  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5NIEO, name, &Z5NIEO, PLACE_FIRM, 0, 16}, YearOrWorking(year), flags);
}

int OpenZ5ZUSD(int flags) {
  static char name[] = "Z5ZUSD  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZUSD, name, &Z5ZUSD, PLACE_FIRM, 0, 5, -1, 1}, WorkingYear(), flags);
}

int OpenZ5ZUSP(int flags) {
  static char name[] = "Z5ZUSP  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZUSP, name, &Z5ZUSP, PLACE_FIRM, 0, 8, -1, 1}, WorkingYear(), flags);
}

int OpenZ5ZUSR(int flags) {
  static char name[] = "Z5ZUSR  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZUSR, name, &Z5ZUSR, PLACE_FIRM, 0, 18, -1, 1}, WorkingYear(), flags);
}

int OpenZ5ZUSS(int flags) {
  static char name[] = "Z5ZUSS  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZUSS, name, &Z5ZUSS, PLACE_FIRM, 0, 94, -1, 1}, WorkingYear(), flags);
}

int OpenZ5ZUWS(int year, int flags) {
  static char name[] = "Z5ZUWS  .DBF";
  if (year == 0) return -1;
  return OpenTable(TableSpec{&LAYOUT_Z5ZUWS, name, &Z5ZUWS, PLACE_FIRM, 0, 129, -1, 1}, year, flags);
}

int OpenZ5ZFSS(int flags) {
  static char name[] = "Z5ZFSS  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5ZFSS, name, &Z5ZFSS, PLACE_FIRM, 0, -1, -1, 2}, WorkingYear(), flags);
}

int OpenZ5WSPL(int flags) {
  static char name[] = "Z5WSPL  .DBF";
  CarryOver carry = CarryOverPreviousYear(name, 20030);
  if (!(flags & OPEN_DBF_MUST_EXIST) && (carry == CARRY_COPIED || carry == CARRY_FAILED)) flags |= OPEN_DBF_REINDEX;
  int result = OpenTable(TableSpec{&LAYOUT_Z5WSPL, name, &Z5WSPL, PLACE_FIRM, 0, -1, -1, 1}, WorkingYear(), flags);
  if (result == 0 && carry == CARRY_COPIED) BlankCarriedPartners();
  return result;
}

int OpenZ5WSPLPrev(int flags) {
  static char name[] = "Z5WSPL  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5WSPL, name, &Z5WSPL, PLACE_FIRM, 0, -1, -1, 1}, WorkingYear() - 1, flags);
}

int OpenZ5WSSK(int flags) {
  static char name[] = "Z5WSSK  .DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5WSSK, name, &Z5WSSK, PLACE_FIRM, 0, 10}, WorkingYear(), flags);
}
