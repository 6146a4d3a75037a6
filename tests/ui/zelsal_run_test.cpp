#include <cstdlib>
#include <string>
#include "tests/support/test_support.h"

namespace {

class ZelsalHeadless : public TempDirTest {
 protected:
  std::string RunZelsal(const std::string& keys, int* status) {
    std::string dump = dir + "screen.txt";
    std::string command = "cd '" + dir + "' && ZELSAL_HOME='" + dir + "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" + keys + "' ZELKIT_DUMP='" +
                          dump + "' '" ZELSAL_BINARY "' >'" + dir + "out.txt' 2>&1";
    *status = std::system(command.c_str());
    return ReadFile(dump);
  }
};

TEST_F(ZelsalHeadless, ScriptEndingWhileWaitingFailsWithTheScreen) {
  int status = -1;
  // The first key passes the logo; the main bar waits for the next.
  std::string screen = RunZelsal("x", &status);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(screen.find(" START  Katalogi "), std::string::npos) << screen;
  EXPECT_NE(ReadFile(Path("out.txt")).find("key script ended"), std::string::npos);
}

// Over SSH or from a service there is no display: the program says so on one
// line and ends instead of waiting unseen for keys.
TEST_F(ZelsalHeadless, WithoutADisplayItSaysHowToRunAndFails) {
  std::string command = "cd '" + dir +
                        "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u ZELKIT_DISPLAY "
                        "ASAN_OPTIONS=detect_leaks=0 timeout 60 '" ZELSAL_BINARY "' </dev/null >out.txt 2>err.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_NE(WEXITSTATUS(status), 124) << "still waiting after a minute";
  // SDL's video drivers may add lines of their own; ours is one whole line.
  std::string err = ReadFile(Path("err.txt"));
  size_t start = err.find("No display found");
  ASSERT_NE(start, std::string::npos) << err;
  EXPECT_TRUE(start == 0 || err[start - 1] == '\n') << err;
  std::string line = err.substr(start, err.find('\n', start) - start);
  EXPECT_NE(line.find("ZELKIT_DISPLAY=headless"), std::string::npos) << err;
  EXPECT_NE(err.find('\n', start), std::string::npos) << err;
}

}  // namespace
