#pragma once
// The time of day as the program writes it, in the file list and in the time edit:
// "hh:mm:ss:zzz", always 12 characters, read back by position.

#include <string>
#include <string_view>

#include "common/core/DateTime.h"

namespace pw {

// The user's time separator may have several characters, but the time is read back by position:
// only its first character is used, and ":" when it is empty.
wchar_t TimeSeparatorChar(std::wstring_view localeSeparator);
// hh:mm:ss:zzz, always exactly 12 characters.
std::wstring TimeOfDayText(const TimeOfDay& t, wchar_t separator);
std::wstring TimeOfDayText(const CalendarTime& t, std::wstring_view timeSep);
// The time read from such a text by position (hours at 0-1, minutes 3-4, seconds 6-7,
// milliseconds 9-11), whatever the separators are; a missing or non-digit character counts as 0.
TimeOfDay TimeOfDayFromText(std::wstring_view text);
}  // namespace pw
