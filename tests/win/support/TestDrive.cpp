#include "support/TestDrive.h"

#include "support/Messages.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

namespace testutil {

namespace {

// Wine's mount manager defines drive letters for host folders (as winecfg does); the letter is in
// the drive mask of every process at once.
struct WineUnixDrive {
  ULONG Size;
  ULONG Type;
  ULONG FsType;
  DWORD Serial;
  ULONGLONG UnixDev;
  WCHAR Letter;
  USHORT MountPointOffset;
  USHORT DeviceOffset;
  USHORT LabelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

using WineUnixName = char*(__cdecl*)(const wchar_t*);

bool DefineWineDrive(wchar_t letter, const char* unixPath) {
  HANDLE mgr = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (mgr == INVALID_HANDLE_VALUE) return false;
  size_t pathLen = unixPath ? std::strlen(unixPath) + 1 : 0;
  std::vector<char> buf(sizeof(WineUnixDrive) + pathLen, 0);
  auto* drive = reinterpret_cast<WineUnixDrive*>(buf.data());
  drive->Size = static_cast<ULONG>(buf.size());
  drive->Type = unixPath ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
  drive->Letter = static_cast<WCHAR>(letter - L'A' + L'a');
  if (unixPath) {
    drive->MountPointOffset = sizeof(WineUnixDrive);
    std::memcpy(buf.data() + sizeof(WineUnixDrive), unixPath, pathLen);
  }
  DWORD bytes = 0;
  BOOL ok = DeviceIoControl(mgr, kDefineUnixDrive, buf.data(), static_cast<DWORD>(buf.size()), nullptr, 0,
                            &bytes, nullptr);
  CloseHandle(mgr);
  return ok != FALSE;
}

}  // namespace

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TestDrive::TestDrive(const std::wstring& folder) {
  wchar_t letter = 0;
  DWORD used = GetLogicalDrives();
  for (wchar_t c = L'Q'; c <= L'Y'; ++c)
    if (!(used & (1u << (c - L'A')))) {
      letter = c;
      break;
    }
  if (!letter) return;
  std::wstring target = folder;
  if (target.size() > 3 && target.back() == L'\\') target.pop_back();

  if (!RunningUnderWine()) {
    std::wstring device{letter, L':'};
    if (DefineDosDeviceW(0, device.c_str(), target.c_str())) letter_ = letter;
    return;
  }
  wine_ = true;
  auto unixName = reinterpret_cast<WineUnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return;
  char* unixPath = unixName(target.c_str());
  if (!unixPath) return;
  bool ok = DefineWineDrive(letter, unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  if (ok) letter_ = letter;
}

TestDrive::~TestDrive() {
  if (!letter_) return;
  if (wine_) {
    DefineWineDrive(letter_, nullptr);
  } else {
    std::wstring device{letter_, L':'};
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  }
}

namespace {
struct ProgramDriveParts {
  TempDir Folder;
  TestDrive Drive{Folder.Path()};
};
ProgramDriveParts& Parts() {
  static ProgramDriveParts parts;
  return parts;
}
}  // namespace

TestDrive& ProgramDrive() { return Parts().Drive; }
const std::wstring& ProgramDriveFolder() { return Parts().Folder.Path(); }

}  // namespace testutil
