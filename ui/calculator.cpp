#include "ui/calculator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "env/session/environment.h"
#include "env/numbers.h"
#include "env/text_buffers.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int kRows = 19, kCols = 33;
constexpr int kFaceAttr = 142, kLabelAttr = 128, kFlashAttr = 232, kNumberAttr = 143, kErrorAttr = 140;
constexpr int kDisplayRow = 1, kMemoryRow = 17;
constexpr int kNumberCol = 11, kSignCol = 8;
constexpr int kFlashMs = 100;
constexpr double kLimit = 1e12;   // results and the memory stay below this in absolute value

constexpr int kKeyF3 = 0x3D00, kKeyF4 = 0x3E00, kKeyF5 = 0x3F00, kKeyF8 = 0x4200;
constexpr int kFirstFreedKey = KEY_F1, kFreedKeys = 5;   // F1..F5 reach the calculator

// Single-line box pieces of the system's character set.
constexpr char kH = '\xC4', kV = '\xB3';
constexpr char kTL = '\xDA', kTR = '\xBF', kBL = '\xC0', kBR = '\xD9', kLT = '\xC3', kRT = '\xB4';

const char* const kKeyRows[4] = {
    "  7  8  9       M+    C    CE  ",
    "  4  5  6       M-    +    -   ",
    "  1  2  3       MR    *    /   ",
    "   0   .    BS  MC    =   +/-  ",
};
constexpr int kKeyRowAt[4] = {5, 8, 11, 14};

// Where a key's label stands on the face.
struct KeyLabel {
  int key;
  int row, col;
  const char* text;
};
const KeyLabel kLabels[] = {
    {'7', 5, 3, "7"},       {'8', 5, 6, "8"},       {'9', 5, 9, "9"},       {KEY_F1, 5, 17, "M+"},
    {'C', 5, 23, "C"},      {'c', 5, 23, "C"},      {'E', 5, 28, "CE"},     {'e', 5, 28, "CE"},
    {'4', 8, 3, "4"},       {'5', 8, 6, "5"},       {'6', 8, 9, "6"},       {KEY_F2, 8, 17, "M-"},
    {'+', 8, 23, "+"},      {'-', 8, 28, "-"},      {'1', 11, 3, "1"},      {'2', 11, 6, "2"},
    {'3', 11, 9, "3"},      {kKeyF3, 11, 17, "MR"}, {'*', 11, 23, "*"},     {'/', 11, 28, "/"},
    {'0', 14, 4, "0"},      {'.', 14, 8, "."},      {',', 14, 8, "."},      {KEY_BACKSPACE, 14, 13, "BS"},
    {kKeyF4, 14, 17, "MC"}, {'=', 14, 23, "="},     {KEY_ENTER, 14, 23, "="}, {kKeyF5, 14, 27, "+/-"},
};

// Kept between calls; -1 until the first use.
int savedRow = -1, savedCol = -1;

struct Calc {
  char display[18];   // "%17.4f" layout: 12 integer places, the point, 4 decimals
  char sign;          // ' ' or '-'
  double accumulator;
  int pending;        // the operator waiting for its second operand, ' ' none
  int operands;       // 0, 1, 2
  int decimals;       // 0 none typed, 1 after the point, up to 5
  char state;         // 'C' cleared, 'N' typing, 'P' operator pressed, 'M' memory recalled
  double memory;
  int window;
};

constexpr int kPoint = 12;

double Shown(const Calc& c) {
  double v = QuickDouble(c.display, 17);
  return c.sign == '-' ? -v : v;
}

void ShowValue(Calc& c, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%17.4f", std::fabs(value));
  std::memcpy(c.display, text, 17);
  c.sign = value < 0 ? '-' : ' ';
}

void ClearEntry(Calc& c) {
  std::memset(c.display, ' ', kPoint);
  std::memcpy(c.display + kPoint, ".0000", 6);
  c.sign = ' ';
  c.decimals = 0;
}

void ClearAll(Calc& c) {
  c.accumulator = 0;
  c.operands = 0;
  c.pending = ' ';
  c.state = 'C';
  ClearEntry(c);
}

// A number of 17 characters with its sign, grouped by threes.
void DrawNumber(int row, const char* number17, char sign) {
  char text[17 + 17 / 3 + 1];
  std::memcpy(text, number17, 17);
  int blanks = GroupThousands(text, 17, 4);
  char s[2] = {sign, 0};
  w4num_att(row, kSignCol, s, 1, kNumberAttr);
  w4num_att(row, kNumberCol, text, 17 + blanks, kNumberAttr);
}

void DrawDisplay(const Calc& c) { DrawNumber(kDisplayRow, c.display, c.sign); }

void DrawMemory(const Calc& c) {
  char text[64];
  std::snprintf(text, sizeof text, "%17.4f", std::fabs(c.memory));
  DrawNumber(kMemoryRow, text, c.memory < 0 ? '-' : ' ');
}

void DrawFace() {
  std::string line(kCols, kH);
  auto frameRow = [&](int row, char left, char right) {
    line.front() = left;
    line.back() = right;
    w4num_att(row, 0, line.c_str(), kCols, kFaceAttr);
  };
  frameRow(0, kTL, kTR);
  frameRow(2, kLT, kRT);
  frameRow(16, kLT, kRT);
  frameRow(kRows - 1, kBL, kBR);
  std::string inside(kCols, ' ');
  inside.front() = inside.back() = kV;
  for (int row : {1, 17}) w4num_att(row, 0, inside.c_str(), kCols, kFaceAttr);
  for (int row = 3; row <= 15; row++) w4num_att(row, 0, inside.c_str(), kCols, kFaceAttr);
  w4num_att(kMemoryRow, 1, "M", 1, kFaceAttr);
  for (int i = 0; i < 4; i++) w4num_att(kKeyRowAt[i], 1, kKeyRows[i], -1, kFaceAttr);
  w4num_att(6, 16, "[F1]", 4, kLabelAttr);
  w4num_att(9, 16, "[F2]", 4, kLabelAttr);
  w4num_att(12, 16, "[F3]", 4, kLabelAttr);
  w4num_att(15, 16, "[F4]", 4, kLabelAttr);
  w4num_att(15, 27, "[F5]", 4, kLabelAttr);
}

void Redraw(const Calc& c) {
  DrawFace();
  DrawDisplay(c);
  DrawMemory(c);
}

void Flash(int key) {
  for (const KeyLabel& l : kLabels) {
    if (l.key != key) continue;
    w4num_att(l.row, l.col, l.text, -1, kFlashAttr);
    WaitFor(0, kFlashMs);
    w4num_att(l.row, l.col, l.text, -1, kFaceAttr);
    return;
  }
}

// "Error" until a key is pressed.
void ShowError(int row, int col) {
  w4num_att(row, col, "Error", 5, kErrorAttr);
  g4char();
  w4num_att(row, col, "     ", 5, kFaceAttr);
}

// The first key of a number clears the entry; after a recall the recalled
// value is dropped as an operand too.
void StartNumber(Calc& c) {
  if (c.state == 'N') return;
  ClearEntry(c);
  if (c.state == 'M') c.operands = 0;
  c.state = 'N';
}

void Digit(Calc& c, int digit) {
  StartNumber(c);
  if (c.decimals > 0) {
    if (c.decimals < 5) c.display[kPoint + c.decimals++] = static_cast<char>(digit);
    return;
  }
  // A lone zero is replaced rather than shifted into a leading zero.
  if (!(c.display[kPoint - 1] == '0' && c.display[kPoint - 2] == ' '))
    std::memmove(c.display, c.display + 1, kPoint - 1);
  c.display[kPoint - 1] = static_cast<char>(digit);
}

void Point(Calc& c) {
  StartNumber(c);
  if (c.decimals == 0) c.decimals = 1;
}

void Backspace(Calc& c) {
  if (c.state != 'N') return;
  if (c.decimals > 1) {
    c.display[kPoint + --c.decimals] = '0';
    return;
  }
  std::memmove(c.display + 1, c.display, kPoint - 1);
  c.display[0] = ' ';
}

void Operator(Calc& c, int key) {
  if (c.state == 'N' || c.state == 'M') c.operands++;
  if (c.operands == 1) {
    c.accumulator = Shown(c);
  } else if (c.operands >= 2) {
    double v = Shown(c), r = c.accumulator;
    switch (c.pending) {
      case '+': r += v; break;
      case '-': r -= v; break;
      case '*': r *= v; break;
      case '/': r = v != 0 ? r / v : HUGE_VAL; break;
      default: r = v; break;   // Enter and '=' take the entered value
    }
    if (!(std::fabs(r) < kLimit)) {
      ShowError(kDisplayRow, 1);
      ClearAll(c);
      return;
    }
    c.accumulator = r;
    ShowValue(c, r);
    c.operands = 1;
  }
  c.pending = key;
  c.state = 'P';
}

void MemoryAdd(Calc& c, double value) {
  c.memory += value;
  if (!(std::fabs(c.memory) < kLimit)) {
    ShowError(kMemoryRow, 2);
    c.memory = 0;
  }
}

void MemoryRecall(Calc& c) {
  ShowValue(c, c.memory);
  if (c.state != 'P') c.accumulator = c.memory;
  c.decimals = 0;
  c.state = 'M';
}

// The get being edited in the window below the calculator receives the
// displayed value. Returns the get's window, or -1 when there is no such get
// or the value does not fit it.
int Paste(const Calc& c) {
  Environment* env = EnvCurrent();
  Window4* calc = w4record(c.window);
  int handle = calc ? calc->prev : -1;
  Window4* target = w4record(handle);
  if (target && env && env->calculatorSwitch) target = w4record(handle = target->prev);
  if (!target || target->firstGet < 0 || Desktop.curGet < 0 || !Desktop.editBuffer) return -1;
  bool ours = false;
  for (int h = target->firstGet; h >= 0 && !ours;) {
    Get4* g = static_cast<Get4*>(SlotPoolRecord(Desktop.getPool, h));
    if (!g) break;
    ours = h == Desktop.curGet;
    h = g->next;
  }
  if (!ours) return -1;
  Get4* g = static_cast<Get4*>(SlotPoolRecord(Desktop.getPool, Desktop.curGet));
  int width = g->displayWidth;
  if (width <= 0 || width > GET_EDIT_MAX) return -1;
  int decimals = g->decimals > 0 && g->decimals < width ? g->decimals : 0;
  double value = Shown(c);
  char text[GET_EDIT_MAX + 1];
  switch (g->type) {
    case GET_NUMBER:
    case GET_DOUBLE: {
      c4dtoa(value, text, width, decimals, 1);
      if (std::strchr(text, '*')) return -1;
      double rounded = QuickDouble(text, width);
      if (g->type == GET_NUMBER)
        ToMemCopyDoubleFmt(static_cast<char*>(g->data), rounded, g->dataWidth, g->dataDecimals > 0 ? g->dataDecimals : 0);
      else
        *static_cast<double*>(g->data) = rounded;
      break;
    }
    case GET_INT:
    case GET_LONG: {
      double whole = std::trunc(value);
      if (whole > INT32_MAX || whole < INT32_MIN) return -1;
      c4ltoa(static_cast<long>(whole), text, width);
      if (std::memchr(text, '*', width)) return -1;
      *static_cast<int32_t*>(g->data) = static_cast<int32_t>(whole);
      break;
    }
    default:
      return -1;
  }
  std::memcpy(Desktop.editBuffer, text, width);
  return handle;
}

void MoveTo(Calc& c, int row, int col) {
  Window4* w = w4record(c.window);
  if (!w) return;
  w4deactivate(c.window);
  w->row = row;
  w->col = col;
  w4activate(c.window);
  savedRow = row;
  savedCol = col;
  Redraw(c);
}

}  // namespace

int kalkulator(int32_t, int32_t) {
  Environment* env = EnvCurrent();
  if (!env || env->exclusiveToolActive) return 0;
  int previous = Desktop.curHandle;
  int caretRow = env->caretRow, caretCol = env->caretColumn;
  HotKeyRoutine freed[kFreedKeys];
  for (int i = 0; i < kFreedKeys; i++) {
    int key = kFirstFreedKey + (i << 8);
    freed[i] = env->hotKeys[key >> 8].routine;
    g4set_key_to(key, nullptr);
  }
  w4cursor(-1, -1);

  if (savedRow < 0) {
    savedRow = 5;
    savedCol = (Desktop.cols - kCols) / 2;
  }
  savedRow = std::max(0, std::min(savedRow, Desktop.rows - kRows));
  savedCol = std::max(0, std::min(savedCol, Desktop.cols - kCols));
  Calc c{};
  c.window = w4define(savedRow, savedCol, savedRow + kRows - 1, savedCol + kCols - 1);
  int pasted = -1;   // the window of the get that took the result
  if (c.window >= 0) {
    w4popup();
    w4attribute(kFaceAttr);
    w4activate(c.window);
    ClearAll(c);
    c.memory = 0;
    Redraw(c);

    for (;;) {
      int key = g4char();
      Flash(key);
      bool leave = false;
      if (key >= '0' && key <= '9') {
        Digit(c, key);
      } else {
        switch (key) {
          case ',':
          case '.': Point(c); break;
          case KEY_BACKSPACE: Backspace(c); break;
          case KEY_ENTER:
          case '=':
          case '*':
          case '+':
          case '-':
          case '/': Operator(c, key); break;
          case 'C':
          case 'c': ClearAll(c); break;
          case 'E':
          case 'e': ClearEntry(c); break;
          case KEY_F1: MemoryAdd(c, Shown(c)); break;
          case KEY_F2: MemoryAdd(c, -Shown(c)); break;
          case kKeyF3: MemoryRecall(c); break;
          case kKeyF4: c.memory = 0; break;
          case kKeyF5: c.sign = c.sign == '-' ? ' ' : '-'; break;
          case kKeyF8:
            pasted = Paste(c);
            if (pasted >= 0) leave = true;
            else write_beep();
            break;
          case KEY_ESC: leave = true; break;
          case KEY_HOME: MoveTo(c, savedRow, 0); break;
          case KEY_END: MoveTo(c, savedRow, Desktop.cols - kCols); break;
          case KEY_PGUP: MoveTo(c, 0, savedCol); break;
          case KEY_PGDN: MoveTo(c, Desktop.rows - kRows, savedCol); break;
          default: break;
        }
      }
      clr_key_buf();
      if (leave) break;
      DrawDisplay(c);
      DrawMemory(c);
    }
    w4deactivate(c.window);
    w4close(c.window);
  }

  if (pasted >= 0) {
    w4select(pasted);
    g4display();
  }
  w4select(previous);
  for (int i = 0; i < kFreedKeys; i++) g4set_key_to(kFirstFreedKey + (i << 8), freed[i]);
  if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
  return 0;
}
