#pragma once
// Paths as the program takes them apart: the folder part, the last name, the parent folder, and
// whether a folder is a drive root. A folder is written with its trailing backslash.

#include <string>
#include <string_view>

namespace pw {

std::wstring FolderPart(std::wstring_view path);     // up to and including the last '\' or ':'
bool IsDriveRoot(std::wstring_view listedFolder);    // C:\ , \ , C: , \\ , \\srv\share\ : no parent to go up to
std::wstring LastComponent(std::wstring_view path);  // text after the last '\' or ':'
// D:\Data\Old\ -> D:\Data\ ; D:\Data\ -> D:\ ; empty when there is nothing above.
std::wstring ParentFolderPath(std::wstring_view folderWithBackslash);

// The root a path lies on, with its trailing backslash: "C:\" for C:\Data\a.txt, "\\server\share\"
// for a path on a share; empty when the path names none.
std::wstring RootOf(std::wstring_view path);
// A name inside a folder (with or without its trailing backslash): one backslash between them.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
// A path as the file system tells paths apart: letter case ignored, "/" as "\", no trailing
// backslash but a drive root's. Two paths with the same key name the same entry.
std::wstring PathKey(std::wstring_view path);
// Whether the entry of key `inner` lies somewhere inside the folder of key `outer` (both made by
// PathKey).
bool LiesInside(std::wstring_view inner, std::wstring_view outer);

}  // namespace pw
