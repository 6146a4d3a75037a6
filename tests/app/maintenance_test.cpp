// The maintenance pass over a firm's data set.
#include <string>

#include "app/maintenance.h"
#include "print/tabu_table.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/tables/tables_fixture.h"

namespace {

class MaintenanceTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    open_envr_win();
    seen.clear();
    g4set_key_to(KEY_F9, TakeShot);
  }
  void TearDown() override {
    close_envr_win();
    TablesTest::TearDown();
  }
  void Make(int (*open)(int)) {
    ASSERT_EQ(open(0), 0);
    d4close_all(&env->engine);
  }
};

TEST_F(MaintenanceTest, PassRebuildsIndexesPassesOverMissingTablesAndCarriesThree) {
  Make(OpenZ5KONT);
  Make(OpenZ5KASA);
  Make(OpenZ5KRAJ);
  ASSERT_EQ(PlatFileDelete((firm + "Z5KONT.MDX").c_str()), PLAT_OK);
  HeadlessSetScript("{F9}{ENTER}");
  EXPECT_EQ(Serwis(2026, 1, 1), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Serwis zakończony poprawnie."), std::string::npos) << seen;
  EXPECT_TRUE(Exists(firm + "Z5KONT.MDX"));
  for (const char* created : {"Z5AMOR26.DBF", "Z5TOWA26.DBF", "Z5WSPL26.DBF"}) EXPECT_TRUE(Exists(firm + created));
  for (const char* absent : {"Z5ROZL.DBF", "Z5PRAC.DBF", "Z5SPRZ26.DBF", "Z5PAPV.DBF", "Z5V7MC26.DBF"})
    EXPECT_FALSE(Exists(firm + absent)) << absent;
  EXPECT_FALSE(Exists(dir + "wspolne/Z5USKA.DBF"));
  EXPECT_EQ(Z5KONT.table, nullptr);
  EXPECT_EQ(Z5KASA.table, nullptr);
  EXPECT_EQ(env->refuseDamagedTables, 1);
}

TEST_F(MaintenanceTest, DamagedTableFailsThePassButTheRestGoesOn) {
  WriteFile(firm + "Z5ROZL.DBF", "to nie jest tabela");
  HeadlessSetScript("{F9}{ESC}{F9}{ESC}{F9}{ESC}{F9}{ESC}");
  EXPECT_EQ(Serwis(2026, 1, 1), 0);
  EXPECT_NE(seen.find("Serwis zakończony błędnie."), std::string::npos) << seen;
  EXPECT_TRUE(Exists(firm + "Z5WSPL26.DBF"));    // reopened after the damaged one
}

TEST_F(MaintenanceTest, CommonRestoreLeavesTheFirmAlone) {
  Make(OpenZ5KRAJ);
  Make(open_tabu);    // the print settings, kept in the program directory here
  ASSERT_EQ(PlatFileDelete((dir + "wspolne/Z5KRAJ.MDX").c_str()), PLAT_OK);
  ASSERT_EQ(PlatFileDelete((dir + "home/Z5TABW.MDX").c_str()), PLAT_OK);
  HeadlessSetScript("{ENTER}");
  EXPECT_EQ(Serwis(2026, 0, 1), 0);
  EXPECT_TRUE(Exists(dir + "wspolne/Z5KRAJ.MDX"));
  EXPECT_TRUE(Exists(dir + "home/Z5TABW.MDX"));
  EXPECT_FALSE(Exists(firm + "Z5AMOR26.DBF"));
  EXPECT_FALSE(Exists(firm + "Z5TOWA26.DBF"));
}

}  // namespace
