// The sales register reached through the real program, headless: START into
// a firm, " Sprzedaż " over a seeded main register of working year 2025.
#include <gtest/gtest.h>

#include <string>

#include "tables/sales_tables.h"
#include "tests/app/program_road.h"
#include "tests/sales/sales_fixture.h"

namespace {

constexpr const char* INTO_SALES = "s{ENTER}s";

class RegisterRoadTest : public ProgramRoadTest {
 protected:
  // The firm's main register of 2025 with one document due nothing.
  void SeedRegister() {
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
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
};

TEST_F(RegisterRoadTest, SalesShowsTheDocumentsAndF7MarksNothingDueAsPaid) {
  SeedRegister();
  std::string screen = Run(std::string(LOGO) + INTO_SALES).screen;
  // The procedure marks option is on by default: its two columns are there.
  for (const char* text : {" Dopisz ", " Menu ", "Dokumenty sprzedaży 2025", "TYP", "numer", "data wyst",
                           "data VAT", "procedury", "GTU", "nazwa", "Hurtownia Zbyt", "kod kontrahenta:ZBYT",
                           "[F3]-Pozycje"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;

  RunToEnd(std::string(LOGO) + INTO_SALES + "{F7}{ENTER}{ESC}{ESC}");
  EXPECT_EQ(StoredPaidFlag(), "T");
}

}  // namespace
