// The window system on Win32: native views of the forms, Windows' own message boxes, the
// message loop, DoEvents and one thread timer that drives every timer of the model.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/windows_api.h"
#include "platform/win32_view/gdi_cache.h"
#include "ui/view_side.h"

namespace platform::win32 {

class FormWindow;

class Win32Ui final : public UiBackend {
 public:
  Win32Ui();
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  std::unique_ptr<FormView> CreateView(Form& form) override;
  int MessageBox(Form* owner, std::string_view text, int style, std::string_view title) override;
  void DoEvents() override;
  void WaitEvents(std::int64_t maxMs) override;
  void Run() override;
  void End() override;
  std::int64_t NowMs() override;

  // For the views.
  GdiCache& Gdi() { return gdi_; }
  HCURSOR CursorFor(MousePointer pointer) const;
  void Register(FormWindow* view);
  void Unregister(FormWindow* view);
  // Sets the thread timer to the next due timer of the model (or stops it).
  void ArmTimer();

 private:
  static void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD);
  void Dispatch(MSG& message);
  HWND BoxOwner(Form* owner) const;

  GdiCache gdi_;
  HCURSOR handCursor_ = nullptr;
  std::vector<FormWindow*> views_;
  // Per open message box (innermost last): the windows it disabled, to enable afterwards.
  std::vector<std::vector<HWND>> disabledByBoxes_;
  UINT_PTR timerId_ = 0;
  std::int64_t armedDueMs_ = -1;
};

}  // namespace platform::win32
