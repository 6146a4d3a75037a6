// The sales register of a new year on a disk that fills up, on the real
// program: the create that fails is told with its cause and leaves no file,
// and a register file left without its header is made again and told.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/sales/sales_road.h"

namespace {

namespace fs = std::filesystem;

class FullDiskRoadTest : public SalesRoadTest {
 protected:
  std::string FirmFile(const char* name) const { return home + "firma1/" + name; }
};

TEST_F(FullDiskRoadTest, NewYearRegisterOnAFullDiskLeavesNoFileAndOpensOnceThereIsRoom) {
  MakeFirm();
  environment = "ZELSAL_FAIL_WRITES='ENOSPC:/Z5SPRE'";
  Outcome full = Run(std::string(LOGO) + INTO_SALES);
  EXPECT_TRUE(Has(full, "Błąd numer   -120")) << full.screen;
  EXPECT_TRUE(Has(full, "Zapis do zbioru")) << full.screen;
  EXPECT_TRUE(Has(full, "Z5SPRE25.DBF")) << full.screen;
  EXPECT_TRUE(Has(full, "Brak miejsca na dysku.")) << full.screen;
  EXPECT_FALSE(Has(full, "Odczyt ze zbioru")) << full.screen;
  // That run ended at the window; once the operator has read it, the file
  // is gone, also when the next start meets the one a killed run left.
  Outcome read = Run(std::string(LOGO) + INTO_SALES + "{ENTER}");
  EXPECT_FALSE(Has(read, "Odczyt ze zbioru")) << read.screen;
  EXPECT_FALSE(fs::exists(FirmFile("Z5SPRE25.DBF")));

  environment.clear();
  RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
  EXPECT_EQ(ReadFile(FirmFile("Z5SPRE25.DBF")).substr(0, 1), "\x03");
}

TEST_F(FullDiskRoadTest, RegisterLeftWithoutHeaderIsMadeAgainAndTold) {
  MakeFirmWithSales();
  ASSERT_TRUE(fs::exists(FirmFile("Z5SPRE25.DBF")));
  fs::remove(FirmFile("Z5SPRE25.MDX"));
  WriteFile(FirmFile("Z5SPRE25.DBF"), "");
  Outcome told = Run(std::string(LOGO) + INTO_SALES);
  EXPECT_TRUE(Has(told, "Baza Z5SPRE25.DBF nie miała nagłówka, bo jej zakładanie")) << told.screen;
  EXPECT_TRUE(Has(told, "zostało przerwane; została założona od nowa.")) << told.screen;
  EXPECT_GT(fs::file_size(FirmFile("Z5SPRE25.DBF")), 32u);
  // Told once: the next start opens the register without a word.
  RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
  std::string log = ReadFile(home + "ER.Log");
  EXPECT_NE(log.find("LGM(1087)"), std::string::npos) << log;
  EXPECT_EQ(log.find("ERRCODE"), std::string::npos) << log;
}

}  // namespace
