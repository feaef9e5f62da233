// Dates in file names: every pattern cameras, phones and screenshot tools use, with the suffixes
// copies get, and the names that only look like dates: counters, phone numbers, digit runs that
// go on past the pattern, and impossible days and times.
#include <gtest/gtest.h>

#include "media/core/NameDate.h"
#include "support/MediaBytes.h"

using pw::WallClock;

TEST(NameDate, EveryPatternWithAnyCaseExtensionAndSuffix) {
  const WallClock time{.Year = 2023, .Month = 5, .Day = 14, .Hour = 14, .Minute = 22, .Second = 33};
  const WallClock day{.Year = 2023, .Month = 5, .Day = 14};
  WallClock withMs = time;
  withMs.SubSecond = 1'230'000;
  const struct {
    const wchar_t* Name;
    WallClock Expected;
    bool Utc = false;  // Pixel phones name their files by UTC
  } cases[] = {
      {.Name = L"IMG_20230514_142233.jpg", .Expected = time},
      {.Name = L"img_20230514_142233~2.JPG", .Expected = time},
      {.Name = L"VID_20230514_142233.mp4", .Expected = time},
      {.Name = L"PXL_20230514_142233123.jpg", .Expected = withMs, .Utc = true},
      {.Name = L"pxl_20230514_142233123.MP.jpg", .Expected = withMs, .Utc = true},
      {.Name = L"20230514_142233.jpg", .Expected = time},
      {.Name = L"20230514_142233 (1).heic", .Expected = time},
      {.Name = L"2023-05-14 14.22.33.png", .Expected = time},
      {.Name = L"2023-05-14_14-22-33", .Expected = time},
      {.Name = L"Screenshot_2023-05-14-14-22-33.png", .Expected = time},
      {.Name = L"SCREENSHOT_2023-05-14-14-22-33_com.app.png", .Expected = time},
      {.Name = L"IMG-20230514-WA0001.jpg", .Expected = day},
      {.Name = L"img-20230514-wa0017 (2).jpeg", .Expected = day},
      {.Name = L"2023-05-14.txt", .Expected = day},
      {.Name = L"2023-05-14 holiday.mov", .Expected = day},
      {.Name = L"2023-05-14 14.22.mov", .Expected = day},  // a time cut short: the date alone
      {.Name = L"C:\\Photos\\2023\\IMG_20230514_142233.jpg", .Expected = time},
      {.Name = L"/home/x/IMG_20230514_142233.jpg", .Expected = time},
  };
  for (const auto& c : cases) {
    const auto date = pw::NameDate(c.Name);
    ASSERT_TRUE(date) << testing::PrintToString(std::wstring(c.Name));
    EXPECT_EQ(date->Clock, c.Expected) << testing::PrintToString(std::wstring(c.Name));
    EXPECT_EQ(date->UtcOffset, c.Utc ? std::optional(0) : std::nullopt);
    EXPECT_EQ(pw::OriginText(*date), c.Utc ? L"name, UTC" : L"name");
  }
  // The limits: the first and last years, a leap day, the last second of a day.
  EXPECT_EQ(pw::NameDate(L"19000101_000000.jpg")->Clock, (WallClock{1900, 1, 1}));
  EXPECT_EQ(pw::NameDate(L"IMG_21001231_235959.jpg")->Clock, (WallClock{2100, 12, 31, 23, 59, 59}));
  EXPECT_EQ(pw::NameDate(L"2024-02-29")->Clock, (WallClock{2024, 2, 29}));
}

TEST(NameDate, CountersNumbersAndImpossibleValuesAreNoDate) {
  for (const wchar_t* name : {
           L"DSC_0001.JPG", L"IMG_1234.jpg", L"IMG_20230514.jpg", L"PXL_20230514_142233.jpg", L"12345678901234.jpg",
           L"+4915112345678.vcf", L"120230514_142233.jpg", L"20230514_1422334.jpg", L"IMG_20230514_1422331.jpg",
           L"PXL_20230514_1422331234.jpg", L"2023-05-145.txt", L"IMG-20230514-0001.jpg", L"Holiday 2023-05-14.jpg",
           L"x20230514_142233.jpg", L"20231314_142233.jpg", L"20230532_142233.jpg", L"20230230_142233.jpg",
           L"20230229_120000.jpg", L"20230514_242233.jpg", L"20230514_146033.jpg", L"20230514_142260.jpg",
           L"18991231_235959.jpg", L"21010101_000000.jpg", L"2023-00-14", L"2023-5-14.jpg", L"2023_05_14.jpg",
           L"IMG_2023O514_142233.jpg", L"", L"C:\\2023-05-14\\photo.jpg"})
    EXPECT_EQ(pw::NameDate(name), std::nullopt) << testing::PrintToString(std::wstring(name));
  EXPECT_EQ(pw::kNoDateInName, L"no date in the name");
}
