#include "computer/form3.h"

#include "computer/module1.h"
#include "pictures/pictures.h"

namespace belvosta {
namespace {

using ui::Alignment;
using ui::Color;
using ui::Font;
using ui::MousePointer;

constexpr Color kBlack = Color::Black();
constexpr Color kWhite = Color::White();
constexpr Color kGreen = Color::Rgb(0, 255, 0);
constexpr Color kYellow = Color::Rgb(255, 255, 0);
constexpr Color kDarkGrey = Color::Rgb(0x40, 0x40, 0x40);

const Font kBold{"MS Sans Serif", 8.25, true};
const Font kBoldLarge{"MS Sans Serif", 9.75, true};

}  // namespace

Form3::Form3(Module1& module1, Form3Links& links)
    : Form("Form3", {.caption = "Ihre Prozessordaten:",
                     .clientWidth = 4995,
                     .clientHeight = 1425,
                     .backColor = kBlack,
                     .dialogBorder = true,
                     .icon = &pictures::ComputerIcon}),
      Text3(*this, "Text3",
            {.caption = "MHz",
             .left = 120,
             .top = 50,
             .width = 4815,
             .height = 285,
             .foreColor = kGreen,
             .backColor = kBlack,
             .font = kBoldLarge}),
      Label1(*this, "Label1",
             {.caption = "Die Rechner Daten auslesen !",
              .left = 120,
              .top = 360,
              .width = 3975,
              .height = 375,
              .foreColor = kWhite,
              .backColor = kDarkGrey,
              .font = kBoldLarge,
              .alignment = Alignment::Center,
              .border = true,
              .mousePointer = MousePointer::Hand}),
      Command1(*this, "Command1",
               {.caption = "EXIT",
                .toolTip = "Exit",
                .left = 4200,
                .top = 360,
                .width = 735,
                .height = 375,
                .backColor = kWhite,
                .font = kBold,
                .graphical = true,
                .mousePointer = MousePointer::Hand}),
      Picture1(*this, "Picture1",
               {.toolTip = "OK !",
                .left = 4320,
                .top = 840,
                .width = 530,
                .height = 530,
                .backColor = kBlack,
                .picture = &pictures::Smile}),
      Picture2(*this, "Picture2",
               {.toolTip = "Nicht, No:  OK!",
                .left = 4320,
                .top = 840,
                .width = 530,
                .height = 530,
                .backColor = kBlack,
                .picture = &pictures::Frown}),
      Label3(*this, "Label3",
             {.caption = "..................",
              .left = 120,
              .top = 1080,
              .width = 4215,
              .height = 255,
              .foreColor = kYellow,
              .transparent = true,
              .font = kBoldLarge}),
      Label2(*this, "Label2",
             {.caption = "Label2", .left = 120, .top = 1800, .width = 2895, .height = 375}),
      cmdProzessordatenAuslesen(*this, "cmdProzessordatenAuslesen",
                                {.caption = "Die Prozessordaten Auslesen",
                                 .left = 0,
                                 .top = 2280,
                                 .width = 3495,
                                 .height = 375}),
      module1_(module1),
      links_(links) {
  SetTabOrder({&cmdProzessordatenAuslesen, &Command1, &Text3, &Label1, &Label2, &Label3, &Picture1,
               &Picture2});

  Label1.Click = [this] { Label1_Click(); };
  Label1.MouseMove = [this] { Label1_MouseMove(); };
  Command1.Click = [this] { Command1_Click(); };
  Label2.Change = [this] { Label2_Change(); };
  Picture1.MouseMove = [this] { Picture1_MouseMove(); };
  Picture2.MouseMove = [this] { Picture2_MouseMove(); };
  cmdProzessordatenAuslesen.Click = [this] { cmdProzessordatenAuslesen_Click(); };
}

// Report, then the one-time measurement with its verdict, then the speed text; the window
// appears only after all three.
void Form3::Form_Load() {
  cmdProzessordatenAuslesen_Click();
  const bool measuredBefore = module1_.GemessenerTakt != 0;
  const auto measured = module1_.MesseProzessortakt(1.0, *this);
  if (!measured) return;  // the measurement failed: Text3 keeps its design text
  Text3.SetText(module1_.GeschwindigkeitsText + "\r\n");
  // A later load in the run gives no new verdict; the face still tells the first one.
  if (measuredBefore) ShowFace(*measured > kGigahertz);
}

void Form3::Label1_Click() {
  cmdProzessordatenAuslesen_Click();
}

void Form3::Label1_MouseMove() {
  Label1.SetToolTipText(Label1.Caption());
}

void Form3::Command1_Click() {
  Unload();
}

}  // namespace belvosta
