// Logging operators in from the operator tables, and a new password.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/operator_block.h"
#include "app/operator_login.h"
#include "tests/app/operator_fixture.h"
#include "ui/menu.h"

namespace {

using OperatorLoginTest = OperatorTablesTest;

constexpr int RESTRICTED = 202;

std::vector<int> ran;
int32_t Ran(int32_t id) {
  ran.push_back(id);
  return 0;
}
int32_t End(int32_t) { return -3; }

TEST_F(OperatorLoginTest, ByNumberTakesNameFullNamePasswordsAndRights) {
  Seed({{"SZEF", "szef123", {}}, {"KASJER", "kasa", {RESTRICTED, 7510}}},
       {{"Anna Nowak", 3}, {"Jan Kowalski", 2}, {"Szef Firmy", 1}});
  struct Case {
    int number;
    int result;
    int operatorNumber;
    const char* name;
    const char* fullName;
    const char* password;
    const char* firstPassword;
    bool restricted;
  } cases[] = {
      {2, 0, 2, "KASJER", "Jan Kowalski", "kasa", "szef123", true},
      {1, 0, 1, "SZEF", "Szef Firmy", "szef123", "szef123", false},
      {0, 0, 0, "", nullptr, "", "", false},     // no operator: the rights stay
      {3, -1, 77, "", nullptr, "", "", false},   // beyond the last record
      {-1, -1, 77, "", nullptr, "", "", false},
  };
  for (const Case& c : cases) {
    ForgetOperator();
    EXPECT_EQ(LoginOperatorByNumber(c.number), c.result) << c.number;
    EXPECT_EQ(env->operatorNumber, c.operatorNumber) << c.number;
    EXPECT_EQ(std::string(env->operatorName, 16), Padded(c.name, 15) + '\0') << c.number;
    if (c.fullName) {
      EXPECT_EQ(Padded(env->operatorFullName, 30), Padded(c.fullName, 30)) << c.number;
    }
    EXPECT_EQ(std::string(env->operatorPassword, 10), Padded(c.password, 10)) << c.number;
    EXPECT_EQ(std::string(env->firstOperatorPassword, 10), Padded(c.firstPassword, 10)) << c.number;
    EXPECT_EQ(Granted(env->rights, RESTRICTED), !c.restricted) << c.number;
    EXPECT_EQ(Granted(env->rights, 7510), !c.restricted) << c.number;
    EXPECT_TRUE(Granted(env->rights, 201)) << c.number;
  }
}

TEST_F(OperatorLoginTest, RestrictedOperatorIsRefusedTheMenuItem) {
  Seed({{"SZEF", "", {}}, {"KASJER", "", {RESTRICTED}}}, {});
  ran.clear();
  ASSERT_EQ(LoginOperatorByNumber(2), 0);
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Towary ", 201, 't', 1, Ran, nullptr);
  MenuDefineItem(" Kontrahenci ", RESTRICTED, 'o', 2, Ran, nullptr);
  MenuDefineItem(" Koniec ", 5, 'k', 0, End, nullptr);
  ASSERT_EQ(n4lotus(bar), 0);
  RecordingScreenHook hook;
  ASSERT_EQ(HeadlessSetScript("tok"), 0);
  EXPECT_EQ(n4activate(bar, 1, nullptr, nullptr, 1), -3);
  w4close(bar);
  EXPECT_EQ(ran, std::vector<int>{1});
  ASSERT_EQ(hook.shown.size(), 1u);
  EXPECT_EQ(MazToUtf8Text(hook.shown[0].text.c_str()), "Zabroniony dostęp !");
}

TEST_F(OperatorLoginTest, ByNameWantsTheRecordsOwnPassword) {
  Seed({{"SZEF", "szef123", {}}, {"STARY", "stare", {}}, {"KASJER", "kasa1234ab", {RESTRICTED}}, {"STARY", "nowe", {}}},
       {{"Jan Kowalski", 3}});
  ASSERT_EQ(OpenZ5PASS(&pass, 0), 0);
  ASSERT_EQ(d4go(pass.table, 2), 0);
  d4delete(pass.table);
  ASSERT_EQ(d4write(pass.table, 2), 0);
  d4close(pass.table);
  struct Case {
    const char* name;
    const char* password;
    int result;
    int operatorNumber;
    const char* fullName;
  } cases[] = {
      {"KASJER", "kasa1234ab", 1, 3, "Jan Kowalski"},
      {"KASJER", "kasa1234", 0, 77, ""},
      {"KASJER", "szef123", 0, 77, ""},   // the administrator's password opens only his record
      {"NIKT", "kasa1234ab", 0, 77, ""},
      {"STARY", "nowe", 1, 4, ""},        // the deleted record of the name is passed over
      {"STARY", "stare", 0, 77, ""},
  };
  for (const Case& c : cases) {
    ForgetOperator();
    std::memset(env->operatorFullName, 0, sizeof env->operatorFullName);
    EXPECT_EQ(LoginOperator(Padded(c.name, 15).c_str(), Padded(c.password, 10).c_str()), c.result) << c.name;
    EXPECT_EQ(env->operatorNumber, c.operatorNumber) << c.name << " " << c.password;
    EXPECT_EQ(std::string(env->firstOperatorPassword, 10), Padded("szef123", 10)) << c.name;
    EXPECT_EQ(Padded(env->operatorFullName, 30), Padded(c.fullName, 30)) << c.name;
    EXPECT_EQ(Granted(env->rights, RESTRICTED), c.operatorNumber != 3) << c.name;
    if (c.result == 1) {
      EXPECT_EQ(std::string(env->operatorPassword, 10), Padded(c.password, 10)) << c.name;
    }
  }
}

TEST_F(OperatorLoginTest, EmptyTableLogsNobodyIn) {
  Seed({}, {});
  ForgetOperator();
  EXPECT_EQ(LoginOperator(Padded("KTOKOLWIEK", 15).c_str(), Padded("", 10).c_str()), 1);
  EXPECT_EQ(env->operatorNumber, 0);
}

TEST_F(OperatorLoginTest, TablesThatDoNotOpenRefuseTheLogIn) {
  // a file that is no table stands where the operators are
  FILE* f = std::fopen((dir + "program/Z5PASS.DBF").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("nie tabela", f);
  std::fclose(f);
  ForgetOperator();
  EXPECT_EQ(LoginOperatorByNumber(1), -1);
  env->engine.error_code = 0;
  EXPECT_EQ(LoginOperator(Padded("SZEF", 15).c_str(), Padded("", 10).c_str()), -1);
  env->engine.error_code = 0;
  EXPECT_NE(env->operatorNumber, 1);
}

TEST_F(OperatorLoginTest, NewPasswordIsAskedTwiceAndConfirmed) {
  Seed({{"SZEF", "", {}}, {"KASJER", "stare", {RESTRICTED}}}, {});
  struct Case {
    const char* keys;
    int result;
    const char* stored;
  } cases[] = {
      {"tajne12{ENTER}tajne12{F2}t", 0, "tajne12"},
      {"abcdefghij{ENTER}abcdefghij{F2}T", 0, "abcdefghij"},
      // a repeat that differs: 20019 (any key), then both entries asked again
      {"abc{ENTER}abd{F2}xnowe{ENTER}nowe{F2}t", 0, "nowe"},
      {"nowe{ENTER}nowe{F2}{ESC}", -1, "stare"},
      {"nowe{ENTER}nowe{ESC}", -1, "stare"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(OpenZ5PASS(&pass, 0), 0);
    ASSERT_EQ(d4go(pass.table, 2), 0);
    OperatorBlockSetPassword(f4assign_ptr(pass.field[1]), Padded("stare", 10).c_str());
    ASSERT_EQ(d4write(pass.table, 2), 0);
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(ChangePassword(pass.table), c.result) << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.keys;
    d4close(pass.table);
    ASSERT_EQ(OpenZ5PASS(&pass, 0), 0);
    ASSERT_EQ(d4go(pass.table, 2), 0);
    char password[OPERATOR_PASSWORD_BYTES];
    OperatorBlockPassword(f4ptr(pass.field[1]), password);
    EXPECT_EQ(std::string(password, 10), Padded(c.stored, 10)) << c.keys;
    char name[OPERATOR_NAME_BYTES];
    OperatorBlockName(f4ptr(pass.field[1]), name);
    EXPECT_EQ(std::string(name, 15), Padded("KASJER", 15)) << c.keys;
    unsigned char rights[OPERATOR_RIGHTS_BYTES];
    OperatorBlockRights(f4ptr(pass.field[1]), rights);
    EXPECT_FALSE(Granted(rights, RESTRICTED)) << c.keys;
    d4close(pass.table);
  }
  ASSERT_EQ(LoginOperatorByNumber(2), 0);
  EXPECT_EQ(std::string(env->operatorPassword, 10), Padded("stare", 10));
}

}  // namespace
