// The verdict on a measured clock: shown in GHz it is fast enough, in MHz it is not.
#pragma once

#include <string>

namespace belvosta {

struct SpeedVerdict {
  bool fastEnough = false;
  std::string message;  // the verdict box's text
  std::string line;     // the verdict line of Form3
};

// Judges the clock as shown (value and unit, e.g. "2,40 GHz").
SpeedVerdict JudgeSpeed(const std::string& clockText);

}  // namespace belvosta
