// Save Times and Restore Times through the real windows: a folder's times saved to a file named in
// the standard save dialog, changed by another program, and given back to the tick, folders too; a
// save restored at once changes nothing; a damaged file gives nothing back and names its line; a
// tree copied without its times takes its original's from the other folder.
#include "support/EditFixture.h"

#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>

#include "support/EditorProbes.h"

namespace {

using testutil::Click;
using testutil::Stamps;
Stamps Read(const std::wstring& path) { return testutil::ReadStamps(path); }

// The file name field of the standard save dialog, in either of its layouts.
HWND FileNameField(HWND dialog) {
  for (const int id : {0x47c, 0x480})
    if (HWND field = GetDlgItem(dialog, id)) return field;
  return nullptr;
}

class SavedTimesTest : public EditFolderTest {
protected:
  SavedTimesTest() : EditFolderTest(L"Saved") {}

  void SetUp() override {
    EditFolderTest::SetUp();
    sub = MakeFolder(At(L"Sub"));
    for (const std::wstring& name : {At(L"a.txt"), At(L"b, 'c'.txt"), sub + L"d.txt"}) {
      MakeFile(name);
      ASSERT_TRUE(SetTimes(name, 0, UtcFileTime(2011, 1, 2, 3, 4, 5, 6) + name.size(),
                           UtcFileTime(2012, 7, 8, 9, 10, 11, 12) + 3 * name.size()));
    }
    ASSERT_TRUE(SetTimes(sub.substr(0, sub.size() - 1), 0, UtcFileTime(2013, 1, 1, 0, 0, 0, 0) + 77,
                         UtcFileTime(2014, 1, 1, 0, 0, 0, 0) + 99));
  }
  std::vector<std::wstring> Paths() const { return {At(L"a.txt"), At(L"b, 'c'.txt"), sub + L"d.txt", At(L"Sub")}; }

  // Everything in the folder selected, Save Times reaching into Sub, saved as `file`; the save
  // dialog's own questions (replace a file?) answered yes.
  void Save(const std::wstring& file) {
    ListPath(folder);
    PressKey(FileList().Handle(), 'A', ui::ModCtrl);
    testutil::WhenShown window(L"TfrmSaveTimes", [](HWND wnd) {
      const TimeToolProbe save(wnd);
      SendMessageW(save.cbScope(), CB_SETCURSEL, 3, 0);  // everything inside
      Click(save.btnOK());
    });
    testutil::WhenShown dialogs(L"#32770", [file](HWND dialog) {
      if (HWND name = FileNameField(dialog)) {
        SetWindowTextW(name, file.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      } else {
        PostMessageW(dialog, WM_COMMAND, IDYES, 0);
      }
    });
    ClickMenu(Item(L"mnuSaveTimes"));
    EXPECT_EQ(window.Runs(), 1);
  }
  // Restore Times from `from` with every time and the attributes; the preview's summary, or "" when
  // none was shown. Applied when asked.
  std::wstring Restore(const std::wstring& from, bool apply, bool attributes = true) {
    std::wstring summary;
    testutil::WhenShown window(L"TfrmRestoreTimes", [&](HWND wnd) {
      const TimeToolProbe restore(wnd);
      SetWindowTextW(restore.edReference(), from.c_str());
      SendMessageW(wnd, WM_TIMER, TfrmCopyTimes::kReadTimer, 0);
      testutil::AnswerUntil([&] { return IsWindowEnabled(restore.btnOK()); }, std::chrono::seconds(10));
      SendMessageW(restore.cbScope(), CB_SETCURSEL, 3, 0);
      if (attributes) Click(restore.cbAttributes());
      Click(restore.btnOK());
    });
    testutil::WhenShown preview(L"TfrmPreview", [&](HWND wnd) {
      const PreviewProbe probe(wnd);
      summary = testutil::WindowText(probe.lblSummary());
      Click(apply && IsWindowEnabled(probe.btnApply()) ? probe.btnApply() : probe.btnCancel());
    });
    ListPath(folder);
    PressKey(FileList().Handle(), 'A', ui::ModCtrl);
    ClickMenu(Item(L"mnuRestoreTimes"));
    EXPECT_EQ(window.Runs(), 1);
    return summary;
  }

  std::wstring sub;
};

}  // namespace

TEST_F(SavedTimesTest, TimesSavedAndChangedComeBackToTheTickAndASaveRestoredAtOnceChangesNothing) {
  const std::wstring file = dir.Path() + L"times.csv";
  Save(file);
  // As saved: walking into Sub to save what it holds moved its last-access time, as any reading
  // of a folder does.
  std::map<std::wstring, Stamps> saved;
  for (const std::wstring& path : Paths()) saved[path] = Read(path);
  ASSERT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((file + L".part~").c_str()), INVALID_FILE_ATTRIBUTES);

  // At once: nothing to change, nothing written.
  EXPECT_EQ(Restore(file, true), L"Nothing to change:");
  for (const std::wstring& path : Paths()) EXPECT_EQ(Read(path), saved[path]) << path;

  // Another program changes the times and an attribute; they all come back, folders too.
  for (const std::wstring& path : Paths()) ASSERT_TRUE(SetTimes(path, 0, 5'000'000'000'000'000ull, 6'000'000'000'000'000ull));
  SetFileAttributesW(At(L"a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Restore(file, true), L"4 entries will change:");
  for (const std::wstring& path : Paths()) {
    EXPECT_EQ(Read(path).Written, saved[path].Written) << path;
    EXPECT_EQ(Read(path).Accessed, saved[path].Accessed) << path;
  }
  EXPECT_EQ(Read(At(L"a.txt")).Attributes, saved[At(L"a.txt")].Attributes);
  // Saved again over the old file, once the replace is confirmed.
  Save(file);
  EXPECT_EQ(Restore(file, true), L"Nothing to change:");
}

TEST_F(SavedTimesTest, ADamagedFileGivesNothingBackAndACopiedTreeTakesItsOriginalsTimes) {
  const std::wstring damaged = dir.Path() + L"damaged.csv";
  {
    std::ofstream out(std::string(damaged.begin(), damaged.end()), std::ios::binary);
    out << "Path,Kind,Created,Created (UTC),Modified,Modified (UTC),Accessed,Accessed (UTC),Attributes\r\n"
        << "a.txt,F,0,,0,,0,,00000020\r\n"
        << "Sub\\d.txt,X,0,,0,,0,,00000020\r\n";
  }
  const Stamps before = Read(At(L"a.txt"));
  EXPECT_EQ(Restore(damaged, true), L"");
  EXPECT_EQ(Read(At(L"a.txt")), before);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(L"line 3"), std::wstring::npos) << testing::PrintToString(reports[0]);

  // A copy of the folder made without its times: each entry gets its original's.
  const std::wstring copy = MakeFolder(dir.Path() + L"Copy");
  MakeFolder(copy + L"Sub");
  for (const wchar_t* name : {L"a.txt", L"b, 'c'.txt", L"Sub\\d.txt", L"only in the copy.txt"}) MakeFile(copy + name);
  folder = copy;
  EXPECT_EQ(Restore(dir.Path() + L"Saved", true, false), L"4 entries will change, 1 left as it is:");
  for (const wchar_t* name : {L"a.txt", L"b, 'c'.txt", L"Sub\\d.txt", L"Sub"}) {
    EXPECT_EQ(Read(copy + name).Written, Read(At(name)).Written) << name;
    EXPECT_EQ(Read(copy + name).Accessed, Read(At(name)).Accessed) << name;
  }
}
