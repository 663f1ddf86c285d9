// The component checks. Each passing check calls the next one, so a click on the
// first runs the whole chain as nested calls: Flash Player, runtime files, service pack,
// Internet Explorer, Media Player. The chain's first check walks each folder once for all
// of them; the later ones are judged from what that walk found.
#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "checks/component_check.h"
#include "checks/component_search.h"
#include "checks/pages.h"
#include "checks/sucher1.h"

namespace belvosta {
namespace {

using ui::vbYes;
using ui::vbYesNoCancel;

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
    .row = CheckRow::FlashPlayer,
    .failTitle = "Achtung: Flash Player ist nicht installiert! Wichtig!",
    .failText = "Bitte zuerst den Flash Player von Adobe herunterladen ?",
    .okText = "Flash Player ist installiert: OK!"};

const ComponentCheck kRuntimeFiles{
    .name = "Visual-Basic Runtime-Dateien",
    .files = {"MSCOMCTL.OCX", "RICHTX32.OCX", "MSFLXGRD.OCX"},
    .row = CheckRow::RuntimeFiles,
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
    .row = CheckRow::ServicePackFiles,
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
    .row = CheckRow::InternetExplorer,
    .failTitle = "Achtung: Der Web-Browser Windows-Internet-Explorer ab 6.0, bitte installieren!",
    .failText = "Achtung: Wollen Sie bei Googele suchen? Windows-Internet-Explorer?",
    .query = kExplorerQuery,
    .okText = "Internet-Explorer ist: OK!"};

const ComponentCheck kMediaPlayer{
    .name = "Media Player Steuerelement",
    .files = {"wmp.dll"},
    .row = CheckRow::MediaPlayer,
    .failTitle = "Achtung: Einen Media Player, bitte installieren!",
    .failText = "Wollen Sie bei Googele suchen? Windows Media Player?",
    .query = kMediaPlayerQuery,
    .okText = "Media Player Steuerelement ist: OK!",
    .revealOnPass = false};

const std::array<const ComponentCheck*, kComponentCount> kComponentChain = {
    &kFlashPlayer, &kRuntimeFiles, &kServicePackFiles, &kInternetExplorer, &kMediaPlayer};

ChecksFound sucher1::SearchChainFrom(const ComponentCheck& first) {
  const auto at = std::find(kComponentChain.begin(), kComponentChain.end(), &first);
  return SearchChecks(std::span<const ComponentCheck* const>(at, kComponentChain.end()),
                      [this](SearchRoot root) { return RootFolderOf(links_, root); });
}

void sucher1::BeginListedCheck() {
  List1.SetListIndex(0);
  Command10_Click();
}

bool sucher1::RunListedCheck(const ComponentCheck& check, const ChecksFound& chain) {
  BeginListedCheck();
  // The chain's walk serves the check while the system folders window names the folder that
  // was walked; a folder named anew since (the window loaded again) is searched anew.
  const std::string folder = RootFolderOf(links_, check.root);
  const ComponentCheck* const alone[] = {&check};
  std::optional<ChecksFound> own;
  if (folder != chain.Of(check).folder) {
    own.emplace(SearchChecks(alone, [&folder](SearchRoot) { return folder; }));
  }
  const CheckFiles& files = (own ? *own : chain).Of(check);
  for (std::size_t i = 0; i < check.files.size(); ++i) {
    Text1.SetText(files.paths[i]);
    if (Text1.Text().empty()) {
      Text3.SetText(std::string(check.missingEntry.empty() ? check.files[i] : check.missingEntry));
    }
    Command5_Click();
  }
  if (check.countBox) Label9.SetCaption(std::to_string(List1.ListCount()));

  // Label9 holds "", "0" or a count of at least 1: compared as text, only a count fails.
  if (Label9.Caption() > "0") {
    if (check.countBox) ui::MsgBox(std::to_string(List1.ListCount()) + " fehlende Datei/en");
    if (ui::MsgBox(check.failText, vbYesNoCancel, check.failTitle) == vbYes) {
      OpenPage(SearchPage(check.query));
    }
    return false;
  }
  if (check.revealOnPass) CoverOf(check.row).SetVisible(false);
  ui::MsgBox(check.okText);
  return true;
}

void sucher1::flahssucher_Click() {
  SetMousePointer(ui::MousePointer::Hourglass);
  // The player counts as installed only when one of this check's own searches finds it.
  Text3S.SetText("");
  Textleer.SetText("");
  const ChecksFound chain = SearchChainFrom(kFlashPlayer);
  const CheckFiles& files = chain.Of(kFlashPlayer);
  for (std::size_t i = 0; i < files.paths.size(); ++i) {
    Text3S.SetText(files.paths[i]);
    // Let the window repaint and blink between the long searches.
    if (i == 0 || i == 3 || i == 6) Pause(0.1f);
  }
  Pause(0.5f);

  if (Textleer.Text().empty()) {
    if (ui::MsgBox(kFlashPlayer.failText, vbYesNoCancel, kFlashPlayer.failTitle) == vbYes) {
      OpenPage(kFlashPlayerPage);
    }
  } else {
    CoverOf(kFlashPlayer.row).SetVisible(false);
    ui::MsgBox(kFlashPlayer.okText);
    RuntimeFilesStep(chain);
  }
  SetMousePointer(ui::MousePointer::Default);
}

// Each button begins a chain of its own: the list emptied as its check begins, then the
// walks, then the check.

void sucher1::Command2_Click() {
  Picture1.SetVisible(true);
  BeginListedCheck();
  RuntimeFilesStep(SearchChainFrom(kRuntimeFiles));
}

void sucher1::Command6_Click() {
  BeginListedCheck();
  ServicePackStep(SearchChainFrom(kServicePackFiles));
}

void sucher1::Command9_Click() {
  BeginListedCheck();
  InternetExplorerStep(SearchChainFrom(kInternetExplorer));
}

void sucher1::Command15_Click() {
  BeginListedCheck();
  MediaPlayerStep(SearchChainFrom(kMediaPlayer));
}

void sucher1::RuntimeFilesStep(const ChecksFound& chain) {
  Picture1.SetVisible(true);
  if (RunListedCheck(kRuntimeFiles, chain)) ServicePackStep(chain);
  Label9.SetCaption("");
  Picture1.SetVisible(false);
}

void sucher1::ServicePackStep(const ChecksFound& chain) {
  if (RunListedCheck(kServicePackFiles, chain)) InternetExplorerStep(chain);
}

void sucher1::InternetExplorerStep(const ChecksFound& chain) {
  // The Media Player check runs whether or not Internet Explorer is there.
  RunListedCheck(kInternetExplorer, chain);
  Command5_Click();
  MediaPlayerStep(chain);
}

void sucher1::MediaPlayerStep(const ChecksFound& chain) {
  RunListedCheck(kMediaPlayer, chain);
  EndOfChain();
}

}  // namespace belvosta
