// The window model's state and its rules (see forms.h).
//
// This file, in order:
//   - the model's globals: active forms, retired views, the program's title, the window
//     system's backend, message boxes, event processing and the timers' schedule
//   - Control: its properties, focus and raised events
//   - TextBox, ListBox and Timer
//   - Form: loading, views, showing, hiding and unloading, caption, pointer, tab order
#include "ui/forms.h"

#include "ui/view_side.h"

#include <algorithm>

namespace ui {
namespace {

UiBackend* g_backend = nullptr;
std::vector<Timer*> g_timers;
// Views of unloaded forms wait here, with the form they showed, until no handler can
// still be running on them.
struct RetiredView {
  const Form* form;
  std::unique_ptr<FormView> view;
};
std::vector<RetiredView> g_retiredViews;
// Every form that exists, for the owners of message boxes.
std::vector<const Form*> g_forms;
// The forms whose handlers are on the call stack, innermost last.
std::vector<Form*> g_activeForms;

// Marks a form as the one whose handler runs, for the owner of message boxes.
class ActiveScope {
 public:
  explicit ActiveScope(Form& form) : depth_(g_activeForms.size()) {
    g_activeForms.push_back(&form);
  }
  // Back to the depth before the handler, even when a form left the stack meanwhile.
  ~ActiveScope() { g_activeForms.resize(std::min(g_activeForms.size(), depth_)); }
  ActiveScope(const ActiveScope&) = delete;
  ActiveScope& operator=(const ActiveScope&) = delete;

 private:
  std::size_t depth_;
};

void Fire(Form& form, const std::function<void()>& handler) {
  if (!handler) return;
  ActiveScope scope(form);
  // Copy first: the handler may replace itself while it runs.
  auto run = handler;
  run();
}

// Tells the form's view, if it has one, what changed.
void NotifyView(Control& control, Property what) {
  if (FormView* view = ViewOf(control.Owner())) view->ControlChanged(control, what);
}
void NotifyView(Form& form, Property what) {
  if (FormView* view = ViewOf(form)) view->FormChanged(what);
}

// The program's title for boxes without one.
std::string& AppTitle() {
  static std::string title;
  return title;
}

}  // namespace

struct Form::Native {
  std::unique_ptr<FormView> view;
};

FormView* ViewAccess::ViewOf(const Form& form) {
  return form.native_->view.get();
}

const Bitmap& Picture::Pixels() const {
  if (!pixels_) pixels_ = paint_();
  return *pixels_;
}

void SetAppTitle(std::string_view title) {
  AppTitle() = title;
}

bool KindTakesFocus(ControlKind kind) {
  return kind == ControlKind::TextBox || kind == ControlKind::ListBox ||
         kind == ControlKind::Button || kind == ControlKind::DriveList;
}

void SetUiBackend(UiBackend* backend) {
  g_backend = backend;
}
UiBackend* GetUiBackend() {
  return g_backend;
}

Form* ActiveForm() {
  return g_activeForms.empty() ? nullptr : g_activeForms.back();
}

int MsgBox(std::string_view text, int style, std::string_view title) {
  if (!g_backend) return style == vbOKOnly ? vbOK : vbCancel;
  return g_backend->MessageBox(ActiveForm(), text, style,
                               title.empty() ? std::string_view(AppTitle()) : title);
}

void DoEvents() {
  if (g_backend) g_backend->DoEvents();
}

void WaitEvents(std::int64_t maxMs) {
  if (g_backend) g_backend->WaitEvents(std::max<std::int64_t>(maxMs, 0));
}

void End() {
  if (g_backend) g_backend->End();
}

std::int64_t NextTimerDueMs() {
  std::int64_t next = -1;
  for (Timer* t : g_timers) {
    const std::int64_t due = ViewAccess::DueMs(*t);
    if (due < 0 || !t->Owner().IsLoaded()) continue;
    if (next < 0 || due < next) next = due;
  }
  return next;
}

void RunDueTimers(std::int64_t nowMs) {
  // A handler may enable, disable or (in tests) destroy timers: work on a copy and check
  // that each timer still exists and is still due before it ticks.
  const std::vector<Timer*> snapshot = g_timers;
  for (Timer* t : snapshot) {
    if (std::find(g_timers.begin(), g_timers.end(), t) == g_timers.end()) continue;
    std::int64_t& due = ViewAccess::DueMs(*t);
    if (due < 0 || due > nowMs || !t->Owner().IsLoaded()) continue;
    due = nowMs + std::max(1, CurrentValues(*t).interval);
    Fire(t->Owner(), t->Tick);
  }
}

void CollectRetiredViews() {
  // Taken out first: deleting a view may run handlers of other forms that retire more.
  std::vector<RetiredView> retired;
  retired.swap(g_retiredViews);
}

bool FormExists(const Form* form) {
  return form && std::find(g_forms.begin(), g_forms.end(), form) != g_forms.end();
}

// ---- Control ----

Control::Control(Form& form, std::string name, ControlKind kind, Design design, int index)
    : form_(form),
      name_(std::move(name)),
      kind_(kind),
      index_(index),
      design_(std::move(design)),
      state_(design_) {
  form_.Register(this);
}

Control::~Control() {
  // The form's views mirror its controls as they were built: none may outlive one. The
  // controls are the members of the form's subclass, so this also runs before the form's
  // own destructor.
  form_.DetachViews();
  form_.Unregister(this);
}

void Control::Touch() {
  form_.EnsureLoaded();
}

void Control::ResetToDesign() {
  state_ = design_;
}

const std::string& Control::Caption() {
  Touch();
  return state_.caption;
}

void Control::SetCaption(std::string caption) {
  Touch();
  if (state_.caption == caption) return;
  state_.caption = std::move(caption);
  NotifyView(*this, Property::Caption);
  Fire(form_, Change);
}

const std::string& Control::ToolTipText() {
  Touch();
  return state_.toolTip;
}

void Control::SetToolTipText(std::string toolTip) {
  Touch();
  if (state_.toolTip == toolTip) return;
  state_.toolTip = std::move(toolTip);
  NotifyView(*this, Property::ToolTip);
}

Color Control::ForeColor() {
  Touch();
  return state_.foreColor;
}

void Control::SetForeColor(Color color) {
  Touch();
  if (state_.foreColor == color) return;
  state_.foreColor = color;
  NotifyView(*this, Property::Colors);
}

Color Control::BackColor() {
  Touch();
  return state_.backColor;
}

void Control::SetBackColor(Color color) {
  Touch();
  if (state_.backColor == color) return;
  state_.backColor = color;
  NotifyView(*this, Property::Colors);
}

bool Control::Visible() {
  Touch();
  return state_.visible;
}

void Control::SetVisible(bool visible) {
  Touch();
  if (state_.visible == visible) return;
  state_.visible = visible;
  if (!visible && form_.focused_ == this) form_.focused_ = nullptr;
  NotifyView(*this, Property::Visible);
}

bool Control::Enabled() {
  Touch();
  return state_.enabled;
}

void Control::SetEnabled(bool enabled) {
  Touch();
  if (state_.enabled == enabled) return;
  state_.enabled = enabled;
  NotifyView(*this, Property::Enabled);
}

MousePointer Control::MousePointer() {
  Touch();
  return state_.mousePointer;
}

void Control::SetMousePointer(ui::MousePointer pointer) {
  Touch();
  if (state_.mousePointer == pointer) return;
  state_.mousePointer = pointer;
  NotifyView(*this, Property::MousePointer);
}

platform::Twips Control::Left() {
  Touch();
  return state_.left;
}
platform::Twips Control::Top() {
  Touch();
  return state_.top;
}
platform::Twips Control::Width() {
  Touch();
  return state_.width;
}
platform::Twips Control::Height() {
  Touch();
  return state_.height;
}

bool Control::SetFocus() {
  Touch();
  if (!KindTakesFocus(kind_)) return false;
  return form_.SetFocusTo(this);
}

bool Control::HasFocus() {
  Touch();
  return form_.focused_ == this;
}

void Control::RaiseClick() {
  Fire(form_, Click);
}
void Control::RaiseDblClick() {
  Fire(form_, DblClick);
}
void Control::RaiseMouseMove() {
  Fire(form_, MouseMove);
}

// ---- TextBox ----

int TextBox::SelStart() {
  Touch();
  return selStart_;
}

void TextBox::SetSelStart(int position) {
  Touch();
  const int length = static_cast<int>(State().caption.size());
  selStart_ = std::clamp(position, 0, length);
  NotifyView(*this, Property::Selection);
}

void TextBox::ResetToDesign() {
  Control::ResetToDesign();
  selStart_ = 0;
}

// ---- ListBox ----

void ListBox::AddItem(std::string item) {
  Touch();
  items_.push_back(std::move(item));
  NotifyView(*this, Property::Items);
}

void ListBox::Clear() {
  Touch();
  items_.clear();
  listIndex_ = -1;
  NotifyView(*this, Property::Items);
}

int ListBox::ListCount() {
  Touch();
  return static_cast<int>(items_.size());
}

std::string ListBox::List(int index) {
  Touch();
  if (index < 0 || index >= static_cast<int>(items_.size())) return {};
  return items_[static_cast<std::size_t>(index)];
}

const std::vector<std::string>& ListBox::Items() {
  Touch();
  return items_;
}

int ListBox::ListIndex() {
  Touch();
  return listIndex_;
}

bool ListBox::SetListIndex(int index) {
  Touch();
  if (index < -1 || index >= static_cast<int>(items_.size())) return false;
  listIndex_ = index;
  NotifyView(*this, Property::Selection);
  RaiseClick();
  return true;
}

void ListBox::ResetToDesign() {
  Control::ResetToDesign();
  items_.clear();
  listIndex_ = -1;
}

// ---- Timer ----

Timer::Timer(Form& form, std::string name, Design design)
    : Control(form, std::move(name), ControlKind::Timer, std::move(design)) {
  g_timers.push_back(this);
}

Timer::~Timer() {
  std::erase(g_timers, this);
}

void Timer::SetEnabled(bool enabled) {
  Touch();
  if (State().enabled == enabled) return;
  State().enabled = enabled;
  dueMs_ = -1;
  if (enabled && g_backend) dueMs_ = g_backend->NowMs() + std::max(1, State().interval);
}

int Timer::Interval() {
  Touch();
  return State().interval;
}

void Timer::ResetToDesign() {
  Control::ResetToDesign();
  dueMs_ = -1;
  if (State().enabled && g_backend) dueMs_ = g_backend->NowMs() + std::max(1, State().interval);
}

// ---- Form ----

Form::Form(std::string name, FormDesign design)
    : name_(std::move(name)),
      design_(std::move(design)),
      native_(std::make_unique<Native>()),
      caption_(design_.caption) {
  g_forms.push_back(this);
}

Form::~Form() {
  // The controls (members of the subclass) are gone and detached the views as they went;
  // a form without controls detaches them here. Then its views go with it.
  DetachViews();
  std::vector<RetiredView> mine;
  for (RetiredView& retired : g_retiredViews) {
    if (retired.form == this) mine.push_back(std::move(retired));
  }
  std::erase_if(g_retiredViews, [](const RetiredView& retired) { return !retired.view; });
  std::erase(g_activeForms, this);
  std::erase(g_forms, this);
  // `mine` deletes the views last: that may run handlers of other forms, never this one's.
}

void Form::RetireView() {
  if (native_->view) g_retiredViews.push_back({this, std::move(native_->view)});
}

void Form::DetachViews() {
  RetireView();
  // By index: detaching may run handlers of other forms that retire more views.
  for (std::size_t i = 0; i < g_retiredViews.size(); ++i) {
    if (g_retiredViews[i].form == this) g_retiredViews[i].view->Detach();
  }
}

void Form::Register(Control* control) {
  control->tabIndex_ = static_cast<int>(controls_.size());
  controls_.push_back(control);
}

void Form::Unregister(Control* control) {
  std::erase(controls_, control);
  if (focused_ == control) focused_ = nullptr;
}

void Form::EnsureLoaded() {
  if (loaded_ || loading_) return;
  loading_ = true;
  for (Control* c : controls_) c->ResetToDesign();
  caption_ = design_.caption;
  pointer_ = ui::MousePointer::Default;
  focused_ = nullptr;
  shown_ = false;
  loaded_ = true;
  if (g_backend) native_->view = g_backend->CreateView(*this);
  {
    ActiveScope scope(*this);
    Form_Load();
  }
  loading_ = false;
}

void Form::Show() {
  EnsureLoaded();
  if (!loaded_ || shown_) return;  // Form_Load may have unloaded it again
  shown_ = true;
  if (native_->view) native_->view->SetShown(true);
}

void Form::Hide() {
  if (!loaded_ || !shown_) return;
  shown_ = false;
  if (native_->view) native_->view->SetShown(false);
}

void Form::Unload() {
  if (!loaded_ || unloading_) return;
  unloading_ = true;
  Form_QueryUnload();
  if (loaded_) {
    Hide();
    loaded_ = false;
    focused_ = nullptr;
    for (Control* c : controls_) {
      if (c->Kind() == ControlKind::Timer) static_cast<Timer*>(c)->dueMs_ = -1;
    }
    RetireView();
  }
  unloading_ = false;
}

const std::string& Form::Caption() {
  EnsureLoaded();
  return caption_;
}

void Form::SetCaption(std::string caption) {
  EnsureLoaded();
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  NotifyView(*this, Property::Caption);
}

MousePointer Form::MousePointer() {
  EnsureLoaded();
  return pointer_;
}

void Form::SetMousePointer(ui::MousePointer pointer) {
  EnsureLoaded();
  if (pointer_ == pointer) return;
  pointer_ = pointer;
  NotifyView(*this, Property::MousePointer);
}

platform::WindowHandle Form::hWnd() {
  EnsureLoaded();
  return native_->view ? native_->view->Handle() : 0;
}

bool Form::SetFocusTo(Control* control) {
  if (!shown_ || !control->state_.visible || !control->state_.enabled) return false;
  if (focused_ == control) return true;
  focused_ = control;
  if (native_->view) native_->view->ControlChanged(*control, Property::Focus);
  return true;
}

std::vector<Control*> Form::TabOrder() const {
  std::vector<Control*> order = controls_;
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->tabIndex_ < b->tabIndex_; });
  return order;
}

void Form::SetTabOrder(std::initializer_list<Control*> order) {
  int next = 0;
  for (Control* c : order) c->tabIndex_ = next++;
  for (Control* c : controls_) {
    if (std::find(order.begin(), order.end(), c) == order.end()) c->tabIndex_ = next++;
  }
}

bool Form::IsTabStop(const Control& control) const {
  if (&control.Owner() != this || !KindTakesFocus(control.Kind())) return false;
  // Containers nest only a few deep; the bound guards against a container cycle.
  const Control* c = &control;
  for (int depth = 0; c != nullptr && depth < 32; ++depth) {
    if (!c->state_.visible || !c->state_.enabled) return false;
    c = c->state_.container;
  }
  return c == nullptr;
}

std::vector<Control*> Form::TabStops() const {
  std::vector<Control*> stops;
  for (Control* control : TabOrder()) {
    if (IsTabStop(*control)) stops.push_back(control);
  }
  return stops;
}

Control* Form::NextTabStop(const Control* from, bool forward) const {
  const std::vector<Control*> order = TabOrder();
  if (order.empty()) return nullptr;
  const std::size_t count = order.size();
  const auto at = std::find(order.begin(), order.end(), from);
  // Start just past `from`; without it, at the first (forward) or the last control.
  std::size_t start = forward ? 0 : count - 1;
  if (at != order.end()) {
    const auto here = static_cast<std::size_t>(at - order.begin());
    start = forward ? (here + 1) % count : (here + count - 1) % count;
  }
  for (std::size_t step = 0; step < count; ++step) {
    Control* candidate = order[forward ? (start + step) % count : (start + count - step) % count];
    if (IsTabStop(*candidate)) return candidate;
  }
  return nullptr;
}

}  // namespace ui
