// CUPS pointed at a socket nobody listens on, so the print dialog offers the
// file only; the caller's setting comes back when it ends.
#pragma once
#include <cstdlib>
#include <optional>
#include <string>

class NoPrintQueue {
 public:
  void Start(const std::string& dir) {
    const char* cups = std::getenv("CUPS_SERVER");
    if (cups) saved = cups;
    setenv("CUPS_SERVER", (dir + "no-cups.sock").c_str(), 1);
  }
  void Stop() {
    if (saved)
      setenv("CUPS_SERVER", saved->c_str(), 1);
    else
      unsetenv("CUPS_SERVER");
    saved.reset();
  }

 private:
  std::optional<std::string> saved;
};
