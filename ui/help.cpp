#include "ui/help.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "env/session/environment.h"
#include "platform/byte_order.h"
#include "platform/files.h"
#include "platform/program_dir.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NO_FILES = 50047;   // "Brak zbioru ZELM.HLP lub ZELM.IND"
constexpr int MSG_BAD_INDEX = 50048;  // "Błąd struktury zbioru ZELM.IND"
constexpr int MSG_NO_TOPIC = 50049;   // "Brak opcji pomocy."

constexpr int KEY_CTRL_Q = 17;
constexpr int KEY_ALT_Q = 0x1000;

constexpr int ATTR_WINDOW = 0x50, ATTR_TEXT = 0x5F, ATTR_FRAME = 0x5F, ATTR_TITLE = 0xF5;
constexpr int ATTR_LINK = 0x57, ATTR_LINK_CURRENT = 0x75;
constexpr int WINDOW_COLS = 78;
constexpr int WINDOW_MAX_HEIGHT = HELP_PAGE_LINES + 1;

// Results of showing a topic: a followed link's topic (> 0), or these.
constexpr int SHOW_END = 0;
constexpr int SHOW_BACK = -1;

struct Link {
  char text[HELP_LINK_TEXT_MAX + 1];
  int length, row, col, target;
};

struct PageEntry {
  int topic;
  int firstLine;
};

bool ReadWhole(const std::string& path, std::vector<unsigned char>* out) {
  PlatFile file = PLAT_NO_FILE;
  if (PlatFileOpen(path.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) return false;
  uint64_t length = 0;
  size_t done = 0;
  bool ok = PlatFileLength(file, &length) == PLAT_OK && length < (1u << 30);
  if (ok) {
    out->resize(static_cast<size_t>(length));
    ok = length == 0 || (PlatFileRead(file, 0, out->data(), out->size(), &done) == PLAT_OK && done == out->size());
  }
  PlatFileClose(file);
  return ok;
}

// The topic's lines, split at CR (an LF after it is skipped). SHOW_END when
// the help must end, SHOW_BACK when the text cannot be read, else 1.
int ReadTopic(int topic, std::vector<std::string>* lines) {
  std::vector<unsigned char> index;
  std::string indexPath = PlatFindProgramFile("ZELM.IND");
  if (indexPath.empty() || !ReadWhole(indexPath, &index) || index.empty()) return SHOW_END;
  if (index.size() < HELP_INDEX_ENTRY ||
      static_cast<uint64_t>(GetLe32(index.data())) + 1 != index.size() / HELP_INDEX_ENTRY ||
      index.size() % HELP_INDEX_ENTRY != 0 || GetLe16(index.data() + 4) != HELP_INDEX_ENTRY) {
    Uwaga(TextRef(MSG_BAD_INDEX));
    return SHOW_END;
  }
  const unsigned char* entry = nullptr;
  for (size_t at = HELP_INDEX_ENTRY; at + HELP_INDEX_ENTRY <= index.size(); at += HELP_INDEX_ENTRY) {
    if (GetLe16(index.data() + at + 8) == topic) {
      entry = index.data() + at;
      break;
    }
  }
  if (!entry) {
    Uwaga(TextRef(MSG_NO_TOPIC));
    return SHOW_END;
  }
  uint32_t offset = GetLe32(entry);
  uint16_t length = GetLe16(entry + 4), lineCount = GetLe16(entry + 6);

  // The text must come from beside the index it was indexed by.
  std::string textPath = indexPath.substr(0, indexPath.find_last_of('/') + 1) + "ZELM.HLP";
  PlatFile file = PLAT_NO_FILE;
  if (PlatFileOpen(textPath.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) {
    Uwaga(TextRef(MSG_NO_FILES));
    return SHOW_BACK;
  }
  std::string text(length, '\0');
  size_t done = 0;
  bool ok = PlatFileRead(file, offset, text.data(), text.size(), &done) == PLAT_OK && done == text.size();
  PlatFileClose(file);
  if (!ok) return SHOW_BACK;

  lines->clear();
  size_t pos = 0;
  while (static_cast<int>(lines->size()) < lineCount && pos < text.size()) {
    size_t cr = text.find('\r', pos);
    if (cr == std::string::npos) cr = text.size();
    lines->push_back(text.substr(pos, cr - pos));
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') pos++;
  }
  return 1;
}

int Digit(const std::string& raw, size_t at) {
  if (at >= raw.size()) return 0;
  unsigned char c = static_cast<unsigned char>(raw[at]);
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

// A line with its markers removed, cut to the window, and its links.
std::string RenderLine(const std::string& raw, int row, std::vector<Link>* links) {
  std::string out;
  int open = -1;   // index in links of the link whose text is running
  size_t i = 0;
  auto close = [&]() {
    if (open < 0) return;
    Link& l = (*links)[static_cast<size_t>(open)];
    l.length = std::min(static_cast<int>(out.size()) - l.col, HELP_LINK_TEXT_MAX);
    open = -1;
  };
  while (i < raw.size()) {
    unsigned char c = static_cast<unsigned char>(raw[i]);
    if (c == HELP_LINK) {
      close();
      int hidden = Digit(raw, i + 1) + 1;
      size_t at = i + 2 + static_cast<size_t>(hidden);
      int digits = Digit(raw, at);
      int target = 0;
      for (int d = 0; d < digits; d++) target = target * 10 + Digit(raw, at + 1 + static_cast<size_t>(d));
      i = at + 1 + static_cast<size_t>(digits);
      Link l{};
      l.row = row;
      l.col = static_cast<int>(out.size());
      l.target = target;
      links->push_back(l);
      open = static_cast<int>(links->size()) - 1;
    } else if (c == HELP_LINK_END) {
      close();
      i++;
    } else if (c == HELP_HIDE_N) {
      i += 2 + static_cast<size_t>(Digit(raw, i + 1));
    } else if (c == HELP_HIDE_ONE) {
      i += 2;
    } else {
      out += static_cast<char>(c);
      i++;
    }
  }
  close();
  if (static_cast<int>(out.size()) > HELP_LINE_MAX) out.resize(HELP_LINE_MAX);
  // Links are cut with the line; one that starts beyond it, or shows nothing, is dropped.
  for (auto it = links->begin(); it != links->end();) {
    if (it->row == row) {
      it->length = std::min(it->length, static_cast<int>(out.size()) - it->col);
      if (it->length <= 0) {
        it = links->erase(it);
        continue;
      }
      std::memcpy(it->text, out.data() + it->col, static_cast<size_t>(it->length));
      it->text[it->length] = '\0';
    }
    ++it;
  }
  return out;
}

void DrawLink(const Link& l, int attr) { w4num_att(l.row, l.col, l.text, l.length, attr); }

void PageHints(int first, int lineCount) {
  remove_help_line();
  add_help_line();
  if (lineCount <= HELP_PAGE_LINES) return;
  bool up = first > 0, down = first + HELP_PAGE_LINES < lineCount;
  if (up && down)
    set_fun_help("PgUp,PgDn", "Zmiana stron", 3);
  else if (down)
    set_fun_help("PgDn", "Zmiana stron", 3);
  else if (up)
    set_fun_help("PgUp", "Zmiana stron", 2);
}

// Shows a topic from *firstLine; on a followed link *firstLine is the line shown.
int ShowTopic(int topic, int* firstLine) {
  std::vector<std::string> lines;
  int read = ReadTopic(topic, &lines);
  if (read != 1) return read;

  int count = static_cast<int>(lines.size());
  int height = std::clamp(count + 1, 2, WINDOW_MAX_HEIGHT);
  int shownLines = height - 1;
  int top = (Desktop.rows - height) / 2, left = (Desktop.cols - WINDOW_COLS) / 2;
  int window = w4define(top, left, top + height, left + WINDOW_COLS - 1);
  if (window < 0) return SHOW_END;
  w4popup();
  w4attribute(ATTR_WINDOW);
  w4border(kStdFrame, ATTR_FRAME);
  w4title(0, -1, "POMOC", ATTR_TITLE);
  w4activate(window);
  add_help_line();

  int first = std::clamp(*firstLine, 0, std::max(count - 1, 0));
  int result = SHOW_END;
  bool redraw = true, done = false;
  std::vector<Link> links;
  size_t current = 0;
  while (!done) {
    if (redraw) {
      links.clear();
      current = 0;
      std::string blanks(static_cast<size_t>(w4width()), ' ');
      for (int r = 0; r < shownLines; r++) {
        w4num_att(r, 0, blanks.c_str(), w4width(), ATTR_WINDOW);
        if (first + r >= count) continue;
        std::string shown = RenderLine(lines[static_cast<size_t>(first + r)], r, &links);
        w4num_att(r, 0, shown.c_str(), static_cast<int>(shown.size()), ATTR_TEXT);
      }
      for (size_t k = 0; k < links.size(); k++) DrawLink(links[k], k == current ? ATTR_LINK_CURRENT : ATTR_LINK);
      PageHints(first, count);
      redraw = false;
    }
    int key = g4char();
    switch (key) {
      case KEY_ENTER:
        result = links.empty() ? SHOW_END : links[current].target;
        *firstLine = first;
        done = true;
        break;
      case KEY_ESC:
        result = SHOW_BACK;
        done = true;
        break;
      case KEY_CTRL_Q:
      case KEY_ALT_Q:
        result = SHOW_END;
        done = true;
        break;
      case KEY_UP:
      case KEY_DOWN: {
        size_t next = current;
        if (key == KEY_UP && current > 0) next = current - 1;
        if (key == KEY_DOWN && current + 1 < links.size()) next = current + 1;
        if (next != current) {
          DrawLink(links[current], ATTR_LINK);
          current = next;
          DrawLink(links[current], ATTR_LINK_CURRENT);
        }
        break;
      }
      case KEY_PGUP:
        if (count > shownLines && first - HELP_PAGE_LINES >= 0) {
          first -= HELP_PAGE_LINES;
          redraw = true;
        }
        break;
      case KEY_PGDN:
        if (count > shownLines && first + HELP_PAGE_LINES < count) {
          first += HELP_PAGE_LINES;
          redraw = true;
        }
        break;
      default:
        break;
    }
  }
  remove_help_line();
  w4deactivate(window);
  w4close(window);
  return result;
}

// The help number of the current get, menu item or window; 0 none.
int CurrentTopic(Window4* w) {
  if (w->firstGet >= 0 && Desktop.getPool && Desktop.curGet >= 0) {
    for (int h = w->firstGet; h >= 0;) {
      Get4* g = static_cast<Get4*>(SlotPoolRecord(Desktop.getPool, h));
      if (!g) break;
      if (h == Desktop.curGet) {
        if (g->helpNumber >= 1) return g->helpNumber;
        break;
      }
      h = g->next;
    }
  }
  Environment* env = EnvCurrent();
  if (w->firstItem >= 0 && env) {
    MenuItem4* item = n4record(env->helpContext);
    if (item && item->window == Desktop.curHandle && item->rightsNumber >= 1) return item->rightsNumber;
  }
  return w->helpTopic > 0 ? w->helpTopic : 0;
}

}  // namespace

int help_key(int32_t, int32_t) {
  Window4* w = Desktop.curWindow;
  if (!w) return 0;
  int topic = CurrentTopic(w);
  if (topic <= 0) return 0;

  Environment* env = EnvCurrent();
  int caretRow = env ? env->caretRow : -1, caretCol = env ? env->caretColumn : -1;
  int saved = Desktop.curHandle;
  w4cursor(-1, -1);

  std::vector<PageEntry> stack{{topic, 0}};
  while (!stack.empty()) {
    int firstLine = stack.back().firstLine;
    int result = ShowTopic(stack.back().topic, &firstLine);
    if (result == SHOW_BACK) {
      stack.pop_back();
    } else if (result > 0) {
      stack.back().firstLine = firstLine;
      stack.push_back({result, 0});
    } else {
      break;
    }
  }

  w4select(saved);
  if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
  return 0;
}
