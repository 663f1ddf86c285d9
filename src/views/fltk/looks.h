// How the window system's colours, fonts, texts and images look in FLTK.
#pragma once

#include <FL/Enumerations.H>
#include <FL/Fl_RGB_Image.H>

#include <string>
#include <string_view>

#include "ui/hand_cursor.h"
#include "ui/view_side.h"
#include "views/fltk/screen_units.h"

namespace views::fltk {

// The system colours become FLTK's: the window colour (the background of text fields and
// lists) and the button face.
Fl_Color ToFlColor(ui::Color color);

// Gives FLTK's Helvetica and Courier the faces closest to the Windows fonts the layout
// was made for (Arial's metrics, else a condensed face), so captions fit their controls.
void InstallFontFaces();

struct FlFont {
  Fl_Font face = FL_HELVETICA;
  int size = 11;
};
// "Courier New" becomes Courier, every other face Helvetica; the size becomes pixels.
FlFont ToFlFont(const ui::Font& font, const ScreenUnits& units);

// A text as it can be drawn: line breaks (CR LF, CR or LF) become '\n', tabs stay, and the
// other control characters are dropped.
std::string DrawableText(std::string_view text);

// Draws a text with the current font and colour inside a box, wrapping at blanks and
// clipping at the box, and never reading '@' or '&' as FLTK's label codes.
void DrawText(std::string_view text, int x, int y, int w, int h, Fl_Align align);

// A tool tip text that FLTK shows literally ('@' would start a symbol code).
std::string ToolTipText(std::string_view text);

// An image as a picture box shows it: blended onto the box's background colour, so it
// looks the same on any X server. Created once per image and colour; never null.
const Fl_RGB_Image* PictureOn(const ui::Picture& picture, Fl_Color background);

// A picture with its transparency, for window icons; nullptr for none.
const Fl_RGB_Image* IconImage(const ui::Picture* picture);

// The pointing hand as a cursor image.
const Fl_RGB_Image* HandCursorImage();

}  // namespace views::fltk
