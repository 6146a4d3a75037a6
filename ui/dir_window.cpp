#include "ui/dir_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "env/code_pages.h"
#include "env/paths.h"
#include "platform/dirs.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int ATTR_LINE = 0x1F;
constexpr int ATTR_BRACKET = 0x17;
constexpr int ATTR_DIRECTORY = 0x1E;
constexpr int ATTR_HIGHLIGHT = 0x70;

unsigned char DiskColours[8] = {0x17, 0x1F, 0x17, 0x70, 0, 0, 0, 0};

void FreeNames(DirList* list) {
  if (!list->entries) return;
  for (int i = 0; i < list->count && i < DIR_LIST_MAX; i++) {
    std::free(list->entries[i].name);
    list->entries[i] = DirListEntry{};
  }
  list->count = 0;
}

}  // namespace

int DirListInit(DirList* list) {
  if (!list) return -1;
  list->count = 0;
  list->entries = static_cast<DirListEntry*>(std::calloc(DIR_LIST_MAX, sizeof(DirListEntry)));
  return list->entries ? 0 : -1;
}

void DirListFree(DirList* list) {
  if (!list) return;
  FreeNames(list);
  std::free(list->entries);
  list->entries = nullptr;
}

void DirListRead(DirList* list) {
  if (!list || list->count > 0) return;
  if (!list->entries && DirListInit(list) != 0) return;
  std::string dir = EnvToDiskPath(list->path);
  std::vector<PlatDirEntry> found;
  if (dir.empty() || PlatListDir(dir.c_str(), "*", &found) != PLAT_OK) return;

  struct Named {
    std::string name;
    uint32_t attributes;
  };
  std::vector<Named> entries;
  for (const PlatDirEntry& e : found) {
    if (static_cast<int>(entries.size()) >= DIR_LIST_MAX) break;
    if (e.name.empty() || e.name[0] == '.') continue;   // hidden on this system
    entries.push_back({Utf8ToMazText(e.name.c_str()), e.isDirectory ? DIR_ATTR_DIRECTORY : DIR_ATTR_ARCHIVE});
  }
  auto files = std::stable_partition(entries.begin(), entries.end(),
                                     [](const Named& n) { return n.attributes & DIR_ATTR_DIRECTORY; });
  std::sort(files, entries.end(), [](const Named& a, const Named& b) {
    return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;   // unsigned bytes
  });
  for (const Named& n : entries) {
    char* copy = static_cast<char*>(std::malloc(n.name.size() + 1));
    if (!copy) break;
    std::memcpy(copy, n.name.c_str(), n.name.size() + 1);
    list->entries[list->count++] = {copy, n.attributes};
  }
  list->current = std::clamp(list->current, 0, std::max(list->count - 1, 0));
}

void DirListDraw(DirList* list, int row, int col, int hasCursor) {
  if (!list) return;
  DirListRead(list);
  if (list->lines <= 0 || list->width <= 0) return;
  list->highlight = std::clamp(list->highlight, 0, list->lines - 1);
  int first = list->current - list->highlight;
  if (first < 0) {
    list->highlight = list->current;
    first = 0;
  }
  std::string blanks(static_cast<size_t>(list->width), ' ');
  for (int line = 0; line < list->lines; line++) {
    int r = row + line;
    w4num_att(r, col, blanks.c_str(), list->width, ATTR_LINE);
    int e = first + line;
    if (e >= list->count) continue;
    const DirListEntry& entry = list->entries[e];
    bool lit = hasCursor && line == list->highlight;
    int len = static_cast<int>(std::strlen(entry.name));
    if (entry.attributes & DIR_ATTR_DIRECTORY) {
      int n = std::min(len, list->width - 2);
      w4num_att(r, col, "[", 1, ATTR_BRACKET);
      w4num_att(r, col + 1, entry.name, n, lit ? ATTR_HIGHLIGHT : ATTR_DIRECTORY);
      w4num_att(r, col + 1 + n, "]", 1, ATTR_BRACKET);
    } else {
      w4num_att(r, col, entry.name, std::min(len, list->width), lit ? ATTR_HIGHLIGHT : ATTR_LINE);
    }
  }
}

int DirListKey(DirList* list, int row, int col, int key) {
  if (!list) return 0;
  int last = std::max(list->count - 1, 0);
  int step = std::max(list->lines - 1, 1);
  switch (key) {
    case KEY_UP:
      if (list->current > 0) {
        list->current--;
        if (list->highlight > 0) list->highlight--;   // else the list scrolls
      }
      break;
    case KEY_DOWN:
      if (list->current < last) {
        list->current++;
        if (list->highlight < list->lines - 1) list->highlight++;
      }
      break;
    case KEY_PGUP:
      list->current = std::max(list->current - step, 0);
      break;
    case KEY_PGDN:
      list->current = std::min(list->current + step, last);
      break;
    default:
      return 0;
  }
  DirListDraw(list, row, col, 1);
  return 1;
}

int DefineDiskWindow(int row, int col, int height, int width, const char* title, void* wigets, void* formData) {
  int h = DefineWindow(row, col, height, width, 0, 10, 14, 6, 51, 0, nullptr);
  if (h < 0) return -1;
  w4popup();
  w4attribute(0x1F);
  w4border(kStdFrame, 0x1E);
  if (title) w4title(0, -1, title, 0xE1);
  Window4* w = w4record(h);
  w->colourSet = DiskColours;
  w->wigets = wigets;
  w->formData = formData;
  return h;
}
