// The archive on the real program, headless, on a fresh installation: the
// archive directory "A:" out of the box, its folder named while it is
// missing, and the archive written there once the operator has made it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/app/program_road.h"

namespace {

class ArchiveRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    const char* drive = std::getenv("ZELSAL_DRIVE_A");
    if (drive) savedDrive = drive;
    hadDrive = drive != nullptr;
    unsetenv("ZELSAL_DRIVE_A");
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  }
  void TearDown() override {
    if (hadDrive) setenv("ZELSAL_DRIVE_A", savedDrive.c_str(), 1);
    ProgramRoadTest::TearDown();
  }
  bool hadDrive = false;
  std::string savedDrive;
};

TEST_F(ArchiveRoadTest, UnmappedDriveNamesItsFolderUntilItIsMade) {
  // START > " Administrator " > " Archiwum " > " Zapis ".
  Outcome refused = Run(std::string(LOGO) + "s{ENTER}aaz");
  EXPECT_TRUE(Has(refused, "Napęd A: nie jest przypisany do katalogu.")) << refused.screen;
  EXPECT_TRUE(Has(refused, "Utwórz katalog")) << refused.screen;
  EXPECT_TRUE(Has(refused, home + "drive_a")) << refused.screen;
  EXPECT_TRUE(Has(refused, "albo ustaw zmienną ZELSAL_DRIVE_A.")) << refused.screen;
  EXPECT_FALSE(Has(refused, "archiwum firmowe")) << refused.screen;
  RunToEnd(std::string(LOGO) + "s{ENTER}aaz{ENTER}{ESC}{ESC}{ESC}");
  EXPECT_FALSE(Exists(home + "drive_a"));

  // The folder made: the form opens and F2 writes the firm's archive into it.
  MakeDir("program/drive_a");
  Outcome form = Run(std::string(LOGO) + "s{ENTER}aaz");
  EXPECT_TRUE(Has(form, "archiwum firmowe")) << form.screen;
  EXPECT_FALSE(Has(form, "nie jest przypisany")) << form.screen;
  Outcome written = Run(std::string(LOGO) + "s{ENTER}aaz{F2}t");
  EXPECT_TRUE(Has(written, "Zapis danych zakończony pomyślnie.")) << written.screen;
  EXPECT_TRUE(Exists(home + "drive_a/ARC525.A01"));
}

}  // namespace
