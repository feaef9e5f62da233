// What a volume keeps of a written time: the rules by file-system name, FAT's years and day on the
// local clock, its roundings either way, and the read-back of a run sorted into what the volume was
// expected to do and what it was not.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "timetools/core/VolumeRules.h"
#include "support/CalendarFixtures.h"

using pw::KeptStamp;
using pw::TimeField;
using pw::UnexpectedRounding;

namespace {

constexpr std::int64_t kHour = 36'000'000'000;
constexpr KeptStamp kCannotHold{.What = KeptStamp::Outcome::CannotHold};

std::uint64_t Utc(int y, int mo, int d, int h, int mi, int s, int ms, std::uint64_t ticks = 0) {
  std::uint64_t t = 0;
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(y, mo, d, h, mi, s, ms), t));
  return t + ticks;
}

// A zone `hours` ahead of UTC on every date, as FAT is written: with the offset in force now.
pw::ToLocalTime Zone(int hours) {
  return [hours](std::uint64_t utc) -> std::optional<std::uint64_t> { return utc + hours * kHour; };
}
// The UTC stamp of a wall-clock time in that zone.
std::uint64_t LocalIn(int hours, int y, int mo, int d, int h, int mi, int s, int ms, std::uint64_t ticks = 0) {
  return Utc(y, mo, d, h, mi, s, ms, ticks) - hours * kHour;
}
KeptStamp Stored(std::uint64_t value) { return {.What = KeptStamp::Outcome::Stored, .Value = value}; }

pw::VolumeRules Rules(const wchar_t* name) { return pw::RulesForFileSystem(name).value(); }

}  // namespace

TEST(VolumeRules, TheNamesTheSystemReportsAndNoneOther) {
  for (const wchar_t* name : {L"NTFS", L"ReFS", L"ntfs"}) {
    const pw::VolumeRules rules = Rules(name);
    EXPECT_EQ(rules.FileSystem, name);
    EXPECT_EQ(rules.LastWrite.Granule, 1u);
    EXPECT_EQ(rules.Created.Granule, 1u);
    EXPECT_FALSE(rules.LastAccess.LocalTime);
  }
  for (const wchar_t* name : {L"FAT", L"FAT12", L"FAT16", L"FAT32", L"fat32"}) {
    const pw::VolumeRules rules = Rules(name);
    EXPECT_EQ(rules.LastWrite.Granule, 20'000'000u);
    EXPECT_EQ(rules.Created.Granule, 100'000u);
    EXPECT_EQ(rules.LastAccess.Granule, pw::kTicksPerDay);
    EXPECT_TRUE(rules.LastWrite.LocalTime && rules.Created.Kept);
  }
  EXPECT_EQ(Rules(L"exFAT").LastWrite.Granule, 100'000u);
  for (const wchar_t* name : {L"UDF", L"CDFS", L"", L"FAT64", L"NTFS ", L"fuseblk"})
    EXPECT_FALSE(pw::RulesForFileSystem(name).has_value()) << name;
}

TEST(VolumeRules, FatHoldsItsYearsOnTheLocalClock) {
  const pw::VolumeRules fat = Rules(L"FAT32");
  for (const int zone : {2, -5}) {
    const std::uint64_t first = LocalIn(zone, 1980, 1, 1, 0, 0, 0, 0);
    for (const pw::TimeKeeping* keeping : {&fat.Created, &fat.LastWrite, &fat.LastAccess}) {
      EXPECT_EQ(pw::PredictKept(*keeping, first, Zone(zone)), Stored(first));
      // One tick before: the write and the access round up into 1980; the creation is on the last
      // day of 1979, which the driver keeps as the first moment of 1980 rather than refuse.
      EXPECT_EQ(pw::PredictKept(*keeping, first - 1, Zone(zone)), Stored(first));
      // The whole last day of 1979 is held, once led, to its first tick; the tick before is refused.
      const std::uint64_t lastDay = LocalIn(zone, 1979, 12, 31, 0, 0, 0, 0) - keeping->Lead;
      EXPECT_EQ(pw::PredictKept(*keeping, lastDay, Zone(zone)), Stored(first));
      EXPECT_EQ(pw::PredictKept(*keeping, lastDay - 1, Zone(zone)), kCannotHold);
      EXPECT_EQ(pw::PredictKept(*keeping, LocalIn(zone, 2108, 1, 1, 0, 0, 0, 0), Zone(zone)), kCannotHold);
    }
    // The last 10 ms of 2107 hold a creation, but a write or access rounded up leaves the range.
    const std::uint64_t lastCentisecond = LocalIn(zone, 2107, 12, 31, 23, 59, 59, 990);
    EXPECT_EQ(pw::PredictKept(fat.Created, lastCentisecond + 99'999, Zone(zone)), Stored(lastCentisecond));
    EXPECT_EQ(pw::PredictKept(fat.LastWrite, lastCentisecond, Zone(zone)), kCannotHold);
    EXPECT_EQ(pw::PredictKept(fat.LastAccess, lastCentisecond, Zone(zone)), kCannotHold);
    const std::uint64_t lastEvenSecond = LocalIn(zone, 2107, 12, 31, 23, 59, 58, 0);
    EXPECT_EQ(pw::PredictKept(fat.LastWrite, lastEvenSecond, Zone(zone)), Stored(lastEvenSecond));
  }
  // 23:30 UTC on the last day of 1979 is already 1980 two hours east, still 1979 five hours west.
  const std::uint64_t utcEve = Utc(1979, 12, 31, 23, 30, 0, 0);
  EXPECT_EQ(pw::PredictKept(fat.Created, utcEve, Zone(2)), Stored(utcEve));
  EXPECT_EQ(pw::PredictKept(fat.Created, utcEve, Zone(-5)), Stored(LocalIn(-5, 1980, 1, 1, 0, 0, 0, 0)));
  EXPECT_EQ(pw::PredictKept(fat.Created, utcEve, nullptr), kCannotHold);  // no local time to tell by
}

TEST(VolumeRules, FatRoundsTheWriteUpTheCreationDownAndTakesTheAccessDayLocally) {
  const pw::VolumeRules fat = Rules(L"FAT");
  const pw::ToLocalTime east = Zone(2), west = Zone(-5);
  const std::uint64_t even = Utc(2020, 7, 1, 12, 0, 14, 0);
  EXPECT_EQ(pw::PredictKept(fat.LastWrite, even - 10'000'000, east), Stored(even));  // an odd second
  EXPECT_EQ(pw::PredictKept(fat.LastWrite, even, east), Stored(even));
  EXPECT_EQ(pw::PredictKept(fat.LastWrite, even + 1, east), Stored(even + 20'000'000));
  EXPECT_EQ(pw::PredictKept(fat.Created, even + 1'234'567, east), Stored(even + 1'200'000));

  // 23:30 UTC is 01:30 the next day two hours east: the access day is the local one, read back as
  // local midnight; five hours west it is 18:30 the same day.
  const std::uint64_t lateEvening = Utc(2020, 7, 1, 23, 30, 0, 0);
  EXPECT_EQ(pw::PredictKept(fat.LastAccess, lateEvening, east), Stored(LocalIn(2, 2020, 7, 2, 0, 0, 0, 0)));
  EXPECT_EQ(pw::PredictKept(fat.LastAccess, lateEvening, west), Stored(LocalIn(-5, 2020, 7, 1, 0, 0, 0, 0)));
  // The access is rounded up to 2 s before its day is taken: the last 2 s of a day go to the next.
  EXPECT_EQ(pw::PredictKept(fat.LastAccess, LocalIn(2, 2020, 7, 1, 23, 59, 58, 500), east),
            Stored(LocalIn(2, 2020, 7, 2, 0, 0, 0, 0)));
  EXPECT_EQ(pw::PredictKept(fat.LastAccess, LocalIn(2, 2020, 7, 1, 23, 59, 58, 0), east),
            Stored(LocalIn(2, 2020, 7, 1, 0, 0, 0, 0)));
}

TEST(VolumeRules, ExFatKeeps10MsAndNtfsEveryTickOfItsRange) {
  const pw::VolumeRules exfat = Rules(L"exFAT"), ntfs = Rules(L"NTFS");
  const std::uint64_t stamp = Utc(2020, 7, 1, 12, 0, 13, 123, 4567);
  EXPECT_EQ(pw::PredictKept(exfat.Created, stamp, Zone(2)), Stored(Utc(2020, 7, 1, 12, 0, 13, 120)));
  EXPECT_EQ(pw::PredictKept(exfat.LastWrite, stamp, Zone(2)), Stored(Utc(2020, 7, 1, 12, 0, 13, 130)));
  EXPECT_EQ(pw::PredictKept(exfat.LastWrite, LocalIn(2, 1979, 12, 31, 23, 0, 0, 0), Zone(2)), kCannotHold);

  // No local clock asked for; 0 would mean "unchanged" and is never a stamp kept.
  for (const std::uint64_t asked : {std::uint64_t{1}, stamp, Utc(1601, 1, 1, 0, 0, 0, 1), pw::kLastFileTime})
    EXPECT_EQ(pw::PredictKept(ntfs.LastAccess, asked, nullptr), Stored(asked));
  EXPECT_EQ(pw::PredictKept(ntfs.Created, pw::kLastFileTime + 1, nullptr), kCannotHold);
  EXPECT_EQ(pw::PredictKept({.First = 0}, 0, nullptr), kCannotHold);  // not even where the range allows it
  EXPECT_EQ(pw::PredictKept({.Kept = false}, stamp, nullptr), KeptStamp{.What = KeptStamp::Outcome::Unchanged});
}

TEST(VolumeRules, TheForecastOfAChangeNamesWhatDiffersAndLeavesOutWhatCannotBeHeld) {
  const pw::VolumeRules fat = Rules(L"FAT32");
  const std::uint64_t even = Utc(2020, 7, 1, 12, 0, 14, 0);
  pw::EntryInfo before;
  before.Created = before.LastWrite = before.LastAccess = even;
  // A shift of 1.5 s: the write rounds up to 2 s, the access keeps its day, the creation 10 ms.
  const pw::TimeChange shifted{.Created = even + 15'000'000, .LastAccess = even + 15'000'000,
                               .LastWrite = even + 15'000'000};
  pw::ChangeForecast forecast = pw::ForecastChange(shifted, before, fat, Zone(2));
  EXPECT_EQ(forecast.Kept.LastWrite, even + 20'000'000);
  EXPECT_EQ(forecast.Kept.LastAccess, LocalIn(2, 2020, 7, 1, 0, 0, 0, 0));
  EXPECT_FALSE(forecast.Kept.Created.has_value());  // 14.5 s is on its 10-ms grid: kept as asked
  EXPECT_FALSE(forecast.CannotHold.has_value());

  // One time out of range leaves the whole entry out, and names the first such time.
  const std::uint64_t in1975 = Utc(1975, 6, 1, 12, 0, 0, 0);
  forecast = pw::ForecastChange({.Created = {}, .LastAccess = in1975, .LastWrite = in1975 + 1}, before, fat, Zone(2));
  EXPECT_EQ(forecast.CannotHold, TimeField::LastWrite);
  EXPECT_EQ(forecast.Refused, in1975 + 1);
  EXPECT_FALSE(forecast.Kept.Any());
  EXPECT_TRUE(forecast.Differs());

  // NTFS keeps every asked tick: nothing to say. A volume that keeps nothing keeps what it had.
  EXPECT_FALSE(pw::ForecastChange(shifted, before, Rules(L"NTFS"), nullptr).Differs());
  pw::VolumeRules ignoring = Rules(L"NTFS");
  ignoring.LastWrite.Kept = false;
  forecast = pw::ForecastChange({.Created = {}, .LastAccess = {}, .LastWrite = even + 1}, before, ignoring, nullptr);
  EXPECT_EQ(forecast.Kept.LastWrite, even);
  EXPECT_FALSE(pw::ForecastChange({.Created = {}, .LastAccess = {}, .LastWrite = even}, before, ignoring, nullptr).Differs());
}

TEST(VolumeRoundings, ExpectedRoundingsAreCountedPerTimeAndAnythingElseIsListed) {
  const pw::VolumeRules fat = Rules(L"FAT32");
  const std::uint64_t odd = Utc(2020, 7, 1, 12, 0, 13, 0), before = Utc(2019, 1, 1, 0, 0, 0, 0);
  const std::vector<pw::Rounding> run = {
      {L"windows", TimeField::LastWrite, odd, odd + 10'000'000, before},  // rounded up
      {L"fuse", TimeField::LastWrite, odd, odd - 10'000'000, before},     // rounded down
      {L"created", TimeField::Created, odd + 1'234'567, odd + 1'200'000, before},
      {L"accessed", TimeField::LastAccess, Utc(2020, 7, 1, 23, 30, 0, 0), LocalIn(2, 2020, 7, 2, 0, 0, 0, 0), before},
      {L"wrapped", TimeField::LastWrite, Utc(1979, 6, 1, 0, 0, 0, 0), Utc(2107, 6, 1, 0, 0, 0, 0), before},
      {L"ignored", TimeField::LastWrite, odd, before, before},
      {L"a granule off", TimeField::LastWrite, odd + 10'000'000, odd + 30'000'000, before},  // even, 2 s on
      {L"off the grid", TimeField::LastWrite, odd, odd + 5'000'000, before},
      // The old value back, on the grid a second from the asked one: the write was ignored.
      {L"ignored on the grid", TimeField::LastWrite, odd, odd - 10'000'000, odd - 10'000'000},
  };
  const pw::SortedRoundings sorted = pw::SortRoundings(run, fat, Zone(2));
  EXPECT_EQ(sorted.Predicted, (std::vector<pw::RoundingGroup>{
                                  {TimeField::Created, 1}, {TimeField::LastWrite, 2}, {TimeField::LastAccess, 1}}));
  EXPECT_EQ(sorted.Unexpected, (std::vector<UnexpectedRounding>{{run[4], UnexpectedRounding::Kind::KeptOtherwise},
                                                                {run[5], UnexpectedRounding::Kind::KeptNothing},
                                                                {run[6], UnexpectedRounding::Kind::KeptOtherwise},
                                                                {run[7], UnexpectedRounding::Kind::KeptOtherwise},
                                                                {run[8], UnexpectedRounding::Kind::KeptNothing}}));
  // What a volume may keep: a rounding it makes, nothing, the last write in place of a time it
  // keeps none of; never a wrapped year.
  const pw::EntryInfo after{0x20, odd - 10'000'000, odd, odd - 10'000'000};
  EXPECT_TRUE(pw::MayKeep(run[0], after, fat, Zone(2)));
  EXPECT_TRUE(pw::MayKeep(run[5], after, fat, Zone(2)));
  EXPECT_FALSE(pw::MayKeep(run[4], after, fat, Zone(2)));
  EXPECT_TRUE(pw::MayKeep(run[4], after, std::nullopt, Zone(2)));
  EXPECT_TRUE(pw::MayKeep({L"c", TimeField::Created, odd + 7, odd - 10'000'000, before}, after, Rules(L"NTFS"), Zone(2)));
  EXPECT_FALSE(pw::MayKeep({L"w", TimeField::LastWrite, odd + 7, odd, before}, after, Rules(L"NTFS"), Zone(2)));
  EXPECT_EQ(pw::RoundingSummary({TimeField::LastWrite, 1234}, fat, L","),
            L"1,234 entries: last write kept to 2 s, as this FAT32 volume does");
  EXPECT_EQ(pw::RoundingSummary({TimeField::Created, 1}, fat, L","),
            L"1 entry: creation kept to 10 ms, as this FAT32 volume does");
  EXPECT_EQ(pw::RoundingSummary({TimeField::LastAccess, 3}, fat, L","),
            L"3 entries: last access kept to the day, as this FAT32 volume does");

  // A volume whose name tells nothing: nothing is claimed, every entry is listed.
  const pw::SortedRoundings unknown = pw::SortRoundings(run, std::nullopt, Zone(2));
  EXPECT_TRUE(unknown.Predicted.empty());
  ASSERT_EQ(unknown.Unexpected.size(), run.size());
  EXPECT_EQ(unknown.Unexpected[5].Why, UnexpectedRounding::Kind::KeptNothing);

  // A time the rules say is not kept: holding what it had is the expected outcome.
  pw::VolumeRules noCreation = fat;
  noCreation.Created.Kept = false;
  const pw::Rounding unkept{L"x", TimeField::Created, odd, before, before};
  EXPECT_EQ(pw::SortRoundings({&unkept, 1}, noCreation, Zone(2)).Predicted,
            (std::vector<pw::RoundingGroup>{{TimeField::Created, 1}}));
  EXPECT_EQ(pw::RoundingSummary({TimeField::Created, 2}, noCreation, L","),
            L"2 entries: creation not kept, as this FAT32 volume does");
}

TEST(VolumeRoundings, AVolumeThatNamesItselfNtfsIsLearnedToKeepTheGridItsValuesShow) {
  const std::uint64_t whole = Utc(2020, 7, 1, 12, 0, 14, 0), before = Utc(2019, 1, 1, 0, 0, 0, 0);
  struct Row {
    const wchar_t* What;
    pw::Rounding Stored;
    std::uint64_t Granule;  // learned for the time; 1: nothing learned
  };
  const Row rows[] = {
      {L"cut to the second", {L"a", TimeField::LastWrite, whole + 1'234'567, whole, before}, 10'000'000},
      {L"cut to 2 s", {L"b", TimeField::LastAccess, whole + 15'000'000, whole, before}, 20'000'000},
      {L"cut to 10 ms", {L"c", TimeField::LastWrite, whole + 123'456, whole + 100'000, before}, 100'000},
      {L"a write ignored", {L"d", TimeField::LastWrite, whole + 1'234'567, before, before}, 1},
      {L"a second off", {L"e", TimeField::LastWrite, whole + 1'234'567, whole - 10'000'000, before}, 1},
      {L"off every grid", {L"f", TimeField::LastWrite, whole + 1'234'567, whole + 7, before}, 1},
  };
  for (const Row& row : rows) {
    pw::VolumeRules share = Rules(L"NTFS");
    share.Network = true;
    EXPECT_EQ(pw::LearnKeeping(share, row.Stored, Zone(2)), row.Granule > 1) << row.What;
    EXPECT_EQ(share.For(row.Stored.Field).Granule, row.Granule) << row.What;
    if (row.Granule == 1) continue;
    // Learned, the value is what the volume keeps: predicted, forecast and said once per time.
    EXPECT_EQ(pw::PredictKept(share.For(row.Stored.Field), row.Stored.Asked, Zone(2)), Stored(row.Stored.Stored));
    EXPECT_TRUE(pw::MayKeep(row.Stored, {}, share, Zone(2))) << row.What;
    EXPECT_FALSE(pw::LearnKeeping(share, row.Stored, Zone(2))) << row.What;
  }
  pw::VolumeRules share = Rules(L"NTFS");
  share.Network = true;
  ASSERT_TRUE(pw::LearnKeeping(share, rows[0].Stored, Zone(2)));
  EXPECT_EQ(pw::RoundingSummary({TimeField::LastWrite, 10000}, share, L","),
            L"10,000 entries: last write kept to 1 s, as this share does");
}
