// The time tools' runs against the in-memory file system: the shift arithmetic at the ends of the
// file-time range, the scope walk, the read-back on a file system that rounds, a stopped run and
// the undo of a run that reached into folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "timetools/core/EditUndo.h"
#include "timetools/core/TimeBatch.h"
#include "support/CalendarFixtures.h"
#include "support/FakeEditFs.h"

using pw::BatchEntry;
using pw::EditFault;
using pw::EntryInfo;
using pw::Scope;
using testutil::FakeFs;

namespace {

constexpr std::uint32_t kFile = 0x20, kDir = 0x10;
constexpr std::int64_t kHour = 36'000'000'000;

std::uint64_t Utc(int y, int mo, int d, int h, int mi, int s, int ms, std::uint64_t ticks = 0) {
  std::uint64_t t = 0;
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(y, mo, d, h, mi, s, ms), t));
  return t + ticks;
}

EntryInfo At(std::uint32_t attributes, std::uint64_t stamp) { return {attributes, stamp, stamp + 1, stamp + 2}; }

std::vector<std::wstring> Paths(const std::vector<BatchEntry>& entries) {
  std::vector<std::wstring> out;
  for (const BatchEntry& entry : entries) out.push_back(entry.Path);
  return out;
}

}  // namespace

TEST(TimeShift, MovesTheInstantByTheOffsetAndRefusesToLeaveTheRange) {
  EXPECT_EQ((pw::TimeOffset{true, 0, 1, 30, 0, 0}.Ticks()), -54'000'000'000);
  EXPECT_EQ((pw::TimeOffset{false, 2, 0, 0, 0, 7}.Ticks()), 2 * 24 * kHour + 70'000);
  EXPECT_EQ((pw::TimeOffset{false, 20'000'000}.Ticks()), std::nullopt);  // more days than file times span

  // 01:30 and 02:30 UTC in the autumn night: both move by the same amount, an hour apart before
  // and after, with every 100-ns digit kept.
  const std::uint64_t a = Utc(2021, 10, 31, 1, 30, 0, 0, 1234), b = Utc(2021, 10, 31, 2, 30, 0, 0, 9);
  for (const std::int64_t ticks : {-kHour / 2 * 3, kHour * 24, static_cast<std::int64_t>(1)}) {
    const auto x = pw::ShiftStamp(a, ticks), y = pw::ShiftStamp(b, ticks);
    ASSERT_TRUE(x && y);
    EXPECT_EQ(static_cast<std::int64_t>(*x) - static_cast<std::int64_t>(a), ticks);
    EXPECT_EQ(*y - *x, b - a);
  }
  // Near 1601 and near 30828: refused, never wrapped; 0 would read as "unchanged".
  EXPECT_EQ(pw::ShiftStamp(5, -4), 1u);
  EXPECT_EQ(pw::ShiftStamp(5, -5), std::nullopt);
  EXPECT_EQ(pw::ShiftStamp(pw::kLastFileTime - 3, 3), pw::kLastFileTime);
  EXPECT_EQ(pw::ShiftStamp(pw::kLastFileTime - 3, 4), std::nullopt);

  // A run: the chosen times of each entry from its own stamps; an entry that would leave the range
  // is reported and left whole.
  FakeFs fs;
  fs.Disks = {{L"x", At(kFile, Utc(2020, 1, 1, 0, 0, 0, 0, 5))}, {L"early", At(kFile, 3 * kHour)}};
  const pw::BatchResult run = pw::WriteEntries({{L"x"}, {L"early"}},
                                               pw::ShiftRule(-4 * kHour, {false, true, true}), fs, {});
  EXPECT_EQ(fs.Disks[L"x"], (EntryInfo{kFile, Utc(2020, 1, 1, 0, 0, 0, 0, 5), Utc(2019, 12, 31, 20, 0, 0, 0, 6),
                                       Utc(2019, 12, 31, 20, 0, 0, 0, 7)}));
  EXPECT_EQ(fs.Disks[L"early"], At(kFile, 3 * kHour));
  EXPECT_EQ(run.Failures, (std::vector<pw::EditFailure>{{L"early", EditFault::OutOfRange, 0}}));
  EXPECT_EQ(run.Written, 1u);
}

TEST(TimeScope, TheSelectedEntriesThenWhatTheScopeTakesInsideDepthFirst) {
  FakeFs fs;
  fs.Disks = {{L"d", At(kDir, 1)},        {L"d\\a.txt", At(kFile, 2)}, {L"d\\sub", At(kDir, 3)},
              {L"d\\sub\\b", At(kFile, 4)}, {L"d\\link", At(kDir | 0x400, 5)}, {L"d\\link\\c", At(kFile, 6)},
              {L"f.txt", At(kFile, 7)}};
  const std::vector<BatchEntry> selected = {{L"f.txt", false, At(kFile, 7)}, {L"d", true, At(kDir, 1)}};
  std::vector<pw::EditFailure> failures;
  const auto collect = [&](Scope scope) { return Paths(*pw::CollectEntries(selected, scope, fs, failures, {})); };
  EXPECT_EQ(collect(Scope::Selected), (std::vector<std::wstring>{L"f.txt", L"d"}));
  EXPECT_EQ(collect(Scope::Files), (std::vector<std::wstring>{L"f.txt", L"d", L"d\\a.txt", L"d\\sub\\b"}));
  // A link to a folder is an entry, but what it points to is not walked.
  EXPECT_EQ(collect(Scope::Folders), (std::vector<std::wstring>{L"f.txt", L"d", L"d\\link", L"d\\sub"}));
  EXPECT_EQ(collect(Scope::Everything),
            (std::vector<std::wstring>{L"f.txt", L"d", L"d\\a.txt", L"d\\link", L"d\\sub", L"d\\sub\\b"}));
  EXPECT_TRUE(failures.empty());

  // A folder that vanishes midway is reported; the walk goes on with the others.
  fs.Errors[L"list d\\sub"] = 3;
  EXPECT_EQ(collect(Scope::Files), (std::vector<std::wstring>{L"f.txt", L"d", L"d\\a.txt"}));
  EXPECT_EQ(failures, (std::vector<pw::EditFailure>{{L"d\\sub", EditFault::FolderUnread, 3}}));
  // Stopped while counting: nothing.
  EXPECT_EQ(pw::CollectEntries(selected, Scope::Files, fs, failures, [](std::size_t, std::size_t) { return false; }),
            std::nullopt);
}

TEST(TimeBatch, WhatTheFileSystemRoundsIsReportedAStoppedRunLeavesTheRestAndUndoTakesItAllBack) {
  FakeFs fs;
  fs.Fat = L"d\\fat";  // keeps the last write to 2 s, no creation time of its own
  const EntryInfo reference{kFile, Utc(2001, 2, 3, 4, 5, 6, 7, 8901), Utc(2002, 3, 4, 5, 6, 7, 8, 9012),
                            Utc(2003, 4, 5, 6, 7, 8, 9, 123)};
  fs.Disks = {{L"d", At(kDir, 10)}, {L"d\\fat", {kFile, 40'000'000, 40'000'001, 40'000'000}},
              {L"d\\ntfs", At(kFile, 30)}, {L"e", At(kFile, 40)}};
  const auto saved = fs.Disks;
  std::vector<pw::EditFailure> failures;
  const std::vector<BatchEntry> entries =
      *pw::CollectEntries({{L"d", true, At(kDir, 10)}, {L"e"}}, Scope::Files, fs, failures, {});
  ASSERT_EQ(Paths(entries), (std::vector<std::wstring>{L"d", L"e", L"d\\fat", L"d\\ntfs"}));

  // Stopped after two entries: those two are written and can be undone, the others untouched.
  std::size_t seen = 0;
  pw::BatchResult run = pw::WriteEntries(entries, pw::CopyRule(reference, {}), fs,
                                         [&](std::size_t done, std::size_t) { return (seen = done) < 2; });
  EXPECT_TRUE(run.Stopped);
  EXPECT_EQ(run.Done, 2u);
  EXPECT_EQ(fs.Disks[L"e"].LastWrite, reference.LastWrite);
  EXPECT_EQ(fs.Disks[L"d\\fat"], saved.at(L"d\\fat"));

  run = pw::WriteEntries(entries, pw::CopyRule(reference, {}), fs, {});
  EXPECT_EQ(fs.Disks[L"d\\ntfs"], (EntryInfo{kFile, reference.Created, reference.LastAccess, reference.LastWrite}));
  const std::uint64_t stored = reference.LastWrite - reference.LastWrite % 20'000'000;
  // Before: the entry's last write, which it also reads as its creation.
  EXPECT_EQ(run.Roundings,
            (std::vector<pw::Rounding>{{L"d\\fat", pw::TimeField::Created, reference.Created, stored, 40'000'000},
                                       {L"d\\fat", pw::TimeField::LastWrite, reference.LastWrite, stored, 40'000'000}}));

  pw::EditUndo undo;
  undo.Remember(std::move(run.Undo));  // d and e were written already: only the others changed
  EXPECT_EQ(undo.Count(), 2u);
  EXPECT_TRUE(undo.Run(fs).Failures.empty());
  EXPECT_EQ(fs.Disks[L"d\\ntfs"], saved.at(L"d\\ntfs"));
  EXPECT_EQ(fs.Disks[L"d\\fat"].LastWrite, saved.at(L"d\\fat").LastWrite);
}

TEST(TimeScope, EachEntryIsTakenOnceHoweverItIsSelectedOrReached) {
  // The parent entry (the listed folder d) selected with the folder's own entries, one of them twice,
  // and a second name (hard link) of a.txt: a shift moves every file once.
  FakeFs fs;
  fs.Disks = {{L"d", At(kDir, 1)},          {L"d\\a.txt", At(kFile, 10 * kHour)}, {L"d\\b.txt", {}},
              {L"d\\sub", At(kDir, 3)},     {L"d\\sub\\c", At(kFile, 20 * kHour)},
              {L"d\\link", At(kDir | 0x400, 5)}, {L"d\\link\\x", At(kFile, 30 * kHour)}};
  fs.HardLinks = {{L"d\\b.txt", L"d\\a.txt"}};
  fs.Ids = {{L"d\\a.txt", 41}, {L"d\\sub\\c", 42}};
  const auto saved = fs.Disks;
  const std::vector<BatchEntry> selected = {{L"d", true}, {L"d\\a.txt"}, {L"d\\sub", true}, {L"d\\a.txt"}};
  std::vector<pw::EditFailure> failures;
  const std::vector<BatchEntry> entries = *pw::CollectEntries(selected, Scope::Everything, fs, failures, {});
  EXPECT_EQ(Paths(entries), (std::vector<std::wstring>{L"d", L"d\\a.txt", L"d\\sub", L"d\\b.txt", L"d\\link",
                                                       L"d\\sub\\c"}));
  EXPECT_TRUE(failures.empty());
  // The sub-folder was reached by the walk of d, not walked a second time.
  EXPECT_EQ(std::count(fs.Log.begin(), fs.Log.end(), L"list d\\sub"), 1);

  constexpr std::int64_t kSecond = 10'000'000;
  pw::BatchResult run = pw::WriteEntries(entries, pw::ShiftRule(kSecond, {false, true, false}), fs, {});
  EXPECT_EQ(fs.Disks[L"d\\a.txt"].LastWrite, saved.at(L"d\\a.txt").LastWrite + kSecond);
  EXPECT_EQ(fs.Disks[L"d\\sub\\c"].LastWrite, saved.at(L"d\\sub\\c").LastWrite + kSecond);
  EXPECT_EQ(fs.Disks[L"d\\link\\x"], saved.at(L"d\\link\\x"));
  EXPECT_EQ(run.Written, 5u);  // every entry but b.txt, which is a.txt again
  // Whatever the rule, a file is written once, under the name it was reached by first; the other
  // name is said.
  fs.Log.clear();
  const pw::BatchResult copied = pw::WriteEntries(entries, pw::CopyRule(At(kFile, 7 * kHour), {}), fs, {});
  EXPECT_EQ(std::count(fs.Log.begin(), fs.Log.end(), L"times d\\b.txt"), 0);
  EXPECT_EQ(copied.Written, 5u);
  ASSERT_EQ(copied.Left.size(), 1u);
  EXPECT_EQ(copied.Left[0].Path, L"d\\b.txt");

  // Undo takes the shift back exactly, with nothing reported changed since.
  fs.Disks = saved;
  run = pw::WriteEntries(entries, pw::ShiftRule(kSecond, {false, true, false}), fs, {});
  pw::EditUndo undo;
  undo.Remember(std::move(run.Undo));
  EXPECT_TRUE(undo.Run(fs).Failures.empty());
  EXPECT_EQ(fs.Disks, saved);

  // A link to a folder is never entered, even where the list knew nothing of the entry: the walk
  // reads each selected folder before it goes in.
  failures.clear();
  EXPECT_EQ(Paths(*pw::CollectEntries({{L"d\\a.txt"}, {L"d\\link", true}}, Scope::Everything, fs, failures, {})),
            (std::vector<std::wstring>{L"d\\a.txt", L"d\\link"}));
  EXPECT_TRUE(failures.empty());
}

TEST(TimeShift, AStampOfZeroIsNoTimeAndStaysWhileTheOthersMove) {
  FakeFs fs;
  const EntryInfo none{kFile, 0, Utc(2020, 5, 5, 5, 5, 5, 5, 55), Utc(2020, 6, 6, 6, 6, 6, 6, 66)};
  fs.Disks = {{L"x", none}};
  for (const std::int64_t ticks : {-kHour, kHour}) {
    fs.Disks = {{L"x", none}};
    const pw::BatchResult run = pw::WriteEntries({{L"x"}}, pw::ShiftRule(ticks, {}), fs, {});
    EXPECT_TRUE(run.Failures.empty()) << ticks;
    EXPECT_EQ(fs.Disks[L"x"], (EntryInfo{kFile, 0, none.LastAccess + ticks, none.LastWrite + ticks})) << ticks;
  }
}

TEST(TimeBatch, ARunStopsAtTheFirstEntryWhoseVolumeStoppedAnswering) {
  struct Row {
    pw::FsError Error;
    bool Stops;
  };
  // ERROR_NETNAME_DELETED, ERROR_NOT_READY (a FUSE client's EIO under Wine); access denied is the
  // entry's own.
  for (const Row row : {Row{64, true}, Row{21, true}, Row{5, false}}) {
    FakeFs fs;
    fs.Disks = {{L"a", At(kFile, 10)}, {L"b", At(kFile, 20)}, {L"c", At(kFile, 30)}, {L"d", At(kFile, 40)}};
    fs.Errors[L"times c"] = row.Error;
    const std::vector<BatchEntry> entries = {{L"a", false, At(kFile, 10)}, {L"b", false, At(kFile, 20)},
                                             {L"c", false, At(kFile, 30)}, {L"d", false, At(kFile, 40)}};
    const pw::BatchResult run = pw::WriteEntries(entries, pw::CopyRule(At(kFile, 50), {}), fs, {});
    EXPECT_EQ(run.Stopped, row.Stops) << row.Error;
    EXPECT_EQ(run.Done, row.Stops ? 3u : 4u) << row.Error;
    EXPECT_EQ(run.Failures, (std::vector<pw::EditFailure>{{L"c", pw::EditFault::Times, row.Error}}));
    std::vector<std::wstring> undone;
    for (const pw::UndoEntry& entry : run.Undo) undone.push_back(entry.Path);
    EXPECT_EQ(undone, (row.Stops ? std::vector<std::wstring>{L"a", L"b"} : std::vector<std::wstring>{L"a", L"b", L"d"}))
        << row.Error;
    EXPECT_EQ(fs.Disks[L"d"].LastWrite, row.Stops ? At(kFile, 40).LastWrite : At(kFile, 50).LastWrite);
    if (!row.Stops) continue;

    // Undo while the volume still does not answer keeps every entry for an Undo once it does.
    pw::EditUndo undo;
    undo.Remember(run.Undo);
    fs.Errors = {{L"times b", row.Error}};
    EXPECT_TRUE(undo.Run(fs).Stopped);
    EXPECT_EQ(undo.Count(), 2u);
    fs.Errors.clear();
    EXPECT_TRUE(undo.Run(fs).Failures.empty());
    EXPECT_EQ(fs.Disks[L"a"], At(kFile, 10));
    EXPECT_EQ(fs.Disks[L"b"], At(kFile, 20));
  }
}
