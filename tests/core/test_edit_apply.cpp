#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/core/EditApply.h"
#include "timetools/core/EditUndo.h"
#include "support/FakeEditFs.h"

using pw::EditFault;
using pw::EntryInfo;
using testutil::FakeFs;
using Lines = FakeFs::Lines;
using Failures = std::vector<pw::EditFailure>;

namespace {

constexpr std::uint64_t kNewCreated = 132'000'000'000'000'001, kNewWrite = 132'100'000'000'123'457;

EntryInfo Entry(std::uint32_t attributes) {
  return {attributes, 131'000'000'000'111'111, 131'500'000'000'222'222, 131'200'000'000'000'000};
}

pw::EditChoice Choice(bool times, std::optional<std::uint32_t> attributes) {
  pw::EditChoice choice{{}, attributes.has_value(), attributes.value_or(0)};
  if (times) choice.Times = {kNewCreated, std::nullopt, kNewWrite};
  return choice;
}

// The whole command without its window: the dialog's answer asked for, then written.
struct Applied {
  pw::EditOutcome Outcome = pw::EditOutcome::NothingReadable;
  pw::BatchResult Run;
};
Applied ApplyEdit(const std::vector<pw::EditTarget>& targets, FakeFs& fs, const pw::EditDialog& dialog) {
  pw::EditPlan plan = pw::AskEdit(targets, fs, dialog);
  Applied applied{plan.Outcome, {}};
  if (plan.Outcome == pw::EditOutcome::Updated) applied.Run = pw::WriteEdit(std::move(plan), fs, {});
  return applied;
}

Applied Apply(FakeFs& fs, const std::vector<pw::EditTarget>& targets, std::optional<pw::EditChoice> answer,
              std::vector<pw::EditDialogRequest>* shown = nullptr) {
  return ApplyEdit(targets, fs, [&](const pw::EditDialogRequest& request) {
    fs.Log.push_back(L"dialog");
    if (shown != nullptr) shown->push_back(request);
    return answer;
  });
}

}  // namespace

TEST(EditApply, ConfirmedTimesGoToEveryEntryExactlyWithoutTouchingAttributes) {
  FakeFs fs;
  fs.Disks = {{L"a", Entry(0x21)}, {L"b", Entry(0x2000)}, {L"sub", Entry(0x10)}};
  std::vector<pw::EditDialogRequest> shown;
  Apply(fs, {{L"a"}, {L"b"}, {L"sub\\", true}}, Choice(true, {}), &shown);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Caption, L"Edit File Params - a");
  EXPECT_TRUE(shown[0].TimesWritable);
  EXPECT_EQ(shown[0].Info, Entry(0x21));
  // Each entry is read through the handle it is written by just before, and read back by its path
  // once that handle is closed: what the volume kept, not what the handle still holds.
  EXPECT_EQ(fs.Log, (Lines{L"read a", L"open a", L"dialog", L"id a", L"readh a", L"times a", L"close a", L"read a",
                           L"open b", L"readh b", L"times b", L"close b", L"read b",
                           L"open sub", L"readh sub", L"times sub", L"close sub", L"read sub"}));
  for (const auto& [path, word] : {std::pair{L"a", 0x21u}, {L"b", 0x2000u}, {L"sub", 0x10u}}) {
    EXPECT_EQ(fs.Disks[path], (EntryInfo{word, kNewCreated, Entry(0).LastAccess, kNewWrite}));
  }
}

TEST(EditApply, ModifyAttributesSetsTheFourBitsAndKeepsEveryOther) {
  FakeFs fs;
  fs.Disks = {{L"a", Entry(0x2921)}, {L"dir", Entry(0x11)}, {L"h", Entry(0x02)},
              {L"dirh", Entry(0x12)}, {L"n", Entry(0x80)}};
  Apply(fs, {{L"a"}, {L"dir"}, {L"h"}, {L"dirh"}, {L"n"}}, Choice(false, 0x02 | 0x10));
  EXPECT_EQ(fs.Log, (Lines{L"read a", L"open a", L"dialog", L"id a", L"readh a", L"attr a 8450", L"close a",
                           L"read a", L"open dir", L"readh dir", L"attr dir 2", L"close dir", L"read dir",
                           L"open h", L"readh h", L"close h", L"open dirh", L"readh dirh", L"close dirh",
                           L"open n", L"readh n", L"attr n 2", L"close n", L"read n"}));
  EXPECT_EQ(fs.Disks[L"a"].Attributes, 0x2902u);
  EXPECT_EQ(fs.Disks[L"dir"].Attributes, 0x12u);

  fs.Disks = {{L"r", Entry(0x01)}, {L"dir", Entry(0x10)}, {L"i", Entry(0x2001)}, {L"pinned", Entry(0x80021)}};
  fs.Log.clear();
  Apply(fs, {{L"r"}, {L"dir"}, {L"i"}, {L"pinned"}}, Choice(false, 0));
  EXPECT_EQ(fs.Log, (Lines{L"read r", L"open r", L"dialog", L"id r", L"readh r", L"attr r 128", L"close r",
                           L"read r", L"open dir", L"readh dir", L"close dir", L"open i", L"readh i",
                           L"attr i 8192", L"close i", L"read i", L"open pinned", L"readh pinned",
                           L"attr pinned 524288", L"close pinned", L"read pinned"}));
  // A cloud file's pinned state (and the other bits the dialog does not show) is passed back.
  EXPECT_EQ(fs.Disks[L"pinned"].Attributes, 0x80000u);
}

TEST(EditApply, CancelAndUnreadableEntriesTouchNothing) {
  FakeFs fs;
  fs.Disks = {{L"a", Entry(0x21)}, {L"b", Entry(0x20)}, {L"C:\\t\\sub", Entry(0x10)}};
  fs.Errors[L"read gone"] = 5;
  EXPECT_EQ(Apply(fs, {{L"a"}, {L"b"}}, std::nullopt).Outcome, pw::EditOutcome::Cancelled);
  EXPECT_EQ(fs.Log, (Lines{L"read a", L"open a", L"dialog", L"close a"}));

  fs.Log.clear();
  std::vector<pw::EditDialogRequest> shown;
  Apply(fs, {{L""}, {L"gone"}, {L"C:\\t\\sub\\", true}, {L"a"}}, std::nullopt, &shown);
  EXPECT_EQ(shown.at(0).Caption, L"Edit Dir Params - sub");
  EXPECT_EQ(fs.Log, (Lines{L"read ", L"read gone", L"read C:\\t\\sub", L"open C:\\t\\sub",
                           L"dialog", L"close C:\\t\\sub"}));

  fs.Log.clear();
  const auto result = Apply(fs, {{L""}, {L"gone"}}, Choice(true, 0x02));
  EXPECT_EQ(result.Outcome, pw::EditOutcome::NothingReadable);
  EXPECT_EQ(fs.Log, (Lines{L"read ", L"read gone"}));
}

TEST(EditApply, EntriesThatCannotBeReadAtUpdateAreReportedWithTheirReason) {
  FakeFs fs;
  fs.Disks = {{L"a", Entry(0x20)}, {L"b", Entry(0x20)}, {L"c", Entry(0x20)}};
  fs.Errors[L"read gone"] = 5;
  // b is deleted while the dialog is open; "gone" could not be read before it; the drives entry
  // (no path) is no entry at all.
  const auto result = ApplyEdit({{L""}, {L"gone"}, {L"a"}, {L"b"}, {L"c"}}, fs, [&](const pw::EditDialogRequest&) {
    fs.Disks.erase(L"b");
    return std::optional(Choice(true, {}));
  });
  EXPECT_EQ(result.Run.Failures, (Failures{{L"gone", EditFault::Read, 5}, {L"b", EditFault::Read, 2}}));
  EXPECT_EQ(fs.Disks[L"c"].LastWrite, kNewWrite);
}

TEST(EditApply, AFileReplacedWhileTheDialogIsOpenGetsTheTimesAtItsPath) {
  FakeFs fs;
  fs.Disks = {{L"doc", Entry(0x20)}, {L"b", Entry(0x20)}};
  const EntryInfo saved{0x21, 133'000'000'000'000'001, 133'000'000'000'000'002, 133'000'000'000'000'003};
  const auto result = ApplyEdit({{L"doc"}, {L"b"}}, fs, [&](const pw::EditDialogRequest&) {
    // Another program saves doc: writes a new file and renames it over the old one.
    fs.Ids[L"doc"] = 1;
    fs.Disks[L"doc"] = saved;
    return std::optional(Choice(true, {}));
  });
  EXPECT_TRUE(result.Run.Failures.empty());
  EXPECT_TRUE(fs.Orphans.empty());  // nothing went to the old file
  EXPECT_EQ(fs.Disks[L"doc"], (EntryInfo{0x21, kNewCreated, saved.LastAccess, kNewWrite}));
  // The undo brings back what the file at the path held when it was written.
  ASSERT_EQ(result.Run.Undo.size(), 2u);
  EXPECT_EQ(result.Run.Undo[0].Before, saved);
}

TEST(EditApply, FailuresAreReportedAndTheOtherEntriesStillApplied) {
  FakeFs fs;
  fs.Disks = {{L"a", Entry(0x21)}, {L"b", Entry(0x21)}, {L"c", Entry(0x21)}, {L"d", Entry(0x21)}};
  fs.Errors = {{L"open b", 32}, {L"times c", 5}, {L"attr d", 5}};
  const auto result = Apply(fs, {{L"a"}, {L"b"}, {L"c"}, {L"d"}}, Choice(true, 0x02));
  EXPECT_EQ(result.Run.Failures, (Failures{{L"b", EditFault::Times, 32}, {L"c", EditFault::Times, 5},
                                       {L"d", EditFault::Attributes, 5}}));
  for (const std::wstring path : {L"a", L"b", L"c", L"d"}) {
    EXPECT_EQ(fs.Disks[path].LastWrite == kNewWrite, path == L"a" || path == L"d") << path;
    EXPECT_EQ(fs.Disks[path].Attributes, path == L"d" ? 0x21u : 0x02u) << path;
  }
  EXPECT_EQ(result.Run.Undo.size(), 4u);
  EXPECT_TRUE(fs.Open.empty());

  // The shown entry cannot take times: no entry gets any, whatever the dialog hands back.
  fs.Disks = {{L"x", Entry(0x21)}, {L"y", Entry(0x21)}};
  fs.Errors = {{L"open x", 5}};
  fs.Log.clear();
  std::vector<pw::EditDialogRequest> shown;
  EXPECT_TRUE(Apply(fs, {{L"x"}, {L"y"}}, Choice(true, 0x02), &shown).Run.Failures.empty());
  EXPECT_FALSE(shown.at(0).TimesWritable);
  EXPECT_EQ(fs.Log, (Lines{L"read x", L"open x", L"dialog", L"open x", L"read x", L"attr x 2", L"read x",
                           L"open y", L"readh y", L"attr y 2", L"close y", L"read y"}));
}

TEST(EditUndo, RestoresExactValuesUnlessChangedSince) {
  FakeFs fs;
  fs.Disks = {{L"a", Entry(0x2121)}, {L"b", Entry(0x21)}, {L"c", Entry(0x21)},
              {L"fat", Entry(0x20)}};
  fs.Fat = L"fat";
  const auto saved = fs.Disks;
  pw::EditUndo undo;
  undo.Remember(Apply(fs, {{L"a"}, {L"b"}, {L"c"}, {L"fat"}}, Choice(true, 0x02)).Run.Undo);
  ASSERT_TRUE(undo.Available());

  // b was changed since in a value the run wrote; a was only read since, which moved its last-access
  // time: that one was never the run's to compare or take back.
  fs.Disks[L"b"].LastWrite += 1;
  fs.Disks[L"a"].LastAccess += 7;
  fs.Errors = {{L"attr c", 5}};
  fs.Log.clear();
  const pw::BatchResult undone = undo.Run(fs);
  // The last written is taken back first.
  EXPECT_EQ(undone.Failures, (Failures{{L"c", EditFault::Attributes, 5}, {L"b", EditFault::ChangedSince, 0}}));
  EXPECT_EQ(Lines(fs.Log.end() - 7, fs.Log.end()),
            (Lines{L"read b", L"read a", L"open a", L"times a", L"close a", L"attr a 8481", L"read a"}));
  // What the undo went on to, as read back, for the list to show; the entry left alone is not there.
  ASSERT_EQ(undone.Undo.size(), 3u);
  EXPECT_EQ(undone.Undo[2].Path, L"a");
  EntryInfo aRead = saved.at(L"a");
  aRead.LastAccess += 7;
  EXPECT_EQ(undone.Undo[2].After, aRead);
  EXPECT_EQ(undone.Undo[1].Path, L"c");
  EXPECT_EQ(fs.Disks[L"a"], aRead);
  EXPECT_NE(fs.Disks[L"b"], saved.at(L"b"));
  EXPECT_EQ(fs.Disks[L"c"].LastWrite, saved.at(L"c").LastWrite);
  EXPECT_EQ(fs.Disks[L"fat"].LastWrite, saved.at(L"fat").LastWrite);
  EXPECT_EQ(fs.Disks[L"fat"].Attributes, 0x20u);

  EXPECT_FALSE(undo.Available());
  fs.Log.clear();
  EXPECT_TRUE(undo.Run(fs).Failures.empty());
  EXPECT_TRUE(fs.Log.empty());

  // An apply that changes nothing (the same values written again) keeps the last edit's record.
  undo.Remember(Apply(fs, {{L"c"}}, Choice(true, 0x02)).Run.Undo);
  ASSERT_TRUE(undo.Available());
  const EntryInfo same = fs.Disks[L"a"];
  undo.Remember(Apply(fs, {{L"a"}}, pw::EditChoice{{same.Created, same.LastAccess, same.LastWrite}}).Run.Undo);
  EXPECT_TRUE(undo.Available());
  fs.Log.clear();
  EXPECT_TRUE(undo.Run(fs).Failures.empty());
  EXPECT_EQ(fs.Log.front(), L"read c");
}
