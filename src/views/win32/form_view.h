// The native view of one loaded form: a real top-level window with a fixed border, and one
// native child window of a standard class per control, placed at its twips position at
// the window's DPI. It mirrors the model's changes onto the windows and turns the user's
// input into the model's events.
//
// Handlers run inside this window's message handling, and may unload the form: the window
// system then retires the view without deleting it. A retired view ignores all input and
// is deleted only from the top-level message loop, when none of its code is on the stack.
//
// What of ui/view_side.h the Win32 view implements, and where:
//   - FormView (ControlChanged, FormChanged, SetShown, Handle, Detach): Win32FormView, here and
//     in form_view.cpp;
//   - UiBackend (CreateView, MessageBox, DoEvents, WaitEvents, Run, End, NowMs): Win32Ui in
//     ui_backend.*; its loop runs NextTimerDueMs and RunDueTimers, and CollectRetiredViews
//     at the top level;
//   - the views' calls on a form: CurrentValues, CurrentCaption, FocusedControl,
//     KindTakesFocus and the Tab order (Form::NextTabStop) in form_view.cpp;
//     CurrentMousePointer, CloseRequested and FocusChangedByUser in form_view_input.cpp;
//     CurrentValues for the colours in form_view_paint.cpp.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/view_side.h"
#include "views/win32/tool_tips.h"

namespace views::win32 {

class Win32Ui;

// The text a window shows, as Windows holds it.
std::wstring WindowText(HWND window);

class Win32FormView final : public ui::FormView {
 public:
  // The view, or nullptr when Windows refuses the window.
  static std::unique_ptr<Win32FormView> Create(Win32Ui& ui, ui::Form& form);
  ~Win32FormView() override;
  Win32FormView(const Win32FormView&) = delete;
  Win32FormView& operator=(const Win32FormView&) = delete;

  void ControlChanged(ui::Control& control, ui::Property what) override;
  void FormChanged(ui::Property what) override;
  void SetShown(bool shown) override;
  platform::WindowHandle Handle() const override {
    return reinterpret_cast<platform::WindowHandle>(window_);
  }

  HWND Window() const { return window_; }
  // Moves the keyboard focus to the form's next (or previous) tab stop, as Tab and
  // Shift+Tab do.
  void MoveFocus(bool forward);
  // Destroys the native windows at once and leaves a view that does nothing: for a form
  // or control that goes, and for views that outlive the window system.
  void Detach() override;

  // The control window's number: 1000 plus the control's place in the form's list, so
  // that tools (and the end-to-end tests) can tell controls of equal caption apart.
  static constexpr int kFirstControlId = 1000;

 private:
  struct Child {
    ui::Control* control = nullptr;
    HWND window = nullptr;
    bool pressed = false;  // picture boxes: the left button went down on it
  };

  Win32FormView(Win32Ui& ui, ui::Form& form);
  bool CreateWindows();
  HWND CreateChild(std::size_t index);
  void ArrangeZOrder();
  void PlaceChildren();
  void ApplyAll(Child& child);

  // The view's own window procedures and what they share.
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Subclasses each control window (not picture boxes, whose class is ours), with the view
  // as reference data.
  static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR viewData);
  static constexpr UINT_PTR kSubclassId = 1;
  static Win32FormView* FromWindow(HWND window);
  LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnPictureMessage(Child& child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnChildMessage(Child& child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void OnCommand(Child& child, int code);
  bool OnSetCursor(HWND target, UINT hitTest);
  void OnDpiChanged(unsigned dpi, const RECT* suggested);

  // Painting and the colours of the controls Windows draws (form_view_paint.cpp).
  LRESULT OnControlColor(HDC dc, HWND control);
  void PaintPicture(Child& child);
  void PaintFrame(Child& child);
  void DrawGraphicalButton(Child& child, const DRAWITEMSTRUCT& item);
  void FillBackground(HWND window, HDC dc, ui::Color color);

  // Mirroring the model.
  void SetChildText(Child& child);
  void SyncListItems(Child& child);
  void Redraw(Child& child);
  void RefreshCursor();

  // Whether the form still shows through this view (it is not retired nor detached).
  bool IsCurrent() const { return ui_ && ui::ViewOf(form_) == this; }
  Child* ChildFor(HWND window);
  Child* ChildFor(const ui::Control& control);
  HWND ContainerWindow(const ui::Control& control) const;

  Win32Ui* ui_;  // null once detached
  ui::Form& form_;
  HWND window_ = nullptr;
  unsigned dpi_ = 96;
  std::vector<Child> children_;
  std::unordered_map<HWND, std::size_t> byWindow_;
  std::unique_ptr<ToolTips> tips_;
  HWND lastFocus_ = nullptr;
  bool settingText_ = false;  // our own SetWindowText: not the user's edit
};

}  // namespace views::win32
