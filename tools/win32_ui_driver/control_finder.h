// Finds the program's forms by caption and their controls by class and place, the way a
// user finds them on the screen; a failure says what was there instead.
#pragma once

#include <windows.h>

#include <string>

#include "layout.h"
#include "program_windows.h"
#include "text.h"

namespace e2e {

class ControlFinder {
 public:
  ControlFinder(const Program& program, const Layout& layout, const Variables& variables)
      : program_(program), layout_(layout), variables_(variables) {}

  // The form's top-level window; a shown one before a hidden one. nullptr with the reason.
  HWND FindForm(const std::string& form, bool visibleOnly, std::string& whyNot) const;
  // The control's window: the one window of its class at its place. nullptr with the reason.
  HWND FindControl(const ControlEntry& entry, std::string& whyNot) const;

 private:
  // The DPI the form is laid out at: the one of the window's own DPI and the screen's at
  // which its client area has the size of the layout; 0 with the reason when neither fits.
  unsigned LayoutDpi(HWND form, const FormEntry& entry, std::string& whyNot) const;

  const Program& program_;
  const Layout& layout_;
  const Variables& variables_;
};

}  // namespace e2e
