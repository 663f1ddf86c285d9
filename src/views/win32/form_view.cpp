// The native Win32 window of a form.
//
// This file, in order:
//   - the window styles and the native class of each kind of control
//   - creating and destroying the form's windows, the children in their z-order, the
//     focus moved with Tab, placing the children, the DPI changing
//   - mirroring the model: a changed control or form, shown or hidden, texts, list items,
//     redrawing and the pointer
// The window procedures and input are in form_view_input.cpp, painting and the controls'
// colours in form_view_paint.cpp.
#include "views/win32/form_view.h"

#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/later_windows.h"
#include "platform/win32/utf8.h"
#include "views/win32/drive_combo.h"
#include "views/win32/gdi_cache.h"
#include "views/win32/native_images.h"
#include "views/win32/ui_backend.h"

namespace views::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"BelvostaForm";
constexpr wchar_t kPictureClass[] = L"BelvostaPicture";

// A fixed single border can be minimised; a dialog border cannot. Neither resizes.
constexpr DWORD kSingleStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

DWORD FormStyle(const ui::Form& form) {
  return form.DesignValues().dialogBorder ? kDialogStyle : kSingleStyle;
}

DWORD FormExStyle(const ui::Form& form) {
  return WS_EX_CONTROLPARENT | (form.DesignValues().dialogBorder ? WS_EX_DLGMODALFRAME : 0);
}

struct NativeKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

NativeKind NativeKindFor(const ui::Control& control) {
  const ui::Design& design = ui::CurrentValues(control);
  switch (control.Kind()) {
    case ui::ControlKind::Label:
      return {
          L"STATIC",
          SS_NOTIFY | SS_NOPREFIX |
              static_cast<DWORD>(design.alignment == ui::Alignment::Center ? SS_CENTER : SS_LEFT),
          static_cast<DWORD>(design.border ? WS_EX_CLIENTEDGE : 0)};
    case ui::ControlKind::TextBox:
      // Multi-line so that a text ending in a line break shows as one line, not as two
      // stray characters; Tab still moves on (see the child procedure).
      return {L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case ui::ControlKind::ListBox:
      return {L"LISTBOX",
              WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
              WS_EX_CLIENTEDGE};
    case ui::ControlKind::Button:
      return {
          L"BUTTON",
          WS_TABSTOP | BS_NOTIFY |
              static_cast<DWORD>(design.graphical ? BS_OWNERDRAW : BS_PUSHBUTTON | BS_MULTILINE),
          0};
    case ui::ControlKind::PictureBox:
      return {kPictureClass, 0,
              WS_EX_CONTROLPARENT | static_cast<DWORD>(design.border ? WS_EX_CLIENTEDGE : 0)};
    case ui::ControlKind::Frame:
      return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ui::ControlKind::DriveList:
      return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0};
    case ui::ControlKind::Timer:
      break;
  }
  return {nullptr, 0, 0};
}

}  // namespace

std::unique_ptr<Win32FormView> Win32FormView::Create(Win32Ui& ui, ui::Form& form) {
  std::unique_ptr<Win32FormView> view(new Win32FormView(ui, form));
  if (!view->CreateWindows()) return nullptr;
  return view;
}

Win32FormView::Win32FormView(Win32Ui& ui, ui::Form& form) : ui_(&ui), form_(form) {
  ui_->Register(this);
}

Win32FormView::~Win32FormView() {
  Detach();
}

void Win32FormView::Detach() {
  // The window system forgets the view first: its message loop and boxes no longer
  // reach it.
  if (ui_) ui_->Unregister(this);
  tips_.reset();
  if (window_) {
    // The procedures find no view from here on, and pass every message to Windows.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
  children_.clear();
  byWindow_.clear();
  ui_ = nullptr;
}

bool Win32FormView::CreateWindows() {
  static const bool classesReady = [] {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = &Win32FormView::FormProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = kFormClass;
    WNDCLASSEXW picture = form;
    picture.lpfnWndProc = &Win32FormView::PictureProc;
    picture.lpszClassName = kPictureClass;
    return RegisterClassExW(&form) != 0 && RegisterClassExW(&picture) != 0;
  }();
  if (!classesReady) return false;

  const ui::FormDesign& design = form_.DesignValues();
  dpi_ = platform::win32::WindowDpi(nullptr);
  const RECT frame =
      platform::win32::WindowRectForClient(platform::TwipsToPixels(design.clientWidth, dpi_),
                                           platform::TwipsToPixels(design.clientHeight, dpi_),
                                           FormStyle(form_), FormExStyle(form_), dpi_);
  const std::wstring caption = platform::win32::Widen(ui::CurrentCaption(form_));
  window_ =
      CreateWindowExW(FormExStyle(form_), kFormClass, caption.c_str(), FormStyle(form_),
                      CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) return false;

  for (const int size : {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)}) {
    const HICON icon = WindowIcon(design.icon, size);
    const WPARAM which = size == GetSystemMetrics(SM_CXICON) ? ICON_BIG : ICON_SMALL;
    SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }

  tips_ = std::make_unique<ToolTips>(window_);
  const std::vector<ui::Control*>& controls = form_.Controls();
  children_.resize(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) children_[i].control = controls[i];
  for (std::size_t i = 0; i < children_.size(); ++i) CreateChild(i);
  ArrangeZOrder();

  // The window may sit on a monitor of another DPI than the system's.
  const unsigned actualDpi = platform::win32::WindowDpi(window_);
  if (actualDpi != dpi_) OnDpiChanged(actualDpi, nullptr);
  PlaceChildren();
  for (Child& child : children_) ApplyAll(child);

  // Focus rectangles and underlined access keys appear once the keyboard is used.
  SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
  return true;
}

HWND Win32FormView::ContainerWindow(const ui::Control& control) const {
  const ui::Control* container = control.DesignValues().container;
  if (!container) return window_;
  for (const Child& child : children_) {
    if (child.control == container && child.window) return child.window;
  }
  return window_;
}

HWND Win32FormView::CreateChild(std::size_t index) {
  Child& child = children_[index];
  if (child.window) return child.window;
  const ui::Control& control = *child.control;
  const NativeKind kind = NativeKindFor(control);
  if (!kind.className) return nullptr;  // timers have no window

  // A container comes before what it holds, whatever the declaration order.
  if (const ui::Control* container = control.DesignValues().container) {
    for (std::size_t i = 0; i < children_.size(); ++i) {
      if (children_[i].control == container && i != index) CreateChild(i);
    }
  }
  const ui::Design& design = ui::CurrentValues(control);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
  if (design.visible) style |= WS_VISIBLE;
  if (!design.enabled) style |= WS_DISABLED;
  const int id = kFirstControlId + static_cast<int>(index);
  const std::wstring text = control.Kind() == ui::ControlKind::PictureBox
                                ? std::wstring()
                                : platform::win32::Widen(design.caption);
  child.window = CreateWindowExW(
      kind.exStyle, kind.className, text.c_str(), style, 0, 0, 0, 0, ContainerWindow(control),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!child.window) return nullptr;
  byWindow_[child.window] = index;

  if (control.Kind() != ui::ControlKind::PictureBox) {
    // Our procedure first, then the class's own.
    SetWindowSubclass(child.window, &Win32FormView::ChildProc, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  }
  // A themed drop-down list ignores the colours the program gives it.
  if (control.Kind() == ui::ControlKind::DriveList)
    platform::win32::DisableVisualStyle(child.window);
  if (control.Kind() == ui::ControlKind::DriveList) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof(parts);
    if (GetComboBoxInfo(child.window, &parts)) {
      if (parts.hwndList) byWindow_[parts.hwndList] = index;
      if (parts.hwndItem) byWindow_[parts.hwndItem] = index;
    }
    FillDriveCombo(child.window);
  }
  if (control.Kind() == ui::ControlKind::TextBox) {
    SendMessageW(child.window, EM_SETLIMITTEXT, 0, 0);
  }
  return child.window;
}

void Win32FormView::ArrangeZOrder() {
  // Tab moves through windows in their z-order, so the controls that take the focus come
  // first, in tab order. The others follow with the later declared in front, as they are
  // drawn: the covers in front of the ticks they hide, a picture in front of the frame it
  // overlaps. (Controls inside a container take their turn with it.)
  const std::size_t count = children_.size();
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < count; ++i) {
    if (children_[i].window) order.push_back(i);
  }
  const auto tabRank = [this, count](std::size_t i) {
    const ui::Control& control = *children_[i].control;
    if (!ui::KindTakesFocus(control.Kind())) return count + form_.Controls().size();
    return static_cast<std::size_t>(std::max(0, control.TabIndex()));
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const std::size_t rankA = tabRank(a), rankB = tabRank(b);
    if (rankA != rankB) return rankA < rankB;
    return a > b;
  });
  // Each container orders its own children: a window goes after the one before it among
  // its siblings.
  std::unordered_map<HWND, HWND> previousOf;
  for (const std::size_t i : order) {
    const HWND window = children_[i].window;
    const HWND parent = GetParent(window);
    const auto found = previousOf.find(parent);
    const HWND previous = found == previousOf.end() ? HWND_TOP : found->second;
    SetWindowPos(window, previous, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    previousOf[parent] = window;
  }
}

void Win32FormView::MoveFocus(bool forward) {
  if (!IsCurrent()) return;
  // Without the focus in this window, Tab goes on from the control the form had last.
  const Child* holder = ChildFor(GetFocus());
  const ui::Control* from = holder ? holder->control : ui::FocusedControl(form_);
  const ui::Control* next = form_.NextTabStop(from, forward);
  const Child* target = next ? ChildFor(*next) : nullptr;
  if (!target || !target->window) return;
  // What the dialog manager does on Tab: show the focus, select a text box's whole text.
  SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SetFocus(target->window);
  if (next->Kind() == ui::ControlKind::TextBox) SendMessageW(target->window, EM_SETSEL, 0, -1);
}

void Win32FormView::PlaceChildren() {
  const int width = platform::TwipsToPixels(form_.DesignValues().clientWidth, dpi_);
  const int height = platform::TwipsToPixels(form_.DesignValues().clientHeight, dpi_);
  const RECT frame = platform::win32::WindowRectForClient(width, height, FormStyle(form_),
                                                          FormExStyle(form_), dpi_);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (Child& child : children_) {
    if (!child.window) continue;
    const ui::Design& design = ui::CurrentValues(*child.control);
    int pixelHeight = platform::TwipsToPixels(design.height, dpi_);
    if (child.control->Kind() == ui::ControlKind::DriveList) {
      // The height of a drop-down list includes its open list; the closed box is as high
      // as the design says.
      SendMessageW(child.window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                   std::max(1, pixelHeight - 6));
      pixelHeight *= 8;
    }
    SetWindowPos(child.window, nullptr, platform::TwipsToPixels(design.left, dpi_),
                 platform::TwipsToPixels(design.top, dpi_),
                 platform::TwipsToPixels(design.width, dpi_), pixelHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(child.window, WM_SETFONT,
                 reinterpret_cast<WPARAM>(ui_->Gdi().FontFor(design.font, dpi_)), FALSE);
  }
  tips_->SetMaxWidth(platform::TwipsToPixels(form_.DesignValues().clientWidth, dpi_));
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32FormView::ApplyAll(Child& child) {
  if (!child.window) return;
  const ui::Design& design = ui::CurrentValues(*child.control);
  tips_->Set(child.window, platform::win32::Widen(design.toolTip));
  if (child.control->Kind() == ui::ControlKind::ListBox) SyncListItems(child);
}

void Win32FormView::OnDpiChanged(unsigned dpi, const RECT* suggested) {
  dpi_ = dpi;
  if (suggested) {
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceChildren();
}

Win32FormView::Child* Win32FormView::ChildFor(HWND window) {
  const auto found = byWindow_.find(window);
  return found == byWindow_.end() ? nullptr : &children_[found->second];
}

Win32FormView::Child* Win32FormView::ChildFor(const ui::Control& control) {
  for (Child& child : children_) {
    if (child.control == &control) return &child;
  }
  return nullptr;
}

// ---- Mirroring the model ----

void Win32FormView::ControlChanged(ui::Control& control, ui::Property what) {
  if (!window_) return;
  Child* child = ChildFor(control);
  if (!child || !child->window) return;
  const HWND window = child->window;
  const ui::Design& design = ui::CurrentValues(control);
  switch (what) {
    case ui::Property::Caption:
      SetChildText(*child);
      break;
    case ui::Property::ToolTip:
      tips_->Set(window, platform::win32::Widen(design.toolTip));
      break;
    case ui::Property::Colors:
    case ui::Property::Picture:
      Redraw(*child);
      break;
    case ui::Property::Font:
      SendMessageW(window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(ui_->Gdi().FontFor(design.font, dpi_)), TRUE);
      Redraw(*child);
      break;
    case ui::Property::Visible:
      if (!design.visible && GetFocus() == window) {
        // Keyboard input must not go on to a window that is no longer there.
        const ui::Control* next = form_.NextTabStop(&control, true);
        const Child* target = next ? ChildFor(*next) : nullptr;
        SetFocus(target && target->window ? target->window : window_);
      }
      ShowWindow(window, design.visible ? SW_SHOWNA : SW_HIDE);
      break;
    case ui::Property::Enabled:
      EnableWindow(window, design.enabled ? TRUE : FALSE);
      break;
    case ui::Property::MousePointer:
      RefreshCursor();
      break;
    case ui::Property::Items:
      SyncListItems(*child);
      break;
    case ui::Property::Selection:
      if (control.Kind() == ui::ControlKind::ListBox) {
        SendMessageW(window, LB_SETCURSEL,
                     static_cast<WPARAM>(static_cast<ui::ListBox&>(control).ListIndex()), 0);
      } else if (control.Kind() == ui::ControlKind::TextBox) {
        // The model counts bytes of UTF-8; the edit box counts UTF-16 units.
        auto& box = static_cast<ui::TextBox&>(control);
        const std::string& text = ui::CurrentValues(box).caption;
        const auto bytes =
            std::min<std::size_t>(static_cast<std::size_t>(box.SelStart()), text.size());
        const auto start = static_cast<WPARAM>(
            platform::win32::Widen(std::string_view(text).substr(0, bytes)).size());
        SendMessageW(window, EM_SETSEL, start, static_cast<LPARAM>(start));
      }
      break;
    case ui::Property::Focus:
      if (IsWindowVisible(window_)) SetFocus(window);
      break;
  }
}

void Win32FormView::FormChanged(ui::Property what) {
  if (!window_) return;
  if (what == ui::Property::Caption) {
    SetWindowTextW(window_, platform::win32::Widen(ui::CurrentCaption(form_)).c_str());
  } else if (what == ui::Property::MousePointer) {
    RefreshCursor();
  }
}

void Win32FormView::SetShown(bool shown) {
  if (!window_) return;
  ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
  if (shown) {
    SetForegroundWindow(window_);
    UpdateWindow(window_);
  }
}

void Win32FormView::SetChildText(Child& child) {
  const ui::Control& control = *child.control;
  if (control.Kind() == ui::ControlKind::PictureBox) return;
  const std::wstring text = platform::win32::Widen(ui::CurrentValues(control).caption);
  // The user's own typing comes back from the model unchanged: setting it again would put
  // the caret back at the start of an edit box.
  if (WindowText(child.window) == text) return;
  settingText_ = true;
  SetWindowTextW(child.window, text.c_str());
  settingText_ = false;
  Redraw(child);
}

void Win32FormView::SyncListItems(Child& child) {
  auto& list = static_cast<ui::ListBox&>(*child.control);
  const std::vector<std::string>& items = list.Items();
  const LRESULT shown = SendMessageW(child.window, LB_GETCOUNT, 0, 0);
  // The model only appends or clears: append what is new, or start again.
  std::size_t from = 0;
  if (shown >= 0 && static_cast<std::size_t>(shown) < items.size()) {
    from = static_cast<std::size_t>(shown);
  } else {
    SendMessageW(child.window, LB_RESETCONTENT, 0, 0);
  }
  for (std::size_t i = from; i < items.size(); ++i) {
    const std::wstring item = platform::win32::Widen(items[i]);
    SendMessageW(child.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(child.window, LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
}

void Win32FormView::Redraw(Child& child) {
  const HWND window = child.window;
  const ui::Design& design = ui::CurrentValues(*child.control);
  if (child.control->Kind() == ui::ControlKind::Label && design.transparent) {
    // A transparent label draws no background: what lay under its old text must be
    // painted again by the window beneath it first.
    const HWND parent = GetParent(window);
    RECT area{};
    GetWindowRect(window, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Win32FormView::RefreshCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return;
  const HWND under = WindowFromPoint(point);
  if (under && (under == window_ || IsChild(window_, under))) {
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

}  // namespace views::win32
