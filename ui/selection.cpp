#include "ui/selection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "env/session/environment.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

// The list DefineSelection appends to.
struct SelectionTarget {
  Selection* array = nullptr;
  int count = 0;
  int capacity = 0;
  int textWidth = 0;
  int prefixWidth = 0;
} target;

const char kPickTitle[] = " WYBIERZ ";

MenuKeySource pickPreviousRoutine = nullptr;

int PickKey() {
  int key = pickPreviousRoutine ? pickPreviousRoutine() : g4char();
  return key == KEY_F2 ? KEY_ENTER : key;
}

}  // namespace

void ResetSelectionDefinition(Selection* array, int bytes, int textWidth, int prefixWidth) {
  target = SelectionTarget{};
  if (!array || bytes < static_cast<int>(sizeof(Selection))) return;
  std::memset(array, 0, static_cast<size_t>(bytes));
  target.array = array;
  target.capacity = bytes / static_cast<int>(sizeof(Selection)) - 1;
  target.textWidth = std::max(textWidth, 0);
  target.prefixWidth = std::max(prefixWidth, 0);
  if (target.capacity > 0)
    array[0].text = static_cast<char*>(std::calloc(static_cast<size_t>(target.capacity),
                                                   static_cast<size_t>(target.textWidth) + 1));
  if (!array[0].text) target.capacity = 0;
}

void DefineSelection(int32_t code, TextRef text, const char* rightText, int flags) {
  if (!target.array || target.count >= target.capacity) {
    ErrLogMessage(EL_ERROR, LOG_SELECTION_FULL, TextRef());
    return;
  }
  const int width = target.textWidth;
  char* line = target.array[0].text + static_cast<size_t>(target.count) * (static_cast<size_t>(width) + 1);

  int shown = (flags & SEL_SHOW_CODE) ? (code == SEL_BLANK_CODE ? 0 : code) : target.count + 1;
  char number[24];
  std::snprintf(number, sizeof number, (flags & SEL_TWO_DIGITS) ? "%2d." : "%d.", shown);
  std::string all = number;
  if (static_cast<int>(all.size()) < target.prefixWidth) all.append(target.prefixWidth - all.size(), ' ');
  const char* body = EnvFindString(text);
  all += body ? body : "";
  all.resize(static_cast<size_t>(width), ' ');
  if (rightText && *rightText) {
    size_t n = std::min(std::strlen(rightText), static_cast<size_t>(width));
    all.replace(static_cast<size_t>(width) - n, n, rightText, n);
  }
  std::memcpy(line, all.data(), static_cast<size_t>(width));
  line[width] = '\0';

  target.array[target.count].text = line;
  target.array[target.count].code = code;
  target.count++;
}

void FreeSelections(Selection* array) {
  if (!array) return;
  std::free(array[0].text);
  array[0].text = nullptr;
  if (target.array == array) target = SelectionTarget{};
}

int SelectionCount(const Selection* list) {
  int n = 0;
  while (list && list[n].text && list[n].text[0]) n++;
  return n;
}

int ListCodeIndex(const Selection* list, int32_t code) {
  int n = SelectionCount(list);
  for (int i = 0; i < n; i++)
    if (list[i].code == code) return i;
  return -1;
}

int OpenSelectionList(const Selection* list, int32_t code, int row, int col) {
  int count = std::min(SelectionCount(list), SEL_MAX_SHOWN);
  if (count == 0) return -1;
  Environment* env = EnvCurrent();
  MenuKeySource savedRoutine = env ? env->menuKeyRoutine : nullptr;
  int caretRow = env ? env->caretRow : -1, caretCol = env ? env->caretColumn : -1;
  int saved = Desktop.curHandle;
  Window4* current = Desktop.curWindow;
  int index = ListCodeIndex(list, code);
  if (index >= count) index = -1;

  if (row == -2)
    row = (Desktop.rows - count - 2) / 2;
  else
    row = (current ? current->row : 0) + row - index - 1;
  if (col == -2)
    col = (Desktop.cols - static_cast<int>(std::strlen(list[0].text)) - 2) / 2;
  else
    col = (current ? current->col : 0) + col + 2;

  int window = DefineWyboruWindow(row, col, kPickTitle);
  if (window < 0) {
    w4select(saved);
    return -1;
  }
  n4attribute(0xF9, 0x70);
  int first = -1, start = -1;
  for (int i = 0; i < count; i++) {
    int item = n4item(-1, -1, list[i].text);
    if (item < 0) break;
    n4key(static_cast<unsigned char>(list[i].text[0]), 1, 0);
    n4parm(-(i + 1));
    if (i == 0) first = item;
    if (i == index) start = item;
  }
  n4start_item(start >= 0 ? start : first);
  n4calc(window, row, col);

  // The caret would blink through the list.
  Window4* w = w4record(window);
  bool caretHidden = false;
  if (w && current && caretRow >= 0 && caretCol >= 0) {
    int r = current->row + caretRow, c = current->col + caretCol;
    if (r >= w->row - 1 && r <= w->row + w->height && c >= w->col - 1 && c <= w->col + w->width) {
      w4cursor(-1, -1);
      caretHidden = true;
    }
  }

  MenuKeySource outerPrevious = pickPreviousRoutine;
  pickPreviousRoutine = savedRoutine;
  n4char_routine(PickKey);
  int result = n4activate(window, 0, nullptr, nullptr, 0);
  n4char_routine(savedRoutine);
  pickPreviousRoutine = outerPrevious;

  w4close(window);
  w4select(saved);
  if (caretHidden) w4cursor(caretRow, caretCol);
  if (result < 0 && -result <= count) return list[-result - 1].code;
  return -1;
}
