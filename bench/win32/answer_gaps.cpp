// Watches how promptly the program's main window answers: every 10 ms it sends the window
// an empty message (WM_NULL), which is answered only when the program processes its
// events, and keeps the longest time between two answers. Follows the window across
// restarts of the program and stops watching one as soon as a box disables it (the time
// from the click to the first box); prints every gap over 50 ms with the time it ended
// (seconds since 1970) and, after SECONDS, the longest.
//
//   answer_gaps SECONDS [TITLE]   (TITLE default "Belvosta: Dorvane")
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double Seconds() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds since 1970, to set beside the driver's time stamps.
double UnixSeconds() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks) / 1e7 - 11644473600.0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const double duration = argc > 1 ? _wtof(argv[1]) : 30.0;
  const std::wstring title = argc > 2 ? argv[2] : L"Belvosta: Dorvane";
  const double end = Seconds() + duration;
  HWND window = nullptr;
  bool boxShown = false;
  double lastAnswer = 0, longest = 0, longestCall = 0, longestCallAt = 0;
  long answers = 0;
  while (Seconds() < end) {
    if (!window || !IsWindow(window)) {
      window = FindWindowW(nullptr, title.c_str());
      lastAnswer = 0;  // a new program: its start-up is not counted
      boxShown = false;
    }
    if (window && !IsWindowEnabled(window)) boxShown = true;
    if (window && !boxShown) {
      DWORD_PTR result = 0;
      const double sent = Seconds();
      if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
        const double now = Seconds();
        // The wait for one answer is the program's alone; the gap between answers also
        // holds this watcher's own sleep and any delay in waking it.
        if (now - sent > longestCall) {
          longestCall = now - sent;
          longestCallAt = UnixSeconds();
        }
        if (lastAnswer > 0) longest = std::max(longest, now - lastAnswer);
        // Each long gap with its end, to set beside what the program was doing then.
        if (lastAnswer > 0 && now - lastAnswer > 0.05)
          std::printf("gap %.3f s ending at %.3f\n", now - lastAnswer, UnixSeconds());
        lastAnswer = now;
        ++answers;
      }
    }
    Sleep(10);
  }
  std::printf(
      "main window: %ld answers, longest time between answers %.3f s, longest wait for "
      "one answer %.3f s (ending at %.3f)\n",
      answers, longest, longestCall, longestCallAt);
  return 0;
}
