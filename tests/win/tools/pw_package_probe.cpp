// What the packaging tests ask of Windows about an installed or unpacked program, written as
// UTF-8 lines to the file named last on the command line:
//   version <program> <out>   the version resource as the file properties read it:
//                             "FileVersion=…", "ProductVersion=…", "Fixed=a.b.c.d", "Prerelease=0|1"
//   main <out>                waits (up to 60 s) for the main window of a Pathwick that was started
//                             beside this tool, writes "Program=<its executable>", closes the window
//                             as the user would, and waits (up to 60 s) for the program to end.
// Exit code 0 when all of it was found and done.
#include <windows.h>
#include <shellapi.h>
#include <winver.h>

#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

bool WriteLines(const std::wstring& path, const std::wstring& lines) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string bytes = Utf8(lines);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::wstring StringValue(const std::vector<BYTE>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || length == 0) return {};
  std::wstring text(static_cast<const wchar_t*>(value), length);
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

int Version(const std::wstring& program, const std::wstring& out) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  if (size == 0) return 2;
  std::vector<BYTE> info(size);
  if (!GetFileVersionInfoW(program.c_str(), 0, size, info.data())) return 2;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof(*fixed))
    return 2;
  const std::wstring lines =
      L"FileVersion=" + StringValue(info, L"FileVersion") + L"\nProductVersion=" +
      StringValue(info, L"ProductVersion") + L"\nFixed=" + std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
      std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) +
      L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS)) + L"\nPrerelease=" +
      ((fixed->dwFileFlags & fixed->dwFileFlagsMask & VS_FF_PRERELEASE) ? L"1" : L"0") + L"\n";
  return WriteLines(out, lines) ? 0 : 3;
}

int CloseMain(const std::wstring& out) {
  HWND main = nullptr;
  for (int i = 0; i < 600 && !main; ++i) {
    const HWND found = FindWindowW(L"TfrmFileBrowser", nullptr);
    if (found && IsWindowVisible(found)) main = found;
    else Sleep(100);
  }
  if (!main) return 4;
  DWORD processId = 0;
  GetWindowThreadProcessId(main, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId);
  if (!process) return 5;
  wchar_t image[MAX_PATH * 2] = {};
  DWORD imageLength = MAX_PATH * 2;
  const bool named = QueryFullProcessImageNameW(process, 0, image, &imageLength) != 0;
  PostMessageW(main, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0;
  CloseHandle(process);
  if (!named || !WriteLines(out, L"Program=" + std::wstring(image, imageLength) + L"\n")) return 3;
  return ended ? 0 : 6;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 1;
  const std::vector<std::wstring> args(argv, argv + argc);
  LocalFree(argv);
  if (args.size() == 4 && args[1] == L"version") return Version(args[2], args[3]);
  if (args.size() == 3 && args[1] == L"main") return CloseMain(args[2]);
  return 1;
}
