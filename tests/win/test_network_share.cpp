// A real network share (Samba on 127.0.0.1, mounted on the host with smbnetfs), reached both as
// \\127.0.0.1\share and as a network drive letter: browsing it, bookmarks on it, and its server
// going away while it is shown.
#include "support/EditFixture.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "support/EditorProbes.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? value : L"";
}

void ClearBookmarks() {
  for (int n = 0; n < 8; ++n)
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quillmere Software\\Corvalt\\File Browser",
                       (L"Key" + std::to_wstring(n)).c_str());
}

// Runs the host's script that stops or starts the share's server ("stop", "start") and waits for
// the file it makes when done: Wine gives no process to wait for a host program by.
bool Server(const std::wstring& script, const std::wstring& verb) {
  const std::wstring done = script.substr(0, script.rfind(L'\\') + 1) + verb + L".done";
  DeleteFileW(done.c_str());
  std::wstring command = L"\"" + script + L"\" " + verb;
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (int tries = 0; tries < 600 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++tries) Sleep(100);
  return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const unsigned long long kWhole = UtcFileTime(2020, 7, 1, 12, 0, 14, 0);  // a.txt and b.txt, to start with

class ShareTest : public EditFolderTest {
protected:
  ShareTest() : EditFolderTest(L"Unused") {}
  void SetUp() override {
    const std::wstring mounted = Environment(L"PW_SHARE_FOLDER");
    unc = Environment(L"PW_SHARE_UNC");
    server = Environment(L"PW_SHARE_SERVER");
    if (mounted.empty() || unc.empty() || server.empty())
      GTEST_SKIP() << "no network share: the test script could not serve one here";
    ClearBookmarks();
    // Before the window, which lists the drives once.
    drive_ = std::make_unique<testutil::TestDrive>(mounted, L"", true);
    ASSERT_NE(drive_->Letter(), 0);
    EditFolderTest::SetUp();
    folder = work = unc + L"\\work\\";
    testutil::RemoveTree(unc + L"\\work");
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr)) << GetLastError();
    for (const wchar_t* name : {L"a.txt", L"b.txt"}) ASSERT_TRUE(SetTimes(MakeFile(work + name), 0, kWhole, kWhole));
  }
  void TearDown() override {
    EditFolderTest::TearDown();
    if (drive_) {
      ClearBookmarks();
      testutil::RemoveTree(unc + L"\\work");
    }
    drive_.reset();
  }
  std::wstring DriveRoot() const { return drive_->Root(); }
  // Answers the window until its listing has ended: the share may take longer than the first slice.
  void Settle() const {
    testutil::AnswerUntil([this] { return !Status().Text(2).starts_with(L"Listing..."); }, std::chrono::minutes(1));
  }
  void List(const std::wstring& path) {
    ListPath(path);
    Settle();
  }

  // Shift Times later by `ms` milliseconds on the selection's last write and last access (the
  // share keeps a write only with both); the new modified time the preview shows for a.txt.
  std::wstring ShiftLater(int ms, const std::function<void()>& beforeApply = [] {}) {
    testutil::WhenShown window(L"TfrmShiftTimes", [&](HWND wnd) {
      const TimeToolProbe shift(wnd);
      testutil::Click(shift.rbLater());
      for (int i = 0; i < 5; ++i) SetWindowTextW(shift.edParts(i), i == 4 ? std::to_wstring(ms).c_str() : L"0");
      for (int i = 0; i < 3; ++i) SendMessageW(shift.cbFields(i), BM_SETCHECK, i > 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      testutil::Click(shift.btnOK());
    });
    std::wstring cell;
    testutil::WhenShown shown(L"TfrmPreview", [&](HWND wnd) {
      const PreviewProbe preview(wnd);
      for (int row = 0; row < preview.lvEntries().Count(); ++row)
        if (LastName(testutil::ItemText(preview.lvEntries().Handle(), row, 0)) == L"a.txt")
          cell = testutil::ItemText(preview.lvEntries().Handle(), row, 5);
      beforeApply();
      testutil::Click(preview.btnApply());
    });
    PressKey(FileList().Handle(), 'H', ui::ModCtrl);
    EXPECT_EQ(window.Runs(), 1);
    EXPECT_EQ(shown.Runs(), 1);
    return cell;
  }

  // The server stopped until the end of the scope (or of a failed assertion); then the share
  // answers again, which the mount tells after a few seconds.
  struct Outage {
    explicit Outage(const ShareTest& test) : Test(test), Stopped(Server(test.server, L"stop")) {}
    ~Outage() {
      Server(Test.server, L"start");
      for (int tries = 0; tries < 300 && GetFileAttributesW(Test.work.c_str()) == INVALID_FILE_ATTRIBUTES; ++tries)
        Sleep(100);
    }
    const ShareTest& Test;
    const bool Stopped;
  };
  std::wstring Reports() const {
    std::wstring all;
    for (const std::wstring& report : reports) all += report + L"\n";
    return all;
  }

  std::wstring unc, server, work;  // \\127.0.0.1\share ; work: a folder on it, with its backslash

private:
  std::unique_ptr<testutil::TestDrive> drive_;
};

TEST_F(ShareTest, AFolderListsByItsUncPathAndOnTheNetworkDrive) {
  struct Row {
    std::wstring Folder, Parent;
  };
  for (const Row& row : {Row{work, L"[share]"}, Row{DriveRoot() + L"work\\", L"[..]"}}) {
    List(row.Folder);
    EXPECT_EQ(Probe().CurrentPath(), row.Folder);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{row.Parent, L"a.txt", L"b.txt"})) << row.Folder;
  }
}

TEST_F(ShareTest, UpFromTheSharesRootGoesToTheDriveList) {
  List(unc + L"\\");
  ASSERT_EQ(Cell(0, 0), L"[Drives]");  // no parent entry: a share's root has no folder above it
  EXPECT_NE(RowOf(L"work"), -1);
  PressKey(FileList().Handle(), VK_BACK);
  EXPECT_TRUE(IsWindowVisible(DriveList().Handle()));
  EXPECT_EQ(Probe().CurrentPath(), L"");
}

TEST_F(ShareTest, TheDriveListShowsTheNetworkDriveAsRemote) {
  const int row = DriveRowOf(DriveRoot());
  ASSERT_GE(row, 0);
  EXPECT_EQ(testutil::ItemText(DriveList().Handle(), row, 1), L"Remote");
}

TEST_F(ShareTest, BookmarksOnTheShareOpenAndSurviveARestart) {
  const std::vector<std::wstring> marks = {work + L"a.txt", DriveRoot() + L"work\\b.txt"};
  for (const std::wstring& mark : marks) {
    List(mark.substr(0, mark.rfind(L'\\') + 1));
    ClickRow(FileList(), RowOf(mark.substr(mark.rfind(L'\\') + 1)));
    ClickButton(Button(L"btnBookmark"));
  }
  ASSERT_EQ(Probe().Bookmarks(), (std::vector<std::wstring>{marks[1], marks[0]}));
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  form.reset();
  BrowserTest::SetUp();
  ASSERT_EQ(Probe().Bookmarks(), (std::vector<std::wstring>{marks[1], marks[0]}));
  for (int position : {1, 1}) {  // the older first; opened, it moves to the top
    const std::wstring mark = Probe().Bookmarks()[position];
    ClickMenu(Item(L"mnuBookmarks")->Items().at(position).get());
    Settle();
    EXPECT_EQ(PathLine(), mark);
    EXPECT_EQ(SelectedCaptions(), std::vector<std::wstring>{mark.substr(mark.rfind(L'\\') + 1)});
  }
}

TEST_F(ShareTest, ALostConnectionKeepsTheListAndTheFolderAndSaysSo) {
  List(work);
  const std::vector<std::wstring> listed = Captions();
  {
    Outage outage(*this);
    ASSERT_TRUE(outage.Stopped);
    PressKey(FileList().Handle(), VK_F5);
    Settle();
    EXPECT_TRUE(Status().Text(2).starts_with(L"Connection lost")) << Status().Text(2);
    EXPECT_EQ(Probe().CurrentPath().substr(0, work.size()), work);
    EXPECT_EQ(Captions(), listed);
  }
  PressKey(FileList().Handle(), VK_F5);
  Settle();
  EXPECT_EQ(Status().Text(2), L"");
  EXPECT_EQ(Captions(), listed);
}

TEST_F(ShareTest, TheShareIsLearnedToKeepWholeSecondsSaidOncePerTimeAndForeseenNextTime) {
  Select({L"a.txt", L"b.txt"});
  // Half a second past the next whole one: a value kept otherwise, not an ignored write.
  const std::wstring first = ShiftLater(1500);
  EXPECT_EQ(first.find(L"(asked "), std::wstring::npos) << first;  // "NTFS": nothing foreseen yet
  for (const wchar_t* name : {L"a.txt", L"b.txt"})
    EXPECT_EQ(testutil::ReadStamps(At(name)).Written, kWhole + 10'000'000) << name;
  const std::wstring all = Reports();
  EXPECT_NE(all.find(L"2 entries: last write kept to 1 s, as this share does"), std::wstring::npos) << all;
  EXPECT_NE(all.find(L"2 entries: last access kept to 1 s, as this share does"), std::wstring::npos) << all;
  EXPECT_EQ(all.find(L"a.txt"), std::wstring::npos) << all;  // no line per entry

  Select({L"a.txt", L"b.txt"});
  const std::wstring second = ShiftLater(1500);
  EXPECT_NE(second.find(L"(asked "), std::wstring::npos) << second;
}

TEST_F(ShareTest, ARunWhoseServerGoesAwayStopsThereAndSaysWhatWasWritten) {
  Select({L"a.txt", L"b.txt"});
  {
    std::optional<Outage> outage;
    ShiftLater(2000, [&] { outage.emplace(*this); });  // planned and previewed, then the server goes
    ASSERT_TRUE(outage && outage->Stopped);
  }
  const std::wstring all = Reports();
  EXPECT_NE(all.find(L"The volume stopped answering. Stopped after 1 of 2 entries; 0 of them written"),
            std::wstring::npos) << all;
  for (const wchar_t* name : {L"a.txt", L"b.txt"}) EXPECT_EQ(testutil::ReadStamps(At(name)).Written, kWhole) << name;
}

}  // namespace
