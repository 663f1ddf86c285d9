// Belvosta: checks whether a PC is ready to run Dorvane.
#include "app/command_line.h"
#include "app/program.h"
#include "ui/view_side.h"
#include "views/native.h"

int main(int argc, char** argv) {
  // With options the program answers on the command line and opens no window.
  if (const auto status = belvosta::CommandLineMode(argc, argv)) return *status;
  const auto native = views::InstallNativePlatform(argc, argv);
  // The program's windows live until the process ends; closing the main window ends it.
  static belvosta::Program program;
  program.sucher1.Show();
  ui::GetUiBackend()->Run();
  return 0;
}
