// The real program's SDL window on a virtual X screen (Xvfb), driven with
// xdotool: every font Ctrl+F4 steps through leaves a window that lies on the
// screen. Skipped where Xvfb or xdotool is missing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "tests/app/program_road.h"

namespace {

constexpr int SCREEN_W = 800, SCREEN_H = 600;

bool Installed(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
  pclose(pipe);
  return out;
}

// Starts a shell command in the background (it ends with an exec, so the pid
// is the program's).
pid_t Start(const std::string& command) {
  pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

class SdlWindowTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    if (!Installed("Xvfb") || !Installed("xdotool")) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    display = ":" + std::to_string(100 + getpid() % 400);
    xvfb = Start("exec Xvfb " + display + " -screen 0 " + std::to_string(SCREEN_W) + "x" + std::to_string(SCREEN_H) +
                 "x24 -nolisten tcp >/dev/null 2>&1");
    // The server is up once a client can ask it something.
    for (int i = 0; i < 100 && std::system(("DISPLAY=" + display + " xdotool getmouselocation >/dev/null 2>&1").c_str()) != 0; i++)
      usleep(100000);
  }
  void TearDown() override {
    Stop(program);
    Stop(xvfb);
    ProgramRoadTest::TearDown();
  }
  std::string X(const std::string& command) { return Output("DISPLAY=" + display + " " + command + " 2>/dev/null"); }
  std::map<std::string, int> Geometry(const std::string& window) {
    std::map<std::string, int> values;
    std::string shell = X("xdotool getwindowgeometry --shell " + window);
    size_t at = 0;
    while (at < shell.size()) {
      size_t end = shell.find('\n', at), eq = shell.find('=', at);
      if (end == std::string::npos) end = shell.size();
      if (eq != std::string::npos && eq < end) values[shell.substr(at, eq - at)] = std::atoi(shell.c_str() + eq + 1);
      at = end + 1;
    }
    return values;
  }

  std::string display;
  pid_t xvfb = 0, program = 0;
};

TEST_F(SdlWindowTest, EveryFontLeavesAWindowOnTheScreen) {
  program = Start("cd '" + firm + "' && exec env DISPLAY=" + display + " ZELSAL_HOME='" + home +
                  "' ZELKIT_DISPLAY=sdl '" + ZELSAL_BINARY + "' >'" + dir + "out.txt' 2>&1");
  std::string window = X("timeout 30 xdotool search --sync --onlyvisible --pid " + std::to_string(program));
  window = window.substr(0, window.find('\n'));
  ASSERT_FALSE(window.empty()) << ReadFile(dir + "out.txt");
  // Past the logo to the main menu.
  X("xdotool windowfocus --sync " + window);
  X("xdotool key x");
  int widest = 0;
  for (int step = 0; step < 8; step++) {
    X("xdotool key ctrl+F4");
    usleep(700000);
    std::map<std::string, int> g = Geometry(window);
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_TRUE(g.count("WIDTH") && g.count("X")) << X("xdotool getwindowgeometry " + window);
    widest = std::max(widest, g["WIDTH"]);
    EXPECT_GE(g["X"], 0);
    EXPECT_GE(g["Y"], 0);
    EXPECT_LE(g["X"] + g["WIDTH"], SCREEN_W);
    EXPECT_LE(g["Y"] + g["HEIGHT"], SCREEN_H);
  }
  // The steps came to a font the screen could not hold as it asked.
  EXPECT_EQ(widest, SCREEN_W);
}

}  // namespace
