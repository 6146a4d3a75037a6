// The SDL display: a real, resizable window showing the framebuffer scaled
// 1:1, with the keyboard, text input and window events turned into ours.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "env/code_pages.h"
#include "platform/clock.h"
#include "platform/screen_hook.h"
#include "ui/display.h"

namespace {

struct Sdl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureW = 0, textureH = 0;
  std::vector<uint32_t> rgb;   // the frame as the texture holds it
  int rowsUploaded = 0;
  bool suppressText = false;   // Alt or Ctrl with a key types nothing
  bool maximised = false;
  bool ownStateChange = false; // the next maximise or restore was asked by the program
  bool minimised = false;      // sizes reported meanwhile are no resize
};
Sdl sdl;

// With Num Lock on the keypad types digits (they arrive as text).
int KeyOf(SDL_Keycode k, int sdlMods) {
  if ((sdlMods & KMOD_NUM) && k >= SDLK_KP_1 && k <= SDLK_KP_PERIOD) return 0;
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return DK_F1 + (k - SDLK_F1);
  switch (k) {
    case SDLK_BACKSPACE: return DK_BACKSPACE;
    case SDLK_TAB: return DK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return DK_ENTER;
    case SDLK_ESCAPE: return DK_ESC;
    case SDLK_PAGEUP: case SDLK_KP_9: return DK_PAGE_UP;
    case SDLK_PAGEDOWN: case SDLK_KP_3: return DK_PAGE_DOWN;
    case SDLK_END: case SDLK_KP_1: return DK_END;
    case SDLK_HOME: case SDLK_KP_7: return DK_HOME;
    case SDLK_LEFT: case SDLK_KP_4: return DK_LEFT;
    case SDLK_UP: case SDLK_KP_8: return DK_UP;
    case SDLK_RIGHT: case SDLK_KP_6: return DK_RIGHT;
    case SDLK_DOWN: case SDLK_KP_2: return DK_DOWN;
    case SDLK_INSERT: case SDLK_KP_0: return DK_INSERT;
    case SDLK_DELETE: case SDLK_KP_PERIOD: return DK_DELETE;
    default: return 0;
  }
}

}  // namespace

// Right Alt is AltGr: it types letters and is never Alt.
int DisplayModsFromSdl(int sdlMods) {
  int mods = 0;
  if (sdlMods & KMOD_SHIFT) mods |= DM_SHIFT;
  if (sdlMods & KMOD_CTRL) mods |= DM_CTRL;
  if ((sdlMods & KMOD_LALT) && !(sdlMods & (KMOD_RALT | KMOD_MODE))) mods |= DM_ALT;
  return mods;
}

namespace {

constexpr char kNoDisplay[] =
    "No display found: start the program in a graphical session, or set ZELKIT_DISPLAY=headless to run it from "
    "scripts.";

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// Without a display SDL falls back to a driver that shows nothing, and the
// program would wait for keys nobody can type. A driver asked for by name
// (SDL_VIDEODRIVER, as the tests do) is meant.
bool NoDisplay(bool started) {
  if (Set("SDL_VIDEODRIVER")) return false;
  if (!started) return !Set("DISPLAY") && !Set("WAYLAND_DISPLAY");
  const char* driver = SDL_GetCurrentVideoDriver();
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

int Open(int clientWidth, int clientHeight) {
  if (sdl.window) return 0;
  // SIGINT and SIGTERM keep ending the program; the window's close box does not.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (NoDisplay(false)) ScreenFatalStop(1, kNoDisplay);
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return -1;
  }
  if (NoDisplay(true)) {
    SDL_Quit();
    ScreenFatalStop(1, kNoDisplay);
  }
  sdl.window = SDL_CreateWindow("Zelmor WIN KORBEL", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                                clientHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!sdl.window) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    SDL_Quit();
    return -1;
  }
  sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
  if (!sdl.renderer) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
  if (!sdl.renderer) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    SDL_DestroyWindow(sdl.window);
    sdl.window = nullptr;
    SDL_Quit();
    return -1;
  }
  SDL_StartTextInput();
  return 0;
}

void Close() {
  if (!sdl.window) return;
  if (sdl.texture) SDL_DestroyTexture(sdl.texture);
  SDL_DestroyRenderer(sdl.renderer);
  SDL_DestroyWindow(sdl.window);
  sdl = Sdl();
  SDL_Quit();
}

void Show() {
  if (sdl.window) SDL_ShowWindow(sdl.window);
}

// Only the rows drawn since the last frame are converted through the colour
// table and uploaded: a key changes a few rows, and converting and sending the
// whole frame cost the window ten times the program's own work.
void Present(const DisplayFrame* f) {
  if (!sdl.renderer || f->width <= 0 || f->height <= 0) return;
  bool all = !f->changedRows;
  if (!sdl.texture || sdl.textureW != f->width || sdl.textureH != f->height) {
    if (sdl.texture) SDL_DestroyTexture(sdl.texture);
    sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, f->width,
                                    f->height);
    if (!sdl.texture) return;
    sdl.textureW = f->width;
    sdl.textureH = f->height;
    sdl.rgb.assign(static_cast<size_t>(f->width) * f->height, 0);
    all = true;
  }
  uint32_t lut[256];
  for (int i = 0; i < 256; i++)
    lut[i] = 0xFF000000u | f->palette[i * 3] << 16 | f->palette[i * 3 + 1] << 8 | f->palette[i * 3 + 2];
  sdl.rowsUploaded = 0;
  for (int y = 0; y < f->height;) {
    if (!all && !f->changedRows[y]) {
      y++;
      continue;
    }
    int end = y + 1;
    while (end < f->height && (all || f->changedRows[end])) end++;
    for (int row = y; row < end; row++) {
      const uint8_t* from = f->pixels + static_cast<size_t>(row) * f->stride;
      uint32_t* to = &sdl.rgb[static_cast<size_t>(row) * f->width];
      for (int x = 0; x < f->width; x++) to[x] = lut[from[x]];
    }
    SDL_Rect band{0, y, f->width, end - y};
    SDL_UpdateTexture(sdl.texture, &band, &sdl.rgb[static_cast<size_t>(y) * f->width], f->width * 4);
    sdl.rowsUploaded += end - y;
    y = end;
  }
  SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl.renderer);
  SDL_Rect to{f->left, f->top, f->width, f->height};
  SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &to);
  SDL_RenderPresent(sdl.renderer);
}

int Translate(const SDL_Event& e, DisplayEvent* out) {
  *out = DisplayEvent{};
  switch (e.type) {
    case SDL_KEYDOWN: {
      int mods = DisplayModsFromSdl(e.key.keysym.mod);
      sdl.suppressText = (mods & (DM_ALT | DM_CTRL)) != 0;
      int key = KeyOf(e.key.keysym.sym, e.key.keysym.mod);
      if (!key) return 0;
      out->kind = DE_KEY_DOWN;
      out->key = key;
      out->mods = mods;
      return 1;
    }
    case SDL_TEXTINPUT:
      if (sdl.suppressText) return 0;
      // One event per character.
      out->kind = DE_TEXT;
      {
        const unsigned char* t = reinterpret_cast<const unsigned char*>(e.text.text);
        size_t len = t[0] >= 0xF0 ? 4 : t[0] >= 0xE0 ? 3 : t[0] >= 0xC0 ? 2 : 1;
        std::memcpy(out->text, t, std::min(len, sizeof out->text - 1));
      }
      return 1;
    case SDL_QUIT:
      out->kind = DE_QUIT;
      return 1;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
          sdl.minimised = true;
          return 0;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (sdl.minimised) return 0;
          out->kind = DE_RESIZE;
          out->width = e.window.data1;
          out->height = e.window.data2;
          return 1;
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED: {
          // Only the operator's maximise, or restore from maximised, is reported.
          bool maximised = e.window.event == SDL_WINDOWEVENT_MAXIMIZED;
          if (sdl.minimised && !maximised) {
            // Back from the task bar in the state it had: only a repaint.
            sdl.minimised = false;
            out->kind = DE_EXPOSE;
            return 1;
          }
          sdl.minimised = false;
          bool changed = maximised != sdl.maximised;
          sdl.maximised = maximised;
          if (!changed || sdl.ownStateChange) {
            sdl.ownStateChange = false;
            return 0;
          }
          out->kind = DE_MAXIMISE;
          out->width = maximised ? 1 : 0;
          return 1;
        }
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          out->kind = DE_FOCUS_IN;
          return 1;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          out->kind = DE_FOCUS_OUT;
          return 1;
        case SDL_WINDOWEVENT_EXPOSED:
          out->kind = DE_EXPOSE;
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

int Poll(DisplayEvent* event) {
  if (!sdl.window) return 0;
  SDL_Event e;
  while (SDL_PollEvent(&e))
    if (Translate(e, event)) return 1;
  return 0;
}

void Wait(int64_t timerDue, int64_t waitEnd, int) {
  if (!sdl.window) return;
  int64_t target = -1;
  for (int64_t t : {timerDue, waitEnd})
    if (t >= 0 && (target < 0 || t < target)) target = t;
  int timeout = target < 0 ? 1000 : static_cast<int>(std::max<int64_t>(0, target - PlatMonotonicMs()));
  SDL_WaitEventTimeout(nullptr, timeout);
}

int64_t NowMs() { return PlatMonotonicMs(); }

// At most the usable area of the window's screen, without the frame.
void SetClientSize(int width, int height) {
  if (!sdl.window) return;
  SDL_Rect usable;
  int display = SDL_GetWindowDisplayIndex(sdl.window);
  if (display >= 0 && SDL_GetDisplayUsableBounds(display, &usable) == 0 && usable.w > 0 && usable.h > 0) {
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right);
    width = std::min(width, std::max(1, usable.w - left - right));
    height = std::min(height, std::max(1, usable.h - top - bottom));
    // A window grown past the screen's edge is moved back onto it.
    int x = 0, y = 0;
    SDL_GetWindowPosition(sdl.window, &x, &y);
    int fitX = std::max(usable.x + left, std::min(x, usable.x + usable.w - right - width));
    int fitY = std::max(usable.y + top, std::min(y, usable.y + usable.h - bottom - height));
    if (fitX != x || fitY != y) SDL_SetWindowPosition(sdl.window, fitX, fitY);
  }
  SDL_SetWindowSize(sdl.window, width, height);
}

void Metrics(int* clientWidth, int* clientHeight, int* frameWidth, int* frameHeight) {
  *clientWidth = *clientHeight = *frameWidth = *frameHeight = 0;
  if (!sdl.window) return;
  SDL_GetWindowSize(sdl.window, clientWidth, clientHeight);
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(sdl.window, &top, &left, &bottom, &right) == 0) {
    *frameWidth = left + right;
    *frameHeight = top + bottom;
  }
}

void SetMaximised(int maximised) {
  if (!sdl.window) return;
  bool now = SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_MAXIMIZED;
  if (static_cast<bool>(maximised) == now) return;
  sdl.ownStateChange = true;
  if (maximised)
    SDL_MaximizeWindow(sdl.window);
  else
    SDL_RestoreWindow(sdl.window);
}

void InfoBox(const char* title, const char* text) {
  std::string t = MazToUtf8Text(title ? title : ""), m = MazToUtf8Text(text ? text : "");
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, t.c_str(), m.c_str(), sdl.window) != 0)
    std::fprintf(stderr, "[%s] %s\n", t.c_str(), m.c_str());
}

DisplayBackend backend = {"sdl", Open, Close, Show, Present, Poll, Wait, NowMs, SetClientSize, Metrics,
                          SetMaximised, InfoBox};

}  // namespace

DisplayBackend* DisplaySdl() { return &backend; }

int SdlRowsUploaded() { return sdl.rowsUploaded; }

const uint32_t* SdlFrameHeld(int* width, int* height) {
  *width = sdl.textureW;
  *height = sdl.textureH;
  return sdl.texture ? sdl.rgb.data() : nullptr;
}
