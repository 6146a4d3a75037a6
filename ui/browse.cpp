#include "ui/browse.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/temp_strings.h"
#include "ui/definition_lists.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/rights.h"
#include "ui/stamp_window.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/window4.h"

BrowseContext* CurrentBrowse = nullptr;
long LastAppendedRecord = 0;
BrowsePrintRoutine BrowsePrintTabulogram = nullptr;

namespace {

constexpr int MSG_ASK_DELETE = 50005;
constexpr int MSG_NO_ITEMS = 50007;
constexpr int MSG_TAG_MISMATCH = 50171;
constexpr int LOG_TAG_MISMATCH = 18;
constexpr int KEY_CTRL_W = 23;
constexpr int KEY_ALT_U = 0x1600, KEY_ALT_D = 0x2000, KEY_ALT_M = 0x3200, KEY_ALT_K = 0x2500;
constexpr int KEY_SLASH = 47;
constexpr int LINE_LENGTH = 78;       // characters of a background line
constexpr int SEEK_LENGTH = 58;
constexpr int FIRST_LIST_ROW = 3;     // title, column names and rule above
constexpr int LIST_ATTR = 0x7F, TITLE_ATTR = 0x8E, NAMES_ATTR = 0x78;
constexpr int ROW_FRAME = 0x78, ROW_TEXT = 0x7F, ROW_NEGATIVE = 0x74;
constexpr int HL_FRAME = 0x87, HL_TEXT = 0x8F, HL_NEGATIVE = 0x8C;
constexpr int RECORD_ATTR = 0x1F, RECORD_BORDER = 0x17, BACKGROUND_ATTR = 0x17;
constexpr int REL_ROW_ATTR = 0x1E, REL_TITLE_ATTR = 0xE1;
constexpr int FILTER_MARK_WIDTH = 9;
constexpr unsigned char RULE_CHAR = 0xC4, RULE_JOIN = 0xC1;

BrowseContext* Ctx() { return CurrentBrowse; }

// The browse blanks the record buffer to show or fill a record that is not
// stored yet; the engine must never write that buffer back over the record
// the table stands on.
void BlankRecord(DbTable* table) {
  d4blank(table);
  d4changed(table, 0);
}

int Filter(BrowseContext* c) { return c->filter_fn ? c->filter_fn(c->filter_data) : X4_ACCEPT; }

// The scan's filter: a list never shows a deleted record (a table walked in
// record order passes over them only here), then the module's filter.
int ListedFilter(intptr_t user) {
  auto* c = reinterpret_cast<BrowseContext*>(user);
  if (d4deleted(c->table) == 1) return X4_REJECT;
  return Filter(c);
}

void DrawListRow(BrowseContext* c, int row, bool highlighted, bool withRecord) {
  Window4* w = w4record(c->list_window);
  if (!w || !c->columns) return;
  int previous = w4select(c->list_window);
  if (withRecord)
    ScrollColumnsRow(c->columns, FIRST_LIST_ROW + row, highlighted ? HL_FRAME : ROW_FRAME,
                     highlighted ? HL_TEXT : ROW_TEXT, highlighted ? HL_NEGATIVE : ROW_NEGATIVE);
  else
    ScrollColumnsRow(c->columns, FIRST_LIST_ROW + row, ROW_FRAME, -1, -1);
  ImageRepaint(w->col, w->row + FIRST_LIST_ROW + row, w->width, 1);
  w4select(previous);
}

// The numbered resource's lines, each LINE_LENGTH characters, passed through the fixup.
std::string LoadLines(ResIdRoutine source, BrowseLinesFixup fixup, int count) {
  std::string lines(static_cast<size_t>(std::max(count, 0)) * LINE_LENGTH, ' ');
  if (!source || count <= 0) return lines;
  uint16_t size = 0;
  const unsigned char* data = EnvFindRcData(RC_ACTIVE_INSTANCE, source, &size);
  if (data) {
    size_t n = std::min<size_t>(strnlen(reinterpret_cast<const char*>(data), size), lines.size());
    std::memcpy(&lines[0], data, n);
    for (size_t i = 0; i < n; i++)
      if (lines[i] == '\0') lines[i] = ' ';
  }
  if (fixup) fixup(&lines[0]);
  return lines;
}

void DrawTexts(TextCtrl* list, int attr) {
  if (!list) return;
  w4attribute(attr);
  for (TextCtrl* t = list;; t++) {
    DrawTextCtrl(t);
    if (t->flags & DEF_LAST) break;
  }
}

void RepaintWindow(int handle) {
  Window4* w = w4record(handle);
  if (w) ImageRepaint(w->col, w->row, w->width, w->height);
}

// ---- related records

std::string RightAligned(long value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
  return text;
}

void DrawRelatedRows(BrowseContext* c) {
  Window4* w = w4record(c->rel_window);
  if (!w) return;
  int previous = w4select(c->rel_window);
  if (c->rel_columns_fn) {
    ScrollColumn* list = c->rel_columns_fn();
    if (list != c->rel_columns) {
      w4clear(0);
      c->rel_columns = list;
      if (list) ScrollColumnsHeader(list, c->rel_title, REL_TITLE_ATTR, REL_ROW_ATTR);
    }
  }
  int rows = w->height - FIRST_LIST_ROW;
  int row = 0;
  if (c->rel_columns && c->rel_table && c->rel_tag && c->rel_key_field && c->rel_link_field) {
    long value = f4long(c->rel_key_field);
    std::string key = RightAligned(value, static_cast<int>(f4len(c->rel_key_field)));
    d4tag_select(c->rel_table, c->rel_tag);
    if (d4seek(c->rel_table, key.c_str()) == 0) {
      while (row < rows && !d4eof(c->rel_table) && f4long(c->rel_link_field) == value) {
        ScrollColumnsRow(c->rel_columns, FIRST_LIST_ROW + row, REL_ROW_ATTR, REL_ROW_ATTR, REL_ROW_ATTR);
        row++;
        if (d4skip(c->rel_table, 1) != 0) break;
      }
    }
    if (row < rows) {
      // A closing rule under the last related record.
      w4attribute(REL_ROW_ATTR);
      w4repeat(FIRST_LIST_ROW + row, 0, ' ', w->width);
      int start = 0;
      for (ScrollColumn* col = c->rel_columns;; col++) {
        int end = col->endPos;
        if (end > start) w4repeat(FIRST_LIST_ROW + row, start, RULE_CHAR, end - start);
        if (col->flags & DEF_LAST) break;
        if (end < w->width) w4repeat(FIRST_LIST_ROW + row, end, RULE_JOIN, 1);
        start = end + 1;
      }
      row++;
    }
  }
  w4attribute(REL_ROW_ATTR);
  for (; row < rows; row++) w4repeat(FIRST_LIST_ROW + row, 0, ' ', w->width);
  ImageRepaint(w->col, w->row + FIRST_LIST_ROW, w->width, std::max(rows, 0));
  w4select(previous);
}

// ---- the record window

// The record window: the background lines and a full drawing of the wigets
// the first time, the record's texts and wigets afterwards.
void DrawRecordWindow(BrowseContext* c, bool first) {
  if (c->rel_shown) {
    DrawRelatedRows(c);
    return;
  }
  Window4* w = w4record(c->record_window);
  if (!w) return;
  int previous = w4select(c->record_window);
  if (c->record_texts) {
    if (first && c->record_lines_count > 0) {
      std::string lines = LoadLines(c->record_lines_source, c->record_lines_fixup, c->record_lines_count);
      write_to_screen(lines.c_str(), 0, LINE_LENGTH, 0, c->record_lines_count, BACKGROUND_ATTR);
    }
    DrawTexts(c->record_texts, RECORD_ATTR);
    if (!first && c->after_show_record) c->after_show_record();
  }
  if (c->record_wigets) {
    if (first) w4clear(0);
    if (c->before_wigets) c->before_wigets();
    if (first) {
      DisplayPageWigets(w, c->record_wigets, 0, 0, 0x0D);
    } else {
      int empty = c->is_empty ? 0x08 : 0;
      DisplayPageWigets(w, c->record_wigets, 0, 0, 0x16 | empty);
      DisplayPageWigets(w, c->record_wigets, 0, 0, 0x07 | empty);
    }
  }
  RepaintWindow(c->record_window);
  w4select(previous);
}

void ShowRecord(BrowseContext* c) { DrawRecordWindow(c, false); }

// ---- display from a record

int Display(BrowseContext* c, long start) {
  DbTable* table = c->table;
  DbEngine* engine = table->engine;
  if (engine->cache.started) {   // read what other workstations changed
    d4opt_suspend(engine);
    d4opt_start(engine);
  }
  if (c->is_empty) start = 0;
  c->is_empty = 0;
  auto fromTop = [&]() -> bool {
    int r = c->top_fn(&c->scan);
    if ((r == 0 || r == 4) && !c->at_end) {
      start = d4recno(table);
    } else if (r == 3 || r == 0 || r == 4) {
      c->is_empty = 1;
      start = 0;
    } else {
      return false;
    }
    return true;
  };
  if (start == 0) {
    if (!fromTop()) return -1;
  } else if (start < 0) {
    int r = c->bottom_fn(&c->scan);
    if (r == 0 && !c->at_end) {
      start = d4recno(table);
    } else if (r == 3 || r == 4 || r == 0) {
      c->is_empty = 1;
      start = 0;
    } else {
      return -1;
    }
  } else {
    if (d4go(table, start) != 0) return -1;
    if (ListedFilter(reinterpret_cast<intptr_t>(c)) != X4_ACCEPT && !fromTop()) return -1;
  }

  bool failed = false;
  if (w4record(c->list_window) && c->columns) {
    c->current_row = 0;
    int n = c->edit_mode ? c->edit_row - 6 : c->list_rows - 1;
    bool record = !c->is_empty;
    for (int i = 0; n > 0 && i <= n; i++) {
      if (record) {
        DrawListRow(c, i, i == c->current_row, true);
        int r = c->skip_fn(&c->scan, 1);
        if (r < 0) failed = true;
        if (r != 0 || c->at_end) record = false;
      } else {
        DrawListRow(c, i, false, false);
      }
    }
  }
  c->at_top = c->at_end = 0;
  if (start > 0) {
    if (x4go(&c->scan, start) < 0) failed = true;
  } else {
    BlankRecord(table);
    Filter(c);
  }
  if (c->edit_mode)
    wyswietl_edit_window_modify(c, c->edit_window, BACKGROUND_ATTR, RECORD_ATTR);
  else
    ShowRecord(c);
  return failed ? -1 : 0;
}

// ---- keys

// The text Ctrl+W searches: the record without its deletion mark.
const char* RecordText() {
  DbTable* table = Ctx()->table;
  return QuickStr(d4record(table) + 1, static_cast<int>(d4record_width(table)) - 1, 0);
}

int LocateShow(long record) { return Display(Ctx(), record); }
void LocateHints(int on) {
  if (on) {
    set_fun_help("\x19", Utf8ToMazText("Następny").c_str(), 9);
    set_fun_help("\x18", "Poprzedni", 10);
  } else {
    remove_fun_help("\x19");
    remove_fun_help("\x18");
  }
}
const DbLocateView kLocateView = {LocateShow, LocateHints};

int FragmentSearch(BrowseContext* c) {
  Window4* w = w4record(c->seek_window);
  if (!w || c->seek_window <= 0) return KEY_CTRL_W;
  int previous = w4select(c->seek_window);
  w4activate(c->seek_window);
  const char* prompt = "Szukaj fragmentu -";
  w4(0, 0, prompt);
  char fragment[SEEK_LENGTH + 1];
  std::memset(fragment, ' ', SEEK_LENGTH);
  fragment[SEEK_LENGTH] = '\0';
  g4(0, static_cast<int>(std::strlen(prompt)) + 1, fragment);
  int key = g4read();
  long found = d4recno(c->table);
  bool searched = key == KEY_ENTER;
  if (searched) found = BrowseLocate(fragment, RecordText);
  w4deactivate(c->seek_window);
  w4select(previous);
  if (!searched) return 0;
  if (Display(c, found < 0 ? 0 : found) < 0) return KEY_ESC;
  return 0;
}

void MoveHighlight(BrowseContext* c, int step) {
  Window4* w = w4record(c->list_window);
  int last = c->list_rows - 1;
  int next = c->current_row + step;
  if (next < 0 || next > last) {
    if (w && c->columns) ImageScroll(w->col, w->row + FIRST_LIST_ROW, w->width, c->list_rows, step > 0 ? 1 : -1);
    if (w) ImageRepaint(w->col, w->row + FIRST_LIST_ROW, w->width, c->list_rows);
  } else {
    c->current_row = next;
  }
  DrawListRow(c, c->current_row, true, true);
  ShowRecord(c);
}

int KeyUp(BrowseContext* c) {
  DrawListRow(c, c->current_row, false, true);
  int r = c->skip_fn(&c->scan, -1);
  if (r != 0 || c->at_top) return Display(c, 0);
  MoveHighlight(c, -1);
  return 0;
}

int KeyDown(BrowseContext* c) {
  DrawListRow(c, c->current_row, false, true);
  int r = c->skip_fn(&c->scan, 1);
  if (r < 0) return Display(c, 0);
  if (r > 0 && !c->at_end) {
    if (c->skip_fn(&c->scan, -1) != 0) return -1;
    DrawListRow(c, c->current_row, true, true);
    return 0;
  }
  if (c->at_end) {
    DrawListRow(c, c->current_row, true, true);
    return 0;
  }
  MoveHighlight(c, 1);
  return 0;
}

int KeyPgUp(BrowseContext* c) {
  int r = c->skip_fn(&c->scan, -(c->list_rows - 1));
  if (r != 0 || c->at_top) return Display(c, 0);
  return Display(c, d4recno(c->table));
}

int KeyPgDn(BrowseContext* c) {
  int r = c->skip_fn(&c->scan, c->list_rows - 1);
  if (r < 0) return Display(c, 0);
  if (r > 0 && !c->at_end && c->skip_fn(&c->scan, -1) == -1) return -1;
  return Display(c, d4recno(c->table));
}

int BrowseKey() {
  int key = g4char();
  BrowseContext* c = Ctx();
  if (!c) return key;
  DbTable* table = c->table;
  DbTag* selected = d4tag_selected(table);
  if (selected != c->shown_tag)
    ErrLogMessage(EL_FORMAT | EL_ERROR | EL_FLUSH, LOG_TAG_MISMATCH, TextRef(MSG_TAG_MISMATCH), d4alias(table),
                  selected ? selected->name : "", c->shown_tag ? c->shown_tag->name : "");
  if (c->pre_key_hook) c->pre_key_hook(key);
  if (d4reccount(table) <= 0) return key;
  switch (key) {
    case KEY_UP:
    case KEY_DOWN:
    case KEY_PGUP:
    case KEY_PGDN:
    case KEY_HOME:
    case KEY_END:
      if (c->is_empty) return 0;
      clr_key_buf();
      switch (key) {
        case KEY_UP: return KeyUp(c);
        case KEY_DOWN: return KeyDown(c);
        case KEY_PGUP: return KeyPgUp(c);
        case KEY_PGDN: return KeyPgDn(c);
        case KEY_HOME:
          if (c->top_fn(&c->scan) < 0) return -1;
          return Display(c, 0);
        default: {
          int r = c->bottom_fn(&c->scan);
          if (r < 0) return -1;
          return Display(c, r > 0 || c->at_end ? 0 : d4recno(table));
        }
      }
    case KEY_TAB:
      clr_key_buf();
      return BrowseSwitchTag(c);
    case KEY_CTRL_W:
      if (c->is_empty) return 0;
      return FragmentSearch(c);
    default:
      // A list that shows nothing (its records deleted or filtered out) has
      // no current record for the module's keys.
      if (c->key_hook && !c->is_empty) c->key_hook(key);
      return key;
  }
}

void CloseWindow(int* handle) {
  if (*handle < 0) return;
  w4deactivate(*handle);
  w4close(*handle);
  *handle = -1;
}

bool AnyTaggedColumn(ScrollColumn* list) {
  if (!list) return false;
  for (ScrollColumn* col = list;; col++) {
    if (col->tag && *col->tag) return true;
    if (col->flags & DEF_LAST) return false;
  }
}

int RunModifyHook(BrowseContext* c, int slot) { return c->modify_hooks[slot] ? c->modify_hooks[slot]() : 0; }

}  // namespace

// ---- context

int browse_empty_function() { return 0; }
int browse_empty_filter(intptr_t) { return X4_ACCEPT; }

namespace {
int NoKey(int) { return 0; }
int EmptyStep(int) { return 0; }
}  // namespace

int allocate_browse(BrowseContext** ctx, DbTable* table, DbTag* tag, ScrollColumn* columns, int menu_window) {
  void* memory = u4alloc(sizeof(BrowseContext));
  if (!memory) return -1;
  BrowseContext* c = new (memory) BrowseContext();
  c->table = table;
  c->columns = columns;
  c->menu_window = menu_window;
  if (table) d4tag_select(table, tag);
  c->record_row = 16;
  c->record_height = 11;
  c->edit_height = 10;
  Environment* env = EnvCurrent();
  if (env) {
    c->saved_char_routine = env->menuKeyRoutine;
    c->saved_caret_row = env->caretRow;
    c->saved_caret_col = env->caretColumn;
  } else {
    c->saved_caret_row = c->saved_caret_col = -1;
  }
  c->filter_fn = browse_empty_filter;
  c->seek_window = -1;
  c->list_window = c->rel_window = c->record_window = c->edit_window = -1;
  c->blank_window = c->footer_window = -1;
  c->append_fn = lock_and_append;
  c->before_new = c->on_cancel = c->on_validate = c->after_append = browse_empty_function;
  c->before_write = c->after_write = EmptyStep;
  for (int i = 0; i < MODIFY_HOOKS; i++)
    if (i != MODIFY_PREPARE) c->modify_hooks[i] = browse_empty_function;
  c->before_delete = c->after_delete = browse_empty_function;
  c->key_hook = c->pre_key_hook = NoKey;
  c->top_fn = x4top;
  c->bottom_fn = x4bottom;
  c->skip_fn = x4skip;
  c->result = -1;
  c->previous = CurrentBrowse;
  CurrentBrowse = c;
  *ctx = c;
  w4cursor(-1, -1);
  add_help_line();
  return 0;
}

void free_browse(BrowseContext** ctx) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return;
  remove_help_line();
  CurrentBrowse = c->previous;
  if (ctx) *ctx = CurrentBrowse;
  n4char_routine(c->saved_char_routine);
  if (c->saved_caret_row >= 0 && c->saved_caret_col >= 0) w4cursor(c->saved_caret_row, c->saved_caret_col);
  c->~BrowseContext();
  u4free(c);
}

int zrob_browse(int recordLines, int editLines, long start) {
  BrowseContext* c = Ctx();
  if (!c || !c->table) return -1;
  int rows = Desktop.rows, cols = Desktop.cols;
  int remembered = w4select(-1);
  if (AnyTaggedColumn(c->columns)) set_fun_help("Ctrl+I", "Indeks", 1);
  c->list_window = c->rel_window = c->record_window = -1;
  c->current_row = 0;
  c->result = -1;

  c->blank_window = w4define(1, 0, 1, cols - 1);
  w4attribute(7);
  w4popup();
  w4activate(c->blank_window);
  if (c->footer) {
    c->footer_window = w4define(rows - 2, 0, rows - 2, cols - 1);
    w4attribute(TITLE_ATTR);
    w4popup();
    w4activate(c->footer_window);
    w4centre(0, c->footer);
  }

  if (!c->edit_texts) c->edit_texts = c->record_texts;
  if (!c->edit_lines_source) {
    c->edit_lines_source = c->record_lines_source;
    c->edit_lines_fixup = c->record_lines_fixup;
    c->edit_lines_count = c->record_lines_count;
  }
  bool recordWindow = c->record_texts || c->record_wigets;
  if (recordWindow) {
    c->record_height = recordLines + 2;
    c->edit_height = editLines + 2;
    c->record_row = rows - 2 - c->record_height;
    c->edit_row = rows - 2 - c->edit_height;
    c->list_rows = c->record_row - 5;
  } else {
    c->list_rows = rows - 7;
  }

  c->shown_tag = d4tag_selected(c->table);
  if (c->columns) {
    c->list_window = w4define(2, 0, c->list_rows + 4, cols - 1);
    w4attribute(LIST_ATTR);
    w4popup();
    w4activate(c->list_window);
    c->list_width = ScrollColumnsHeader(c->columns, c->title, TITLE_ATTR, NAMES_ATTR);
  }
  if (recordWindow) {
    c->record_window = w4define(c->record_row, 0, c->record_row + c->record_height - 1, cols - 1);
    w4attribute(RECORD_ATTR);
    w4border(kStdFrame, RECORD_BORDER);
    Window4* w = w4record(c->record_window);
    if (w) w->colourSet = BrowseEditColours;
    w4popup();
    w4activate(c->record_window);
  }
  c->seek_window = DefineSeekWindow(-1, -1, -1, -1, nullptr, 2, nullptr, nullptr);

  BlankRecord(c->table);
  DrawRecordWindow(c, true);
  x4init(&c->scan, c->table, ListedFilter, reinterpret_cast<intptr_t>(c));

  if (Display(c, start) == 0) {
    n4lotus(c->menu_window);
    n4char_routine(BrowseKey);
    int answer;
    do {
      answer = n4activate(c->menu_window, 1, nullptr, nullptr, 1);
    } while (answer == KEY_SLASH);
    n4char_routine(nullptr);
    if (answer == KEY_ESC) c->result = 0;
  }

  if (c->rel_shown) {
    CloseWindow(&c->rel_window);
    c->rel_shown = 0;
  }
  CloseWindow(&c->seek_window);
  CloseWindow(&c->record_window);
  CloseWindow(&c->list_window);
  CloseWindow(&c->footer_window);
  CloseWindow(&c->blank_window);
  w4select(remembered);
  LastAppendedRecord = c->last_appended;
  return c->result;
}

int browse_call(int, long record) {
  BrowseContext* c = Ctx();
  if (!c) return -1;
  DbTag* selected = d4tag_selected(c->table);
  if (selected != c->shown_tag) {
    c->shown_tag = selected;
    if (w4record(c->list_window) && c->columns) {
      int previous = w4select(c->list_window);
      c->list_width = ScrollColumnsHeader(c->columns, c->title, TITLE_ATTR, NAMES_ATTR);
      w4select(previous);
    }
  }
  return Display(c, record) < 0 ? -1 : 0;
}

int BrowseSwitchTag(BrowseContext* c) {
  if (!c || !c->columns) return 0;
  DbTag* first = nullptr;
  DbTag* wanted = nullptr;
  bool afterShown = false;
  for (ScrollColumn* col = c->columns;; col++) {
    DbTag* tag = col->tag ? *col->tag : nullptr;
    if (tag) {
      if (!first) first = tag;
      if (afterShown && !wanted) wanted = tag;
      if (tag == c->shown_tag) afterShown = true;
    }
    if (col->flags & DEF_LAST) break;
  }
  if (!first) return 0;
  if (!wanted) wanted = first;
  clr_key_buf();
  d4tag_select(c->table, wanted);
  return browse_call(0, 0);
}

int EmptyBrowseWarning(BrowseContext* c) {
  if (!c || !c->is_empty) return 0;
  Uwaga(MSG_NO_ITEMS);
  return -1;
}

int DefineEditModifyWindow(BrowseContext* c) {
  return DefineBroAppeWindow(28 - c->edit_height, 0, c->edit_height, 80, nullptr, 0, nullptr, nullptr);
}

void wyswietl_edit_window_modify(BrowseContext* c, int window, int backgroundAttr, int fieldAttr) {
  if (!c || !c->edit_texts || !w4record(window)) return;
  int previous = w4select(window);
  w4clear(0);
  std::string lines = LoadLines(c->edit_lines_source, c->edit_lines_fixup, c->edit_lines_count);
  if (c->edit_lines_count > 0) write_to_screen(lines.c_str(), 0, LINE_LENGTH, 0, c->edit_lines_count, backgroundAttr);
  DrawTexts(c->edit_texts, fieldAttr);
  if (c->after_show_edit) c->after_show_edit();
  RepaintWindow(window);
  w4select(previous);
}

void BrowseDispFilterState(int on) {
  BrowseContext* c = Ctx();
  if (!c || !w4record(c->list_window)) return;
  int previous = w4select(c->list_window);
  int col = Desktop.cols - 10;
  w4num_att(0, col, "         ", FILTER_MARK_WIDTH, TITLE_ATTR);
  if (on) w4num_att(0, col, "FILTR !!!", FILTER_MARK_WIDTH, TITLE_ATTR);
  Window4* w = w4record(c->list_window);
  ImageRepaint(w->col, w->row, w->width, 1);
  w4select(previous);
}

void set_is_format(EditCtrl* list, void* data, int flag) {
  if (!list) return;
  for (EditCtrl* e = list;; e++) {
    if (e->data == data) {
      if (static_cast<int8_t>(flag & 0xFF) < 0)
        e->flags |= EDIT_SKIP;
      else
        e->flags &= ~EDIT_SKIP;
      return;
    }
    if (e->flags & DEF_LAST) return;
  }
}

void SetTextCtrlEnabled(TextCtrl* list, DbField** field, int flag) {
  if (!list) return;
  for (TextCtrl* t = list;; t++) {
    if (t->field == field) {
      if (static_cast<int8_t>(flag & 0xFF) < 0)
        t->flags |= TEXT_HIDDEN;
      else
        t->flags &= static_cast<uint8_t>(~TEXT_HIDDEN);
      return;
    }
    if (t->flags & DEF_LAST) return;
  }
}

// ---- actions

int browse_dopisz(int once) {
  BrowseContext* c = Ctx();
  if (!c) return -1;
  DbTable* table = c->table;
  bool big = Desktop.rows > 30 || Desktop.cols > 80;
  int previous = w4select(-1);
  c->edit_window = DefineEditModifyWindow(c);
  if (big) w4keep_contents();
  w4activate(c->edit_window);
  c->edit_mode = 1;
  c->modify_mode = 0;
  add_help_line();
  set_fun_help("F2", "Zapisz", 2);

  long remembered = 0;
  for (;;) {
    if (!c->is_empty) remembered = d4recno(table);
    BlankRecord(table);
    if (Filter(c) < 0 || c->before_new() != 0) break;
    wyswietl_edit_window_modify(c, c->edit_window, BACKGROUND_ATTR, RECORD_ATTR);
    c->form_start = 1;
    w4select(c->edit_window);
    int left = c->append_edits ? build_get_struct(BGS_NEW_ITEM, c->append_edits, 0x70) : 0;
    if (left != 0) {
      d4changed(table, 0);
      c->on_cancel();
      break;
    }
    if (c->on_validate() != 0) {
      d4changed(table, 0);
      break;
    }
    set_pass_inf(0, c->stamp_field);
    d4changed(table, 0);
    if (c->append_fn(table, c->before_write, c->after_write) != 0) break;
    long number = d4recno(table);
    c->last_appended = number;
    if (c->after_append() != 0) break;
    if (big) {
      w4deactivate(c->edit_window);
      c->edit_mode = 0;
    }
    int shown = 0;
    if (number <= d4reccount(table)) shown = browse_call(0, number);
    if (big) {
      w4activate(c->edit_window);
      c->edit_mode = 1;
    }
    if (shown != 0 || once == 1) break;
  }

  d4unlock(table);
  remove_help_line();
  CloseWindow(&c->edit_window);
  c->edit_mode = 0;
  w4select(previous);
  return Display(c, remembered) < 0 ? -1 : 0;
}

long BrowseLocate(const char* fragment, DbLocateText text) {
  BrowseContext* c = Ctx();
  if (!c) return -1;
  add_help_line();
  LocateViewInstall(&kLocateView);
  long found = Locate(&c->scan, fragment, text);
  LocateViewInstall(nullptr);
  remove_help_line();
  return found;
}

int browse_skasuj(int ask) {
  BrowseContext* c = Ctx();
  if (!c) return -1;
  if (EmptyBrowseWarning(c) != 0) return 0;
  if (ask && Pytanie(MSG_ASK_DELETE) == KEY_ESC) return 0;
  DbTable* table = c->table;
  long record = d4recno(table);
  int r = go_and_lock(table, record);
  if (r > 0) return Display(c, 0) < 0 ? -1 : 0;
  if (r < 0) return -1;
  int answer = c->before_delete();
  if (answer != 0) {
    d4unlock(table);
    return answer == 1 ? 0 : -1;
  }
  r = c->skip_fn(&c->scan, -1);
  if (r < 0) {
    d4unlock(table);
    return -1;
  }
  long show = r > 0 || c->at_top ? 0 : d4recno(table);
  if (d4go(table, record) != 0) {
    d4unlock(table);
    return -1;
  }
  d4delete(table);
  int failed = d4flush(table) != 0;
  if (d4unlock(table) != 0) failed = 1;
  c->after_delete();
  if (failed) return -1;
  return browse_call(0, show) < 0 ? -1 : 0;
}

int browse_modyfikuj(int) {
  BrowseContext* c = Ctx();
  if (!c) return -1;
  if (EmptyBrowseWarning(c) != 0) return 0;
  DbTable* table = c->table;
  long record = d4recno(table);
  int r = go_and_lock(table, record);   // reads the record again under the lock
  if (r > 0) return Display(c, record) < 0 ? -1 : 0;
  if (r < 0) return -1;

  int previous = w4select(-1);
  bool wasModify = c->modify_mode;
  c->modify_mode = 1;
  bool write = false;
  if (RunModifyHook(c, MODIFY_BEFORE) == 0) {
    c->edit_window = DefineEditModifyWindow(c);
    w4activate(c->edit_window);
    c->edit_mode = 1;
    add_help_line();
    set_fun_help("F2", "Zapisz", 2);
    wyswietl_edit_window_modify(c, c->edit_window, BACKGROUND_ATTR, RECORD_ATTR);
    if (RunModifyHook(c, MODIFY_PREPARE) == 0) {
      c->form_start = 1;
      w4select(c->edit_window);
      int left = c->append_edits ? build_get_struct(BGS_ASK, c->append_edits, 0x70) : -1;
      if (left != 0) {
        RunModifyHook(c, MODIFY_CANCEL);
      } else {
        set_pass_inf(STAMP_KIND_MODIFIED, c->stamp_field);
        write = RunModifyHook(c, MODIFY_SAVE) == 0 && RunModifyHook(c, MODIFY_AFTER) == 0;
      }
    }
    remove_help_line();
    CloseWindow(&c->edit_window);
    c->edit_mode = 0;
  }
  int failed = 0;
  if (write && d4recno(table) != record) {
    failed = 1;   // a hook left the table on another record: its buffer is not this record
    write = false;
  }
  if (write) {
    if (d4write(table, record) != 0 || d4flush(table) != 0) failed = 1;
  } else {
    d4changed(table, 0);   // Esc or a refusing hook: the stored record stays as it was
  }
  if (d4unlock(table) != 0) failed = 1;
  c->modify_mode = wasModify;
  w4select(previous);
  if (Display(c, record) < 0) failed = 1;
  return failed ? -1 : 0;
}

int browse_drukuj() {
  BrowseContext* c = Ctx();
  if (!c) return -1;
  if (!BrowsePrintTabulogram) {
    Informacja(Utf8ToMazText("Drukowanie nie jest jeszcze dostępne.").c_str());
  } else {
    BrowsePrintTabulogram(c->print_columns, &c->scan, c->table, c->shown_tag, c->print_title, c->print_subtitle,
                          nullptr, 0);
  }
  return Display(c, 0) < 0 ? -1 : 0;
}

int browse_zakoncz() {
  BrowseContext* c = Ctx();
  if (c) c->result = 0;
  return -3;
}

void browse_active_display_relate(BrowseContext* c) {
  if (!c || c->rel_shown) return;
  c->rel_shown = 1;
  int previous = w4select(-1);
  c->rel_window = w4define(c->record_row, 0, c->record_row + c->record_height - 1, Desktop.cols - 1);
  w4attribute(RECORD_ATTR);
  w4popup();
  w4activate(c->rel_window);
  if (c->rel_columns_fn) c->rel_columns = c->rel_columns_fn();
  if (c->rel_columns) ScrollColumnsHeader(c->rel_columns, c->rel_title, REL_TITLE_ATTR, REL_ROW_ATTR);
  DrawRelatedRows(c);
  w4select(previous);
}

void browse_reset_display_relate(BrowseContext* c) {
  if (!c || !c->rel_shown) return;
  CloseWindow(&c->rel_window);
  c->rel_shown = 0;
  Display(c, c->is_empty ? 0 : d4recno(c->table));
}

// ---- the limited browse

namespace {

int SeekLimit(BrowseContext* c, DbScanCtx* scan) {
  std::string key = RightAligned(c->limit_value, static_cast<int>(f4len(c->limit_field)));
  return x4seek(scan, key.c_str());
}

bool HoldsLimit(BrowseContext* c) {
  return !d4eof(c->table) && f4long(c->limit_field) == c->limit_value;
}

// Seeks the limit value: 1 found, 0 nothing matches (at_end set), -1 error.
int StartOfLimit(BrowseContext* c, DbScanCtx* scan) {
  int r = SeekLimit(c, scan);
  if (r < 0) return -1;
  if (r == 3) {
    c->at_end = 1;
    return 0;
  }
  if (HoldsLimit(c)) {
    c->at_end = 0;
    return 1;
  }
  BlankRecord(c->table);
  c->at_end = 1;
  return 0;
}

}  // namespace

int dynfiltr_top(DbScanCtx* scan) {
  BrowseContext* c = Ctx();
  return StartOfLimit(c, scan) < 0 ? -1 : 0;
}

int dynfiltr_bottom(DbScanCtx* scan) {
  BrowseContext* c = Ctx();
  int found = StartOfLimit(c, scan);
  if (found <= 0) return found;
  long last = d4recno(c->table);
  for (;;) {
    int r = x4skip(scan, 1);
    if (r < 0) return -1;
    if (r != 0 || !HoldsLimit(c)) break;
    last = d4recno(c->table);
  }
  return x4go(scan, last) < 0 ? -1 : 0;
}

int dynfiltr_skip(DbScanCtx* scan, long n) {
  BrowseContext* c = Ctx();
  if (n == 0) return 0;
  if (!HoldsLimit(c)) {
    if (n < 0) c->at_top = 1;
    else c->at_end = 1;
    return 0;
  }
  c->at_top = c->at_end = 0;
  int direction = n < 0 ? -1 : 1;
  long last = d4recno(c->table);
  bool stopped = false;
  for (long i = 0; i < (n < 0 ? -n : n); i++) {
    int r = x4skip(scan, direction);
    if (r < 0) return -1;
    if (r != 0 || !HoldsLimit(c)) {
      stopped = true;
      break;
    }
    last = d4recno(c->table);
  }
  if (x4go(scan, last) < 0) return -1;
  if (stopped) {
    if (direction < 0) c->at_top = 1;
    else c->at_end = 1;
  }
  return 0;
}

// ---- the common browse keys

void hot_keys(int key, int appendArg, int appendRight, int modifyArg, int modifyRight, int deleteArg,
              int deleteRight, DbField* stampField) {
  auto allowed = [](int arg, int right) { return arg != KEY_ESC && (right < 0 || pass_tab_test_and_inform(right)); };
  switch (key) {
    case KEY_DEL:
    case KEY_ALT_U:
      if (allowed(deleteArg, deleteRight)) browse_skasuj(deleteArg);
      break;
    case KEY_INS:
    case KEY_ALT_D:
      if (allowed(appendArg, appendRight)) browse_dopisz(appendArg);
      break;
    case KEY_ALT_M:
      if (allowed(modifyArg, modifyRight)) browse_modyfikuj(modifyArg);
      break;
    case KEY_ALT_K:
      RecordStampKey(stampField);
      break;
    default:
      break;
  }
}
