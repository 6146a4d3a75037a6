// The seeds of the cash-register fuzz targets are the simulated registers'
// answers to every operation, one file per register type (cut to the
// fuzzer's longest input); ZELSAL_WRITE_SEEDS=1 writes them anew. The DSA
// registers echo sequence numbers that live as long as the process, so the
// seeds are compared by length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/register_operations.h"
#include "tests/fiscal/register_fixture.h"
#include "tests/fiscal/register_simulators.h"

namespace {

constexpr size_t SEED_MAX = 16384;

class RegisterSeedsTest : public RegisterTest {};

std::unique_ptr<RegisterSimulator> Simulator(int type) {
  std::unique_ptr<RegisterSimulator> sim;
  switch (type) {
    case KASA_ADAX:
    case KASA_TOTAL_TAX: sim = std::make_unique<AdaxSimulator>(); break;
    case KASA_OMRON: sim = std::make_unique<OmronSimulator>(); break;
    case KASA_PS2000: sim = std::make_unique<Ps2000Simulator>(); break;
    case KASA_DSA40:
    case KASA_DSA100:
    case KASA_DSA4000S:
    case KASA_MALA: sim = std::make_unique<DsaSimulator>(type); break;
    default: sim = std::make_unique<Cr280Simulator>(type); break;
  }
  sim->plus[5] = SimPlu{"SOL         ", 199, '1', 3, ""};
  sim->sales[123] = SimSales{2000, 700};
  sim->sales[77] = SimSales{1000, 1234};
  return sim;
}

TEST_F(RegisterSeedsTest, FuzzSeedsAreTheSimulatedRegistersAnswers) {
  const char* write = std::getenv("ZELSAL_WRITE_SEEDS");
  for (const RegisterFuzzFamily* family : kRegisterFuzzFamilies) {
    for (int mode = 0; mode < family->count; mode++) {
      const RegisterFuzzMode& m = family->modes[mode];
      std::unique_ptr<RegisterSimulator> sim = Simulator(m.type);
      port.device = sim.get();
      port.consumed.clear();
      SetRegisterFuzzMode(m);
      std::string keys;
      for (int i = 0; i < 64; i++) keys += "{ESC}";
      ASSERT_EQ(HeadlessSetScript(keys.c_str()), 0);
      try {
        RunEveryRegisterOperation();
      } catch (const ScriptEnded&) {
        ADD_FAILURE() << m.name << " asked too much:\n" << seen;
      }
      EXPECT_GE(sim->frames.size(), 5u) << m.name;
      EXPECT_GE(sim->plus.size(), 1u) << m.name;
      std::string seed = std::string(1, static_cast<char>(mode)) + port.consumed;
      if (seed.size() > SEED_MAX) seed.resize(SEED_MAX);
      std::string path = std::string(REGISTER_FUZZ_CORPUS) + "/" + family->corpus + "/" + m.name;
      if (write && std::string(write) == "1") WriteFile(path, seed);
      std::string kept = ReadFile(path);
      EXPECT_EQ(kept.size(), seed.size()) << path;
      EXPECT_EQ(kept.substr(0, 1), seed.substr(0, 1)) << path;
    }
  }
}

}  // namespace
