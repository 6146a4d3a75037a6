// The rate catalogue on the real program, headless: START, " Kartoteki ",
// " Kursy ", a rate appended and a second one of the same day refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "env/paths.h"
#include "tables/masterdata_tables.h"
#include "tests/app/program_road.h"

namespace {

class RatesRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    // The common tables live in the program directory while the main
    // options name no other: the euro's country is there.
    std::strcpy(env->sharedCatalogueDir, EnvFromDiskPath(home).c_str());
    ASSERT_EQ(OpenZ5KRAJ(0), 0);
    Append(Z5KRAJ, {{0, "T"}, {1, "DE"}, {2, "NIEMCY"}, {3, "EUR"}});
    d4close(Z5KRAJ.table);
  }
  std::vector<std::string> Rates() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5KURS(0), 0);
    for (long n = 1; n <= d4reccount(Z5KURS.table); n++) {
      EXPECT_EQ(d4go(Z5KURS.table, n), 0);
      all.push_back(Trim(Z5KURS.field[1]) + " " + Trim(Z5KURS.field[2]));
    }
    d4close(Z5KURS.table);
    return all;
  }
};

TEST_F(RatesRoadTest, SecondEuroRateOfADayIsRefused) {
  // A firm is added in " Katalogi ".
  RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  // START into the firm, " Kartoteki " > " Kursy ": EUR of today at 4.3,
  // saved on T; the next form is left (Esc on the question too) and the
  // program ended.
  RunToEnd(std::string(LOGO) + "s{ENTER}ky{INS}eur{ENTER}{ENTER}4.3{ENTER}t{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  EXPECT_EQ(Rates(), std::vector<std::string>{"EUR 4.300000"});
  // A second EUR rate of the same day is refused; the list shows the first.
  Outcome refused = Run(std::string(LOGO) + "s{ENTER}ky{INS}eur{ENTER}{ENTER}");
  EXPECT_TRUE(Has(refused, "Taki kurs już istnieje.")) << refused.screen;
  EXPECT_TRUE(Has(refused, "Ewidencja kursów walut")) << refused.screen;
  EXPECT_TRUE(Has(refused, "│EUR   │  4.300000")) << refused.screen;
  EXPECT_EQ(Rates(), std::vector<std::string>{"EUR 4.300000"});
}

}  // namespace
