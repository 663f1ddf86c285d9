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

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

// Every window inside the form, at any depth.
std::vector<HWND> Descendants(HWND form) {
  std::vector<HWND> windows;
  EnumChildWindows(form, &CollectChild, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

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

std::string ControlRef::Describe() const {
  if (entry) return form + "." + entry->name;
  return form + " " + className + " " + caption.Describe();
}

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

HWND ControlFinder::FindControl(const ControlRef& ref, std::string& whyNot) const {
  const HWND form = FindForm(ref.form, false, whyNot);
  if (!form) return nullptr;
  return ref.entry ? ByPlace(form, *ref.entry, whyNot) : ByCaption(form, ref, whyNot);
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

HWND ControlFinder::ByPlace(HWND form, const ControlEntry& entry, std::string& whyNot) const {
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
  std::vector<HWND> sameClass;
  for (const HWND window : Descendants(form)) {
    if (!SameClass(ClassName(window), entry.className)) continue;
    sameClass.push_back(window);
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
  // The nearest windows of the class, so that a moved control can be recognised.
  std::sort(sameClass.begin(), sameClass.end(), [&](HWND a, HWND b) {
    const RECT ra = RectIn(a, form);
    const RECT rb = RectIn(b, form);
    return std::labs(ra.left - left) + std::labs(ra.top - top) <
           std::labs(rb.left - left) + std::labs(rb.top - top);
  });
  whyNot = "no window " + place;
  if (sameClass.empty()) return nullptr;
  std::string list;
  for (std::size_t i = 0; i < sameClass.size() && i < 3; ++i) {
    const RECT rect = RectIn(sameClass[i], form);
    std::string nearest = Describe(sameClass[i]);
    nearest += " size " + std::to_string(rect.right - rect.left) + "x" +
               std::to_string(rect.bottom - rect.top);
    AppendItem(list, "; ", nearest);
  }
  whyNot += "; nearest: " + list;
  return nullptr;
}

HWND ControlFinder::ByCaption(HWND form, const ControlRef& ref, std::string& whyNot) const {
  std::vector<HWND> matches;
  std::string seen;
  for (const HWND window : Descendants(form)) {
    if (!SameClass(ClassName(window), ref.className)) continue;
    const std::string text = WindowText(window);
    if (ref.caption.Matches(text)) {
      matches.push_back(window);
    } else {
      AppendItem(seen, ", ", Quoted(text));
    }
  }
  if (matches.size() == 1) return matches.front();
  whyNot = matches.empty()
               ? "no " + ref.className + " " + ref.caption.Describe() + "; the form's " +
                     ref.className + " windows: " + (seen.empty() ? "none" : seen)
               : std::to_string(matches.size()) + " windows match";
  return nullptr;
}

}  // namespace e2e
