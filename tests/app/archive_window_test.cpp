// The archive window over a firm directory, with drive "A:" mapped to a folder.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/archive_window.h"
#include "app/option_sets.h"
#include "app/param_store.h"
#include "tests/app/screen_shots.h"
#include "tests/tables/tables_fixture.h"
#include "ui/keyboard.h"

namespace {

namespace fs = std::filesystem;

class ArchiveWindowTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    const char* drive = std::getenv("ZELSAL_DRIVE_A");
    savedDrive = drive ? drive : "";
    hadDrive = drive != nullptr;
    setenv("ZELSAL_DRIVE_A", (dir + "floppy").c_str(), 1);
    MakeDir("floppy");
    env->confirmSave = 'N';
    std::strcpy(env->workingDate, "20261210");
    std::strcpy(env->ownerName, "FIRMA TESTOWA");
    open_envr_win();
    seen.clear();
    g4set_key_to(KEY_F9, TakeShot);
  }
  void TearDown() override {
    close_envr_win();
    if (hadDrive)
      setenv("ZELSAL_DRIVE_A", savedDrive.c_str(), 1);
    else
      unsetenv("ZELSAL_DRIVE_A");
    TablesTest::TearDown();
  }
  void SetMainOption(int number, const char* text) {
    ParamTable ctx{};
    ctx.k1 = 1;
    ctx.k2 = 1;
    ctx.section = "OPCJE";
    ASSERT_EQ(OpenParamTable(&ctx, MainOptionsFileName(), 0, PARAM_PROGRAM_DIR), 0);
    SetParamStr(&ctx, number, text);
    d4close(ctx.table);
  }
  std::string Subdir() {
    ParamTable ctx{};
    ctx.k1 = 1;
    ctx.k2 = 1;
    ctx.section = "PODATKI";
    EXPECT_EQ(OpenParamTable(&ctx, "Z5PAPV.DBF", 0, PARAM_CURRENT_DIR), 0);
    char text[13] = {};
    GetParamText(&ctx, 15, text, sizeof text, 0);
    d4close(ctx.table);
    std::string s = text;
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
  }
  bool hadDrive = false;
  std::string savedDrive;
};

TEST_F(ArchiveWindowTest, BlankArchiveDirectoryShowsMessageFourAndDoesNothing) {
  SetMainOption(29, "");
  HeadlessSetScript("{F9}{ENTER}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_WRITE), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Brak katalogu dla zbioru archiwum !"), std::string::npos) << seen;
  EXPECT_FALSE(Exists(firm + "Z5PAPV.DBF")) << "not even the firm's options are touched";
}

TEST_F(ArchiveWindowTest, WithBothSwitchesOffNothingIsWrittenButTheSubdirIsSaved) {
  WriteFile(firm + "Z5KONT.DBF", "kontrahenci");
  HeadlessSetScript("KOPIA{ENTER}N{ENTER}{F9}{F2}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_WRITE), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Zapis archiwum"), std::string::npos) << seen;
  EXPECT_NE(seen.find("A:\\KOPIA\\Arc526.A01"), std::string::npos) << seen;
  EXPECT_EQ(Subdir(), "KOPIA");
  EXPECT_TRUE(fs::is_empty(dir + "floppy"));
}

TEST_F(ArchiveWindowTest, FirmArchiveWrittenThenRestoredRunsTheMaintenancePass) {
  WriteFile(firm + "FAKTURY.B26", "wydruk");
  HeadlessSetScript("KOPIA{ENTER}{F2}{F9}{ENTER}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_WRITE), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Zapis danych zakończony pomyślnie."), std::string::npos) << seen;
  EXPECT_TRUE(Exists(dir + "floppy/KOPIA/ARC526.A01"));

  WriteFile(firm + "FAKTURY.B26", "changed");
  seen.clear();
  HeadlessSetScript("{F9}{F2}{F9}{ENTER}{F9}{ENTER}");
  try { ArchiwumAction(ARCHIVE_RESTORE); } catch (...) { ADD_FAILURE() << seen; }
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Odczyt danych z archiwum"), std::string::npos) << seen;
  EXPECT_NE(seen.find("FIRMA"), std::string::npos) << "the owner text read from the archive" << seen;
  EXPECT_NE(seen.find("Odczyt danych zakończony pomyślnie."), std::string::npos) << seen;
  EXPECT_NE(seen.find("Serwis zakończony"), std::string::npos) << seen;
  EXPECT_EQ(ReadFile(firm + "FAKTURY.B26"), "wydruk");
  EXPECT_EQ(ReadFile(firm + "Bak001/FAKTURY.B26"), "changed");
  EXPECT_TRUE(Exists(firm + "Z5TOWA26.DBF")) << "the pass reopened the firm's tables";
}

TEST_F(ArchiveWindowTest, FilesOfTheZusDirectoryGoIntoTheFirmArchive) {
  MakeDir("floppy/ZUSDANE");
  WriteFile(dir + "floppy/ZUSDANE/DEKL.XML", "<ZUS/>");
  ASSERT_EQ(LoadZusOptions(), 0);
  std::snprintf(zusOptions.directory, sizeof zusOptions.directory, "A:\\ZUSDANE");
  ASSERT_EQ(SaveZusOptions(), 0);
  zusOptions = ZusOptions{};   // the window loads them itself
  HeadlessSetScript("KOPIA{ENTER}{F2}{F9}{ENTER}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_WRITE), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Zapis danych zakończony pomyślnie."), std::string::npos) << seen;
  EXPECT_NE(seen.find("DEKL.XML"), std::string::npos) << seen;
}

TEST_F(ArchiveWindowTest, DamagedArchiveLeftWithEscRestoresNothingAndSaysSo) {
  WriteFile(firm + "FAKTURY.B26", std::string(5000, 'w'));
  WriteFile(firm + "Z5KONT.DBF", std::string(5000, 'k'));
  HeadlessSetScript("KOPIA{ENTER}{F2}{ENTER}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_WRITE), 0);
  const std::string archive = dir + "floppy/KOPIA/ARC526.A01";
  const std::string whole = ReadFile(archive);
  const size_t second = whole.find("CP1", 1);
  ASSERT_NE(second, std::string::npos);
  std::string damaged = whole;
  damaged[second + 114 + 2] ^= 0x40;
  WriteFile(archive, damaged);
  WriteFile(firm + "FAKTURY.B26", "changed");
  WriteFile(firm + "Z5KONT.DBF", "changed too");

  HeadlessSetScript("{F2}{ESC}{F9}{ENTER}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_RESTORE), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Archiwizacja zakończona błędnie!"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Odczyt danych zakończony"), std::string::npos) << seen;
  EXPECT_EQ(ReadFile(firm + "FAKTURY.B26"), "changed");
  EXPECT_EQ(ReadFile(firm + "Z5KONT.DBF"), "changed too");
  EXPECT_FALSE(Exists(firm + "Bak001"));
}

// Unmapped, "A:" stands for the folder drive_a of the program directory: the
// box names it while it is missing, and once made the archive goes there.
TEST_F(ArchiveWindowTest, UnmappedDriveIsNamedAndNothingHappens) {
  unsetenv("ZELSAL_DRIVE_A");
  for (int kind : {ARCHIVE_RESTORE, ARCHIVE_WRITE}) {
    seen.clear();
    HeadlessSetScript("{F9}{ENTER}");
    EXPECT_EQ(ArchiwumAction(kind), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_NE(seen.find("Napęd A: nie jest przypisany do katalogu."), std::string::npos) << seen;
    EXPECT_NE(seen.find("Utwórz katalog"), std::string::npos) << seen;
    EXPECT_NE(seen.find(dir + "home/drive_a"), std::string::npos) << seen;
    EXPECT_NE(seen.find("albo ustaw zmienną ZELSAL_DRIVE_A."), std::string::npos) << seen;
    EXPECT_EQ(seen.find("Odczyt danych z archiwum"), std::string::npos) << "no window opens" << seen;
    EXPECT_EQ(seen.find("archiwum firmowe"), std::string::npos) << "no window opens" << seen;
  }
  EXPECT_FALSE(Exists(dir + "home/drive_a")) << "the folder is not made behind the operator's back";
  MakeDir("home/drive_a");
  HeadlessSetScript("{F9}{ESC}{ESC}");
  EXPECT_EQ(ArchiwumAction(ARCHIVE_WRITE), 0);
  EXPECT_NE(seen.find("archiwum firmowe"), std::string::npos) << "the form opens" << seen;
}

}  // namespace
