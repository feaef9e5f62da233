// Moving through folders and drives, refreshing, the filter toggles, Copy Path, the pop-up menu,
// opening files and Exit, all driven with real messages on the real main window.
#include "support/BrowserFixture.h"
#include "support/Clipboard.h"
#include "support/ShellRecorder.h"
#include "support/TestDrive.h"

namespace {


// Records which keys the file list itself went on to handle: the list reports each key it gets
// to its parent (LVN_KEYDOWN) before acting on it.
class KeysReachingTheList {
public:
  explicit KeysReachingTheList(HWND form) : form_(form) {
    SetWindowSubclass(form_, Proc, 79, reinterpret_cast<DWORD_PTR>(this));
  }
  ~KeysReachingTheList() { RemoveWindowSubclass(form_, Proc, 79); }
  KeysReachingTheList(const KeysReachingTheList&) = delete;
  KeysReachingTheList& operator=(const KeysReachingTheList&) = delete;

  bool Saw(WORD vk) const {
    for (WORD k : keys_)
      if (k == vk) return true;
    return false;
  }
  void Clear() { keys_.clear(); }

private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_KEYDOWN) {
      WORD vk = reinterpret_cast<NMLVKEYDOWN*>(lp)->wVKey;
      reinterpret_cast<KeysReachingTheList*>(self)->keys_.push_back(vk);
    }
    return DefSubclassProc(wnd, msg, wp, lp);
  }
  HWND form_;
  std::vector<WORD> keys_;
};

class NavigationTest : public BrowserTest {
protected:
  void SetUp() override {
    BrowserTest::SetUp();
    data = MakeFolder(tree.Path() + L"Data");
    old = MakeFolder(data + L"Old");
    MakeFile(old + L"x.txt");
    MakeFolder(data + L"a[1]");
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) MakeFile(data + name);
  }

  int DriveRow() const { return DriveRowOf(testutil::ProgramDrive().Root()); }

  bool FilesShown() const {
    return IsWindowVisible(FileList().Handle()) && !IsWindowVisible(DriveList().Handle());
  }

  // Whether asking for the list's context menu (as Shift+F10 does) shows the pop-up menu. A shown
  // menu is closed again at once.
  bool ContextMenuShows() {
    bool shown = false;
    SetWindowSubclass(form->Handle(), MenuSpy, 77, reinterpret_cast<DWORD_PTR>(&shown));
    SendMessageW(FileList().Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FileList().Handle()),
                 MAKELPARAM(-1, -1));
    testutil::PumpMessages();
    RemoveWindowSubclass(form->Handle(), MenuSpy, 77);
    return shown;
  }
  static LRESULT CALLBACK MenuSpy(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR shown) {
    if (msg == WM_INITMENUPOPUP || msg == WM_ENTERMENULOOP) {
      *reinterpret_cast<bool*>(shown) = true;
      EndMenu();
    }
    return DefSubclassProc(wnd, msg, wp, lp);
  }

  testutil::TempDir tree;
  std::wstring data, old;  // tree\Data\ and tree\Data\Old\ (with trailing backslashes)
};

using Strings = std::vector<std::wstring>;

// --- Opening folders, the parent entry and the drives entry ------------------------------------

TEST_F(NavigationTest, DoubleClickOnAFolderListsItWithTheParentEntryFirstAndSelected) {
  ListPath(data);
  int row = RowOf(L"Old");
  ASSERT_GE(row, 0);
  DoubleClickRow(FileList(), row);

  EXPECT_TRUE(FilesShown());
  EXPECT_EQ(Captions(), (Strings{L"[Data]", L"x.txt"}));
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(Cell(0, 7), old);  // the parent entry stands for the listed folder
  EXPECT_EQ(PathLine(), old);
  EXPECT_EQ(Probe().CurrentPath(), old);
  EXPECT_EQ(Status().Text(0), L"Files: 1");
  EXPECT_EQ(Status().Text(1), L"Folders: 0");
  EXPECT_EQ(GetFocus(), FileList().Handle());
}

TEST_F(NavigationTest, EnterOpensTheFirstSelectedEntryAndNothingWhenNoneIsSelected) {
  ListPath(data);
  int row = RowOf(L"Old");
  ASSERT_GE(row, 0);
  ClickRow(FileList(), row);
  ASSERT_EQ(PathLine(), data + L"Old");  // selecting a folder shows its own path
  PressKey(FileList().Handle(), VK_RETURN);
  EXPECT_EQ(Captions(), (Strings{L"[Data]", L"x.txt"}));
  EXPECT_EQ(PathLine(), old);

  // Nothing selected: Enter leaves everything where it is.
  ListView_SetItemState(FileList().Handle(), -1, 0, LVIS_SELECTED);
  testutil::PumpMessages();
  const std::wstring kept = Probe().CurrentPath();
  PressKey(FileList().Handle(), VK_RETURN);
  EXPECT_EQ(Captions(), (Strings{L"[Data]", L"x.txt"}));
  EXPECT_EQ(Probe().CurrentPath(), kept);
  EXPECT_EQ(PathLine(), kept);
}

TEST_F(NavigationTest, TheParentEntryGoesUpAndSelectsTheNewParentEntry) {
  ListPath(old);
  ASSERT_EQ(Cell(0, 0), L"[Data]");
  DoubleClickRow(FileList(), 0);

  ASSERT_GE(FileList().Count(), 1);
  EXPECT_EQ(Cell(0, 0), L"[" + LastName(tree.Path()) + L"]");
  EXPECT_NE(RowOf(L"Old"), -1);
  EXPECT_NE(RowOf(L"a.txt"), -1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(PathLine(), data);
  EXPECT_EQ(Probe().CurrentPath(), data);
  EXPECT_EQ(Status().Text(0), L"Files: 3");
  EXPECT_EQ(Status().Text(1), L"Folders: 2");
}

TEST_F(NavigationTest, UpFromADrivesFirstLevelReachesTheRootWithTheDrivesEntrySelected) {
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  const std::wstring root = testutil::ProgramDrive().Root();
  std::wstring sub = MakeFolder(root + L"Sub");
  MakeFile(sub + L"inner.txt");
  MakeFile(root + L"top.txt");
  ListPath(sub);
  ASSERT_EQ(Cell(0, 0), L"[..]");
  EXPECT_EQ(Cell(0, 7), sub);

  PressKey(FileList().Handle(), VK_RETURN);  // the parent entry is selected after the listing
  ASSERT_GE(FileList().Count(), 3);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  EXPECT_EQ(RowOf(L"[..]"), -1);
  EXPECT_NE(RowOf(L"Sub"), -1);
  EXPECT_NE(RowOf(L"top.txt"), -1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(PathLine(), L"");
  EXPECT_EQ(Probe().CurrentPath(), L"");

  // The process's current directory followed the listing.
  wchar_t cwd[MAX_PATH] = {0};
  GetCurrentDirectoryW(MAX_PATH, cwd);
  EXPECT_TRUE(SameText(cwd, root)) << testing::PrintToString(std::wstring(cwd));
  testutil::RemoveTree(sub.substr(0, sub.size() - 1));
  DeleteFileW((root + L"top.txt").c_str());
}

TEST_F(NavigationTest, TheDrivesEntryShowsTheDriveListWithItsDriveSelected) {
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  int drive = DriveRow();
  ASSERT_GE(drive, 0);
  ClickRow(DriveList(), drive);
  PressKey(DriveList().Handle(), VK_RETURN);
  ASSERT_TRUE(FilesShown());
  ASSERT_EQ(Cell(0, 0), L"[Drives]");
  ASSERT_NE(Status().Text(0), L"");
  const int drives = DriveList().Count();

  DoubleClickRow(FileList(), 0);
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_FALSE(IsWindowVisible(FileList().Handle()));
  EXPECT_EQ(PathLine(), L"");
  EXPECT_EQ(Probe().CurrentPath(), L"");
  EXPECT_EQ(Status().Text(0), L"");
  EXPECT_EQ(Status().Text(1), L"");
  EXPECT_EQ(DriveList().Count(), drives);
  EXPECT_EQ(DriveList().FirstSelected(), drive);
  EXPECT_EQ(GetFocus(), DriveList().Handle());

  // The same by keys: into the drive again, Enter on "[Drives]".
  PressKey(DriveList().Handle(), VK_RETURN);
  ASSERT_TRUE(FilesShown());
  PressKey(FileList().Handle(), VK_RETURN);
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_EQ(DriveList().FirstSelected(), drive);
  EXPECT_EQ(Status().Text(0), L"");
}

TEST_F(NavigationTest, AFolderThatCannotBeEnteredKeepsTheListButTakesThePath) {
  ListPath(data);
  int row = RowOf(L"Old");
  ASSERT_GE(row, 0);
  const Strings before = Captions();
  testutil::RemoveTree(old.substr(0, old.size() - 1));
  DoubleClickRow(FileList(), row);
  EXPECT_EQ(Captions(), before);
  EXPECT_EQ(PathLine(), old);
  EXPECT_EQ(Status().Text(0), L"Files: 3");
  EXPECT_TRUE(FilesShown());
}

// --- Left and Right -----------------------------------------------------------------------------

TEST_F(NavigationTest, RightOpensOnlyAPlainFolderInTheDetailsView) {
  ListPath(data);
  HWND list = FileList().Handle();
  KeysReachingTheList keys(form->Handle());

  // A folder whose name holds a bracket: nothing opens and the list never sees the key.
  int odd = RowOf(L"a[1]");
  ASSERT_GE(odd, 0);
  ClickRow(FileList(), odd);
  const Strings before = Captions();
  PressKey(list, VK_RIGHT);
  EXPECT_EQ(Captions(), before);
  EXPECT_EQ(PathLine(), data + L"a[1]");
  EXPECT_EQ(SelectedRows(), std::vector<int>{odd});
  EXPECT_FALSE(keys.Saw(VK_RIGHT));

  // A file: the same.
  ClickRow(FileList(), RowOf(L"b.txt"));
  PressKey(list, VK_RIGHT);
  EXPECT_EQ(Captions(), before);
  EXPECT_EQ(PathLine(), data + L"b.txt");
  EXPECT_FALSE(keys.Saw(VK_RIGHT));

  // Nothing selected: the key goes on to the list.
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  testutil::PumpMessages();
  PressKey(list, VK_RIGHT);
  EXPECT_EQ(Captions(), before);
  EXPECT_TRUE(keys.Saw(VK_RIGHT));

  // A plain folder opens, and the key is kept from the list.
  keys.Clear();
  ClickRow(FileList(), RowOf(L"Old"));
  PressKey(list, VK_RIGHT);
  EXPECT_EQ(Captions(), (Strings{L"[Data]", L"x.txt"}));
  EXPECT_EQ(PathLine(), old);
  EXPECT_FALSE(keys.Saw(VK_RIGHT));

  // Enter opens and still goes on to the list.
  ClickRow(FileList(), 0);
  PressKey(list, VK_RETURN);
  EXPECT_EQ(PathLine(), data);
  EXPECT_TRUE(keys.Saw(VK_RETURN));
}

TEST_F(NavigationTest, LeftOpensTheFirstEntryOnlyWhenItIsBracketed) {
  ListPath(old);
  HWND list = FileList().Handle();
  KeysReachingTheList keys(form->Handle());
  ClickRow(FileList(), 1);  // the file: Left still opens the first entry
  PressKey(list, VK_LEFT);
  EXPECT_EQ(Cell(0, 0), L"[" + LastName(tree.Path()) + L"]");
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(PathLine(), data);
  EXPECT_FALSE(keys.Saw(VK_LEFT));

  // With folders hidden there is no parent entry; the first entry is an ordinary file, so the
  // key goes on to the list and nothing opens.
  ClickMenu(Item(L"mnuShowFolders"));
  ListPath(old);
  ASSERT_EQ(Captions(), Strings{L"x.txt"});
  PressKey(list, VK_LEFT);
  EXPECT_EQ(Captions(), Strings{L"x.txt"});
  EXPECT_EQ(PathLine(), old + L"x.txt");
  EXPECT_TRUE(keys.Saw(VK_LEFT));

  // An empty list: nothing happens either, and the key goes on.
  keys.Clear();
  std::wstring empty = MakeFolder(tree.Path() + L"Empty");
  ListPath(empty);
  ASSERT_EQ(FileList().Count(), 0);
  PressKey(list, VK_LEFT);
  EXPECT_EQ(FileList().Count(), 0);
  EXPECT_EQ(PathLine(), empty);
  EXPECT_TRUE(keys.Saw(VK_LEFT));
}

TEST_F(NavigationTest, LeftAndRightMoveTheFocusInTheOtherViews) {
  std::wstring many = MakeFolder(tree.Path() + L"Many");
  for (int i = 0; i < 60; ++i) MakeFile(many + L"f" + std::to_wstring(100 + i) + L".txt");
  HWND list = FileList().Handle();

  for (const ui::MenuItem* view : {Item(L"mnuList"), Item(L"mnuLargeIcons"), Item(L"mnuSmallIcons")}) {
    SCOPED_TRACE(testing::PrintToString(view->Name));
    ClickMenu(view);
    ListPath(many);
    ASSERT_EQ(Cell(0, 0), L"[" + LastName(tree.Path()) + L"]");
    ASSERT_EQ(SelectedRows(), std::vector<int>{0});
    const int count = FileList().Count();

    PressKey(list, VK_RIGHT);
    int moved = FileList().Focused();
    EXPECT_GT(moved, 0);
    EXPECT_EQ(FileList().Count(), count);  // the parent entry was not opened
    EXPECT_EQ(SelectedRows(), std::vector<int>{moved});
    EXPECT_EQ(PathLine(), testutil::ItemText(FileList().Handle(), moved, 0).insert(0, many));

    PressKey(list, VK_LEFT);
    EXPECT_EQ(FileList().Focused(), 0);
    EXPECT_EQ(FileList().Count(), count);
    EXPECT_EQ(PathLine(), many);
  }
}

// --- Selection ----------------------------------------------------------------------------------

TEST_F(NavigationTest, EachNewlySelectedEntryTakesThePathLine) {
  ListPath(data);
  int a = RowOf(L"a.txt"), b = RowOf(L"b.txt"), c = RowOf(L"c.txt");
  ClickRow(FileList(), c);
  EXPECT_EQ(PathLine(), data + L"c.txt");
  EXPECT_EQ(Probe().CurrentPath(), data + L"c.txt");

  // A range selected at once reports its entries in list order: the last one has the path line.
  ClickRow(FileList(), a);
  ShiftClickRow(FileList(), c);
  ASSERT_EQ(SelectedRows(), (std::vector<int>{a, b, c}));
  EXPECT_EQ(PathLine(), data + L"c.txt");

  // Taking an entry out of the selection leaves the path line as it was.
  CtrlClickRow(FileList(), b);
  ASSERT_EQ(SelectedRows(), (std::vector<int>{a, c}));
  EXPECT_EQ(PathLine(), data + L"c.txt");
  CtrlClickRow(FileList(), b);
  EXPECT_EQ(PathLine(), data + L"b.txt");

  // Folders show their path without a trailing backslash, the parent entry the listed folder.
  ClickRow(FileList(), RowOf(L"Old"));
  EXPECT_EQ(PathLine(), data + L"Old");
  ClickRow(FileList(), 0);
  EXPECT_EQ(PathLine(), data);
}

// --- Refresh ------------------------------------------------------------------------------------

TEST_F(NavigationTest, RefreshKeepsTheSelectedEntryByItsCaption) {
  ListPath(data);
  ClickRow(FileList(), RowOf(L"b.txt"));
  MakeFile(data + L"a0.txt");  // shifts the rows below it
  // Through another name: a rename that changes only the letter case may be refused.
  ASSERT_TRUE(MoveFileW((data + L"b.txt").c_str(), (data + L"b.tmp").c_str()));
  ASSERT_TRUE(MoveFileW((data + L"b.tmp").c_str(), (data + L"B.TXT").c_str()));
  ClickMenu(Item(L"mnuRefresh"));
  int row = RowOf(L"B.TXT");
  ASSERT_GE(row, 0);
  EXPECT_EQ(SelectedRows(), std::vector<int>{row});
  EXPECT_EQ(FileList().Focused(), row);
  EXPECT_EQ(PathLine(), data + L"B.TXT");
  EXPECT_EQ(Status().Text(0), L"Files: 4");

  // The toolbar button does the same.
  MakeFile(data + L"0.txt");
  SendMessageW(Button(L"btnRefresh").Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(Button(L"btnRefresh").Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  testutil::PumpMessages();
  EXPECT_EQ(Status().Text(0), L"Files: 5");
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"B.TXT")});
}

TEST_F(NavigationTest, RefreshSelectsTheFirstEntryWhenTheSelectedOneIsGone) {
  ListPath(data);
  ClickRow(FileList(), RowOf(L"c.txt"));
  ASSERT_TRUE(DeleteFileW((data + L"c.txt").c_str()));
  ClickMenu(Item(L"mnuRefresh"));
  EXPECT_EQ(RowOf(L"c.txt"), -1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(PathLine(), data);
  EXPECT_EQ(Status().Text(0), L"Files: 2");

  // Nothing selected before the refresh: the first entry afterwards.
  ListView_SetItemState(FileList().Handle(), -1, 0, LVIS_SELECTED);
  testutil::PumpMessages();
  ClickMenu(Item(L"mnuRefresh"));
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
}

TEST_F(NavigationTest, RefreshWithSeveralSelectedKeepsOnlyTheFirst) {
  ListPath(data);
  int a = RowOf(L"a.txt"), c = RowOf(L"c.txt");
  ClickRow(FileList(), a);
  CtrlClickRow(FileList(), c);  // c is now the focused entry, a the first selected
  ASSERT_EQ(SelectedRows(), (std::vector<int>{a, c}));
  ClickMenu(Item(L"mnuRefresh"));
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"a.txt")});
  EXPECT_EQ(PathLine(), data + L"a.txt");
}

TEST_F(NavigationTest, RefreshInTheDriveListReselectsTheDrive) {
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  ASSERT_TRUE(IsWindowVisible(DriveList().Handle()));
  int drive = DriveRow();
  ASSERT_GT(drive, 0);
  ClickRow(DriveList(), drive);
  const std::wstring caption = testutil::ItemText(DriveList().Handle(), drive, 0);
  const int count = DriveList().Count();
  ClickMenu(Item(L"mnuRefresh"));
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_EQ(DriveList().Count(), count);
  ASSERT_EQ(DriveList().SelectedCount(), 1);
  EXPECT_EQ(testutil::ItemText(DriveList().Handle(), DriveList().FirstSelected(), 0), caption);
  EXPECT_EQ(DriveList().Focused(), DriveList().FirstSelected());
}

// --- Filter toggles -----------------------------------------------------------------------------

TEST_F(NavigationTest, TheAttributeTogglesRelistAtOnce) {
  // Wine keeps the archive bit on every file, so the files that are to vanish by their hidden bit
  // vanish once "&Archive" is unchecked as well.
  std::wstring attr = MakeFolder(tree.Path() + L"Attr");
  MakeFile(attr + L"plain.txt");
  SetFileAttributesW(MakeFile(attr + L"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  SetFileAttributesW(MakeFile(attr + L"rh.txt").c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  std::wstring hiddenFolder = MakeFolder(attr + L"hfolder");
  SetFileAttributesW(hiddenFolder.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
  ASSERT_EQ(GetFileAttributesW((attr + L"h.txt").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(GetFileAttributesW((attr + L"plain.txt").c_str()) & FILE_ATTRIBUTE_ARCHIVE);
  ListPath(attr);
  ASSERT_EQ(Status().Text(0), L"Files: 3");
  const std::wstring parent = L"[" + LastName(tree.Path()) + L"]";

  ClickMenu(Item(L"mnuArchive"));
  EXPECT_FALSE(Item(L"mnuArchive")->Checked());
  EXPECT_EQ(Probe().AttrMask(), 1 | 2 | 4 | 128);
  EXPECT_EQ(Captions(), (Strings{parent, L"hfolder", L"h.txt", L"rh.txt"}));
  EXPECT_TRUE(SelectedRows().empty());

  ClickMenu(Item(L"mnuHidden"));
  EXPECT_FALSE(Item(L"mnuHidden")->Checked());
  EXPECT_EQ(Probe().AttrMask(), 1 | 4 | 128);
  EXPECT_EQ(Captions(), (Strings{parent, L"hfolder", L"rh.txt"}));  // folders stay whatever the filter
  EXPECT_EQ(Status().Text(0), L"Files: 1");
  EXPECT_EQ(Status().Text(1), L"Folders: 1");

  ClickMenu(Item(L"mnuHidden"));
  ClickMenu(Item(L"mnuArchive"));
  EXPECT_EQ(Probe().AttrMask(), 167);
  EXPECT_EQ(Status().Text(0), L"Files: 3");
}

TEST_F(NavigationTest, TheAttributeToggleInTheDriveListChangesNothingThere) {
  ASSERT_TRUE(IsWindowVisible(DriveList().Handle()));
  const int selected = DriveList().FirstSelected();
  ClickMenu(Item(L"mnuSystem"));
  EXPECT_EQ(Probe().AttrMask(), 1 | 2 | 32 | 128);
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_EQ(FileList().Count(), 0);
  EXPECT_EQ(Status().Text(0), L"");
  EXPECT_EQ(DriveList().FirstSelected(), selected);
}

TEST_F(NavigationTest, ShowFoldersRelistsAtOnce) {
  ListPath(data);
  ClickMenu(Item(L"mnuShowFolders"));
  EXPECT_TRUE(Probe().HideFolders());
  EXPECT_FALSE(Item(L"mnuShowFolders")->Checked());
  EXPECT_EQ(Captions(), (Strings{L"a.txt", L"b.txt", L"c.txt"}));
  EXPECT_TRUE(SelectedRows().empty());

  ClickMenu(Item(L"mnuShowFolders"));
  EXPECT_FALSE(Probe().HideFolders());
  EXPECT_NE(RowOf(L"Old"), -1);
  EXPECT_NE(RowOf(L"a[1]"), -1);
  EXPECT_EQ(FileList().Count(), 6);

  // In a drive root the drives entry stays and the folder goes.
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  std::wstring sub = MakeFolder(testutil::ProgramDrive().Root() + L"Folder");
  MakeFile(testutil::ProgramDrive().Root() + L"root.txt");
  ListPath(testutil::ProgramDrive().Root());
  ASSERT_NE(RowOf(L"Folder"), -1);
  ClickRow(FileList(), RowOf(L"root.txt"));
  ClickMenu(Item(L"mnuShowFolders"));
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  EXPECT_EQ(RowOf(L"Folder"), -1);
  EXPECT_NE(RowOf(L"root.txt"), -1);
  testutil::RemoveTree(sub.substr(0, sub.size() - 1));
  DeleteFileW((testutil::ProgramDrive().Root() + L"root.txt").c_str());
}

// --- Copy Path ----------------------------------------------------------------------------------

TEST_F(NavigationTest, CopyPathPutsTheSelectedPathsOnTheClipboard) {
  ListPath(data);
  int a = RowOf(L"a.txt"), b = RowOf(L"b.txt"), c = RowOf(L"c.txt");

  ClickRow(FileList(), b);
  ClickMenu(Item(L"mnuCopyPath"));
  EXPECT_EQ(testutil::ClipboardText(), data + L"b.txt");

  ClickRow(FileList(), c);
  CtrlClickRow(FileList(), a);
  CtrlClickRow(FileList(), b);
  ClickMenu(Item(L"mnuCopyPath"));
  EXPECT_EQ(testutil::ClipboardText(), data + L"a.txt\r" + data + L"b.txt\r" + data + L"c.txt");

  // A folder is copied without a trailing backslash, the parent entry as the listed folder with one.
  ClickRow(FileList(), 0);
  CtrlClickRow(FileList(), RowOf(L"Old"));
  ClickMenu(Item(L"mnuCopyPath"));
  EXPECT_EQ(testutil::ClipboardText(), data + L"\r" + data + L"Old");
}

TEST_F(NavigationTest, CopyPathOfTheDrivesEntryIsAnEmptyLine) {
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  MakeFile(testutil::ProgramDrive().Root() + L"copy.txt");
  ListPath(testutil::ProgramDrive().Root());
  ASSERT_EQ(SelectedRows(), std::vector<int>{0});
  ASSERT_TRUE(testutil::SetClipboardText(L"before"));
  ClickMenu(Item(L"mnuCopyPath"));
  EXPECT_EQ(testutil::ClipboardText(), L"");

  CtrlClickRow(FileList(), RowOf(L"copy.txt"));
  ClickMenu(Item(L"mnuCopyPath"));
  EXPECT_EQ(testutil::ClipboardText(), L"\r" + testutil::ProgramDrive().Root() + L"copy.txt");
  DeleteFileW((testutil::ProgramDrive().Root() + L"copy.txt").c_str());
}

TEST_F(NavigationTest, CopyPathWithNothingSelectedKeepsTheClipboard) {
  ListPath(data);
  ASSERT_TRUE(testutil::SetClipboardText(L"keep me"));
  ListView_SetItemState(FileList().Handle(), -1, 0, LVIS_SELECTED);
  testutil::PumpMessages();
  ASSERT_TRUE(SelectedRows().empty());
  ClickMenu(Item(L"mnuCopyPath"));
  EXPECT_EQ(testutil::ClipboardText(), L"keep me");
}

// --- The pop-up menu ----------------------------------------------------------------------------

TEST_F(NavigationTest, ThePopupMenuIsThereOnlyWhileAnEntryIsSelected) {
  ListPath(data);
  int a = RowOf(L"a.txt"), b = RowOf(L"b.txt"), c = RowOf(L"c.txt");
  ClickRow(FileList(), a);
  CtrlClickRow(FileList(), c);
  ASSERT_EQ(SelectedRows(), (std::vector<int>{a, c}));
  EXPECT_TRUE(ContextMenuShows());

  // Taking one of two out leaves the list without a menu, though the other stays selected.
  CtrlClickRow(FileList(), c);
  ASSERT_EQ(SelectedRows(), std::vector<int>{a});
  EXPECT_FALSE(ContextMenuShows());

  ClickRow(FileList(), b);
  EXPECT_TRUE(ContextMenuShows());
}

// --- Opening files ------------------------------------------------------------------------------

TEST_F(NavigationTest, EnterOnAFileStartsItsProgramInTheListedFolder) {
  testutil::ShellRecorder type;
  ASSERT_TRUE(type.HandleFileType(L".pwtest")) << testing::PrintToString(type.Helper());
  MakeFile(data + L"doc.pwtest", 10);
  ListPath(data);
  int row = RowOf(L"doc.pwtest");
  ASSERT_GE(row, 0);
  ClickRow(FileList(), row);
  const Strings before = Captions();
  const std::wstring status = Status().Text(0);

  PressKey(FileList().Handle(), VK_RETURN);
  auto record = type.WaitForRecord();
  ASSERT_TRUE(record.has_value()) << "the file's program did not start";
  EXPECT_TRUE(SameText(record->first, data + L"doc.pwtest")) << testing::PrintToString(record->first);
  EXPECT_TRUE(SameText(record->second, data.substr(0, data.size() - 1)))
      << testing::PrintToString(record->second);

  EXPECT_EQ(Captions(), before);
  EXPECT_EQ(SelectedRows(), std::vector<int>{row});
  EXPECT_EQ(PathLine(), data + L"doc.pwtest");
  EXPECT_EQ(Probe().CurrentPath(), data + L"doc.pwtest");
  EXPECT_EQ(Status().Text(0), status);
  EXPECT_TRUE(FilesShown());
}

TEST_F(NavigationTest, LeftNeverStartsAFileWhoseNameBeginsWithABracket) {
  std::wstring notes = MakeFolder(tree.Path() + L"Notes");
  MakeFile(notes + L"[setup].exe");
  MakeFile(notes + L"zeta.txt");
  MakeFolder(notes + L"Inner");
  ClickMenu(Item(L"mnuShowFolders"));
  ListPath(notes);
  ASSERT_EQ(Captions(), (Strings{L"[setup].exe", L"zeta.txt"}));
  ClickRow(FileList(), 1);

  KeysReachingTheList keys(form->Handle());
  PressKey(FileList().Handle(), VK_LEFT);
  EXPECT_TRUE(keys.Saw(VK_LEFT));  // the list had the key: nothing was opened
  EXPECT_EQ(Captions(), (Strings{L"[setup].exe", L"zeta.txt"}));
  EXPECT_EQ(PathLine(), notes + L"zeta.txt");
}

TEST_F(NavigationTest, RelistingRightAfterOpeningADriveListsItsRoot) {
  // Opening a drive selects its drives entry, which empties the current path; the toggles and
  // Refresh still act on the root that is shown.
  ASSERT_NE(testutil::ProgramDrive().Letter(), 0);
  const std::wstring root = testutil::ProgramDrive().Root();
  SetFileAttributesW(MakeFile(root + L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(root + L"plain.txt");
  ClickRow(DriveList(), DriveRow());
  PressKey(DriveList().Handle(), VK_RETURN);
  ASSERT_TRUE(FilesShown());
  ASSERT_EQ(PathLine(), L"");
  ASSERT_NE(RowOf(L"hidden.txt"), -1);

  ClickMenu(Item(L"mnuArchive"));  // Wine gives every file the archive bit
  ClickMenu(Item(L"mnuHidden"));
  EXPECT_EQ(RowOf(L"hidden.txt"), -1);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  ClickMenu(Item(L"mnuHidden"));
  ClickMenu(Item(L"mnuArchive"));
  EXPECT_NE(RowOf(L"hidden.txt"), -1);

  MakeFile(root + L"late.txt");
  ClickMenu(Item(L"mnuRefresh"));
  EXPECT_NE(RowOf(L"late.txt"), -1);
  for (const wchar_t* name : {L"hidden.txt", L"plain.txt", L"late.txt"}) {
    SetFileAttributesW((root + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW((root + name).c_str());
  }
}

// --- Exit ---------------------------------------------------------------------------------------

TEST_F(NavigationTest, ExitClosesTheWindow) {
  HWND wnd = form->Handle();
  ClickMenu(Item(L"mnuExit"));
  testutil::PumpMessages();
  EXPECT_FALSE(IsWindow(wnd));
}

}  // namespace

