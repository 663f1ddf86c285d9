// The main window's way into FormS: its hidden button, reached with Tab.
#include "app/program.h"

namespace belvosta {

void sucher1::Command11_Click() {
  program_.FormS.Show();
}

}  // namespace belvosta
