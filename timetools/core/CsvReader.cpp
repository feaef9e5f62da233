#include "timetools/core/CsvReader.h"

#include <algorithm>

namespace pw {
namespace {

bool IsFieldEnd(char c) { return c == ',' || c == '\r' || c == '\n' || c == '"'; }

}  // namespace

std::size_t CsvField::Size() const {
  if (!Quoted) return Raw.size();
  return Raw.size() - static_cast<std::size_t>(std::count(Raw.begin(), Raw.end(), '"')) / 2;
}

std::string CsvField::Value() const {
  if (!Quoted) return std::string(Raw);
  std::string value;
  value.reserve(Size());
  for (std::size_t i = 0; i < Raw.size(); ++i) {
    value += Raw[i];
    if (Raw[i] == '"') ++i;  // the second of a doubled pair
  }
  return value;
}

void CsvReader::Next(CsvRecord& record) {
  record.Line = line_;
  record.Columns = 0;
  record.Fields.clear();
  record.Fault = CsvFault::None;
  CsvField field;
  for (;;) {
    record.Fault = ReadField(field);
    ++record.Columns;
    if (record.Fields.size() < kept_) record.Fields.push_back(field);
    if (record.Fault != CsvFault::None || AtEnd() || TakeLineEnd()) return;
    ++pos_;  // the comma
  }
}

CsvFault CsvReader::ReadField(CsvField& field) {
  if (pos_ < bytes_.size() && bytes_[pos_] == '"') return ReadQuoted(field);
  const std::size_t begin = pos_;
  while (pos_ < bytes_.size() && !IsFieldEnd(bytes_[pos_])) ++pos_;
  field = {.Raw = bytes_.substr(begin, pos_ - begin), .Quoted = false};
  if (AtEnd()) return CsvFault::None;
  if (bytes_[pos_] == '"') return CsvFault::QuoteInField;
  if (bytes_[pos_] == '\r' && (pos_ + 1 == bytes_.size() || bytes_[pos_ + 1] != '\n'))
    return CsvFault::LoneCarriageReturn;
  return CsvFault::None;
}

CsvFault CsvReader::ReadQuoted(CsvField& field) {
  const std::size_t begin = ++pos_;
  for (;;) {
    const std::size_t quote = bytes_.find('"', pos_);
    const std::size_t stop = quote == std::string_view::npos ? bytes_.size() : quote;
    line_ += static_cast<std::size_t>(std::count(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                                 bytes_.begin() + static_cast<std::ptrdiff_t>(stop), '\n'));
    if (quote == std::string_view::npos) {
      field = {.Raw = bytes_.substr(begin), .Quoted = true};
      pos_ = bytes_.size();
      return CsvFault::UnclosedQuote;
    }
    if (quote + 1 < bytes_.size() && bytes_[quote + 1] == '"') {
      pos_ = quote + 2;
      continue;
    }
    field = {.Raw = bytes_.substr(begin, quote - begin), .Quoted = true};
    pos_ = quote + 1;
    if (AtEnd() || bytes_[pos_] == ',' || bytes_[pos_] == '\n' ||
        (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n')) {
      return CsvFault::None;
    }
    return CsvFault::TextAfterQuote;
  }
}

bool CsvReader::TakeLineEnd() {
  if (bytes_[pos_] == '\r') ++pos_;  // a CR here is always followed by LF: ReadField checked
  if (bytes_[pos_] != '\n') return false;
  ++pos_;
  ++line_;
  return true;
}

}  // namespace pw
