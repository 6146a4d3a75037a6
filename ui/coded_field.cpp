#include "ui/coded_field.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NO_RECORDS = 50052;
constexpr int MSG_ASK_APPEND = 50053;
constexpr int MSG_NO_DATA = 50066;
constexpr int KEY_F6 = 0x4000, KEY_F7 = 0x4100;
constexpr int LIST_ATTR = 0x8E, HL_FRAME = 0x7E, HL_TEXT = 0x70, SEARCH_TITLE_ATTR = 0xE8;
constexpr unsigned char BAR = 0xB3, RULE = 0xC4, CROSS = 0xC5;
constexpr char kIndexGlyph[] = "\x9F";
constexpr int LIST_BASE_ROWS = 22;
constexpr int FIRST_ROW = 2;   // headers and rule above the list inside the frame

PoleKodowane* definingList = nullptr;
int definingCapacity = 0;

enum Outcome { OUT_GO_ON, OUT_CHOSEN, OUT_LEFT, OUT_EMPTY, OUT_APPEND, OUT_PRICE, OUT_ERROR };

DbField* FieldOf(const PoleKodowane* e) { return e->field_var ? *e->field_var : nullptr; }
DbTag* TagOf(const PoleKodowane* e) { return e->tag_var ? *e->tag_var : nullptr; }
bool Shown(const PoleKodowane* e) { return !(e->flags & CODED_NO_COLUMN); }

// The blanks the thousands groups add to a number of the field's width.
int GroupBlanks(DbField* field) {
  int width = static_cast<int>(f4len(field)), decimals = f4decimals(field);
  std::vector<char> text(static_cast<size_t>(width + width / 3 + 2), ' ');
  c4dtoa(0.0, text.data(), width, decimals, 1);
  return GroupThousands(text.data(), width, decimals);
}

int ColumnWidth(const PoleKodowane* e) {
  DbField* f = FieldOf(e);
  if (f4type(f) == 'D') return 8;
  if (f4type(f) == 'N' && (e->flags & CODED_THOUSANDS)) return static_cast<int>(f4len(f)) + GroupBlanks(f);
  return e->width >= 0 ? e->width : static_cast<int>(f4len(f));
}

// The field as the list shows it: a date "DD-MM/YY", a grouped number, else its text.
std::string ValueText(DbField* field, bool grouped) {
  if (f4type(field) == 'D') return DateQStr(std::string(f4ptr(field), 8).c_str());
  if (f4type(field) == 'N' && grouped) {
    int width = static_cast<int>(f4len(field)), decimals = f4decimals(field);
    std::vector<char> text(static_cast<size_t>(width + width / 3 + 2), ' ');
    c4dtoa(f4double(field), text.data(), width, decimals, 1);
    int blanks = GroupThousands(text.data(), width, decimals);
    return std::string(text.data(), static_cast<size_t>(width + blanks));
  }
  return std::string(f4ptr(field), f4len(field));
}

std::string Fit(std::string text, int width) {
  text.resize(static_cast<size_t>(std::max(width, 0)), ' ');
  return text;
}

struct Lookup {
  DbTable* table = nullptr;
  PoleKodowane* list = nullptr;
  DbScanCtx scan{};
  bool appending = false;
  Environment* env = nullptr;
  int rows = 1, below = 0, row = 0, left = 0, totalWidth = 0;
  int frame = -1, searchWindow = -1;
  std::vector<PoleKodowane*> columns;   // shown, in order
  std::vector<int> xs;                  // their columns inside the frame
  PoleKodowane* search = nullptr;
  int searchLength = 0;
  char* buffer = nullptr;
  int typed = 0;
  bool stopped = false;
  int highlighted = 0;

  void Put(int r, int c, const std::string& text, int attr) {
    w4num_att(r, c, text.c_str(), static_cast<int>(text.size()), attr);
  }
  void Repaint() {
    Window4* w = w4record(frame);
    if (w) ImageRepaint(w->col, w->row, w->width, w->height);
  }

  void DrawRow(int i, bool withRecord, bool lit) {
    int previous = w4select(frame);
    for (size_t k = 0; k < columns.size(); k++) {
      int width = ColumnWidth(columns[k]);
      std::string text = withRecord ? Fit(ValueText(FieldOf(columns[k]), columns[k]->flags & CODED_THOUSANDS), width)
                                    : std::string(static_cast<size_t>(width), ' ');
      Put(FIRST_ROW + i, xs[k], text, lit ? HL_TEXT : LIST_ATTR);
      if (k + 1 < columns.size()) Put(FIRST_ROW + i, xs[k] + width, std::string(1, static_cast<char>(BAR)), lit ? HL_FRAME : LIST_ATTR);
    }
    w4select(previous);
  }

  void DrawBelow() {
    int previous = w4select(frame);
    int line = 0;
    for (PoleKodowane* e = list; e->field_var; e++) {
      if (!(e->flags & CODED_BELOW)) continue;
      DbField* f = FieldOf(e);
      std::string text = d4eof(table) ? std::string() : ValueText(f, e->flags & CODED_THOUSANDS);
      Put(FIRST_ROW + rows + line++, 0, Fit(text, totalWidth), LIST_ATTR);
    }
    w4select(previous);
  }

  void DrawHeaders() {
    int previous = w4select(frame);
    for (size_t k = 0; k < columns.size(); k++) {
      int width = ColumnWidth(columns[k]);
      Put(0, xs[k], Fit(columns[k]->header ? columns[k]->header : "", width), LIST_ATTR);
      Put(1, xs[k], std::string(static_cast<size_t>(width), static_cast<char>(RULE)), LIST_ATTR);
      if (k + 1 < columns.size()) {
        Put(0, xs[k] + width, std::string(1, static_cast<char>(BAR)), LIST_ATTR);
        Put(1, xs[k] + width, std::string(1, static_cast<char>(CROSS)), LIST_ATTR);
      }
    }
    w4select(previous);
  }

  // Draws the list from the record (0 or a failure: the first record that passes).
  int ShowFrom(long record) {
    DbEngine* engine = table->engine;
    int savedLock = engine->lock_on_read;
    engine->lock_on_read = 0;
    bool there = record > 0 && x4go(&scan, record) == 0;
    engine->lock_on_read = savedLock;
    if (!there) {
      int r = x4top(&scan);
      if (r < 0) return OUT_ERROR;
      if (r != 0) return OUT_EMPTY;
    }
    long start = d4recno(table);
    bool have = true;
    for (int i = 0; i < rows; i++) {
      DrawRow(i, have, false);
      if (!have) continue;
      int r = x4skip(&scan, 1);
      if (r < 0) return OUT_ERROR;
      if (r != 0) have = false;
    }
    highlighted = 0;
    if (x4go(&scan, start) < 0) return OUT_ERROR;
    DrawRow(0, true, true);
    DrawBelow();
    Repaint();
    clr_key_buf();
    return OUT_GO_ON;
  }

  void Highlight() {
    DrawRow(highlighted, true, true);
    DrawBelow();
    Repaint();
  }

  void Scroll(int direction) {
    Window4* w = w4record(frame);
    if (w) ImageScroll(w->col, w->row + FIRST_ROW, w->width, rows, direction);
  }

  void CloseSearch() {
    if (searchWindow >= 0) {
      w4deactivate(searchWindow);
      w4close(searchWindow);
      searchWindow = -1;
    }
    if (buffer) free_mem(&buffer);
    typed = 0;
    stopped = false;
  }

  void SetUpSearch() {
    search = nullptr;
    for (PoleKodowane* e = list; e->field_var; e++)
      if (e->selected) {
        search = e;
        break;
      }
    if (!search && !columns.empty()) search = columns.back();
    if (!search) return;
    DbField* field = FieldOf(search);
    DbTag* tag = TagOf(search);
    if (tag) d4tag_select(table, tag);
    int fieldWidth = static_cast<int>(f4len(field));
    searchLength = search->width >= 0 && search->width < fieldWidth ? search->width : fieldWidth;
    if (f4type(field) != 'C' || !tag) return;
    buffer = static_cast<char*>(take_mem(static_cast<size_t>(searchLength) + 1));
    if (!buffer) return;
    std::memset(buffer, ' ', static_cast<size_t>(searchLength));
    buffer[searchLength] = '\0';
    int x = 0;
    for (size_t k = 0; k < columns.size(); k++)
      if (columns[k] == search) x = xs[k];
    const char* title = "Szukaj";
    int width = std::max(searchLength, static_cast<int>(std::strlen(title)));
    int top = row >= 3 ? row - 3 : row;
    int col = std::min(left + x, Desktop.cols - width - 2);
    int previous = w4select(-1);
    searchWindow = w4define(top, col, top + 2, col + width + 1);
    w4attribute(LIST_ATTR);
    w4border(kStdFrame, LIST_ATTR);
    w4title(0, -1, title, SEARCH_TITLE_ATTR);
    w4popup();
    w4activate(searchWindow);
    w4select(previous);
  }

  void ShowTyped() {
    if (searchWindow < 0) return;
    int previous = w4select(searchWindow);
    Put(0, 0, std::string(buffer, static_cast<size_t>(searchLength)), LIST_ATTR);
    Window4* w = w4record(searchWindow);
    ImageRepaint(w->col, w->row, w->width, 1);
    w4select(previous);
  }

  int SeekTyped() {
    if (typed == 0) return x4top(&scan) < 0 ? OUT_ERROR : ShowFrom(d4recno(table));
    int r = x4seek(&scan, std::string(buffer, static_cast<size_t>(typed)).c_str());
    if (r < 0) return OUT_ERROR;
    if (r == 3) {
      if (x4bottom(&scan) < 0) return OUT_ERROR;
      stopped = true;
    }
    return ShowFrom(d4recno(table));
  }

  int NextSearchColumn(int direction) {
    std::vector<PoleKodowane*> tagged;
    for (PoleKodowane* c : columns)
      if (TagOf(c)) tagged.push_back(c);
    if (tagged.empty()) return OUT_GO_ON;
    size_t at = 0;
    for (size_t k = 0; k < tagged.size(); k++)
      if (tagged[k] == search) at = k;
    size_t next = (at + tagged.size() + static_cast<size_t>(direction)) % tagged.size();
    if (search) search->selected = 0;
    tagged[next]->selected = 1;
    CloseSearch();
    SetUpSearch();
    return ShowFrom(0);
  }

  int Keys() {
    for (;;) {
      int key = g4char();
      int outcome = OUT_GO_ON;
      switch (key) {
        case KEY_ENTER:
          return OUT_CHOSEN;
        case KEY_ESC:
          return OUT_LEFT;
        case KEY_F6:
          if (appending) return OUT_APPEND;
          break;
        case KEY_F7:
          if (env && env->codedFieldRemember) {
            env->codedFieldMemory = d4recno(table);
            return OUT_PRICE;
          }
          break;
        case KEY_UP:
        case KEY_DOWN: {
          int step = key == KEY_UP ? -1 : 1;
          DrawRow(highlighted, true, false);
          int r = x4skip(&scan, step);
          if (r < 0) return OUT_ERROR;
          if (r != 0) {
            if ((step < 0 ? x4top(&scan) : x4bottom(&scan)) < 0) return OUT_ERROR;
          } else if (highlighted + step >= 0 && highlighted + step < rows) {
            highlighted += step;
          } else {
            Scroll(step);
          }
          Highlight();
          break;
        }
        case KEY_PGUP:
        case KEY_PGDN: {
          int step = key == KEY_PGUP ? -1 : 1;
          long before = d4recno(table);
          int r = x4skip(&scan, step * rows);
          if (r < 0) return OUT_ERROR;
          if (r != 0 && (step < 0 ? x4top(&scan) : x4bottom(&scan)) < 0) return OUT_ERROR;
          if (d4recno(table) == before) {
            Highlight();
            break;
          }
          outcome = ShowFrom(d4recno(table));
          break;
        }
        case KEY_HOME:
        case KEY_END:
          if ((key == KEY_HOME ? x4top(&scan) : x4bottom(&scan)) < 0) return OUT_ERROR;
          outcome = ShowFrom(d4recno(table));
          break;
        case KEY_LEFT:
        case KEY_RIGHT:
          outcome = NextSearchColumn(key == KEY_LEFT ? -1 : 1);
          break;
        case KEY_BACKSPACE:
          if (buffer && typed > 0) {
            buffer[--typed] = ' ';
            stopped = false;
            ShowTyped();
            outcome = SeekTyped();
          }
          break;
        default:
          if (key >= 32 && key <= 255 && buffer && typed < searchLength) {
            buffer[typed++] = static_cast<char>(EnvToUpper(key));
            ShowTyped();
            if (!stopped) outcome = SeekTyped();
          }
          break;
      }
      if (outcome != OUT_GO_ON) return outcome;
    }
  }

  int Run(DbScanFilter filter, int firstRow, int bottom, TextRef caption) {
    for (PoleKodowane* e = list; e->field_var; e++) {
      if (e->flags & CODED_BELOW) below++;
      if (Shown(e)) columns.push_back(e);
    }
    // A low get with many lines below the list still leaves one row.
    rows = std::max(LIST_BASE_ROWS - firstRow - bottom - below, 1);
    x4init(&scan, table, filter, 0);
    int r = x4top(&scan);
    if (r < 0) return OUT_ERROR;
    if (r != 0) {
      TextRef head = caption.IsEmpty() ? TextRef(" ") : caption;
      if (appending)
        return MessageWindow(MB_WARNING | MB_YES_ESC, head, MSG_NO_RECORDS, MSG_ASK_APPEND) == KEY_ESC ? OUT_LEFT
                                                                                                   : OUT_EMPTY;
      MessageWindow(MB_WARNING, head, MSG_NO_DATA);
      return OUT_EMPTY;
    }

    add_help_line();
    set_fun_help("ENTER", Utf8ToMazText("Wybór").c_str(), 1);
    if (appending) set_fun_help("F6", "Dopisz", 6);
    if (env && env->codedFieldRemember)
      set_fun_help("F7", env->codedFieldRemember == 2 ? "Cena A/B/C/Zakupy" : "Cena A/B/C", 7);
    int tagged = 0;
    for (PoleKodowane* c : columns)
      if (TagOf(c)) tagged++;
    if (tagged >= 2) set_fun_help(kIndexGlyph, "Indeks", 2);

    int x = 0;
    for (PoleKodowane* c : columns) {
      xs.push_back(x);
      x += ColumnWidth(c) + 1;
    }
    totalWidth = std::max(x - 1, 1);
    row = firstRow;
    if (row + rows + below + 3 > Desktop.rows - 1) row = Desktop.rows - rows - below - 4;
    row = std::max(row, 0);
    left = std::max(Desktop.cols - totalWidth - 2, 0);
    int previous = w4select(-1);
    int caretRow = env ? env->caretRow : -1, caretCol = env ? env->caretColumn : -1;
    frame = w4define(row, left, row + rows + below + 3, left + totalWidth + 1);
    w4attribute(LIST_ATTR);
    w4border(kStdFrame, LIST_ATTR);
    w4popup();
    w4activate(frame);
    DrawHeaders();
    SetUpSearch();

    int outcome = ShowFrom(env ? env->codedFieldMemory : 0);
    if (outcome == OUT_GO_ON) outcome = Keys();

    CloseSearch();
    w4deactivate(frame);
    w4close(frame);
    remove_help_line();
    w4select(previous);
    if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
    return outcome;
  }
};

int RunList(DbTable* table, PoleKodowane* list, DbScanFilter filter, int row, int bottom, bool appending,
            TextRef caption) {
  Lookup lookup;
  lookup.table = table;
  lookup.list = list;
  lookup.appending = appending;
  lookup.env = EnvCurrent();
  return lookup.Run(filter, row, bottom, caption);
}

int KeyOf(int outcome) {
  switch (outcome) {
    case OUT_CHOSEN: return KEY_ENTER;
    case OUT_LEFT: return KEY_CODED_LEFT;
    case OUT_PRICE: return KEY_CODED_PRICE;
    default: return KEY_ESC;
  }
}

}  // namespace

void ResetPoleKodowaneDefinition(PoleKodowane* array, int bytes) {
  int entries = array && bytes > 0 ? bytes / static_cast<int>(sizeof(PoleKodowane)) : 0;
  definingList = array;
  definingCapacity = std::max(entries - 1, 0);
  if (entries > 0) std::memset(static_cast<void*>(array), 0, static_cast<size_t>(entries) * sizeof(PoleKodowane));
}

PoleKodowane* DefinePoleKodowane(int flags, const char* header, DbField** fieldVar, DbTag** tagVar, int selected,
                                 int width) {
  int count = 0;
  if (definingList)
    while (count < definingCapacity && definingList[count].field_var) count++;
  if (!definingList || count >= definingCapacity) {
    ErrLogMessage(EL_ERROR, LOG_CODED_FULL, TextRef());
    return nullptr;
  }
  PoleKodowane* e = &definingList[count];
  e->flags = static_cast<uint8_t>(flags);
  e->header = header;
  e->field_var = fieldVar;
  e->tag_var = tagVar;
  e->selected = static_cast<uint8_t>(selected);
  e->width = static_cast<int8_t>(width);
  return e;
}

int pole_kodowane_fun(int (*append)(), TextRef caption, PoleKodowane* list, DbScanFilter filter, int row,
                      int bottom, DbTable* table) {
  Environment* env = EnvCurrent();
  if (!list || !table) return KEY_ESC;
  if (!filter) filter = browse_empty_filter;
  if (!append) {
    if (env) env->codedFieldMemory = 0;
    return KeyOf(RunList(table, list, filter, row, bottom, false, caption));
  }
  LastAppendedRecord = env && env->codedFieldRemember ? env->codedFieldMemory : 0;
  for (;;) {
    if (env) env->codedFieldMemory = static_cast<int32_t>(LastAppendedRecord);
    int outcome = RunList(table, list, filter, row, bottom, true, caption);
    if (outcome == OUT_EMPTY || outcome == OUT_APPEND) {
      if (append() != 0) return KEY_ESC;
      continue;
    }
    return KeyOf(outcome);
  }
}
