#include "views/fltk/toolkit_options.h"

#include <FL/Fl.H>

#include <algorithm>

namespace views::fltk {
namespace {

// The first time anything asks for an option (a focus box being drawn, a tool tip, a key
// moving the focus, Fl::visible_focus() itself), FLTK fills its option table from
// $HOME/.fltk/fltk.org/fltk.prefs and /etc/fltk/fltk.org/fltk.prefs, creating both with
// their folders and rewriting them. The table and its "read" flag are private and have no
// setter that skips the files. Names in an explicit instantiation are exempt from access
// checks, so this template hands out their addresses through a friend function.
struct OptionTable {
  unsigned char* values;
  unsigned char* read;
};
OptionTable FlOptionTable();

template <unsigned char (*Values)[Fl::OPTION_LAST], unsigned char* Read>
struct OptionTableAccess {
  friend OptionTable FlOptionTable() { return {*Values, Read}; }
};
template struct OptionTableAccess<&Fl::options_, &Fl::options_read_>;

}  // namespace

void SetToolkitOptionsInMemory() {
  const OptionTable table = FlOptionTable();
  std::fill_n(table.values, static_cast<int>(Fl::OPTION_LAST), static_cast<unsigned char>(0));
  table.values[Fl::OPTION_ARROW_FOCUS] = 0;
  table.values[Fl::OPTION_VISIBLE_FOCUS] = 1;
  table.values[Fl::OPTION_DND_TEXT] = 1;
  table.values[Fl::OPTION_SHOW_TOOLTIPS] = 1;
  table.values[Fl::OPTION_FNFC_USES_GTK] = 1;
  *table.read = 1;
}

}  // namespace views::fltk
