// The contractors catalogue on the real program, headless: reached through
// the menu tree, a contractor appended, its NIP verified by F8 with the
// lookup library's double answering from a script file.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "db/db_index.h"
#include "env/paths.h"
#include "masterdata/contractor_catalogue.h"
#include "tests/masterdata/lookup_fixture.h"

namespace {

// A key passes the start-up logo; then a firm is added and START entered.
constexpr const char* LOGO = "x";

class ContractorsRunTest : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("program");
    home = dir + "program/";
  }
  // Runs the program with the script; the screen where it last waited for a key.
  std::string Run(const std::string& keys) {
    std::string script = dir + "kwer.bin";
    FILE* f = std::fopen(script.c_str(), "wb");
    if (!f) return "";
    std::fwrite(&kwer_double_script, sizeof kwer_double_script, 1, f);
    std::fclose(f);
    std::string dump = dir + "screen.txt";
    std::remove(dump.c_str());
    std::string command = "cd '" + firm + "' && ZELSAL_HOME='" + home + "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" +
                          keys + "' ZELKIT_DUMP='" + dump + "' ZELSAL_LIB_KWERLIB4='" KWERLIB_DOUBLE_PATH
                          "' KWER_DOUBLE_SCRIPT='" + script + "' '" ZELSAL_BINARY "' >'" + dir + "out.txt' 2>&1";
    int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status)) << ReadFile(dir + "out.txt");
    return ReadFile(dump);
  }
  // The VAT-payer mark of the contractor in the firm's table.
  std::string Czv(const char* code) {
    TransDir(EnvFromDiskPath(home + "firma1").c_str(), &env->dataPath);
    if (ChangeDir(&env->dataPath, 0, 0) != 0 || OpenZ5KHNT(0) != 0) return "<no table>";
    d4tag_select(Z5KHNT.table, Z5KHNT.tag[KHNT_BY_CODE]);
    std::string mark = d4seek(Z5KHNT.table, code) == 0 ? Text(Khnt(KHNT_CZV)) : "<none>";
    d4close(Z5KHNT.table);
    return mark;
  }

  std::string home;
};

TEST_F(ContractorsRunTest, AppendedContractorVerifiedByF8) {
  Run(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}z");
  // START, " Kartoteki " > " Kontrahenci ", a new contractor with its NIP saved.
  const std::string toList = std::string(LOGO) + "s{ENTER}kh";
  const std::string append = "d{ENTER}{ENTER}K1{ENTER}1234563218{ENTER}FIRMA{F2}t";   // t: save
  // F8 with the list not reached: the lookup layer's report, the mark stays.
  Answer("VAT_CzynnySprawdz", "1234563218").fails = 1;
  std::string screen = Run(toList + append + "{F8}");
  EXPECT_NE(screen.find("Kwerlib.VAT_CzynnySprawdz"), std::string::npos) << screen;
  screen = Run(toList + "{F8}x");
  EXPECT_EQ(screen.find("Zmieniono"), std::string::npos) << screen;
  EXPECT_EQ(Czv("K1"), "T");
  // "not registered": the list's box, then the changed mark.
  Answer("VAT_CzynnySprawdz", "1234563218", 0);
  screen = Run(toList + "{F8}x");
  EXPECT_NE(screen.find("Zmieniono status 'czy podatnik VAT?' na NIE"), std::string::npos) << screen;
  EXPECT_EQ(Czv("K1"), "N");
}

}  // namespace
