#include "app/operator_login.h"

#include <cstring>

#include "app/operator_block.h"
#include "app/operator_windows.h"
#include "app/working_date.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "tables/firm_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_NEW_PASSWORD = 13;
constexpr int MSG_SAVE_PASSWORD = 14;

void BlankOperator(Environment* env) {
  std::memset(env->operatorPassword, ' ', sizeof env->operatorPassword);
  std::memset(env->firstOperatorPassword, ' ', sizeof env->firstOperatorPassword);
  std::memset(env->operatorName, 0, sizeof env->operatorName);
  std::memset(env->operatorName, ' ', OPERATOR_NAME_BYTES);
}

const char* Block() { return f4ptr(OperatorRecords.field[OPERATOR_B]); }

// Name, password, full name and rights of the current operator record.
void TakeCurrentOperator(Environment* env) {
  OperatorBlockName(Block(), env->operatorName);
  OperatorBlockPassword(Block(), env->operatorPassword);
  LoadOperatorFullName();
  OperatorBlockRights(Block(), env->rights);
  env->operatorNumber = d4recno(OperatorRecords.table);
}

}  // namespace

TableHandles OperatorRecords, OperatorFullNames;

int OpenOperatorTables() {
  if (OpenZ5PAOS(&OperatorFullNames) != 0) return -1;
  if (OpenZ5PASS(&OperatorRecords, 0) != 0) {
    d4close(OperatorFullNames.table);
    return -1;
  }
  return 0;
}

void CloseOperatorTables() {
  d4close(OperatorRecords.table);
  d4close(OperatorFullNames.table);
}

bool SeekOperatorFullName(long record) {
  DbTable* names = OperatorFullNames.table;
  long count = d4reccount(names);
  for (long n = 1; n <= count; n++) {
    if (d4go(names, n) != 0) return false;
    if (!d4deleted(names) && f4long(OperatorFullNames.field[FULL_NAME_REK]) == record) return true;
  }
  return false;
}

void LoadOperatorFullName() {
  Environment* env = EnvCurrent();
  std::memset(env->operatorFullName, 0, sizeof env->operatorFullName);
  if (!SeekOperatorFullName(d4recno(OperatorRecords.table))) return;
  DbField* naz = OperatorFullNames.field[FULL_NAME_NAZ];
  std::memcpy(env->operatorFullName, f4ptr(naz), f4len(naz));
}

int LoginOperatorByNumber(int n) {
  Environment* env = EnvCurrent();
  BlankOperator(env);
  if (OpenOperatorTables() != 0) return -1;
  int result = -1;
  if (n >= 0 && n <= d4reccount(OperatorRecords.table)) {
    if (n == 0) {
      env->operatorNumber = 0;
      result = 0;
    } else if (d4go(OperatorRecords.table, 1) == 0) {
      OperatorBlockPassword(Block(), env->firstOperatorPassword);
      if (d4go(OperatorRecords.table, n) == 0) {
        TakeCurrentOperator(env);
        result = 0;
      }
    }
  }
  CloseOperatorTables();
  return result;
}

int LoginOperator(const char* name, const char* password) {
  Environment* env = EnvCurrent();
  BlankOperator(env);
  if (OpenOperatorTables() != 0) return -1;
  int result = 0;
  long count = d4reccount(OperatorRecords.table);
  if (count == 0) {
    env->operatorNumber = 0;
    result = 1;
  }
  for (long n = 1; n <= count; n++) {
    if (d4go(OperatorRecords.table, n) != 0) break;
    if (d4deleted(OperatorRecords.table)) continue;
    if (n == 1) OperatorBlockPassword(Block(), env->firstOperatorPassword);
    char recordName[OPERATOR_NAME_BYTES];
    OperatorBlockName(Block(), recordName);
    if (std::memcmp(recordName, name, OPERATOR_NAME_BYTES) != 0) continue;
    char own[OPERATOR_PASSWORD_BYTES];
    OperatorBlockPassword(Block(), own);
    if (std::memcmp(own, password, OPERATOR_PASSWORD_BYTES) == 0) {
      TakeCurrentOperator(env);
      result = 1;
    }
    break;
  }
  CloseOperatorTables();
  return result;
}

int ChangePassword(DbTable* table) {
  DbField* field = d4field(table, "B");
  if (field == nullptr) return -1;
  char name[OPERATOR_NAME_BYTES];
  OperatorBlockName(f4ptr(field), name);
  char password[OPERATOR_PASSWORD_BYTES];
  std::memset(password, ' ', sizeof password);
  if (PasswordWindow(name, password, PW_NAME_FIXED | PW_REPEAT, MSG_NEW_PASSWORD) != KEY_F2) return -1;
  if (Pytanie(MSG_SAVE_PASSWORD) == KEY_ESC) return -1;
  OperatorBlockSetPassword(f4assign_ptr(field), password);
  return d4write(table, d4recno(table)) < 0 ? -1 : 0;
}

int StartOperatorAndDate() {
  EnvCurrent()->operatorNumber = 0;
  return AskWorkingDate();
}
