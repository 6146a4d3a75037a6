#include "ui/filters.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <string>

#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/error_log.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/wiget.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_ASK_RESET = 50010;
constexpr int MAX_LINES = 25;
constexpr int VALUE_ATTR = 0x8F;
constexpr int OTHER_WIDTH = 20;
constexpr int DATE_WIDTH = 8;
constexpr int16_t NOTE_WIDTH = 60;
constexpr unsigned char ON_MARK = 0x9D;

FilterSet* defining = nullptr;   // target of DefineFilter
FilterSet* shown = nullptr;      // the set whose window is open
// More lines than the window holds: the menu pages, one line an item, and
// each line is drawn on the row the menu gives it.
bool paged = false;

char* NewBlankText(int length) {
  char* text = new char[static_cast<size_t>(length) + 1];
  std::memset(text, ' ', static_cast<size_t>(length));
  text[length] = '\0';
  return text;
}

bool IsText(const FilterItem* item) { return item->type == FILTER_TEXT || item->type == FILTER_TEXT_LENGTH; }
bool Blank(const char* date) { return date[0] == ' ' || date[0] == '\0'; }

const void* ListOf(const FilterItem* item) {
  if ((item->flags & FILTER_LIST_ROUTINE) && item->list_routine) return item->list_routine();
  return item->list;
}
const char* const* Choices(const FilterItem* item) { return static_cast<const char* const*>(ListOf(item)); }
const Selection* Codes(const FilterItem* item) { return static_cast<const Selection*>(ListOf(item)); }

// The choice's text for a code ('0' + its number in the list), from its third character.
const char* ChoiceText(const FilterItem* item, int32_t code) {
  const char* const* list = Choices(item);
  int n = code - '0';
  if (!list || n < 1) return nullptr;
  for (int i = 1; i <= n; i++)
    if (!list[i]) return nullptr;
  size_t len = std::strlen(list[n]);
  return len > 2 ? list[n] + 2 : "";
}
// The Selection entry's text from its fourth character; NULL when the code is not in the list.
const char* CodeText(const FilterItem* item, int32_t code) {
  const Selection* list = Codes(item);
  if (!list) return nullptr;
  int i = ListCodeIndex(list, code);
  if (i < 0 || !list[i].text) return nullptr;
  size_t len = std::strlen(list[i].text);
  return len > 3 ? list[i].text + 3 : "";
}

int ValueWidth(const FilterItem* item) {
  switch (item->type) {
    case FILTER_DATE: return DATE_WIDTH;
    case FILTER_TEXT:
    case FILTER_TEXT_LENGTH: return item->length;
    case FILTER_CHOICE: {
      const char* const* list = Choices(item);
      return list && list[0] ? static_cast<int>(std::strlen(list[0])) : OTHER_WIDTH;
    }
    case FILTER_CODE: {
      const Selection* list = Codes(item);
      return list && list[0].text ? static_cast<int>(std::strlen(list[0].text)) : OTHER_WIDTH;
    }
    case FILTER_NUMBER: return item->picture ? static_cast<int>(std::strlen(item->picture)) : OTHER_WIDTH;
    default: return OTHER_WIDTH;
  }
}

DbField* TestedField(const FilterItem* item, DbTable* table) {
  if (item->target.kind != FILTER_TARGET_FIELD || !item->target.field) return nullptr;
  if ((item->flags & FILTER_DIRECT_FIELD) || !table) return item->target.field;
  return EquField(table, item->target.field);
}

// The field's text padded with blanks (or cut) to n characters.
std::string FieldText(DbField* field, int n) {
  std::string text(f4ptr(field), f4len(field));
  text.resize(static_cast<size_t>(std::max(n, 0)), ' ');
  return text;
}

bool DatePasses(const FilterItem* item, DbField* field) {
  std::string value = FieldText(field, 8);
  int c = CompareDbfDates(value.c_str(), item->date);
  if (item->flags & FILTER_DATE_NEEDED) {
    if (c & 1) return false;
  } else {
    if (c == 3) return true;
    if (c & 3) return false;
  }
  return item->flags & FILTER_UPPER_BOUND ? c != 8 : c != 4;
}

// 1 passed, 0 failed.
int YesNoPasses(const FilterItem* item, DbField* field) {
  int character = item->condition & 0xFF;
  if (character < 10) character += '0';
  // Marks such as 0x9D lie above 127: the field's byte is compared unsigned.
  int stored = static_cast<unsigned char>(f4ptr(field)[0]);
  switch ((item->condition >> 8) & 0xFF) {
    case 0x01: return stored == character;
    case 0x02: return stored != character;
    case 0x04: return f4double(field) == 0;
    case 0x08: return f4double(field) != 0;
    default:
      ErrLogMessage(EL_ERROR, LOG_FILTER_BAD_CONDITION, TextRef());
      return 1;
  }
}

// The item's test: 1 passed, 0 failed.
int ItemPasses(FilterItem* item, DbTable* table) {
  DbField* field = TestedField(item, table);
  const FilterOwnTest& own = item->own_test;
  switch (item->type) {
    case FILTER_DATE:
      if (own.date) return own.date(item, field, item->date, table) == X4_ACCEPT;
      return !field || DatePasses(item, field);
    case FILTER_YES_NO:
      if (own.yesNo) return own.yesNo(field, table) == X4_ACCEPT;
      return !field || YesNoPasses(item, field);
    case FILTER_TEXT:
    case FILTER_TEXT_LENGTH:
      if (own.text) return own.text(field, item->text, item->length, table) == X4_ACCEPT;
      return !field || FilterCompareStr(item->text, item->length, FieldText(field, item->length).c_str()) == 0;
    case FILTER_CHOICE:
      if (own.code) return own.code(field, item->code, table) == X4_ACCEPT;
      return !field || f4ptr(field)[0] == static_cast<char>(item->code);
    case FILTER_CODE:
      if (own.code) return own.code(field, item->code, table) == X4_ACCEPT;
      return !field || FldListCode(field) == item->code;
    case FILTER_NUMBER:
      if (own.number) return own.number(field, item->number, table) == X4_ACCEPT;
      return !field || f4long(field) == item->number;
    default:
      return 1;
  }
}

// ---- the window

// The item's working value shown as not set.
void ShowUnset(FilterItem* item) {
  switch (item->type) {
    case FILTER_DATE:
      std::memcpy(item->work_date, "?       ", 9);
      break;
    case FILTER_TEXT:
    case FILTER_TEXT_LENGTH:
      std::memset(item->work_text, ' ', static_cast<size_t>(item->length));
      if (item->length > 0) item->work_text[0] = '?';
      if (item->work_text2) std::memset(item->work_text2, ' ', static_cast<size_t>(item->length2));
      break;
    case FILTER_CHOICE:
      item->work_code = '0';
      break;
    case FILTER_CODE: {
      const Selection* list = Codes(item);
      item->work_code = list && list[0].text ? list[0].code : 0;
      break;
    }
    case FILTER_NUMBER:
      item->work_number = 0;
      break;
    default:
      break;
  }
}

bool NoteOnNextLine(const FilterItem* item) {
  return IsText(item) && item->length2 > 0 && !(item->flags & (FILTER_NOTE_BESIDE | FILTER_NOTE_HIDDEN));
}

// Items sharing the line of item i: i and the following FILTER_SAME_LINE items.
int LineEnd(FilterSet* set, int i) {
  int end = i + 1;
  while (end < set->count && (set->items[end].flags & FILTER_SAME_LINE)) end++;
  return end;
}

// Cut at the window's edge: a longer value would wrap onto the window's next
// row, the last row's onto the first.
void PutValue(int row, int col, const std::string& text) {
  int shown = std::min(static_cast<int>(text.size()), w4width() - col);
  if (shown > 0) w4num_att(row, col, text.c_str(), shown, VALUE_ATTR);
}

void DrawItem(FilterSet* set, FilterItem* item, bool sharing) {
  if (item->flags & FILTER_HIDDEN) return;
  int row = item->row, col = item->col;
  bool on = item->working_on;
  int width = ValueWidth(item);
  switch (item->type) {
    case FILTER_DATE:
      PutValue(row, col, on ? DateQStr(item->work_date) : std::string(item->work_date, 8));
      break;
    case FILTER_YES_NO:
      PutValue(row, col, std::string(1, on ? static_cast<char>(ON_MARK) : '?'));
      break;
    case FILTER_TEXT:
    case FILTER_TEXT_LENGTH:
      PutValue(row, col, std::string(item->work_text, static_cast<size_t>(item->length)));
      if (item->work_text2 && !(item->flags & FILTER_NOTE_HIDDEN)) {
        std::string note(item->work_text2, static_cast<size_t>(std::min<int>(item->length2, set->note_width)));
        if ((item->flags & FILTER_NOTE_BESIDE) || paged)
          PutValue(row, col + item->length + 1, note);
        else
          PutValue(row + 1, col, note);
      }
      break;
    case FILTER_CHOICE:
    case FILTER_CODE:
    case FILTER_NUMBER: {
      std::string text(static_cast<size_t>(width), ' ');
      if (on) {
        const char* shownText = item->type == FILTER_CHOICE ? ChoiceText(item, item->work_code)
                                : item->type == FILTER_CODE ? CodeText(item, item->work_code)
                                                            : nullptr;
        std::string value = item->type == FILTER_NUMBER ? std::to_string(item->work_number)
                                                        : std::string(shownText ? shownText : "");
        if (item->type == FILTER_NUMBER && static_cast<int>(value.size()) < width)
          value.insert(0, static_cast<size_t>(width) - value.size(), ' ');
        text = value.substr(0, static_cast<size_t>(width));
        text.resize(static_cast<size_t>(width), ' ');
      }
      PutValue(row, col, text);
      if (!on && !sharing) PutValue(row, col, "?");
      break;
    }
    default:
      break;
  }
  if (sharing && item->label) {
    int labelLength = static_cast<int>(std::strlen(item->label));
    bool blanked = !on && (item->type == FILTER_CHOICE || item->type == FILTER_CODE || item->type == FILTER_NUMBER);
    PutValue(row, col - labelLength, blanked ? std::string(static_cast<size_t>(labelLength), ' ') : item->label);
  }
}

void DrawLine(FilterSet* set, int i) {
  int previous = w4select(set->window);
  int end = LineEnd(set, i);
  for (int k = i; k < end; k++) DrawItem(set, &set->items[k], k != i);
  Window4* w = w4record(set->window);
  if (w) ImageRepaint(w->col, w->row, w->width, w->height);
  w4select(previous);
}

void ItemDrawer(void* data, int32_t value, int32_t screenRow) {
  FilterSet* set = static_cast<FilterSet*>(data);
  if (value == MENU_PAGE_REDRAW) {
    int previous = w4select(set->window);
    Window4* w = w4record(set->window);
    int from = set->count > 0 && set->items[0].label ? static_cast<int>(std::strlen(set->items[0].label)) + 2 : 0;
    if (w && from < w->width)
      for (int r = 0; r < w->height; r++) w4num_att(r, from, std::string(static_cast<size_t>(w->width - from), ' ').c_str(), w->width - from, w->attr);
    w4select(previous);
    return;
  }
  if (value < 0 || value >= set->count) return;
  Window4* w = w4record(set->window);
  if (paged && w)
    for (int k = value, end = LineEnd(set, value); k < end; k++) set->items[k].row = static_cast<int16_t>(screenRow - w->row);
  DrawLine(set, value);
}

int PickRoutine(Get4*, char*, int32_t index) {
  FilterSet* set = shown;
  if (!set || index < 0 || index >= set->count) return KEY_ESC;
  FilterItem* item = &set->items[index];
  int32_t start = item->start_code == -1 ? item->work_code : item->start_code;
  Window4* w = w4record(set->window);
  int row = (w ? w->row : 0) + item->row, col = (w ? w->col : 0) + item->col;
  if (item->type == FILTER_CODE) {
    int code = OpenSelectionList(Codes(item), start, row, col);
    if (code == -1) return KEY_ESC;
    item->work_code = code;
    return KEY_ENTER;
  }
  int n = get_menu_function(" WYBIERZ ", Choices(item), start - '0', -1, -1);
  if (n < 0) return KEY_ESC;
  item->work_code = '0' + n;
  return KEY_ENTER;
}

void AddGets(FilterSet* set, int i) {
  int end = LineEnd(set, i);
  g4attribute(VALUE_ATTR);
  for (int k = i; k < end; k++) {
    FilterItem* item = &set->items[k];
    if (item->flags & (FILTER_HIDDEN | FILTER_NO_TEST_NO_GET)) continue;
    if (k != i && item->label)
      w4num_att(item->row, item->col - static_cast<int>(std::strlen(item->label)), item->label,
                static_cast<int>(std::strlen(item->label)), VALUE_ATTR);
    Get4* get = nullptr;
    switch (item->type) {
      case FILTER_DATE:
        if (!item->working_on) set_dzien_filter(0, item->work_date, !(item->flags & FILTER_UPPER_BOUND));
        get = g4date(item->row, item->col, item->work_date);
        g4picture("DD-MM/YY");
        break;
      case FILTER_TEXT:
      case FILTER_TEXT_LENGTH:
        if (!item->working_on && item->length > 0 && item->work_text[0] == '?') item->work_text[0] = ' ';
        get = g4(item->row, item->col, item->work_text);
        break;
      case FILTER_CHOICE:
      case FILTER_CODE:
        item->code_char[0] = item->type == FILTER_CHOICE ? static_cast<char>(item->work_code) : ' ';
        item->code_char[1] = '\0';
        get = g4(item->row, item->col, item->code_char);
        break;
      case FILTER_NUMBER:
        get = g4long(item->row, item->col, &item->work_number);
        break;
      default:
        break;
    }
    if (!get) continue;
    if (item->key_routine) g4call(item->key_routine, item->key_data);
    if (item->flags & FILTER_UPPER) g4upper();
    if (item->picture) g4picture(item->picture);
    if (item->validator) g4valid(item->validator);
  }
}

int32_t WindowAction(int32_t value) {
  FilterSet* set = shown;
  if (!set) return -1;
  if (value == -1) {
    bool anyOn = false;
    for (int i = 0; i < set->count; i++) {
      FilterItem* item = &set->items[i];
      item->active = item->working_on;
      anyOn = anyOn || item->active;
      std::memcpy(item->date, item->work_date, sizeof item->date);
      if (item->text) std::memcpy(item->text, item->work_text, static_cast<size_t>(item->length));
      if (item->text2) std::memcpy(item->text2, item->work_text2, static_cast<size_t>(item->length2));
      item->code = item->work_code;
      item->number = item->work_number;
    }
    set->off = anyOn ? 0 : 1;
    set->changed = 1;
    return -1;
  }
  if (value < 0 || value >= set->count) return 0;
  FilterItem* item = &set->items[value];
  set->editing = item;
  if (item->can_edit && item->can_edit() == 0) return 0;
  if (item->type == FILTER_YES_NO) {
    item->working_on = !item->working_on;
  } else {
    int previous = w4select(set->window);
    AddGets(set, value);
    int key = g4read();
    w4select(previous);
    int end = LineEnd(set, value);
    for (int k = value; k < end; k++) {
      FilterItem* sharer = &set->items[k];
      sharer->working_on = key == KEY_ENTER;
      if (key != KEY_ENTER) ShowUnset(sharer);
    }
  }
  DrawLine(set, value);
  return 0;
}

}  // namespace

FilterTarget FilterFld(DbField* field) {
  FilterTarget t;
  t.kind = field ? FILTER_TARGET_FIELD : FILTER_TARGET_NONE;
  t.field = field;
  return t;
}

FilterTarget FilterLen(int length) {
  FilterTarget t;
  t.kind = FILTER_TARGET_LENGTH;
  t.length = length;
  return t;
}

void ResetFiltersDefinition(FilterSet* set, FilterItem* items, int bytes) {
  if (set->items) {
    ErrLogMessage(EL_ERROR, LOG_FILTERS_REDEFINED, TextRef());
    FreeFilters(set);   // the text buffers of the earlier definition are not lost
  }
  *set = FilterSet{};
  set->off = 1;
  set->items = items;
  set->capacity = static_cast<int16_t>(items && bytes > 0 ? bytes / static_cast<int>(sizeof(FilterItem)) : 0);
  defining = set;
}

FilterItem* DefineFilter(FilterTarget target, const char* label, const char* statusPrefix, int type,
                         uint32_t flags, ...) {
  FilterSet* set = defining;
  if (!set || set->count >= set->capacity) {
    ErrLogMessage(EL_ERROR, LOG_FILTERS_FULL, TextRef());
    return nullptr;
  }
  if (type < FILTER_DATE || type > FILTER_CODE) {
    ErrLogMessage(EL_ERROR, LOG_FILTER_BAD_TYPE, TextRef());
    return nullptr;
  }
  FilterItem* item = &set->items[set->count];
  *item = FilterItem{};
  item->target = target;
  item->label = label;
  item->status_prefix = statusPrefix;
  item->type = static_cast<uint8_t>(type);
  item->flags = flags;
  if (type == FILTER_YES_NO) item->flags &= ~FILTER_SAME_LINE;
  std::memset(item->date, ' ', 8);
  std::memset(item->work_date, ' ', 8);
  va_list args;
  va_start(args, flags);
  switch (type) {
    case FILTER_DATE:
      item->validator = flags & FILTER_DATE_NEEDED ? test_daty_niepustej : test_daty;
      break;
    case FILTER_YES_NO:
      item->condition = va_arg(args, uint32_t);
      break;
    case FILTER_TEXT:
    case FILTER_TEXT_LENGTH: {
      if (type == FILTER_TEXT)
        item->length = target.kind == FILTER_TARGET_FIELD ? static_cast<int>(f4len(target.field))
                       : target.kind == FILTER_TARGET_LENGTH ? target.length
                                                             : 0;
      else
        item->length = va_arg(args, int);
      item->length = std::max(item->length, 0);
      item->length2 = std::max(va_arg(args, int), 0);
      item->key_routine = va_arg(args, GetKeyRoutine);
      item->key_data = va_arg(args, int32_t);
      item->validator = va_arg(args, GetValidator);
      item->text = NewBlankText(item->length);
      item->work_text = NewBlankText(item->length);
      if (item->length2 >= 1) {
        item->text2 = NewBlankText(item->length2);
        item->work_text2 = NewBlankText(item->length2);
      }
      break;
    }
    case FILTER_CHOICE:
    case FILTER_CODE:
      if (flags & FILTER_LIST_ROUTINE)
        item->list_routine = va_arg(args, FilterListRoutine);
      else
        item->list = va_arg(args, const void*);
      item->key_routine = PickRoutine;
      item->key_data = set->count;
      item->start_code = -1;
      item->code = item->work_code = type == FILTER_CHOICE ? '0' : 0;
      break;
    case FILTER_NUMBER:
      item->picture = va_arg(args, const char*);
      item->validator = va_arg(args, GetValidator);
      break;
    default:
      break;
  }
  va_end(args);
  set->count++;
  return item;
}

void FreeFilters(FilterSet* set) {
  if (!set) return;
  for (int i = 0; set->items && i < set->count; i++) {
    FilterItem* item = &set->items[i];
    delete[] item->text;
    delete[] item->work_text;
    delete[] item->text2;
    delete[] item->work_text2;
    *item = FilterItem{};
  }
  if (defining == set) defining = nullptr;
  *set = FilterSet{};
}

int OpenFiltersWindow(FilterSet* set) {
  set->changed = 0;
  int lines = 0;
  for (int i = 0; i < set->count; i++) {
    FilterItem* item = &set->items[i];
    item->working_on = item->active;
    if (item->flags & FILTER_ON_AT_OPEN) item->working_on = 1;
    if (item->flags & FILTER_OFF_AT_OPEN) item->working_on = 0;
    std::memcpy(item->work_date, item->date, sizeof item->date);
    if (item->text) std::memcpy(item->work_text, item->text, static_cast<size_t>(item->length));
    if (item->text2) std::memcpy(item->work_text2, item->text2, static_cast<size_t>(item->length2));
    item->work_code = item->code;
    item->work_number = item->working_on ? item->number : 0;
    if (!item->working_on) ShowUnset(item);
    if (!(item->flags & (FILTER_HIDDEN | FILTER_SAME_LINE)))
      lines += NoteOnNextLine(item) || i == set->count - 1 ? 2 : 1;
  }
  int allLines = lines;
  lines = std::min(lines, MAX_LINES);

  FilterSet* previousShown = shown;
  shown = set;
  int previousWindow = w4select(-1);
  set->window = OpenFiltryWindow(MAX_LINES - lines);
  bool wasPaged = paged;
  Window4* frame = w4record(set->window);
  paged = frame && allLines + 1 > frame->height;   // and "Zapamiętaj"
  const char* firstLabel = set->count > 0 && set->items[0].label ? set->items[0].label : "";
  int menu = DefineFiltryMenu(static_cast<int>(std::strlen(firstLabel)));
  set->note_width = NOTE_WIDTH;

  int row = 0, end = 0;
  for (int i = 0; i < set->count; i++) {
    FilterItem* item = &set->items[i];
    if (item->flags & FILTER_HIDDEN) continue;
    int labelLength = item->label ? static_cast<int>(std::strlen(item->label)) : 0;
    if ((item->flags & FILTER_SAME_LINE) && i > 0) {
      item->row = set->items[i - 1].row;
      item->col = static_cast<int16_t>(end + labelLength);
    } else {
      bool twoLines = NoteOnNextLine(item) || i == set->count - 1;
      item->row = static_cast<int16_t>(row);
      item->col = static_cast<int16_t>(labelLength + 2);
      if (paged)
        n4item_menu(item->label ? item->label : "", -1, -1, i, WindowAction, 0);
      else
        n4item_menu(item->label ? item->label : "", row, 1, i, WindowAction, twoLines ? 1 : 0);
      row += twoLines ? 2 : 1;
    }
    set->value_col = item->col;
    end = item->col + ValueWidth(item);
  }
  static const std::string remember = Utf8ToMazText("Zapamiętaj");   // menu items keep the text
  n4item_menu(remember.c_str(), paged ? -1 : row, paged ? -1 : 1, -1, WindowAction, 0x80);

  Environment* env = EnvCurrent();
  MenuKeySource previousKeys = env ? env->menuKeyRoutine : nullptr;
  n4char_routine(nullptr);
  add_help_line();
  set_fun_help("F2", remember.c_str(), 1);
  n4activate(menu, 0, ItemDrawer, set, 1);
  remove_help_line();
  n4char_routine(previousKeys);

  w4close(menu);
  w4deactivate(set->window);
  w4close(set->window);
  set->window = 0;
  w4select(previousWindow);
  shown = previousShown;
  paged = wasPaged;
  BrowseDispFilterState(set->off == 0);
  return 0;
}

void AskResetFilter(FilterSet* set) {
  if (!set->off && Pytanie(MSG_ASK_RESET) != KEY_ESC) {
    set->off = 1;
    for (int i = 0; i < set->count; i++) set->items[i].active = 0;
  }
  BrowseDispFilterState(set->off == 0);
}

int FilterFunctionEx(FilterSet* set, DbTable* table) {
  if (!set || set->off) return X4_ACCEPT;
  int groupTested = 0, groupPassed = 0;
  for (int i = 0; i < set->count; i++) {
    FilterItem* item = &set->items[i];
    if (item->active && !(item->flags & (FILTER_NOT_TESTED | FILTER_NO_TEST_NO_GET))) {
      int passed = ItemPasses(item, table);
      if (item->type == FILTER_YES_NO && (item->flags & FILTER_OR_MEMBER)) {
        groupTested++;
        groupPassed += passed;
      } else if (!passed) {
        return X4_REJECT;
      }
    }
    if (item->flags & FILTER_OR_END) {
      if (groupTested > 0 && groupPassed == 0) return X4_REJECT;
      groupTested = groupPassed = 0;
    }
  }
  return X4_ACCEPT;
}

int FilterFunction(intptr_t set) { return FilterFunctionEx(reinterpret_cast<FilterSet*>(set), nullptr); }

void AddFilterItemStatus(FilterItem* item, char* text) {
  if (!item->active || !item->status_prefix) return;
  std::string status = item->status_prefix;
  switch (item->type) {
    case FILTER_DATE:
      status += item->flags & FILTER_SHORT_DATE ? DateQStr(item->date) : FullDateQStr(item->date);
      break;
    case FILTER_TEXT:
    case FILTER_TEXT_LENGTH: {
      std::string value(item->text, static_cast<size_t>(item->length));
      status += value.substr(0, value.find_last_not_of(' ') + 1);
      break;
    }
    case FILTER_CHOICE: {
      const char* shownText = ChoiceText(item, item->code);
      if (shownText) status += shownText;
      break;
    }
    case FILTER_NUMBER:
      status += std::to_string(item->number);
      break;
    case FILTER_CODE: {
      const char* shownText = CodeText(item, item->code);
      if (shownText) status += shownText;
      break;
    }
    default:
      break;
  }
  std::strcat(text, status.c_str());
}

void MakeFilterStatusString(FilterSet* set, char* text) {
  if (!set || set->off) return;
  for (int i = 0; i < set->count; i++) AddFilterItemStatus(&set->items[i], text);
}

int CompareDbfDates(const char* a, const char* b) {
  int blanks = (Blank(a) ? 1 : 0) | (Blank(b) ? 2 : 0);
  if (blanks) return blanks;
  int c = std::strncmp(a, b, 8);
  return c < 0 ? 4 : c > 0 ? 8 : 0;
}

int FilterCompareStr(const char* a, int n, const char* b) {
  for (int i = 0; i < n; i++) {
    int x = EnvToUpper(static_cast<unsigned char>(a[i])), y = EnvToUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x > y ? 1 : -1;
  }
  return 0;
}

void ParamsOfFiget(FilterItem* item, uint32_t flags, int on) {
  if (!item) return;
  uint32_t changeable = flags & ~FILTER_FIXED_FLAGS;
  if (on)
    item->flags |= changeable;
  else
    item->flags &= ~changeable;
}

void ParamsOfFigets_(uint32_t flags, int on, FilterItem* item, ...) {
  va_list args;
  va_start(args, item);
  for (FilterItem* it = item; it; it = va_arg(args, FilterItem*)) ParamsOfFiget(it, flags, on);
  va_end(args);
}
