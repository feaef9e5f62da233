#include "editor/core/TimeEditRules.h"
#include "browse/core/FileText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace pw {
namespace {

enum Field { kHours = 0, kMinutes = 1, kSeconds = 2, kMs = 3 };

std::wstring Step(std::wstring_view text, int field, int delta) {
  return WithTimeField(text, field, SteppedTimeField(text, field, delta));
}

std::wstring Type(std::wstring_view text, int field, wchar_t ch) {
  auto v = TypedTimeField(text, field, ch);
  return v ? WithTimeField(text, field, *v) : std::wstring(text);
}

TEST(TimeEditStepping, HoursWrapBothWays) {
  EXPECT_EQ(Step(L"23:00:00:000", kHours, +1), L"00:00:00:000");
  EXPECT_EQ(Step(L"00:00:00:000", kHours, -1), L"23:00:00:000");
  EXPECT_EQ(Step(L"22:00:00:000", kHours, +1), L"23:00:00:000");
  EXPECT_EQ(Step(L"09:00:00:000", kHours, +1), L"10:00:00:000");
}

TEST(TimeEditStepping, MinutesAndSecondsWrapBothWays) {
  EXPECT_EQ(Step(L"12:59:30:500", kMinutes, +1), L"12:00:30:500");
  EXPECT_EQ(Step(L"12:00:30:500", kMinutes, -1), L"12:59:30:500");
  EXPECT_EQ(Step(L"12:30:59:500", kSeconds, +1), L"12:30:00:500");
  EXPECT_EQ(Step(L"12:30:00:500", kSeconds, -1), L"12:30:59:500");
}

TEST(TimeEditStepping, MillisecondsWrapBothWaysAndKeepThreeDigits) {
  EXPECT_EQ(Step(L"00:00:00:999", kMs, +1), L"00:00:00:000");
  EXPECT_EQ(Step(L"00:00:00:000", kMs, -1), L"00:00:00:999");
  EXPECT_EQ(Step(L"00:00:00:009", kMs, +1), L"00:00:00:010");
}

TEST(TimeEditStepping, OnlyTheSteppedFieldChangesWhateverTheSeparators) {
  EXPECT_EQ(Step(L"10.20.30.400", kSeconds, +1), L"10.20.31.400");
  EXPECT_EQ(Step(L"10.20.30.400", kMinutes, -1), L"10.19.30.400");
}

TEST(TimeEditDigits, TypedDigitShiftsInFromTheRightAndOutOfRangeKeepsOnlyIt) {
  std::wstring t = L"07:00:00:000";
  t = Type(t, kHours, L'3');
  EXPECT_EQ(t, L"03:00:00:000");  // 73 is out of range
  t = Type(t, kHours, L'9');
  EXPECT_EQ(t, L"09:00:00:000");  // 39 is out of range
  EXPECT_EQ(Type(L"12:00:00:000", kHours, L'5'), L"05:00:00:000");
  EXPECT_EQ(Type(L"01:00:00:000", kHours, L'9'), L"19:00:00:000");
  EXPECT_EQ(Type(L"00:05:00:000", kMinutes, L'9'), L"00:59:00:000");
  EXPECT_EQ(Type(L"00:00:06:000", kSeconds, L'0'), L"00:00:00:000");
}

TEST(TimeEditDigits, MillisecondsFillFromTheRight) {
  std::wstring t = L"00:00:00:000";
  t = Type(t, kMs, L'1');
  EXPECT_EQ(t, L"00:00:00:001");
  t = Type(t, kMs, L'2');
  EXPECT_EQ(t, L"00:00:00:012");
  t = Type(t, kMs, L'3');
  EXPECT_EQ(t, L"00:00:00:123");
  t = Type(t, kMs, L'4');
  EXPECT_EQ(t, L"00:00:00:234");
}

TEST(TimeEditDigits, NonDigitsAreRefused) {
  for (wchar_t c : {L'a', L' ', L':', L'-', L'/', L'\x16', L'\x0660'})
    EXPECT_FALSE(TypedTimeField(L"12:34:56:789", kHours, c).has_value()) << int(c);
}

TEST(TimeEditFields, CaretPositionChoosesTheField) {
  EXPECT_EQ(TimeFieldAtCaret(0), kHours);
  EXPECT_EQ(TimeFieldAtCaret(2), kHours);
  EXPECT_EQ(TimeFieldAtCaret(3), kMinutes);
  EXPECT_EQ(TimeFieldAtCaret(5), kMinutes);  // just before the separator after the minutes
  EXPECT_EQ(TimeFieldAtCaret(6), kSeconds);
  EXPECT_EQ(TimeFieldAtCaret(8), kSeconds);
  EXPECT_EQ(TimeFieldAtCaret(9), kMs);
  EXPECT_EQ(TimeFieldAtCaret(12), kMs);
}

TEST(TimeEditFields, LeftAndRightGoRoundTheRing) {
  EXPECT_EQ(PreviousTimeField(kHours), kMs);
  EXPECT_EQ(PreviousTimeField(kMs), kSeconds);
  EXPECT_EQ(NextTimeField(kMs), kHours);
  EXPECT_EQ(NextTimeField(kHours), kMinutes);
}

TEST(TimeEditFields, RangeRuleFromTheTable) {
  EXPECT_EQ(BringTimeFieldIntoRange(kHours, -1), 23);
  EXPECT_EQ(BringTimeFieldIntoRange(kHours, 24), 4);
  EXPECT_EQ(BringTimeFieldIntoRange(kHours, 99), 9);
  EXPECT_EQ(BringTimeFieldIntoRange(kMinutes, -1), 59);
  EXPECT_EQ(BringTimeFieldIntoRange(kMinutes, 60), 0);
  EXPECT_EQ(BringTimeFieldIntoRange(kSeconds, 75), 5);
  EXPECT_EQ(BringTimeFieldIntoRange(kMs, -1), 999);
  EXPECT_EQ(BringTimeFieldIntoRange(kMs, 1000), 0);
  EXPECT_EQ(BringTimeFieldIntoRange(kMs, 999), 999);
}

TEST(TimeEditFields, TextThatLostItsShapeReadsAsZerosAndIsMendedOnWrite) {
  EXPECT_EQ(ReadTimeField(L"", kMs), 0);
  EXPECT_EQ(ReadTimeField(L"1x:3", kHours), 10);
  EXPECT_EQ(ReadTimeField(L"12:3", kMinutes), 30);
  EXPECT_EQ(WithTimeField(L"", kMs, 7), L"00:00:00:007");
  EXPECT_EQ(WithTimeField(L"12", kMinutes, 5), L"12:05");
}

TEST(TimeOfDayText, FixedWidthWithTheGivenSeparator) {
  EXPECT_EQ(TimeOfDayText({14, 5, 9, 7}, L':'), L"14:05:09:007");
  EXPECT_EQ(TimeOfDayText({0, 0, 0, 0}, L':'), kClearedTimeText);
  EXPECT_EQ(TimeOfDayText({23, 59, 59, 999}, L'.'), L"23.59.59.999");
}

TEST(TimeOfDayText, ReadBackByPositionWhateverTheSeparators) {
  EXPECT_EQ(TimeOfDayFromText(L"14:05:09:007"), (TimeOfDay{14, 5, 9, 7}));
  EXPECT_EQ(TimeOfDayFromText(L"23.59.59.999"), (TimeOfDay{23, 59, 59, 999}));
  EXPECT_EQ(TimeOfDayFromMilliseconds(TimeOfDayMilliseconds({14, 5, 9, 7})),
            (TimeOfDay{14, 5, 9, 7}));
}

TEST(TimeOfDayText, OnlyTheFirstCharacterOfTheLocaleSeparatorIsUsed) {
  EXPECT_EQ(TimeSeparatorChar(L":"), L':');
  EXPECT_EQ(TimeSeparatorChar(L"."), L'.');
  EXPECT_EQ(TimeSeparatorChar(L""), L':');
  EXPECT_EQ(TimeSeparatorChar(L" h "), L' ');
}

// 2 March 2001 is day 36952 since 30 December 1899.
constexpr double kMarch2nd2001 = 36952.0;
constexpr int kAt140509007 = 14 * 3'600'000 + 5 * 60'000 + 9 * 1000 + 7;

TEST(TimeEditDateTime, SplitAndJoinRoundTripToTheMillisecond) {
  const double dt = JoinDateTime(kMarch2nd2001, kAt140509007);
  const DateTimeSplit s = SplitDateTime(dt);
  EXPECT_EQ(s.days, kMarch2nd2001);
  EXPECT_EQ(s.msOfDay, kAt140509007);
  EXPECT_EQ(TimeOfDayFromMilliseconds(s.msOfDay), (TimeOfDay{14, 5, 9, 7}));
}

TEST(TimeEditDateTime, DaysBeforeTheEpochCountTheFractionAwayFromZero) {
  // -1.25 is 29 December 1899, 06:00.
  DateTimeSplit s = SplitDateTime(-1.25);
  EXPECT_EQ(s.days, -1.0);
  EXPECT_EQ(s.msOfDay, 6 * 3'600'000);
  EXPECT_DOUBLE_EQ(JoinDateTime(-1.0, 6 * 3'600'000), -1.25);
  // Midnight of that day, for a value that was set to 29 December at some time.
  EXPECT_DOUBLE_EQ(JoinDateTime(-1.0, 0), -1.0);
  s = SplitDateTime(-0.5);  // 30 December 1899, 12:00
  EXPECT_EQ(s.days, 0.0);
  EXPECT_EQ(s.msOfDay, 12 * 3'600'000);
}

TEST(TimeEditDateTime, TimeThatRoundsToMidnightMovesToTheNextDay) {
  const double almost = 1.0 / (static_cast<double>(MsPerDay) * 4.0);  // a quarter millisecond
  DateTimeSplit s = SplitDateTime(kMarch2nd2001 + 1.0 - almost);
  EXPECT_EQ(s.days, kMarch2nd2001 + 1.0);
  EXPECT_EQ(s.msOfDay, 0);
  s = SplitDateTime(-2.0 + almost);  // 29 December 1899 just before 24:00
  EXPECT_EQ(s.days, 0.0);
  EXPECT_EQ(s.msOfDay, 0);
}

TEST(TimeEditDateTime, ValuesThatAreNotNumbersGiveDayZero) {
  EXPECT_EQ(SplitDateTime(std::numeric_limits<double>::quiet_NaN()).days, 0.0);
  EXPECT_EQ(SplitDateTime(std::numeric_limits<double>::infinity()).msOfDay, 0);
}

TEST(SpinButtonGeometry, BoundsSplitTheColumnAroundTheSeparatorRow) {
  EXPECT_EQ(SpinButtonBounds(kSpinUp, 86, 17), (SpinRect{70, 0, 86, 8}));
  EXPECT_EQ(SpinButtonBounds(kSpinDown, 86, 17), (SpinRect{70, 9, 86, 17}));
  EXPECT_EQ(SpinButtonBounds(kSpinUp, 90, 21), (SpinRect{74, 0, 90, 10}));
  EXPECT_EQ(SpinButtonBounds(kSpinDown, 90, 21), (SpinRect{74, 11, 90, 21}));
  // An even height leaves the last row to neither button.
  EXPECT_EQ(SpinButtonBounds(kSpinDown, 100, 40), (SpinRect{84, 21, 100, 41}));
}

TEST(SpinButtonGeometry, HitTestExcludesRightAndBottomEdges) {
  const SpinRect up = SpinButtonBounds(kSpinUp, 86, 17);
  EXPECT_TRUE(SpinRectContains(up, 70, 0));
  EXPECT_TRUE(SpinRectContains(up, 85, 7));
  EXPECT_FALSE(SpinRectContains(up, 86, 0));
  EXPECT_FALSE(SpinRectContains(up, 70, 8));  // the separator row
  EXPECT_FALSE(SpinRectContains(up, 69, 3));
}

TEST(SpinButtonGeometry, ArrowsForAClientSeventeenHigh) {
  SpinArrow up = SpinButtonArrow(kSpinUp, SpinButtonBounds(kSpinUp, 86, 17), false);
  EXPECT_EQ(up.center, (SpinPoint{78, 4}));
  EXPECT_EQ(up.height, 2);
  EXPECT_EQ(up.width, 3);
  EXPECT_EQ(up.points[0], (SpinPoint{78, 4}));
  EXPECT_EQ(up.points[1], (SpinPoint{77, 5}));
  EXPECT_EQ(up.points[2], (SpinPoint{79, 5}));
  SpinArrow down = SpinButtonArrow(kSpinDown, SpinButtonBounds(kSpinDown, 86, 17), false);
  EXPECT_EQ(down.center, (SpinPoint{78, 13}));
  EXPECT_EQ(down.points[0], (SpinPoint{77, 12}));
  EXPECT_EQ(down.points[1], (SpinPoint{79, 12}));
  EXPECT_EQ(down.points[2], (SpinPoint{78, 13}));
}

TEST(SpinButtonGeometry, ArrowsForAClientTwentyOneHigh) {
  SpinArrow up = SpinButtonArrow(kSpinUp, SpinButtonBounds(kSpinUp, 90, 21), false);
  EXPECT_EQ(up.center, (SpinPoint{82, 5}));
  EXPECT_EQ(up.height, 3);
  EXPECT_EQ(up.width, 5);
  EXPECT_EQ(up.points[0], (SpinPoint{82, 5}));
  EXPECT_EQ(up.points[1], (SpinPoint{80, 6}));
  EXPECT_EQ(up.points[2], (SpinPoint{84, 6}));
  SpinArrow down = SpinButtonArrow(kSpinDown, SpinButtonBounds(kSpinDown, 90, 21), false);
  EXPECT_EQ(down.center, (SpinPoint{82, 16}));
  EXPECT_EQ(down.points[0], (SpinPoint{80, 15}));
  EXPECT_EQ(down.points[1], (SpinPoint{84, 15}));
  EXPECT_EQ(down.points[2], (SpinPoint{82, 16}));
}

TEST(SpinButtonGeometry, TallButtonsUseTheFixedArrowAndShortOnesTheFormula) {
  SpinArrow up = SpinButtonArrow(kSpinUp, SpinButtonBounds(kSpinUp, 100, 40), false);
  EXPECT_EQ(up.height, 4);
  EXPECT_EQ(up.width, 7);
  EXPECT_EQ(up.points[0], (SpinPoint{92, 9}));
  EXPECT_EQ(up.points[1], (SpinPoint{89, 12}));
  EXPECT_EQ(up.points[2], (SpinPoint{95, 12}));
  SpinArrow down = SpinButtonArrow(kSpinDown, SpinButtonBounds(kSpinDown, 100, 40), false);
  EXPECT_EQ(down.points[0], (SpinPoint{89, 29}));
  EXPECT_EQ(down.points[1], (SpinPoint{95, 29}));
  EXPECT_EQ(down.points[2], (SpinPoint{92, 32}));
  // 17 rows is the first height with the fixed arrow; 16 rows still uses d / 2 - 2.
  EXPECT_EQ(SpinButtonArrow(kSpinUp, SpinButtonBounds(kSpinUp, 50, 34), false).height, 4);
  EXPECT_EQ(SpinButtonArrow(kSpinUp, SpinButtonBounds(kSpinUp, 50, 32), false).height, 6);
  EXPECT_EQ(SpinButtonArrow(kSpinUp, SpinButtonBounds(kSpinUp, 50, 32), false).width, 11);
}

TEST(SpinButtonGeometry, PressedOrDisabledArrowMovesOneRightAndDown) {
  const SpinRect b = SpinButtonBounds(kSpinUp, 90, 21);
  SpinArrow normal = SpinButtonArrow(kSpinUp, b, false);
  SpinArrow shifted = SpinButtonArrow(kSpinUp, b, true);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(shifted.points[i], (SpinPoint{normal.points[i].x + 1, normal.points[i].y + 1}));
}

TEST(SpinButtonGeometry, RaisedAndPressedEdges) {
  const SpinRect b{74, 0, 90, 10};
  auto raised = SpinButtonEdges(b, false);
  EXPECT_EQ(raised[0].ink, SpinInk::Highlight);
  EXPECT_EQ(raised[0].points, (std::array<SpinPoint, 3>{{{75, 8}, {75, 1}, {89, 1}}}));
  EXPECT_EQ(raised[1].ink, SpinInk::Shadow);
  EXPECT_EQ(raised[1].points, (std::array<SpinPoint, 3>{{{75, 9}, {89, 9}, {89, 0}}}));
  auto pressed = SpinButtonEdges(b, true);
  EXPECT_EQ(pressed[0].ink, SpinInk::Shadow);
  EXPECT_EQ(pressed[0].points, (std::array<SpinPoint, 3>{{{74, 9}, {74, 0}, {90, 0}}}));
  EXPECT_EQ(pressed[1].ink, SpinInk::Black);
  EXPECT_EQ(pressed[1].points, (std::array<SpinPoint, 3>{{{75, 8}, {75, 1}, {89, 1}}}));
}

TEST(SpinButtonGeometry, PictureOfEnabledDisabledAndPressedButtons) {
  SpinButtonPicture up = SpinButtonLayout(kSpinUp, 90, 21, false, true);
  EXPECT_EQ(up.triangleCount, 1);
  EXPECT_EQ(up.triangles[0].ink, SpinInk::Black);
  ASSERT_TRUE(up.separator.has_value());
  EXPECT_EQ(up.separator->ink, SpinInk::Black);
  EXPECT_EQ(up.separator->count, 2);
  EXPECT_EQ(up.separator->points[0], (SpinPoint{74, 10}));
  EXPECT_EQ(up.separator->points[1], (SpinPoint{90, 10}));

  SpinButtonPicture pressed = SpinButtonLayout(kSpinUp, 90, 21, true, true);
  EXPECT_EQ(pressed.separator->ink, SpinInk::Highlight);
  EXPECT_EQ(pressed.triangles[0].points[0], (SpinPoint{83, 6}));

  SpinButtonPicture disabled = SpinButtonLayout(kSpinDown, 90, 21, false, false);
  EXPECT_FALSE(disabled.separator.has_value());
  ASSERT_EQ(disabled.triangleCount, 2);
  EXPECT_EQ(disabled.triangles[0].ink, SpinInk::Highlight);
  EXPECT_EQ(disabled.triangles[1].ink, SpinInk::Shadow);
  // The highlight sits one pixel right and down of where an enabled arrow is; the shadow on it.
  SpinButtonPicture enabledDown = SpinButtonLayout(kSpinDown, 90, 21, false, true);
  for (size_t i = 0; i < 3; ++i) {
    const SpinPoint p = enabledDown.triangles[0].points[i];
    EXPECT_EQ(disabled.triangles[0].points[i], (SpinPoint{p.x + 1, p.y + 1}));
    EXPECT_EQ(disabled.triangles[1].points[i], p);
  }
}

TEST(SpinButtonGeometry, AtHigherDpiTheColumnWidensAndTheTextKeepsClearOfIt) {
  EXPECT_EQ(TimeEditMetricsForDpi(96), (TimeEditMetrics{16, 17, 19}));
  EXPECT_EQ(TimeEditMetricsForDpi(144), (TimeEditMetrics{24, 26, 29}));
  EXPECT_EQ(TimeEditMetricsForDpi(192), (TimeEditMetrics{32, 34, 38}));
  for (int dpi = 72; dpi <= 480; ++dpi) {
    const TimeEditMetrics m = TimeEditMetricsForDpi(dpi);
    EXPECT_GT(m.hitMargin, m.spinColumn) << dpi;
    EXPECT_GT(m.rightMargin, m.hitMargin) << dpi;
  }
  // A 200 % edit: 32-pixel column, the arrow in its middle, the separator across it.
  const SpinButtonPicture up = SpinButtonLayout(kSpinUp, 180, 38, false, true, 32);
  EXPECT_EQ(up.bounds, (SpinRect{148, 0, 180, 19}));
  EXPECT_EQ(SpinButtonArrow(kSpinUp, up.bounds, false).center, (SpinPoint{164, 9}));
  EXPECT_EQ(up.separator->points[0], (SpinPoint{148, 19}));
  EXPECT_EQ(SpinButtonBounds(kSpinDown, 180, 38, 32), (SpinRect{148, 20, 180, 39}));
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

TEST(TimeEditText, AWholeTimeIsTakenOnlyInItsShapeAndRange) {
  struct Row {
    const wchar_t* text;
    std::optional<TimeOfDay> time;
  } rows[] = {
      {L"14:05:09:007", TimeOfDay{14, 5, 9, 7}},
      {L"23.59.59,999", TimeOfDay{23, 59, 59, 999}},  // any separators, as the locale gives them
      {L"00:00:00:000", TimeOfDay{0, 0, 0, 0}},
      {L"24:00:00:000", std::nullopt},
      {L"12:60:00:000", std::nullopt},
      {L"12:00:60:000", std::nullopt},
      {L"12:00:00:00", std::nullopt},     // short
      {L"12:00:00:0000", std::nullopt},   // long
      {L"1200:00:0000", std::nullopt},    // a digit where a separator goes
      {L"12:0x:00:000", std::nullopt},
      {L"", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseTimeEditText(row.text), row.time) << row.text;
}

TEST(SpinButtonGeometry, HighContrastUsesOnlyTheSchemesColoursAndNoEmbossing) {
  struct Row {
    bool pressed, enabled;
    SpinInk face, ink;
  } rows[] = {
      {false, true, SpinInk::Face, SpinInk::Text},
      {true, true, SpinInk::Selected, SpinInk::SelectedText},
      {false, false, SpinInk::Face, SpinInk::GrayText},
  };
  for (const Row& row : rows) {
    const SpinButtonPicture normal = SpinButtonLayout(kSpinUp, 90, 17, row.pressed, row.enabled);
    const SpinButtonPicture p = InHighContrast(normal, row.pressed, row.enabled);
    EXPECT_EQ(p.bounds, normal.bounds);
    EXPECT_EQ(p.face, row.face);
    ASSERT_EQ(p.triangleCount, 1);
    EXPECT_EQ(p.triangles[0].ink, row.ink);
    EXPECT_EQ(p.triangles[0].points, normal.triangles[0].points);  // the arrow keeps its place
    for (const SpinLine& edge : p.edges) EXPECT_EQ(edge.ink, row.ink);
    ASSERT_TRUE(p.separator);
    EXPECT_EQ(p.separator->ink, SpinInk::Text);
  }
}

}  // namespace
}  // namespace pw
