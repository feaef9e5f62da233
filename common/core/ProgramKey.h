#pragma once
// Where the program keeps its settings: one key under HKEY_CURRENT_USER, shared by the view
// options and the bookmarks, whose value names never meet.
#include <string>

namespace pw {

// The maker's key; a program's own key is a sub-key of it.
inline constexpr wchar_t kProductKeyPath[] = L"Software\\Quillmere Software\\Corvalt";
// The file browser's sub-key, as it is appended to the maker's key: backslash first.
inline constexpr wchar_t kFileBrowserSubKey[] = L"\\File Browser";

inline std::wstring FileBrowserKeyPath() { return std::wstring(kProductKeyPath) + kFileBrowserSubKey; }

}  // namespace pw
