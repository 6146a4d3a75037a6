// The print settings dialog driven by keys on the headless screen.
#include <cstdlib>
#include "db/db_engine.h"
#include "interchange/printer_hash.h"
#include "print/settings_dialog.h"
#include "tests/print/print_fixture.h"

namespace {

class DialogTest : public PrintUiTest {
 protected:
  // Runs the dialog with the keys; its answer.
  int Run(const char* keys, int flags, std::string* screenText = nullptr) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    HeadlessOnExhausted([] { throw ScriptEnded(); });
    dumpPath = Path("dump.txt");
    setenv("ZELKIT_DUMP", dumpPath.c_str(), 1);
    int result = PrinterSettingsDialog(nullptr, "SUM", "Faktura", 80, flags);
    unsetenv("ZELKIT_DUMP");
    if (screenText) *screenText = ReadFile(dumpPath);
    return result;
  }
  std::string dumpPath;
};

TEST_F(DialogTest, CancelStillSavesTheSettingsWithTheListedPrinter) {
  Printer.printerHash = 12345;   // a printer no longer installed
  SavePrintSettings(nullptr, "SUM");
  ResetPrinterState();
  std::string shown;
  EXPECT_EQ(Run("{ESC}", 0, &shown), 0);
  EXPECT_EQ(Printer.printerHash, PrinterNameHash(kPrintToFileEntry));
  ResetPrinterState();
  LoadPrintSettings(nullptr, "SUM");
  EXPECT_EQ(Printer.printerHash, PrinterNameHash(kPrintToFileEntry));
}

TEST_F(DialogTest, PageRangeRowsKeepToPageAtLeastFromPage) {
  // From the F2 item: up to "Górny margines", "Lewy margines", "Do strony".
  EXPECT_EQ(Run("{UP}{UP}{UP}{ENTER}5{ENTER}{UP}{ENTER}8{ENTER}{ESC}", 0x1000), 0);
  EXPECT_EQ(Printer.fromPage, 8);
  EXPECT_EQ(Printer.toPage, 8);
  ResetPrinterState();
  LoadPrintSettings(nullptr, "SUM");
  EXPECT_EQ(Printer.fromPage, 8);
  EXPECT_EQ(Printer.toPage, 8);
}

TEST_F(DialogTest, RowsFollowModeAndFamily) {
  struct Case {
    int mode, family, flags;
    const char* row;
    bool shown;
  } cases[] = {
      {1, PRN_HP_DESKJET, 0, "Nr fontu", true},
      {1, PRN_HP_LASER, 0, "Nr fontu", false},
      {0, PRN_HP_DESKJET, 0, "Nr fontu", false},
      {1, PRN_HP_LASER, 0, "Polskie znaki", false},
      {1, PRN_EPSON9, 0, "Polskie znaki", true},
      {0, PRN_HP_LASER, 0, "Orientacja", true},
      {0, PRN_HP_LASER, 0x20000, "Orientacja", false},
      {0, PRN_HP_LASER, 0x800, "Czcionka", false},
      {0, PRN_HP_LASER, 0x8, "Liczba pozycji", true},
      {1, PRN_HP_LASER, 0x2000, "Nag\xC5\x82\xC3\xB3wki", true},
      {0, PRN_HP_LASER, 0x2000, "Nag\xC5\x82\xC3\xB3wki", false},
      {0, PRN_HP_LASER, 0x400, "Liczba kopii", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " family " << c.family << " row " << c.row);
    ResetPrinterState();
    Printer.mode = c.mode;
    Printer.family = c.family;
    Printer.fontNo = 9;
    SavePrintSettings(nullptr, "SUM");
    std::string shown;
    EXPECT_EQ(Run("{ESC}", c.flags, &shown), 0);
    EXPECT_NE(shown.find("PARAMETRY WYDRUKU"), std::string::npos);
    EXPECT_EQ(shown.find(c.row) != std::string::npos, c.shown);
  }
}

TEST_F(DialogTest, F2OpensTheFileEntryForPrinting) {
  std::string shown;
  EXPECT_EQ(Run("{F2}", 0, &shown), 1);
  EXPECT_NE(shown.find(kPrintToFileEntry), std::string::npos);
  EXPECT_EQ(Printer.output, 1);            // no queue: the output goes to a file
  EXPECT_TRUE(PrintJobState.deviceContext);
  EXPECT_EQ(Printer.logPixelsX, 300);      // A4 at 300 dpi without a printer
  EXPECT_EQ(Printer.physWidth, 2480);
  EXPECT_EQ(Printer.family, PRN_HP_LASER);
  PrintJobState = PrintJob{};
}

TEST_F(DialogTest, WithoutQueuesACharacterJobGoesToTheNamedFile) {
  Printer.mode = 1;   // "- Znakowy  "
  Printer.family = PRN_EPSON9;
  SavePrintSettings(nullptr, "SUM");
  ResetPrinterState();
  ASSERT_EQ(HeadlessSetScript("{F2}{ENTER}"), 0);
  ASSERT_EQ(init_prn(nullptr, "SUM", "Faktura", 80, 0), 0);
  EXPECT_STREQ(Printer.outputFile, "win.prn");
  EXPECT_EQ(drukuj("abc"), 0);
  EXPECT_EQ(deinit_prn(), 0);
  EXPECT_EQ(ReadFile(Path("win.prn")), "\x0F" "abc" "\x12\x1BH");
}

TEST_F(DialogTest, CancelledDialogFailsTheJob) {
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(init_prn(nullptr, "SUM", nullptr, 80, 0), -1);
  EXPECT_EQ(deinit_prn(), 0);
}

}  // namespace
