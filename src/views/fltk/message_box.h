// The program's modal message box: a title, a text without icon, and the buttons OK or
// Ja / Nein / Abbrechen, laid out and answered like Windows' own boxes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "views/fltk/screen_units.h"

class Fl_Window;

namespace views::fltk {

class FltkUi;

// Shows the box centred over owner (or the screen when there is none) and waits for the
// answer: vbOK for the OK set; vbYes, vbNo or vbCancel for the Yes/No/Cancel set (style 3).
// Closing the box answers as its last button does. The program's other windows take no
// input meanwhile; timers keep ticking.
int RunMessageBox(FltkUi& ui, const ScreenUnits& units, const Fl_Window* owner,
                  std::string_view text, int style, std::string_view title);

// What Ctrl+C copies from a box, in the layout Windows uses for its message boxes.
std::string MessageBoxClipboardText(std::string_view title, std::string_view text,
                                    const std::vector<std::string>& buttons);

}  // namespace views::fltk
