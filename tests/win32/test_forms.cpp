#include "test_forms.h"

namespace views::win32::testing {
namespace {

// A green square with a transparent border: something for a picture box to show.
ui::Bitmap PaintSquare() {
  ui::Bitmap square{32, 32, std::vector<std::uint32_t>(32 * 32, 0)};
  for (int y = 4; y < 28; ++y) {
    for (int x = 4; x < 28; ++x) square.argb[static_cast<std::size_t>(y * 32 + x)] = 0xFF00A000u;
  }
  return square;
}

const ui::Picture kSquare{&PaintSquare};

}  // namespace

TestForm::TestForm()
    : ui::Form("TestForm", {.caption = "Prüfform",
                            .clientWidth = kWidth,
                            .clientHeight = kHeight,
                            .backColor = ui::Color::White()}),
      Frame1(*this, "Frame1",
             {.caption = "Rahmen",
              .left = 120,
              .top = 60,
              .width = 2000,
              .height = 900,
              .backColor = ui::Color::White()}),
      InnerLabel(*this, "InnerLabel",
                 {.container = &Frame1,
                  .caption = "Innen",
                  .left = 120,
                  .top = 300,
                  .width = 1500,
                  .height = 255,
                  .transparent = true}),
      Label1(*this, "Label1",
             {.caption = "Beschriftung",
              .toolTip = "Ein Hinweis",
              .left = 2280,
              .top = 120,
              .width = 1000,
              .height = 255,
              .transparent = true,
              .mousePointer = ui::MousePointer::Hand}),
      Command1(*this, "Command1",
               {.caption = "Drücken",
                .left = 2280,
                .top = 480,
                .width = 1000,
                .height = 375,
                .backColor = ui::Color::White(),
                .graphical = true}),
      List1(*this, "List1", {.left = 3400, .top = 120, .width = 1000, .height = 900}),
      Text1(*this, "Text1", {.left = 2280, .top = 1000, .width = 1000, .height = 285}),
      Picture1(*this, "Picture1",
               {.left = 4600,
                .top = 120,
                .width = 555,
                .height = 525,
                .backColor = ui::Color::White(),
                .picture = &kSquare}),
      Drive1(*this, "Drive1", {.left = 4600, .top = 800, .width = 1300, .height = 315}),
      Timer1(*this, "Timer1", {.enabled = false, .interval = 30}),
      HiddenButton(
          *this, "HiddenButton",
          {.caption = "Versteckt", .left = 120, .top = 2400, .width = 1300, .height = 375}),
      Cover(
          *this, "Cover",
          {.left = 1900, .top = 0, .width = 400, .height = 400, .backColor = ui::Color::Black()}) {}

SecondForm::SecondForm()
    : ui::Form("SecondForm", {.caption = "Zweites Fenster",
                              .clientWidth = 3000,
                              .clientHeight = 1000,
                              .dialogBorder = true}),
      Command1(*this, "Command1",
               {.caption = "OK", .left = 120, .top = 120, .width = 1200, .height = 375}) {}

}  // namespace views::win32::testing
