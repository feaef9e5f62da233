// Shows one of the program's windows for a screenshot, for the number of seconds given (default 5):
//   pw_show main [seconds]          the main window as the program opens it
//   pw_show timeedit [seconds]
//   pw_show editor [seconds]
//   pw_show bookmarks [seconds]   (the main window in the remove state, then in the add state with
//                                  the Bookmarks menu open: one screenshot in each half)
//   pw_show about [seconds]
//   pw_show menu <keys> [seconds]   the main window with a menu opened from the keyboard: the first
//                                   key is the menu bar item's access key, then j k h l stand for
//                                   Down, Up, Left, Right
//   pw_show popup <downs> [seconds] the main window in a folder with the file list's pop-up menu
//                                   open and the item <downs> steps down selected
//   pw_show pathline [seconds]    (the path line being edited, then the pop-up menu with its
//                                  shortcut keys: one screenshot in each half)
//   pw_show shift|copy|clock|preview|progress [seconds]   the time tools' windows (clock: the photo in
//                                 PW_SHOW_PHOTO as the reference)
//   pw_show watch [seconds]       (a shown folder taking new files for 8 s, then moved away: the
//                                  parent with the note in the status bar)
// Without arguments it opens a window and closes it at once, which starts Wine's desktop for the
// test run.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "support/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "about/kwCorvaltAbout.h"
#include "common/core/DateTime.h"
#include "common/core/ProgramKey.h"
#include "support/EditorProbes.h"
#include "editor/kwFileEditParams.h"
#include "timetools/kwPreview.h"
#include "timetools/kwProgress.h"
#include "editor/kwTimeEdit.h"
#include "timetools/kwTimeTool.h"
#include "timetools/kwSetClockRight.h"
#include "timetools/kwTimesFromContent.h"
#include "support/Messages.h"
#include "support/UserInput.h"

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

// Selects the entry of that caption alone, as a click does.
void Select(const TfrmFileBrowser& form, const std::wstring& caption) {
  const ui::ListView& list = MainWindowProbe(form).Files();
  for (int row = 0; row < list.Count(); ++row) {
    const bool match = testutil::ItemText(list.Handle(), row, 0) == caption;
    ListView_SetItemState(list.Handle(), row, match ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

// The bookmarks as the registry holds them when the window starts: Key0, Key1 ...
void StoreBookmarks(const std::vector<std::wstring>& paths) {
  const std::wstring key = pw::FileBrowserKeyPath();
  for (int i = 0; i < 8; ++i) {
    const std::wstring name = L"Key" + std::to_wstring(i);
    if (static_cast<size_t>(i) < paths.size()) {
      const std::wstring& path = paths[static_cast<size_t>(i)];
      RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, path.c_str(),
                      static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
    }
  }
}

HWND g_dialog = nullptr;

// The editor dialog as the command shows it for a read-only, hidden file, beside a folder.
void ShowEditor(int seconds) {
  TfrmEditFileParams dialog(nullptr, true);
  g_dialog = dialog.Handle();
  dialog.SetCaption(L"Edit File Params - report.txt");
  dialog.SetFileData({.Attributes = 0x23, .Created = 133'000'000'000'000'000ull,
                      .LastAccess = 133'900'000'000'004'560ull, .LastWrite = 133'500'000'000'000'123ull});
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(g_dialog, WM_CLOSE, 0, 0);
  });
  dialog.ShowModal();
}

// The main window over a folder of three files, two of them bookmarked. Whatever it bookmarked is
// removed again, so the tests find no bookmarks of its own.
void ShowBookmarks(int seconds) {
  wchar_t temp[MAX_PATH] = {0};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"Pathwick bookmarks\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring names[] = {L"report.txt", L"notes.txt", L"\u0416\u03A9\u6F22.txt"};
  for (const std::wstring& name : names) {
    ui::ScopedHandle file(CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  StoreBookmarks({folder + names[0], folder + names[2]});
  {
    TfrmFileBrowser form;
    form.Create(false);
    form.Show();
    testutil::GoToPath(form, folder + names[0]);
    Wait(seconds / 2);
    Select(form, names[1]);
    // The menu runs its own message loop; a timer inside it closes it.
    SetTimer(nullptr, 0, static_cast<UINT>(seconds - seconds / 2) * 1000,
             [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'b');
    Wait(seconds - seconds / 2);
  }
  StoreBookmarks({});
  for (const std::wstring& name : names) DeleteFileW((folder + name).c_str());
  RemoveDirectoryW(folder.c_str());
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

// A menu loop ends when its time is up; the timer runs inside the loop's own message dispatch.
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

void PostKey(HWND wnd, WORD vk) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  PostMessageW(wnd, WM_KEYDOWN, vk, 1 | (scan << 16));
  PostMessageW(wnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

// The arrow keys for an open menu: posted once the menu loop runs, since opening a menu from the
// keyboard posts keys of its own.
std::wstring gMenuKeys;

void CALLBACK PostMenuKeysTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const HWND focus = GetFocus();
  for (wchar_t k : gMenuKeys) {
    switch (k) {
      case L'j': PostKey(focus, VK_DOWN); break;
      case L'k': PostKey(focus, VK_UP); break;
      case L'h': PostKey(focus, VK_LEFT); break;
      case L'l': PostKey(focus, VK_RIGHT); break;
      default: break;
    }
  }
}

// The main window, as the program shows it, with one of its menus opened as the keyboard does.
void ShowMainMenu(const std::wstring& keys, int seconds) {
  TfrmFileBrowser form;
  if (keys.empty() || !form.Create(false)) return;
  form.Show();
  PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, keys[0]);
  gMenuKeys = keys.substr(1);
  SetTimer(nullptr, 0, 500, PostMenuKeysTimer);
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, EndMenuTimer);
  Wait(seconds + 1);
}

void ShowMain(int seconds) {
  TfrmFileBrowser form;
  if (!form.Create(false)) return;
  form.Show();
  Wait(seconds);
}

// The file list's pop-up menu over the listing of the Windows folder.
void ShowPopupMenu(int downs, int seconds) {
  TfrmFileBrowser form;
  if (!form.Create(false)) return;
  form.Show();
  wchar_t windows[MAX_PATH] = {0};
  GetWindowsDirectoryW(windows, MAX_PATH);
  testutil::GoToPath(form, std::wstring(windows) + L"\\");
  const HWND list = MainWindowProbe(form).Files().Handle();
  RECT rc{};
  GetWindowRect(list, &rc);
  for (int i = 0; i < downs; ++i) PostKey(form.Handle(), VK_DOWN);
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, EndMenuTimer);
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(rc.left + 60, rc.top + 40));
}

// The main window with a path being typed into the path line, then with the file list's pop-up
// menu open.
void ShowPathLine(int seconds) {
  wchar_t temp[MAX_PATH] = {0};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"Pathwick keys\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  { ui::ScopedHandle file(CreateFileW((folder + L"notes.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }
  {
    TfrmFileBrowser form;
    form.Create(false);
    form.Show();
    testutil::GoToPath(form, folder);
    const MainWindowProbe probe(form);
    testutil::PressKey(form.Handle(), 'L', ui::ModCtrl);
    for (wchar_t c : std::wstring(L"C:\\windows\\sys")) SendMessageW(probe.PathLine(), WM_CHAR, c, 1);
    Wait(seconds / 2);
    SetFocus(probe.Files().Handle());
    Select(form, L"notes.txt");
    SetTimer(nullptr, 0, static_cast<UINT>(seconds - seconds / 2) * 1000,
             [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    PostMessageW(probe.Files().Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(probe.Files().Handle()),
                 MAKELPARAM(-1, -1));
    Wait(seconds - seconds / 2);
  }
  DeleteFileW((folder + L"notes.txt").c_str());
  RemoveDirectoryW(folder.c_str());
}

// A shown folder that changes: files appear in it one by one, then it is moved away and the window
// goes to its parent with a note.
void ShowWatch(int seconds) {
  wchar_t temp[MAX_PATH] = {0};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring parent = std::wstring(temp) + L"Pathwick watch\\";
  const std::wstring folder = parent + L"Shown\\", away = parent + L"Moved away";
  CreateDirectoryW(parent.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  {
    TfrmFileBrowser form;
    form.Create(false);
    form.Show();
    testutil::GoToPath(form, folder);
    for (int i = 0; i < 8; ++i) {
      ui::ScopedHandle(CreateFileW((folder + L"new " + std::to_wstring(i) + L".txt").c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, 0, nullptr));
      Wait(1);
    }
    Wait(seconds / 2);
    SetCurrentDirectoryW(temp);
    MoveFileW(folder.c_str(), away.c_str());
    Wait(seconds - seconds / 2);
  }
  for (int i = 0; i < 8; ++i) DeleteFileW((away + L"\\new " + std::to_wstring(i) + L".txt").c_str());
  RemoveDirectoryW(away.c_str());
  RemoveDirectoryW(parent.c_str());
}

// Closes the thread's active window once the time is up.
void CloseActiveAfter(int seconds) {
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(GetActiveWindow(), WM_CLOSE, 0, 0);
  });
}

void ShowTimeTool(const std::wstring& which, int seconds) {
  CloseActiveAfter(seconds);
  if (which == L"shift") {
    TfrmShiftTimes shift(nullptr, true);
    const TimeToolProbe probe(shift.Handle());
    SetWindowTextW(probe.edParts(1), L"1");
    SetWindowTextW(probe.edParts(2), L"30");
    shift.ShowModal();
  } else if (which == L"content") {
    TfrmTimesFromContent content(nullptr, true);
    content.ShowModal();
  } else if (which == L"save") {
    TfrmSaveTimes save(nullptr, true);
    save.ShowModal();
  } else if (which == L"clock") {
    // The photo PW_SHOW_PHOTO names as the reference, else a folder with no date taken.
    wchar_t photo[MAX_PATH] = {0};
    if (!GetEnvironmentVariableW(L"PW_SHOW_PHOTO", photo, MAX_PATH)) GetWindowsDirectoryW(photo, MAX_PATH);
    TfrmSetClockRight clock(nullptr, {photo, L"C:\\b.jpg"});
    clock.ShowModal();
  } else if (which == L"setnow") {
    TfrmSetNow now(nullptr, true);
    now.ShowModal();
  } else if (which == L"restore") {
    TfrmRestoreTimes restore(nullptr, true);
    wchar_t windows[MAX_PATH] = {0};
    GetWindowsDirectoryW(windows, MAX_PATH);
    SetWindowTextW(TimeToolProbe(restore.Handle()).edReference(), windows);
    SendMessageW(restore.Handle(), WM_TIMER, TfrmCopyTimes::kReadTimer, 0);
    restore.ShowModal();
  } else {
    TfrmCopyTimes copy(nullptr, false);
    wchar_t windows[MAX_PATH] = {0};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const TimeToolProbe probe(copy.Handle());
    SetWindowTextW(probe.edReference(), (std::wstring(windows) + L"\\win.ini").c_str());
    SendMessageW(copy.Handle(), WM_TIMER, TfrmCopyTimes::kReadTimer, 0);
    copy.ShowModal();
  }
}

void ShowPreview(int seconds) {
  std::vector<TfrmPreview::Row> rows;
  for (int i = 0; i < 40; ++i) {
    const std::uint64_t stamp = 133'500'000'000'000'000ull + static_cast<std::uint64_t>(i) * 37'000'001'234ull;
    TfrmPreview::Row row{L"C:\\Photos\\img_" + std::to_wstring(1000 + i) + L".jpg", {0x20, stamp, stamp + 5, stamp + 9},
                         {}, L"EXIF, +02:00", {}};
    // Every seventh photo has no date of its own: it is left as it is; the volume keeps 2 s.
    if (i % 7 == 3) row.Note = L"no date taken";
    else row.New.LastWrite = stamp + 9 - 54'000'000'000ull;
    if (row.New.LastWrite && *row.New.LastWrite % 20'000'000 != 0)
      row.Kept.LastWrite = *row.New.LastWrite - *row.New.LastWrite % 20'000'000 + 20'000'000;
    rows.push_back(row);
  }
  CloseActiveAfter(seconds);
  TfrmPreview::Confirm(nullptr, L"Times From Content - Preview", rows);
}

void ShowProgress(int seconds) {
  TfrmProgress::Run(nullptr, L"Shift Times", [seconds](const pw::BatchProgress& progress) {
    const std::size_t total = 100000;
    for (std::size_t done = 0; done < total && progress(done, total); done += 100) Sleep(static_cast<DWORD>(seconds));
  });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  const std::wstring what = args.empty() ? L"" : args[0];
  const auto number = [&](size_t i, int fallback) {
    return i < args.size() ? _wtoi(args[i].c_str()) : fallback;
  };
  if (what == L"main") {
    ShowMain(number(1, 5));
  } else if (what == L"timeedit") {
    ShowTimeEdits(number(1, 5));
  } else if (what == L"editor") {
    ShowEditor(number(1, 5));
  } else if (what == L"bookmarks") {
    ShowBookmarks(number(1, 5));
  } else if (what == L"about") {
    ShowAbout(number(1, 5));
  } else if (what == L"menu" && args.size() > 1) {
    ShowMainMenu(args[1], number(2, 5));
  } else if (what == L"popup") {
    ShowPopupMenu(number(1, 0), number(2, 5));
  } else if (what == L"watch") {
    ShowWatch(number(1, 6));
  } else if (what == L"pathline") {
    ShowPathLine(number(1, 5));
  } else if (what == L"shift" || what == L"copy" || what == L"content" || what == L"save" || what == L"restore" ||
             what == L"setnow" || what == L"clock") {
    ShowTimeTool(what, number(1, 5));
  } else if (what == L"preview") {
    ShowPreview(number(1, 5));
  } else if (what == L"progress") {
    ShowProgress(number(1, 5));
  } else {
    DestroyWindow(CreateHost(L"Pathwick", 100, 100));
  }
  return 0;
}
