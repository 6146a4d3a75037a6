// The headless display: no window; a key script typed one key per key wait,
// a virtual clock (the platform clock fixed and moved forward) and the grid
// dumped as text with attributes. Two programs run side by side meet through
// files: {TOUCH path} makes one, {AWAIT path} waits (in real time) for one.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <utility>
#include <vector>
#include "env/charset_map.h"
#include "env/code_pages.h"
#include "platform/clock.h"
#include "platform/end_signals.h"
#include "ui/desktop.h"
#include "ui/display.h"

namespace {

enum ItemKind { ITEM_KEY, ITEM_WAIT, ITEM_RESIZE, ITEM_TOUCH, ITEM_AWAIT, ITEM_HOLD };

// How long {AWAIT} waits for the other program before giving up.
constexpr int AWAIT_LIMIT_SECONDS = 300;
// How long {HOLD} waits in real time for a signal before the script goes on.
constexpr int kHoldMs = 60000;

struct Item {
  ItemKind kind;
  std::vector<DisplayEvent> events;   // ITEM_KEY
  int64_t ms = 0;                     // ITEM_WAIT
  int width = 0, height = 0;          // ITEM_RESIZE
  std::string path;                   // ITEM_TOUCH, ITEM_AWAIT
};

struct Headless {
  bool scriptSet = false;
  std::deque<Item> items;
  std::deque<DisplayEvent> queue;
  int clientWidth = 0, clientHeight = 0;
  bool sizeSet = false;
  void (*onExhausted)() = nullptr;
  std::string lastInfo;
  long polls = 0;
};
Headless hl;

DisplayEvent KeyEvent(int key, int mods) {
  DisplayEvent e{};
  e.kind = DE_KEY_DOWN;
  e.key = key;
  e.mods = mods;
  return e;
}

DisplayEvent TextEvent(const std::string& utf8) {
  DisplayEvent e{};
  e.kind = DE_TEXT;
  utf8.copy(e.text, std::min(utf8.size(), sizeof e.text - 1));
  return e;
}

std::string Utf8Of(char32_t u) {
  std::string s;
  if (u < 0x80) {
    s += static_cast<char>(u);
  } else if (u < 0x800) {
    s += static_cast<char>(0xC0 | u >> 6);
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    s += static_cast<char>(0xE0 | u >> 12);
    s += static_cast<char>(0x80 | (u >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | u >> 18);
    s += static_cast<char>(0x80 | (u >> 12 & 0x3F));
    s += static_cast<char>(0x80 | (u >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  }
  return s;
}

// AltGr with a letter on the Polish (programmer's) layout.
const char* AltGrLetter(char letter) {
  static const char* const pairs[][2] = {{"a", "ą"}, {"c", "ć"}, {"e", "ę"}, {"l", "ł"}, {"n", "ń"},
                                         {"o", "ó"}, {"s", "ś"}, {"x", "ź"}, {"z", "ż"}, {"A", "Ą"},
                                         {"C", "Ć"}, {"E", "Ę"}, {"L", "Ł"}, {"N", "Ń"}, {"O", "Ó"},
                                         {"S", "Ś"}, {"X", "Ź"}, {"Z", "Ż"}};
  for (auto& p : pairs)
    if (p[0][0] == letter) return p[1];
  return nullptr;
}

int NamedKey(const std::string& name) {
  static const struct {
    const char* name;
    int key;
  } names[] = {{"ESC", DK_ESC},     {"ENTER", DK_ENTER},    {"TAB", DK_TAB},       {"BS", DK_BACKSPACE},
               {"BACKSPACE", DK_BACKSPACE}, {"UP", DK_UP},  {"DOWN", DK_DOWN},     {"LEFT", DK_LEFT},
               {"RIGHT", DK_RIGHT}, {"HOME", DK_HOME},      {"END", DK_END},       {"PGUP", DK_PAGE_UP},
               {"PGDN", DK_PAGE_DOWN}, {"INS", DK_INSERT},  {"DEL", DK_DELETE}};
  for (auto& n : names)
    if (name == n.name) return n.key;
  if (name.size() >= 2 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1]))) {
    int f = std::atoi(name.c_str() + 1);
    if (f >= 1 && f <= 12) return DK_F1 + f - 1;
  }
  if (name.size() == 1 && (std::isalnum(static_cast<unsigned char>(name[0]))))
    return std::toupper(static_cast<unsigned char>(name[0]));
  return 0;
}

bool ParseToken(const std::string& token, Item* item) {
  if (token == "HOLD") {
    item->kind = ITEM_HOLD;
    return true;
  }
  if (token.rfind("WAIT ", 0) == 0) {
    item->kind = ITEM_WAIT;
    item->ms = std::atoll(token.c_str() + 5);
    return item->ms > 0;
  }
  for (auto [prefix, kind] : {std::pair{"TOUCH ", ITEM_TOUCH}, std::pair{"AWAIT ", ITEM_AWAIT}})
    if (token.rfind(prefix, 0) == 0) {
      item->kind = kind;
      item->path = token.substr(std::strlen(prefix));
      return !item->path.empty();
    }
  if (token.rfind("RESIZE ", 0) == 0) {
    item->kind = ITEM_RESIZE;
    return std::sscanf(token.c_str() + 7, "%dx%d", &item->width, &item->height) == 2 && item->width > 0 &&
           item->height > 0;
  }
  item->kind = ITEM_KEY;
  if (token == "SPACE") {
    item->events.push_back(TextEvent(" "));
    return true;
  }
  if (token.rfind("ALTGR+", 0) == 0 && token.size() == 7) {
    const char* letter = AltGrLetter(token[6]);
    if (!letter) return false;
    item->events.push_back(KeyEvent(std::toupper(static_cast<unsigned char>(token[6])), 0));
    item->events.push_back(TextEvent(letter));
    return true;
  }
  int mods = 0;
  std::string rest = token;
  for (;;) {
    if (rest.rfind("SHIFT+", 0) == 0) {
      mods |= DM_SHIFT;
      rest = rest.substr(6);
    } else if (rest.rfind("CTRL+", 0) == 0) {
      mods |= DM_CTRL;
      rest = rest.substr(5);
    } else if (rest.rfind("ALT+", 0) == 0) {
      mods |= DM_ALT;
      rest = rest.substr(4);
    } else {
      break;
    }
  }
  int key = NamedKey(rest);
  if (!key) return false;
  item->events.push_back(KeyEvent(key, mods));
  if (mods == DM_SHIFT && rest.size() == 1) item->events.push_back(TextEvent(rest));
  return true;
}

void DumpGrid(FILE* out) {
  if (!Desktop.cells) {
    std::fprintf(out, "(no screen)\n");
    return;
  }
  for (int r = 0; r < Desktop.rows; r++) {
    std::string line;
    for (int c = 0; c < Desktop.cols; c++) {
      unsigned char ch = Desktop.cells[r * Desktop.cols + c] & 0xFF;
      line += ch == 0 ? std::string(" ") : Utf8Of(CharsetToUnicode(ch));
    }
    std::fprintf(out, "%s\n", line.c_str());
  }
  std::fprintf(out, "\n");
  for (int r = 0; r < Desktop.rows; r++) {
    for (int c = 0; c < Desktop.cols; c++) std::fprintf(out, "%02X", Desktop.cells[r * Desktop.cols + c] >> 8);
    std::fprintf(out, "\n");
  }
}

// The grid to ZELKIT_DUMP, the framebuffer to ZELKIT_IMAGE (a PPM), when set.
void DumpIfAsked() {
  const char* path = std::getenv("ZELKIT_DUMP");
  if (path && *path) HeadlessDumpTo(path);
  const char* image = std::getenv("ZELKIT_IMAGE");
  if (image && *image) DesktopWriteImage(image);
}

void Exhausted() {
  if (hl.onExhausted) {
    hl.onExhausted();
    return;
  }
  DumpIfAsked();
  std::fprintf(stderr, "headless display: the key script ended while the program waits for a key; last screen:\n");
  DumpGrid(stderr);
  std::exit(3);
}

// Another program's sign, waited for in real time (the virtual clock stands).
void AwaitFile(const std::string& path) {
  for (int waited = 0; waited < AWAIT_LIMIT_SECONDS * 50; waited++) {
    if (FILE* sign = std::fopen(path.c_str(), "rb")) {
      std::fclose(sign);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::fprintf(stderr, "headless display: {AWAIT %s} still missing after %d seconds\n", path.c_str(),
               AWAIT_LIMIT_SECONDS);
  DumpIfAsked();
  std::exit(4);
}

void LoadScriptFromEnvironment() {
  if (hl.scriptSet) return;
  const char* script = std::getenv("ZELKIT_KEYS");
  if (HeadlessSetScript(script ? script : "") != 0) std::exit(2);
}

// The clock is virtual: fixed when the display opens at the real time, or at
// noon of ZELKIT_DATE (CCYYMMDD) so runs do not depend on the real year,
// then moved on only by the waits.
void EnsureVirtualClock() {
  if (PlatClockIsFixed()) return;
  PlatDateTime now{};
  PlatNow(&now);
  const char* date = std::getenv("ZELKIT_DATE");
  if (date && *date) {
    PlatDateTime at{};
    if (std::strlen(date) != 8 || std::sscanf(date, "%4d%2d%2d", &at.year, &at.month, &at.day) != 3 ||
        at.month < 1 || at.month > 12 || at.day < 1 || at.day > 31) {
      std::fprintf(stderr, "ZELKIT_DATE=%s is not a date CCYYMMDD\n", date);
      std::exit(2);
    }
    at.hour = 12;
    now = at;
  }
  PlatClockFix(&now);
}

int Open(int clientWidth, int clientHeight) {
  LoadScriptFromEnvironment();
  EnsureVirtualClock();
  if (!hl.sizeSet) {
    hl.clientWidth = clientWidth;
    hl.clientHeight = clientHeight;
  }
  return 0;
}

void Close() {
  if (Desktop.cells) DumpIfAsked();
}
void Show() {}
void Present(const DisplayFrame*) {}

int Poll(DisplayEvent* event) {
  hl.polls++;
  if (hl.queue.empty()) return 0;
  *event = hl.queue.front();
  hl.queue.pop_front();
  return 1;
}

void Wait(int64_t timerDue, int64_t waitEnd, int keyWanted) {
  EnsureVirtualClock();
  int64_t now = PlatMonotonicMs();
  int64_t target = -1;
  for (int64_t t : {timerDue, waitEnd})
    if (t >= 0 && (target < 0 || t < target)) target = t;
  if (keyWanted) {
    DumpIfAsked();
    while (!hl.items.empty()) {
      Item& item = hl.items.front();
      if (item.kind == ITEM_WAIT) {
        int64_t step = target >= 0 ? std::min(item.ms, std::max<int64_t>(target - now, 0)) : item.ms;
        item.ms -= step;
        if (item.ms <= 0) hl.items.pop_front();
        PlatClockAdvanceMs(step);
        return;
      }
      if (item.kind == ITEM_TOUCH) {
        FILE* made = std::fopen(item.path.c_str(), "wb");
        if (made) std::fclose(made);
        hl.items.pop_front();
        continue;
      }
      if (item.kind == ITEM_AWAIT) {
        AwaitFile(item.path);
        hl.items.pop_front();
        continue;
      }
      if (item.kind == ITEM_HOLD) {
        hl.items.pop_front();
        std::fputs("headless display: holding for a signal\n", stderr);
        std::fflush(stderr);
        PlatWaitForEndSignal(kHoldMs);
        return;
      }
      if (item.kind == ITEM_RESIZE) {
        HeadlessSetClientSize(item.width, item.height);
        DisplayEvent e{};
        e.kind = DE_RESIZE;
        e.width = item.width;
        e.height = item.height;
        hl.queue.push_back(e);
        hl.items.pop_front();
        return;
      }
      for (const DisplayEvent& e : item.events) hl.queue.push_back(e);
      hl.items.pop_front();
      return;
    }
    if (waitEnd < 0) {
      Exhausted();
      return;
    }
  }
  if (target < 0) {
    Exhausted();
    return;
  }
  if (target > now) PlatClockAdvanceMs(target - now);
}

int64_t NowMs() {
  EnsureVirtualClock();
  return PlatMonotonicMs();
}

void SetClientSize(int width, int height) {
  if (width == hl.clientWidth && height == hl.clientHeight) return;
  HeadlessSetClientSize(width, height);
  DisplayEvent e{};
  e.kind = DE_RESIZE;
  e.width = width;
  e.height = height;
  hl.queue.push_back(e);
}

void Metrics(int* clientWidth, int* clientHeight, int* frameWidth, int* frameHeight) {
  *clientWidth = hl.clientWidth;
  *clientHeight = hl.clientHeight;
  *frameWidth = 0;
  *frameHeight = 0;
}

void SetMaximised(int) {}

void InfoBox(const char* title, const char* text) {
  hl.lastInfo = text ? text : "";
  std::fprintf(stderr, "[%s] %s\n", MazToUtf8Text(title ? title : "").c_str(), MazToUtf8Text(hl.lastInfo.c_str()).c_str());
}

DisplayBackend headless = {"headless", Open, Close, Show,
                           Present,    Poll,   Wait,          NowMs,
                           SetClientSize, Metrics, SetMaximised, InfoBox};

}  // namespace

DisplayBackend* DisplayHeadless() { return &headless; }

int HeadlessSetScript(const char* script) {
  hl.scriptSet = true;
  hl.items.clear();
  hl.queue.clear();
  std::string s = script ? script : "";
  for (size_t i = 0; i < s.size();) {
    char c = s[i];
    if (c == '\n' || c == '\r') {
      i++;
      continue;
    }
    Item item;
    if (c == '{' && i + 1 < s.size() && s[i + 1] == '{') {
      item.kind = ITEM_KEY;
      item.events.push_back(TextEvent("{"));
      i += 2;
    } else if (c == '{') {
      size_t close = s.find('}', i);
      std::string token = close == std::string::npos ? s.substr(i + 1) : s.substr(i + 1, close - i - 1);
      if (close == std::string::npos || !ParseToken(token, &item)) {
        std::fprintf(stderr, "ZELKIT_KEYS: bad token {%s}\n", token.c_str());
        hl.items.clear();
        return -1;
      }
      i = close + 1;
    } else {
      size_t len = 1;
      unsigned char b = static_cast<unsigned char>(c);
      if (b >= 0xF0) len = 4;
      else if (b >= 0xE0) len = 3;
      else if (b >= 0xC0) len = 2;
      item.kind = ITEM_KEY;
      item.events.push_back(TextEvent(s.substr(i, len)));
      i += len;
    }
    hl.items.push_back(item);
  }
  return 0;
}

int HeadlessKeysLeft() {
  int n = 0;
  for (const Item& item : hl.items) n += item.kind == ITEM_KEY;
  return n;
}

long HeadlessPollCount() { return hl.polls; }

void HeadlessOnExhausted(void (*handler)()) { hl.onExhausted = handler; }

void HeadlessSetClientSize(int width, int height) {
  hl.clientWidth = width;
  hl.clientHeight = height;
  hl.sizeSet = true;
}

const char* HeadlessLastInfoBox() { return hl.lastInfo.c_str(); }

void HeadlessDumpTo(const char* path) {
  FILE* f = std::fopen(path, "w");
  if (!f) return;
  DumpGrid(f);
  std::fclose(f);
}
