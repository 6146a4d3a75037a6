// Form elements (wigets): labels, values bound to variables or to table
// fields, code lists, yes/no marks, radio groups, page breaks, groups and
// directory lists, with their checks, events, setters and drawing. The form
// loop that edits them is in ui/wiget_edit.h.
#pragma once
#include <cstdint>
#include "env/session/environment.h"
#include "env/text_ref.h"

struct DbField;
struct Selection;
struct Wiget;
struct Window4;
struct DirList;

// Element types (low byte of flags).
enum : int {
  W_TEXT = 0, W_FIELD = 1, W_SHORT = 2, W_PAGE = 3, W_INT = 4, W_BLANK = 5, W_DOUBLE = 6, W_STATIC = 7,
  W_DATE = 8, W_GROUP = 9, W_CODE = 10, W_FIELD_CODE = 11, W_YESNO = 12, W_FIELD_YESNO = 13, W_RADIO = 14,
  W_FIELD_RADIO = 15, W_MESSAGE = 16, W_DIRLIST = 19,
};

// Option bits of flags.
constexpr uint32_t WF_TYPE_MASK = 0xFF;
constexpr uint32_t WidthFlag(int width) { return static_cast<uint32_t>(width & 0x1F) << 8; }
constexpr uint32_t DecimalsFlag(int decimals) { return static_cast<uint32_t>(decimals & 7) << 13; }
constexpr uint32_t BlankWidthFlag(int width) { return static_cast<uint32_t>(width & 0xFF) << 8; }
constexpr uint32_t WF_KIND_MASK = 0x70000;
constexpr uint32_t WF_LONG = 0x10000;       // long date, thousands, 'X' yes/no, upper case, typed code, clearable radio
constexpr uint32_t WF_POSTAL = 0x20000;
constexpr uint32_t WF_PASSWORD = 0x30000;
constexpr uint32_t WF_NRB = 0x40000;
constexpr uint32_t WF_IBAN = 0x50000;
constexpr uint32_t WF_REQUIRED = 1u << 20;
constexpr uint32_t WF_NONZERO = 1u << 21;
constexpr uint32_t WF_NONNEGATIVE = 1u << 22;
constexpr uint32_t WF_WORKING_YEAR = 1u << 23;   // also: a code list leaves a blank or 0 code unmarked
constexpr uint32_t WF_MONTH = 1u << 24;
constexpr uint32_t WF_OWN_BUFFER = 1u << 28;
constexpr uint32_t WF_DISPLAY_ONLY = 1u << 29;
constexpr uint32_t WF_LABEL_COLOUR = 1u << 30;
constexpr uint32_t WF_SECTION = 1u << 31;

// State bits.
constexpr uint16_t WS_LAST = 0x0001;
constexpr uint16_t WS_TYPING = 0x0002;
constexpr uint16_t WS_HIDDEN = 0x0004;
constexpr uint16_t WS_DISABLED = 0x0008;
constexpr uint16_t WS_CURSOR = 0x0010;
constexpr uint16_t WS_REDRAW = 0x0020;
constexpr uint16_t WS_TESTING = 0x0040;
constexpr uint16_t WS_STORED = 0x0080;
constexpr uint16_t WS_NO_CHECKS = 0x0100;
constexpr uint16_t WS_NO_EVENTS = 0x0200;
constexpr uint16_t WS_NAME_ERRORS = 0x0400;
constexpr uint16_t WS_QUIET = 0x0800;

constexpr int32_t CODE_BLANK = 0x7FFF;
constexpr uint16_t NO_SNAPSHOT = 0xFFFF;
// Definition capacities count 48 bytes per element, whatever the record's
// size in memory: the array handed over must hold bytes / WIGET_BYTES records.
constexpr int WIGET_BYTES = 48;

// What an element is bound to. Numbers never travel in pointers: the kind
// says which member holds the value.
enum WigetSourceKind : uint8_t {
  WSRC_NONE = 0,
  WSRC_VARIABLE,   // int, double, char or text variable (text: length in extra or its own length)
  WSRC_FIELD,      // variable holding the DbField handle
  WSRC_LENGTH,     // a text kept only in the own buffer, of this length
  WSRC_TEXT,       // a text (message text)
  WSRC_MESSAGE,    // a message number (static and message texts)
  WSRC_RESOURCE,   // a resource-id routine (static text)
  WSRC_DISTANCE,   // radio member: elements back to its head
  WSRC_MEMBERS,    // group: its member list
  WSRC_DIRLIST,    // directory-list record
};

struct WigetSource {
  uint8_t kind = WSRC_NONE;
  union {
    void* variable;
    DbField** field;
    const char* text;
    ResIdRoutine resource;
    int32_t number;
    Wiget* members;
    DirList* dirList;
  };
  WigetSource() : variable(nullptr) {}
  bool operator==(const WigetSource& other) const;
};

WigetSource WigetVar(void* variable);
WigetSource WigetFld(DbField** fieldVariable);
WigetSource WigetLen(int length);
WigetSource WigetMsg(TextRef text);   // a message number or a text
WigetSource WigetRes(ResIdRoutine resource);
WigetSource WigetMember(int distance);
WigetSource WigetGroup(Wiget* members);
WigetSource WigetDir(DirList* list);

// The second argument of DefineWigetEx: a number (text length, radio
// member's code, yes/no position) or a Selection list.
struct WigetExtra {
  int32_t number = 0;
  const Selection* list = nullptr;
  WigetExtra(int n) : number(n) {}   // NOLINT: numbers pass as they are
  WigetExtra(const Selection* l) : list(l) {}   // NOLINT
};

struct WigetEvent {
  uint16_t code;
  int32_t key;              // event 8
  TextRef message;          // events 3 and 11 to 17; empty = no message
  int32_t newLong, oldLong; // dates as day numbers
  int32_t reserved;
  union Value {
    double number;
    char date[8];
    struct {
      const char* text;
      int32_t width;
    } text;
  } newValue, oldValue;
};

enum : int {
  WE_ENTER = 1, WE_LEAVE = 2, WE_TEST = 3, WE_STORED = 4, WE_CHANGED = 5, WE_RELOAD = 6, WE_SAVE = 7,
  WE_KEY = 8, WE_DRAW = 9, WE_REQUIRED = 11, WE_ZERO = 12, WE_NEGATIVE = 13, WE_MONTH = 14, WE_YEAR = 15,
  WE_IBAN = 16, WE_NRB = 17,
};

typedef int (*WigetHook)(WigetEvent* event, Wiget* w, void* formData);

struct Wiget {
  uint32_t flags;
  uint16_t state;
  int16_t row, col;
  int16_t shown_width;
  WigetSource source;
  union {
    char* text;         // own buffer, loaded static text, message text copy
    int32_t integer;    // integers and codes
    double number;
    char date[8];
    char ch[2];         // yes/no; [1] is the character position of a field yes/no
  } value;
  int32_t extra;        // text length, radio member's code
  const Selection* list;
  WigetHook hook, hook2;
  uint8_t user_bytes[8];   // the low 4 bits of [4] choose a message text's colour
  uint16_t snapshot_offset;
};

inline int WigetType(const Wiget* w) { return static_cast<int>(w->flags & WF_TYPE_MASK); }

// Where a walk over a list stands: the page counted so far, whether an
// element was shown on it, whether it is hidden.
struct WigetPageWalk {
  int page = 0;
  bool seen = false;
  bool hidden = false;
};

// Walks a list in order, counting pages as the form shows them: a page break
// opens a new page only after a shown element. visit(w, row, col, walk) sees
// every element that is no page break; it returns true to walk a group's
// list as well, at the group's position added to row and col.
template <class Visit>
void WigetWalkPages(Wiget* list, int row, int col, WigetPageWalk& walk, const Visit& visit) {
  if (!list) return;
  for (Wiget* w = list;; w++) {
    if (WigetType(w) == W_PAGE) {
      if (walk.seen) walk.page++;
      walk.seen = false;
      walk.hidden = (w->state & WS_HIDDEN) != 0;
    } else {
      if (!walk.hidden) walk.seen = true;
      if (visit(w, row, col, walk) && WigetType(w) == W_GROUP)
        WigetWalkPages(w->source.members, row + w->row, col + w->col, walk, visit);
    }
    if (w->state & WS_LAST) break;
  }
}

// Definition target: capacity = bytes / WIGET_BYTES (the array must hold
// that many records), the origin is subtracted from rows and columns.
void ResetWigetsDefinition(Wiget* array, int bytes, int origin);
Wiget* DefineWigetEx(int row, int col, WigetSource source, WigetExtra extra, uint32_t flags);
void FreeWigets(Wiget* list);

// Display flags.
constexpr int WD_ALL = 0x01;
constexpr int WD_BLANK_FIRST = 0x02;
constexpr int WD_SOURCE_VALUE = 0x04;
constexpr int WD_EMPTY_RECORD = 0x08;
constexpr int WD_HIDDEN_ONLY = 0x10;
// Draws into the current window the elements of `window`'s current page
// (NULL: the current window's) and sets its page count.
void DisplayPageWigets(Window4* window, Wiget* list, int colOffset, int rowOffset, int displayFlags);

int WigetAsLong(Wiget* w);
double WigetAsDouble(Wiget* w);
void WigetAsDate(Wiget* w, char* date8);
char* WigetAsQStr(Wiget* w, int flags);
int WigetSetLong(Wiget* w, int32_t n);
int WigetSetDouble(Wiget* w, double x);
int WigetSetDate(Wiget* w, const char* date8);
int WigetSetString(Wiget* w, const char* text);   // NULL: empty

Wiget* WigetBySource(Wiget* list, WigetSource source);
// Sets (on non-zero) or clears state bits of the elements given, or found by their sources.
void StateOfWigetsList(uint16_t mask, int on, Wiget* const* wigets);
template <class... W>
void StateOfWigets_(uint16_t mask, int on, W... wigets) {
  Wiget* const list[] = {wigets..., nullptr};
  StateOfWigetsList(mask, on, list);
}
void StateOfWigetsBySrcList(uint16_t mask, int on, Wiget* list, const WigetSource* sources, int count);
template <class... S>
void StateOfWigetsBySrc_(uint16_t mask, int on, Wiget* list, S... sources) {
  const WigetSource all[] = {sources...};
  StateOfWigetsBySrcList(mask, on, list, all, static_cast<int>(sizeof...(S)));
}

void WigetToEnter(Wiget* w);
int CaseValidateWiget(Wiget* w, Window4* window);
int FldListCode(DbField* field);
// A code into a field: 0x7FFF blanks it, an N field takes the number, another its first character.
void WigetStoreCodeInField(DbField* field, int32_t code);

// Element errors (a "BŁĄD" box naming the element).
enum : int {
  WERR_EMPTY_TEXT = 50, WERR_BAD_TYPE = 51, WERR_AS_LONG = 53, WERR_AS_DOUBLE = 54, WERR_AS_DATE = 55,
  WERR_AS_TEXT = 56, WERR_SET_LONG = 57, WERR_SET_DOUBLE = 58, WERR_SET_DATE = 59, WERR_SET_TEXT = 60,
  WERR_NOT_EDITABLE = 61, WERR_CODE = 62, WERR_YESNO = 63, WERR_TESTING_LONG = 64, WERR_TESTING_DOUBLE = 65,
  WERR_TESTING_DATE = 66, WERR_TESTING_TEXT = 67, WERR_NO_TYPING = 69, WERR_NO_VALUE = 70,
  WERR_STORED_CODE = 71, WERR_POSITION = 76,
};
void WigetError(int code, const Wiget* w, const char* extra);

// Shared with the form loop.
// Values without state checks and without the edit buffer: the own value,
// or with fromSource the bound variable or field even for own-buffer elements.
int32_t WigetRawLong(Wiget* w, bool fromSource);
double WigetRawDouble(Wiget* w, bool fromSource);
void WigetRawDate(Wiget* w, bool fromSource, char* date8);
const char* WigetRawText(Wiget* w, bool fromSource, int* length);   // not terminated
int WigetOptionWidth(const Wiget* w);
int WigetOptionDecimals(const Wiget* w);
// The element's hook, then hook2 (the result that counts).
int WigetSendEvent(Wiget* w, WigetEvent* event);
// True when the element keeps its value in its own value (no source or the own-buffer flag).
bool WigetUsesOwn(const Wiget* w);
int WigetLength(const Wiget* w);                 // edit/snapshot length of texts and fields
DbField* WigetField(const Wiget* w);             // NULL for elements without a field
Wiget* WigetRadioHead(Wiget* w);
int WigetSnapshotSize(const Wiget* w);
// The element's current value in its snapshot layout (size WigetSnapshotSize).
void WigetValueBytes(Wiget* w, unsigned char* out);
// The value shown for an element (display flags WD_*) into out; returns its width.
int WigetFormat(Wiget* w, int displayFlags, char* out, int outSize, int* attrOverride);
void WigetDraw(Window4* window, Wiget* w, int rowOffset, int colOffset, int displayFlags);
int WigetCanEnter(const Wiget* w);
// Fills a raw masked value into its mask; returns the mask's length.
int MaskApply(const char* mask, const char* raw, char* out);
// The raw characters of a masked text (mask characters removed).
int MaskStrip(const char* mask, const char* masked, int length, char* out);
const char* WigetMask(const Wiget* w);           // NULL for unmasked elements
