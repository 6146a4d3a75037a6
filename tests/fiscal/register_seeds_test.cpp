// The seeds of the register fuzz targets: the simulated registers' answers to
// every operation, one file per protocol family, and the files of the jobs,
// one per kind; kept equal here (ZELSAL_WRITE_SEEDS=1 writes them anew), and
// every file seed is taken in cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/register_files.h"
#include "fuzz/register_operations.h"
#include "tests/fiscal/register_fixture.h"
#include "tests/fiscal/tango_simulator.h"
#include "tests/masterdata/goods_fixture.h"

namespace {

bool Writing() {
  const char* write = std::getenv("ZELSAL_WRITE_SEEDS");
  return write && std::string(write) == "1";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Keep(const std::string& path, const std::string& seed) {
  if (Writing()) std::ofstream(path, std::ios::binary) << seed;
  EXPECT_EQ(Slurp(path), seed) << path;
}

class RegisterSeedsTest : public RegisterTest {};

TEST_F(RegisterSeedsTest, AnswersAreTheSimulatedRegisters) {
  for (int mode = 0; mode < REGISTER_FUZZ_MODES; mode++) {
    SetRegisterFuzzMode(mode);
    TangoSimulator sim;
    sim.Sell("123", 1500, 525);
    port.device = &sim;
    port.consumed.clear();
    // 204 Esc: the report only reads; the zeroing's box.
    RunUntilEsc([] {
      RunEveryRegisterOperation();
      return 0;
    }, "{ESC}x");
    EXPECT_EQ(sim.frames.size() > 0, true);
    Keep(std::string(REGISTER_FUZZ_CORPUS) + "/register_answers/" + kRegisterFuzzModes[mode].name,
         std::string(1, static_cast<char>(mode)) + port.consumed);
  }
}

class RegisterFileSeedsTest : public GoodsTest {};

TEST_F(RegisterFileSeedsTest, FilesOfTheJobsAreTakenIn) {
  const std::string seeds[RF_KINDS] = {
      "   123\tCUKIER\t6\t3.50\t2\n456\tSOL\t=\t1.23\t3\n",
      "123,7\nA1,-3\nZZ,4\n",
      "#1\n#\n#\n$77\tMAKA\t2\t5\t2\t1\t0\t0\t240\t0\n",
      "#1\n#\n#\n$123\t2.5\t750\n",
      std::string(1, '\2') + "pierwszy\ndrugi\ttekst\n"};
  for (int kind = 0; kind < RF_KINDS; kind++) {
    std::string seed = std::string(1, static_cast<char>(kind)) + seeds[kind];
    Keep(std::string(REGISTER_FUZZ_CORPUS) + "/register_files/" + kRegisterFileNames[kind], seed);
    ASSERT_EQ(HeadlessSetScript(kRegisterFileKeys), 0);
    try {
      ReadRegisterFile(kind, seed.substr(1));
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << kRegisterFileNames[kind] << " waited for more keys";
    }
  }
  // The count was added: 123 from 5 by 7.
  EXPECT_EQ(At(1, TOWA_ILO), "12.0000");
}

}  // namespace
