#include "env/error_log.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <regex>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "platform/files.h"
#include "tests/env/environment_fixture.h"

namespace {

class ErrorLogTest : public EnvironmentTest {
 protected:
  void Open(std::vector<std::string> args = {"Zelsal"}) {
    arguments = std::move(args);
    argvStore.clear();
    for (std::string& a : arguments) argvStore.push_back(a.data());
    argvStore.push_back(nullptr);
    ASSERT_EQ(OpenErrLog(static_cast<int>(arguments.size()), argvStore.data()), 0);
  }
  std::string CloseAndRead(const std::string& name = "ER.Log") {
    CloseErrLog();
    return ReadFile(LogPath(name));
  }
  std::string Cwd() const { return dir.substr(0, dir.size() - 1); }
};

TEST_F(ErrorLogTest, HeadersContinuationsAndCodePage1250) {
  Open();
  ErrLogMessage(0x42, 1, " %s ver. %s kom. %s <%i>", "Zelsal", "5.0", "abc", 7);
  ErrLogMessage(EL_TEXT, 1, " dalej");    // same code, same second: continues the line
  ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE | EL_BLANK_AFTER_HEADER, 7, Utf8ToMazText("zażółć").c_str());
  ErrLogMessage(EL_TEXT, 99, "x");
  PlatClockAdvanceMs(1000);
  ErrLogMessage(EL_TEXT, 99, "y");        // one second later: still the same entry
  PlatClockAdvanceMs(2000);
  ErrLogMessage(EL_TEXT, 99, "z");        // two seconds after the previous entry: a new header
  ErrLogMessage(EL_NO_TEXT | EL_NEW_HEADER, 99, "ignored");
  EXPECT_EQ(CloseAndRead(),
            "\r\n\r\n#10:00:00 Start: Zelsal ver. 5.0 kom. abc <7> dalej"
            "\r\n#10:00:00 UWAGA:  za\xBF\xF3\xB3\xE6"
            "\r\n#10:00:00 LGM(99):xy"
            "\r\n#10:00:03 LGM(99):z"
            "\r\n\r\n#10:00:03 LGM(99):");
}

TEST_F(ErrorLogTest, RepeatsAreCountedAndTheCountEndsTheLine) {
  Open();
  for (int i = 0; i < 5; i++) ErrLogMessage(EL_TEXT | EL_COUNT, 19, "x");
  ErrLogMessage(EL_TEXT, 7, "y");
  EXPECT_EQ(CloseAndRead(), "\r\n#10:00:00 Unlock:x, EL_CNT(5)\r\n#10:00:00 UWAGA:y");
}

TEST_F(ErrorLogTest, EntryOfTheSameCodeDuringACountedRunIsNotLost) {
  Open();
  for (int i = 0; i < 3; i++) ErrLogMessage(EL_TEXT | EL_COUNT, 19, "a");
  ErrLogMessage(EL_TEXT, 19, "b");
  EXPECT_EQ(CloseAndRead(), "\r\n#10:00:00 Unlock:a, EL_CNT(3)\r\n#10:00:00 Unlock:b");
}

TEST_F(ErrorLogTest, CountOfARunStillOpenAtCloseIsWritten) {
  Open();
  ErrLogMessage(EL_TEXT | EL_COUNT, 19, "a");
  ErrLogMessage(EL_TEXT | EL_COUNT, 19, "a");
  EXPECT_EQ(CloseAndRead(), "\r\n#10:00:00 Unlock:a, EL_CNT(2)");
}

TEST_F(ErrorLogTest, ErrorEntryIsNumberedAndShownWithTheFooter) {
  Open();
  ErrLogMessage(EL_ERROR | EL_TEXT, 7, "Brak");
  ASSERT_EQ(Critical().size(), 1u);
  EXPECT_EQ(Critical()[0], "ERRCODE(7):Brak\n(zapisano w pliku ER.Log)");
  EXPECT_EQ(CloseAndRead(), "\r\n\r\n#10:00:00 ERRCODE(7):Brak");
}

TEST_F(ErrorLogTest, ErrorBeforeTheLogIsOpenIsShownWithoutClaimingItWasSaved) {
  ErrLogMessage(EL_ERROR | EL_TEXT, 22, "x");
  ASSERT_EQ(Critical().size(), 1u);
  EXPECT_EQ(Critical()[0], "ERRCODE(22):x\n");
}

TEST_F(ErrorLogTest, FatalEntryEndsTheProgramWithExitCodeOne) {
  Open();
  try {
    ErrLogMessage(EL_ERROR | EL_FATAL | EL_TEXT, 920, "koniec");
    FAIL() << "the fatal stop returned";
  } catch (const FatalStopCaught& stop) {
    EXPECT_EQ(stop.exitCode, 1);
  }
  EXPECT_EQ(CloseAndRead(), "\r\n\r\n#10:00:00 ERRCODE(920):koniec");
}

TEST_F(ErrorLogTest, ErrnoAndCurrentDirectoryAppendices) {
  Open();
  errno = ENOENT;
  ErrLogMessage(EL_TEXT | EL_ERRNO | EL_CWD, 14, "k");
  EXPECT_EQ(CloseAndRead(), "\r\n#10:00:00 Katalog:k\r\nerrno(2): " + std::string(std::strerror(ENOENT)) +
                                ", _doserrno(2)\r\nCWDIR: " + Cwd());
}

TEST_F(ErrorLogTest, LongEntryIsCutAtItsBufferAndDropsAppendicesThatDoNotFit) {
  Open();
  std::string text(600, 'a');
  ErrLogMessage(EL_TEXT | EL_CWD | EL_SYSTEM_ERROR, 14, text.c_str());
  std::string log = CloseAndRead();
  EXPECT_EQ(log.size(), static_cast<size_t>(ERR_LOG_ENTRY_MAX - 1));
  EXPECT_EQ(log.find("CWDIR"), std::string::npos);
  EXPECT_EQ(log.find("WINSYS"), std::string::npos);
}

TEST_F(ErrorLogTest, FileModeWritesTheFilesSizeDateAndContents) {
  Open();
  WriteFile(Path("dane.txt"), std::string("abc\r\n\x01", 6));
  ErrLogMessage(EL_FILE, 25, "dane.txt");
  ErrLogMessage(EL_FILE | EL_NEW_HEADER, 25, "brak.txt");
  std::string log = CloseAndRead();
  std::regex expected(
      "\r\n#10:00:00 Plik:dane\\.txt, rozmiar\\(6\\), modyfikacja\\(\\d{4}-\\d\\d-\\d\\d, \\d\\d:\\d\\d:\\d\\d\\)\r\n"
      "abc\r\n\x01"
      "\r\n\r\n#10:00:00 Plik:brak\\.txt, " +
      std::string(std::strerror(ENOENT)) + " \\(2\\), " + Cwd());
  EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

struct NameCase {
  std::vector<std::string> args;
  const char* first;
  const char* whenHeld;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.first; }

class ErrorLogNameTest : public ErrorLogTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ErrorLogNameTest, NameFromOptionsAndTheNextNameWhenAnotherCopyHoldsIt) {
  const NameCase& c = GetParam();
  Open(c.args);
  EXPECT_STREQ(ErrLogFileName(), c.first);
  CloseErrLog();

  // Another running copy: a separate open file description holding the lock.
  PlatFile other = PLAT_NO_FILE;
  ASSERT_EQ(PlatFileOpen(LogPath(c.first).c_str(), PLAT_READ_WRITE, PLAT_OPEN_EXISTING, &other), PLAT_OK);
  ASSERT_EQ(PlatFileLock(other, ERR_LOG_LOCK_OFFSET, ERR_LOG_LOCK_LENGTH, true), PLAT_OK);
  Open(c.args);
  EXPECT_STREQ(ErrLogFileName(), c.whenHeld);
  ErrLogMessage(EL_TEXT, 1, "drugi");
  EXPECT_EQ(CloseAndRead(c.whenHeld), "\r\n#10:00:00 Start:drugi");
  PlatFileClose(other);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ErrorLogNameTest,
    ::testing::Values(NameCase{{"Zelsal"}, "ER.Log", "ER$1.Log"},
                      NameCase{{"Zelsal", "-#A", "-$X"}, "ER#A$X.Log", "ER#A$1.Log"},
                      NameCase{{"Zelsal", "-#ABC"}, "ER#AB.Log", "ER#AB$1.Log"},
                      NameCase{{"Zelsal", "-#", "-$"}, "ER.Log", "ER$1.Log"}));

// A name that turns out taken when the log is created (another copy made it
// since the look) moves on to the next number. A dangling link is such a name:
// it does not exist for the look, and creation finds it there.
TEST_F(ErrorLogTest, NameTakenAtCreationMovesOnToTheNextNumber) {
  ASSERT_EQ(symlink(Path("nowhere/ER.Log").c_str(), LogPath().c_str()), 0);
  Open();
  EXPECT_STREQ(ErrLogFileName(), "ER$1.Log");
  EXPECT_TRUE(screen->shown.empty()) << screen->shown[0].text;
  ErrLogMessage(EL_TEXT, 1, "x");
  EXPECT_EQ(CloseAndRead("ER$1.Log"), "\r\n#10:00:00 Start:x");
}

// Copies started together each get a log of their own.
TEST_F(ErrorLogTest, CopiesStartedTogetherEachGetALog) {
  constexpr int kCopies = 8;
  for (int round = 0; round < 10; round++) {
    SCOPED_TRACE(round);
    for (int n = 0; n < kCopies; n++) std::remove(LogPath(n ? "ER$" + std::to_string(n) + ".Log" : "ER.Log").c_str());
    int go[2], results[2], release[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(results), 0);
    ASSERT_EQ(pipe(release), 0);
    std::vector<pid_t> children;
    for (int n = 0; n < kCopies; n++) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        char byte;
        close(go[1]);
        close(release[1]);
        if (read(go[0], &byte, 1) < 0) _exit(2);   // all start at once
        char* argv[] = {const_cast<char*>("Zelsal"), nullptr};
        OpenErrLog(1, argv);
        char line[40] = {};
        std::snprintf(line, sizeof line, "%-39s", ErrLogIsOpen() ? ErrLogFileName() : "-");
        if (write(results[1], line, 39) != 39) _exit(2);
        if (read(release[0], &byte, 1) < 0) _exit(2);   // hold the log until every copy has one
        _exit(0);
      }
      children.push_back(pid);
    }
    close(go[0]);
    close(results[1]);
    close(release[0]);
    close(go[1]);   // end of file wakes every copy
    std::set<std::string> names;
    char line[40] = {};
    for (int n = 0; n < kCopies; n++) {
      ASSERT_EQ(read(results[0], line, 39), 39);
      std::string name(line, 39);
      name.erase(name.find_last_not_of(' ') + 1);
      EXPECT_NE(name, "-");
      names.insert(name);
    }
    close(release[1]);
    close(results[0]);
    for (pid_t pid : children) {
      int status = 0;
      waitpid(pid, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kCopies));
  }
}

TEST_F(ErrorLogTest, LogThatCannotBeCreatedIsReportedOnceAndEntriesStillWork) {
  WriteFile(Path("plik"), "");
  setenv("ZELSAL_HOME", Path("plik").c_str(), 1);     // the program directory is a file
  Open();
  EXPECT_FALSE(ErrLogIsOpen());
  ASSERT_EQ(screen->shown.size(), 1u);
  EXPECT_EQ(screen->shown[0].title, "Zelmor WIN");
  EXPECT_EQ(screen->shown[0].text.rfind("ERRCODE(73): ER.Log, clone(1)\nerrno(", 0), 0u) << screen->shown[0].text;
  ErrLogMessage(EL_ERROR | EL_TEXT, 7, "x");
  EXPECT_EQ(Critical().size(), 1u);
}

TEST_F(ErrorLogTest, ExistingLogIsAppendedTo) {
  WriteFile(LogPath(), "stare");
  Open();
  ErrLogMessage(EL_TEXT, 24, "x");
  EXPECT_EQ(CloseAndRead(), "stare\r\n#10:00:00 Koniec:x");
}

}  // namespace
