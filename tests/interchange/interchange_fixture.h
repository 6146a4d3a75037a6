// A fresh environment with its error log in a temporary directory and a
// recording screen hook; everything is closed again afterwards.
#pragma once
#include <string>
#include <vector>

#include "env/session/environment.h"
#include "env/error_log.h"
#include "tests/support/test_support.h"

class InterchangeTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    screen = new RecordingScreenHook();
    static char program[] = "Zelsal";
    static char* argv[] = {program, nullptr};
    CreateEnvironment(1, argv);
  }
  void TearDown() override {
    if (EnvCurrent()) DeleteEnvironment(EnvCurrent());
    CloseErrLog();
    delete screen;
    TempDirTest::TearDown();
  }
  // The error log so far (code page 1250).
  std::string Log() const { return ReadFile(Path("home/ER.Log")); }
  // Texts of the message boxes shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& s : screen->shown)
      if (s.what == "box") out.push_back(s.text);
    return out;
  }
  RecordingScreenHook* screen = nullptr;
};
