// The link labels beside the check rows, and three hidden link buttons: each hands its page
// to the shell, which opens it in the default browser.
#include <string>

#include "checks/pages.h"
#include "checks/sucher1.h"
#include "platform/shell32.h"

namespace belvosta {
void sucher1::OpenPage(std::string_view url) {
  platform::ShellExecuteA(hWnd(), "Open", url, nullptr, nullptr, platform::kSwShowNormal);
}

void sucher1::Label10_Click() {
  OpenPage(kFlashPlayerPage);
}
void sucher1::Label8_Click() {
  OpenPage(SearchPage(kRuntimeQuery));
}
void sucher1::Label5_Click() {
  OpenPage(SearchPage(kServicePackQuery));
}
void sucher1::Label2_Click() {
  OpenPage(SearchPage(kExplorerQuery));
}
void sucher1::Label14_Click() {
  OpenPage(SearchPage(kMediaPlayerQuery));
}
void sucher1::Command1_Click() {
  OpenPage(SearchPage(kMediaPlayerQuery));
}

void sucher1::Command3_Click() {
  if (ui::MsgBox("Bitte zuerst die Visual-Basic Runtime-Dateien herunterladen?", ui::vbYesNoCancel,
                 "Achtung: nicht alle erförderliche Aktiv-X (OCX-Dateien)sind installiert! "
                 "Wichtig!") == ui::vbYes) {
    OpenPage(SearchPage(kRuntimeQuery));
  }
}

void sucher1::Command8_Click() {
  if (ui::MsgBox("Wollen Sie einen  Windows Service Pack bei Googele suchen? (Ab SP2.)",
                 ui::vbYesNoCancel,
                 "Achtung: Fehlende Dateien, bitte installieren Sie den aktuellen Windows "
                 "Service Pack!") == ui::vbYes) {
    OpenPage(SearchPage(kServicePackQuery));
  }
}

}  // namespace belvosta
