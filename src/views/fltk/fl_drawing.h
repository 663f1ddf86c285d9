// FLTK's drawing functions. Their header brings in X11's, whose macro None would rename
// any name None of ours; no code of ours uses X11's None, so the macro goes.
#pragma once

#include <FL/fl_draw.H>

#undef None
