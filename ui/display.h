// Display backends: they present the video layer's framebuffer and deliver
// window events and the clock. `sdl` is a real window; `headless` plays a key
// script, keeps a virtual clock and dumps the grid for tests. The backend is
// chosen by ZELKIT_DISPLAY ("sdl" by default, "headless").
#pragma once
#include <cstdint>

// Virtual keys, our own numbering (the letters and digits are their ASCII codes).
enum DisplayKey {
  DK_BACKSPACE = 8, DK_TAB = 9, DK_ENTER = 13, DK_ESC = 27,
  DK_PAGE_UP = 0x21, DK_PAGE_DOWN = 0x22, DK_END = 0x23, DK_HOME = 0x24,
  DK_LEFT = 0x25, DK_UP = 0x26, DK_RIGHT = 0x27, DK_DOWN = 0x28,
  DK_INSERT = 0x2D, DK_DELETE = 0x2E,
  DK_0 = '0', DK_9 = '9', DK_A = 'A', DK_Z = 'Z',
  DK_F1 = 0x70, DK_F10 = 0x79, DK_F11 = 0x7A, DK_F12 = 0x7B,
  DK_COUNT = 0x80,
};

// Modifier bits of a key event; Right Alt (AltGr) is never DM_ALT.
enum DisplayMods { DM_SHIFT = 1, DM_ALT = 2, DM_CTRL = 4 };

enum DisplayEventKind {
  DE_KEY_DOWN = 1,   // key, mods
  DE_TEXT,           // text: one typed character, UTF-8 (or one byte of the keyboard's code page)
  DE_RESIZE,         // width, height: the new client size in pixels
  DE_MAXIMISE,       // the operator maximised or restored the window
  DE_FOCUS_IN,
  DE_FOCUS_OUT,
  DE_EXPOSE,
  DE_QUIT,           // close box; the program ignores it
};

struct DisplayEvent {
  int kind;
  int key;
  int mods;
  char text[8];
  int width, height;
};

// What the video layer hands over to be shown: the 8-bit bitmap, its colour
// table and where the grid lies in the client area (the rest is black).
// `changedRows` flags, one a pixel row, the rows drawn since the last frame
// (a new colour table or font flags them all); NULL means every row.
struct DisplayFrame {
  const uint8_t* pixels;
  int stride, width, height;
  const uint8_t* palette;   // 256 x R, G, B
  int left, top;
  const uint8_t* changedRows;
};

struct DisplayBackend {
  const char* name;
  int (*open)(int clientWidth, int clientHeight);   // 0, or -1 when no display can be opened
  void (*close)();
  void (*show)();
  void (*present)(const DisplayFrame* frame);
  int (*poll)(DisplayEvent* event);                 // 1 when an event was taken, never blocks
  // Blocks until an event may have arrived or the monotonic time `timerDue`
  // (the next timer) or `waitEnd` (the end of a bounded wait) passes; -1: none.
  // `keyWanted` is set while the program waits for a key.
  void (*wait)(int64_t timerDue, int64_t waitEnd, int keyWanted);
  int64_t (*nowMs)();
  void (*setClientSize)(int width, int height);
  void (*metrics)(int* clientWidth, int* clientHeight, int* frameWidth, int* frameHeight);
  void (*setMaximised)(int maximised);
  void (*infoBox)(const char* title, const char* text);   // a system box, texts in the system's set
};

// The backend in use, chosen on first call from ZELKIT_DISPLAY.
DisplayBackend* DisplayCurrent();
void DisplaySelect(DisplayBackend* backend);   // tests switch backends
DisplayBackend* DisplaySdl();
DisplayBackend* DisplayHeadless();
// What the SDL display sent to its window: the pixel rows its last present
// converted and uploaded, and the whole frame as it holds it (0xAARRGGBB,
// `width` a row), for tests.
int SdlRowsUploaded();
const uint32_t* SdlFrameHeld(int* width, int* height);
// SDL's modifier state as DisplayMods (Right Alt is AltGr, not Alt).
int DisplayModsFromSdl(int sdlMods);

// Headless control. The script (ZELKIT_KEYS unless set here) is text to type
// with tokens in braces: {ESC} {ENTER} {TAB} {BS} {UP} {DOWN} {LEFT} {RIGHT}
// {HOME} {END} {PGUP} {PGDN} {INS} {DEL} {F1}..{F12} {SPACE}, any of them or a
// letter or digit after SHIFT+, CTRL+ or ALT+ ({ALT+A}, {SHIFT+TAB},
// {CTRL+SHIFT+LEFT}), {ALTGR+a} (AltGr with a letter of the Polish layout),
// {WAIT n} (n milliseconds pass before the next key), {RESIZE WxH} (the
// client area becomes W x H pixels), {HOLD} (the display waits in real time,
// up to a minute, for a signal that asks the program to end, after saying
// "headless display: holding for a signal" on stderr, so a test can signal it
// at a known screen) and {{ for a brace. Line breaks are
// ignored. One key is released each time the program blocks in its key wait.
int HeadlessSetScript(const char* script);   // 0, or -1 with a message on stderr for a bad token
int HeadlessKeysLeft();
// Calls of the backend's poll so far (benchmarks and tests count how often a
// long job looks at the display).
long HeadlessPollCount();
// Called when the script has ended while the program waits for a key; the
// default writes the last screen to stderr and ZELKIT_DUMP and exits with 3.
void HeadlessOnExhausted(void (*handler)());
void HeadlessSetClientSize(int width, int height);   // before the video starts
// The text of the last system box the headless display was asked to show.
const char* HeadlessLastInfoBox();
// Each time the program waits for a key, and when the display closes, the
// grid is written to ZELKIT_DUMP and the framebuffer to ZELKIT_IMAGE (binary
// PPM) when those are set.
// The grid as text: one UTF-8 line per row, an empty line, then one line per
// row of attributes as two hex digits a cell.
void HeadlessDumpTo(const char* path);
