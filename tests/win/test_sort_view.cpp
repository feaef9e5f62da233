// Sorting by column clicks, the header arrow, hiding columns and the four view styles, driven on
// the real main window with the messages a user's mouse produces.
#include "support/BrowserFixture.h"
#include "support/TestDrive.h"

#include <algorithm>

namespace {

using Strings = std::vector<std::wstring>;

constexpr int kSize = 1;
constexpr int kCreated = 3;
constexpr int kModified = 4;

unsigned long long Noon(int year, int month, int day, int ms = 0) {
  return UtcFileTime(year, month, day, 12, 0, 0, ms);
}

class SortViewTest : public BrowserTest {
protected:
  void SetUp() override {
    BrowserTest::SetUp();
    folder = tmp.Path() + L"list\\";
    MakeFolder(folder);
    parent = ParentCaptionOf(folder);
  }

  void List() { ListPath(folder); }
  std::wstring At(const std::wstring& name) const { return folder + name; }
  HWND Header() const { return FileList().Header(); }

  // A click in the middle of a header item, which the list reports to the window as a column click.
  void ClickHeader(int column) { testutil::ClickColumn(*form, column); }

  // Presses the mouse on the header at x, moves it by dx and releases it there.
  void DragHeader(int x, int dx) {
    RECT rc{};
    GetClientRect(Header(), &rc);
    int y = rc.bottom / 2;
    SendMessageW(Header(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(Header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y));
    SendMessageW(Header(), WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y));
    testutil::PumpMessages();
  }

  // Drags the divider at the right edge of a column.
  void DragDivider(int column, int dx) {
    RECT rc{};
    ASSERT_TRUE(Header_GetItemRect(Header(), column, &rc));
    DragHeader(rc.right - 1, dx);
  }

  // The check mark as the menu handle shows it, not as the item tree remembers it.
  bool MenuChecked(const ui::MenuItem* item) const {
    UINT state = GetMenuState(item->Parent()->SubMenu(), item->Command(), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
  }

  // The arrow stands on `column` alone, pointing the way of `ascending`, right of the caption
  // except in the right-aligned Size column.
  void ExpectArrow(int column, bool ascending) const {
    ASSERT_EQ(Header_GetItemCount(Header()), TfrmFileBrowser::kColumnCount);
    HBITMAP expected = Probe().SortBitmap(ascending ? 1 : 0);
    ASSERT_NE(expected, nullptr);
    for (int i = 0; i < TfrmFileBrowser::kColumnCount; ++i) {
      HDITEMW hdi{};
      hdi.mask = HDI_FORMAT | HDI_BITMAP;
      ASSERT_TRUE(Header_GetItem(Header(), i, &hdi));
      if (i == column) {
        EXPECT_TRUE(hdi.fmt & HDF_BITMAP) << "column " << i;
        EXPECT_EQ(hdi.hbm, expected) << "column " << i;
        EXPECT_EQ((hdi.fmt & HDF_BITMAP_ON_RIGHT) != 0, i != kSize) << "column " << i;
      } else {
        EXPECT_FALSE(hdi.fmt & HDF_BITMAP) << "column " << i;
      }
    }
  }


  testutil::TempDir tmp;
  std::wstring folder;  // the listed folder, inside tmp so that it has a parent entry
  std::wstring parent;  // the parent entry's caption
};

const ui::MenuItem* ViewItem(const MainWindowProbe& probe, int tag) {
  const wchar_t* names[] = {L"mnuLargeIcons", L"mnuSmallIcons", L"mnuList", L"mnuDetails"};
  return &probe.Item(names[tag]);
}
const ui::SpeedButton& ViewButton(const MainWindowProbe& probe, int tag) {
  const wchar_t* names[] = {L"btnLargeIcons", L"btnSmallIcons", L"btnList", L"btnDetails"};
  return probe.Button(names[tag]);
}
constexpr DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};

}  // namespace

// --- Order -----------------------------------------------------------------------------------

TEST_F(SortViewTest, NameSortsFoldersThenFilesIgnoringCaseAndFlipsOnEachClick) {
  for (const wchar_t* name : {L"gamma", L"Beta", L"alpha"}) MakeFolder(At(name));
  // "_" follows the letters and digits precede them whatever the locale says.
  for (const wchar_t* name : {L"date.txt", L"Cherry.txt", L"_notes.txt", L"banana.txt", L"1.txt", L"Apple.txt"})
    MakeFile(At(name));
  List();
  const Strings ascending = {parent,        L"alpha",     L"Beta",       L"gamma",    L"1.txt",
                             L"Apple.txt", L"banana.txt", L"Cherry.txt", L"date.txt", L"_notes.txt"};
  const Strings descending = {parent,       L"_notes.txt", L"date.txt", L"Cherry.txt", L"banana.txt",
                              L"Apple.txt", L"1.txt",      L"gamma",    L"Beta",       L"alpha"};
  EXPECT_EQ(Captions(), ascending);
  ExpectArrow(0, true);

  ClickHeader(0);
  EXPECT_EQ(Captions(), descending);
  EXPECT_FALSE(Probe().SortAscending());
  ExpectArrow(0, false);

  ClickHeader(0);
  EXPECT_EQ(Captions(), ascending);
  ExpectArrow(0, true);

  // The rows show the entries' own texts after the sort, not those of the rows' old entries.
  const int apple = RowOf(L"Apple.txt");
  ASSERT_GE(apple, 0);
  EXPECT_EQ(Cell(apple, 1), L"0");
  EXPECT_EQ(Cell(RowOf(L"alpha"), 1), L"");
}

TEST_F(SortViewTest, SizeComparesNumbersWithTiesAndFoldersByName) {
  MakeFolder(At(L"zeta"));
  MakeFolder(At(L"Alpha"));
  MakeFile(At(L"big.txt"), 1000);
  MakeFile(At(L"small.txt"), 999);
  MakeFile(At(L"tie_b.txt"), 500);
  MakeFile(At(L"Tie_a.txt"), 500);
  MakeFile(At(L"empty.txt"), 0);
  MakeFile(At(L"huge.txt"), 10000);
  List();

  ClickHeader(kSize);
  EXPECT_TRUE(Probe().SortAscending());
  EXPECT_EQ(Captions(), (Strings{parent, L"Alpha", L"zeta", L"empty.txt", L"Tie_a.txt", L"tie_b.txt",
                                 L"small.txt", L"big.txt", L"huge.txt"}));
  ExpectArrow(kSize, true);

  // The texts the numbers come from: as texts, "1,000" would sort before "999".
  wchar_t sep[8] = {0};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8);
  EXPECT_EQ(Cell(RowOf(L"big.txt"), kSize), std::wstring(L"1") + sep + L"000");
  EXPECT_EQ(Cell(RowOf(L"small.txt"), kSize), L"999");

  ClickHeader(kSize);
  EXPECT_EQ(Captions(), (Strings{parent, L"huge.txt", L"big.txt", L"small.txt", L"tie_b.txt", L"Tie_a.txt",
                                 L"empty.txt", L"zeta", L"Alpha"}));
  ExpectArrow(kSize, false);

  // Another column starts ascending again; the previous direction is not remembered.
  ClickHeader(0);
  ExpectArrow(0, true);
  ClickHeader(kSize);
  ExpectArrow(kSize, true);
  EXPECT_EQ(Cell(1, 0), L"Alpha");
}

TEST_F(SortViewTest, ModifiedOrdersToTheMillisecondWithEqualTimesByName) {
  // By time, the folders come in the opposite order to their names.
  MakeFolder(At(L"fold_new"), Noon(2022, 1, 1));
  MakeFolder(At(L"fold_old"), Noon(2019, 1, 1));
  const unsigned long long base = UtcFileTime(2021, 3, 4, 10, 20, 30, 0);
  const unsigned long long ms = 10000;  // file-time units per millisecond
  SetTimes(MakeFile(At(L"m1.txt")), 0, 0, base + 2 * ms);
  SetTimes(MakeFile(At(L"b_same.txt")), 0, 0, base + 1 * ms);
  SetTimes(MakeFile(At(L"A_same.txt")), 0, 0, base + 1 * ms);
  SetTimes(MakeFile(At(L"c.txt")), 0, 0, base);
  SetTimes(MakeFile(At(L"e.txt")), 0, 0, base - 1 * ms);
  // The day before, later in the day: the date decides before the time of day.
  SetTimes(MakeFile(At(L"d.txt")), 0, 0, UtcFileTime(2021, 3, 3, 22, 59, 59, 999));
  List();
  ASSERT_TRUE(Cell(RowOf(L"m1.txt"), kModified).ends_with(L"002")) << Cell(RowOf(L"m1.txt"), kModified);

  ClickHeader(kModified);
  EXPECT_EQ(Captions(), (Strings{parent, L"fold_old", L"fold_new", L"d.txt", L"e.txt", L"c.txt", L"A_same.txt",
                                 L"b_same.txt", L"m1.txt"}));
  ExpectArrow(kModified, true);

  ClickHeader(kModified);
  EXPECT_EQ(Captions(), (Strings{parent, L"m1.txt", L"b_same.txt", L"A_same.txt", L"c.txt", L"e.txt", L"d.txt",
                                 L"fold_new", L"fold_old"}));
  ExpectArrow(kModified, false);
}

TEST_F(SortViewTest, ModifiedFollowsTheInstantAcrossTheAutumnClockChange) {
  // 00:30, 01:10 and 01:20 UTC on 31 October 2021 read 02:30 (summer time), 02:10 and 02:20 (winter
  // time) on a Central European clock. The names sort the other way round, and the times of day in
  // a third order: only the instants give the order expected. Created and Modified are the same
  // stamp, as Wine keeps them.
  SetTimes(MakeFile(At(L"c.txt")), UtcFileTime(2021, 10, 31, 0, 30, 0, 0), 0, UtcFileTime(2021, 10, 31, 0, 30, 0, 0));
  SetTimes(MakeFile(At(L"b.txt")), UtcFileTime(2021, 10, 31, 1, 10, 0, 0), 0, UtcFileTime(2021, 10, 31, 1, 10, 0, 0));
  SetTimes(MakeFile(At(L"a.txt")), UtcFileTime(2021, 10, 31, 1, 20, 0, 0), 0, UtcFileTime(2021, 10, 31, 1, 20, 0, 0));
  List();
  ASSERT_TRUE(Cell(RowOf(L"c.txt"), kModified).ends_with(L"02:30:00:000")) << Cell(RowOf(L"c.txt"), kModified);
  ClickHeader(kModified);
  EXPECT_EQ(Captions(), (Strings{parent, L"c.txt", L"b.txt", L"a.txt"}));
  ClickHeader(kCreated);
  EXPECT_EQ(Captions(), (Strings{parent, L"c.txt", L"b.txt", L"a.txt"}));
}

TEST_F(SortViewTest, BracketedFileStaysOnTopWithTheParentEntryInEveryOrder) {
  MakeFolder(At(L"sub"), Noon(2020, 5, 5));
  SetTimes(MakeFile(At(L"[readme].txt"), 10), 0, 0, Noon(2020, 6, 6));
  SetTimes(MakeFile(At(L"a.txt"), 1), 0, 0, Noon(2020, 1, 1));
  SetTimes(MakeFile(At(L"zz.txt"), 100), 0, 0, Noon(2021, 1, 1));
  List();
  for (int column = 0; column < TfrmFileBrowser::kColumnCount; ++column) {
    for (int click = 0; click < 2; ++click) {
      ClickHeader(column);
      SCOPED_TRACE(testing::Message() << "column " << column << (Probe().SortAscending() ? " ascending" : " descending"));
      ASSERT_EQ(FileList().Count(), 5);
      EXPECT_EQ(Cell(0, 0), parent);
      EXPECT_EQ(Cell(1, 0), L"[readme].txt");
      // Folders before files ascending, after them descending.
      EXPECT_EQ(RowOf(L"sub"), Probe().SortAscending() ? 2 : 4);
    }
  }
}

TEST_F(SortViewTest, DrivesEntryStaysFirstInADriveRoot) {
  testutil::TestDrive drive(folder);
  ASSERT_NE(drive.Letter(), 0);
  MakeFolder(At(L"inner"));
  MakeFile(At(L"[a].txt"));
  MakeFile(At(L"b.txt"));
  ListPath(drive.Root());
  EXPECT_EQ(Captions(), (Strings{L"[Drives]", L"[a].txt", L"inner", L"b.txt"}));
  ClickHeader(0);
  EXPECT_EQ(Captions(), (Strings{L"[Drives]", L"[a].txt", L"b.txt", L"inner"}));
  ClickHeader(kSize);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  ClickHeader(kSize);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  // The list does not hold the drive's folder open.
  ListPath(tmp.Path());
}

// --- Selection across a sort -----------------------------------------------------------------

TEST_F(SortViewTest, SelectionAndFocusStayOnTheSameEntriesAcrossASort) {
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"}) MakeFile(At(name));
  List();
  ClickRow(FileList(), RowOf(L"b.txt"));
  CtrlClickRow(FileList(), RowOf(L"d.txt"));
  ASSERT_EQ(SelectedCaptions(), (Strings{L"b.txt", L"d.txt"}));
  ASSERT_EQ(FocusedCaption(), L"d.txt");
  const std::wstring path = PathLine();

  ClickHeader(0);
  ASSERT_EQ(Captions(), (Strings{parent, L"e.txt", L"d.txt", L"c.txt", L"b.txt", L"a.txt"}));
  EXPECT_EQ(SelectedCaptions(), (Strings{L"d.txt", L"b.txt"}));
  EXPECT_EQ(FocusedCaption(), L"d.txt");
  EXPECT_EQ(PathLine(), path);
  EXPECT_EQ(FileList().SelectedCount(), 2);

  // Moving on from the focused entry goes to its neighbour in the new order.
  PressKey(FileList().Handle(), VK_DOWN);
  EXPECT_EQ(SelectedCaptions(), (Strings{L"c.txt"}));
  EXPECT_EQ(PathLine(), At(L"c.txt"));

  // A selection of everything stays everything.
  ListView_SetItemState(FileList().Handle(), -1, LVIS_SELECTED, LVIS_SELECTED);
  testutil::PumpMessages();
  ClickHeader(0);
  EXPECT_EQ(FileList().SelectedCount(), 6);
  EXPECT_EQ(FocusedCaption(), L"c.txt");
}

TEST_F(SortViewTest, SelectedParentEntryIsNotConfusedWithAFileOfTheSameCaption) {
  // A file may carry the very caption the listing gives the parent entry.
  MakeFile(At(parent));
  MakeFile(At(L"x.txt"));
  List();
  ASSERT_EQ(Captions(), (Strings{parent, parent, L"x.txt"}));
  ClickRow(FileList(), 0);
  ASSERT_EQ(SelectedRows(), std::vector<int>{0});

  ClickHeader(0);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(FileList().Focused(), 0);
  EXPECT_EQ(PathLine(), folder);

  // And the other way round: the file stays selected alone.
  ClickRow(FileList(), 1);
  ASSERT_EQ(PathLine(), At(parent));
  ClickHeader(0);
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(FileList().Focused(), 1);
}

// --- Header arrow ------------------------------------------------------------------------------

TEST_F(SortViewTest, ArrowMovesToTheClickedColumnAndTurnsOnTheSecondClick) {
  ExpectArrow(0, true);  // from the start, before anything is listed
  MakeFile(At(L"a.txt"));
  List();
  for (int column : {3, 1, 2, 6, 5, 4, 0}) {
    SCOPED_TRACE(testing::Message() << "column " << column);
    ClickHeader(column);
    EXPECT_EQ(Probe().SortColumn(), column);
    ExpectArrow(column, true);
    ClickHeader(column);
    ExpectArrow(column, false);
    ClickHeader(column);
    ExpectArrow(column, true);
  }
  EXPECT_NE(Probe().SortBitmap(0), Probe().SortBitmap(1));
}

// --- Columns -----------------------------------------------------------------------------------

TEST_F(SortViewTest, HidingAColumnGivesWidthZeroAndShowingItRestoresTheWidth) {
  MakeFile(At(L"a.txt"), 5);
  List();
  ClickMenu(Item(L"mnuSizeCol"));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);
  EXPECT_FALSE(MenuChecked(Item(L"mnuSizeCol")));
  EXPECT_FALSE(Probe().Column(kSize).Shown);
  // Still there, still filled: a hidden column is only a narrow one.
  EXPECT_EQ(FileList().ColumnCount(), TfrmFileBrowser::kColumnCount);
  EXPECT_EQ(Cell(RowOf(L"a.txt"), kSize), L"5");

  ClickMenu(Item(L"mnuSizeCol"));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 60);
  EXPECT_TRUE(MenuChecked(Item(L"mnuSizeCol")));
  EXPECT_TRUE(Probe().Column(kSize).Shown);

  // A width the user dragged is the one that comes back.
  DragDivider(kSize, 35);
  ASSERT_EQ(FileList().ColumnWidth(kSize), 95);
  ClickMenu(Item(L"mnuSizeCol"));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);
  ClickMenu(Item(L"mnuSizeCol"));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 95);

  // Every column item acts on its own column only.
  const ui::MenuItem* items[] = {Item(L"mnuSizeCol"), Item(L"mnuTypeCol"), Item(L"mnuCreatedCol"),
                                 Item(L"mnuModifiedCol"), Item(L"mnuAccessedCol"), Item(L"mnuAttributesCol")};
  const int widths[] = {95, 64, 110, 110, 110, 40};
  for (int column = 1; column <= 6; ++column) {
    SCOPED_TRACE(testing::Message() << "column " << column);
    ClickMenu(items[column - 1]);
    for (int other = 0; other < TfrmFileBrowser::kColumnCount; ++other) {
      int expected = other == column ? 0 : other == 0 ? 110 : widths[other - 1];
      EXPECT_EQ(FileList().ColumnWidth(other), expected) << "width of column " << other;
    }
    EXPECT_FALSE(MenuChecked(items[column - 1]));
    ClickMenu(items[column - 1]);
    EXPECT_EQ(FileList().ColumnWidth(column), widths[column - 1]);
    EXPECT_TRUE(MenuChecked(items[column - 1]));
  }
}

TEST_F(SortViewTest, ColumnsHiddenOrShownInAnotherViewAreSoInDetails) {
  MakeFile(At(L"a.txt"), 5);
  List();
  ClickMenu(ViewItem(Probe(), 2));  // List
  ClickMenu(Item(L"mnuSizeCol"));
  ClickMenu(ViewItem(Probe(), 3));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);
  RECT rc{};
  ASSERT_TRUE(Header_GetItemRect(Header(), kSize, &rc));
  DragHeader(rc.right + 2, 40);
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);

  ClickMenu(ViewItem(Probe(), 0));  // Large Icons
  ClickMenu(Item(L"mnuSizeCol"));
  ClickMenu(ViewItem(Probe(), 3));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 60);
  EXPECT_EQ(FileList().ColumnWidth(2), 64);
}

TEST_F(SortViewTest, AHiddenColumnCannotBeDraggedOpen) {
  MakeFile(At(L"a.txt"), 5);
  List();
  ClickMenu(Item(L"mnuSizeCol"));
  ASSERT_EQ(FileList().ColumnWidth(kSize), 0);
  RECT rc{};
  ASSERT_TRUE(Header_GetItemRect(Header(), kSize, &rc));
  // Just right of the divider is where the header offers to pull a zero-width column open.
  DragHeader(rc.right + 2, 40);
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);
  DragHeader(rc.right, 40);
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);
  EXPECT_EQ(FileList().ColumnWidth(2), 64);
  // Nor opened by a double click there, which would size it to its contents.
  SendMessageW(Header(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.right + 2, (rc.top + rc.bottom) / 2));
  SendMessageW(Header(), WM_LBUTTONUP, 0, MAKELPARAM(rc.right + 2, (rc.top + rc.bottom) / 2));
  testutil::PumpMessages();
  EXPECT_EQ(FileList().ColumnWidth(kSize), 0);

  // Shown again it gets its own width, not one from the refused drags.
  ClickMenu(Item(L"mnuSizeCol"));
  EXPECT_EQ(FileList().ColumnWidth(kSize), 60);

  // A shown column still sizes itself to its contents on a double click at its divider.
  ASSERT_TRUE(Header_GetItemRect(Header(), kSize, &rc));
  SendMessageW(Header(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.right - 1, (rc.top + rc.bottom) / 2));
  SendMessageW(Header(), WM_LBUTTONUP, 0, MAKELPARAM(rc.right - 1, (rc.top + rc.bottom) / 2));
  testutil::PumpMessages();
  EXPECT_NE(FileList().ColumnWidth(kSize), 60);
  EXPECT_GT(FileList().ColumnWidth(kSize), 0);
}

// --- View styles -------------------------------------------------------------------------------

TEST_F(SortViewTest, ViewMenuItemsPressTheirButtonAndSetBothLists) {
  for (int tag : {0, 1, 2, 3, 1, 0}) {
    SCOPED_TRACE(testing::Message() << "view " << tag);
    ClickMenu(ViewItem(Probe(), tag));
    for (int other = 0; other < 4; ++other) {
      EXPECT_EQ(ViewButton(Probe(), other).Down(), other == tag) << "button " << other;
      EXPECT_EQ(MenuChecked(ViewItem(Probe(), other)), other == tag) << "menu item " << other;
    }
    EXPECT_EQ(ListView_GetView(FileList().Handle()), kViews[tag]);
    EXPECT_EQ(ListView_GetView(DriveList().Handle()), kViews[tag]);
  }
}

TEST_F(SortViewTest, ToolbarButtonsCheckTheirMenuItemAndSetBothLists) {
  for (int tag : {2, 0, 1, 3, 3}) {
    SCOPED_TRACE(testing::Message() << "view " << tag);
    ClickButton(ViewButton(Probe(), tag));
    for (int other = 0; other < 4; ++other) {
      EXPECT_EQ(MenuChecked(ViewItem(Probe(), other)), other == tag) << "menu item " << other;
      EXPECT_EQ(ViewItem(Probe(), other)->Checked(), other == tag) << "menu item " << other;
      EXPECT_EQ(ViewButton(Probe(), other).Down(), other == tag) << "button " << other;
    }
    EXPECT_EQ(ListView_GetView(FileList().Handle()), kViews[tag]);
    EXPECT_EQ(ListView_GetView(DriveList().Handle()), kViews[tag]);
  }
}

TEST_F(SortViewTest, BackInDetailsTheArrowStandsOnTheSortColumn) {
  MakeFile(At(L"a.txt"));
  List();
  ClickHeader(kModified);
  ClickHeader(kModified);
  ExpectArrow(kModified, false);

  ClickMenu(Item(L"mnuLargeIcons"));
  // A header may come back without its images (one that is rebuilt does); leave it bare.
  for (int i = 0; i < TfrmFileBrowser::kColumnCount; ++i) {
    HDITEMW hdi{};
    hdi.mask = HDI_FORMAT;
    Header_GetItem(Header(), i, &hdi);
    hdi.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    Header_SetItem(Header(), i, &hdi);
  }
  ClickButton(Button(L"btnDetails"));
  ExpectArrow(kModified, false);

  ClickMenu(Item(L"mnuList"));
  ClickMenu(Item(L"mnuDetails"));
  ExpectArrow(kModified, false);
  // The order itself did not change with the view.
  EXPECT_FALSE(Probe().SortAscending());
  EXPECT_EQ(Probe().SortColumn(), kModified);
}
