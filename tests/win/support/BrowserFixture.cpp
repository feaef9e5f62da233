#include "support/BrowserFixture.h"

#include <cstring>

void BrowserTest::SetUp() {
  testutil::ProgramDrive();
  form = std::make_unique<TfrmFileBrowser>(folderQuery);
  ASSERT_TRUE(form->Create(false));
  form->Show();
  testutil::PumpMessages();
}

void BrowserTest::TearDown() {
  form.reset();
  testutil::PumpMessages();
}

void BrowserFolderTest::SetUp() {
  BrowserTest::SetUp();
  dir = std::make_unique<testutil::TempDir>();
  base = dir->Path() + name_ + L"\\";
  CreateDirectoryW(base.c_str(), nullptr);
}

void BrowserFolderTest::TearDown() {
  BrowserTest::TearDown();
  dir.reset();
}

void BrowserTest::PressKey(HWND wnd, WORD vk) { testutil::PressKey(wnd, vk); }

void BrowserTest::PressKey(HWND wnd, WORD vk, unsigned modifiers) { testutil::PressKey(wnd, vk, modifiers); }

namespace {
LPARAM RowPoint(const ui::ListView& list, int row) {
  RECT rc{};
  rc.left = LVIR_LABEL;
  SendMessageW(list.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
  int x = rc.left + 4, y = (rc.top + rc.bottom) / 2;
  return MAKELPARAM(x, y);
}
}  // namespace

void BrowserTest::DoubleClickRow(const ui::ListView& list, int row) {
  LPARAM pt = RowPoint(list, row);
  // The list view follows a press with its own drag detection loop; the release must be waiting.
  PostMessageW(list.Handle(), WM_LBUTTONUP, 0, pt);
  SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, pt);
  testutil::PumpMessages();
  PostMessageW(list.Handle(), WM_LBUTTONUP, 0, pt);
  SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
  testutil::PumpMessages();
}

void BrowserTest::ClickRow(const ui::ListView& list, int row) {
  LPARAM pt = RowPoint(list, row);
  PostMessageW(list.Handle(), WM_LBUTTONUP, 0, pt);
  SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, pt);
  testutil::PumpMessages();
}

namespace {
void ClickRowWith(const ui::ListView& list, int row, BYTE vk, WPARAM mk) {
  BYTE keys[256];
  GetKeyboardState(keys);
  const BYTE saved = keys[vk];
  keys[vk] = 0x80;
  SetKeyboardState(keys);
  const LPARAM pt = RowPoint(list, row);
  PostMessageW(list.Handle(), WM_LBUTTONUP, mk, pt);
  SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | mk, pt);
  testutil::PumpMessages();
  keys[vk] = saved;
  SetKeyboardState(keys);
}
}  // namespace

void BrowserTest::CtrlClickRow(const ui::ListView& list, int row) { ClickRowWith(list, row, VK_CONTROL, MK_CONTROL); }

void BrowserTest::ShiftClickRow(const ui::ListView& list, int row) { ClickRowWith(list, row, VK_SHIFT, MK_SHIFT); }

void BrowserTest::ClickButton(const ui::SpeedButton& button) {
  RECT rc{};
  GetClientRect(button.Handle(), &rc);
  const LPARAM pt = MAKELPARAM(rc.right / 2, rc.bottom / 2);
  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, pt);
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, pt);
  testutil::PumpMessages();
}

void BrowserTest::ClickMenu(const ui::MenuItem* item) const {
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  testutil::PumpMessages();
}

std::vector<std::wstring> BrowserTest::Captions() const {
  std::vector<std::wstring> out;
  for (int i = 0; i < FileList().Count(); ++i) out.push_back(testutil::ItemText(FileList().Handle(), i, 0));
  return out;
}

std::wstring BrowserTest::Cell(int row, int column) const { return testutil::ItemText(FileList().Handle(), row, column); }

int BrowserTest::RowOf(const std::wstring& caption) const {
  for (int i = 0; i < FileList().Count(); ++i)
    if (testutil::ItemText(FileList().Handle(), i, 0) == caption) return i;
  return -1;
}

int BrowserTest::DriveRowOf(const std::wstring& root) const {
  for (int i = 0; i < DriveList().Count(); ++i)
    if (Probe().DriveRoot(i) == root) return i;
  return -1;
}

std::vector<int> BrowserTest::SelectedRows() const { return FileList().SelectedRows(); }

std::vector<std::wstring> BrowserTest::SelectedCaptions() const {
  std::vector<std::wstring> out;
  for (int row : SelectedRows()) out.push_back(Cell(row, 0));
  return out;
}

std::wstring BrowserTest::FocusedCaption() const {
  const int row = FileList().Focused();
  return row < 0 ? std::wstring() : Cell(row, 0);
}

void BrowserTest::ListPath(const std::wstring& folder) { testutil::GoToPath(*form, folder); }
