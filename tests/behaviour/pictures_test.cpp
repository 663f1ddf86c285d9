// The program's own pictures, which every view draws from the same pixels.
#include <gtest/gtest.h>

#include <cstdint>

#include "pictures/pictures.h"
#include "ui/hand_cursor.h"

namespace {

namespace pictures = belvosta::pictures;

// A fingerprint of every pixel (FNV-1a over the size and the ARGB words).
std::uint64_t Fingerprint(const ui::Bitmap& bitmap) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  const auto mix = [&](std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash = (hash ^ ((word >> shift) & 0xFF)) * 0x100000001B3u;
    }
  };
  mix(static_cast<std::uint32_t>(bitmap.width));
  mix(static_cast<std::uint32_t>(bitmap.height));
  for (std::uint32_t pixel : bitmap.argb) mix(pixel);
  return hash;
}

// The pictures as they were looked at and approved, pixel for pixel: a change to a colour, a
// shape or a size anywhere shows here, not only where the other tests look.
TEST(Pictures, EveryPictureIsTheApprovedOne) {
  struct Approved {
    const char* name;
    const ui::Bitmap& bitmap;
    std::uint64_t fingerprint;
  };
  for (const Approved& e : {
           Approved{"AppIcon", pictures::AppIcon.Pixels(), 0xF43983B49A2B9FBDu},
           Approved{"ComputerIcon", pictures::ComputerIcon.Pixels(), 0x9789B2358F3AB440u},
           Approved{"Banner", pictures::Banner.Pixels(), 0x6A1FCB89670BAA0Eu},
           Approved{"Tick", pictures::Tick.Pixels(), 0x0B5A4BD17EDFC0BFu},
           Approved{"Busy", pictures::Busy.Pixels(), 0x9BB1B7C8E813EC71u},
           Approved{"Arrow", pictures::Arrow.Pixels(), 0x27A8E30DD5032080u},
           Approved{"Smile", pictures::Smile.Pixels(), 0xDB69BDCFBF49D54Fu},
           Approved{"Frown", pictures::Frown.Pixels(), 0xE23A4DF6E977E84Au},
           Approved{"HandCursor", ui::HandCursorBitmap(), 0x2EDBDCFD867AAD98u},
       }) {
    EXPECT_EQ(Fingerprint(e.bitmap), e.fingerprint)
        << std::hex << std::showbase << e.name << " changed: if that is meant, look at it in the "
        << "running program and approve its new fingerprint " << Fingerprint(e.bitmap);
  }
}

}  // namespace
