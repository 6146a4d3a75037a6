// The sales register reached through the real program, headless: START into
// a firm, " Sprzedaż " over a seeded main register of working year 2025.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tables/sales_tables.h"
#include "tests/sales/sales_fixture.h"
#include "tests/tables/tables_fixture.h"

namespace {

constexpr const char* LOGO = "x";
constexpr const char* INTO_SALES = "s{ENTER}s";

class RegisterRoadTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("program");
    home = dir + "program/";
  }
  std::string Run(const std::string& keys, int* exitCode = nullptr) {
    std::string dump = dir + "screen.txt";
    std::remove(dump.c_str());
    std::string command = "cd '" + firm + "' && ZELSAL_HOME='" + home + "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" +
                          keys + "' ZELKIT_DUMP='" + dump + "' '" ZELSAL_BINARY "' >'" + dir + "out.txt' 2>&1";
    int status = std::system(command.c_str());
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ReadFile(dump);
  }
  void RunToEnd(const std::string& keys) {
    int exitCode = -1;
    Run(std::string(LOGO) + keys + "z", &exitCode);
    EXPECT_EQ(exitCode, 0) << keys << "\n" << ReadFile(dir + "out.txt");
  }
  // The firm's main register of 2025 with one document due nothing.
  void SeedRegister() {
    RunToEnd("kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    RunToEnd(std::string(INTO_SALES) + "{ESC}{ESC}");
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = 2025;
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "7"}, {"NA1", "Hurtownia Zbyt"},
                                {"KNA", "ZBYT"}, {"DAW", "20250310"}, {"BRU", "0"}, {"ZAP", "N"}, {"REC", "1"}});
    d4close_all(&env->engine);
  }
  std::string StoredPaidFlag() {
    EXPECT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    EXPECT_EQ(d4go(Z5SPRZ.table, 1), 0);
    std::string zap = FieldText(Z5SPRZ.table, "ZAP");
    d4close_all(&env->engine);
    return zap;
  }

  std::string home;
};

TEST_F(RegisterRoadTest, SalesShowsTheDocumentsAndF7MarksNothingDueAsPaid) {
  SeedRegister();
  std::string screen = Run(std::string(LOGO) + INTO_SALES);
  // The procedure marks option is on by default: its two columns are there.
  for (const char* text : {" Dopisz ", " Menu ", "Dokumenty sprzedaży 2025", "TYP", "numer", "data wyst",
                           "data VAT", "procedury", "GTU", "nazwa", "Hurtownia Zbyt", "kod kontrahenta:ZBYT",
                           "[F3]-Pozycje"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;

  RunToEnd(std::string(INTO_SALES) + "{F7}{ENTER}{ESC}{ESC}");
  EXPECT_EQ(StoredPaidFlag(), "T");
}

}  // namespace
