// Stand-in for a file type's program: records how the shell started it. Appends one record, its
// first command-line argument and its current directory on a line each (UTF-16), to the file
// named by PW_RECORD_OPEN_FILE, then exits.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t target[MAX_PATH] = {0};
  if (!GetEnvironmentVariableW(L"PW_RECORD_OPEN_FILE", target, MAX_PATH)) return 1;

  std::wstring argument;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    if (argc > 1) argument = argv[1];
    LocalFree(argv);
  }
  std::wstring directory(MAX_PATH, L'\0');
  DWORD n = GetCurrentDirectoryW(MAX_PATH, directory.data());
  directory.resize(n < MAX_PATH ? n : 0);

  // One write, so a reader never sees half a record.
  std::wstring record = argument + L"\n" + directory + L"\n";
  HANDLE file = CreateFileW(target, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
                      nullptr);
  CloseHandle(file);
  return ok ? 0 : 3;
}
