#pragma once
// A UTC file time as ISO 8601 text to the 100 ns, "2026-07-01T12:00:00.1230000Z": always seven
// fractional digits, so that every instant has one text and two texts are equal exactly when their
// instants are. Years past 9999 take five digits.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

std::string IsoUtcText(std::uint64_t fileTime);
void AppendIsoUtc(std::string& out, std::uint64_t fileTime);
// The file time of a text of that one form; nothing for any other spelling (fewer digits, a zone
// offset, a space for the T, a year written with a leading zero) or for a moment outside 0 to
// kLastFileTime.
std::optional<std::uint64_t> ParseIsoUtc(std::string_view text);

}  // namespace pw
