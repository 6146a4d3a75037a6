#include "ui/definition_lists.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "db/db_index.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/text_buffers.h"
#include "ui/desktop.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int LOG_TEXT_FULL = 9;
constexpr int LOG_SCROLL_FULL = 10;
constexpr int LOG_TABU_FULL = 12;
constexpr int LOG_EDIT_FULL = 13;
constexpr int CURRENT_TAG_ATTR = 126;
constexpr int WIDE_WIDTH = 10;
constexpr unsigned char LINE_CHAR = 0xC4, BAR_CHAR = 0xB3, CROSS_CHAR = 0xC5;

template <class T>
struct Builder {
  T* array = nullptr;
  int capacity = 0;
  int count = 0;

  void Reset(T* a, int size) {
    array = a;
    capacity = a && size > 0 ? size / static_cast<int>(sizeof(T)) : 0;
    count = 0;
  }
  // A cleared entry marked last, the previous entry no longer last; NULL when full.
  T* Append(int logCode) {
    if (count >= capacity) {
      ErrLogMessage(EL_ERROR, logCode, TextRef());
      return nullptr;
    }
    if (count > 0) array[count - 1].flags = static_cast<decltype(T::flags)>(array[count - 1].flags & ~DEF_LAST);
    T* entry = &array[count++];
    *entry = T{};
    entry->flags = static_cast<decltype(T::flags)>(DEF_LAST);
    return entry;
  }
};

Builder<TextCtrl> textList;
Builder<ScrollColumn> scrollList;
Builder<TabuColumn> tabuList;
Builder<EditCtrl> editList;

DbField* FieldOf(DbField** variable) { return variable ? *variable : nullptr; }

void FillValue(const ScrollColumn* column, ColumnValue* value) {
  std::memset(value, 0, sizeof *value);
  value->field = FieldOf(column->field);
  if (column->valueRoutine) {
    column->valueRoutine(value);
    value->length = std::min<uint8_t>(value->length, COLUMN_TEXT_MAX);
    return;
  }
  DbField* field = value->field;
  if (!field) return;
  value->type = static_cast<char>(f4type(field));
  value->length = static_cast<uint8_t>(std::min<unsigned>(f4len(field), COLUMN_TEXT_MAX));
  if (value->type == 'N') {
    value->number = f4double(field);
    value->decimals = f4decimals(field);
  } else {
    std::memcpy(value->text, f4ptr(field), value->length);
  }
}

int HeaderLength(const ScrollColumn* column) {
  return column->header ? static_cast<int>(std::strlen(column->header)) : 0;
}

int Decimals(const ColumnValue& value) { return value.type == 'N' ? std::max(0, static_cast<int>(value.decimals)) : 0; }

int NaturalWidth(const ScrollColumn* column, const ColumnValue& value) {
  if (column->flags & SCROLL_THOUSANDS) {
    int decimals = Decimals(value);
    int w = value.length - decimals - (decimals > 0 ? 1 : 0);
    int blanks = w > 0 ? w / 3 - (w % 3 == 0 ? 1 : 0) : 0;
    return value.length + blanks;
  }
  if (column->flags & SCROLL_WIDE) return WIDE_WIDTH;
  return value.length;
}

bool Last(const ScrollColumn* column) { return column->flags & DEF_LAST; }

struct Placed {
  ScrollColumn* column;
  int start, width;
  ColumnValue value;
};

// The columns that fit with their widths for the current record.
std::vector<Placed> Layout(ScrollColumn* list) {
  std::vector<Placed> out;
  ScrollColumn* last = nullptr;
  int total = ScrollColumnsWidth(list, &last);
  if (!last) return out;
  int spare = Desktop.cols - total;
  int start = 0;
  for (ScrollColumn* c = list;; c++) {
    Placed p{c, start, 0, {}};
    FillValue(c, &p.value);
    int natural = NaturalWidth(c, p.value);
    int width = natural;
    if (c->width > 0) {
      width = c->width;
      if (spare > 0 && !(c->flags & SCROLL_FIXED_WIDTH) && natural > width) {
        int extra = std::min(natural - width, spare);
        width += extra;
        spare -= extra;
      }
    }
    p.width = std::max(width, HeaderLength(c));
    out.push_back(p);
    start += p.width + 1;
    if (c == last) break;
  }
  return out;
}

// A separator follows the column unless it is the last that fits or the list's last.
bool Separated(const std::vector<Placed>& placed, size_t i) { return i + 1 < placed.size() && !Last(placed[i].column); }

void Put(int row, int col, const char* text, int count, int attr) {
  Window4* w = Desktop.curWindow;
  if (!w || count <= 0 || col >= w->width) return;
  count = std::min(count, w->width - col);
  ImagePutText(w->col + col, w->row + row, text, count, attr);
}

void PutChar(int row, int col, int character, int count, int attr) {
  Window4* w = Desktop.curWindow;
  if (!w || count <= 0 || col >= w->width) return;
  count = std::min(count, w->width - col);
  ImagePutText(w->col + col, w->row + row, character, count, attr);
}

}  // namespace

void ResetTextCtrlDefinition(TextCtrl* array, int size) { textList.Reset(array, size); }

TextCtrl* DefineTextCtrl(int row, int col, DbField** field, int flags) {
  TextCtrl* e = textList.Append(LOG_TEXT_FULL);
  if (!e) return nullptr;
  e->row = static_cast<uint8_t>(row);
  e->col = static_cast<uint8_t>(col);
  e->field = field;
  e->flags = static_cast<uint8_t>(flags | DEF_LAST);
  return e;
}

void ResetScrollDefinition(ScrollColumn* array, int size) { scrollList.Reset(array, size); }

ScrollColumn* DefineScrollColumn(DbField** field, int flags, const char* header) {
  ScrollColumn* e = scrollList.Append(LOG_SCROLL_FULL);
  if (!e) return nullptr;
  e->header = header;
  e->field = field;
  e->flags = static_cast<uint32_t>(flags) | DEF_LAST;
  e->width = -1;
  return e;
}

void ResetTabuDefinition(TabuColumn* array, int size) { tabuList.Reset(array, size); }

TabuColumn* DefineTabuColumn(const char* heading1, const char* heading2, DbField** field, int flags, int column) {
  TabuColumn* e = tabuList.Append(LOG_TABU_FULL);
  if (!e) return nullptr;
  e->heading1 = heading1;
  e->heading2 = heading2;
  e->field = field;
  e->flags = static_cast<int16_t>(flags | DEF_LAST);
  e->width = -1;
  e->row = 1;
  if (tabuList.count > 1) {
    const TabuColumn& previous = tabuList.array[tabuList.count - 2];
    if (previous.column == column) e->row = static_cast<int8_t>(previous.row + 1);
  }
  e->column = static_cast<int8_t>(column);
  e->factoryColumn = static_cast<int8_t>(column);
  return e;
}

void ResetEditCtrlDefinition(EditCtrl* array, int size) { editList.Reset(array, size); }

EditCtrl* DefineEditCtrl(int row, int col, void* data, int flags) {
  EditCtrl* e = editList.Append(LOG_EDIT_FULL);
  if (!e) return nullptr;
  e->row = static_cast<uint8_t>(row);
  e->col = static_cast<uint8_t>(col);
  e->data = data;
  e->flags = static_cast<uint32_t>(flags) | DEF_LAST;
  return e;
}

void DrawTextCtrl(TextCtrl* entry) {
  if (!entry || (entry->flags & TEXT_HIDDEN)) return;
  if (entry->drawRoutine) {
    entry->drawRoutine(entry);
    return;
  }
  DbField* field = FieldOf(entry->field);
  if (!field) return;
  if (entry->codeTexts)
    w4(entry->row, entry->col, KodAsPopupMenuString(f4int(field), entry->codeTexts));
  else if (f4type(field) == 'D')
    DispDateFld(entry->row, entry->col, field);
  else if (entry->flags & TEXT_THOUSANDS)
    w4double_f(entry->row, entry->col, f4double(field), static_cast<int>(f4len(field)), f4decimals(field));
  else
    w4field(entry->row, entry->col, field);
}

int ScrollColumnsWidth(ScrollColumn* list, ScrollColumn** last) {
  if (last) *last = nullptr;
  if (!list) return 0;
  int total = 0;
  for (ScrollColumn* c = list;; c++) {
    int width = c->width;
    if (width <= 0) {
      ColumnValue value;
      FillValue(c, &value);
      width = NaturalWidth(c, value);
    }
    width = std::max(width, HeaderLength(c));
    int needed = total + (total > 0 ? 1 : 0) + width;
    if (needed > Desktop.cols) break;
    total = needed;
    if (last) *last = c;
    if (Last(c)) break;
  }
  return total;
}

int ScrollColumnsHeader(ScrollColumn* list, TextRef title, int titleAttr, int headerAttr) {
  Window4* w = Desktop.curWindow;
  if (!w) return -1;
  PutChar(0, 0, ' ', w->width, titleAttr);
  const char* text = title.IsEmpty() ? nullptr : EnvFindString(title);
  if (text) {
    int n = static_cast<int>(std::strlen(text));
    Put(0, n > w->width ? 0 : (w->width - n) / 2, text, n, titleAttr);
  }
  PutChar(1, 0, ' ', w->width, headerAttr);
  std::vector<Placed> placed = Layout(list);
  int used = 0;
  for (size_t i = 0; i < placed.size(); i++) {
    const Placed& p = placed[i];
    ScrollColumn* c = p.column;
    bool current = false;
    if (c->tag && *c->tag) {
      DbTag* tag = *c->tag;
      current = tag->index && tag->index->table && d4tag_selected(tag->index->table) == tag;
    }
    int n = HeaderLength(c);
    Put(1, p.start + (p.width - n) / 2, c->header, n, current ? CURRENT_TAG_ATTR : headerAttr);
    PutChar(2, p.start, LINE_CHAR, p.width, headerAttr);
    c->endPos = static_cast<int16_t>(p.start + p.width);
    used = p.start + p.width;
    if (Separated(placed, i)) {
      PutChar(1, used, BAR_CHAR, 1, headerAttr);
      PutChar(2, used, CROSS_CHAR, 1, headerAttr);
    }
  }
  ImageRepaint(w->col, w->row, w->width, std::min(3, w->height));
  return used - 1;
}

void ScrollColumnsRow(ScrollColumn* list, int row, int frameAttr, int textAttr, int negativeAttr) {
  if (!Desktop.curWindow) return;
  std::vector<Placed> placed = Layout(list);
  for (size_t i = 0; i < placed.size(); i++) {
    const Placed& p = placed[i];
    const ColumnValue& v = p.value;
    PutChar(row, p.start, ' ', p.width, frameAttr);
    if (textAttr != -1) {
      char text[COLUMN_TEXT_MAX * 2];
      int n = 0, attr = textAttr;
      if (v.type == 'D') {
        char date[9];
        std::memcpy(date, v.text, 8);
        date[8] = '\0';
        if (std::strspn(date, " ") < 8) {
          const char* shown = p.column->flags & SCROLL_WIDE ? FullDateQStr(date) : DateQStr(date);
          n = static_cast<int>(std::strlen(shown));
          std::memcpy(text, shown, n);
        }
      } else if (v.type == 'N') {
        n = std::max<int>(v.length, 1);
        int decimals = Decimals(v);
        if (decimals >= n - 1) decimals = 0;
        c4dtoa(v.number, text, n, decimals, 1);
        if (p.column->flags & SCROLL_THOUSANDS) n += GroupThousands(text, n, decimals);
        if ((p.column->flags & SCROLL_WIDE) && v.number < 0) attr = negativeAttr;
      } else {
        n = v.length;
        std::memcpy(text, v.text, n);
      }
      Put(row, p.start, text, std::min(n, p.width), attr);
    }
    if (Separated(placed, i)) PutChar(row, p.start + p.width, BAR_CHAR, 1, frameAttr);
  }
}
