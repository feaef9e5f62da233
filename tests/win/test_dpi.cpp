// The windows at 96, 144 and 192 DPI. A process takes the system DPI from the LogPixels value of
// HKCU\Control Panel\Desktop when it starts (under Wine; Windows at logon), so each DPI runs
// DISABLED_AtSystemDpi in a child process started with it set. WM_DPICHANGED is sent in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "about/kwCorvaltAbout.h"
#include "support/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "support/EditorProbes.h"
#include "support/BrowserFixture.h"
#include "support/Messages.h"
#include "support/TestDrive.h"
#include "ui/Dpi.h"
#include "ui/Registry.h"

namespace {

int S(int value, UINT dpi) { return ui::Scale(value, dpi); }
using Box = std::array<LONG, 4>;  // left, top, right, bottom
Box Bounds(int left, int top, int width, int height) { return Box{left, top, left + width, top + height}; }
// A window's rectangle in its parent's client coordinates (the screen's for a top-level window).
Box RectOf(HWND wnd) {
  RECT rc{};
  GetWindowRect(wnd, &rc);
  MapWindowPoints(nullptr, GetAncestor(wnd, GA_PARENT), reinterpret_cast<POINT*>(&rc), 2);
  return Box{rc.left, rc.top, rc.right, rc.bottom};
}
LONG Width(HWND wnd) { return RectOf(wnd)[2] - RectOf(wnd)[0]; }
LONG Height(HWND wnd) { return RectOf(wnd)[3] - RectOf(wnd)[1]; }

int HeaderWidth(const ui::ListView& list, int column) {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  Header_GetItem(list.Header(), column, &item);
  return item.cxy;
}

UINT MenuItemHeight(const TfrmFileBrowser& form) {
  const ui::MenuItem& item = MainWindowProbe(form).Item(L"mnuRefresh");
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.Command(), 0, 0, item.ItemData()};
  SendMessageW(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  return mis.itemHeight;
}

void SendDpiChanged(HWND wnd, UINT dpi, Box box) {
  RECT suggested{box[0], box[1], box[2], box[3]};
  SendMessageW(wnd, ui::kWmDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  testutil::PumpMessages();
}

void ExpectMainWindowAt(const TfrmFileBrowser& form, UINT dpi) {
  const MainWindowProbe probe(form);
  EXPECT_EQ(RectOf(probe.Button(L"btnList").Handle()), Bounds(S(109, dpi), S(3, dpi), S(23, dpi), S(23, dpi)));
  EXPECT_EQ(HeaderWidth(probe.Files(), 0), S(110, dpi));
  EXPECT_GE(MenuItemHeight(form), static_cast<UINT>(S(20, dpi)));  // grown with the menu font
  int cx = 0, cy = 0;
  ImageList_GetIconSize(probe.MenuImages(), &cx, &cy);
  EXPECT_EQ(cy, S(16, dpi));  // the variant drawn for the DPI
}

void ExpectDialogsAt(const TfrmEditFileParams& editor, const TfrmAbout& about, UINT dpi) {
  const EditFileParamsProbe dialog(editor.Handle());
  EXPECT_EQ(RectOf(dialog.edTimes(2).Handle()), Bounds(S(159, dpi), S(59, dpi), S(90, dpi), S(21, dpi)));
  const pw::SpinRect& up = dialog.edTimes(2).UpButton.Bounds;
  EXPECT_EQ(up.right - up.left, S(16, dpi));
  EXPECT_EQ(Width(about.Handle()), S(358, dpi));
  EXPECT_EQ(Height(about.Handle()), S(325, dpi));
  EXPECT_EQ(RectOf(AboutProbe(about).btnOK()), Bounds(S(273, dpi), S(271, dpi), S(75, dpi), S(23, dpi)));
}

// Runs only in the children that the SystemDpi test starts.
TEST(DISABLED_AtSystemDpi, EveryWindow) {
  // Tells the parent that the test ran at all: a filter that matched nothing would also exit 0.
  wchar_t mark[MAX_PATH] = {0};
  if (GetEnvironmentVariableW(L"PW_DPI_CHILD_MARK", mark, MAX_PATH))
    ui::ScopedHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const UINT dpi = ui::SystemDpi();
  const auto desktop = ui::RegistryKey::OpenForReading(HKEY_CURRENT_USER, L"Control Panel\\Desktop");
  ASSERT_EQ(dpi, desktop.ReadDword(L"LogPixels").value_or(0));
  TfrmFileBrowser form;
  ASSERT_TRUE(form.Create(false));
  form.Show();
  testutil::PumpMessages();
  // Where the screen is smaller than that, the system keeps the window within the screen.
  EXPECT_EQ(Width(form.Handle()), std::min(S(632, dpi), GetSystemMetrics(SM_CXMAXTRACK)));
  EXPECT_EQ(Height(form.Handle()), std::min(S(376, dpi), GetSystemMetrics(SM_CYMAXTRACK)));
  ExpectMainWindowAt(form, dpi);

  TfrmEditFileParams editor(nullptr);
  RECT client{};
  GetClientRect(editor.Handle(), &client);
  EXPECT_EQ(client.right, S(254, dpi));
  EXPECT_EQ(client.bottom, S(185, dpi));
  TfrmAbout about;
  ASSERT_TRUE(about.Create());
  ExpectDialogsAt(editor, about, dpi);
}

// This program's DISABLED_AtSystemDpi test in a process started at dpi; its output joins ours.
DWORD RunChildAt(DWORD dpi) {
  wchar_t self[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_*";
  testutil::TempDir marks;
  const std::wstring mark = marks.Path() + L"ran";
  SetEnvironmentVariableW(L"PW_DPI_CHILD_MARK", mark.c_str());
  // Put back afterwards: the other test programs run after this one in the same Wine prefix.
  const auto desktop = ui::RegistryKey::CreateForWriting(HKEY_CURRENT_USER, L"Control Panel\\Desktop");
  const auto old = desktop.ReadDword(L"LogPixels");
  desktop.WriteDword(L"LogPixels", dpi);
  DWORD exitCode = 1;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    ui::ScopedHandle process(pi.hProcess), thread(pi.hThread);
    // The child's windows send messages to every top-level window, ours too: the wait answers them.
    for (const ULONGLONG until = GetTickCount64() + 120000;
         MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0;) {
      if (GetTickCount64() > until) TerminateProcess(pi.hProcess, 2);
      testutil::PumpMessages();
    }
    GetExitCodeProcess(pi.hProcess, &exitCode);
  }
  if (old) desktop.WriteDword(L"LogPixels", *old);
  else desktop.DeleteValue(L"LogPixels");
  return GetFileAttributesW(mark.c_str()) == INVALID_FILE_ATTRIBUTES ? 3 : exitCode;
}

// Sends WM_DPICHANGED to the editor the first time it moves, as the system does when the dialog,
// made on one monitor, is put at the cursor on a monitor of another DPI: before its rows exist.
class DpiChangeOnFirstMove {
public:
  explicit DpiChangeOnFirstMove(UINT dpi) {
    dpi_ = dpi;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
  }
  ~DpiChangeOnFirstMove() { UnhookWindowsHookEx(hook_); }
  static bool Sent() { return sent_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
    wchar_t cls[64] = {};
    if (code == HC_ACTION && m->message == WM_MOVE && !sent_ && GetClassNameW(m->hwnd, cls, 64) &&
        std::wstring(cls) == L"TfrmEditFileParams") {
      sent_ = true;
      RECT rc{};
      GetWindowRect(m->hwnd, &rc);
      RECT suggested{rc.left, rc.top, rc.left + S(rc.right - rc.left, dpi_), rc.top + S(rc.bottom - rc.top, dpi_)};
      SendMessageW(m->hwnd, ui::kWmDpiChanged, MAKEWPARAM(dpi_, dpi_), reinterpret_cast<LPARAM>(&suggested));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline HHOOK hook_ = nullptr;
  static inline UINT dpi_ = 96;
  static inline bool sent_ = false;
};

TEST(SystemDpi, EveryWindowIsLaidOutForTheDpiItStartsAt) {
  if (!testutil::RunningUnderWine()) GTEST_SKIP() << "Windows takes the system DPI at logon";
  for (DWORD dpi : {96u, 144u, 192u}) EXPECT_EQ(RunChildAt(dpi), 0u) << dpi;
}

TEST_F(BrowserTest, OnDpiChangedEveryWindowLaysItselfOutAgainAndColumnsKeepTheirShare) {
  // The user has dragged "Size" from 60 to 95 and hides "Type".
  RECT size{};
  Header_GetItemRect(FileList().Header(), 1, &size);
  const int y = (size.top + size.bottom) / 2;
  SendMessageW(FileList().Header(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(size.right - 1, y));
  SendMessageW(FileList().Header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(size.right + 34, y));
  SendMessageW(FileList().Header(), WM_LBUTTONUP, 0, MAKELPARAM(size.right + 34, y));
  testutil::PumpMessages();
  ASSERT_EQ(Probe().Column(1).SavedWidth, 95);
  ClickMenu(Item(L"mnuTypeCol"));
  const Box before = RectOf(form->Handle());
  const UINT itemAt96 = MenuItemHeight(*form);

  const Box suggested{20, 10, 1000, 740};  // on a small screen, smaller than twice the size
  SendDpiChanged(form->Handle(), 192, suggested);
  EXPECT_EQ(RectOf(form->Handle()), suggested);
  ExpectMainWindowAt(*form, 192);
  EXPECT_EQ(HeaderWidth(FileList(), 1), 190);
  EXPECT_EQ(HeaderWidth(FileList(), 2), 0);
  ClickMenu(Item(L"mnuTypeCol"));  // shown again, at its width scaled
  EXPECT_EQ(HeaderWidth(FileList(), 2), 128);

  SendDpiChanged(form->Handle(), 96, before);
  ExpectMainWindowAt(*form, 96);
  EXPECT_EQ(MenuItemHeight(*form), itemAt96);
  EXPECT_EQ(HeaderWidth(FileList(), 1), 95);
  EXPECT_EQ(HeaderWidth(FileList(), 2), 64);

  TfrmEditFileParams editor(form->Handle());
  TfrmAbout about;
  ASSERT_TRUE(about.Create());
  SendDpiChanged(editor.Handle(), 144, Box{30, 40, 430, 380});
  EXPECT_EQ(RectOf(editor.Handle()), (Box{30, 40, 430, 380}));
  SendDpiChanged(about.Handle(), 144, Box{10, 20, 500, 400});  // the box keeps its own size
  ExpectDialogsAt(editor, about, 144);

  // The change may come at any moment of the dialog's life: here while it is being made.
  SetCursorPos(200, 150);
  DpiChangeOnFirstMove change(144);
  TfrmEditFileParams moved(form->Handle());
  ASSERT_TRUE(DpiChangeOnFirstMove::Sent());
  const EditFileParamsProbe dialog(moved.Handle());
  EXPECT_EQ(RectOf(dialog.edTimes(2).Handle()), Bounds(S(159, 144), S(59, 144), S(90, 144), S(21, 144)));
  EXPECT_EQ(dialog.edTimes(2).UpButton.Bounds.right - dialog.edTimes(2).UpButton.Bounds.left, S(16, 144));
}

}  // namespace
