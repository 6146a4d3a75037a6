// Operator tables in a program directory of their own, seeded with
// operators and full names.
#pragma once
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/operator_block.h"
#include "tables/firm_tables.h"
#include "tests/tables/tables_fixture.h"

inline std::string Padded(const char* text, size_t width) {
  std::string s(text);
  s.resize(width, ' ');
  return s;
}

inline bool Granted(const unsigned char* rights, int id) { return (rights[id / 8] & (0x80 >> (id % 8))) != 0; }

class OperatorTablesTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("program");
    TransDir(EnvFromDiskPath(dir + "program/").c_str(), &env->programPath);
  }
  // Operators in record order: name, password; each gets every right but the listed ones.
  struct Operator {
    const char* name;
    const char* password;
    std::vector<int> refused;
  };
  void Seed(const std::vector<Operator>& list, const std::vector<std::pair<std::string, int>>& fullNames) {
    ASSERT_EQ(OpenZ5PASS(&pass, 0), 0);
    for (const Operator& o : list) {
      ASSERT_EQ(d4append_start(pass.table, 0), 0);
      d4blank(pass.table);
      char* block = f4assign_ptr(pass.field[1]);
      NewOperatorBlock(block, Padded(o.name, OPERATOR_NAME_BYTES).c_str(), 41);
      OperatorBlockSetPassword(block, Padded(o.password, OPERATOR_PASSWORD_BYTES).c_str());
      std::vector<unsigned char> rights(OPERATOR_RIGHTS_BYTES, 0xFF);
      for (int id : o.refused) rights[id / 8] &= static_cast<unsigned char>(~(0x80 >> (id % 8)));
      OperatorBlockSetRights(block, rights.data());
      ASSERT_EQ(d4append(pass.table), 0);
    }
    d4close(pass.table);
    ASSERT_EQ(OpenZ5PAOS(&paos), 0);
    for (const auto& [name, record] : fullNames) Append(paos, {{0, name}, {1, std::to_string(record)}});
    d4close(paos.table);
  }
  void ForgetOperator() {
    env->operatorNumber = 77;
    std::memset(env->operatorName, 'x', sizeof env->operatorName);
    std::memset(env->operatorPassword, 'x', sizeof env->operatorPassword);
    std::memset(env->firstOperatorPassword, 'x', sizeof env->firstOperatorPassword);
    std::memset(env->rights, 0xFF, RIGHTS_BYTES);
  }
  TableHandles pass{}, paos{};
};

