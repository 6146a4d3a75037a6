// Paths, outside programs and libraries, the program directory, the clock,
// resources and the screen hook.
#include <strings.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dirs.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/program_dir.h"
#include "platform/resources.h"
#include "platform/screen_hook.h"
#include "tests/support/test_support.h"

namespace {

// Sets an environment variable for one test and puts the old state back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : savedName(name) {
    const char* old = std::getenv(name);
    hadValue = old != nullptr;
    if (old) savedValue = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (hadValue)
      setenv(savedName.c_str(), savedValue.c_str(), 1);
    else
      unsetenv(savedName.c_str());
  }

 private:
  std::string savedName, savedValue;
  bool hadValue;
};

using PlatPathsTest = TempDirTest;

TEST_F(PlatPathsTest, DriveLettersMapToRootsAndBack) {
  std::string c = dir + "dysk_c";
  ScopedEnv driveC("ZELSAL_DRIVE_C", c + "/");   // a trailing slash is dropped
  ScopedEnv driveA("ZELSAL_DRIVE_A", dir + "dyskietka");
  ScopedEnv driveD("ZELSAL_DRIVE_D", c + "/DANE");
  EXPECT_EQ(PlatDriveRoot('c'), c);

  struct {
    const char* windows;
    std::string onLinux;
  } toLinux[] = {
      {"C:\\DANE\\FIRMA\\", c + "/DANE/FIRMA/"},
      {"c:\\dane\\Z5PASS.DBF", c + "/dane/Z5PASS.DBF"},
      {"C:", c + "/"},
      {"C:\\", c + "/"},
      {"A:\\KOPIA", dir + "dyskietka/KOPIA"},
      {"DANE\\FIRMA", "DANE/FIRMA"},
      {"..\\WSPOLNE\\", "../WSPOLNE/"},
      {"", ""},
  };
  for (auto& t : toLinux) EXPECT_EQ(PlatTranslatePath(t.windows), t.onLinux) << t.windows;

  std::string outside = c + "x/DANE";   // under no root: only the slashes turn
  std::string outsideWindows = outside;
  for (char& ch : outsideWindows)
    if (ch == '/') ch = '\\';
  struct {
    std::string onLinux, windows;
  } toWindows[] = {
      {c + "/ARCH/", "C:\\ARCH\\"},
      {c, "C:\\"},
      {c + "/DANE/FIRMA", "D:\\FIRMA"},   // the longest root wins
      {outside, outsideWindows},
      {"DANE/FIRMA/", "DANE\\FIRMA\\"},
  };
  for (auto& t : toWindows) EXPECT_EQ(PlatToWindowsPath(t.onLinux.c_str()), t.windows) << t.onLinux;
}

std::string StoredRoot(char letter) { return letter == 'E' ? "/srv/dysk_e/" : ""; }

TEST_F(PlatPathsTest, DriveRootComesFromEnvironmentThenStoreThenUserData) {
  PlatSetDriveRootLookup(StoredRoot);
  EXPECT_EQ(PlatDriveRoot('e'), "/srv/dysk_e");
  EXPECT_EQ(PlatDriveRoot('Q'), dir + "home/drive_q");
  EXPECT_EQ(PlatTranslatePath("q:\\X"), dir + "home/drive_q/X");
  EXPECT_EQ(PlatToWindowsPath((dir + "home/drive_q/X").c_str()), "Q:\\X");
  {
    ScopedEnv e("ZELSAL_DRIVE_E", "/mnt/e");
    EXPECT_EQ(PlatDriveRoot('E'), "/mnt/e");
  }
  PlatSetDriveRootLookup(nullptr);
  EXPECT_EQ(PlatDriveRoot('E'), dir + "home/drive_e");
  // Without ZELSAL_HOME the user's data folder, never the executable's folder.
  ScopedEnv noHome("ZELSAL_HOME", "");
  ScopedEnv data("XDG_DATA_HOME", dir + "data/");
  EXPECT_EQ(PlatDriveRoot('c'), dir + "data/zelsal/drive_c");
}

using PlatProcessTest = TempDirTest;

TEST_F(PlatProcessTest, ExitCodeIsToldApartFromAMissingProgram) {
  int code = -5;
  EXPECT_EQ(PlatRunProgram("sh", {"-c", "exit 7"}, nullptr, &code), PLAT_OK);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(PlatRunProgram("/bin/sh", {"-c", "kill -KILL $$"}, nullptr, &code), PLAT_OK);
  EXPECT_EQ(code, 128 + 9);
  EXPECT_EQ(PlatRunProgram("zelsal-nie-ma-takiego-programu", {}, nullptr, &code), PLAT_NOT_FOUND);
  EXPECT_EQ(PlatRunProgram("./brak.sh", {}, nullptr, &code), PLAT_NOT_FOUND);

  // A relative program is found from here, in any case, while it runs in its working directory.
  ASSERT_EQ(PlatMkDir("Praca"), PLAT_OK);
  WriteFile(Path("Run.sh"), "#!/bin/sh\npwd > gdzie.txt\nexit \"$1\"\n");
  ASSERT_EQ(chmod(Path("Run.sh").c_str(), 0755), 0);
  ASSERT_EQ(PlatRunProgram("./RUN.SH", {"5"}, "praca", &code), PLAT_OK) << PlatLastErrorText();
  EXPECT_EQ(code, 5);
  EXPECT_EQ(ReadFile(Path("Praca/gdzie.txt")), dir + "Praca\n");
  EXPECT_EQ(PlatRunProgram("./Run.sh", {"0"}, "nie_ma", &code), PLAT_INVALID) << "a missing folder is not a missing program";
}

TEST_F(PlatProcessTest, OutputOfAProgramIsCollected) {
  std::string output = "stale";
  int code = -5;
  ASSERT_EQ(PlatRunProgramOutput("sh", {"-c", "echo jeden; echo dwa >&2; printf trzy; exit 3"}, &output, &code), PLAT_OK);
  EXPECT_EQ(output, "jeden\ntrzy");
  EXPECT_EQ(code, 3);
  // More than a pipe holds is read while the program runs.
  ASSERT_EQ(PlatRunProgramOutput("sh", {"-c", "head -c 200000 /dev/zero"}, &output, &code), PLAT_OK);
  EXPECT_EQ(output.size(), 200000u);
  EXPECT_EQ(PlatRunProgramOutput("zelsal-nie-ma-takiego-programu", {}, &output, &code), PLAT_NOT_FOUND);
  EXPECT_EQ(output, "");
}

using PlatDynlibTest = TempDirTest;

std::string StoredLibrary(const char* name) { return strcasecmp(name, "Kwerlib4") == 0 ? "/usr/lib/kwer/libkwer-3.so" : ""; }

TEST_F(PlatDynlibTest, NamesMapAndMissingIsToldApartFromBroken) {
  EXPECT_EQ(PlatLibraryFileName("Kwerlib4.dll"), "libkwerlib4.so");
  EXPECT_EQ(PlatLibraryFileName("C:\\PROGRAM\\KWERLIB4.DLL"), "libkwerlib4.so");
  PlatSetLibraryNameLookup(StoredLibrary);
  EXPECT_EQ(PlatLibraryFileName("KWERLIB4.dll"), "/usr/lib/kwer/libkwer-3.so");
  {
    ScopedEnv lib("ZELSAL_LIB_KWERLIB4", "/opt/kwer/libkwer.so");
    EXPECT_EQ(PlatLibraryFileName("Kwerlib4.dll"), "/opt/kwer/libkwer.so");
  }
  PlatSetLibraryNameLookup(nullptr);

  ScopedEnv math("ZELSAL_LIB_MATMA", "libm.so.6");
  PlatLibrary library = nullptr;
  ASSERT_EQ(PlatLibraryLoad("Matma.dll", &library), PLAT_OK) << PlatLastErrorText();
  auto cosine = reinterpret_cast<double (*)(double)>(PlatLibrarySymbol(library, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(PlatLibrarySymbol(library, "NieMaTakiejFunkcji"), nullptr);
  PlatLibraryFree(library);

  EXPECT_EQ(PlatLibraryLoad("Zelsal_brak_biblioteki.dll", &library), PLAT_NOT_FOUND);
  EXPECT_EQ(library, nullptr);
  ScopedEnv gone("ZELSAL_LIB_ZNIKLA", Path("libznikla.so"));
  EXPECT_EQ(PlatLibraryLoad("Znikla.dll", &library), PLAT_NOT_FOUND);
  WriteFile(Path("libzepsuta.so"), "not an ELF object");
  ScopedEnv broken("ZELSAL_LIB_ZEPSUTA", Path("libzepsuta.so"));
  EXPECT_EQ(PlatLibraryLoad("Zepsuta.dll", &library), PLAT_IO);
  EXPECT_STRNE(PlatLastErrorText(), "");
}

using PlatProgramDirTest = TempDirTest;

TEST_F(PlatProgramDirTest, WritableDirFromZelsalHomeCreatedWhenMissing) {
  EXPECT_EQ(PlatProgramDir(), dir + "home/");
  ScopedEnv home("ZELSAL_HOME", dir + "Nowy/Program");
  EXPECT_EQ(PlatProgramDir(), dir + "Nowy/Program/");
  EXPECT_TRUE(PlatFileExists((dir + "Nowy/Program").c_str()));
  WriteFile(Path("Nowy/Program/POMOC.HLP"), "help");
  EXPECT_EQ(PlatFindProgramFile("pomoc.hlp"), dir + "Nowy/Program/POMOC.HLP");
  EXPECT_EQ(PlatFindProgramFile("brak.hlp"), "");
  EXPECT_EQ(PlatConfigDir(), dir + "config/zelsal/");
  std::string exe = PlatExecutablePath();
  EXPECT_EQ(exe.substr(exe.find_last_of('/') + 1), "test_platform");
  EXPECT_EQ(PlatExecutableDir() + "test_platform", exe);
}

TEST(PlatClock, FixedClockWaitsAdvanceTimeWithoutSleeping) {
  FixedClock fixed(2026, 12, 31, 23, 59, 59);
  ASSERT_TRUE(PlatClockIsFixed());
  EXPECT_EQ(PlatMonotonicMs(), 0);
  auto started = std::chrono::steady_clock::now();
  PlatWaitMs(4000);
  ScreenWaitMs(1000);   // the default hook waits through the clock
  PlatClockAdvanceMs(500);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
  EXPECT_EQ(PlatMonotonicMs(), 5500);
  PlatDateTime now{};
  PlatNow(&now);
  EXPECT_EQ(now.year, 2027);
  EXPECT_EQ(now.month, 1);
  EXPECT_EQ(now.day, 1);
  EXPECT_EQ(now.hour, 0);
  EXPECT_EQ(now.minute, 0);
  EXPECT_EQ(now.second, 4);
  EXPECT_EQ(now.millisecond, 500);
  EXPECT_EQ(now.weekday, 5);   // a Friday
}

TEST(PlatClock, RealClockWaitsAndRuns) {
  ASSERT_FALSE(PlatClockIsFixed());
  int64_t before = PlatMonotonicMs();
  PlatWaitMs(30);
  EXPECT_GE(PlatMonotonicMs() - before, 30);
  PlatDateTime now{};
  PlatNow(&now);
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.weekday >= 0 && now.weekday <= 6);
}

TEST(PlatResources, RegisteredTablesAreFoundByModuleAndNumber) {
  static const unsigned char first[] = "pierwszy";
  static const unsigned char second[] = "drugi";
  static const PlatResource table[] = {{7, first, 8}, {20001, second, 5}, {0, nullptr, 0}};
  PlatRegisterResources("TestModul", table, 2);
  const PlatResource* found = PlatFindResource("TestModul", 20001);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(found->data), found->size), "drugi");
  EXPECT_EQ(PlatFindResource("TestModul", 0), nullptr) << "the terminator is not a resource";
  EXPECT_EQ(PlatFindResource("TestModul", 8), nullptr);
  EXPECT_EQ(PlatFindResource("InnyModul", 7), nullptr);
  PlatRegisterResources("TestModul", table, 1);   // registering again replaces the table
  EXPECT_NE(PlatFindResource("TestModul", 7), nullptr);
  EXPECT_EQ(PlatFindResource("TestModul", 20001), nullptr);
}

TEST(PlatScreenHook, DefaultAnswersEscAndWritesToStandardError) {
  ASSERT_EQ(ScreenHookGet(), ScreenHookDefault());
  EXPECT_EQ(ScreenQuestion("Pytanie", "Czy usun\xa5\xe6?"), SCREEN_KEY_ESC);
  EXPECT_EQ(ScreenWaitKey(), SCREEN_KEY_ESC);
  EXPECT_EQ(ScreenReadKey(), 0);
  testing::internal::CaptureStderr();
  ScreenMessageBox(SCREEN_BOX_WARNING, "Uwaga", "Brak pliku Z5PASS.DBF");
  EXPECT_EQ(ScreenCriticalError("Dysk pe\xb3ny"), SCREEN_KEY_ESC);
  std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("Uwaga: Brak pliku Z5PASS.DBF\n"), std::string::npos) << written;
  EXPECT_NE(written.find("Dysk pe\xb3ny"), std::string::npos) << written;
  EXPECT_EXIT(ScreenFatalStop(3, "Koniec pracy"), testing::ExitedWithCode(3), "Koniec pracy");
}

TEST(PlatScreenHook, FatalStopNeverReturns) {
  {
    RecordingScreenHook recording;
    ScreenNoticeOn("Uwaga", "Oczekiwanie na dost\xea" "p do danych.");
    EXPECT_TRUE(recording.noticeVisible);
    ScreenNoticeOff();
    EXPECT_FALSE(recording.noticeVisible);
    try {
      ScreenFatalStop(1, "B\xb3\xb9" "d krytyczny");
      FAIL() << "returned";
    } catch (const FatalStopCaught& stop) {
      EXPECT_EQ(stop.exitCode, 1);
    }
  }
  EXPECT_EQ(ScreenHookGet(), ScreenHookDefault());
  static ScreenHook returning = *ScreenHookDefault();
  returning.fatalStop = [](int, const char*) {};
  EXPECT_EXIT(
      {
        ScreenHookSet(&returning);
        ScreenFatalStop(4, "x");
      },
      testing::ExitedWithCode(4), "");
}

}  // namespace
