#include "env/paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/db_file.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/session/temp_files.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "tests/support/env_test.h"

namespace {

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }

TEST(TransDir, SplitsDirectoryTexts) {
  struct Case {
    const char* text;
    const char* drive;
    const char* dir;
    int parts;
  } cases[] = {
      {"C:\\ZELSAL\\DANE", "C:", "\\ZELSAL\\DANE\\", PATH_HAS_DRIVE | PATH_HAS_DIR},
      {"C:\\ZELSAL\\DANE\\", "C:", "\\ZELSAL\\DANE\\", PATH_HAS_DRIVE | PATH_HAS_DIR},
      {"D:", "D:", "\\", PATH_HAS_DRIVE | PATH_HAS_DIR},
      {"FIRMA1", "", "FIRMA1\\", PATH_HAS_DIR},
      {"\\", "", "\\", PATH_HAS_DIR},
      {"A.B\\C.D", "", "A.B\\C.D\\", PATH_HAS_DIR},     // a point in a directory is no extension
      {"", "", "", 0},                                 // names no directory, not the root
  };
  for (const Case& c : cases) {
    PathRecord record;
    std::memset(&record, 'x', sizeof record);
    EXPECT_EQ(TransDir(c.text, &record), &record);
    EXPECT_STREQ(record.drive, c.drive) << c.text;
    EXPECT_STREQ(record.dir, c.dir) << c.text;
    EXPECT_STREQ(record.name, "") << c.text;
    EXPECT_STREQ(record.ext, "") << c.text;
    EXPECT_EQ(record.parts, c.parts) << c.text;
  }
  PathRecord record;
  TransDir(std::string(400, 'A').c_str(), &record);   // too long: cut, never past the field
  EXPECT_EQ(std::strlen(record.dir), sizeof record.dir - 1);
}

TEST(MergePath, JoinsPartsWithinTheSize) {
  struct Case {
    int flags;
    TextRef a, b, c;
    int size;
    const char* expected;
  } cases[] = {
      {MERGE_DIR | MERGE_NAME, "C:\\DANE", "Z5KHNT.DBF", {}, 64, "C:\\DANE\\Z5KHNT.DBF"},
      {MERGE_DIR | MERGE_NAME, "C:\\DANE\\   ", "Z5KHNT.DBF  ", {}, 64, "C:\\DANE\\Z5KHNT.DBF"},
      {MERGE_DIR | MERGE_NAME, "   ", "Z5KHNT.DBF", {}, 64, "Z5KHNT.DBF"},
      {MERGE_DIR | MERGE_DIR2 | MERGE_NAME, "A:", "katalog", "Arc524.A01", 64, "A:\\katalog\\Arc524.A01"},
      {MERGE_NAME, "Z5.DBF", {}, {}, 64, "Z5.DBF"},
      {MERGE_DIR, "C:\\X", {}, {}, 64, "C:\\X\\"},
      {MERGE_DIR | MERGE_NAME, "C:\\DANE", "Z5KHNT.DBF", {}, 12, "C:\\DANE\\Z5K"},
      {MERGE_DIR | MERGE_NAME, "C:\\DANE", "Z5KHNT.DBF", {}, 8, "C:\\DANE"},   // no room for the backslash
  };
  for (const Case& c : cases) {
    char buffer[80];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(MergePath(buffer, c.size, c.flags, c.a, c.b, c.c), buffer);
    EXPECT_EQ(std::string(buffer), Maz(c.expected));
    EXPECT_EQ(buffer[c.size], '#') << "wrote past the size";
  }
}

TEST(PathHelpers, ExtensionAndDirectoryParts) {
  EXPECT_EQ(PathEXTCmp("C:\\DANE\\Z5KHNT.DBF", "DBF"), 1);
  EXPECT_EQ(PathEXTCmp("C:\\DANE\\Z5KHNT.DBF", ".DBF"), 1);
  EXPECT_EQ(PathEXTCmp("C:\\DANE\\Z5KHNT.DBF", "dbf"), 0);   // case counts
  EXPECT_EQ(PathEXTCmp("C:\\DA.NE\\Z5KHNT", "NE\\Z5KHNT"), 0);
  EXPECT_EQ(PathEXTCmp("Z5KHNT", ""), 1);
  EXPECT_STREQ(ExtractDirQStr("C:\\ZELSAL\\DANE\\Z5KHNT.DBF"), "C:\\ZELSAL\\DANE\\");
  EXPECT_STREQ(ExtractDirQStr("D:Z5.DBF"), "D:");
  EXPECT_STREQ(ExtractDirQStr("Z5.DBF"), "");
}

TEST(ConvXmlExportName, MakesNamesSafe) {
  std::string name = Maz("Żółć/a*b?c\"d<e>f|g&h ŚĆ §.xml");
  EXPECT_EQ(ConvXmlExportName(name.data()), name.data());
  EXPECT_EQ(name, Maz("Zolc'a'b'c'd'e'f'g'h SC §.xml"));
}

// A fresh environment in a temporary directory, with the operator's screen recorded.
class PathsTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    if (HasFatalFailure()) return;
    PlatMkDir((dir + "prog").c_str());
    TransDir(EnvFromDiskPath(dir + "prog").c_str(), &env->programPath);
  }
  // A record for a directory below the temporary one, as the system writes it.
  PathRecord Below(const char* utf8Name) {
    PathRecord record;
    TransDir(EnvFromDiskPath(dir + utf8Name).c_str(), &record);
    return record;
  }
  std::string Cwd() { return PlatGetCwd(); }

  RecordingScreenHook screen;
};

TEST_F(PathsTest, MergePathTakesMessageNumbers) {
  char buffer[64];
  EXPECT_EQ(std::string(MergePath(buffer, sizeof buffer, MERGE_DIR | MERGE_NAME, "C:\\X", 50173)),
            Maz("C:\\X\\Zbiór tymczasowy"));
}

TEST_F(PathsTest, ChangeDirCreatesOneMissingLevel) {
  PathRecord record = Below("NOWY");
  EXPECT_EQ(ChangeDir(&record, 300, 0), 0);
  EXPECT_EQ(Cwd(), dir + "NOWY/");
  EXPECT_EQ(env->currentPath, &record);
  EXPECT_EQ(record.dir[std::strlen(record.dir) - 1], 'Y');   // trailing backslash dropped
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(PathsTest, ChangeDirFailureKeepsStateAndTellsTheOperator) {
  PathRecord start = Below("");
  ASSERT_EQ(ChangeDir(&start, 300, 0), 0);
  PathRecord record = Below("BRAK/DALEJ");
  EXPECT_EQ(ChangeDir(&record, 300, CHDIR_QUIET), -1);
  EXPECT_TRUE(screen.shown.empty());
  EXPECT_EQ(ChangeDir(&record, 300, 0), -1);
  EXPECT_EQ(Cwd(), dir);
  EXPECT_EQ(env->currentPath, &start);
  EXPECT_FALSE(PlatFileExists((dir + "BRAK").c_str()));   // nothing above the last level is created
  ASSERT_FALSE(screen.shown.empty());
  const auto& box = screen.shown.back();
  EXPECT_NE(box.text.find(Maz("Błąd podanej ścieżki do danych !")), std::string::npos);
  // Shown as the path on this system, never in the stored Windows form.
  EXPECT_NE(box.text.find(dir + "BRAK/DALEJ"), std::string::npos) << box.text;
  EXPECT_EQ(box.text.find('\\'), std::string::npos) << box.text;
}

TEST_F(PathsTest, ChangeDirTranslatesDriveLettersAndPolishNames) {
  setenv("ZELSAL_DRIVE_Q", dir.c_str(), 1);
  PathRecord record;
  TransDir(Maz("Q:\\ŻÓŁW").c_str(), &record);
  EXPECT_EQ(ChangeDir(&record, 300, 0), 0);
  unsetenv("ZELSAL_DRIVE_Q");
  EXPECT_EQ(Cwd(), dir + "ŻÓŁW/");   // the name on disk is UTF-8
  EXPECT_EQ(std::string(WorkDirQStr()), EnvFromDiskPath(dir + "ŻÓŁW"));
}

TEST_F(PathsTest, SaveDirIsOneSlot) {
  PathRecord a = Below("A"), b = Below("B");
  ASSERT_EQ(ChangeDir(&a, 300, 0), 0);
  SaveDir();
  ASSERT_EQ(ChangeDir(&b, 300, 0), 0);
  SaveDir();
  ASSERT_EQ(ChangeDir(&a, 300, 0), 0);
  EXPECT_EQ(RestoreDir(), 0);
  EXPECT_EQ(Cwd(), dir + "B/");
  EXPECT_EQ(RestoreDir(), 0);
  EXPECT_EQ(Cwd(), dir + "B/");
}

TEST_F(PathsTest, SwitchDirKinds) {
  PlatMkDir((dir + "wspolne").c_str());
  std::strcpy(env->sharedCatalogueDir, (EnvFromDiskPath(dir + "wspolne") + "   ").c_str());
  EXPECT_EQ(SwitchDir(SWITCH_SHARED_CATALOGUE, 361), 0);
  EXPECT_EQ(Cwd(), dir + "wspolne/");

  EXPECT_EQ(SwitchDir(SWITCH_PRINT_SETTINGS, 362), 0);   // empty option: the program directory
  EXPECT_EQ(Cwd(), dir + "prog/");
  EXPECT_EQ(env->currentPath, &env->programPath);
  EXPECT_TRUE(screen.shown.empty());

  EXPECT_EQ(SwitchDir(5, 363), -1);
  EXPECT_EQ(Cwd(), dir + "prog/");
}

TEST_F(PathsTest, SwitchDirToAnUnreachableOptionWarnsAndFallsBack) {
  std::strcpy(env->printSettingsDir, EnvFromDiskPath(dir + "nie/ma").c_str());
  EXPECT_EQ(SwitchDir(SWITCH_PRINT_SETTINGS, 362), 0);
  EXPECT_EQ(Cwd(), dir + "prog/");
  bool warned = false;
  for (const auto& shown : screen.shown)
    warned |= shown.text.find(Maz("Brak dostępu do katalogu ustawień tabulogramów i wydruków.")) != std::string::npos &&
              shown.text.find(Maz("Sprawdź opcje główne.")) != std::string::npos;
  EXPECT_TRUE(warned);
}

TEST_F(PathsTest, FileTests) {
  WriteFile(Path("Zażółć.txt"), "x");
  EXPECT_EQ(EnvFileExists(Maz("Zażółć.txt").c_str()), 1);
  EXPECT_EQ(EnvFileAccess(Maz("Zażółć.txt").c_str()), 1);
  EXPECT_EQ(EnvFileExists("BRAK.TXT"), 0);
  EXPECT_EQ(EnvFileAccess("BRAK.TXT"), -1);
  EXPECT_EQ(EnvFileExists(""), 0);
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(PathsTest, OpenTmpTakesTheFirstFreeNameOnce) {
  d4init(&env->engine);
  DbFile file{};
  char kept[16] = "TEMP0042.TMP";
  EXPECT_EQ(open_tmp(&file, kept), 0);
  EXPECT_STREQ(kept, "TEMP0042.TMP");
  EXPECT_FALSE(PlatFileExists(Path("TEMP0042.TMP").c_str()));

  WriteFile(Path("TEMP0000.TMP"), "taken");
  char name[16] = "";
  EXPECT_EQ(open_tmp(&file, name), 0);
  EXPECT_STREQ(name, "TEMP0001.TMP");
  EXPECT_EQ(ReadFile(Path("TEMP0001.TMP")), "");
  EXPECT_EQ(ReadFile(Path("TEMP0000.TMP")), "taken");
  // The settings of the attempt do not stay.
  EXPECT_EQ(env->engine.create_safety, 1);
  EXPECT_EQ(env->engine.report_create_errors, 1);
  EXPECT_EQ(env->engine.exclusive, 0);
  d4init_undo(&env->engine);
}

TEST_F(PathsTest, OpenTmpWhenEveryNameIsTakenReportsTheEngineError) {
  d4init(&env->engine);
  char existing[16];
  for (int i = 0; i < 1000; ++i) {
    std::snprintf(existing, sizeof existing, "TEMP%04d.TMP", i);
    WriteFile(Path(existing), "");
  }
  DbFile file{};
  char name[16] = "";
  EXPECT_EQ(open_tmp(&file, name), -1);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(env->engine.error_code, -20);
  ASSERT_FALSE(screen.shown.empty());
  EXPECT_NE(screen.shown.back().text.find(Maz("Zbiór tymczasowy")), std::string::npos);
  d4init_undo(&env->engine);
}

}  // namespace
