// Save Times and Restore Times against the fake file system: a tree saved, changed by another
// program and given back to the tick, folders included; what a restore of what was just saved
// changes (nothing); rows with no entry and entries with no counterpart named, never guessed; a
// copied tree given its original's times.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "timetools/core/EditUndo.h"
#include "timetools/core/SavedTimes.h"
#include "support/FakeEditFs.h"

using pw::BatchEntry;
using pw::EntryInfo;

namespace {

constexpr std::uint32_t kFile = 0x20, kDir = 0x10;

EntryInfo Stamped(std::uint32_t attributes, std::uint64_t base) { return {attributes, base + 1, base + 2, base + 3}; }

struct Restore {
  std::vector<BatchEntry> Write;
  std::vector<std::wstring> Left;  // "path: reason"
};

// A plan as the command uses it: the entries that change, inside first, and the others with why.
Restore Split(const std::vector<pw::RestorePlan>& plans, pw::TimeFields fields, bool attributes) {
  Restore restore;
  for (const pw::RestorePlan& plan : plans) {
    if (!plan.Entry.Planned) restore.Left.push_back(plan.Entry.Path + L": " + plan.Note);
    else if (pw::PlanChanges(plan.Entry.Known, *plan.Entry.Planned, fields, attributes)) restore.Write.push_back(plan.Entry);
  }
  pw::InsideFirst(restore.Write);
  return restore;
}

}  // namespace

TEST(SavedTimes, ATreeSavedIsGivenBackToTheTickAndASaveRestoredAtOnceChangesNothing) {
  testutil::FakeFs fs;
  fs.Disks = {{L"C:\\t", Stamped(kDir, 100)},
              {L"C:\\t\\=a, b's.txt", Stamped(kFile | 0x01, 200)},
              {L"C:\\t\\Sub", Stamped(kDir, 300)},
              {L"C:\\t\\Sub\\b.txt", Stamped(kFile, 400)},
              {L"C:\\t\\Sub\\Deep", Stamped(kDir | 0x02, 500)},
              {L"C:\\t\\none.txt", {kFile, 0, 7, 8}}};  // a file system that keeps no creation time
  const auto saved = fs.Disks;
  std::vector<pw::EditFailure> failures;
  // The parent entry (the listed folder) and a folder in it, everything inside: each entry once.
  const std::vector<BatchEntry> entries = *pw::CollectEntries(
      {{L"C:\\t", true, saved.at(L"C:\\t")}, {L"C:\\t\\Sub", true, saved.at(L"C:\\t\\Sub")}}, pw::Scope::Everything,
      fs, failures, {});
  const pw::SavedTimes file = *pw::SaveTimes(entries, L"C:\\t\\", fs, {});
  EXPECT_EQ(file.Rows, 5u);
  ASSERT_EQ(file.Left.size(), 1u);  // the listed folder itself
  EXPECT_EQ(file.Left[0].Path, L"C:\\t");
  const pw::TimesFile read = pw::ParseTimesFile(file.Bytes);
  ASSERT_FALSE(read.Error) << std::wstring(read.Error->Text()).size();

  // What was just saved, restored: nothing to change.
  const pw::TimeFields all;
  EXPECT_TRUE(Split(*pw::PlanFromSaved(read.Rows, L"C:\\t\\", fs, {}), all, true).Write.empty());

  // Another program changes times and attributes; the restore gives everything back exactly, the
  // folders after what they hold, and an undo takes it back again.
  for (auto& [path, info] : fs.Disks) {
    if (path == L"C:\\t\\none.txt") continue;
    info.LastWrite += 12345;
    info.Created -= 7;
    info.Attributes ^= 0x01;
  }
  const auto changed = fs.Disks;
  const Restore restore = Split(*pw::PlanFromSaved(read.Rows, L"C:\\t\\", fs, {}), all, true);
  ASSERT_EQ(restore.Write.size(), 4u);
  // A folder is written after everything inside it.
  for (std::size_t i = 0; i < restore.Write.size(); ++i)
    for (std::size_t j = i + 1; j < restore.Write.size(); ++j)
      EXPECT_FALSE(restore.Write[j].Path.starts_with(restore.Write[i].Path + L"\\")) << restore.Write[j].Path;
  pw::BatchResult run = pw::WriteEntries(restore.Write, pw::PlannedRule(all, true), fs, {});
  EXPECT_TRUE(run.Failures.empty());
  for (const auto& [path, info] : saved)
    if (path != L"C:\\t") {
      EXPECT_EQ(fs.Disks[path], info) << path;
    }
  EXPECT_EQ(fs.Disks[L"C:\\t"], changed.at(L"C:\\t"));  // never saved, never touched
  pw::EditUndo undo;
  undo.Remember(std::move(run.Undo));
  EXPECT_TRUE(undo.Run(fs).Failures.empty());
  EXPECT_EQ(fs.Disks, changed);
}

TEST(SavedTimes, RowsWithNoEntryAndEntriesWithNoCounterpartAreNamedNeverGuessed) {
  // Where an entry lies, as the file system compares names.
  EXPECT_EQ(pw::PathUnder(L"C:\\t\\", L"c:\\T\\Sub\\a.txt"), L"Sub\\a.txt");
  EXPECT_EQ(pw::PathUnder(L"C:\\", L"C:\\t"), L"t");
  EXPECT_EQ(pw::PathUnder(L"C:\\t", L"C:\\tt\\a.txt"), std::nullopt);  // a sibling of a longer name
  EXPECT_EQ(pw::PathUnder(L"C:\\t\\", L"C:\\t"), std::nullopt);      // the folder itself

  testutil::FakeFs fs;
  fs.Disks = {{L"C:\\t", Stamped(kDir, 1)},       {L"C:\\t\\Photo.JPG", Stamped(kFile, 2)},
              {L"C:\\t\\was a file", Stamped(kDir, 3)}};
  const auto row = [](const wchar_t* path, std::uint64_t written) {
    return pw::TimesRow{.Path = path, .IsFolder = false, .Created = 11, .LastWrite = written, .LastAccess = 12,
                        .Attributes = 0x20};
  };
  const std::vector<pw::TimesRow> rows = {row(L"photo.jpg", 13), row(L"gone.txt", 5), row(L"was a file", 6),
                                          row(L"Missing\\deep.txt", 7)};
  const std::vector<pw::RestorePlan> plans = *pw::PlanFromSaved(rows, L"C:\\t\\", fs, {});
  const Restore restore = Split(plans, {}, false);
  ASSERT_EQ(restore.Write.size(), 1u);
  EXPECT_EQ(restore.Write[0].Path, L"C:\\t\\Photo.JPG");  // as the folder spells it
  EXPECT_EQ(restore.Left, (std::vector<std::wstring>{L"C:\\t\\gone.txt: no such entry here",
                                                     L"C:\\t\\was a file: a folder here, a file when saved",
                                                     L"C:\\t\\Missing\\deep.txt: its folder could not be read"}));

  // A tree copied without its times gets its original's, entry by entry; what the copy has and the
  // original has not is named.
  fs.Disks = {{L"C:\\orig", Stamped(kDir, 10)},          {L"C:\\orig\\a.txt", Stamped(kFile, 20)},
              {L"C:\\orig\\Sub", Stamped(kDir, 30)},      {L"C:\\orig\\Sub\\b.txt", Stamped(kFile, 40)},
              {L"C:\\copy", Stamped(kDir, 90)},           {L"C:\\copy\\A.TXT", Stamped(kFile, 91)},
              {L"C:\\copy\\Sub", Stamped(kDir, 92)},      {L"C:\\copy\\Sub\\b.txt", Stamped(kFile, 93)},
              {L"C:\\copy\\Sub\\new.txt", Stamped(kFile, 94)}};
  std::vector<pw::EditFailure> failures;
  const std::vector<BatchEntry> entries =
      *pw::CollectEntries({{L"C:\\copy\\A.TXT"}, {L"C:\\copy\\Sub", true, fs.Disks[L"C:\\copy\\Sub"]}},
                          pw::Scope::Everything, fs, failures, {});
  const Restore copy = Split(*pw::PlanFromFolder(entries, L"C:\\copy\\", L"C:\\orig", fs, {}), {}, false);
  EXPECT_EQ(copy.Left, std::vector<std::wstring>{L"C:\\copy\\Sub\\new.txt: nothing of that name in the source"});
  pw::WriteEntries(copy.Write, pw::PlannedRule({}), fs, {});
  for (const auto& [from, to] : {std::pair{L"a.txt", L"A.TXT"}, {L"Sub", L"Sub"}, {L"Sub\\b.txt", L"Sub\\b.txt"}}) {
    const EntryInfo orig = fs.Disks[std::wstring(L"C:\\orig\\") + from], now = fs.Disks[std::wstring(L"C:\\copy\\") + to];
    EXPECT_EQ((std::vector<std::uint64_t>{now.Created, now.LastWrite, now.LastAccess}),
              (std::vector<std::uint64_t>{orig.Created, orig.LastWrite, orig.LastAccess}))
        << to;
  }
}

namespace {

// A folder with case-sensitive lookup (as every Wine drive has): names that differ in letter case
// only, two folders "x" and "X", a link to a folder outside (listed as a folder link, its entries
// reachable through it) and a link to a file outside that the listing shows as a plain file (Wine's).
testutil::FakeFs HostileDisk() {
  testutil::FakeFs fs;
  fs.Disks = {{L"C:\\t", Stamped(kDir, 1)},
              {L"C:\\t\\a.txt", Stamped(kFile, 10)},
              {L"C:\\t\\A.txt", Stamped(kFile, 20)},
              {L"C:\\t\\only.txt", Stamped(kFile, 30)},
              {L"C:\\t\\x", Stamped(kDir, 40)},
              {L"C:\\t\\x\\f.txt", Stamped(kFile, 50)},
              {L"C:\\t\\X", Stamped(kDir, 60)},
              {L"C:\\t\\X\\f.txt", Stamped(kFile, 70)},
              {L"C:\\t\\in", Stamped(kDir, 80)},
              {L"C:\\t\\in\\f.txt", Stamped(kFile, 90)},
              {L"C:\\t\\lnk", Stamped(kDir | 0x400, 100)},
              {L"C:\\t\\lnk\\secret.txt", Stamped(kFile, 110)},
              {L"C:\\t\\lfile", Stamped(kFile, 120)},
              {L"C:\\t\\lsibling", Stamped(kFile, 125)},
              {L"C:\\out", Stamped(kDir, 130)},
              {L"C:\\out\\secret.txt", Stamped(kFile, 140)}};
  fs.Leads = {{L"C:\\t\\lnk", L"C:\\out"},
              {L"C:\\t\\lfile", L"C:\\out\\secret.txt"},
              {L"C:\\t\\lsibling", L"C:\\tt\\x.txt"}};  // a folder whose name begins as the chosen one's
  return fs;
}

pw::TimesRow RowOf(const wchar_t* path, bool folder = false) {
  return {.Path = path, .IsFolder = folder, .Created = 5, .LastWrite = 6, .LastAccess = 7, .Attributes = 0x20};
}

}  // namespace

TEST(SavedTimes, EachRowFindsItsOwnEntryAndNoRowLeadsPastALinkOrOutsideTheFolder) {
  struct Case {
    const wchar_t* Row;
    const wchar_t* Gets;  // the entry it is given, or the reason it is left alone
  };
  const Case cases[] = {
      // By the exact name first; in another letter case only where that is the one entry of it.
      {L"a.txt", L"C:\\t\\a.txt"},
      {L"A.txt", L"C:\\t\\A.txt"},
      {L"a.TXT", L"more than one entry here has that name in another letter case"},
      {L"ONLY.txt", L"C:\\t\\only.txt"},
      {L"x\\f.txt", L"C:\\t\\x\\f.txt"},
      {L"X\\f.txt", L"C:\\t\\X\\f.txt"},
      // An entry reached in another letter case whose own row names it: that row keeps it.
      {L"x\\F.TXT", L"another row names this entry in its own letter case"},
      {L"in\\f.txt", L"C:\\t\\in\\f.txt"},
      {L"IN\\f.txt", L"another row names this entry in its own letter case"},
      // A link on the way is never passed; an entry that lands outside the folder is never written.
      {L"lnk\\secret.txt", L"a link to a folder on the way (lnk), which is not followed"},
      {L"lfile", L"it leads outside the chosen folder (\\\\?\\C:\\out\\secret.txt)"},
      {L"lsibling", L"it leads outside the chosen folder (\\\\?\\C:\\tt\\x.txt)"},
      {L"x\\gone.txt", L"no such entry here"},
  };
  testutil::FakeFs fs = HostileDisk();
  std::vector<pw::TimesRow> rows;
  for (const Case& c : cases) rows.push_back(RowOf(c.Row));
  const std::vector<pw::RestorePlan> plans = *pw::PlanFromSaved(rows, L"C:\\t\\", fs, {});
  ASSERT_EQ(plans.size(), std::size(cases));
  for (std::size_t i = 0; i < plans.size(); ++i) {
    EXPECT_EQ(plans[i].Entry.Planned ? plans[i].Entry.Path : plans[i].Note, cases[i].Gets) << cases[i].Row;
  }
  EXPECT_EQ(std::count(fs.Log.begin(), fs.Log.end(), L"list C:\\t\\lnk"), 0);  // never looked into

  // From another folder: the same rules for the source's names, and for where the entries land.
  fs.Disks[L"C:\\src"] = Stamped(kDir, 200);
  fs.Disks[L"C:\\src\\a.txt"] = Stamped(kFile, 210);
  fs.Disks[L"C:\\src\\lfile"] = Stamped(kFile, 220);
  fs.Disks[L"C:\\src\\lnk"] = Stamped(kDir | 0x400, 230);
  fs.Disks[L"C:\\src\\lnk\\secret.txt"] = Stamped(kFile, 240);
  std::vector<BatchEntry> entries;
  for (const wchar_t* path : {L"C:\\t\\a.txt", L"C:\\t\\A.txt", L"C:\\t\\lfile", L"C:\\t\\only.txt"})
    entries.push_back({path, false, fs.Disks[path]});
  const std::vector<pw::RestorePlan> copied = *pw::PlanFromFolder(entries, L"C:\\t\\", L"C:\\src", fs, {});
  std::vector<std::wstring> got;
  for (const pw::RestorePlan& plan : copied) got.push_back(plan.Entry.Planned ? L"planned" : plan.Note);
  EXPECT_EQ(got, (std::vector<std::wstring>{
                     L"planned", L"its namesake in the source is another entry's, of its own letter case",
                     L"it leads outside the chosen folder (\\\\?\\C:\\out\\secret.txt)",
                     L"nothing of that name in the source"}));
}

TEST(SavedTimes, ATreeWhoseNamesDifferInLetterCaseOnlyIsSavedWholeAndGivenBackEntryByEntry) {
  testutil::FakeFs fs = HostileDisk();
  fs.Disks.erase(L"C:\\t\\lfile");
  fs.Disks.erase(L"C:\\t\\lsibling");
  const auto saved = fs.Disks;
  std::vector<pw::EditFailure> failures;
  const std::vector<BatchEntry> entries =
      *pw::CollectEntries({{L"C:\\t", true, saved.at(L"C:\\t")}}, pw::Scope::Everything, fs, failures, {});
  // Both folders x and X walked; the link taken as an entry, not entered.
  std::vector<std::wstring> paths;
  for (const BatchEntry& entry : entries) paths.push_back(entry.Path);
  for (const wchar_t* path : {L"C:\\t\\x\\f.txt", L"C:\\t\\X\\f.txt", L"C:\\t\\a.txt", L"C:\\t\\A.txt", L"C:\\t\\lnk"})
    EXPECT_EQ(std::count(paths.begin(), paths.end(), path), 1) << path;
  EXPECT_EQ(std::count(paths.begin(), paths.end(), L"C:\\t\\lnk\\secret.txt"), 0);

  // What a save writes, its own restore takes: every row back onto its own entry.
  const pw::SavedTimes file = *pw::SaveTimes(entries, L"C:\\t\\", fs, {});
  const pw::TimesFile read = pw::ParseTimesFile(file.Bytes);
  ASSERT_FALSE(read.Error) << testing::PrintToString(read.Error->Text());
  ASSERT_EQ(read.Rows.size(), file.Rows);
  // Restored at once: nothing to write, so no entry is opened to ask where it lands.
  fs.Log.clear();
  pw::PlanFromSaved(read.Rows, L"C:\\t\\", fs, {});
  const auto asked = [](const std::wstring& call) { return call.starts_with(L"final"); };
  EXPECT_EQ(std::count_if(fs.Log.begin(), fs.Log.end(), asked), 1);  // the folder's own
  for (auto& [path, info] : fs.Disks) info.LastWrite += 1000;
  const std::vector<pw::RestorePlan> plans = *pw::PlanFromSaved(read.Rows, L"C:\\t\\", fs, {});
  std::vector<BatchEntry> writing;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    if (plans[i].Entry.Path == L"C:\\t\\lnk") continue;  // a link: its own times, where it lands
    ASSERT_TRUE(plans[i].Entry.Planned) << plans[i].Entry.Path << L": " << plans[i].Note;
    EXPECT_EQ(plans[i].Entry.Path, L"C:\\t\\" + read.Rows[i].Path);
    writing.push_back(plans[i].Entry);
  }
  pw::WriteEntries(writing, pw::PlannedRule({}), fs, {});
  for (const BatchEntry& entry : writing) EXPECT_EQ(fs.Disks[entry.Path], saved.at(entry.Path)) << entry.Path;

  // One of the pair saved alone: its restore writes it, never its namesake in the other case.
  const pw::SavedTimes one = *pw::SaveTimes({{L"C:\\t\\A.txt", false, saved.at(L"C:\\t\\A.txt")}}, L"C:\\t\\", fs, {});
  const std::vector<pw::RestorePlan> alone = *pw::PlanFromSaved(pw::ParseTimesFile(one.Bytes).Rows, L"C:\\t\\", fs, {});
  ASSERT_EQ(alone.size(), 1u);
  EXPECT_EQ(alone[0].Entry.Path, L"C:\\t\\A.txt");

  // A name Windows would trim is not saved, so that no restore ever refuses what a save wrote.
  fs.Disks[L"C:\\t\\sub."] = Stamped(kDir, 300);
  const pw::SavedTimes trimmed = *pw::SaveTimes({{L"C:\\t\\sub.", true, fs.Disks[L"C:\\t\\sub."]}}, L"C:\\t\\", fs, {});
  EXPECT_EQ(trimmed.Rows, 0u);
  ASSERT_EQ(trimmed.Left.size(), 1u);
  EXPECT_EQ(trimmed.Left[0].Reason, L"not saved: the path has a name that ends in a dot or a space (sub.)");
  EXPECT_FALSE(pw::ParseTimesFile(trimmed.Bytes).Error);
}
