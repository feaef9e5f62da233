// Which stamp each row of the editor writes: an untouched row its own loaded stamp to the 100 ns,
// a changed row the converted value, a synchronized row its source's stamp while that is untouched.
#include <gtest/gtest.h>

#include <optional>

#include "editor/core/TimeRowStamps.h"
#include "support/CalendarFixtures.h"

namespace {

constexpr int kCreated = 0, kWritten = 1, kAccessed = 2;

std::uint64_t Utc(int y, int mo, int d, int h, int mi, int s, int ms, std::uint64_t ticks = 0) {
  std::uint64_t t = 0;
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(y, mo, d, h, mi, s, ms), t));
  return t + ticks;
}

double Local(int y, int mo, int d, int h, int mi, int s, int ms) {
  return pw::CalendarToDateTime(Calendar(y, mo, d, h, mi, s, ms));
}

// Europe/Berlin around the night of 31 October 2021, when 02:00-03:00 local ran twice: a repeated
// local time is read as its earlier instant (summer time, UTC+2), as the system reads it.
std::optional<std::uint64_t> BerlinToUtc(double local) {
  pw::CalendarTime t;
  std::uint64_t asUtc = 0;
  if (!pw::DateTimeToCalendar(local, t) || !pw::CalendarToFileTime(t, asUtc)) return std::nullopt;
  return asUtc - 2 * 36'000'000'000ull;
}

}  // namespace

TEST(TimeRowStamps, UntouchedRowsWriteTheirOwnStampEvenWhenAnotherRowShowsTheSame) {
  // Same millisecond, other 100-ns digits.
  const std::uint64_t written = Utc(2024, 5, 6, 7, 8, 9, 123, 7777), accessed = Utc(2024, 5, 6, 7, 8, 9, 123, 1111);
  // The clock change: 02:30 summer time and 02:30 winter time, one hour apart.
  const std::uint64_t summer = Utc(2021, 10, 31, 0, 30, 0, 0, 42), winter = Utc(2021, 10, 31, 1, 30, 0, 0, 24);
  const double twoThirty = Local(2021, 10, 31, 2, 30, 0, 0), sameMs = Local(2024, 5, 6, 9, 8, 9, 123);

  pw::TimeRowStamps rows;
  rows.Load({summer, written, accessed}, {twoThirty, sameMs, sameMs});
  EXPECT_EQ(rows.StampFor(kCreated, twoThirty, BerlinToUtc), summer);
  EXPECT_EQ(rows.StampFor(kWritten, sameMs, BerlinToUtc), written);
  EXPECT_EQ(rows.StampFor(kAccessed, sameMs, BerlinToUtc), accessed);

  rows.Load({winter, summer, winter}, {twoThirty, twoThirty, twoThirty});
  EXPECT_EQ(rows.StampFor(kCreated, twoThirty, BerlinToUtc), winter);  // not read back as summer time
  EXPECT_EQ(rows.StampFor(kWritten, twoThirty, BerlinToUtc), summer);
  EXPECT_EQ(rows.StampFor(kAccessed, twoThirty, BerlinToUtc), winter);

  // A row changed and changed back shows its own stamp again and writes it.
  rows.Changed(kAccessed);
  EXPECT_EQ(rows.StampFor(kAccessed, twoThirty, BerlinToUtc), winter);
  // A date before 30 December 1899 is a value like any other.
  const double in1850 = Local(1850, 3, 4, 5, 6, 7, 8);
  EXPECT_EQ(rows.StampFor(kAccessed, in1850, BerlinToUtc), Utc(1850, 3, 4, 3, 6, 7, 8));
}

TEST(TimeRowStamps, ChangedRowsConvertAndSynchronizedRowsFollowTheirSource) {
  const std::uint64_t created = Utc(2021, 10, 31, 1, 30, 0, 0, 5555);  // 02:30 winter time
  const std::uint64_t written = Utc(2020, 1, 2, 3, 4, 5, 6, 4444), accessed = Utc(2019, 1, 2, 3, 4, 5, 6, 3333);
  const double shown[] = {Local(2021, 10, 31, 2, 30, 0, 0), Local(2020, 1, 2, 5, 4, 5, 6), Local(2019, 1, 2, 5, 4, 5, 6)};
  pw::TimeRowStamps rows;
  rows.Load({created, written, accessed}, {shown[0], shown[1], shown[2]});

  // Synchronize from an untouched row: every row takes that row's exact stamp.
  rows.CopiedFrom(kCreated);
  for (int row : {kCreated, kWritten, kAccessed}) EXPECT_EQ(rows.StampFor(row, shown[0], BerlinToUtc), created);

  // The source changed first: the rows take the converted value.
  rows.Load({created, written, accessed}, {shown[0], shown[1], shown[2]});
  const double typed = Local(2022, 7, 8, 9, 10, 11, 12);
  rows.Changed(kWritten);
  EXPECT_EQ(rows.StampFor(kWritten, typed, BerlinToUtc), Utc(2022, 7, 8, 7, 10, 11, 12));
  rows.CopiedFrom(kWritten);
  EXPECT_EQ(rows.StampFor(kCreated, typed, BerlinToUtc), Utc(2022, 7, 8, 7, 10, 11, 12));

  // Set now and Clear time change every row; a value that cannot be converted writes nothing.
  rows.Load({created, written, accessed}, {shown[0], shown[1], shown[2]});
  rows.ChangedAll();
  EXPECT_EQ(rows.StampFor(kAccessed, shown[0], BerlinToUtc), Utc(2021, 10, 31, 0, 30, 0, 0));
  EXPECT_EQ(rows.StampFor(kAccessed, typed, [](double) { return std::optional<std::uint64_t>(); }), std::nullopt);
}
