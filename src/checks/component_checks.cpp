// The five component checks. Each passing check calls the next one, so a click on the
// first runs the whole chain as nested calls: Flash Player, runtime files, service pack,
// Internet Explorer, Media Player.
#include <array>
#include <string>
#include <vector>

#include "checks/component_check.h"
#include "checks/component_search.h"
#include "checks/pages.h"
#include "checks/sucher1.h"

namespace belvosta {
namespace {

using platform::vbYes;
using platform::vbYesNoCancel;

// The folder of a check's root, as the system folders window shows it.
std::string RootFolderOf(MainWindowLinks& links, SearchRoot root) {
  return root == SearchRoot::ProgramFiles ? links.ProgramFilesFolder() : links.SystemFolder();
}

}  // namespace

const ComponentCheck kFlashPlayer{
    .name = "Flash Player",
    .files = {"Flash9g.ocx", "Flash10a.ocx", "Flash10b.ocx", "Flash10c.ocx", "Flash10d.ocx",
              "Flash10e.ocx", "Flash10f.ocx", "Flash10g.ocx", "Flash10h.ocx", "Flash11j.ocx"},
    .anyFileSuffices = true,
    .failTitle = "Achtung: Flash Player ist nicht installiert! Wichtig!",
    .failText = "Bitte zuerst den Flash Player von Adobe herunterladen ?",
    .okText = "Flash Player ist installiert: OK!"};

const ComponentCheck kRuntimeFiles{
    .name = "Visual-Basic Runtime-Dateien",
    .files = {"MSCOMCTL.OCX", "RICHTX32.OCX", "MSFLXGRD.OCX"},
    .cover = 1,
    .failTitle =
        "Achtung: nicht alle erforderliche Aktiv-X Steuerelement (OCX-Dateien)sind "
        "installiert! Wichtig!",
    .failText =
        "Bitte zuerst die Visual-Basic Runtime-Dateien herunterladen! Wollen Sie bei "
        "Googele suchen?",
    .query = kRuntimeQuery,
    .okText = "Die Visual-Basic Runtime-Dateien sind: OK!",
    .countBox = true};

const ComponentCheck kServicePackFiles{
    .name = "Windows Service-Pack Dateien",
    .files = {"MSHTML.TLB", "stdole2.tlb", "SHDOCVW.DLL"},
    .cover = 2,
    .failTitle = "Achtung: Nicht alle erforderliche Dateien sind installiert! Wichtig!",
    .failText =
        "Achtung: Fehlende Dateien, bitte installieren! Wollen Sie bei Googele suchen? "
        "Windows Service Pack!",
    .query = kServicePackQuery,
    .okText = "Windows Service-Pack Dateien: OK!"};

const ComponentCheck kInternetExplorer{
    .name = "Internet-Explorer",
    .files = {"IEXPLORE.EXE"},
    .root = SearchRoot::ProgramFiles,
    .missingEntry = "Internet-Explorer",
    .cover = 3,
    .failTitle = "Achtung: Der Web-Browser Windows-Internet-Explorer ab 6.0, bitte installieren!",
    .failText = "Achtung: Wollen Sie bei Googele suchen? Windows-Internet-Explorer?",
    .query = kExplorerQuery,
    .okText = "Internet-Explorer ist: OK!"};

const ComponentCheck kMediaPlayer{
    .name = "Media Player Steuerelement",
    .files = {"wmp.dll"},
    .cover = 4,
    .failTitle = "Achtung: Einen Media Player, bitte installieren!",
    .failText = "Wollen Sie bei Googele suchen? Windows Media Player?",
    .query = kMediaPlayerQuery,
    .okText = "Media Player Steuerelement ist: OK!",
    .revealOnPass = false};

const std::array<const ComponentCheck*, 5> kComponentChain = {
    &kFlashPlayer, &kRuntimeFiles, &kServicePackFiles, &kInternetExplorer, &kMediaPlayer};

bool sucher1::RunListedCheck(const ComponentCheck& check) {
  List1.SetListIndex(0);
  Command10_Click();
  SearchComponentFiles(
      check, [this](SearchRoot root) { return RootFolderOf(links_, root); },
      [&](std::size_t, std::string_view file, std::string path) {
        Text1.SetText(std::move(path));
        if (Text1.Text().empty()) {
          Text3.SetText(std::string(check.missingEntry.empty() ? file : check.missingEntry));
        }
        Command5_Click();
      });
  if (check.countBox) Label9.SetCaption(std::to_string(List1.ListCount()));

  // Label9 holds "", "0" or a count of at least 1: compared as text, only a count fails.
  if (Label9.Caption() > "0") {
    if (check.countBox) platform::MsgBox(std::to_string(List1.ListCount()) + " fehlende Datei/en");
    if (platform::MsgBox(check.failText, vbYesNoCancel, check.failTitle) == vbYes) {
      OpenPage(SearchPage(check.query));
    }
    return false;
  }
  if (check.revealOnPass) Picture3[static_cast<std::size_t>(check.cover)].SetVisible(false);
  platform::MsgBox(check.okText);
  return true;
}

void sucher1::flahssucher_Click() {
  SetMousePointer(platform::MousePointer::Hourglass);
  // The player counts as installed only when one of this check's own searches finds it.
  Text3S.SetText("");
  Textleer.SetText("");
  SearchComponentFiles(
      kFlashPlayer, [this](SearchRoot root) { return RootFolderOf(links_, root); },
      [this](std::size_t i, std::string_view, std::string path) {
        Text3S.SetText(std::move(path));
        // Let the window repaint and blink between the long searches.
        if (i == 0 || i == 3 || i == 6) Pause(0.1f);
      });
  Pause(0.5f);

  if (Textleer.Text().empty()) {
    if (platform::MsgBox(kFlashPlayer.failText, vbYesNoCancel, kFlashPlayer.failTitle) == vbYes) {
      OpenPage(kFlashPlayerPage);
    }
  } else {
    Picture3[0].SetVisible(false);
    platform::MsgBox(kFlashPlayer.okText);
    Command2_Click();
  }
  SetMousePointer(platform::MousePointer::Default);
}

void sucher1::Command2_Click() {
  Picture1.SetVisible(true);
  if (RunListedCheck(kRuntimeFiles)) Command6_Click();
  Label9.SetCaption("");
  Picture1.SetVisible(false);
}

void sucher1::Command6_Click() {
  if (RunListedCheck(kServicePackFiles)) Command9_Click();
}

void sucher1::Command9_Click() {
  // The Media Player check runs whether or not Internet Explorer is there.
  RunListedCheck(kInternetExplorer);
  Command5_Click();
  Command15_Click();
}

void sucher1::Command15_Click() {
  RunListedCheck(kMediaPlayer);
  EndOfChain();
}

}  // namespace belvosta
