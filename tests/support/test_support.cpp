#include "tests/support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

void TempDirTest::SetUp() {
  previousCwd = fs::current_path().string();
  std::string pattern = (fs::temp_directory_path() / "zelsal-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir = pattern + "/";
  fs::create_directories(dir + "home");
  fs::create_directories(dir + "config");
  // Put back afterwards, or a later test would recreate the removed folder.
  savedVariables.clear();
  for (const char* name : {"ZELSAL_HOME", "XDG_CONFIG_HOME"}) {
    const char* value = getenv(name);
    savedVariables.push_back({name, value != nullptr, value ? value : ""});
  }
  setenv("ZELSAL_HOME", (dir + "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (dir + "config").c_str(), 1);
  fs::current_path(dir);
}

void TempDirTest::TearDown() {
  fs::current_path(previousCwd);
  for (const SavedVariable& v : savedVariables) {
    if (v.wasSet)
      setenv(v.name, v.value.c_str(), 1);
    else
      unsetenv(v.name);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

void TempDirTest::WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

std::string TempDirTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

FixedClock::FixedClock(int year, int month, int day, int hour, int minute, int second) {
  PlatDateTime at{};
  at.year = year;
  at.month = month;
  at.day = day;
  at.hour = hour;
  at.minute = minute;
  at.second = second;
  PlatClockFix(&at);
}

FixedClock::~FixedClock() { PlatClockFix(nullptr); }

RecordingScreenHook* RecordingScreenHook::current = nullptr;

int RecordingScreenHook::NextAnswer() {
  if (answers.empty()) return SCREEN_KEY_ESC;
  int key = answers.front();
  answers.erase(answers.begin());
  return key;
}

int RecordingScreenHook::NextKey(int whenEmpty) {
  if (keys.empty()) return whenEmpty;
  int key = keys.front();
  keys.erase(keys.begin());
  return key;
}

namespace {
RecordingScreenHook& Rec() { return *RecordingScreenHook::current; }
std::string Str(const char* text) { return text ? text : ""; }

const ScreenHook recordingHook = {
    [](int kind, const char* title, const char* text) { Rec().shown.push_back({"box", kind, Str(title), Str(text)}); },
    [](const char* title, const char* text) {
      Rec().shown.push_back({"question", 0, Str(title), Str(text)});
      return Rec().NextAnswer();
    },
    [](const char* title, const char* text) {
      Rec().shown.push_back({"notice", 0, Str(title), Str(text)});
      Rec().noticeCount++;
      Rec().noticeVisible = true;
    },
    []() { Rec().noticeVisible = false; },
    []() { return Rec().NextKey(SCREEN_KEY_ESC); },
    []() { return Rec().NextKey(0); },
    [](int ms) {
      Rec().waitedMs += ms;
      if (PlatClockIsFixed()) PlatClockAdvanceMs(ms);
    },
    [](const char* text) {
      Rec().shown.push_back({"critical", 0, "", Str(text)});
      return Rec().NextAnswer();
    },
    [](int exitCode, const char* text) { throw FatalStopCaught{exitCode, Str(text)}; },
};
}  // namespace

RecordingScreenHook::RecordingScreenHook() {
  current = this;
  ScreenHookSet(&recordingHook);
}

RecordingScreenHook::~RecordingScreenHook() {
  ScreenHookSet(nullptr);
  current = nullptr;
}
