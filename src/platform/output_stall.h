// How long the command line's output waits for a stream that takes nothing (a full pipe
// whose reader is slow or gone): one bound for the whole run. The first wait starts it;
// every later wait, on either stream, gets only what is left of it, and a stream whose
// wait ran out is given up at once from then on. So a reader that stalls costs a run at
// most the bound in all, however many lines were still to be written.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace platform {

inline constexpr std::uint64_t kOutputStallMs = 10000;

enum class OutputStream { Out, Error };

class StallBound {
 public:
  explicit StallBound(std::uint64_t boundMs = kOutputStallMs) : boundMs_(boundMs) {}

  // How long a write to the stream may wait from nowMs (a steady clock's milliseconds),
  // in milliseconds; 0: not at all, the text is lost.
  std::uint64_t WaitLeft(OutputStream stream, std::uint64_t nowMs) {
    if (GivenUp(stream)) return 0;
    if (!end_) end_ = nowMs + boundMs_;
    return *end_ > nowMs ? *end_ - nowMs : 0;
  }
  // The stream took nothing while it was waited for: nothing more is written to it.
  void GiveUp(OutputStream stream) { givenUp_[Index(stream)] = true; }
  bool GivenUp(OutputStream stream) const { return givenUp_[Index(stream)]; }

 private:
  static std::size_t Index(OutputStream stream) { return stream == OutputStream::Out ? 0 : 1; }

  std::uint64_t boundMs_;
  std::optional<std::uint64_t> end_;  // set by the first wait
  std::array<bool, 2> givenUp_{};
};

}  // namespace platform
