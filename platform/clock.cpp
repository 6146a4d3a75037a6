#include "platform/clock.h"

#include <ctime>
#include <mutex>
#include <thread>

namespace {

std::mutex clockMutex;
bool fixedClock = false;
int64_t fixedStartMs = 0;        // the fixed moment in calendar milliseconds (no time zone)
int64_t fixedElapsedMs = 0;      // monotonic time of the fixed clock

void FromParts(const tm& parts, int milliseconds, PlatDateTime* out) {
  out->year = parts.tm_year + 1900;
  out->month = parts.tm_mon + 1;
  out->day = parts.tm_mday;
  out->hour = parts.tm_hour;
  out->minute = parts.tm_min;
  out->second = parts.tm_sec;
  out->millisecond = milliseconds;
  out->weekday = parts.tm_wday;
}

void FromCalendarSeconds(int64_t seconds, int milliseconds, PlatDateTime* out) {
  time_t t = static_cast<time_t>(seconds);
  tm parts{};
  gmtime_r(&t, &parts);
  FromParts(parts, milliseconds, out);
}

}  // namespace

void PlatNow(PlatDateTime* out) {
  {
    std::lock_guard<std::mutex> guard(clockMutex);
    if (fixedClock) {
      // Calendar arithmetic in UTC, so a fixed clock never meets a DST gap.
      int64_t ms = fixedStartMs + fixedElapsedMs;
      FromCalendarSeconds(ms / 1000, static_cast<int>(ms % 1000), out);
      return;
    }
  }
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts{};
  localtime_r(&now.tv_sec, &parts);
  FromParts(parts, static_cast<int>(now.tv_nsec / 1000000), out);
}

int64_t PlatMonotonicMs() {
  {
    std::lock_guard<std::mutex> guard(clockMutex);
    if (fixedClock) return fixedElapsedMs;
  }
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void PlatWaitMs(int milliseconds) {
  if (milliseconds <= 0) return;
  {
    std::lock_guard<std::mutex> guard(clockMutex);
    if (fixedClock) {
      fixedElapsedMs += milliseconds;
      return;
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void PlatClockFix(const PlatDateTime* at) {
  std::lock_guard<std::mutex> guard(clockMutex);
  if (!at) {
    fixedClock = false;
    return;
  }
  tm parts{};
  parts.tm_year = at->year - 1900;
  parts.tm_mon = at->month - 1;
  parts.tm_mday = at->day;
  parts.tm_hour = at->hour;
  parts.tm_min = at->minute;
  parts.tm_sec = at->second;
  fixedStartMs = static_cast<int64_t>(timegm(&parts)) * 1000 + (at->millisecond > 0 ? at->millisecond : 0);
  fixedElapsedMs = 0;
  fixedClock = true;
}

bool PlatClockIsFixed() {
  std::lock_guard<std::mutex> guard(clockMutex);
  return fixedClock;
}

void PlatClockAdvanceMs(int64_t milliseconds) {
  std::lock_guard<std::mutex> guard(clockMutex);
  if (fixedClock && milliseconds > 0) fixedElapsedMs += milliseconds;
}
