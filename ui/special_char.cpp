#include "ui/special_char.h"

#include <cstring>

#include "env/session/environment.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int GRID_ROWS = 9;
constexpr int GRID_CELLS = 33;
constexpr int GRID_COL = 11;
constexpr int WINDOW_HEIGHT = 11;
constexpr int WINDOW_WIDTH = 46;
constexpr int LABEL_ATTR = 14;
constexpr int CHOICE_ATTR = 15;
constexpr int CURRENT_ATTR = 112;
constexpr int WINDOW_ATTR = 7;

// The letters of each grid row in the system's character set; each stands in
// every second cell.
const unsigned char kRows[GRID_ROWS][18] = {
    {128, 183, 132, 211},                                                             // Ä Ö ẞ Ü
    {129, 184, 133, 212},                                                             // ä ö ß ü
    {130, 135, 139, 147, 150, 168, 181, 163, 198, 205, 209, 213, 215, 219, 221},      // Czech
    {131, 136, 140, 148, 151, 169, 182, 162, 199, 206, 210, 214, 216, 220, 222},
    {130, 128, 135, 139, 147, 168, 170, 172, 181, 163, 189, 230, 205, 209, 213, 219, 221},   // Slovak
    {131, 129, 136, 140, 148, 169, 171, 173, 182, 162, 190, 231, 206, 210, 214, 220, 222},
    {137, 153, 183, 207, 211},                                                        // Ç Ğ Ö Ş Ü
    {138, 154, 184, 208, 212},                                                        // ç ğ ö ş ü
    {142, 176, 178, 224, 225, 226, 227},                                              // § © ® ° ½ ¼ ¾
};

// "niemieckie", "czeskie", "słowackie", "tureckie", "specjalne"
const char* const kLabels[] = {"niemieckie", "czeskie", "s\x92owackie", "tureckie", "specjalne"};

int Cell(int row, int cell) {
  if (cell % 2 != 0) return ' ';
  int letter = kRows[row][cell / 2];
  return letter ? letter : ' ';
}

bool Selectable(int row, int cell) {
  int c = Cell(row, cell);
  return c >= 128 || c < 32 || c == 127;
}

void DrawCell(int row, int cell, bool current) {
  char c = static_cast<char>(Cell(row, cell));
  w4num_att(row, GRID_COL + cell, &c, 1, current ? CURRENT_ATTR : Selectable(row, cell) ? CHOICE_ATTR : LABEL_ATTR);
}

// The nearest selectable cell of the row from `cell` in the direction; -1 none.
int InRow(int row, int cell, int step) {
  for (int c = cell; c >= 0 && c < GRID_CELLS; c += step)
    if (Selectable(row, c)) return c;
  return -1;
}

// The nearest row from `row` in the direction with a selectable cell in the column; -1 none.
int InColumn(int row, int cell, int step) {
  for (int r = row; r >= 0 && r < GRID_ROWS; r += step)
    if (Selectable(r, cell)) return r;
  return -1;
}

}  // namespace

int PickSpecialChar() {
  Environment* env = EnvCurrent();
  int caretRow = env ? env->caretRow : -1, caretCol = env ? env->caretColumn : -1;
  int previous = w4select(-1);
  int row0 = (Desktop.rows - WINDOW_HEIGHT) / 2, col0 = (Desktop.cols - WINDOW_WIDTH) / 2;
  int handle = w4define(row0, col0, row0 + WINDOW_HEIGHT - 1, col0 + WINDOW_WIDTH - 1);
  if (handle < 0) return 0;
  w4popup();
  w4attribute(WINDOW_ATTR);
  w4border(kStdFrame, WINDOW_ATTR);
  w4title(0, -1, "Wybierz", WINDOW_ATTR);
  w4activate(handle);
  w4cursor(-1, -1);
  for (int i = 0; i < 5; i++) w4num_att(i * 2, 0, kLabels[i], -1, LABEL_ATTR);
  for (int r = 0; r < GRID_ROWS; r++)
    for (int c = 0; c < GRID_CELLS; c++) DrawCell(r, c, false);

  int row = 0, cell = InRow(0, 0, 1);
  int result = 0;
  for (;;) {
    DrawCell(row, cell, true);
    clr_key_buf();
    int key = g4char();
    int newRow = row, newCell = cell;
    switch (key) {
      case KEY_LEFT:
      case KEY_RIGHT: {
        int c = InRow(row, cell + (key == KEY_LEFT ? -1 : 1), key == KEY_LEFT ? -1 : 1);
        if (c >= 0) newCell = c;
        break;
      }
      case KEY_HOME:
        newCell = InRow(row, 0, 1);
        break;
      case KEY_END:
        newCell = InRow(row, GRID_CELLS - 1, -1);
        break;
      case KEY_UP:
      case KEY_DOWN: {
        int r = InColumn(row + (key == KEY_UP ? -1 : 1), cell, key == KEY_UP ? -1 : 1);
        if (r >= 0) newRow = r;
        break;
      }
      case KEY_CTRL_HOME:
        newRow = InColumn(0, cell, 1);
        break;
      case KEY_CTRL_END:
        newRow = InColumn(GRID_ROWS - 1, cell, -1);
        break;
      default:
        break;
    }
    if (key == KEY_ENTER) {
      result = Cell(row, cell);
      break;
    }
    if (key == KEY_ESC) break;
    DrawCell(row, cell, false);
    row = newRow;
    cell = newCell;
  }
  clr_key_buf();
  w4deactivate(handle);
  w4close(handle);
  w4select(previous);
  w4cursor(caretRow, caretCol);
  return result;
}
