#include "quill_base.h"

#include <cstdint>
#include <ctime>

namespace {

// A monotonic clock, so that elapsed times never run backwards.
std::int64_t now_microseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

}  // namespace

void StartTimer(timeval* timer) {
  const std::int64_t micros = now_microseconds();
  timer->tv_sec = static_cast<time_t>(micros / 1000000);
  timer->tv_usec = static_cast<suseconds_t>(micros % 1000000);
}

int ElapsedTime(timeval* timer, int /*unit*/) {
  const std::int64_t start =
      static_cast<std::int64_t>(timer->tv_sec) * 1000000 + timer->tv_usec;
  // Wraps like a 32-bit counter; callers read it as unsigned.
  return static_cast<int>(
      static_cast<std::uint32_t>(now_microseconds() - start));
}
