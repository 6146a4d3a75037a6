// Screens taken while the program waits for a key: a test binds F9 to
// TakeShot and puts {F9} into its key script where it wants a look.
#pragma once
#include <cstdint>
#include <string>

#include "env/code_pages.h"
#include "ui/desktop.h"

// Every screen taken so far, row by row in UTF-8.
inline std::string seen;

inline int TakeShot(int32_t, int32_t) {
  for (int row = 0; row < Desktop.rows; row++) {
    std::string bytes;
    for (int col = 0; col < Desktop.cols; col++) {
      int c = Desktop.cells[row * Desktop.cols + col] & 0xFF;
      bytes += static_cast<char>(c ? c : ' ');
    }
    seen += MazToUtf8Text(bytes.c_str()) + "\n";
  }
  return 0;
}
