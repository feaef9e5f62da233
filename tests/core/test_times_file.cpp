// The saved-times file: names that CSV, spreadsheets and UTF-8 each get wrong come back unit for
// unit, times come back to the 100 ns at both ends of the range, and every damaged or unsafe row
// is refused with the line it begins on, also in huge hostile files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/core/DateTime.h"
#include "common/core/IsoTime.h"
#include "timetools/core/CsvReader.h"
#include "timetools/core/RelativePath.h"
#include "timetools/core/TimesFile.h"
#include "support/CalendarFixtures.h"

using pw::TimesRow;

namespace {

const std::string kHeader =
    "Path,Kind,Created,Created (UTC),Modified,Modified (UTC),Accessed,Accessed (UTC),Attributes";
const std::string kGoodRow = "good.txt,F,0,,0,,0,,00000020";
constexpr std::uint64_t kLast = pw::kLastFileTime;

std::uint64_t Utc(int y, int mo, int d, int h, int mi, int s, int ms, std::uint64_t ticks = 0) {
  std::uint64_t t = 0;
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(y, mo, d, h, mi, s, ms), t));
  return t + ticks;
}

std::string Written(const std::vector<TimesRow>& rows) {
  std::string out;
  pw::AppendTimesHeader(out);
  for (const TimesRow& row : rows) EXPECT_EQ(pw::AppendTimesRow(out, row), std::nullopt) << out;
  return out;
}

std::wstring ErrorOf(const std::string& bytes) {
  const pw::TimesFile file = pw::ParseTimesFile(bytes);
  if (!file.Error) return L"none";
  EXPECT_TRUE(file.Rows.empty());
  return file.Error->Text();
}

// The header on line 1, a good row on line 2, then the row under test on line 3.
std::wstring ErrorOfThirdLine(const std::string& row) {
  return ErrorOf(kHeader + "\r\n" + kGoodRow + "\r\n" + row + "\r\n");
}

TimesRow Row(std::wstring path, bool folder, std::optional<std::uint64_t> created, std::uint32_t attributes) {
  TimesRow row;
  row.Path = std::move(path);
  row.IsFolder = folder;
  row.Created = created;
  row.Attributes = attributes;
  return row;
}

TimesRow File(std::wstring path) { return Row(std::move(path), false, std::nullopt, 0x20); }

}  // namespace

TEST(IsoUtcText, SevenDigitsAtTheRangeEndsLeapDaysAndTheLastTickOfADay) {
  EXPECT_EQ(pw::IsoUtcText(0), "1601-01-01T00:00:00.0000000Z");
  EXPECT_EQ(pw::IsoUtcText(1), "1601-01-01T00:00:00.0000001Z");
  EXPECT_EQ(pw::IsoUtcText(kLast), "30828-09-14T02:48:05.4775807Z");
  const std::uint64_t leap = Utc(2024, 2, 29, 23, 59, 59, 999, 9999);
  EXPECT_EQ(pw::IsoUtcText(leap), "2024-02-29T23:59:59.9999999Z");
  EXPECT_EQ(pw::IsoUtcText(leap + 1), "2024-03-01T00:00:00.0000000Z");
  EXPECT_EQ(pw::IsoUtcText(Utc(10000, 1, 1, 0, 0, 0, 0)), "10000-01-01T00:00:00.0000000Z");

  for (const std::uint64_t ticks : {std::uint64_t{0}, std::uint64_t{1}, leap, kLast, Utc(2000, 2, 29, 12, 0, 0, 0, 1)})
    EXPECT_EQ(pw::ParseIsoUtc(pw::IsoUtcText(ticks)), ticks);
  // Only the one spelling, and only moments a file time holds.
  for (const char* other : {"2024-02-29T23:59:59.999Z", "2024-02-29T23:59:59.99999990Z", "2024-02-29 23:59:59.9999999Z",
                            "2024-02-29T23:59:59.9999999+00:00", "02024-02-29T23:59:59.9999999Z",
                            "2023-02-29T00:00:00.0000000Z", "1900-02-29T00:00:00.0000000Z", "2024-02-30T00:00:00.0000000Z",
                            "2024-02-29T24:00:00.0000000Z", "2024-02-29T23:60:00.0000000Z", "2024-02-29T23:59:60.0000000Z",
                            "1600-12-31T23:59:59.9999999Z", "30828-09-14T02:48:05.4775808Z", "99999-12-31T23:59:59.9999999Z",
                            "2024-0a-29T23:59:59.9999999Z", ""})
    EXPECT_EQ(pw::ParseIsoUtc(other), std::nullopt) << other;
}

TEST(TimesFile, TrickyNamesAndTheRangeEndsComeBackExactly) {
  const std::wstring longest = L"d\\" + std::wstring(pw::kLongestPath - 2, L'x');
  std::vector<TimesRow> rows = {
      Row(L"Photos", true, 1, 0x10),
      File(L"Photos\\2023\\a,b.jpg"),
      File(L"=SUM(A1)"), File(L"+1"), File(L"-rf"), File(L"@home"), File(L"'quoted"), File(L"''"), File(L"x'=y"),
      File(L"\x2018single\x2019 \x201C" L"double\x201D"),
      File(L"\xD83D\xDE00 smile.txt"),                 // a pair: one four-byte sequence
      File(L"lead\xD800"), File(L"\xDC00trail"),       // unpaired halves
      File(L"\xDC00\xD800"), File(L"\xD800\xD800x"),   // halves in the wrong order or twice
      File(L"\xFEFF" L"bom\xFFFF"), File(L"\x5199\x771F\\name. with.dots"), File(L".hidden\\a..b"),
      File(longest),
  };
  rows[0].LastWrite = kLast;
  rows[1].LastAccess = Utc(2024, 2, 29, 23, 59, 59, 999, 9999);
  rows[2].Attributes = 0xFFFFFFFF;
  const std::string bytes = Written(rows);
  const pw::TimesFile back = pw::ParseTimesFile(bytes);
  ASSERT_FALSE(back.Error) << back.Error->Text();
  EXPECT_EQ(back.Rows, rows);

  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF" + kHeader + "\r\n"));
  for (const char* line : {"\r\nPhotos,D,1,1601-01-01T00:00:00.0000001Z,9223372036854775807,30828-09-14T02:48:05.4775807Z,0,,00000010\r\n",
                           "\r\n\"Photos\\2023\\a,b.jpg\",F,0,,0,,", ",2024-02-29T23:59:59.9999999Z,00000020\r\n",
                           "\r\n'=SUM(A1),F,0,,0,,0,,FFFFFFFF\r\n", "\r\n'-rf,", "\r\n''quoted,", "\r\n''',", "\r\nx'=y,",
                           "\r\n\xF0\x9F\x98\x80 smile.txt,", "\r\nlead\xED\xA0\x80,", "\r\n\xED\xB0\x80trail,"})
    EXPECT_NE(bytes.find(line), std::string::npos) << line;

  // A written 0 is "none"; what the reader would refuse is not written at all.
  std::string out;
  TimesRow zero = File(L"z");
  zero.Created = 0;
  ASSERT_EQ(pw::AppendTimesRow(out, zero), std::nullopt);
  EXPECT_EQ(out, "z,F,0,,0,,0,,00000020\r\n");
  TimesRow late = File(L"late");
  late.LastWrite = kLast + 1;
  EXPECT_EQ(pw::AppendTimesRow(out, late), L"the Modified time is past the last file time");
  EXPECT_EQ(pw::AppendTimesRow(out, File(L"a\\..\\..\\b")), L"the path leaves the folder (..)");
  EXPECT_EQ(pw::AppendTimesRow(out, File(L"a/b")), L"the path holds a character Windows does not allow in names (/)");
  EXPECT_EQ(out, "z,F,0,,0,,0,,00000020\r\n");
}

TEST(TimesFile, TakesEitherLineEndWithOrWithoutBomAndTheLastLineEndAndEmptyLinesAfterIt) {
  const std::string rows[] = {"a/b,F,0,,0,,0,,20", "\"a\",D,5,1601-01-01T00:00:00.0000005Z,0,,0,,10"};
  const std::vector<TimesRow> expected = {Row(L"a\\b", false, std::nullopt, 0x20), Row(L"a", true, 5, 0x10)};
  for (const char* bom : {"", "\xEF\xBB\xBF"}) {
    for (const std::string end : {"\r\n", "\n"}) {
      const std::string body = bom + kHeader + end + rows[0] + end + rows[1];
      for (const std::string& file : {body, body + end, body + end + end, body + end + end + end}) {
        const pw::TimesFile parsed = pw::ParseTimesFile(file);
        EXPECT_FALSE(parsed.Error) << parsed.Error->Text();
        EXPECT_EQ(parsed.Rows, expected);
      }
    }
  }
  EXPECT_EQ(ErrorOf("\"Path\",Kind,Created,Created (UTC),Modified,Modified (UTC),Accessed,Accessed (UTC),\"Attributes\""),
            L"none");
  EXPECT_EQ(ErrorOf(kHeader), L"none");
  EXPECT_EQ(ErrorOf(""), L"line 1: the header is missing");
  EXPECT_EQ(ErrorOf("\xEF\xBB\xBF"), L"line 1: the header is missing");
  EXPECT_EQ(ErrorOf("\r\n" + kHeader), L"line 1: not the header of a times file");
  EXPECT_EQ(ErrorOf("\xEF\xBB\xBF\xEF\xBB\xBF" + kHeader), L"line 1: not the header of a times file");
  EXPECT_EQ(ErrorOf("path" + kHeader.substr(4)), L"line 1: not the header of a times file");
  EXPECT_EQ(ErrorOf(kHeader + ",Extra"), L"line 1: not the header of a times file");
  EXPECT_EQ(ErrorOf("\"Path" + kHeader.substr(4)), L"line 1: a quote is not closed");
  EXPECT_EQ(ErrorOf(kHeader + "\r\n\r\n" + kGoodRow), L"line 2: an empty line before the last row");
  EXPECT_EQ(ErrorOf(kHeader + "\r" + kGoodRow), L"line 1: a CR that does not end the line");
}

TEST(TimesFile, DamagedRowsAreRefusedWithTheLineTheyBeginOn) {
  const std::pair<std::string, const wchar_t*> cases[] = {
      {"a,F,0,,0,,0,", L"line 3: 8 columns, 9 expected"},
      {"a,F,0,,0,,0,,20,", L"line 3: 10 columns, 9 expected"},
      {"a", L"line 3: 1 column, 9 expected"},
      {"\"a\nb\nc,F,0,,0,,0,,20", L"line 3: a quote is not closed"},
      {"\"a\"b,F,0,,0,,0,,20", L"line 3: text follows a closing quote"},
      {"\"a\" ,F,0,,0,,0,,20", L"line 3: text follows a closing quote"},
      {"a\"b,F,0,,0,,0,,20", L"line 3: a quote inside a field that does not begin with one"},
      {"a\rb,F,0,,0,,0,,20", L"line 3: a CR that does not end the line"},
      {"\xC0\xAF,F,0,,0,,0,,20", L"line 3: the path is not UTF-8"},            // overlong '/'
      {"a\xE2\x82,F,0,,0,,0,,20", L"line 3: the path is not UTF-8"},           // cut short
      {"\xF4\x90\x80\x80,F,0,,0,,0,,20", L"line 3: the path is not UTF-8"},    // past U+10FFFF
      {"\xED\xA0\xBD\xED\xB8\x80,F,0,,0,,0,,20", L"line 3: the path is not UTF-8"},  // a pair as two halves
      {"\xFF,F,0,,0,,0,,20", L"line 3: the path is not UTF-8"},
      {"a,f,0,,0,,0,,20", L"line 3: the Kind is not F or D"},
      {"a,,0,,0,,0,,20", L"line 3: the Kind is not F or D"},
      {"a,F,0,,1.3E+17,,0,,20", L"line 3: the Modified ticks are not a number"},
      {"a,F,0,,0,,-1,,20", L"line 3: the Accessed ticks are not a number"},
      {"a,F, 5,,0,,0,,20", L"line 3: the Created ticks are not a number"},
      {"a,F,,,0,,0,,20", L"line 3: the Created ticks are not a number"},
      {"a,F,9223372036854775808,,0,,0,,20", L"line 3: the Created ticks are past the last file time"},
      {"a,F,184467440737095516150,,0,,0,,20", L"line 3: the Created ticks are past the last file time"},
      {"a,F,0,1601-01-01T00:00:00.0000000Z,0,,0,,20", L"line 3: the Created (UTC) text is not empty though the ticks are 0"},
      {"a,F,1,,0,,0,,20", L"line 3: the Created (UTC) text is not a time like 2026-07-01T12:00:00.1230000Z"},
      {"a,F,0,,133000000001234567,2022-06-18T04:26:40.123Z,0,,20",
       L"line 3: the Modified (UTC) text is not a time like 2026-07-01T12:00:00.1230000Z"},
      {"a,F,0,,133000000001234567,2022-06-18T04:26:40.1234560Z,0,,20",
       L"line 3: the Modified (UTC) text is not the time of its ticks"},
      {"a,F,0,,0,,0,,", L"line 3: the Attributes are not 1 to 8 hex digits"},
      {"a,F,0,,0,,0,,123456789", L"line 3: the Attributes are not 1 to 8 hex digits"},
      {"a,F,0,,0,,0,,0x20", L"line 3: the Attributes are not 1 to 8 hex digits"},
  };
  for (const auto& [row, error] : cases) EXPECT_EQ(ErrorOfThirdLine(row), error) << row;
  EXPECT_EQ(ErrorOfThirdLine("a,F,0,,133000000001234567,2022-06-18T04:26:40.1234567Z,0,,a0"), L"none");
  // A field's line breaks count: the row after one starts on a later line.
  EXPECT_EQ(ErrorOf(kHeader + "\n\"a\nb\",F,0,,0,,0,,20\n"),
            L"line 2: the path holds a character Windows does not allow in names (U+000A)");
}

TEST(TimesFile, PathsThatCouldNameAnythingOutsideTheFolderAreRefused) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"\"\"", L"the path is empty"},
      {"..", L"the path leaves the folder (..)"},
      {"a\\..\\..\\b", L"the path leaves the folder (..)"},
      {"a/../b", L"the path leaves the folder (..)"},
      {"a\\.\\b", L"the path has a . name"},
      {"a\\. .", L"the path has a name of only dots and spaces (. .)"},
      {".. ", L"the path has a name of only dots and spaces (.. )"},
      // Windows drops a trailing dot or space: "sub.\x" opens "sub\x".
      {"sub.\\x", L"the path has a name that ends in a dot or a space (sub.)"},
      {"sub\\x ", L"the path has a name that ends in a dot or a space (x )"},
      {"a.txt.", L"the path has a name that ends in a dot or a space (a.txt.)"},
      {"\\Windows", L"the path is absolute (it begins with \\)"},
      {"/etc", L"the path is absolute (it begins with \\)"},
      {"C:x", L"the path names a drive (C:)"},
      {"c:\\x", L"the path names a drive (c:)"},
      {"\\\\server\\share\\x", L"the path is a network or device path (\\\\)"},
      {"\\\\?\\C:\\x", L"the path is a network or device path (\\\\)"},
      {"\\\\.\\PhysicalDrive0", L"the path is a network or device path (\\\\)"},
      {"//server/share", L"the path is a network or device path (\\\\)"},
      {"file.txt:hidden", L"the path names a stream (:)"},
      {"a\\\\b", L"the path has an empty name (\\\\)"},
      {"a\\", L"the path ends with \\"},
      {"a<b", L"the path holds a character Windows does not allow in names (<)"},
      {"a|b", L"the path holds a character Windows does not allow in names (|)"},
      {"a?b", L"the path holds a character Windows does not allow in names (?)"},
      {"a*b", L"the path holds a character Windows does not allow in names (*)"},
      {"\"a\"\"b\"", L"the path holds a character Windows does not allow in names (\")"},
      {"'\ta", L"the path holds a character Windows does not allow in names (U+0009)"},
      {"a\\NUL", L"the path names a device (NUL)"},
      {"con.txt\\x", L"the path names a device (con.txt)"},
      {"COM1 .log", L"the path names a device (COM1 .log)"},
      {"lpt\xC2\xB9", L"the path names a device (lpt\xB9)"},
      {std::string(1, '\'').append(pw::kLongestPath, 'x'), L"the path is longer than 32,767 characters"},
      {std::string(pw::kLongestPath * 3 + 2, 'x'), L"the path is longer than 32,767 characters"},
  };
  for (const auto& [path, error] : cases)
    EXPECT_EQ(ErrorOfThirdLine(path + ",F,0,,0,,0,,20"), L"line 3: " + error) << path;
  for (const char* allowed : {"COM10", "nullish", "CON-txt", "a..b", "...a", "'", "'a"})
    EXPECT_EQ(ErrorOfThirdLine(std::string(allowed) + ",F,0,,0,,0,,20"), L"none") << allowed;
  // An apostrophe is taken off only where the writer puts one.
  EXPECT_EQ(pw::ParseTimesFile(kHeader + "\n''a,F,0,,0,,0,,20").Rows.at(0).Path, L"'a");
  EXPECT_EQ(pw::ParseTimesFile(kHeader + "\n'a,F,0,,0,,0,,20").Rows.at(0).Path, L"'a");
  EXPECT_EQ(pw::ParseTimesFile(kHeader + "\n'@a,F,0,,0,,0,,20").Rows.at(0).Path, L"@a");

  // One entry twice, separators aside: the later row is named, with the earlier. Names that differ
  // in letter case only are two entries (a folder with case-sensitive lookup holds both).
  EXPECT_EQ(ErrorOf(kHeader + "\nDir/A.txt,F,0,,0,,0,,20\nb,F,0,,0,,0,,20\nDir\\A.txt,F,0,,0,,0,,20"),
            L"line 4: the path is on line 2 already");
  EXPECT_EQ(ErrorOf(kHeader + "\nx,F,0,,0,,0,,20\nX,F,0,,0,,0,,20\ndir\\a.txt,F,0,,0,,0,,20\nDIR\\a.txt,F,0,,0,,0,,20"),
            L"none");
}

TEST(TimesFile, HostileFilesEndQuicklyAtTheirFirstFault) {
  EXPECT_EQ(ErrorOf(std::string(kHeader).append("\r\n").append(1'000'000, ',')), L"line 2: 1000001 columns, 9 expected");
  const std::string huge(50'000'000, 'x');
  EXPECT_EQ(ErrorOf(kHeader + "\r\n\"" + huge + "\",F,0,,0,,0,,20"),
            L"line 2: the path is longer than 32,767 characters");
  EXPECT_EQ(ErrorOf(kHeader + "\r\n\"" + huge), L"line 2: a quote is not closed");
  EXPECT_EQ(ErrorOf(std::string(10'000'001, '"')), L"line 1: a quote is not closed");
  EXPECT_EQ(ErrorOf(std::string(kHeader).append("\r\n").append(20'000'002, '"').append(",F,0,,0,,0,,20")),
            L"line 2: the path is longer than 32,767 characters");
  const std::string lines(1'000'000, '\n');
  EXPECT_EQ(ErrorOf(kHeader + lines + "a"), L"line 2: an empty line before the last row");
}

TEST(CsvReader, KeepsOnlyTheFirstFieldsAndCountsTheLinesOfQuotedBreaks) {
  pw::CsvReader reader("a,\"b\r\nc\"\"d\",e\r\n\"x\n\ny\"\nlast", 2);
  pw::CsvRecord record;
  reader.Next(record);
  EXPECT_EQ(record.Line, 1u);
  EXPECT_EQ(record.Columns, 3u);
  ASSERT_EQ(record.Fields.size(), 2u);
  EXPECT_EQ(record.Fields[1].Value(), "b\r\nc\"d");
  EXPECT_EQ(record.Fields[1].Size(), 6u);
  reader.Next(record);
  EXPECT_EQ(record.Line, 3u);
  EXPECT_EQ(record.Fields[0].Value(), "x\n\ny");
  reader.Next(record);
  EXPECT_EQ(record.Line, 6u);
  EXPECT_EQ(record.Fields[0].Raw, "last");
  EXPECT_TRUE(reader.AtEnd());
}
