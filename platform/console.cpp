#include "platform/console.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

namespace {

std::string pending;        // read from standard input, not yet taken
bool inputEnded = false;
volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

// Reads what standard input has; waits for it only when `wait` is set. False
// when a Ctrl+C ended the wait.
bool Fill(bool wait) {
  if (inputEnded) return true;
  if (!wait) {
    pollfd p{0, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return true;
  }
  char buffer[4096];
  ssize_t n;
  do {
    n = read(0, buffer, sizeof buffer);
  } while (n < 0 && errno == EINTR && !interrupted);
  if (n < 0 && errno == EINTR) return false;
  if (n <= 0) {
    inputEnded = true;
    return true;
  }
  pending.append(buffer, static_cast<size_t>(n));
  return true;
}

}  // namespace

bool PlatConsoleReadLine(std::string* line) {
  line->clear();
  for (;;) {
    size_t end = pending.find('\n');
    if (end != std::string::npos) {
      *line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line->empty() && line->back() == '\r') line->pop_back();
      return true;
    }
    if (inputEnded) {
      if (pending.empty()) return false;
      *line = pending;
      pending.clear();
      return true;
    }
    if (!Fill(true)) {
      interrupted = 0;   // taken here: the Ctrl+C answered this line
      return false;
    }
  }
}

int PlatConsolePeekByte() {
  if (pending.empty()) Fill(false);
  if (!pending.empty()) return static_cast<unsigned char>(pending[0]);
  return inputEnded ? -2 : -1;
}

void PlatConsoleCatchInterrupt() {
  struct sigaction action{};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

bool PlatConsoleTakeInterrupt() {
  if (!interrupted) return false;
  interrupted = 0;
  return true;
}
