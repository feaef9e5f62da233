#include "support/TestDrive.h"

#include <windows.h>

#include <cstdlib>

namespace testutil {

namespace {

using WineUnixName = char*(__cdecl*)(const wchar_t*);

bool RunHost(const std::wstring& exe, std::wstring cmdline) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cmdline.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TestDrive::TestDrive(const std::wstring& folder) {
  DWORD used = GetLogicalDrives();
  wchar_t letter = 0;
  for (wchar_t c = L'Q'; c <= L'Y'; ++c)
    if (!(used & (1u << (c - L'A')))) {
      letter = c;
      break;
    }
  if (!letter) return;

  if (!RunningUnderWine()) {
    std::wstring device{letter, L':'};
    std::wstring target = folder;
    if (!target.empty() && target.back() == L'\\') target.pop_back();
    if (DefineDosDeviceW(0, device.c_str(), target.c_str())) letter_ = letter;
    return;
  }
  auto unixName = reinterpret_cast<WineUnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  const char* prefix = std::getenv("WINEPREFIX");
  if (!unixName || !prefix) return;
  char* target = unixName(folder.c_str());
  if (!target) return;
  std::string targetPath = target;
  HeapFree(GetProcessHeap(), 0, target);
  if (targetPath.size() > 1 && targetPath.back() == '/') targetPath.pop_back();
  link_ = std::string(prefix) + "/dosdevices/" + static_cast<char>(letter + 32) + ":";
  if (RunHost(L"Z:\\bin\\ln", Widen("ln -sfn '" + targetPath + "' '" + link_ + "'")) &&
      GetDriveTypeW((std::wstring(1, letter) + L":\\").c_str()) > DRIVE_NO_ROOT_DIR)
    letter_ = letter;
}

TestDrive::~TestDrive() {
  if (!letter_) return;
  if (!link_.empty()) {
    RunHost(L"Z:\\bin\\rm", Widen("rm -f '" + link_ + "'"));
  } else {
    std::wstring device{letter_, L':'};
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  }
}

}  // namespace testutil
