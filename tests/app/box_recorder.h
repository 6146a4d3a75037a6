// Records the system boxes that messages fall back on while no screen is
// open, so a test sees which message a routine showed.
#pragma once
#include <string>

#include "env/code_pages.h"
#include "ui/display.h"

class BoxRecorder {
 public:
  BoxRecorder() : previous(DisplayCurrent()), backend(*DisplayHeadless()) {
    backend.infoBox = [](const char*, const char* text) {
      shown += (shown.empty() ? "" : "|") + MazToUtf8Text(text ? text : "");
    };
    shown.clear();
    DisplaySelect(&backend);
  }
  ~BoxRecorder() { DisplaySelect(previous); }
  // The texts of the boxes shown since the last call, joined by "|".
  std::string Take() {
    std::string out = shown;
    shown.clear();
    return out;
  }

 private:
  static inline std::string shown;
  DisplayBackend* previous;
  DisplayBackend backend;
};
