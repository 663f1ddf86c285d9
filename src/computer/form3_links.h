// What the computer information window needs from the program's other windows.
#pragma once

namespace belvosta {

class Form3Links {
 public:
  // Uncovers the tick beside the speed-test button of the main window.
  virtual void RevealSpeedTick() = 0;

 protected:
  ~Form3Links() = default;
};

}  // namespace belvosta
