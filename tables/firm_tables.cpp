#include "tables/firm_tables.h"

#include <string>

#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "env/text_buffers.h"
#include "tables/opening.h"

TableHandles Z5KATA, Z5KAPA, Z5PAWL;

namespace {

constexpr int PAWL_HANDLES = 114;
constexpr int PAWL_NA1 = 0, PAWL_NA2 = 1, PAWL_NIP = 3, PAWL_CNS = 100;

std::string Trimmed(DbField* field) {
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

}  // namespace

int OpenZ5KATA(int flags) {
  static char name[] = "Z5KATA.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5KATA, name, &Z5KATA, PLACE_PROGRAM, 318}, NO_YEAR, flags);
}

int OpenZ5KAPA(int flags) {
  static char name[] = "Z5KAPA.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5KAPA, name, &Z5KAPA, PLACE_PROGRAM, 317, -1, -1, 1}, NO_YEAR, flags);
}

int OpenZ5PASS(TableHandles* handles, int flags) {
  static char name[] = "Z5PASS.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PASS, name, handles, PLACE_PROGRAM, 321}, NO_YEAR, flags) == 0 ? 0 : -1;
}

int OpenZ5PAOS(TableHandles* handles) {
  static char name[] = "Z5PAOS.DBF";
  return OpenTable(TableSpec{&LAYOUT_Z5PAOS, name, handles, PLACE_PROGRAM, 319}, NO_YEAR, 0) == 0 ? 0 : -1;
}

int OpenZ5PAWL() {
  if (AllocDbfDefinition() == nullptr) return -1;
  DefineLayout(LAYOUT_Z5PAWL);
  DbEngine* engine = &EnvCurrent()->engine;
  engine->auto_open_index = 0;
  engine->create_safety = 0;
  engine->error_code = 0;
  const char* name = "Z5PAWL.DBF";
  DbTable* table = EnvFileExists(name) ? d4open(engine, name) : d4create(engine, name, GetFieldsInfo(), nullptr);
  int result = -1;
  if (table != nullptr) {
    Z5PAWL.table = table;
    Z5PAWL.index = nullptr;
    table->owner = &Z5PAWL.table;
    if (!BindHandles(&Z5PAWL, table, nullptr, PAWL_HANDLES, 0, LAYOUT_Z5PAWL) || set_lock(table, -1) != 0) {
      d4close(table);
    } else {
      bool ok = d4reccount(table) > 0 || (d4append_start(table, 0) == 0 && (d4blank(table), d4append(table) == 0));
      d4unlock(table);
      if (ok && d4go(table, 1) == 0)
        result = 0;
      else
        d4close(table);
    }
  }
  ReleaseDbfDefinition();
  return result;
}

char FirmaFlagCNS() {
  char c = (char)f4char(Z5PAWL.field[PAWL_CNS]);
  return c == ' ' ? 'N' : c;
}

void CopyFirmHeaderToEnvironment() {
  Environment* env = EnvCurrent();
  StrCopy(env->ownerName, sizeof env->ownerName, Trimmed(Z5PAWL.field[PAWL_NA1]).c_str());
  StrCopy(env->ownerName2, sizeof env->ownerName2, Trimmed(Z5PAWL.field[PAWL_NA2]).c_str());
  StrCopy(env->ownerNip, sizeof env->ownerNip, Trimmed(Z5PAWL.field[PAWL_NIP]).c_str());
}
