#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "installer/shortcuts.h"
#include "tests/installer/installer_fixture.h"
#include "tests/installer/lha_fixture.h"

namespace fs = std::filesystem;

namespace {

class ZelsetupRun : public InstallerTest {
 protected:
  // Runs the built installer in the test folder with `input` as what the operator types.
  int RunZelsetup(const std::string& input) {
    WriteFile(Path("input.txt"), input);
    std::string command = "cd '" + dir + "' && '" ZELSETUP_BINARY "' <'" + Path("input.txt") + "' >'" +
                          Path("out.txt") + "' 2>&1";
    return std::system(command.c_str());
  }
  std::string Output() { return ReadFile(Path("out.txt")); }
  // The product's archive made from the built binaries and read-only files
  // (help, printer fonts, the icon); the name of the library in it.
  std::string PackProduct() {
    const std::string built = std::string(ZELSAL_HELP_DIR) + "/";
    std::vector<lha::Member> members = {{"Zelsal", lha::ReadBytes(ZELSAL_BINARY)}};
    std::string library = fs::path(ZELKIT5_LIBRARY).filename().string();
    members.push_back({library, lha::ReadBytes(ZELKIT5_LIBRARY)});
    for (const char* name : {"ZELM.HLP", "ZELM.IND"}) members.push_back({name, lha::ReadBytes(built + name), "-lh0-", 0x21});
    for (const auto& entry : fs::directory_iterator(built))
      if (entry.path().extension() == ".fnt" || entry.path().extension() == ".svg")
        members.push_back({entry.path().filename().string(), lha::ReadBytes(entry.path().string()), "-lh0-", 0x21});
    WriteFile(Path("ZELSAL.LZH"), lha::Pack(members));
    return library;
  }
  // A value of the desktop entry's group.
  static std::string EntryValue(const std::string& entry, const std::string& key) {
    size_t at = entry.find("\n" + key + "=");
    if (at == std::string::npos) return "";
    at += key.size() + 2;
    return entry.substr(at, entry.find('\n', at) - at);
  }
};

// The script's default folder with no drive mapping: the letter lands in the
// user's data folder, made with its parents; the desktop entries are valid and
// the program starts from the entry's own Exec and Path.
TEST_F(ZelsetupRun, DefaultFolderWithoutAMappingInstallsAndTheEntryStartsTheProgram) {
  PackProduct();
  WriteFile(Path("Instaluj.dat"),
            "KATALOG = \"C:\\Korbel\"\nLINK=Zelsal\nPLIK=ZELSAL.LZH\nPOLOZENIE=PROGRAM\nURUCHOM=PROGRAM\\ZELSAL\n");
  WriteFile(Path("input.txt"), "u\ni\n");
  std::string command = "cd '" + dir + "' && env -u ZELSAL_DRIVE_C -u ZELSAL_HOME '" ZELSETUP_BINARY "' <'" +
                        Path("input.txt") + "' >'" + Path("out.txt") + "' 2>&1";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << Output();
  const std::string installed = Path("data/zelsal/drive_c/Korbel/PROGRAM/");
  EXPECT_NE(Output().find("na dysku: " + Path("data/zelsal/drive_c/Korbel")), std::string::npos) << Output();
  EXPECT_NE(Output().find("Instalacja zakończona pomyślnie."), std::string::npos) << Output();
  EXPECT_TRUE(fs::exists(installed + "he12x32.fnt"));

  const std::string entry = ReadFile(Path("data/applications/Zelsal.desktop"));
  EXPECT_EQ(EntryValue(entry, "Icon"), installed + "zelsal.svg");
  EXPECT_EQ(EntryValue(entry, "Terminal"), "false");
  EXPECT_EQ(EntryValue(entry, "Categories"), "Office;Finance;");
  EXPECT_FALSE(EntryValue(entry, "Comment").empty());
  struct stat st;
  ASSERT_EQ(stat(Path("user/Desktop/Zelsal.desktop").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0100, 0u) << "the desktop copy is not executable";
  for (const char* copy : {"data/applications/Zelsal.desktop", "user/Desktop/Zelsal.desktop"}) {
    std::string validate = "desktop-file-validate '" + Path(copy) + "' >'" + Path("validate.txt") + "' 2>&1";
    EXPECT_EQ(std::system(validate.c_str()), 0) << copy << "\n" << ReadFile(Path("validate.txt"));
  }

  fs::create_directories(Path("zelsal-home"));
  command = "cd '" + EntryValue(entry, "Path") + "' && ZELSAL_HOME='" + Path("zelsal-home") +
            "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='xz' ZELKIT_DUMP='" + Path("screen.txt") + "' " +
            EntryValue(entry, "Exec") + " >'" + Path("zelsal.txt") + "' 2>&1";
  status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFile(Path("zelsal.txt"));
  EXPECT_NE(ReadFile(Path("screen.txt")).find(" START  Katalogi "), std::string::npos);
}

// The installer puts the built program, its library and its read-only files in
// place, and the program starts from the shortcut's command.
TEST_F(ZelsetupRun, InstallsTheProgramThatThenStartsFromItsShortcut) {
  lha::Member help{"ZELM.HLP", lha::ReadBytes(std::string(ZELSAL_HELP_DIR) + "/ZELM.HLP"), "-lh0-", 0x21};
  lha::Member index{"ZELM.IND", lha::ReadBytes(std::string(ZELSAL_HELP_DIR) + "/ZELM.IND"), "-lh0-", 0x21};
  std::string library = fs::path(ZELKIT5_LIBRARY).filename().string();
  WriteFile(Path("ZELSAL.LZH"), lha::Pack({{"Zelsal", lha::ReadBytes(ZELSAL_BINARY)},
                                           {library, lha::ReadBytes(ZELKIT5_LIBRARY)}, help, index}));
  WriteFile(Path("Instaluj.dat"),
            "KATALOG = \"C:\\Korbel\"\nLINK=Zelsal\nPLIK=ZELSAL.LZH\nPOLOZENIE=PROGRAM\nURUCHOM=PROGRAM\\ZELSAL\n");
  int status = RunZelsetup("u\ni\n");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << Output();
  EXPECT_NE(Output().find("Instalacja zakończona pomyślnie."), std::string::npos) << Output();

  std::string installed = Path("c/Korbel/PROGRAM/");
  EXPECT_EQ(ReadFile(installed + library), lha::ReadBytes(ZELKIT5_LIBRARY));
  struct stat st;
  ASSERT_EQ(stat((installed + "ZELM.HLP").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  ASSERT_EQ(stat((installed + "Zelsal").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0100, 0u);

  std::vector<ShortcutItem> items;
  ScanShortcuts(&items);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "Zelsal");
  EXPECT_EQ(items[0].target, installed + "Zelsal");
  EXPECT_EQ(ReadFile(Path("user/Desktop/Zelsal.desktop")), ReadFile(Path("data/applications/Zelsal.desktop")));

  fs::create_directories(Path("zelsal-home"));
  std::string command = "cd '" + Path("c/Korbel") + "' && ZELSAL_HOME='" + Path("zelsal-home") +
                        "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='xz' ZELKIT_DUMP='" + Path("screen.txt") + "' '" +
                        items[0].target + "' >'" + Path("zelsal.txt") + "' 2>&1";
  status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFile(Path("zelsal.txt"));
  // A key past the logo, then " Zakończ " on the main bar.
  EXPECT_NE(ReadFile(Path("screen.txt")).find(" START  Katalogi "), std::string::npos);
}

TEST_F(ZelsetupRun, EscWhileInstallingAsksAndYesStopsWithoutAShortcut) {
  fs::copy_file(lha::FixturePath("lha213/lh5_long.lzh"), Path("LONG.LZH"));
  WriteFile(Path("Instaluj.dat"), "PLIK=LONG.LZH\nPOLOZENIE=DANE\nURUCHOM=DANE\\LONG.TXT\n");
  int status = RunZelsetup("i\n\x1b\nT\n");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << Output();
  EXPECT_NE(Output().find("Przerwać instalację ? (T/N)"), std::string::npos) << Output();
  EXPECT_EQ(Output().find("Instalacja zakończona pomyślnie."), std::string::npos) << Output();
  EXPECT_TRUE(fs::is_empty(Path("c/Korbel/DANE")));
  EXPECT_FALSE(fs::exists(Path("data/applications")));
}

// A failed installation says so and ends with exit code 1, so that a script
// can tell it from a done one; the reason is the system's, in Polish.
TEST_F(ZelsetupRun, AFailedInstallationEndsWithExitCode1) {
  WriteFile(Path("ZELSAL.LZH"), lha::Pack({{"Zelsal", "program"}}));
  std::string target = geteuid() == 0 ? "/sys/zelsetup-test" : Path("ro");
  if (geteuid() != 0) {
    fs::create_directories(target);
    chmod(target.c_str(), 0555);
  }
  WriteFile(Path("Instaluj.dat"),
            "KATALOG=" + target + "\nLINK=Zelsal\nPLIK=ZELSAL.LZH\nPOLOZENIE=PROGRAM\nURUCHOM=PROGRAM\\ZELSAL\n");
  int status = RunZelsetup("i\n");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << Output();
  EXPECT_NE(Output().find("Nie można utworzyć katalogu " + target + "/PROGRAM/.\nBrak uprawnień do zapisu w tym miejscu."),
            std::string::npos)
      << Output();
  EXPECT_EQ(Output().find("No such file"), std::string::npos) << Output();
  EXPECT_NE(Output().find("Instalacja nie powiodła się"), std::string::npos) << Output();
  EXPECT_FALSE(fs::exists(Path("data/applications")));
}

TEST_F(ZelsetupRun, MissingScriptEndsWithAMessageAndExitCode1) {
  int status = RunZelsetup("i\n");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(Output().find("Nie można odczytać pliku Instaluj.dat"), std::string::npos) << Output();
}

}  // namespace
