// The seeds of the ELZAB, ORHMET, SPARK 482G and TP Line fuzz target are the
// simulated printers' answers to every operation, one file per make; they are
// kept equal here (ZELSAL_WRITE_SEEDS=1 writes them anew).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fuzz/printer_operations.h"
#include "tests/fiscal/fiscal_fixture.h"
#include "tests/fiscal/printer_simulators.h"

namespace {

TEST_F(FiscalTest, PrinterFuzzSeedsAreTheSimulatedPrintersAnswers) {
  ElzabSimulator elzab;
  OrhmetSimulator orhmet;
  SparkSimulator spark;
  spark.status = std::string(73, '0');
  TpLineSimulator tpline;
  const int lengths[][2] = {{0x50, 3}, {0x51, 5}, {0x52, 3}, {0x53, 9},  {0x54, 12},
                            {0x55, 15}, {0x59, 12}, {0x60, 3}, {0x65, 12}, {0x66, 8}};
  for (const auto& l : lengths) tpline.records[static_cast<unsigned char>(l[0])] = std::string(static_cast<size_t>(l[1]), '\x01');
  RecordingDevice* devices[PRINTER_FUZZ_MODES] = {&elzab, &orhmet, &spark, &tpline};
  const char* keys[PRINTER_FUZZ_MODES] = {"", "", "", "xxxxxxxxxx"};   // the ten service windows
  for (int mode = 0; mode < PRINTER_FUZZ_MODES; mode++) {
    Configure(kPrinterFuzzModes[mode].type);
    SetPrinterFuzzMode(mode);
    port.device = devices[mode];
    port.consumed.clear();
    RunUntilEsc([mode] {
      RunEveryPrinterOperation(mode);
      return 0;
    }, keys[mode]);
    EXPECT_GT(devices[mode]->Commands().size(), 9u) << kPrinterFuzzModes[mode].name;
    std::string seed = std::string(1, static_cast<char>(mode)) + port.consumed;
    std::string path = std::string(PRINTER_FUZZ_CORPUS) + "/" + kPrinterFuzzModes[mode].name;
    const char* write = std::getenv("ZELSAL_WRITE_SEEDS");
    if (write && std::string(write) == "1") WriteFile(path, seed);
    EXPECT_EQ(ReadFile(path), seed) << path;
  }
}

}  // namespace
