// The seeds of the register fuzz targets: the simulated registers' answers to
// every operation, one file per register type (cut to the fuzzer's longest
// input), and the files of the jobs, one per kind; kept equal here
// (ZELSAL_WRITE_SEEDS=1 writes them anew), and every file seed is taken in
// cleanly. DSA100 and DSA4000S echo sequence numbers that live as long as
// the process: their seeds are kept by length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/register_files.h"
#include "fuzz/register_operations.h"
#include "tests/fiscal/register_fixture.h"
#include "tests/fiscal/register_simulators.h"
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

constexpr size_t SEED_MAX = 16384;

// The type's simulated register with a PLU and two codes sold, and the keys
// of the boxes the operations show on it. DSA100 and DSA4000S stop at the
// report question after their long PLU list, which fills the seed already.
std::unique_ptr<LineDevice> Register(int type, const char** keys) {
  if (type == KASA_TANGO) {
    auto tango = std::make_unique<TangoSimulator>();
    tango->Sell("123", 1500, 525);
    *keys = "{ESC}x";   // 204 Esc: the report only reads; the zeroing's box
    return tango;
  }
  std::unique_ptr<RegisterSimulator> sim;
  *keys = "";
  switch (type) {
    case KASA_ADAX:
    case KASA_TOTAL_TAX:
      sim = std::make_unique<AdaxSimulator>();
      *keys = "x";   // no zeroing
      break;
    case KASA_DSA40:
    case KASA_MALA:
      sim = std::make_unique<DsaSimulator>(type);
      *keys = "xxx";   // no deletion, the slow list, no zeroing
      break;
    case KASA_DSA100:
    case KASA_DSA4000S:
      sim = std::make_unique<DsaSimulator>(type);
      *keys = "xx";   // no deletion, the slow list
      break;
    case KASA_OMRON: sim = std::make_unique<OmronSimulator>(); break;
    case KASA_PS2000: sim = std::make_unique<Ps2000Simulator>(); break;
    default: sim = std::make_unique<Cr280Simulator>(type); break;
  }
  sim->plus[5] = SimPlu{"SOL         ", 199, '1', 3, ""};
  sim->sales[123] = SimSales{2000, 700};
  sim->sales[77] = SimSales{1000, 1234};
  return sim;
}

TEST_F(RegisterSeedsTest, AnswersAreTheSimulatedRegisters) {
  for (int mode = 0; mode < REGISTER_FUZZ_MODES; mode++) {
    SetRegisterFuzzMode(mode);
    const char* keys = "";
    std::unique_ptr<LineDevice> sim = Register(kRegisterFuzzModes[mode].type, &keys);
    port.device = sim.get();
    port.consumed.clear();
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    try {
      RunEveryRegisterOperation();
    } catch (const ScriptEnded&) {
      KFClose();
    }
        EXPECT_GT(port.written.size(), 0u) << kRegisterFuzzModes[mode].name;
    std::string seed = (std::string(1, static_cast<char>(mode)) + port.consumed).substr(0, SEED_MAX);
    std::string path = std::string(REGISTER_FUZZ_CORPUS) + "/register_answers/" + kRegisterFuzzModes[mode].name;
    int type = kRegisterFuzzModes[mode].type;
    if (type != KASA_DSA100 && type != KASA_DSA4000S) {
      Keep(path, seed);
      continue;
    }
    if (Writing()) std::ofstream(path, std::ios::binary) << seed;
    EXPECT_EQ(Slurp(path).size(), seed.size()) << path;
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
