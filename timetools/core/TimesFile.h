#pragma once
// The saved-times file: the times and attributes of entries below a listed folder, one row each,
// to give them back later exact to 100 ns. UTF-8 CSV as RFC 4180 has it, with a BOM (spreadsheet
// programs then read it as UTF-8) and CRLF line ends; a header row, then a row an entry:
//   Path,Kind,Created,Created (UTC),Modified,Modified (UTC),Accessed,Accessed (UTC),Attributes
// Path: relative to the listed folder with '\' between names, as WTF-8 (common/core/Wtf8.h) so that
//   unpaired surrogates come back too; a path a spreadsheet would take for a formula (it begins
//   with = + - @ tab CR or ') gets one apostrophe more in front.
// Kind: F for a file, D for a folder.
// The times: file-time ticks, 0 when the entry has none, each followed by the same instant as ISO
//   8601 text for people to read, which must agree with the ticks to the 100 ns.
// Attributes: the attribute word, 8 hex digits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

struct TimesRow {
  std::wstring Path;
  bool IsFolder = false;
  // Nothing when the entry has none (0 in the file); a 0 here is written as nothing.
  std::optional<std::uint64_t> Created, LastWrite, LastAccess;
  std::uint32_t Attributes = 0;
  friend bool operator==(const TimesRow&, const TimesRow&) = default;
};

// The BOM and the header row.
void AppendTimesHeader(std::string& out);
// Appends the row and its line end. A row the reader would refuse (its path by RelativePathFault,
// a time past kLastFileTime) is not appended: what is wrong with it comes back instead.
std::optional<std::wstring> AppendTimesRow(std::string& out, const TimesRow& row);

struct TimesFileError {
  std::size_t Line = 0;  // the physical line the bad row begins on, 1-based; the header is line 1
  std::wstring What;     // "the Modified ticks are not a number"
  std::wstring Text() const;  // "line 7: the Modified ticks are not a number"
  friend bool operator==(const TimesFileError&, const TimesFileError&) = default;
};

struct TimesFile {
  std::vector<TimesRow> Rows;  // empty when there is an error
  std::optional<TimesFileError> Error;
};

// Reads a whole file strictly, never guessing: the first thing that is not as written makes the
// whole file an error. Taken as well: no BOM, LF line ends, no line end after the last row, empty
// lines after it, '/' between names. Two rows of one path are an error on the later row's line;
// paths that differ in letter case only are two entries.
TimesFile ParseTimesFile(std::string_view bytes);

}  // namespace pw
