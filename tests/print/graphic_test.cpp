// Graphic mode: the spool rendered into PCL raster pages, and the soft fonts.
#include <cstring>
#include "env/memory.h"
#include "print/graphic_render.h"
#include "print/pcl_params.h"
#include "tests/print/print_fixture.h"

namespace {

// Ink of the test fonts: 'A' fills its whole cell, 'L' only its first dot,
// '#' its left half; anything else is blank.
std::string TestGlyph(int c, int, int cellWidth) {
  const int B = (cellWidth + 7) / 8;
  std::string bytes(static_cast<size_t>(B), '\0');
  if (c == 'A') {
    for (int dot = 0; dot < cellWidth; dot++) bytes[dot / 8] = static_cast<char>(bytes[dot / 8] | 0x80 >> dot % 8);
  } else if (c == 'L') {
    bytes[0] = static_cast<char>(0x80);
  } else if (c == '#') {
    for (int dot = 0; dot < cellWidth / 2; dot++) bytes[dot / 8] = static_cast<char>(bytes[dot / 8] | 0x80 >> dot % 8);
  }
  return bytes;
}

struct RasterPage {
  std::vector<std::string> rows;   // decompressed
};

// The pages of a PCL raster stream as the renderer writes it.
std::vector<RasterPage> ParseRaster(const std::string& pcl, int* formFeeds = nullptr) {
  std::vector<RasterPage> pages;
  int compression = 0;
  if (formFeeds) *formFeeds = 0;
  for (size_t i = 0; i < pcl.size();) {
    if (pcl[i] == '\f' && formFeeds) ++*formFeeds;
    if (pcl.compare(i, 3, "\x1B*r") == 0 && pcl.compare(i, 5, "\x1B*r1A") == 0) pages.emplace_back();
    if (pcl.compare(i, 3, "\x1B*b") == 0) {
      size_t j = i + 3;
      std::string number;
      while (j < pcl.size() && (isdigit(static_cast<unsigned char>(pcl[j])))) number += pcl[j++];
      const char letter = pcl[j];
      if (letter == 'M') compression = std::stoi(number);
      if (letter == 'W') {
        const size_t n = std::stoul(number);
        std::string data = pcl.substr(j + 1, n), row;
        if (compression == 1) {
          for (size_t k = 0; k + 1 < data.size(); k += 2) row.append(static_cast<unsigned char>(data[k]) + 1u, data[k + 1]);
        } else {
          row = data;
        }
        if (!pages.empty()) pages.back().rows.push_back(row);
        i = j + 1 + n;
        continue;
      }
    }
    i++;
  }
  return pages;
}

bool Dot(const std::string& row, int x) {
  return x / 8 < static_cast<int>(row.size()) && (static_cast<unsigned char>(row[x / 8]) & (0x80 >> x % 8));
}

class GraphicTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    Printer.mode = 0;
    Printer.fontNo = 9;   // he12x32.fnt
    WriteFont("he12x32.fnt", 12, 32);
  }
  static void WriteFont(const char* name, int width, int height) {
    WriteProgramFile(name, BitmapFont(width, height, [width](int c, int row) { return TestGlyph(c, row, width); }));
  }
  // Renders the text as a job's spool; the PCL written.
  std::string Render(const std::string& text, int* result = nullptr) {
    FILE* spool = std::tmpfile();
    FILE* out = std::fopen(Path("render.prn").c_str(), "w+b");
    std::fwrite(text.data(), 1, text.size(), spool);
    PrintJobState.output = out;
    const int rc = RenderGraphicSpool(spool, out);
    if (result) *result = rc;
    PrintJobState.output = nullptr;
    std::fclose(spool);
    std::fclose(out);
    return ReadFile(Path("render.prn"));
  }
};

TEST_F(GraphicTest, EmptySpoolGivesNoPage) {
  int result = -1;
  EXPECT_EQ(Render("", &result), "");
  EXPECT_EQ(result, 0);
  // A form feed alone is a blank page.
  EXPECT_EQ(ParseRaster(Render("\f")).size(), 1u);
}

TEST_F(GraphicTest, LongSpoolBreaksIntoPagesOfLines) {
  ComputePageGeometry(0);
  ASSERT_EQ(Printer.lines, 107);
  std::string text;
  for (int i = 0; i < 107 + 8; i++) text += "A\n";
  int formFeeds = 0;
  std::vector<RasterPage> pages = ParseRaster(Render(text), &formFeeds);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(formFeeds, 2);
  EXPECT_EQ(pages[0].rows.size(), 107u * 32);
  EXPECT_EQ(pages[1].rows.size(), 8u * 32);   // the padding lines are not drawn
  // A form feed ends a page early.
  pages = ParseRaster(Render("A\nA\fA\n"));
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].rows.size(), 2u * 32);
}

TEST_F(GraphicTest, LongLineIsCutAtTheColumns) {
  std::string line(300, 'A');
  std::vector<RasterPage> pages = ParseRaster(Render(line + "\nL\n"));
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].rows.size(), 2u * 32);
  // 196 cells of 12 dots: the row ends at 2352 / 8 + 1 bytes.
  EXPECT_EQ(pages[0].rows[0].size(), 295u);
  EXPECT_TRUE(Dot(pages[0].rows[0], 196 * 12 - 1));
  EXPECT_FALSE(Dot(pages[0].rows[0], 196 * 12));
  // The next line starts after the first one's LF, not with its cut-off rest.
  EXPECT_TRUE(Dot(pages[0].rows[32], 0));
  EXPECT_FALSE(Dot(pages[0].rows[32], 1));
  EXPECT_FALSE(Dot(pages[0].rows[32], 12));
}

TEST_F(GraphicTest, GapEveryShortensEverySecondAdvance) {
  Printer.gapEvery = 2;
  Printer.gapDots = -1;
  std::vector<RasterPage> pages = ParseRaster(Render("LLLL\n"));
  ASSERT_EQ(pages.size(), 1u);
  for (int row : {0, 1, 31}) {
    const std::string& r = pages[0].rows[static_cast<size_t>(row)];
    for (int x = 0; x < 48; x++)
      EXPECT_EQ(Dot(r, x), x == 0 || x == 12 || x == 23 || x == 35) << "row " << row << " dot " << x;
  }
}

TEST_F(GraphicTest, CompressedBlankRow) {
  unsigned char row[310] = {};
  unsigned char packed[700];
  ASSERT_EQ(CompressRowMethod1(row, 310, packed), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(packed), 4), std::string("\xFF\x00\x35\x00", 4));

  // Through the renderer: 309 blank cells of 8 dots give a 310-byte row.
  Printer.paper = 2;
  Printer.fontNo = 24;
  Printer.rasterOption = 1;
  WriteFont("he8x21.fnt", 8, 21);
  std::string pcl = Render(std::string(309, ' ') + "\n");
  EXPECT_NE(pcl.find("\x1B*b1M"), std::string::npos);
  EXPECT_NE(pcl.find(std::string("\x1B*b4W\xFF\x00\x35\x00", 9)), std::string::npos);
}

TEST_F(GraphicTest, PageStartAndRasterHeader) {
  Printer.economode = 2;
  Printer.grOffsetX = 2;
  std::string pcl = Render("A\n");
  const std::string expected = std::string("\x1B%-12345X@PJL SET ECONOMODE=ON\r\n\x1B" "E") +
                               "\x1B&l26a0L\x1B&u300D\x1B&l0E\x1B*a0M\x1B*p23x1Y\x1B*t300R\x1B*r1A\x1B*b0M";
  EXPECT_EQ(pcl.substr(0, expected.size()), expected);
  EXPECT_EQ(pcl.substr(pcl.size() - 5), "\x1B*rB\f");
}

TEST_F(GraphicTest, BoldWidensEachDot) {
  Printer.bold = 1;
  std::vector<RasterPage> pages = ParseRaster(Render("L\n"));
  ASSERT_EQ(pages.size(), 1u);
  const std::string& r = pages[0].rows[0];
  EXPECT_TRUE(Dot(r, 0));
  EXPECT_FALSE(Dot(r, 1));   // cells wider than 8 dots shift by two
  EXPECT_TRUE(Dot(r, 2));
  EXPECT_FALSE(Dot(r, 3));
}

TEST_F(GraphicTest, LandscapeTurnsTheTextPage) {
  Printer.orientation = 2;
  ComputePageGeometry(0);
  std::vector<RasterPage> pages = ParseRaster(Render("L\n"));
  ASSERT_EQ(pages.size(), 1u);
  // One column of 12 dots: its first dot column is the first raster row.
  ASSERT_EQ(pages[0].rows.size(), 12u);
  const int dotRows = Printer.lines * Printer.cellHeight;
  const std::string& first = pages[0].rows[0];
  ASSERT_EQ(static_cast<int>(first.size()), (dotRows + 7) / 8);
  // The text page's top (line 0) runs down the right side.
  for (int y = 0; y < 32; y++) EXPECT_TRUE(Dot(first, dotRows - 1 - y)) << y;
  EXPECT_FALSE(Dot(first, dotRows - 33));
  EXPECT_FALSE(Dot(pages[0].rows[1], dotRows - 1));
}

TEST_F(GraphicTest, EscStopsTheRenderingWithAPageEnd) {
  screen.keys = {SCREEN_KEY_ESC};
  screen.answers = {SCREEN_KEY_ESC};
  int result = 0;
  std::string pcl = Render("A\nA\fA\n", &result);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(pcl, "\f");
}

TEST_F(GraphicTest, ShortBitmapFontIsRefused) {
  WriteProgramFile("he12x32.fnt", std::string(100, '\0'));
  int result = 0;
  EXPECT_EQ(Render("A\n", &result), "");
  EXPECT_EQ(result, -1);
  ASSERT_FALSE(screen.shown.empty());
  EXPECT_NE(screen.shown.back().text.find("he12x32.fnt"), std::string::npos);
}

// A soft font with one character '!' of 3 x 2 dots.
std::string SoftFontFile(bool truncated) {
  std::string font = "\x1B)s64W";
  std::string descriptor(64, '\0');
  descriptor[7] = 40;    // baseline
  descriptor[9] = 24;    // cell width
  descriptor[11] = 58;   // cell height
  font += descriptor;
  font += "\x1B&k7.0H";
  font += "\x1B*c33E\x1B(s18W";
  std::string character(16, '\0');
  character[7] = 1;     // left offset
  character[9] = 30;    // top offset
  character[11] = 3;    // width
  character[13] = 2;    // height
  character += "\xA0\x40";
  if (truncated) character.resize(17);
  return font + character;
}

// PCL numbers from outside files are held within what an int holds (a font
// once gave a character code of 15 digits, beyond the int its readers take).
TEST(PclParams, NumbersAreHeldWithinTheIntRange) {
  const struct {
    const char* text;
    double value;
    char letter;
    bool last;
  } cases[] = {{"18W", 18, 'W', true},
               {"-7.5x", -7.5, 'X', false},
               {"999999999999999E", 2147483647.0, 'E', true},
               {"-99999999999999e", -2147483647.0, 'E', false},
               {"2147483647W", 2147483647.0, 'W', true}};
  for (const auto& c : cases) {
    PclParam p{};
    const size_t length = std::strlen(c.text);
    EXPECT_EQ(ReadPclParam(reinterpret_cast<const unsigned char*>(c.text), length, 0, &p), length) << c.text;
    EXPECT_EQ(p.value, c.value) << c.text;
    EXPECT_EQ(p.letter, c.letter) << c.text;
    EXPECT_EQ(p.last, c.last) << c.text;
  }
}

TEST_F(GraphicTest, SoftFontParsing) {
  std::string file = SoftFontFile(false);
  SoftFont font;
  ParseSoftFont(&font, reinterpret_cast<const unsigned char*>(file.data()), static_cast<long>(file.size()));
  EXPECT_EQ(font.baseline, 40);
  EXPECT_EQ(font.cellWidth, 24);
  EXPECT_EQ(font.cellHeight, 58);
  EXPECT_DOUBLE_EQ(font.hmi, 7.0);
  ASSERT_TRUE(font.chars[33].present);
  EXPECT_EQ(font.chars[33].leftOffset, 1);
  EXPECT_EQ(font.chars[33].topOffset, 30);
  EXPECT_EQ(font.chars[33].charWidth, 3);
  EXPECT_EQ(font.chars[33].charHeight, 2);
  EXPECT_EQ(file[static_cast<size_t>(font.chars[33].dataOffset)], '\xA0');
  EXPECT_FALSE(font.chars[34].present);

  // A character running past the end of the file is left out.
  file = SoftFontFile(true);
  ParseSoftFont(&font, reinterpret_cast<const unsigned char*>(file.data()), static_cast<long>(file.size()));
  EXPECT_FALSE(font.chars[33].present);
  EXPECT_EQ(font.baseline, 40);
}

TEST_F(GraphicTest, SoftFontPortraitPlacesGlyphsByPitch) {
  WriteProgramFile("lport.fnt", SoftFontFile(false));
  Printer.fontNo = 21;
  std::vector<RasterPage> pages = ParseRaster(Render("!!\n"));
  ASSERT_EQ(pages.size(), 1u);
  // The glyph's rows start at baseline - top offset = 10; pitch 17.5 dots.
  ASSERT_GT(pages[0].rows.size(), 11u);
  const std::string& top = pages[0].rows[10];
  const std::string& bottom = pages[0].rows[11];
  EXPECT_TRUE(Dot(top, 1));      // 0xA0: dots 0 and 2 of the glyph, at left offset 1
  EXPECT_FALSE(Dot(top, 2));
  EXPECT_TRUE(Dot(top, 3));
  EXPECT_TRUE(Dot(top, 18));     // the second character at 17
  EXPECT_TRUE(Dot(bottom, 2));   // 0x40: dot 1
  EXPECT_FALSE(Dot(pages[0].rows[9], 1));
}

TEST_F(GraphicTest, SoftFontLandscapeTurnsEachGlyph) {
  WriteProgramFile("lport.fnt", SoftFontFile(false));
  Printer.fontNo = 21;
  Printer.orientation = 2;
  std::vector<RasterPage> pages = ParseRaster(Render("!\n"));
  ASSERT_EQ(pages.size(), 1u);
  // One character cell of 24 raster rows; line 0 sits at the far end of
  // each row (2362 - 58 dots on), the glyph's bottom row first.
  ASSERT_EQ(pages[0].rows.size(), 24u);
  const std::vector<std::string>& rows = pages[0].rows;
  EXPECT_EQ(rows[0].find_first_not_of('\0'), std::string::npos);
  EXPECT_TRUE(Dot(rows[1], 2304 + 47));    // column 0: its top row only
  EXPECT_FALSE(Dot(rows[1], 2304 + 46));
  EXPECT_TRUE(Dot(rows[2], 2304 + 46));    // column 1: its bottom row only
  EXPECT_FALSE(Dot(rows[2], 2304 + 47));
  EXPECT_TRUE(Dot(rows[3], 2304 + 47));
  EXPECT_EQ(rows[4].find_first_not_of('\0'), std::string::npos);
}

}  // namespace
