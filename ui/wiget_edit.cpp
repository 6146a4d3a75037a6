// The form loop of ActivateWindow.
#include "ui/wiget_edit.h"

#include <algorithm>
#include <cstring>
#include <string>
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/numbers.h"
#include "env/temp_strings.h"
#include "ui/desktop.h"
#include "ui/dir_window.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/special_char.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int KEY_GREY_MINUS = 0x4A00;
constexpr int KEY_PAD_CENTRE = 0x4C00;
constexpr int KEY_SPECIAL_1 = 0x8900;
constexpr int KEY_SPECIAL_2 = 0x8A00;
const char kPagesKey[] = "PgUp,PgDn";
const char kPagesText[] = "Zmiana stron";

FormState* running = nullptr;

struct Slot {
  Wiget* w;
  int page;
  bool pageHidden;
};

std::vector<Slot> Elements(FormState* form) {
  std::vector<Slot> out;
  WigetPageWalk walk;
  WigetWalkPages(static_cast<Wiget*>(form->window->wigets), 0, 0, walk,
                 [&](Wiget* w, int, int, const WigetPageWalk& at) {
                   if (WigetType(w) == W_GROUP) return true;
                   out.push_back(Slot{w, at.page, at.hidden});
                   return false;
                 });
  return out;
}

Wiget* List(FormState* form) { return static_cast<Wiget*>(form->window->wigets); }

bool Enterable(const Slot& s) { return !s.pageHidden && WigetCanEnter(s.w); }

int PageOf(FormState* form, const Wiget* w) {
  for (const Slot& s : Elements(form))
    if (s.w == w) return s.pageHidden ? -1 : s.page;
  return -1;
}

Wiget* FirstOnPage(FormState* form, int page) {
  for (const Slot& s : Elements(form))
    if (s.page == page && Enterable(s)) return s.w;
  return nullptr;
}

bool IsCodeList(const Wiget* w) { return WigetType(w) == W_CODE || WigetType(w) == W_FIELD_CODE; }
bool IsPickList(const Wiget* w) { return IsCodeList(w) && (w->flags & WF_KIND_MASK) != WF_LONG; }
bool IsRadio(const Wiget* w) { return WigetType(w) == W_RADIO || WigetType(w) == W_FIELD_RADIO; }
bool IsYesNo(const Wiget* w) { return WigetType(w) == W_YESNO || WigetType(w) == W_FIELD_YESNO; }
bool IsNumber(const Wiget* w) {
  int type = WigetType(w);
  if (type == W_SHORT || type == W_INT || type == W_DOUBLE) return true;
  DbField* field = WigetField(w);
  return type == W_FIELD && field && (field->type == 'N' || field->type == 'F');
}
bool IsDate(const Wiget* w) {
  DbField* field = WigetField(w);
  return WigetType(w) == W_DATE || (WigetType(w) == W_FIELD && field && field->type == 'D');
}
bool IsText(const Wiget* w) {
  DbField* field = WigetField(w);
  return WigetType(w) == W_TEXT || (WigetType(w) == W_FIELD && field && field->type == 'C');
}
bool LongDate(const Wiget* w) { return (w->flags & WF_KIND_MASK) == WF_LONG; }
uint32_t Kind(const Wiget* w) { return w->flags & WF_KIND_MASK; }

const char* DatePicture(const Wiget* w) { return LongDate(w) ? "DD-MM-CCYY" : "DD-MM/YY"; }

// Buffer positions.
bool Free(FormState* f, int i) { return i >= 0 && i < f->length && !f->fixed[i]; }
int FirstFree(FormState* f) {
  for (int i = 0; i < f->length; i++)
    if (Free(f, i)) return i;
  return 0;
}
int NextFree(FormState* f, int i) {
  for (int j = i + 1; j < f->length; j++)
    if (Free(f, j)) return j;
  return -1;
}
int PrevFree(FormState* f, int i) {
  for (int j = i - 1; j >= 0; j--)
    if (Free(f, j)) return j;
  return -1;
}
int FixedAfter(FormState* f, int i) {
  for (int j = i; j < f->length; j++)
    if (f->fixed[j]) return j;
  return f->length;
}

void BlankFree(FormState* f) {
  for (int i = 0; i < f->length; i++)
    if (!f->fixed[i]) f->buffer[i] = ' ';
}

// The edit buffer's shape for the element.
void SetupBuffer(FormState* f, Wiget* w) {
  std::memset(f->fixed, 0, sizeof f->fixed);
  f->decimals = 0;
  int length = 0;
  int type = WigetType(w);
  DbField* field = WigetField(w);
  int option = WigetOptionWidth(w);
  if (IsText(w)) {
    length = WigetLength(w);
    if (Kind(w) == WF_POSTAL) length = std::min(length, 6);
    if (const char* mask = WigetMask(w)) {
      length = static_cast<int>(std::strlen(mask));
      for (int i = 0; i < length; i++)
        if (mask[i] != '9' && mask[i] != 'A') f->fixed[i] = mask[i];
    }
    if (Kind(w) == WF_POSTAL && length > 2) f->fixed[2] = '-';
  } else if (IsNumber(w)) {
    if (type == W_FIELD) {
      length = option ? option : static_cast<int>(f4len(field));
      f->decimals = option ? WigetOptionDecimals(w) : f4decimals(field);
    } else if (type == W_DOUBLE) {
      length = option ? option : 11;
      f->decimals = option ? WigetOptionDecimals(w) : 2;
    } else {
      length = option ? option : (type == W_SHORT ? 2 : 6);
    }
    if (f->decimals >= length - 1) f->decimals = 0;
    if (f->decimals > 0) f->fixed[length - f->decimals - 1] = '.';
  } else if (IsDate(w)) {
    length = LongDate(w) ? 10 : 8;
    f->fixed[2] = '-';
    f->fixed[5] = LongDate(w) ? '-' : '/';
  } else if (IsYesNo(w)) {
    length = 1;
  }
  f->length = std::min(length, FORM_BUFFER);
  f->field_width = option && IsText(w) && !WigetMask(w) ? std::min(option, f->length) : f->length;
  if (IsYesNo(w)) f->field_width = Kind(w) == WF_LONG ? 1 : 3;
  if (IsPickList(w) || IsRadio(w) || IsCodeList(w)) f->field_width = 0;
  f->scroll = 0;
  f->pos = FirstFree(f);
}

void LayFixed(FormState* f) {
  for (int i = 0; i < f->length; i++)
    if (f->fixed[i]) f->buffer[i] = f->fixed[i];
  f->buffer[f->length] = 0;
}

void Beep() { beep(); }

void HideCaret() { w4cursor(-1, -1); }

void DrawPage(FormState* form) {
  w4clear(0);
  DisplayPageWigets(form->window, List(form), 0, 0, WD_ALL);
  if (form->window->pageCount >= 2 && !form->hint_added) {
    set_fun_help(kPagesKey, kPagesText, 3);
    form->hint_added = 1;
  }
}

// The value of an element read again through its setter; checks as asked.
int Reload(Wiget* w, bool fromSource, bool checks, bool quiet, bool nameErrors) {
  uint16_t saved = w->state & (WS_NO_CHECKS | WS_QUIET | WS_NAME_ERRORS);
  if (!checks) w->state |= WS_NO_CHECKS;
  if (quiet) w->state |= WS_QUIET;
  if (nameErrors) w->state |= WS_NAME_ERRORS;
  int result = 1;
  if (IsText(w)) {
    int length = 0;
    const char* text = WigetRawText(w, fromSource, &length);
    result = WigetSetString(w, QuickStr(text, length, 0));
  } else if (IsNumber(w) && WigetType(w) != W_SHORT && WigetType(w) != W_INT) {
    result = WigetSetDouble(w, WigetRawDouble(w, fromSource));
  } else if (IsDate(w)) {
    char date[8];
    WigetRawDate(w, fromSource, date);
    result = WigetSetDate(w, date);
  } else if (WigetSnapshotSize(w) > 0) {
    result = WigetSetLong(w, WigetRawLong(w, fromSource));
  }
  w->state = static_cast<uint16_t>((w->state & ~(WS_NO_CHECKS | WS_QUIET | WS_NAME_ERRORS)) | saved);
  return result;
}

// At the start every element is read once from its source without checks
// (event 6 may skip it), which fills the own copies; later the elements whose
// value left their snapshot are stored again with checks (an own copy keeps
// what was typed into it). The first refused element becomes the next one.
void TestChanged(FormState* form) {
  form->check_flags &= static_cast<uint16_t>(~1);
  std::vector<Slot> all = Elements(form);
  if (!form->loaded) {
    form->loaded = 1;
    for (const Slot& s : all) {
      if (WigetSnapshotSize(s.w) == 0) continue;
      WigetEvent event{};
      event.code = WE_RELOAD;
      if (WigetSendEvent(s.w, &event) == 3) continue;
      Reload(s.w, true, false, false, false);
    }
    return;
  }
  for (const Slot& s : all) {
    Wiget* w = s.w;
    int size = WigetSnapshotSize(w);
    if (size == 0 || w == form->current || w->snapshot_offset == NO_SNAPSHOT) continue;
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    WigetValueBytes(w, bytes.data());
    if (std::memcmp(bytes.data(), form->snapshot.data() + w->snapshot_offset, static_cast<size_t>(size)) == 0)
      continue;
    bool hidden = (w->state & WS_HIDDEN) != 0;
    if (!Reload(w, false, !hidden, (form->check_flags & 2) != 0, true)) {
      form->next = w;
      return;
    }
  }
}

// 0 left; 1 the element keeps the cursor.
int Leave(FormState* form, bool test) {
  Wiget* w = form->current;
  if (!w) return 0;
  if (test && CaseValidateWiget(w, form->window)) return 1;
  WigetEvent event{};
  event.code = WE_LEAVE;
  if (WigetSendEvent(w, &event) == 2) return 1;
  w->state &= static_cast<uint16_t>(~(WS_CURSOR | WS_TYPING));
  w->state |= WS_REDRAW;
  form->current = nullptr;
  return 0;
}

int Save(FormState* form);

// The next element by the navigation key; NULL when there is none.
Wiget* Choose(FormState* form, Wiget* from) {
  std::vector<Slot> all = Elements(form);
  int at = -1;
  for (size_t i = 0; i < all.size(); i++)
    if (all[i].w == from) at = static_cast<int>(i);
  int page = form->window->page;
  switch (form->move_key) {
    case KEY_ENTER:
    case KEY_DOWN:
      for (size_t i = static_cast<size_t>(at + 1); i < all.size(); i++)
        if (Enterable(all[i])) return all[i].w;
      return nullptr;
    case KEY_UP:
      for (int i = at - 1; i >= 0; i--)
        if (Enterable(all[static_cast<size_t>(i)])) return all[static_cast<size_t>(i)].w;
      return nullptr;
    case KEY_GREY_MINUS:
      for (size_t i = static_cast<size_t>(at + 1); i < all.size(); i++)
        if (Enterable(all[i]) && (all[i].page > page || (all[i].w->flags & WF_SECTION))) return all[i].w;
      return nullptr;
    case KEY_PAD_CENTRE: {
      for (int i = at - 1; i >= 0; i--) {
        const Slot& s = all[static_cast<size_t>(i)];
        if (Enterable(s) && (s.w->flags & WF_SECTION)) return s.w;
      }
      return FirstOnPage(form, page);
    }
  }
  return nullptr;
}

bool HasElementBefore(FormState* form, Wiget* w) {
  int key = form->move_key;
  form->move_key = KEY_UP;
  bool found = Choose(form, w) != nullptr;
  form->move_key = key;
  return found;
}

// Enters form->next, or the element the navigation key names; returns F2 or Esc when that ended the form.
int EnterNext(FormState* form) {
  Wiget* was = form->current;
  Wiget* named = form->next;
  form->next = nullptr;
  if (was) {
    if (Leave(form, true)) {
      if (!form->next || form->next == was) {
        form->next = nullptr;
        form->moving = 0;
        return 0;
      }
      was->state &= static_cast<uint16_t>(~(WS_CURSOR | WS_TYPING));
      form->current = nullptr;
    }
  }
  if (!form->next) form->next = named;
  TestChanged(form);
  if (!form->next && form->moving) {
    form->next = Choose(form, was);
    if (!form->next) {
      int key = form->move_key;
      form->moving = 0;
      if (key == KEY_ENTER && !(form->options & AW_ENTER_NO_SAVE)) {
        form->next = was;
        return Save(form);
      }
      if (key == KEY_UP && form->pick_escaped) return KEY_ESC;
      form->next = was;
    }
  }
  form->moving = 0;
  form->pick_escaped = 0;
  form->pick_closed = 0;
  Wiget* w = form->next;
  form->next = nullptr;
  if (!w) return 0;
  if (!WigetCanEnter(w)) {
    WigetError(WERR_NOT_EDITABLE, w, nullptr);
    return 0;
  }
  int page = PageOf(form, w);
  if (page >= 0 && page != form->window->page) {
    form->window->page = static_cast<int16_t>(page);
    DrawPage(form);
  }
  form->display_mode = 0;
  form->current = w;
  SetupBuffer(form, w);
  int row = 0, col = 0;
  WigetPlace(List(form), w, &row, &col);
  form->field_row = row;
  form->field_col = col;
  if (!IsPickList(w)) w->state |= WS_CURSOR;
  w->state |= WS_REDRAW;
  FormFillBuffer(form, w);
  WigetEvent event{};
  event.code = WE_ENTER;
  WigetSendEvent(w, &event);
  return 0;
}

void DrawField(FormState* form) {
  Wiget* w = form->current;
  if (!w) return;
  Window4* window = form->window;
  int attr = window->colourSet ? window->colourSet[3] : window->attr;
  if (IsPickList(w)) {
    WigetDraw(window, w, form->field_row - w->row, form->field_col - w->col, 0);
    return;
  }
  if (IsCodeList(w) || IsRadio(w) || form->field_width <= 0) return;
  if (IsYesNo(w)) {
    std::string shown;
    if (Kind(w) == WF_LONG) shown = form->buffer[0] == 'T' ? "X" : " ";
    else {
      shown = form->buffer[0] == 'T' ? "TAK" : "NIE";
      shown[0] = form->buffer[0];
    }
    w4num_att(form->field_row, form->field_col, shown.c_str(), static_cast<int>(shown.size()), attr);
    return;
  }
  if (form->pos < form->scroll) form->scroll = form->pos;
  if (form->pos >= form->scroll + form->field_width) form->scroll = form->pos - form->field_width + 1;
  std::string shown(form->buffer + form->scroll,
                    static_cast<size_t>(std::min(form->field_width, form->length - form->scroll)));
  if (Kind(w) == WF_PASSWORD && IsText(w)) {
    std::string all(form->buffer, static_cast<size_t>(form->length));
    size_t last = all.find_last_not_of(' ');
    for (size_t i = 0; i < shown.size(); i++)
      if (last != std::string::npos && form->scroll + i <= last) shown[i] = '*';
  }
  w4num_att(form->field_row, form->field_col, shown.c_str(), static_cast<int>(shown.size()), attr);
}

// Reads the key for the current element; 0 when the key was used up.
int ReadKey(FormState* form) {
  Wiget* w = form->current;
  if (w && IsPickList(w) && !form->pick_closed) {
    int32_t code = WigetRawLong(w, false);
    int chosen = OpenSelectionList(w->list, code, form->field_row, form->field_col);
    if (chosen != -1) return WigetSetLong(w, chosen) ? KEY_ENTER : 0;
    int last = lastMenuKey;
    lastMenuKey = 0;
    if (last == KEY_GREY_MINUS || last == KEY_PAD_CENTRE || last == KEY_CTRL_PGDN || last == KEY_CTRL_PGUP) return last;
    // Esc only closes the list: moving up would open the list of an element
    // above at once. The first element's list still ends the form.
    if ((form->options & AW_PICK_ESC_STAYS) && last == KEY_ESC && HasElementBefore(form, w)) {
      form->pick_closed = 1;
      return 0;
    }
    form->pick_escaped = 1;
    return KEY_UP;
  }
  int key = g4char();
  if (form->window->formKeyRoutine) form->window->formKeyRoutine(key, form->window->formData);
  if (!w) return key;
  if (key >= 32 && key <= 255) {
    if (Kind(w) == WF_LONG) key = (KeyMods() & KEYMOD_SHIFT) ? EnvToLower(key) : EnvToUpper(key);
    else if (Kind(w) == WF_IBAN) key = EnvToUpper(key);
  }
  WigetEvent event{};
  event.code = WE_KEY;
  event.key = key;
  if (WigetSendEvent(w, &event) == 1) {
    Beep();
    return 0;
  }
  key = event.key;
  if (IsRadio(w) && key >= 32 && key <= 255) {
    Wiget* head = WigetRadioHead(w);
    if (key == ' ' || key == 'X' || key == 'x') {
      bool selected = WigetRawLong(head, false) == w->extra;
      if (key == ' ' && selected && Kind(head) == WF_LONG) WigetSetLong(head, CODE_BLANK);
      else WigetSetLong(head, w->extra);
    }
    return 0;
  }
  return key;
}

// Puts a character at pos, inserting up to the next fixed character or overwriting.
void PutChar(FormState* f, int c) {
  if (!Free(f, f->pos)) {
    Beep();
    return;
  }
  if (Desktop.insertMode) {
    int end = FixedAfter(f, f->pos);
    for (int i = end - 1; i > f->pos; i--) f->buffer[i] = f->buffer[i - 1];
  }
  f->buffer[f->pos] = static_cast<char>(c);
  int next = NextFree(f, f->pos);
  if (next >= 0) f->pos = next;
}

void TypeKey(FormState* form, int key) {
  Wiget* w = form->current;
  if (!w) {
    Beep();
    return;
  }
  if (IsCodeList(w)) {
    // A key on a list closed with Esc opens it again.
    if (form->pick_closed) form->pick_closed = 0;
    else Beep();
    return;
  }
  if (IsText(w)) {
    if (Kind(w) == WF_POSTAL && !(key == ' ' || (key >= '0' && key <= '9'))) {
      Beep();
      return;
    }
    if (const char* mask = WigetMask(w)) {
      int at = form->replace ? FirstFree(form) : form->pos;
      char place = at < form->length ? mask[at] : 0;
      bool digit = key >= '0' && key <= '9';
      if ((place == '9' && !digit) || (place == 'A' && !IsLetter(key)) || !place) {
        Beep();
        return;
      }
    }
    if (form->replace) {
      BlankFree(form);
      form->pos = FirstFree(form);
    }
    PutChar(form, key);
  } else if (IsNumber(w)) {
    if (key == ',' || key == '.') {
      if (form->decimals <= 0) {
        Beep();
        return;
      }
      int point = form->length - form->decimals - 1;
      if (form->replace) BlankFree(form);
      if (form->pos <= point) {
        std::string typed(form->buffer, static_cast<size_t>(std::min(form->pos, point)));
        size_t a = typed.find_first_not_of(' '), b = typed.find_last_not_of(' ');
        typed = a == std::string::npos ? "" : typed.substr(a, b - a + 1);
        if (static_cast<int>(typed.size()) > point) typed = typed.substr(typed.size() - static_cast<size_t>(point));
        std::memset(form->buffer, ' ', static_cast<size_t>(point));
        std::memcpy(form->buffer + point - typed.size(), typed.data(), typed.size());
      }
      for (int i = point + 1; i < form->length; i++) form->buffer[i] = '0';
      form->pos = point + 1;
    } else if ((key >= '0' && key <= '9') || key == ' ' || key == '+' || key == '-') {
      if (form->replace) {
        BlankFree(form);
        form->pos = FirstFree(form);
      }
      PutChar(form, key);
    } else {
      Beep();
      return;
    }
  } else if (IsDate(w)) {
    if (!(key == ' ' || (key >= '0' && key <= '9'))) {
      Beep();
      return;
    }
    PutChar(form, key);
  } else if (IsYesNo(w)) {
    int upper = EnvToUpper(key);
    if (key == ' ') form->buffer[0] = form->buffer[0] == 'T' ? 'N' : 'T';
    else if (upper == 'T' || upper == 'N') form->buffer[0] = static_cast<char>(upper);
    else if (upper == 'X' && Kind(w) == WF_LONG) form->buffer[0] = 'T';
    else {
      Beep();
      return;
    }
    PushKeyMessage(KEY_ENTER, 1);
  } else {
    WigetError(WERR_NO_TYPING, w, nullptr);
    Beep();
    return;
  }
  form->replace = 0;
  w->state |= WS_TYPING;
}

void DeleteAt(FormState* f, Wiget* w) {
  if (!Free(f, f->pos)) {
    Beep();
    return;
  }
  if (IsDate(w) && f->pos == 0) {
    BlankFree(f);
  } else if (const char* mask = WigetMask(w)) {
    char raw[FORM_BUFFER + 1];
    int n = MaskStrip(mask, f->buffer, f->length, raw);
    int index = 0;
    for (int i = 0; i < f->pos; i++)
      if (Free(f, i)) index++;
    if (index < n) {
      std::memmove(raw + index, raw + index + 1, static_cast<size_t>(n - index));
      raw[n - 1] = ' ';
    }
    MaskApply(mask, raw, f->buffer);
  } else {
    int end = FixedAfter(f, f->pos);
    for (int i = f->pos; i < end - 1; i++) f->buffer[i] = f->buffer[i + 1];
    f->buffer[end - 1] = ' ';
  }
  f->replace = 0;
  w->state |= WS_TYPING;
}

void ChangePage(FormState* form, int direction) {
  int page = form->window->page + direction;
  if (page < 0 || page >= form->window->pageCount) {
    Beep();
    return;
  }
  if (Wiget* first = FirstOnPage(form, page)) {
    form->next = first;
    form->display_mode = 0;
    return;
  }
  if (Leave(form, true)) return;
  form->display_mode = 1;
  form->window->page = static_cast<int16_t>(page);
  DrawPage(form);
}

void WriteOwnToSource(Wiget* w) {
  if (!(w->flags & WF_OWN_BUFFER)) return;
  if (w->source.kind != WSRC_VARIABLE && w->source.kind != WSRC_FIELD) return;
  WigetEvent event{};
  event.code = WE_SAVE;
  if (WigetSendEvent(w, &event) == 3) return;
  int type = WigetType(w);
  DbField* field = WigetField(w);
  switch (type) {
    case W_TEXT:
      std::memcpy(w->source.variable, w->value.text, static_cast<size_t>(WigetLength(w)));
      break;
    case W_FIELD:
      if (!field) break;
      if (field->type == 'C') FldCopyString(field, w->value.text);
      else if (field->type == 'D') f4assign_n(field, w->value.date, 8);
      else f4assign_double(field, w->value.number);
      break;
    case W_DOUBLE:
      *static_cast<double*>(w->source.variable) = w->value.number;
      break;
    case W_DATE:
      std::memcpy(w->source.variable, w->value.date, 8);
      break;
    case W_SHORT:
    case W_INT:
    case W_CODE:
    case W_RADIO:
      *static_cast<int32_t*>(w->source.variable) = w->value.integer;
      break;
    case W_FIELD_CODE:
    case W_FIELD_RADIO:
      if (field) WigetStoreCodeInField(field, w->value.integer);
      break;
    case W_YESNO:
      *static_cast<char*>(w->source.variable) = w->value.ch[0];
      break;
    case W_FIELD_YESNO: {
      int pos = static_cast<unsigned char>(w->value.ch[1]);
      if (field && pos < static_cast<int>(f4len(field))) f4assign_ptr(field)[pos] = w->value.ch[0];
      break;
    }
  }
}

int Save(FormState* form) {
  Wiget* was = form->current;
  if (Leave(form, true)) return 0;
  std::vector<Slot> all = Elements(form);
  form->check_flags |= 2;
  for (const Slot& s : all) {
    if (CaseValidateWiget(s.w, form->window)) {
      form->check_flags &= static_cast<uint16_t>(~2);
      return 0;
    }
  }
  form->check_flags &= static_cast<uint16_t>(~2);
  if (!(form->options & AW_NO_QUESTIONS)) {
    int yes = (form->options & AW_ASK_CONTINUE) ? ContinueQuestion() : SaveQuestion(0);
    if (!yes) {
      form->next = was;
      return 0;
    }
  }
  for (const Slot& s : all) {
    if ((s.w->state & WS_HIDDEN) && IsText(s.w)) {
      uint16_t saved = s.w->state & WS_NO_CHECKS;
      s.w->state |= WS_NO_CHECKS;
      WigetSetString(s.w, "");
      s.w->state = static_cast<uint16_t>((s.w->state & ~WS_NO_CHECKS) | saved);
    }
  }
  for (const Slot& s : all) WriteOwnToSource(s.w);
  HideCaret();
  return KEY_F2;
}

// 0 goes on; F2 or Esc ends the form.
int Command(FormState* form, int key) {
  Wiget* w = form->current;
  if (w && WigetType(w) == W_DIRLIST && w->source.kind == WSRC_DIRLIST &&
      DirListKey(w->source.dirList, form->field_row, form->field_col, key))
    return 0;
  bool buffer = w && form->length > 0 && !IsYesNo(w);
  // Moving in the buffer means editing the value in place.
  if (buffer && (key == KEY_LEFT || key == KEY_RIGHT || key == KEY_HOME || key == KEY_END || key == KEY_BACKSPACE ||
                 key == KEY_DEL))
    form->replace = 0;
  switch (key) {
    case KEY_LEFT:
      if (!buffer) break;
      if (int p = PrevFree(form, form->pos); p >= 0) form->pos = p;
      return 0;
    case KEY_RIGHT:
      if (!buffer) break;
      if (int p = NextFree(form, form->pos); p >= 0) form->pos = p;
      return 0;
    case KEY_HOME:
      if (!buffer) break;
      form->pos = FirstFree(form);
      return 0;
    case KEY_END: {
      if (!buffer) break;
      int last = form->length - 1;
      while (last >= 0 && (form->buffer[last] == ' ' || form->fixed[last])) last--;
      int p = last < 0 ? FirstFree(form) : NextFree(form, last);
      form->pos = p < 0 ? form->length - 1 : p;
      return 0;
    }
    case KEY_BACKSPACE: {
      if (!buffer) break;
      int p = PrevFree(form, form->pos);
      if (p < 0) break;
      form->pos = p;
      DeleteAt(form, w);
      return 0;
    }
    case KEY_DEL:
      if (!buffer) break;
      DeleteAt(form, w);
      return 0;
    case KEY_INS:
      Desktop.insertMode = !Desktop.insertMode;
      DesktopSetCaretShape(Desktop.insertMode ? 0 : 1);
      return 0;
    case KEY_ENTER:
    case KEY_UP:
    case KEY_DOWN:
    case KEY_GREY_MINUS:
    case KEY_PAD_CENTRE:
      if (!w) break;
      form->move_key = key;
      form->moving = 1;
      return 0;
    case KEY_PGUP:
    case KEY_CTRL_PGUP:
      ChangePage(form, -1);
      return 0;
    case KEY_PGDN:
    case KEY_CTRL_PGDN:
      ChangePage(form, 1);
      return 0;
    case KEY_F2:
      return Save(form);
    case KEY_ESC:
      if ((form->options & AW_NO_QUESTIONS) || LeaveQuestion()) {
        Leave(form, false);
        if (form->current) {
          form->current->state &= static_cast<uint16_t>(~(WS_CURSOR | WS_TYPING));
          form->current = nullptr;
        }
        HideCaret();
        return KEY_ESC;
      }
      return 0;
    case KEY_SPECIAL_1:
    case KEY_SPECIAL_2: {
      if (!buffer || !Free(form, form->pos)) break;
      int c = PickSpecialChar();
      if (c) {
        form->buffer[form->pos] = static_cast<char>(c);
        form->replace = 0;
        w->state |= WS_TYPING;
      }
      return 0;
    }
    case 0:
      return 0;
  }
  Beep();
  return 0;
}

void Snapshot(FormState* form) {
  size_t total = 0;
  for (const Slot& s : Elements(form)) {
    int size = WigetSnapshotSize(s.w);
    s.w->snapshot_offset = NO_SNAPSHOT;
    if (size <= 0 || total + static_cast<size_t>(size) >= NO_SNAPSHOT) continue;
    s.w->snapshot_offset = static_cast<uint16_t>(total);
    total += static_cast<size_t>(size);
  }
  form->snapshot.assign(total, 0x80);
}

}  // namespace

FormState* FormOfWiget(const Wiget* w) {
  for (FormState* form = running; form; form = form->outer) {
    int row, col;
    if (WigetPlace(List(form), w, &row, &col) == 0) return form;
  }
  return nullptr;
}

int WigetPlace(Wiget* list, const Wiget* w, int* row, int* col) {
  if (!list) return -1;
  for (Wiget* e = list;; e++) {
    if (e == w) {
      *row = e->row;
      *col = e->col;
      return 0;
    }
    if (WigetType(e) == W_GROUP && WigetPlace(e->source.members, w, row, col) == 0) {
      *row += e->row;
      *col += e->col;
      return 0;
    }
    if (e->state & WS_LAST) return -1;
  }
}

void FormFillBuffer(FormState* f, Wiget* w) {
  std::memset(f->buffer, ' ', sizeof f->buffer - 1);
  f->buffer[FORM_BUFFER] = 0;
  if (IsText(w)) {
    int length = 0;
    const char* text = WigetRawText(w, false, &length);
    std::string value(text, static_cast<size_t>(std::min(length, FORM_BUFFER)));
    if (const char* mask = WigetMask(w)) {
      char masked[FORM_BUFFER + 1];
      MaskApply(mask, value.c_str(), masked);
      std::memcpy(f->buffer, masked, static_cast<size_t>(f->length));
    } else {
      std::memcpy(f->buffer, value.data(), std::min(value.size(), static_cast<size_t>(f->length)));
    }
  } else if (IsNumber(w)) {
    char text[FORM_BUFFER + 2];
    double x = (WigetType(w) == W_SHORT || WigetType(w) == W_INT) ? WigetRawLong(w, false) : WigetRawDouble(w, false);
    c4dtoa(x, text, f->length, f->decimals, 1);
    std::memcpy(f->buffer, text, static_cast<size_t>(f->length));
  } else if (IsDate(w)) {
    char date[8];
    WigetRawDate(w, false, date);
    std::string d(date, 8);
    if (d.find_first_not_of(' ') != std::string::npos) {
      const char* shown = DateFmtQStr(d.c_str(), DatePicture(w));
      std::memcpy(f->buffer, shown, std::min(std::strlen(shown), static_cast<size_t>(f->length)));
    }
  } else if (IsYesNo(w)) {
    f->buffer[0] = static_cast<char>(WigetRawLong(w, false));
  }
  LayFixed(f);
  f->replace = 1;
  f->pos = FirstFree(f);
  f->scroll = 0;
}

void FormBufferText(FormState* form, const Wiget* w, char* out, int outSize) {
  std::string text;
  if (const char* mask = WigetMask(w)) {
    char raw[FORM_BUFFER + 1];
    int n = MaskStrip(mask, form->buffer, form->length, raw);
    text.assign(raw, static_cast<size_t>(n));
  } else {
    text.assign(form->buffer, static_cast<size_t>(form->length));
    // A text longer than the edit buffer keeps its stored end.
    int length = 0;
    const char* stored = WigetRawText(const_cast<Wiget*>(w), false, &length);
    if (length > form->length) text.append(stored + form->length, static_cast<size_t>(length - form->length));
  }
  int n = std::min(static_cast<int>(text.size()), outSize - 1);
  std::memcpy(out, text.data(), static_cast<size_t>(n));
  out[n] = 0;
}

double FormBufferNumber(FormState* form) { return QuickDouble(form->buffer, form->length); }

void FormBufferDate(FormState* form, const Wiget* w, char* date8) {
  bool blank = true;
  for (int i = 0; i < form->length; i++)
    if (!form->fixed[i] && form->buffer[i] != ' ') blank = false;
  if (blank) {
    std::memset(date8, ' ', 8);
    return;
  }
  std::string typed(form->buffer, static_cast<size_t>(form->length));
  date4parse_picture(typed.c_str(), DatePicture(w), date8);
}

void FormRefused(FormState* form) {
  form->pos = FirstFree(form);
  form->replace = 1;
}

int ActivateWindow(int handle, Wiget* start, int (*keyRoutine)(int key, void* formData), int options) {
  Window4* window = w4record(handle);
  if (!window) return KEY_ESC;
  w4activate(handle);
  FormState* form = new FormState{};
  form->window = window;
  form->options = options;
  form->outer = running;
  running = form;
  window->formState = form;
  window->formKeyRoutine = keyRoutine;
  window->page = -1;
  Snapshot(form);
  TestChanged(form);
  window->page = 0;
  Wiget* first = FirstOnPage(form, 0);
  if ((options & AW_DISPLAY) || !first) {
    form->display_mode = 1;
    DrawPage(form);
  } else {
    form->next = start ? start : first;
  }
  while (!form->result && (form->current || form->next || form->moving || form->display_mode)) {
    if ((form->next && form->next != form->current) || form->moving) {
      int end = EnterNext(form);
      if (end) {
        form->result = end;
        break;
      }
    }
    DisplayPageWigets(window, List(form), 0, 0, WD_BLANK_FIRST | WD_HIDDEN_ONLY);
    DisplayPageWigets(window, List(form), 0, 0, WD_BLANK_FIRST);
    int key;
    if (form->display_mode || !form->current) {
      HideCaret();
      key = g4char();
      if (keyRoutine) keyRoutine(key, window->formData);
      if (form->check_flags & 1) TestChanged(form);
    } else {
      DrawField(form);
      if (WigetType(form->current) == W_DIRLIST || IsPickList(form->current) || IsRadio(form->current) ||
          IsCodeList(form->current))
        HideCaret();
      else
        w4cursor(form->field_row, form->field_col + form->pos - form->scroll);
      key = ReadKey(form);
      if (form->check_flags & 1) TestChanged(form);
    }
    if (key >= 32 && key <= 255) TypeKey(form, key);
    else form->result = Command(form, key);
  }
  HideCaret();
  clr_key_buf();
  if (form->current) form->current->state &= static_cast<uint16_t>(~(WS_CURSOR | WS_TYPING));
  if (form->hint_added) remove_fun_help(kPagesKey);
  int result = form->result;
  window->formState = nullptr;
  window->formKeyRoutine = nullptr;
  running = form->outer;
  delete form;
  return result;
}

void WigetToEnter(Wiget* w) {
  if (FormState* form = FormOfWiget(w)) form->next = w;
}
