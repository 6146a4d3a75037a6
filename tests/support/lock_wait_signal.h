// The handshake of the two-workstation tests: a child process holding a lock
// waits until the test's own workstation has found that lock taken (its first
// wait between lock tries, or the notice of waiting), not a fixed while.
#pragma once
#include <poll.h>
#include <unistd.h>

#include "platform/screen_hook.h"

struct LockWaitSignal {
  const ScreenHook* saved = nullptr;
  ScreenHook hook{};
  int fd = -1;
};
inline LockWaitSignal lockWaitSignal;

inline void SendLockWaitSignal() {
  if (lockWaitSignal.fd < 0) return;
  char byte = 1;
  if (write(lockWaitSignal.fd, &byte, 1) != 1) {}
  close(lockWaitSignal.fd);
  lockWaitSignal.fd = -1;
}

inline const ScreenHook* HookOrDefault(bool has) { return has ? lockWaitSignal.saved : ScreenHookDefault(); }

// From now on the current hook's first lock wait writes a byte to `fd` (the
// write end of a pipe to the child), which it then closes.
inline void SignalAtFirstLockWait(int fd) {
  lockWaitSignal.saved = ScreenHookGet();
  lockWaitSignal.hook = *lockWaitSignal.saved;
  lockWaitSignal.hook.noticeOn = [](const char* title, const char* text) {
    HookOrDefault(lockWaitSignal.saved->noticeOn != nullptr)->noticeOn(title, text);
    SendLockWaitSignal();
  };
  lockWaitSignal.hook.waitMs = [](int milliseconds) {
    SendLockWaitSignal();
    HookOrDefault(lockWaitSignal.saved->waitMs != nullptr)->waitMs(milliseconds);
  };
  lockWaitSignal.fd = fd;
  ScreenHookSet(&lockWaitSignal.hook);
}

// Closes the pipe if no wait came, and puts the hook back unless the test has
// since set one of its own.
inline void StopLockWaitSignal() {
  if (lockWaitSignal.fd >= 0) close(lockWaitSignal.fd);
  lockWaitSignal.fd = -1;
  if (ScreenHookGet() == &lockWaitSignal.hook) ScreenHookSet(lockWaitSignal.saved);
  lockWaitSignal.saved = nullptr;
}

// The child's side: waits for the byte (or the pipe's close) on `fd`, at most
// 10 s when the test never asks for the lock.
inline void AwaitLockWait(int fd) {
  pollfd waiting{fd, POLLIN, 0};
  poll(&waiting, 1, 10 * 1000);
}
