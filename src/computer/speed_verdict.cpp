// The verdict on the measured clock: a clock shown in GHz is fast enough, one in MHz is not.
#include "app/program.h"
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

void Form3::Label2_Change() {
  const std::string caption = Label2.Caption();
  std::string test = caption;
  const bool schnellGenug = ZeichenErsetzen(test, "GHz", ".") != caption;
  if (schnellGenug) {
    platform::MsgBox("Ihre Computer Geschwindichkeit [" + caption + "] ist OK !");
    Label3.SetCaption("Ihre Computer Geschwindichkeit ist OK !");
    ShowFace(true);
    // Uncovers the tick beside the speed-test button of the main window.
    program_.sucher1.Picture3[5].SetVisible(false);
  } else {
    platform::MsgBox("Ihr Computer ist leider zu Langsam [" + caption +
                     " ]. Um eine Optimale Funktion zu gewährleisten!");
    Label3.SetCaption("Ihr Computer ist leider zu Langsam !");
    ShowFace(false);
  }
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
