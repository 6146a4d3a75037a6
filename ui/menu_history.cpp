#include "ui/menu_history.h"

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "ui/record_stamp.h"

namespace {

const char kHistName[] = "Z5HIST.DBF";

const DbfFieldDef kHistFields[] = {
    {"COS", 'C', 15, 0}, {"KTO", 'C', 15, 0}, {"DAT", 'D', 8, 0},
    {"OGO", 'C', 8, 0},  {"DGO", 'C', 8, 0},  {nullptr, 0, 0, 0},
};

int Spec(const DbfFieldDef& field) {
  int type = field.type == 'D' ? DBF_SPEC_D : DBF_SPEC_C;
  return field.length << 8 | field.decimals << 4 | type;
}

int EngineError(DbEngine* engine) { return engine->error_code < 0 ? engine->error_code : -1; }

int Append(HistoryHandles* h, const char* text, const char* date, const char* time) {
  if (d4append_start(h->table, 0) != 0) return -1;
  d4blank(h->table);
  ToFieldCopyMaxString(h->cos, text ? text : "");
  ToFieldCopyMaxString(h->kto, EnvCurrent()->operatorName);
  ToFieldCopyMem(h->dat, date, 8);
  ToFieldCopyMem(h->ogo, time, 8);
  if (d4append(h->table) != 0) return -1;
  return d4recno(h->table);
}

int WriteReturn(HistoryHandles* h, int record, const char* time) {
  if (d4go(h->table, record) != 0) return -1;
  ToFieldCopyMem(h->dgo, time, 8);
  return d4write(h->table, record) == 0 ? record : -1;
}

}  // namespace

int open_hist(HistoryHandles* handles, int flags) {
  *handles = HistoryHandles{};
  DbEngine* engine = &EnvCurrent()->engine;
  // Another definition in progress: leave it alone.
  if (AllocDbfDefinition() == nullptr) return EngineError(engine);
  for (const DbfFieldDef* field = kHistFields; field->name; field++) DefineField_(field->name, Spec(*field));
  DefineTag("DTOS(DAT)+OGO");
  DbIndex* index = nullptr;
  int result = open_dbf(kHistName, &handles->table, GetFieldsInfo(), &index, GetTagsInfo(), flags);
  if (result == 0) {
    ResetDbfActivation(handles->table, index);
    handles->fields = kHistFields;
    DbField** fields[] = {&handles->cos, &handles->kto, &handles->dat, &handles->ogo, &handles->dgo};
    for (DbField** field : fields) *field = ActivateField();
    handles->tag = ActivateTag();
    bool bound = handles->tag != nullptr;
    for (DbField** field : fields) bound = bound && *field != nullptr;
    if (!bound || engine->error_code < 0) result = EngineError(engine);
  } else if (result < 0) {
    result = EngineError(engine);
  }
  ReleaseDbfDefinition();
  if (result != 0) {
    if (handles->table) {
      int cause = engine->error_code;
      d4close(handles->table);
      engine->error_code = cause;
    }
    *handles = HistoryHandles{};
    return result;
  }
  d4tag_select(handles->table, handles->tag);
  return 0;
}

int write_hist(int flag, const char* text, int record) {
  Environment* env = EnvCurrent();
  if (env == nullptr || env->menuHistory == 'N' || flag == 0 || record < 0) return -1;
  // The history must not leave a sticky error behind for the menu action.
  int savedError = env->engine.error_code;
  HistoryHandles h;
  int result = -1;
  if (open_hist(&h, 0) == 0) {
    char date[8], time[8];
    StampDateTime(date, time);
    result = record == 0 ? Append(&h, text, date, time) : WriteReturn(&h, record, time);
    if (d4close(h.table) != 0) result = -1;
  }
  env->engine.error_code = savedError;
  return result;
}
