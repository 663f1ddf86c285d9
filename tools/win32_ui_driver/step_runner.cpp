#include "step_runner.h"

#include "screen_capture.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace e2e {
namespace {

constexpr DWORD kDefaultTimeoutMs = 20000;
constexpr DWORD kPollMs = 50;
// How long a step that expects nothing to happen watches.
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

std::string ListText(const std::vector<std::string>& items) {
  if (items.empty()) return "no entries";
  std::string text;
  for (const std::string& item : items) AppendItem(text, " ", Quoted(item));
  return text;
}

// The entries of a list box or of the list of a drop-down box.
std::vector<std::string> ListItems(HWND list) {
  const bool combo = ClassName(list) == "ComboBox";
  const UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(list, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, textMessage, static_cast<WPARAM>(i),
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

bool BoxGone(HWND box) {
  return !IsWindow(box) || !IsWindowVisible(box);
}

void CreateParentFolders(const std::wstring& path) {
  for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
}

HKEY RootKey(const std::string& path, std::string& subKey) {
  const std::size_t slash = path.find('\\');
  const std::string root = path.substr(0, slash);
  subKey = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  if (root == "HKCU") return HKEY_CURRENT_USER;
  if (root == "HKLM") return HKEY_LOCAL_MACHINE;
  Fail("a key below HKCU or HKLM", path);
}

}  // namespace

StepRunner::StepRunner(const Layout& layout, Variables variables, DriverOptions options)
    : layout_(layout),
      variables_(std::move(variables)),
      options_(std::move(options)),
      finder_(program_, layout_, variables_),
      opened_(options_.openedLog) {}

const std::map<std::string, StepRunner::Handler>& StepRunner::Handlers() {
  static const std::map<std::string, Handler> handlers = {
      {"start", &StepRunner::Start},
      {"expect-window", &StepRunner::ExpectWindow},
      {"expect-no-window", &StepRunner::ExpectNoWindow},
      {"expect-text", &StepRunner::ExpectText},
      {"expect-visible", &StepRunner::ExpectVisible},
      {"expect-hidden", &StepRunner::ExpectHidden},
      {"expect-list", &StepRunner::ExpectList},
      {"expect-selected", &StepRunner::ExpectSelected},
      {"expect-blinking", &StepRunner::ExpectBlinking},
      {"expect-steady", &StepRunner::ExpectSteady},
      {"expect-color", &StepRunner::ExpectColor},
      {"expect-no-color", &StepRunner::ExpectNoColor},
      {"click", &StepRunner::Click},
      {"double-click", &StepRunner::DoubleClick},
      {"hover", &StepRunner::Hover},
      {"press", &StepRunner::Press},
      {"tab-to", &StepRunner::TabTo},
      {"expect-box", &StepRunner::ExpectBox},
      {"answer", &StepRunner::Answer},
      {"expect-no-box", &StepRunner::ExpectNoBox},
      {"expect-opened", &StepRunner::ExpectOpened},
      {"expect-nothing-opened", &StepRunner::ExpectNothingOpened},
      {"expect-exit", &StepRunner::ExpectExit},
      {"close", &StepRunner::Close},
      {"timeout", &StepRunner::SetTimeout},
  };
  return handlers;
}

// ---- Preparing the prefix ----

void StepRunner::Setup(const Step& step) {
  if (step.args.empty()) Fail("setup file|remove|reg|dpi ...", step.source);
  const std::string& what = step.args[0].text;
  if (what == "file" && step.args.size() == 2) {
    // A component only has to be there under its name; its content is never read.
    const std::wstring path = Widen(step.args[1].text);
    CreateParentFolders(path);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Fail("the file is made", "error " + std::to_string(GetLastError()));
    }
    static constexpr char kContent[] = "placed by the end-to-end tests\r\n";
    DWORD written = 0;
    WriteFile(file, kContent, sizeof kContent - 1, &written, nullptr);
    CloseHandle(file);
  } else if (what == "remove" && step.args.size() == 2) {
    if (!DeleteFileW(Widen(step.args[1].text).c_str())) {
      Fail("the file is removed", "error " + std::to_string(GetLastError()));
    }
  } else if (what == "reg" && step.args.size() == 4) {
    std::string subKey;
    const HKEY root = RootKey(step.args[1].text, subKey);
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, Widen(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      Fail("the registry key opens", step.args[1].text);
    }
    const std::wstring name = Widen(step.args[2].text);
    const std::wstring text = Widen(step.args[3].text);
    const LSTATUS status =
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
      Fail("the registry value is set", "error " + std::to_string(status));
    }
  } else if (what == "dpi" && step.args.size() == 2) {
    // The runner sets the DPI before Wine starts; this only checks that it took effect.
    const unsigned dpi = ScreenDpi();
    if (std::to_string(dpi) != step.args[1].text) {
      Fail("a screen of " + step.args[1].text + " dpi", std::to_string(dpi) + " dpi");
    }
  } else {
    Fail("setup file PATH | setup remove PATH | setup reg KEY NAME VALUE | setup dpi N",
         step.source);
  }
}

// ---- The run of one scenario ----

void StepRunner::BeginScenario() {
  timeoutMs_ = kDefaultTimeoutMs;
  opened_.Reset();
}

void StepRunner::Run(const Step& step) {
  if (options_.verbose) {
    std::printf("    %d: %s\n", step.line, step.source.c_str());
    std::fflush(stdout);
  }
  const auto found = Handlers().find(step.verb);
  if (found == Handlers().end()) Fail("a known step", step.verb);
  (this->*found->second)(step);
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

// ---- Helpers ----

Matcher StepRunner::ToMatcher(const Token& token) const {
  const std::string text = Expand(token.text, variables_);
  return token.pattern ? Matcher::Pattern(text) : Matcher::Exact(text);
}

ControlRef StepRunner::ToControl(const Step& step, std::size_t& index) const {
  if (index >= step.args.size()) Fail("a control: FORM.NAME or FORM CLASS CAPTION", step.source);
  const std::string& first = step.args[index].text;
  const std::size_t dot = first.find('.');
  ControlRef ref;
  if (dot != std::string::npos && !step.args[index].quoted) {
    ref.form = first.substr(0, dot);
    ref.entry = layout_.FindControl(ref.form, first.substr(dot + 1));
    if (!ref.entry) Fail("a control of the layout", first);
    ++index;
    return ref;
  }
  if (index + 3 > step.args.size()) Fail("a control: FORM.NAME or FORM CLASS CAPTION", step.source);
  ref.form = first;
  ref.className = step.args[index + 1].text;
  ref.caption = ToMatcher(step.args[index + 2]);
  index += 3;
  return ref;
}

ControlRef StepRunner::OnlyControl(const Step& step) const {
  std::size_t index = 0;
  ControlRef ref = ToControl(step, index);
  if (index != step.args.size()) Fail("only a control after " + step.verb, step.source);
  return ref;
}

double StepRunner::Seconds(const Token& token) const {
  char* end = nullptr;
  const double seconds = std::strtod(token.text.c_str(), &end);
  if (end == token.text.c_str() || *end != '\0' || seconds < 0 || seconds > 3600) {
    Fail("a number of seconds", token.text);
  }
  return seconds;
}

void StepRunner::ProgramEnded() const {
  Fail("the program still running",
       "it has ended with exit code " + std::to_string(program_.ExitCode()));
}

bool StepRunner::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (!program_.Running()) {
      // One last look: the program may have shown what was expected just before it ended.
      if (condition()) return true;
      ProgramEnded();
    }
    if (GetTickCount64() >= end) return false;
    Sleep(kPollMs);
  }
}

HWND StepRunner::Control(const ControlRef& ref, std::string& whyNot) const {
  return finder_.FindControl(ref, whyNot);
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

// ---- Starting and ending ----

void StepRunner::Start(const Step& step) {
  RequireArguments(step, 0, "start");
  // Where the last scenario left the mouse, the new window may light something up.
  input_.Park();
  std::string error;
  if (!program_.Start(options_.program, error)) Fail("the program starts", error);
}

void StepRunner::ExpectExit(const Step& step) {
  RequireArguments(step, 0, "expect-exit");
  if (!program_.WaitForExit(timeoutMs_)) {
    std::string windows;
    for (const HWND window : program_.Windows(true)) {
      AppendItem(windows, ", ", Quoted(WindowText(window)));
    }
    Fail("the program to end", "it still runs with the windows " + windows);
  }
}

void StepRunner::Close(const Step& step) {
  RequireArguments(step, 1, "close FORM");
  std::string whyNot;
  const HWND form = finder_.FindForm(step.args[0].text, true, whyNot);
  if (!form) Fail("the window " + step.args[0].text + " to close", whyNot);
  // What the close box and the system menu send.
  PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void StepRunner::SetTimeout(const Step& step) {
  RequireArguments(step, 1, "timeout SECONDS");
  timeoutMs_ = static_cast<DWORD>(Seconds(step.args[0]) * 1000);
}

// ---- Windows and controls ----

void StepRunner::ExpectWindow(const Step& step) {
  RequireArguments(step, 1, "expect-window FORM");
  std::string whyNot;
  const bool shown =
      WaitUntil([&] { return finder_.FindForm(step.args[0].text, true, whyNot) != nullptr; });
  if (!shown) Fail("the window " + step.args[0].text + " on screen", whyNot);
}

void StepRunner::ExpectNoWindow(const Step& step) {
  RequireArguments(step, 1, "expect-no-window FORM");
  std::string whyNot;
  HWND form = nullptr;
  const bool gone = WaitUntil([&] {
    form = finder_.FindForm(step.args[0].text, true, whyNot);
    return form == nullptr;
  });
  if (!gone) Fail("the window " + step.args[0].text + " gone from the screen", Describe(form));
}

void StepRunner::ExpectText(const Step& step) {
  std::size_t index = 0;
  const ControlRef ref = ToControl(step, index);
  if (index + 1 != step.args.size()) Fail("usage: expect-text CONTROL TEXT", step.source);
  const Matcher expected = ToMatcher(step.args[index]);
  std::string seen;
  const bool matched = WaitUntil([&] {
    const HWND window = Control(ref, seen);
    if (!window) return false;
    seen = WindowText(window);
    if (expected.Matches(seen)) return true;
    seen = Quoted(seen);
    return false;
  });
  if (!matched) Fail(ref.Describe() + " showing " + expected.Describe(), seen);
}

void StepRunner::CheckVisibility(const Step& step, bool visible) {
  const ControlRef ref = OnlyControl(step);
  std::string seen;
  const bool matched = WaitUntil([&] {
    const HWND window = Control(ref, seen);
    if (!window) return false;
    seen = Describe(window);
    return (IsWindowVisible(window) != FALSE) == visible;
  });
  if (!matched) Fail(ref.Describe() + (visible ? " visible" : " hidden"), seen);
}

void StepRunner::ExpectVisible(const Step& step) {
  CheckVisibility(step, true);
}
void StepRunner::ExpectHidden(const Step& step) {
  CheckVisibility(step, false);
}

void StepRunner::ExpectList(const Step& step) {
  std::size_t index = 0;
  const ControlRef ref = ToControl(step, index);
  std::vector<Matcher> expected;
  for (; index < step.args.size(); ++index) expected.push_back(ToMatcher(step.args[index]));
  std::string seen;
  const bool matched = WaitUntil([&] {
    const HWND window = Control(ref, seen);
    if (!window) return false;
    const std::vector<std::string> items = ListItems(window);
    seen = ListText(items);
    if (items.size() != expected.size()) return false;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (!expected[i].Matches(items[i])) return false;
    }
    return true;
  });
  if (!matched) {
    std::string wanted;
    for (const Matcher& item : expected) AppendItem(wanted, " ", item.Describe());
    Fail(ref.Describe() + " listing " + (wanted.empty() ? "no entries" : wanted), seen);
  }
}

void StepRunner::ExpectSelected(const Step& step) {
  std::size_t index = 0;
  const ControlRef ref = ToControl(step, index);
  if (index + 1 != step.args.size()) Fail("usage: expect-selected CONTROL INDEX", step.source);
  const LRESULT expected = std::strtol(step.args[index].text.c_str(), nullptr, 10);
  std::string seen;
  const bool matched = WaitUntil([&] {
    const HWND window = Control(ref, seen);
    if (!window) return false;
    const LRESULT selected = SendMessageW(window, LB_GETCURSEL, 0, 0);
    seen = "entry " + std::to_string(selected) + " selected";
    return selected == expected;
  });
  if (!matched) Fail(ref.Describe() + " with entry " + step.args[index].text + " selected", seen);
}

void StepRunner::Sample(const ControlRef& ref, DWORD durationMs, bool& sawShown, bool& sawHidden,
                        std::string& samples) {
  const ULONGLONG end = GetTickCount64() + durationMs;
  while (GetTickCount64() < end) {
    std::string whyNot;
    const HWND window = Control(ref, whyNot);
    if (!window) Fail(ref.Describe(), whyNot);
    const bool shown = IsWindowVisible(window) != FALSE;
    (shown ? sawShown : sawHidden) = true;
    const char mark = shown ? '+' : '-';
    if (samples.empty() || samples.back() != mark) samples += mark;
    if (!program_.Running()) ProgramEnded();
    Sleep(kPollMs);
  }
}

void StepRunner::ExpectBlinking(const Step& step) {
  const ControlRef ref = OnlyControl(step);
  bool shown = false;
  bool hidden = false;
  std::string samples;
  Sample(ref, kBlinkWatchMs, shown, hidden, samples);
  if (!shown || !hidden) {
    Fail(ref.Describe() + " blinking (shown and hidden in turn)",
         std::string(shown ? "always shown" : "always hidden") + " for " +
             std::to_string(kBlinkWatchMs) + " ms");
  }
}

void StepRunner::ExpectSteady(const Step& step) {
  const ControlRef ref = OnlyControl(step);
  bool shown = false;
  bool hidden = false;
  std::string samples;
  Sample(ref, kBlinkWatchMs, shown, hidden, samples);
  if (shown && hidden) {
    Fail(ref.Describe() + " steady", "it changed (+ shown, - hidden): " + samples);
  }
}

void StepRunner::CheckColor(const Step& step, bool shown) {
  std::size_t index = 0;
  const ControlRef ref = ToControl(step, index);
  if (index + 1 != step.args.size()) Fail("usage: " + step.verb + " CONTROL #RRGGBB", step.source);
  const std::uint32_t color = ParseColor(step.args[index].text);
  std::string seen;
  const bool matched = WaitUntil([&] {
    const HWND window = Control(ref, seen);
    RECT visible{};
    if (!window || !VisibleRect(window, visible, seen)) return false;
    const std::optional<Capture> capture = CaptureScreen(visible);
    if (!capture) {
      seen = "the screen cannot be read";
      return false;
    }
    seen = Contains(*capture, color) ? "it shows " + step.args[index].text
                                     : "no pixel of " + step.args[index].text;
    return Contains(*capture, color) == shown;
  });
  if (!matched) {
    Fail(ref.Describe() + (shown ? " showing " : " not showing ") + step.args[index].text, seen);
  }
}

void StepRunner::ExpectColor(const Step& step) {
  CheckColor(step, true);
}
void StepRunner::ExpectNoColor(const Step& step) {
  CheckColor(step, false);
}

std::wstring StepRunner::KeepScreen(const std::string& name, int line) const {
  if (options_.shots.empty()) return {};
  const std::optional<Capture> capture = CaptureWholeScreen();
  if (!capture) return {};
  CreateDirectoryW(options_.shots.c_str(), nullptr);
  const std::wstring path =
      options_.shots + L"\\" + Widen(name) + L"-" + std::to_wstring(line) + L".bmp";
  return SaveBitmap(*capture, path) ? path : std::wstring();
}

// ---- Mouse and keyboard ----

void StepRunner::Click(const Step& step) {
  const ControlRef ref = OnlyControl(step);
  std::string whyNot;
  HWND window = nullptr;
  // The control may still be on its way (a window that is about to show).
  WaitUntil([&] {
    window = Control(ref, whyNot);
    POINT point{};
    return window && VisibleMiddle(window, point, whyNot);
  });
  if (!window || !input_.Click(window, false, whyNot)) Fail("a click on " + ref.Describe(), whyNot);
}

void StepRunner::DoubleClick(const Step& step) {
  const ControlRef ref = OnlyControl(step);
  std::string whyNot;
  const HWND window = Control(ref, whyNot);
  if (!window || !input_.Click(window, true, whyNot)) {
    Fail("a double click on " + ref.Describe(), whyNot);
  }
}

void StepRunner::Hover(const Step& step) {
  const ControlRef ref = OnlyControl(step);
  std::string whyNot;
  const HWND window = Control(ref, whyNot);
  if (!window || !input_.MoveOnto(window, whyNot)) {
    Fail("the mouse on " + ref.Describe(), whyNot);
  }
}

void StepRunner::Press(const Step& step) {
  RequireArguments(step, 1, "press KEY");
  const WORD key = VirtualKey(step.args[0].text);
  input_.Press(key, FocusedWindow());
}

void StepRunner::TabTo(const Step& step) {
  if (step.args.size() != 2 && step.args.size() != 3) {
    Fail("usage: tab-to FORM TEXT [PRESSES]", step.source);
  }
  // With a count: the target must be reached with exactly that many presses.
  int expectedPresses = -1;
  if (step.args.size() == 3) {
    const std::string& count = step.args[2].text;
    if (count.empty() || count.size() > 3 ||
        count.find_first_not_of("0123456789") != std::string::npos) {
      Fail("a number of presses", count);
    }
    expectedPresses = std::stoi(count);
  }
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

// ---- Message boxes ----

void StepRunner::ExpectBox(const Step& step) {
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
      Fail("expect-box title=... text=... buttons=A,B owner=FORM", step.source);
    }
  }
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = CurrentBox()) != nullptr; })) {
    Fail("a message box", "none within " + std::to_string(timeoutMs_ / 1000) + " s");
  }
  // A box that has only just appeared may still be filling in its text.
  BoxView view;
  std::string mismatch;
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (attempt > 0) Sleep(150);
    view = ReadBox(box);
    mismatch.clear();
    if (title && !title->Matches(view.title)) {
      mismatch = "a box with the title " + title->Describe();
    } else if (text && !text->Matches(view.text)) {
      mismatch = "a box with the text " + text->Describe();
    } else if (buttons && *buttons != JoinButtons(view.buttons)) {
      mismatch = "a box with the buttons " + *buttons;
    } else if (view.icon) {
      mismatch = "a box without an icon";  // the program never shows one
    }
    if (mismatch.empty()) break;
  }
  if (!mismatch.empty()) Fail(mismatch, Describe(view));
  if (owner) {
    std::string whyNot;
    const HWND form = finder_.FindForm(*owner, false, whyNot);
    const HWND actual = view.owner ? GetAncestor(view.owner, GA_ROOT) : nullptr;
    if (!form || actual != form) {
      Fail("the box owned by " + *owner,
           actual ? "it belongs to " + Describe(actual) : std::string("it has no owner"));
    }
  }
}

void StepRunner::Answer(const Step& step) {
  RequireArguments(step, 1, "answer BUTTON");
  const HWND box = CurrentBox();
  if (!box) Fail("a message box to answer with " + step.args[0].text, "no box is open");
  const HWND button = FindButton(box, step.args[0].text);
  if (!button) Fail("the button " + step.args[0].text, Describe(ReadBox(box)));
  std::string whyNot;
  if (!input_.Click(button, false, whyNot)) Fail("a click on " + step.args[0].text, whyNot);
  if (!WaitUntil([&] { return BoxGone(box); }, 5000)) {
    Fail("the box to close on " + step.args[0].text, Describe(ReadBox(box)));
  }
}

void StepRunner::ExpectNoBox(const Step& step) {
  if (step.args.size() > 1) Fail("usage: expect-no-box [SECONDS]", step.source);
  const DWORD quietMs =
      step.args.empty() ? kQuietMs : static_cast<DWORD>(Seconds(step.args[0]) * 1000);
  HWND box = nullptr;
  // The program may end meanwhile; then no box can come any more.
  const ULONGLONG end = GetTickCount64() + quietMs;
  while (GetTickCount64() < end && program_.Running()) {
    if ((box = CurrentBox()) != nullptr) Fail("no message box", Describe(ReadBox(box)));
    Sleep(kPollMs);
  }
}

// ---- What the shell opened ----

void StepRunner::ExpectOpened(const Step& step) {
  RequireArguments(step, 1, "expect-opened ADDRESS");
  const Matcher expected = ToMatcher(step.args[0]);
  std::vector<std::string> pending;
  const ULONGLONG end = GetTickCount64() + timeoutMs_;
  // The program may have ended by now: what it handed to the shell still arrives.
  while ((pending = opened_.Pending()).empty() && GetTickCount64() < end) Sleep(kPollMs);
  if (pending.empty()) Fail("the shell to open " + expected.Describe(), "nothing was opened");
  if (!expected.Matches(pending.front())) {
    Fail("the shell to open " + expected.Describe(), "it opened " + ListText(pending));
  }
  opened_.Take();
}

void StepRunner::ExpectNothingOpened(const Step& step) {
  RequireArguments(step, 0, "expect-nothing-opened");
  Sleep(kQuietMs);
  const std::vector<std::string> pending = opened_.Pending();
  if (!pending.empty()) Fail("nothing opened", "the shell opened " + ListText(pending));
}

}  // namespace e2e
