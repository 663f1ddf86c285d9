// The window procedures of a form's windows: the user's input becomes the model's events.
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "platform/win32/utf8.h"
#include "views/win32/form_view.h"
#include "views/win32/gdi_cache.h"
#include "views/win32/ui_backend.h"

namespace views::win32 {
namespace {

// WM_DPICHANGED, which Windows XP's headers lack.
constexpr UINT kDpiChanged = 0x02E0;

}  // namespace

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(0, copied)));
  return text;
}

Win32FormView* Win32FormView::FromWindow(HWND window) {
  const HWND root = GetAncestor(window, GA_ROOT);
  if (!root) return nullptr;
  return reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

LRESULT CALLBACK Win32FormView::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* view = static_cast<Win32FormView*>(create->lpCreateParams);
    view->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  }
  auto* view = reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view || view->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
  return view->OnFormMessage(message, wParam, lParam);
}

LRESULT CALLBACK Win32FormView::PictureProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  Win32FormView* view = FromWindow(window);
  Child* child = view ? view->ChildFor(window) : nullptr;
  LRESULT result = 0;
  if (child && view->OnPictureMessage(*child, message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FormView::ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR viewData) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &Win32FormView::ChildProc, kSubclassId);
  // A view that is being detached has let go of its form window first: from then on its
  // children pass every message to Windows.
  auto* view = reinterpret_cast<Win32FormView*>(viewData);
  if (FromWindow(window) != view) return DefSubclassProc(window, message, wParam, lParam);
  Child* child = view->ChildFor(window);
  LRESULT result = 0;
  if (child && view->OnChildMessage(*child, message, wParam, lParam, result)) return result;
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT Win32FormView::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnNotification(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      FillBackground(window_, reinterpret_cast<HDC>(wParam), form_.DesignValues().backColor);
      return 1;
    case WM_CLOSE:
      // The close box, the system menu and Alt+F4: the form decides, the window stays
      // until the view is collected.
      if (IsCurrent()) ui::CloseRequested(form_);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam && IsCurrent()) ui::CloseRequested(form_);
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
      } else {
        // Back to the control that had the focus, or the first in tab order.
        HWND target = lastFocus_;
        if (!target || !IsWindow(target) || !IsChild(window_, target) || !IsWindowVisible(target) ||
            !IsWindowEnabled(target)) {
          const ui::Control* first = form_.NextTabStop(nullptr, true);
          const Child* child = first ? ChildFor(*first) : nullptr;
          target = child ? child->window : nullptr;
        }
        if (target) SetFocus(target);
      }
      return 0;
    case kDpiChanged:
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool Win32FormView::OnNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      Child* child = ChildFor(reinterpret_cast<HWND>(lParam));
      if (child) {
        OnCommand(*child, HIWORD(wParam));
      } else if (LOWORD(wParam) == IDOK && IsCurrent()) {
        // Enter: presses the button that has the focus, as on a dialog.
        Child* focused = ChildFor(GetFocus());
        if (focused && focused->control->Kind() == ui::ControlKind::Button) {
          focused->control->RaiseClick();
        }
      }
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      result = OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      return true;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Child* child = item ? ChildFor(item->hwndItem) : nullptr;
      if (!child || item->CtlType != ODT_BUTTON) return false;
      DrawGraphicalButton(*child, *item);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

void Win32FormView::OnCommand(Child& child, int code) {
  if (!IsCurrent()) return;
  ui::Control& control = *child.control;
  switch (control.Kind()) {
    case ui::ControlKind::Label:
      if (code == STN_CLICKED) control.RaiseClick();
      if (code == STN_DBLCLK) control.RaiseDblClick();
      break;
    case ui::ControlKind::Button:
      if (code == BN_CLICKED) control.RaiseClick();
      if (code == BN_SETFOCUS) ui::FocusChangedByUser(form_, &control);
      break;
    case ui::ControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        const LRESULT index = SendMessageW(child.window, LB_GETCURSEL, 0, 0);
        static_cast<ui::ListBox&>(control).SetListIndex(static_cast<int>(index));
      }
      if (code == LBN_DBLCLK) control.RaiseDblClick();
      if (code == LBN_SETFOCUS) ui::FocusChangedByUser(form_, &control);
      break;
    case ui::ControlKind::TextBox:
      // Only the user's typing: the view's own updates are the model's text already.
      if (code == EN_CHANGE && !settingText_)
        control.SetText(platform::win32::Narrow(WindowText(child.window)));
      if (code == EN_SETFOCUS) ui::FocusChangedByUser(form_, &control);
      break;
    case ui::ControlKind::DriveList:
      if (code == CBN_SETFOCUS) ui::FocusChangedByUser(form_, &control);
      break;
    case ui::ControlKind::PictureBox:
    case ui::ControlKind::Frame:
    case ui::ControlKind::Timer:
      break;
  }
}

bool Win32FormView::OnSetCursor(HWND target, UINT hitTest) {
  if (hitTest != HTCLIENT) return false;
  // The form's pointer, while it is not the default, covers all of its controls.
  if (ui::CurrentMousePointer(form_) != ui::MousePointer::Default) {
    SetCursor(ui_->CursorFor(ui::CurrentMousePointer(form_)));
    return true;
  }
  Child* child = ChildFor(target);
  if (!child || ui::CurrentValues(*child->control).mousePointer == ui::MousePointer::Default)
    return false;
  SetCursor(ui_->CursorFor(ui::CurrentValues(*child->control).mousePointer));
  return true;
}

bool Win32FormView::OnPictureMessage(Child& child, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) {
  if (OnNotification(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // painted whole in WM_PAINT
      return true;
    case WM_PAINT:
      PaintPicture(child);
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      child.pressed = true;
      SetCapture(child.window);
      return true;
    case WM_LBUTTONUP: {
      // A click is a press and a release on the same picture.
      const bool wasPressed = child.pressed;
      child.pressed = false;
      if (GetCapture() == child.window) ReleaseCapture();
      RECT area{};
      GetClientRect(child.window, &area);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&area, at) && IsCurrent()) child.control->RaiseClick();
      return true;
    }
    case WM_LBUTTONDBLCLK:
      child.pressed = false;
      if (IsCurrent()) child.control->RaiseDblClick();
      return true;
    case WM_CAPTURECHANGED:
      child.pressed = false;
      return true;
    case WM_MOUSEMOVE:
      if (IsCurrent()) child.control->RaiseMouseMove();
      return true;
    default:
      return false;
  }
}

bool Win32FormView::OnChildMessage(Child& child, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result) {
  const ui::ControlKind kind = child.control->Kind();
  if (kind == ui::ControlKind::Frame) {
    // A group box passes its controls' notifications to no one; here they reach the form.
    if (OnNotification(message, wParam, lParam, result)) return true;
    if (message == WM_NCHITTEST) {
      result = HTCLIENT;  // a group box lets the mouse through to the window beneath
      return true;
    }
    if (message == WM_ERASEBKGND) {
      result = 1;  // painted whole in WM_PAINT
      return true;
    }
    if (message == WM_PAINT) {
      PaintFrame(child);
      result = 0;
      return true;
    }
    if (message == WM_ENABLE || message == WM_SETTEXT) {
      // The group box would draw itself at once, in its own colours.
      result = DefSubclassProc(child.window, message, wParam, lParam);
      InvalidateRect(child.window, nullptr, TRUE);
      return true;
    }
  }
  if (kind == ui::ControlKind::TextBox && message == WM_GETDLGCODE) {
    // A multi-line box would keep Tab and Enter; these move on, as in a one-line box.
    result = DefSubclassProc(child.window, message, wParam, lParam) &
             ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return true;
  }
  if (message == WM_MOUSEMOVE) {
    result = DefSubclassProc(child.window, message, wParam, lParam);
    if (IsCurrent()) child.control->RaiseMouseMove();
    return true;
  }
  return false;
}

}  // namespace views::win32
