#include "ui/menu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/session/environment.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/menu_history.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

int32_t lastMenuKey = 0;

namespace {

constexpr int KEY_CTRL_D = 4, KEY_CTRL_E = 5, KEY_CTRL_S = 19, KEY_CTRL_X = 24;
constexpr int KEY_SLASH = 47;
constexpr int HOT_KEY_LIMIT = 0x7F00;

int TextLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

void FreeItems(Window4* w) {
  if (Desktop.itemPool && w->firstItem >= 0) SlotPoolFreeChain(Desktop.itemPool, w->firstItem);
  w->firstItem = w->lastItem = w->startItem = -1;
}

MenuItem4* LastItem() {
  Window4* w = Desktop.curWindow;
  return w ? n4record(w->lastItem) : nullptr;
}

std::vector<int> WindowItems(const Window4* w) {
  std::vector<int> items;
  for (int h = w->firstItem; h >= 0;) {
    MenuItem4* it = n4record(h);
    if (!it) break;
    items.push_back(h);
    h = it->next;
  }
  return items;
}

// The first place of the key's letter in the text, letters compared in upper case; -1 none.
int HotPosition(const char* text, int key) {
  for (int i = 0; text && text[i]; i++)
    if (EnvToUpper(static_cast<unsigned char>(text[i])) == EnvToUpper(key)) return i;
  return -1;
}

int32_t SubmenuAction(int32_t item) {
  MenuItem4* it = n4record(item);
  if (!it || !it->submenu) return 0;
  return n4activate(*it->submenu, 1, nullptr, nullptr, 1);
}

// Lays the window out as a pull-down with its frame at (row, col) for
// items of the given width.
void PullDown(int window, int row, int col, int contentWidth) {
  Window4* w = w4record(window);
  if (!w) return;
  row = std::max(row, 0);
  col = std::max(col, 0);
  std::vector<int> items = WindowItems(w);
  int width = std::min(std::max(contentWidth, TextLength(w->title) - 2) + 2, Desktop.cols - 2);
  int height = std::min(static_cast<int>(items.size()), Desktop.rows - 3);
  for (int h : items) n4record(h)->row = n4record(h)->col = -1;
  w->row = std::min(Desktop.rows - height - 3, row) + 1;
  w->col = std::min(Desktop.cols - width - 2, col) + 1;
  w->height = height;
  w->width = width;
  int previous = w4select(window);
  w4border(w->border, w->borderAttr);
  w4popup();
  w4select(previous);
}

bool HotKeyMatches(int hotKey, int key, bool ignoreCase) {
  if (hotKey == key) return true;
  return ignoreCase && key > 0 && key <= 126 && hotKey > 0 && hotKey <= 126 &&
         std::toupper(hotKey) == std::toupper(key);
}

bool StartsWith(const char* text, const std::string& prefix, bool ignoreCase) {
  for (size_t i = 0; i < prefix.size(); i++) {
    if (!text || !text[i]) return false;
    int a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(prefix[i]);
    if (ignoreCase ? EnvToUpper(a) != EnvToUpper(b) : a != b) return false;
  }
  return true;
}

int ReadMenuKey() {
  Environment* env = EnvCurrent();
  if (env && env->menuKeyRoutine) return env->menuKeyRoutine();
  clr_key_buf();
  return g4char();
}

// One run of the menu loop over a window.
class MenuRun {
 public:
  MenuRun(int window, int shade, MenuDisplayRoutine display, void* data, int wrap)
      : window_(window), shade_(shade != 0), display_(display), data_(data), wrap_(wrap != 0) {}

  int Run();

 private:
  Window4* W() const { return w4record(window_); }
  MenuItem4* Item(int index) const { return n4record(items_[static_cast<size_t>(index)]); }
  int Count() const { return static_cast<int>(items_.size()); }
  bool Selectable(int index) const { return !Item(index)->skip; }

  void Measure();
  int PageStart(int index) const { return grid_ ? index / page_ * page_ : 0; }
  void Position(int index, int* row, int* col) const;
  void DrawItem(int index);
  void DrawPage(bool clear);
  void Select(int index);
  int Step(int from, int direction) const;
  int FirstSelectable() const { return Step(-1, 1); }
  int LastSelectable() const { return Step(Count(), -1); }
  void PageKey(bool down);
  bool HotLetter(int key);
  bool Search(int key);
  int RunSelected();   // 1 leaves with result_

  int window_;
  bool shade_;
  MenuDisplayRoutine display_;
  void* data_;
  bool wrap_;
  std::vector<int> items_;
  bool grid_ = false;
  int gridRows_ = 1, gridCols_ = 1, itemWidth_ = 1, page_ = 1;
  bool bar_ = false;
  int selected_ = 0;
  int pending_ = 0;
  int result_ = 0;
  std::string typed_;
};

void MenuRun::Measure() {
  Window4* w = W();
  bar_ = w->barMenu != 0;
  grid_ = std::any_of(items_.begin(), items_.end(), [](int h) {
    MenuItem4* it = n4record(h);
    return it->row == -1 || it->col == -1;
  });
  itemWidth_ = w->itemWidth > 0 ? w->itemWidth : w->width - 2;
  if (itemWidth_ < 1) itemWidth_ = 1;
  if (!grid_) {
    page_ = Count();
    return;
  }
  gridRows_ = std::max(w->height, 1);
  gridCols_ = std::max((w->width - 2) / itemWidth_, 1);
  page_ = std::max(std::min(gridRows_ * gridCols_, Count()), 1);
}

void MenuRun::Position(int index, int* row, int* col) const {
  if (!grid_) {
    *row = Item(index)->row;
    *col = Item(index)->col;
    return;
  }
  int i = index - PageStart(index);
  if (bar_) {
    *row = i / gridCols_;
    *col = i % gridCols_ * itemWidth_ + 1;
  } else {
    *row = i % gridRows_;
    *col = i / gridRows_ * itemWidth_ + 1;
  }
}

void MenuRun::DrawItem(int index) {
  Window4* w = W();
  MenuItem4* it = Item(index);
  int row, col;
  Position(index, &row, &col);
  int length = std::min(TextLength(it->text), itemWidth_);
  bool selected = index == selected_;
  if (length > 0) {
    w4num_att(row, col, it->text, length, selected ? w->selAttr : it->itemAttr);
    if (!selected && w->hotKeyMode == MENU_HOT_LETTERS && !it->skip && it->hotPos >= 0 && it->hotPos < length)
      w4num_att(row, col + it->hotPos, it->text + it->hotPos, 1, it->itemAttr | 8);
    if (selected && w->hotKeyMode == MENU_HOT_SEARCH && !typed_.empty())
      w4num_att(row, col, it->text, std::min(static_cast<int>(typed_.size()), length), w->selAttr | 0x88);
    if (it->skip) ImageShade(row, col, length, it->itemAttr);
  }
  Desktop.itemRow = row;
  Desktop.itemCol = col;
  if (display_) display_(data_, it->value, w->row + row);
}

void MenuRun::DrawPage(bool clear) {
  if (display_) display_(data_, MENU_PAGE_REDRAW, 0);
  if (clear) w4clear(0);
  int start = PageStart(selected_), end = std::min(start + page_, Count());
  for (int i = start; i < end; i++) DrawItem(i);
}

void MenuRun::Select(int index) {
  if (index < 0 || index == selected_) return;
  int old = selected_;
  selected_ = index;
  if (PageStart(old) != PageStart(index)) {
    DrawPage(true);
    return;
  }
  DrawItem(old);
  DrawItem(index);
}

// The next selectable item from `from` in the direction, without wrapping; -1 none.
int MenuRun::Step(int from, int direction) const {
  for (int i = from + direction; i >= 0 && i < Count(); i += direction)
    if (Selectable(i)) return i;
  return -1;
}

void MenuRun::PageKey(bool down) {
  int start = PageStart(selected_), last = std::min(start + page_, Count()) - 1;
  int target;
  if (down)
    target = selected_ < last ? last : std::min(selected_ + page_, Count() - 1);
  else
    target = selected_ > start ? start : selected_ - page_;
  if (target < 0 || target == selected_) return;
  if (!Selectable(target)) target = down ? Step(target, -1) : Step(target, 1);
  Select(target);
}

bool MenuRun::HotLetter(int key) {
  Window4* w = W();
  for (int n = 1; n <= Count(); n++) {
    int i = (selected_ + n) % Count();
    MenuItem4* it = Item(i);
    if (it->skip || !HotKeyMatches(it->hotKey, key, w->ignoreCase != 0)) continue;
    bool wasSelected = i == selected_;
    Select(i);
    if (it->enterOnHotKey || wasSelected) pending_ = KEY_ENTER;
    return true;
  }
  return false;
}

bool MenuRun::Search(int key) {
  if (key < 32 || key > 255 || static_cast<int>(typed_.size()) >= MENU_SEARCH_MAX) return false;
  typed_ += static_cast<char>(key);
  bool ignoreCase = W()->ignoreCase != 0;
  for (int n = 0; n < Count(); n++) {
    int i = (selected_ + n) % Count();
    if (!Selectable(i) || !StartsWith(Item(i)->text, typed_, ignoreCase)) continue;
    Select(i);
    DrawItem(i);
    return true;
  }
  typed_.pop_back();
  return false;
}

int MenuRun::RunSelected() {
  typed_.clear();
  int handle = items_[static_cast<size_t>(selected_)];
  MenuItem4* it = n4record(handle);
  if (it->skip) return 0;
  if (!it->action) {
    result_ = it->value;
    return 1;
  }
  // The shade marks every other item while the action runs; their own flags come back after.
  std::vector<int32_t> skips;
  if (shade_) {
    for (int i = 0; i < Count(); i++) {
      skips.push_back(Item(i)->skip);
      if (i != selected_) Item(i)->skip = 1;
    }
    DrawPage(false);
  }
  int32_t answer = 0;
  if (pass_tab_test_and_inform(it->rightsNumber)) {
    it = n4record(handle);
    std::string text = it->text ? it->text : "";
    bool history = it->history != 0;
    int record = history ? write_hist(1, text.c_str(), 0) : -1;
    Desktop.menuLevel++;
    answer = it->action(it->value);
    w4select(window_);
    Desktop.menuLevel--;
    if (history) write_hist(1, text.c_str(), record);
  }
  w4select(window_);
  if (shade_) {
    for (int i = 0; i < Count(); i++) Item(i)->skip = skips[static_cast<size_t>(i)];
    DrawPage(false);
  }
  if (answer < 0) {
    result_ = answer;
    return 1;
  }
  if (answer > 0) pending_ = answer;
  Window4* w = W();
  if (w && !w->redraw) DrawItem(selected_);
  return 0;
}

int MenuRun::Run() {
  if (!W()) return 0;
  int previous = w4select(window_);
  Window4* w = W();
  w->redraw = 0;
  typed_.clear();
  items_ = WindowItems(w);
  if (items_.empty()) {
    w4select(previous);
    return 0;
  }
  Measure();
  w4activate(window_);
  auto start = std::find(items_.begin(), items_.end(), w->startItem);
  selected_ = start != items_.end() ? static_cast<int>(start - items_.begin()) : std::max(FirstSelectable(), 0);
  DrawPage(false);

  const int next1 = bar_ ? KEY_RIGHT : KEY_DOWN, next2 = bar_ ? KEY_CTRL_D : KEY_CTRL_X;
  const int prev1 = bar_ ? KEY_LEFT : KEY_UP, prev2 = bar_ ? KEY_CTRL_S : KEY_CTRL_E;
  const int other[4] = {bar_ ? KEY_UP : KEY_LEFT, bar_ ? KEY_DOWN : KEY_RIGHT, bar_ ? KEY_CTRL_E : KEY_CTRL_S,
                        bar_ ? KEY_CTRL_X : KEY_CTRL_D};
  Desktop.menuLevel++;
  Environment* env = EnvCurrent();
  for (;;) {
    int handle = items_[static_cast<size_t>(selected_)];
    if (env) env->helpContext = handle;
    w4select(n4record(handle)->window);
    w = W();
    if (!w) break;
    if (w->redraw) {
      w->redraw = 0;
      DrawPage(true);
    }
    if (pending_ == w->exitKey1) pending_ = 0;
    int key = pending_ ? pending_ : ReadMenuKey();
    pending_ = 0;
    // The key source may open windows of its own (a browse runs its actions
    // from there), which can move the window pool.
    w = W();
    if (!w) break;
    lastMenuKey = key;
    if (key == KEY_CTRL_DOWN || key == KEY_CTRL_PGDN) key = KEY_ENTER;
    if (key == KEY_CTRL_UP || key == KEY_CTRL_PGUP) key = KEY_ESC;

    if (key == next1 || key == next2) {
      int i = Step(selected_, 1);
      if (i < 0 && wrap_) i = FirstSelectable();
      Select(i);
    } else if (key == prev1 || key == prev2) {
      int i = Step(selected_, -1);
      if (i < 0 && wrap_) i = LastSelectable();
      Select(i);
    } else if (key == KEY_HOME) {
      Select(FirstSelectable());
    } else if (key == KEY_END) {
      Select(LastSelectable());
    } else if (key == KEY_PGUP || key == KEY_PGDN) {
      PageKey(key == KEY_PGDN);
    } else if (key == KEY_BACKSPACE && w->hotKeyMode == MENU_HOT_SEARCH) {
      if (!typed_.empty()) typed_.pop_back();
      DrawItem(selected_);
    } else if (key == KEY_ENTER) {
      if (RunSelected()) break;
    } else if (key == w->exitKey1 || key == w->exitKey2) {
      result_ = key;
      break;
    } else if (key >= 1 && key <= HOT_KEY_LIMIT) {
      bool taken = w->hotKeyMode == MENU_HOT_LETTERS   ? HotLetter(key)
                   : w->hotKeyMode == MENU_HOT_SEARCH ? Search(key)
                                                      : false;
      if (taken) continue;
      if (key >= w->exitLow && key <= w->exitHigh) {
        result_ = key;
        break;
      }
      if (w->returnOnOther && std::find(std::begin(other), std::end(other), key) != std::end(other)) {
        result_ = key;
        break;
      }
    }
  }
  Desktop.menuLevel--;
  MenuItem4* it = n4record(items_[static_cast<size_t>(selected_)]);
  w4deactivate(it ? it->window : window_);
  w4select(previous);
  return result_;
}

int32_t F2AsEnter() {
  int key = g4char();
  return key == KEY_F2 ? KEY_ENTER : key;
}

}  // namespace

MenuItem4* n4record(int item) {
  if (!Desktop.itemPool || item < 0) return nullptr;
  return static_cast<MenuItem4*>(SlotPoolRecord(Desktop.itemPool, item));
}

int n4item(int row, int col, const char* text) {
  Window4* w = Desktop.curWindow;
  if (!w || Desktop.curHandle < 0) return -1;
  if (!Desktop.itemPool) {
    if (SlotPoolCreate(&Desktop.itemPool, MENU_POOL_FIRST, MENU_POOL_GROWTH) != 0) return -1;
    w4free_items = FreeItems;
  }
  int h = SlotPoolAlloc(&Desktop.itemPool, w->lastItem);
  if (h < 0) return -1;
  if (w->firstItem < 0) w->firstItem = h;
  w->lastItem = h;
  MenuItem4* it = n4record(h);
  it->row = row;
  it->col = col;
  it->window = Desktop.curHandle;
  it->text = text;
  it->skip = 0;
  it->itemAttr = w->itemAttr;
  it->action = nullptr;
  it->value = h;
  it->submenu = nullptr;
  it->itemData = 0;
  it->rightsNumber = 1;
  it->history = 0;
  n4key(text ? static_cast<unsigned char>(text[0]) : 0, 1, 0);
  return h;
}

void n4key(int key, int enterOnHotKey, int hotPos) {
  MenuItem4* it = LastItem();
  if (!it) return;
  it->hotKey = key;
  it->enterOnHotKey = enterOnHotKey;
  it->hotPos = hotPos;
}

void n4action(MenuAction action) {
  if (MenuItem4* it = LastItem()) it->action = action;
}

void n4parm(int32_t value) {
  if (MenuItem4* it = LastItem()) it->value = value;
}

void n4attribute(int itemAttr, int selAttr) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  w->itemAttr = itemAttr;
  w->selAttr = selAttr;
}

int n4skip_over(int item, int flag) {
  MenuItem4* it = n4record(item);
  if (!it) return 0;
  int old = it->skip;
  it->skip = flag;
  return old;
}

void n4start_item(int item) {
  MenuItem4* it = n4record(item);
  Window4* w = it ? w4record(it->window) : nullptr;
  if (w) w->startItem = item;
}

void n4redraw(int window) {
  if (Window4* w = w4record(window)) w->redraw = 1;
}

void n4set_item_data(int32_t word) {
  if (MenuItem4* it = LastItem()) it->itemData = word;
}

int32_t n4get_item_data(int item) {
  MenuItem4* it = n4record(item);
  return it ? it->itemData : 0;
}

MenuKeySource n4char_routine(MenuKeySource routine) {
  if (Environment* env = EnvCurrent()) env->menuKeyRoutine = routine;
  return routine;
}

int n4calc(int window, int row, int col) {
  Window4* w = w4record(window);
  if (!w) return window;
  int longest = 0;
  for (int h : WindowItems(w)) longest = std::max(longest, TextLength(n4record(h)->text));
  PullDown(window, row, col, longest);
  w = w4record(window);
  int k = 0;
  for (int h : WindowItems(w)) {
    k++;
    MenuItem4* it = n4record(h);
    if (it->action == SubmenuAction && it->submenu) n4calc(*it->submenu, w->row + k, w->col + 1);
  }
  return window;
}

int n4lotus(int window) {
  Window4* w = w4record(window);
  if (!w) return -1;
  w->row = std::max(w->row, 0);
  w->col = std::max(w->col, 0);
  w->exitKey1 = KEY_ESC;
  w->exitKey2 = KEY_SLASH;
  w->exitLow = w->exitHigh = 0;
  int col = 0;
  for (int h : WindowItems(w)) {
    MenuItem4* it = n4record(h);
    it->row = 0;
    it->col = col;
    col += TextLength(it->text);
    if (it->action == SubmenuAction && it->submenu) {
      if (Window4* sub = w4record(*it->submenu)) {
        sub->row = w->row;
        sub->col = w->col;
        n4lotus(*it->submenu);
      }
    }
  }
  w->height = 1;
  w->width = Desktop.cols - w->col;
  int previous = w4select(window);
  w4popup();
  w4select(previous);
  w->barMenu = 1;
  Desktop.barRow = w->row + 1;
  Desktop.barCol = w->col;
  return w->col;
}

int n4activate(int window, int shade, MenuDisplayRoutine display, void* displayData, int wrap) {
  MenuRun run(window, shade, display, displayData, wrap);
  return run.Run();
}

int DefineMenuWindow() { return w4define(-1, -1, -1, -1); }

int DefineMainMenuWindow() {
  int h = DefineMenuWindow();
  if (h < 0) return -1;
  w4popup();
  w4attribute(7);
  return h;
}

int MenuDefineItem(const char* text, int rightsNumber, int key, int value, MenuAction action, int32_t* submenu) {
  int hotPos = HotPosition(text, key & 0x7F);
  n4attribute(7, 240);
  int h = n4item(-1, -1, text);
  if (h < 0) return h;
  MenuItem4* it = n4record(h);
  it->history = (key & 0x80) ? 1 : 0;
  n4key(key & 0x7F, 1, hotPos);
  if (static_cast<int8_t>(value) >= 0) it->value = value;
  it->action = action ? action : SubmenuAction;
  it->submenu = submenu;
  it->rightsNumber = rightsNumber;
  return h;
}

int get_menu_function(const char* title, const char* const* items, int start, int row, int col) {
  return get_menu_function_skipping(title, items, start, row, col, 0);
}

int get_menu_function_skipping(const char* title, const char* const* items, int start, int row, int col,
                               uint64_t skipped) {
  if (!items || !items[0] || !items[1]) return -1;
  int count = 0;
  while (items[count + 1]) count++;
  Environment* env = EnvCurrent();
  int caretRow = env ? env->caretRow : -1, caretCol = env ? env->caretColumn : -1;
  w4cursor(-1, -1);
  int saved = w4select(-1);

  const char* shownTitle = title ? title : "WYBIERZ";
  int content = TextLength(items[0]);
  int width = std::min(std::max(content, TextLength(shownTitle) - 2) + 2, Desktop.cols - 2);
  if (row < 0) {
    row = (29 - (count + 1)) / 4 + (Desktop.rows - 30) / 2;
    col = (Desktop.cols - (width + 2)) / 2;
  }
  int window = DefineWyboruWindow(row, col, title);
  if (window < 0) {
    w4select(saved);
    if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
    return -1;
  }
  n4attribute(249, 112);
  int first = -1, startItem = -1;
  for (int i = 1; i <= count; i++) {
    int h = n4item(-1, -1, items[i]);
    if (h < 0) break;
    int key = i <= 9 ? '0' + i : 'a' + (i - 10);
    n4key(key, 1, HotPosition(items[i], key));
    n4parm(-i);
    if (i < 64 && (skipped >> i & 1)) n4skip_over(h, 1);
    if (i == 1) first = h;
    if (i == std::max(start, 1)) startItem = h;
  }
  n4start_item(startItem >= 0 ? startItem : first);
  PullDown(window, row, col, content);

  MenuKeySource previousRoutine = env ? env->menuKeyRoutine : nullptr;
  n4char_routine(F2AsEnter);
  int result = n4activate(window, 0, nullptr, nullptr, 1);
  n4char_routine(previousRoutine);

  w4close(window);
  w4select(saved);
  if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
  return result < 0 ? -result : -1;
}

int n4item_menu(const char* text, int row, int col, int32_t parameter, MenuAction action, int key) {
  n4attribute(142, 126);
  int h = n4item(row, col, text);
  if (h < 0) return -1;
  n4parm(parameter);
  n4action(action);
  int k = static_cast<int8_t>(key);
  if (k < 0)
    n4key(KEY_F2, 1, -1);
  else if (k >= 2)
    n4key(k, 1, HotPosition(text, k));
  if (k == 1) {
    int separator = n4item(row >= 0 ? row + 1 : -1, col, " ");
    if (separator >= 0) n4skip_over(separator, 1);
  }
  return h;
}
