// F9 in a key script keeps the grid as it stands, so that a window which
// restores the screen when it closes is read while it is open.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "ui/desktop.h"

inline std::vector<uint16_t> shot;
inline int KeepShot(int32_t, int32_t) {
  shot.assign(Desktop.cells, Desktop.cells + static_cast<size_t>(Desktop.rows) * Desktop.cols);
  return 0;
}
inline int ShotChar(int row, int col) { return shot.at(static_cast<size_t>(row * Desktop.cols + col)) & 0xFF; }
inline int ShotAttr(int row, int col) { return shot.at(static_cast<size_t>(row * Desktop.cols + col)) >> 8; }
inline std::string ShotCells(int row, int col, int count) {
  std::string bytes;
  for (int c = col; c < col + count && c < Desktop.cols; c++)
    bytes += static_cast<char>(ShotChar(row, c) ? ShotChar(row, c) : ' ');
  return MazToUtf8Text(bytes.c_str());
}
