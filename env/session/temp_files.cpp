#include "env/session/temp_files.h"

#include <cstdio>
#include <cstring>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_file.h"
#include "env/paths.h"
#include "env/session/environment.h"

namespace {

constexpr int MSG_TEMPORARY_FILE = 50173;
constexpr int TEMP_NAMES = 1000;

}  // namespace

int open_tmp(DbFile* file, char* name) {
  if (name[0]) return 0;
  Environment* env = EnvCurrent();
  if (!env) return -1;
  DbEngine* engine = &env->engine;
  const int reportCreateErrors = engine->report_create_errors;
  const int exclusive = engine->exclusive;
  const int createSafety = engine->create_safety;
  engine->report_create_errors = 0;
  engine->exclusive = 1;
  engine->create_safety = 1;

  int result = -1;
  bool allTaken = true;
  for (int number = 0; number < TEMP_NAMES; ++number) {
    char candidate[16];
    std::snprintf(candidate, sizeof candidate, "TEMP%04d.TMP", number);
    if (EnvFileExists(candidate)) continue;
    if (file4create(file, engine, candidate, 1) == 0) {
      file4close(file);
      std::strcpy(name, candidate);
      result = 0;
    } else if (EnvFileExists(candidate)) {
      continue;      // taken between the test and the creation
    }
    allTaken = false;
    break;
  }

  engine->report_create_errors = reportCreateErrors;
  engine->exclusive = exclusive;
  engine->create_safety = createSafety;
  if (allTaken) e4show_error(engine, e4create, TextRef(MSG_TEMPORARY_FILE));
  if (result != 0) name[0] = '\0';
  return result;
}
