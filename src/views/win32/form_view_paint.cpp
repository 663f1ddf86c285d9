// The colours of a form's windows: what the views draw themselves (window and frame
// backgrounds, pictures, and the buttons of the graphical style, which have a background
// colour of their own) and the colours they give the controls Windows draws (OnControlColor).
#include "views/win32/form_view.h"

#include <algorithm>
#include "platform/win32/utf8.h"
#include "views/win32/gdi_cache.h"
#include "views/win32/native_images.h"
#include "views/win32/ui_backend.h"

namespace views::win32 {

void Win32FormView::FillBackground(HWND window, HDC dc, ui::Color color) {
  RECT area{};
  GetClientRect(window, &area);
  FillRect(dc, &area, ui_->Gdi().BrushFor(ToColorRef(color)));
}

// The colours of a control Windows draws itself (WM_CTLCOLOR...): its text and background
// colour, or no background for a transparent label.
LRESULT Win32FormView::OnControlColor(HDC dc, HWND control) {
  Child* child = ChildFor(control);
  if (!child) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  const ui::Design& design = ui::CurrentValues(*child->control);
  SetTextColor(dc, ToColorRef(design.foreColor));
  if (child->control->Kind() == ui::ControlKind::Label && design.transparent) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  const COLORREF back = ToColorRef(design.backColor);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(ui_->Gdi().BrushFor(back));
}

void Win32FormView::PaintPicture(Child& child) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(child.window, &paint);
  if (!dc) return;
  const ui::Design& design = ui::CurrentValues(*child.control);
  const COLORREF back = ToColorRef(design.backColor);
  RECT area{};
  GetClientRect(child.window, &area);
  FillRect(dc, &area, ui_->Gdi().BrushFor(back));
  // The picture keeps its own size from the top left corner, scaled with the DPI.
  if (design.picture) DrawBitmap(dc, design.picture->Pixels(), back, 0, 0, dpi_);
  EndPaint(child.window, &paint);
}

void Win32FormView::PaintFrame(Child& child) {
  // Drawn here rather than by the group box itself, which writes its caption in the
  // system's colours on some systems (Wine, visual styles) whatever the program asks.
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(child.window, &paint);
  if (!dc) return;
  const ui::Design& design = ui::CurrentValues(*child.control);
  const HBRUSH back = ui_->Gdi().BrushFor(ToColorRef(design.backColor));
  RECT area{};
  GetClientRect(child.window, &area);
  FillRect(dc, &area, back);

  const HGDIOBJ oldFont = SelectObject(dc, ui_->Gdi().FontFor(design.font, dpi_));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT edge = area;
  edge.top += metrics.tmHeight / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);

  const std::wstring caption = platform::win32::Widen(design.caption);
  if (!caption.empty()) {
    const int margin = MulDiv(8, static_cast<int>(dpi_), 96);
    RECT text{area.left + margin, area.top, area.right - margin, area.top + metrics.tmHeight};
    const UINT format = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT measured = text;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
              format | DT_CALCRECT);
    measured.right = std::min(measured.right + 2, text.right);
    measured.left -= 2;
    FillRect(dc, &measured, back);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(child.window) ? ToColorRef(design.foreColor)
                                                   : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
  }
  SelectObject(dc, oldFont);
  EndPaint(child.window, &paint);
}

void Win32FormView::DrawGraphicalButton(Child& child, const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  const ui::Design& design = ui::CurrentValues(*child.control);
  RECT area = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;

  FillRect(dc, &area, ui_->Gdi().BrushFor(ToColorRef(design.backColor)));
  if (focused) {
    // The button that Enter or space would press has a dark outline.
    FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&area, -1, -1);
  }
  DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

  // The caption, wrapped and centred both ways; a pressed button moves it down and right.
  const std::wstring caption = platform::win32::Widen(design.caption);
  const HGDIOBJ oldFont = SelectObject(dc, ui_->Gdi().FontFor(design.font, dpi_));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(design.foreColor));
  RECT text = area;
  InflateRect(&text, -2, -2);
  RECT measured = text;
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, format | DT_CALCRECT);
  const int offset = ((text.bottom - text.top) - (measured.bottom - measured.top)) / 2;
  if (offset > 0) text.top += offset;
  if (pressed) OffsetRect(&text, 1, 1);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
  SelectObject(dc, oldFont);

  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = area;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace views::win32
