#include "ui/desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>
#include "env/session/environment.h"
#include "env/memory.h"
#include "env/messages.h"
#include "platform/byte_order.h"
#include "platform/clock.h"
#include "ui/display.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

DesktopRecord Desktop = {
    .rows = 30, .cols = 80, .cellHeight = 16, .cellWidth = 8,
    .glyphs = nullptr, .itemPool = nullptr, .windowPool = nullptr, .getPool = nullptr, .curWindow = nullptr,
    .cells = nullptr,
    .exitKey1 = 27, .exitKey2 = 3, .firstWindow = -1, .topWindow = -1, .curHandle = -1,
    .caretTimer = 0, .menuLevel = 0, .restart = 0, .itemRow = 0, .itemCol = 0, .barRow = 24, .barCol = 0,
    .insertMode = 0, .curGet = 0, .editBuffer = nullptr, .font = -1, .caretShape = 0,
    .caretCellRow = 0, .caretCellCol = 0, .caretHidden = -1, .caretDrawn = 0,
};

namespace {

const uint8_t kColourPalette[16][3] = {
    {0, 0, 0},      {0, 0, 168},    {0, 168, 0},    {0, 168, 168},  {168, 0, 0},    {168, 0, 168},
    {168, 84, 0},   {168, 168, 168}, {84, 84, 84},  {84, 84, 252},  {84, 252, 84},  {84, 252, 252},
    {252, 84, 84},  {208, 208, 168}, {252, 252, 84}, {252, 252, 252},
};
const uint8_t kGreyPalette[16] = {0, 20, 120, 0, 60, 60, 0, 120, 48, 152, 180, 0, 180, 180, 200, 248};

struct FontInfo {
  int resource, width, height;
};
// Font number 0..5.
const FontInfo kFonts[6] = {{3, 8, 16}, {1, 8, 16}, {2, 8, 16}, {4, 8, 13}, {5, 10, 20}, {6, 12, 24}};

int16_t FontRes1() { return 1; }
int16_t FontRes2() { return 2; }
int16_t FontRes3() { return 3; }
int16_t FontRes4() { return 4; }
int16_t FontRes5() { return 5; }
int16_t FontRes6() { return 6; }
const ResIdRoutine kFontRoutines[7] = {nullptr, FontRes1, FontRes2, FontRes3, FontRes4, FontRes5, FontRes6};

// Unset cells are drawn as a blank in 4 on 10.
constexpr int kUnsetAttr = 0xA4;

struct Video {
  int pendingRows = 30, pendingCols = 80;
  int blinkTicks = 0;
  int fg = 7, bg = 0;
  bool opaque = true;
  std::vector<uint8_t> pixels;
  int stride = 0, width = 0, height = 0;
  uint8_t palette[256 * 3] = {};
  bool bitmap = false;
  bool dirty = false;                 // the window needs a present
  std::vector<uint8_t> changedRows;   // a flag a pixel row drawn since the last present
  bool displayOpen = false;
};
Video video;

Environment* Env() { return EnvCurrent(); }

int BytesPerRow() { return (Desktop.cellWidth + 7) / 8; }

void MarkAllRowsChanged() {
  std::fill(video.changedRows.begin(), video.changedRows.end(), 1);
  video.dirty = true;
}

// Every pixel changes colour: the whole frame goes to the window again.
void SetVariantPalette() {
  MarkAllRowsChanged();
  std::memset(video.palette, 0, sizeof video.palette);
  bool colour = !Env() || Env()->colourVariant == 'T';
  for (int i = 0; i < 16; i++)
    for (int c = 0; c < 3; c++) video.palette[i * 3 + c] = colour ? kColourPalette[i][c] : kGreyPalette[i];
}

// Clips a cell rectangle to the grid; false when nothing is left.
bool ClipRect(int* col, int* row, int* width, int* height) {
  if (*col < 0) {
    *width += *col;
    *col = 0;
  }
  if (*row < 0) {
    *height += *row;
    *row = 0;
  }
  *width = std::min(*width, Desktop.cols - *col);
  *height = std::min(*height, Desktop.rows - *row);
  return *width > 0 && *height > 0;
}

bool CellsUsable() { return Desktop.cells != nullptr; }

// Draws `count` characters at a cell in the current colours.
void ImageDrawText(int col, int row, const unsigned char* text, int count) {
  if (!video.bitmap || !Desktop.glyphs) return;
  int cw = Desktop.cellWidth, ch = Desktop.cellHeight, bpr = BytesPerRow();
  for (int i = 0; (count < 0 || i < count) && text[i]; i++) {
    int x0 = (col + i) * cw, y0 = row * ch;
    if (col + i >= Desktop.cols || x0 + cw > video.width || y0 + ch > video.height) break;
    const unsigned char* glyph = Desktop.glyphs + text[i] * ch * bpr;
    for (int y = 0; y < ch; y++) {
      uint8_t* px = &video.pixels[(y0 + y) * video.stride + x0];
      const unsigned char* bits = glyph + y * bpr;
      for (int x = 0; x < cw; x++) {
        bool set = bits[x >> 3] & (0x80 >> (x & 7));
        if (set)
          px[x] = static_cast<uint8_t>(video.fg);
        else if (video.opaque)
          px[x] = static_cast<uint8_t>(video.bg);
      }
    }
  }
}

void FillPixels(int col, int row, int width, int height, int colour) {
  if (!video.bitmap) return;
  int cw = Desktop.cellWidth, ch = Desktop.cellHeight;
  for (int y = row * ch; y < (row + height) * ch && y < video.height; y++)
    std::memset(&video.pixels[y * video.stride + col * cw], colour,
                std::min(width * cw, video.width - col * cw));
}

// Exclusive-or of the caret colour over the caret's pixels.
void InvertCaret() {
  if (!video.bitmap) return;
  int cw = Desktop.cellWidth, ch = Desktop.cellHeight;
  int x0 = Desktop.caretCellCol * cw, y0 = Desktop.caretCellRow * ch;
  int cells = Desktop.caretShape >= 2 ? 2 : 1;
  auto xorPixel = [](int x, int y) {
    if (x >= 0 && y >= 0 && x < video.width && y < video.height) video.pixels[y * video.stride + x] ^= CARET_COLOUR;
  };
  int w = cw * cells;
  for (int y = 0; y < ch; y++)
    for (int x = 0; x < w; x++) {
      bool on;
      if (Desktop.caretShape == 0)
        on = y >= ch - 2;
      else if (Desktop.caretShape == 1)
        on = x < cw;
      else
        on = y < 2 || y >= ch - 2 || x < 2 || x >= w - 2;
      if (on) xorPixel(x0 + x, y0 + y);
    }
  ImageInvalidate(Desktop.caretCellCol, Desktop.caretCellRow, cells, 1);
}

void DrawCaret() {
  InvertCaret();
  Desktop.caretDrawn ^= 1;
}

bool CaretPositionSet() { return Env() && Env()->caretRow >= 0 && Env()->caretColumn >= 0; }

// Opens the program's window when needed and records its size.
void OpenDisplay() {
  DisplayBackend* display = DisplayCurrent();
  if (!video.displayOpen)
    video.displayOpen = display->open(Desktop.cols * Desktop.cellWidth, Desktop.rows * Desktop.cellHeight) == 0;
  if (!video.displayOpen) return;
  int cw, chh, fw, fh;
  display->metrics(&cw, &chh, &fw, &fh);
  EnvSaveWindowMetrics(cw + fw, chh + fh, cw, chh);
}

void SetSpares() {
  Environment* env = Env();
  if (!env) return;
  env->gridSpareX = std::max(static_cast<int>(env->clientWidth) - Desktop.cols * Desktop.cellWidth, 0);
  env->gridSpareY = std::max(static_cast<int>(env->clientHeight) - Desktop.rows * Desktop.cellHeight, 0);
}

}  // namespace

// ---- fonts and bitmap

void ScreenLoadFont(int font) {
  if (font < 1 || font > 5) font = 0;
  const FontInfo& info = kFonts[font];
  Desktop.cellWidth = info.width;
  Desktop.cellHeight = info.height;
  Environment* env = Env();
  if (env) {
    unsigned bytes = std::min(info.height * ((info.width + 7) / 8) * 256, SCREEN_FONT_BYTES);
    EnvLoadResObj(env->libraryInstance, env->screenFont, bytes, kFontRoutines[info.resource]);
    Desktop.glyphs = env->screenFont;
  }
  Desktop.font = font;
  DesktopSetCaretShape(1);
}

// Also builds the bitmap after a video start without one, so it runs for the
// font already loaded too.
void ScreenSwitchFont(int font) {
  int before = Desktop.font;
  if (font != Desktop.font) ScreenLoadFont(font < 0 ? Desktop.font + 1 : font);
  ImageDestroy();
  ImageCreate(Desktop.cols, Desktop.rows);
  if (Desktop.font != before) EnvFitWindowToGrid();
  if (!Desktop.restart) ImageRepaint(0, 0, Desktop.cols, Desktop.rows);
}

void ImageCreate(int cols, int rows) {
  video.width = cols * Desktop.cellWidth;
  video.height = rows * Desktop.cellHeight;
  video.stride = (video.width + 3) & ~3;
  video.pixels.assign(static_cast<size_t>(video.stride) * video.height, 0);
  video.changedRows.assign(static_cast<size_t>(video.height), 1);
  SetVariantPalette();
  video.bitmap = true;
  Desktop.caretDrawn = 0;
}

void ImageDestroy() {
  video.pixels.clear();
  video.pixels.shrink_to_fit();
  video.changedRows.clear();
  video.bitmap = false;
  video.width = video.height = video.stride = 0;
  Desktop.caretDrawn = 0;
}

void EnvFitWindowToGrid() {
  OpenDisplay();
  if (!video.displayOpen) return;
  DisplayBackend* display = DisplayCurrent();
  Environment* env = Env();
  uint32_t oldW = env ? env->clientWidth : 0, oldH = env ? env->clientHeight : 0;
  display->setMaximised(0);
  int w = Desktop.cols * Desktop.cellWidth, h = Desktop.rows * Desktop.cellHeight;
  display->setClientSize(w, h);
  int cw, chh, fw, fh;
  display->metrics(&cw, &chh, &fw, &fh);
  // The backend reports a real resize as an event; the same size gives none.
  // A window the screen cannot hold came out smaller: its grid is laid out
  // at once, as a size message would.
  bool same = env && oldW == static_cast<uint32_t>(cw) && oldH == static_cast<uint32_t>(chh);
  if (!env || same || cw < w || chh < h) DesktopOnSize(cw, chh);
}

// ---- video start and stop

int w4init_video(int create) {
  if (Desktop.font < 0) ScreenLoadFont(0);
  OpenDisplay();
  if (create) {
    ImageCreate(Desktop.cols, Desktop.rows);
    u4free(Desktop.cells);
    Desktop.cells = static_cast<uint16_t*>(u4alloc(static_cast<size_t>(Desktop.rows) * Desktop.cols * 2));
    if (!Desktop.cells) return -1;
    w4cursor(-1, -1);
    Desktop.caretTimer = AllocTimer(TIMER_PERIODIC, 50, DesktopCaretTick, 0);
    if (!Desktop.windowPool && SlotPoolCreate(&Desktop.windowPool, 10, 5) < 0) return -1;
    ImageClear(0, 0, Desktop.cols, Desktop.rows, 0);
    UiInstallScreenHook();
  }
  video.pendingRows = Desktop.rows;
  video.pendingCols = Desktop.cols;
  SetSpares();
  return 0;
}

void w4close_video(int deleteBitmap) {
  if (Desktop.caretTimer) FreeTimer(&Desktop.caretTimer);
  if (deleteBitmap) ImageDestroy();
  u4free(Desktop.cells);
  Desktop.cells = nullptr;
}

// ---- cells

namespace {

// Puts `count` cells from `col` on, clipped to the grid; charAt(i) is the i-th character.
template <class CharAt>
int PutCells(int col, int row, int count, int attr, CharAt charAt) {
  if (!CellsUsable() || row < 0 || row >= Desktop.rows) return col + count;
  for (int i = 0; i < count; i++) {
    int c = col + i;
    if (c < 0) continue;
    if (c >= Desktop.cols) break;
    Desktop.cells[row * Desktop.cols + c] = static_cast<uint16_t>((charAt(i) & 0xFF) | (attr & 0xFF) << 8);
  }
  return col + count;
}

}  // namespace

int ImagePutText(int col, int row, const char* text, int count, int attr) {
  if (!text) return col;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  return PutCells(col, row, count, attr, [text](int i) { return static_cast<unsigned char>(text[i]); });
}

int ImagePutText(int col, int row, int character, int count, int attr) {
  return PutCells(col, row, count, attr, [character](int) { return character; });
}

void ImageRepaint(int col, int row, int width, int height) {
  if (!CellsUsable() || !ClipRect(&col, &row, &width, &height)) return;
  std::vector<unsigned char> run(static_cast<size_t>(width) + 1);
  for (int r = row; r < row + height; r++) {
    bool caretHere = Desktop.caretCellRow == r;
    if (caretHere) DesktopHideCaret();
    int c = col;
    while (c < col + width) {
      uint16_t cell = Desktop.cells[r * Desktop.cols + c];
      int ch = cell & 0xFF, attr = cell >> 8;
      int n = 0;
      if (ch == 0) {
        run[n++] = ' ';
        attr = kUnsetAttr;
      } else {
        while (c + n < col + width) {
          uint16_t next = Desktop.cells[r * Desktop.cols + c + n];
          if ((next & 0xFF) == 0 || (next >> 8) != attr) break;
          run[n++] = static_cast<unsigned char>(next & 0xFF);
        }
      }
      run[n] = 0;
      video.fg = attr & 0x0F;
      video.bg = attr >> 4;
      video.opaque = true;
      ImageDrawText(c, r, run.data(), n);
      c += n;
    }
    if (caretHere) DesktopShowCaret();
  }
  ImageInvalidate(col, row, width, height);
}

void ImageClear(int col, int row, int width, int height, int attr) {
  if (col + width > Desktop.cols) return;
  if (!CellsUsable() || !ClipRect(&col, &row, &width, &height)) return;
  uint16_t blank = static_cast<uint16_t>(' ' | (attr & 0xFF) << 8);
  for (int r = row; r < row + height; r++)
    std::fill_n(&Desktop.cells[r * Desktop.cols + col], width, blank);
  DesktopHideCaret();
  FillPixels(col, row, width, height, (attr >> 4) & 0x0F);
  DesktopShowCaret();
  ImageInvalidate(col, row, width, height);
}

void ImageScroll(int col, int row, int width, int height, int direction) {
  if (direction == 0 || !CellsUsable() || !ClipRect(&col, &row, &width, &height) || height <= 1) return;
  DesktopHideCaret();
  int cols = Desktop.cols, ch = Desktop.cellHeight, cw = Desktop.cellWidth;
  auto moveRow = [&](int to, int from) {
    std::memmove(&Desktop.cells[to * cols + col], &Desktop.cells[from * cols + col], width * 2);
    if (!video.bitmap) return;
    for (int y = 0; y < ch; y++)
      std::memmove(&video.pixels[(to * ch + y) * video.stride + col * cw],
                   &video.pixels[(from * ch + y) * video.stride + col * cw], width * cw);
  };
  if (direction > 0)
    for (int r = row; r < row + height - 1; r++) moveRow(r, r + 1);
  else
    for (int r = row + height - 1; r > row; r--) moveRow(r, r - 1);
  DesktopShowCaret();
  ImageInvalidate(col, row, width, height);
}

void ImageInvalidate(int col, int row, int width, int height) {
  if (!ClipRect(&col, &row, &width, &height)) return;
  int first = row * Desktop.cellHeight, end = std::min((row + height) * Desktop.cellHeight, video.height);
  if (first < end) std::fill(video.changedRows.begin() + first, video.changedRows.begin() + end, 1);
  video.dirty = true;
}

void ImageShade(int row, int col, int count, int attr) {
  Window4* w = Desktop.curWindow;
  if (!w || !Desktop.glyphs) return;
  int r = w->row + row, c = w->col + col, height = 1;
  if (!ClipRect(&c, &r, &count, &height)) return;
  DesktopHideCaret();
  video.fg = (attr >> 4) & 0x0F;
  video.opaque = false;
  std::vector<unsigned char> shade(static_cast<size_t>(count), SHADE_CHAR);
  shade.push_back(0);
  ImageDrawText(c, r, shade.data(), count);
  video.opaque = true;
  DesktopShowCaret();
  ImageInvalidate(c, r, count, 1);
}

void DesktopPaint() {
  if (!video.bitmap || !video.displayOpen) return;
  Environment* env = Env();
  DisplayFrame frame{video.pixels.data(), video.stride, video.width,  video.height,
                     video.palette,       env ? env->gridSpareX / 2 : 0, env ? env->gridSpareY / 2 : 0,
                     video.changedRows.data()};
  DisplayCurrent()->present(&frame);
  std::fill(video.changedRows.begin(), video.changedRows.end(), 0);
  video.dirty = false;
}

void DesktopFlush() {
  if (video.dirty) DesktopPaint();
}

// ---- caret

void w4cursor(int row, int col) {
  Environment* env = Env();
  if (!env) return;
  if (Desktop.caretDrawn) DrawCaret();
  env->caretRow = row;
  env->caretColumn = col;
  if (row < 0 || col < 0) {
    Desktop.caretHidden = -1;
    return;
  }
  Window4* w = Desktop.curWindow;
  Desktop.caretCellRow = static_cast<int16_t>((w ? w->row : 0) + row);
  Desktop.caretCellCol = static_cast<int16_t>((w ? w->col : 0) + col);
  video.blinkTicks = 0;
  DrawCaret();
  Desktop.caretHidden = 0;
}

void DesktopHideCaret() {
  if (!CaretPositionSet()) return;
  Desktop.caretHidden--;
  if (Desktop.caretDrawn) DrawCaret();
}

void DesktopShowCaret() {
  if (Desktop.caretHidden < 0 && CaretPositionSet()) {
    if (++Desktop.caretHidden == 0 && !Desktop.caretDrawn) DrawCaret();
  }
}

void DesktopSetCaretShape(int shape) {
  DesktopHideCaret();
  Desktop.caretShape = static_cast<uint8_t>(shape);
  DesktopShowCaret();
}

void DesktopCaretTick(int32_t) {
  if (Desktop.caretHidden != 0) return;
  if (++video.blinkTicks >= 4) {
    video.blinkTicks = 0;
    DrawCaret();
  }
}

// ---- logo

void ShowLogo(ResIdRoutine resource, int size) {
  if (!video.bitmap || size <= 128 + 769) return;
  std::vector<unsigned char> file(static_cast<size_t>(size));
  EnvLoadResObj(EnvActiveInstance(), file.data(), static_cast<unsigned>(size), resource);
  int width = GetLe16(&file[66]), height = GetLe16(&file[10]) + 1;
  if (width > video.width) return;
  height = std::min(height, video.height);
  std::fill(video.pixels.begin(), video.pixels.end(), file[129]);
  const unsigned char* pal = &file[size - 768];
  std::memcpy(video.palette, pal, 768);
  int x0 = (video.width - width) / 2, y0 = (video.height - height) / 2;
  size_t at = 128, end = static_cast<size_t>(size) - 769;
  for (int y = 0; y < height; y++) {
    int x = 0;
    while (x < width && at < end) {
      int b = file[at++], n = 1;
      if (b >= 192) {
        n = b - 192;
        b = at < end ? file[at++] : 0;
      }
      for (; n > 0 && x < width; n--, x++) video.pixels[(y0 + y) * video.stride + x0 + x] = static_cast<uint8_t>(b);
    }
  }
  int64_t t0 = PlatMonotonicMs();
  ImageInvalidate(0, 0, Desktop.cols, Desktop.rows);
  DesktopFlush();
  int64_t t = PlatMonotonicMs() - t0;
  WaitFor(1, 5000);
  clr_key_buf();
  int step = std::max<int>(1, static_cast<int>((t * 256 + 650) / 1300));
  if (step <= 5) {
    for (int i = 0; i < 256 / step; i++) {
      for (int k = 0; k < 768; k++) video.palette[k] = static_cast<uint8_t>(std::max(0, video.palette[k] - step));
      ImageInvalidate(0, 0, Desktop.cols, Desktop.rows);
      DesktopFlush();
      if (KeyPressed()) {
        g4char();
        break;
      }
    }
  }
  std::fill(video.pixels.begin(), video.pixels.end(), 0);
  SetVariantPalette();
}

// ---- window size

int DesktopSnapClientSize(int* clientWidth, int* clientHeight) {
  if (Desktop.menuLevel >= 2) {
    DesktopRefuseResize();
    return 0;
  }
  int rows = std::max(GRID_MIN_ROWS, *clientHeight / Desktop.cellHeight);
  int cols = std::max(GRID_MIN_COLS, *clientWidth / Desktop.cellWidth);
  *clientHeight = rows * Desktop.cellHeight;
  *clientWidth = cols * Desktop.cellWidth;
  return 1;
}

int DesktopKeepsGrid(int clientWidth, int clientHeight) {
  return Desktop.cellWidth > 0 && Desktop.cellHeight > 0 &&
         std::max(GRID_MIN_COLS, clientWidth / Desktop.cellWidth) == Desktop.cols &&
         std::max(GRID_MIN_ROWS, clientHeight / Desktop.cellHeight) == Desktop.rows;
}

void DesktopRefuseResize() {
  DisplayCurrent()->infoBox("Zelmor WIN", "Zmiana rozmiaru pulpitu jest mo\xA7liwa tylko na poziomie menu g\x92\xA2wnego.");
}

void DesktopOnSize(int clientWidth, int clientHeight) {
  Environment* env = Env();
  if (!env) return;
  int cw, chh, fw, fh;
  DisplayCurrent()->metrics(&cw, &chh, &fw, &fh);
  EnvSaveWindowMetrics(clientWidth + fw, clientHeight + fh, clientWidth, clientHeight);
  video.pendingCols = std::max(clientWidth / Desktop.cellWidth, GRID_MIN_COLS);
  video.pendingRows = std::max(clientHeight / Desktop.cellHeight, GRID_MIN_ROWS);
  if ((video.pendingCols != Desktop.cols || video.pendingRows != Desktop.rows) && Desktop.menuLevel == 1) {
    KeySetReady(KEY_ESC);
    Desktop.restart = 1;
  }
  SetSpares();
  video.dirty = true;
}

void DesktopApplyPendingSize() {
  // The cells were laid out for the old grid: nothing is drawn into them any
  // more (the program tears its windows down), w4init_video makes new ones.
  if (video.pendingCols != Desktop.cols || video.pendingRows != Desktop.rows) {
    u4free(Desktop.cells);
    Desktop.cells = nullptr;
  }
  Desktop.cols = video.pendingCols;
  Desktop.rows = video.pendingRows;
  SetSpares();
  video.dirty = true;
}


// ---- the bitmap seen from outside

const uint8_t* DesktopPixels(int* stride, int* width, int* height) {
  *stride = video.stride;
  *width = video.width;
  *height = video.height;
  return video.bitmap ? video.pixels.data() : nullptr;
}

const uint8_t* DesktopPalette() { return video.palette; }

int DesktopWriteImage(const char* path) {
  if (!video.bitmap) return -1;
  FILE* f = std::fopen(path, "wb");
  if (!f) return -1;
  std::fprintf(f, "P6\n%d %d\n255\n", video.width, video.height);
  std::vector<uint8_t> line(static_cast<size_t>(video.width) * 3);
  for (int y = 0; y < video.height; y++) {
    for (int x = 0; x < video.width; x++)
      std::memcpy(&line[x * 3], &video.palette[video.pixels[y * video.stride + x] * 3], 3);
    std::fwrite(line.data(), 1, line.size(), f);
  }
  return std::fclose(f) == 0 ? 0 : -1;
}
