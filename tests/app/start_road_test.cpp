// The operator's road through the frame on the real program, headless, in a
// fresh program directory: the firm added and entered, a module and back,
// an option kept across runs, the maintenance pass, a notes page, the end;
// the remote start, the restart after a resize, a START that fails, and the
// tax offices a fresh installation offers.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "env/code_pages.h"
#include "tables/firm_tables.h"
#include "tests/app/program_road.h"

namespace {

namespace fs = std::filesystem;

class StartRoadTest : public ProgramRoadTest {
 protected:
  // Files of the directory whose names start with `prefix`.
  static int Count(const std::string& directory, const std::string& prefix) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(directory))
      if (entry.path().filename().string().rfind(prefix, 0) == 0) n++;
    return n;
  }
  // The own firm's name in the firm directory's own-firm table.
  void NameOwnFirm(const char* name) {
    ASSERT_EQ(OpenZ5PAWL(), 0);
    ASSERT_EQ(go_and_lock(Z5PAWL.table, 1), 0);
    f4assign(Z5PAWL.field[0], name);
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
  }
  // Main options: the computer's date off, so the start asks the working date.
  void AskDateAtStart() {
    RunToEnd(std::string(LOGO) + "o{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{ENTER}" +
             "{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}N{ENTER}{F2}t15032024{ENTER}");
  }
};

TEST_F(StartRoadTest, FirmModuleOptionsServiceNotesAndEnd) {
  // A firm with a directory relative to the program directory.
  RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  EXPECT_TRUE(Exists(home + "Z5KATA.DBF"));
  EXPECT_TRUE(Exists(home + "Z5PABV.DBF"));

  // START into it, the sales register and back to START's bar.
  Outcome sales = Run(std::string(LOGO) + "s{ENTER}s");
  EXPECT_TRUE(Has(sales, "Dokumenty sprzedaży 2025")) << sales.screen;
  Outcome back = Run(std::string(LOGO) + "s{ENTER}s{ESC}");
  EXPECT_TRUE(Has(back, " Sprzedaż  Sprzedaż pom.  Magazyn  Detal  Kartoteki  Administrator")) << back.screen;
  RunToEnd(std::string(LOGO) + "s{ENTER}s{ESC}{ESC}");
  EXPECT_TRUE(fs::is_directory(home + "firma1"));
  EXPECT_EQ(Count(home + "firma1", "Z5SPRZ"), 3) << "table, index and change mark";
  EXPECT_TRUE(Exists(home + "firma1/Z5PAWL.DBF"));
  EXPECT_EQ(Count(firm, "Z5SPRZ"), 0) << "nothing of the firm in the start directory";

  // A switch of the main options, kept for the next run.
  RunToEnd(std::string(LOGO) + "o{DOWN}T{F2}t");
  Outcome options = Run(std::string(LOGO) + "o");
  EXPECT_TRUE(Has(options, "Osobne ustawienia wydruków dla firm ? .... TAK")) << options.screen;

  Outcome service = Run(std::string(LOGO) + "s{ENTER}ast");
  EXPECT_TRUE(Has(service, "Serwis zakończony poprawnie.")) << service.screen;

  // The general notes page, kept when left.
  RunToEnd(std::string(LOGO) + "{SHIFT+F2}NOTATKA OGOLNA{ESC}t");
  Outcome notes = Run(std::string(LOGO) + "{SHIFT+F2}");
  EXPECT_TRUE(Has(notes, "NOTATKA OGOLNA")) << notes.screen;

  std::string log = ReadFile(home + "ER.Log");
  EXPECT_NE(log.find("Start: KORBEL ver. 2025.00.00 kom. 0 <0>"), std::string::npos) << log;
  EXPECT_NE(log.find("Koniec"), std::string::npos) << log;
  EXPECT_NE(log.find("firma1"), std::string::npos) << "the firm's directory entered:\n" << log;
}

// The error log names the firm's directory as boxes do: its Linux path.
TEST_F(StartRoadTest, ErrorLogShowsTheFirmDirectoryAsItsLinuxPath) {
  RunToEnd(std::string(LOGO) + "kdPIEKARNIA{ENTER}piekarnia{ENTER}{ENTER}{F2}t{ESC}");
  RunToEnd(std::string(LOGO) + "s{ENTER}{ESC}");
  EXPECT_TRUE(fs::is_directory(home + "piekarnia"));
  const std::string log = ReadFile(home + "ER.Log");
  EXPECT_NE(log.find(home + "piekarnia"), std::string::npos) << log;
  EXPECT_EQ(log.find("\\piekarnia"), std::string::npos) << log;
  EXPECT_EQ(log.find('\\'), std::string::npos) << log;
}

TEST_F(StartRoadTest, ResizeAtTheMainBarRestartsWithoutLogoOrDateAndKeepsTheFirm) {
  NameOwnFirm("FIRMA TESTOWA");
  AskDateAtStart();
  Outcome asked = Run(LOGO);
  EXPECT_TRUE(Has(asked, "Podaj datę")) << asked.screen;
  // A second logo or date question would take the "s".
  Outcome after = Run(std::string(LOGO) + "{ENTER}{RESIZE 800x640}s");
  EXPECT_TRUE(Has(after, " Sprzedaż  Sprzedaż pom. ")) << after.screen;
  EXPECT_TRUE(Has(after, "FIRMA TESTOWA")) << after.screen;
  std::string grid = after.screen.substr(0, after.screen.find("\n\n") + 1);
  EXPECT_EQ(std::count(grid.begin(), grid.end(), '\n'), 640 / 16) << "a taller grid:\n" << after.screen;
}

TEST_F(StartRoadTest, RemoteStartOpensStartAtOnceInTheNamedDirectory) {
  MakeDir("zdalna");
  TransDir(EnvFromDiskPath(dir + "zdalna").c_str(), &env->dataPath);
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  NameOwnFirm("FIRMA ZDALNA");
  AskDateAtStart();
  const std::string arguments = "'" + dir + "zdalna' jeden dwa trzy";
  Outcome start = Run(LOGO, arguments);
  EXPECT_TRUE(Has(start, " Sprzedaż  Sprzedaż pom. ")) << start.screen;
  EXPECT_TRUE(Has(start, "FIRMA ZDALNA")) << start.screen;
  RunToEnd(std::string(LOGO) + "{ESC}", arguments);
  // Three arguments are an ordinary start.
  Outcome ordinary = Run(LOGO, "jeden dwa trzy");
  EXPECT_TRUE(Has(ordinary, "Podaj datę")) << ordinary.screen;
}

TEST_F(StartRoadTest, OnlyTheEndItemLeavesTheMainBar) {
  // Esc and "/" come back to the bar: the script runs out while it waits.
  Outcome kept = Run(std::string(LOGO) + "{ESC}/");
  EXPECT_EQ(kept.exit, 3);
  EXPECT_TRUE(Has(kept, " START  Katalogi  Hasła  Opcje główne  Pomoc  Zakończ ")) << kept.screen;
  Outcome help = Run(std::string(LOGO) + "p");
  EXPECT_TRUE(Has(help, "Aby skorzystać z pomocy wskaż menu oraz wciśnij klawisze Alt i H")) << help.screen;
  RunToEnd(std::string(LOGO) + "{ESC}/p ");
}

TEST_F(StartRoadTest, FailingStartShowsWhyAndKeepsTheMainBar) {
  WriteFile(firm + "Z5PAWL.DBF", "not a table");
  Outcome failed = Run(std::string(LOGO) + "s ");
  EXPECT_TRUE(Has(failed, "Błód otwarcia bazy danych firmy!")) << failed.screen;
  RunToEnd(std::string(LOGO) + "s  ");
}

// A program directory that cannot be written (refused, or on a read-only
// file system) is named once with its reason at start, and the program ends
// there, before any table, log or option is tried in it.
TEST_F(StartRoadTest, ProgramDirectoryThatCannotBeWrittenEndsTheStart) {
  const std::pair<const char*, const char*> cases[] = {
      {"EACCES", "Brak uprawnień do zapisu."},
      {"EROFS", "System plików tylko do odczytu."},
  };
  for (const auto& [name, cause] : cases) {
    SCOPED_TRACE(name);
    environment = std::string("ZELSAL_FAIL_WRITES='") + name + ":" + home + "'";
    Outcome o = Run(LOGO);
    EXPECT_EQ(o.exit, 1);
    EXPECT_EQ(ReadFile(dir + "out.txt"), Utf8ToMazText((std::string("BŁĄD: Nie można zapisywać w katalogu programu\n") +
                                                        home + "\n" + cause + "\nProgram kończy pracę.\n").c_str()));
    EXPECT_EQ(Count(home, ""), 0);
    EXPECT_EQ(o.screen, "");
  }
  // Writable again, the same directory starts as usual.
  environment.clear();
  RunToEnd(LOGO);
  EXPECT_EQ(Count(home, "ER"), 1);
}

TEST_F(StartRoadTest, CompanyDataAndWarehouseOptionsKeptInTheFirm) {
  RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  // START > Administrator > Sprzedawca: the name saved (confirmed), back to the main bar
  RunToEnd(std::string(LOGO) + "s{ENTER}apMOJA FIRMA{F2}t{ESC}{ESC}{ESC}");
  // START > Magazyn > Opcje: the warehouse code saved
  RunToEnd(std::string(LOGO) + "s{ENTER}moMAG1{F2}t{ESC}{ESC}{ESC}");
  Outcome firmLine = Run(std::string(LOGO) + "s{ENTER}");
  EXPECT_TRUE(Has(firmLine, "MOJA FIRMA")) << firmLine.screen;
  // the auxiliary sales register's " Opcje " opens the sales options
  Outcome salesOptions = Run(std::string(LOGO) + "s{ENTER}po");
  EXPECT_TRUE(Has(salesOptions, "1. NUMERACJA DOKUMENTÓW")) << salesOptions.screen;

  PathRecord firmDir;
  TransDir(EnvFromDiskPath(home + "firma1").c_str(), &firmDir);
  ASSERT_EQ(ChangeDir(&firmDir, 0, 0), 0);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_EQ(Trim(d4field(Z5PAWL.table, "NA1")), "MOJA FIRMA");
  d4close(Z5PAWL.table);
  ASSERT_EQ(LoadMagazynOptions(), 0);
  EXPECT_EQ(std::string(warehouseOptions.warehouseCode, 5), "MAG1 ");
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
}

// A fresh installation has the tax offices of the official list: the company
// data's office field offers them with F4 in name order, and the pick fills
// the office.
TEST_F(StartRoadTest, FreshInstallationOffersTheSeededTaxOffices) {
  RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  std::string toOffice;
  for (int i = 0; i < 18; i++) toOffice += "{DOWN}";
  Outcome list = Run(std::string(LOGO) + "s{ENTER}ap" + toOffice + "{F4}");
  for (const char* office : {"DOLNOŚLĄSKI URZĄD SKARBOWY WE WROCŁAWIU", "DRUGI URZĄD SKARBOWY KRAKÓW"})
    EXPECT_TRUE(Has(list, office)) << office << "\n" << list.screen;
  RunToEnd(std::string(LOGO) + "s{ENTER}ap" + toOffice + "{F4}{ENTER}{F2}t{ESC}{ESC}{ESC}");
  PathRecord firmDir;
  TransDir(EnvFromDiskPath(home + "firma1").c_str(), &firmDir);
  ASSERT_EQ(ChangeDir(&firmDir, 0, 0), 0);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_EQ(MazToUtf8Text(Trim(d4field(Z5PAWL.table, "UNAV")).c_str()), "DOLNOŚLĄSKI URZĄD SKARBOWY WE WROCŁAWIU");
  EXPECT_EQ(Trim(d4field(Z5PAWL.table, "TLX")).substr(0, 4), "0271");
  d4close(Z5PAWL.table);
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
}

}  // namespace
