#pragma once
// RFC 4180 records read one at a time from a file's bytes, without copying them: a field is a view
// of its bytes. Lines end in CRLF or LF. Built for hostile files: one pass over the bytes, and only
// the first few fields of a record are kept, however many it has.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

struct CsvField {
  std::string_view Raw;  // between the quotes when quoted, a quote in it still doubled
  bool Quoted = false;
  // The bytes of the value, without the doubled quotes.
  std::size_t Size() const;
  std::string Value() const;
};

enum class CsvFault : std::uint8_t {
  None,
  UnclosedQuote,      // the file ends inside quotes
  TextAfterQuote,     // a closing quote followed by something else than a comma or the line end
  QuoteInField,       // a quote inside a field that does not begin with one
  LoneCarriageReturn  // a CR outside quotes that does not end the line
};

struct CsvRecord {
  std::size_t Line = 0;     // the physical line it begins on, 1-based
  std::size_t Columns = 0;  // all of them, also those not kept
  std::vector<CsvField> Fields;  // the first ones, up to the reader's limit
  CsvFault Fault = CsvFault::None;  // when set, the record is cut short and reading must stop
  // A line with nothing on it.
  bool Blank() const { return Columns == 1 && !Fields[0].Quoted && Fields[0].Raw.empty(); }
};

class CsvReader {
public:
  CsvReader(std::string_view bytes, std::size_t keptColumns) : bytes_(bytes), kept_(keptColumns) {}
  bool AtEnd() const { return pos_ == bytes_.size(); }
  // Reads the next record into `record`, reusing its storage.
  void Next(CsvRecord& record);

private:
  // Reads one field at pos_ and returns the fault, if any; pos_ ends on the comma or line end
  // after it, or at the end of the bytes.
  CsvFault ReadField(CsvField& field);
  CsvFault ReadQuoted(CsvField& field);
  // Takes the line end at pos_ when there is one.
  bool TakeLineEnd();

  std::string_view bytes_;
  std::size_t kept_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
};

}  // namespace pw
