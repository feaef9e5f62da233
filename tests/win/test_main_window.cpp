// The main window as the user first sees it: frame, toolbar, menus, status bar and drive list.
#include "support/BrowserFixture.h"
#include "support/TestDrive.h"

#include <cstdio>

#include "browse/core/FileCompare.h"
#include "common/core/CaselessText.h"
#include "browse/core/FileText.h"

namespace {

struct MenuEntry {
  std::wstring Text;
  UINT Type = 0;
  UINT State = 0;
  HMENU Sub = nullptr;
  HBITMAP Bitmap = nullptr;
};

std::vector<MenuEntry> Entries(HMENU menu) {
  std::vector<MenuEntry> out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t buf[128] = {0};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP;
    mii.dwTypeData = buf;
    mii.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    out.push_back(MenuEntry{buf, mii.fType, mii.fState, mii.hSubMenu, mii.hbmpItem});
  }
  return out;
}

std::vector<std::wstring> Texts(const std::vector<MenuEntry>& entries) {
  std::vector<std::wstring> out;
  for (const auto& e : entries) out.push_back((e.Type & MFT_SEPARATOR) ? L"-" : e.Text);
  return out;
}

using Strings = std::vector<std::wstring>;


}  // namespace

TEST_F(BrowserTest, WindowOpensAt632x376CentredOnTheScreen) {
  EXPECT_EQ(testutil::WindowText(form->Handle()), L"Pathwick for Windows");
  RECT rc;
  GetWindowRect(form->Handle(), &rc);
  EXPECT_EQ(rc.right - rc.left, 632);
  EXPECT_EQ(rc.bottom - rc.top, 376);
  EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 632) / 2);
  EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - 376) / 2);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(BrowserTest, StartsOnTheDriveListWithDefaultOptions) {
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_EQ(Probe().AttrMask(), 167);
  EXPECT_FALSE(Probe().HideFolders());
  EXPECT_TRUE(Probe().SortAscending());
  EXPECT_EQ(Probe().SortColumn(), 0);
  EXPECT_TRUE(Probe().CurrentPath().empty());
  EXPECT_EQ(PathLine(), L"");
  for (int column = 0; column < TfrmFileBrowser::kColumnCount; ++column) EXPECT_TRUE(Probe().Column(column).Shown);
  EXPECT_EQ(Probe().Column(1).SavedWidth, 60);
  EXPECT_EQ(DriveList().ViewStyle(), static_cast<DWORD>(LV_VIEW_DETAILS));
  EXPECT_EQ(FileList().ViewStyle(), static_cast<DWORD>(LV_VIEW_DETAILS));
  // The first drive is selected and the list has the focus.
  if (DriveList().Count() > 0) {
    EXPECT_EQ(DriveList().FirstSelected(), 0);
    EXPECT_EQ(GetFocus(), DriveList().Handle());
  }
}

TEST_F(BrowserTest, ThePathLineAndTheListsFollowTheWindowSize) {
  auto width = [](HWND wnd) {
    RECT rc{};
    GetWindowRect(wnd, &rc);
    return rc.right - rc.left;
  };
  for (const SIZE size : {SIZE{900, 520}, SIZE{640, 400}, SIZE{1000, 700}}) {
    SetWindowPos(form->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    testutil::PumpMessages();
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(width(Probe().FilenamePanel()), client.right);
    EXPECT_EQ(width(Probe().PathLine()), client.right - 8) << size.cx;
    EXPECT_EQ(width(FileList().Handle()), width(DriveList().Handle()));
    EXPECT_EQ(width(DriveList().Handle()), client.right - 2);  // inside the panel's bevel
  }
}

TEST_F(BrowserTest, ToolbarButtonsAndTheHiddenUpdateAndCancel) {
  EXPECT_FALSE(IsWindowVisible(Button(L"btnUpdate").Handle()));
  EXPECT_FALSE(IsWindowVisible(Button(L"btnCancel").Handle()));
  for (const ui::SpeedButton* b : {&Button(L"btnBookmark"), &Button(L"btnRefresh"), &Button(L"btnLargeIcons"),
                             &Button(L"btnSmallIcons"), &Button(L"btnList"), &Button(L"btnDetails")})
    EXPECT_TRUE(IsWindowVisible(b->Handle()));
  EXPECT_EQ(Button(L"btnBookmark").Tag, 3);
  EXPECT_FALSE(Button(L"btnBookmark").Enabled());
  EXPECT_EQ(Button(L"btnBookmark").Hint(), L"Add bookmark");
  EXPECT_EQ(Button(L"btnLargeIcons").Hint(), L"Large Icons");
  EXPECT_EQ(Button(L"btnDetails").Hint(), L"Details");
  // Exactly one view button is down: Details.
  EXPECT_FALSE(Button(L"btnLargeIcons").Down());
  EXPECT_FALSE(Button(L"btnSmallIcons").Down());
  EXPECT_FALSE(Button(L"btnList").Down());
  EXPECT_TRUE(Button(L"btnDetails").Down());
  RECT rc;
  GetWindowRect(Button(L"btnRefresh").Handle(), &rc);
  EXPECT_EQ(rc.right - rc.left, 23);
  EXPECT_EQ(rc.bottom - rc.top, 23);
}

TEST_F(BrowserTest, MainMenuShowsTheLaidOutTree) {
  HMENU bar = GetMenu(form->Handle());
  ASSERT_NE(bar, nullptr);
  auto top = Entries(bar);
  // No bookmarks yet, so no Bookmarks menu.
  EXPECT_EQ(Texts(top), (Strings{L"&Explorer", L"&Options", L"&View", L"&About"}));
  EXPECT_EQ(Texts(Entries(top[0].Sub)), (Strings{L"-", L"E&xit"}));  // "&Update" never appears
  EXPECT_EQ(Texts(Entries(top[1].Sub)),
            (Strings{L"&Refresh\tF5", L"&Undo Edit\tCtrl+Z", L"-", L"S&hift Times...\tCtrl+H",
                     L"Copy &Times From...\tCtrl+T", L"Set to &Now...", L"Times From &Content...\tCtrl+G",
                     L"Set the Cloc&k Right...", L"Sa&ve Times...", L"Re&store Times..."}));
  // keys right of the captions
  EXPECT_EQ(top[3].Sub, nullptr);  // About acts on click

  auto view = Entries(top[2].Sub);
  EXPECT_EQ(Texts(view), (Strings{L"&Attributes", L"&Columns", L"&ViewType", L"-", L"&Show Folders", L"-"}));
  EXPECT_TRUE(view[4].State & MFS_CHECKED);

  auto attrs = Entries(view[0].Sub);
  EXPECT_EQ(Texts(attrs), (Strings{L"&Read Only", L"&Hidden", L"&System", L"&Archive", L"&Normal"}));
  for (const auto& e : attrs) EXPECT_TRUE(e.State & MFS_CHECKED) << testing::PrintToString(e.Text);

  auto cols = Entries(view[1].Sub);
  EXPECT_EQ(Texts(cols), (Strings{L"&Size", L"&Type", L"&Created", L"&Modified", L"&Accessed", L"Att&ributes"}));
  for (const auto& e : cols) EXPECT_TRUE(e.State & MFS_CHECKED);

  auto views = Entries(view[2].Sub);
  EXPECT_EQ(Texts(views), (Strings{L"Lar&ge Icons", L"S&mall Icons", L"&List", L"&Details"}));
  for (const auto& e : views) EXPECT_TRUE(e.Type & MFT_RADIOCHECK);
  EXPECT_FALSE(views[0].State & MFS_CHECKED);
  EXPECT_TRUE(views[3].State & MFS_CHECKED);

  // The flat menus draw every item themselves, icons from imMenu: no item carries a bitmap.
  for (const auto* entries : {&top, &view, &attrs, &cols, &views}) {
    for (const auto& e : *entries) {
      EXPECT_TRUE(e.Type & MFT_OWNERDRAW) << testing::PrintToString(e.Text);
      EXPECT_EQ(e.Bitmap, nullptr);
    }
  }
}

TEST_F(BrowserTest, MenuItemsCarryTheirTagsAndImages) {
  struct Expect { const ui::MenuItem* Item; int Tag; int Image; };
  const Expect expected[] = {
      {Item(L"mnuReadOnly"), 1, -1},  {Item(L"mnuHidden"), 2, -1},     {Item(L"mnuSystem"), 4, -1},
      {Item(L"mnuArchive"), 32, -1},  {Item(L"mnuNormal"), 128, -1},   {Item(L"mnuSizeCol"), 1, -1},
      {Item(L"mnuAttributesCol"), 6, -1}, {Item(L"mnuLargeIcons"), 0, 6}, {Item(L"mnuSmallIcons"), 1, 7},
      {Item(L"mnuList"), 2, 8},       {Item(L"mnuDetails"), 3, 9},     {Item(L"mnuExplorer"), 0, 0},
      {Item(L"mnuExit"), 0, 1},       {Item(L"mnuUpdate"), 0, 2},      {Item(L"mnuRefresh"), 0, 5},
      {Item(L"mnuAttributes"), 0, 10}, {Item(L"mnuColumns"), 0, 11},  {Item(L"mnuViewType"), 0, 12},
      {Item(L"mnuPopBookmark"), 3, 3}, {Item(L"mnuCopyPath"), 0, 13}, {Item(L"mnuEditFileParams"), 0, 14}};
  for (const auto& e : expected) {
    EXPECT_EQ(e.Item->Tag, e.Tag) << testing::PrintToString(e.Item->Name);
    EXPECT_EQ(e.Item->ImageIndex(), e.Image) << testing::PrintToString(e.Item->Name);
  }
  EXPECT_EQ(ImageList_GetImageCount(Probe().MenuImages()), 15);
}

TEST_F(BrowserTest, PopupMenuOfTheFileList) {
  auto items = Entries(Probe().PopupMenu());
  EXPECT_EQ(Texts(items),
            (Strings{L"&Add Bookmark", L"-", L"Copy &Path\tCtrl+Shift+C", L"Edit &File Params\tAlt+Enter",
                     L"S&hift Times...\tCtrl+H", L"Copy &Times From...\tCtrl+T", L"Set to &Now...",
                     L"Times From &Content...\tCtrl+G", L"Set the Cloc&k Right...",
                     L"Sa&ve Times...", L"Re&store Times..."}));
  EXPECT_TRUE(items[0].State & MFS_DISABLED);
  EXPECT_FALSE(items[2].State & MFS_DISABLED);
}

TEST_F(BrowserTest, StatusBarHasThreePanels) {
  int rights[4] = {0};
  int parts = static_cast<int>(SendMessageW(Status().Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(rights)));
  ASSERT_EQ(parts, 3);
  EXPECT_EQ(rights[0], 100);
  EXPECT_EQ(rights[1], 200);
  EXPECT_EQ(rights[2], 392);
  EXPECT_EQ(Status().Text(0), L"");
}

TEST_F(BrowserTest, DriveListMatchesTheSystemInLetterOrder) {
  wchar_t sep[8] = L",";
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8);
  DWORD mask = GetLogicalDrives();
  int row = 0;
  for (int d = 0; d < 26; ++d) {
    if (!(mask & (1u << d))) continue;
    std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + d)) + L":\\";
    ASSERT_LT(row, DriveList().Count());
    EXPECT_EQ(Probe().DriveRoot(row), root);
    const ui::ListView& lv = DriveList();
    EXPECT_FALSE(testutil::ItemText(lv.Handle(), row, 0).empty());
    EXPECT_EQ(testutil::ItemText(lv.Handle(), row, 1), pw::DriveTypeText(GetDriveTypeW(root.c_str())));
    DWORD serial = 0;
    wchar_t fs[64] = {0};
    bool volume = root != L"A:\\" &&
                  GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, fs, 64) && serial;
    if (volume) {
      wchar_t expect[16];
      swprintf(expect, 16, L"%04X-%04X", serial >> 16, serial & 0xFFFF);
      EXPECT_EQ(testutil::ItemText(lv.Handle(), row, 5), expect);
      EXPECT_EQ(testutil::ItemText(lv.Handle(), row, 2), fs);
      ULARGE_INTEGER total{};
      ASSERT_TRUE(GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr));
      EXPECT_EQ(testutil::ItemText(lv.Handle(), row, 3), pw::FormatKilobytes(static_cast<long long>(total.QuadPart), sep));
      std::wstring free = testutil::ItemText(lv.Handle(), row, 4);
      ASSERT_GE(free.size(), 4u);
      EXPECT_EQ(free.substr(free.size() - 3), L" KB");
    } else {
      for (int c = 2; c <= 5; ++c) EXPECT_EQ(testutil::ItemText(lv.Handle(), row, c), L"") << "column " << c;
    }
    ++row;
  }
  EXPECT_EQ(row, DriveList().Count());
}

TEST_F(BrowserTest, ANewDriveLetterAppearsAfterRefreshAndTheSelectionStays) {
  testutil::TempDir folder;
  CreateDirectoryW((folder.Path() + L"inside").c_str(), nullptr);
  const int before = DriveList().Count();
  ASSERT_GE(before, 1);
  ClickRow(DriveList(), 0);
  const std::wstring selected = testutil::ItemText(DriveList().Handle(), 0, 0);

  testutil::TestDrive drive(folder.Path());
  ASSERT_NE(drive.Letter(), 0);
  EXPECT_EQ(DriveList().Count(), before);  // the list is not refreshed by itself
  ClickMenu(Item(L"mnuRefresh"));
  ASSERT_EQ(DriveList().Count(), before + 1);
  bool found = false;
  for (int i = 0; i < DriveList().Count(); ++i) {
    if (Probe().DriveRoot(i) == drive.Root()) {
      found = true;
      EXPECT_FALSE(testutil::ItemText(DriveList().Handle(), i, 1).empty());
    }
    if (i > 0) {
      EXPECT_LT(pw::CaselessCompare(Probe().DriveRoot(i - 1), Probe().DriveRoot(i)), 0);
    }
  }
  EXPECT_TRUE(found);
  ASSERT_GE(DriveList().FirstSelected(), 0);
  EXPECT_EQ(testutil::ItemText(DriveList().Handle(), DriveList().FirstSelected(), 0), selected);
}

TEST_F(BrowserTest, OpeningADriveListsItsRootWithTheDrivesEntrySelected) {
  MakeFile(testutil::ProgramDriveFolder() + L"a.txt");
  const testutil::TestDrive& drive = testutil::ProgramDrive();
  ASSERT_NE(drive.Letter(), 0);
  const int row = DriveRowOf(drive.Root());
  ASSERT_GE(row, 0);

  DoubleClickRow(DriveList(), row);
  EXPECT_TRUE(IsWindowVisible(FileList().Handle()));
  EXPECT_FALSE(IsWindowVisible(DriveList().Handle()));
  ASSERT_GE(FileList().Count(), 2);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(PathLine(), L"");
  EXPECT_EQ(Probe().CurrentPath(), L"");
  EXPECT_EQ(Status().Text(0), L"Files: 1");
}

TEST_F(BrowserTest, DriveListKeys) {
  const testutil::TestDrive& drive = testutil::ProgramDrive();
  ASSERT_NE(drive.Letter(), 0);
  const int row = DriveRowOf(drive.Root());
  ASSERT_GE(row, 0);
  ClickRow(DriveList(), row);
  ASSERT_EQ(DriveList().FirstSelected(), row);

  // Left never moves anything in the drive list.
  PressKey(DriveList().Handle(), VK_LEFT);
  EXPECT_EQ(DriveList().FirstSelected(), row);
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));

  // Right in the Details view opens the drive.
  PressKey(DriveList().Handle(), VK_RIGHT);
  EXPECT_TRUE(IsWindowVisible(FileList().Handle()));
  EXPECT_EQ(Cell(0, 0), L"[Drives]");

  // Back to the drives, then Enter opens again.
  DoubleClickRow(FileList(), 0);
  ASSERT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_EQ(DriveList().FirstSelected(), row);
  PressKey(DriveList().Handle(), VK_RETURN);
  EXPECT_TRUE(IsWindowVisible(FileList().Handle()));
}

TEST_F(BrowserTest, HeaderDragIsRefusedForAHiddenColumnAndAFinishedDragIsRemembered) {
  HWND list = FileList().Handle();
  HWND header = FileList().Header();
  auto notify = [&](UINT code, int item, int width) {
    HDITEMW hdi{};
    hdi.mask = HDI_WIDTH;
    hdi.cxy = width;
    NMHEADERW nm{};
    nm.hdr.hwndFrom = header;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(header));
    nm.hdr.code = code;
    nm.iItem = item;
    nm.iButton = 0;
    nm.pitem = &hdi;
    return SendMessageW(list, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
  };
  EXPECT_EQ(notify(HDN_BEGINTRACKW, 1, 60), 0);  // shown: the list may track it
  ClickMenu(Item(L"mnuSizeCol"));  // hidden
  EXPECT_EQ(notify(HDN_BEGINTRACKW, 1, 0), 1);
  EXPECT_EQ(notify(HDN_BEGINTRACKA, 1, 0), 1);
  notify(HDN_ENDTRACKW, 3, 95);
  EXPECT_EQ(Probe().Column(3).SavedWidth, 95);
  notify(HDN_ENDTRACKA, 0, 130);
  EXPECT_EQ(Probe().Column(0).SavedWidth, 130);
  // Items outside the seven columns pass unchanged.
  notify(HDN_ENDTRACKW, 7, 99);
  notify(HDN_ENDTRACKW, -1, 99);
  for (int column = 0; column < TfrmFileBrowser::kColumnCount; ++column)
    EXPECT_NE(Probe().Column(column).SavedWidth, 99);

  // A real drag of the divider of "Type" through the header records the new width.
  FileList().SetVisible(true);
  RECT rc{};
  Header_GetItemRect(header, 2, &rc);
  int y = (rc.top + rc.bottom) / 2;
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - 1, y));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.right + 29, y));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(rc.right + 29, y));
  testutil::PumpMessages();
  EXPECT_EQ(FileList().ColumnWidth(2), 94);
  EXPECT_EQ(Probe().Column(2).SavedWidth, 94);
}
