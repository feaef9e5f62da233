#pragma once
// Whole numbers as the user reads them: digits grouped by the locale's thousands separator.
#include <cstdint>
#include <string>
#include <string_view>

namespace pw {

std::wstring FormatGrouped(std::uint64_t value, std::wstring_view thousandSep);  // 5,000,000,000

}  // namespace pw
