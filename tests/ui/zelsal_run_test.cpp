#include <cstdlib>
#include <string>
#include "tests/support/test_support.h"

namespace {

class ZelsalHeadless : public TempDirTest {
 protected:
  std::string RunZelsal(const std::string& keys, int* status) {
    std::string dump = dir + "screen.txt";
    std::string command = "cd '" + dir + "' && ZELKIT_DISPLAY=headless ZELKIT_KEYS='" + keys + "' ZELKIT_DUMP='" +
                          dump + "' '" ZELSAL_BINARY "' >'" + dir + "out.txt' 2>&1";
    *status = std::system(command.c_str());
    return ReadFile(dump);
  }
};

TEST_F(ZelsalHeadless, DemoShowsTypedPolishTextAndEndsOnEsc) {
  int status = -1;
  std::string screen = RunZelsal("ab{ALTGR+a}ż{ESC}", &status);
  EXPECT_EQ(status, 0) << ReadFile(Path("out.txt"));
  EXPECT_NE(screen.find("Tekst: ab"), std::string::npos) << screen;   // "Tekst:" then what was typed
  EXPECT_NE(screen.find("abąż"), std::string::npos) << screen;
  EXPECT_NE(screen.find("[Esc]-Koniec"), std::string::npos) << screen;
  EXPECT_NE(screen.find("Zażółć gęślą jaźń"), std::string::npos) << screen;
}

TEST_F(ZelsalHeadless, ScriptEndingWhileWaitingFailsWithTheScreen) {
  int status = -1;
  std::string screen = RunZelsal("xy", &status);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(screen.find("xy"), std::string::npos) << screen;
  EXPECT_NE(ReadFile(Path("out.txt")).find("key script ended"), std::string::npos);
}

}  // namespace
