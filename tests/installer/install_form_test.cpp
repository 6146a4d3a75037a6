#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "installer/main_form.h"
#include "installer/script.h"
#include "tests/installer/installer_fixture.h"
#include "tests/installer/lha_fixture.h"

namespace fs = std::filesystem;

namespace {

TEST(InstallScript, LinesSplitIntoKeyAndValue) {
  struct Case {
    const char* line;
    bool counted;
    const char* key;
    const char* value;
  } cases[] = {
      {"PLIK=PROGRAM.LZH", true, "PLIK", "PROGRAM.LZH"},
      {"  PLIK  =  \"PROGRAM.LZH\"  ", true, "PLIK", "PROGRAM.LZH"},
      {"\tPOLOZENIE\t=\tBIN\r", true, "POLOZENIE", "BIN"},
      {"LINK = \" Korbel 2017 \"", true, "LINK", "Korbel 2017"},
      {"LINK=\"\"x\"\"", true, "LINK", "\"x\""},          // one quote goes from each end only
      {"README=\"", true, "README", ""},                  // a lone quote becomes nothing
      {"URUCHOM=BIN\\ZELSAL=1", true, "URUCHOM", "BIN\\ZELSAL=1"},
      {"plik=PROGRAM.LZH", true, "plik", "PROGRAM.LZH"},
      {"=VALUE", true, "", "VALUE"},
      {"PLIK PROGRAM.LZH", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    std::string key, value;
    EXPECT_EQ(SplitScriptLine(c.line, &key, &value), c.counted) << c.line;
    if (!c.counted) continue;
    EXPECT_EQ(key, c.key) << c.line;
    EXPECT_EQ(value, c.value) << c.line;
  }
}

TEST(InstallScript, ReaderGivesKnownKeysInOrderAndSkipsTheRest) {
  InstallScript script;
  script.lines = {"; comment",   "BACKUP=1",  "plik=lower.lzh", "PLIK = \"A.LZH\"", "POLOZENIE=BIN", "Uwagi=none",
                  "README=R.TXT", "URUCHOM=BIN\\ZELSAL", "KATALOG=C:\\Korbel", "LINK=Korbel", "PLIK"};
  std::vector<std::pair<int, std::string>> got;
  std::string value;
  for (int code; (code = NextScriptLine(&script, &value)) != -1;) got.push_back({code, value});
  EXPECT_EQ(got, (std::vector<std::pair<int, std::string>>{{SCRIPT_BACKUP, "1"},
                                                           {SCRIPT_PLIK, "A.LZH"},
                                                           {SCRIPT_POLOZENIE, "BIN"},
                                                           {SCRIPT_README, "R.TXT"},
                                                           {SCRIPT_URUCHOM, "BIN\\ZELSAL"},
                                                           {SCRIPT_KATALOG, "C:\\Korbel"},
                                                           {SCRIPT_LINK, "Korbel"}}));
}

class InstallForm : public InstallerTest {
 protected:
  void Script(const std::string& text) { WriteFile(Path("Instaluj.dat"), text); }
  void Archive(const std::string& name, const std::vector<lha::Member>& members) {
    WriteFile(Path(name), lha::Pack(members));
  }
  bool Create() {
    form.baseDir = dir;
    return form.FormCreate();
  }
  bool Shown(const std::string& text) const {
    for (const auto& s : screen.shown)
      if (s.text == text) return true;
    return false;
  }
  RecordingScreenHook screen;
  TMainForm form;
};

TEST_F(InstallForm, ScriptSetsTheDirectoryAndTheShortcutName) {
  Script("KATALOG=C:\\Pierwszy\nLINK=Pierwszy\nKATALOG = \"D:\\Firma\\Korbel\"\nLINK=\"Korbel 2024\"\n");
  ASSERT_TRUE(Create());
  EXPECT_EQ(form.EditDir, "D:\\Firma\\Korbel");
  EXPECT_EQ(form.ShortcutText, "Korbel 2024");
}

TEST_F(InstallForm, MissingScriptIsToldAndTheFormNotMade) {
  EXPECT_FALSE(Create());
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_NE(screen.shown[0].text.find("Instaluj.dat"), std::string::npos);
}

TEST_F(InstallForm, TwoPlacesForOneArchiveExtractItTwiceAndTheShortcutStartsTheProgram) {
  Archive("PROGRAM.LZH", {{"ZELSAL", "program"}, {"DANE.TXT", "dane"}});
  Script("PLIK=PROGRAM.LZH\nPOLOZENIE=BIN\nPOLOZENIE=KOPIA\\STARA\nURUCHOM=BIN\\ZELSAL\n");
  ASSERT_TRUE(Create());
  EXPECT_EQ(form.EditDir, "C:\\Korbel");
  EXPECT_EQ(form.ShortcutText, "Korbel 2017");
  form.BtnInstallClick();
  for (const char* sub : {"c/Korbel/BIN/", "c/Korbel/KOPIA/STARA/"}) {
    EXPECT_EQ(ReadFile(Path(std::string(sub) + "ZELSAL")), "program") << sub;
    EXPECT_EQ(ReadFile(Path(std::string(sub) + "DANE.TXT")), "dane") << sub;
  }
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].title, "Uwaga !");
  EXPECT_EQ(screen.shown[0].text, "Instalacja zakończona pomyślnie.");
  EXPECT_TRUE(form.closed);
  EXPECT_TRUE(form.BtnInstallEnabled);
  EXPECT_FALSE(form.ProgressTotal.visible);
  EXPECT_EQ(form.ProgressTotal.max, 11);
  EXPECT_EQ(form.ProgressTotal.position, 0);   // stored members move no progress
  struct stat st;
  ASSERT_EQ(stat(Path("c/Korbel/BIN/ZELSAL").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0100, 0u);
  std::vector<ShortcutItem> items;
  ScanShortcuts(&items);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "Korbel 2017");
  EXPECT_EQ(items[0].target, Path("c/Korbel/BIN/ZELSAL"));
}

TEST_F(InstallForm, WithoutUruchomEveryArchiveIsExtractedAndNoShortcutMade) {
  Archive("A.LZH", {{"A.TXT", "a"}});
  Archive("B.LZH", {{"B.TXT", "b"}});
  Script("PLIK=A.LZH\nPOLOZENIE=A\nPLIK=B.LZH\nPOLOZENIE=B\n");
  ASSERT_TRUE(Create());
  form.BtnInstallClick();
  EXPECT_EQ(ReadFile(Path("c/Korbel/A/A.TXT")), "a");
  EXPECT_EQ(ReadFile(Path("c/Korbel/B/B.TXT")), "b");
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].text, "Brak sekcji URUCHOM w pliku Instaluj.dat");
  EXPECT_FALSE(fs::exists(Path("data/applications")));
  EXPECT_FALSE(form.closed);
  EXPECT_TRUE(form.BtnInstallEnabled);
  EXPECT_FALSE(form.ProgressTotal.visible);
}

TEST_F(InstallForm, FolderChoice) {
  fs::create_directories(Path("d/Firma"));
  struct Case {
    std::vector<std::string> typed;
    std::string editDir;
  } cases[] = {
      {{Path("d")}, "D:\\ZelmWIN"},          // a drive root gets the folder under it
      {{"D:\\"}, "D:\\ZelmWIN"},
      {{Path("d/Firma/")}, "D:\\Firma"},
      {{""}, "C:\\Korbel"},                   // cancelled: unchanged
      {{Path("d/missing")}, "C:\\Korbel"},
  };
  Script("");
  ASSERT_TRUE(Create());
  for (const Case& c : cases) {
    form.EditDir = "C:\\Korbel";
    typed = c.typed;
    form.BtnDirsClick();
    EXPECT_EQ(form.EditDir, c.editDir) << c.typed[0];
  }
}

TEST_F(InstallForm, ExistingShortcutOfThisDirectoryIsChosenAnotherDirectoryGetsANewName) {
  fs::create_directories(Path("c/Korbel"));
  WriteFile(Path("c/Korbel/Zelsal"), "");
  CreateShortcut("Korbel 2017", "C:\\Korbel\\Zelsal", "C:\\Korbel", false);
  Script("");
  ASSERT_TRUE(Create());
  EXPECT_EQ(form.ShortcutText, "Korbel 2017");
  EXPECT_EQ(form.shortcutSelected, 0);
  form.EditDir = "C:\\Korbel2";
  form.EditDirExit();
  EXPECT_EQ(form.ShortcutText, "Korbel 2017 (2)");
  EXPECT_EQ(form.shortcutSelected, -1);
  CreateShortcut("Korbel 2017 (2)", "C:\\Inny\\Zelsal", "C:\\Inny", false);
  ScanShortcuts(&form.ShortcutList);
  form.EditDirExit();
  EXPECT_EQ(form.ShortcutText, "Korbel 2017 (3)");
}

// Esc while installing asks; Yes stops the pass where it is.
TEST_F(InstallForm, CancelWhileInstalling) {
  struct Case {
    const char* archive;
    int answer;
    bool finished;
  } cases[] = {
      {"lha213/lh5_long.lzh", 'T', false},   // stopped inside the decoded member
      {"lha213/lh0.lzh", 'T', false},        // stored members: stopped before the member
      {"lha213/lh5_long.lzh", 'N', true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.archive) + " " + char(c.answer));
    fs::remove_all(Path("c/Korbel"));
    fs::copy_file(lha::FixturePath(c.archive), Path("ARCH.LZH"), fs::copy_options::overwrite_existing);
    Script("PLIK=ARCH.LZH\nPOLOZENIE=BIN\nURUCHOM=BIN\\ZELSAL\n");
    TMainForm fresh;
    fresh.baseDir = dir;
    ASSERT_TRUE(fresh.FormCreate());
    screen.shown.clear();
    screen.keys = {SCREEN_KEY_ESC};
    screen.answers = {c.answer};
    fresh.BtnInstallClick();
    ASSERT_FALSE(screen.shown.empty());
    EXPECT_EQ(screen.shown[0].what, "question");
    EXPECT_EQ(screen.shown[0].text, "Przerwać instalację ?");
    EXPECT_EQ(fresh.closed, c.finished);
    EXPECT_EQ(Shown("Instalacja zakończona pomyślnie."), c.finished);
    EXPECT_EQ(fs::exists(Path("data/applications")), c.finished);
    EXPECT_EQ(fs::is_empty(Path("c/Korbel/BIN")), !c.finished);
    EXPECT_TRUE(fresh.BtnInstallEnabled);
    EXPECT_FALSE(fresh.ProgressTotal.visible);
    fs::remove_all(Path("data/applications"));
  }
}

// The others are still installed, but the pass ends as failed, with no
// shortcut and the form left open.
TEST_F(InstallForm, FailedMembersAreReportedAndTheOthersInstalled) {
  lha::Member bad{"ZLY.TXT", "zly"};
  bad.crc = 1;
  Archive("A.LZH", {{"RO.TXT", "new"}, bad, {"ZELSAL", "program"}});
  Script("PLIK=A.LZH\nPOLOZENIE=BIN\nURUCHOM=BIN\\ZELSAL\n");
  fs::create_directories(Path("c/Korbel/BIN"));
  WriteFile(Path("c/Korbel/BIN/RO.TXT"), "old");
  chmod(Path("c/Korbel/BIN/RO.TXT").c_str(), 0444);
  ASSERT_TRUE(Create());
  form.BtnInstallClick();
  EXPECT_TRUE(Shown("Nie można wypakować pliku RO.TXT do katalogu C:\\Korbel\\BIN\\.\r\n"
                    "Taki plik już istnieje i ma atrybut \"Tylko do odczytu\"."));
  EXPECT_TRUE(Shown("Błędna suma kontrolna pliku C:\\Korbel\\BIN\\ZLY.TXT.\r\nArchiwum jest uszkodzone."));
  EXPECT_FALSE(Shown("Instalacja zakończona pomyślnie."));
  EXPECT_TRUE(Shown("Instalacja nie powiodła się: nie wszystkie pliki zostały zapisane."));
  EXPECT_FALSE(form.closed);
  EXPECT_FALSE(fs::exists(Path("data/applications")));
  EXPECT_EQ(ReadFile(Path("c/Korbel/BIN/RO.TXT")), "old");
  EXPECT_FALSE(fs::exists(Path("c/Korbel/BIN/ZLY.TXT")));
  EXPECT_EQ(ReadFile(Path("c/Korbel/BIN/ZELSAL")), "program");
}

TEST_F(InstallForm, FolderThatCannotBeMadeIsReportedAndThePassFails) {
  Archive("A.LZH", {{"ZELSAL", "program"}});
  Script("PLIK=A.LZH\nPOLOZENIE=BIN\nURUCHOM=BIN\\ZELSAL\n");
  fs::create_directories(Path("c/Korbel"));
  WriteFile(Path("c/Korbel/BIN"), "a file where the folder goes");
  ASSERT_TRUE(Create());
  form.BtnInstallClick();
  bool told = false;
  for (const auto& box : screen.shown)
    told = told || box.text == "Nie można utworzyć katalogu " + Path("c/Korbel/BIN/") +
                                   ".\nW tym miejscu jest plik, a nie katalog.";
  EXPECT_TRUE(told);
  EXPECT_TRUE(Shown("Instalacja nie powiodła się: nie wszystkie pliki zostały zapisane."));
  EXPECT_FALSE(Shown("Instalacja zakończona pomyślnie."));
  EXPECT_FALSE(fs::exists(Path("data/applications")));
}

// A folder the system refuses: the reason is the real one, in Polish.
TEST_F(InstallForm, FolderOnAReadOnlyPlaceIsToldWithItsReason) {
  Archive("A.LZH", {{"ZELSAL", "program"}});
  Script("PLIK=A.LZH\nPOLOZENIE=BIN\nURUCHOM=BIN\\ZELSAL\n");
  // Root writes anywhere a mode allows nothing; the kernel's folder refuses even root.
  std::string target = geteuid() == 0 ? "/sys/zelsetup-test" : Path("ro");
  if (geteuid() != 0) {
    fs::create_directories(target);
    chmod(target.c_str(), 0555);
  }
  ASSERT_TRUE(Create());
  form.EditDir = target;
  form.BtnInstallClick();
  EXPECT_TRUE(Shown("Nie można utworzyć katalogu " + target + "/BIN/.\nBrak uprawnień do zapisu w tym miejscu."));
  EXPECT_TRUE(Shown("Instalacja nie powiodła się: nie wszystkie pliki zostały zapisane."));
  EXPECT_TRUE(form.failed);
  EXPECT_FALSE(fs::exists(Path("data/applications")));
}

// A target typed as a Linux folder is named in one style, the script's
// "\" parts joined as on disk.
TEST_F(InstallForm, ALinuxTargetIsNamedWithItsOwnSeparators) {
  Archive("A.LZH", {{"RO.TXT", "new"}, {"ZELSAL", "program"}});
  Script("PLIK=A.LZH\nPOLOZENIE=BIN\nURUCHOM=BIN\\ZELSAL\n");
  fs::create_directories(Path("linux/Zel/BIN"));
  WriteFile(Path("linux/Zel/BIN/RO.TXT"), "old");
  chmod(Path("linux/Zel/BIN/RO.TXT").c_str(), 0444);
  ASSERT_TRUE(Create());
  form.EditDir = Path("linux/Zel");
  form.BtnInstallClick();
  EXPECT_TRUE(Shown("Nie można wypakować pliku RO.TXT do katalogu " + Path("linux/Zel/BIN/") +
                    ".\r\nTaki plik już istnieje i ma atrybut \"Tylko do odczytu\"."));
  EXPECT_TRUE(form.failed);
}

// Installing again into the same folder finds the shortcut it made: the
// name is proposed again and the entry replaced, not doubled.
TEST_F(InstallForm, ReinstallIntoTheSameFolderReplacesItsOwnShortcut) {
  Archive("A.LZH", {{"Zelsal", "program"}});
  Script("PLIK=A.LZH\nPOLOZENIE=PROGRAM\nURUCHOM=PROGRAM\\ZELSAL\nLINK=Zelsal\n");
  for (const std::string& target : {std::string("C:\\Korbel"), Path("linux/Zel")}) {
    SCOPED_TRACE(target);
    fs::remove_all(Path("data/applications"));
    for (int run = 1; run <= 2; run++) {
      TMainForm again;
      again.baseDir = dir;
      ASSERT_TRUE(again.FormCreate());
      again.EditDir = target;
      again.EditDirExit();
      EXPECT_EQ(again.ShortcutText, "Zelsal") << run;
      EXPECT_EQ(again.shortcutSelected, run == 1 ? -1 : 0) << run;
      again.BtnInstallClick();
      EXPECT_FALSE(again.failed) << run;
    }
    std::vector<ShortcutItem> items;
    ScanShortcuts(&items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "Zelsal");
  }
}

TEST_F(InstallForm, ArchiveThatCannotBeCountedStopsThePassBeforeItStarts) {
  struct Case {
    std::string bytes;
    const char* text;
  } cases[] = {
      {"", "Plik %s jest pusty."},
      {std::string(1, '\x30') + std::string(60, 'x'), "Nie można rozpakować pliku %s.\nBłąd CRC nagłówka."},
  };
  for (const Case& c : cases) {
    WriteFile(Path("A.LZH"), c.bytes);
    Archive("B.LZH", {{"B.TXT", "b"}});
    Script("PLIK=B.LZH\nPOLOZENIE=B\nPLIK=A.LZH\nPOLOZENIE=A\nURUCHOM=B\\B.TXT\n");
    TMainForm fresh;
    fresh.baseDir = dir;
    ASSERT_TRUE(fresh.FormCreate());
    screen.shown.clear();
    fresh.BtnInstallClick();
    std::string text = c.text;
    ASSERT_EQ(screen.shown.size(), 1u);
    EXPECT_EQ(screen.shown[0].text, text.replace(text.find("%s"), 2, Path("A.LZH")));
    EXPECT_EQ(screen.shown[0].title, "Uwaga !");
    EXPECT_FALSE(fs::exists(Path("c/Korbel")));
  }
}

TEST_F(InstallForm, ForceDirectoryMakesEveryMissingLevel) {
  WriteFile(Path("c/plik"), "");
  struct Case {
    std::string path;
    bool made;
    const char* checked;   // made as a directory
  } cases[] = {
      {"C:\\Jeden\\Dwa\\Trzy\\", true, "c/Jeden/Dwa/Trzy"},
      {"C:\\Jeden", true, "c/Jeden"},
      {"C:", true, nullptr},
      {"C:\\plik", false, nullptr},             // a file is no folder to install into
      {"C:\\plik\\pod", false, nullptr},
      {"E:\\Korbel\\BIN", true, "home/drive_e/Korbel/BIN"},   // an unmapped drive, its root made too
      {Path("linux/ścieżka"), true, "linux/ścieżka"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ForceDirectory(c.path), c.made ? 0 : EEXIST) << c.path;
    if (c.checked) {
      EXPECT_TRUE(fs::is_directory(Path(c.checked))) << c.path;
    }
  }
}

TEST_F(InstallForm, ReadmeFilesOpenThroughXdgOpenInScriptOrder) {
  fs::create_directories(Path("bin"));
  WriteFile(Path("bin/xdg-open"), "#!/bin/sh\necho \"$1\" >> '" + Path("opened.txt") + "'\n");
  fs::permissions(Path("bin/xdg-open"), fs::perms::owner_all);
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (Path("bin") + ":" + path).c_str(), 1);
  Script("README=\"CZYTAJ.TXT\"\nPLIK=A.LZH\nREADME=DOC\\ZMIANY.TXT\nreadme=INNE.TXT\n");
  ASSERT_TRUE(Create());
  form.ReadmeBtnClick();
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(ReadFile(Path("opened.txt")), Path("CZYTAJ.TXT") + "\n" + Path("DOC/ZMIANY.TXT") + "\n");
  EXPECT_TRUE(screen.shown.empty());
}

}  // namespace
