#include "support/Files.h"

#include <windows.h>

std::wstring MakeFile(const std::wstring& path, size_t size) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    std::string data(size, 'x');
    DWORD written = 0;
    if (size) WriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(h);
  }
  return path;
}

std::wstring MakeFolder(const std::wstring& path, unsigned long long written) {
  CreateDirectoryW(path.c_str(), nullptr);
  if (written) SetTimes(path, 0, 0, written);
  return path + L"\\";
}

bool SetTimes(const std::wstring& path, unsigned long long created, unsigned long long accessed,
              unsigned long long written) {
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME c{static_cast<DWORD>(created), static_cast<DWORD>(created >> 32)};
  FILETIME a{static_cast<DWORD>(accessed), static_cast<DWORD>(accessed >> 32)};
  FILETIME w{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
  BOOL ok = SetFileTime(h, created ? &c : nullptr, accessed ? &a : nullptr, written ? &w : nullptr);
  CloseHandle(h);
  return ok != FALSE;
}

unsigned long long UtcFileTime(int year, int month, int day, int hour, int minute, int second, int ms) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  st.wMilliseconds = static_cast<WORD>(ms);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::wstring LastName(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path.substr(path.find_last_of(L"\\:") + 1);
}

std::wstring ParentCaptionOf(const std::wstring& listedFolder) {
  std::wstring folder = listedFolder.substr(0, listedFolder.size() - 1);
  const std::wstring parent = folder.substr(0, folder.find_last_of(L"\\:") + 1);
  const std::wstring name = LastName(parent);
  return L"[" + (name.empty() ? std::wstring(L"..") : name) + L"]";
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}
