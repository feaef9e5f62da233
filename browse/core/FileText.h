#pragma once
// The texts the lists show for raw file-system values.

#include <cstdint>
#include <string>
#include <string_view>

#include "browse/core/DateFormat.h"
#include "browse/core/DateTime.h"

namespace pw {

// File attribute bits the lists look at.
inline constexpr std::uint32_t AttrReadOnly = 0x01;
inline constexpr std::uint32_t AttrHidden = 0x02;
inline constexpr std::uint32_t AttrSystem = 0x04;
inline constexpr std::uint32_t AttrDirectory = 0x10;
inline constexpr std::uint32_t AttrArchive = 0x20;
inline constexpr std::uint32_t AttrNormal = 0x80;

std::wstring AttributeText(std::uint32_t attributes);  // "RHSAN" order, "." when none
// The same letters without allocating; the view lives as long as the program.
std::wstring_view AttributeLetters(std::uint32_t attributes);

std::wstring FileTypeText(std::wstring_view path, std::uint32_t attributes);

std::wstring FormatGrouped(std::uint64_t value, std::wstring_view thousandSep);  // 5,000,000,000
std::wstring FormatKilobytes(std::int64_t bytes, std::wstring_view thousandSep);  // "488,386,583 KB"
std::wstring FormatSerial(std::uint32_t serial);                                 // 1A2B-3C4D
std::wstring DriveTypeText(std::uint32_t driveType);  // 0 "Unknown" ... 6 "RAMDisk", other ""

// The user's time separator may have several characters, but the time is read back by position:
// only its first character is used, and ":" when it is empty.
wchar_t TimeSeparatorChar(std::wstring_view localeSeparator);
// hh:mm:ss:zzz, always exactly 12 characters.
std::wstring TimeOfDayText(const TimeOfDay& t, wchar_t separator);
std::wstring TimeOfDayText(const CalendarTime& t, std::wstring_view timeSep);
// The time read from such a text by position (hours at 0-1, minutes 3-4, seconds 6-7,
// milliseconds 9-11), whatever the separators are; a missing or non-digit character counts as 0.
TimeOfDay TimeOfDayFromText(std::wstring_view text);
// The short date, a blank and the time of day.
std::wstring FileTimeText(const CalendarTime& local, const DateFormatter& date,
                          std::wstring_view timeSep);

}  // namespace pw
