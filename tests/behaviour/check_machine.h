// A fake computer for the component checks: a system folder and a program files folder in
// a real temporary tree, with the component files placed or left out at will.
#pragma once

#include <string>

#include "fake/fixture.h"
#include "platform/shell32.h"
#include "support/temp_tree.h"

namespace checks_test {

class CheckMachineTest : public fake::ProgramTest {
 public:
  CheckMachineTest() {
    systemFolder = tree.AddFolder("WINDOWS/system32");
    programFiles = tree.AddFolder("Program Files");
    fake.system.specialFolders[platform::kCsidlSystem] = systemFolder;
    fake.system.specialFolders[platform::kCsidlProgramFiles] = programFiles;
    fake.ui.snapshot = [this] { return Snapshot(); };
  }

  void AddSystemFile(const std::string& relative) { tree.AddFile("WINDOWS/system32/" + relative); }

  // Every component present; names in the case the installers write them.
  void InstallEverything(bool flash = true, bool explorer = true) {
    if (flash) AddSystemFile("Macromed/Flash/Flash10c.ocx");
    for (const char* file : {"mscomctl.ocx", "RICHTX32.OCX", "MSFLXGRD.OCX", "mshtml.tlb",
                             "STDOLE2.TLB", "shdocvw.dll", "wmp.dll"}) {
      AddSystemFile(file);
    }
    if (explorer) tree.AddFile("Program Files/Internet Explorer/iexplore.exe");
  }

  // What the main window shows: revealed ticks, the list, its count caption.
  std::string Snapshot() {
    auto& w = program->sucher1;
    std::string ticks;
    for (int i = 0; i < 6; ++i) {
      if (!CurrentValues(w.Picture3[i]).visible) ticks += std::to_string(i);
    }
    std::string list;
    for (const std::string& item : w.List1.Items()) list += (list.empty() ? "" : "|") + item;
    return "ticks=" + ticks + " list=" + list + " label7=" + w.Label7.Caption();
  }

  test_support::TempTree tree;
  std::string systemFolder;
  std::string programFiles;
};

inline constexpr const char* kRuntimeSearch =
    "http://www.google.de/search?hl=de&q=vb+runtime+download&meta=&aq=1&oq=vb+runtime+download";
inline constexpr const char* kFlashPage = "http://www.adobe.com/de/flashplayer/";

}  // namespace checks_test
