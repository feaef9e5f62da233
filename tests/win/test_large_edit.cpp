// "Edit File Params" on thousands of files: the run goes on a worker with its progress shown while
// the window keeps answering, the rows written change in place (order, selection and scroll kept),
// and a run cancelled midway has written a prefix it reports, which Undo Edit takes back.
#include "support/EditFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <functional>

#include "browse/core/FileCompare.h"
#include "support/EditorProbes.h"

namespace {

constexpr int kFiles = 4000;

std::wstring Name(int i) {
  wchar_t name[32];
  std::swprintf(name, 32, L"photo%04d.jpg", i);
  return name;
}

class LargeEditTest : public EditFolderTest {
protected:
  LargeEditTest() : EditFolderTest(L"Many") {}
  void SetUp() override {
    EditFolderTest::SetUp();
    // Last-write times fall as the names rise: the list sorted by that time shows the files in the
    // reverse of their names' order.
    for (int i = 0; i < kFiles; ++i) {
      const std::wstring path = MakeFile(At(Name(i)));
      ASSERT_TRUE(SetTimes(path, 0, 0, kOld - 10'000'000ull * i));
    }
    ListPath(folder);
    testutil::ClickColumn(*form, pw::ColModified);
    PressKey(FileList().Handle(), 'A', ui::ModCtrl);
    ASSERT_EQ(ListView_GetSelectedCount(FileList().Handle()), static_cast<UINT>(kFiles));
  }
  // "Edit File Params" setting the last-write time of day to 13:45:07.123 on every selected file;
  // `progress` runs from the window's message loop when the progress shows.
  void EditAll(const std::function<void(const ProgressProbe&)>& progress) {
    testutil::WhenShown edit(L"TfrmEditFileParams", [](HWND wnd) {
      const EditFileParamsProbe dlg(wnd);
      testutil::Click(dlg.cbTimes(0));
      testutil::Click(dlg.cbTimes(2));
      testutil::TypeTime(dlg.edTimes(1), L"134507123");
      ClickButton(dlg.Button(L"btnUpdate"));
    });
    testutil::WhenShown shown(L"TfrmProgress", [&](HWND wnd) {
      progress(ProgressProbe(wnd));
    });
    ClickMenu(Item(L"mnuEditFileParams"));
    ASSERT_EQ(edit.Runs(), 1);
    progressShown = shown.Runs();
  }
  // How many files (in the list's order: by falling number) hold the time the edit sets, read from
  // disk; -1 when those are not a prefix of that order.
  int WrittenPrefix() const {
    // The first file's date (in the list's order) with the time typed, as local time.
    const unsigned long long set = testutil::LocalToUtc(2020, 5, 1, 13, 45, 7, 123);
    int written = 0;
    bool gap = false;
    for (int i = kFiles - 1; i >= 0; --i) {
      const bool now = testutil::ReadStamps(At(Name(i))).Written == set;
      if (now && gap) return -1;
      gap = gap || !now;
      written += now;
    }
    return written;
  }
  int TopRow() const { return ListView_GetTopIndex(FileList().Handle()); }
  std::wstring RowText(int row) const { return Cell(row, 0) + L" " + Cell(row, pw::ColModified); }

  static constexpr unsigned long long kOld = 132'328'080'000'000'000ull;  // 2020-05-01 12:00 UTC
  int progressShown = 0;
};

}  // namespace

TEST_F(LargeEditTest, AnApplyShowsItsProgressWhileTheWindowAnswersAndChangesTheRowsInPlace) {
  ListView_EnsureVisible(FileList().Handle(), kFiles / 2, FALSE);
  const int top = TopRow();
  ASSERT_GT(top, 0);
  std::wstring progressText;
  int writtenWhenShown = -1;
  EditAll([&](const ProgressProbe& progress) {
    progressText = testutil::WindowText(progress.lblStatus());
    writtenWhenShown = WrittenPrefix();
  });
  ASSERT_EQ(progressShown, 1);
  EXPECT_TRUE(progressText.ends_with(L"of 4,000 entries") || progressText.ends_with(L"of 4000 entries"))
      << testing::PrintToString(progressText);
  // It showed while the worker was still writing, and the window ran its loop meanwhile.
  EXPECT_GE(writtenWhenShown, 0);
  EXPECT_LT(writtenWhenShown, kFiles);
  EXPECT_EQ(WrittenPrefix(), kFiles);

  // In place: still in the order of the times before the edit (a new listing would sort the now
  // equal times by name), every row selected, the same rows in view, each showing its new time.
  EXPECT_TRUE(RowText(1).starts_with(Name(kFiles - 1))) << testing::PrintToString(RowText(1));
  EXPECT_TRUE(RowText(kFiles).starts_with(Name(0))) << testing::PrintToString(RowText(kFiles));
  for (int row : {1, top, kFiles})
    EXPECT_TRUE(RowText(row).ends_with(L"45:07:123")) << testing::PrintToString(RowText(row));
  EXPECT_EQ(ListView_GetSelectedCount(FileList().Handle()), static_cast<UINT>(kFiles));
  EXPECT_EQ(TopRow(), top);
}

TEST_F(LargeEditTest, CancelMidwayLeavesAReportedPrefixWrittenWhichUndoTakesBack) {
  EditAll([](const ProgressProbe& progress) { testutil::Click(progress.btnCancel()); });
  ASSERT_EQ(progressShown, 1);
  const int written = WrittenPrefix();
  EXPECT_GT(written, 0);
  EXPECT_LT(written, kFiles);
  ASSERT_FALSE(reports.empty());
  const std::wstring& report = reports.front();
  EXPECT_TRUE(report.starts_with(L"Stopped after ")) << testing::PrintToString(report);
  const std::size_t of = report.find(L" of them written");
  ASSERT_NE(of, std::wstring::npos) << testing::PrintToString(report);
  std::wstring count = report.substr(report.rfind(L' ', of - 1) + 1, of - report.rfind(L' ', of - 1) - 1);
  std::erase_if(count, [](wchar_t c) { return c < L'0' || c > L'9'; });
  EXPECT_EQ(count, std::to_wstring(written));
  // The rows written show their new time, the others their old one.
  EXPECT_TRUE(RowText(1).ends_with(L"45:07:123")) << testing::PrintToString(RowText(1));
  EXPECT_FALSE(RowText(kFiles).ends_with(L"45:07:123")) << testing::PrintToString(RowText(kFiles));

  PressKey(FileList().Handle(), 'Z', ui::ModCtrl);
  EXPECT_EQ(WrittenPrefix(), 0);
  for (int i : {0, kFiles - written, kFiles - 1})
    EXPECT_EQ(testutil::ReadStamps(At(Name(i))).Written, kOld - 10'000'000ull * i) << i;
  // The watch may still hand over what it read between the run and its undo: the row shows the
  // time on disk once it has caught up.
  EXPECT_TRUE(testutil::AnswerUntil([&] { return !RowText(1).ends_with(L"45:07:123"); }, std::chrono::seconds(5)))
      << testing::PrintToString(RowText(1));
}
