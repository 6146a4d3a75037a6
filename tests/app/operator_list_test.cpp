// The operators list on the headless display: appending, modifying and
// deleting operators, and a new password from the list.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/operator_list.h"
#include "app/operator_login.h"
#include "tables/firm_tables.h"
#include "env/messages.h"
#include "tests/app/operator_fixture.h"
#include "ui/browse.h"

namespace {

class OperatorListTest : public OperatorTablesTest {
 protected:
  void SetUp() override {
    OperatorTablesTest::SetUp();
    if (HasFatalFailure()) return;
    Seed({{"SZEF", "szef", {}}, {"KASJER", "kasa", {202}}}, {{"Szef Firmy", 1}, {"Jan Kowalski", 2}});
  }
  void Run(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript((keys + "{ESC}").c_str()), 0);
    try {
      EXPECT_EQ(UsersList(), 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the list open:\n" << Screen();
      LeaveOpenList();
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
  // The screen where the keys ran out, the list given up.
  std::string ScreenAfter(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    EXPECT_THROW(UsersList(), ScriptEnded);
    std::string shown = Screen();
    LeaveOpenList();
    return shown;
  }
  void LeaveOpenList() {
    CurrentBrowse = nullptr;
    env->engine.error_code = 0;
    d4close_all(&env->engine);
  }
  // Every operator record as stored: deleted mark, A, name, password.
  struct Stored {
    bool deleted;
    std::string a, name, password;
    std::vector<unsigned char> rights;
  };
  std::vector<Stored> Operators() {
    std::vector<Stored> all;
    EXPECT_EQ(OpenZ5PASS(&pass, 0), 0);
    for (long n = 1; n <= d4reccount(pass.table); n++) {
      EXPECT_EQ(d4go(pass.table, n), 0);
      Stored s{d4deleted(pass.table) != 0, Text(pass.field[0]), "", "", std::vector<unsigned char>(OPERATOR_RIGHTS_BYTES)};
      char name[OPERATOR_NAME_BYTES], password[OPERATOR_PASSWORD_BYTES];
      OperatorBlockName(f4ptr(pass.field[1]), name);
      OperatorBlockPassword(f4ptr(pass.field[1]), password);
      OperatorBlockRights(f4ptr(pass.field[1]), s.rights.data());
      s.name.assign(name, sizeof name);
      s.password.assign(password, sizeof password);
      all.push_back(s);
    }
    d4close(pass.table);
    return all;
  }
  // A stored operator: no plain name in A, the name and password scrambled in the block.
  static void ExpectStored(const Stored& s, const char* name, const char* password) {
    EXPECT_EQ(s.a, Padded("", 15)) << name;
    EXPECT_EQ(s.name, Padded(name, 15));
    EXPECT_EQ(s.password, Padded(password, 10)) << name;
  }
  // "full name@record" of every live full-name record.
  std::vector<std::string> FullNames() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5PAOS(&paos), 0);
    for (long n = 1; n <= d4reccount(paos.table); n++) {
      EXPECT_EQ(d4go(paos.table, n), 0);
      if (!d4deleted(paos.table)) all.push_back(Trim(paos.field[0]) + "@" + Trim(paos.field[1]));
    }
    d4close(paos.table);
    return all;
  }
  std::string Screen() {
    std::string shown;
    for (int row = 0; row < Desktop.rows; row++) shown += Row(row) + "\n";
    return shown;
  }
};

TEST_F(OperatorListTest, ListShowsNamesAndFullNamesButStoresNoPlainName) {
  std::string shown = ScreenAfter("{DOWN}");
  for (const char* text : {"SZEF", "KASJER", "Jan Kowalski", "Szef Firmy", "Użytkownicy i hasła"})
    EXPECT_NE(shown.find(text), std::string::npos) << text << "\n" << shown;
  for (const Stored& s : Operators()) EXPECT_EQ(s.a, Padded("", 15));
}

TEST_F(OperatorListTest, AdministratorCannotBeDeleted) {
  std::string shown = ScreenAfter("ut");
  EXPECT_NE(shown.find("Szef - usunięcie niemożliwe !"), std::string::npos) << shown;
  std::vector<Stored> after = Operators();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_FALSE(after[0].deleted);
  Run("{DOWN}ut");
  after = Operators();
  EXPECT_FALSE(after[0].deleted);
  EXPECT_TRUE(after[1].deleted);
}

TEST_F(OperatorListTest, NewOperatorHasEveryRightAndNoPassword) {
  Run("dNOWY{ENTER}Jan Nowak{F2}t");
  std::vector<Stored> after = Operators();
  ASSERT_EQ(after.size(), 3u);
  ExpectStored(after[2], "NOWY", "");
  EXPECT_EQ(after[2].rights, std::vector<unsigned char>(OPERATOR_RIGHTS_BYTES, 0xFF));
  EXPECT_EQ(FullNames(), (std::vector<std::string>{"Szef Firmy@1", "Jan Kowalski@2", "Jan Nowak@3"}));
  // the new operator logs in with an empty password
  EXPECT_EQ(LoginOperator(Padded("NOWY", 15).c_str(), Padded("", 10).c_str()), 1);
  EXPECT_EQ(env->operatorNumber, 3);
}

TEST_F(OperatorListTest, ModifiedNameIsStoredScrambledWithItsFullName) {
  Run("{DOWN}m{HOME}X{ENTER}{HOME}Pan {F2}t");
  std::vector<Stored> after = Operators();
  ASSERT_EQ(after.size(), 2u);
  ExpectStored(after[1], "XASJER", "kasa");
  ExpectStored(after[0], "SZEF", "szef");
  EXPECT_EQ(FullNames(), (std::vector<std::string>{"Szef Firmy@1", "Pan Kowalski@2"}));
  // an operator whose full name is gone gets a record of its own
  ASSERT_EQ(OpenZ5PAOS(&paos), 0);
  ASSERT_EQ(d4go(paos.table, 2), 0);
  d4delete(paos.table);
  ASSERT_EQ(d4write(paos.table, 2), 0);
  d4close(paos.table);
  Run("{DOWN}m{ENTER}Ewa{F2}t");
  EXPECT_EQ(FullNames(), (std::vector<std::string>{"Szef Firmy@1", "Ewa@2"}));
}

TEST_F(OperatorListTest, PasswordChangedFromTheList) {
  Run("{DOWN}hnowe{ENTER}nowe{F2}t");
  std::vector<Stored> after = Operators();
  ASSERT_EQ(after.size(), 2u);
  ExpectStored(after[1], "KASJER", "nowe");
  ExpectStored(after[0], "SZEF", "szef");
}

class FirmAccessTest : public OperatorListTest {
 protected:
  void SetUp() override {
    OperatorListTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KATA(0), 0);
    for (const char* firm : {"GAMMA", "ALFA", "BETA", "DELTA"}) Append(Z5KATA, {{1, firm}});
    ASSERT_EQ(d4go(Z5KATA.table, 4), 0);
    d4delete(Z5KATA.table);
    ASSERT_EQ(d4write(Z5KATA.table, 4), 0);
    d4close(Z5KATA.table);
    ASSERT_EQ(OpenZ5KAPA(0), 0);
    for (auto [op, firm] : std::vector<std::pair<int, int>>{{2, 2}, {3, 3}, {2, 9}, {2, 4}})
      Append(Z5KAPA, {{0, std::to_string(op)}, {1, std::to_string(firm)}});
    d4close(Z5KAPA.table);
  }
  void RunFirms(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript((keys + "{ESC}").c_str()), 0);
    try {
      EXPECT_EQ(FirmAccessList(2, "KASJER"), 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the list open:\n" << Screen();
      LeaveOpenList();
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
  // "operator:firm" of every live pair.
  std::vector<std::string> Pairs() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5KAPA(0), 0);
    for (long n = 1; n <= d4reccount(Z5KAPA.table); n++) {
      EXPECT_EQ(d4go(Z5KAPA.table, n), 0);
      if (!d4deleted(Z5KAPA.table)) all.push_back(Trim(Z5KAPA.field[0]) + ":" + Trim(Z5KAPA.field[1]));
    }
    d4close(Z5KAPA.table);
    return all;
  }
};

TEST_F(FirmAccessTest, ListsTheOperatorsOwnFirmsAndMarksTheMissing) {
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(FirmAccessList(2, "KASJER"), ScriptEnded);
  std::string shown = Screen();
  LeaveOpenList();
  EXPECT_NE(shown.find("Dostęp do katalogów dla - KASJER"), std::string::npos) << shown;
  EXPECT_NE(shown.find("ALFA"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("BETA"), std::string::npos) << "another operator's firm\n" << shown;
  EXPECT_EQ(shown.find("DELTA"), std::string::npos) << "a deleted firm\n" << shown;
  size_t first = shown.find("????????????????????");
  ASSERT_NE(first, std::string::npos) << shown;
  EXPECT_NE(shown.find("????????????????????", first + 20), std::string::npos) << "both gone firms\n" << shown;
}

TEST_F(FirmAccessTest, FirmsAddedThroughThePickerAndDeleted) {
  // the picker lists the firms by name: ALFA, BETA, GAMMA
  RunFirms("d{DOWN}{DOWN}{ENTER}t");
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"2:2", "3:3", "2:9", "2:4", "2:1"}));
  RunFirms("d{ESC}{ESC}");   // the picker left, then the form
  EXPECT_EQ(Pairs().size(), 5u);
  RunFirms("ut");
  EXPECT_EQ(Pairs(), (std::vector<std::string>{"3:3", "2:9", "2:4", "2:1"}));
}

TEST_F(FirmAccessTest, AdministratorAndEmptyFirmTable) {
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(FirmAccessList(1, "SZEF"), ScriptEnded);
  EXPECT_NE(Screen().find("Szef - dostęp nieograniczony !"), std::string::npos) << Screen();
  ASSERT_EQ(HeadlessSetScript("x"), 0);
  EXPECT_EQ(FirmAccessList(1, "SZEF"), -1);
  std::remove((dir + "program/Z5KATA.DBF").c_str());
  std::remove((dir + "program/Z5KATA.MDX").c_str());
  ASSERT_EQ(HeadlessSetScript("d"), 0);
  EXPECT_THROW(FirmAccessList(2, "KASJER"), ScriptEnded);
  std::string shown = Screen();
  LeaveOpenList();
  EXPECT_NE(shown.find("Brak katalogów !"), std::string::npos) << shown;
  EXPECT_EQ(Pairs().size(), 4u);
}

}  // namespace
