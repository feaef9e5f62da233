#include "support/EditFixture.h"

namespace testutil {

Stamps ReadStamps(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return {};
  auto v = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return Stamps{d.dwFileAttributes, v(d.ftCreationTime), v(d.ftLastAccessTime), v(d.ftLastWriteTime)};
}

unsigned long long LocalToUtc(int y, int mo, int d, int h, int mi, int s, int ms) {
  SYSTEMTIME local{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                   static_cast<WORD>(mi), static_cast<WORD>(s), static_cast<WORD>(ms)};
  SYSTEMTIME utc{};
  TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
  FILETIME ft{};
  SystemTimeToFileTime(&utc, &ft);
  return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void TypeTime(pw::TkwTimeEdit& edit, const wchar_t* digits) {
  const auto right = [&edit] { SendMessageW(edit.Handle(), WM_KEYDOWN, VK_RIGHT, 1); };
  SetFocus(edit.Handle());
  while (edit.FieldIndex() != 0) right();
  const int lengths[] = {2, 2, 2, 3};
  for (int field = 0; field < 4; ++field) {
    for (int i = 0; i < lengths[field]; ++i) SendMessageW(edit.Handle(), WM_CHAR, *digits++, 1);
    right();
  }
}

}  // namespace testutil

void EditFolderTest::SetUp() {
  BrowserTest::SetUp();
  folder = dir.Path() + name_ + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  boxes_ = std::make_unique<testutil::WhenShown>(L"#32770", [this](HWND box) {
    reports.push_back(testutil::MessageBoxText(box));
    testutil::CloseMessageBox(box);
  });
}

void EditFolderTest::TearDown() {
  boxes_.reset();
  BrowserTest::TearDown();
}

void EditFolderTest::Select(const std::vector<std::wstring>& names) {
  ListPath(folder);
  ClickRow(FileList(), RowOf(names.front()));
  for (size_t i = 1; i < names.size(); ++i) CtrlClickRow(FileList(), RowOf(names[i]));
}
