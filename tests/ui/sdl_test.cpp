#include <cstdlib>
#include <cstring>
#include <vector>
#include "tests/ui/ui_fixture.h"
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// SDL and its video drivers keep allocations for the life of the process;
// they are not ours to free, so the leak checker does not count them.
struct SdlAllocationsIgnored {
#if defined(__SANITIZE_ADDRESS__)
  SdlAllocationsIgnored() { __lsan_disable(); }
  ~SdlAllocationsIgnored() { __lsan_enable(); }
#else
  SdlAllocationsIgnored() {}
#endif
};

// The real window backend on SDL's offscreen (or dummy) video driver.
TEST(SdlDisplay, OpensAndPresentsOneFrame) {
  SdlAllocationsIgnored ignored;
  DisplayBackend* sdl = DisplaySdl();
  int opened = -1;
  for (const char* driver : {"offscreen", "dummy"}) {
    setenv("SDL_VIDEODRIVER", driver, 1);
    if ((opened = sdl->open(640, 480)) == 0) break;
  }
  unsetenv("SDL_VIDEODRIVER");
  ASSERT_EQ(opened, 0);
  std::vector<uint8_t> pixels(640 * 480, 1);
  std::vector<uint8_t> palette(256 * 3, 0);
  palette[3 + 2] = 168;
  DisplayFrame frame{pixels.data(), 640, 640, 480, palette.data(), 0, 0, nullptr};
  sdl->show();
  sdl->present(&frame);
  int cw = 0, ch = 0, fw = -1, fh = -1;
  sdl->metrics(&cw, &ch, &fw, &fh);
  EXPECT_EQ(cw, 640);
  EXPECT_EQ(ch, 480);
  DisplayEvent event{};
  for (int i = 0; i < 20 && sdl->poll(&event); i++) {
  }
  sdl->close();
}

// The screen drawn on the headless display's grid (80 x 30 cells of 8 x 16
// pixels) and presented through the real window backend.
class SdlPresentTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    for (const char* driver : {"offscreen", "dummy"}) {
      setenv("SDL_VIDEODRIVER", driver, 1);
      if (DisplaySdl()->open(640, 480) == 0) break;
    }
    unsetenv("SDL_VIDEODRIVER");
    DisplaySelect(DisplaySdl());
  }
  void TearDown() override {
    DisplaySdl()->close();
    DisplaySelect(DisplayHeadless());
    UiTest::TearDown();
  }
  // The window's frame against the bitmap converted through its colours here.
  static void ExpectFrameIsTheBitmap() {
    int width = 0, height = 0, stride = 0, bw = 0, bh = 0;
    const uint32_t* held = SdlFrameHeld(&width, &height);
    const uint8_t* pixels = DesktopPixels(&stride, &bw, &bh);
    const uint8_t* palette = DesktopPalette();
    ASSERT_TRUE(held && pixels);
    ASSERT_EQ(width, bw);
    ASSERT_EQ(height, bh);
    int wrong = 0;
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) {
        const uint8_t* rgb = &palette[pixels[y * stride + x] * 3];
        uint32_t want = 0xFF000000u | rgb[0] << 16 | rgb[1] << 8 | rgb[2];
        if (held[y * width + x] != want) wrong++;
      }
    EXPECT_EQ(wrong, 0);
  }
  static std::vector<uint32_t> Frame() {
    int width = 0, height = 0;
    const uint32_t* held = SdlFrameHeld(&width, &height);
    return held ? std::vector<uint32_t>(held, held + static_cast<size_t>(width) * height) : std::vector<uint32_t>{};
  }
  SdlAllocationsIgnored ignored;
};

// A change sends only the pixel rows of the cells it drew; the frame the
// window holds stays the one a full redraw gives.
TEST_F(SdlPresentTest, APresentSendsOnlyTheRowsThatChanged) {
  for (int row = 0; row < Desktop.rows; row++) ImagePutText(0, row, "Zelsal: wiersz ekranu", -1, 0x17);
  ImageRepaint(0, 0, Desktop.cols, Desktop.rows);
  DesktopFlush();
  EXPECT_EQ(SdlRowsUploaded(), 480) << "the first frame whole";
  ExpectFrameIsTheBitmap();
  struct Case {
    const char* name;
    void (*change)();
    int rows;   // pixel rows sent
  } cases[] = {
      {"one cell", [] { ImagePutText(10, 5, "X", 1, 0x1E), ImageRepaint(10, 5, 1, 1); }, 16},
      {"two rows cleared", [] { ImageClear(0, 20, 80, 2, 0x20); }, 32},
      {"five rows scrolled", [] { ImageScroll(0, 10, 40, 5, 1); }, 80},
      {"the caret shown", [] { w4cursor(2, 3); }, 16},
      {"the caret moved a row down", [] { w4cursor(3, 3); }, 32},
      {"nothing", [] {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    DesktopPaint();
    EXPECT_EQ(SdlRowsUploaded(), c.rows);
    ExpectFrameIsTheBitmap();
  }
  // The one cell: its background (attribute 0x1E: yellow on blue) at its top left pixel.
  std::vector<uint32_t> frame = Frame();
  ASSERT_EQ(frame.size(), 640u * 480u);
  EXPECT_EQ(frame[80 * 640 + 80], 0xFF0000A8u);
  // A full redraw sends every row and gives the same frame.
  w4cursor(-1, -1);
  DesktopPaint();
  std::vector<uint32_t> before = Frame();
  ImageRepaint(0, 0, Desktop.cols, Desktop.rows);
  DesktopPaint();
  EXPECT_EQ(SdlRowsUploaded(), 480);
  EXPECT_TRUE(Frame() == before);
}

// A new colour table sends the whole frame, even where no cell changed.
TEST_F(SdlPresentTest, ANewFontSendsTheWholeFrame) {
  ImagePutText(0, 0, "Czcionka", -1, 0x1F);
  ImageRepaint(0, 0, Desktop.cols, Desktop.rows);
  DesktopPaint();
  ScreenSwitchFont(3);   // 8 x 13: 390 pixel rows
  DesktopPaint();
  EXPECT_EQ(SdlRowsUploaded(), 390);
  ExpectFrameIsTheBitmap();
  ImagePutText(0, 29, "Ostatni", -1, 0x1F);
  ImageRepaint(0, 29, 7, 1);
  DesktopPaint();
  EXPECT_EQ(SdlRowsUploaded(), 13);
  ExpectFrameIsTheBitmap();
}

}  // namespace
