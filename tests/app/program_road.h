// Runs the real program headless in a fresh program directory, started in
// the firm directory of the tables fixture, and keeps the screen where it
// last waited for a key. The test program defines ZELSAL_BINARY.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

#include "env/paths.h"
#include "print/printer.h"
#include "tests/support/no_print_queue.h"
#include "tests/tables/tables_fixture.h"

// A key passes the start-up logo.
constexpr const char* LOGO = "x";

class ProgramRoadTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("program");
    home = dir + "program/";
  }
  struct Outcome {
    int exit;
    std::string screen;
  };
  Outcome Run(const std::string& keys, const std::string& arguments = "") {
    std::string dump = dir + "screen.txt";
    std::remove(dump.c_str());
    std::string command = "cd '" + firm + "' && " + environment + " ZELSAL_HOME='" + home + "' ZELKIT_DATE='" + date + "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" +
                          keys + "' ZELKIT_DUMP='" + dump + "' '" ZELSAL_BINARY "' " + arguments + " >'" + dir +
                          "out.txt' 2>&1";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dump)};
  }
  // A run the operator ends with " Zakończ ".
  void RunToEnd(const std::string& keys, const std::string& arguments = "") {
    Outcome o = Run(keys + "z", arguments);
    EXPECT_EQ(o.exit, 0) << keys << "\n" << ReadFile(dir + "out.txt");
  }
  static bool Has(const Outcome& o, const std::string& text) { return o.screen.find(text) != std::string::npos; }
  // Character printing on an EPSON for each report (the table its settings
  // live in and its code), kept in the program directory's print settings,
  // where the program looks for them.
  void SaveCharacterPrinting(std::initializer_list<std::pair<DbTable*, const char*>> reports) {
    SavePrinting(reports, 1, PRN_EPSON9);
  }
  // The same with the mode (1 character, 0 graphic) and the printer family.
  void SavePrinting(std::initializer_list<std::pair<DbTable*, const char*>> reports, int mode, int family) {
    PathRecord program{};
    TransDir(EnvFromDiskPath(home).c_str(), &program);
    ASSERT_EQ(ChangeDir(&program, 0, 0), 0);
    char separate = env->separatePrintSettings;
    env->separatePrintSettings = 'T';
    Printer = PrinterDefaults();
    Printer.mode = mode;
    Printer.family = family;
    Printer.codePage = 1;
    for (const auto& [table, code] : reports) SavePrintSettings(table, code);
    Printer = PrinterDefaults();
    env->separatePrintSettings = separate;
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  }

  std::string home;
  // More variables for the program's environment ("NAME='value' ...").
  std::string environment;
  // The computer's date the program runs on (CCYYMMDD): a day of working
  // year 2025, the year the scripts type their dates in.
  std::string date = "20250310";
};
