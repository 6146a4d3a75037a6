// Start strings of the families and the character output path.
#include <cstring>
#include "env/code_pages.h"
#include "tests/print/print_fixture.h"

namespace {

const std::string kEsc = "\x1B";

class OutputTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    WriteProgramFile("lport.fnt", "<lport>");
    WriteProgramFile("courn.fnt", "<courn>");
    WriteProgramFile("courb.fnt", "<courb>");
  }
  // A character-mode job of the family; the bytes of its start.
  std::string Started(int family, int flags) {
    Printer.family = family;
    Printer.mode = 1;   // "- Znakowy  "
    EXPECT_EQ(StartJob(flags), 0);
    std::fflush(PrintJobState.output);
    return ReadFile(Path("out.prn"));
  }
};

TEST_F(OutputTest, StartStringsByFamily) {
  struct Case {
    int family, flags, economode, bold, codePage, widePaper;
    std::string bytes;
  } cases[] = {
      {PRN_EPSON9, 0, 0, 0, 0, 0, "\x0F"},
      {PRN_EPSON9, 0x4, 0, 0, 0, 0, kEsc + "P"},
      {PRN_IBM9, 0x4, 0, 0, 0, 0, "\x12"},
      {PRN_EPSON24, 0x4, 0, 0, 0, 0, kEsc + "P"},
      {PRN_ESCP_RASTER, 0x4, 0, 0, 0, 0, kEsc + "P"},
      {PRN_PROPRINTER, 0x4, 0, 0, 0, 0, "\x12"},
      {PRN_IBM24, 0, 0, 0, 0, 0, "\x0F"},
      {PRN_HP_LASER, 0, 0, 0, 0, 0, "<lport>" + kEsc + "&l26a0L" + kEsc + "&k7.0H"},
      {PRN_HP_LASER, 0x4, 0, 0, 0, 1, "<courn>" + kEsc + "&l27a0L" + kEsc + "&k11.9H"},
      {PRN_HP_LASER, 0x4, 2, 1, 0, 0,
       kEsc + "%-12345X@PJL SET ECONOMODE=ON\r\n" + kEsc + "E<courb>" + kEsc + "&l26a0L" + kEsc + "&k11.9H"},
      {PRN_HP_DESKJET, 0, 0, 0, 2, 0,
       kEsc + "E" + kEsc + "&l0O" + kEsc + "(17U" + kEsc + "(s0p16.67h12v0s0b3t1Q" + kEsc + "&k0W" + kEsc + "&l2E" +
           kEsc + "&l26a0L"},
      {PRN_HP_DESKJET, 0x4, 1, 0, 3, 1,
       kEsc + "%-12345X@PJL SET ECONOMODE=OFF\r\n" + kEsc + "E" + kEsc + "E" + kEsc + "&l0O" + kEsc + "(10U" + kEsc +
           "(s0p10h12v0s0b3t1Q" + kEsc + "&k0W" + kEsc + "&l2E" + kEsc + "&l27a0L"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "family " << c.family << " flags " << c.flags);
    ResetPrinterState();
    Printer.economode = c.economode;
    Printer.bold = c.bold;
    Printer.codePage = 2;
    Printer.codePage = c.codePage;
    Printer.widePaper = c.widePaper;
    Printer.pclTypeface = 3;
    EXPECT_EQ(Started(c.family, c.flags), c.bytes);
    deinit_prn();
  }
}

TEST_F(OutputTest, RestrictedNinePinGraphicChoiceSendsCancel) {
  BuildModeList(1);
  Printer.family = PRN_EPSON9;
  Printer.mode = 1;   // "- Graficzny 2 str." is printed in the printer's language here
  PrintJobState.flags = 1;
  Printer.openOutput = 0;
  PrintJobState.output = std::fopen(Path("out.prn").c_str(), "w+b");
  ASSERT_EQ(OpenPrintJob("TST", nullptr), 0);
  EXPECT_EQ(FinishJob(), "\x18\x12\x1BH");
}

TEST_F(OutputTest, CanonHasNoCharacterMode) {
  Printer.family = PRN_CANON;
  Printer.mode = 1;
  EXPECT_EQ(StartJob(0), -1);
  ASSERT_FALSE(screen.shown.empty());
  EXPECT_NE(screen.shown.back().text.find(Utf8ToMazText("Brak możliwości wydruku w trybie znakowym !")),
            std::string::npos);
}

TEST_F(OutputTest, LaserJetKeepsTypedMarginsInCharacterMode) {
  Printer.leftMargin = 5;
  Printer.topMargin = 3;
  Printer.leftMarginMm = 254;
  Printer.topMarginMm = 254;
  Printer.dpiX = Printer.dpiY = 300;
  Started(PRN_HP_LASER, 0);
  EXPECT_EQ(Printer.leftMargin, 5);
  EXPECT_EQ(Printer.topMargin, 3);
  deinit_prn();

  // Soft-font text in graphic mode derives them from millimetres.
  ResetPrinterState();
  Printer.leftMarginMm = 254;   // 300 dots: 17 cells of 17.5
  Printer.topMarginMm = 254;    // 300 dots: 6 lines of 50
  Printer.mode = 0;
  Printer.family = PRN_HP_LASER;
  PrintJobState.flags = 0x100;
  ComputePageGeometry(1);
  ASSERT_EQ(StartJob(0x100), 0);
  EXPECT_EQ(Printer.leftMargin, 17);
  EXPECT_EQ(Printer.topMargin, 6);
}

TEST_F(OutputTest, MissingSoftFontFailsTheStart) {
  std::remove((PlatProgramDir() + "lport.fnt").c_str());
  Printer.family = PRN_HP_LASER;
  Printer.mode = 1;
  EXPECT_EQ(StartJob(0), -1);
  ASSERT_FALSE(screen.shown.empty());
  EXPECT_NE(screen.shown.back().text.find("LPORT.FNT"), std::string::npos);
  EXPECT_NE(screen.shown.back().text.find(PlatProgramDir()), std::string::npos) << "the folder as on this system";
}

TEST_F(OutputTest, FormFeedResendsTheLaserJetFont) {
  Started(PRN_HP_LASER, 0);
  const size_t start = ReadFile(Path("out.prn")).size();
  ASSERT_EQ(fwrite_spec("abc\fdef", 7, 1), 0);
  ASSERT_EQ(fwrite_spec("abc\fdef", 7, 0), 0);
  std::string all = FinishJob();
  EXPECT_EQ(all.substr(start), "abc\f" + kEsc + "&k7.0H" + "def" + "abc\fdef" + kEsc + "E");
}

TEST_F(OutputTest, DeskJetResendsItsStartAfterAFormFeed) {
  Printer.pclTypeface = 3;
  Started(PRN_HP_DESKJET, 0x4);
  const size_t start = ReadFile(Path("out.prn")).size();
  ASSERT_EQ(drukuj_form_feed(), 0);
  std::string all = FinishJob();
  EXPECT_EQ(all.substr(start), "\r\f" + kEsc + "E" + kEsc + "&l0O" + kEsc + "(10U" + kEsc + "(s0p10h12v0s0b3t1Q" +
                                   kEsc + "&k0W" + kEsc + "&l2E" + kEsc + "&l26a0L" + kEsc + "E");
}

TEST_F(OutputTest, PageRangeHoldsBackEverything) {
  Printer.fromPage = 3;
  Started(PRN_EPSON9, 0);
  ASSERT_EQ(Printer.pageNo, 1);
  EXPECT_EQ(drukuj("abc"), 0);
  EXPECT_EQ(drukuj_form_feed(), 0);
  // Only the start and end strings, which are sent as on the first page in range.
  EXPECT_EQ(FinishJob(), "\x0F\x12\x1BH");
}

TEST_F(OutputTest, EscAndEscCancelsTheJob) {
  PlatDateTime at{2026, 12, 10, 10, 0, 0, 0, 4};
  PlatClockFix(&at);
  Started(PRN_EPSON9, 0);
  screen.keys = {SCREEN_KEY_ESC};
  screen.answers = {SCREEN_KEY_ESC};
  EXPECT_EQ(drukuj("abc"), -1);
  EXPECT_TRUE(PrintJobState.incomplete);
  // A key other than Esc, or Esc answered with another key, goes on. After the
  // job's first text keys are looked for at most every 50 ms: ended lines read
  // nothing before that (a look a line cost the window most of the printout's time).
  PrintJobState.incomplete = false;
  screen.keys = {'x', SCREEN_KEY_ESC};
  screen.answers = {'T'};
  EXPECT_EQ(drukuj("de"), 0);
  for (const char* line : {"fg", "hi"}) {
    EXPECT_EQ(drukuj_line_feed(1), 0);
    EXPECT_EQ(drukuj(line), 0);
  }
  PlatClockAdvanceMs(49);
  EXPECT_EQ(drukuj("ij"), 0);
  EXPECT_EQ(screen.keys.size(), 2u);
  PlatClockAdvanceMs(1);
  EXPECT_EQ(drukuj("kl"), 0);
  EXPECT_EQ(screen.keys.size(), 1u);
  PlatClockAdvanceMs(50);
  EXPECT_EQ(drukuj("mn"), 0);
  EXPECT_TRUE(screen.keys.empty());
  EXPECT_FALSE(PrintJobState.incomplete);
  // Esc and Esc at the next look stops the job.
  screen.keys = {SCREEN_KEY_ESC};
  screen.answers = {SCREEN_KEY_ESC};
  EXPECT_EQ(drukuj("jk"), 0);
  PlatClockAdvanceMs(50);
  EXPECT_EQ(drukuj("lm"), -1);
  EXPECT_TRUE(PrintJobState.incomplete);
  PlatClockFix(nullptr);
}

TEST_F(OutputTest, ConversionByFamilyAndCodePage) {
  // ╔ (C9), ą (86), ─ (C4), ║ (BA), Ł (9C)
  const std::string text = "\xC9\x86\xC4\xBA\x9C";
  struct Case {
    int family, codePage;
    std::string expected;
  } cases[] = {
      {PRN_EPSON9, 2, "-\xA5-\xBA\x9D"},        // ╔ via ┌ to '-', ą to A5
      {PRN_EPSON9, 1, "\xC9\x86-\xBA\x9C"},     // Mazovia stays, boxes still replaced
      {PRN_EPSON9, 0, "\xC9" "a-\xBAL"},
      {PRN_IBM9, 2, "\xDA\xA5\xC4\xBA\x9D"},    // ╔ to ┌ and it stays
      {PRN_IBM24, 3, "\xDA\xB1\xC4\xBA\xA3"},
      {PRN_HP_DESKJET, 2, "\xDA\xA5\xC4\xBA\x9D"},
      {PRN_HP_LASER, 2, text},
      {PRN_CANON, 0, text},
  };
  for (const Case& c : cases) {
    Printer.family = c.family;
    Printer.codePage = c.codePage;
    std::string buffer = text;
    conv_str(buffer.data(), static_cast<int>(buffer.size()));
    EXPECT_EQ(buffer, c.expected) << "family " << c.family << " code page " << c.codePage;
  }
  PrintJobState.graphicSpool = true;
  Printer.family = PRN_EPSON9;
  std::string buffer = text;
  conv_str(buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_EQ(buffer, text);
}

TEST_F(OutputTest, BoldLayerPrintsOverTheText) {
  Printer.bold = 1;
  Started(PRN_EPSON9, 0);
  const size_t start = ReadFile(Path("out.prn")).size();
  const char text[] = "AB  " "  \xC4 ";
  const char bold[] = "  X " "    ";
  ASSERT_EQ(print_lines(text, bold, 4, 0, 2, 1, 2), 0);
  std::string all = FinishJob();
  EXPECT_EQ(all.substr(start), "\r\n"
                               "  ABX\r  " + kEsc + "G  X" + kEsc + "H\r\n"
                               "    -\r  " + kEsc + "G" + kEsc + "H\r\n" "\x12" + kEsc + "H");
  EXPECT_EQ(PrintJobState.currentLeftMargin, 2);
}

TEST_F(OutputTest, BoldPassByFamily) {
  struct Case {
    int family;
    std::string bold;
  } cases[] = {
      {PRN_HP_LASER, "X\r" + kEsc + "*p2X" + "X"},
      {PRN_HP_DESKJET, "X\r" + kEsc + "(s3BX" + kEsc + "(s0B"},
  };
  for (const Case& c : cases) {
    ResetPrinterState();
    Printer.bold = 1;
    Started(c.family, 0);
    const size_t start = ReadFile(Path("out.prn")).size();
    ASSERT_EQ(print_lines(nullptr, "X", 1, 0, 1, 0, 0), 0);
    std::fflush(PrintJobState.output);
    EXPECT_EQ(ReadFile(Path("out.prn")).substr(start), c.bold + "\r\n") << c.family;
    deinit_prn();
  }
}

TEST_F(OutputTest, MarginsAndOwnerLines) {
  std::strcpy(env->ownerName, "Firma \x86");
  std::strcpy(env->ownerName2, "");
  Printer.leftMargin = 3;
  Printer.topMargin = 2;
  Printer.codePage = 0;
  Started(PRN_EPSON24, 0);
  const size_t start = ReadFile(Path("out.prn")).size();
  ASSERT_EQ(drukuj_top_margin(), 0);
  ASSERT_EQ(drukuj_nazwa_wlasciciela(), 0);
  ASSERT_EQ(drukuj_line_feed(0), 0);
  std::string all = FinishJob();
  EXPECT_EQ(all.substr(start), "\r\n\r\n   Firma a\r\n\x12" + kEsc + "H");
}

}  // namespace

namespace {

// Printing through the screen's own hook on the headless display.
class WindowOutputTest : public PrintUiTest {
 protected:
  void StartFileJob(int family) {
    Printer.family = family;
    Printer.mode = 1;
    Printer.openOutput = 0;
    PrintJobState.flags = 0;
    PrintJobState.output = std::fopen(Path("out.prn").c_str(), "w+b");
    ASSERT_EQ(OpenPrintJob("TST", "Test"), 0);
  }
};

TEST_F(WindowOutputTest, APrintoutLooksAtTheDisplayAtItsStartAndEvery50Ms) {
  constexpr int kRows = 300, kWidth = 132, kRowMs = 10;
  std::string page;
  for (int row = 0; row < kRows; row++) page += std::string(kWidth - 2, static_cast<char>('A' + row % 26)) + "\x86\xC9";
  struct Case {
    const char* name;
    int bold;
  } cases[] = {{"plain", 0}, {"bold", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartFileJob(PRN_EPSON9);
    Printer.bold = c.bold;
    Printer.codePage = 2;
    // The headless display's clock stands still while the page prints: one
    // look, at the job's first text (before, a look a line: 300).
    const long before = HeadlessPollCount();
    ASSERT_EQ(print_lines(page.data(), page.data(), kWidth, 0, kRows, 0, 4), 0);
    EXPECT_EQ(HeadlessPollCount() - before, 1);
    // Lines 10 ms apart: a look every fifth line, 60 in 3 s, each one poll
    // and, when the caret's timer is due, a second after running it.
    const long lines = HeadlessPollCount();
    for (int row = 0; row < kRows; row++) {
      PlatClockAdvanceMs(kRowMs);
      ASSERT_EQ(drukuj("Wiersz"), 0);
      ASSERT_EQ(drukuj_line_feed(1), 0);
    }
    const long polls = HeadlessPollCount() - lines;
    deinit_prn();
    EXPECT_GE(polls, 60);
    EXPECT_LE(polls, 120);
    const std::string out = ReadFile(Path("out.prn"));
    EXPECT_NE(out.find("    AAAA"), std::string::npos);
    EXPECT_NE(out.find(std::string(kWidth - 2, 'B') + "\xA5-"), std::string::npos);   // ą and ╔ converted
  }
}

}  // namespace
