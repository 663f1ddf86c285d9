// The processor's time-stamp counter.
#pragma once

#include <cstdint>

#include "platform/operations.h"

namespace platform {

// Keeps the calling thread on the processor it runs on for the scope's life, so that two
// counter readings come from the same processor. Does nothing where that is not possible.
class SingleProcessorScope {
 public:
  SingleProcessorScope();
  ~SingleProcessorScope();
  SingleProcessorScope(const SingleProcessorScope&) = delete;
  SingleProcessorScope& operator=(const SingleProcessorScope&) = delete;

 private:
  std::uint64_t saved_ = 0;
  bool pinned_ = false;
};

// The operations themselves, described in operations.h.
BELVOSTA_CPU_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)

}  // namespace platform
