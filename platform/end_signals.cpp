#include "platform/end_signals.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <initializer_list>

namespace {

// A clean end that stands still this long is given up.
constexpr unsigned kStallSeconds = 10;
constexpr int kSignalsToForce = 3;

volatile sig_atomic_t endSignal = 0;
volatile sig_atomic_t signalsSeen = 0;

void OnEndSignal(int sig) {
  signalsSeen = signalsSeen + 1;
  if (signalsSeen >= kSignalsToForce) _exit(128 + sig);   // insisted on: no clean end wanted any more
  if (endSignal) return;                                     // the clean end is under way already
  endSignal = sig;
  alarm(kStallSeconds);
}

void OnStalled(int) {
  if (endSignal) _exit(128 + endSignal);
}

}  // namespace

void PlatWatchEndSignals() {
  struct sigaction action{};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes in progress go on; the event loop's waits are bounded.
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
  action.sa_handler = OnStalled;
  sigaction(SIGALRM, &action, nullptr);
}

int PlatEndRequested() { return endSignal; }

void PlatEndProgress() {
  if (endSignal) alarm(kStallSeconds);
}

int PlatWaitForEndSignal(int milliseconds) {
  const timespec step{0, 10 * 1000 * 1000};
  for (int waited = 0; !endSignal && waited < milliseconds; waited += 10) nanosleep(&step, nullptr);
  return endSignal;
}
