#include "tables/opening.h"

#include <cstdio>
#include <string>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/db_names.h"
#include "db/dbf_records.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "platform/files.h"
#include "ui/message_box.h"

char optionSharedContractors = 'N';
char optionContractorsDir[81];

int WorkingYear() {
  Environment* env = EnvCurrent();
  return env != nullptr ? env->settlementYear : 0;
}

int YearOrWorking(int year) { return year == 0 ? WorkingYear() : year; }

bool BindHandles(TableHandles* set, DbTable* table, DbIndex* index, int fields, int tags, const TableLayout& layout) {
  ResetDbfActivation(table, index);
  int fieldCount = CountFieldDefs(GetFieldsInfo());
  if (fields < 0 || fields > fieldCount) fields = fieldCount;
  for (int i = 0; i < fields; i++) set->field[i] = ActivateField();
  if (index != nullptr) {
    if (tags < 0 || tags > layout.tagCount) tags = layout.tagCount;
    for (int i = 0; i < tags; i++) set->tag[i] = ActivateTag();
  }
  return table->engine->error_code == 0;
}

int OpenTable(const TableSpec& spec, int year, int flags) {
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(*spec.layout, spec.defined, spec.omit, spec.withTags);
  Environment* env = EnvCurrent();
  bool moved = false;
  if (spec.place == PLACE_COMMON) {
    SaveDir();
    if (SwitchDir(SWITCH_SHARED_CATALOGUE, spec.logCode) != 0) {
      RestoreDir();
      ReleaseDbfDefinition();
      return -1;
    }
    moved = true;
  } else if (spec.place == PLACE_GIVEN) {
    static PathRecord given;
    TransDir(spec.directory, &given);
    SaveDir();
    if (ChangeDir(&given, spec.logCode, 0) != 0) {
      RestoreDir();
      ReleaseDbfDefinition();
      return -1;
    }
    moved = true;
  } else if (spec.place == PLACE_PROGRAM) {
    SaveDir();
    ChangeDir(&env->programPath, spec.logCode, 0);   // on failure the current directory serves
    moved = true;
  }
  if (year != NO_YEAR) SetDbfYear(spec.name, year);
  bool indexed = spec.withTags && spec.layout->tagCount > 0;
  TableHandles* set = spec.set;
  int result = open_dbf(spec.name, &set->table, GetFieldsInfo(), indexed ? &set->index : nullptr,
                        indexed ? GetTagsInfo() : nullptr, flags);
  if (!indexed) set->index = nullptr;
  if (moved) RestoreDir();
  if (result == 0) {
    if (!BindHandles(set, set->table, set->index, spec.fields, spec.tags, *spec.layout)) {
      d4close(set->table);
      result = -1;
    } else if (spec.select > 0) {
      d4tag_select(set->table, set->tag[spec.select - 1]);
    }
  }
  ReleaseDbfDefinition();
  return result;
}

CarryOver CarryOverPreviousYear(char* pattern, TextRef message) {
  int year = WorkingYear();
  std::string previous = SetDbfYear(pattern, year - 1);
  std::string current = SetDbfYear(pattern, year);
  if (EnvFileExists(current.c_str()) || !EnvFileExists(previous.c_str())) return CARRY_NOT_NEEDED;
  char text[160];
  std::snprintf(text, sizeof text, EnvFindString(message), year);
  if (MessageWindow(MB_QUESTION | MB_YES_ESC, text, 20056) == 27) return CARRY_DECLINED;
  if (EnvFileAccess(previous.c_str()) != 1) {
    Uwaga(20010);
    return CARRY_FAILED;
  }
  // Through a temporary file and a rename: an interrupted copy never leaves
  // half of last year's table under the new name.
  if (PlatFileCopy(EnvToDiskPath(previous.c_str()).c_str(), EnvToDiskPath(current.c_str()).c_str()) != PLAT_OK) {
    Uwaga(20009);
    return CARRY_FAILED;
  }
  return CARRY_COPIED;
}

int SeekNumber(TableHandles& set, int tag, long number, int width) {
  char key[16];
  c4ltoa(number, key, width);
  d4tag_select(set.table, set.tag[tag - 1]);
  return d4seek_n(set.table, key, width);
}

bool KeepWrongCountAsBackup(const char* name, long count, int expected) {
  char backup[260];
  std::snprintf(backup, sizeof backup, "%s", name);
  u4name_ext(backup, sizeof backup, "BAK", 1);
  if (PlatFileRename(EnvToDiskPath(name).c_str(), EnvToDiskPath(backup).c_str()) != PLAT_OK) return false;
  ErrLogMessage(EL_FORMAT | EL_BLANK_BEFORE | EL_FLUSH | EL_CWD, LOG_CONVERSION, "RECCNT(%ld -> %d), %s -> %s", count,
                expected, name, backup);
  return true;
}
