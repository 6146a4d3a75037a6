// The seeds of the POSNET fuzz target are the simulated printer's answers to
// every operation, one file per printer type and protocol; they are kept
// equal here (ZELSAL_WRITE_SEEDS=1 writes them anew).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fuzz/posnet_operations.h"
#include "tests/fiscal/fiscal_fixture.h"

namespace {

TEST_F(FiscalTest, FuzzSeedsAreTheSimulatedPrintersAnswers) {
  for (int mode = 0; mode < POSNET_FUZZ_MODES; mode++) {
    Configure(kPosnetFuzzModes[mode].type, kPosnetFuzzModes[mode].online);
    SetPosnetFuzzMode(mode);
    port.consumed.clear();
    port.printer.Restart();
    RunUntilEsc([] {
      RunEveryPosnetOperation();
      return 0;
    }, "");
    EXPECT_GT(port.printer.Commands().size(), 20u) << kPosnetFuzzModes[mode].name;
    std::string seed = std::string(1, static_cast<char>(mode)) + port.consumed;
    std::string path = std::string(POSNET_FUZZ_CORPUS) + "/" + kPosnetFuzzModes[mode].name;
    const char* write = std::getenv("ZELSAL_WRITE_SEEDS");
    if (write && std::string(write) == "1") WriteFile(path, seed);
    EXPECT_EQ(ReadFile(path), seed) << path;
  }
}

}  // namespace
