// Wiget definition, values, checks, events and setters.
#include "ui/wiget.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/error_log.h"
#include "env/session/field_text.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/temp_strings.h"
#include "ui/desktop.h"
#include "ui/dir_window.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/validators.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int LOG_WIGETS_FULL = 52;
const char kBadIban[] = "Nieprawid\x92owy IBAN.";
const char kBadNrb[] = "Nieprawid\x92owy NRB.";
const char kBadDateTitle[] = "Nielegalna data !";

struct DefinitionTarget {
  Wiget* array = nullptr;
  int count = 0, capacity = 0, origin = 0;
} target;

char* NewBlanks(int length) {
  char* text = new char[static_cast<size_t>(length) + 1];
  std::memset(text, ' ', static_cast<size_t>(length));
  text[length] = 0;
  return text;
}

char* NewCopy(const char* text) {
  size_t n = std::strlen(text);
  char* copy = new char[n + 1];
  std::memcpy(copy, text, n + 1);
  return copy;
}

}  // namespace

bool WigetUsesOwn(const Wiget* w) {
  return w->source.kind == WSRC_NONE || w->source.kind == WSRC_LENGTH || (w->flags & WF_OWN_BUFFER);
}

namespace {

bool Contains(Wiget* list, const Wiget* w) {
  if (!list) return false;
  for (Wiget* e = list;; e++) {
    if (e == w) return true;
    if (WigetType(e) == W_GROUP && Contains(e->source.members, w)) return true;
    if (e->state & WS_LAST) return false;
  }
}

// The window whose list holds the element, or NULL.
Window4* WindowOfWiget(const Wiget* w) {
  if (FormState* form = FormOfWiget(w)) return form->window;
  if (!Desktop.windowPool) return nullptr;
  int capacity = SlotPoolCapacity(Desktop.windowPool);
  for (int h = 0; h < capacity; h++) {
    Window4* window = w4record(h);
    if (window && window->wigets && Contains(static_cast<Wiget*>(window->wigets), w)) return window;
  }
  return nullptr;
}

}  // namespace

int WigetSendEvent(Wiget* w, WigetEvent* event) {
  Window4* window = WindowOfWiget(w);
  void* data = window ? window->formData : nullptr;
  int result = 0;
  if (w->hook) {
    result = w->hook(event, w, data);
    if (result == 1) return 1;
  }
  if (w->hook2) {
    int second = w->hook2(event, w, data);
    if (second) return second;
  }
  return result;
}

namespace {

bool IsCodeList(int type) { return type == W_CODE || type == W_FIELD_CODE; }
bool IsYesNo(int type) { return type == W_YESNO || type == W_FIELD_YESNO; }
bool IsRadio(int type) { return type == W_RADIO || type == W_FIELD_RADIO; }

}  // namespace

int32_t WigetRawLong(Wiget* w, bool fromSource) {
  int type = WigetType(w);
  if (IsRadio(type)) w = WigetRadioHead(w);
  bool own = WigetUsesOwn(w) && !(fromSource && w->source.kind != WSRC_NONE && w->source.kind != WSRC_LENGTH);
  DbField* field = WigetField(w);
  switch (type) {
    case W_FIELD:
      if (own) return RoundLong(w->value.number);
      return field ? RoundLong(f4double(field)) : 0;
    case W_SHORT:
    case W_INT:
    case W_CODE:
    case W_RADIO:
      return own ? w->value.integer : *static_cast<int32_t*>(w->source.variable);
    case W_FIELD_CODE:
    case W_FIELD_RADIO:
      return own ? w->value.integer : (field ? FldListCode(field) : CODE_BLANK);
    case W_YESNO:
      return static_cast<unsigned char>(own ? w->value.ch[0] : *static_cast<char*>(w->source.variable));
    case W_FIELD_YESNO: {
      if (own) return static_cast<unsigned char>(w->value.ch[0]);
      int pos = static_cast<unsigned char>(w->value.ch[1]);
      if (!field || pos >= static_cast<int>(f4len(field))) return ' ';
      return static_cast<unsigned char>(f4ptr(field)[pos]);
    }
  }
  return 0;
}

double WigetRawDouble(Wiget* w, bool fromSource) {
  bool own = WigetUsesOwn(w) && !(fromSource && w->source.kind != WSRC_NONE && w->source.kind != WSRC_LENGTH);
  if (WigetType(w) == W_FIELD) {
    if (own) return w->value.number;
    DbField* field = WigetField(w);
    return field ? f4double(field) : 0.0;
  }
  if (WigetType(w) == W_DOUBLE) return own ? w->value.number : *static_cast<double*>(w->source.variable);
  return 0.0;
}

void WigetRawDate(Wiget* w, bool fromSource, char* date8) {
  bool own = WigetUsesOwn(w) && !(fromSource && w->source.kind != WSRC_NONE && w->source.kind != WSRC_LENGTH);
  if (own) {
    std::memcpy(date8, w->value.date, 8);
  } else if (WigetType(w) == W_FIELD) {
    DbField* field = WigetField(w);
    if (field) std::memcpy(date8, f4ptr(field), 8);
    else std::memset(date8, ' ', 8);
  } else {
    std::memcpy(date8, w->source.variable, 8);
  }
}

// The text's bytes (not terminated) and their count.
const char* WigetRawText(Wiget* w, bool fromSource, int* length) {
  bool own = WigetUsesOwn(w) && !(fromSource && w->source.kind == WSRC_VARIABLE) &&
             !(fromSource && w->source.kind == WSRC_FIELD);
  int type = WigetType(w);
  if (type == W_MESSAGE || type == W_STATIC) {
    *length = w->value.text ? static_cast<int>(std::strlen(w->value.text)) : 0;
    return w->value.text ? w->value.text : "";
  }
  *length = WigetLength(w);
  if (own) return w->value.text ? w->value.text : "";
  if (type == W_FIELD) {
    DbField* field = WigetField(w);
    return field ? f4ptr(field) : "";
  }
  return static_cast<const char*>(w->source.variable);
}

namespace {

bool CodeInList(const Wiget* w, int32_t code) { return ListCodeIndex(w->list, code) >= 0; }

int32_t FirstCode(const Wiget* w) { return SelectionCount(w->list) > 0 ? w->list[0].code : CODE_BLANK; }

void MarkMembers(Wiget* head) {
  for (Wiget* m = head;; m++) {
    m->state |= WS_REDRAW;
    if (m->state & WS_LAST) break;
    Wiget* after = m + 1;
    if (!IsRadio(WigetType(after)) || after->source.kind != WSRC_DISTANCE) break;
  }
}

// Values handed to Store.
enum SetKind { SET_LONG, SET_DOUBLE, SET_DATE, SET_TEXT };
struct NewValue {
  SetKind kind;
  int32_t n;
  double x;
  char date[8];
  std::string text;
};

void FillOld(Wiget* w, SetKind kind, WigetEvent* e) {
  uint16_t saved = w->state;
  w->state &= static_cast<uint16_t>(~(WS_TYPING | WS_TESTING));
  switch (kind) {
    case SET_LONG:
      e->oldLong = WigetRawLong(w, false);
      break;
    case SET_DOUBLE:
      e->oldValue.number = WigetRawDouble(w, false);
      e->oldLong = RoundLong(e->oldValue.number);
      break;
    case SET_DATE:
      WigetRawDate(w, false, e->oldValue.date);
      e->oldLong = date4long(std::string(e->oldValue.date, 8).c_str());
      break;
    case SET_TEXT: {
      int length = 0;
      const char* text = WigetRawText(w, false, &length);
      e->oldValue.text.text = QuickStr(text, length, 0);
      e->oldValue.text.width = length;
      break;
    }
  }
  w->state = saved;
}

// Writes the new value; 0 when the element refuses it (error shown).
int WriteValue(Wiget* w, const NewValue& v) {
  int type = WigetType(w);
  bool own = WigetUsesOwn(w);
  DbField* field = WigetField(w);
  switch (type) {
    case W_TEXT: {
      int length = WigetLength(w);
      char* to = own ? w->value.text : static_cast<char*>(w->source.variable);
      int n = std::min<int>(length, static_cast<int>(v.text.size()));
      std::memcpy(to, v.text.data(), static_cast<size_t>(n));
      std::memset(to + n, ' ', static_cast<size_t>(length - n));
      return 1;
    }
    case W_MESSAGE:
      delete[] w->value.text;
      w->value.text = NewCopy(v.text.c_str());
      w->extra = static_cast<int32_t>(v.text.size());
      return 1;
    case W_FIELD:
      if (!field) return 0;
      if (field->type == 'N' || field->type == 'F') {
        double x = v.kind == SET_LONG ? v.n : v.x;
        if (own) w->value.number = x;
        else f4assign_double(field, x);
      } else if (field->type == 'D') {
        if (own) std::memcpy(w->value.date, v.date, 8);
        else f4assign_n(field, v.date, 8);
      } else if (own) {
        int length = WigetLength(w);
        int n = std::min<int>(length, static_cast<int>(v.text.size()));
        std::memcpy(w->value.text, v.text.data(), static_cast<size_t>(n));
        std::memset(w->value.text + n, ' ', static_cast<size_t>(length - n));
      } else {
        FldCopyString(field, v.text.c_str());
      }
      return 1;
    case W_SHORT:
    case W_INT:
      if (own) w->value.integer = v.n;
      else *static_cast<int32_t*>(w->source.variable) = v.n;
      return 1;
    case W_DOUBLE:
      if (own) w->value.number = v.x;
      else *static_cast<double*>(w->source.variable) = v.x;
      return 1;
    case W_DATE:
      std::memcpy(own ? w->value.date : static_cast<char*>(w->source.variable), v.date, 8);
      return 1;
    case W_CODE:
    case W_FIELD_CODE:
      if (!CodeInList(w, v.n) && !(w->state & WS_NO_CHECKS)) {
        WigetError(WERR_CODE, w, PrintfQStr("%i", v.n));
        return 0;
      }
      if (own) w->value.integer = v.n;
      else if (type == W_CODE) *static_cast<int32_t*>(w->source.variable) = v.n;
      else if (field) WigetStoreCodeInField(field, v.n);
      return 1;
    case W_YESNO:
    case W_FIELD_YESNO: {
      int c = v.n;
      if (c == ' ' || c == 'n') c = 'N';
      if (c == 't') c = 'T';
      if (c != 'T' && c != 'N' && !(w->state & WS_NO_CHECKS)) {
        WigetError(WERR_YESNO, w, PrintfQStr("'%c' (0x%X)", c, c));
        return 0;
      }
      if (own) {
        w->value.ch[0] = static_cast<char>(c);
      } else if (type == W_YESNO) {
        *static_cast<char*>(w->source.variable) = static_cast<char>(c);
      } else {
        int pos = static_cast<unsigned char>(w->value.ch[1]);
        if (!field || pos >= static_cast<int>(f4len(field))) {
          WigetError(WERR_POSITION, w, nullptr);
          return 0;
        }
        f4assign_ptr(field)[pos] = static_cast<char>(c);
      }
      return 1;
    }
    case W_RADIO:
    case W_FIELD_RADIO: {
      Wiget* head = WigetRadioHead(w);
      if (WigetUsesOwn(head)) head->value.integer = v.n;
      else if (type == W_RADIO) *static_cast<int32_t*>(head->source.variable) = v.n;
      else if (DbField* f = WigetField(head)) WigetStoreCodeInField(f, v.n);
      MarkMembers(head);
      return 1;
    }
  }
  return 0;
}

// The shared path of the setters: old value, checks, event 3, store, events 4 and 5.
int Store(Wiget* w, NewValue v, int failEvent, TextRef failMessage) {
  WigetEvent event{};
  FillOld(w, v.kind, &event);
  event.newLong = v.n;
  if (v.kind == SET_DOUBLE) {
    event.newValue.number = v.x;
    event.newLong = RoundLong(v.x);
  } else if (v.kind == SET_DATE) {
    std::memcpy(event.newValue.date, v.date, 8);
    event.newLong = date4long(std::string(v.date, 8).c_str());
  } else if (v.kind == SET_TEXT) {
    event.newValue.text.text = v.text.c_str();
    event.newValue.text.width = static_cast<int32_t>(v.text.size());
  }
  bool checks = !(w->state & WS_NO_CHECKS);
  int failure = checks ? failEvent : 0;
  TextRef message = failMessage;
  if (checks && !failure) {
    event.code = WE_TEST;
    w->state |= WS_TESTING;
    int refused = WigetSendEvent(w, &event);
    w->state &= static_cast<uint16_t>(~WS_TESTING);
    if (refused == 1) {
      failure = WE_TEST;
      message = event.message;
    }
  }
  if (failure) {
    if (!(w->state & WS_QUIET)) {
      if (failure != WE_TEST) {
        event.code = static_cast<uint16_t>(failure);
        event.message = message;
        WigetSendEvent(w, &event);
        message = event.message;
      }
      if (!message.IsEmpty()) {
        if (w->state & WS_NAME_ERRORS) WigetError(failure, w, EnvFindString(message));
        else Uwaga(message);
      }
    }
    FormState* form = FormOfWiget(w);
    if (form && Desktop.curWindow == form->window) FormRefused(form);
    return 0;
  }
  if (!WriteValue(w, v)) return 0;
  w->state &= static_cast<uint16_t>(~WS_TYPING);
  w->state |= WS_REDRAW;
  FormState* form = FormOfWiget(w);
  bool differs = false;
  if (form) {
    if (form->current == w) FormFillBuffer(form, w);
    else form->check_flags |= 1;
    if (w->snapshot_offset != NO_SNAPSHOT) {
      int size = WigetSnapshotSize(w);
      std::vector<unsigned char> bytes(static_cast<size_t>(std::max(size, 1)));
      if (size > 0 && w->snapshot_offset + size <= static_cast<int>(form->snapshot.size())) {
        WigetValueBytes(w, bytes.data());
        unsigned char* place = form->snapshot.data() + w->snapshot_offset;
        differs = std::memcmp(place, bytes.data(), static_cast<size_t>(size)) != 0;
        std::memcpy(place, bytes.data(), static_cast<size_t>(size));
      }
    }
  }
  if (checks) {
    w->state |= WS_STORED;
    if (!(w->state & WS_NO_EVENTS)) {
      event.code = WE_STORED;
      WigetSendEvent(w, &event);
      if (differs) {
        event.code = WE_CHANGED;
        WigetSendEvent(w, &event);
      }
    }
  }
  return 1;
}

// The kinds of source each type takes; anything else is refused at definition.
bool SourceFits(int type, uint8_t kind) {
  switch (type) {
    case W_TEXT:
      return kind == WSRC_NONE || kind == WSRC_VARIABLE || kind == WSRC_LENGTH;
    case W_FIELD:
    case W_FIELD_CODE:
    case W_FIELD_YESNO:
      return kind == WSRC_FIELD;
    case W_FIELD_RADIO:
      return kind == WSRC_FIELD || kind == WSRC_DISTANCE;
    case W_RADIO:
      return kind == WSRC_NONE || kind == WSRC_VARIABLE || kind == WSRC_DISTANCE;
    case W_SHORT:
    case W_INT:
    case W_DOUBLE:
    case W_DATE:
    case W_CODE:
    case W_YESNO:
      return kind == WSRC_NONE || kind == WSRC_VARIABLE;
    case W_STATIC:
      return kind == WSRC_NONE || kind == WSRC_MESSAGE || kind == WSRC_TEXT || kind == WSRC_RESOURCE;
    case W_MESSAGE:
      return kind == WSRC_NONE || kind == WSRC_MESSAGE || kind == WSRC_TEXT;
    case W_GROUP:
      return kind == WSRC_MEMBERS;
    case W_DIRLIST:
      return kind == WSRC_DIRLIST;
  }
  return true;   // page breaks and blank areas ignore their source
}

bool AllBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

// Sources.
bool WigetSource::operator==(const WigetSource& other) const {
  if (kind != other.kind) return false;
  switch (kind) {
    case WSRC_NONE:
      return true;
    case WSRC_LENGTH:
    case WSRC_MESSAGE:
    case WSRC_DISTANCE:
      return number == other.number;
    case WSRC_RESOURCE:
      return resource == other.resource;
    default:
      return variable == other.variable;
  }
}

WigetSource WigetVar(void* variable) {
  WigetSource s;
  s.kind = variable ? WSRC_VARIABLE : WSRC_NONE;
  s.variable = variable;
  return s;
}
WigetSource WigetFld(DbField** fieldVariable) {
  WigetSource s;
  s.kind = fieldVariable ? WSRC_FIELD : WSRC_NONE;
  s.field = fieldVariable;
  return s;
}
WigetSource WigetLen(int length) {
  WigetSource s;
  s.kind = WSRC_LENGTH;
  s.number = length;
  return s;
}
WigetSource WigetMsg(TextRef text) {
  WigetSource s;
  if (text.IsNumber()) {
    s.kind = WSRC_MESSAGE;
    s.number = text.number;
  } else if (text.text) {
    s.kind = WSRC_TEXT;
    s.text = text.text;
  }
  return s;
}
WigetSource WigetRes(ResIdRoutine resource) {
  WigetSource s;
  s.kind = resource ? WSRC_RESOURCE : WSRC_NONE;
  s.resource = resource;
  return s;
}
WigetSource WigetMember(int distance) {
  WigetSource s;
  s.kind = WSRC_DISTANCE;
  s.number = distance;
  return s;
}
WigetSource WigetGroup(Wiget* members) {
  WigetSource s;
  s.kind = members ? WSRC_MEMBERS : WSRC_NONE;
  s.members = members;
  return s;
}
WigetSource WigetDir(DirList* list) {
  WigetSource s;
  s.kind = list ? WSRC_DIRLIST : WSRC_NONE;
  s.dirList = list;
  return s;
}

// Definition.
void ResetWigetsDefinition(Wiget* array, int bytes, int origin) {
  target.array = array;
  target.capacity = array && bytes > 0 ? bytes / WIGET_BYTES : 0;
  target.count = 0;
  target.origin = origin;
}

Wiget* DefineWigetEx(int row, int col, WigetSource source, WigetExtra extra, uint32_t flags) {
  int type = static_cast<int>(flags & WF_TYPE_MASK);
  if (type == 17 || type == 18 || type > W_DIRLIST || !SourceFits(type, source.kind)) {
    Wiget probe{};
    probe.flags = flags;
    probe.row = static_cast<int16_t>(row - target.origin);
    probe.col = static_cast<int16_t>(col - target.origin);
    WigetError(WERR_BAD_TYPE, &probe, nullptr);
    return nullptr;
  }
  if (!target.array || target.count >= target.capacity) {
    ErrLogMessage(EL_ERROR | EL_FORMAT, LOG_WIGETS_FULL, "DefineWigetEx(%i,%i): %i", row, col, target.capacity);
    return nullptr;
  }
  if (target.count > 0) target.array[target.count - 1].state &= static_cast<uint16_t>(~WS_LAST);
  Wiget* w = &target.array[target.count++];
  *w = Wiget{};
  w->flags = flags;
  w->row = static_cast<int16_t>(row - target.origin);
  w->col = static_cast<int16_t>(col - target.origin);
  w->state = WS_LAST;
  w->snapshot_offset = NO_SNAPSHOT;
  w->source = source;
  switch (type) {
    case W_TEXT: {
      int length;
      if (source.kind == WSRC_LENGTH) length = source.number;
      else if (extra.number > 0) length = extra.number;
      else length = source.kind == WSRC_VARIABLE ? static_cast<int>(std::strlen(static_cast<char*>(source.variable))) : 0;
      if (length < 0) length = 0;
      w->extra = length & 0xFFFF;
      if (source.kind != WSRC_VARIABLE || (flags & WF_OWN_BUFFER)) w->value.text = NewBlanks(length);
      if (length == 0 && !(flags & WF_DISPLAY_ONLY)) WigetError(WERR_EMPTY_TEXT, w, nullptr);
      break;
    }
    case W_FIELD: {
      DbField* field = WigetField(w);
      if ((flags & WF_OWN_BUFFER) && field) {
        if (field->type == 'C') w->value.text = NewBlanks(static_cast<int>(f4len(field)));
        else if (field->type == 'D') std::memset(w->value.date, ' ', 8);
      }
      break;
    }
    case W_DATE:
      if (source.kind == WSRC_NONE || (flags & WF_OWN_BUFFER)) std::memset(w->value.date, ' ', 8);
      break;
    case W_CODE:
    case W_FIELD_CODE:
      w->list = extra.list;
      w->value.integer = FirstCode(w);
      break;
    case W_FIELD_YESNO:
      w->value.ch[0] = 'N';
      w->value.ch[1] = static_cast<char>(extra.number);
      break;
    case W_YESNO:
      w->value.ch[0] = 'N';
      break;
    case W_RADIO:
    case W_FIELD_RADIO:
      w->extra = extra.number;
      break;
    case W_BLANK:
      w->source = WigetSource{};
      break;
    case W_MESSAGE: {
      w->flags &= ~WF_OWN_BUFFER;
      const char* text = "";
      if (source.kind == WSRC_MESSAGE) text = EnvFindString(TextRef(source.number));
      else if (source.kind == WSRC_TEXT) text = source.text;
      w->value.text = NewCopy(text);
      w->extra = static_cast<int32_t>(std::strlen(text));
      break;
    }
    case W_DIRLIST:
      if (source.kind == WSRC_DIRLIST) DirListInit(source.dirList);
      break;
    case W_STATIC: {
      std::string text;
      if (source.kind == WSRC_MESSAGE) {
        text = EnvFindString(TextRef(source.number));
      } else if (source.kind == WSRC_RESOURCE) {
        uint16_t size = 0;
        const unsigned char* data = EnvFindRcData(RC_ACTIVE_INSTANCE, source.resource, &size);
        if (data) text.assign(reinterpret_cast<const char*>(data), size);
        text = text.c_str();   // up to an embedded NUL
      } else if (source.kind == WSRC_TEXT) {
        text = source.text;
      }
      w->value.text = NewCopy(text.c_str());
      break;
    }
  }
  return w;
}

void FreeWigets(Wiget* list) {
  if (!list) return;
  for (Wiget* w = list;; w++) {
    switch (WigetType(w)) {
      case W_TEXT:
      case W_MESSAGE:
      case W_STATIC:
        delete[] w->value.text;
        w->value.text = nullptr;
        break;
      case W_FIELD: {
        // Only an own copy of a C field has a buffer.
        DbField* field = WigetField(w);
        if ((w->flags & WF_OWN_BUFFER) && field && field->type == 'C') {
          delete[] w->value.text;
          w->value.text = nullptr;
        }
        break;
      }
      case W_DIRLIST:
        if (w->source.kind == WSRC_DIRLIST) DirListFree(w->source.dirList);
        break;
      case W_GROUP:
        FreeWigets(w->source.members);
        break;
    }
    if (w->state & WS_LAST) break;
  }
}

// Small shared pieces.
DbField* WigetField(const Wiget* w) {
  if (w->source.kind != WSRC_FIELD || !w->source.field) return nullptr;
  return *w->source.field;
}

int WigetLength(const Wiget* w) {
  int type = WigetType(w);
  if (type == W_TEXT || type == W_MESSAGE) return w->extra & 0xFFFF;
  if (type == W_FIELD) {
    DbField* field = WigetField(w);
    return field ? static_cast<int>(f4len(field)) : 0;
  }
  return 0;
}

Wiget* WigetRadioHead(Wiget* w) {
  if (w->source.kind == WSRC_DISTANCE) return w - w->source.number;
  return w;
}

int WigetSnapshotSize(const Wiget* w) {
  switch (WigetType(w)) {
    case W_TEXT:
      return WigetLength(w);
    case W_FIELD: {
      DbField* field = WigetField(w);
      if (!field) return 0;
      if (field->type == 'N' || field->type == 'F' || field->type == 'D') return 8;
      return static_cast<int>(f4len(field));
    }
    case W_SHORT:
    case W_INT:
    case W_CODE:
    case W_FIELD_CODE:
      return 4;
    case W_DOUBLE:
    case W_DATE:
      return 8;
    case W_YESNO:
    case W_FIELD_YESNO:
      return 1;
    case W_RADIO:
    case W_FIELD_RADIO:
      return w->source.kind == WSRC_DISTANCE ? 0 : 4;
  }
  return 0;
}

void WigetValueBytes(Wiget* w, unsigned char* out) {
  int size = WigetSnapshotSize(w);
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type == W_TEXT || (type == W_FIELD && field && field->type == 'C')) {
    int length = 0;
    const char* text = WigetRawText(w, false, &length);
    std::memcpy(out, text, static_cast<size_t>(std::min(size, length)));
  } else if (type == W_DOUBLE || (type == W_FIELD && field && field->type != 'D')) {
    double x = WigetRawDouble(w, false);
    std::memcpy(out, &x, 8);
  } else if (type == W_DATE || type == W_FIELD) {
    WigetRawDate(w, false, reinterpret_cast<char*>(out));
  } else if (size == 4) {
    int32_t n = WigetRawLong(w, false);
    std::memcpy(out, &n, 4);
  } else if (size == 1) {
    out[0] = static_cast<unsigned char>(WigetRawLong(w, false));
  }
}

int WigetCanEnter(const Wiget* w) {
  int type = WigetType(w);
  if (type == W_PAGE || type == W_BLANK || type == W_STATIC || type == W_MESSAGE || type == W_GROUP) return 0;
  if (w->state & (WS_HIDDEN | WS_DISABLED)) return 0;
  if (w->flags & WF_DISPLAY_ONLY) return 0;
  return 1;
}

void WigetError(int code, const Wiget* w, const char* extra) {
  DbField* field = w ? WigetField(w) : nullptr;
  std::string title = PrintfQStr("ERRCODE(%i)", code);
  std::string where = PrintfQStr("WIGET(%i,%i), POLE(%s)", w ? w->row + 1 : 0, w ? w->col + 1 : 0,
                                 field ? f4name(field) : "?");
  if (extra && *extra) MessageWindow(MB_ERROR | MB_OWN_TITLE, title.c_str(), where.c_str(), extra);
  else MessageWindow(MB_ERROR | MB_OWN_TITLE, title.c_str(), where.c_str());
}

int FldListCode(DbField* field) {
  const char* p = f4ptr(field);
  unsigned n = f4len(field);
  bool blank = true;
  for (unsigned i = 0; i < n; i++)
    if (p[i] != ' ') blank = false;
  if (blank) return CODE_BLANK;
  if (f4type(field) == 'N') return static_cast<int>(f4long(field));
  return static_cast<unsigned char>(p[0]);
}

void WigetStoreCodeInField(DbField* field, int32_t code) {
  if (code == CODE_BLANK) f4blank(field);
  else if (f4type(field) == 'N') f4assign_long(field, code);
  else f4assign_char(field, code);
}

// Reading values.
int WigetAsLong(Wiget* w) {
  if (w->state & WS_TESTING) {
    WigetError(WERR_TESTING_LONG, w, nullptr);
    return 0;
  }
  int type = WigetType(w);
  DbField* field = WigetField(w);
  bool numeric = type == W_SHORT || type == W_INT || IsCodeList(type) || IsYesNo(type) || IsRadio(type) ||
                 (type == W_FIELD && field && (field->type == 'N' || field->type == 'F'));
  if (!numeric) {
    WigetError(WERR_AS_LONG, w, nullptr);
    return 0;
  }
  FormState* form = FormOfWiget(w);
  if ((w->state & WS_TYPING) && form && form->current == w) {
    if (IsYesNo(type)) return static_cast<unsigned char>(form->buffer[0]);
    return RoundLong(FormBufferNumber(form));
  }
  int32_t n = WigetRawLong(w, false);
  if (IsCodeList(type) && !(w->state & WS_NO_CHECKS) && !CodeInList(w, n)) {
    WigetError(WERR_STORED_CODE, w, PrintfQStr("= '%c' (0x%X)", n & 0xFF, n));
    return FirstCode(w);
  }
  return n;
}

double WigetAsDouble(Wiget* w) {
  if (w->state & WS_TESTING) {
    WigetError(WERR_TESTING_DOUBLE, w, nullptr);
    return 0;
  }
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type != W_DOUBLE && !(type == W_FIELD && field && (field->type == 'N' || field->type == 'F'))) {
    WigetError(WERR_AS_DOUBLE, w, nullptr);
    return 0;
  }
  FormState* form = FormOfWiget(w);
  if ((w->state & WS_TYPING) && form && form->current == w) return FormBufferNumber(form);
  return WigetRawDouble(w, false);
}

void WigetAsDate(Wiget* w, char* date8) {
  std::memset(date8, ' ', 8);
  if (w->state & WS_TESTING) {
    WigetError(WERR_TESTING_DATE, w, nullptr);
    return;
  }
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type != W_DATE && !(type == W_FIELD && field && field->type == 'D')) {
    WigetError(WERR_AS_DATE, w, nullptr);
    return;
  }
  FormState* form = FormOfWiget(w);
  if ((w->state & WS_TYPING) && form && form->current == w) {
    FormBufferDate(form, w, date8);
    return;
  }
  WigetRawDate(w, false, date8);
}

char* WigetAsQStr(Wiget* w, int flags) {
  if (w->state & WS_TESTING) {
    WigetError(WERR_TESTING_TEXT, w, nullptr);
    return QuickStr("", 0, 0);
  }
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type != W_TEXT && type != W_MESSAGE && !(type == W_FIELD && field && field->type == 'C')) {
    WigetError(WERR_AS_TEXT, w, nullptr);
    return QuickStr("", 0, 0);
  }
  FormState* form = FormOfWiget(w);
  if ((w->state & WS_TYPING) && form && form->current == w) {
    std::vector<char> text(static_cast<size_t>(WigetLength(w) + FORM_BUFFER + 1));
    FormBufferText(form, w, text.data(), static_cast<int>(text.size()));
    return QuickStr(text.data(), -1, flags);
  }
  int length = 0;
  const char* text = WigetRawText(w, false, &length);
  return QuickStr(text, length, flags);
}

// Setters.
int WigetSetLong(Wiget* w, int32_t n) {
  int type = WigetType(w);
  DbField* field = WigetField(w);
  bool ok = type == W_SHORT || type == W_INT || IsCodeList(type) || IsYesNo(type) || IsRadio(type) ||
            (type == W_FIELD && field && (field->type == 'N' || field->type == 'F'));
  if (!ok) {
    WigetError(WERR_SET_LONG, w, nullptr);
    return 0;
  }
  NewValue v{SET_LONG, n, static_cast<double>(n), {}, {}};
  if (IsYesNo(type) || IsRadio(type) || IsCodeList(type)) return Store(w, v, 0, TextRef());
  if ((w->flags & WF_NONZERO) && n == 0) return Store(w, v, WE_ZERO, TextRef(50135));
  if ((w->flags & WF_NONNEGATIVE) && n < 0) return Store(w, v, WE_NEGATIVE, TextRef(50133));
  if ((w->flags & WF_MONTH) && (n < 1 || n > 12)) return Store(w, v, WE_MONTH, TextRef(50137));
  return Store(w, v, 0, TextRef());
}

int WigetSetDouble(Wiget* w, double x) {
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type != W_DOUBLE && !(type == W_FIELD && field && (field->type == 'N' || field->type == 'F'))) {
    WigetError(WERR_SET_DOUBLE, w, nullptr);
    return 0;
  }
  NewValue v{SET_DOUBLE, RoundLong(x), x, {}, {}};
  if ((w->flags & WF_NONZERO) && x == 0.0) return Store(w, v, WE_ZERO, TextRef(50135));
  if ((w->flags & WF_NONNEGATIVE) && x < 0.0) return Store(w, v, WE_NEGATIVE, TextRef(50133));
  return Store(w, v, 0, TextRef());
}

int WigetSetDate(Wiget* w, const char* date8) {
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type != W_DATE && !(type == W_FIELD && field && field->type == 'D')) {
    WigetError(WERR_SET_DATE, w, nullptr);
    return 0;
  }
  NewValue v{SET_DATE, 0, 0.0, {}, {}};
  std::memcpy(v.date, date8, 8);
  std::string date(date8, 8);
  bool blank = AllBlank(date);
  if (!(w->state & WS_NO_CHECKS)) {
    if (date4long(date.c_str()) < 0) {
      MessageWindow(MB_ERROR | MB_OWN_TITLE, kBadDateTitle, FullDateQStr(date.c_str()));
      FormState* form = FormOfWiget(w);
      if (form && Desktop.curWindow == form->window) FormRefused(form);
      return 0;
    }
    if ((w->flags & WF_REQUIRED) && blank) return Store(w, v, WE_REQUIRED, TextRef(50140));
    Environment* env = EnvCurrent();
    if ((w->flags & WF_WORKING_YEAR) && !blank && env && date4year(date.c_str()) != env->settlementYear)
      return Store(w, v, WE_YEAR, TextRef(50132));
  }
  return Store(w, v, 0, TextRef());
}

int WigetSetString(Wiget* w, const char* text) {
  int type = WigetType(w);
  DbField* field = WigetField(w);
  if (type != W_TEXT && type != W_MESSAGE && !(type == W_FIELD && field && field->type == 'C')) {
    WigetError(WERR_SET_TEXT, w, nullptr);
    return 0;
  }
  NewValue v{SET_TEXT, 0, 0.0, {}, text ? text : ""};
  if (type == W_MESSAGE) {
    uint16_t saved = w->state;
    w->state |= WS_NO_CHECKS;
    int result = Store(w, v, 0, TextRef());
    w->state = static_cast<uint16_t>((saved & WS_NO_CHECKS) | (w->state & ~WS_NO_CHECKS));
    return result;
  }
  bool blank = AllBlank(v.text);
  uint32_t kind = w->flags & WF_KIND_MASK;
  if ((w->flags & WF_REQUIRED) && blank) return Store(w, v, WE_REQUIRED, TextRef(50140));
  if (kind == WF_IBAN && !blank && !CheckBankAccount(v.text.c_str(), 0)) return Store(w, v, WE_IBAN, TextRef(kBadIban));
  if (kind == WF_NRB && !blank && !CheckBankAccount(v.text.c_str(), 1)) return Store(w, v, WE_NRB, TextRef(kBadNrb));
  return Store(w, v, 0, TextRef());
}

// Finding elements and changing their state.
Wiget* WigetBySource(Wiget* list, WigetSource source) {
  if (!list) return nullptr;
  for (Wiget* w = list;; w++) {
    int type = WigetType(w);
    if (type == W_GROUP) {
      if (Wiget* found = WigetBySource(w->source.members, source)) return found;
    } else if (type != W_PAGE && w->source == source) {
      return w;
    }
    if (w->state & WS_LAST) return nullptr;
  }
}

namespace {
void ChangeState(uint16_t mask, int on, Wiget* w) {
  mask &= static_cast<uint16_t>(~(WS_LAST | WS_CURSOR | WS_TESTING));
  if (on) w->state |= mask;
  else w->state &= static_cast<uint16_t>(~mask);
  if (mask & (WS_HIDDEN | WS_DISABLED)) {
    w->state |= WS_REDRAW;
    if (IsRadio(WigetType(w)) && w->source.kind != WSRC_DISTANCE) {
      for (Wiget* m = w; !(m->state & WS_LAST);) {
        m++;
        if (!IsRadio(WigetType(m)) || m->source.kind != WSRC_DISTANCE) break;
        if (on) m->state |= mask;
        else m->state &= static_cast<uint16_t>(~mask);
        m->state |= WS_REDRAW;
      }
    }
  }
}
}  // namespace

void StateOfWigetsList(uint16_t mask, int on, Wiget* const* wigets) {
  for (; *wigets; wigets++) ChangeState(mask, on, *wigets);
}

void StateOfWigetsBySrcList(uint16_t mask, int on, Wiget* list, const WigetSource* sources, int count) {
  for (int i = 0; i < count; i++)
    if (Wiget* w = WigetBySource(list, sources[i])) ChangeState(mask, on, w);
}

int CaseValidateWiget(Wiget* w, Window4* window) {
  if (w->state & WS_HIDDEN) return 0;
  uint16_t saved = w->state & WS_NO_EVENTS;
  if (window) w->state |= WS_NO_EVENTS;
  int valid = 1;
  if ((w->state & WS_TYPING) || !(w->state & WS_STORED)) {
    int type = WigetType(w);
    DbField* field = WigetField(w);
    switch (type) {
      case W_TEXT:
        valid = WigetSetString(w, WigetAsQStr(w, 0));
        break;
      case W_FIELD:
        if (!field) break;
        if (field->type == 'C') {
          valid = WigetSetString(w, WigetAsQStr(w, 0));
        } else if (field->type == 'N' || field->type == 'F') {
          valid = WigetSetDouble(w, WigetAsDouble(w));
        } else if (field->type == 'D') {
          char date[8];
          WigetAsDate(w, date);
          valid = WigetSetDate(w, date);
        }
        break;
      case W_DOUBLE:
        valid = WigetSetDouble(w, WigetAsDouble(w));
        break;
      case W_DATE: {
        char date[8];
        WigetAsDate(w, date);
        valid = WigetSetDate(w, date);
        break;
      }
      case W_SHORT:
      case W_INT:
      case W_CODE:
      case W_FIELD_CODE:
      case W_YESNO:
      case W_FIELD_YESNO:
        valid = WigetSetLong(w, WigetAsLong(w));
        break;
      case W_RADIO:
      case W_FIELD_RADIO:
        if (w->source.kind != WSRC_DISTANCE) valid = WigetSetLong(w, WigetAsLong(w));
        break;
    }
  }
  w->state = static_cast<uint16_t>((w->state & ~WS_NO_EVENTS) | saved);
  if (!window) return valid;
  if (!valid) {
    WigetToEnter(w);
    return 1;
  }
  return 0;
}
