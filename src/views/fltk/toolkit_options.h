// FLTK's global options, set in memory only.
#pragma once

namespace views::fltk {

// Sets FLTK's options to what the program needs (focus boxes for keyboard users, tool tips,
// no arrow-key focus moves), as FLTK's defaults have them, and marks them as read. FLTK then
// never opens its per-user or per-machine preference files: it neither creates nor rewrites
// them, and a damaged one cannot stop the program. Call before anything else of FLTK.
void SetToolkitOptionsInMemory();

}  // namespace views::fltk
