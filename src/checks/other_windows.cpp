// The main window's ways into the other windows.
#include "checks/sucher1.h"

namespace belvosta {

// The hidden button "FormS.Show ", reached with Tab.
void sucher1::Command11_Click() {
  links_.ShowSystemFolders();
}

// Shows Form3 modeless; its first use loads it, with report, measurement and verdict.
void sucher1::Command13_Click() {
  links_.ShowComputerInfo();
}

// Presses the report button in code: loads Form3 if needed (its whole load sequence runs
// first), then shows the report once more. The window itself is not shown.
void sucher1::Label16_Click() {
  links_.ShowComputerReport();
}

}  // namespace belvosta
