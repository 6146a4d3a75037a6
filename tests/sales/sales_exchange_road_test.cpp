// The sales exchange between two installations through the real program,
// headless: " Menu " > " Export " by VAT date in one installation, " Import "
// in another's firm, and the refusal of an import without exchange tables.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

constexpr const char* EXPORT = "ex";   // " Menu " > " Export "
constexpr const char* IMPORT = "ei";   // " Menu " > " Import "

class SalesExchangeRoadTest : public SalesRoadTest {
 protected:
  void SetUp() override {
    SalesRoadTest::SetUp();
    if (HasFatalFailure()) return;
    drive = dir + "c/";
    std::filesystem::create_directories(drive + "Zelm_eksport");
    std::filesystem::create_directories(drive + "Zelm_import");
    setenv("ZELSAL_DRIVE_C", drive.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("ZELSAL_DRIVE_C");
    SalesRoadTest::TearDown();
  }
  // The firm's main register: FV/1 and FV/2 of March, FV/3 with a VAT date of February.
  void Seed() {
    MakeFirmWithSales();
    OpenFirm();
    if (HasFatalFailure()) return;
    const char* const vatDates[] = {"20250303", "20250305", "20250228"};
    for (int n = 0; n < 3; n++) {
      std::string rec = std::to_string(n + 1);
      AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"RE4", "T"}, {"PRE", "  FV"}, {"NRV", rec}, {"REC", rec},
                                  {"DAW", "20250303"}, {"DAV", vatDates[n]}, {"NA1", "Hurtownia " + rec},
                                  {"BRU", "123"}, {"TRK", "1"}});
      for (const char* goods : {"T1", "T2"})
        AppendRecord(Z5SPRE.table, {{"REK", rec}, {"REC", rec}, {"TYV", "1"}, {"KOT", goods}, {"NA1", goods},
                                    {"ILO", "1"}, {"ZRP", "1"}, {"STA", "T"}});
      AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", rec}, {"REC", rec}, {"NA1", "odbiorca " + rec}});
    }
    d4close_all(&env->engine);
  }
  void OpenFirm() {
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
  }
  // Another installation: its own program directory and firm.
  void SecondInstallation() {
    MakeDir("program2");
    home = dir + "program2/";
    MakeFirmWithSales();
  }
  std::string drive;
};

TEST_F(SalesExchangeRoadTest, ExportByVatDateThenImportInAnotherInstallation) {
  Seed();
  if (HasFatalFailure()) return;
  // Choice 2 by VAT date; the period proposed (1 to 10 March); the default directory; T.
  std::string exportKeys = std::string(LOGO) + INTO_SALES + EXPORT + "{DOWN}{ENTER}{ENTER}{ENTER}{ENTER}t";
  Outcome done = Run(exportKeys);
  EXPECT_TRUE(Has(done, "Eksport zakończony pomyślnie.")) << done.screen;
  EXPECT_TRUE(Has(done, "Zapisano dokumentów -")) << done.screen;
  for (const char* name : {"Z5SPEX25.DBF", "Z5ESEX25.DBF", "Z5ESEX25.MDX", "Z5SOEX25.DBF", "Z5SOEX25.MDX"}) {
    ASSERT_TRUE(Exists(drive + "Zelm_eksport/" + name)) << name;
    std::filesystem::copy_file(drive + "Zelm_eksport/" + name, drive + "Zelm_import/" + name);
  }

  SecondInstallation();
  // The year offered (2025); the default directory; T.
  std::string importKeys = std::string(LOGO) + INTO_SALES + IMPORT + "{ENTER}{ENTER}t";
  Outcome imported = Run(importKeys);
  EXPECT_TRUE(Has(imported, "Import zakończony pomyślnie.")) << imported.screen;
  EXPECT_TRUE(Has(imported, "Odczytano dokumentów -")) << imported.screen;
  OpenFirm();
  DbTable* h = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(h), 2);
  for (long n = 1; n <= 2; n++) {
    ASSERT_EQ(d4go(h, n), 0);
    EXPECT_EQ(f4long(d4field(h, "REC")), n);
    EXPECT_EQ(FieldText(h, "TRK"), "");
  }
  DbTable* l = Z5SPRE.table;
  ASSERT_EQ(d4reccount(l), 4);
  for (long n = 1; n <= 4; n++) {
    ASSERT_EQ(d4go(l, n), 0);
    EXPECT_EQ(f4long(d4field(l, "REK")), (n + 1) / 2);
    EXPECT_EQ(FieldText(l, "STA"), "N");
  }
  EXPECT_EQ(d4reccount(Z5SPRO.table), 2);
  d4close_all(&env->engine);
}

TEST_F(SalesExchangeRoadTest, ImportWithoutExchangeTablesStoresNothing) {
  Seed();
  if (HasFatalFailure()) return;
  Outcome refused = Run(std::string(LOGO) + INTO_SALES + IMPORT + "{ENTER}{ENTER}t");
  EXPECT_TRUE(Has(refused, "Import zakończony błędnie.")) << refused.screen;
  OpenFirm();
  EXPECT_EQ(d4reccount(Z5SPRZ.table), 3);
  d4close_all(&env->engine);
}

}  // namespace
