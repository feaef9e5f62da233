// Any bytes as a saved-times file: the reader must stay within its bounds and never crash, and
// whatever it takes must write back, read again as the same rows, and write again byte for byte
// as before (each row has one spelling).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "timetools/core/TimesFile.h"

namespace {

std::string Written(const pw::TimesFile& file) {
  std::string out;
  pw::AppendTimesHeader(out);
  for (const pw::TimesRow& row : file.Rows) {
    if (pw::AppendTimesRow(out, row)) std::abort();  // read, so it must be writable
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pw::TimesFile file = pw::ParseTimesFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (file.Error) {
    if (!file.Rows.empty() || file.Error->Line == 0) std::abort();
    return 0;
  }
  const std::string written = Written(file);
  const pw::TimesFile again = pw::ParseTimesFile(written);
  if (again.Error || again.Rows != file.Rows || Written(again) != written) std::abort();
  return 0;
}
