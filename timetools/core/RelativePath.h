#pragma once
// Whether a relative path read from a file may be joined to the folder it was saved from: it must
// name an entry inside that folder whatever Windows makes of it, and only names Windows keeps.
// Names are separated by '\'.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

// The longest path the platform takes, in UTF-16 units.
inline constexpr std::size_t kLongestPath = 32'767;

// What is wrong with the path, as the end of a sentence ("the path leaves the folder (..)");
// nothing when it may be taken. Refused besides what leaves the folder: names that end in a dot
// or a space (Windows trims them, so "sub." opens "sub" and ".. " opens ".."), and device names
// (NUL, COM1.txt), which name no file in any folder.
std::optional<std::wstring> RelativePathFault(std::wstring_view path);

}  // namespace pw
