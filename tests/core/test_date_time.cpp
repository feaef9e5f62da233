#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "common/core/DateTime.h"
#include "support/CalendarFixtures.h"

using pw::CalendarTime;

namespace {


void ExpectFields(const CalendarTime& t, int y, int mo, int d, int h, int mi, int s, int ms) {
  EXPECT_EQ(t.Year, y);
  EXPECT_EQ(t.Month, mo);
  EXPECT_EQ(t.Day, d);
  EXPECT_EQ(t.Hour, h);
  EXPECT_EQ(t.Minute, mi);
  EXPECT_EQ(t.Second, s);
  EXPECT_EQ(t.Millisecond, ms);
}

constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;  // 1970-01-01 00:00 UTC

}  // namespace

TEST(FileTimeCalendar, KnownMomentsSplitIntoFields) {
  CalendarTime t;
  ASSERT_TRUE(pw::FileTimeToCalendar(0, t));
  ExpectFields(t, 1601, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(t.DayOfWeek, 1);  // a Monday

  ASSERT_TRUE(pw::FileTimeToCalendar(kUnixEpoch, t));
  ExpectFields(t, 1970, 1, 1, 0, 0, 0, 0);
  EXPECT_EQ(t.DayOfWeek, 4);  // a Thursday

  // 2000-02-29 23:59:59.999 plus 9,999 ticks that are below one millisecond.
  std::uint64_t ft = 0;
  ASSERT_TRUE(pw::CalendarToFileTime(Calendar(2000, 2, 29, 23, 59, 59, 999), ft));
  ASSERT_TRUE(pw::FileTimeToCalendar(ft + 9999, t));
  ExpectFields(t, 2000, 2, 29, 23, 59, 59, 999);
  EXPECT_EQ(t.DayOfWeek, 2);  // a Tuesday
  ASSERT_TRUE(pw::FileTimeToCalendar(ft + 10000, t));
  ExpectFields(t, 2000, 3, 1, 0, 0, 0, 0);
}

TEST(FileTimeCalendar, RangeEndsAtYear30827) {
  CalendarTime t;
  std::uint64_t last = 0;
  ASSERT_TRUE(pw::CalendarToFileTime(Calendar(30827, 12, 31, 23, 59, 59, 999), last));
  ASSERT_TRUE(pw::FileTimeToCalendar(last, t));
  EXPECT_EQ(t.Year, 30827);
  EXPECT_FALSE(pw::FileTimeToCalendar(last + 10000, t));
  EXPECT_FALSE(pw::FileTimeToCalendar(0x7FFFFFFFFFFFFFFFull, t));
  EXPECT_FALSE(pw::FileTimeToCalendar(0xFFFFFFFFFFFFFFFFull, t));
}

TEST(FileTimeCalendar, InvalidFieldsAreRefused) {
  std::uint64_t ft = 12345;
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 2, 29), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(1900, 2, 29), ft));  // not a leap year
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 13, 1), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 0, 1), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 4, 31), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 1, 1, 24), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 1, 1, 0, 60), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 1, 1, 0, 0, 60), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(2023, 1, 1, 0, 0, 0, 1000), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(1600, 12, 31), ft));
  EXPECT_FALSE(pw::CalendarToFileTime(Calendar(30828, 1, 1), ft));
  EXPECT_EQ(ft, 12345u);  // untouched on failure
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(2000, 2, 29), ft));
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(1601, 1, 1), ft));
  EXPECT_EQ(ft, 0u);
}

TEST(FileTimeCalendar, RoundTripKeepsMilliseconds) {
  const std::uint64_t stamps[] = {0, kUnixEpoch, kUnixEpoch + 1234567890123ull * 10000,
                                  133000000000000000ull, 2650467743990000000ull};
  for (std::uint64_t ft : stamps) {
    CalendarTime t;
    ASSERT_TRUE(pw::FileTimeToCalendar(ft, t));
    std::uint64_t back = 0;
    ASSERT_TRUE(pw::CalendarToFileTime(t, back));
    EXPECT_EQ(back, ft / 10000 * 10000);
  }
}

TEST(DateTimeValue, WholeDaysAndFractions) {
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(1899, 12, 30)), 0.0);
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(1899, 12, 31, 12)), 1.5);
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(1900, 1, 1)), 2.0);
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(2000, 1, 1, 18)), 36526.75);

  CalendarTime t;
  ASSERT_TRUE(pw::DateTimeToCalendar(1.5, t));
  ExpectFields(t, 1899, 12, 31, 12, 0, 0, 0);
  EXPECT_EQ(t.DayOfWeek, 0);  // a Sunday
  ASSERT_TRUE(pw::DateTimeToCalendar(36526.75, t));
  ExpectFields(t, 2000, 1, 1, 18, 0, 0, 0);
  EXPECT_EQ(t.DayOfWeek, 6);  // a Saturday
}

TEST(DateTimeValue, NegativeValuesCountTheFractionAwayFromZero) {
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(1899, 12, 29, 6)), -1.25);
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(1899, 12, 29)), -1.0);
  EXPECT_DOUBLE_EQ(pw::CalendarToDateTime(Calendar(1899, 12, 28, 18)), -2.75);

  CalendarTime t;
  ASSERT_TRUE(pw::DateTimeToCalendar(-1.25, t));
  ExpectFields(t, 1899, 12, 29, 6, 0, 0, 0);
  ASSERT_TRUE(pw::DateTimeToCalendar(-2.75, t));
  ExpectFields(t, 1899, 12, 28, 18, 0, 0, 0);
  // Between -1 and 0 the whole part is 0: still 30 December, the fraction read as time of day.
  ASSERT_TRUE(pw::DateTimeToCalendar(-0.5, t));
  ExpectFields(t, 1899, 12, 30, 12, 0, 0, 0);
}

TEST(DateTimeValue, RoundsToTheNearestMillisecond) {
  const double ms = 1.0 / 86400000.0;
  CalendarTime t;
  ASSERT_TRUE(pw::DateTimeToCalendar(45000.5 + 123.4 * ms, t));
  EXPECT_EQ(t.Hour, 12);
  EXPECT_EQ(t.Millisecond, 123);
  ASSERT_TRUE(pw::DateTimeToCalendar(45000.5 + 123.6 * ms, t));
  EXPECT_EQ(t.Millisecond, 124);
  // Just short of midnight rounds into the next day, also for negative values.
  ASSERT_TRUE(pw::DateTimeToCalendar(45000.0 + 1.0 - 0.2 * ms, t));
  ExpectFields(t, 2023, 3, 16, 0, 0, 0, 0);  // 45000 is 15 March 2023
  ASSERT_TRUE(pw::DateTimeToCalendar(-1.0 - (1.0 - 0.2 * ms), t));
  ExpectFields(t, 1899, 12, 30, 0, 0, 0, 0);

  // Every millisecond of a day survives the round trip.
  for (int i = 0; i < 86400000; i += 86399) {
    CalendarTime in = Calendar(2026, 12, 6, i / 3600000, i / 60000 % 60, i / 1000 % 60, i % 1000);
    ASSERT_TRUE(pw::DateTimeToCalendar(pw::CalendarToDateTime(in), t));
    ExpectFields(t, 2026, 12, 6, in.Hour, in.Minute, in.Second, in.Millisecond);
    CalendarTime old = Calendar(1850, 7, 1, in.Hour, in.Minute, in.Second, in.Millisecond);
    ASSERT_TRUE(pw::DateTimeToCalendar(pw::CalendarToDateTime(old), t));
    ExpectFields(t, 1850, 7, 1, in.Hour, in.Minute, in.Second, in.Millisecond);
  }
}

TEST(DateTimeValue, UnrepresentableValuesFail) {
  CalendarTime t;
  EXPECT_FALSE(pw::DateTimeToCalendar(1e300, t));
  EXPECT_FALSE(pw::DateTimeToCalendar(-1e300, t));
  EXPECT_FALSE(pw::DateTimeToCalendar(std::numeric_limits<double>::quiet_NaN(), t));
  EXPECT_FALSE(pw::DateTimeToCalendar(std::numeric_limits<double>::infinity(), t));
  EXPECT_FALSE(pw::DateTimeToCalendar(-700000.0, t));  // before year 1
  EXPECT_TRUE(pw::DateTimeToCalendar(-693593.0, t));   // 1 January of year 1
  ExpectFields(t, 1, 1, 1, 0, 0, 0, 0);
}

TEST(DateTimeValue, DayCountHelpers) {
  EXPECT_TRUE(pw::IsLeapYear(2000));
  EXPECT_FALSE(pw::IsLeapYear(1900));
  EXPECT_TRUE(pw::IsLeapYear(2024));
  EXPECT_EQ(pw::DaysInMonth(2024, 2), 29);
  EXPECT_EQ(pw::DaysInMonth(2023, 2), 28);
  EXPECT_EQ(pw::DaysInMonth(2023, 12), 31);
  EXPECT_EQ(pw::DaysInMonth(2023, 13), 0);
}

// A zone like Berlin's in 2021: UTC+1, and UTC+2 from 28 March 01:00 UTC to 31 October 01:00 UTC.
TEST(LocalTimeResolution, RepeatedHourIsTheEarlierInstantAndSkippedHourTheClockBeforeTheChange) {
  auto utc = [](int mo, int d, int h, int mi) {
    std::uint64_t v = 0;
    EXPECT_TRUE(pw::CalendarToFileTime(Calendar(2021, mo, d, h, mi), v));
    return v;
  };
  const std::uint64_t springChange = utc(3, 28, 1, 0), autumnChange = utc(10, 31, 1, 0);
  constexpr std::uint64_t kHour = 36'000'000'000;
  auto toLocal = [&](std::uint64_t u) -> std::optional<std::uint64_t> {
    return u + (u >= springChange && u < autumnChange ? 2 : 1) * kHour;
  };
  const std::int32_t biases[] = {-60, -120};  // standard, daylight
  auto resolve = [&](std::uint64_t local) { return pw::ResolveLocalTime(local, biases, toLocal); };

  // Plain winter and summer times, to the 100 ns.
  EXPECT_EQ(resolve(utc(1, 10, 12, 0) + 1234567), utc(1, 10, 11, 0) + 1234567);
  EXPECT_EQ(resolve(utc(7, 10, 12, 0)), utc(7, 10, 10, 0));
  // 02:30 on 31 October occurs at 00:30 and at 01:30 UTC: the earlier.
  EXPECT_EQ(resolve(utc(10, 31, 2, 30)), utc(10, 31, 0, 30));
  EXPECT_EQ(resolve(utc(10, 31, 3, 0)), utc(10, 31, 2, 0));
  // 02:30 on 28 March never occurs: the clock read 02:30 (winter time) at 01:30 UTC.
  EXPECT_EQ(resolve(utc(3, 28, 2, 30)), utc(3, 28, 1, 30));
  EXPECT_EQ(resolve(utc(3, 28, 1, 59)), utc(3, 28, 0, 59));
  EXPECT_EQ(resolve(utc(3, 28, 3, 0)), utc(3, 28, 1, 0));
  // Without any offset there is nothing to resolve with.
  EXPECT_FALSE(pw::ResolveLocalTime(utc(1, 1, 0, 0), {}, toLocal).has_value());

  // The classification behind it tells the three cases apart, with the same instants.
  auto classify = [&](std::uint64_t local) { return pw::ClassifyLocalTime(local, biases, toLocal); };
  EXPECT_EQ(classify(utc(7, 10, 12, 0)).Fit, pw::LocalTimeFit::Once);
  EXPECT_EQ(classify(utc(10, 31, 2, 30)).Fit, pw::LocalTimeFit::Repeated);
  EXPECT_EQ(classify(utc(10, 31, 2, 30)).Utc, utc(10, 31, 0, 30));
  EXPECT_EQ(classify(utc(10, 31, 3, 0)).Fit, pw::LocalTimeFit::Once);  // the hour after the repeat
  EXPECT_EQ(classify(utc(3, 28, 2, 30)).Fit, pw::LocalTimeFit::Skipped);
  EXPECT_EQ(classify(utc(3, 28, 3, 0)).Fit, pw::LocalTimeFit::Once);  // the first minute after the gap
  EXPECT_EQ(pw::ClassifyLocalTime(utc(1, 1, 0, 0), {}, toLocal).Fit, pw::LocalTimeFit::Unresolved);
}
