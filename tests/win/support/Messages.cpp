#include "support/Messages.h"

#include <commctrl.h>

namespace testutil {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool AnswerUntil(const std::function<bool()>& done, std::chrono::milliseconds most) {
  for (const auto until = std::chrono::steady_clock::now() + most; !done || !done();) {
    if (std::chrono::steady_clock::now() >= until) return done && done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}

std::wstring WindowText(HWND wnd) {
  int n = GetWindowTextLengthW(wnd);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(wnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

std::wstring ItemText(HWND list, int row, int column) {
  // A path may be far longer than MAX_PATH; the buffer grows until the text fits with room left.
  std::wstring text(260, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = static_cast<size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < text.size() || text.size() >= 0x10000) {
      text.resize(length < text.size() ? length : text.size() - 1);
      return text;
    }
    text.resize(text.size() * 2);
  }
}

TempDir::TempDir() {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  static unsigned counter = 0;
  for (;;) {
    std::wstring p = std::wstring(tmp) + L"pwtest" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                     std::to_wstring(++counter);
    if (CreateDirectoryW(p.c_str(), nullptr)) {
      path_ = p + L"\\";
      return;
    }
  }
}

TempDir::~TempDir() {
  // A listed folder is the process's current directory; leave it so it can be removed.
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  SetCurrentDirectoryW(tmp);
  RemoveTree(path_.substr(0, path_.size() - 1));
}

void RemoveTree(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY) || (attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(path.c_str());
    else DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace testutil
