// Helpers shared by the tests.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "platform/clock.h"
#include "platform/screen_hook.h"

// Runs each test in a fresh temporary directory as the current directory, with
// ZELSAL_HOME and XDG_CONFIG_HOME pointing inside it; removes it and puts the
// variables back afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string dir;          // with a trailing "/"
  std::string Path(const std::string& name) const { return dir + name; }
  static void WriteFile(const std::string& path, const std::string& content);
  static std::string ReadFile(const std::string& path);

 private:
  std::string previousCwd;
  struct SavedVariable {
    const char* name;
    bool wasSet;
    std::string value;
  };
  std::vector<SavedVariable> savedVariables;
};

// Fixes the clock for its lifetime (2026-12-10 10:00:00 unless told otherwise).
class FixedClock {
 public:
  FixedClock(int year = 2026, int month = 12, int day = 10, int hour = 10, int minute = 0, int second = 0);
  ~FixedClock();
};

// Thrown by the recording hook's fatal stop, so a test can expect it.
struct FatalStopCaught {
  int exitCode;
  std::string text;
};

// Installs a screen hook that records everything shown and answers questions
// and key waits from a script (Esc when the script is empty).
class RecordingScreenHook {
 public:
  RecordingScreenHook();
  ~RecordingScreenHook();
  struct Shown {
    std::string what;    // "box", "question", "notice", "critical"
    int kind;
    std::string title, text;
  };
  std::vector<Shown> shown;
  std::vector<int> answers;   // consumed from the front by question and criticalError (Esc when empty)
  std::vector<int> keys;      // consumed by waitKey (Esc when empty) and readKey (0 when empty)
  int noticeCount = 0;
  bool noticeVisible = false;
  int waitedMs = 0;
  static RecordingScreenHook* current;
  int NextAnswer();
  int NextKey(int whenEmpty);
};
