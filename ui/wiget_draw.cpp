// Wiget drawing: formatting by type, the draw event, pages, masks.
#include <algorithm>
#include <cstring>
#include <string>
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "ui/desktop.h"
#include "ui/dir_window.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/wiget.h"
#include "ui/window4.h"

namespace {

const char kNrbMask[] = "99 9999 9999 9999 9999 9999 9999";
const char kIbanMask[] = "AA99 9999 9999 9999 9999 9999 9999";
constexpr int ATTR_CODE_MISSING = 0xA0;

int Colour(const Window4* window, int entry) {
  if (window && window->colourSet) return window->colourSet[entry];
  return window ? window->attr : 7;
}

// Number text right-aligned in width with decimals; grouped by thousands on request.
std::string NumberText(double x, int width, int decimals, bool grouped) {
  if (width <= 0) return "";
  if (decimals >= width) decimals = 0;
  std::string buffer(static_cast<size_t>(width + width / 3 + 2), '\0');
  c4dtoa(x, buffer.data(), width, decimals, 1);
  int length = width;
  if (grouped) length += GroupThousands(buffer.data(), width, decimals);
  return buffer.substr(0, static_cast<size_t>(length));
}

std::string Fit(const std::string& text, int width) {
  std::string out = text.substr(0, static_cast<size_t>(std::max(width, 0)));
  out.resize(static_cast<size_t>(std::max(width, 0)), ' ');
  return out;
}

std::string DateText(const char* date8, bool longDate) {
  std::string date(date8, 8);
  if (date.find_first_not_of(' ') == std::string::npos) return std::string(longDate ? 10 : 8, ' ');
  return longDate ? FullDateQStr(date.c_str()) : DateQStr(date.c_str());
}

// Static texts: TAB to the next multiple of 8, LF a new line, CR ignored.
void DrawStatic(Wiget* w, int row, int col, int attr) {
  const char* text = w->value.text ? w->value.text : "";
  bool blank = (w->state & WS_HIDDEN) != 0;
  int r = row, c = 0;
  std::string line;
  auto flush = [&]() {
    if (!line.empty()) w4num_att(r, col, line.c_str(), static_cast<int>(line.size()), attr);
    line.clear();
  };
  for (const char* p = text; *p; p++) {
    if (*p == '\r') continue;
    if (*p == '\n') {
      flush();
      r++;
      c = 0;
      continue;
    }
    if (*p == '\t') {
      int to = (c / 8 + 1) * 8;
      line.append(static_cast<size_t>(to - c), ' ');
      c = to;
      continue;
    }
    line += blank ? ' ' : *p;
    c++;
  }
  flush();
}

}  // namespace

int WigetOptionWidth(const Wiget* w) { return static_cast<int>((w->flags >> 8) & 0x1F); }
int WigetOptionDecimals(const Wiget* w) { return static_cast<int>((w->flags >> 13) & 7); }

const char* WigetMask(const Wiget* w) {
  int type = WigetType(w);
  if (type != W_TEXT && type != W_FIELD) return nullptr;
  uint32_t kind = w->flags & WF_KIND_MASK;
  if (kind == WF_NRB) return kNrbMask;
  if (kind == WF_IBAN) return kIbanMask;
  return nullptr;
}

int MaskApply(const char* mask, const char* raw, char* out) {
  int n = static_cast<int>(std::strlen(mask));
  int rawLength = static_cast<int>(std::strlen(raw));
  int j = 0;
  for (int i = 0; i < n; i++) {
    char m = mask[i];
    if (m == '9' || m == 'A') {
      out[i] = j < rawLength ? raw[j++] : ' ';
    } else {
      if (j < rawLength && raw[j] == m) j++;
      out[i] = m;
    }
  }
  out[n] = 0;
  return n;
}

int MaskStrip(const char* mask, const char* masked, int length, char* out) {
  int n = 0;
  for (int i = 0; i < length && mask[i]; i++)
    if (mask[i] == '9' || mask[i] == 'A') out[n++] = masked[i];
  out[n] = 0;
  return n;
}

int WigetFormat(Wiget* w, int displayFlags, char* out, int outSize, int* attrOverride) {
  *attrOverride = -1;
  int type = WigetType(w);
  bool fromSource = (displayFlags & WD_SOURCE_VALUE) != 0;
  bool longKind = (w->flags & WF_KIND_MASK) == WF_LONG;
  int optionWidth = WigetOptionWidth(w);
  DbField* field = WigetField(w);
  WigetEvent event{};
  event.code = WE_DRAW;
  std::string text;
  auto textValue = [&](int length) {
    int n = 0;
    const char* raw = WigetRawText(w, fromSource, &n);
    std::string value(raw, static_cast<size_t>(std::min(n, length)));
    value.resize(static_cast<size_t>(length), ' ');
    uint32_t kind = w->flags & WF_KIND_MASK;
    if (kind == WF_PASSWORD) {
      size_t last = value.find_last_not_of(' ');
      for (size_t i = 0; last != std::string::npos && i <= last; i++) value[i] = '*';
    } else if (const char* mask = WigetMask(w)) {
      char masked[64];
      std::string trimmed = value.substr(0, std::min<size_t>(value.size(), 40));
      MaskApply(mask, trimmed.c_str(), masked);
      value = masked;
    }
    int width = optionWidth ? optionWidth : static_cast<int>(value.size());
    event.newValue.text.text = value.c_str();
    event.newValue.text.width = width;
    int r = WigetSendEvent(w, &event);
    if (r == 6 && event.newValue.text.text) return Fit(event.newValue.text.text, width);
    if (r == 7 && event.newValue.text.text) return Fit(event.newValue.text.text, event.newValue.text.width);
    return Fit(value, width);
  };
  auto numberValue = [&](double x, int width, int decimals) {
    event.newValue.number = x;
    event.newLong = RoundLong(x);
    WigetSendEvent(w, &event);
    return NumberText(event.newValue.number, width, decimals, longKind);
  };
  auto dateValue = [&](const char* date8, bool longDate) {
    std::memcpy(event.newValue.date, date8, 8);
    if (WigetSendEvent(w, &event) == 4) return DateText(event.newValue.date, longDate);
    return DateText(date8, longDate);
  };
  switch (type) {
    case W_TEXT:
      text = textValue(WigetLength(w));
      break;
    case W_FIELD:
      if (!field) break;
      if (field->type == 'C') {
        text = textValue(static_cast<int>(f4len(field)));
      } else if (field->type == 'N' || field->type == 'F') {
        int width = optionWidth ? optionWidth : static_cast<int>(f4len(field));
        int decimals = optionWidth ? WigetOptionDecimals(w) : f4decimals(field);
        text = numberValue(WigetRawDouble(w, fromSource), width, decimals);
      } else if (field->type == 'D') {
        char date[8];
        WigetRawDate(w, fromSource, date);
        text = dateValue(date, longKind);
      }
      break;
    case W_SHORT:
    case W_INT:
      text = numberValue(WigetRawLong(w, fromSource), optionWidth ? optionWidth : (type == W_SHORT ? 2 : 6), 0);
      break;
    case W_DOUBLE:
      text = numberValue(WigetRawDouble(w, fromSource), optionWidth ? optionWidth : 11,
                         optionWidth ? WigetOptionDecimals(w) : 2);
      break;
    case W_DATE: {
      char date[8];
      WigetRawDate(w, fromSource, date);
      text = dateValue(date, longKind);
      break;
    }
    case W_BLANK:
      text.assign(static_cast<size_t>((w->flags >> 8) & 0xFF), ' ');
      break;
    case W_CODE:
    case W_FIELD_CODE: {
      int count = SelectionCount(w->list);
      if (count == 0) break;
      int width = std::max(0, static_cast<int>(std::strlen(w->list[0].text)) - 3);
      int32_t code = WigetRawLong(w, fromSource);
      int index = ListCodeIndex(w->list, code);
      if (index >= 0) {
        const char* entry = w->list[index].text;
        text = Fit(std::strlen(entry) > 3 ? entry + 3 : "", width);
      } else {
        text.assign(static_cast<size_t>(width), ' ');
        bool unmarked = (displayFlags & WD_EMPTY_RECORD) ||
                        ((w->flags & WF_WORKING_YEAR) && (code == CODE_BLANK || code == 0));
        if (!unmarked) *attrOverride = ATTR_CODE_MISSING;
      }
      break;
    }
    case W_YESNO:
    case W_FIELD_YESNO: {
      if (type == W_FIELD_YESNO && !WigetUsesOwn(w) && field &&
          static_cast<unsigned char>(w->value.ch[1]) >= f4len(field)) {
        WigetError(WERR_POSITION, w, nullptr);
        break;
      }
      int c = WigetRawLong(w, fromSource);
      if (longKind) text = c == 'T' ? "X" : " ";
      else text = c == 'T' ? "TAK" : "NIE";
      break;
    }
    case W_RADIO:
    case W_FIELD_RADIO:
      text = WigetRawLong(w, fromSource) == w->extra ? "X" : " ";
      break;
    case W_MESSAGE: {
      text = w->value.text ? w->value.text : "";
      break;
    }
  }
  int n = std::min(static_cast<int>(text.size()), outSize - 1);
  std::memcpy(out, text.data(), static_cast<size_t>(n));
  out[n] = 0;
  return n;
}

void WigetDraw(Window4* window, Wiget* w, int rowOffset, int colOffset, int displayFlags) {
  int type = WigetType(w);
  int attr;
  if ((w->flags & WF_LABEL_COLOUR) || type == W_STATIC || type == W_BLANK) attr = Colour(window, 0);
  else if ((w->flags & WF_DISPLAY_ONLY) || (w->state & WS_DISABLED)) attr = Colour(window, 2);
  else attr = Colour(window, 1);
  if (type == W_MESSAGE) {
    int entry = w->user_bytes[4] & 15;
    attr = Colour(window, entry ? entry - 1 : 0);
  }
  w->state &= static_cast<uint16_t>(~WS_REDRAW);
  int row = rowOffset + w->row, col = colOffset + w->col;
  if (type == W_STATIC) {
    DrawStatic(w, row, col, attr);
    return;
  }
  if (type == W_DIRLIST) {
    if (w->source.kind == WSRC_DIRLIST && !(w->state & WS_HIDDEN))
      DirListDraw(w->source.dirList, row, col, (w->state & WS_CURSOR) != 0);
    return;
  }
  // An element ends at the window's right edge: its text must not run on
  // into the next row over the labels there.
  const int room = window->width - col;
  if ((displayFlags & WD_BLANK_FIRST) && w->shown_width > 0 && room > 0) {
    std::string blanks(static_cast<size_t>(std::min<int>(w->shown_width, room)), ' ');
    w4num_att(row, col, blanks.c_str(), static_cast<int>(blanks.size()), attr);
  }
  if (w->state & WS_HIDDEN) {
    w->shown_width = 0;
    return;
  }
  char text[256];
  int override = -1;
  int width = WigetFormat(w, displayFlags, text, sizeof text, &override);
  if (override >= 0) attr = override;
  std::string shown(text, static_cast<size_t>(width));
  if (w->shown_width > width) shown.resize(static_cast<size_t>(w->shown_width), ' ');
  if (static_cast<int>(shown.size()) > room) shown.resize(static_cast<size_t>(std::max(room, 0)));
  if (!shown.empty()) w4num_att(row, col, shown.c_str(), static_cast<int>(shown.size()), attr);
  w->shown_width = static_cast<int16_t>(width);
}

void DisplayPageWigets(Window4* window, Wiget* list, int colOffset, int rowOffset, int displayFlags) {
  if (!window) window = Desktop.curWindow;
  if (!window) return;
  WigetPageWalk walk;
  WigetWalkPages(list, rowOffset, colOffset, walk, [&](Wiget* w, int row, int col, const WigetPageWalk& at) {
    int type = WigetType(w);
    if (at.hidden) return false;
    if (type == W_GROUP) return true;
    if (at.page == window->page) {
      bool wanted = (displayFlags & WD_ALL) || (w->state & WS_REDRAW);
      if ((displayFlags & WD_HIDDEN_ONLY) && !(w->state & WS_HIDDEN)) wanted = false;
      if ((displayFlags & WD_ALL) && (displayFlags & WD_BLANK_FIRST) && (type == W_STATIC || type == W_BLANK) &&
          !(w->state & WS_REDRAW))
        wanted = false;
      if (wanted) WigetDraw(window, w, row, col, displayFlags);
    }
    return false;
  });
  window->pageCount = static_cast<int16_t>(walk.page + 1);
}
