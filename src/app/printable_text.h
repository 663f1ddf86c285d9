// Text from outside the program (file and folder names, arguments, what the system says)
// made safe to print on a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace belvosta {

// The text with every character that could move the cursor, switch the terminal's mode or
// reverse the reading direction shown as "?": C0 and C1 controls, DEL, the bidirectional
// embeddings, overrides and isolates (U+202A-U+202E, U+2066-U+2069), and every byte that is
// not part of valid UTF-8. Other characters stay as they are.
std::string Printable(std::string_view text);

// At most the first `characters` characters of the text (whole UTF-8 sequences), then
// "..." when something was cut; made printable.
std::string PrintableStart(std::string_view text, std::size_t characters);

}  // namespace belvosta
