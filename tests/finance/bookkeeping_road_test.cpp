// The exchange with the bookkeeping program through the real program,
// headless: START > " Administrator " > " EKSPORT " writes the archive of
// March, " IMPORT " merges an archive the test packs, and a directory
// without archives is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "env/paths.h"
#include "interchange/packed_set.h"
#include "platform/dirs.h"
#include "tables/exchange_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

constexpr const char* INTO_ADMIN = "s{ENTER}a";

class BookkeepingRoadTest : public SalesRoadTest {
 protected:
  void SetUp() override {
    SalesRoadTest::SetUp();
    if (HasFatalFailure()) return;
    drive = dir + "c/";
    std::filesystem::create_directories(drive);
    setenv("ZELSAL_DRIVE_C", drive.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("ZELSAL_DRIVE_C");
    SalesRoadTest::TearDown();
  }
  std::string Firm() { return home + "firma1/"; }
  std::string drive;
};

TEST_F(BookkeepingRoadTest, ExportWritesTheArchiveOfTheMonth) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"DAW", "20250331"},
                              {"NA1", "Hurtownia"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "2"}, {"REC", "2"}, {"DAW", "20250401"},
                              {"NA1", "Kwiecień"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"REC", "1"}, {"TYV", "1"}, {"NA1", "towar"}});
  d4close_all(&env->engine);
  // The dialog proposes March of 2025 and the file name of today.
  Outcome dialog = Run(std::string(LOGO) + INTO_ADMIN + "e");
  EXPECT_TRUE(Has(dialog, "data od..... 01-03/25")) << dialog.screen;
  EXPECT_TRUE(Has(dialog, "data do..... 31-03/25")) << dialog.screen;
  EXPECT_TRUE(Has(dialog, "KORB_2025_20250310_")) << dialog.screen;
  // F2 and T: the export of March.
  RunToEnd(std::string(LOGO) + INTO_ADMIN + "e{F2}tx{ESC}{ESC}");
  std::vector<PlatDirEntry> archives;
  ASSERT_EQ(PlatListDir(drive.c_str(), "KORB_2025_20250310_*.EXP", &archives), PLAT_OK);
  ASSERT_EQ(archives.size(), 1u);
  MakeDir("unpacked");
  ASSERT_EQ(PlatChDir((dir + "unpacked/").c_str()), PLAT_OK);
  ASSERT_EQ(Decompress2(EnvFromDiskPath(drive + archives[0].name).c_str()), 1);
  ASSERT_EQ(PlatChDir(firm.c_str()), PLAT_OK);
  char headers[] = "Z5SPEX  .DBF";
  ASSERT_EQ(OpenZ5SPRZCopy(headers, 0, EnvFromDiskPath(dir + "unpacked/").c_str(), 2025), 0);
  ASSERT_EQ(d4reccount(SprzCopy.table), 1);
  d4go(SprzCopy.table, 1);
  EXPECT_EQ(FieldText(SprzCopy.table, "DAW"), "20250331");
  d4close_all(&env->engine);
}

TEST_F(BookkeepingRoadTest, ImportMergesAnArchiveAndRefusesAnEmptyDirectory) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5PAWL(), 0);
  SetFields(Z5PAWL.table, {{"NA1", "Firma Testowa"}, {"NIP", "526-000-12-34"}});
  ASSERT_EQ(d4write(Z5PAWL.table, 1), 0);
  d4close_all(&env->engine);
  // No archive in C:\ yet: message 169, then Esc at the directory.
  Outcome refused = Run(std::string(LOGO) + INTO_ADMIN + "i{ENTER}");
  EXPECT_TRUE(Has(refused, "Brak plików formacie ZELM_2025_*.EXP")) << refused.screen;

  // The archive: the firm's own seller record and two accounts.
  std::string src = dir + "src/";
  std::filesystem::create_directories(src);
  std::filesystem::copy_file(Firm() + "Z5PAWL.DBF", src + "Z5PAWLEX.DBF");
  std::string source = EnvFromDiskPath(src);
  ASSERT_EQ(OpenZ5KONTCopy("Z5KONTEX.DBF", 1, source.c_str()), 0);
  AppendRecord(KontCopy.table, {{"NUM", "100"}, {"NAZ", "Kasa"}});
  AppendRecord(KontCopy.table, {{"NUM", "200"}, {"NAZ", "Bank"}});
  d4close_all(&env->engine);
  ASSERT_EQ(PlatChDir(src.c_str()), PLAT_OK);
  const PackedFileMask masks[] = {{"*.DBF", 0}, {nullptr, 0}};
  ASSERT_EQ(Compress2(masks, EnvFromDiskPath(drive + "ZELM_2025_1.EXP").c_str(), 1), 1);
  ASSERT_EQ(PlatChDir(firm.c_str()), PLAT_OK);

  // The directory proposed, the one archive of the list, a key after the window.
  RunToEnd(std::string(LOGO) + INTO_ADMIN + "i{ENTER}{ENTER}x{ESC}{ESC}");
  TransDir(EnvFromDiskPath(Firm()).c_str(), &env->dataPath);
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  ASSERT_EQ(OpenZ5KONT(0), 0);
  EXPECT_EQ(d4reccount(Z5KONT.table), 2);
  d4close_all(&env->engine);
  std::vector<PlatDirEntry> left;
  ASSERT_EQ(PlatListDir(Firm().c_str(), "*EX.DBF", &left), PLAT_OK);
  EXPECT_TRUE(left.empty());
}

}  // namespace
