// Fixtures of the catalogue tests: the headless screen, the engine, the
// program's message tables, working year 2026, a firm directory "firma" as
// the current directory and a common directory "wspolne" in the main options.
#pragma once
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/program_messages.h"
#include "db/db_engine.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/paths.h"
#include "platform/files.h"
#include "tables/catalogue.h"
#include "tests/ui/ui_fixture.h"

// Field values of a new record: field position from 0, text (numbers as digits).
using Values = std::vector<std::pair<int, std::string>>;

inline void Append(TableHandles& set, const Values& values) {
  ASSERT_EQ(d4append_start(set.table, 0), 0);
  d4blank(set.table);
  for (const auto& [field, value] : values) {
    if (f4type(set.field[field]) == 'N')
      f4assign_double(set.field[field], std::stod(value));
    else
      f4assign(set.field[field], value.c_str());
  }
  ASSERT_EQ(d4append(set.table), 0);
}

// Field values by name (numbers as digits).
using Named = std::vector<std::pair<const char*, std::string>>;

inline void SetNamed(TableHandles& set, const Named& values) {
  for (const auto& [name, value] : values) {
    DbField* field = d4field(set.table, name);
    ASSERT_NE(field, nullptr) << name;
    if (f4type(field) == 'N')
      f4assign_double(field, std::stod(value));
    else
      f4assign(field, value.c_str());
  }
}

// A new record with the named fields set, the others blank.
inline void AppendNamed(TableHandles& set, const Named& values) {
  ASSERT_EQ(d4append_start(set.table, 0), 0);
  d4blank(set.table);
  SetNamed(set, values);
  ASSERT_EQ(d4append(set.table), 0);
}

// A field's text without its outer blanks.
inline std::string Trim(DbField* field) {
  std::string s(f4ptr(field), f4len(field));
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

class TablesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    d4init(&env->engine);
    RegisterProgramMessages();
    env->settlementYear = 2026;
    MakeDir("wspolne");
    std::strcpy(env->sharedCatalogueDir, EnvFromDiskPath(dir + "wspolne").c_str());
    MakeDir("firma");
    firm = dir + "firma/";
    TransDir(EnvFromDiskPath(firm).c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    optionSharedContractors = 'N';
    std::memset(optionContractorsDir, ' ', sizeof optionContractorsDir - 1);
  }
  void TearDown() override {
    env->engine.error_code = 0;
    d4close_all(&env->engine);
    d4init_undo(&env->engine);
    UiTest::TearDown();
  }
  void MakeDir(const std::string& name) { ASSERT_EQ(mkdir((dir + name).c_str(), 0775), 0); }
  bool Exists(const std::string& path) { return PlatFileExists(path.c_str()); }
  static std::string Text(DbField* field) { return std::string(f4ptr(field), f4len(field)); }

  std::string firm;    // the firm directory, current during the test
};
