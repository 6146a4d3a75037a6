#include "tables/masterdata_tables.h"

#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/db_file.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "env/session/temp_files.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "platform/files.h"
#include "tables/catalogue_seeds.h"
#include "tables/opening.h"

TableHandles Z5TOWA, Z5USLU, Z5KHNT, Z5KONT, Z5OPIS, Z5KRAJ, Z5USKA, Z5KURS;
TableHandles TowaTmp, UslugaTmp;

namespace {

constexpr int KHNT_HANDLES = 42;
constexpr int TOWA_TMP_HANDLES = 55, USLUGA_TMP_HANDLES = 36;
constexpr int LOG_SHARED_KHNT = 361, LOG_OPTION_KHNT = 323;

struct RateChange {
  int ryt, rty;
  double rys;
};
// The old lump-sum rate code gives the new code and its rate; others give 1 and 3.0.
constexpr RateChange RATE_CHANGES[] = {{1, 3, 8.5}, {2, 2, 5.5}, {4, 8, 15.0}, {5, 9, 17.0},
                                       {6, 5, 10.0}, {7, 4, 12.5}, {8, 4, 8.5}};

// Fills the newer rate columns once: only when the first record has none.
void RecomputeLumpSumRates(TableHandles& set, int ryt, int rty, int rys) {
  DbTable* table = set.table;
  if (d4top(table) != 0 || f4int(set.field[rty]) != 0) return;
  if (set_lock(table, -1) != 0) return;
  for (int rc = d4top(table); rc == 0; rc = d4skip(table, 1)) {
    int code = f4int(set.field[ryt]);
    RateChange change{code, 1, 3.0};
    for (const RateChange& c : RATE_CHANGES)
      if (c.ryt == code) change = c;
    f4assign_int(set.field[rty], change.rty);
    f4assign_double(set.field[rys], change.rys);
    if (d4write(table, d4recno(table)) != 0) break;
  }
  d4unlock(table);
}

struct TempNames {
  char table[13];
  char index[13];
};
TempNames towaNames, uslugaNames;

int MakeTempNames(TempNames& names) {
  for (char* name : {names.table, names.index}) {
    DbFile file{};
    if (open_tmp(&file, name) != 0) return -1;
    if (file.is_open) file4close(&file);
  }
  return 0;
}

int CreateTemp(TempNames& names, const TableLayout& layout, TableHandles& set, int fields, int tags) {
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(layout);
  DbEngine* engine = &EnvCurrent()->engine;
  engine->auto_open_index = 0;
  engine->create_safety = 0;
  engine->error_code = 0;
  int result = -1;
  set.table = d4create(engine, names.table, GetFieldsInfo(), nullptr);
  if (set.table != nullptr) {
    set.table->owner = &set.table;
    set.index = i4create(set.table, names.index, GetTagsInfo());
    if (set.index != nullptr && BindHandles(&set, set.table, set.index, fields, tags, layout))
      result = 0;
    else
      d4close(set.table);
  }
  ReleaseDbfDefinition();
  return result;
}

int RemoveTemp(TempNames& names) {
  for (const char* name : {names.table, names.index})
    if (name[0] != 0) PlatFileDelete(EnvToDiskPath(name).c_str());
  return 0;
}

}  // namespace

int OpenZ5TOWA(int flags) {
  static char name[] = "Z5TOWA  .DBF";
  if (!(flags & OPEN_DBF_MUST_EXIST) && CarryOverPreviousYear(name, 20029) == CARRY_COPIED)
    flags |= OPEN_DBF_REINDEX;
  int result = OpenTable(TableSpec{&LAYOUT_Z5TOWA, name, &Z5TOWA, PLACE_FIRM, 0, -1, 3}, WorkingYear(), flags);
  if (result == 0) RecomputeLumpSumRates(Z5TOWA, TOWA_RYT, TOWA_RTY, TOWA_RYS);
  return result;
}

int OpenZ5USLU(int flags) {
  static char name[] = "Z5USLU.DBF";
  int result = OpenTable(TableSpec{&LAYOUT_Z5USLU, name, &Z5USLU, PLACE_FIRM, 0}, NO_YEAR, flags);
  if (result == 0) RecomputeLumpSumRates(Z5USLU, USLU_RYT, USLU_RTY, USLU_RYS);
  return result;
}

int OpenZ5KHNT(int flags) {
  static char name[] = "Z5KHNT.DBF";
  TableSpec spec{&LAYOUT_Z5KHNT, name, &Z5KHNT, PLACE_FIRM, 0, KHNT_HANDLES};
  char directory[260];
  if (optionSharedContractors == 'T') {
    std::string option(optionContractorsDir, strnlen(optionContractorsDir, sizeof optionContractorsDir));
    if (option.find_first_not_of(' ') == std::string::npos) {
      spec.place = PLACE_COMMON;
      spec.logCode = LOG_SHARED_KHNT;
    } else {
      MergePath(directory, sizeof directory, MERGE_DIR, option.c_str());
      spec.place = PLACE_GIVEN;
      spec.directory = directory;
      spec.logCode = LOG_OPTION_KHNT;
    }
  }
  return OpenTable(spec, NO_YEAR, flags);
}

int OpenZ5KONT(int flags) {
  static char name[] = "Z5KONT.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5KONT, name, &Z5KONT, PLACE_FIRM, 0}, NO_YEAR, flags);
}

int OpenZ5OPIS(int flags) {
  static char name[] = "Z5OPIS.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5OPIS, name, &Z5OPIS, PLACE_FIRM, 0}, NO_YEAR, flags);
}

int OpenZ5KRAJ(int flags) {
  static char name[] = "Z5KRAJ.DBF";
  return OpenSeeded(TableSpec{&LAYOUT_Z5KRAJ, name, &Z5KRAJ, PLACE_COMMON, 362, 10}, flags, SeedCountries);
}

int OpenZ5USKA(int flags) {
  static char name[] = "Z5USKA.DBF";
  return OpenSeeded(TableSpec{&LAYOUT_Z5USKA, name, &Z5USKA, PLACE_COMMON, 371, 13}, flags, SeedTaxOffices);
}

int OpenZ5KURS(int flags) {
  static char name[] = "Z5KURS.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5KURS, name, &Z5KURS, PLACE_COMMON, 363, 7}, NO_YEAR, flags);
}

int NameTowaTmp() { return MakeTempNames(towaNames); }
int NameUslugaTmp() { return MakeTempNames(uslugaNames); }
int CreateTowaTmp() { return CreateTemp(towaNames, LAYOUT_Z5TOWA, TowaTmp, TOWA_TMP_HANDLES, 1); }
int CreateUslugaTmp() { return CreateTemp(uslugaNames, LAYOUT_Z5USLU, UslugaTmp, USLUGA_TMP_HANDLES, -1); }
int RemoveTowaTmp() { return RemoveTemp(towaNames); }
int RemoveUslugaTmp() { return RemoveTemp(uslugaNames); }

int SeekKontoByNum(const char* number) {
  d4tag_select(Z5KONT.table, Z5KONT.tag[0]);
  return d4seek_n(Z5KONT.table, number, (int)std::strlen(number));
}

int SeekKontoByRec(long ident) { return SeekNumber(Z5KONT, 2, ident, 5); }

int SeekOpisByKod(const char* code) {
  char key[5];
  BufCopy(key, sizeof key, QuickStr(code, -1, QS_UPPER));
  d4tag_select(Z5OPIS.table, Z5OPIS.tag[1]);
  return d4seek_n(Z5OPIS.table, key, sizeof key);
}
