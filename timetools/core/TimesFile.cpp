#include "timetools/core/TimesFile.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <unordered_map>

#include "common/core/DateTime.h"
#include "common/core/IsoTime.h"
#include "common/core/Wtf8.h"
#include "timetools/core/CsvReader.h"
#include "timetools/core/RelativePath.h"

namespace pw {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 9> kHeader = {
    "Path", "Kind", "Created", "Created (UTC)", "Modified", "Modified (UTC)", "Accessed", "Accessed (UTC)",
    "Attributes"};
constexpr std::size_t kPathColumn = 0, kKindColumn = 1, kAttributesColumn = 8;

struct TimeColumn {
  std::size_t Ticks;  // its text follows in the next column
  const wchar_t* Name;
  std::optional<std::uint64_t> TimesRow::*Field;
};
constexpr TimeColumn kTimeColumns[] = {
    {.Ticks = 2, .Name = L"Created", .Field = &TimesRow::Created},
    {.Ticks = 4, .Name = L"Modified", .Field = &TimesRow::LastWrite},
    {.Ticks = 6, .Name = L"Accessed", .Field = &TimesRow::LastAccess},
};

// A longer path field cannot hold a path the platform takes: a UTF-16 unit takes at most three
// bytes, and the apostrophe against formulas one more. Checked before the field is copied.
constexpr std::size_t kLongestPathBytes = 3 * kLongestPath + 1;

// What a spreadsheet program would take for the start of a formula, or would drop.
bool StartsFormula(char c) {
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r' || c == '\'';
}

void AppendField(std::string& out, std::string_view value) {
  if (std::none_of(value.begin(), value.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; })) {
    out += value;
    return;
  }
  out += '"';
  for (const char c : value) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
}

void AppendDecimal(std::string& out, std::uint64_t value) {
  char digits[20];
  char* at = std::end(digits);
  do {
    *--at = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  out.append(at, std::end(digits));
}

void AppendHex8(std::string& out, std::uint32_t value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  char digits[8];
  for (int i = 0; i < 8; ++i) digits[i] = kHex[(value >> (28 - 4 * i)) & 0xF];
  out.append(digits, 8);
}

// ---- Reading ---------------------------------------------------------------------------------

std::wstring CsvFaultText(CsvFault fault) {
  switch (fault) {
    case CsvFault::None: break;
    case CsvFault::UnclosedQuote: return L"a quote is not closed";
    case CsvFault::TextAfterQuote: return L"text follows a closing quote";
    case CsvFault::QuoteInField: return L"a quote inside a field that does not begin with one";
    case CsvFault::LoneCarriageReturn: return L"a CR that does not end the line";
  }
  return {};
}

bool IsHeader(const CsvRecord& record) {
  if (record.Columns != kHeader.size()) return false;
  for (std::size_t i = 0; i < kHeader.size(); ++i) {
    if (record.Fields[i].Raw != kHeader[i]) return false;
  }
  return true;
}

// The value of plain decimal digits, kLastFileTime + 1 for anything larger; nothing when the text
// is empty or holds anything else.
std::optional<std::uint64_t> DecimalValue(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    value = value > (kLastFileTime - digit) / 10 ? kLastFileTime + 1 : value * 10 + digit;
  }
  return value;
}

std::optional<std::uint32_t> HexWord(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') digit = static_cast<std::uint32_t>(c - 'a' + 10);
    else return std::nullopt;
    value = value << 4 | digit;
  }
  return value;
}

std::optional<std::wstring> ReadPath(const CsvField& field, std::wstring& path) {
  if (field.Size() > kLongestPathBytes) return L"the path is longer than 32,767 characters";
  std::string bytes = field.Value();
  if (bytes.size() >= 2 && bytes[0] == '\'' && StartsFormula(bytes[1])) bytes.erase(0, 1);
  std::optional<std::wstring> decoded = FromWtf8(bytes);
  if (!decoded) return L"the path is not UTF-8";
  std::replace(decoded->begin(), decoded->end(), L'/', L'\\');
  if (std::optional<std::wstring> fault = RelativePathFault(*decoded)) return fault;
  path = std::move(*decoded);
  return std::nullopt;
}

// The ticks and the text of one time, both checked against each other.
std::optional<std::wstring> ReadTime(const CsvRecord& record, const TimeColumn& column, TimesRow& row) {
  const std::wstring name = column.Name;
  const std::optional<std::uint64_t> ticks = DecimalValue(record.Fields[column.Ticks].Raw);
  if (!ticks) return L"the " + name + L" ticks are not a number";
  if (*ticks > kLastFileTime) return L"the " + name + L" ticks are past the last file time";
  const std::string_view text = record.Fields[column.Ticks + 1].Raw;
  if (*ticks == 0) {
    if (!text.empty()) return L"the " + name + L" (UTC) text is not empty though the ticks are 0";
    return std::nullopt;
  }
  const std::optional<std::uint64_t> instant = ParseIsoUtc(text);
  if (!instant) return L"the " + name + L" (UTC) text is not a time like 2026-07-01T12:00:00.1230000Z";
  // A spreadsheet that saved the file back may have cut digits: such a value is never taken.
  if (*instant != *ticks) return L"the " + name + L" (UTC) text is not the time of its ticks";
  row.*column.Field = ticks;
  return std::nullopt;
}

std::optional<std::wstring> ReadRow(const CsvRecord& record, TimesRow& row) {
  if (record.Columns != kHeader.size()) {
    return std::to_wstring(record.Columns) + (record.Columns == 1 ? L" column, " : L" columns, ") +
           std::to_wstring(kHeader.size()) + L" expected";
  }
  if (std::optional<std::wstring> fault = ReadPath(record.Fields[kPathColumn], row.Path)) return fault;
  const std::string_view kind = record.Fields[kKindColumn].Raw;
  if (kind != "F" && kind != "D") return L"the Kind is not F or D";
  row.IsFolder = kind == "D";
  for (const TimeColumn& column : kTimeColumns) {
    if (std::optional<std::wstring> fault = ReadTime(record, column, row)) return fault;
  }
  const std::optional<std::uint32_t> attributes = HexWord(record.Fields[kAttributesColumn].Raw);
  if (!attributes) return L"the Attributes are not 1 to 8 hex digits";
  row.Attributes = *attributes;
  return std::nullopt;
}

// The first row, in the file's order, whose path an earlier row has already. Paths that differ
// only in letter case are two entries: a folder with case-sensitive lookup (and every Wine drive)
// holds "a.txt" and "A.txt" side by side, and a save of both must be given back.
std::optional<TimesFileError> FirstRepeatedPath(const std::vector<TimesRow>& rows,
                                                const std::vector<std::size_t>& lines) {
  std::unordered_map<std::wstring_view, std::size_t> first;
  first.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto [at, isNew] = first.emplace(rows[i].Path, i);
    if (!isNew)
      return TimesFileError{.Line = lines[i],
                            .What = L"the path is on line " + std::to_wstring(lines[at->second]) + L" already"};
  }
  return std::nullopt;
}

std::optional<TimesFileError> ReadRows(std::string_view bytes, std::vector<TimesRow>& rows) {
  CsvReader reader(bytes, kHeader.size());
  CsvRecord record;
  if (reader.AtEnd()) return TimesFileError{.Line = 1, .What = L"the header is missing"};
  reader.Next(record);
  if (record.Fault != CsvFault::None) return TimesFileError{.Line = 1, .What = CsvFaultText(record.Fault)};
  if (!IsHeader(record)) return TimesFileError{.Line = 1, .What = L"not the header of a times file"};

  std::vector<std::size_t> lines;
  std::optional<std::size_t> blankLine;
  while (!reader.AtEnd()) {
    reader.Next(record);
    if (record.Fault != CsvFault::None) return TimesFileError{.Line = record.Line, .What = CsvFaultText(record.Fault)};
    if (record.Blank()) {
      blankLine = blankLine.value_or(record.Line);
      continue;
    }
    if (blankLine) return TimesFileError{.Line = *blankLine, .What = L"an empty line before the last row"};
    TimesRow row;
    if (std::optional<std::wstring> fault = ReadRow(record, row))
      return TimesFileError{.Line = record.Line, .What = std::move(*fault)};
    rows.push_back(std::move(row));
    lines.push_back(record.Line);
  }
  return FirstRepeatedPath(rows, lines);
}

}  // namespace

void AppendTimesHeader(std::string& out) {
  out += kBom;
  for (std::size_t i = 0; i < kHeader.size(); ++i) {
    if (i > 0) out += ',';
    out += kHeader[i];
  }
  out += "\r\n";
}

std::optional<std::wstring> AppendTimesRow(std::string& out, const TimesRow& row) {
  if (std::optional<std::wstring> fault = RelativePathFault(row.Path)) return fault;
  for (const TimeColumn& column : kTimeColumns) {
    if ((row.*column.Field).value_or(0) > kLastFileTime)
      return L"the " + std::wstring(column.Name) + L" time is past the last file time";
  }
  std::string path = ToWtf8(row.Path);
  if (StartsFormula(path.front())) path.insert(path.begin(), '\'');
  AppendField(out, path);
  out += row.IsFolder ? ",D" : ",F";
  for (const TimeColumn& column : kTimeColumns) {
    const std::uint64_t ticks = (row.*column.Field).value_or(0);
    out += ',';
    AppendDecimal(out, ticks);
    out += ',';
    if (ticks != 0) AppendIsoUtc(out, ticks);
  }
  out += ',';
  AppendHex8(out, row.Attributes);
  out += "\r\n";
  return std::nullopt;
}

std::wstring TimesFileError::Text() const {
  return L"line " + std::to_wstring(Line) + L": " + What;
}

TimesFile ParseTimesFile(std::string_view bytes) {
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  TimesFile file;
  file.Error = ReadRows(bytes, file.Rows);
  if (file.Error) file.Rows.clear();
  return file;
}

}  // namespace pw
