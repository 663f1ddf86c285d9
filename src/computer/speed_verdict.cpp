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

SpeedVerdict JudgeSpeed(const std::string& clockText) {
  std::string test = clockText;
  if (Form3::ZeichenErsetzen(test, "GHz", ".") != clockText) {
    return {.fastEnough = true,
            .message = "Ihre Computer Geschwindichkeit [" + clockText + "] ist OK !",
            .line = "Ihre Computer Geschwindichkeit ist OK !"};
  }
  return {.fastEnough = false,
          .message = "Ihr Computer ist leider zu Langsam [" + clockText +
                     " ]. Um eine Optimale Funktion zu gewährleisten!",
          .line = "Ihr Computer ist leider zu Langsam !"};
}

void Form3::Label2_Change() {
  const SpeedVerdict verdict = JudgeSpeed(Label2.Caption());
  ui::MsgBox(verdict.message);
  Label3.SetCaption(verdict.line);
  ShowFace(verdict.fastEnough);
  if (verdict.fastEnough) links_.RevealSpeedTick();
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
