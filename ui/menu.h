// Menus: items kept in the desktop's item pool and chained per window, the
// pull-down, bar and grid layouts, and the menu loop n4activate with hot
// letters, type-ahead search, the rights test before an item's action and
// the menu-use history around it. Also the main program's convenience calls
// and the pop-up choice list.
#pragma once
#include <cstdint>

// Runs on Enter with the item's value. Negative leaves the menu with that
// result, positive becomes the next key of the menu, 0 goes on.
typedef int32_t (*MenuAction)(int32_t value);
// Called after an item is drawn with (data, item value, screen row), and with
// (data, -1000, 0) before a whole page is drawn.
typedef void (*MenuDisplayRoutine)(void* data, int32_t value, int32_t screenRow);
// The key source of all menus.
typedef int (*MenuKeySource)();

struct MenuItem4 {
  int32_t next, prev;        // the window's item chain, in creation order
  int32_t row, col;          // -1: laid out by the menu
  int32_t window;            // handle of the menu window holding the item
  const char* text;          // not copied
  int32_t skip;              // shown shaded, never selected
  int32_t hotKey;
  int32_t enterOnHotKey;     // the hot key runs the item at once
  int32_t hotPos;            // highlighted position of the hot letter, -1 none
  int32_t itemAttr;
  MenuAction action;
  int32_t value;             // returned on Enter or handed to the action; default the item's handle
  int32_t* submenu;          // variable holding the handle of the item's pull-down window
  int32_t itemData;          // a word for the caller
  int32_t rightsNumber;      // the operator's right and the help topic of the item
  int32_t history;           // 1: the use of the item is written to the history
};

constexpr int MENU_POOL_FIRST = 20;
constexpr int MENU_POOL_GROWTH = 20;
constexpr int MENU_SEARCH_MAX = 20;            // type-ahead characters of search mode
constexpr int MENU_PAGE_REDRAW = -1000;        // display routine value before a page is drawn

// hotKeyMode of a window.
constexpr int MENU_HOT_NONE = 0;
constexpr int MENU_HOT_LETTERS = 1;
constexpr int MENU_HOT_SEARCH = 2;

// The last raw key a menu read; the get editor takes a Ctrl+Down, Ctrl+Up,
// Ctrl+PgDn or Ctrl+PgUp that ended a menu from here (and clears it).
extern int32_t lastMenuKey;

MenuItem4* n4record(int item);   // NULL when the handle names no item

// Building. "The last item" is the last item of the current window; the
// calls that change it do nothing when there is none.
int n4item(int row, int col, const char* text);   // the new item's handle, or -1
void n4key(int key, int enterOnHotKey, int hotPos);
void n4action(MenuAction action);
void n4parm(int32_t value);
void n4attribute(int itemAttr, int selAttr);      // of the current window, for items added afterwards
int n4skip_over(int item, int flag);              // returns the old flag
void n4start_item(int item);
void n4redraw(int window);
void n4set_item_data(int32_t word);
int32_t n4get_item_data(int item);
// NULL makes the key source g4char after dropping the buffered key. Kept in
// the Environment's menuKeyRoutine; returns the routine given.
MenuKeySource n4char_routine(MenuKeySource routine);

// Layouts: a pull-down with its frame at (row, col), kept on the screen;
// returns the window. A one-line bar at the window's own position; returns
// the bar's column. Pull-downs of submenu items are laid out with them.
int n4calc(int window, int row, int col);
int n4lotus(int window);

// The menu loop: the value of an item without action, a negative action
// result, or the key that left the menu; 0 at once for a menu without items.
int n4activate(int window, int shade, MenuDisplayRoutine display, void* displayData, int wrap);

// Convenience calls of the main program.
int DefineMenuWindow();
int DefineMainMenuWindow();
// key: the hot letter, with 0x80 added for items whose use goes to the
// history; value as a signed byte below 0 keeps the item's own handle;
// without an action the item opens the pull-down held in *submenu.
// Returns the item's handle, or -1.
int MenuDefineItem(const char* text, int rightsNumber, int key, int value, MenuAction action, int32_t* submenu);

// A pop-up choice list: items[0] gives the width only, items[1..] up to NULL
// are the choices. Returns the chosen number (1 the first) or -1 for Esc.
// A negative row places the window by itself.
int get_menu_function(const char* title, const char* const* items, int start, int row, int col);
// The same with the items whose bit is set in `skipped` (bit i: item i)
// shown but passed over.
int get_menu_function_skipping(const char* title, const char* const* items, int start, int row, int col,
                               uint64_t skipped);
// One item of the menu being defined, in colours 142 and 126. key as a signed
// byte: 0 or 1 the default hot key, 2..127 that key, with bit 0x80 F2; 1 also
// adds a skipped one-blank separator after the item. Returns the item or -1.
int n4item_menu(const char* text, int row, int col, int32_t parameter, MenuAction action, int key);
