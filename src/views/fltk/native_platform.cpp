// Start-up on Linux: the POSIX backend with the real screen, and FLTK windows.
#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "views/fltk/looks.h"
#include "views/fltk/screen_ops.h"
#include "views/fltk/toolkit_options.h"
#include "views/fltk/ui_backend.h"
#include "views/fltk/x11_display.h"
#include "views/native.h"

namespace views {
namespace {

class LinuxPlatform final : public platform::NativePlatform {
 public:
  LinuxPlatform() : units_(fltk::ScreenUnits::FromDisplay()), system_(units_), ui_(units_) {
    // Opening the display may have taken the user's locale for characters; numbers stay
    // in the "C" form the program formats them in (it asks for the separator itself).
    std::setlocale(LC_NUMERIC, "C");
    fltk::InstallFontFaces();
    Fl_Tooltip::delay(0.5f);
    platform::SetBackend(&system_);
    ui::SetUiBackend(&ui_);
  }

  ~LinuxPlatform() override {
    ui::SetUiBackend(nullptr);
    platform::SetBackend(nullptr);
  }

  LinuxPlatform(const LinuxPlatform&) = delete;
  LinuxPlatform& operator=(const LinuxPlatform&) = delete;

 private:
  fltk::ScreenUnits units_;
  fltk::FltkPosixBackend system_;
  fltk::FltkUi ui_;
};

// DISPLAY as it can be shown on a terminal: printable ASCII, at most 60 characters.
std::string Printable(const char* value) {
  std::string shown;
  for (const char* c = value; *c && shown.size() < 60; ++c) {
    shown += (*c >= ' ' && *c <= '~') ? *c : '?';
  }
  return shown;
}

// How the user started the program, when it can be pasted into a shell as it is.
std::string CommandName(const char* argv0) {
  const std::string name = argv0 ? argv0 : "";
  const bool plain = !name.empty() && name.find_first_not_of(
                                          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                          "0123456789._/+-") == std::string::npos;
  return plain && name.front() != '-' ? name : "belvosta";
}

// One line instead of FLTK's "Can't open display", then the end.
[[noreturn]] void ExitWithoutScreen(const std::string& command) {
  const char* display = std::getenv("DISPLAY");
  const std::string why = (display && *display)
                              ? "DISPLAY=\"" + Printable(display) + "\" antwortet nicht"
                              : std::string("DISPLAY ist nicht gesetzt");
  std::fprintf(stderr,
               "belvosta: Kein Bildschirm erreichbar (%s). Starten Sie das Programm in einer "
               "grafischen Sitzung oder ohne Bildschirm mit: xvfb-run -a %s\n",
               why.c_str(), command.c_str());
  std::exit(1);
}

}  // namespace

std::unique_ptr<platform::NativePlatform> InstallNativePlatform(int argc, char** argv) {
  // Before anything of FLTK can ask for an option and so reach for its preference files.
  fltk::SetToolkitOptionsInMemory();
  const fltk::DisplayProbe probe;
  if (!probe.Reachable()) ExitWithoutScreen(CommandName(argc > 0 ? argv[0] : nullptr));
  return std::make_unique<LinuxPlatform>();  // FLTK connects while the probe still holds on
}

}  // namespace views
