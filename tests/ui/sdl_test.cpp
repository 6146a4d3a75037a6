#include <cstdlib>
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
  DisplayFrame frame{pixels.data(), 640, 640, 480, palette.data(), 0, 0};
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

}  // namespace
