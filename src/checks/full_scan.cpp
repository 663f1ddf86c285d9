// The full scan: cover every tick, start the blink and run the chain of checks from its
// head; the Media Player check ends every chain that reaches it.
#include <string>

#include "checks/sucher1.h"

namespace belvosta {

void sucher1::Label12_Click() {
  for (ui::PictureBox& cover : Picture3) cover.SetVisible(true);
  Picture4.SetVisible(false);
  Timer1.SetEnabled(true);
  flahssucher_Click();
}

void sucher1::EndOfChain() {
  Command5_Click();
  // The Media Player row shows its tick whatever the outcome of its check.
  CoverOf(kMediaPlayer.row).SetVisible(false);
  ui::MsgBox("Die Datei suche ist beendet!");
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  if (ui::MsgBox("Wollen Sie Ihre Computer Geschwindigkeit testen?", ui::vbYesNoCancel,
                 "Ihre Computer Hardware testen!") == ui::vbYes) {
    links_.ShowComputerInfo();
  }
}

void sucher1::Command7_Click() {
  Command2_Click();
  Command6_Click();
  Label9.SetCaption(std::to_string(List1.ListCount()));
  if (Label9.Caption() > "0") {
    ui::MsgBox(Label9.Caption() + " fehlende Datei/en");
  } else {
    ui::MsgBox("Alles ist bestens");
  }
}

}  // namespace belvosta
