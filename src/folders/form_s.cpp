#include "folders/form_s.h"

#include "platform/shell32.h"

namespace belvosta {
namespace {

using platform::Twips;
using ui::Color;
using ui::Design;
using ui::Font;

constexpr Color kWhite = Color::White();
constexpr Color kBlack = Color::Black();
constexpr Color kGreen = Color::Rgb(0, 255, 0);
constexpr Color kLightGreen = Color::Rgb(128, 255, 128);
constexpr Color kLightYellow = Color::Rgb(255, 255, 128);
constexpr Color kDarkGrey = Color::Rgb(64, 64, 64);

const Font kFrameFont{"MS Sans Serif", 9.75, true};
const Font kBold{"MS Sans Serif", 8.25, true};

constexpr std::string_view kOpenPathTip = "Mit Klick Pfad öffnen:";

// The white caption at the left of a folder row; a click opens the row's path.
Design Description(ui::Control& frame, std::string caption, Twips top,
                   std::string toolTip = std::string(kOpenPathTip)) {
  return {.container = &frame,
          .caption = std::move(caption),
          .toolTip = std::move(toolTip),
          .left = 120,
          .top = top,
          .width = 1575,
          .height = 255,
          .foreColor = kWhite,
          .backColor = kBlack};
}

// The green path of a folder row, on the frame's black.
Design Path(ui::Control& frame, Twips top, Twips width = 6495) {
  return {.container = &frame,
          .left = 1680,
          .top = top,
          .width = width,
          .height = 255,
          .foreColor = kGreen,
          .backColor = kBlack,
          .transparent = true};
}

Design ComputerLabel(ui::Control& frame, std::string caption, Twips left, Twips top, Twips width,
                     Color color) {
  return {.container = &frame,
          .caption = std::move(caption),
          .left = left,
          .top = top,
          .width = width,
          .height = 255,
          .foreColor = color,
          .backColor = kBlack,
          .transparent = true};
}

Design Cookies(ui::Control& frame) {
  Design design = Description(frame, "COOKIES", 2595);
  design.width = 1335;
  design.transparent = true;
  return design;
}

Design CookiesPath(ui::Control& frame) {
  Design design = Path(frame, 2595);
  design.transparent = false;
  return design;
}

}  // namespace

FormS::FormS(FormSLinks& links)
    : Form("FormS", {.caption = "Windows-System-Ordner:",
                     .clientWidth = 8505,
                     .clientHeight = 7830,
                     .backColor = kBlack}),
      Frame1(*this, "Frame1",
             {.caption = "Windows-System-Ordner:",
              .left = 120,
              .top = 0,
              .width = 8295,
              .height = 6015,
              .foreColor = kWhite,
              .backColor = kBlack,
              .font = kFrameFont}),
      Label14(*this, "Label14", Description(Frame1, "Desktop:", 240)),
      Label1(*this, "Label1", Path(Frame1, 240, 6375)),
      Label15(*this, "Label15", Description(Frame1, "Startmenü:", 600)),
      Label2(*this, "Label2", Path(Frame1, 600)),
      Label16(*this, "Label16", Description(Frame1, "Programme:", 960)),
      Label3(*this, "Label3", Path(Frame1, 960)),
      Label17(*this, "Label17", Description(Frame1, "Eigene Dateien:", 1320)),
      Label4(*this, "Label4", Path(Frame1, 1320, 6375)),
      Label18(*this, "Label18", Description(Frame1, "Favoriten:", 1680)),
      Label5(*this, "Label5", Path(Frame1, 1680)),
      Label19(*this, "Label19", Description(Frame1, "Autostart:", 2040)),
      Label6(*this, "Label6", Path(Frame1, 2040, 6615)),
      Label20(*this, "Label20",
              Description(Frame1, "Dokumente:", 2400,
                          "Mit Klick Pfad öffnen: Verknüpfungen von den zuletzt benutzte "
                          "Dokumente !")),
      Label7(*this, "Label7", Path(Frame1, 2400, 5175)),
      Label41(*this, "Label41", Cookies(Frame1)),
      Label42(*this, "Label42", CookiesPath(Frame1)),
      Label21(*this, "Label21", Description(Frame1, "Senden an:", 2850)),
      Label8(*this, "Label8", Path(Frame1, 2850)),
      Label22(*this, "Label22", Description(Frame1, "Vorlagen:", 3120)),
      Label9(*this, "Label9", Path(Frame1, 3120)),
      Label23(*this, "Label23", Description(Frame1, "Netzwerkumgebung:", 3480)),
      Label10(*this, "Label10", Path(Frame1, 3480)),
      Label24(*this, "Label24", Description(Frame1, "Schriftarten:", 3840)),
      Label11(*this, "Label11", Path(Frame1, 3840)),
      Label25(*this, "Label25", Description(Frame1, "Temporär Internet:", 4200)),
      Label12(*this, "Label12", Path(Frame1, 4200, 6615)),
      Label26(*this, "Label26", Description(Frame1, "Temporärer Ordner:", 4440)),
      Label13(*this, "Label13", Path(Frame1, 4440, 6615)),
      Label35(*this, "Label35", Description(Frame1, "Anwendungsdaten:", 4800)),
      Label36(*this, "Label36", Path(Frame1, 4800)),
      Label37(*this, "Label37", Description(Frame1, "Gemeinsamme:", 5040)),
      Label38(*this, "Label38", Path(Frame1, 5040)),
      Label39(*this, "Label39", Description(Frame1, "WINDOWS:", 5400)),
      Label40(*this, "Label40", Path(Frame1, 5400)),
      Label33(*this, "Label33", Description(Frame1, "System32:", 5640)),
      Label34(*this, "Label34", Path(Frame1, 5640)),
      Frame2(*this, "Frame2",
             {.caption = "Computer:",
              .left = 120,
              .top = 6000,
              .width = 3855,
              .height = 1215,
              .foreColor = kWhite,
              .backColor = kBlack,
              .font = kFrameFont}),
      Label29(*this, "Label29",
              ComputerLabel(Frame2, "Aktuelle Bildschirmauflösung (alt):", 120, 240, 2415,
                            kLightYellow)),
      Label28(*this, "Label28", ComputerLabel(Frame2, "1", 2640, 240, 1215, kGreen)),
      Label30(*this, "Label30",
              ComputerLabel(Frame2, "Aktuelle Bildschirmauflösung (API):", 120, 480, 2535,
                            kLightYellow)),
      Label27(*this, "Label27", ComputerLabel(Frame2, "1", 2640, 480, 1335, kGreen)),
      Label31(*this, "Label31",
              {.container = &Frame2,
               .caption = "Rechner",
               .left = 120,
               .top = 840,
               .width = 3495,
               .height = 255,
               .foreColor = kGreen,
               .backColor = kBlack,
               .transparent = true,
               .font = kFrameFont}),
      List1(*this, "List1",
            {.toolTip = "Mit Doppelklick Laufwerke einlesen !",
             .left = 4200,
             .top = 6120,
             .width = 4215,
             .height = 1110,
             .foreColor = kLightGreen,
             .backColor = kBlack,
             .font = {"Courier New", 8.25, false}}),
      Drive1(*this, "Drive1",
             {.left = 4200,
              .top = 7320,
              .width = 3375,
              .height = 315,
              .foreColor = kGreen,
              .backColor = kDarkGrey}),
      Label32(*this, "Label32",
              {.caption = "PC- Prozessordaten Auslesen",
               .left = 120,
               .top = 7320,
               .width = 3855,
               .height = 375,
               .foreColor = kWhite,
               .backColor = kDarkGrey,
               .font = kFrameFont}),
      Command3(*this, "Command3",
               {.caption = "EXIT",
                .toolTip = "EXIT Fenster",
                .left = 7680,
                .top = 7320,
                .width = 735,
                .height = 375,
                .backColor = kWhite,
                .font = kBold,
                .graphical = true}),
      Command2(*this, "Command2",
               {.caption = "Laufwerke einlesen",
                .left = 240,
                .top = 8400,
                .width = 2295,
                .height = 375,
                .font = kFrameFont}),
      links_(links) {
  WireHandlers();
}

void FormS::WireHandlers() {
  Label14.Click = [this] { Label14_Click(); };
  Label15.Click = [this] { Label15_Click(); };
  Label16.Click = [this] { Label16_Click(); };
  Label17.Click = [this] { Label17_Click(); };
  Label18.Click = [this] { Label18_Click(); };
  Label19.Click = [this] { Label19_Click(); };
  Label20.Click = [this] { Label20_Click(); };
  Label21.Click = [this] { Label21_Click(); };
  Label22.Click = [this] { Label22_Click(); };
  Label23.Click = [this] { Label23_Click(); };
  Label24.Click = [this] { Label24_Click(); };
  Label25.Click = [this] { Label25_Click(); };
  Label26.Click = [this] { Label26_Click(); };
  Label33.Click = [this] { Label33_Click(); };
  Label35.Click = [this] { Label35_Click(); };
  Label37.Click = [this] { Label37_Click(); };
  Label39.Click = [this] { Label39_Click(); };
  Label41.Click = [this] { Label41_Click(); };

  Label1.MouseMove = [this] { Label1_MouseMove(); };
  Label2.MouseMove = [this] { Label2_MouseMove(); };
  Label3.MouseMove = [this] { Label3_MouseMove(); };
  Label4.MouseMove = [this] { Label4_MouseMove(); };
  Label5.MouseMove = [this] { Label5_MouseMove(); };
  Label6.MouseMove = [this] { Label6_MouseMove(); };
  Label8.MouseMove = [this] { Label8_MouseMove(); };
  Label9.MouseMove = [this] { Label9_MouseMove(); };
  Label10.MouseMove = [this] { Label10_MouseMove(); };
  Label11.MouseMove = [this] { Label11_MouseMove(); };
  Label12.MouseMove = [this] { Label12_MouseMove(); };
  Label13.MouseMove = [this] { Label13_MouseMove(); };
  Label34.MouseMove = [this] { Label34_MouseMove(); };
  Label36.MouseMove = [this] { Label36_MouseMove(); };
  Label38.MouseMove = [this] { Label38_MouseMove(); };
  Label40.MouseMove = [this] { Label40_MouseMove(); };

  Label32.Click = [this] { Label32_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  List1.DblClick = [this] { List1_DblClick(); };
}

void FormS::Form_Load() {
  Command2_Click();
  ShowComputerName();
  FillSpecialFolders();
  ShowTempFolder();
  ShowResolutions();
  // The title bar shows the computer name, or "Rechner" when it could not be read.
  SetCaption(Label31.Caption());
}

void FormS::OpenPath(ui::Label& pathLabel) {
  // Handed over as it stands, empty or not; the shell decides what opens.
  const std::string path = pathLabel.Caption();
  platform::ShellExecuteA(hWnd(), "Open", path, nullptr, nullptr, platform::kSwShowNormal);
}

void FormS::ShowPathAsToolTip(ui::Label& pathLabel) {
  pathLabel.SetToolTipText(pathLabel.Caption());
}

void FormS::Label32_Click() {
  links_.ShowComputerInfo();
}

void FormS::Command3_Click() {
  Unload();
}

}  // namespace belvosta
