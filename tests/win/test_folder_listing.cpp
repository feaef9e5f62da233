// The folder listing as the list shows it: rows, sub-item texts, filter, counts and the status bar.
#include "support/BrowserFixture.h"
#include "support/TestDrive.h"

#include <winioctl.h>

namespace {


constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY, kHidden = FILE_ATTRIBUTE_HIDDEN,
                kSystem = FILE_ATTRIBUTE_SYSTEM, kArchive = FILE_ATTRIBUTE_ARCHIVE;

// The short date as the system itself formats it, for the local moment given.
std::wstring SystemShortDate(int year, int month, int day) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  wchar_t buf[64] = {0};
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 64, nullptr);
  return buf;
}

bool ZoneIsCentralEurope() {
  TIME_ZONE_INFORMATION tz{};
  GetTimeZoneInformation(&tz);
  return tz.Bias == -60 && tz.DaylightBias == -60;
}

void MakeSparse(const std::wstring& path, long long size) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD bytes = 0;
  DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &bytes, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = size;
  SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
}

class FolderListingTest : public BrowserFolderTest {
protected:
  FolderListingTest() : BrowserFolderTest(L"Data") {}
};

}  // namespace

TEST_F(FolderListingTest, FileFolderAndParentRowsSubItemBySubItem) {
  const std::wstring report = MakeFile(base + L"report.txt", 1234);
  CreateDirectoryW((base + L"Sub").c_str(), nullptr);
  const auto winter = UtcFileTime(2026, 1, 15, 10, 20, 30, 456);
  const auto summer = UtcFileTime(2025, 7, 4, 12, 0, 0, 7);
  ASSERT_TRUE(SetTimes(report, winter, summer, winter));
  SetFileAttributesW(report.c_str(), kReadOnly | kArchive);

  ListPath(base);
  std::wstring tempName = dir->Path().substr(0, dir->Path().size() - 1);
  tempName = tempName.substr(tempName.find_last_of(L'\\') + 1);
  ASSERT_EQ(FileList().Count(), 3);
  EXPECT_EQ(Cell(0, 0), L"[" + tempName + L"]");
  EXPECT_EQ(Cell(1, 0), L"Sub");
  EXPECT_EQ(Cell(2, 0), L"report.txt");

  // The file.
  const int f = 2;
  EXPECT_EQ(Cell(f, 1), L"1,234");
  EXPECT_FALSE(Cell(f, 2).empty());
  EXPECT_EQ(Cell(f, 6), L"RA");
  EXPECT_EQ(Probe().SubText(f, 6), report);
  EXPECT_EQ(Probe().SubText(f, 7), L"F");

  // The folder.
  EXPECT_EQ(Cell(1, 1), L"");
  EXPECT_FALSE(Cell(1, 2).empty());
  EXPECT_EQ(Cell(1, 6), L".");
  EXPECT_EQ(Probe().SubText(1, 6), base + L"Sub");
  EXPECT_EQ(Probe().SubText(1, 7), L"D");

  // The parent entry: the listed folder itself, with its own attributes.
  EXPECT_EQ(Cell(0, 1), L"");
  EXPECT_EQ(Cell(0, 2), Cell(1, 2));  // typed as a folder
  EXPECT_FALSE(Cell(0, 4).empty());
  EXPECT_EQ(Cell(0, 6), L".");
  EXPECT_EQ(Probe().SubText(0, 6), base);
  EXPECT_EQ(Probe().SubText(0, 7), L"D");

  // Every time text has exactly twelve characters after its first blank.
  for (int row = 0; row < 3; ++row)
    for (int col = 3; col <= 5; ++col) {
      std::wstring t = Cell(row, col);
      size_t blank = t.find(L' ');
      ASSERT_NE(blank, std::wstring::npos) << testing::PrintToString(t);
      EXPECT_EQ(t.size() - blank - 1, 12u) << testing::PrintToString(t);
    }

  LVITEMW lvi{};
  lvi.mask = LVIF_IMAGE;
  lvi.iItem = 0;
  ListView_GetItem(FileList().Handle(), &lvi);
  EXPECT_EQ(lvi.iImage, Probe().UpIconIndex());
  EXPECT_GE(Probe().UpIconIndex(), 0);
  lvi.iItem = 2;
  ListView_GetItem(FileList().Handle(), &lvi);
  EXPECT_GE(lvi.iImage, 0);
  EXPECT_NE(lvi.iImage, Probe().UpIconIndex());
}

TEST_F(FolderListingTest, EachStampShowsTheOffsetOfItsOwnDate) {
  if (!ZoneIsCentralEurope()) GTEST_SKIP() << "needs the Central European time zone (TZ=Europe/Berlin)";
  const std::wstring report = MakeFile(base + L"report.txt");
  ASSERT_TRUE(SetTimes(report, 0, UtcFileTime(2025, 7, 4, 12, 0, 0, 7), UtcFileTime(2026, 1, 15, 10, 20, 30, 456)));
  ListPath(base);
  const int f = RowOf(L"report.txt");
  // +1 h in January, +2 h in July.
  EXPECT_EQ(Cell(f, 4), SystemShortDate(2026, 1, 15) + L" 11:20:30:456");
  EXPECT_EQ(Cell(f, 5), SystemShortDate(2025, 7, 4) + L" 14:00:00:007");
}

TEST_F(FolderListingTest, NamesAreShownAsFoundWithTheirSizes) {
  MakeFile(base + L"\u65E5\u672C\u8A9E.txt", 3);
  MakeFile(base + L"\u03A9mega.dat");
  MakeFile(base + L"a[1].b.c.txt", 999);
  MakeFile(base + L"report.doc", 1000);
  MakeFile(base + L"report.txt", 1000);
  MakeSparse(base + L"huge.bin", 5000000000LL);

  ListPath(base);
  ASSERT_GE(RowOf(L"\u65E5\u672C\u8A9E.txt"), 0);
  ASSERT_GE(RowOf(L"\u03A9mega.dat"), 0);
  ASSERT_GE(RowOf(L"a[1].b.c.txt"), 0);
  // A shell that hides known extensions must not make these two look alike.
  ASSERT_GE(RowOf(L"report.doc"), 0);
  ASSERT_GE(RowOf(L"report.txt"), 0);
  EXPECT_EQ(Cell(RowOf(L"huge.bin"), 1), L"5,000,000,000");
  EXPECT_EQ(Cell(RowOf(L"\u03A9mega.dat"), 1), L"0");
  EXPECT_EQ(Cell(RowOf(L"a[1].b.c.txt"), 1), L"999");
  EXPECT_EQ(Probe().SubText(RowOf(L"\u65E5\u672C\u8A9E.txt"), 6), base + L"\u65E5\u672C\u8A9E.txt");
  EXPECT_EQ(Status().Text(0), L"Files: 6");
  EXPECT_EQ(Status().Text(1), L"Folders: 0");
}

TEST_F(FolderListingTest, CountsLeaveOutTheParentEntry) {
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) MakeFile(base + name);
  CreateDirectoryW((base + L"x").c_str(), nullptr);
  CreateDirectoryW((base + L"y").c_str(), nullptr);
  ListPath(base);
  EXPECT_EQ(FileList().Count(), 6);
  EXPECT_EQ(Status().Text(0), L"Files: 3");
  EXPECT_EQ(Status().Text(1), L"Folders: 2");
  EXPECT_TRUE(IsWindowVisible(FileList().Handle()));
  EXPECT_FALSE(IsWindowVisible(DriveList().Handle()));
}

TEST_F(FolderListingTest, AttributeFilterAppliesToFilesOnly) {
  const std::wstring hiddenOnly = MakeFile(base + L"hidden.txt");
  const std::wstring readOnly = MakeFile(base + L"readonly.txt");
  const std::wstring system = MakeFile(base + L"system.txt");
  const std::wstring plain = MakeFile(base + L"plain.txt");
  CreateDirectoryW((base + L"HiddenDir").c_str(), nullptr);
  SetFileAttributesW(hiddenOnly.c_str(), kHidden);
  SetFileAttributesW(readOnly.c_str(), kReadOnly | kHidden);
  SetFileAttributesW(system.c_str(), kSystem);
  SetFileAttributesW((base + L"HiddenDir").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ListPath(base);
  EXPECT_EQ(FileList().Count(), 6);

  // Archive and Hidden off: a hidden file without read-only or system goes, folders stay.
  ClickMenu(Item(L"mnuArchive"));
  ClickMenu(Item(L"mnuHidden"));
  EXPECT_EQ(Probe().AttrMask(), 1 | 4 | 128);
  EXPECT_FALSE(Item(L"mnuHidden")->Checked());
  EXPECT_EQ(RowOf(L"hidden.txt"), -1);
  EXPECT_EQ(RowOf(L"plain.txt"), -1);  // archive only
  EXPECT_GE(RowOf(L"readonly.txt"), 0);
  EXPECT_GE(RowOf(L"system.txt"), 0);
  EXPECT_GE(RowOf(L"HiddenDir"), 0);
  EXPECT_EQ(Status().Text(0), L"Files: 2");

  // Everything off: no file at all, folders still listed.
  ClickMenu(Item(L"mnuReadOnly"));
  ClickMenu(Item(L"mnuSystem"));
  ClickMenu(Item(L"mnuNormal"));
  EXPECT_EQ(Probe().AttrMask(), 0);
  EXPECT_EQ(Status().Text(0), L"Files: 0");
  EXPECT_GE(RowOf(L"HiddenDir"), 0);
}

TEST_F(FolderListingTest, ShowFoldersOffHidesFoldersAndTheParentButNotTheDrivesEntry) {
  MakeFile(base + L"a.txt");
  CreateDirectoryW((base + L"Sub").c_str(), nullptr);
  ListPath(base);
  ClickMenu(Item(L"mnuShowFolders"));
  EXPECT_TRUE(Probe().HideFolders());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"a.txt"}));
  EXPECT_EQ(Status().Text(1), L"Folders: 0");

  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  CreateDirectoryW((testutil::ProgramDriveFolder() + L"inroot").c_str(), nullptr);
  MakeFile(testutil::ProgramDriveFolder() + L"r.txt");
  ListPath(testutil::ProgramDrive().Root());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"[Drives]", L"r.txt"}));
  // With "[Drives]" selected the path is empty, and the root shown is listed again all the same.
  ASSERT_EQ(SelectedRows(), std::vector<int>{0});
  ClickMenu(Item(L"mnuShowFolders"));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"[Drives]", L"inroot", L"r.txt"}));
}

TEST_F(FolderListingTest, ADriveRootStartsWithTheDrivesEntryAndHasNoParent) {
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  CreateDirectoryW((testutil::ProgramDriveFolder() + L"Data").c_str(), nullptr);
  ListPath(testutil::ProgramDrive().Root());
  ASSERT_GE(FileList().Count(), 2);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  for (int col = 1; col <= 6; ++col) EXPECT_EQ(Cell(0, col), L"") << col;
  EXPECT_EQ(Probe().SubText(0, 6), L"");
  EXPECT_EQ(Probe().SubText(0, 7), L"D");
  for (const auto& caption : Captions()) EXPECT_NE(caption, L"[..]");

  // One level down, the parent entry of a drive's first level reads "[..]".
  ListPath(testutil::ProgramDrive().Root() + L"Data\\");
  ASSERT_GE(FileList().Count(), 1);
  EXPECT_EQ(Cell(0, 0), L"[..]");
  EXPECT_EQ(Probe().SubText(0, 6), testutil::ProgramDrive().Root() + L"Data\\");
}

TEST_F(FolderListingTest, AFolderThatIsGoneLeavesListAndStatusBarAlone) {
  const std::wstring gone = MakeFolder(base + L"Gone");
  MakeFile(gone + L"keep.txt");
  ListPath(gone);
  const auto before = Captions();
  const std::wstring files = Status().Text(0);
  // The listed folder is the current directory, which Windows would not let go. Moved away (the
  // recycle bin does that): deleted, it would stay until the program lets go of it.
  SetCurrentDirectoryW(dir->Path().c_str());
  ASSERT_TRUE(MoveFileW(gone.c_str(), (dir->Path() + L"Binned").c_str()));
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);

  // F5 before the window noticed: the folder cannot be entered.
  PressKey(FileList().Handle(), VK_F5);
  EXPECT_EQ(Captions(), before);
  EXPECT_EQ(Status().Text(0), files);
  EXPECT_TRUE(IsWindowVisible(FileList().Handle()));
  wchar_t after[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, cwd);
}

TEST_F(FolderListingTest, TheCurrentDirectoryFollowsTheListing) {
  CreateDirectoryW((base + L"Inner").c_str(), nullptr);
  ListPath(base + L"Inner\\");
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);
  EXPECT_EQ(std::wstring(cwd), base + L"Inner");
  ListPath(base);
  GetCurrentDirectoryW(MAX_PATH, cwd);
  EXPECT_EQ(std::wstring(cwd) + L"\\", base);
}
