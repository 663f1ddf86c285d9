// The processor: its time-stamp counter and pinning a thread to it.
#include <sched.h>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include <cstring>

#include "platform/posix/system_backend.h"

namespace platform::posix {

std::uint64_t PosixBackend::TimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#else
  return static_cast<std::uint64_t>(MonotonicNanoseconds());
#endif
}

#if defined(__linux__)
std::optional<std::uint64_t> PosixBackend::PinToCurrentProcessor() {
  cpu_set_t before;
  CPU_ZERO(&before);
  if (sched_getaffinity(0, sizeof before, &before) != 0) return std::nullopt;
  const int processor = sched_getcpu();
  if (processor < 0 || processor >= CPU_SETSIZE) return std::nullopt;
  cpu_set_t only;
  CPU_ZERO(&only);
  CPU_SET(processor, &only);
  if (sched_setaffinity(0, sizeof only, &only) != 0) return std::nullopt;
  std::vector<unsigned char> saved(sizeof before);
  std::memcpy(saved.data(), &before, sizeof before);
  const std::uint64_t token = nextPin_++;
  pins_[token] = std::move(saved);
  return token;
}

void PosixBackend::Unpin(std::uint64_t token) {
  auto pin = pins_.find(token);
  if (pin == pins_.end()) return;
  cpu_set_t before;
  std::memcpy(&before, pin->second.data(), sizeof before);
  sched_setaffinity(0, sizeof before, &before);
  pins_.erase(pin);
}
#else
// Threads cannot be bound to a processor here.
std::optional<std::uint64_t> PosixBackend::PinToCurrentProcessor() {
  return std::nullopt;
}
void PosixBackend::Unpin(std::uint64_t) {}
#endif

}  // namespace platform::posix
