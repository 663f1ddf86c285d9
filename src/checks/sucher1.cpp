#include "checks/sucher1.h"

#include <utility>

#include "checks/pages.h"
#include "pictures/pictures.h"

namespace belvosta {
namespace {

using ui::Alignment;
using ui::Color;
using ui::Design;
using ui::Font;
using ui::MousePointer;

constexpr Color kWhite = Color::White();
constexpr Color kBlack = Color::Black();
constexpr Color kBlue = Color::Rgb(0, 0, 255);
constexpr Color kGrey = Color::Rgb(128, 128, 128);

const Font kRegular{};
const Font kBold{"MS Sans Serif", 8.25, true};
const Font kBanner{"MS Sans Serif", 9.75, true};
const Font kLink{"MS Sans Serif", 12, true};

// A check button of the left column: white, graphical style.
Design CheckButton(std::string caption, std::string toolTip, platform::Twips top,
                   MousePointer pointer = MousePointer::Hand) {
  return {.caption = std::move(caption),
          .toolTip = std::move(toolTip),
          .left = 120,
          .top = top,
          .width = 3735,
          .height = 495,
          .backColor = kWhite,
          .graphical = true,
          .mousePointer = pointer};
}

// A link label of the middle column.
Design LinkLabel(std::string caption, std::string toolTip, platform::Twips top,
                 platform::Twips width = 1815) {
  return {.caption = std::move(caption),
          .toolTip = std::move(toolTip),
          .left = 4560,
          .top = top,
          .width = width,
          .height = 255,
          .transparent = true,
          .mousePointer = MousePointer::Hand};
}

// The rows of ticks and covers (CheckRow), top to bottom.
using RowTops = std::array<platform::Twips, kCheckRowCount>;
constexpr RowTops kTickTops = {1320, 1800, 2280, 2760, 3240, 3840};
constexpr RowTops kCoverTops = {1320, 1800, 2280, 2760, 3240, 3720};

Design Tick(std::size_t i) {
  return {.left = 3960,
          .top = kTickTops[i],
          .width = 465,
          .height = i == RowIndex(CheckRow::FlashPlayer) ? 375 : 495,
          .picture = &pictures::Tick};
}

Design Cover(std::size_t i) {
  return {.left = 3960, .top = kCoverTops[i], .width = 495, .height = 495};
}

// One picture box per row, each an element of the control array `name`.
template <std::size_t... Row>
std::array<ui::PictureBox, kCheckRowCount> RowPictures(ui::Form& form, const char* name,
                                                       Design (*design)(std::size_t),
                                                       std::index_sequence<Row...>) {
  return {ui::PictureBox{form, name, design(Row), static_cast<int>(Row)}...};
}

// Hidden controls lie in rows below the client area (4500 twips high).
Design Hidden(std::string caption, platform::Twips left, platform::Twips top) {
  return {.caption = std::move(caption), .left = left, .top = top, .width = 1335, .height = 375};
}

std::string SearchToolTip(std::string_view topic) {
  return "Suche bei " + std::string(kSearchSiteName) + " " + std::string(topic);
}

}  // namespace

sucher1::sucher1(MainWindowLinks& links)
    : Form("sucher1", {.caption = "Belvosta: Dorvane",
                       .clientWidth = 8520,
                       .clientHeight = 4500,
                       .backColor = kWhite,
                       .icon = &pictures::AppIcon}),
      Frame3(*this, "Frame3",
             {.caption = "Quirlant Software: Belvosta für Dorvane",
              .toolTip = "Computer- Test: Flash Player suchen scan... ",
              .left = 120,
              .top = 120,
              .width = 8175,
              .height = 1095,
              .foreColor = kBlack,
              .backColor = kWhite,
              .font = kBanner}),
      Picture9(*this, "Picture9",
               {.container = &Frame3,
                .left = 120,
                .top = 240,
                .width = 7890,
                .height = 410,
                .backColor = kWhite,
                .picture = &pictures::Banner}),
      Label12(*this, "Label12",
              {.container = &Picture9,
               .caption = "Gesamt suche  scan...",
               .toolTip = "Gesamt suche  scan...",
               .left = 240,
               .top = 15,
               .width = 7575,
               .height = 375,
               .foreColor = kBlack,
               .transparent = true,
               .font = kLink,
               .alignment = Alignment::Center,
               .mousePointer = MousePointer::Hand}),
      Label15(*this, "Label15",
              {.container = &Frame3,
               .caption = "MSCOMCTL.OCX, RICHTX32.OCX, MSFLXGRD.OCX, MSCOMCTL.OCX, MSHTML.TLB, "
                          "STDOLE2.TLB, SHDOCVW.DLL, WMP.DLL.",
               .left = 120,
               .top = 630,
               .width = 7815,
               .height = 495,
               .foreColor = kGrey,
               .transparent = true,
               .alignment = Alignment::Center}),
      flahssucher(*this, "flahssucher",
                  CheckButton("Suche Flash Player +", "Flash Player suchen scan...", 1320)),
      Command2(*this, "Command2",
               CheckButton("Suche Visual-Basic Runtime-Dateien +",
                           "Suche Visual-Basic Runtime-Dateien ", 1800)),
      Command6(*this, "Command6",
               CheckButton("Suche Windows Service-Pack Dateien +",
                           "Suche Windows Service-Pack Dateien", 2280)),
      Command9(*this, "Command9",
               CheckButton("Suche Internet-Explorer Dateien Dateien +",
                           "Suche Internet-Explorer Dateien Dateien", 2760)),
      Command15(*this, "Command15",
                CheckButton("Suche Media Player Steuerelement !",
                            "Suche Media Player Steuerelement", 3240, MousePointer::Default)),
      Command13(*this, "Command13",
                {.caption = "Ihre Computer Geschwindigkeit testen ?",
                 .left = 120,
                 .top = 3840,
                 .width = 3735,
                 .height = 495,
                 .backColor = kWhite,
                 .font = kBold,
                 .graphical = true,
                 .mousePointer = MousePointer::Hand}),
      Picture2(RowPictures(*this, "Picture2", Tick, std::make_index_sequence<kCheckRowCount>())),
      Picture3(RowPictures(*this, "Picture3", Cover, std::make_index_sequence<kCheckRowCount>())),
      Label10(*this, "Label10",
              LinkLabel("Adobe Flash Player...", "Adobe Flash Player...Adobe Homepage", 1440)),
      Label8(
          *this, "Label8",
          LinkLabel("Bei Googele suchen...", SearchToolTip("Visual-Basic Runtime-Dateien "), 1920)),
      Label5(*this, "Label5",
             LinkLabel("Bei Googele suchen...", SearchToolTip("Windows Service-Pack"), 2400)),
      Label2(*this, "Label2",
             LinkLabel("Bei Googele suchen...", SearchToolTip("Internet-Explorer"), 2880)),
      Label14(*this, "Label14",
              LinkLabel("Bei Googele suchen...", SearchToolTip("Windows  Media Player"), 3360)),
      Label16(*this, "Label16",
              LinkLabel("Ihre Computer-Infos", "Ihre Computer-Infos", 3960, 1935)),
      List1(*this, "List1", {.left = 6480, .top = 1320, .width = 1815, .height = 810}),
      Label7(*this, "Label7",
             {.caption = "Fehlende Dateien",
              .left = 6480,
              .top = 2160,
              .width = 1815,
              .height = 255,
              .transparent = true,
              .alignment = Alignment::Center}),
      Label13(*this, "Label13",
              {.caption = "Klicken Sie auf:  [Gesamte suche scan....]",
               .toolTip = "Der Test ist OK, solange das Programm Ihnen nichts anderes sagt!",
               .left = 6240,
               .top = 2520,
               .width = 2175,
               .height = 495,
               .foreColor = kBlue,
               .transparent = true,
               .font = kBold,
               .alignment = Alignment::Center}),
      Picture1(*this, "Picture1",
               {.left = 7200,
                .top = 3240,
                .width = 555,
                .height = 525,
                .backColor = kWhite,
                .picture = &pictures::Busy}),
      Picture4(*this, "Picture4",
               {.left = 7900,
                .top = 350,
                .width = 480,
                .height = 420,
                .backColor = kWhite,
                .picture = &pictures::Arrow}),
      Command14(*this, "Command14",
                {.caption = "Exit",
                 .toolTip = "EXIT",
                 .left = 6600,
                 .top = 3960,
                 .width = 1695,
                 .height = 375,
                 .backColor = kWhite,
                 .font = kBold,
                 .graphical = true,
                 .mousePointer = MousePointer::Hand}),
      Timer1(*this, "Timer1", {.enabled = false, .interval = 500}),
      Timer2(*this, "Timer2", {.enabled = false, .interval = 500}),
      Text1(*this, "Text1", Hidden("", 120, 4680)),
      Text2(*this, "Text2", Hidden("", 1560, 4680)),
      Text3(*this, "Text3", Hidden("", 3000, 4680)),
      Text3S(*this, "Text3S",
             {.container = &Frame3, .left = 120, .top = 1200, .width = 1335, .height = 285}),
      Textleer(*this, "Textleer",
               {.container = &Frame3, .left = 1560, .top = 1200, .width = 1335, .height = 285}),
      Label9(*this, "Label9", Hidden("0", 4440, 4680)),
      Command10(*this, "Command10", Hidden("löschen", 120, 5160)),
      Command5(*this, "Command5", Hidden("eintäge", 1560, 5160)),
      Command12(*this, "Command12", Hidden("Command12", 3000, 5160)),
      Command4(*this, "Command4", Hidden("Command4", 4440, 5160)),
      Command7(*this, "Command7", Hidden("start", 5880, 5160)),
      Command11(*this, "Command11", Hidden("FormS.Show ", 7320, 5160)),
      Command1(*this, "Command1", Hidden("Windows Media Player ab 9.0", 120, 5640)),
      Command3(*this, "Command3", Hidden("Command3", 1560, 5640)),
      Command8(*this, "Command8", Hidden("Command8", 3000, 5640)),
      Label1(*this, "Label1", Hidden("Windows Media Player ab 9.0", 120, 6120)),
      Label3(*this, "Label3", Hidden("Flash-Player  ab 9.0 ", 1560, 6120)),
      Label4(*this, "Label4", Hidden("Visual-Basic Runtime-Dateien ", 3000, 6120)),
      Label6(*this, "Label6", Hidden("MSCOMCTL.OCX", 4440, 6120)),
      links_(links) {
  Command14.Click = [this] { Command14_Click(); };
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
  Label12.MouseMove = [this] { Label12_MouseMove(); };
  Frame3.MouseMove = [this] { Frame3_MouseMove(); };
  Label15.MouseMove = [this] { Label15_MouseMove(); };
  Picture1.Click = [this] { Picture1_Click(); };

  Label10.Click = [this] { Label10_Click(); };
  Label8.Click = [this] { Label8_Click(); };
  Label5.Click = [this] { Label5_Click(); };
  Label2.Click = [this] { Label2_Click(); };
  Label14.Click = [this] { Label14_Click(); };
  Command1.Click = [this] { Command1_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command8.Click = [this] { Command8_Click(); };

  Command10.Click = [this] { Command10_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  Text1.Change = [this] { Text1_Change(); };
  Text3.Change = [this] { Text3_Change(); };
  Text3S.Change = [this] { Text3S_Change(); };
  List1.Click = [this] { List1_Click(); };
  List1.DblClick = [this] { List1_DblClick(); };
  Command12.Click = [this] { Command12_Click(); };
  Command4.Click = [this] { Command4_Click(); };

  flahssucher.Click = [this] { flahssucher_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command6.Click = [this] { Command6_Click(); };
  Command9.Click = [this] { Command9_Click(); };
  Command15.Click = [this] { Command15_Click(); };

  Label12.Click = [this] { Label12_Click(); };
  Command7.Click = [this] { Command7_Click(); };

  Command11.Click = [this] { Command11_Click(); };
  Command13.Click = [this] { Command13_Click(); };
  Label16.Click = [this] { Label16_Click(); };
}

// ---- Exit ----

void sucher1::Command14_Click() {
  Unload();
  ui::End();
}

void sucher1::Form_QueryUnload() {
  // Closing the main window in any way ends the whole program at once, never asking.
  Unload();
  ui::End();
}

// ---- The blink of the busy picture: each tick hands over to the other timer ----

void sucher1::Timer1_Timer() {
  Picture1.SetVisible(false);
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(true);
}

void sucher1::Timer2_Timer() {
  Picture1.SetVisible(true);
  Timer2.SetEnabled(false);
  Timer1.SetEnabled(true);
}

// ---- Hover highlight of the full-scan link ----

void sucher1::Label12_MouseMove() {
  Label12.SetForeColor(kBlue);
}
void sucher1::Frame3_MouseMove() {
  Label12.SetForeColor(kBlack);
}
void sucher1::Label15_MouseMove() {
  Label12.SetForeColor(kBlack);
}

// ---- Hint ----

void sucher1::Picture1_Click() {
  ui::MsgBox("Klicken Sie auf [Gesamt suche  scan...] !");
}

}  // namespace belvosta
