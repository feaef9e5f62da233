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

// A drive given a device as well (an image of a volume) has that volume's name, label and serial,
// read from its boot sector.
// Its type is kept in HKLM\Software\Wine\Drives by the mount manager.
bool DefineWineDrive(wchar_t letter, const char* unixPath, const char* unixDevice = nullptr, bool network = false) {
  HANDLE mgr = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (mgr == INVALID_HANDLE_VALUE) return false;
  size_t pathLen = unixPath ? std::strlen(unixPath) + 1 : 0;
  size_t deviceLen = unixDevice ? std::strlen(unixDevice) + 1 : 0;
  std::vector<char> buf(sizeof(WineUnixDrive) + pathLen + deviceLen, 0);
  auto* drive = reinterpret_cast<WineUnixDrive*>(buf.data());
  drive->Size = static_cast<ULONG>(buf.size());
  drive->Type = !unixPath ? DRIVE_NO_ROOT_DIR : network ? DRIVE_REMOTE : DRIVE_FIXED;
  drive->Letter = static_cast<WCHAR>(letter - L'A' + L'a');
  if (unixPath) {
    drive->MountPointOffset = sizeof(WineUnixDrive);
    std::memcpy(buf.data() + sizeof(WineUnixDrive), unixPath, pathLen);
  }
  if (unixDevice) {
    drive->DeviceOffset = static_cast<USHORT>(sizeof(WineUnixDrive) + pathLen);
    std::memcpy(buf.data() + drive->DeviceOffset, unixDevice, deviceLen);
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

TestDrive::TestDrive(const std::wstring& folder, const std::wstring& device, bool network) {
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
    const std::wstring name{letter, L':'};
    if (DefineDosDeviceW(0, name.c_str(), target.c_str())) letter_ = letter;
    return;
  }
  wine_ = true;
  auto unixName = reinterpret_cast<WineUnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return;
  char* unixPath = unixName(target.c_str());
  if (!unixPath) return;
  char* unixDevice = device.empty() ? nullptr : unixName(device.c_str());
  bool ok = DefineWineDrive(letter, unixPath, unixDevice, network);
  HeapFree(GetProcessHeap(), 0, unixPath);
  if (unixDevice) HeapFree(GetProcessHeap(), 0, unixDevice);
  if (ok) letter_ = letter;
  // The mount manager reads the device's boot sector after it has answered: until then the drive
  // is the folder's, which cannot be asked for a serial number.
  if (ok && !device.empty()) {
    for (int tries = 0; tries < 100; ++tries) {
      const HANDLE root = CreateFileW(Root().c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
      DWORD serial = 0;
      const bool told = root != INVALID_HANDLE_VALUE &&
                        GetVolumeInformationByHandleW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) &&
                        serial != 0;
      if (root != INVALID_HANDLE_VALUE) CloseHandle(root);
      if (told) break;
      Sleep(50);
    }
  }
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
