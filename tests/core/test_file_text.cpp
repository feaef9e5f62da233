#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "browse/core/FileText.h"

using pw::CalendarTime;

TEST(AttributeText, LettersInFixedOrder) {
  EXPECT_EQ(pw::AttributeText(0x21), L"RA");
  EXPECT_EQ(pw::AttributeText(0x27), L"RHSA");
  EXPECT_EQ(pw::AttributeText(0x10), L".");   // a plain folder
  EXPECT_EQ(pw::AttributeText(0x80), L"N");
  EXPECT_EQ(pw::AttributeText(0x800), L".");  // compressed only
  EXPECT_EQ(pw::AttributeText(0), L".");
  EXPECT_EQ(pw::AttributeText(0xFFFFFFFF), L"RHSAN");
  EXPECT_EQ(pw::AttributeText(0x36), L"HSA");
  EXPECT_EQ(pw::AttributeLetters(0xA5), L"RSAN");
}

TEST(FileTypeText, ExtensionOfTheLastComponent) {
  EXPECT_EQ(pw::FileTypeText(L"C:\\docs\\report.txt", 0x20), L"TXT File");
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\archive.tar.gz", 0x20), L"GZ File");
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\photo.JpEg", 0), L"JPEG File");
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\README", 0), L" File");
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\name.", 0), L"");
  EXPECT_EQ(pw::FileTypeText(L"C:\\dir.x\\file", 0), L" File");
  EXPECT_EQ(pw::FileTypeText(L"C:file.c", 0), L"C File");
  EXPECT_EQ(pw::FileTypeText(L"D:.profile", 0), L"PROFILE File");
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\b.\u00e9t\u00e9", 0), L"\u00e9T\u00e9 File");  // only a-z
  EXPECT_EQ(pw::FileTypeText(L"", 0), L" File");
}

TEST(FileTypeText, AnyFolderIsAFileFolder) {
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\photos.jpg", 0x10), L"File Folder");
  EXPECT_EQ(pw::FileTypeText(L"C:\\a\\name.", 0x16), L"File Folder");
  EXPECT_EQ(pw::FileTypeText(L"C:\\", 0x10), L"File Folder");
}

TEST(SizeTexts, DigitsGroupedByTheSeparator) {
  EXPECT_EQ(pw::FormatGrouped(5000000000ull, L","), L"5,000,000,000");
  EXPECT_EQ(pw::FormatGrouped(0, L","), L"0");
  EXPECT_EQ(pw::FormatGrouped(999, L","), L"999");
  EXPECT_EQ(pw::FormatGrouped(1000, L","), L"1,000");
  EXPECT_EQ(pw::FormatGrouped(123456, L"."), L"123.456");
  EXPECT_EQ(pw::FormatGrouped(1234567, L""), L"1234567");
  EXPECT_EQ(pw::FormatGrouped(1234567, L"\u00a0"), L"1\u00a0234\u00a0567");
  EXPECT_EQ(pw::FormatGrouped(std::numeric_limits<std::uint64_t>::max(), L","),
            L"18,446,744,073,709,551,615");
}

TEST(SizeTexts, KilobytesTruncateTowardZero) {
  EXPECT_EQ(pw::FormatKilobytes(500107861504, L","), L"488,386,583 KB");
  EXPECT_EQ(pw::FormatKilobytes(0, L","), L"0 KB");
  EXPECT_EQ(pw::FormatKilobytes(1023, L","), L"0 KB");
  EXPECT_EQ(pw::FormatKilobytes(1024, L","), L"1 KB");
  EXPECT_EQ(pw::FormatKilobytes(-1, L","), L"0 KB");  // a failed size query
  EXPECT_EQ(pw::FormatKilobytes(-4096, L","), L"-4 KB");
  EXPECT_EQ(pw::FormatKilobytes(std::numeric_limits<std::int64_t>::min(), L","),
            L"-9,007,199,254,740,992 KB");
  EXPECT_EQ(pw::FormatKilobytes(1024000000, L"."), L"1.000.000 KB");
}

TEST(DriveTexts, SerialNumbersAndTypes) {
  EXPECT_EQ(pw::FormatSerial(439041101), L"1A2B-3C4D");
  EXPECT_EQ(pw::FormatSerial(1), L"0000-0001");
  EXPECT_EQ(pw::FormatSerial(0xFFFFFFFF), L"FFFF-FFFF");
  EXPECT_EQ(pw::FormatSerial(0x00AB0000), L"00AB-0000");

  const wchar_t* expected[] = {L"Unknown", L"NotExists", L"Removable", L"Fixed",
                               L"Remote",  L"CDROM",     L"RAMDisk"};
  for (std::uint32_t i = 0; i < 7; ++i) EXPECT_EQ(pw::DriveTypeText(i), expected[i]);
  EXPECT_EQ(pw::DriveTypeText(7), L"");
  EXPECT_EQ(pw::DriveTypeText(0xFFFFFFFF), L"");
}

TEST(FileTimeText, DatePlusTwelveCharacterTime) {
  CalendarTime t;
  t.Year = 2026;
  t.Month = 12;
  t.Day = 6;
  t.Hour = 8;
  t.Minute = 37;
  t.Second = 23;
  t.Millisecond = 123;
  EXPECT_EQ(pw::FileTimeText(t, pw::DateFormatter(L"dd.MM.yyyy"), L":"),
            L"06.12.2026 08:37:23:123");
  EXPECT_EQ(pw::FileTimeText(t, pw::DateFormatter(L"M/d/yyyy"), L":"), L"12/6/2026 08:37:23:123");
  EXPECT_EQ(pw::FileTimeText(t, pw::DateFormatter(L"M/d/yyyy"), L"."), L"12/6/2026 08.37.23.123");

  // Whatever the moment and separator, exactly 12 characters follow the first blank.
  for (const wchar_t* sep : {L":", L".", L"", L"::"}) {
    for (int h : {0, 9, 23}) {
      for (int ms : {0, 7, 45, 999}) {
        t.Hour = h;
        t.Minute = h;
        t.Second = h;
        t.Millisecond = ms;
        const std::wstring text = pw::FileTimeText(t, pw::DateFormatter(L"yyyy-MM-dd"), sep);
        const auto blank = text.find(L' ');
        ASSERT_NE(blank, std::wstring::npos);
        EXPECT_EQ(text.size() - blank - 1, 12u);
      }
    }
  }
  t.Hour = t.Minute = t.Second = t.Millisecond = 0;
  EXPECT_EQ(pw::TimeOfDayText(t, L":"), L"00:00:00:000");
  t.Millisecond = 5;
  EXPECT_EQ(pw::TimeOfDayText(t, L"::"), L"00:00:00:005");
  EXPECT_EQ(pw::TimeOfDayText(t, L""), L"00:00:00:005");
}
