#include "platform/end_signals.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <initializer_list>

namespace {

volatile sig_atomic_t endSignal = 0;

void OnEndSignal(int sig) {
  if (endSignal) _exit(128 + sig);   // asked twice: no clean end wanted any more
  endSignal = sig;
}

}  // namespace

void PlatWatchEndSignals() {
  struct sigaction action{};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes in progress go on; the event loop's waits are bounded.
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
}

int PlatEndRequested() { return endSignal; }

int PlatWaitForEndSignal(int milliseconds) {
  const timespec step{0, 10 * 1000 * 1000};
  for (int waited = 0; !endSignal && waited < milliseconds; waited += 10) nanosleep(&step, nullptr);
  return endSignal;
}
