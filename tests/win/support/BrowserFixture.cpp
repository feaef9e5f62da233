#include "support/BrowserFixture.h"

void BrowserTest::SetUp() {
  form = std::make_unique<TfrmFileBrowser>();
  ASSERT_TRUE(form->Create(false));
  form->Show();
  testutil::PumpMessages();
}

void BrowserTest::TearDown() {
  form.reset();
  testutil::PumpMessages();
}

void BrowserTest::PressKey(HWND wnd, WORD vk) {
  UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  SendMessageW(wnd, WM_KEYDOWN, vk, 1 | (scan << 16));
  SendMessageW(wnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
  testutil::PumpMessages();
}

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

void BrowserTest::ClickMenu(const ui::MenuItem* item) const {
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  testutil::PumpMessages();
}

std::vector<std::wstring> BrowserTest::Captions() const {
  std::vector<std::wstring> out;
  for (int i = 0; i < form->lvFiles.Count(); ++i) out.push_back(form->lvFiles.ItemText(i, 0));
  return out;
}

std::wstring BrowserTest::Cell(int row, int column) const { return form->lvFiles.ItemText(row, column); }

int BrowserTest::RowOf(const std::wstring& caption) const {
  for (int i = 0; i < form->lvFiles.Count(); ++i)
    if (form->lvFiles.ItemText(i, 0) == caption) return i;
  return -1;
}

int BrowserTest::DriveRowOf(const std::wstring& root) const {
  for (int i = 0; i < form->lvDrives.Count(); ++i)
    if (const TDriveItem* drive = form->DriveAt(i); drive && drive->Root == root) return i;
  return -1;
}

std::vector<int> BrowserTest::SelectedRows() const {
  std::vector<int> rows;
  for (int i = form->lvFiles.FirstSelected(); i >= 0; i = form->lvFiles.NextSelected(i)) rows.push_back(i);
  return rows;
}

void BrowserTest::ListPath(const std::wstring& folder) {
  form->CurrentPath = folder;
  SetWindowTextW(form->edFilename, folder.c_str());
  form->ListFolder();
  form->SelectFocusedOrFirst(form->lvFiles);
  testutil::PumpMessages();
}

std::wstring MakeFile(const std::wstring& path, size_t size) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    std::string data(size, 'x');
    DWORD written = 0;
    if (size) WriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(h);
  }
  return path;
}

bool SetTimes(const std::wstring& path, unsigned long long created, unsigned long long accessed,
              unsigned long long written) {
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME c{static_cast<DWORD>(created), static_cast<DWORD>(created >> 32)};
  FILETIME a{static_cast<DWORD>(accessed), static_cast<DWORD>(accessed >> 32)};
  FILETIME w{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
  BOOL ok = SetFileTime(h, created ? &c : nullptr, accessed ? &a : nullptr, written ? &w : nullptr);
  CloseHandle(h);
  return ok != FALSE;
}

unsigned long long UtcFileTime(int year, int month, int day, int hour, int minute, int second, int ms) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  st.wMilliseconds = static_cast<WORD>(ms);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
