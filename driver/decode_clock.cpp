#include "driver/decode_clock.h"

#include <cstdint>

#include "quill_base/quill_base.h"

namespace {

// Shared by every decoder object; internal, so it is not exported.
timeval decode_clock;

}  // namespace

void tarnldResetClock() { StartTimer(&decode_clock); }

double tarnldGetClock() {
  // The host's count is unsigned; its int result only carries the bits.
  return static_cast<double>(
      static_cast<std::uint32_t>(ElapsedTime(&decode_clock, 0)));
}
