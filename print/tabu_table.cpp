#include "print/tabu_table.h"

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/dbf_definition.h"
#include "env/session/environment.h"
#include "env/paths.h"

TabuTableHandles Z5TABW;

namespace {

struct FieldSpec {
  const char* name;
  int type;
  int width;
};

const FieldSpec kFields[] = {
    {"WER", DBF_SPEC_C, 3},  {"BAZ", DBF_SPEC_C, 12}, {"POL", DBF_SPEC_C, 8},  {"CZY", DBF_SPEC_N, 2},
    {"TYP", DBF_SPEC_C, 1},  {"RZA", DBF_SPEC_N, 2},  {"KOL", DBF_SPEC_N, 3},  {"WID", DBF_SPEC_N, 2},
    {"NAZ", DBF_SPEC_C, 30}, {"ILK", DBF_SPEC_N, 2},  {"ILP", DBF_SPEC_N, 2},  {"POD", DBF_SPEC_N, 2},
    {"LMA", DBF_SPEC_N, 2},  {"GMA", DBF_SPEC_N, 2},  {"SOD", DBF_SPEC_N, 5},  {"SDO", DBF_SPEC_N, 5},
    {"RE1", DBF_SPEC_C, 20}, {"RE2", DBF_SPEC_N, 3},  {"RE3", DBF_SPEC_C, 20}, {"RE4", DBF_SPEC_N, 3},
    {"RE5", DBF_SPEC_C, 20},
};

int Packed(const char* name) {
  int packed = 0;
  for (int i = 0; i < 4; i++) packed = packed << 8 | (name[i] ? static_cast<unsigned char>(name[i]) : 0);
  return packed;
}

}  // namespace

int open_tabu(int flags) {
  Environment* env = EnvCurrent();
  DbEngine* engine = &env->engine;
  Z5TABW = TabuTableHandles{};
  if (AllocDbfDefinition() == nullptr) return engine->error_code < 0 ? engine->error_code : -1;
  for (const FieldSpec& f : kFields) DefineField(Packed(f.name), f.width << 8 | f.type);
  DefineTag("WER+BAZ+POL");
  SaveDir();
  if (env->separatePrintSettings != 'T') SwitchDir(SWITCH_PRINT_SETTINGS, 0);
  int result = open_dbf("Z5TABW.DBF", &Z5TABW.table, GetFieldsInfo(), &Z5TABW.index, GetTagsInfo(), flags);
  RestoreDir();
  if (result == 0) {
    ResetDbfActivation(Z5TABW.table, Z5TABW.index);
    DbField** fields[] = {&Z5TABW.wer, &Z5TABW.baz, &Z5TABW.pol, &Z5TABW.czy, &Z5TABW.typ, &Z5TABW.rza, &Z5TABW.kol,
                          &Z5TABW.wid, &Z5TABW.naz, &Z5TABW.ilk, &Z5TABW.ilp, &Z5TABW.pod, &Z5TABW.lma, &Z5TABW.gma,
                          &Z5TABW.sod, &Z5TABW.sdo, &Z5TABW.re1, &Z5TABW.re2, &Z5TABW.re3};
    bool bound = true;
    for (DbField** field : fields) bound = (*field = ActivateField()) != nullptr && bound;
    Z5TABW.tag = ActivateTag();
    if (!bound || Z5TABW.tag == nullptr || engine->error_code < 0)
      result = engine->error_code < 0 ? engine->error_code : -1;
  } else if (result < 0 && engine->error_code < 0) {
    result = engine->error_code;
  }
  ReleaseDbfDefinition();
  if (result != 0) {
    if (Z5TABW.table) {
      int cause = engine->error_code;
      d4close(Z5TABW.table);
      engine->error_code = cause;
    }
    Z5TABW = TabuTableHandles{};
    return result;
  }
  d4tag_select(Z5TABW.table, Z5TABW.tag);
  return 0;
}

void close_tabu() {
  if (Z5TABW.table) d4close(Z5TABW.table);
  Z5TABW = TabuTableHandles{};
}
