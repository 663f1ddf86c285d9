#include "views/fltk/looks.h"

#include <FL/Fl.H>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "views/fltk/fl_drawing.h"

namespace views::fltk {
namespace {

// An FLTK image together with the pixels it points to (FLTK does not copy them).
struct OwnedImage {
  std::vector<unsigned char> pixels;
  std::unique_ptr<Fl_RGB_Image> image;
};

OwnedImage MakeImage(const ui::Bitmap& bitmap, bool keepAlpha, Fl_Color background) {
  unsigned char br = 255, bg = 255, bb = 255;
  Fl::get_color(background, br, bg, bb);
  const int depth = keepAlpha ? 4 : 3;
  OwnedImage owned;
  owned.pixels.reserve(bitmap.argb.size() * static_cast<std::size_t>(depth));
  for (std::uint32_t pixel : bitmap.argb) {
    const unsigned a = pixel >> 24;
    const unsigned rgb[3] = {(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF};
    const unsigned back[3] = {br, bg, bb};
    for (int i = 0; i < 3; ++i) {
      const unsigned value = keepAlpha ? rgb[i] : (rgb[i] * a + back[i] * (255 - a) + 127) / 255;
      owned.pixels.push_back(static_cast<unsigned char>(value));
    }
    if (keepAlpha) owned.pixels.push_back(static_cast<unsigned char>(a));
  }
  owned.image =
      std::make_unique<Fl_RGB_Image>(owned.pixels.data(), bitmap.width, bitmap.height, depth);
  return owned;
}

}  // namespace

void InstallFontFaces() {
  // Fontconfig takes the first family of each list that the machine has.
  constexpr const char* kSans = "Arial,Liberation Sans,Arimo,DejaVu Sans Condensed,sans";
  constexpr const char* kMono = "Courier New,Liberation Mono,Cousine,DejaVu Sans Mono,mono";
  static const std::string faces[] = {std::string(" ") + kSans, std::string("B") + kSans,
                                      std::string(" ") + kMono, std::string("B") + kMono};
  Fl::set_font(FL_HELVETICA, faces[0].c_str());
  Fl::set_font(FL_HELVETICA_BOLD, faces[1].c_str());
  Fl::set_font(FL_COURIER, faces[2].c_str());
  Fl::set_font(FL_COURIER_BOLD, faces[3].c_str());
}

Fl_Color ToFlColor(ui::Color color) {
  if (color.systemWindow) return FL_BACKGROUND2_COLOR;
  if (color.systemButtonFace) return FL_BACKGROUND_COLOR;
  return fl_rgb_color(color.r, color.g, color.b);
}

FlFont ToFlFont(const ui::Font& font, const ScreenUnits& units) {
  const bool courier = font.name == "Courier New";
  Fl_Font face = courier ? FL_COURIER : FL_HELVETICA;
  if (font.bold) face = courier ? FL_COURIER_BOLD : FL_HELVETICA_BOLD;
  return {face, units.FontPixels(font.points)};
}

std::string DrawableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 0x20) {
      out.push_back(c);
    }
  }
  return out;
}

void DrawText(std::string_view text, int x, int y, int w, int h, Fl_Align align) {
  const std::string drawable = DrawableText(text);
  fl_draw(drawable.c_str(), x, y, w, h, align | FL_ALIGN_INSIDE | FL_ALIGN_CLIP, nullptr, 0);
}

std::string ToolTipText(std::string_view text) {
  std::string out;
  for (char c : DrawableText(text)) {
    out.push_back(c);
    if (c == '@') out.push_back('@');  // "@@" is FLTK's literal '@'
  }
  return out;
}

const Fl_RGB_Image* PictureOn(const ui::Picture& picture, Fl_Color background) {
  static std::map<std::pair<const ui::Picture*, Fl_Color>, OwnedImage> cache;
  const auto key = std::make_pair(&picture, background);
  auto found = cache.find(key);
  if (found == cache.end()) {
    found = cache.emplace(key, MakeImage(picture.Pixels(), false, background)).first;
  }
  return found->second.image.get();
}

const Fl_RGB_Image* IconImage(const ui::Picture* picture) {
  if (picture == nullptr) return nullptr;
  static std::map<const ui::Picture*, OwnedImage> cache;
  auto found = cache.find(picture);
  if (found == cache.end()) {
    found = cache.emplace(picture, MakeImage(picture->Pixels(), true, FL_WHITE)).first;
  }
  return found->second.image.get();
}

const Fl_RGB_Image* HandCursorImage() {
  static const OwnedImage hand = MakeImage(ui::HandCursorBitmap(), true, FL_WHITE);
  return hand.image.get();
}

}  // namespace views::fltk
