#include "common/platform/VolumeName.h"

#include <windows.h>

namespace pw {
namespace {

std::optional<std::wstring> AskTheVolume(const std::wstring& root) {
  // No "insert a disk" box for an empty card reader.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  wchar_t name[MAX_PATH + 1] = {};
  bool known = false;
  const HANDLE handle = CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    known = GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1);
    CloseHandle(handle);
  } else {
    // A root that cannot be opened may still be asked by its name; a volume that was opened and
    // would not say is not guessed at.
    known = GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1);
  }
  SetErrorMode(oldMode);
  if (!known || name[0] == 0) return std::nullopt;
  return std::wstring(name);
}

}  // namespace

std::wstring VolumeRootOf(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L"\\";
  if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\.\\")) {
    const std::size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos || server == 2) return L"";
    const std::size_t share = path.find(L'\\', server + 1);
    if (share == server + 1) return L"";
    return (share == std::wstring::npos ? path : path.substr(0, share)) + L"\\";
  }
  return L"";
}

std::optional<std::wstring> FileSystemNameOf(const std::wstring& root) {
  if (root.empty()) return std::nullopt;
  return AskTheVolume(root);
}

}  // namespace pw
