// Fixtures of the sales tests: the main register's headers and lines of
// working year 2026 in a firm directory, a register context, and the boxes
// the routines showed (no screen is open, so messages become system boxes).
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/option_sets.h"
#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "tests/app/box_recorder.h"
#include "tests/app/screen_shots.h"
#include "tests/sales/sales_seed.h"
#include "tests/support/env_test.h"
#include "tests/support/lock_wait_signal.h"
#include "tests/ui/ui_fixture.h"

// Assertions around the seeding steps.
inline void SetFields(DbTable* table, Fields fields) {
  const char* missing = AssignFields(table, fields);
  ASSERT_EQ(missing, nullptr) << missing;
}

// Appends a record of the fields; the table then stands on it.
inline void AppendRecord(DbTable* table, Fields fields) {
  const char* failed = AppendFields(table, fields);
  ASSERT_EQ(failed, nullptr) << failed;
}

inline void AppendSalesDocument(TableHandles& headers, TableHandles& rows, int rec, int kind, const char* prefix,
                                const char* date, Fields header, std::initializer_list<Fields> lines) {
  const char* failed = SeedSalesDocument(headers, rows, rec, kind, prefix, date, header, lines);
  ASSERT_EQ(failed, nullptr) << failed;
}

inline std::string FieldText(DbTable* table, const char* name) {
  DbField* field = d4field(table, name);
  std::string s(f4ptr(field), f4len(field));
  s.erase(s.find_last_not_of(' ') + 1);
  return MazToUtf8Text(s.c_str());
}

// Sets up the firm, the tables and the context; shared by the fixtures with
// and without a screen.
inline void StartSalesTables(Environment* env, const std::string& dir, kontekst_sprzedazy* context) {
  d4init(&env->engine);
  const char* failed = OpenSalesFirm(env, dir, context);
  ASSERT_EQ(failed, nullptr) << failed;
}

// The main register's headers, lines and recipients opened.
inline void OpenMainRegisterWithRecipients() {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
}

inline void StopSalesTables(Environment* env) {
  salesContext = nullptr;
  salesOptions = SalesOptions{};
  env->engine.error_code = 0;
  d4close_all(&env->engine);
  d4init_undo(&env->engine);
}

// A second workstation: a child process with its own opens of the files
// (so that its locks are its own) takes the headers lock and, once the test
// has found it taken (or after 10 s when the test never asks for it), makes `change` (0 when written) and lets go. Gives the child's id
// once the lock is held, -1 when it could not start.
template <typename F>
pid_t StartSecondWorkstation(Environment* env, F change) {
  int ready[2], go[2];
  if (pipe(ready) != 0) return -1;
  if (pipe(go) != 0) {
    close(ready[0]);
    close(ready[1]);
    return -1;
  }
  pid_t other = fork();
  if (other == 0) {
    close(go[1]);
    d4close_all(&env->engine);
    if (OpenZ5SPRZ(0, 0, SALES_MAIN) != 0 || set_lock(Z5SPRZ.table, -1) != 0) _exit(1);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    AwaitLockWait(go[0]);
    int rc = change() || d4flush(Z5SPRZ.table) || d4unlock(Z5SPRZ.table);
    _exit(rc == 0 ? 0 : 1);
  }
  close(ready[1]);
  close(go[0]);
  char byte = 0;
  bool holding = other > 0 && read(ready[0], &byte, 1) == 1;
  close(ready[0]);
  if (!holding) {
    close(go[1]);
    return -1;
  }
  SignalAtFirstLockWait(go[1]);
  return other;
}

// Waits for the second workstation; true when its change was stored.
inline bool SecondWorkstationDone(pid_t other) {
  StopLockWaitSignal();
  int status = 0;
  waitpid(other, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SalesTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    if (HasFatalFailure()) return;
    StartSalesTables(env, dir, &context);
  }
  void TearDown() override {
    StopSalesTables(env);
    EnvTest::TearDown();
  }
  std::string Boxes() { return boxes.Take(); }
  void Header(Fields fields) { AppendRecord(Z5SPRZ.table, fields); }
  void Line(Fields fields) { AppendRecord(Z5SPRE.table, fields); }

  kontekst_sprzedazy context{};
  BoxRecorder boxes;
};

// The same on the headless screen; F9 in a key script takes a screen shot
// into `seen`.
class SalesScreenTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    StartSalesTables(env, dir, &context);
    if (HasFatalFailure()) return;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  void TearDown() override {
    g4set_key_to(KEY_F9, nullptr);
    StopSalesTables(env);
    UiTest::TearDown();
  }

  kontekst_sprzedazy context{};
};
