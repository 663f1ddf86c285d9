#include "control_finder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/twips.h"
#include "platform/win32/later_windows.h"

namespace e2e {
namespace {

using platform::TwipsToPixels;

bool SameClass(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Each container level is placed in whole pixels on its own, so a place may be off by a
// pixel from the converted sum.
constexpr int kTolerance = 1;

bool Near(long seen, int expected) {
  return std::labs(seen - expected) <= kTolerance;
}

}  // namespace

HWND ControlFinder::FindForm(const std::string& form, bool visibleOnly, std::string& whyNot) const {
  const FormEntry* entry = layout_.FindForm(form);
  if (!entry) {
    whyNot = "the layout names no form " + form;
    return nullptr;
  }
  const std::string caption = Expand(entry->caption, variables_);
  HWND hidden = nullptr;
  std::string seen;
  for (const HWND window : program_.Windows(visibleOnly)) {
    const std::string text = WindowText(window);
    if (text != caption) {
      AppendItem(seen, ", ", Quoted(text) + (IsWindowVisible(window) ? "" : " (hidden)"));
      continue;
    }
    if (IsWindowVisible(window)) return window;
    hidden = window;
  }
  if (hidden) return hidden;
  whyNot = "no " + std::string(visibleOnly ? "visible " : "") + "window " + Quoted(caption) +
           "; the program's windows: " + (seen.empty() ? "none" : seen);
  return nullptr;
}

unsigned ControlFinder::LayoutDpi(HWND form, const FormEntry& entry, std::string& whyNot) const {
  RECT client{};
  GetClientRect(form, &client);
  // Wine tells another process 96 dpi for a window that is laid out at the screen's DPI,
  // so both are tried.
  std::string sizes;
  for (const unsigned dpi : {platform::win32::WindowDpi(form), ScreenDpi()}) {
    const int width = TwipsToPixels(entry.clientWidth, dpi);
    const int height = TwipsToPixels(entry.clientHeight, dpi);
    if (Near(client.right, width) && Near(client.bottom, height)) return dpi;
    AppendItem(sizes, ", ",
               std::to_string(width) + "x" + std::to_string(height) + " px at " +
                   std::to_string(dpi) + " dpi");
  }
  whyNot = "the client area of " + entry.name + " is " + std::to_string(client.right) + "x" +
           std::to_string(client.bottom) + " px; the layout makes it " + sizes;
  return 0;
}

HWND ControlFinder::FindControl(const ControlEntry& entry, std::string& whyNot) const {
  const HWND form = FindForm(entry.form, false, whyNot);
  if (!form) return nullptr;
  const unsigned dpi = LayoutDpi(form, *layout_.FindForm(entry.form), whyNot);
  if (dpi == 0) return nullptr;
  int left = 0;
  int top = 0;
  for (const ControlEntry* level : layout_.Chain(entry)) {
    left += TwipsToPixels(level->left, dpi);
    top += TwipsToPixels(level->top, dpi);
  }
  const int width = entry.width ? TwipsToPixels(*entry.width, dpi) : 0;
  const int height = entry.height ? TwipsToPixels(*entry.height, dpi) : 0;

  std::vector<HWND> matches;
  std::size_t sameClass = 0;
  for (const HWND window : Descendants(form)) {
    if (!SameClass(ClassName(window), entry.className)) continue;
    ++sameClass;
    const RECT rect = RectIn(window, form);
    if (!Near(rect.left, left) || !Near(rect.top, top)) continue;
    if (entry.width && !Near(rect.right - rect.left, width)) continue;
    if (entry.height && !Near(rect.bottom - rect.top, height)) continue;
    matches.push_back(window);
  }
  // Windows of one place in the order they were made: their numbers grow with it.
  std::sort(matches.begin(), matches.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  const std::size_t nth = static_cast<std::size_t>(entry.nth);
  if (nth == 0 && matches.size() == 1) return matches.front();
  if (nth > 0 && matches.size() >= nth) return matches[nth - 1];

  const std::string place = entry.className + " at " + std::to_string(left) + "," +
                            std::to_string(top) + " px (" + std::to_string(dpi) + " dpi)";
  if (matches.size() > 1) {
    whyNot = std::to_string(matches.size()) + " windows match " + place;
    return nullptr;
  }
  whyNot = "no window " + place + "; the form has " + std::to_string(sameClass) + " " +
           entry.className + " windows";
  return nullptr;
}

}  // namespace e2e
