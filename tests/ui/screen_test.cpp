#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/resources.h"
#include "tests/ui/ui_fixture.h"

namespace {

using Screen = UiTest;

int Pixel(int x, int y) {
  int stride, width, height;
  const uint8_t* p = DesktopPixels(&stride, &width, &height);
  return p ? p[y * stride + x] : -1;
}

// Pixels of a cell in colour `colour`.
int CountInCell(int row, int col, int colour) {
  int n = 0;
  for (int y = 0; y < Desktop.cellHeight; y++)
    for (int x = 0; x < Desktop.cellWidth; x++)
      n += Pixel(col * Desktop.cellWidth + x, row * Desktop.cellHeight + y) == colour;
  return n;
}

TEST_F(Screen, FramePiecesHugTheCellEdges) {
  int h = w4define(2, 2, 6, 20);
  w4border(kStdFrame, 0x1E);   // yellow on blue
  w4activate(h);
  int x = 2 * 8, y = 2 * 16;   // the top-left corner cell
  EXPECT_EQ(Pixel(x, y), 14);
  EXPECT_EQ(Pixel(x + 1, y + 1), 14);   // two pixels thick in the default font
  EXPECT_EQ(Pixel(x + 7, y + 1), 14);   // the top edge runs across the cell
  EXPECT_EQ(Pixel(x + 1, y + 15), 14);  // the left edge runs down the cell
  EXPECT_EQ(Pixel(x + 2, y + 2), 1);
  EXPECT_EQ(Pixel(x + 7, y + 15), 1);
  int bx = 20 * 8 + 7, by = 6 * 16 + 15;   // bottom-right corner cell, its last pixel
  EXPECT_EQ(Pixel(bx, by), 14);
  EXPECT_EQ(Pixel(bx - 2, by - 2), 1);
}

TEST_F(Screen, GlyphOfAOgonekDiffersFromPlainA) {
  ImagePutText(0, 0, "\x86" "a", 2, 0x0F);
  ImageRepaint(0, 0, 2, 1);
  int ogonek = 0;   // ink below the baseline only in ą
  for (int y = 13; y < 16; y++)
    for (int x = 0; x < 8; x++) {
      EXPECT_NE(Pixel(8 + x, y), 15) << "a has no ink below its baseline";
      ogonek += Pixel(x, y) == 15;
    }
  EXPECT_GT(ogonek, 0);
  EXPECT_GT(CountInCell(0, 0, 15), 10);
  std::string image = Path("screen.ppm");
  ASSERT_EQ(DesktopWriteImage(image.c_str()), 0);
  std::string ppm = ReadFile(image);
  ASSERT_EQ(ppm.compare(0, 15, "P6\n640 480\n255\n"), 0);
  // a glyph pixel through the colour palette: white
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 8; x++)
      if (Pixel(x, y) == 15) {
        size_t at = 15 + (static_cast<size_t>(y) * 640 + x) * 3;
        EXPECT_EQ(static_cast<unsigned char>(ppm[at]), 252);
        EXPECT_EQ(static_cast<unsigned char>(ppm[at + 2]), 252);
        return;
      }
}

TEST_F(Screen, UnwrittenCellIsLightGreenAndPaletteFollowsTheVariant) {
  Desktop.cells[5 * 80 + 5] = 0;
  ImageRepaint(5, 5, 1, 1);
  EXPECT_EQ(CountInCell(5, 5, 10), 8 * 16);
  EXPECT_EQ(DesktopPalette()[13 * 3], 208);   // the pale khaki of the colour palette
  env->colourVariant = 'N';
  ScreenSwitchFont(1);                          // rebuilds the bitmap
  EXPECT_EQ(DesktopPalette()[1 * 3], 20);
  EXPECT_EQ(DesktopPalette()[1 * 3 + 2], 20);
}

TEST_F(Screen, FontSwitchLoadsTheFontTable) {
  struct FontCase {
    int asked, font, width, height;
  };
  const FontCase cases[] = {{4, 4, 10, 20}, {-1, 5, 12, 24}, {-1, 0, 8, 16}, {3, 3, 8, 13}, {9, 0, 8, 16}};
  for (const FontCase& c : cases) {
    ScreenSwitchFont(c.asked);
    EXPECT_EQ(Desktop.font, c.font);
    EXPECT_EQ(Desktop.cellWidth, c.width);
    EXPECT_EQ(Desktop.cellHeight, c.height);
    int stride, width, height;
    ASSERT_NE(DesktopPixels(&stride, &width, &height), nullptr);
    EXPECT_EQ(width, 80 * c.width);
    EXPECT_EQ(height, 30 * c.height);
    EXPECT_EQ(stride % 4, 0);
  }
  // a video start without a bitmap leaves it to the font switch
  w4init_undo();
  w4close_video(1);
  ASSERT_EQ(w4init_video(0), 0);
  int stride, width, height;
  EXPECT_EQ(DesktopPixels(&stride, &width, &height), nullptr);
  ScreenSwitchFont(Desktop.font);
  EXPECT_NE(DesktopPixels(&stride, &width, &height), nullptr);
  w4close_video(1);
  ASSERT_EQ(w4init_video(1), 0);
  // the 10-pixel font carries pixels 8 and 9 in the high bits of a row's second byte
  ScreenSwitchFont(4);
  ImagePutText(0, 0, 0xCB, 1, 0x0F);   // top edge piece: every pixel of its top rows
  ImageRepaint(0, 0, 1, 1);
  EXPECT_EQ(Pixel(9, 0), 15);
  EXPECT_EQ(Pixel(9, 1), 15);
  EXPECT_EQ(Pixel(9, 2), 0);
}

// The grid is never written outside its cells, whatever the rectangle.
TEST_F(Screen, DrawingIsClippedToTheGridOnEverySide) {
  for (int r = 0; r < 30; r++) ImagePutText(0, r, 0, 80, 0);
  EXPECT_EQ(ImagePutText(78, 29, "ABCD", 4, 7), 82);
  EXPECT_EQ(Char(29, 78), 'A');
  EXPECT_EQ(Char(29, 79), 'B');
  EXPECT_EQ(Char(0, 0), 0);
  ImagePutText(-2, 3, "ABCD", 4, 7);
  EXPECT_EQ(Char(3, 0), 'C');
  EXPECT_EQ(Char(2, 78), 0);
  ImagePutText(0, 30, 'Z', 10, 7);   // below the grid: nothing
  ImagePutText(0, -1, 'Z', 10, 7);
  ImageClear(0, 27, 10, 10, 0x70);   // bottom clipped
  EXPECT_EQ(Char(29, 5), ' ');
  EXPECT_EQ(Attr(29, 5), 0x70);
  ImageClear(0, -3, 10, 5, 0x20);    // top clipped
  EXPECT_EQ(Attr(0, 0), 0x20);
  EXPECT_EQ(Attr(1, 0), 0x20);
  ImageClear(75, 0, 10, 1, 0x30);    // passes the right edge: ignored
  EXPECT_EQ(Attr(0, 76), 0);
  ImageRepaint(-5, -5, 200, 200);
  ImageScroll(-5, 25, 100, 10, 1);
  ImageScroll(0, 28, 10, 5, -1);
  w4define(28, 70, 40, 100);
  ImageShade(1, 5, 50, 0x70);
  ImageInvalidate(-1, -1, 500, 500);
  // the cell buffer's guards are checked when it is freed
  w4init_undo();
  w4close_video(1);
  EXPECT_EQ(w4init_video(1), 0);
}

TEST_F(Screen, ScrollMovesRowsAndKeepsTheFreedOne) {
  for (int r = 0; r < 4; r++) ImagePutText(0, r, '0' + r, 5, 7);
  ImageScroll(0, 0, 5, 4, 1);
  EXPECT_EQ(Char(0, 0), '1');
  EXPECT_EQ(Char(2, 4), '3');
  EXPECT_EQ(Char(3, 0), '3');   // the freed row keeps its old content
  ImageScroll(0, 0, 5, 4, -1);
  EXPECT_EQ(Char(1, 0), '1');
  EXPECT_EQ(Char(0, 0), '1');
  ImageScroll(0, 0, 5, 1, 1);
  ImageScroll(0, 0, 5, 4, 0);
  EXPECT_EQ(Char(1, 0), '1');
  w4define(0, 0, 3, 4);
  w4attribute(0x17);
  w4scroll(1);
  EXPECT_EQ(Char(3, 0), ' ');
  EXPECT_EQ(Attr(3, 0), 0x17);
}

TEST_F(Screen, CaretInvertsAndBlinks) {
  w4define(3, 4, 10, 40);
  ImageClear(0, 0, 80, 30, 0);
  DesktopSetCaretShape(0);
  w4cursor(1, 2);   // screen cell (4, 6)
  EXPECT_EQ(Desktop.caretCellRow, 4);
  EXPECT_EQ(Desktop.caretCellCol, 6);
  EXPECT_EQ(Desktop.caretHidden, 0);
  EXPECT_EQ(CountInCell(4, 6, 15), 16);   // the two bottom rows
  DesktopCaretTick(0);
  DesktopCaretTick(0);
  DesktopCaretTick(0);
  EXPECT_EQ(Desktop.caretDrawn, 1);
  DesktopCaretTick(0);   // every fourth tick
  EXPECT_EQ(Desktop.caretDrawn, 0);
  EXPECT_EQ(CountInCell(4, 6, 15), 0);
  DesktopSetCaretShape(2);
  w4cursor(1, 2);
  EXPECT_EQ(CountInCell(4, 6, 15) + CountInCell(4, 7, 15), 2 * (16 * 2) + 2 * (12 * 2));
  DesktopHideCaret();
  DesktopHideCaret();
  EXPECT_EQ(CountInCell(4, 6, 15), 0);
  DesktopShowCaret();
  EXPECT_EQ(Desktop.caretDrawn, 0);
  DesktopShowCaret();
  EXPECT_EQ(Desktop.caretDrawn, 1);
  w4cursor(-1, 0);
  EXPECT_EQ(Desktop.caretHidden, -1);
  EXPECT_EQ(CountInCell(4, 6, 15), 0);
}

// ---- the grid following the window

TEST_F(Screen, DraggedSizeSnapsToWholeCells) {
  int w = 630, h = 470;
  EXPECT_EQ(DesktopSnapClientSize(&w, &h), 1);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  w = 1005, h = 701;
  DesktopSnapClientSize(&w, &h);
  EXPECT_EQ(w, 1000);
  EXPECT_EQ(h, 688);
}

TEST_F(Screen, ResizeAtTheMainMenuRestartsWithThePendingSize) {
  Desktop.menuLevel = 1;
  HeadlessSetScript("{RESIZE 1005x701}");
  EXPECT_EQ(g4char(), KEY_ESC);   // the injected Esc ends the main menu
  EXPECT_EQ(Desktop.restart, 1);
  EXPECT_EQ(Desktop.cols, 125);
  EXPECT_EQ(Desktop.rows, 43);
  EXPECT_EQ(env->clientWidth, 1000u);
  EXPECT_EQ(env->gridSpareX, 0);
  // The old cells are gone: the teardown before the restart draws nothing
  // past them, and the restart lays the new grid out.
  EXPECT_EQ(Desktop.cells, nullptr);
  ImagePutText(0, Desktop.rows - 1, "koniec", -1, 7);
  w4init_undo();
  w4close_video(1);
  ASSERT_EQ(w4init_video(1), 0);
  ImagePutText(Desktop.cols - 6, Desktop.rows - 1, "koniec", -1, 7);
  EXPECT_EQ(Row(Desktop.rows - 1).substr(Desktop.cols - 6), "koniec");
}

TEST_F(Screen, ResizeInANestedMenuIsRefused) {
  Desktop.menuLevel = 2;
  HeadlessSetScript("{RESIZE 1000x700}q");
  EXPECT_EQ(g4char(), 'q');
  EXPECT_EQ(Desktop.restart, 0);
  EXPECT_EQ(Desktop.cols, 80);
  EXPECT_EQ(env->clientWidth, 640u);
  EXPECT_NE(std::string(HeadlessLastInfoBox()).find("menu g\x92\xA2wnego"), std::string::npos);
}

TEST_F(Screen, LargerClientOutsideTheMainMenuOnlyRecentres) {
  Desktop.menuLevel = 0;
  DesktopOnSize(651, 490);
  EXPECT_EQ(Desktop.restart, 0);
  EXPECT_EQ(Desktop.cols, 80);
  EXPECT_EQ(env->gridSpareX, 11);   // 5 pixels left, 6 right
  EXPECT_EQ(env->gridSpareY, 10);
}

TEST_F(Screen, LogoIsDecodedCentredAndTheColoursComeBack) {
  // A 4 x 2 PCX: a run of 4 pixels of colour 9, then 4 single pixels.
  std::vector<unsigned char> pcx(128, 0);
  pcx[8] = 3;   // max X
  pcx[10] = 1;  // max Y
  pcx[66] = 4;  // bytes per line
  for (unsigned char b : {0xC4, 9, 1, 2, 3, 4}) pcx.push_back(b);
  pcx.push_back(12);
  for (int i = 0; i < 256; i++)
    for (int c = 0; c < 3; c++) pcx.push_back(static_cast<unsigned char>(i));
  static std::vector<unsigned char> file;
  file = pcx;
  static const PlatResource table[] = {{175, file.data(), static_cast<uint32_t>(file.size())}};
  PlatRegisterResources(ENV_PROGRAM_MODULE, table, 1);
  // A timer looks at the picture while the logo waits for its key.
  static int seen[5];
  int slot = AllocTimer(TIMER_PERIODIC, 10, [](int32_t) {
    if (seen[0] >= 0) return;
    seen[0] = Pixel(318, 239), seen[1] = Pixel(321, 239), seen[2] = Pixel(318, 240), seen[3] = Pixel(321, 240);
    seen[4] = Pixel(0, 0);
  }, 0);
  seen[0] = -1;
  HeadlessSetScript("{WAIT 20}{ESC}");
  ShowLogo([]() -> int16_t { return 175; }, static_cast<int>(file.size()));
  FreeTimer(&slot);
  EXPECT_EQ(seen[0], 9);
  EXPECT_EQ(seen[1], 9);
  EXPECT_EQ(seen[2], 1);
  EXPECT_EQ(seen[3], 4);
  EXPECT_EQ(seen[4], 9);   // the rest takes the colour of the first run
  // afterwards the 16-colour table is back and the bitmap is black
  EXPECT_EQ(DesktopPalette()[13 * 3], 208);
  EXPECT_EQ(Pixel(320, 240), 0);
}

}  // namespace
