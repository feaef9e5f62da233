#include "common/core/NumberText.h"

namespace pw {

std::wstring FormatGrouped(std::uint64_t value, std::wstring_view thousandSep) {
  wchar_t digits[20];
  int n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  std::wstring out;
  out.reserve(static_cast<std::size_t>(n) + (static_cast<std::size_t>(n) / 3) * thousandSep.size());
  while (n > 0) {
    out += digits[--n];
    if (n > 0 && n % 3 == 0) out += thousandSep;
  }
  return out;
}

}  // namespace pw
