// The window system on Win32: native views of the forms, Windows' own message boxes, the
// message loop, DoEvents and one thread timer that drives every timer of the model.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/view_side.h"
#include "views/win32/gdi_cache.h"

namespace views::win32 {

class Win32FormView;

class Win32Ui final : public ui::UiBackend {
 public:
  Win32Ui();
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  std::unique_ptr<ui::FormView> CreateView(ui::Form& form) override;
  int MessageBox(ui::Form* owner, std::string_view text, int style,
                 std::string_view title) override;
  void DoEvents() override;
  void WaitEvents(std::int64_t maxMs) override;
  void Run() override;
  void End() override;
  std::int64_t NowMs() override;

  // For the views.
  GdiCache& Gdi() { return gdi_; }
  HCURSOR CursorFor(ui::MousePointer pointer) const;
  void Register(Win32FormView* view);
  void Unregister(Win32FormView* view);
  // Sets the thread timer to the next due timer of the model (or stops it).
  void ArmTimer();

 private:
  static void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD);
  void Dispatch(MSG& message);
  HWND BoxOwner(ui::Form* owner) const;

  GdiCache gdi_;
  HCURSOR handCursor_ = nullptr;
  std::vector<Win32FormView*> views_;
  // Per open message box (innermost last): the windows it disabled, to enable afterwards.
  std::vector<std::vector<HWND>> disabledByBoxes_;
  UINT_PTR timerId_ = 0;
  std::int64_t armedDueMs_ = -1;
};

}  // namespace views::win32
