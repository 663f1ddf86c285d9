// What the system folders window needs from the program's other windows.
#pragma once

namespace belvosta {

class FormSLinks {
 public:
  // Shows the computer information window.
  virtual void ShowComputerInfo() = 0;

 protected:
  ~FormSLinks() = default;
};

}  // namespace belvosta
