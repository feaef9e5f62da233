#pragma once
// The texts the lists show for raw file-system values.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/DateFormat.h"
#include "common/core/DateTime.h"
#include "common/core/NumberText.h"
#include "common/core/TimeText.h"

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

std::wstring FormatKilobytes(std::int64_t bytes, std::wstring_view thousandSep);  // "488,386,583 KB"
std::wstring FormatSerial(std::uint32_t serial);                                 // 1A2B-3C4D
std::wstring DriveTypeText(std::uint32_t driveType);  // 0 "Unknown" ... 6 "RAMDisk", other ""

// The short date, a blank and the time of day.
std::wstring FileTimeText(const CalendarTime& local, const DateFormatter& date,
                          std::wstring_view timeSep);

}  // namespace pw
