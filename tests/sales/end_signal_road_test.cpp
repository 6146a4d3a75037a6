// The program asked to end by a signal while the operator enters an invoice:
// it ends from its own loop as " Zakończ " does, the appended header of the
// document being entered goes as Esc would take it, and "Koniec" is logged.
// A session's logout sends SIGTERM and SIGHUP together: the second does not
// cut the clean end short. A program killed outright in the middle of a
// document leaves its header; the next program to open the register removes
// it, unless its workstation still runs.
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


// FV/1 with its first line stored, the program holding in its second line.
std::string InTheLinesOfFv1() {
  return std::string(LOGO) + INTO_SALES + "d{ENTER}{ENTER}{F2}100325{ENTER}100325{ENTER}" +
         "{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca Testowy{F4}" + LineKeys("Towar A", "3", "10", "{ENTER}") + "{ENTER}Towar B{HOLD}";
}

// The box of the repair, line by line.
const char* const REPAIRED[] = {"Dokument FV/1 nie został zapisany:",
                                "praca stanowiska, na którym go wprowadzano, została przerwana.",
                                "Jego nagłówek i pozycje zostały usunięte."};

TEST_F(EndSignalRoadTest, KilledInTheLinesOfFv1TheNextStartRemovesItAndIssuesFv1) {
  MakeFirmWithSales();
  pid_t child = StartHolding(InTheLinesOfFv1());
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  ASSERT_FALSE(d4deleted(Z5SPRZ.table));   // the killed entry's header, with its line
  ASSERT_EQ(d4reccount(Z5SPRE.table), 1);
  d4close_all(&env->engine);

  // The next start's register: the header and its line are gone, the operator told.
  Outcome opened = Run(std::string(LOGO) + INTO_SALES);
  for (const char* line : REPAIRED) EXPECT_NE(opened.screen.find(line), std::string::npos) << line << "\n" << opened.screen;
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5SPRZ.table));
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5SPRE.table));
  d4close_all(&env->engine);
  std::string log = ReadFile(home + "ER.Log");
  EXPECT_NE(log.find("Dokument FV/1 nie zosta"), std::string::npos) << log;
  EXPECT_NE(log.find("praca stanowiska, na kt"), std::string::npos) << log;

  // Once mended, the register opens without the box and the next invoice is FV/1.
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "{ESC}{ESC}{ESC}");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  DbTable* headers = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(headers), 2);
  ASSERT_EQ(d4go(headers, 2), 0);
  EXPECT_FALSE(d4deleted(headers));
  EXPECT_EQ(FieldText(headers, "NRV"), "    1");
  EXPECT_EQ(FieldText(headers, "TYV"), " 1");
  d4close_all(&env->engine);
}

// A workstation still in its entry keeps it: another one opening the register
// removes nothing, and the entry ends as its own program ends it.
TEST_F(EndSignalRoadTest, AnEntryOfAWorkstationStillRunningIsLeftAlone) {
  MakeFirmWithSales();
  pid_t child = StartHolding(InTheLinesOfFv1());
  Outcome opened = Run(std::string(LOGO) + INTO_SALES);
  EXPECT_EQ(opened.screen.find(REPAIRED[0]), std::string::npos) << opened.screen;
  OpenFirmHeaders();
  if (HasFatalFailure()) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return;
  }
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_FALSE(d4deleted(Z5SPRZ.table));
  d4close_all(&env->engine);
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
