#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "installer/prev_inst.h"
#include "installer/shortcuts.h"
#include "tests/installer/installer_fixture.h"

namespace fs = std::filesystem;

namespace {

TEST(DesktopExec, QuotesAndEscapesAsDesktopEntriesWant) {
  struct Case {
    std::string program, value;
  } cases[] = {
      {"/opt/zelsal/Zelsal", "/opt/zelsal/Zelsal"},
      {"/opt/My Apps/Zelsal", "\"/opt/My Apps/Zelsal\""},
      {"/opt/a$b/Zelsal", "\"/opt/a\\\\$b/Zelsal\""},     // \$ inside the quotes, the backslash escaped again
      {"/opt/100%/Zelsal", "/opt/100%%/Zelsal"},
      {"/opt/it's/Zelsal", "\"/opt/it's/Zelsal\""},
      {"/opt/a\"b\\c/Zelsal", "\"/opt/a\\\\\"b\\\\\\\\c/Zelsal\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DesktopExecValue(c.program), c.value) << c.program;
    EXPECT_EQ(DesktopExecProgram(c.value), c.program) << c.value;
  }
}

class Shortcuts : public InstallerTest {};

TEST_F(Shortcuts, ShortcutGoesToTheApplicationsAndTheDesktopReplacingAnOldOne) {
  fs::create_directories(Path("data/applications"));
  WriteFile(Path("data/applications/Korbel 2017.desktop"), "[Desktop Entry]\nExec=/old/Zelsal\n");
  fs::create_directories(Path("c/Korbel"));
  WriteFile(Path("c/Korbel/Zelsal"), "");
  ASSERT_EQ(CreateShortcut("Korbel 2017", "C:\\Korbel\\ZELSAL", "C:\\Korbel", true), 0);
  // No icon beside the program: the icon theme's.
  std::string expected = "[Desktop Entry]\nType=Application\nName=Korbel 2017\n"
                         "Comment=Sprzedaż, fakturowanie i sprzedaż detaliczna\nExec=" +
                         Path("c/Korbel/Zelsal") + "\nPath=" + Path("c/Korbel") +
                         "\nIcon=zelsal\nTerminal=false\nCategories=Office;Finance;\n";
  EXPECT_EQ(ReadFile(Path("data/applications/Korbel 2017.desktop")), expected);
  EXPECT_EQ(ReadFile(DesktopFolder() + "/Korbel 2017.desktop"), expected);
  EXPECT_EQ(DesktopFolder().rfind(Path("user/"), 0), 0u);
  // Read back: the shortcut's name and the program it starts.
  std::vector<ShortcutItem> items;
  ASSERT_EQ(ScanShortcuts(&items), 0);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "Korbel 2017");
  EXPECT_EQ(items[0].target, Path("c/Korbel/Zelsal"));
}

TEST_F(Shortcuts, WithoutTheDesktopBoxOnlyTheApplicationsFolderGetsOne) {
  ASSERT_EQ(CreateShortcut("Zelsal", "C:\\Z\\Zelsal", "C:\\Z", false), 0);
  EXPECT_TRUE(fs::exists(Path("data/applications/Zelsal.desktop")));
  EXPECT_FALSE(fs::exists(DesktopFolder() + "/Zelsal.desktop"));
}

TEST_F(Shortcuts, NameThatIsNoFileNameMakesNoShortcut) {
  for (const char* name : {"", ".", "..", "a/b"}) EXPECT_EQ(CreateShortcut(name, "C:\\Z\\Zelsal", "C:\\Z", true), -1);
  EXPECT_FALSE(fs::exists(Path("data/applications")));
}

class EarlierInstallations : public InstallerTest {
 protected:
  void SetUp() override {
    InstallerTest::SetUp();
    setenv("ZELSAL_DRIVE_E", Path("e").c_str(), 1);
    for (const char* d : {"e/Other", "e/Prog", "e/Zelsal", "elsewhere"}) fs::create_directories(Path(d));
    for (const char* f : {"e/Other/ZELSAL", "e/Prog/zelsal", "e/Zelsal/zelsal", "e/zelsal", "elsewhere/Zelsal",
                          "e/Prog/zelsal.txt"})
      WriteFile(Path(f), "");
    fs::create_directory_symlink(Path("elsewhere"), Path("e/link"));
  }
};

TEST_F(EarlierInstallations, SearchFindsEachCopyFollowingNoLinks) {
  struct stat st;
  ASSERT_EQ(stat(Path("e").c_str(), &st), 0);
  std::vector<InstallationRow> rows;
  ScanForInstallations(Path("e"), uint64_t(st.st_dev), &rows);
  std::vector<std::string> dirs;
  for (const InstallationRow& r : rows) {
    EXPECT_EQ(r.caption, "Korbel");
    dirs.push_back(r.directory);
  }
  EXPECT_EQ(dirs, (std::vector<std::string>{"E:\\Other\\", "E:\\Prog\\", "E:\\Zelsal\\", "E:\\"}));
}

TEST_F(EarlierInstallations, ChosenRowGivesItsDirectoryAndTheRowsStay) {
  TPrevInstDlg dialog;
  std::string chosen = "unchanged";
  typed = {""};   // Enter takes the first row
  ASSERT_TRUE(dialog.ChooseInstallation(&chosen));
  EXPECT_EQ(chosen, "E:\\Other");
  WriteFile(Path("d/zelsal"), "");   // not searched again
  typed = {"4"};
  ASSERT_TRUE(dialog.ChooseInstallation(&chosen));
  EXPECT_EQ(chosen, "E:\\");         // a root keeps its backslash
  EXPECT_EQ(dialog.ListView.size(), 4u);
  for (std::vector<std::string> answer : {std::vector<std::string>{"a"}, {"9"}, {}}) {
    chosen = "unchanged";
    typed = answer;
    EXPECT_FALSE(dialog.ChooseInstallation(&chosen));
    EXPECT_EQ(chosen, "unchanged");
  }
}

}  // namespace
