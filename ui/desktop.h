// The desktop: the character grid, its cell buffer, the 8-bit bitmap the
// cells are drawn into with the library's own fonts, the caret, the start-up
// logo and the grid following the size of the program's window.
#pragma once
#include <cstdint>
#include "env/session/environment.h"

struct Window4;
struct Get4;
struct MenuItem4;

// The exported screen record; the main program reads it directly.
struct DesktopRecord {
  int32_t rows;                 // grid rows
  int32_t cols;                 // grid columns
  int32_t cellHeight;           // pixels, from the font
  int32_t cellWidth;
  const unsigned char* glyphs;  // glyph table of the current font
  MenuItem4* itemPool;
  Window4* windowPool;
  Get4* getPool;
  Window4* curWindow;
  uint16_t* cells;              // character in the low byte, attribute in the high byte
  int32_t exitKey1;             // default exit keys of new windows
  int32_t exitKey2;
  int32_t firstWindow;          // start of the window chain
  int32_t topWindow;            // topmost shown window
  int32_t curHandle;
  int32_t caretTimer;           // timer slot of the caret blink
  int32_t menuLevel;            // depth of nested menu loops
  uint8_t restart;              // the grid size changed at the main menu: start the UI again
  int32_t itemRow, itemCol;     // menu item last placed by the menu loop
  int32_t barRow, barCol;       // below the last menu bar
  int32_t insertMode;           // 1 typing inserts, 0 overwrites
  int32_t curGet;
  char* editBuffer;
  int32_t font;                 // loaded screen font, -1 none
  uint8_t caretShape;           // 0 underline, 1 block, 2 frame two cells wide
  int16_t caretCellRow, caretCellCol;
  int16_t caretHidden;          // 0 visible, negative while hidden (nesting)
  int16_t caretDrawn;           // 1 while the caret's pixels are inverted
};

extern DesktopRecord Desktop;

constexpr int GRID_MIN_ROWS = 30;
constexpr int GRID_MIN_COLS = 80;
constexpr int CARET_COLOUR = 15;
constexpr int SHADE_CHAR = 0xB1;

// Video start and stop.
int w4init_video(int create);
void w4close_video(int deleteBitmap);
void w4init_undo();

// Fonts and bitmap.
void ScreenLoadFont(int font);
void ScreenSwitchFont(int font);
void ImageCreate(int cols, int rows);
void ImageDestroy();
// Resizes the program's window to hold the grid exactly, then lays the grid out again.
void EnvFitWindowToGrid();

// Cells, absolute positions. Everything is clipped to the grid.
int ImagePutText(int col, int row, const char* text, int count, int attr);   // count -1: the text's length
int ImagePutText(int col, int row, int character, int count, int attr);
void ImageRepaint(int col, int row, int width, int height);
void ImageClear(int col, int row, int width, int height, int attr);
void ImageScroll(int col, int row, int width, int height, int direction);
void ImageInvalidate(int col, int row, int width, int height);
void ImageShade(int row, int col, int count, int attr);   // relative to the current window
void DesktopPaint();                                      // presents the bitmap

// Caret.
void w4cursor(int row, int col);
void DesktopHideCaret();
void DesktopShowCaret();
void DesktopSetCaretShape(int shape);
void DesktopCaretTick(int32_t user);

// The start-up picture: a 256-colour PCX resource of the program.
void ShowLogo(ResIdRoutine resource, int size);

// Window size. The dragged client size snapped to whole cells (never below
// 80 x 30); returns 0 and leaves the size alone while a nested menu runs.
int DesktopSnapClientSize(int* clientWidth, int* clientHeight);
// 1 when a client of this size holds the grid as it is (a minimise and
// restore, or a frame change): no resize.
int DesktopKeepsGrid(int clientWidth, int clientHeight);
// The window has its new client size: records the pending grid size.
void DesktopOnSize(int clientWidth, int clientHeight);
// Makes the pending grid size current (the key wait calls it while `restart` is set).
void DesktopApplyPendingSize();
// Shows the refusal to resize the desktop outside the main menu.
void DesktopRefuseResize();

// The bitmap as the backends and tests see it.
const uint8_t* DesktopPixels(int* stride, int* width, int* height);
const uint8_t* DesktopPalette();   // 256 x R, G, B
// Writes the bitmap through the palette as a binary PPM; 0 or -1.
int DesktopWriteImage(const char* path);
// Sends the changed bitmap to the display now.
void DesktopFlush();
