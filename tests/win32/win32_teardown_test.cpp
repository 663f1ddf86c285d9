// The teardown cases (teardown_cases.h) with real windows under Wine: destroying a window
// also activates another and repaints what lay beneath, and Windows may swallow a fault
// inside a window procedure, which the fenced pages count.
#include "platform/win32/windows_api.h"

#include "native_window.h"
#include "teardown/teardown_cases.h"
#include "views/win32/ui_backend.h"

namespace teardown {
namespace {

using views::win32::testing::NativeOf;

class Win32View final : public View {
 public:
  ui::UiBackend& Native() override { return native_; }
  // Windows sends no move for a pointer that stays where it is; the bound is the messages'
  // way through Wine.
  bool PointAt(const ui::Control& control, const int& moves) override {
    const HWND window = NativeOf(control);
    RECT area{};
    if (!window || !GetWindowRect(window, &area)) return false;
    const int before = moves;
    for (int attempt = 0; attempt < 200 && moves == before; ++attempt) {
      SetCursorPos((area.left + area.right) / 2 + attempt % 2, (area.top + area.bottom) / 2);
      Pump();
    }
    return moves > before;
  }
  void JigglePointer() override {
    POINT at{};
    GetCursorPos(&at);
    SetCursorPos(at.x + 1, at.y + 1);
    Pump();
    SetCursorPos(at.x, at.y);
    Pump();
  }
  void Press(const ui::CommandButton& button) override {
    SendMessageW(NativeOf(button), BM_CLICK, 0, 0);
  }
  void CloseMessageBox() override {
    if (const HWND box = FindWindowW(L"#32770", L"Belvosta")) PostMessageW(box, WM_CLOSE, 0, 0);
  }
  bool AWindowIsShown() override {
    HWND form = nullptr;
    do form = FindWindowExW(nullptr, form, L"BelvostaForm", nullptr);
    while (form && !IsWindowVisible(form));
    return form != nullptr;
  }

 private:
  // Runs the messages of a while, pointer moves and repaints included, which Wine delivers
  // as its X server sends them.
  void Pump() {
    for (int round = 0; round < 20; ++round) {
      native_.DoEvents();
      Sleep(2);
    }
  }

  views::win32::Win32Ui native_;
};

TEST(Win32TeardownAtExit, TheProgramsStaticObjectsWithWindowsShown) {
  EXPECT_EXIT(ExitWithTheProgramShown(), ::testing::ExitedWithCode(0), "");
}

}  // namespace

std::unique_ptr<View> MakeView() {
  return std::make_unique<Win32View>();
}

}  // namespace teardown
