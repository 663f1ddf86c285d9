// Pictures as Windows draws them (ui/forms.h), the hand pointer and
// the window icons.
#pragma once

#include "platform/win32/windows_api.h"
#include "ui/hand_cursor.h"

namespace views::win32 {

// Draws the bitmap with its top left at x, y, laid over the background colour where it is
// transparent, scaled from 96 DPI to dpi.
void DrawBitmap(HDC dc, const ui::Bitmap& bitmap, COLORREF background, int x, int y, unsigned dpi);

// A monochrome cursor from the hand bitmap: opaque light pixels white, opaque dark ones
// black, the rest transparent. The caller destroys it with DestroyCursor.
HCURSOR CreateHandCursor();

// The window icon of an image at a size in pixels, from the program's resources; null for
// an image that is no window icon. Shared icons: never destroyed.
HICON WindowIcon(const ui::Picture* picture, int size);

}  // namespace views::win32
