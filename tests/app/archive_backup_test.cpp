// Archive backup and restore: the table of archived files, writing, verifying
// and restoring a firm's and the common data in a temporary tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/archive_backup.h"
#include "env/paths.h"
#include "interchange/archive.h"
#include "platform/program_dir.h"
#include "tests/interchange/archive_fixture.h"
#include "tests/support/env_test.h"

namespace {

namespace fs = std::filesystem;

constexpr int YEAR = 2026;

TEST(ArchivedFilesTest, RowsAndFlags) {
  int perFlags[0x20] = {};
  for (const ArchivedFile& row : ArchivedFiles) perFlags[row.flags]++;
  EXPECT_EQ(perFlags[0x02], 9);
  EXPECT_EQ(perFlags[0x03], 2);
  EXPECT_EQ(perFlags[0x04], 6);
  EXPECT_EQ(perFlags[0x08], 1);
  EXPECT_EQ(perFlags[0x10], 45);
  EXPECT_EQ(perFlags[0x11], 70);
  for (const ArchivedFile& row : ArchivedFiles)
    EXPECT_EQ(row.flags & ARCH_PER_YEAR, std::strstr(row.name, "  .DBF") ? ARCH_PER_YEAR : 0) << row.name;
  EXPECT_STREQ(ArchivedFiles[ARCHIVED_MAIN_OPTIONS_ROW].name, "Z5PABV.DBF");
}

TEST(ArchivedFilesTest, YearDigitsGoWhereTheBlanksAre) {
  ArchivedFile table[ARCHIVED_FILES_COUNT];
  PrepareArchivedFiles(table, YEAR, "Z5PABVXY.DBF");
  EXPECT_STREQ(table[9].name, "Z5TABE26.DBF");
  EXPECT_STREQ(table[ARCHIVED_MAIN_OPTIONS_ROW].name, "Z5PABVXY.DBF");
  EXPECT_STREQ(table[ARCHIVED_FILES_COUNT - 1].name, "Z5NOTY26.DBF");
  int printArchives = 0;
  for (const ArchivedFile& row : table) {
    EXPECT_EQ(std::strchr(row.name, ' '), nullptr) << row.name;
    printArchives += std::strcmp(row.name, "*.B26") == 0;
  }
  EXPECT_EQ(printArchives, 1);
  struct Case {
    const char* name;
    const char* expected;
  } names[] = {{"Arc5  .A01", "Arc526.A01"}, {"Arc5G  .A01", "Arc5G26.A01"}, {"*.B  ", "*.B26"}};
  for (const Case& c : names) {
    char name[ARCHIVED_NAME_SIZE];
    std::strcpy(name, c.name);
    EXPECT_STREQ(PutArchiveYear(name, YEAR), c.expected);
  }
}

TEST(ArchivedFilesTest, MatchArchivePattern) {
  ArchivedFile table[ARCHIVED_FILES_COUNT];
  PrepareArchivedFiles(table, 2025, "Z5PABV.DBF");
  auto rowOf = [&](const char* pattern) {
    for (int i = 0; i < ARCHIVED_FILES_COUNT; ++i)
      if (std::strcmp(table[i].name, pattern) == 0) return i;
    return -2;
  };
  struct Case {
    const char* name;
    int row;
  } cases[] = {
      {"Z5SPRZ25.DBF", rowOf("Z5SPRZ25.DBF")},
      {"z5sprz25.dbf", rowOf("Z5SPRZ25.DBF")},
      {"Z5SPRZ24.DBF", -1},                      // another year's table
      {"FAKTURY.B25", rowOf("*.B25")},
      {"FAKTURY.2025.B25", rowOf("*.B25")},      // only the last dot meets the pattern's
      {"FAKTURY.B25.BAK", -1},
      {"jpk_v7m.dbf", rowOf("JPK*.DBF")},
      {"JPK.DBF.DBF", rowOf("JPK*.DBF")},
      {"JPK_V7M.MDX", -1},
      {"deklaracja.xml", rowOf("*.XML")},        // the first of the two "*.XML" rows
      {"Z5KONT.DBF", rowOf("Z5KONT.DBF")},
      {"Z5KONT.DBFX", -1},
      {"Z5KONTX.DBF", -1},
      {"OBCY.TXT", -1},
      {"", -1},
  };
  EXPECT_EQ(rowOf("*.XML"), 17);
  for (const Case& c : cases) EXPECT_EQ(MatchArchivePattern(table, c.name), c.row) << c.name;
}

// A firm directory (current), the common directory on drive "W:", the
// program directory, and the archive drive "A:".
class ArchiveBackupTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    if (HasFatalFailure()) return;
    for (const char* variable : {"ZELSAL_DRIVE_A", "ZELSAL_DRIVE_W"}) {
      const char* value = std::getenv(variable);
      saved.emplace_back(variable, value ? std::string(value) : std::string("\x01"));
    }
    setenv("ZELSAL_DRIVE_A", Path("floppy").c_str(), 1);
    setenv("ZELSAL_DRIVE_W", Path("w").c_str(), 1);
    for (const char* sub : {"firma", "w/WSPOLNE", "floppy/KOPIA"}) fs::create_directories(Path(sub));
    firm = Path("firma/");
    common = Path("w/WSPOLNE/");
    program = PlatProgramDir();
    std::strcpy(env->sharedCatalogueDir, "W:\\WSPOLNE");
    std::strcpy(env->ownerName, "FIRMA TESTOWA SP. Z O.O.");
    std::strcpy(env->workingDate, "20261210");
    TransDir(EnvFromDiskPath(firm).c_str(), &firmPath);
    ASSERT_EQ(ChangeDir(&firmPath, 0, 0), 0);
    PrepareArchivedFiles(table, YEAR, "Z5PABV.DBF");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved) {
      if (value == "\x01")
        unsetenv(name.c_str());
      else
        setenv(name.c_str(), value.c_str(), 1);
    }
    EnvTest::TearDown();
  }

  // Every file of the three data directories (backup directories too) with its content.
  std::vector<std::pair<std::string, std::string>> Tree() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& root : {firm, common, program}) {
      for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().string();
        if (name.find(".Log") != std::string::npos) continue;   // the error log
        files.emplace_back(name, ReadFile(name));
      }
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  void WriteData() {
    WriteFile(firm + "Z5SPRZ26.DBF", "sprzedaz 2026 " + std::string(3000, 's'));
    WriteFile(firm + "Z5KONT.DBF", "kontrahenci");
    WriteFile(firm + "FAKTURY.B26", "wydruk");
    WriteFile(firm + "Z5SPRZ25.DBF", "another year, not archived");
    WriteFile(common + "Z5KURS.DBF", "kursy walut");
    WriteFile(common + "Z5TABE26.DBF", "tabele 2026");
    WriteFile(program + "Z5PASS.DBF", "operatorzy");
  }

  bool Exists(const std::string& path) const { return fs::exists(path); }

  const char* firmArchive = "A:\\KOPIA\\Arc526.A01";
  const char* commonArchive = "A:\\KOPIA\\Arc5G26.A01";
  std::string firm, common, program;
  PathRecord firmPath{};
  ArchivedFile table[ARCHIVED_FILES_COUNT];
  FixedClock clock;
  RecordingScreenHook screen;
  std::vector<std::pair<std::string, std::string>> saved;
};

TEST_F(ArchiveBackupTest, WrittenVerifiedChangedAndRestored) {
  WriteData();
  ASSERT_EQ(WriteArchive(table, commonArchive, ARCH_COMMON | ARCH_PROGRAM), 1);
  ASSERT_EQ(VerifyArchive(table, commonArchive, ARCH_COMMON | ARCH_PROGRAM), 1);
  ASSERT_EQ(WriteArchive(table, firmArchive, ARCH_ZUS | ARCH_FIRM), 1);
  ASSERT_EQ(VerifyArchive(table, firmArchive, ARCH_ZUS | ARCH_FIRM), 1);
  EXPECT_TRUE(Exists(Path("floppy/KOPIA/ARC526.A01")));
  EXPECT_TRUE(Exists(Path("floppy/KOPIA/ARC5G26.A01")));
  const std::string firmBytes = ReadFile(Path("floppy/KOPIA/ARC526.A01"));
  for (const char* common : {"Z5TABE26.DBF", "Z5KURS.DBF", "Z5PASS.DBF", "Z5SPRZ25.DBF"})
    EXPECT_EQ(firmBytes.find(common), std::string::npos) << common << " is not the firm's own";
  for (const char* own : {"Z5SPRZ26.DBF", "Z5KONT.DBF", "FAKTURY.B26"})
    EXPECT_NE(firmBytes.find(own), std::string::npos) << own;
  EXPECT_EQ(fs::current_path().string() + "/", firm) << "the run returns to the firm directory";

  char owner[71], date[9];
  ASSERT_EQ(ReadArchiveInfo(firmArchive, owner, sizeof owner, date), 1);
  EXPECT_STREQ(owner, "FIRMA TESTOWA SP. Z O.O.");
  EXPECT_STREQ(date, "20261210");

  const auto before = Tree();
  WriteFile(firm + "Z5SPRZ26.DBF", "changed after the backup");
  EXPECT_EQ(VerifyArchive(table, firmArchive, ARCH_ZUS | ARCH_FIRM), 0) << "a difference is found";
  WriteFile(common + "Z5KURS.DBF", "changed too");
  fs::remove(program + "Z5PASS.DBF");

  char backup[8] = "x";
  ASSERT_EQ(RestoreArchive(table, firmArchive, backup), 1);
  EXPECT_STREQ(backup, "Bak001");
  ASSERT_EQ(RestoreArchive(table, commonArchive, backup), 1);
  EXPECT_STREQ(backup, "") << "nothing of the common archive belongs to the firm directory";

  EXPECT_EQ(ReadFile(firm + "Bak001/Z5SPRZ26.DBF"), "changed after the backup");
  EXPECT_EQ(ReadFile(common + "Bak001/Z5KURS.DBF"), "changed too");
  EXPECT_FALSE(Exists(program + "Bak001")) << "the program directory's backup directory stayed empty";
  EXPECT_FALSE(Exists(firm + "Bak002"));
  EXPECT_FALSE(Exists(firm + "tempxxxx.$$$"));
  fs::remove_all(firm + "Bak001");
  fs::remove_all(common + "Bak001");
  EXPECT_EQ(Tree(), before);
}

TEST_F(ArchiveBackupTest, MissingArchiveOrBlankMaskWritesNothing) {
  WriteData();
  EXPECT_EQ(RestoreArchive(table, "A:\\KOPIA\\BRAK.A01", nullptr), 0);
  EXPECT_EQ(VerifyArchive(table, "A:\\KOPIA\\BRAK.A01", ARCH_FIRM), 0);
  EXPECT_EQ(WriteArchive(table, "A:\\NIEMA\\ARC.A01", ARCH_FIRM), 0) << "the archive's directory is missing";
  EXPECT_FALSE(Exists(Path("floppy/NIEMA")));
}

TEST_F(ArchiveBackupTest, UnknownEntryLandsInTheCurrentDirAndTheFirstCopyWins) {
  fs::create_directories(Path("src"));
  WriteFile(Path("src/OBCY.TXT"), "no row for me");
  WriteFile(Path("src/one"), "first copy");
  WriteFile(Path("src/two"), "second copy");
  WriteFile(firm + "Z5KONT.DBF", "current");
  const std::string archive = Path("floppy/KOPIA/TWICE.A01");
  ASSERT_TRUE(cp1::PackFiles(archive.c_str(), {{Path("src/OBCY.TXT"), "OBCY.TXT", 0},
                             {Path("src/one"), "Z5KONT.DBF", ARCH_FIRM},
                             {Path("src/two"), "Z5KONT.DBF", ARCH_FIRM}}));
  char backup[8];
  ASSERT_EQ(RestoreArchive(table, "A:\\KOPIA\\TWICE.A01", backup), 1);
  EXPECT_EQ(ReadFile(firm + "OBCY.TXT"), "no row for me");
  EXPECT_EQ(ReadFile(firm + "Z5KONT.DBF"), "first copy");
  EXPECT_EQ(ReadFile(firm + "Bak001/Z5KONT.DBF"), "current");
  EXPECT_FALSE(Exists(firm + "Bak002"));
}

// A restore that stops part-way leaves every data file as it was.
TEST_F(ArchiveBackupTest, DamagedOrTruncatedArchiveChangesNothing) {
  WriteData();
  ASSERT_EQ(WriteArchive(table, firmArchive, ARCH_FIRM), 1);
  const std::string archive = ReadFile(Path("floppy/KOPIA/ARC526.A01"));
  const size_t second = archive.find("CP1", 1);
  const size_t third = archive.find("CP1", second + 1);
  ASSERT_NE(third, std::string::npos);

  std::string flipped = archive;
  flipped[second + ARC_HEADER_SIZE + 2] ^= 0x40;
  struct Case {
    const char* what;
    std::string bytes;
    bool asks;
  } cases[] = {
      {"a flipped byte in the second entry", flipped, true},
      {"cut in the third entry", archive.substr(0, third + ARC_HEADER_SIZE + 3), false},
  };
  for (const Case& c : cases) {
    WriteFile(Path("floppy/KOPIA/ARC526.A01"), c.bytes);
    for (const char* name : {"Z5SPRZ26.DBF", "Z5KONT.DBF", "FAKTURY.B26"}) WriteFile(firm + name, std::string("now ") + name);
    fs::remove(firm + "FAKTURY.B26");
    const auto before = Tree();
    screen.shown.clear();
    screen.answers.clear();
    screen.keys = {SCREEN_KEY_ESC};   // the wait for a further volume is given up
    char backup[8];
    EXPECT_EQ(RestoreArchive(table, firmArchive, backup), 0) << c.what;
    EXPECT_EQ(Tree(), before) << c.what;
    EXPECT_FALSE(Exists(firm + "Bak001")) << c.what;
    bool asked = false;
    for (const auto& shown : screen.shown) asked = asked || shown.what == "question";
    EXPECT_TRUE(asked || !c.asks) << c.what << ": the CRC question is asked";
  }
}

TEST_F(ArchiveBackupTest, NewBackupDirTakesTheFirstFreeNumber) {
  char name[8];
  ASSERT_EQ(NewBackupDir(name), 0);
  EXPECT_STREQ(name, "Bak001");
  fs::create_directories(firm + "Bak002");
  ASSERT_EQ(NewBackupDir(name), 0);
  EXPECT_STREQ(name, "Bak003");
  EXPECT_TRUE(fs::is_directory(firm + "Bak003"));
  for (int i = 4; i <= 999; ++i) fs::create_directories(firm + "Bak" + (i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i));
  EXPECT_EQ(NewBackupDir(name), -1);
}

}  // namespace
