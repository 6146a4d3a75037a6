// Date, time, monotonic milliseconds and waits. Tests fix the clock: a fixed
// clock never sleeps, its waits move the fixed time forward instead, so retry
// loops (the one-second lock retry) run at once.
#pragma once
#include <cstdint>

struct PlatDateTime {
  int year, month, day;           // 1..12, 1..31
  int hour, minute, second, millisecond;
  int weekday;                    // 0 = Sunday
};

void PlatNow(PlatDateTime* out);        // local time
int64_t PlatMonotonicMs();
void PlatWaitMs(int milliseconds);      // a plain wait; callers that must stay responsive poll keys between short waits

// Test control: fix the wall clock at `at` (monotonic time starts at 0); NULL releases it.
void PlatClockFix(const PlatDateTime* at);
bool PlatClockIsFixed();
void PlatClockAdvanceMs(int64_t milliseconds);
