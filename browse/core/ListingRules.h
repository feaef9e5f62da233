#pragma once
// Path and filter rules of the folder listing and of the moves between folders.

#include <cstdint>
#include <string>
#include <string_view>

namespace pw {

// Whether a file (never a folder) is listed under the attribute filter. A file carrying none of
// the read-only, hidden, system, archive and normal bits (only "compressed", say) is an ordinary
// file and counts as normal; a file with the attribute word 0 is always listed.
bool PassesAttributeFilter(std::uint32_t attributes, std::uint32_t attrMask);

std::wstring FolderPart(std::wstring_view path);     // up to and including the last '\' or ':'
bool IsDriveRoot(std::wstring_view listedFolder);    // C:\ , \ , C: , \\ : no parent to go up to
std::wstring LastComponent(std::wstring_view path);  // text after the last '\' or ':'
// D:\Data\Old\ -> D:\Data\ ; D:\Data\ -> D:\ ; empty when there is nothing above.
std::wstring ParentFolderPath(std::wstring_view folderWithBackslash);
// The parent entry's caption in the listing of a folder: C:\Windows\System32\ -> [Windows];
// C:\Windows\ -> [..].
std::wstring ParentCaption(std::wstring_view listedFolder);
// The caption to select after a bookmark's folder is listed: the file or folder name, or for a
// bookmarked parent entry (a path with a trailing backslash) that entry's caption.
std::wstring BookmarkCaption(std::wstring_view path);

}  // namespace pw
