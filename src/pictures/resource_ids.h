/* Resource numbers shared by belvosta.rc and the C++ code; plain C for the resource
   compiler. The first icon is the one Explorer shows for the program. */
#pragma once

#define BELVOSTA_ICON_APP 101
#define BELVOSTA_ICON_COMPUTER 102
