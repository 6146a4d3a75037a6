// The searches of the sales register through the real program, headless.
#include <gtest/gtest.h>

#include <string>

#include "tables/sales_tables.h"
#include "tests/app/program_road.h"
#include "tests/sales/sales_fixture.h"

namespace {

constexpr const char* INTO_SALES = "s{ENTER}s";

class RegisterSearchRoadTest : public ProgramRoadTest {
 protected:
  // The firm's main register of 2025: number 12 in two series and kinds,
  // the first of them in key order in series "A" of kind 2.
  void SeedRegister() {
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = 2025;
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    struct Seed {
      const char *kind, *prefix, *number, *code, *issued;
    } seeds[] = {
        {"1", "  FV", "3", "TRZY", "20250301"},
        {"1", "  FV", "12", "FAKTURA12", "20250302"},
        {"2", "   A", "12", "SERIAA12", "20250303"},
        {"1", "  FV", "13", "TRZYNASCIE", "20250304"},
    };
    int rec = 1;
    for (const Seed& s : seeds)
      AppendRecord(Z5SPRZ.table, {{"TYV", s.kind}, {"PRE", s.prefix}, {"NRV", s.number}, {"KNA", s.code},
                                  {"NA1", s.code}, {"DAW", s.issued}, {"REC", std::to_string(rec++)}});
    d4close_all(&env->engine);
  }
};

TEST_F(RegisterSearchRoadTest, NumberFindsTheFirstOfAnySeriesAndALateDateStaysThere) {
  SeedRegister();
  std::string screen = Run(std::string(LOGO) + INTO_SALES + "sn12{ENTER}").screen;
  EXPECT_NE(screen.find("kod kontrahenta:SERIAA12"), std::string::npos) << screen;
  screen = Run(std::string(LOGO) + INTO_SALES + "sn12{ENTER}sd311225{ENTER}").screen;
  EXPECT_NE(screen.find("kod kontrahenta:SERIAA12"), std::string::npos) << screen;
  screen = Run(std::string(LOGO) + INTO_SALES + "sd040325{ENTER}").screen;
  EXPECT_NE(screen.find("kod kontrahenta:TRZYNASCIE"), std::string::npos) << screen;
}

}  // namespace
