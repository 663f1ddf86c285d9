// The folder tree search behind SearchTreeForFile on POSIX systems.
#pragma once

#include <span>
#include <string_view>

namespace platform::posix {

// Looks for a file (anything but a folder) called `name`, ASCII letters compared without
// regard to case, in `root` and every folder below it. Walks iteratively, never follows a symbolic
// link into a folder and skips folders it cannot open. Stops at the first match whose full
// path fits `out` with its NUL; only then is `out` written and the result true. A blank or
// empty name, a missing root or no fitting match give false and leave `out` untouched.
bool SearchTree(std::string_view root, std::string_view name, std::span<char> out);

}  // namespace platform::posix
