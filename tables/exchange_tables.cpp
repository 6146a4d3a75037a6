#include "tables/exchange_tables.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/db_names.h"
#include "db/dbf_records.h"
#include "env/numbers.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "platform/files.h"
#include "tables/opening.h"

TableHandles SprzCopy, SpreCopy, SoexCopy, KasaCopy, RozlCopy, KontCopy, KhntCopy, OpisCopy, PawlCopy;
TableHandles Z5MAEX, Z5EMEX, Z5SPISEX;
TableHandles Z5ESPP, Z5ESZT, Z5ESMA, Z5KONTE, Z5KONTES, UeTmp, UeErr;

namespace {

using Names = std::initializer_list<const char*>;

DbEngine* ClearedEngine() {
  DbEngine* engine = &EnvCurrent()->engine;
  engine->auto_open_index = 0;
  engine->create_safety = 0;
  engine->error_code = 0;
  return engine;
}

std::string WithExt(std::string name, const char* ext) {
  char buffer[260];
  std::snprintf(buffer, sizeof buffer, "%s", name.c_str());
  u4name_ext(buffer, sizeof buffer, ext, 1);
  return buffer;
}

std::string Joined(const char* directory, const char* name) {
  char path[260];
  return MergePath(path, sizeof path, MERGE_DIR | MERGE_NAME, directory, name);
}

bool BindNamed(TableHandles& set, Names names) {
  int i = 0;
  for (const char* name : names) set.field[i++] = d4field(set.table, name);
  return set.table->engine->error_code == 0;
}

bool BindFirst(TableHandles& set, int count) {
  for (int i = 0; i < count; i++) set.field[i] = d4field_j(set.table, i + 1);
  return set.table->engine->error_code == 0;
}

void Own(TableHandles& set, DbTable* table) {
  set.table = table;
  set.index = nullptr;
  if (table != nullptr) table->owner = &set.table;
}

int Failed(TableHandles& set) {
  if (set.table != nullptr) d4close(set.table);
  return -1;
}

// A copy with an index: created anew with create 1 (or `missingCreates` and no
// file), else opened through the definition interface with the name's own
// extension. `index` NULL: no index at all. An `exclusive` copy is held by
// this workstation alone until it is closed.
int OpenCopy(const TableLayout& layout, const std::string& path, const char* index, bool create, TableHandles& set,
             bool exclusive = false) {
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(layout, -1, nullptr, index != nullptr);
  DbEngine* engine = ClearedEngine();
  int wasExclusive = engine->exclusive;
  if (create && exclusive) engine->exclusive = 1;
  int result = 0;
  if (create) {
    Own(set, d4create(engine, path.c_str(), GetFieldsInfo(), nullptr));
    if (set.table == nullptr) result = -1;
    if (result == 0 && index != nullptr) {
      set.index = i4create(set.table, index, GetTagsInfo());
      if (set.index == nullptr) result = Failed(set);
    }
  } else if (open_dbf(path.c_str(), &set.table, GetFieldsInfo(), index != nullptr ? &set.index : nullptr,
                      index != nullptr ? GetTagsInfo() : nullptr, OPEN_DBF_KEEP_EXT) != 0) {
    result = -1;
  }
  engine->exclusive = wasExclusive;
  if (result == 0 && index == nullptr) set.index = nullptr;
  if (result == 0 && set.index != nullptr) set.tag[0] = d4tag(set.table, "1");
  ReleaseDbfDefinition();
  return result;
}

// The copies and creators that go straight to d4create or d4open.
int CreateOrOpen(const TableLayout& layout, const std::string& path, bool create, TableHandles& set,
                 bool exclusive = false) {
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(layout, -1, nullptr, false);
  DbEngine* engine = ClearedEngine();
  int wasExclusive = engine->exclusive;
  if (exclusive) engine->exclusive = 1;
  Own(set, create ? d4create(engine, path.c_str(), GetFieldsInfo(), nullptr) : d4open(engine, path.c_str()));
  engine->exclusive = wasExclusive;
  ReleaseDbfDefinition();
  engine->error_code = 0;
  return set.table != nullptr ? 0 : -1;
}

int CopyYear(int create, int year) { return create == 1 ? WorkingYear() : year; }

// A per-run export: created anew in the current directory, with its index
// when the layout has tags; every handle bound.
int CreateExport(const TableLayout& layout, char* name, int year, TableHandles& set, int handles = -1,
                 bool exclusive = false) {
  if (year != NO_YEAR) SetDbfYear(name, year);
  // A fixed name another workstation is using is refused, never emptied under it.
  if (CreateOrOpen(layout, name, true, set, exclusive) != 0) return -1;
  if (layout.tagCount > 0) {
    if (AllocDbfDefinition() == nullptr) return Failed(set);
    DefineLayout(layout);
    DbEngine* engine = set.table->engine;
    int wasExclusive = engine->exclusive;
    if (exclusive) engine->exclusive = 1;
    set.index = i4create(set.table, WithExt(name, "MDX").c_str(), GetTagsInfo());
    engine->exclusive = wasExclusive;
    ReleaseDbfDefinition();
    if (set.index == nullptr) return Failed(set);
    for (int i = 0; i < layout.tagCount; i++) set.tag[i] = i4tag(set.index, std::to_string(i + 1).c_str());
  }
  if (!BindFirst(set, handles < 0 ? layout.fieldCount : handles)) return Failed(set);
  return 0;
}

bool CopyMatches(TableHandles& set, int kind, int year, long number) {
  return f4int(set.field[0]) == kind && f4int(set.field[1]) == year && f4long(set.field[2]) == number;
}

}  // namespace

int OpenZ5SPRZCopy(char* pattern, int create, const char* directory, int year) {
  year = CopyYear(create, year);
  if (year == 0) return -1;
  std::string path = Joined(directory, SetDbfYear(pattern, year));
  bool anew = create == 1 || !EnvFileExists(path.c_str());
  if (OpenCopy(LAYOUT_Z5SPRZ, path, nullptr, anew, SprzCopy, create == 1) != 0) return -1;
  return BindNamed(SprzCopy, Names{"REC", "DAW", "TYV", "NRV", "PRE", "POS", "OSM", "NIP", "RE4"}) ? 0
                                                                                                 : Failed(SprzCopy);
}

int OpenZ5SPRECopy(char* pattern, int create, const char* directory, int year) {
  year = CopyYear(create, year);
  if (year == 0) return -1;
  std::string path = Joined(directory, SetDbfYear(pattern, year));
  if (OpenCopy(LAYOUT_Z5ESEX, path, WithExt(path, "MDX").c_str(), create == 1, SpreCopy, true) != 0) return -1;
  return BindNamed(SpreCopy, Names{"REC", "REK"}) ? 0 : Failed(SpreCopy);
}

int OpenZ5SOEX(int create, const char* directory, int year) {
  static char name[] = "Z5SOEX  .DBF";
  year = CopyYear(create, year);
  if (year == 0) return -1;
  std::string path = Joined(directory, SetDbfYear(name, year));
  bool anew = create == 1 || !EnvFileExists(path.c_str());
  if (OpenCopy(LAYOUT_Z5SOEX, path, WithExt(path, "MDX").c_str(), anew, SoexCopy, create == 1) != 0) return -1;
  if (!BindNamed(SoexCopy, Names{"REK"})) return Failed(SoexCopy);
  d4tag_select(SoexCopy.table, SoexCopy.tag[0]);
  return 0;
}

int OpenZ5KASACopy(const char* fileName, int create, const char* directory) {
  std::string path = Joined(directory, fileName);
  if (OpenCopy(LAYOUT_Z5KASAEX, path, WithExt(path, "MDX").c_str(), create == 1, KasaCopy) != 0) return -1;
  return BindNamed(KasaCopy, Names{"TYZ", "ROK", "REK"}) ? 0 : Failed(KasaCopy);
}

int OpenZ5ROZLCopy(const char* fileName, int create, const char* directory) {
  static const TableLayout layout = {LAYOUT_Z5ROZL.fields, LAYOUT_Z5ROZL.fieldCount, LAYOUT_Z5KASAEX.tags, 1};
  std::string path = Joined(directory, fileName);
  if (OpenCopy(layout, path, WithExt(path, "MDX").c_str(), create == 1, RozlCopy) != 0) return -1;
  return BindNamed(RozlCopy, Names{"TYZ", "ROK", "REK"}) ? 0 : Failed(RozlCopy);
}

int OpenZ5KONTCopy(const char* fileName, int create, const char* directory) {
  if (CreateOrOpen(LAYOUT_Z5KONT, Joined(directory, fileName), create == 1, KontCopy) != 0) return -1;
  return BindNamed(KontCopy, Names{"NAZ", "NUM"}) ? 0 : Failed(KontCopy);
}

int OpenZ5KHNTCopy(const char* fileName, int create, const char* directory) {
  if (CreateOrOpen(LAYOUT_Z5KHNT, Joined(directory, fileName), create == 1, KhntCopy) != 0) return -1;
  return BindNamed(KhntCopy, Names{"KOD", "NIP"}) ? 0 : Failed(KhntCopy);
}

int OpenZ5OPISCopy(const char* fileName, int create, const char* directory) {
  if (CreateOrOpen(LAYOUT_Z5OPIS, Joined(directory, fileName), create == 1, OpisCopy) != 0) return -1;
  return BindNamed(OpisCopy, Names{"KOD"}) ? 0 : Failed(OpisCopy);
}

int OpenZ5PAWLCopy(const char* fileName, int create, const char* directory) {
  if (CreateOrOpen(LAYOUT_Z5PAWL, Joined(directory, fileName), create == 1, PawlCopy) != 0) return -1;
  if (!BindNamed(PawlCopy, Names{"NA1", "SKN", "NIP"})) return Failed(PawlCopy);
  d4go(PawlCopy.table, 1);
  return 0;
}

int OpenZ5MAEX(int create, const char* directory) {
  static char name[] = "Z5MAEX  .DBF";
  std::string path = std::string(directory) + SetDbfYear(name, WorkingYear());
  if (CreateOrOpen(LAYOUT_Z5MAPR, path, create == 1, Z5MAEX) != 0) return -1;
  return BindFirst(Z5MAEX, 24) ? 0 : Failed(Z5MAEX);
}

int OpenZ5EMEX(int create, const char* directory) {
  static char name[] = "Z5EMEX  .DBF";
  std::string path = std::string(directory) + SetDbfYear(name, WorkingYear());
  if (CreateOrOpen(LAYOUT_Z5MAPE, path, create == 1, Z5EMEX) != 0) return -1;
  return BindFirst(Z5EMEX, 1) ? 0 : Failed(Z5EMEX);
}

int OpenZ5SPISEX(int create, const char* directory) {
  std::string path = std::string(directory) + "Z5SPISEX.DBF";
  std::string index = std::string(directory) + "Z5SPISEX.MDX";
  if (CreateOrOpen(LAYOUT_Z5SPISEX, path, create == 1, Z5SPISEX) != 0) return -1;
  if (AllocDbfDefinition() == nullptr) return Failed(Z5SPISEX);
  DefineLayout(LAYOUT_Z5SPISEX);
  Z5SPISEX.index = create == 1 ? i4create(Z5SPISEX.table, index.c_str(), GetTagsInfo())
                               : i4open(Z5SPISEX.table, index.c_str(), nullptr);
  ReleaseDbfDefinition();
  if (Z5SPISEX.index == nullptr || Z5SPISEX.index == I4OPEN_DIFFERS) {
    Z5SPISEX.index = nullptr;
    return Failed(Z5SPISEX);
  }
  Z5SPISEX.tag[0] = i4tag(Z5SPISEX.index, "1");
  return BindFirst(Z5SPISEX, 19) && Z5SPISEX.tag[0] != nullptr ? 0 : Failed(Z5SPISEX);
}

namespace {
char esppName[] = "Z5ESPP  .DBF";
}

int CreateZ5ESPP() { return CreateExport(LAYOUT_Z5ESPP, esppName, WorkingYear(), Z5ESPP, -1, true); }

int RemoveZ5ESPP() { return PlatFileDelete(EnvToDiskPath(esppName).c_str()) == PLAT_OK ? 0 : -1; }

int CreateZ5ESZT() {
  static char name[] = "Z5ESZT  .DBF";
  return CreateExport(LAYOUT_Z5ESZT, name, WorkingYear(), Z5ESZT, -1, true);
}

namespace {
char esmaName[] = "Z5ESMA  .DBF";
}

int CreateZ5ESMA() { return CreateExport(LAYOUT_Z5ESMA, esmaName, WorkingYear(), Z5ESMA); }

int RemoveZ5ESMA() { return PlatFileDelete(EnvToDiskPath(esmaName).c_str()) == PLAT_OK ? 0 : -1; }

int CreateZ5KONTE() {
  static char name[] = "Z5KONTE.DBF";
  return CreateExport(LAYOUT_Z5KONTE, name, NO_YEAR, Z5KONTE, -1, true);
}

int CreateZ5KONTES() {
  static char name[] = "Z5KONTES.DBF";
  static const TableLayout noIndex = {LAYOUT_Z5KONTE.fields, LAYOUT_Z5KONTE.fieldCount, nullptr, 0};
  return CreateExport(noIndex, name, NO_YEAR, Z5KONTES, 6, true);
}

int CreateUeTmp() {
  static char name[] = "UE_TMP.DBF";
  return CreateExport(LAYOUT_UE_TMP, name, NO_YEAR, UeTmp);
}

int CreateUeErr() {
  static char name[] = "UE_ERR.DBF";
  return CreateExport(LAYOUT_UE_ERR, name, NO_YEAR, UeErr);
}

int SeekEsexByRek(long rek) { return SeekNumber(SpreCopy, 1, rek, 7); }

int SeekKontoExportByRec(long ident) { return SeekNumber(Z5KONTE, 2, ident, 5); }

int SeekSoexByRek(int registerNumber, long rek) {
  char key[8];
  key[0] = (char)('0' + registerNumber % 10);
  c4ltoa(rek, key + 1, 7);
  d4tag_select(SoexCopy.table, SoexCopy.tag[0]);
  return d4seek_n(SoexCopy.table, key, 8);
}

int KasaCopyMatches(int kind, int year, long number) { return CopyMatches(KasaCopy, kind, year, number) ? 1 : 0; }
int RozlCopyMatches(int kind, int year, long number) { return CopyMatches(RozlCopy, kind, year, number) ? 1 : 0; }
