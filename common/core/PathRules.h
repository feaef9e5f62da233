#pragma once
// Paths as the program takes them apart: the folder part, the last name, the parent folder, and
// whether a folder is a drive root. A folder is written with its trailing backslash.

#include <string>
#include <string_view>

namespace pw {

std::wstring FolderPart(std::wstring_view path);     // up to and including the last '\' or ':'
bool IsDriveRoot(std::wstring_view listedFolder);    // C:\ , \ , C: , \\ : no parent to go up to
std::wstring LastComponent(std::wstring_view path);  // text after the last '\' or ':'
// D:\Data\Old\ -> D:\Data\ ; D:\Data\ -> D:\ ; empty when there is nothing above.
std::wstring ParentFolderPath(std::wstring_view folderWithBackslash);

}  // namespace pw
