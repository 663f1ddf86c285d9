// The user's hands: the mouse and the keyboard. Real input goes through SendInput, so that
// the program sees what it sees from a person; where that does not reach the program (no
// cursor moves), the same events are posted to the windows instead.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

class UserInput {
 public:
  // Finds out once whether real input arrives.
  UserInput();

  // Moves the mouse onto the middle of the part of the window that shows and clicks as
  // often as asked (0: only moves, 2: a double click); fails, saying why, when the window
  // is hidden, lies outside its form's client area or another window covers it.
  bool Click(HWND target, int clicks, std::string& whyNot);
  // Moves the mouse to the screen's bottom right corner, away from every window.
  void Park();
  // Presses and releases one key, sent to the window that has the keyboard focus.
  void Press(WORD virtualKey, HWND focused);

 private:
  // Moves the pointer there, one pixel from the left, and waits until it has arrived.
  void MoveTo(POINT point);

  bool real_ = false;
};

// The part of the window that shows on the screen, clipped by every window that holds it;
// false with the reason when none does.
bool VisibleRect(HWND target, RECT& visible, std::string& whyNot);
// Where a click on the window lands (screen pixels): the middle of what shows, when no
// other window lies on it there.
bool VisibleMiddle(HWND target, POINT& point, std::string& whyNot);

}  // namespace e2e
