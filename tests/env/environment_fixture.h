// A fresh environment in a temporary directory, with a fixed clock and a
// recording screen hook; the log and the environment are closed afterwards.
#pragma once
#include <string>
#include <vector>

#include "env/session/environment.h"
#include "env/error_log.h"
#include "tests/support/test_support.h"

class EnvironmentTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    clock = new FixedClock();
    screen = new RecordingScreenHook();
  }
  void TearDown() override {
    if (EnvCurrent()) DeleteEnvironment(EnvCurrent());
    CloseErrLog();
    delete screen;
    delete clock;
    TempDirTest::TearDown();
  }
  Environment* Create(std::vector<std::string> args = {"Zelsal"}) {
    arguments = std::move(args);
    argvStore.clear();
    for (std::string& a : arguments) argvStore.push_back(a.data());
    argvStore.push_back(nullptr);
    return CreateEnvironment(static_cast<int>(arguments.size()), argvStore.data());
  }
  // Texts shown in the critical-error window so far.
  std::vector<std::string> Critical() const {
    std::vector<std::string> out;
    for (const auto& s : screen->shown)
      if (s.what == "critical") out.push_back(s.text);
    return out;
  }
  std::string LogPath(const std::string& name = "ER.Log") const { return Path("home/" + name); }

  FixedClock* clock = nullptr;
  RecordingScreenHook* screen = nullptr;
  std::vector<std::string> arguments;
  std::vector<char*> argvStore;
};
