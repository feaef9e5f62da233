// The time edit on a real window: what the user sees after keys, digits, clicks, spin-button presses
// and auto-repeat ticks, and what the caller gets back.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "editor/core/TimeEditRules.h"
#include "editor/kwTimeEdit.h"
#include "editor/kwWheel.h"
#include "browse/core/FileText.h"
#include "support/Messages.h"

namespace {

using pw::TkwTimeEdit;

const wchar_t kHostClass[] = L"PwTimeEditTestHost";

void RegisterHostClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kHostClass;
  registered = RegisterClassW(&wc) != 0;
}

HWND CreateTopLevel(const wchar_t* title, int width, int height) {
  RegisterHostClass();
  HWND wnd = CreateWindowExW(0, kHostClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width,
                             height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  UpdateWindow(wnd);
  return wnd;
}

// Destroying a shown top-level window is slow under Wine without a window manager, so the tests
// share one and give each case a child window of its own to hold the control.
HWND CreateHost() {
  static HWND top = CreateTopLevel(L"Time edit", 320, 200);
  RECT rc;
  GetClientRect(top, &rc);
  HWND host = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              rc.right, rc.bottom, top, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(top);
  UpdateWindow(host);
  return host;
}

std::pair<int, int> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

std::wstring Sep(std::wstring_view shown) {  // the text with every separator made ":"
  std::wstring s(shown);
  for (size_t i : {2u, 5u, 8u})
    if (i < s.size()) s[i] = L':';
  return s;
}

// 2 March 2001, 14:05:09.007.
const double kMarch2nd2001 = 36952.0;
const double kSample = pw::JoinDateTime(kMarch2nd2001, 14 * 3'600'000 + 5 * 60'000 + 9 * 1000 + 7);

class TimeEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    host = CreateHost();
    ASSERT_NE(host, nullptr);
    edit = std::make_unique<TkwTimeEdit>(host, 10, 10, 90, 21, 7);
    ASSERT_NE(edit->Handle(), nullptr);
    edit->OnTimeChange = [this](TkwTimeEdit& sender) {
      ++changes;
      EXPECT_EQ(&sender, edit.get());
    };
    UpdateWindow(edit->Handle());
    testutil::PumpMessages();
  }
  void TearDown() override {
    edit.reset();
    if (host) DestroyWindow(host);
    testutil::PumpMessages();
  }

  HWND Wnd() const { return edit->Handle(); }
  std::wstring Text() const { return Sep(testutil::WindowText(Wnd())); }
  std::pair<int, int> Sel() const { return Selection(Wnd()); }
  void Key(WPARAM vk) { SendMessageW(Wnd(), WM_KEYDOWN, vk, 1); }
  void Type(const wchar_t* chars) {
    for (; *chars; ++chars) SendMessageW(Wnd(), WM_CHAR, *chars, 1);
  }
  void Down(POINT p) { SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)); }
  void Up(POINT p) { SendMessageW(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }
  void Click(POINT p) {
    Down(p);
    Up(p);
  }
  void Move(POINT p) { SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y)); }
  void Tick() { SendMessageW(Wnd(), WM_TIMER, TkwTimeEdit::RepeatTimerId, 0); }
  void ShowTime(const wchar_t* text) {  // a starting time, set as a caller would
    const pw::TimeOfDay t = pw::TimeOfDayFromText(text);
    edit->SetTime(pw::JoinDateTime(kMarch2nd2001, pw::TimeOfDayMilliseconds(t)));
  }
  void GoToField(int field) {
    while (edit->FieldIndex() != field) Key(VK_RIGHT);
  }
  // The point in the text just left of character index i.
  POINT CharPoint(int i) {
    LRESULT pos = SendMessageW(Wnd(), EM_POSFROMCHAR, static_cast<WPARAM>(i), 0);
    RECT rc;
    GetClientRect(Wnd(), &rc);
    return {static_cast<short>(LOWORD(pos)), rc.bottom / 2};
  }
  static POINT Centre(const pw::SpinRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  POINT UpPoint() const { return Centre(edit->UpButton.Bounds); }
  POINT DownPoint() const { return Centre(edit->DownButton.Bounds); }

  HWND host = nullptr;
  std::unique_ptr<TkwTimeEdit> edit;
  int changes = 0;
};

TEST_F(TimeEditTest, StartsClearedOnHoursWithRoomForTheButtons) {
  EXPECT_EQ(testutil::WindowText(Wnd()), L"00:00:00:000");
  EXPECT_EQ(edit->FieldIndex(), 0);
  EXPECT_EQ(edit->Tag(), 7);
  EXPECT_EQ(GetDlgCtrlID(Wnd()), 7);
  EXPECT_EQ(HIWORD(SendMessageW(Wnd(), EM_GETMARGINS, 0, 0)), 19);
  // A new font does not take the buttons' margin away.
  SendMessageW(Wnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), TRUE);
  EXPECT_EQ(HIWORD(SendMessageW(Wnd(), EM_GETMARGINS, 0, 0)), 19);

  // The stored date starts as today.
  SYSTEMTIME st;
  GetLocalTime(&st);
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER ticks;
  ticks.LowPart = ft.dwLowDateTime;
  ticks.HighPart = ft.dwHighDateTime;
  const ULONGLONG ms = ticks.QuadPart / 10000;
  const double today = static_cast<double>(ms / 86'400'000) - 109'205.0;  // 1601 -> 1899-12-30
  EXPECT_NEAR(pw::SplitDateTime(edit->Value()).days, today, 1.0);
}

TEST_F(TimeEditTest, EverySelectionRequestSelectsTheCurrentField) {
  SendMessageW(Wnd(), EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(), std::make_pair(0, 2));
  Key(VK_RIGHT);
  SendMessageW(Wnd(), EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(), std::make_pair(3, 5));
  SendMessageW(Wnd(), EM_SETSEL, 11, 11);
  EXPECT_EQ(Sel(), std::make_pair(3, 5));
  // Taking the focus (select-all in a dialog) and setting the time also end on the field.
  SetFocus(Wnd());
  ShowTime(L"01:02:03:004");
  EXPECT_EQ(Sel(), std::make_pair(3, 5));
  edit->ClearTime();
  EXPECT_EQ(Sel(), std::make_pair(3, 5));
}

TEST_F(TimeEditTest, LeftAndRightMoveRoundTheFields) {
  Key(VK_LEFT);
  EXPECT_EQ(edit->FieldIndex(), 3);
  EXPECT_EQ(Sel(), std::make_pair(9, 12));
  Key(VK_LEFT);
  EXPECT_EQ(Sel(), std::make_pair(6, 8));
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(edit->FieldIndex(), 0);
  EXPECT_EQ(Sel(), std::make_pair(0, 2));
  EXPECT_EQ(changes, 0);  // moving between fields changes no value
}

TEST_F(TimeEditTest, UpAndDownStepTheFieldWithItsWrapRules) {
  ShowTime(L"23:59:00:999");
  Key(VK_UP);
  EXPECT_EQ(Text(), L"00:59:00:999");
  EXPECT_EQ(Sel(), std::make_pair(0, 2));
  ShowTime(L"00:59:00:999");
  Key(VK_DOWN);
  EXPECT_EQ(Text(), L"23:59:00:999");
  GoToField(1);
  Key(VK_UP);
  EXPECT_EQ(Text(), L"23:00:00:999");
  GoToField(3);
  Key(VK_UP);
  EXPECT_EQ(Text(), L"23:00:00:000");
  EXPECT_EQ(Sel(), std::make_pair(9, 12));
  Key(VK_DOWN);
  EXPECT_EQ(Text(), L"23:00:00:999");
  EXPECT_EQ(changes, 5);
}

TEST_F(TimeEditTest, OtherKeysNeitherEditNorMoveTheSelection) {
  ShowTime(L"12:34:56:789");
  GoToField(2);
  for (WPARAM vk : {WPARAM{VK_DELETE}, WPARAM{VK_BACK}, WPARAM{VK_HOME}, WPARAM{VK_END},
                    WPARAM{'V'}, WPARAM{VK_INSERT}, WPARAM{'5'}}) {
    Key(vk);
    EXPECT_EQ(Text(), L"12:34:56:789") << vk;
    EXPECT_EQ(Sel(), std::make_pair(6, 8)) << vk;
  }
  EXPECT_EQ(changes, 0);
}

TEST_F(TimeEditTest, DigitsShiftIntoTheFieldFromTheRight) {
  ShowTime(L"07:00:00:000");
  Type(L"3");
  EXPECT_EQ(Text(), L"03:00:00:000");
  Type(L"9");
  EXPECT_EQ(Text(), L"09:00:00:000");
  EXPECT_EQ(edit->FieldIndex(), 0);  // typing never advances the field
  EXPECT_EQ(Sel(), std::make_pair(0, 2));
  GoToField(3);
  Type(L"1");
  EXPECT_EQ(Text(), L"09:00:00:001");
  Type(L"2");
  EXPECT_EQ(Text(), L"09:00:00:012");
  Type(L"3");
  EXPECT_EQ(Text(), L"09:00:00:123");
  EXPECT_EQ(Sel(), std::make_pair(9, 12));
  EXPECT_EQ(changes, 5);
  // Letters, separators, Backspace and the clipboard control characters are dropped.
  Type(L"a:\b\x16\x18\x1a ");
  EXPECT_EQ(Text(), L"09:00:00:123");
  EXPECT_EQ(changes, 5);
}

TEST_F(TimeEditTest, ClickInTheTextChoosesTheFieldByCaretPosition) {
  ShowTime(L"12:34:56:789");
  Click(CharPoint(5));  // just before the separator after the minutes
  EXPECT_EQ(edit->FieldIndex(), 1);
  EXPECT_EQ(Sel(), std::make_pair(3, 5));
  EXPECT_EQ(GetFocus(), Wnd());
  EXPECT_EQ(GetCapture(), nullptr);
  Click(CharPoint(6));
  EXPECT_EQ(edit->FieldIndex(), 2);
  EXPECT_EQ(Sel(), std::make_pair(6, 8));
  Click(CharPoint(10));
  EXPECT_EQ(edit->FieldIndex(), 3);
  Click(CharPoint(1));
  EXPECT_EQ(edit->FieldIndex(), 0);
  EXPECT_EQ(Sel(), std::make_pair(0, 2));
  EXPECT_EQ(Text(), L"12:34:56:789");
  EXPECT_EQ(changes, 0);
}

TEST_F(TimeEditTest, ClickBesideTheButtonsOnlyTakesTheFocus) {
  ShowTime(L"12:34:56:789");
  GoToField(2);
  SetFocus(host);
  RECT rc;
  GetClientRect(Wnd(), &rc);
  // The column just left of the buttons, and the separator row between them.
  for (POINT p : {POINT{rc.right - 17, 2}, POINT{rc.right - 8, rc.bottom / 2}}) {
    Click(p);
    EXPECT_EQ(GetFocus(), Wnd());
    EXPECT_EQ(edit->FieldIndex(), 2);
    EXPECT_EQ(Sel(), std::make_pair(6, 8));
  }
  EXPECT_EQ(Text(), L"12:34:56:789");
  EXPECT_EQ(changes, 0);
}

TEST_F(TimeEditTest, DoubleClicks) {
  ShowTime(L"12:34:56:789");
  GoToField(1);
  // On the text: no word selection, the field stays.
  const POINT inText = CharPoint(10);
  Down(inText);
  Up(inText);
  SendMessageW(Wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(inText.x, inText.y));
  Up(inText);
  EXPECT_EQ(Sel(), std::make_pair(9, 12));  // the first click chose milliseconds
  EXPECT_EQ(Text(), L"12:34:56:789");
  // On the up button: two steps.
  const POINT up = UpPoint();
  Down(up);
  Up(up);
  SendMessageW(Wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(up.x, up.y));
  Up(up);
  EXPECT_EQ(Text(), L"12:34:56:791");
  EXPECT_EQ(changes, 2);
}

TEST_F(TimeEditTest, SetGetAndClearTimeKeepTheDate) {
  GoToField(2);
  edit->SetTime(kSample);
  EXPECT_EQ(Text(), L"14:05:09:007");
  wchar_t sep[8] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, sep, 8);
  if (std::wstring(sep) == L":") {
    EXPECT_EQ(testutil::WindowText(Wnd()), L"14:05:09:007");
  }
  EXPECT_EQ(edit->Value(), kSample);
  EXPECT_EQ(edit->GetTime(), kSample);
  EXPECT_EQ(edit->FieldIndex(), 2);

  edit->ClearTime();
  EXPECT_EQ(testutil::WindowText(Wnd()), L"00:00:00:000");
  EXPECT_EQ(edit->GetTime(), kMarch2nd2001);
  EXPECT_EQ(edit->Value(), kSample);
  EXPECT_EQ(changes, 0);

  // An edited time comes back with the stored date.
  Key(VK_UP);
  EXPECT_EQ(edit->GetTime(), pw::JoinDateTime(kMarch2nd2001, 1000));
}

TEST_F(TimeEditTest, ChangeHandlerThatSetsTheTimeCausesNoFurtherNotifications) {
  edit->OnTimeChange = [this](TkwTimeEdit& sender) {
    ++changes;
    sender.SetTime(sender.GetTime());
    sender.ClearTime();
  };
  Key(VK_UP);
  Type(L"4");
  EXPECT_EQ(changes, 2);
}

TEST_F(TimeEditTest, PressOnASpinButtonStepsOnceAndArmsTheRepeat) {
  ShowTime(L"10:20:30:400");
  GoToField(1);
  Down(UpPoint());
  EXPECT_EQ(Text(), L"10:21:30:400");
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(edit->UpButton.Armed);
  EXPECT_TRUE(edit->UpButton.Pressed());
  EXPECT_FALSE(edit->DownButton.Armed);
  EXPECT_TRUE(edit->RepeatTimerEnabled());
  EXPECT_EQ(edit->RepeatTimerInterval(), 500u);
  EXPECT_EQ(GetCapture(), Wnd());
  EXPECT_EQ(GetFocus(), Wnd());

  Tick();
  EXPECT_EQ(Text(), L"10:22:30:400");
  EXPECT_EQ(edit->RepeatTimerInterval(), 100u);
  Tick();
  Tick();
  EXPECT_EQ(Text(), L"10:24:30:400");

  Up(UpPoint());
  EXPECT_FALSE(edit->UpButton.Armed);
  EXPECT_FALSE(edit->UpButton.Pressed());
  EXPECT_FALSE(edit->RepeatTimerEnabled());
  EXPECT_EQ(edit->RepeatTimerInterval(), 500u);
  EXPECT_EQ(GetCapture(), nullptr);
  Tick();
  EXPECT_EQ(Text(), L"10:24:30:400");
  EXPECT_EQ(edit->RepeatTimerInterval(), 500u);  // a late tick does not shorten the next delay
  EXPECT_EQ(changes, 4);

  // The down button, held again: the first repeat waits the long delay again.
  Down(DownPoint());
  EXPECT_EQ(Text(), L"10:23:30:400");
  EXPECT_EQ(edit->RepeatTimerInterval(), 500u);
  Tick();
  EXPECT_EQ(Text(), L"10:22:30:400");
  Up(DownPoint());
  EXPECT_EQ(Sel(), std::make_pair(3, 5));
}

TEST_F(TimeEditTest, MovingOffAHeldButtonPausesAndMovingBackResumes) {
  ShowTime(L"10:20:30:400");
  Down(DownPoint());
  EXPECT_EQ(Text(), L"09:20:30:400");
  Move(CharPoint(4));
  EXPECT_TRUE(edit->DownButton.Armed);
  EXPECT_FALSE(edit->DownButton.Pressed());
  Tick();
  Tick();
  EXPECT_EQ(Text(), L"09:20:30:400");
  // Passing over the other button does not press it either.
  Move(UpPoint());
  EXPECT_FALSE(edit->UpButton.Pressed());
  Tick();
  EXPECT_EQ(Text(), L"09:20:30:400");
  Move(DownPoint());
  EXPECT_TRUE(edit->DownButton.Pressed());
  Tick();
  EXPECT_EQ(Text(), L"08:20:30:400");
  Up(CharPoint(4));
  Tick();
  EXPECT_EQ(Text(), L"08:20:30:400");
  EXPECT_EQ(changes, 2);
}

TEST_F(TimeEditTest, LosingTheCaptureMidPressStopsTheRepeat) {
  ShowTime(L"10:20:30:400");
  Down(UpPoint());
  ASSERT_EQ(GetCapture(), Wnd());
  SetCapture(host);
  EXPECT_FALSE(edit->UpButton.Armed);
  EXPECT_FALSE(edit->UpButton.Pressed());
  EXPECT_FALSE(edit->RepeatTimerEnabled());
  Tick();
  EXPECT_EQ(Text(), L"11:20:30:400");
  ReleaseCapture();
}

// Counts the menu loops the edit enters, seen in front of every other handler.
LRESULT CALLBACK CountMenus(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_ENTERMENULOOP) ++*reinterpret_cast<int*>(data);
  return DefSubclassProc(wnd, msg, wp, lp);
}

TEST_F(TimeEditTest, ClipboardUndoAndContextMenuLeaveTheTextAlone) {
  ShowTime(L"12:34:56:789");
  Key(VK_UP);
  const std::wstring shown = Text();
  {
    const std::wstring junk = L"hello";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (junk.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(mem), junk.c_str(), (junk.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    ASSERT_TRUE(OpenClipboard(host));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
  }
  for (UINT msg : {UINT{WM_PASTE}, UINT{WM_CUT}, UINT{WM_CLEAR}, UINT{WM_UNDO}, UINT{EM_UNDO}}) {
    SendMessageW(Wnd(), msg, 0, 0);
    EXPECT_EQ(Text(), shown) << msg;
  }
  SendMessageW(Wnd(), WM_SYSKEYDOWN, VK_BACK, 1 | (1 << 29));  // Alt+Backspace
  EXPECT_EQ(Text(), shown);

  int menus = 0;
  SetWindowSubclass(Wnd(), CountMenus, 1, reinterpret_cast<DWORD_PTR>(&menus));
  // Should a menu open after all, the queued Escape closes it so the test ends either way.
  PostMessageW(Wnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  RECT rc;
  GetWindowRect(Wnd(), &rc);
  SendMessageW(Wnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd()), MAKELPARAM(rc.left + 5, rc.top + 5));
  testutil::PumpMessages();
  RemoveWindowSubclass(Wnd(), CountMenus, 1);
  EXPECT_EQ(menus, 0);
  EXPECT_EQ(Text(), shown);
}

TEST_F(TimeEditTest, WheelSupportStepsWhileItLivesAndLeavesTheEditAsItWas) {
  const LONG_PTR ownProc = GetWindowLongPtrW(Wnd(), GWLP_WNDPROC);
  {
    pw::TkwAddWheelSupport wheel({Wnd()});
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(Text(), L"01:00:00:000");
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 0), 0);  // no distance counts as down
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);  // two notches, one step
    EXPECT_EQ(Text(), L"01:00:00:000");
    EXPECT_EQ(changes, 3);
  }
  EXPECT_EQ(GetWindowLongPtrW(Wnd(), GWLP_WNDPROC), ownProc);
  SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);  // no longer a key press
  EXPECT_EQ(Text(), L"01:00:00:000");
  Key(VK_UP);  // the edit's own handling is still in front
  EXPECT_EQ(Text(), L"02:00:00:000");
}

TEST(TimeEditLifetime, ObjectOutlivingItsWindowForgetsItAndIsSafeToDestroy) {
  HWND host = CreateHost();
  auto edit = std::make_unique<TkwTimeEdit>(host, 5, 5, 90, 21, 1);
  ASSERT_NE(edit->Handle(), nullptr);
  DestroyWindow(host);
  // The edit went with its parent: the object no longer names it, so nothing is ever sent to a
  // handle the system may give to another window.
  EXPECT_EQ(edit->Handle(), nullptr);
  edit.reset();
}

TEST(TimeEditLifetime, DestroyingTheObjectDestroysItsWindow) {
  HWND host = CreateHost();
  HWND wnd;
  {
    TkwTimeEdit edit(host, 5, 5, 90, 21, 1);
    wnd = edit.Handle();
    EXPECT_TRUE(IsWindow(wnd));
  }
  EXPECT_FALSE(IsWindow(wnd));
  DestroyWindow(host);
}

// ---- Painting ----------------------------------------------------------------------------------

COLORREF PixelAt(HWND wnd, int x, int y) {
  HDC dc = GetDC(wnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return c;
}

COLORREF Sys(int index) { return GetSysColor(index) & 0xFFFFFF; }

TEST_F(TimeEditTest, EnabledButtonsShowBlackArrowsOnButtonFace) {
  InvalidateRect(Wnd(), nullptr, TRUE);
  UpdateWindow(Wnd());
  RECT rc;
  GetClientRect(Wnd(), &rc);
  const pw::SpinButtonPicture up = pw::SpinButtonLayout(pw::kSpinUp, rc.right, rc.bottom, false, true);
  const pw::SpinPoint tip = up.triangles[0].points[0];
  EXPECT_EQ(PixelAt(Wnd(), tip.x, tip.y), RGB(0, 0, 0));
  const pw::SpinButtonPicture down = pw::SpinButtonLayout(pw::kSpinDown, rc.right, rc.bottom, false, true);
  const pw::SpinPoint downTip = down.triangles[0].points[2];
  EXPECT_EQ(PixelAt(Wnd(), downTip.x, downTip.y), RGB(0, 0, 0));
  // Face beside the arrow, the raised edges and the black separator row.
  EXPECT_EQ(PixelAt(Wnd(), up.bounds.left + 3, up.bounds.top + 3), Sys(COLOR_BTNFACE));
  EXPECT_EQ(PixelAt(Wnd(), up.bounds.left + 1, up.bounds.top + 3), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(PixelAt(Wnd(), up.bounds.right - 1, up.bounds.top + 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelAt(Wnd(), up.bounds.left + 5, up.bounds.bottom), RGB(0, 0, 0));
}

TEST_F(TimeEditTest, PressedButtonIsDrawnSunken) {
  UpdateWindow(Wnd());
  Down(UpPoint());
  const pw::SpinRect b = edit->UpButton.Bounds;
  EXPECT_EQ(PixelAt(Wnd(), b.left, b.top + 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelAt(Wnd(), b.left + 1, b.top + 3), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(Wnd(), b.left + 5, b.bottom), Sys(COLOR_BTNHIGHLIGHT));
  Up(UpPoint());
  EXPECT_EQ(PixelAt(Wnd(), b.left + 1, b.top + 3), Sys(COLOR_BTNHIGHLIGHT));
}

TEST_F(TimeEditTest, DisabledButtonsShowEmbossedArrows) {
  EnableWindow(Wnd(), FALSE);
  InvalidateRect(Wnd(), nullptr, TRUE);
  UpdateWindow(Wnd());
  RECT rc;
  GetClientRect(Wnd(), &rc);
  const pw::SpinButtonPicture enabled = pw::SpinButtonLayout(pw::kSpinUp, rc.right, rc.bottom, false, true);
  const pw::SpinPoint tip = enabled.triangles[0].points[0];
  EXPECT_NE(PixelAt(Wnd(), tip.x, tip.y), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(Wnd(), tip.x, tip.y), Sys(COLOR_BTNSHADOW));
  const pw::SpinPoint corner = enabled.triangles[0].points[2];  // right corner, one right and down
  EXPECT_EQ(PixelAt(Wnd(), corner.x + 1, corner.y + 1), Sys(COLOR_BTNHIGHLIGHT));
}

}  // namespace
