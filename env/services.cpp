#include "env/services.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "env/code_pages.h"
#include "env/env_state.h"
#include "platform/clock.h"

namespace {

// The digits of a number below `limit`; a negative number gives zeros.
int LastDigits(int number, int limit) { return number < 0 ? 0 : number % limit; }

}  // namespace

char* get_cur_das(int force) {
  static char today[9];
  const EnvState* env = EnvCurrentState();
  if (env && *env->useSystemDate == 'N' && force == 0) {
    std::memcpy(today, env->workingDate, 8);
    today[8] = '\0';
    return today;
  }
  PlatDateTime now;
  PlatNow(&now);
  set_data_str(now.year, now.month, now.day, today);
  return today;
}

void set_dzien_filter(int off, char* buffer, int firstOfMonth) {
  if (off != 0) return;
  std::memcpy(buffer, get_cur_das(0), 8);
  if (firstOfMonth) std::memcpy(buffer + 6, "01", 2);
}

char* set_data_str(int year, int month, int day, char* buffer) {
  // Each number in its own place: a wide one must not push the date past 8 characters.
  std::snprintf(buffer, 9, "%04d%02d%02d", LastDigits(year, 10000), LastDigits(month, 100), LastDigits(day, 100));
  return buffer;
}

int cmp_str(const char* a, const char* b, int n) {
  for (int i = 0; i < n; ++i) {
    const int x = EnvToUpper(a[i]);
    const int y = EnvToUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) break;
  }
  return 0;
}

void DivStrLines(const char* text, int length, const DivStrLine* lines, int count) {
  for (int i = 0; i < count; ++i)
    if (lines[i].width > 0) std::memset(lines[i].buffer, ' ', lines[i].width);

  int used = 0;
  while (used < length && text[used]) ++used;
  while (used > 0 && text[used - 1] == ' ') --used;
  if (used == 0) return;

  // Word by word: each token (one blank or a run of non-blanks) goes where
  // it fits, at the latest on a following line.
  struct Placed {
    int from, size, line, column;
  };
  std::vector<Placed> layout;
  bool fits = true;
  int line = 0, column = 0;
  for (int at = 0; at < used && fits;) {
    int size = 1;
    if (text[at] != ' ')
      while (at + size < used && text[at + size] != ' ') ++size;
    while (line < count && column + size > lines[line].width) {
      ++line;
      column = 0;
    }
    if (line == count) {
      fits = false;
      break;
    }
    layout.push_back({at, size, line, column});
    column += size;
    at += size;
  }
  if (fits) {
    for (const Placed& p : layout) std::memcpy(lines[p.line].buffer + p.column, text + p.from, p.size);
    return;
  }

  // As it is: line after line, words cut where the line ends.
  int at = 0;
  for (int i = 0; i < count && at < used; ++i) {
    if (lines[i].width <= 0) continue;
    const int take = std::min(lines[i].width, used - at);
    std::memcpy(lines[i].buffer, text + at, take);
    at += take;
  }
}

int CountListItems(const char* const* list) {
  if (!list || !list[0]) return 0;
  int n = 0;
  while (list[n + 1]) ++n;
  return n;
}

int print_screen() { return 0; }

void CellFill(uint16_t* cells, int count, int character, int colour) {
  const uint16_t cell = static_cast<uint16_t>(((colour & 0xFF) << 8) | (character & 0xFF));
  for (int i = 0; i < count; ++i) cells[i] = cell;
}
