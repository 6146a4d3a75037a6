#include "print/page_viewer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "env/code_pages.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/special_char.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int kNormalAttr = 7;
constexpr int kBoldAttr = 15;
constexpr int kCaretUnderline = 0;
constexpr int kCaretBlock = 1;
constexpr int kKeyF6 = 0x4000;
constexpr int kKeyF7 = 0x4100;

enum Direction { kRight, kLeft, kUp, kDown };

// The frame piece of a keypad key and the move that follows it.
bool FramePiece(int key, Direction last, unsigned char* piece, Direction* next) {
  const bool horizontal = last == kLeft || last == kRight;
  const bool vertical = !horizontal;
  switch (key) {
    case '7': *piece = 0xDA; *next = (last == kRight || last == kUp) ? kRight : kDown; return true;
    case '8': *piece = 0xC2; *next = horizontal ? last : kDown; return true;
    case '9': *piece = 0xBF; *next = (last == kRight || last == kDown) ? kDown : kLeft; return true;
    case '4': *piece = 0xC3; *next = vertical ? last : kRight; return true;
    case '5': *piece = 0xC5; *next = last; return true;
    case '6': *piece = 0xB4; *next = vertical ? last : kLeft; return true;
    case '1': *piece = 0xC0; *next = (last == kLeft || last == kUp) ? kUp : kRight; return true;
    case '2': *piece = 0xC1; *next = last == kLeft ? kLeft : kRight; return true;
    case '3': *piece = 0xD9; *next = (last == kRight || last == kUp) ? kUp : kLeft; return true;
    case '-': *piece = 0xC4; *next = last == kLeft ? kLeft : kRight; return true;
    case '/': *piece = 0xB3; *next = vertical ? last : kRight; return true;
    default: return false;
  }
}

bool Blank(char c) { return c == ' ' || c == '\0'; }

struct Viewer {
  char* text;
  char* bold;
  int rows, cols;
  int viewRows, viewCols;   // inside the frame
  int top = 0, left = 0;    // first page row and column shown
  int row = 0, col = 0;     // cursor on the page

  bool Filled(int r, int c) const { return !Blank(text[r * cols + c]) || !Blank(bold[r * cols + c]); }

  void DrawCell(int r, int c) const {
    if (r < top || r >= top + viewRows || c < left || c >= left + viewCols) return;
    const char b = bold[r * cols + c];
    if (!Blank(b))
      w4num_att(r - top, c - left, &b, 1, kBoldAttr);
    else
      w4num_att(r - top, c - left, &text[r * cols + c], 1, kNormalAttr);
  }
  void Draw() const {
    for (int r = 0; r < viewRows && top + r < rows; r++) {
      const int n = std::min(viewCols, cols - left);
      w4num_att(r, 0, text + (top + r) * cols + left, n, kNormalAttr);
      for (int c = 0; c < n; c++) DrawCell(top + r, left + c);
    }
  }
  // Scrolls so that the cursor is visible; true when the view moved.
  bool Follow() {
    const int oldTop = top, oldLeft = left;
    if (row < top) top = row;
    if (row >= top + viewRows) top = row - viewRows + 1;
    if (col < left) left = col;
    if (col >= left + viewCols) left = col - viewCols + 1;
    return top != oldTop || left != oldLeft;
  }
  void Move(Direction d) {
    switch (d) {
      case kRight: col = std::min(col + 1, cols - 1); break;
      case kLeft: col = std::max(col - 1, 0); break;
      case kUp: row = std::max(row - 1, 0); break;
      case kDown: row = std::min(row + 1, rows - 1); break;
    }
  }
  void WordRight() {
    int c = col;
    while (c < cols && Filled(row, c)) c++;
    while (c < cols && !Filled(row, c)) c++;
    if (c < cols) col = c;
  }
  void WordLeft() {
    int c = col - 1;
    while (c >= 0 && !Filled(row, c)) c--;
    if (c < 0) return;
    while (c > 0 && Filled(row, c - 1)) c--;
    col = c;
  }
  void Put(unsigned char ch, bool boldTyping) {
    const int at = row * cols + col;
    if (boldTyping) {
      bold[at] = static_cast<char>(ch);
      text[at] = ' ';
    } else {
      text[at] = static_cast<char>(ch);
      bold[at] = ' ';
    }
    DrawCell(row, col);
  }
};

void ShowHelp(bool edit, bool boldTyping, bool frames, int pageNo, int pageCount) {
  remove_fun_help("F6");
  remove_fun_help("F7");
  if (edit) {
    set_fun_help("F2", "Drukuj", 1);
    set_fun_help("F6", Utf8ToMazText(boldTyping ? "Druk normal" : "Druk tłusty").c_str(), 2);
    set_fun_help("F7", frames ? "Litery" : "Ramki", 3);
  }
  if (pageCount > 1) {
    const char* keys = pageNo <= 1 ? "Ctrl+PgDn" : pageNo >= pageCount ? "Ctrl+PgUp" : "Ctrl+PgUpDn";
    set_fun_help(keys, "Zmiana stron", 4);
  }
}

}  // namespace

int w4popup_frame(int row, int column, int height, int width, const char* title) {
  const int handle = w4define(row, column, row + height - 1, column + width - 1);
  if (handle < 0) return -1;
  w4attribute(kNormalAttr);
  w4border(kStdFrame, kBoldAttr);   // the double-line frame of the system's characters
  if (title) w4title(0, -1, title, 240);
  w4popup();
  w4activate(handle);
  return handle;
}

int edytuj_memory(char* text, char* bold, int rows, int columns, const char* title, int pageNo, int pageCount,
                  int edit) {
  if (rows < 1 || columns < 1) return -1;
  std::string caption = title ? title : "";
  if (pageCount > 1) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s - str.%1i/%1i", caption.c_str(), pageNo, pageCount);
    caption = buffer;
  }
  if (caption.size() > 79) caption.resize(79);

  const int height = std::min(Desktop.rows - 3, rows + 2);
  const int width = std::min(Desktop.cols, columns + 2);
  const int previous = w4select(-1);
  const int window = w4popup_frame(1, 0, height, width, caption.c_str());
  if (window < 0) return -1;
  Viewer v{text, bold, rows, columns, std::max(1, height - 2), std::max(1, width - 2)};
  v.Draw();

  bool boldTyping = false, frames = false;
  Direction last = kRight;
  add_help_line();
  ShowHelp(edit != 0, boldTyping, frames, pageNo, pageCount);

  int key = 0;
  for (;;) {
    w4cursor(v.row - v.top, v.col - v.left);
    clr_key_buf();
    key = g4char();
    if (key == KEY_ESC || key == KEY_F2) break;
    if (key == KEY_CTRL_PGDN && pageNo < pageCount) break;
    if (key == KEY_CTRL_PGUP && pageNo > 1) break;
    const int step = std::max(1, v.viewRows - 1);
    bool typed = false;
    unsigned char ch = 0;
    Direction after = kRight;
    switch (key) {
      case KEY_RIGHT: last = kRight; v.Move(kRight); break;
      case KEY_LEFT: last = kLeft; v.Move(kLeft); break;
      case KEY_UP: last = kUp; v.Move(kUp); break;
      case KEY_DOWN: last = kDown; v.Move(kDown); break;
      case KEY_HOME: v.col = 0; break;
      case KEY_END: v.col = columns - 1; break;
      case KEY_CTRL_HOME: v.row = 0; break;
      case KEY_CTRL_END: v.row = rows - 1; break;
      case KEY_PGUP:
        if (v.top <= 2 * step) {
          v.top = 0;
          v.row = 0;
        } else {
          v.top -= step;
          v.row = std::max(0, v.row - step);
        }
        break;
      case KEY_PGDN:
        if (v.row + step > rows - 1) {
          v.row = rows - 1;
        } else {
          v.row += step;
          v.top = std::min(v.top + step, std::max(0, rows - v.viewRows));
        }
        break;
      case KEY_CTRL_LEFT: v.WordLeft(); break;
      case KEY_CTRL_RIGHT: v.WordRight(); break;
      default:
        if (!edit) break;
        if (key == kKeyF6) {
          boldTyping = !boldTyping;
          ShowHelp(true, boldTyping, frames, pageNo, pageCount);
        } else if (key == kKeyF7) {
          frames = !frames;
          DesktopSetCaretShape(frames ? kCaretUnderline : kCaretBlock);
          ShowHelp(true, boldTyping, frames, pageNo, pageCount);
        } else if (frames) {
          Direction next;
          if (FramePiece(key, last, &ch, &next)) {
            typed = true;
            after = next;
            last = next;
          }
        } else if (key == KEY_BACKSPACE || key == KEY_DEL) {
          ch = ' ';
          typed = true;
          after = key == KEY_BACKSPACE ? kLeft : kRight;
        } else if (key == KEY_SHIFT_CTRL_UP || key == KEY_SHIFT_CTRL_DOWN) {
          const int picked = PickSpecialChar();
          if (picked >= 32 && picked <= 255) {
            ch = static_cast<unsigned char>(picked);
            typed = true;
          }
        } else if (key >= 32 && key <= 255) {
          ch = static_cast<unsigned char>(key);
          typed = true;
        }
        if (typed) {
          v.Put(ch, boldTyping);
          if (key != KEY_DEL) v.Move(after);
        }
        break;
    }
    if (v.Follow()) v.Draw();
  }
  w4cursor(-1, -1);
  DesktopSetCaretShape(kCaretBlock);
  remove_help_line();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}
