#include "ui/get4.h"

#include <algorithm>
#include <cstring>

#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "env/error_log.h"
#include "env/numbers.h"
#include "env/text_buffers.h"
#include "ui/definition_lists.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/special_char.h"
#include "ui/window4.h"

namespace {

constexpr const char* kDefaultDatePicture = "MMM/DD/YY";
constexpr const char* kInputChars = "!9#ALNBYXCMD";
constexpr int KEY_ALT_P = 0x1900;
constexpr int KEY_CTRL_Q = 17;
constexpr int MSG_BAD_DATE = 50136;
constexpr int LOG_GET_POOL_MOVED = 49;
constexpr int LOG_BAD_EDIT_CTRL = 37;

// Set while build_get_struct runs the editor in its one-pass mode.
bool onePass = false;

Get4* GetRecord(int handle) { return static_cast<Get4*>(SlotPoolRecord(Desktop.getPool, handle)); }

void FreeGets(Window4* window) {
  if (window->firstGet >= 0 && Desktop.getPool) SlotPoolFreeChain(Desktop.getPool, window->firstGet);
  window->firstGet = window->lastGet = -1;
}

Get4* g4alloc(int row, int col, void* data, char type) {
  Window4* w = Desktop.curWindow;
  if (!w) return nullptr;
  if (!Desktop.getPool) {
    if (SlotPoolCreate(&Desktop.getPool, GET_POOL_FIRST, GET_POOL_GROWTH) < 0) return nullptr;
    w4free_gets = FreeGets;
  }
  Get4* before = Desktop.getPool;
  int handle = SlotPoolAlloc(&Desktop.getPool, w->lastGet);
  if (handle < 0) return nullptr;
  if (Desktop.getPool != before) ErrLogMessage(EL_ERROR | EL_FORMAT, LOG_GET_POOL_MOVED, " %i", handle);
  if (w->firstGet < 0) w->firstGet = handle;
  w->lastGet = handle;
  Get4* g = GetRecord(handle);
  g->row = row;
  g->col = col;
  g->data = data;
  g->type = type;
  g->dataDecimals = -1;
  g->decimals = -1;
  g->attr = w->getAttr;
  g->helpNumber = -1;
  Desktop.curGet = -1;
  return g;
}

Get4* LastGet() {
  Window4* w = Desktop.curWindow;
  return w && w->lastGet >= 0 ? GetRecord(w->lastGet) : nullptr;
}

int PictureLength(const Get4* g) { return g->picture ? static_cast<int>(std::strlen(g->picture)) : 0; }

// Characters after the picture's '.' (0 without one); `digitsOnly` counts only '9' and '#'.
int PictureDecimals(const char* picture, bool digitsOnly) {
  const char* point = std::strchr(picture, '.');
  if (!point) return 0;
  int n = 0;
  for (const char* p = point + 1; *p; p++)
    if (!digitsOnly || *p == '9' || *p == '#') n++;
  return n;
}

void SetWidths(Get4* g) {
  int pictureLength = PictureLength(g);
  switch (g->type) {
    case GET_DOUBLE:
      if (g->picture) {
        g->displayWidth = pictureLength;
        g->decimals = PictureDecimals(g->picture, false);
      } else {
        if (g->displayWidth <= 0) g->displayWidth = 8;
        if (g->decimals < 0) g->decimals = 2;
        if (g->decimals >= g->displayWidth) g->decimals = 0;
      }
      g->dataWidth = g->displayWidth;
      break;
    case GET_INT:
    case GET_LONG:
      if (g->displayWidth <= 0) g->displayWidth = pictureLength > 0 ? pictureLength : g->type == GET_INT ? 4 : 8;
      g->dataWidth = g->displayWidth;
      break;
    case GET_BIT:
    case GET_LOGICAL:
      g->displayWidth = g->dataWidth = 1;
      break;
    default:   // text, date and number kept as text
      if (g->displayWidth <= 0) {
        if (g->picture) {
          g->displayWidth = g->dataWidth > 0 ? std::min(pictureLength, static_cast<int>(g->dataWidth)) : pictureLength;
          if (g->dataWidth <= 0) g->dataWidth = g->displayWidth;
        } else if (g->type == GET_DATE) {
          g->displayWidth = static_cast<int>(std::strlen(kDefaultDatePicture));
        } else if (g->dataWidth > 0) {
          g->displayWidth = g->dataWidth;
        } else {
          int n = std::max(1, static_cast<int>(std::strlen(static_cast<const char*>(g->data))));
          g->displayWidth = g->dataWidth = n;
        }
      }
      if (g->dataWidth <= 0) g->dataWidth = g->type == GET_DATE ? 8 : g->displayWidth;
      g->dataWidth = std::min<int32_t>(g->dataWidth, GET_EDIT_MAX);
      g->displayWidth = std::min<int32_t>(g->displayWidth, GET_EDIT_MAX);
      if (g->type == GET_NUMBER) {
        if (g->picture) {
          g->decimals = PictureDecimals(g->picture, true);
          if (g->dataDecimals < 0) g->dataDecimals = g->decimals;
        } else {
          if (g->dataDecimals < 0) {
            const char* text = static_cast<const char*>(g->data);
            const char* point = static_cast<const char*>(std::memchr(text, '.', g->dataWidth));
            int n = 0;
            if (point)
              for (const char* p = point + 1; p < text + g->dataWidth && *p >= '0' && *p <= '9'; p++) n++;
            g->dataDecimals = n;
          }
          g->decimals = g->dataDecimals;
        }
        if (g->decimals >= g->displayWidth) g->decimals = 0;
      }
      break;
  }
  // c4dtoa and c4ltoa take at most 128 characters.
  if (g->type == GET_DOUBLE || g->type == GET_INT || g->type == GET_LONG || g->type == GET_NUMBER)
    g->displayWidth = std::clamp<int32_t>(g->displayWidth, 1, 128);
  if (g->type == GET_DOUBLE || g->type == GET_INT || g->type == GET_LONG) g->dataWidth = g->displayWidth;
}

bool IsInputChar(char c) { return c != '\0' && std::strchr(kInputChars, c) != nullptr; }

// The editing template: the picture, or the default of the type (empty: any character anywhere).
void BuildTemplate(const Get4* g, char* out) {
  out[0] = '\0';
  if (g->picture) {
    std::strncpy(out, g->picture, GET_EDIT_MAX);
    out[GET_EDIT_MAX] = '\0';
    return;
  }
  switch (g->type) {
    case GET_DATE:
      std::strcpy(out, kDefaultDatePicture);
      break;
    case GET_LOGICAL:
      std::strcpy(out, "L");
      break;
    case GET_NUMBER:
    case GET_DOUBLE:
    case GET_INT: {
      int n = g->displayWidth;
      std::memset(out, '#', n);
      out[n] = '\0';
      if (g->decimals > 0 && g->type != GET_INT) out[n - g->decimals - 1] = '.';
      break;
    }
    default:
      break;
  }
}

// The value formatted for display without thousands groups; returns the editing length.
int FormatValue(const Get4* g, char* out) {
  int n = g->displayWidth;
  switch (g->type) {
    case GET_TEXT: {
      n = g->dataWidth;
      std::memcpy(out, g->data, n);
      for (int i = 0; i < n && g->picture && g->picture[i]; i++)
        if (!IsInputChar(g->picture[i])) out[i] = g->picture[i];
      break;
    }
    case GET_DATE: {
      const char* text = DateFmtQStr(static_cast<const char*>(g->data), g->picture ? g->picture : kDefaultDatePicture);
      n = std::min(static_cast<int>(std::strlen(text)), GET_EDIT_MAX);
      std::memcpy(out, text, n);
      break;
    }
    case GET_DOUBLE:
      c4dtoa(*static_cast<const double*>(g->data), out, n, g->decimals, 0);
      break;
    case GET_INT:
    case GET_LONG:
      c4ltoa(*static_cast<const int32_t*>(g->data), out, n);
      break;
    case GET_LOGICAL:
      out[0] = *static_cast<const int32_t*>(g->data) ? 'T' : 'N';
      break;
    case GET_BIT: {
      const unsigned char* bytes = static_cast<const unsigned char*>(g->data);
      out[0] = bytes[g->helpNumber / 8] & (128 >> (g->helpNumber % 8)) ? 'T' : 'N';
      break;
    }
    case GET_NUMBER: {
      char stored[GET_EDIT_MAX + 1];
      std::memcpy(stored, g->data, g->dataWidth);
      if (g->dataDecimals > 0 && g->dataWidth - g->dataDecimals - 1 >= 0)
        stored[g->dataWidth - g->dataDecimals - 1] = '.';
      std::memset(out, ' ', n);
      if (g->decimals > 0) out[n - g->decimals - 1] = '.';
      bool digit = false, star = false;
      for (int i = 0; i < g->dataWidth && !digit; i++) {
        if (stored[i] >= '0' && stored[i] <= '9') digit = true;
        else if (stored[i] == '*') star = true;
      }
      if (star) std::memset(out, '*', n);
      else if (digit) c4dtoa(QuickDouble(stored, g->dataWidth), out, n, std::max(0, static_cast<int>(g->decimals)), 0);
      break;
    }
    default:
      n = 0;
      break;
  }
  out[n] = '\0';
  return n;
}

// Thousands groups over a number right-aligned in the get's display width;
// returns the new length and sets groupBlanks.
int GroupDisplay(Get4* g, char* text, int length) {
  g->groupBlanks = 0;
  if (!(g->flags & GET_THOUSANDS) || (g->type != GET_DOUBLE && g->type != GET_NUMBER)) return length;
  g->groupBlanks = GroupThousands(text, length, std::max(0, static_cast<int>(g->decimals)));
  return length + g->groupBlanks;
}

void HideSecret(const Get4* g, char* text, int n) {
  if (!(g->flags & GET_SECRET)) return;
  for (int i = 0; i < n; i++)
    if (text[i] != ' ') text[i] = '*';
}

void DrawGet(Get4* g, int attr) {
  char text[GET_EDIT_MAX * 2];
  int n = FormatValue(g, text);
  n = std::min(n, static_cast<int>(g->displayWidth));
  n = GroupDisplay(g, text, n);
  HideSecret(g, text, n);
  w4num_att(g->row, g->col, text, n, attr);
}

bool IsDate(const Get4* g) { return g->type == GET_DATE; }

// Stores the edit buffer into the caller's memory.
void StoreValue(Get4* g, const char* buffer, int length) {
  char text[GET_EDIT_MAX + 1];
  std::memcpy(text, buffer, length);
  text[length] = '\0';
  char before[GET_EDIT_MAX + 1];
  if (g->field) std::memcpy(before, g->data, g->dataWidth);
  switch (g->type) {
    case GET_TEXT:
      std::memcpy(g->data, text, std::min(length, static_cast<int>(g->dataWidth)));
      break;
    case GET_DATE:
      date4parse_picture(text, g->picture ? g->picture : kDefaultDatePicture, static_cast<char*>(g->data));
      break;
    case GET_DOUBLE:
      *static_cast<double*>(g->data) = QuickDouble(text, length);
      break;
    case GET_NUMBER:
      ToMemCopyDoubleFmt(static_cast<char*>(g->data), QuickDouble(text, length), g->dataWidth,
                         std::max(0, static_cast<int>(g->dataDecimals)));
      break;
    case GET_INT:
      *static_cast<int32_t*>(g->data) = c4atoi(text, length);
      break;
    case GET_LONG:
      *static_cast<int32_t*>(g->data) = static_cast<int32_t>(c4atol(text, length));
      break;
    case GET_LOGICAL:
      *static_cast<int32_t*>(g->data) = text[0] == 'T' || text[0] == 't';
      break;
    case GET_BIT: {
      unsigned char* bytes = static_cast<unsigned char*>(g->data);
      unsigned char mask = static_cast<unsigned char>(128 >> (g->helpNumber % 8));
      if (text[0] == 'T' || text[0] == 't') bytes[g->helpNumber / 8] |= mask;
      else bytes[g->helpNumber / 8] &= static_cast<unsigned char>(~mask);
      break;
    }
    default:
      break;
  }
  // A field edited in place: its record must be written when the table moves on.
  if (g->field && std::memcmp(before, g->data, g->dataWidth) != 0) f4assign_ptr(g->field);
}

// The next (step 1) or previous (step -1) get after `from` that can be edited
// (and starts a group when asked); -1 when none.
int FindGet(int from, int step, bool groupStart) {
  int h = from;
  for (;;) {
    Get4* g = GetRecord(h);
    h = step > 0 ? g->next : g->prev;
    if (h < 0) return -1;
    Get4* candidate = GetRecord(h);
    if (candidate->flags & GET_DISABLED) continue;
    if (groupStart && !(candidate->flags & GET_GROUP_START)) continue;
    return h;
  }
}

// The first (or last) get of the chain that can be edited; -1 when none.
int EditableEnd(int firstGet, bool last) {
  int found = -1;
  for (int h = firstGet; h >= 0;) {
    Get4* g = GetRecord(h);
    if (!(g->flags & GET_DISABLED)) {
      found = h;
      if (!last) return found;
    }
    h = g->next;
  }
  return found;
}

// F2 ends the form only when every must of it passes: the first get whose
// must check refuses (its message shown), or -1. `current` was just checked.
int RefusedMust(int firstGet, int current, int window) {
  for (int h = firstGet; h >= 0;) {
    Get4* g = GetRecord(h);
    int next = g->next;
    if (h != current && (g->flags & GET_MUST) && !(g->flags & GET_DISABLED) && g->validator) {
      int refused = g->validator(g);
      w4select(window);
      if (refused) return h;
    }
    h = next;
  }
  return -1;
}

// The running editor of one get.
struct Editor {
  int handle = -1;
  char buffer[GET_EDIT_MAX + 1] = {};
  char pattern[GET_EDIT_MAX + 1] = {};
  int patternLength = 0;
  int length = 0;
  int cursor = 0;
  int offset = 0;
  bool replaceAll = true;
  int startKeyCount = 0;
  int monthLetters = 0;   // the M in the template

  Get4* get() const { return GetRecord(handle); }
  bool Input(int pos) const { return pos >= patternLength || IsInputChar(pattern[pos]); }
  char PatternAt(int pos) const { return pos < patternLength ? pattern[pos] : 'X'; }

  int PointPos() const {
    const char* p = static_cast<const char*>(std::memchr(pattern, '.', patternLength));
    return p ? static_cast<int>(p - pattern) : -1;
  }

  void Enter(int h) {
    handle = h;
    Get4* g = get();
    Environment* env = EnvCurrent();
    startKeyCount = env ? env->keyCount : 0;
    replaceAll = true;
    length = FormatValue(g, buffer);
    BuildTemplate(g, pattern);
    patternLength = static_cast<int>(std::strlen(pattern));
    monthLetters = static_cast<int>(std::count(pattern, pattern + patternLength, 'M'));
    cursor = 0;
    offset = 0;
    Desktop.curGet = h;
  }

  // Reloads the value from memory after a refusal; the cursor to the start.
  void Reload() {
    length = FormatValue(get(), buffer);
    cursor = 0;
  }

  void PutBackLiterals() {
    for (int i = 0; i < length && i < patternLength; i++)
      if (!Input(i)) buffer[i] = pattern[i];
  }

  int PrevInput(int pos) const {
    for (int i = pos - 1; i >= 0; i--)
      if (Input(i)) return i;
    return -1;
  }
  int NextInput(int pos) const {
    for (int i = pos + 1; i < length; i++)
      if (Input(i)) return i;
    return -1;
  }
  int LastInput() const { return PrevInput(length); }
  int RunEnd(int pos) const {
    int i = pos;
    while (i < length && Input(i)) i++;
    return i;
  }

  void Normalise() {
    while (cursor < length && !Input(cursor)) {
      buffer[cursor] = pattern[cursor];
      cursor++;
    }
    if (cursor >= length) {
      int last = LastInput();
      cursor = last >= 0 ? last : std::max(0, length - 1);
    }
  }

  void Show() {
    Get4* g = get();
    int shown = g->displayWidth;
    if (cursor < offset) offset = cursor;
    if (cursor >= offset + shown) offset = cursor - shown + 1;
    char text[GET_EDIT_MAX * 2];
    int n = 0;
    for (int i = 0; i < shown; i++) text[n++] = offset + i < length ? buffer[offset + i] : ' ';
    for (int i = 0; i < g->groupBlanks; i++) text[n++] = ' ';
    HideSecret(g, text, n);
    w4num_att(g->row, g->col, text, n, g->attr);
    w4cursor(g->row, g->col + cursor - offset);
  }

  bool Accepts(int c, int pos) const {
    char p = PatternAt(pos);
    bool digit = c >= '0' && c <= '9';
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    bool date = IsDate(get());
    switch (p) {
      case '9': return digit;
      case '#': return digit || c == '+' || c == '-' || c == ' ';
      case 'A': return letter;
      case 'N': return letter || digit;
      case 'L':
      case 'B': return c == 'T' || c == 't' || c == 'N' || c == 'n';
      case 'Y': return date ? digit || c == ' ' : c == 'Y' || c == 'y' || c == 'N' || c == 'n';
      case 'C':
      case 'D': return date && (digit || c == ' ');
      case 'M':
        if (!date) return false;
        if (c == ' ') return true;
        return monthLetters < 3 ? digit : IsLetter(c) != 0;
      default: return true;   // '!', 'X' and beyond the template
    }
  }

  void Blank() {
    std::memset(buffer, ' ', length);
    int point = PointPos();
    if (point >= 0 && point < length) buffer[point] = '.';
    PutBackLiterals();
  }

  void DecimalJump() {
    int point = PointPos();
    if (replaceAll) {
      Blank();
      replaceAll = false;
    }
    if (cursor > 0 && buffer[cursor - 1] != ' ') {
      char digits[GET_EDIT_MAX + 1];
      int n = 0;
      for (int i = 0; i < point; i++)
        if (buffer[i] != ' ') digits[n++] = buffer[i];
      std::memset(buffer, ' ', point);
      std::memcpy(buffer + point - n, digits, n);
    }
    for (int i = point + 1; i < length; i++)
      if (Input(i)) buffer[i] = '0';
    buffer[point] = '.';
    cursor = point + 1;
  }

  void Type(int c) {
    if (replaceAll) {
      if (!IsDate(get())) Blank();
      replaceAll = false;
    }
    if (Desktop.insertMode) {
      int end = RunEnd(cursor);
      for (int i = end - 1; i > cursor; i--) buffer[i] = buffer[i - 1];
    }
    char p = PatternAt(cursor);
    if (p == 'L' || p == 'B' || (p == 'Y' && !IsDate(get()))) c = EnvToUpper(c);
    buffer[cursor] = static_cast<char>(c);
    cursor++;
  }

  void DeleteAt(int pos) {
    int end = RunEnd(pos);
    for (int i = pos; i < end - 1; i++) buffer[i] = buffer[i + 1];
    if (end > pos) buffer[end - 1] = ' ';
  }

  void End() {
    int lastText = -1;
    for (int i = 0; i < length; i++)
      if (Input(i) && buffer[i] != ' ') lastText = i;
    if (lastText < 0) {
      cursor = 0;
      return;
    }
    int next = NextInput(lastText);
    cursor = next >= 0 ? next : LastInput();
  }
};

}  // namespace

Get4* g4(int row, int col, char* buffer) { return g4alloc(row, col, buffer, GET_TEXT); }

Get4* g4date(int row, int col, char* buffer) {
  Get4* g = g4alloc(row, col, buffer, GET_DATE);
  if (g) g->dataWidth = 8;
  return g;
}

Get4* g4double(int row, int col, double* value) { return g4alloc(row, col, value, GET_DOUBLE); }
Get4* g4int(int row, int col, int32_t* value) { return g4alloc(row, col, value, GET_INT); }
Get4* g4long(int row, int col, int32_t* value) { return g4alloc(row, col, value, GET_LONG); }

Get4* g4bit(int row, int col, unsigned char* bytes, int bit) {
  Get4* g = g4alloc(row, col, bytes, GET_BIT);
  if (g) g->helpNumber = bit;
  return g;
}

Get4* g4field(int row, int col, DbField** fieldVariable) {
  DbField* field = fieldVariable ? *fieldVariable : nullptr;
  if (!field) return nullptr;
  int type = f4type(field);
  if (type == 'M' || type == 'G') return nullptr;
  Get4* g;
  if (type == 'D') {
    g = g4date(row, col, f4ptr(field));
  } else {
    g = g4alloc(row, col, f4ptr(field), type == 'N' ? GET_NUMBER : GET_TEXT);
    if (!g) return nullptr;
    g->dataWidth = std::min<int32_t>(static_cast<int32_t>(f4len(field)), 256);
    g->decimals = f4decimals(field);
    if (type == 'N') g->dataDecimals = g->decimals;
    if (type == 'L') g->picture = "L";
  }
  if (g) g->field = field;
  return g;
}

void g4picture(const char* picture) {
  if (Get4* g = LastGet()) g->picture = picture;
}
void g4upper() {
  if (Get4* g = LastGet()) g->flags |= GET_UPPER;
}
void g4disabled() {
  if (Get4* g = LastGet()) g->flags |= GET_DISABLED;
}
void g4secret() {
  if (Get4* g = LastGet()) g->flags |= GET_SECRET;
}
void g4format() {
  if (Get4* g = LastGet()) g->flags |= GET_THOUSANDS;
}
void g4valid(GetValidator validator) {
  if (Get4* g = LastGet()) g->validator = validator;
}
void g4call(GetKeyRoutine routine, int32_t data) {
  if (Get4* g = LastGet()) {
    g->keyRoutine = routine;
    g->routineData = data;
  }
}
void g4width(int dataWidth, int displayWidth) {
  Get4* g = LastGet();
  if (!g) return;
  if (dataWidth > 0) g->dataWidth = dataWidth;
  if (displayWidth > 0) g->displayWidth = displayWidth;
}

int g4attribute(int attr) {
  if (Desktop.curWindow) Desktop.curWindow->getAttr = attr;
  return attr;
}

void g4display() {
  Window4* w = Desktop.curWindow;
  if (!w || !Desktop.getPool) return;
  for (int h = w->firstGet; h >= 0;) {
    Get4* g = GetRecord(h);
    SetWidths(g);
    DrawGet(g, w->attr);
    h = g->next;
  }
}

void g4release(int flag) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  w->getsReleased = flag;
  if (flag) FreeGets(w);
}

int WigetCtrlKey(int key) {
  switch (key) {
    case KEY_TAB:
    case KEY_ENTER:
    case KEY_ESC:
    case KEY_SHIFT_TAB:
    case KEY_F2:
    case KEY_UP:
    case KEY_PGUP:
    case KEY_CTRL_DOWN:
    case KEY_CTRL_UP:
    case KEY_DOWN:
    case KEY_PGDN:
    case KEY_INS:
    case KEY_CTRL_PGDN:
    case KEY_CTRL_PGUP:
      return 1;
    default:
      return 0;
  }
}

int g4read() {
  Environment* env = EnvCurrent();
  int window = Desktop.curHandle;
  Window4* w = w4record(window);
  if (!w) return 0;
  char* previousBuffer = Desktop.editBuffer;
  int previousGet = Desktop.curGet;
  g4display();
  int savedAttr = w->attr;
  int start = EditableEnd(w->firstGet, false);
  int key = 0;
  if (start >= 0) {
    Editor ed;
    ed.Enter(start);
    Desktop.editBuffer = ed.buffer;
    for (;;) {
      ed.Normalise();
      ed.Show();
      Get4* g = ed.get();
      key = 0;
      if (g->keyRoutine) {
        // A menu the routine ran and ended with a Ctrl key passes that key on.
        lastMenuKey = 0;
        key = g->keyRoutine(g, ed.buffer, g->routineData);
        w4select(window);
        int menuKey = lastMenuKey;
        if (key != 0 && (menuKey == KEY_CTRL_DOWN || menuKey == KEY_CTRL_UP || menuKey == KEY_CTRL_PGDN ||
                         menuKey == KEY_CTRL_PGUP)) {
          key = menuKey;
          lastMenuKey = 0;
        }
        g = ed.get();
      }
      if (key == 0) key = g4char();
      if (env) env->lastGetKey = key;
      if (key == -1) continue;

      if (key >= 32 && key <= 255) {
        int c = key;
        if (g->flags & GET_UPPER) {
          int mods = KeyMods();
          c = (mods & KEYMOD_SHIFT) && !(mods & KEYMOD_NO_PAUSE) ? EnvToLower(c) : EnvToUpper(c);
        } else if (ed.PatternAt(ed.cursor) == '!') {
          c = EnvToUpper(c);
        }
        char p = ed.PatternAt(ed.cursor);
        if ((c == ',' || c == '.') && g->decimals > 0 && (p == '9' || p == '#') && ed.PointPos() >= 0) {
          ed.DecimalJump();
        } else if (ed.Accepts(c, ed.cursor)) {
          ed.Type(c);
        } else {
          write_beep();
        }
        continue;
      }

      ed.replaceAll = false;
      int target = -2;   // -2 stay, -1 end, else the get to go to
      switch (key) {
        case KEY_LEFT: {
          int p = ed.PrevInput(ed.cursor);
          if (p >= 0) ed.cursor = p;
          break;
        }
        case KEY_BACKSPACE:
        case KEY_DEL: {
          int p = key == KEY_DEL ? ed.cursor : ed.PrevInput(ed.cursor);
          if (IsDate(g) && (ed.cursor == 0 || p < 0)) {
            ed.Blank();
            ed.cursor = 0;
          } else if (p >= 0) {
            ed.cursor = p;
            ed.DeleteAt(p);
          }
          break;
        }
        case KEY_RIGHT: {
          int p = ed.NextInput(ed.cursor);
          ed.cursor = p >= 0 ? p : std::max(0, ed.LastInput());
          break;
        }
        case KEY_HOME:
          ed.cursor = 0;
          break;
        case KEY_END:
          ed.End();
          break;
        case KEY_INS:
          Desktop.insertMode = !Desktop.insertMode;
          DesktopSetCaretShape(Desktop.insertMode ? 0 : 1);
          break;
        case KEY_SHIFT_CTRL_UP:
        case KEY_SHIFT_CTRL_DOWN: {
          int c = PickSpecialChar();
          w4select(window);
          if (c && ed.cursor < ed.length) ed.buffer[ed.cursor] = static_cast<char>(c);
          break;
        }
        case KEY_ENTER:
          target = FindGet(ed.handle, 1, false);
          break;
        case KEY_DOWN:
          target = FindGet(ed.handle, 1, false);
          if (target < 0 && !onePass) {
            target = -2;
            if (env) env->lastGetKey = KEY_UP;
          }
          break;
        case KEY_UP:
          target = FindGet(ed.handle, -1, false);
          if (target < 0 && !onePass) {
            target = -2;
            if (env) env->lastGetKey = KEY_DOWN;
          }
          break;
        case KEY_CTRL_DOWN:
        case KEY_CTRL_UP: {
          int step = key == KEY_CTRL_DOWN ? 1 : -1;
          target = FindGet(ed.handle, step, true);
          if (target < 0) {
            target = EditableEnd(w4record(window)->firstGet, step > 0);
            if (env) env->lastGetKey = step > 0 ? KEY_UP : KEY_DOWN;
          }
          if (target == ed.handle) target = -2;
          break;
        }
        case KEY_ESC:
        case KEY_F2:
        case KEY_ALT_P:
          target = -1;
          break;
        case KEY_PGUP:
        case KEY_PGDN:
          if (onePass) target = -1;
          break;
        default:
          break;
      }
      if (target == -2) continue;

      // Leaving the get.
      StoreValue(g, ed.buffer, ed.length);
      if (key != KEY_ESC && key != KEY_CTRL_Q) {
        if (g->validator) {
          if (env) env->getKeyCount = env->keyCount - ed.startKeyCount;
          int refused = g->validator(g);
          w4select(window);
          if (refused) {
            ed.Reload();
            continue;
          }
          g = ed.get();
        }
        double day = 0;
        if (IsDate(g) && c4dt_julian(static_cast<const char*>(g->data), &day) == -1) {
          MessageWindow(7, MSG_BAD_DATE, ed.buffer, 0);
          w4select(window);
          continue;
        }
      }
      DrawGet(g, w4record(window)->attr);
      if (target == -1 && key == KEY_F2) {
        int refused = RefusedMust(w4record(window)->firstGet, ed.handle, window);
        if (refused >= 0) {
          ed.Enter(refused);
          continue;
        }
      }
      if (target < 0) break;
      ed.Enter(target);
    }
  }
  w4cursor(-1, -1);
  w = w4record(window);
  w4select(window);
  if (w) {
    if (w->getsReleased != 0) FreeGets(w);
    w->attr = savedAttr;
  }
  Desktop.editBuffer = previousBuffer;
  Desktop.curGet = previousGet;
  return key;
}

int build_get_struct(int mode, EditCtrl* list, int attr) {
  g4attribute(attr);
  for (EditCtrl* e = list; e; e++) {
    if (!(e->flags & EDIT_SKIP)) {
      uint32_t t = e->flags & (EDIT_TEXT | EDIT_INTEGER | EDIT_DIRECT | EDIT_DATE);
      Get4* g;
      if ((t & (EDIT_DIRECT | EDIT_DATE)) == (EDIT_DIRECT | EDIT_DATE))
        g = g4date(e->row, e->col, static_cast<char*>(e->data));
      else if ((t & (EDIT_TEXT | EDIT_INTEGER)) == (EDIT_TEXT | EDIT_INTEGER))
        g = g4bit(e->row, e->col, *static_cast<unsigned char**>(e->data), e->routineData);
      else if ((t & (EDIT_DIRECT | EDIT_INTEGER)) == (EDIT_DIRECT | EDIT_INTEGER))
        g = g4long(e->row, e->col, static_cast<int32_t*>(e->data));
      else if (t == EDIT_DATE)
        g = g4field(e->row, e->col, static_cast<DbField**>(e->data));
      else if ((t & (EDIT_TEXT | EDIT_DIRECT)) == (EDIT_TEXT | EDIT_DIRECT))
        g = g4(e->row, e->col, static_cast<char*>(e->data));
      else if (t == EDIT_TEXT)
        g = g4(e->row, e->col, *static_cast<char**>(e->data));
      else if (t == EDIT_INTEGER)
        g = g4int(e->row, e->col, static_cast<int32_t*>(e->data));
      else if (t == EDIT_DIRECT)
        g = g4double(e->row, e->col, static_cast<double*>(e->data));
      else {
        ErrLogMessage(EL_ERROR | EL_FORMAT, LOG_BAD_EDIT_CTRL, " %i, %i", e->row, e->col);
        g4release(1);
        return -1;
      }
      if (g) {
        if (e->picture) g->picture = e->picture;
        if (e->flags & EDIT_UPPER) g->flags |= GET_UPPER;
        g->keyRoutine = e->keyRoutine;
        g->routineData = e->routineData;
        g->validator = e->validator;
        if (e->flags & EDIT_THOUSANDS) g->flags |= GET_THOUSANDS;
        if (e->flags & EDIT_GROUP) g->flags |= GET_GROUP_START;
        if (e->flags & EDIT_DISABLED) g->flags |= GET_DISABLED;
        if (e->flags & EDIT_MUST) g->flags |= GET_MUST;
      }
    }
    if (e->flags & DEF_LAST) break;
  }
  g4release(0);
  int result = 0;
  switch (mode & 3) {
    case BGS_ASK:
      for (;;) {
        if (g4read() == KEY_ESC) {
          if (LeaveQuestion()) {
            result = -1;
            break;
          }
        } else if (SaveQuestion(mode)) {
          result = 0;
          break;
        }
      }
      break;
    case BGS_ONE_PASS: {
      bool saved = onePass;
      onePass = true;
      for (;;) {
        result = g4read();
        if (result != KEY_ESC || LeaveQuestion()) break;
      }
      onePass = saved;
      break;
    }
    case BGS_ONCE:
      result = g4read();
      break;
    default:
      g4display();
      break;
  }
  g4release(1);
  return result;
}
