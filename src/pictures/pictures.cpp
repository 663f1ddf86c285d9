// The program's pictures, painted in code into ARGB pixels the first time each is asked for.
//
// Shapes are described by signed distance functions (negative inside, in pixels) and
// painted with 4 x 4 samples per pixel, which gives smooth edges without any image files.
#include "pictures/pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string_view>

#include "pictures/resource_ids.h"

namespace belvosta::pictures {
namespace {

using ui::Bitmap;
using ui::Picture;

constexpr double kPi = std::numbers::pi;

struct Point {
  double x = 0;
  double y = 0;
};

struct Rgba {
  double r = 0, g = 0, b = 0, a = 255;
};

constexpr Rgba Mix(Rgba from, Rgba to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

// ---- Signed distance functions ----

using Shape = std::function<double(Point)>;
using Shade = std::function<Rgba(Point)>;

double SegmentDistance(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

Shape Circle(Point c, double radius) {
  return [=](Point p) { return std::hypot(p.x - c.x, p.y - c.y) - radius; };
}

Shape Ellipse(Point c, double rx, double ry) {
  // Scaled circle distance: exact enough for the small eyes it draws.
  return [=](Point p) {
    const double k = std::hypot((p.x - c.x) / rx, (p.y - c.y) / ry);
    return (k - 1.0) * std::min(rx, ry);
  };
}

Shape Capsule(Point a, Point b, double halfWidth) {
  return [=](Point p) { return SegmentDistance(p, a, b) - halfWidth; };
}

Shape RoundRect(Point topLeft, Point bottomRight, double radius) {
  return [=](Point p) {
    const double cx = (topLeft.x + bottomRight.x) / 2, cy = (topLeft.y + bottomRight.y) / 2;
    const double hx = (bottomRight.x - topLeft.x) / 2 - radius;
    const double hy = (bottomRight.y - topLeft.y) / 2 - radius;
    const double qx = std::abs(p.x - cx) - hx, qy = std::abs(p.y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Shape Polygon(std::vector<Point> corners) {
  return [corners = std::move(corners)](Point p) {
    double distance = 1e9;
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
      const Point a = corners[i], b = corners[j];
      distance = std::min(distance, SegmentDistance(p, a, b));
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
        inside = !inside;
      }
    }
    return inside ? -distance : distance;
  };
}

// A stroke along the part of a circle between two angles (radians, y pointing down).
Shape Arc(Point c, double radius, double fromAngle, double toAngle, double halfWidth) {
  const Point start{c.x + radius * std::cos(fromAngle), c.y + radius * std::sin(fromAngle)};
  const Point end{c.x + radius * std::cos(toAngle), c.y + radius * std::sin(toAngle)};
  return [=](Point p) {
    double angle = std::atan2(p.y - c.y, p.x - c.x);
    if (angle < fromAngle) angle += 2 * kPi;
    const bool alongArc = angle >= fromAngle && angle <= toAngle;
    const double d = alongArc ? std::abs(std::hypot(p.x - c.x, p.y - c.y) - radius)
                              : std::min(std::hypot(p.x - start.x, p.y - start.y),
                                         std::hypot(p.x - end.x, p.y - end.y));
    return d - halfWidth;
  };
}

Shape Union(Shape a, Shape b) {
  return [=](Point p) { return std::min(a(p), b(p)); };
}

Shape Subtract(Shape a, Shape b) {
  return [=](Point p) { return std::max(a(p), -b(p)); };
}

// ---- The canvas ----

class Canvas {
 public:
  Canvas(int width, int height) {
    bitmap_.width = width;
    bitmap_.height = height;
    bitmap_.argb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  }

  // Paints shade wherever shape(p) <= grow, each pixel covered by the share of its 16
  // samples that fall inside. grow > 0 widens the shape (for outlines), < 0 narrows it.
  void Paint(const Shape& shape, const Shade& shade, double grow = 0) {
    for (int y = 0; y < bitmap_.height; ++y) {
      for (int x = 0; x < bitmap_.width; ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) {
            if (shape({x + (sx + 0.5) / 4, y + (sy + 0.5) / 4}) <= grow) ++hits;
          }
        }
        if (hits == 0) continue;
        Rgba color = shade({x + 0.5, y + 0.5});
        color.a *= hits / 16.0;
        Blend(x, y, color);
      }
    }
  }

  void Fill(const Shape& shape, Rgba color, double grow = 0) {
    Paint(
        shape, [color](Point) { return color; }, grow);
  }

  // A shape with a dark rim: the rim is painted first, the body inset by its width.
  void Outlined(const Shape& shape, const Shade& body, Rgba rim, double rimWidth = 1.0) {
    Fill(shape, rim);
    Paint(shape, body, -rimWidth);
  }

  // Sets whole pixels, for pixel art.
  void Set(int x, int y, Rgba color) {
    if (x < 0 || y < 0 || x >= bitmap_.width || y >= bitmap_.height) return;
    Blend(x, y, color);
  }

  Bitmap Take() { return std::move(bitmap_); }

 private:
  // Source-over compositing on straight (not premultiplied) alpha.
  void Blend(int x, int y, Rgba src) {
    std::uint32_t& pixel =
        bitmap_.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap_.width) +
                     static_cast<std::size_t>(x)];
    const double sa = src.a / 255.0;
    const double da = (pixel >> 24) / 255.0;
    const double outA = sa + da * (1 - sa);
    if (outA <= 0) return;
    auto channel = [&](double s, int shift) {
      const double d = (pixel >> shift) & 0xFF;
      return (s * sa + d * da * (1 - sa)) / outA;
    };
    const double r = channel(src.r, 16), g = channel(src.g, 8), b = channel(src.b, 0);
    auto byte = [](double v) {
      return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0)));
    };
    pixel = byte(outA * 255) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
  }

  Bitmap bitmap_;
};

// A vertical gradient between two y positions.
Shade Vertical(Rgba top, Rgba bottom, double y0, double y1) {
  return [=](Point p) { return Mix(top, bottom, (p.y - y0) / (y1 - y0)); };
}

// A radial gradient from a highlight point outwards.
Shade Radial(Rgba inner, Rgba outer, Point centre, double radius) {
  return [=](Point p) {
    return Mix(inner, outer, std::hypot(p.x - centre.x, p.y - centre.y) / radius);
  };
}

// Pixel art: each character of a row is one pixel; the legend maps characters to colours
// and any other character leaves the pixel untouched.
void PixelArt(Canvas& canvas, int left, int top, std::initializer_list<std::string_view> rows,
              int scale, std::initializer_list<std::pair<char, Rgba>> legend) {
  int y = top;
  for (std::string_view row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      for (const auto& [key, color] : legend) {
        if (row[i] != key) continue;
        for (int dy = 0; dy < scale; ++dy) {
          for (int dx = 0; dx < scale; ++dx) {
            canvas.Set(left + static_cast<int>(i) * scale + dx, y + dy, color);
          }
        }
      }
    }
    y += scale;
  }
}

// ---- The images ----

constexpr Rgba kInk{40, 40, 48};

// A monitor with a blue screen, and an open-end wrench lying across it.
Bitmap DrawAppIcon() {
  Canvas c(32, 32);
  const Rgba bezelTop{225, 225, 230}, bezelBottom{160, 162, 170};
  c.Outlined(RoundRect({1, 2}, {29, 23}, 2.5), Vertical(bezelTop, bezelBottom, 2, 23), kInk);
  c.Fill(RoundRect({4, 5}, {26, 20}, 1), {30, 40, 70});
  c.Paint(RoundRect({5, 6}, {25, 19}, 0.5), Vertical({90, 160, 240}, {20, 60, 160}, 6, 19));
  c.Outlined(RoundRect({12, 22.5}, {18, 26}, 0), Vertical(bezelTop, bezelBottom, 22, 26), kInk);
  c.Outlined(RoundRect({7, 25}, {23, 29}, 1.5), Vertical(bezelTop, bezelBottom, 25, 29), kInk);

  const Point head{13.5, 12.5};
  const double dx = -std::sqrt(0.5), dy = -std::sqrt(0.5);  // from the handle to the jaw
  const Shape jaw =
      Union(Capsule(head, {head.x + dx * 9, head.y + dy * 9}, 2.1), Circle(head, 2.1));
  const Shape wrench =
      Subtract(Union(Circle(head, 6.2), Capsule({17.5, 16.5}, {28.5, 27.5}, 2.4)), jaw);
  // Light along one edge of the handle and darker along the other, like polished steel.
  const Shade steel = [](Point p) {
    return Mix({250, 250, 252}, {130, 136, 150}, ((p.x - p.y) + 6) / 12);
  };
  c.Fill(wrench, {20, 20, 30, 255}, 1.0);
  c.Paint(wrench, steel);
  return c.Take();
}

// A desktop computer: monitor on a flat system unit, keyboard in front.
Bitmap DrawComputerIcon() {
  Canvas c(32, 32);
  const Rgba beigeTop{238, 234, 216}, beigeBottom{190, 184, 160};
  c.Outlined(RoundRect({6, 1}, {26, 17}, 1.5), Vertical(beigeTop, beigeBottom, 1, 17), kInk);
  c.Fill(RoundRect({8, 3}, {24, 14}, 0.5), {30, 40, 40});
  c.Paint(RoundRect({9, 4}, {23, 13}, 0), Vertical({70, 190, 190}, {0, 110, 120}, 4, 13));
  c.Outlined(RoundRect({13, 16.5}, {19, 19}, 0), Vertical(beigeTop, beigeBottom, 16, 19), kInk);
  c.Outlined(RoundRect({3, 18.5}, {29, 24.5}, 1), Vertical(beigeTop, beigeBottom, 18, 25), kInk);
  c.Fill(RoundRect({16, 20.7}, {26, 22}, 0.3), {70, 70, 70});
  c.Fill(Circle({6.5, 21.5}, 1.0), {40, 200, 60});
  c.Outlined(Polygon({{3, 26}, {29, 26}, {31, 31}, {1, 31}}),
             Vertical({215, 215, 220}, {170, 170, 178}, 26, 31), kInk);
  for (int row = 0; row < 2; ++row) {
    for (int key = 0; key < 12; ++key) {
      const double x = 4.5 + key * 2.0 - row * 0.5, y = 27.5 + row * 1.7;
      c.Fill(RoundRect({x, y}, {x + 1.2, y + 1.0}, 0), {110, 110, 120});
    }
  }
  return c.Take();
}

// A light band behind the black full-scan link: white at the top fading to a pale blue.
Bitmap DrawBanner() {
  constexpr int kWidth = 526, kHeight = 27;
  Bitmap bitmap{kWidth, kHeight, {}};
  bitmap.argb.reserve(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // Slightly bluer towards both ends, so the middle under the caption stays lightest.
      const double edge = std::abs(x - kWidth / 2.0) / (kWidth / 2.0);
      const double t = std::clamp(y / (kHeight - 1.0) * 0.8 + edge * edge * 0.25, 0.0, 1.0);
      Rgba color = Mix({255, 255, 255}, {205, 222, 246}, t);
      if (y == kHeight - 1) color = {180, 202, 236};
      bitmap.argb.push_back(0xFF000000u | static_cast<std::uint32_t>(color.r) << 16 |
                            static_cast<std::uint32_t>(color.g) << 8 |
                            static_cast<std::uint32_t>(color.b));
    }
  }
  return bitmap;
}

// A green tick. It keeps to the top 25 rows: the first tick's box is only that high.
Bitmap DrawTick() {
  Canvas c(32, 32);
  const Shape tick = Union(Capsule({5, 13}, {12, 20}, 3.0), Capsule({12, 20}, {26.5, 4.5}, 3.0));
  c.Outlined(tick, Vertical({120, 220, 90}, {20, 135, 30}, 2, 23), {0, 85, 10});
  return c.Take();
}

// The drive letter "C:" in pixel art with a magnifying glass over it.
Bitmap DrawBusy() {
  Canvas c(32, 32);
  const Rgba letter{0, 0, 140};
  PixelArt(c, 4, 5,
           {".XXX.",  //
            "X...X",  //
            "X....",  //
            "X....",  //
            "X....",  //
            "X...X",  //
            ".XXX."},
           2, {{'X', letter}});
  PixelArt(c, 16, 8, {"X", ".", ".", "X"}, 2, {{'X', letter}});

  // Tinted glass over the letters, a handle towards the bottom right, then the rim.
  const Point lens{11, 11.5};
  c.Fill(Circle(lens, 9.5), {170, 210, 255, 60});
  c.Fill(Arc(lens, 7.9, kPi * 1.1, kPi * 1.4, 0.6), {255, 255, 255, 230});
  c.Outlined(Capsule({18.5, 19}, {28.5, 29}, 2.6), Vertical({160, 95, 45}, {90, 45, 15}, 18, 30),
             kInk);
  c.Fill(Subtract(Circle(lens, 10.6), Circle(lens, 8.8)), kInk);
  c.Paint(Subtract(Circle(lens, 10.0), Circle(lens, 9.4)),
          Vertical({210, 210, 220}, {100, 105, 120}, 1, 22));
  return c.Take();
}

// A red arrow pointing left, towards the full-scan link.
Bitmap DrawArrow() {
  Canvas c(33, 27);
  const Shape arrow = Polygon({{1.5, 13.5},
                               {14.5, 1.5},
                               {14.5, 8.5},
                               {30.5, 8.5},
                               {30.5, 18.5},
                               {14.5, 18.5},
                               {14.5, 25.5}});
  c.Fill(arrow, {110, 0, 0}, 0.6);
  c.Paint(arrow, Vertical({255, 110, 95}, {185, 0, 0}, 2, 25), -0.6);
  return c.Take();
}

// A round yellow face; smiling curves the mouth up, frowning down.
Bitmap DrawFace(bool smiling) {
  Canvas c(32, 32);
  const Point centre{16, 16};
  c.Outlined(Circle(centre, 14.8), Radial({255, 252, 190}, {235, 185, 0}, {12, 10}, 20),
             {130, 90, 0}, 1.2);
  const Rgba features{50, 30, 0};
  c.Fill(Ellipse({11.5, 12}, 1.9, 2.8), features);
  c.Fill(Ellipse({20.5, 12}, 1.9, 2.8), features);
  if (smiling) {
    c.Fill(Arc({16, 14}, 8.5, kPi * 0.15, kPi * 0.85, 1.3), features);
  } else {
    c.Fill(Arc({16, 29.5}, 8.0, kPi * 1.2, kPi * 1.8, 1.3), features);
  }
  return c.Take();
}

}  // namespace

const Picture AppIcon{&DrawAppIcon, BELVOSTA_ICON_APP};
const Picture ComputerIcon{&DrawComputerIcon, BELVOSTA_ICON_COMPUTER};
const Picture Banner{&DrawBanner};
const Picture Tick{&DrawTick};
const Picture Busy{&DrawBusy};
const Picture Arrow{&DrawArrow};
const Picture Smile{[] { return DrawFace(true); }};
const Picture Frown{[] { return DrawFace(false); }};

}  // namespace belvosta::pictures
