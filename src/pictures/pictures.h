// The program's own pictures, drawn in code so that every view shows the same pixels.
#pragma once

#include "ui/forms.h"

namespace belvosta::pictures {

extern const ui::Picture AppIcon;       // a wrench in front of a computer screen
extern const ui::Picture ComputerIcon;  // a desktop computer with monitor and keyboard
extern const ui::Picture Banner;        // the banner behind the full-scan link
extern const ui::Picture Tick;          // the green tick of a passed check (32 x 32)
extern const ui::Picture Busy;          // a magnifying glass over the drive letter "C:"
extern const ui::Picture Arrow;         // a red arrow pointing left
extern const ui::Picture Smile;         // a smiling yellow face
extern const ui::Picture Frown;         // a frowning yellow face

}  // namespace belvosta::pictures
