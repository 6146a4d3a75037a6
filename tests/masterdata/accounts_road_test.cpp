// The accounts on the real program, headless, in a fresh program directory:
// " Kartoteki " > " Konta " appends an account, and a second run refuses the
// same number again.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "tables/masterdata_tables.h"
#include "tests/tables/tables_fixture.h"

namespace {

// The logo, START into the firm directory, " Kartoteki ", " Konta ".
constexpr const char* TO_ACCOUNTS = "xskn";

class AccountsRoadTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("program");
  }
  // Runs the program in the firm directory: its exit code and the screen
  // where it last waited for a key.
  std::pair<int, std::string> Run(const std::string& keys) {
    std::string dump = dir + "screen.txt";
    std::remove(dump.c_str());
    std::string command = "cd '" + firm + "' && ZELSAL_HOME='" + dir + "program/' ZELKIT_DISPLAY=headless " +
                          "ZELKIT_KEYS='" + keys + "' ZELKIT_DUMP='" + dump + "' '" ZELSAL_BINARY "' >'" + dir +
                          "out.txt' 2>&1";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dump)};
  }
};

TEST_F(AccountsRoadTest, AppendedOnceThenRefused) {
  // saved, the next form left, the list, the menus, then " Zakończ "
  auto [code, screen] =
      Run(std::string(TO_ACCOUNTS) + "d1000001{ENTER}Sprzedaż towarów{F2}t{ESC}{ESC}{ESC}{ESC}{ESC}z");
  EXPECT_EQ(code, 0) << ReadFile(dir + "out.txt") << screen;
  ASSERT_EQ(OpenZ5KONT(OPEN_DBF_MUST_EXIST), 0);
  ASSERT_EQ(d4reccount(Z5KONT.table), 1);
  ASSERT_EQ(d4go(Z5KONT.table, 1), 0);
  EXPECT_EQ(Trim(Z5KONT.field[1]), "100-0001");
  EXPECT_EQ(Trim(Z5KONT.field[0]), Sys("Sprzedaż towarów"));
  EXPECT_EQ(f4long(Z5KONT.field[7]), 1);
  d4close(Z5KONT.table);

  auto [again, refused] = Run(std::string(TO_ACCOUNTS) + "d1000001{ENTER}");
  EXPECT_EQ(again, 3) << "the keys end while the warning waits";
  EXPECT_NE(refused.find("Podany numer konta już istnieje!"), std::string::npos) << refused;
  EXPECT_NE(refused.find("    1 │100-0001│Sprzedaż towarów"), std::string::npos) << refused;
}

}  // namespace
