#include "step_runner.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "screen_capture.h"

namespace e2e {
namespace {

constexpr DWORD kDefaultTimeoutMs = 20000;
constexpr DWORD kPollMs = 50;
// How long a check that something does not come watches.
constexpr DWORD kQuietMs = 1500;
// A blink of 500 ms shows both states within this time.
constexpr DWORD kBlinkWatchMs = 2200;

[[noreturn]] void Fail(std::string expected, std::string seen) {
  throw StepFailure{std::move(expected), std::move(seen)};
}

void RequireArguments(const Step& step, std::size_t count, const char* usage) {
  if (step.args.size() != count) Fail(std::string("usage: ") + usage, step.source);
}

WORD VirtualKey(const std::string& name) {
  if (name == "Tab") return VK_TAB;
  if (name == "space") return VK_SPACE;
  if (name == "Return") return VK_RETURN;
  if (name == "Escape") return VK_ESCAPE;
  Fail("a key: Tab, space, Return or Escape", name);
}

// A count as a step writes it, up to 999.
int Count(const std::string& text) {
  if (text.empty() || text.size() > 3 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    Fail("a number up to 999", text);
  }
  return std::stoi(text);
}

std::string ListText(const std::vector<std::string>& items) {
  if (items.empty()) return "no entries";
  std::string text;
  for (const std::string& item : items) AppendItem(text, " ", Quoted(item));
  return text;
}

// The entries of a list box or of the list of a drop-down box.
std::vector<std::string> ListItems(HWND list) {
  const bool combo = ClassName(list) == "ComboBox";
  const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    items.push_back(Narrow(item));
  }
  return items;
}

// "#RRGGBB" as 0x00RRGGBB.
std::uint32_t ParseColor(const std::string& text) {
  char* end = nullptr;
  const unsigned long value =
      text.size() == 7 && text[0] == '#' ? std::strtoul(text.c_str() + 1, &end, 16) : 0;
  if (!end || *end != '\0') Fail("a colour #RRGGBB", text);
  return static_cast<std::uint32_t>(value);
}

}  // namespace

StepRunner::StepRunner(const Layout& layout, Variables variables, DriverOptions options)
    : layout_(layout),
      variables_(std::move(variables)),
      options_(std::move(options)),
      finder_(program_, layout_, variables_),
      opened_(options_.openedLog) {}

void StepRunner::Setup(const Step& step) {
  // The runner prepares the prefix from the setup lines before Wine starts (files, registry
  // texts, the DPI); the driver checks that the screen's DPI took effect.
  if (step.args.size() == 2 && step.args[0].text == "dpi" &&
      std::to_string(ScreenDpi()) != step.args[1].text) {
    Fail("a screen of " + step.args[1].text + " dpi", std::to_string(ScreenDpi()) + " dpi");
  }
}

// ---- The run of one scenario ----

void StepRunner::BeginScenario() {
  timeoutMs_ = kDefaultTimeoutMs;
  opened_.Reset();
}

void StepRunner::Run(const Step& step) {
  static const std::map<std::string, void (StepRunner::*)(const Step&)> actions = {
      {"start", &StepRunner::Start},        {"click", &StepRunner::Click},
      {"double-click", &StepRunner::Click}, {"hover", &StepRunner::Click},
      {"press", &StepRunner::Press},        {"tab-to", &StepRunner::TabTo},
      {"answer", &StepRunner::Answer},      {"close", &StepRunner::Close}};
  static const std::map<std::string, Probe (StepRunner::*)(const Step&)> probes = {
      {"window", &StepRunner::Window},     {"text", &StepRunner::Text},
      {"visible", &StepRunner::Visible},   {"list", &StepRunner::List},
      {"selected", &StepRunner::Selected}, {"blinking", &StepRunner::Blinking},
      {"color", &StepRunner::Color},       {"box", &StepRunner::Box},
      {"opened", &StepRunner::Opened},     {"exit", &StepRunner::Exit}};
  // The 32-bit program runs under an emulator where some of what a step looks at (the
  // drives of the mount manager) is not dependable; such steps are marked win64.
  const bool skipped = step.only64 && sizeof(void*) < 8;
  if (options_.verbose) {
    std::printf("    %d: %s%s\n", step.line, step.source.c_str(), skipped ? " (skipped)" : "");
    std::fflush(stdout);
  }
  if (skipped) return;
  if (const auto probe = probes.find(step.verb); probe != probes.end()) {
    return Check(step, (this->*probe->second)(step));
  }
  const auto action = actions.find(step.verb);
  if (action == actions.end()) Fail("a known step", step.verb);
  if (step.negated) Fail("not before a check", step.source);
  (this->*action->second)(step);
}

void StepRunner::Check(const Step& step, const Probe& probe) {
  const bool wanted = !step.negated;
  std::string seen;
  const std::string expected = (wanted ? "" : "not: ") + probe.what;
  if (probe.wait == Probe::Wait::Event && !wanted) {
    // Nothing of the kind may come while the driver watches.
    if (WaitUntil([&] { return probe.holds(seen) == true; }, kQuietMs, false)) {
      Fail(expected, seen);
    }
    return;
  }
  const DWORD timeoutMs = probe.wait == Probe::Wait::Once ? 0 : timeoutMs_;
  const auto settled = [&] { return probe.holds(seen) == wanted; };
  if (!WaitUntil(settled, timeoutMs, probe.needsProgram)) Fail(expected, seen);
  if (wanted && probe.passed) probe.passed();
}

void StepRunner::EndScenario() {
  if (program_.Running()) {
    if (const HWND box = CurrentBox()) {
      Fail("no message box left open at the end", Describe(ReadBox(box)));
    }
  }
  // A page the shell opens arrives a moment after the click.
  Sleep(500);
  const std::vector<std::string> pending = opened_.Pending();
  if (!pending.empty()) Fail("nothing opened that no step expected", ListText(pending));
  program_.Stop();
}

std::wstring StepRunner::KeepScreen(const std::string& name, int line) const {
  if (options_.shots.empty()) return {};
  const std::optional<Capture> capture =
      CaptureScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  if (!capture) return {};
  CreateDirectoryW(options_.shots.c_str(), nullptr);
  const std::wstring path =
      options_.shots + L"\\" + Widen(name) + L"-" + std::to_wstring(line) + L".bmp";
  return SaveBitmap(*capture, path) ? path : std::wstring();
}

// ---- Helpers ----

Matcher StepRunner::ToMatcher(const Token& token) const {
  const std::string text = Expand(token.text, variables_);
  return token.pattern ? Matcher::Pattern(text) : Matcher::Exact(text);
}

const ControlEntry& StepRunner::ToControl(const Step& step, std::size_t extra,
                                          const char* usage) const {
  if (step.args.size() != extra + 1) Fail(std::string("usage: ") + usage, step.source);
  const std::string& path = step.args[0].text;
  const std::size_t dot = path.find('.');
  const ControlEntry* entry = dot == std::string::npos
                                  ? nullptr
                                  : layout_.FindControl(path.substr(0, dot), path.substr(dot + 1));
  if (!entry) Fail("a control of the layout: FORM.NAME", path);
  return *entry;
}

bool StepRunner::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs,
                           bool needsProgram) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (needsProgram && !program_.Running()) {
      // One last look: the program may have shown what was expected just before it ended.
      if (condition()) return true;
      Fail("the program still running",
           "it has ended with exit code " + std::to_string(program_.ExitCode()));
    }
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
}

HWND StepRunner::FocusedWindow() const {
  const std::vector<HWND> windows = program_.Windows(false);
  if (windows.empty()) return nullptr;
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(windows.front(), nullptr);
  if (!GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

HWND StepRunner::CurrentBox() const {
  const std::vector<HWND> boxes = program_.MessageBoxes();
  return boxes.empty() ? nullptr : boxes.back();
}

HWND StepRunner::ClickableControl(const ControlEntry& ref, std::string& whyNot) {
  HWND window = nullptr;
  // The control may still be on its way (a window that is about to show).
  WaitUntil(
      [&] {
        window = finder_.FindControl(ref, whyNot);
        POINT point{};
        return window && VisibleMiddle(window, point, whyNot);
      },
      timeoutMs_);
  return window;
}

// ---- Actions ----

void StepRunner::Start(const Step& step) {
  RequireArguments(step, 0, "start");
  // Where the last scenario left the mouse, the new window may light something up.
  input_.Park();
  std::string error;
  if (!program_.Start(options_.program, error)) Fail("the program starts", error);
}

void StepRunner::Close(const Step& step) {
  RequireArguments(step, 1, "close FORM");
  std::string whyNot;
  const HWND form = finder_.FindForm(step.args[0].text, true, whyNot);
  if (!form) Fail("the window " + step.args[0].text + " to close", whyNot);
  // What the close box and the system menu send.
  PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void StepRunner::Click(const Step& step) {
  const ControlEntry& ref = ToControl(step, 0, "click|double-click|hover CONTROL");
  std::string whyNot;
  const HWND window = ClickableControl(ref, whyNot);
  const int clicks = step.verb == "hover" ? 0 : step.verb == "click" ? 1 : 2;
  const bool done = window && input_.Click(window, clicks, whyNot);
  if (!done) Fail(step.verb + " on " + ref.Path(), whyNot);
}

void StepRunner::Press(const Step& step) {
  RequireArguments(step, 1, "press KEY");
  input_.Press(VirtualKey(step.args[0].text), FocusedWindow());
}

void StepRunner::TabTo(const Step& step) {
  if (step.args.size() != 2 && step.args.size() != 3) {
    Fail("usage: tab-to FORM TEXT [PRESSES]", step.source);
  }
  // With a count: the target must be reached with exactly that many presses.
  const int expectedPresses = step.args.size() == 3 ? Count(step.args[2].text) : -1;
  std::string whyNot;
  const HWND form = finder_.FindForm(step.args[0].text, true, whyNot);
  if (!form) Fail("the window " + step.args[0].text + " on screen", whyNot);
  const Matcher target = ToMatcher(step.args[1]);
  if (GetForegroundWindow() != form) {
    SetForegroundWindow(form);
    if (!WaitUntil([&] { return GetForegroundWindow() == form; }, 2000)) {
      const HWND active = GetForegroundWindow();
      Fail(step.args[0].text + " in front, taking the keys",
           active ? Describe(active) + " is in front" : "no window in front");
    }
  }
  // Tab goes round the form once at most; each stop is recorded for the failure message.
  std::string stops;
  HWND focused = FocusedWindow();
  for (int presses = 0; presses < 100; ++presses) {
    if (focused && IsChild(form, focused) && target.Matches(WindowText(focused))) {
      if (expectedPresses >= 0 && presses != expectedPresses) {
        Fail(std::to_string(expectedPresses) + " presses of Tab to reach " + target.Describe(),
             std::to_string(presses) + " presses, the stops: " + stops);
      }
      return;
    }
    input_.Press(VK_TAB, focused);
    const HWND before = focused;
    WaitUntil(
        [&] {
          focused = FocusedWindow();
          return focused != before;
        },
        2000);
    if (focused == before) {
      Fail("Tab to move the focus on to " + target.Describe(),
           "the focus stays on " + (focused ? Describe(focused) : std::string("nothing")));
    }
    AppendItem(stops, ", ", focused ? Quoted(WindowText(focused)) : std::string("nothing"));
  }
  Fail("Tab to reach " + target.Describe(), "the stops: " + stops);
}

void StepRunner::Answer(const Step& step) {
  RequireArguments(step, 1, "answer BUTTON");
  const HWND box = CurrentBox();
  if (!box) Fail("a message box to answer with " + step.args[0].text, "no box is open");
  const HWND button = FindButton(box, step.args[0].text);
  if (!button) Fail("the button " + step.args[0].text, Describe(ReadBox(box)));
  std::string whyNot;
  if (!input_.Click(button, 1, whyNot)) Fail("a click on " + step.args[0].text, whyNot);
  if (!WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000)) {
    Fail("the box to close on " + step.args[0].text, Describe(ReadBox(box)));
  }
}

// ---- Probes ----

Probe StepRunner::Window(const Step& step) {
  RequireArguments(step, 1, "window FORM");
  const std::string form = step.args[0].text;
  return {"the window " + form + " on screen", [this, form](std::string& seen) {
            const HWND window = finder_.FindForm(form, true, seen);
            if (window) seen = Describe(window);
            return std::optional<bool>(window != nullptr);
          }};
}

Probe StepRunner::Text(const Step& step) {
  const ControlEntry& ref = ToControl(step, 1, "text CONTROL TEXT");
  const Matcher expected = ToMatcher(step.args.back());
  return {ref.Path() + " showing " + expected.Describe(),
          [this, &ref, expected](std::string& seen) -> std::optional<bool> {
            const HWND window = finder_.FindControl(ref, seen);
            if (!window) return std::nullopt;
            const std::string text = WindowText(window);
            seen = Quoted(text);
            return expected.Matches(text);
          }};
}

Probe StepRunner::Visible(const Step& step) {
  const ControlEntry& ref = ToControl(step, 0, "visible CONTROL");
  return {ref.Path() + " visible", [this, &ref](std::string& seen) -> std::optional<bool> {
            const HWND window = finder_.FindControl(ref, seen);
            if (!window) return std::nullopt;
            seen = Describe(window);
            return IsWindowVisible(window) != FALSE;
          }};
}

Probe StepRunner::List(const Step& step) {
  if (step.args.empty()) Fail("usage: list CONTROL ENTRY...", step.source);
  const ControlEntry& ref = ToControl(step, step.args.size() - 1, "list CONTROL ENTRY...");
  std::vector<Matcher> expected;
  std::string wanted;
  for (std::size_t index = 1; index < step.args.size(); ++index) {
    expected.push_back(ToMatcher(step.args[index]));
    AppendItem(wanted, " ", expected.back().Describe());
  }
  return {ref.Path() + " listing " + (wanted.empty() ? "no entries" : wanted),
          [this, &ref, expected](std::string& seen) -> std::optional<bool> {
            const HWND window = finder_.FindControl(ref, seen);
            if (!window) return std::nullopt;
            const std::vector<std::string> items = ListItems(window);
            seen = ListText(items);
            if (items.size() != expected.size()) return false;
            for (std::size_t i = 0; i < items.size(); ++i) {
              if (!expected[i].Matches(items[i])) return false;
            }
            return true;
          }};
}

Probe StepRunner::Selected(const Step& step) {
  const ControlEntry& ref = ToControl(step, 1, "selected CONTROL INDEX");
  const LRESULT expected = Count(step.args.back().text);
  return {ref.Path() + " with entry " + step.args.back().text + " selected",
          [this, &ref, expected](std::string& seen) -> std::optional<bool> {
            const HWND window = finder_.FindControl(ref, seen);
            if (!window) return std::nullopt;
            const LRESULT selected = SendMessageW(window, LB_GETCURSEL, 0, 0);
            seen = "entry " + std::to_string(selected) + " selected";
            return selected == expected;
          }};
}

Probe StepRunner::Blinking(const Step& step) {
  const ControlEntry& ref = ToControl(step, 0, "blinking CONTROL");
  // Watched for a while: blinking is shown and hidden in turn, each change noted as + or -.
  Probe probe{ref.Path() + " blinking (shown and hidden in turn)",
              [this, &ref](std::string& seen) -> std::optional<bool> {
                std::string samples;
                const ULONGLONG end = GetTickCount64() + kBlinkWatchMs;
                while (GetTickCount64() < end) {
                  const HWND window = finder_.FindControl(ref, seen);
                  if (!window) return std::nullopt;
                  const char mark = IsWindowVisible(window) ? '+' : '-';
                  if (samples.empty() || samples.back() != mark) samples += mark;
                  Sleep(kPollMs);
                }
                seen =
                    "for " + std::to_string(kBlinkWatchMs) + " ms (+ shown, - hidden): " + samples;
                return samples.size() > 1;
              }};
  probe.wait = Probe::Wait::Once;
  return probe;
}

Probe StepRunner::Color(const Step& step) {
  const ControlEntry& ref = ToControl(step, 1, "color CONTROL #RRGGBB");
  const std::string name = step.args.back().text;
  const std::uint32_t color = ParseColor(name);
  return {ref.Path() + " showing " + name,
          [this, &ref, name, color](std::string& seen) -> std::optional<bool> {
            const HWND window = finder_.FindControl(ref, seen);
            RECT visible{};
            if (!window || !VisibleRect(window, visible, seen)) return std::nullopt;
            const std::optional<Capture> capture = CaptureScreen(visible);
            if (!capture) {
              seen = "the screen cannot be read";
              return std::nullopt;
            }
            const bool shown = Contains(*capture, color);
            seen = shown ? "it shows " + name : "no pixel of " + name;
            return shown;
          }};
}

Probe StepRunner::Box(const Step& step) {
  std::optional<Matcher> title;
  std::optional<Matcher> text;
  std::optional<std::string> buttons;
  std::optional<std::string> owner;
  for (const Token& token : step.args) {
    if (token.key == "title") {
      title = ToMatcher(token);
    } else if (token.key == "text") {
      text = ToMatcher(token);
    } else if (token.key == "buttons") {
      buttons = token.text;
    } else if (token.key == "owner") {
      owner = token.text;
    } else {
      Fail("box title=... text=... buttons=A,B owner=FORM", step.source);
    }
  }
  // The step's own words after its verb say what box it waits for.
  const std::string like = step.source.substr(step.source.find("box") + 3);
  Probe probe{"a message box" + like, [=, this](std::string& seen) {
                const HWND box = CurrentBox();
                seen = "no box";
                if (!box) return std::optional<bool>(false);
                const BoxView view = ReadBox(box);
                seen = Describe(view);
                // The program never shows a box with an icon.
                if (view.icon) Fail("a box without an icon", seen);
                if ((title && !title->Matches(view.title)) || (text && !text->Matches(view.text)) ||
                    (buttons && *buttons != JoinButtons(view.buttons))) {
                  return std::optional<bool>(false);
                }
                if (!owner) return std::optional<bool>(true);
                std::string whyNot;
                const HWND form = finder_.FindForm(*owner, false, whyNot);
                const HWND actual = view.owner ? GetAncestor(view.owner, GA_ROOT) : nullptr;
                seen += actual ? ", owned by " + Describe(actual) : ", without an owner";
                return std::optional<bool>(form && actual == form);
              }};
  probe.wait = Probe::Wait::Event;
  return probe;
}

Probe StepRunner::Opened(const Step& step) {
  if (step.args.size() > 1) Fail("usage: opened [ADDRESS]", step.source);
  std::optional<Matcher> expected;
  if (!step.args.empty()) expected = ToMatcher(step.args[0]);
  Probe probe{"the shell to open " + (expected ? expected->Describe() : "something"),
              [this, expected](std::string& seen) {
                const std::vector<std::string> pending = opened_.Pending();
                seen = pending.empty() ? "nothing was opened" : "it opened " + ListText(pending);
                return std::optional<bool>(!pending.empty() &&
                                           (!expected || expected->Matches(pending.front())));
              }};
  probe.wait = Probe::Wait::Event;
  // The program may have ended by now: what it handed to the shell still arrives.
  probe.needsProgram = false;
  probe.passed = [this] { opened_.Take(); };
  return probe;
}

Probe StepRunner::Exit(const Step& step) {
  RequireArguments(step, 0, "exit");
  Probe probe{"the program to end", [this](std::string& seen) {
                std::string windows;
                for (const HWND window : program_.Windows(true)) {
                  AppendItem(windows, ", ", Quoted(WindowText(window)));
                }
                seen = "it still runs with the windows " + windows;
                return std::optional<bool>(!program_.Running());
              }};
  probe.needsProgram = false;
  return probe;
}

}  // namespace e2e
