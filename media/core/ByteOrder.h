#pragma once
// Integers as the formats store them, read from bytes the caller has checked are there.
#include <cstdint>

namespace pw {

inline std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
inline std::uint32_t Be32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
inline std::uint64_t Be64(const std::uint8_t* p) { return std::uint64_t{Be32(p)} << 32 | Be32(p + 4); }
inline std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[1] << 8 | p[0]); }
inline std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

// A four-character code as the formats name their boxes and chunks ("moov", "eXIf").
constexpr std::uint32_t FourCc(const char (&code)[5]) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[3]));
}

}  // namespace pw
