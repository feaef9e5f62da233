// A wall-clock date read in the zone the user picks: fixed offsets on either side of UTC, and a
// zone like Berlin's whose spring hour never occurs and whose autumn hour occurs twice; a date
// that carries its own offset ignores the zone.
#include <gtest/gtest.h>

#include "media/core/FoundDate.h"
#include "support/MediaBytes.h"

using pw::ReadingZone;
using pw::WallClock;
using testmedia::FromUnix;

namespace {

ReadingZone Fixed(std::int32_t minutes) {
  ReadingZone zone;
  zone.FixedOffsetMinutes = minutes;
  return zone;
}

// Berlin in 2021: UTC+1, and UTC+2 from 28 March 01:00 UTC to 31 October 01:00 UTC. Its clock,
// like the platform's, keeps only milliseconds.
ReadingZone Berlin() {
  constexpr std::uint64_t kHour = 36'000'000'000, kSpring = FromUnix(1616893200), kAutumn = FromUnix(1635642000);
  ReadingZone zone;
  zone.BiasesAround = [](int) { return std::vector<std::int32_t>{-60, -120}; };
  zone.ToLocal = [](std::uint64_t utc) -> std::optional<std::uint64_t> {
    const std::uint64_t local = utc + (utc >= kSpring && utc < kAutumn ? 2 : 1) * kHour;
    return local - local % 10'000;
  };
  return zone;
}

pw::FoundDate Found(const WallClock& clock, std::optional<std::int32_t> offset, pw::DateOrigin origin) {
  return pw::FoundDate{.Origin = origin, .Clock = clock, .UtcOffset = offset};
}

}  // namespace

TEST(WallClockZone, FixedOffsetsOnEitherSideOfUtc) {
  const WallClock clock{.Year = 2023, .Month = 5, .Day = 14, .Hour = 14, .Minute = 22, .Second = 33, .SubSecond = 4'570'000};
  EXPECT_EQ(pw::PlaceInZone(clock, Fixed(120)).Instant, FromUnix(1684066953, 4'570'000));
  EXPECT_EQ(pw::PlaceInZone(clock, Fixed(0)).Instant, FromUnix(1684074153, 4'570'000));
  EXPECT_EQ(pw::PlaceInZone(clock, Fixed(-330)).Instant, FromUnix(1684093953, 4'570'000));
  // Fixed offsets have no gaps nor repeats, even on the nights the zones change.
  const pw::ZonedTime spring = pw::PlaceInZone({2021, 3, 28, 2, 30}, Fixed(60));
  EXPECT_EQ(spring.Instant, FromUnix(1616895000));
  EXPECT_FALSE(spring.Repeated);
  // A clock so early that the offset moves it before 1601.
  EXPECT_EQ(pw::PlaceInZone({1601, 1, 1, 0, 30}, Fixed(60)).Instant, std::nullopt);
  EXPECT_EQ(pw::PlaceInZone({1601, 1, 1, 0, 30}, Fixed(60)).Problem, L"outside the range of file times");
}

TEST(WallClockZone, TheSpringGapIsSkippedAndTheAutumnHourIsTheEarlierInstant) {
  const ReadingZone berlin = Berlin();
  const pw::ZonedTime summer = pw::PlaceInZone({2021, 7, 10, 12, 0, 0, 1'234'567}, berlin);
  EXPECT_EQ(summer.Instant, FromUnix(1625911200, 1'234'567));  // every tick kept below the zone's milliseconds
  EXPECT_FALSE(summer.Repeated);
  EXPECT_EQ(pw::PlaceInZone({2021, 1, 10, 12, 0}, berlin).Instant, FromUnix(1610276400));

  const pw::ZonedTime gap = pw::PlaceInZone({2021, 3, 28, 2, 30}, berlin);
  EXPECT_EQ(gap.Instant, std::nullopt);
  EXPECT_EQ(gap.Problem, L"02:30 does not exist on 2021-03-28 in this zone");
  EXPECT_EQ(pw::PlaceInZone({2021, 3, 28, 2, 59, 59, 9'999'999}, berlin).Problem,
            L"02:59:59 does not exist on 2021-03-28 in this zone");
  EXPECT_EQ(pw::PlaceInZone({2021, 3, 28, 1, 59, 59}, berlin).Instant, FromUnix(1616893199));
  EXPECT_EQ(pw::PlaceInZone({2021, 3, 28, 3, 0}, berlin).Instant, FromUnix(1616893200));

  const pw::ZonedTime twice = pw::PlaceInZone({2021, 10, 31, 2, 30, 0, 5}, berlin);
  EXPECT_EQ(twice.Instant, FromUnix(1635640200, 5));  // 00:30 UTC, not 01:30
  EXPECT_TRUE(twice.Repeated);
  EXPECT_TRUE(twice.Problem.empty());
  EXPECT_FALSE(pw::PlaceInZone({2021, 10, 31, 3, 0}, berlin).Repeated);
  EXPECT_FALSE(pw::PlaceInZone({2021, 10, 31, 1, 59, 59}, berlin).Repeated);

  // A zone that cannot tell its offsets places nothing.
  ReadingZone blind = berlin;
  blind.BiasesAround = [](int) { return std::vector<std::int32_t>{}; };
  EXPECT_EQ(pw::PlaceInZone({2021, 7, 10, 12, 0}, blind).Problem, L"cannot be placed in this zone");
}

TEST(WallClockZone, ADateWithItsOwnOffsetIgnoresTheZoneAndSaysWhereItCameFrom) {
  const WallClock clock{.Year = 2021, .Month = 3, .Day = 28, .Hour = 2, .Minute = 30};
  // In the gap of the user's zone, but the file says +05:45: an instant all the same.
  const pw::FoundDate exif = Found(clock, 345, pw::DateOrigin::ExifOriginal);
  EXPECT_EQ(pw::PlaceDate(exif, Berlin()).Instant, FromUnix(1616877900));
  EXPECT_EQ(pw::PlaceDate(exif, Fixed(-600)).Instant, FromUnix(1616877900));
  EXPECT_EQ(pw::PlaceDate(Found(clock, std::nullopt, pw::DateOrigin::Name), Berlin()).Instant, std::nullopt);
  EXPECT_EQ(pw::PlaceDate(Found(clock, std::nullopt, pw::DateOrigin::Name), Fixed(-600)).Instant, FromUnix(1616934600));

  EXPECT_EQ(pw::OriginText(exif), L"EXIF, +05:45");
  EXPECT_EQ(pw::OriginText(Found(clock, -210, pw::DateOrigin::ExifDigitized)), L"EXIF digitized, -03:30");
  EXPECT_EQ(pw::OriginText(Found(clock, std::nullopt, pw::DateOrigin::ExifDigitized)), L"EXIF digitized");
  EXPECT_EQ(pw::OriginText(Found(clock, 0, pw::DateOrigin::QuickTimeKey)), L"QuickTime, +00:00");
  EXPECT_EQ(pw::OriginText(Found(clock, 0, pw::DateOrigin::MovieHeader)), L"QuickTime");
  EXPECT_EQ(pw::OriginText(Found(clock, std::nullopt, pw::DateOrigin::Name)), L"name");
}
