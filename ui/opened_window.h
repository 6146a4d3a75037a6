// A window open for the length of a scope: defined and activated when made,
// closed with the earlier selection put back when the scope ends.
#pragma once

#include "ui/window4.h"

class OpenedWindow {
 public:
  // `define` makes the window and gives its handle, or -1 when it could not.
  template <class Define>
  explicit OpenedWindow(Define define) : previous(w4select(-1)), handle(define()) {
    if (handle >= 0) w4activate(handle);
  }
  ~OpenedWindow() {
    if (handle >= 0) {
      w4deactivate(handle);
      w4close(handle);
    }
    w4select(previous);
  }
  OpenedWindow(const OpenedWindow&) = delete;
  OpenedWindow& operator=(const OpenedWindow&) = delete;

  const int previous;
  const int handle;
};
