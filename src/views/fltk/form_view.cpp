#include "views/fltk/form_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Tooltip.H>

#include <algorithm>
#include <vector>

#include "views/fltk/control_widgets.h"
#include "views/fltk/looks.h"
#include "views/fltk/x11_display.h"

namespace views::fltk {

// The top-level window of a form. It moves the focus in the form's tab order and keeps
// the mouse pointer in step with what lies under it.
class FltkFormWindow final : public Fl_Double_Window {
 public:
  FltkFormWindow(FltkFormView& view, int width, int height)
      : Fl_Double_Window(width, height), view_(view) {
    end();
  }

  int handle(int event) override {
    switch (event) {
      case FL_KEYBOARD:
      case FL_SHORTCUT:
        if (IsTab()) {
          view_.MoveFocus((Fl::event_state() & FL_SHIFT) == 0);
          return 1;
        }
        // Other keys that no control used: no arrow-key navigation in child order.
        return event == FL_KEYBOARD ? 0 : Fl_Double_Window::handle(event);
      case FL_FOCUS:
        if (view_.FocusPreferredControl()) return 1;
        return Fl_Double_Window::handle(event);
      case FL_ENTER:
      case FL_MOVE: {
        Fl_Double_Window::handle(event);
        view_.UpdateCursor();
        return 1;
      }
      default:
        return Fl_Double_Window::handle(event);
    }
  }

 private:
  static bool IsTab() {
    return Fl::event_key() == FL_Tab && (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) == 0;
  }

  FltkFormView& view_;
};

namespace {

// Window titles are one line of text.
std::string TitleText(std::string_view caption) {
  std::string title = DrawableText(caption);
  std::replace(title.begin(), title.end(), '\n', ' ');
  std::replace(title.begin(), title.end(), '\t', ' ');
  return title;
}

// The close box asks the form to unload; Escape closes no form.
void CloseBoxPressed(Fl_Widget*, void* data) {
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  auto* view = static_cast<FltkFormView*>(data);
  if (view->IsCurrent()) ui::CloseRequested(view->form());
}

// Cursor codes for cursorShown_: FLTK's cursors, and one more for the hand image.
constexpr int kHandCursor = 1000;

}  // namespace

FltkFormView::FltkFormView(ui::Form& form, const ScreenUnits& units) : form_(form), units_(units) {
  const ui::FormDesign& design = form.DesignValues();
  Fl_Group::current(nullptr);
  const int width = std::max(1, units_.X(design.clientWidth));
  const int height = std::max(1, units_.Y(design.clientHeight));
  window_ = std::make_unique<FltkFormWindow>(*this, width, height);
  window_->size_range(width, height, width, height);  // a fixed border: no resizing
  window_->color(ToFlColor(design.backColor));
  window_->copy_label(TitleText(ui::CurrentCaption(form)).c_str());
  window_->xclass("belvosta");
  if (const Fl_RGB_Image* icon = IconImage(design.icon)) window_->icon(icon);
  window_->callback(CloseBoxPressed, this);
  BuildWidgets();
}

FltkFormView::~FltkFormView() {
  Detach();
}

void FltkFormView::Detach() {
  // First: hiding the window, and deleting its widgets later, moves FLTK's pointer and
  // focus to other windows and may send this window's widgets their last events.
  attached_ = false;
  // FLTK's tool tip may still point into this window.
  if (Fl_Widget* tipped = Fl_Tooltip::current(); tipped && tipped->window() == window_.get()) {
    Fl_Tooltip::current(nullptr);
  }
  window_->hide();
}

Fl_Window& FltkFormView::window() const {
  return *window_;
}

void FltkFormView::BuildWidgets() {
  struct Made {
    ui::Control* control;
    std::unique_ptr<ControlWidget> widget;
  };
  std::vector<Made> made;
  for (ui::Control* control : form_.Controls()) {
    std::unique_ptr<ControlWidget> widget(MakeControlWidget(*this, *control));
    if (!widget) continue;
    widgets_[control] = widget.get();
    made.push_back({control, std::move(widget)});
  }

  // A control's pixel rectangle in window coordinates: its twips are relative to its
  // container (a frame or picture box), whose own place is found the same way. The depth
  // bound guards against a container chain that loops.
  auto placeOf = [this](const ui::Control* control) {
    int left = 0, top = 0;
    for (int depth = 0; control && depth < 32; ++depth) {
      left += units_.X(ui::CurrentValues(*control).left);
      top += units_.Y(ui::CurrentValues(*control).top);
      const ui::Control* container = ui::CurrentValues(*control).container;
      ControlWidget* holder = WidgetOf(container);
      auto* group = holder ? dynamic_cast<ContainerWidget*>(holder) : nullptr;
      if (!group) break;
      left += group->Inset();
      top += group->Inset();
      control = container;
    }
    return std::make_pair(left, top);
  };

  // Labels have no window of their own on Windows and lie beneath the other controls of
  // their container; the rest stack in declaration order, later ones in front.
  std::stable_partition(made.begin(), made.end(),
                        [](const Made& m) { return m.control->Kind() == ui::ControlKind::Label; });
  // Every widget gets its place before any joins a group: resizing a group moves the
  // children it already has.
  for (Made& m : made) {
    const ui::Design& state = ui::CurrentValues(*m.control);
    const auto [left, top] = placeOf(m.control);
    m.widget->Widget().resize(left, top, units_.X(state.width), units_.Y(state.height));
  }
  for (Made& m : made) {
    const ui::Design& state = ui::CurrentValues(*m.control);
    auto* container = dynamic_cast<ContainerWidget*>(WidgetOf(state.container));
    Fl_Group& parent =
        container ? static_cast<Fl_Group&>(*container) : static_cast<Fl_Group&>(*window_);
    ControlWidget* adopted = m.widget.release();
    parent.add(adopted->Widget());
  }
  for (const auto& [control, widget] : widgets_) widget->ApplyAll();
}

ControlWidget* FltkFormView::WidgetOf(const ui::Control* control) const {
  const auto found = widgets_.find(control);
  return found == widgets_.end() ? nullptr : found->second;
}

ControlWidget* FltkFormView::Owning(Fl_Widget* widget) const {
  for (; widget && widget != window_.get(); widget = widget->parent()) {
    if (auto* owner = dynamic_cast<ControlWidget*>(widget)) return owner;
  }
  return nullptr;
}

void FltkFormView::ControlChanged(ui::Control& control, ui::Property what) {
  if (!attached_) return;
  if (ControlWidget* widget = WidgetOf(&control)) widget->Apply(what);
}

void FltkFormView::FormChanged(ui::Property what) {
  if (!attached_) return;
  if (what == ui::Property::Caption) {
    window_->copy_label(TitleText(ui::CurrentCaption(form_)).c_str());
  } else if (what == ui::Property::MousePointer) {
    UpdateCursor();
    Fl::flush();  // show it now: the handler that set it may block for a while
  }
}

void FltkFormView::SetShown(bool shown) {
  if (!shown || !attached_) {
    window_->hide();
    return;
  }
  if (!placed_) {
    // First shown in the middle of the screen's free area.
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_work_area(x, y, w, h, 0);
    window_->position(x + std::max(0, (w - window_->w()) / 2),
                      y + std::max(0, (h - window_->h()) / 2));
    placed_ = true;
  }
  window_->show();
  cursorShown_ = -1;  // a newly mapped window starts with the default pointer
  UpdateCursor();
  FocusPreferredControl();
}

platform::WindowHandle FltkFormView::Handle() const {
  return WindowId(*window_);
}

bool FltkFormView::FocusPreferredControl() {
  if (!attached_) return false;
  ui::Control* preferred = ui::FocusedControl(form_);
  if (!preferred || !form_.IsTabStop(*preferred)) preferred = form_.NextTabStop(nullptr, true);
  ControlWidget* widget = WidgetOf(preferred);
  return widget && widget->Widget().take_focus();
}

void FltkFormView::MoveFocus(bool forward) {
  if (!attached_) return;
  // Without FLTK's focus in this window (a box closed, say), Tab goes on from the control
  // the form had focused last.
  ControlWidget* holder = Owning(Fl::focus());
  const ui::Control* focused = holder ? &holder->control() : ui::FocusedControl(form_);
  if (ControlWidget* widget = WidgetOf(form_.NextTabStop(focused, forward))) {
    widget->Widget().take_focus();
  }
}

void FltkFormView::UpdateCursor() {
  if (!attached_ || !window_->shown()) return;
  ui::MousePointer pointer = ui::CurrentMousePointer(form_);
  Fl_Cursor standard = FL_CURSOR_DEFAULT;
  Fl_Widget* below = Fl::belowmouse();
  if (pointer == ui::MousePointer::Default && below && below->top_window() == window_.get()) {
    if (ControlWidget* widget = Owning(below)) {
      pointer = ui::CurrentValues(widget->control()).mousePointer;
      standard = widget->DefaultCursor();
    }
  }
  int wanted = standard;
  if (pointer == ui::MousePointer::Hourglass) wanted = FL_CURSOR_WAIT;
  if (pointer == ui::MousePointer::Hand) wanted = kHandCursor;
  if (wanted == cursorShown_) return;
  cursorShown_ = wanted;
  if (wanted == kHandCursor) {
    window_->cursor(HandCursorImage(), ui::kHandHotSpotX, ui::kHandHotSpotY);
  } else {
    window_->cursor(static_cast<Fl_Cursor>(wanted));
  }
}

}  // namespace views::fltk
