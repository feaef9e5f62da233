#include <gtest/gtest.h>

#include <string>

#include "common/core/DateFormat.h"

using pw::CalendarTime;
using pw::DateFormatter;

namespace {

CalendarTime Date(int y, int m, int d, int dayOfWeek = 0) {
  CalendarTime t;
  t.Year = y;
  t.Month = m;
  t.Day = d;
  t.DayOfWeek = dayOfWeek;
  return t;
}

// Format, then read back: the same date, with its day of the week worked out.
void ExpectRoundTrip(const DateFormatter& f, int y, int m, int d) {
  const std::wstring text = f.Format(Date(y, m, d));
  CalendarTime back;
  back.Hour = 7;
  ASSERT_TRUE(f.Parse(text, back)) << std::string(text.begin(), text.end());
  EXPECT_EQ(back.Year, y);
  EXPECT_EQ(back.Month, m);
  EXPECT_EQ(back.Day, d);
  EXPECT_EQ(back.Hour, 0);
}

}  // namespace

TEST(DateFormatter, CommonShortDatePatternsFormat) {
  const CalendarTime dec6 = Date(2026, 12, 6);
  const CalendarTime mar5 = Date(2005, 3, 5);
  EXPECT_EQ(DateFormatter(L"M/d/yyyy").Format(dec6), L"12/6/2026");
  EXPECT_EQ(DateFormatter(L"M/d/yyyy").Format(mar5), L"3/5/2005");
  EXPECT_EQ(DateFormatter(L"dd.MM.yyyy").Format(dec6), L"06.12.2026");
  EXPECT_EQ(DateFormatter(L"dd.MM.yyyy").Format(mar5), L"05.03.2005");
  EXPECT_EQ(DateFormatter(L"yyyy-MM-dd").Format(mar5), L"2005-03-05");
  EXPECT_EQ(DateFormatter(L"d/M/yy").Format(dec6), L"6/12/26");
  EXPECT_EQ(DateFormatter(L"d/M/yy").Format(mar5), L"5/3/05");
  EXPECT_EQ(DateFormatter().Format(dec6), L"12/6/2026");  // the default pattern
}

TEST(DateFormatter, YearWidths) {
  EXPECT_EQ(DateFormatter(L"y").Format(Date(2005, 1, 1)), L"5");
  EXPECT_EQ(DateFormatter(L"yy").Format(Date(2005, 1, 1)), L"05");
  EXPECT_EQ(DateFormatter(L"yyyy").Format(Date(1601, 1, 1)), L"1601");
  EXPECT_EQ(DateFormatter(L"yyyy").Format(Date(999, 1, 1)), L"0999");
  EXPECT_EQ(DateFormatter(L"yyyyy").Format(Date(2026, 1, 1)), L"2026");
  EXPECT_EQ(DateFormatter(L"yyyy").Format(Date(30827, 1, 1)), L"30827");
}

TEST(DateFormatter, NamesEraAndQuotedLiterals) {
  const CalendarTime dec6 = Date(2026, 12, 6, 0);  // a Sunday
  EXPECT_EQ(DateFormatter(L"ddd, MMM d yyyy").Format(dec6), L"Sun, Dec 6 2026");
  EXPECT_EQ(DateFormatter(L"dddd d MMMM yyyy").Format(dec6), L"Sunday 6 December 2026");
  EXPECT_EQ(DateFormatter(L"gg yyyy/MM/dd").Format(dec6), L" 2026/12/06");
  EXPECT_EQ(DateFormatter(L"d 'de' MMMM").Format(dec6), L"6 de December");
  EXPECT_EQ(DateFormatter(L"'day' d 'month' M").Format(dec6), L"day 6 month 12");
  EXPECT_EQ(DateFormatter(L"d''M").Format(dec6), L"6'12");
  EXPECT_EQ(DateFormatter(L"'it''s' d").Format(dec6), L"it's 6");
  EXPECT_EQ(DateFormatter(L"'open d").Format(dec6), L"open d");  // unterminated quote

  pw::LocaleNames german;
  german.LongMonths = {L"Januar", L"Februar", L"März",      L"April",   L"Mai",      L"Juni",
                       L"Juli",   L"August",  L"September", L"Oktober", L"November", L"Dezember"};
  german.ShortDays = {L"So", L"Mo", L"Di", L"Mi", L"Do", L"Fr", L"Sa"};
  const DateFormatter f(L"ddd, d. MMMM yyyy", german);
  EXPECT_EQ(f.Format(Date(2026, 3, 1, 0)), L"So, 1. März 2026");
  // Names the locale left empty fall back to English ones.
  EXPECT_EQ(DateFormatter(L"MMM dddd", german).Format(Date(2026, 3, 1, 0)), L"Mar Sunday");
}

TEST(DateFormatter, ParsesWhatItFormats) {
  for (const wchar_t* pattern :
       {L"M/d/yyyy", L"dd.MM.yyyy", L"yyyy-MM-dd", L"d/M/yy", L"yyyyMMdd", L"d. M. yyyy",
        L"ddd, MMM d yyyy", L"dddd d MMMM yyyy", L"d 'de' MMMM 'de' yyyy", L"gg y/M/d"}) {
    SCOPED_TRACE(std::string(pattern, pattern + std::wstring(pattern).size()));
    const DateFormatter f(pattern);
    ExpectRoundTrip(f, 2026, 12, 6);
    ExpectRoundTrip(f, 2005, 3, 5);
    ExpectRoundTrip(f, 2024, 2, 29);
    ExpectRoundTrip(f, 2000, 1, 31);
  }
  CalendarTime t;
  ASSERT_TRUE(DateFormatter(L"dd.MM.yyyy").Parse(L"06.12.2026", t));
  EXPECT_EQ(t.DayOfWeek, 0);  // 6 December 2026 is a Sunday
  ASSERT_TRUE(DateFormatter(L"MMMM d, yyyy").Parse(L"june 7, 1601", t));  // names caseless
  EXPECT_EQ(t.Month, 6);
  EXPECT_EQ(t.Year, 1601);
}

TEST(DateFormatter, TwoDigitYearsFallIntoAWindow) {
  const DateFormatter f(L"d/M/yy");
  CalendarTime t;
  ASSERT_TRUE(f.Parse(L"1/1/49", t));
  EXPECT_EQ(t.Year, 2049);
  ASSERT_TRUE(f.Parse(L"1/1/50", t));
  EXPECT_EQ(t.Year, 1950);
  ASSERT_TRUE(f.Parse(L"1/1/00", t));
  EXPECT_EQ(t.Year, 2000);
  ASSERT_TRUE(f.Parse(L"1/1/99", t));
  EXPECT_EQ(t.Year, 1999);
}

TEST(DateFormatter, RejectsTextsItCannotHaveWritten) {
  const DateFormatter f(L"dd.MM.yyyy");
  CalendarTime t;
  t.Year = 1234;
  EXPECT_FALSE(f.Parse(L"", t));
  EXPECT_FALSE(f.Parse(L"06.12.2026 ", t));  // trailing text
  EXPECT_FALSE(f.Parse(L"06/12/2026", t));   // wrong separator
  EXPECT_FALSE(f.Parse(L"31.02.2026", t));   // no such day
  EXPECT_FALSE(f.Parse(L"00.01.2026", t));
  EXPECT_FALSE(f.Parse(L"01.13.2026", t));
  EXPECT_FALSE(f.Parse(L"29.02.2023", t));
  EXPECT_FALSE(f.Parse(L"06.12.", t));
  EXPECT_FALSE(f.Parse(L"ab.cd.efgh", t));
  EXPECT_EQ(t.Year, 1234);  // untouched on failure
  EXPECT_FALSE(DateFormatter(L"MMM d yyyy").Parse(L"Foo 6 2026", t));
  EXPECT_FALSE(DateFormatter(L"M/d").Parse(L"12/6", t));  // no year to read
}
