// End signals only set the flag the event loop reads; a second one while the
// first is pending ends the process at once. Each case runs in a child
// process, as the handlers stay installed.
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

TEST(EndSignals, FirstSignalIsOnlyNotedSecondEndsAtOnce) {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(sig);
    int status = InChild([sig] {
      PlatWatchEndSignals();
      if (PlatEndRequested() != 0) return 10;
      raise(sig);
      if (PlatEndRequested() != sig) return 11;
      if (PlatWaitForEndSignal(1000) != sig) return 12;
      raise(SIGTERM);
      return 13;   // not reached: the second signal ends the process
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  }
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
