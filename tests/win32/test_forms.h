// Small forms for the tests of the native view: one control of each kind, and a second
// window to watch while the first shows a message box.
#pragma once

#include "ui/view_side.h"

namespace platform::win32::testing {

class TestForm : public Form {
 public:
  TestForm();

  Frame Frame1;
  Label InnerLabel;
  Label Label1;
  CommandButton Command1;
  ListBox List1;
  TextBox Text1;
  PictureBox Picture1;
  DriveListBox Drive1;
  Timer Timer1;
  CommandButton HiddenButton;  // below the client area, reachable with Tab
  PictureBox Cover;            // declared last, lies over the frame's corner

  // Client size in twips.
  static constexpr Twips kWidth = 6000;
  static constexpr Twips kHeight = 1800;
};

class SecondForm : public Form {
 public:
  SecondForm();
  CommandButton Command1;
};

}  // namespace platform::win32::testing
