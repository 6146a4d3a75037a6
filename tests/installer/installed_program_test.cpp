// Where the program keeps its writable files when ZELSAL_HOME is unset: an
// installed program (<prefix>/bin beside <prefix>/share/zelsal) never writes
// beside itself, while one run from a folder of its own (the build tree) does,
// and an installation whose folder already holds its tables goes on with them.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "tests/installer/installer_fixture.h"

namespace fs = std::filesystem;

namespace {

class InstalledProgram : public InstallerTest {
 protected:
  // The built program and its library copied into `prefix`/bin.
  std::string Place(const std::string& prefix) {
    std::string bin = Path(prefix + "/bin/");
    fs::create_directories(bin);
    fs::copy_file(ZELSAL_BINARY, bin + "Zelsal");
    fs::copy_file(ZELKIT5_LIBRARY, bin + fs::path(ZELKIT5_LIBRARY).filename().string());
    return bin;
  }
  // Starts the program past its logo and ends it; the exit status.
  int StartAndEnd(const std::string& bin) {
    fs::create_directories(Path("start"));
    std::string command = "cd '" + Path("start") + "' && env -u ZELSAL_HOME ZELKIT_DISPLAY=headless ZELKIT_KEYS='xz' '" +
                          bin + "Zelsal' >'" + Path("out.txt") + "' 2>&1";
    return std::system(command.c_str());
  }
  // The tables and the error log in `folder`, by name.
  static std::set<std::string> Written(const std::string& folder) {
    std::set<std::string> names;
    if (!fs::is_directory(folder)) return names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".DBF" || name == "ER.Log") names.insert(name);
    }
    return names;
  }
  const std::set<std::string> kStartFiles = {"ER.Log", "Z5PABV.DBF"};
  const std::set<std::string> kNone;
};

TEST_F(InstalledProgram, WritesBesideItselfOnlyWhenNotInstalledOrWithTablesThereFromBefore) {
  // Installed: share/zelsal beside bin/, which the test may write into as root may.
  std::string installed = Place("usr");
  fs::create_directories(Path("usr/share/zelsal"));
  int status = StartAndEnd(installed);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << ReadFile(Path("out.txt"));
  EXPECT_EQ(Written(installed), kNone);
  EXPECT_EQ(Written(Path("data/zelsal")), kStartFiles);

  // Run from a folder of its own, as from the build tree: beside itself.
  std::string own = Place("build");
  status = StartAndEnd(own);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << ReadFile(Path("out.txt"));
  EXPECT_EQ(Written(own), kStartFiles);

  // The same folder installed later: its tables stay in use where they are.
  fs::remove_all(Path("data/zelsal"));
  fs::create_directories(Path("build/share/zelsal"));
  size_t logBefore = ReadFile(own + "ER.Log").size();
  status = StartAndEnd(own);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << ReadFile(Path("out.txt"));
  EXPECT_EQ(Written(own), kStartFiles);
  EXPECT_EQ(Written(Path("data/zelsal")), kNone);
  EXPECT_GT(ReadFile(own + "ER.Log").size(), logBefore);   // its log goes on there too
}

}  // namespace
