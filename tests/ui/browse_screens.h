// Screen shots of a running browse: F10 in a key script (a global hot key,
// swallowed by the key wait) copies the grid, and readers of the list rows,
// the highlighted row and the record window.
#pragma once
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"

struct ScreenShot {
  int rows = 0, cols = 0;
  std::vector<uint16_t> cells;
  int Char(int r, int c) const { return cells[static_cast<size_t>(r * cols + c)] & 0xFF; }
  int Attr(int r, int c) const { return cells[static_cast<size_t>(r * cols + c)] >> 8; }
  std::string Row(int r) const {
    std::string bytes;
    for (int c = 0; c < cols; c++) bytes += static_cast<char>(Char(r, c) ? Char(r, c) : ' ');
    return MazToUtf8Text(bytes.c_str());
  }
};

// The list of a browse on a 30-row grid with a record window of 3 lines:
// 18 rows from screen row 5.
struct ListView {
  std::vector<std::string> codes;   // the "Knn" code on each row, "" when none
  int highlighted = -1;
};

inline std::vector<ScreenShot> shots;

inline int TakeShot(int32_t, int32_t) {
  ScreenShot s;
  s.rows = Desktop.rows;
  s.cols = Desktop.cols;
  s.cells.assign(Desktop.cells, Desktop.cells + static_cast<size_t>(s.rows) * s.cols);
  shots.push_back(s);
  return 0;
}
inline void TakeShotOnTimer(int32_t) { TakeShot(0, 0); }

class ScreenShots {
 protected:
  static constexpr int kListTop = 5, kListRows = 18, kRecordRow = 24;

  void InstallShots() {
    shots.clear();
    g4set_key_to(KEY_F10, TakeShot);
  }
  void RemoveShots() {
    g4set_key_to(KEY_F10, nullptr);
    shots.clear();
  }
  void ClearShots() { shots.clear(); }

  static std::string CodeIn(const std::string& row) {
    static const std::regex code("K[0-9][0-9]");
    std::smatch m;
    return std::regex_search(row, m, code) ? m.str() : "";
  }
  static ListView ListOf(const ScreenShot& s, int top = kListTop, int rows = kListRows) {
    ListView view;
    for (int i = 0; i < rows; i++) {
      view.codes.push_back(CodeIn(s.Row(top + i)));
      for (int c = 0; c < s.cols; c++)
        if (s.Attr(top + i, c) == 0x8F) {
          view.highlighted = i;
          break;
        }
    }
    return view;
  }
  static std::string RecordCode(const ScreenShot& s) { return CodeIn(s.Row(kRecordRow)); }
  static bool ScreenHas(const ScreenShot& s, const std::string& utf8) {
    for (int r = 0; r < s.rows; r++)
      if (s.Row(r).find(utf8) != std::string::npos) return true;
    return false;
  }
};
