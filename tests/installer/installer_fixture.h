// A test folder for the installer: the drive letters C: and D: mapped inside
// it, HOME and the XDG folders there too, and the lines the operator types.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "installer/front.h"
#include "tests/support/test_support.h"

class InstallerTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    for (const char* name : {"ZELSAL_DRIVE_C", "ZELSAL_DRIVE_D", "ZELSAL_DRIVE_E", "HOME", "XDG_DATA_HOME"}) {
      const char* value = std::getenv(name);
      saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
    }
    for (const char* sub : {"c", "d", "user", "data"}) std::filesystem::create_directories(Path(sub));
    setenv("ZELSAL_DRIVE_C", Path("c").c_str(), 1);
    setenv("ZELSAL_DRIVE_D", Path("d").c_str(), 1);
    unsetenv("ZELSAL_DRIVE_E");
    setenv("HOME", Path("user").c_str(), 1);
    setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
    typed.clear();
    FrontSetLineReader(NextTyped);
  }
  void TearDown() override {
    FrontSetLineReader(nullptr);
    for (const auto& [name, value] : saved) {
      if (value)
        setenv(name, value->c_str(), 1);
      else
        unsetenv(name);
    }
    TempDirTest::TearDown();
  }
  static bool NextTyped(std::string* line) {
    if (typed.empty()) return false;
    *line = typed.front();
    typed.erase(typed.begin());
    return true;
  }
  static inline std::vector<std::string> typed;   // what the operator types, line by line

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
};
