// The shown folder followed on disk without F5: entries another program creates, renames, re-times
// and deletes appear, change and go in place with the selection, the focus and the first row shown
// kept; a burst ends in one consistent list; a folder deleted while shown gives way to its parent.
#include "support/BrowserFixture.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "browse/platform/FolderFeed.h"
#include "common/core/ProgramKey.h"

namespace {

class FolderWatchTest : public BrowserFolderTest {
protected:
  FolderWatchTest() : BrowserFolderTest(L"Watched") {}

  // Answers the window's messages until `done` holds, for at most five seconds; whether it did.
  static bool Within(const std::function<bool()>& done, std::chrono::milliseconds most = std::chrono::seconds(5)) {
    return testutil::AnswerUntil(done, most);
  }
};

}  // namespace

TEST_F(FolderWatchTest, EntriesMadeRenamedRetimedAndDeletedShowWithoutRefreshKeepingTheSelection) {
  MakeFile(base + L"b.txt");
  MakeFile(base + L"d.txt");
  MakeFile(base + L"f.txt");
  ListPath(base);
  const std::wstring parent = ParentCaptionOf(base);
  ASSERT_EQ(Captions(), (std::vector<std::wstring>{parent, L"b.txt", L"d.txt", L"f.txt"}));
  ClickRow(FileList(), RowOf(L"d.txt"));
  CtrlClickRow(FileList(), RowOf(L"f.txt"));

  // Made: in its place by name, the selection staying on its entries.
  MakeFile(base + L"c.txt", 10);
  MakeFolder(base + L"Sub");
  ASSERT_TRUE(Within([&] { return RowOf(L"c.txt") >= 0 && RowOf(L"Sub") >= 0; }));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{parent, L"Sub", L"b.txt", L"c.txt", L"d.txt", L"f.txt"}));
  EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"d.txt", L"f.txt"}));
  EXPECT_EQ(FocusedCaption(), L"f.txt");
  EXPECT_EQ(Status().Text(0), L"Files: 4");
  EXPECT_EQ(Status().Text(1), L"Folders: 1");

  // Re-timed and grown: the row shows the new values.
  MakeFile(base + L"b.txt", 2048);
  const unsigned long long written = UtcFileTime(2001, 2, 3, 4, 5, 6, 789);
  ASSERT_TRUE(SetTimes(base + L"b.txt", 0, 0, written));
  ASSERT_TRUE(Within([&] { return Cell(RowOf(L"b.txt"), 4).find(L":06:789") != std::wstring::npos; }))
      << Cell(RowOf(L"b.txt"), 4);
  EXPECT_EQ(Cell(RowOf(L"b.txt"), 1), L"2,048");

  // Renamed: the selected entry keeps its selection under its new name, in its new place; the path
  // line names it by its new name, and the bookmark button says it is no bookmark (f.txt was).
  ClickButton(Button(L"btnBookmark"));
  ASSERT_EQ(Button(L"btnBookmark").Tag, 4);
  ASSERT_EQ(PathLine(), base + L"f.txt");
  ASSERT_TRUE(MoveFileW((base + L"f.txt").c_str(), (base + L"a.txt").c_str()));
  ASSERT_TRUE(Within([&] { return RowOf(L"f.txt") < 0 && RowOf(L"a.txt") >= 0; }));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{parent, L"Sub", L"a.txt", L"b.txt", L"c.txt", L"d.txt"}));
  EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"a.txt", L"d.txt"}));
  EXPECT_EQ(PathLine(), base + L"a.txt");
  EXPECT_EQ(Button(L"btnBookmark").Tag, 3);

  // Deleted: gone from the list and the counts; the others keep their selection, and the path line
  // names the one still selected.
  ASSERT_TRUE(DeleteFileW((base + L"a.txt").c_str()));
  ASSERT_TRUE(DeleteFileW((base + L"c.txt").c_str()));
  ASSERT_TRUE(Within([&] { return RowOf(L"a.txt") < 0 && RowOf(L"c.txt") < 0; }));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{parent, L"Sub", L"b.txt", L"d.txt"}));
  EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"d.txt"}));
  EXPECT_EQ(Status().Text(0), L"Files: 2");
  EXPECT_EQ(PathLine(), base + L"d.txt");

  // A folder made while Show Folders is off stays out of the list.
  ClickMenu(Item(L"mnuShowFolders"));
  ASSERT_FALSE(Item(L"mnuShowFolders")->Checked());
  MakeFolder(base + L"Other");
  MakeFile(base + L"shown.txt");
  ASSERT_TRUE(Within([&] { return RowOf(L"shown.txt") >= 0; }));
  EXPECT_LT(RowOf(L"Other"), 0);
  ClickMenu(Item(L"mnuShowFolders"));
  // The window stores its bookmark of f.txt when it goes; the other tests start without any.
  form.reset();
  RegDeleteKeyValueW(HKEY_CURRENT_USER, pw::FileBrowserKeyPath().c_str(), L"Key0");
}

TEST_F(FolderWatchTest, ABurstOfNewFilesEndsInOneConsistentListWithTheFirstRowShownKept) {
  constexpr int kOld = 300, kNew = 2000;
  for (int i = 0; i < kOld; ++i) MakeFile(base + L"old" + std::to_wstring(1000 + i) + L".txt");
  ListPath(base);
  ASSERT_EQ(FileList().Count(), kOld + 1);
  // Scrolled down, one entry selected and focused.
  ListView_EnsureVisible(FileList().Handle(), kOld, FALSE);
  ClickRow(FileList(), RowOf(L"old1290.txt"));
  const int top = ListView_GetTopIndex(FileList().Handle());
  ASSERT_GT(top, 0);
  const std::wstring topCaption = Cell(top, 0);

  // New names sorting before the old ones: every row shown moves down by the burst.
  for (int i = 0; i < kNew; ++i) MakeFile(base + L"new" + std::to_wstring(10000 + i) + L".txt");
  ASSERT_TRUE(Within([&] { return FileList().Count() == kOld + kNew + 1; }, std::chrono::seconds(30)))
      << FileList().Count();
  const std::vector<std::wstring> shown = Captions();
  std::vector<std::wstring> sorted(shown.begin() + 1, shown.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_TRUE(std::equal(sorted.begin(), sorted.end(), shown.begin() + 1)) << "in order";
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "each once";
  EXPECT_EQ(Status().Text(0), L"Files: " + std::to_wstring(kOld + kNew));
  EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"old1290.txt"}));
  EXPECT_EQ(Cell(ListView_GetTopIndex(FileList().Handle()), 0), topCaption);
}

TEST_F(FolderWatchTest, AShownFolderDeletedGivesWayToItsParentWithANote) {
  const std::wstring inner = MakeFolder(base + L"Inner");
  MakeFile(inner + L"x.txt");
  const std::wstring bin = MakeFolder(dir->Path() + L"Bin");
  ListPath(inner);
  ASSERT_EQ(Captions().size(), 2u);
  // Deleted as Explorer deletes, into the recycle bin: moved away. The listed folder is the
  // process's current one, which the system keeps in place: the test lets go of it first.
  SetCurrentDirectoryW(bin.c_str());
  ASSERT_TRUE(MoveFileW(inner.c_str(), (bin + L"Inner").c_str()));
  ASSERT_TRUE(Within([&] { return PathLine() == base; })) << PathLine();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{ParentCaptionOf(base)}));
  EXPECT_EQ(Status().Text(2), L"Folder no longer there: Inner");

  // Its parent gone as well, with its own parent: the nearest folder still there is shown.
  const std::wstring nested = MakeFolder(base + L"Deeper");
  ListPath(nested);
  SetCurrentDirectoryW(bin.c_str());
  ASSERT_TRUE(MoveFileW(base.c_str(), (bin + L"Watched").c_str()));
  ASSERT_TRUE(Within([&] { return PathLine() == dir->Path(); })) << PathLine();
  EXPECT_EQ(Status().Text(2), L"Folder no longer there: Deeper");
}

TEST_F(FolderWatchTest, AFolderLeftIsNoLongerHeld) {
  // The watch holds the shown folder open; once the user goes elsewhere, nothing of the program
  // keeps it: deleted, it is gone at once (a folder still held would stay until let go).
  const std::wstring left = MakeFolder(base + L"Left");
  ListPath(left);
  ListPath(base);
  ASSERT_TRUE(Within([&] { return RemoveDirectoryW(left.c_str()) != FALSE; })) << GetLastError();
  EXPECT_TRUE(Within([&] { return GetFileAttributesW(left.c_str()) == INVALID_FILE_ATTRIBUTES; }));
  ASSERT_TRUE(Within([&] { return RowOf(L"Left") < 0; }));  // and the shown folder follows
}

TEST_F(FolderWatchTest, MoreChangesThanTheSystemCanReportReadTheFolderAnewKeptApartFromTheEnd) {
  // A change buffer too small for a single report: every burst overflows it.
  MakeFile(base + L"first.txt");
  ui::ScopedWindow sink(CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  pw::FolderFeed feed(sink.get(), WM_APP, 8);
  const unsigned listing = feed.Start(base, pw::ListingOptions{}, FILE_ATTRIBUTE_DIRECTORY);
  ASSERT_TRUE(feed.WaitForEnd(5000));

  // The folder is read anew before the window took the listing's end: the end is still the end.
  for (int i = 0; i < 20; ++i) MakeFile(base + L"more" + std::to_wstring(10 + i) + L".txt");
  testutil::AnswerUntil({}, std::chrono::seconds(3));
  std::optional<pw::FolderFeed::Progress> taken = feed.Take(listing);
  ASSERT_TRUE(taken && taken->Ended);
  EXPECT_EQ(taken->Sorted.size(), 2u);  // the parent entry and first.txt
  EXPECT_EQ(taken->Order.size(), 2u);
  EXPECT_EQ(taken->FileCount, 1);
  std::vector<std::wstring> relisted;
  const auto take = [&](pw::FolderFeed::Progress& now) {
    if (!now.Anew) return;
    relisted.clear();
    for (const pw::FileItem& item : now.Anew->Sorted) relisted.emplace_back(item.Caption);
    EXPECT_EQ(now.Anew->FileCount, static_cast<int>(relisted.size()) - 1);
  };
  ASSERT_TRUE(taken->Anew);
  take(*taken);
  ASSERT_TRUE(Within([&] {
    if (std::optional<pw::FolderFeed::Progress> now = feed.Take(listing)) take(*now);
    return relisted.size() == 22;
  })) << relisted.size();
  EXPECT_EQ(relisted[1], L"first.txt");
  EXPECT_EQ(relisted[2], L"more10.txt");
  EXPECT_EQ(relisted.back(), L"more29.txt");
}
