#pragma once
// Reads the list's texts back into values, the plain way: the tests check the fast sort against
// the order these readings give.
#include <cstdint>
#include <string_view>

#include "common/core/DateFormat.h"

namespace pw {

// Reads the digits of a size text, skipping anything else ("1,000" -> 1000). Saturates instead
// of overflowing on absurdly long digit runs.
std::int64_t SizeTextToNumber(std::wstring_view text);
// Reads a time text of the list ("<short date> hh:mm:ss:zzz", or a date alone) back into a
// date-time value; 0 (no time) when the text cannot be read.
double DateTimeTextToValue(std::wstring_view text, const DateFormatter& date);

}  // namespace pw
