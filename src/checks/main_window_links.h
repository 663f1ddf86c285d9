// What the main window needs from the program's other windows. The main window knows them
// only through this; the program hands it an implementation.
#pragma once

#include <string>

namespace belvosta {

class MainWindowLinks {
 public:
  // The search roots of the checks, as the system folders window shows them (reading them
  // loads that window, hidden, when it is not loaded).
  virtual std::string SystemFolder() = 0;
  virtual std::string ProgramFilesFolder() = 0;
  // Shows the system folders window.
  virtual void ShowSystemFolders() = 0;
  // Shows the computer information window.
  virtual void ShowComputerInfo() = 0;
  // Shows the computer report once more without showing its window (loading it if needed).
  virtual void ShowComputerReport() = 0;

 protected:
  ~MainWindowLinks() = default;
};

}  // namespace belvosta
