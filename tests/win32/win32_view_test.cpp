// The native view driven as the user and the program drive it: real windows under Wine.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "native_window.h"
#include "platform/win32/later_windows.h"
#include "tab_order/tab_walk.h"
#include "views/win32/ui_backend.h"

namespace views::win32 {
namespace {

using testing::NativeOf;

// One control of each kind; a second one is the program's other window while the first
// shows a message box. Only what the tests look at is given a place and a size.
class TestForm : public ui::Form {
 public:
  TestForm()
      : Form("TestForm", {.caption = "Prüfform", .clientWidth = 6000, .clientHeight = 1800}) {}

  ui::Frame Frame1{*this, "Frame1", {.left = 120, .top = 60, .width = 2000, .height = 900}};
  ui::Label Inner{*this, "Inner", {.container = &Frame1, .left = 120, .top = 300, .width = 1500}};
  ui::Label Label1{
      *this,
      "Label1",
      {.caption = "Etikett", .toolTip = "Tipp", .mousePointer = ui::MousePointer::Hand}};
  ui::CommandButton Command1{*this, "Command1", {.width = 1000, .height = 375}};
  ui::ListBox List1{*this, "List1", {.left = 3400, .top = 120, .width = 1000, .height = 900}};
  ui::TextBox Text1{*this, "Text1", {.left = 2280, .top = 1000, .width = 1000, .height = 285}};
  ui::PictureBox Picture1{*this, "Picture1", {.left = 4600, .width = 555, .height = 525}};
  ui::DriveListBox Drive1{*this, "Drive1", {.left = 4600, .top = 800, .width = 1300}};
  ui::Timer Timer1{*this, "Timer1", {.enabled = false, .interval = 30}};
  // Declared last, lies over the frame's corner.
  ui::PictureBox Cover{*this, "Cover", {.left = 1900, .width = 400, .height = 400}};
};

// A window's text, or what another reader (GetClassNameW) gives of it.
std::wstring TextOf(HWND window, int(WINAPI* read)(HWND, LPWSTR, int) = GetWindowTextW) {
  wchar_t text[256] = {};
  read(window, text, 256);
  return text;
}

class Win32View : public ::testing::Test {
 protected:
  void SetUp() override { ui::SetUiBackend(ui_.get()); }

  void TearDown() override {
    form_.Unload();
    second_.Unload();
    ui::CollectRetiredViews();
    ui::SetUiBackend(nullptr);
  }

  std::unique_ptr<Win32Ui> ui_ = std::make_unique<Win32Ui>();
  TestForm form_;
  TestForm second_;
};

TEST_F(Win32View, EveryControlIsANativeWindowAtItsTwipsPlaceAndFollowsTheModel) {
  form_.Show();
  const HWND window = reinterpret_cast<HWND>(form_.hWnd());
  ASSERT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), L"Pr\u00fcfform");
  const unsigned dpi = platform::win32::WindowDpi(window);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, platform::TwipsToPixels(6000, dpi));
  EXPECT_EQ(client.bottom, platform::TwipsToPixels(1800, dpi));
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0);  // not resizable

  const struct {
    const ui::Control& control;
    const wchar_t* className;
  } kinds[] = {
      {form_.Label1, L"Static"}, {form_.Command1, L"Button"},          {form_.List1, L"ListBox"},
      {form_.Text1, L"Edit"},    {form_.Picture1, L"BelvostaPicture"}, {form_.Drive1, L"ComboBox"}};
  for (const auto& [control, className] : kinds)
    EXPECT_EQ(TextOf(NativeOf(control), GetClassNameW), className);
  EXPECT_EQ(TextOf(NativeOf(form_.Label1)), L"Etikett");  // read by screen readers
  EXPECT_GT(SendMessageW(NativeOf(form_.Drive1), CB_GETCOUNT, 0, 0), 0);

  // Placed relative to their container: the inner label sits in the frame's window.
  const HWND frame = NativeOf(form_.Frame1);
  const HWND inner = NativeOf(form_.Inner);
  EXPECT_EQ(GetParent(inner), frame);
  RECT where{};
  GetWindowRect(inner, &where);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&where), 2);
  EXPECT_EQ(where.left, platform::TwipsToPixels(120, dpi));
  EXPECT_EQ(where.top, platform::TwipsToPixels(300, dpi));
  EXPECT_EQ(where.right - where.left, platform::TwipsToPixels(1500, dpi));

  // Of overlapping controls that take no focus, the later declared lies in front.
  HWND above = GetWindow(window, GW_CHILD);
  while (above && above != frame && above != NativeOf(form_.Cover)) {
    above = GetWindow(above, GW_HWNDNEXT);
  }
  EXPECT_EQ(above, NativeOf(form_.Cover));

  // The model's changes reach the windows.
  form_.SetCaption("Dieser Rechner hei\xC3\x9Ft: PC");
  EXPECT_EQ(TextOf(window), L"Dieser Rechner hei\u00dft: PC");

  form_.Label1.SetCaption("C:\\Programme & Dateien");
  EXPECT_EQ(TextOf(NativeOf(form_.Label1)), L"C:\\Programme & Dateien");

  const HWND list = NativeOf(form_.List1);
  form_.List1.AddItem("A: Wechseldatentr\xC3\xA4ger");
  form_.List1.AddItem("C: Festplatte");
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  wchar_t item[64] = {};
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"A: Wechseldatentr\u00e4ger");
  form_.List1.SetListIndex(1);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  form_.List1.Clear();
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);

  form_.Picture1.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(NativeOf(form_.Picture1)));
  form_.Command1.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(NativeOf(form_.Command1)));

  // The form's pointer covers its controls while it is not the default.
  const HWND label = NativeOf(form_.Label1);
  const auto pointAt = [](HWND control) {
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(pointAt(label), ui_->CursorFor(ui::MousePointer::Hand));
  EXPECT_NE(ui_->CursorFor(ui::MousePointer::Hand), LoadCursorW(nullptr, IDC_ARROW));

  form_.SetMousePointer(ui::MousePointer::Hourglass);
  EXPECT_EQ(pointAt(label), LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(pointAt(NativeOf(form_.Text1)), LoadCursorW(nullptr, IDC_WAIT));

  form_.SetMousePointer(ui::MousePointer::Default);
  EXPECT_EQ(pointAt(label), ui_->CursorFor(ui::MousePointer::Hand));
  EXPECT_EQ(pointAt(NativeOf(form_.Text1)), LoadCursorW(nullptr, IDC_IBEAM));

  // Tool tips come and go with their text.
  HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tips && GetWindow(tips, GW_OWNER) != window) {
    tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr);
  }
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
  form_.Command1.SetToolTipText("Hier klicken");
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
  form_.Label1.SetToolTipText("");
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(Win32View, UserInputBecomesTheModelsEventsUntilTheWindowSystemGoes) {
  int clicks = 0, labelClicks = 0, moves = 0, pictureClicks = 0, listClicks = 0, changes = 0;
  form_.Command1.Click = [&] { ++clicks; };
  form_.Label1.Click = [&] { ++labelClicks; };
  form_.Label1.MouseMove = [&] { ++moves; };
  form_.Picture1.Click = [&] { ++pictureClicks; };
  form_.List1.Click = [&] { ++listClicks; };
  form_.Text1.Change = [&] { ++changes; };
  form_.Show();
  const HWND window = reinterpret_cast<HWND>(form_.hWnd());

  // A text the edit cannot hold whole (it ends at the NUL) must stay as the program set it.
  const std::string withNul("1,5\0GHz", 7);
  form_.Text1.SetText(withNul);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(form_.Text1.Text(), withNul);

  // The user types over all of it: that is a change of the model's text.
  const HWND edit = NativeOf(form_.Text1);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, L'\u00e4', 1);
  EXPECT_EQ(form_.Text1.Text(), "ä");
  EXPECT_EQ(changes, 2);
  // Typing goes on where the caret stands: the model's echo must not move it.
  SendMessageW(edit, WM_CHAR, L'b', 1);
  SendMessageW(edit, WM_CHAR, L'c', 1);
  EXPECT_EQ(form_.Text1.Text(), "äbc");

  SendMessageW(NativeOf(form_.Command1), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);

  const HWND label = NativeOf(form_.Label1);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED),
               reinterpret_cast<LPARAM>(label));
  EXPECT_EQ(labelClicks, 1);
  SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(moves, 1);

  const HWND picture = NativeOf(form_.Picture1);
  SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(pictureClicks, 1);
  // Released outside the picture: no click.
  SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(-50, 3));
  EXPECT_EQ(pictureClicks, 1);

  // A click on the second line of the list selects it and raises Click once.
  form_.List1.AddItem("eins");
  form_.List1.AddItem("zwei");
  const HWND list = NativeOf(form_.List1);
  RECT line{};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&line));
  const LPARAM at = MAKELPARAM(line.left + 2, line.top + 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(form_.List1.ListIndex(), 1);
  EXPECT_EQ(listClicks, 1);

  // The close box unloads the form; its window goes when no handler can still run on it,
  // and takes no part until then.
  const HWND button = NativeOf(form_.Command1);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(form_.IsLoaded());
  EXPECT_FALSE(IsWindowVisible(window));
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  // Touching a control loads the form again, with a new window.
  form_.Label1.SetCaption("neu geladen");
  ASSERT_TRUE(form_.IsLoaded());
  EXPECT_NE(reinterpret_cast<HWND>(form_.hWnd()), window);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(form_.IsLoaded());
  EXPECT_TRUE(IsWindow(window));
  ui::CollectRetiredViews();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(TextOf(NativeOf(form_.Label1)), L"neu geladen");

  // The window system goes first (the end of the program) while the form stays loaded:
  // the form's views do nothing from then on.
  const HWND reloaded = reinterpret_cast<HWND>(form_.hWnd());
  ui::SetUiBackend(nullptr);
  ui_.reset();
  EXPECT_FALSE(IsWindow(reloaded));
  form_.Label1.SetCaption("danach");
  form_.List1.AddItem("noch eins");
  form_.Unload();
  ui::CollectRetiredViews();
  EXPECT_FALSE(form_.IsLoaded());
}

TEST_F(Win32View, TimersTickInsideMessageBoxesWhileTheOtherWindowsWait) {
  form_.Show();
  second_.Show();
  const HWND formWindow = reinterpret_cast<HWND>(form_.hWnd());
  const HWND secondWindow = reinterpret_cast<HWND>(second_.hWnd());
  int ticks = 0;
  form_.Timer1.Tick = [&] {
    // Inside Windows' own box: it ticks, and the program's other window takes no input.
    if (++ticks != 2) return;
    const HWND box = FindWindowW(L"#32770", nullptr);
    if (!box) return;
    EXPECT_EQ(TextOf(box), L"Frage");
    EXPECT_FALSE(IsWindowEnabled(secondWindow));
    EXPECT_EQ(GetWindow(box, GW_OWNER), formWindow);  // owned by the form whose handler asked
    SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
  };
  form_.Timer1.SetEnabled(true);
  int answer = 0;
  form_.Command1.Click = [&] { answer = ui::MsgBox("Weiter?", ui::vbYesNoCancel, "Frage"); };
  SendMessageW(NativeOf(form_.Command1), BM_CLICK, 0, 0);

  EXPECT_EQ(answer, ui::vbYes);  // the box was answered inside the second tick
  EXPECT_TRUE(IsWindowEnabled(secondWindow));
  EXPECT_TRUE(IsWindowEnabled(formWindow));
}

// Tab through every window of the program, as the keyboard sends it through the message loop;
// the view's own record of the focus must agree with Windows'.
TEST(Win32TabOrder, EveryWindowFollowsTheModel) {
  Win32Ui native;
  tab_order::ExpectEveryWindowFollowsTheModel(native, [&native](ui::Form&) {
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000001);
    native.DoEvents();
    EXPECT_NE(GetFocus(), focus);
  });
}

}  // namespace
}  // namespace views::win32
