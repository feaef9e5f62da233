// The windows at 96, 144 and 192 DPI. The system DPI is what a process finds in
// HKCU\Control Panel\Desktop\LogPixels when it starts (under Wine; Windows takes it at logon), so
// each DPI runs this program's DISABLED_AtSystemDpi tests in a child process started with the
// value set. A window that moves to a monitor of another DPI gets WM_DPICHANGED: those tests send
// it to windows of this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "about/kwCorvaltAbout.h"
#include "app/kwFileBrowser.h"
#include "editor/kwFileEditParams.h"
#include "resources/resource.h"
#include "support/BrowserFixture.h"
#include "support/Messages.h"
#include "ui/Dpi.h"
#include "ui/Registry.h"

// Found by the assertions through RECT's own namespace, the global one.
static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

const wchar_t kExpectedDpi[] = L"PW_TEST_EXPECTED_DPI";

int S(int value, UINT dpi) { return ui::Scale(value, dpi); }

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND wnd) {
  RECT rc{};
  GetWindowRect(wnd, &rc);
  MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

RECT Bounds(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

SIZE WindowSize(HWND wnd) {
  RECT rc{};
  GetWindowRect(wnd, &rc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

LONG FontHeight(HWND wnd) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf.lfHeight;
}

int HeaderWidth(const ui::ListView& list, int column) {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  Header_GetItem(list.Header(), column, &item);
  return item.cxy;
}

std::vector<int> StatusRights(const ui::StatusBar& bar) {
  int rights[8]{};
  const int parts = static_cast<int>(SendMessageW(bar.Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(rights)));
  return std::vector<int>(rights, rights + parts);
}

int ImageCell(HIMAGELIST list) {
  int cx = 0, cy = 0;
  return ImageList_GetIconSize(list, &cx, &cy) ? cy : 0;
}

int BitmapHeight(HBITMAP bitmap) {
  BITMAP bm{};
  return GetObjectW(bitmap, sizeof(bm), &bm) ? bm.bmHeight : 0;
}

SIZE Measure(const TfrmFileBrowser& form, const ui::MenuItem* item) {
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item->Command(), 0, 0, 0};
  SendMessageW(form.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  return SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
}

// The picture cell a DPI shows: the variant drawn for 150 % or 200 % where it exists, else the
// base picture, never a stretched one.
int ExpectedCell(const wchar_t* larger, int base, UINT dpi) {
  if (dpi == 96) return base;
  return FindResourceW(GetModuleHandleW(nullptr), larger, RT_BITMAP) ? base * static_cast<int>(dpi) / 96 : base;
}
int ExpectedCell(int id, int base, UINT dpi) {
  return ExpectedCell(MAKEINTRESOURCEW(id + (dpi == 192 ? 40 : 20)), base, dpi);
}

void SendDpiChanged(HWND wnd, UINT dpi, RECT suggested) {
  SendMessageW(wnd, ui::kWmDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  testutil::PumpMessages();
}

// Everything the main window scales, checked at its DPI. With pictures: the strips and arrows.
void ExpectMainWindowAt(const TfrmFileBrowser& form, UINT dpi) {
  EXPECT_EQ(RectInParent(form.pnToolbar.Handle()).bottom, S(29, dpi));
  const RECT filename = RectInParent(form.pnFilename.Handle());
  EXPECT_EQ(filename.bottom - filename.top, S(19, dpi));
  EXPECT_EQ(RectInParent(form.edFilename), Bounds(S(4, dpi), S(3, dpi), filename.right - S(8, dpi), S(14, dpi)));
  EXPECT_EQ(RectInParent(form.btnList.Handle()), Bounds(S(109, dpi), S(3, dpi), S(23, dpi), S(23, dpi)));
  // The columns that no test here drags or hides.
  for (auto [column, width] : {std::pair{0, 110}, std::pair{3, 110}, std::pair{6, 40}})
    EXPECT_EQ(HeaderWidth(form.lvFiles, column), S(width, dpi)) << column;
  EXPECT_EQ(HeaderWidth(form.lvDrives, 5), S(110, dpi));
  EXPECT_EQ(StatusRights(form.StatusBar),
            (std::vector<int>{S(100, dpi), 2 * S(100, dpi), 2 * S(100, dpi) + S(192, dpi)}));
  EXPECT_GE(RectInParent(form.StatusBar.Handle()).bottom - RectInParent(form.StatusBar.Handle()).top, S(19, dpi));
  EXPECT_EQ(FontHeight(form.lvFiles.Handle()), pw::FontHeightForDpi(8, static_cast<int>(dpi)));

  // Menus: the icon column and the separator scale, the items grow with the font.
  EXPECT_EQ(Measure(form, form.N5).cy, S(4, dpi));
  EXPECT_EQ(Measure(form, form.N5).cx, S(24, dpi) + S(10, dpi));
  EXPECT_GE(Measure(form, form.mnuRefresh).cy, S(20, dpi));

  EXPECT_EQ(ImageCell(form.imMenu.get()), ExpectedCell(IDB_MENUICONS, 16, dpi));
  EXPECT_EQ(BitmapHeight(form.SortBitmaps[1].get()),
            ExpectedCell((L"UPBITMAP" + std::to_wstring(dpi / 6)).c_str(), 16, dpi));
  HDITEMW arrow{};
  arrow.mask = HDI_BITMAP;
  Header_GetItem(form.lvFiles.Header(), form.SortColumn, &arrow);
  EXPECT_EQ(arrow.hbm, form.SortBitmaps[form.SortAscending ? 1 : 0].get());
  // The folder-up icon in a cell of the DPI's size: its own picture of that size, or a smaller one
  // centred.
  EXPECT_EQ(ImageCell(form.imSmall.get()), S(16, dpi));
  EXPECT_EQ(ImageList_GetImageCount(form.imSmall.get()), 1);
}

// --- At the system DPI, in a child process ----------------------------------------------------------

// The tests below run only in the child that the SystemDpi test starts for each DPI.
class DISABLED_AtSystemDpi : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t expected[16] = {0};
    GetEnvironmentVariableW(kExpectedDpi, expected, 16);
    dpi = ui::SystemDpi();
    if (dpi != static_cast<UINT>(_wtoi(expected)))
      GTEST_SKIP() << "the system keeps DPI " << dpi << " until the next logon";
  }
  UINT dpi = 96;
};

TEST_F(DISABLED_AtSystemDpi, MainWindow) {
  TfrmFileBrowser form;
  ASSERT_TRUE(form.Create(false));
  form.Show();
  testutil::PumpMessages();
  EXPECT_EQ(form.Dpi(), dpi);
  // Where the screen is smaller than that, the system keeps the window within the screen.
  EXPECT_EQ(WindowSize(form.Handle()).cx, std::min(S(632, dpi), GetSystemMetrics(SM_CXMAXTRACK)));
  EXPECT_EQ(WindowSize(form.Handle()).cy, std::min(S(376, dpi), GetSystemMetrics(SM_CYMAXTRACK)));
  ExpectMainWindowAt(form, dpi);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(form.ColumnStates[i].SavedWidth, HeaderWidth(form.lvFiles, i)) << i;
}

TEST_F(DISABLED_AtSystemDpi, EditorAndAboutBox) {
  TfrmEditFileParams editor(nullptr);
  RECT client{};
  GetClientRect(editor.Handle(), &client);
  EXPECT_EQ(client.right, S(254, dpi));
  EXPECT_EQ(client.bottom, S(185, dpi));
  EXPECT_EQ(RectInParent(editor.edTimes[2]->Handle()), Bounds(S(159, dpi), S(59, dpi), S(90, dpi), S(21, dpi)));
  EXPECT_EQ(RectInParent(editor.cbArchive), Bounds(S(181, dpi), S(24, dpi), S(70, dpi), S(17, dpi)));
  EXPECT_EQ(FontHeight(editor.cbModify), pw::FontHeightForDpi(8, static_cast<int>(dpi)));
  EXPECT_EQ(HIWORD(SendMessageW(editor.edTimes[0]->Handle(), EM_GETMARGINS, 0, 0)),
            pw::TimeEditMetricsForDpi(static_cast<int>(dpi)).rightMargin);
  const pw::SpinRect up = editor.edTimes[0]->UpButton.Bounds;
  EXPECT_EQ(up.right - up.left, S(16, dpi));

  TfrmAbout about;
  ASSERT_TRUE(about.Create());
  EXPECT_EQ(WindowSize(about.Handle()).cx, S(358, dpi));
  EXPECT_EQ(WindowSize(about.Handle()).cy, S(325, dpi));
  EXPECT_EQ(RectInParent(about.btnOK), Bounds(S(273, dpi), S(271, dpi), S(75, dpi), S(23, dpi)));
  EXPECT_EQ(WindowSize(about.imMail).cx, ExpectedCell(IDB_ABOUTMAIL, 32, dpi));
  EXPECT_EQ(FontHeight(about.lblAddress), -S(11, dpi));
}

// --- Starting at 96, 144 and 192 DPI ------------------------------------------------------------------

// Sets the DPI that processes take when they start, and puts the old setting back however the test
// ends: the other test programs run after this one in the same Wine prefix.
class SystemDpiSetting {
public:
  explicit SystemDpiSetting(DWORD dpi)
      : key_(ui::RegistryKey::CreateForWriting(HKEY_CURRENT_USER, L"Control Panel\\Desktop")),
        old_(key_.ReadDword(L"LogPixels")) {
    key_.WriteDword(L"LogPixels", dpi);
  }
  ~SystemDpiSetting() {
    if (old_) key_.WriteDword(L"LogPixels", *old_);
    else key_.DeleteValue(L"LogPixels");
  }
  SystemDpiSetting(const SystemDpiSetting&) = delete;
  SystemDpiSetting& operator=(const SystemDpiSetting&) = delete;

private:
  ui::RegistryKey key_;
  std::optional<std::uint32_t> old_;
};

struct ChildRun {
  DWORD ExitCode = 1;
  std::string Output;
};

// The child's windows send messages to every top-level window, ours too: the wait answers them.
bool WaitPumping(HANDLE process, DWORD timeout) {
  const DWORD until = GetTickCount() + timeout;
  for (;;) {
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(until - now) <= 0) return false;
    const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, until - now, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;
    testutil::PumpMessages();
  }
}

// This program, running only the DISABLED_AtSystemDpi tests, at the given DPI.
ChildRun RunChildAt(DWORD dpi) {
  wchar_t self[MAX_PATH] = {0}, temp[MAX_PATH] = {0}, log[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  GetTempPathW(MAX_PATH, temp);
  GetTempFileNameW(temp, L"dpi", 0, log);
  ChildRun run;
  {
    SystemDpiSetting setting(dpi);
    SetEnvironmentVariableW(kExpectedDpi, std::to_wstring(dpi).c_str());
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    ui::ScopedHandle output(CreateFileW(log, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = output.get();
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_AtSystemDpi.*";
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
      ui::ScopedHandle process(pi.hProcess), thread(pi.hThread);
      if (!WaitPumping(pi.hProcess, 120000)) TerminateProcess(pi.hProcess, 2);
      GetExitCodeProcess(pi.hProcess, &run.ExitCode);
    }
    SetEnvironmentVariableW(kExpectedDpi, nullptr);
  }
  {
    std::ifstream in(log, std::ios::binary);
    run.Output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  DeleteFileW(log);
  return run;
}

TEST(SystemDpi, EveryWindowIsLaidOutForTheDpiItStartsAt) {
  for (DWORD dpi : {96u, 144u, 192u}) {
    const ChildRun run = RunChildAt(dpi);
    if (run.Output.find("[  SKIPPED ]") != std::string::npos) GTEST_SKIP() << run.Output;
    EXPECT_EQ(run.ExitCode, 0u) << dpi << "\n" << run.Output;
    EXPECT_NE(run.Output.find("[  PASSED  ] 2 tests"), std::string::npos) << dpi << "\n" << run.Output;
  }
}

// --- WM_DPICHANGED ----------------------------------------------------------------------------------

class DpiChangeTest : public BrowserTest {};

TEST_F(DpiChangeTest, MainWindowLaysItselfOutAgainAndDraggedColumnsKeepTheirShare) {
  // The user drags the divider of "Size" from 60 to 95 and hides "Type".
  form->lvFiles.SetVisible(true);
  const HWND header = form->lvFiles.Header();
  RECT size{};
  Header_GetItemRect(header, 1, &size);
  const int y = (size.top + size.bottom) / 2;
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(size.right - 1, y));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(size.right + 34, y));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(size.right + 34, y));
  testutil::PumpMessages();
  ASSERT_EQ(form->ColumnStates[1].SavedWidth, 95);
  ClickMenu(form->mnuTypeCol);
  ASSERT_EQ(HeaderWidth(form->lvFiles, 2), 0);
  RECT before{};
  GetWindowRect(form->Handle(), &before);
  const LONG itemAt96 = Measure(*form, form->mnuRefresh).cy;

  const RECT suggested{20, 10, 1000, 740};  // on a small screen, smaller than twice the size
  SendDpiChanged(form->Handle(), 192, suggested);
  EXPECT_EQ(form->Dpi(), 192u);
  RECT now{};
  GetWindowRect(form->Handle(), &now);
  EXPECT_EQ(now, suggested);
  ExpectMainWindowAt(*form, 192);
  EXPECT_EQ(HeaderWidth(form->lvFiles, 1), 190);
  EXPECT_EQ(form->ColumnStates[1].SavedWidth, 190);
  EXPECT_EQ(HeaderWidth(form->lvFiles, 2), 0);
  EXPECT_EQ(form->ColumnStates[2].SavedWidth, 128);
  EXPECT_GT(Measure(*form, form->mnuRefresh).cy, itemAt96);

  // Shown again at the new DPI, the hidden column comes back at its scaled width.
  ClickMenu(form->mnuTypeCol);
  EXPECT_EQ(HeaderWidth(form->lvFiles, 2), 128);
  ClickMenu(form->mnuTypeCol);

  SendDpiChanged(form->Handle(), 96, before);
  ExpectMainWindowAt(*form, 96);
  EXPECT_EQ(HeaderWidth(form->lvFiles, 1), 95);
  EXPECT_EQ(form->ColumnStates[2].SavedWidth, 64);
  EXPECT_EQ(Measure(*form, form->mnuRefresh).cy, itemAt96);
}

TEST_F(DpiChangeTest, EditorAndAboutBoxLayThemselvesOutAgain) {
  TfrmEditFileParams editor(form->Handle());
  const RECT dialog{30, 40, 430, 380};
  SendDpiChanged(editor.Handle(), 144, dialog);
  RECT now{};
  GetWindowRect(editor.Handle(), &now);
  EXPECT_EQ(now, dialog);
  EXPECT_EQ(RectInParent(editor.edTimes[1]->Handle()), Bounds(239, 53, 135, 32));
  EXPECT_EQ(FontHeight(editor.cbSynchronize), -16);
  EXPECT_EQ(HIWORD(SendMessageW(editor.edTimes[1]->Handle(), EM_GETMARGINS, 0, 0)), 29);
  RECT time{};
  GetClientRect(editor.edTimes[1]->Handle(), &time);
  EXPECT_EQ(editor.edTimes[1]->UpButton.Bounds, (pw::SpinRect{time.right - 24, 0, time.right, time.bottom / 2}));

  TfrmAbout about;
  ASSERT_TRUE(about.Create());
  SendDpiChanged(about.Handle(), 144, RECT{10, 20, 500, 400});
  GetWindowRect(about.Handle(), &now);
  EXPECT_EQ(now, Bounds(10, 20, 537, 488));  // the box's own size at 144 DPI, where the system put it
  EXPECT_EQ(RectInParent(about.btnOK), Bounds(410, 407, 113, 35));
  EXPECT_EQ(WindowSize(about.imPost).cx, ExpectedCell(IDB_ABOUTPOST, 32, 144));
}

}  // namespace
