// The output-file and directory dialogs over a real temporary directory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/dirs.h"
#include "tests/ui/ui_fixture.h"
#include "ui/name_dialogs.h"

namespace {

class NameDialogTest : public UiTest {
 protected:
  char buffer[61] = {};
  int Output(const char* script, const char* defaultName, int safe = 0) {
    EXPECT_EQ(HeadlessSetScript(script), 0);
    int result = GetFileOutputName(buffer, sizeof buffer, defaultName, safe);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << script;
    return result;
  }
  int Directory(const char* script, const char* defaultName) {
    EXPECT_EQ(HeadlessSetScript(script), 0);
    int result = Podaj_Nazwe_Katalogu(buffer, 40, defaultName);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << script;
    return result;
  }
};

TEST_F(NameDialogTest, OutputNameIsAcceptedOrRefused) {
  ASSERT_EQ(PlatMkDir("sub"), PLAT_OK);
  WriteFile(Path("old.txt"), "x");
  struct Case {
    const char* keys;
    int result;
    const char* name;
  } cases[] = {
      {"{ENTER}", 0, "wynik.prn"},
      {"nowy.txt{ENTER}", 0, "nowy.txt"},
      {"{ESC}", -1, nullptr},
      {"lpt1{ENTER}x{ENTER}", 0, "wynik.prn"},           // reserved in any case: warning, then the default again
      {"{SPACE}{ENTER}x{ESC}", -1, nullptr},             // the empty name is reserved too
      {"Prn{ENTER}x{ESC}", -1, nullptr},
      {"sub{ENTER}x{ESC}", -1, nullptr},                 // a directory
      {"OLD.TXT{ENTER}{ESC}{ESC}", -1, nullptr},         // exists (names match in any case): Esc asks again
      {"old.txt{ENTER}t", 0, "old.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Output(c.keys, "wynik.prn"), c.result) << c.keys;
    if (c.name) {
      EXPECT_STREQ(buffer, c.name) << c.keys;
    }
  }
}

TEST_F(NameDialogTest, NamesAreCheckedOnDiskInUtf8) {
  WriteFile(Path("łódź.txt"), "x");
  std::string name = Sys("łódź.txt");
  EXPECT_EQ(Output("{ENTER}t", name.c_str()), 0);
  EXPECT_EQ(std::string(buffer), name);
  EXPECT_EQ(Output("{ENTER}{ESC}{ESC}", name.c_str()), -1);
}

TEST_F(NameDialogTest, SafeNamesArePlainAscii) {
  std::string name = Sys("zażółć*?.txt");
  EXPECT_EQ(Output("{ENTER}", name.c_str(), 1), 0);
  EXPECT_STREQ(buffer, "zazolc''.txt");
}

TEST_F(NameDialogTest, DirectoryMustExist) {
  ASSERT_EQ(PlatMkDir("Dane"), PLAT_OK);
  EXPECT_EQ(Directory("{ENTER}", "Dane"), 1);
  EXPECT_STREQ(buffer, "Dane");
  EXPECT_EQ(Directory("brak{ENTER}x{ESC}", "Dane"), 0);
  EXPECT_EQ(Directory("aux{ENTER}x{ENTER}", "Dane"), 1);
  EXPECT_EQ(Directory("{ESC}", "Dane"), 0);
}

}  // namespace
