// Times the whole full scan as a user would see it: the real checks and the real tree
// search on a Wine prefix whose system folder is a big generated tree, with a window
// system that answers every box at once (No to every offer) and notes how long the events
// went without being processed. Also times one walk of the tree for the Flash Player's ten
// names, the yardstick of the scan's first box, and the processor time of a pause.
//
//   belvosta_full_scan_bench PREFIX absent|present
//
// PREFIX/drive_c/windows/system32 is the system folder (bench/full_scan.sh makes it).
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program.h"
#include "counting_backend.h"
#include "platform/imagehlp.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/tree_search.h"
#include "ui/view_side.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// No screen: boxes are answered at once, waits sleep, and every pass of event processing
// is noted.
class TimingUi : public ui::UiBackend {
 public:
  std::unique_ptr<ui::FormView> CreateView(ui::Form&) override { return nullptr; }
  int MessageBox(ui::Form*, std::string_view text, int style, std::string_view) override {
    NoteEvents();
    boxes.push_back({std::string(text), Since(start)});
    return style == ui::vbYesNoCancel ? ui::vbNo : ui::vbOK;
  }
  void DoEvents() override {
    NoteEvents();
    ui::RunDueTimers(NowMs());
  }
  void WaitEvents(std::int64_t maxMs) override {
    NoteEvents();
    std::int64_t waitMs = maxMs;
    if (const std::int64_t due = ui::NextTimerDueMs(); due >= 0) {
      waitMs = std::min(waitMs, std::max<std::int64_t>(0, due - NowMs()));
    }
    const timespec pause{static_cast<time_t>(waitMs / 1000),
                         static_cast<long>(waitMs % 1000) * 1'000'000};
    nanosleep(&pause, nullptr);  // a real window system answers input meanwhile
    lastEvents = Clock::now();
    ui::RunDueTimers(NowMs());
  }
  void Run() override {}
  void End() override {}
  std::int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
  }

  void NoteEvents() {
    const Clock::time_point now = Clock::now();
    const double gap = std::chrono::duration<double>(now - lastEvents).count();
    if (gap > longestGap) {
      longestGap = gap;
      longestGapEnd = std::chrono::duration<double>(now - start).count();
    }
    lastEvents = now;
  }

  struct Box {
    std::string text;
    double at;
  };
  std::vector<Box> boxes;
  Clock::time_point start = Clock::now();
  Clock::time_point lastEvents = start;
  double longestGap = 0;
  double longestGapEnd = 0;  // when it ended, from the start
};

constexpr std::array<std::string_view, 10> kFlashFiles = {
    "Flash9g.ocx",  "Flash10a.ocx", "Flash10b.ocx", "Flash10c.ocx", "Flash10d.ocx",
    "Flash10e.ocx", "Flash10f.ocx", "Flash10g.ocx", "Flash10h.ocx", "Flash11j.ocx"};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PREFIX absent|present\n", argv[0]);
    return 2;
  }
  setenv("WINEPREFIX", argv[1], 1);
  const std::string system = std::string(argv[1]) + "/drive_c/windows/system32";
  CountingBackend backend;
  TimingUi ui;
  platform::SetBackend(&backend);
  ui::SetUiBackend(&ui);

  {
    // One walk for the ten Flash names: what the Flash check cannot do without.
    std::array<std::string, kFlashFiles.size()> found;
    platform::SearchTreeForFiles({.root = system, .names = kFlashFiles}, found);  // warms up
    const auto start = Clock::now();
    platform::SearchTreeForFiles({.root = system, .names = kFlashFiles}, found);
    const double walk = Since(start);
    // The work of one walk of each folder that reads all of it, for a name that is nowhere.
    platform::posix::WalkCounts once;
    for (const std::string& root : {system, std::string(argv[1]) + "/drive_c/Program Files"}) {
      const std::string_view absent[] = {"NotThere.ocx"};
      std::string nowhere[1];
      platform::posix::SearchTree({.root = root, .names = absent}, nowhere, once);
    }
    backend.walks = 0;
    backend.counts = {};

    belvosta::Program program;
    program.sucher1.Show();
    const double before = ProcessorSeconds();
    const auto pauseStart = Clock::now();
    program.sucher1.Timer1.SetEnabled(true);  // the blink, as during a scan
    program.sucher1.Pause(0.8f);
    program.sucher1.Timer1.SetEnabled(false);
    const double pauseProcessor = ProcessorSeconds() - before;
    const double pauseTime = Since(pauseStart);

    ui.start = ui.lastEvents = Clock::now();
    ui.longestGap = 0;
    program.sucher1.Label12.RaiseClick();
    const double total = Since(ui.start);

    std::printf("full scan, components %s, system folder %s\n", argv[2], system.c_str());
    std::printf("  one walk for the ten Flash names:   %.3f s\n", walk);
    std::printf("  walks during the scan:              %d\n", backend.walks);
    std::printf(
        "  entries read, folder steps:         %zu, %zu (one walk of each folder: %zu, %zu)\n",
        backend.counts.entries, backend.counts.folderSteps, once.entries, once.folderSteps);
    for (const auto& box : ui.boxes) std::printf("  %7.3f s  box: %s\n", box.at, box.text.c_str());
    const double first = ui.boxes.empty() ? -1 : ui.boxes.front().at;
    double end = -1;
    for (const auto& box : ui.boxes) {
      if (box.text == "Die Datei suche ist beendet!") end = box.at;
    }
    std::printf("  first box after %.3f s = one walk + %.3f s\n", first, first - walk);
    std::printf("  end box after   %.3f s (scan over after %.3f s)\n", end, total);
    std::printf("  longest stretch without event processing: %.3f s (ending at %.3f s)\n",
                ui.longestGap, ui.longestGapEnd);
    std::printf("  a pause of %.3f s used %.3f s of processor time\n", pauseTime, pauseProcessor);
  }
  ui::SetUiBackend(nullptr);
  platform::SetBackend(nullptr);
  return 0;
}
