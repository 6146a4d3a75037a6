#include "app/param_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "env/text_buffers.h"
#include "tables/layouts.h"
#include "ui/message_box.h"

namespace {

constexpr int KEY_LENGTH = 10;
constexpr int LOG_COMMON_PARAMS = 367, LOG_PROGRAM_PARAMS = 320;
constexpr int MSG_READ_FAILED = 20008, MSG_WRITE_FAILED = 20017;

void Fail(ParamTable* ctx, int message) {
  ctx->error = -1;
  MessageWindow(MB_ERROR, message, ctx->section != nullptr ? ctx->section : "");
}

// The value of the type into its field; false for an unknown type.
bool Store(ParamTable* ctx, char type, const void* value, int length) {
  switch (type) {
    case 'C': {
      char text[PARAM_TEXT_MAX];
      int n = std::min(length, PARAM_TEXT_MAX);
      std::memcpy(text, value, (size_t)n);
      std::fill(text + n, text + PARAM_TEXT_MAX, ' ');
      f4assign_n(ctx->fieldCH, text, PARAM_TEXT_MAX);
      return true;
    }
    case 'D': f4assign_double(ctx->fieldDO, *static_cast<const double*>(value)); return true;
    case 'I': f4assign_int(ctx->fieldIN, *static_cast<const int*>(value)); return true;
    case 'L': f4assign_long(ctx->fieldLO, *static_cast<const long*>(value)); return true;
    default: return false;
  }
}

bool KnownType(char type) { return type == 'C' || type == 'D' || type == 'I' || type == 'L'; }

}  // namespace

void DefineParamTable() {
  if (AllocDbfDefinition() == nullptr) return;
  DefineLayout(LAYOUT_PARAM);
}

int OpenParamTable(ParamTable* ctx, const char* fileName, int flags, int place) {
  ctx->error = 0;
  DefineParamTable();
  Environment* env = EnvCurrent();
  int result = 0;
  SaveDir();
  if (place == PARAM_COMMON_DIR)
    result = SwitchDir(SWITCH_SHARED_CATALOGUE, LOG_COMMON_PARAMS);
  else if (place == PARAM_PROGRAM_DIR)
    result = ChangeDir(&env->programPath, LOG_PROGRAM_PARAMS, 0);
  if (result == 0) result = open_dbf(fileName, &ctx->table, GetFieldsInfo(), &ctx->index, GetTagsInfo(), flags);
  RestoreDir();
  if (result == 0) {
    ResetDbfActivation(ctx->table, ctx->index);
    for (DbField** f : {&ctx->fieldK1, &ctx->fieldK2, &ctx->fieldK3, &ctx->fieldTY, &ctx->fieldDO, &ctx->fieldLO,
                        &ctx->fieldIN, &ctx->fieldCH})
      *f = ActivateField();
    ctx->tag = ActivateTag();
    if (env->engine.error_code == 0) d4tag_select(ctx->table, ctx->tag);
  }
  ReleaseDbfDefinition();
  return result;
}

int SeekParam(ParamTable* ctx, int number, char type) {
  char key[KEY_LENGTH + 8];
  std::snprintf(key, sizeof key, "%3d%3d%3d%c", ctx->k1, ctx->k2, number, type);
  return d4seek_n(ctx->table, key, KEY_LENGTH);
}

int AppendParamRecord(ParamTable* ctx, int number, char type) {
  if (d4append_start(ctx->table, 0) != 0) return 0;
  d4blank(ctx->table);
  f4assign_int(ctx->fieldK1, ctx->k1);
  f4assign_int(ctx->fieldK2, ctx->k2);
  f4assign_int(ctx->fieldK3, number);
  f4assign_char(ctx->fieldTY, type);
  return d4append(ctx->table) == 0 ? 1 : 0;
}

void GetParam(ParamTable* ctx, int number, char type, void* value, int length) {
  if (ctx->error != 0) return;
  int found = SeekParam(ctx, number, type);
  if (found < 0) return Fail(ctx, MSG_READ_FAILED);
  if (found == 0) {
    switch (type) {
      case 'C':
        std::memset(value, 0, (size_t)length);
        std::memcpy(value, f4ptr(ctx->fieldCH), (size_t)std::min(length, PARAM_TEXT_MAX));
        return;
      case 'D': *static_cast<double*>(value) = f4double(ctx->fieldDO); return;
      case 'I': *static_cast<int*>(value) = f4int(ctx->fieldIN); return;
      case 'L': *static_cast<long*>(value) = f4long(ctx->fieldLO); return;
      default: return Fail(ctx, MSG_READ_FAILED);
    }
  }
  if (!KnownType(type)) return Fail(ctx, MSG_READ_FAILED);
  if (AppendParamRecord(ctx, number, type) == 0) return;   // the default stays, nothing is stored
  Store(ctx, type, value, length);
  d4write(ctx->table, d4recno(ctx->table));
}

void SetParam(ParamTable* ctx, int number, char type, const void* value, int length) {
  if (ctx->error != 0) return;
  int found = SeekParam(ctx, number, type);
  if (!KnownType(type) || found < 0 || (found > 0 && AppendParamRecord(ctx, number, type) == 0))
    return Fail(ctx, MSG_WRITE_FAILED);
  Store(ctx, type, value, length);
  d4write(ctx->table, d4recno(ctx->table));
}

void GetParamInt(ParamTable* ctx, int number, int* out, int byDefault) {
  *out = byDefault;
  GetParam(ctx, number, 'I', out, 0);
}

void GetParamChar(ParamTable* ctx, int number, char* out, char byDefault) {
  *out = byDefault;
  GetParam(ctx, number, 'C', out, 1);
}

void GetParamText(ParamTable* ctx, int number, char* buffer, int size, int defaultMessage) {
  if (size < 1) return;
  BufCopy(buffer, size - 1, defaultMessage != 0 ? RcQStr(defaultMessage) : "");
  GetParam(ctx, number, 'C', buffer, size - 1);
}

void GetParamDouble(ParamTable* ctx, int number, double* out, double byDefault) {
  *out = byDefault;
  GetParam(ctx, number, 'D', out, 0);
}

void SetParamStr(ParamTable* ctx, int number, const char* text) {
  SetParam(ctx, number, 'C', text, (int)std::strlen(text));
}

void SetParamInt(ParamTable* ctx, int number, int value) { SetParam(ctx, number, 'I', &value, 0); }

void SetParamDouble(ParamTable* ctx, int number, double value) { SetParam(ctx, number, 'D', &value, 0); }

const char* MainOptionsFileName() {
  static char name[14];
  Environment* env = EnvCurrent();
  const char* suffix = env != nullptr && std::strlen(env->hashOption) > 2 ? env->hashOption + 2 : "";
  std::snprintf(name, sizeof name, "Z5PABV%s.DBF", suffix);
  return name;
}
