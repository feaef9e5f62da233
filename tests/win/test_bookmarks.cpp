// Bookmarks on the real main window and the test prefix's real registry: the button and the pop-up
// item, the Bookmarks menu, opening bookmarks, dropping stale ones, and what a restart finds.
#include "support/BrowserFixture.h"

#include <algorithm>
#include <functional>
#include <map>

#include "menus/core/MenuAccessKey.h"
#include "resources/resource.h"

namespace {

const wchar_t kKey[] = L"Software\\Quillmere Software\\Corvalt\\File Browser";
using Strings = std::vector<std::wstring>;
using Stored = std::map<int, std::wstring>;  // value number -> its data as stored, NUL and all

std::wstring Value(int n) { return L"Key" + std::to_wstring(n); }

void ClearStored() {
  for (int n = 0; n < 8; ++n) RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, Value(n).c_str());
}

// Key0 to Key7 as their bytes stand; a value of another type than REG_SZ as "?".
Stored ReadStored() {
  Stored out;
  HKEY key = nullptr;  // read raw: RegGetValueW would add a missing NUL
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return out;
  const ui::ScopedKey owner(key);
  for (int n = 0; n < 8; ++n) {
    std::wstring data(40000, L'\0');
    DWORD type = 0, bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, Value(n).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) == 0)
      out[n] = type == REG_SZ ? data.substr(0, bytes / sizeof(wchar_t)) : L"?";
  }
  return out;
}

Strings MenuTexts(HMENU menu) {
  Strings out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[512] = {0};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
    out.push_back(text);
  }
  return out;
}

}  // namespace

class BookmarksTest : public BrowserTest {
protected:
  void SetUp() override {
    ClearStored();  // before the window reads them
    BrowserTest::SetUp();
    folder = MakeFolder(tree.Path() + L"Data");
    file = MakeFile(folder + L"report.txt");
    MakeFolder(folder + L"Old");
  }
  void TearDown() override {
    BrowserTest::TearDown();
    ClearStored();  // other test programs expect a window without bookmarks
  }

  void Select(const std::wstring& caption) { ClickRow(FileList(), RowOf(caption)); }
  void OpenBookmark(int position) { ClickMenu(Item(L"mnuBookmarks")->Items().at(position).get()); }
  // The Bookmarks menu as the menu bar holds it; empty when the bar has none.
  Strings BookmarkMenu() const {
    const Strings bar = MenuTexts(GetMenu(form->Handle()));
    if (std::find(bar.begin(), bar.end(), L"&Bookmarks") == bar.end()) return {};
    return MenuTexts(Item(L"mnuBookmarks")->SubMenu());
  }
  // Closes the window as the user does and opens a new one; `between` runs while none is open.
  void Reopen(const std::function<void()>& between = [] {}) {
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    form.reset();
    between();
    BrowserTest::SetUp();
  }
  // A window that starts with these bookmarks stored, most recent first.
  void StartWith(const Strings& paths) {
    Reopen([&] {
      ClearStored();
      for (size_t n = 0; n < paths.size(); ++n)
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, Value(static_cast<int>(n)).c_str(), REG_SZ, paths[n].c_str(),
                        static_cast<DWORD>((paths[n].size() + 1) * sizeof(wchar_t)));
    });
  }
  void ExpectControls(int tag, bool enabled) const {
    const bool add = tag == 3;
    const HMENU popup = Probe().PopupMenu();
    EXPECT_EQ(Button(L"btnBookmark").Tag, tag);
    EXPECT_EQ(Item(L"mnuPopBookmark")->Tag, tag);
    EXPECT_EQ(Button(L"btnBookmark").Hint(), add ? L"Add bookmark" : L"Remove bookmark");
    EXPECT_EQ(MenuTexts(popup).at(0), add ? L"&Add bookmark" : L"&Remove bookmark");
    EXPECT_EQ(Item(L"mnuPopBookmark")->ImageIndex(), add ? MENUIMG_ADDBOOKMARK : MENUIMG_REMOVEBOOKMARK);
    EXPECT_EQ(Button(L"btnBookmark").Enabled(), enabled);
    EXPECT_EQ((GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED) == 0, enabled);
  }
  // The button as painted with the mouse elsewhere.
  std::vector<DWORD> ButtonPicture() const {
    HWND button = Button(L"btnBookmark").Handle();
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ui::WindowDC dc(button);
    std::vector<DWORD> pixels;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 22; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
    return pixels;
  }

  testutil::TempDir tree;
  std::wstring folder, file;  // tree\Data\ and tree\Data\report.txt
};

TEST_F(BookmarksTest, ButtonAndPopupItemAddAndRemoveFilesFoldersAndTheParentEntry) {
  EXPECT_EQ(BookmarkMenu(), Strings{});
  ListPath(folder);  // the parent entry is selected
  const std::vector<DWORD> addLook = ButtonPicture();
  ClickButton(Button(L"btnBookmark"));
  ExpectControls(4, true);
  EXPECT_NE(ButtonPicture(), addLook);
  Select(L"report.txt");
  ExpectControls(3, true);
  ClickMenu(Item(L"mnuPopBookmark"));
  Select(L"Old");
  ClickButton(Button(L"btnBookmark"));
  EXPECT_EQ(BookmarkMenu(), (Strings{L"&0 " + folder + L"Old", L"&1 " + file, L"&2 " + folder}));

  Select(L"report.txt");
  ExpectControls(4, true);
  ClickButton(Button(L"btnBookmark"));
  ExpectControls(3, true);
  EXPECT_EQ(ButtonPicture(), addLook);
  EXPECT_EQ(ReadStored(), (Stored{{0, folder + L"Old" + L'\0'}, {1, folder + L'\0'}}));
  Select(L"Old");
  ClickMenu(Item(L"mnuPopBookmark"));
  ClickRow(FileList(), 0);
  ClickButton(Button(L"btnBookmark"));
  EXPECT_EQ(BookmarkMenu(), Strings{});
  EXPECT_EQ(ReadStored(), Stored{});
}

TEST_F(BookmarksTest, EveryMenuGivesEachOfItsItemsAKeyOfItsOwnInEitherBookmarkState) {
  const std::function<void(HMENU)> expectOwnKeys = [&](HMENU menu) {
    const Strings texts = MenuTexts(menu);
    EXPECT_EQ(pw::SharedAccessKeys(texts), std::vector<wchar_t>{}) << testing::PrintToString(texts);
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
      if (const HMENU sub = GetSubMenu(menu, i)) expectOwnKeys(sub);
  };
  ListPath(folder);
  expectOwnKeys(Probe().PopupMenu());
  ClickButton(Button(L"btnBookmark"));  // the remove state, and a Bookmarks menu
  Select(L"report.txt");
  ClickButton(Button(L"btnBookmark"));
  ASSERT_EQ(MenuTexts(Probe().PopupMenu()).at(0), L"&Remove bookmark");
  expectOwnKeys(Probe().PopupMenu());
  expectOwnKeys(GetMenu(form->Handle()));
}

TEST_F(BookmarksTest, DrivesEntryAndDriveListDisableTheControlsWhichKeepTheirState) {
  const std::wstring onDrive = MakeFile(testutil::ProgramDriveFolder() + L"marked.txt");
  ListPath(testutil::ProgramDrive().Root());
  EXPECT_FALSE(Button(L"btnBookmark").Enabled());  // "[Drives]" is selected
  Select(L"marked.txt");
  ClickButton(Button(L"btnBookmark"));
  Select(L"[Drives]");
  ExpectControls(4, false);
  Select(L"marked.txt");
  ExpectControls(4, true);
  DoubleClickRow(FileList(), RowOf(L"[Drives]"));
  ExpectControls(4, false);
  testutil::RemoveTree(onDrive);
}

TEST_F(BookmarksTest, OpeningListsTheFolderSelectsTheEntryAndMovesItUpOrDropsItWhenGone) {
  const std::wstring old = folder + L"Old\\";  // a parent entry, as listed in Old
  StartWith({old, file});
  OpenBookmark(1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"report.txt")});
  EXPECT_EQ(PathLine(), file);
  ExpectControls(4, true);
  for (int position : {1, 0}) {  // the second time in a row, from the top
    OpenBookmark(position);
    EXPECT_EQ(Captions(), (Strings{L"[Data]"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(PathLine(), old);
    EXPECT_EQ(BookmarkMenu(), (Strings{L"&0 " + old, L"&1 " + file}));
  }
  DeleteFileW(file.c_str());
  OpenBookmark(1);
  EXPECT_EQ(BookmarkMenu(), Strings{L"&0 " + old});
}

TEST_F(BookmarksTest, AnEntryTheViewLeavesOutKeepsItsBookmark) {
  // A folder with Show Folders off, a hidden file with Hidden and Archive off (Wine gives every file
  // the archive bit). The folder is listed and the status bar says why the entry is not there.
  const std::wstring hidden = MakeFile(folder + L"secret.txt");
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  StartWith({hidden, folder + L"Old"});
  ClickMenu(Item(L"mnuShowFolders"));
  ClickMenu(Item(L"mnuHidden"));
  ClickMenu(Item(L"mnuArchive"));
  for (const std::wstring& path : {folder + L"Old", hidden}) {
    OpenBookmark(1);
    EXPECT_EQ(RowOf(LastName(path)), -1);
    EXPECT_EQ(Status().Text(2), L"\"" + LastName(path) + L"\" is hidden by the view");
    EXPECT_EQ(Probe().Bookmarks().front(), path);
  }
  ClickMenu(Item(L"mnuHidden"));
  ClickMenu(Item(L"mnuArchive"));
  OpenBookmark(0);
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"secret.txt")});
  EXPECT_EQ(Status().Text(2), L"");
  EXPECT_EQ(Probe().Bookmarks().size(), 2u);
}

TEST_F(BookmarksTest, AnAmpersandInAPathIsShownAsItIsAndOpensThatPath) {
  const std::wstring rd = MakeFolder(tree.Path() + L"R&D"), plan = MakeFile(rd + L"a&b.txt");
  StartWith({plan});
  EXPECT_EQ(BookmarkMenu(), Strings{L"&0 " + tree.Path() + L"R&&D\\a&&b.txt"});
  OpenBookmark(0);
  EXPECT_EQ(PathLine(), plan);
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"a&b.txt")});
  EXPECT_EQ(Probe().Bookmarks(), Strings{plan});
}

TEST_F(BookmarksTest, ABookmarkIsKeptWhileItsDriveIsAwayAndDroppedOnceItsFolderIsGone) {
  std::wstring unplugged = L"?:\\Photos\\summer.jpg";
  for (wchar_t c = L'P'; unplugged[0] == L'?' && c > L'C'; --c)
    if (!(GetLogicalDrives() & (1u << (c - L'A')))) unplugged[0] = c;
  const std::wstring gone = MakeFolder(tree.Path() + L"Gone") + L"inside.txt";
  StartWith({file, unplugged, gone});
  ListPath(folder);
  const Strings listed = Captions();
  for (int twice = 0; twice < 2; ++twice) {
    OpenBookmark(1);
    EXPECT_EQ(Captions(), listed);
    EXPECT_EQ(PathLine(), unplugged);
    EXPECT_EQ(BookmarkMenu(), (Strings{L"&0 " + file, L"&1 " + unplugged, L"&2 " + gone}));
  }
  // Its drive is there and its folder is not: the bookmark goes, and the status bar says so.
  RemoveDirectoryW((tree.Path() + L"Gone").c_str());
  OpenBookmark(2);
  EXPECT_EQ(Captions(), listed);
  EXPECT_EQ(BookmarkMenu(), (Strings{L"&0 " + file, L"&1 " + unplugged}));
  EXPECT_EQ(Status().Text(2), L"Bookmark removed: \"inside.txt\" is no longer there");
}

TEST_F(BookmarksTest, AnyNameSurvivesARestartAndTheStoreIsReadLeniently) {
  const std::wstring name = L"\u0416\u03A9\u6F22.txt", bare = L"C:\\bare", tooLong(32768, L'x');
  const std::wstring unicode = MakeFile(folder + name);
  // The same file in other letter cases is the same bookmark: the entry shows as bookmarked, and
  // its button takes that bookmark away.
  StartWith({folder + L"\u0436\u03C9\u6F22.TXT"});
  ListPath(folder);
  Select(name);
  ExpectControls(4, true);
  ClickButton(Button(L"btnBookmark"));
  EXPECT_EQ(Probe().Bookmarks(), Strings{});
  ClickButton(Button(L"btnBookmark"));
  EXPECT_EQ(Probe().Bookmarks(), Strings{unicode});
  ClearStored();  // closing the window writes its list back
  Reopen([&] {
    EXPECT_EQ(ReadStored(), (Stored{{0, unicode + L'\0'}}));
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Key1", REG_SZ, bare.data(), 14);  // without its NUL
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Key2", REG_DWORD, &number, sizeof(number));
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Key3", REG_SZ, tooLong.c_str(), 2 * 32769);
  });
  EXPECT_EQ(BookmarkMenu(), (Strings{L"&0 " + unicode, L"&1 " + bare}));
  OpenBookmark(0);
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(name)});
  Reopen();
  EXPECT_EQ(ReadStored(), (Stored{{0, unicode + L'\0'}, {1, bare + L'\0'}}));
}
