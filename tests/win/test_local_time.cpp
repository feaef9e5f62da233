// Local date-times and UTC file times, both ways, in the user's zone with its rules for each date.
// The test run sets the zone to Europe/Berlin; elsewhere these tests skip.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

#include "common/core/DateTime.h"
#include "common/platform/LocalTime.h"
#include "support/Files.h"
#include "../core/support/CalendarFixtures.h"

namespace {

bool ZoneIsCentralEurope() {
  TIME_ZONE_INFORMATION tz{};
  GetTimeZoneInformation(&tz);
  return tz.Bias == -60 && tz.DaylightBias == -60;
}

double Local(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
  return pw::CalendarToDateTime(Calendar(y, mo, d, h, mi, s, ms));
}

constexpr unsigned long long kMinute = 600'000'000;

class LocalTimeTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!ZoneIsCentralEurope()) GTEST_SKIP() << "needs the Central European time zone (TZ=Europe/Berlin)";
    pw::LocalZone().Refresh();
  }
};

TEST_F(LocalTimeTest, EachDateTakesItsOwnOffsetBothWays) {
  const auto winter = UtcFileTime(2026, 1, 15, 10, 20, 30, 456);
  const auto summer = UtcFileTime(2025, 7, 4, 12, 0, 0, 7);
  EXPECT_DOUBLE_EQ(pw::FileTimeToLocalDateTime(winter), Local(2026, 1, 15, 11, 20, 30, 456));
  EXPECT_DOUBLE_EQ(pw::FileTimeToLocalDateTime(summer), Local(2025, 7, 4, 14, 0, 0, 7));
  EXPECT_EQ(pw::LocalDateTimeToFileTime(Local(2026, 1, 15, 11, 20, 30, 456)), winter);
  EXPECT_EQ(pw::LocalDateTimeToFileTime(Local(2025, 7, 4, 14, 0, 0, 7)), summer);
  // 1.5 is 31 December 1899 at noon, local time; 0 and below are the days before, counted back.
  EXPECT_EQ(pw::LocalDateTimeToFileTime(1.5), UtcFileTime(1899, 12, 31, 11, 0, 0, 0));
  EXPECT_EQ(pw::LocalDateTimeToFileTime(0.0), UtcFileTime(1899, 12, 29, 23, 0, 0, 0));
  EXPECT_EQ(pw::LocalDateTimeToFileTime(-3.25), UtcFileTime(1899, 12, 27, 5, 0, 0, 0));
  EXPECT_EQ(pw::LocalDateTimeToFileTime(std::nan("")), std::nullopt);
}

TEST_F(LocalTimeTest, RoundTripsAcrossBothClockChanges) {
  // Every 10 minutes from three hours before to three hours after each change: back to the same
  // instant, except for the second pass through the repeated autumn hour, which reads back as the
  // first (the earlier instant of that local time).
  for (const auto change : {UtcFileTime(2021, 3, 28, 1, 0, 0, 0), UtcFileTime(2021, 10, 31, 1, 0, 0, 0)}) {
    const bool autumn = change == UtcFileTime(2021, 10, 31, 1, 0, 0, 0);
    for (unsigned long long u = change - 180 * kMinute; u <= change + 180 * kMinute; u += 10 * kMinute) {
      const double local = pw::FileTimeToLocalDateTime(u + 7 * 10'000);  // and 7 ms
      const bool repeated = autumn && u >= change && u < change + 60 * kMinute;
      EXPECT_EQ(pw::LocalDateTimeToFileTime(local), u + 7 * 10'000 - (repeated ? 60 * kMinute : 0))
          << "UTC minute " << (static_cast<long long>(u) - static_cast<long long>(change)) / static_cast<long long>(kMinute);
    }
  }
  // 02:30 on 31 October 2021 happened twice, at 00:30 and 01:30 UTC: the earlier.
  EXPECT_EQ(pw::LocalDateTimeToFileTime(Local(2021, 10, 31, 2, 30)), UtcFileTime(2021, 10, 31, 0, 30, 0, 0));
  // 02:30 on 28 March 2021 never happened: read as the clock showed it before it jumped (01:30 UTC,
  // which shows as 03:30).
  const auto skipped = pw::LocalDateTimeToFileTime(Local(2021, 3, 28, 2, 30));
  EXPECT_EQ(skipped, UtcFileTime(2021, 3, 28, 1, 30, 0, 0));
  EXPECT_DOUBLE_EQ(pw::FileTimeToLocalDateTime(skipped.value_or(0)), Local(2021, 3, 28, 3, 30));
}

}  // namespace
