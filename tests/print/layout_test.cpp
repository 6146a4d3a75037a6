// Layout printing: character pages into the spool, texts drawn on PDF pages.
#include <cstring>
#include "platform/process.h"
#include "print/layout_print.h"
#include "print/page_spool.h"
#include "print/patterns.h"
#include "print/settings_dialog.h"
#include "tests/print/print_fixture.h"

namespace {

// A spooled page read back: its size and both layers.
struct SpooledPage {
  int width = 0, height = 0, lineFeeds = 0, leftMargin = 0;
  std::string form, values;   // width x height each
};

int Get16(const std::string& s, size_t at) {
  return static_cast<int16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

class LayoutTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    if (HasFatalFailure()) return;
    Printer.mode = 1;   // character pages
    Printer.family = PRN_EPSON9;
    BuildModeList(0);
    ASSERT_TRUE(IsPrinterLanguageMode());
  }
  void TearDown() override {
    close_tmp_edit_file(nullptr, -1);
    PrintTest::TearDown();
  }
  // A page of `columns` x `rows` begun in a fresh context.
  void Begin(int columns, int rows) {
    InitPrint(&ctx, columns, rows, 0, 0, nullptr, 0, "Wydruk");
    ASSERT_EQ(PrintBeginPage(&ctx), 1);
  }
  // Row r of the value layer.
  std::string ValueRow(int r) const {
    return std::string(ctx.valuePage + static_cast<size_t>(r) * ctx.pageColumns, static_cast<size_t>(ctx.pageColumns));
  }
  static SpooledPage Spooled(int pageNo) {
    const std::string file = ReadFileAt(PageSpoolName());
    const int W = Get16(file, 298), H = Get16(file, 300);
    const size_t at = 312 + static_cast<size_t>(pageNo - 1) * (2 * W * H + 10);
    SpooledPage p;
    p.width = Get16(file, at);
    p.height = Get16(file, at + 2);
    p.lineFeeds = Get16(file, at + 4);
    p.leftMargin = Get16(file, at + 6);
    p.form = file.substr(at + 10, static_cast<size_t>(p.width * p.height));
    p.values = file.substr(at + 10 + static_cast<size_t>(W * H), static_cast<size_t>(p.width * p.height));
    return p;
  }
  static std::string ReadFileAt(const std::string& name) { return ReadFile(name); }
  PrintLayoutCtx ctx{};
};

TEST_F(LayoutTest, EnoughPrintSpace) {
  Begin(79, 63);
  ctx.baseRow = 60;
  EXPECT_EQ(EnoughPrintSpace(&ctx, 3), 1);
  EXPECT_EQ(EnoughPrintSpace(&ctx, 4), 0);
  PrintEndPage(&ctx);
}

TEST_F(LayoutTest, TextsInPageMode) {
  struct Case {
    const char* name;
    int column, row, boxWidth, boxHeight, flags;
    const char* text;
    std::vector<std::string> rows;   // the first rows of the value layer, trimmed
    int returned, columnAfter, rowAfter;
  } cases[] = {
      {"plain", 2, 0, 0, 0, 0, "abc", {"  abc"}, 0, 5, 0},
      {"right-aligned without a box ends at the column", 10, 0, 0, 0, PT_RIGHT, "abc", {"        abc"}, 0, 7, 0},
      {"right-aligned in a box", 0, 0, 6, 0, PT_RIGHT, "abc", {"   abc"}, 0, 3, 0},
      {"centred without a box", 10, 0, 0, 0, PT_CENTRE, "abcd", {"        abcd"}, 0, 10, 0},
      {"colon", 0, 0, 0, 0, PT_COLON, "Suma", {"Suma:"}, 0, 5, 0},
      {"a letter, two line feeds and a letter", 0, 0, 0, 0, 0, "a\n\nb", {"a", ""}, 0, 1, 0},
      {"line feeds", 0, 1, 0, 0, 0, "ab\ncd", {"", "ab", "cd"}, 1, 2, 1},
      {"wrapped in the box", 0, 0, 11, 0, PT_WRAP, "alpha beta gamma", {"alpha beta", "gamma"}, 1, 5, 1},
      {"too many lines for the box: cut hard", 0, 0, 11, 1, PT_WRAP, "alpha beta gamma",
       {"alpha beta", "gamma"}, 1, 5, 1},
      {"a word longer than the box: cut hard", 0, 0, 4, 0, PT_WRAP, "abcdefgh ij", {"abcd", "efgh", " ij"}, 2, 3, 2},
      {"outside the page: nothing", 38, 0, 0, 0, 0, "abc", {""}, 0, 41, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Begin(40, 5);
    ctx.column = c.column;
    ctx.row = c.row;
    EXPECT_EQ(PrintString(&ctx, PO_RXY, 0, 0, PO_BOX_COLUMNS, c.boxWidth, PO_BOX_ROWS, c.boxHeight, PO_VALUE, c.text,
                          c.flags),
              c.returned);
    for (size_t r = 0; r < c.rows.size(); r++) {
      std::string row = ValueRow(static_cast<int>(r));
      row.erase(row.find_last_not_of(' ') + 1);
      EXPECT_EQ(row, c.rows[r]) << "row " << r;
    }
    EXPECT_EQ(ctx.column, c.columnAfter);
    EXPECT_EQ(ctx.row, c.row + c.rowAfter);
    PrintEndPage(&ctx);
    close_tmp_edit_file(nullptr, -1);
  }
}

TEST_F(LayoutTest, PositionsNumbersAndRefusedLists) {
  Begin(40, 5);
  ctx.baseRow = 2;
  PrintString(&ctx, PO_CXY, 1, 4, PO_VALUE, "x", PT_FORM_LAYER);
  EXPECT_EQ(ctx.formPage[3 * 40 + 4], 'x');
  EXPECT_EQ(ctx.positionKind, 1);
  // Numbers: the width from the format, the column moves by what was written.
  EXPECT_EQ(PrintDouble(&ctx, PO_CXY, 0, 10, PO_VALUE, 1234.5, 8 << 12 | 0x20 | 2), 8);
  EXPECT_EQ(ValueRow(2).substr(10, 8), " 1234.50");
  EXPECT_EQ(ctx.column, 18);
  EXPECT_EQ(PrintDouble(&ctx, PO_CXY, 0, 36, PO_VALUE, 1.0, 8 << 12 | 0x20), 0);   // past the row's end
  // The variant picks the second position.
  ctx.variant = 1;
  PrintString(&ctx, PO_CXY, 0, 0, PO_CXY, 0, 20, PO_VALUE, "v", 0);
  EXPECT_EQ(ValueRow(2)[20], 'v');
  ctx.variant = 0;
  // An unknown code and a fifth position are refused; nothing is written.
  const std::string before = ValueRow(0);
  EXPECT_EQ(PrintString(&ctx, 7, PO_VALUE, "z", 0), 0);
  EXPECT_EQ(PrintString(&ctx, PO_CXY, 0, 0, PO_CXY, 0, 1, PO_CXY, 0, 2, PO_CXY, 0, 3, PO_CXY, 0, 4, PO_VALUE, "z", 0),
            0);
  EXPECT_EQ(ValueRow(0), before);
  const std::string log = ReadFile(Path("home/ER.Log"));
  EXPECT_NE(log.find("mrk(7)"), std::string::npos);
  EXPECT_NE(log.find("mrk(1)"), std::string::npos);
  PrintEndPage(&ctx);
}

TEST_F(LayoutTest, ZonesAndTheFixedGrid) {
  PrintZone zones[2];
  InitPrint(&ctx, 40, 10, 0, 0, zones, sizeof zones, "Wydruk");
  EXPECT_EQ(ctx.zoneCapacity, 2);
  PrintDefinePage(&ctx, nullptr, 30, 6, 5, 2, nullptr, nullptr, 0);
  PrintDefinePage(&ctx, nullptr, 20, 0, 5, 2, nullptr, nullptr, 0);
  PrintDefinePage(&ctx, nullptr, 10, 10, 5, 2, nullptr, nullptr, 0);   // no room: ignored
  for (int page = 1; page <= 3; page++) {
    ASSERT_EQ(PrintBeginPage(&ctx), 1);
    PrintString(&ctx, PO_CXY, 0, 0, PO_VALUE, page == 1 ? "jeden" : "dalej", 0);
    PrintEndPage(&ctx);
  }
  struct Expected {
    int width, height;
    const char* start;
  } expected[] = {{30, 6, "jeden"}, {20, 10, "dalej"}, {20, 10, "dalej"}};
  for (int page = 1; page <= 3; page++) {
    SCOPED_TRACE(page);
    const SpooledPage p = Spooled(page);
    EXPECT_EQ(p.width, expected[page - 1].width);
    EXPECT_EQ(p.height, expected[page - 1].height);
    EXPECT_EQ(p.values.substr(0, 5), expected[page - 1].start);
    EXPECT_EQ(p.leftMargin, -1);   // margins and line feeds only with the fixed grid
    EXPECT_EQ(p.lineFeeds, 0);
  }
  close_tmp_edit_file(nullptr, -1);

  // The fixed grid: every page 79 x 63, the height spooled is the highest
  // row written through DeklCtx.
  InitPrint(&ctx, 40, 10, 1, 1, zones, sizeof zones, "Wydruk");
  PrintDefinePage(&ctx, nullptr, 100, 100, 3, 1, nullptr, nullptr, 0);
  ASSERT_EQ(PrintBeginPage(&ctx), 1);
  EXPECT_EQ(ctx.pageColumns, 79);
  EXPECT_EQ(ctx.pageRows, 63);
  EXPECT_EQ(DeklCtx.page, ctx.valuePage);
  EXPECT_EQ(DeklCtx.highest, 1);
  DeklCtx.highest = 12;
  PrintEndPage(&ctx);
  const SpooledPage p = Spooled(1);
  EXPECT_EQ(p.width, 79);
  EXPECT_EQ(p.height, 12);
  EXPECT_EQ(p.leftMargin, 3);
  EXPECT_EQ(p.lineFeeds, 1);
  DeklCtx = DeklContext{};
}

// The spooled printout shown in the viewer and printed from it.
class LayoutViewTest : public PrintUiTest {};

TEST_F(LayoutViewTest, PageModePrintoutViewedAndPrinted) {
  Printer.mode = 1;
  Printer.family = PRN_EPSON9;
  BuildModeList(0);
  PrintJobState.flags = 0;
  Printer.openOutput = 0;
  PrintJobState.output = std::fopen(Path("out.prn").c_str(), "w+b");
  ASSERT_EQ(OpenPrintJob("TST", "Test"), 0);
  PrintLayoutCtx ctx{};
  InitPrint(&ctx, 30, 3, 0, 0, nullptr, 0, "Faktura");
  ASSERT_EQ(PrintBeginPage(&ctx), 1);
  PrintString(&ctx, PO_CXY, 0, 0, PO_VALUE, "FAKTURA", PT_FORM_LAYER);
  PrintString(&ctx, PO_CXY, 1, 2, PO_VALUE, "nr 7", 0);
  PrintEndPage(&ctx);
  // The operator adds a letter and prints.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}X{F2}"), 0);
  setenv("ZELKIT_DUMP", Path("dump.txt").c_str(), 1);
  EXPECT_EQ(edytuj_i_drukuj(&ctx.header, 1, "Faktura", -1, 0), 0);
  unsetenv("ZELKIT_DUMP");
  EXPECT_NE(ReadFile(Path("dump.txt")).find("FAKTURA"), std::string::npos);
  EXPECT_EQ(close_tmp_edit_file(nullptr, 0), 0);
  deinit_prn();
  const std::string out = ReadFile(Path("out.prn"));
  EXPECT_NE(out.find("FAKTURA\r\n  nr 7\r\nX"), std::string::npos);
}

// Drawing on the pages of a PDF.
class LayoutDrawingTest : public PrintTest {};

TEST_F(LayoutDrawingTest, TextOnAPdfPageAndTheDocumentEndedByTheJob) {
  int code = -1;
  if (PlatRunProgram("pdftotext", {"-v"}, nullptr, &code) != PLAT_OK) GTEST_SKIP() << "poppler-utils is not installed";
  Printer.mode = 2;   // past the mode list: drawing on the printer's pages
  ASSERT_EQ(OpenSelectedPrinter({kPrintToFileEntry}, 0), 1);
  ASSERT_FALSE(IsPrinterLanguageMode());
  std::snprintf(Printer.outputFile, sizeof Printer.outputFile, "rys.pdf");
  PrintLayoutCtx ctx{};
  InitPrint(&ctx, 79, 63, 1, 0, nullptr, 0, "Polecenie");
  for (const char* text : {"Pierwsza", "Druga"}) {
    ASSERT_EQ(PrintBeginPage(&ctx), 1);
    PrintString(&ctx, PO_MXY, 20, 30, PO_VALUE, Utf8ToMazText("Zażółć").c_str(), 0);
    PrintString(&ctx, PO_CXY, 10, 5, PO_VALUE, text, PT_COLON);
    PrintEndPage(&ctx);
  }
  EXPECT_EQ(ctx.failed, 0);
  // The document begun with the first page is still open: the job ends it.
  EXPECT_NE(PrintJobState.document, nullptr);
  deinit_prn();
  ASSERT_EQ(PlatRunProgram("sh", {"-c", "pdfinfo rys.pdf > info.txt && pdftotext -layout rys.pdf text.txt"}, nullptr,
                           &code),
            PLAT_OK);
  ASSERT_EQ(code, 0);
  const std::string info = ReadFile(Path("info.txt"));
  const size_t pages = info.find("Pages:");
  ASSERT_NE(pages, std::string::npos);
  EXPECT_EQ(std::stoi(info.substr(pages + 6)), 2);
  const std::string text = ReadFile(Path("text.txt"));
  EXPECT_NE(text.find("Zażółć"), std::string::npos);
  EXPECT_NE(text.find("Pierwsza:"), std::string::npos);
  EXPECT_NE(text.find("Druga:"), std::string::npos);
}

}  // namespace
