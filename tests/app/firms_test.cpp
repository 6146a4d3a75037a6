// The firms catalogue: the list behind " Katalogi ", the firm choice with its
// access rules and directories, and the firm switch on Shift+F3.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/firms.h"
#include "env/paths.h"
#include "platform/dirs.h"
#include "tables/firm_tables.h"
#include "tests/app/operator_fixture.h"
#include "tests/app/screen_shots.h"
#include "ui/browse.h"

namespace {

void Grant(unsigned char* rights, int id, bool on) {
  unsigned char bit = static_cast<unsigned char>(0x80 >> (id % 8));
  rights[id / 8] = static_cast<unsigned char>(on ? rights[id / 8] | bit : rights[id / 8] & ~bit);
}

struct Firm {
  const char* status;
  const char* name;
  const char* directory;
};

class FirmsTest : public OperatorTablesTest {
 protected:
  void SetUp() override {
    OperatorTablesTest::SetUp();
    if (HasFatalFailure()) return;
    std::memset(env->rights, 0xFF, RIGHTS_BYTES);
    env->operatorNumber = 2;
    program = dir + "program/";
    FirmChosenRoutine = nullptr;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  void TearDown() override {
    FirmChosenRoutine = nullptr;
    OperatorTablesTest::TearDown();
  }
  void SeedFirms(const std::vector<Firm>& firms, const std::vector<std::pair<int, int>>& pairs) {
    ASSERT_EQ(OpenZ5KATA(0), 0);
    for (const Firm& f : firms) Append(Z5KATA, {{0, f.status}, {1, f.name}, {2, f.directory}});
    d4close(Z5KATA.table);
    ASSERT_EQ(OpenZ5KAPA(0), 0);
    for (auto [op, firm] : pairs) Append(Z5KAPA, {{0, std::to_string(op)}, {1, std::to_string(firm)}});
    d4close(Z5KAPA.table);
  }
  // The standard catalogue: ALFA, BETA (inactive), DELTA, GAMMA (blank status), and EPSILON deleted.
  void SeedStandard() {
    SeedFirms({{"A", "ALFA", "alfa"}, {"N", "BETA", "beta"}, {" ", "GAMMA", "gamma"}, {"A", "DELTA", "delta"},
               {"A", "EPSILON", "epsilon"}},
              {{2, 1}, {2, 2}, {3, 4}, {2, 4}, {2, 5}});
    ASSERT_EQ(OpenZ5KATA(0), 0);
    ASSERT_EQ(d4go(Z5KATA.table, 5), 0);
    d4delete(Z5KATA.table);
    ASSERT_EQ(d4write(Z5KATA.table, 5), 0);
    d4close(Z5KATA.table);
    // the pair of operator 2 with DELTA is deleted again
    ASSERT_EQ(OpenZ5KAPA(0), 0);
    ASSERT_EQ(d4go(Z5KAPA.table, 4), 0);
    d4delete(Z5KAPA.table);
    ASSERT_EQ(d4write(Z5KAPA.table, 4), 0);
    d4close(Z5KAPA.table);
  }
  std::string Screen() {
    std::string shown;
    for (int row = 0; row < Desktop.rows; row++) shown += Row(row) + "\n";
    return shown;
  }
  void LeaveOpen() {
    CurrentBrowse = nullptr;
    env->engine.error_code = 0;
    d4close_all(&env->engine);
  }
  // The screen of the firm picker, given up.
  std::string Picker() {
    EXPECT_EQ(HeadlessSetScript(""), 0);
    EXPECT_THROW(WybierzFirme(), ScriptEnded);
    std::string shown = Screen();
    LeaveOpen();
    return shown;
  }
  int Choose(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int result = -2;
    try {
      result = WybierzFirme();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the picker open:\n" << Screen();
      LeaveOpen();
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }
  // "status name directory" of every firm in record order.
  std::vector<std::string> Firms() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5KATA(0), 0);
    for (long n = 1; n <= d4reccount(Z5KATA.table); n++) {
      EXPECT_EQ(d4go(Z5KATA.table, n), 0);
      if (!d4deleted(Z5KATA.table))
        all.push_back(Text(Z5KATA.field[0]) + " " + Trim(Z5KATA.field[1]) + " " + Trim(Z5KATA.field[2]));
    }
    d4close(Z5KATA.table);
    return all;
  }
  void RunList(const std::string& keys) {
    ASSERT_EQ(OpenZ5KATA(0), 0);
    ASSERT_EQ(HeadlessSetScript((keys + "{ESC}").c_str()), 0);
    try {
      EXPECT_EQ(FirmsList(), 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the list open:\n" << Screen();
    }
    LeaveOpen();
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
  }
  std::string program;
};

TEST_F(FirmsTest, PickerOffersActiveFirmsByRightOrByPairs) {
  SeedStandard();
  struct Case {
    int op;
    bool right2;
    std::vector<const char*> offered, hidden;
  } cases[] = {
      {2, true, {"ALFA", "DELTA", "GAMMA"}, {"BETA", "EPSILON"}},   // every active firm, never the inactive or deleted
      {2, false, {"ALFA"}, {"BETA", "DELTA", "GAMMA", "EPSILON"}},  // its pairs: BETA inactive, DELTA's pair deleted
      {3, false, {"DELTA"}, {"ALFA", "BETA", "GAMMA"}},
  };
  for (const Case& c : cases) {
    env->operatorNumber = c.op;
    Grant(env->rights, 2, c.right2);
    std::string shown = Picker();
    for (const char* name : c.offered) EXPECT_NE(shown.find(name), std::string::npos) << c.op << name << "\n" << shown;
    for (const char* name : c.hidden) EXPECT_EQ(shown.find(name), std::string::npos) << c.op << name << "\n" << shown;
  }
  EXPECT_EQ(IsFirmAllowed(2, 1), 1);
  EXPECT_EQ(IsFirmAllowed(2, 4), 0);
  EXPECT_EQ(IsFirmAllowed(3, 4), 1);
  EXPECT_EQ(IsFirmAllowed(9, 1), 0);
}

TEST_F(FirmsTest, ChosenFirmBecomesTheDataDirectory) {
  SeedStandard();
  // by name: ALFA, DELTA, GAMMA
  EXPECT_EQ(Choose("{DOWN}{ENTER}"), 1);
  EXPECT_EQ(PlatGetCwd(), program + "delta/");
  EXPECT_EQ(EnvToDiskPath((std::string(env->dataPath.drive) + env->dataPath.dir).c_str()), program + "delta");
  EXPECT_EQ(env->currentPath, &env->dataPath);
  EXPECT_EQ(env->engine.open_tables.count, 0);
  // Esc in the picker: no firm, nothing changed
  ASSERT_EQ(ChangeDir(&env->startPath, 0, 0), 0);
  EXPECT_EQ(Choose("{ESC}"), 0);
  EXPECT_EQ(PlatGetCwd(), EnvToDiskPath(env->startPath.dir) + "/");
  EXPECT_EQ(env->engine.open_tables.count, 0);
}

TEST_F(FirmsTest, DirectoriesWithoutADriveLieBelowTheProgramDirectory) {
  setenv("ZELSAL_DRIVE_Q", (dir + "q").c_str(), 1);
  MakeDir("q");
  SeedFirms({{"A", "ABS", "\\abs"}, {"A", "DRIVE", "Q:\\firmy\\d"}, {"A", "NESTED", "sub\\dir\\"}}, {});
  MakeDir("q/firmy");
  MakeDir("program/sub");
  const std::string programDir = std::string(env->programPath.drive) + env->programPath.dir;
  struct Case {
    const char* keys;
    std::string dataDir, disk;
  } cases[] = {
      {"{ENTER}", programDir + "\\abs", program + "abs/"},
      {"{DOWN}{ENTER}", "Q:\\firmy\\d", dir + "q/firmy/d/"},
      {"{DOWN}{DOWN}{ENTER}", programDir + "\\sub\\dir", program + "sub/dir/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Choose(c.keys), 1) << c.keys;
    EXPECT_EQ(std::string(env->dataPath.drive) + env->dataPath.dir, c.dataDir);
    EXPECT_EQ(PlatGetCwd(), c.disk);
  }
  unsetenv("ZELSAL_DRIVE_Q");
}

TEST_F(FirmsTest, FirmsThatCannotBeEntered) {
  SeedFirms({{"A", "BEZ KATALOGU", ""}, {"A", "ZLY", "nie ma\\dwa poziomy"}}, {});
  const std::string start = PlatGetCwd();
  PathRecord dataBefore = env->dataPath;
  EXPECT_EQ(Choose("{ENTER}"), 0);   // logged, the directory stays
  EXPECT_EQ(PlatGetCwd(), start);
  EXPECT_STREQ(env->dataPath.dir, dataBefore.dir);
  EXPECT_EQ(env->engine.open_tables.count, 0);
  // a directory two levels deep is not made: back to the start directory
  EXPECT_EQ(Choose("{DOWN}{ENTER}{ENTER}"), 0);
  EXPECT_EQ(PlatGetCwd(), EnvToDiskPath(env->startPath.dir) + "/");
  EXPECT_EQ(env->currentPath, &env->startPath);
}

TEST_F(FirmsTest, EmptyCatalogueSkipsThePicker) {
  ASSERT_EQ(OpenZ5KATA(0), 0);
  d4close(Z5KATA.table);
  ASSERT_EQ(ChangeDir(&env->startPath, 0, 0), 0);
  EXPECT_EQ(Choose(""), 1);
  EXPECT_EQ(PlatGetCwd(), firm);   // the data directory given at start
  // an operator without any pair still gets no picker, nor does anything pass
  SeedFirms({{"N", "STARA", "stara"}}, {});
  Grant(env->rights, 2, false);
  std::string shown = Picker();
  EXPECT_NE(shown.find("Brak danych."), std::string::npos) << shown;
}

TEST_F(FirmsTest, ShiftF3SwitchesOnlyWithNoTableOpen) {
  SeedStandard();
  int chosen = 0;
  static int* calls;
  calls = &chosen;
  FirmChosenRoutine = [] { return ++*calls == 1 ? 0 : -1; };
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  // a module's table is open: nothing happens, no key is read
  ASSERT_EQ(OpenZ5KAPA(0), 0);
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);
  EXPECT_EQ(ZmienFirme(0, 0), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 1);
  EXPECT_EQ(PlatGetCwd(), firm);
  d4close(Z5KAPA.table);
  // another firm is entered and its header loaded
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{ENTER}"), 0);
  EXPECT_EQ(ZmienFirme(0, 0), 0);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(PlatGetCwd(), program + "gamma/");
  // the picker left, or the header failing: back where it was, with its data path
  for (const char* keys : {"{ESC}", "{ENTER}"}) {
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    EXPECT_EQ(ZmienFirme(0, 0), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(PlatGetCwd(), program + "gamma/") << keys;
    EXPECT_EQ(env->currentPath, &env->dataPath);
    EXPECT_EQ(EnvToDiskPath(env->dataPath.dir), program + "gamma") << keys;
  }
  EXPECT_EQ(chosen, 2);
}

TEST_F(FirmsTest, ListAppendsActiveFirmsWithPlainDirectoryNames) {
  SeedFirms({{"A", "ALFA", "alfa"}}, {});
  RunList(Sys("dNOWA{ENTER}katalog żółć{ENTER}uwaga{F2}t"));
  EXPECT_EQ(Firms(), (std::vector<std::string>{"A ALFA alfa", "A NOWA katalog zolc"}));
  // neither name nor directory may stay empty (each refusal shows a box); Esc leaves the form unsaved
  RunList("d{ENTER} X{ENTER}{ENTER} {ESC}{ESC}");
  EXPECT_EQ(Firms().size(), 2u);
  // a deleted firm leaves the list
  RunList("{DOWN}ut");
  EXPECT_EQ(Firms(), (std::vector<std::string>{"A ALFA alfa"}));
  RunList("{F9}");
  EXPECT_NE(seen.find("ALFA"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("NOWA"), std::string::npos) << seen;
}

TEST_F(FirmsTest, F7TogglesTheStatusAndTheFilterShowsOneKind) {
  SeedFirms({{"A", "ALFA", "alfa"}, {" ", "BETA", "beta"}, {"N", "GAMMA", "gamma"}}, {});
  RunList("{DOWN}{F7}");
  EXPECT_EQ(Firms(), (std::vector<std::string>{"A ALFA alfa", "N BETA beta", "N GAMMA gamma"}));
  RunList("{DOWN}{DOWN}{F7}");
  EXPECT_EQ(Firms(), (std::vector<std::string>{"A ALFA alfa", "N BETA beta", "A GAMMA gamma"}));
  // the filter on inactive firms: only BETA is listed
  RunList("f{ENTER}xn{F2}{F9}");
  EXPECT_NE(seen.find("BETA"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("ALFA"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("GAMMA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("FILTR !!!"), std::string::npos) << seen;
}

}  // namespace
