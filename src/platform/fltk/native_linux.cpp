// Start-up on Linux: the POSIX backend with the real screen, and FLTK windows.
#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <clocale>

#include "platform/fltk/fltk_posix_backend.h"
#include "platform/fltk/fltk_ui.h"
#include "platform/fltk/looks.h"
#include "platform/native.h"

namespace platform {
namespace {

class LinuxPlatform final : public NativePlatform {
 public:
  LinuxPlatform() : units_(fltk::ScreenUnits::FromDisplay()), system_(units_), ui_(units_) {
    // Opening the display may have taken the user's locale for characters; numbers stay
    // in the "C" form the program formats them in (it asks for the separator itself).
    std::setlocale(LC_NUMERIC, "C");
    fltk::InstallFontFaces();
    Fl::visible_focus(1);
    Fl_Tooltip::delay(0.5f);
    SetBackend(&system_);
    SetUiBackend(&ui_);
  }

  ~LinuxPlatform() override {
    SetUiBackend(nullptr);
    SetBackend(nullptr);
  }

  LinuxPlatform(const LinuxPlatform&) = delete;
  LinuxPlatform& operator=(const LinuxPlatform&) = delete;

 private:
  fltk::ScreenUnits units_;
  fltk::FltkPosixBackend system_;
  fltk::FltkUi ui_;
};

}  // namespace

std::unique_ptr<NativePlatform> InstallNativePlatform(int, char**) {
  return std::make_unique<LinuxPlatform>();
}

}  // namespace platform
