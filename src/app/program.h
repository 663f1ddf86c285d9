// The program: its three windows and its run-wide state, one instance each, and the links
// between the windows. Each window knows the others only through the links interface it
// declares; the program implements them all, so every cross-window action reads here.
#pragma once

#include <string>

#include "checks/main_window_links.h"
#include "checks/sucher1.h"
#include "computer/form3.h"
#include "computer/form3_links.h"
#include "computer/module1.h"
#include "folders/form_s.h"
#include "folders/form_s_links.h"

namespace belvosta {

class Program final : private MainWindowLinks, private FormSLinks, private Form3Links {
 public:
  Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  ::belvosta::Module1 Module1;
  ::belvosta::sucher1 sucher1;
  ::belvosta::FormS FormS;
  ::belvosta::Form3 Form3;

 private:
  // MainWindowLinks
  std::string SystemFolder() override;
  std::string ProgramFilesFolder() override;
  void ShowSystemFolders() override;
  void ShowComputerReport() override;
  // MainWindowLinks and FormSLinks
  void ShowComputerInfo() override;
  // Form3Links
  void RevealSpeedTick() override;
};

}  // namespace belvosta
