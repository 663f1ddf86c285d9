// The main window's ways into the computer information window.
#include "app/program.h"

namespace belvosta {

// Shows Form3 modeless; its first use loads it, with report, measurement and verdict.
void sucher1::Command13_Click() {
  program_.Form3.Show();
}

// Presses the report button in code: loads Form3 if needed (its whole load sequence runs
// first), then shows the report once more. The window itself is not shown.
void sucher1::Label16_Click() {
  program_.Form3.cmdProzessordatenAuslesen.SetValue(true);
}

}  // namespace belvosta
