#pragma once
// The date and time a file's name carries, as cameras, phones and screenshot tools name their
// files: "IMG_20230514_142233.jpg", "2023-05-14 14.22.33.png", "IMG-20230514-WA0001.jpg". A name
// date is a wall-clock time with no offset, except where the namer is known to use UTC
// ("PXL_20230514_142233123.jpg" of Google's Pixel phones).
#include <optional>
#include <string_view>

#include "media/core/FoundDate.h"

namespace pw {

// `name` is the file's name (a path's folders are passed over). Nothing when it starts with no
// known pattern, when its digits run on past the pattern's, or when they make no real date
// between 1900 and 2100.
std::optional<FoundDate> NameDate(std::wstring_view name);

// What the preview shows for a name without one.
inline constexpr std::wstring_view kNoDateInName = L"no date in the name";

}  // namespace pw
