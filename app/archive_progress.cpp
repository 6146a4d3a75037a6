// The progress lines of archive runs below the archive form: one line a file,
// its label, name and percentage.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/archive_backup.h"
#include "ui/window4.h"

namespace {

constexpr int NAME_WIDTH = 40;

struct ProgressArea {
  int window = -1;
  int firstRow = 0;
  const char* label = "";
  std::vector<std::string> lines;   // what the area shows, oldest first
};

ProgressArea area;

int AreaHeight() {
  Window4* window = w4record(area.window);
  return window ? window->height - area.firstRow : 0;
}

// Draws the area's lines from its first row, on the window without selecting it for good.
void DrawArea() {
  const int previous = w4select(area.window);
  for (size_t i = 0; i < area.lines.size(); ++i) {
    const int row = area.firstRow + static_cast<int>(i);
    w4repeat(row, 0, ' ', w4width());
    w4(row, 0, area.lines[i].c_str());
  }
  if (previous >= 0) w4select(previous);
}

}  // namespace

void SetArchiveProgressLabel(const char* label) { area.label = label ? label : ""; }

void SetArchiveProgressWindow(int window, int firstRow) {
  area.window = window;
  area.firstRow = firstRow;
  area.lines.clear();
}

void ArchiveProgress(void*, int kind, const char* name, uint32_t done, uint32_t total) {
  const int height = AreaHeight();
  if (height <= 0) return;
  if (kind == 1) {
    // The label at column 1, the name two columns after it.
    std::string line = std::string(" ") + area.label + "  " + std::string(name ? name : "").substr(0, NAME_WIDTH);
    area.lines.push_back(line);
    if (static_cast<int>(area.lines.size()) > height) area.lines.erase(area.lines.begin());
  } else if (kind == 2 && !area.lines.empty()) {
    const unsigned percent = total ? static_cast<unsigned>(static_cast<uint64_t>(done) * 100 / total) : 100;
    char text[8];
    std::snprintf(text, sizeof text, "%3u%%", percent > 999 ? 999 : percent);
    std::string& line = area.lines.back();
    const size_t column = 1 + std::strlen(area.label) + 46;
    if (line.size() < column) line.resize(column, ' ');
    line.replace(column, std::string::npos, text);
  } else {
    return;
  }
  DrawArea();
}
