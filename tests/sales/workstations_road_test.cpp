// Two workstations on one firm: two real programs, headless, side by side.
// B has the sales register open while A saves; B's scripts wait for A's end
// by a file, and after one key B shows what A saved.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/sales/sales_road.h"

namespace {

class WorkstationsRoadTest : public SalesRoadTest {
 protected:
  // Starts the program in the background with a screen dump of its own.
  pid_t Start(const std::string& name, const std::string& keys) {
    std::string command = "cd '" + firm + "' && ZELSAL_HOME='" + home + "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" +
                          keys + "' ZELKIT_DUMP='" + dir + name + ".txt' '" ZELSAL_BINARY "' >'" + dir + name +
                          ".out' 2>&1";
    pid_t pid = fork();
    if (pid == 0) {
      execl("/bin/sh", "sh", "-c", command.c_str(), (char*)nullptr);
      _exit(127);
    }
    return pid;
  }
  Outcome Finish(const std::string& name, pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir + name + ".txt")};
  }
  std::string Sign(const char* name) { return dir + name; }
  void Touch(const char* name) { WriteFile(Sign(name), ""); }

  // B opens the register with `before` and signals; A waits for the sign,
  // runs `work` and ends; then B, told by a file, presses `after`.
  Outcome BSeesAfterA(const std::string& before, const std::string& work, const std::string& after) {
    std::remove(Sign("b_ready").c_str());
    std::remove(Sign("a_done").c_str());
    pid_t b = Start("b", std::string(LOGO) + before + "{TOUCH " + Sign("b_ready") + "}{AWAIT " + Sign("a_done") +
                             "}" + after);
    pid_t a = Start("a", std::string(LOGO) + "{AWAIT " + Sign("b_ready") + "}" + work + "z");
    Outcome done = Finish("a", a);
    EXPECT_EQ(done.exit, 0) << ReadFile(dir + "a.out") << done.screen;
    Touch("a_done");
    return Finish("b", b);
  }
};

// A saves FV/2 while B lists the register at FV/1: one key later B lists
// FV/2 with its buyer and totals.
TEST_F(WorkstationsRoadTest, TheOtherWorkstationsNewInvoiceIsListedAfterOneKey) {
  MakeFirm();
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "{ESC}{ESC}{ESC}");
  std::string screen =
      BSeesAfterA(INTO_SALES, INTO_SALES + InvoiceKeys("100325", "Drugi Nabywca") + "{ESC}{ESC}{ESC}{ESC}", "{DOWN}").screen;
  for (const char* text : {"  FV/    1 ", "  FV/    2 ", "Drugi Nabywca", "63.90"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
}

// A pays FV/1 in full (Ctrl+P) while B lists the register at it: B's
// " Modyfikuj " " Opis " of FV/1 shows it paid.
TEST_F(WorkstationsRoadTest, ModifyShowsWhatTheOtherWorkstationChanged) {
  MakeFirm();
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + InvoiceKeys("100325", "Drugi Nabywca").substr(1) + "{ESC}{ESC}{ESC}");
  std::string screen = BSeesAfterA(INTO_SALES, std::string(INTO_SALES) + "{CTRL+P}{F2}{ESC}{ESC}", "mo").screen;
  for (const char* text : {"FV/    1", "Odbiorca Testowy", "czy zapłacono? T", "63.90   ╣"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
}

// A adds goods T2 while B lists the catalogue: after one key B lists them
// between T1 and T3.
TEST_F(WorkstationsRoadTest, TheCatalogueListsTheOtherWorkstationsNewGoods) {
  MakeFirm();
  const std::string goods = "s{ENTER}mt";
  RunToEnd(std::string(LOGO) + goods + "{INS}T1{F2}t{INS}T3{F2}t{ESC}{ESC}{ESC}");
  std::string screen = BSeesAfterA(goods, goods + std::string("{INS}T2{F2}t{ESC}{ESC}{ESC}"), "{HOME}").screen;
  EXPECT_NE(screen.find("│T1 "), std::string::npos) << screen;
  EXPECT_LT(screen.find("│T2 "), screen.find("│T3 ")) << screen;
}

}  // namespace
