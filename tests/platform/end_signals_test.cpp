// End signals only set the flag the event loop reads; a second one while the
// first is being handled (a session's logout sends two) is noted and ignored,
// a third ends the process at once, and so does a clean end that stands still.
// Each case runs in a child process, as the handlers stay installed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/end_signals.h"

namespace {

// Runs `body` in a child; its wait status.
template <typename Body>
int InChild(Body body) {
  pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(EndSignals, FirstSignalIsNotedSecondIgnoredThirdEndsAtOnce) {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(sig);
    int status = InChild([sig] {
      PlatWatchEndSignals();
      if (PlatEndRequested() != 0) return 10;
      raise(sig);
      if (PlatEndRequested() != sig) return 11;
      if (PlatWaitForEndSignal(1000) != sig) return 12;
      raise(SIGHUP);
      if (PlatEndRequested() != sig) return 14;   // the first one's clean end goes on
      raise(SIGTERM);
      return 13;   // not reached: the third signal ends the process
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  }
}

// A clean end that makes no progress is given up with the first signal's
// status; one that keeps reporting progress runs past the limit to its end.
TEST(EndSignals, StalledEndIsForcedProgressingEndIsNot) {
  pid_t stalled = fork();
  if (stalled == 0) {
    PlatWatchEndSignals();
    raise(SIGHUP);
    for (int i = 0; i < 60; i++) sleep(1);
    _exit(13);
  }
  pid_t progressing = fork();
  if (progressing == 0) {
    PlatWatchEndSignals();
    raise(SIGTERM);
    for (int i = 0; i < 24; i++) {
      usleep(500 * 1000);
      PlatEndProgress();
    }
    _exit(0);
  }
  int status = 0;
  waitpid(stalled, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGHUP);
  waitpid(progressing, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(EndSignals, WaitEndsWhenTheSignalComesOrTheTimeIsUp) {
  int status = InChild([] {
    PlatWatchEndSignals();
    if (PlatWaitForEndSignal(30) != 0) return 10;
    pid_t parent = getpid();
    if (fork() == 0) {
      usleep(50 * 1000);
      kill(parent, SIGHUP);
      _exit(0);
    }
    return PlatWaitForEndSignal(60000) == SIGHUP ? 0 : 11;
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
