// "Times From Content" worked out before anything is written: each source on a folder of files the
// fake file system holds, the zone a date without an offset is read in, entries left alone with
// their reason, a folder's newest entry worked out from the inside out, and the run that writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "timetools/core/ContentTimes.h"
#include "timetools/core/EditUndo.h"
#include "support/FakeEditFs.h"
#include "support/MediaBytes.h"

using pw::BatchEntry;
using pw::ContentSource;
using pw::EntryInfo;
using testmedia::FromUnix;

namespace {

constexpr std::uint32_t kFile = 0x20, kDir = 0x10;

// Berlin, for the name and EXIF dates without an offset: +1 in winter, +2 from the last Sunday of
// March 01:00 UTC to the last Sunday of October 01:00 UTC (2021: the 28th and the 31st).
pw::ReadingZone Berlin() {
  pw::ReadingZone zone;
  zone.BiasesAround = [](int) { return std::vector<std::int32_t>{-60, -120}; };
  zone.ToLocal = [](std::uint64_t utc) -> std::optional<std::uint64_t> {
    const bool summer = utc >= FromUnix(1616893200) && utc < FromUnix(1635642000);
    return utc + (summer ? 2 : 1) * 36'000'000'000ull;
  };
  return zone;
}

struct Row {
  std::wstring Path;
  std::optional<std::uint64_t> Planned;
  std::wstring Note;
  friend bool operator==(const Row&, const Row&) = default;
};
void PrintTo(const Row& row, std::ostream* out) {
  *out << std::string(row.Path.begin(), row.Path.end()) << " " << (row.Planned ? std::to_string(*row.Planned) : "-")
       << " " << std::string(row.Note.begin(), row.Note.end());
}

Row RowOf(const pw::ContentPlan& plan) {
  return {plan.Entry.Path, plan.Entry.Planned ? std::optional(plan.Entry.Planned->LastWrite) : std::nullopt, plan.Note};
}

std::vector<Row> Plan(testutil::FakeFs& fs, const std::vector<BatchEntry>& entries, pw::ContentRule rule) {
  const std::optional<std::vector<pw::ContentPlan>> plans = pw::PlanContentTimes(entries, rule, fs, {});
  std::vector<Row> rows;
  for (const pw::ContentPlan& plan : *plans) rows.push_back(RowOf(plan));
  return rows;
}

}  // namespace

TEST(ContentTimes, EachEntryGetsTheDateItHoldsOrIsLeftAloneWithItsReason) {
  testutil::FakeFs fs;
  using testmedia::ExifWithOriginal;
  using testmedia::JpegWithExif;
  fs.Contents = {
      {L"d\\offset.jpg", JpegWithExif(ExifWithOriginal(false, "2023:05:14 14:22:33", "457", "+02:00"))},
      {L"d\\local.jpg", JpegWithExif(ExifWithOriginal(true, "2021:10:31 02:30:00"))},
      {L"d\\gap.jpg", JpegWithExif(ExifWithOriginal(false, "2021:03:28 02:30:00"))},
      {L"d\\plain.txt", testmedia::Text("no picture here")},
      // Works out to file time 0, which a write takes as "leave it as it is".
      {L"d\\zero.jpg", JpegWithExif(ExifWithOriginal(false, "1601:01:01 01:00:00", "", "+01:00"))},
      {L"d\\cut.jpg", [] {
         testmedia::Bytes jpeg = JpegWithExif(ExifWithOriginal(false, "2023:05:14 14:22:33"));
         jpeg.resize(40);
         return jpeg;
       }()},
  };
  std::vector<BatchEntry> entries;
  for (const auto& [path, bytes] : fs.Contents) {
    fs.Disks[path] = {kFile, 1, 1, 1};
    entries.push_back({path});
  }
  entries.push_back({L"d", true});
  fs.Errors[L"content d\\cut.jpg"] = 32;  // held by another program without sharing
  pw::ContentRule rule;
  rule.Source = ContentSource::DateTaken;
  rule.Zone = Berlin();
  EXPECT_EQ(Plan(fs, entries, rule),
            (std::vector<Row>{
                {L"d\\cut.jpg", std::nullopt, L"could not be read"},
                // 02:30 came twice that night: the first, still in summer time.
                {L"d\\gap.jpg", std::nullopt, L"02:30 does not exist on 2021-03-28 in this zone"},
                {L"d\\local.jpg", FromUnix(1635640200), L"EXIF (zone picked); the hour came twice: the first is taken"},
                {L"d\\offset.jpg", FromUnix(1684066953, 4'570'000), L"EXIF, +02:00 (exact)"},
                {L"d\\plain.txt", std::nullopt, L"no date taken"},
                {L"d\\zero.jpg", std::nullopt, L"outside the range of file times"},
                {L"d", std::nullopt, L"a folder holds no date taken"},
            }));
  // A fixed offset reads every date without one the same way, spring or autumn.
  rule.Zone = pw::ReadingZone{};
  rule.Zone.FixedOffsetMinutes = -300;
  EXPECT_EQ(Plan(fs, {{L"d\\gap.jpg"}}, rule).at(0).Planned, FromUnix(1616916600));  // 07:30 UTC

  // Dates in the names, files and folders alike; a counter is no date.
  rule.Source = ContentSource::NameDate;
  rule.Zone = Berlin();
  EXPECT_EQ(Plan(fs, {{L"d\\IMG_20210514_142233.jpg"}, {L"d\\PXL_20210514_142233123.jpg"}, {L"d\\DSC_0001.jpg"},
                      {L"d\\2021-10-31", true}}, rule),
            (std::vector<Row>{{L"d\\IMG_20210514_142233.jpg", FromUnix(1620994953), L"name (zone picked)"},
                              {L"d\\PXL_20210514_142233123.jpg", FromUnix(1621002153, 1'230'000), L"name (UTC)"},
                              {L"d\\DSC_0001.jpg", std::nullopt, L"no date in the name"},
                              {L"d\\2021-10-31", FromUnix(1635631200), L"name (zone picked)"}}));
}

TEST(ContentTimes, AFolderGetsItsNewestEntryFromTheInsideOutAndTheRunWritesIt) {
  testutil::FakeFs fs;
  fs.Disks = {{L"t", {kDir, 5, 5, 5}},
              {L"t\\old.txt", {kFile, 1, 1, 100}},
              {L"t\\sub", {kDir, 2, 2, 50}},
              {L"t\\sub\\new.jpg", {kFile, 3, 3, 900}},
              {L"t\\empty", {kDir, 4, 4, 40}},
              {L"t\\sub\\deeper", {kDir, 6, 6, 60}},
              {L"t\\sub\\deeper\\newest.raw", {kFile, 7, 7, 950}}};
  const auto saved = fs.Disks;
  std::vector<pw::EditFailure> failures;
  const std::vector<BatchEntry> entries =
      *pw::CollectEntries({{L"t", true, saved.at(L"t")}}, pw::Scope::Folders, fs, failures, {});
  pw::ContentRule rule;
  rule.Source = ContentSource::NewestInside;
  rule.CountFolders = true;
  rule.Fields = {.Created = false, .LastWrite = true, .LastAccess = false};
  const auto plans = *pw::PlanContentTimes(entries, rule, fs, {});
  std::vector<Row> rows;
  for (const pw::ContentPlan& plan : plans) rows.push_back(RowOf(plan));
  // deeper holds newest.raw; sub's newest is then deeper (its new 950), above new.jpg's 900; t's
  // newest is sub, with its new time.
  EXPECT_EQ(rows, (std::vector<Row>{{L"t", 950, L"newest inside: sub"},
                                    {L"t\\empty", std::nullopt, L"nothing inside"},
                                    {L"t\\sub", 950, L"newest inside: deeper"},
                                    {L"t\\sub\\deeper", 950, L"newest inside: newest.raw"}}));
  // Files only: sub's newest file is new.jpg.
  rule.CountFolders = false;
  EXPECT_EQ(pw::PlanContentTimes({{L"t\\sub", true}}, rule, fs, {})->at(0).Entry.Planned->LastWrite, 900u);

  // Written as planned, last-write only; Undo takes it all back.
  std::vector<BatchEntry> planned;
  for (const pw::ContentPlan& plan : plans) planned.push_back(plan.Entry);
  pw::BatchResult run = pw::WriteEntries(planned, pw::PlannedRule(rule.Fields), fs, {});
  EXPECT_EQ(run.Written, 3u);
  EXPECT_EQ(fs.Disks[L"t"], (EntryInfo{kDir, 5, 5, 950}));
  EXPECT_EQ(fs.Disks[L"t\\empty"], saved.at(L"t\\empty"));
  pw::EditUndo undo;
  undo.Remember(std::move(run.Undo));
  EXPECT_TRUE(undo.Run(fs).Failures.empty());
  EXPECT_EQ(fs.Disks, saved);

  // Stopped while working it out: nothing.
  EXPECT_EQ(pw::PlanContentTimes(entries, rule, fs, [](std::size_t, std::size_t) { return false; }), std::nullopt);
}

TEST(ContentTimes, TheFileWrittenIsTheFileReadEvenWhenAnotherTakesItsNameMeanwhile) {
  testutil::FakeFs fs;
  const testmedia::Bytes photo =
      testmedia::JpegWithExif(testmedia::ExifWithOriginal(false, "2023:05:14 14:22:33", "", "+02:00"));
  std::vector<BatchEntry> entries;
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg", L"e.jpg"}) {
    fs.Contents[name] = photo;
    fs.Disks[name] = {kFile, 1, 1, 1};
    fs.Ids[name] = entries.size() + 1;
    entries.push_back({name});
  }
  pw::ContentRule rule;
  rule.Fields = {.Created = false, .LastWrite = true, .LastAccess = false};
  const auto run = [&] {
    std::optional<std::vector<pw::ContentPlan>> plans = pw::PlanContentTimes(entries, rule, fs, {});
    std::vector<BatchEntry> planned;
    pw::HeldWriters held;
    for (pw::ContentPlan& plan : *plans) {
      EXPECT_EQ(plan.Note, L"EXIF, +02:00 (exact)") << plan.Entry.Path;
      planned.push_back(plan.Entry);
      held.push_back(std::move(plan.Held));
    }
    return std::pair(std::move(planned), std::move(held));
  };

  // Another program saves b.jpg anew (a new file renamed over it) between the preview and the
  // writing: the photo read is written, which is no longer at the path; the new file keeps its
  // times, nothing of it goes to the undo, and the run says so.
  auto [planned, held] = run();
  EXPECT_EQ(std::count_if(held.begin(), held.end(), [](const auto& writer) { return writer != nullptr; }), 5);
  const EntryInfo saved{kFile, 5, 5, 5};
  fs.Ids[L"b.jpg"] = 99;
  fs.Disks[L"b.jpg"] = saved;
  pw::BatchResult written = pw::WriteEntries(planned, pw::PlannedRule(rule.Fields), fs, {}, nullptr, std::move(held));
  EXPECT_EQ(written.Failures, (std::vector<pw::EditFailure>{{L"b.jpg", pw::EditFault::Replaced, 0}}));
  EXPECT_EQ(fs.Disks[L"b.jpg"], saved);
  for (const wchar_t* name : {L"a.jpg", L"c.jpg", L"d.jpg", L"e.jpg"})
    EXPECT_EQ(fs.Disks[name].LastWrite, FromUnix(1684066953)) << name;
  EXPECT_EQ(written.Undo.size(), 4u);
  EXPECT_EQ(fs.OpenNow, 0u);

  // The system lets the run hold only three files open: it lets go of those it kept, reads on, and
  // every file is dated and written all the same, opened anew.
  fs.MostOpen = 3;
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg", L"e.jpg"}) fs.Disks[name] = {kFile, 1, 1, 1};
  std::tie(planned, held) = run();
  written = pw::WriteEntries(planned, pw::PlannedRule(rule.Fields), fs, {}, nullptr, std::move(held));
  EXPECT_TRUE(written.Failures.empty());
  EXPECT_EQ(written.Written, 5u);
}
