// Small forms for the tests of the native view: one control of each kind, and a second
// window to watch while the first shows a message box.
#pragma once

#include "ui/view_side.h"

namespace views::win32::testing {

class TestForm : public ui::Form {
 public:
  TestForm();

  ui::Frame Frame1;
  ui::Label InnerLabel;
  ui::Label Label1;
  ui::CommandButton Command1;
  ui::ListBox List1;
  ui::TextBox Text1;
  ui::PictureBox Picture1;
  ui::DriveListBox Drive1;
  ui::Timer Timer1;
  ui::CommandButton HiddenButton;  // below the client area, reachable with Tab
  ui::PictureBox Cover;            // declared last, lies over the frame's corner

  // Client size in twips.
  static constexpr platform::Twips kWidth = 6000;
  static constexpr platform::Twips kHeight = 1800;
};

class SecondForm : public ui::Form {
 public:
  SecondForm();
  ui::CommandButton Command1;
};

}  // namespace views::win32::testing
