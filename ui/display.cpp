#include "ui/display.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
DisplayBackend* current = nullptr;
}

DisplayBackend* DisplayCurrent() {
  if (!current) {
    const char* name = std::getenv("ZELKIT_DISPLAY");
    if (name && std::strcmp(name, "headless") == 0) {
      current = DisplayHeadless();
    } else {
      if (name && *name && std::strcmp(name, "sdl") != 0)
        std::fprintf(stderr, "ZELKIT_DISPLAY=%s is not known (sdl, headless); using sdl\n", name);
      current = DisplaySdl();
    }
  }
  return current;
}

void DisplaySelect(DisplayBackend* backend) { current = backend; }
