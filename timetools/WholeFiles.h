#pragma once
// Whole files in and out for Save Times and Restore Times: the name asked for in the standard save
// dialog (an existing file is replaced only once the user confirms), a file written whole or not
// at all (a temporary file renamed into place), and a file read whole.
#include <windows.h>

#include <optional>
#include <string>

#include "timetools/core/EditFileSystem.h"

namespace pw {

// The file the user names, starting in `folder`; nothing when the dialog is cancelled.
std::optional<std::wstring> ChooseSaveFile(HWND owner, const std::wstring& folder, const wchar_t* title);
// Writes `bytes` to a temporary file beside `path` and renames it into place: a write that fails
// or is stopped leaves the file that was there, and no part of the new one.
FsError WriteWholeFile(const std::wstring& path, const std::string& bytes);
// The whole file, up to 1 GB (a file of saved times for millions of entries).
FsError ReadWholeFile(const std::wstring& path, std::string& bytes);

}  // namespace pw
