#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/installer/fuzz_entry.h"
#include "tests/installer/lha_fixture.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Corpus() {
  std::vector<std::string> inputs;
  for (const auto& entry : fs::directory_iterator(LHA_FUZZ_CORPUS)) inputs.push_back(lha::ReadBytes(entry.path()));
  return inputs;
}

void RunTarget(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

// The target aborts on a finding, which fails the test.
TEST(LhaReaderFuzzTarget, RunsCleanOverItsCorpus) {
  std::vector<std::string> corpus = Corpus();
  ASSERT_GE(corpus.size(), 5u);
  for (const std::string& input : corpus) RunTarget(input);
}

// A short run from a fixed seed: the corpus with bytes changed, cut or repeated.
TEST(LhaReaderFuzzTarget, RunsCleanOverChangedInputs) {
  std::vector<std::string> corpus = Corpus();
  std::mt19937 random(1);
  for (int round = 0; round < 600; round++) {
    std::string input = corpus[random() % corpus.size()];
    switch (random() % 3) {
      case 0:
        for (int n = 1 + int(random() % 8); n > 0; n--) input[random() % input.size()] = char(random());
        break;
      case 1:
        input.resize(random() % input.size());
        break;
      default:
        input += input.substr(random() % input.size());
        break;
    }
    RunTarget(input);
  }
}

}  // namespace
