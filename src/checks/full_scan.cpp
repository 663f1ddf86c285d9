// The full scan: cover every tick, start the blink and run the chain of checks from its
// head; the Media Player check ends every chain that reaches it.
#include <string>

#include "checks/sucher1.h"

namespace belvosta {

void sucher1::Label12_Click() {
  for (platform::PictureBox& cover : Picture3) cover.SetVisible(true);
  Picture4.SetVisible(false);
  Timer1.SetEnabled(true);
  flahssucher_Click();
}

void sucher1::EndOfChain() {
  Command5_Click();
  // The Media Player row shows its tick whatever the outcome of its check.
  CoverOf(kMediaPlayer.row).SetVisible(false);
  platform::MsgBox("Die Datei suche ist beendet!");
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  if (platform::MsgBox("Wollen Sie Ihre Computer Geschwindigkeit testen?", platform::vbYesNoCancel,
                       "Ihre Computer Hardware testen!") == platform::vbYes) {
    links_.ShowComputerInfo();
  }
}

void sucher1::Command7_Click() {
  Command2_Click();
  Command6_Click();
  Label9.SetCaption(std::to_string(List1.ListCount()));
  if (Label9.Caption() > "0") {
    platform::MsgBox(Label9.Caption() + " fehlende Datei/en");
  } else {
    platform::MsgBox("Alles ist bestens");
  }
}

}  // namespace belvosta
