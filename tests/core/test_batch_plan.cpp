// The pipeline's own decisions: the preview's rows and when it shows, the order entries are
// written in, the rows of the list the written entries are; and in the write loop, a file reached
// under two names written once, a value a volume stored wrongly put back, an undo taken back
// last-first and kept where it stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "timetools/core/BatchPlan.h"
#include "timetools/core/EditUndo.h"
#include "support/FakeEditFs.h"

using pw::BatchEntry;
using pw::EditFault;
using pw::EntryInfo;
using testutil::FakeFs;

namespace {

constexpr std::uint32_t kFile = 0x20;
constexpr std::uint64_t kSecond = 10'000'000, kStamp = 132'000'000'000'000'000;

EntryInfo At(std::uint64_t stamp) { return {kFile, stamp, stamp + 1, stamp + 2}; }

std::vector<std::wstring> Paths(const std::vector<BatchEntry>& entries) {
  std::vector<std::wstring> out;
  for (const BatchEntry& entry : entries) out.push_back(entry.Path);
  return out;
}

TEST(BatchPlan, ThePreviewShowsWhatChangesThenWhatIsLeftAndOnlyWhenItHasSomethingToSay) {
  pw::BatchPlan plan = pw::PlanEntries({{L"d\\same", false, At(kStamp)}, {L"d\\moves", false, At(kStamp + kSecond)}},
                                       pw::CopyRule(At(kStamp), {}));
  plan.Entries.emplace_back(BatchEntry{L"d\\dateless", false, At(kStamp)}, L"no date taken", true);
  const std::vector<pw::PreviewRow> rows = pw::PreviewRows(plan);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Path, L"d\\moves");
  EXPECT_EQ(rows[0].New.LastWrite, At(kStamp).LastWrite);
  EXPECT_EQ(rows[1].Path, L"d\\dateless");
  EXPECT_FALSE(rows[1].New.Any());
  EXPECT_EQ(rows[1].Note, L"no date taken");

  struct Case {
    std::size_t Entries;
    bool Left, VolumeSays, Confirmed, Shown;
  };
  for (const Case& c : {Case{1, false, false, false, false}, Case{2, false, false, false, true},
                        Case{2, false, false, true, false}, Case{1, true, false, true, true},
                        Case{1, false, true, true, true}, Case{0, false, false, false, false}})
    EXPECT_EQ(pw::NeedsPreview(c.Entries, c.Left, c.VolumeSays, c.Confirmed), c.Shown) << c.Entries << c.Confirmed;
}

TEST(BatchPlan, WhatLiesInsideIsWrittenBeforeItsFolderAndHeldFilesFollowTheirEntries) {
  pw::BatchPlan plan;
  for (const wchar_t* path : {L"d\\a", L"d\\sub", L"d\\sub\\x", L"d\\b", L"d\\sub\\deep\\y", L"d\\gone"})
    plan.Entries.emplace_back(BatchEntry{path});
  plan.Entries[1].Leave = true;
  FakeFs fs;
  fs.Disks = {{L"d\\sub\\x", At(kStamp)}};
  fs.OpenForTimes(L"d\\sub\\x", plan.Entries[2].Held);
  const pw::WriteOrder order = pw::OrderForWriting(plan, [](const std::wstring& path) { return path == L"d\\gone"; });
  EXPECT_EQ(Paths(order.Entries), (std::vector<std::wstring>{L"d\\sub\\deep\\y", L"d\\sub\\x", L"d\\a", L"d\\b"}));
  ASSERT_EQ(order.Held.size(), 4u);
  EXPECT_TRUE(order.Held[1] != nullptr);
  EXPECT_TRUE(order.Held[0] == nullptr && order.Held[2] == nullptr);
}

TEST(BatchPlan, WrittenEntriesFindTheirRowsByExactNameInTheListedFolderOnly) {
  // Rows 0 and 1 are the parent entry and a name that differs from a written one only in case.
  const std::vector<std::wstring> captions = {L"..", L"A.txt", L"a.txt", L"b.txt", L"c.txt", L"sub"};
  const auto caption = [&captions](int row) { return std::wstring_view(captions[static_cast<std::size_t>(row)]); };
  const std::vector<pw::WrittenEntry> written = {
      {L"C:\\d\\sub\\a.txt", {}}, {L"C:\\d\\c.txt", {}}, {L"C:\\d\\a.txt", {}}, {L"C:\\d\\sub", {}}, {L"C:\\e\\b.txt", {}}};
  std::vector<std::pair<int, std::size_t>> found;
  for (const pw::WrittenRow& row : pw::MatchWrittenRows(L"C:\\d\\", written, 1, 6, caption))
    found.emplace_back(row.Row, row.Written);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<int, std::size_t>>{{2, 2}, {4, 1}, {5, 3}}));
}

TEST(BatchWrite, AFileReachedUnderTwoNamesIsWrittenOnceWhateverTheRule) {
  // b.txt is a's short name: one name each, one file.
  FakeFs fs;
  fs.Disks = {{L"d\\a.txt", At(kStamp)}, {L"d\\b.txt", At(kStamp)}};
  fs.Ids = {{L"d\\a.txt", 9}, {L"d\\b.txt", 9}};
  const std::vector<BatchEntry> entries = {{L"d\\a.txt"}, {L"d\\b.txt"}};
  for (const pw::ChangeRule& rule : {pw::ShiftRule(kSecond, {}), pw::CopyRule(At(kStamp + 5 * kSecond), {})}) {
    fs.Log.clear();
    const pw::BatchResult run = pw::WriteEntries(entries, rule, fs, {});
    EXPECT_EQ(std::count(fs.Log.begin(), fs.Log.end(), L"times d\\b.txt"), 0);
    ASSERT_EQ(run.Left.size(), 1u);
    EXPECT_EQ(run.Left[0].Reason, L"the same file as d\\a.txt, written once");
  }
}

TEST(BatchWrite, AValueTheVolumeMayNotKeepIsPutBackAtOnceAndLeftOutOfTheUndo) {
  FakeFs fs;
  fs.Fat = L"fat";  // cuts the last write to 2 s: refused here as a time nobody asked for
  const EntryInfo onGrid{kFile, kStamp, kStamp, kStamp};
  fs.Disks = {{L"fat", onGrid}, {L"ntfs", onGrid}};
  fs.Ids = {{L"fat", 1}, {L"ntfs", 2}};
  const pw::StoredCheck refuse = [](const pw::Rounding& stored, const EntryInfo&) { return stored.Path != L"fat"; };
  const pw::BatchResult run = pw::WriteEntries({{L"fat"}, {L"ntfs"}}, pw::ShiftRule(3 * kSecond, {false, true, false}),
                                               fs, {}, nullptr, {}, refuse);
  EXPECT_EQ(fs.Disks[L"fat"].LastWrite, kStamp);
  EXPECT_EQ(fs.Disks[L"ntfs"].LastWrite, kStamp + 3 * kSecond);
  EXPECT_EQ(run.Failures, (std::vector<pw::EditFailure>{{L"fat", EditFault::PutBack, 0}}));
  ASSERT_EQ(run.Undo.size(), 1u);
  EXPECT_EQ(run.Undo[0].Path, L"ntfs");
}

TEST(BatchUndo, TheLastWrittenIsTakenBackFirstAndAStoppedUndoKeepsTheRest) {
  FakeFs fs;
  fs.Disks = {{L"a", At(kStamp)}, {L"b", At(kStamp)}, {L"c", At(kStamp)}};
  pw::EditUndo undo;
  undo.Remember(pw::WriteEntries({{L"a"}, {L"b"}, {L"c"}}, pw::ShiftRule(kSecond, {}), fs, {}).Undo);
  int calls = 0;
  const pw::BatchResult stopped = undo.Run(fs, [&calls](std::size_t, std::size_t) { return ++calls < 2; });
  EXPECT_TRUE(stopped.Stopped);
  EXPECT_EQ(fs.Disks[L"c"], At(kStamp));
  EXPECT_NE(fs.Disks[L"a"], At(kStamp));
  EXPECT_EQ(undo.Count(), 2u);
  undo.Run(fs);
  EXPECT_EQ(fs.Disks[L"a"], At(kStamp));
  EXPECT_EQ(fs.Disks[L"b"], At(kStamp));
  EXPECT_FALSE(undo.Available());
}

}  // namespace
