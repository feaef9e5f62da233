// Shows one of the program's windows for a screenshot, for the number of seconds given (default 5):
//   pw_show timeedit [seconds]
//   pw_show about [seconds]
// Without arguments it opens a window and closes it at once, which starts Wine's desktop for the
// test run.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "about/kwCorvaltAbout.h"
#include "browse/core/DateTime.h"
#include "editor/kwTimeEdit.h"

namespace {

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFONT) {
    SetPropW(wnd, L"font", reinterpret_cast<HANDLE>(wp));
    return 0;
  }
  if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(GetPropW(wnd, L"font"));
  return DefWindowProcW(wnd, msg, wp, lp);
}

HWND CreateHost(const wchar_t* title, int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"PathwickShowHost";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width, height,
                             nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(wnd);
  return wnd;
}

void Wait(int seconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  MSG msg;
  while (GetTickCount() < until) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// Time edits at the dialog's size and larger, enabled and disabled, one with a pressed button.
void ShowTimeEdits(int seconds) {
  HWND host = CreateHost(L"Time edit look", 420, 220);
  HFONT font = CreateFontW(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           L"MS Sans Serif");
  SendMessageW(host, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  {
    pw::TkwTimeEdit a(host, 10, 10, 90, 21, 1), b(host, 110, 10, 90, 21, 2);
    pw::TkwTimeEdit c(host, 10, 50, 130, 44, 3), d(host, 150, 50, 130, 44, 4);
    pw::TkwTimeEdit e(host, 10, 110, 90, 21, 5);
    a.SetTime(pw::JoinDateTime(36952, 14 * 3'600'000 + 5 * 60'000 + 9 * 1000 + 7));  // 2 March 2001
    for (pw::TkwTimeEdit* other : {&b, &c, &d}) other->SetTime(a.GetTime());
    EnableWindow(b.Handle(), FALSE);
    EnableWindow(d.Handle(), FALSE);
    SetFocus(a.Handle());
    e.UpButton.SetPressed(true);
    Wait(seconds);
  }
  DestroyWindow(host);
  DeleteObject(font);
}

HWND aboutBox = nullptr;

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR, DWORD) { PostMessageW(aboutBox, WM_CLOSE, 0, 0); }

// The about box as the About command shows it, modal, closed after the time given.
void ShowAbout(int seconds) {
  TfrmAbout about;
  if (!about.Create()) return;
  about.SetCaption(L"About Pathwick 4 Windows");
  aboutBox = about.Handle();
  const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, CloseAbout);
  about.ShowModal();
  KillTimer(nullptr, timer);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring what = argc > 1 ? argv[1] : L"";
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 5;
  LocalFree(argv);
  if (what == L"timeedit") {
    ShowTimeEdits(seconds);
  } else if (what == L"about") {
    ShowAbout(seconds);
  } else {
    DestroyWindow(CreateHost(L"Pathwick", 100, 100));
  }
  return 0;
}
