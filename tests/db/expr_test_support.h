// An engine with one table of every field type whose current record the
// expression tests fill, and expressions freed at the end of each test.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "db/expr.h"
#include "env/memory.h"
#include "tests/db/db_test_support.h"

class ExprTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    table = MakeTable("T.DBF", {{"NAM", 'C', 5, 0},
                                {"COD", 'C', 3, 0},
                                {"TXT", 'C', 10, 0},
                                {"QTY", 'N', 5, 0},
                                {"AMT", 'N', 8, 2},
                                {"TYP", 'N', 1, 0},
                                {"DAT", 'D', 8, 0},
                                {"OK", 'L', 1, 0}},
                      1);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(d4go(table, 1), 0);
    Set("NAM", "Abc");
    Set("COD", "xy");
    Set("TXT", "  hi");
    Set("QTY", "12");
    f4assign_double(d4field(table, "AMT"), 3.5);
    Set("TYP", "3");
    Set("DAT", "20240229");
    Set("OK", "T");
  }
  void TearDown() override {
    for (DbExpr* expr : made) u4free(expr);
    DbTest::TearDown();
  }

  void Set(const char* field, const char* text) { f4assign(d4field(table, field), text); }

  DbExpr* Parse(const char* text) {
    DbExpr* expr = expr4parse(table, text);
    if (expr != nullptr) made.push_back(expr);
    return expr;
  }
  // The error code a text leaves, the engine cleared again for the next case.
  int ParseError(const char* text) {
    DbExpr* expr = Parse(text);
    int code = engine->error_code;
    engine->error_code = 0;
    return expr == nullptr ? code : 0;
  }
  std::string Value(DbExpr* expr) {
    char* result = nullptr;
    int length = expr4vary(expr, &result);
    return length < 0 ? std::string("<error>") : std::string(result, (size_t)length);
  }
  std::string Key(DbExpr* expr) {
    char* result = nullptr;
    int length = expr4key(expr, &result);
    return length < 0 ? std::string("<error>") : std::string(result, (size_t)length);
  }
  static double KeyDouble(const std::string& key) {
    double v = 0;
    if (key.size() == sizeof v) std::memcpy(&v, key.data(), sizeof v);
    return v;
  }

  DbTable* table = nullptr;
  std::vector<DbExpr*> made;
};
