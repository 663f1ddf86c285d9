// The verdict on the measured clock: a clock shown in GHz is fast enough, one in MHz is not.
#include "computer/speed_verdict.h"

#include "computer/form3.h"

namespace belvosta {

std::string Form3::ZeichenErsetzen(std::string& text, const std::string& zeichenAlt,
                                   const std::string& zeichenNeu) {
  if (zeichenAlt.empty()) return text;
  // Searching on behind each inserted replacement never replaces inside a replacement.
  for (auto pos = text.find(zeichenAlt); pos != std::string::npos;
       pos = text.find(zeichenAlt, pos + zeichenNeu.size())) {
    text.replace(pos, zeichenAlt.size(), zeichenNeu);
  }
  return text;
}

Geschwindigkeitsurteil BeurteileGeschwindigkeit(const std::string& anzeige) {
  std::string test = anzeige;
  if (Form3::ZeichenErsetzen(test, "GHz", ".") != anzeige) {
    return {.schnellGenug = true,
            .meldung = "Ihre Computer Geschwindichkeit [" + anzeige + "] ist OK !",
            .zeile = "Ihre Computer Geschwindichkeit ist OK !"};
  }
  return {.schnellGenug = false,
          .meldung = "Ihr Computer ist leider zu Langsam [" + anzeige +
                     " ]. Um eine Optimale Funktion zu gewährleisten!",
          .zeile = "Ihr Computer ist leider zu Langsam !"};
}

void Form3::Label2_Change() {
  const Geschwindigkeitsurteil urteil = BeurteileGeschwindigkeit(Label2.Caption());
  platform::MsgBox(urteil.meldung);
  Label3.SetCaption(urteil.zeile);
  ShowFace(urteil.schnellGenug);
  if (urteil.schnellGenug) links_.RevealSpeedTick();
}

void Form3::ShowFace(bool smiling) {
  Picture1.SetVisible(smiling);
  Picture2.SetVisible(!smiling);
}

void Form3::Picture1_MouseMove() {
  Picture1.SetToolTipText(Label2.Caption() + " = OK!");
}

void Form3::Picture2_MouseMove() {
  Picture2.SetToolTipText(Label2.Caption() + " = No\\Nein!");
}

}  // namespace belvosta
