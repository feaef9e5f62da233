#pragma once
// The text of the path line as the user typed or pasted it.

#include <string>
#include <string_view>

namespace pw {

// The path to look up: blanks and line breaks around it go, and so does one pair of enclosing
// quotes (Explorer copies paths with them); a drive letter becomes upper case, and a bare drive
// ("d:") means its root, not the drive's own current folder. Empty when nothing is left.
std::wstring CleanTypedPath(std::wstring_view typed);

}  // namespace pw
