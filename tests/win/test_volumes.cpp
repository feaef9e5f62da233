// What a volume keeps of the times written, on a real FAT volume (an image mounted with the FUSE
// FAT driver and given a drive letter): the preview says beforehand what the volume will keep and
// leaves out what it cannot hold; the report says afterwards what it rounded as FAT does, in one
// line, and names every entry whose write it answered "done" to and ignored.
#include "support/EditFixture.h"

#include <cstdlib>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "common/platform/VolumeName.h"
#include "support/EditorProbes.h"

namespace {

using testutil::Click;
using testutil::Stamps;
Stamps Read(const std::wstring& path) { return testutil::ReadStamps(path); }

constexpr unsigned long long kSecond = 10'000'000;

std::wstring Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? value : L"";
}

// A folder of its own on the FAT drive; the test is skipped where the scripts could not mount one.
class FatVolumeTest : public EditFolderTest {
protected:
  FatVolumeTest() : EditFolderTest(L"Unused") {}
  void SetUp() override {
    const std::wstring mounted = Environment(L"PW_FAT_FOLDER"), image = Environment(L"PW_FAT_IMAGE");
    if (mounted.empty() || image.empty()) GTEST_SKIP() << "no FAT volume: /dev/fuse cannot be opened here";
    EditFolderTest::SetUp();
    drive_ = std::make_unique<testutil::TestDrive>(mounted, image);
    ASSERT_NE(drive_->Letter(), 0);
    ASSERT_EQ(pw::FileSystemNameOf(drive_->Root()), L"FAT");
    // The root of a FAT16 volume holds 512 entries: each test works in a folder of its own.
    folder = drive_->Root() + L"work\\";
    testutil::RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  }
  void TearDown() override {
    if (drive_) testutil::RemoveTree(folder);
    EditFolderTest::TearDown();
    drive_.reset();
  }

  // Files at `stamp` (its last write and last access: this driver keeps a write only with both).
  void MakeFiles(const std::vector<std::wstring>& names, unsigned long long stamp) {
    for (const std::wstring& name : names) ASSERT_TRUE(SetTimes(MakeFile(At(name)), 0, stamp, stamp));
  }
  // Shift Times on the selection, the times chosen, by the parts given (days to milliseconds);
  // `preview` sees the preview, if one is shown.
  int Shift(bool earlier, std::array<int, 5> parts, std::array<bool, 3> fields,
            const std::function<void(const PreviewProbe&)>& preview) {
    testutil::WhenShown window(L"TfrmShiftTimes", [&](HWND wnd) {
      const TimeToolProbe shift(wnd);
      Click(earlier ? shift.rbEarlier() : shift.rbLater());
      for (int i = 0; i < 5; ++i) SetWindowTextW(shift.edParts(i), std::to_wstring(parts[i]).c_str());
      for (int i = 0; i < 3; ++i)
        SendMessageW(shift.cbFields(i), BM_SETCHECK, fields[i] ? BST_CHECKED : BST_UNCHECKED, 0);
      Click(shift.btnOK());
    });
    testutil::WhenShown shown(L"TfrmPreview", [&](HWND wnd) { preview(PreviewProbe(wnd)); });
    PressKey(FileList().Handle(), 'H', ui::ModCtrl);
    EXPECT_EQ(window.Runs(), 1);
    return shown.Runs();
  }
  static std::wstring PreviewCell(const PreviewProbe& preview, const std::wstring& name, int column) {
    const HWND list = preview.lvEntries().Handle();
    for (int row = 0; row < preview.lvEntries().Count(); ++row)
      if (LastName(testutil::ItemText(list, row, 0)) == name) return testutil::ItemText(list, row, column);
    return L"(no row for " + name + L")";
  }
  std::wstring AllReports() const {
    std::wstring all;
    for (const std::wstring& report : reports) all += report + L"\n";
    return all;
  }

private:
  std::unique_ptr<testutil::TestDrive> drive_;
};

// 2020-07-01 12:00:14 UTC: an even second.
const unsigned long long kEven = UtcFileTime(2020, 7, 1, 12, 0, 14, 0);

}  // namespace

TEST_F(FatVolumeTest, AShiftOfThreeAndAHalfSecondsIsShownAndReportedAsKeptToTwoSeconds) {
  MakeFiles({L"a.jpg", L"b.jpg"}, kEven);
  Select({L"a.jpg", L"b.jpg"});
  std::wstring cell;
  // Rounded either way, the value kept is not the old one (which would be a write kept nothing of).
  EXPECT_EQ(Shift(false, {0, 0, 0, 3, 500}, {false, true, true}, [&](const PreviewProbe& preview) {
              cell = PreviewCell(preview, L"a.jpg", 5);  // new modified
              Click(preview.btnApply());
            }),
            1);
  // Before: the value FAT keeps, and the one asked.
  EXPECT_NE(cell.find(L"(asked "), std::wstring::npos) << cell;
  // After: the write cut to 2 s either way, and said once for both entries.
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) {
    const unsigned long long written = Read(At(name)).Written;
    EXPECT_EQ(written % (2 * kSecond), 0u) << name;
    EXPECT_LT(written > kEven + 35'000'000 ? written - kEven - 35'000'000 : kEven + 35'000'000 - written,
              2 * kSecond) << name;
  }
  const std::wstring all = AllReports();
  EXPECT_NE(all.find(L"2 entries: last write kept to 2 s, as this FAT volume does"), std::wstring::npos) << all;
  EXPECT_EQ(all.find(L"modified stored as"), std::wstring::npos) << all;
}

TEST_F(FatVolumeTest, AWriteTheVolumeAnswersDoneToAndIgnoresIsReportedForEveryEntry) {
  // This driver drops a write that leaves the last access out: the modified time alone, an hour on.
  MakeFiles({L"a.txt", L"b.txt", L"c.txt"}, kEven);
  Select({L"a.txt", L"b.txt", L"c.txt"});
  Shift(false, {0, 1, 0, 0, 0}, {false, true, false}, [](const PreviewProbe& preview) { Click(preview.btnApply()); });
  const std::wstring all = AllReports();
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) {
    EXPECT_EQ(Read(At(name)).Written, kEven) << name;
    EXPECT_NE(all.find(At(name) + L": modified not written: the volume answered done"), std::wstring::npos) << all;
  }
  EXPECT_FALSE(Item(L"mnuUndoEdit")->Enabled());  // nothing changed, nothing to take back
}

TEST_F(FatVolumeTest, ADateBefore1980IsFlaggedInThePreviewAndNotWritten) {
  const unsigned long long early = UtcFileTime(1980, 3, 1, 12, 0, 0, 0);
  MakeFiles({L"early.txt"}, early);
  MakeFiles({L"later.txt"}, kEven);
  Select({L"early.txt", L"later.txt"});
  std::wstring note, summary;
  Shift(true, {90, 0, 0, 0, 0}, {false, true, true}, [&](const PreviewProbe& preview) {
    note = PreviewCell(preview, L"early.txt", 1);
    summary = testutil::WindowText(preview.lblSummary());
    Click(preview.btnApply());
  });
  EXPECT_NE(note.find(L"this FAT volume cannot hold the modified time asked"), std::wstring::npos) << note;
  EXPECT_EQ(summary, L"1 entry will change, 1 left as it is:");
  // Left as it was, where the driver would have written another year; the other one shifted.
  EXPECT_EQ(Read(At(L"early.txt")).Written, early);
  EXPECT_EQ(Read(At(L"later.txt")).Written, kEven - 90ull * 86'400 * kSecond);
  const std::wstring all = AllReports();
  EXPECT_NE(all.find(At(L"early.txt") + L": left as it is: this FAT volume cannot hold"), std::wstring::npos) << all;
}
