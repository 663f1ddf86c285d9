#include "app/program.h"

namespace belvosta {

namespace {

// The title of every box that names none of its own.
constexpr std::string_view kAppTitle = "Belvosta ";

}  // namespace

Program::Program()
    : sucher1(static_cast<MainWindowLinks&>(*this)),
      FormS(static_cast<FormSLinks&>(*this)),
      Form3(Module1, static_cast<Form3Links&>(*this)) {
  ui::SetAppTitle(kAppTitle);
}

std::string Program::SystemFolder() {
  return FormS.Label34.Caption();
}

std::string Program::ProgramFilesFolder() {
  return FormS.Label3.Caption();
}

void Program::ShowSystemFolders() {
  FormS.Show();
}

void Program::ShowComputerInfo() {
  Form3.Show();
}

void Program::ShowComputerReport() {
  Form3.cmdProzessordatenAuslesen.SetValue(true);
}

void Program::RevealSpeedTick() {
  sucher1.CoverOf(CheckRow::SpeedTest).SetVisible(false);
}

}  // namespace belvosta
