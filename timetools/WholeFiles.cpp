#include "timetools/WholeFiles.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "ui/Scoped.h"

namespace pw {
namespace {

constexpr std::uint64_t kLargestFile = 1ull << 30;

FsError LastError() {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

}  // namespace

std::optional<std::wstring> ChooseSaveFile(HWND owner, const std::wstring& folder, const wchar_t* title) {
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring suggested = L"Saved times.csv";
  std::copy(suggested.begin(), suggested.end(), file.begin());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = L"Saved times (*.csv)\0*.csv\0All files\0*.*\0";
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.c_str();
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = L"csv";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetSaveFileNameW(&ofn)) return std::nullopt;
  return std::wstring(file.data());
}

FsError WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring part = path + L".part~";
  FsError error = kFsOk;
  {
    const ui::ScopedHandle file(CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    for (std::size_t done = 0; done < bytes.size() && error == kFsOk;) {
      const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
      DWORD wrote = 0;
      if (!WriteFile(file.get(), bytes.data() + done, ask, &wrote, nullptr) || wrote == 0) error = LastError();
      done += wrote;
    }
    if (error == kFsOk && !FlushFileBuffers(file.get())) error = LastError();
  }
  if (error == kFsOk && !MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = LastError();
  if (error != kFsOk) DeleteFileW(part.c_str());
  return error;
}

FsError ReadWholeFile(const std::wstring& path, std::string& bytes) {
  const ui::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return LastError();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return LastError();
  if (static_cast<std::uint64_t>(size.QuadPart) > kLargestFile) return ERROR_FILE_TOO_LARGE;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD read = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.get(), bytes.data() + done, ask, &read, nullptr)) return LastError();
    if (read == 0) {
      bytes.resize(done);  // shorter than it said: another program cut it meanwhile
      break;
    }
    done += read;
  }
  return kFsOk;
}

}  // namespace pw
