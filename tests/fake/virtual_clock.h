// The one clock of the fake platform: timers, pauses and counters all read it, and only
// the test (or a fake event loop pass) moves it forward.
#pragma once

#include <cstdint>

namespace fake {

struct VirtualClock {
  std::int64_t nowMs = 0;
};

}  // namespace fake
