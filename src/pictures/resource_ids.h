/* The icon resources of the program's pictures, shared by belvosta.rc and pictures.cpp; plain C for
   the resource compiler. The first icon is the one Explorer shows for the program. */
#pragma once

#define BELVOSTA_ICON_APP 101
#define BELVOSTA_ICON_COMPUTER 102
