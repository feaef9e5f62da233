#pragma once
// The filter of the folder listing and the captions of its special entries.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/PathRules.h"

namespace pw {

// Whether a file (never a folder) is listed under the attribute filter. A file carrying none of
// the read-only, hidden, system, archive and normal bits (only "compressed", say) is an ordinary
// file and counts as normal; a file with the attribute word 0 is always listed.
bool PassesAttributeFilter(std::uint32_t attributes, std::uint32_t attrMask);

// The parent entry's caption in the listing of a folder: C:\Windows\System32\ -> [Windows];
// C:\Windows\ -> [..].
std::wstring ParentCaption(std::wstring_view listedFolder);
// The caption to select after a bookmark's folder is listed: the file or folder name, or for a
// bookmarked parent entry (a path with a trailing backslash) that entry's caption.
std::wstring BookmarkCaption(std::wstring_view path);

}  // namespace pw
