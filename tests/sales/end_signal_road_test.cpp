// The program asked to end by a signal while the operator enters an invoice:
// it ends from its own loop as " Zakończ " does, the appended header of the
// document being entered goes as Esc would take it, and "Koniec" is logged.
// A session's logout sends SIGTERM and SIGHUP together: the second does not
// cut the clean end short.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

const char* const HOLDING = "headless display: holding for a signal";

// The keys of FV/1 as the invoice road enters them, then the next form (FV/2)
// with its header appended, where the display holds for the signal.
std::string EntryKeys() {
  const std::string line = "{ENTER}Towar A{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}3{ENTER}10"
                           "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F2}t";
  return std::string(LOGO) + INTO_SALES + "d{ENTER}{ENTER}{F2}100325{ENTER}100325{ENTER}" +
         "{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca Testowy{F4}" + line + "{ESC}{ESC}{ESC}{F2}t{ENTER}{F2}{HOLD}";
}

class EndSignalRoadTest : public SalesRoadTest {
 protected:
  // Starts the program on `keys`; the child's pid.
  pid_t Start(const std::string& keys, const std::string& dump) {
    std::remove(dump.c_str());
    std::string command = "cd '" + firm + "' && exec env ZELSAL_HOME='" + home + "' ZELKIT_DATE='" + date +
                          "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" + keys + "' ZELKIT_DUMP='" + dump + "' '"
                          ZELSAL_BINARY "' >'" + dir + "out.txt' 2>&1";
    pid_t child = fork();
    if (child == 0) {
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return child;
  }
  // Starts the program on `keys` and waits (a bounded time) for it to hold
  // at their end; the child's pid.
  pid_t StartHolding(const std::string& keys) {
    pid_t child = Start(keys, dir + "screen.txt");
    for (int i = 0; i < 1200 && ReadFile(dir + "out.txt").find(HOLDING) == std::string::npos; i++)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(ReadFile(dir + "out.txt").find(HOLDING), std::string::npos);
    return child;
  }
  // Holds at the end of `EntryKeys`, then signals the program; the exit status.
  int SignalWhileHolding(int sig, int then = 0) {
    pid_t child = StartHolding(EntryKeys());
    kill(child, sig);
    if (then) kill(child, then);
    int status = 0;
    waitpid(child, &status, 0);
    return status;
  }
};

TEST_F(EndSignalRoadTest, EachEndSignalEndsAsZakonczAndTakesTheUnsavedHeaderBack) {
  // The signal, and the one sent right after it (0: none).
  const int cases[][2] = {{SIGTERM, 0}, {SIGHUP, 0}, {SIGINT, 0}, {SIGTERM, SIGHUP}};
  for (const auto& signals : cases) {
    SCOPED_TRACE(signals[0]);
    SCOPED_TRACE(signals[1]);
    TearDown();
    SetUp();
    MakeFirmWithSales();
    int status = SignalWhileHolding(signals[0], signals[1]);
    ASSERT_TRUE(WIFEXITED(status)) << ReadFile(dir + "out.txt");
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFile(dir + "out.txt");
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    DbTable* headers = Z5SPRZ.table;
    ASSERT_EQ(d4reccount(headers), 2);
    ASSERT_EQ(d4go(headers, 1), 0);
    EXPECT_FALSE(d4deleted(headers));
    ASSERT_EQ(d4go(headers, 2), 0);
    EXPECT_TRUE(d4deleted(headers)) << "FV/2 left live";
    d4close_all(&env->engine);
    std::string log = ReadFile(home + "ER.Log");
    EXPECT_NE(log.find("Koniec"), std::string::npos) << log;
  }
}

}  // namespace
