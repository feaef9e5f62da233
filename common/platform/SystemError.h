#pragma once
// The system's own words for an error code, for the messages that name what went wrong.
#include <cstdint>
#include <string>

namespace pw {

// The system's text for an error code, without its line break.
std::wstring SystemErrorText(std::uint32_t error);

}  // namespace pw
