#pragma once
// Windows names as bytes. A name is UTF-16 that may hold unpaired surrogates, which UTF-8 cannot
// write; they are written as WTF-8: UTF-8, with an unpaired surrogate written as UTF-8 would write
// its code point (ED A0 80 to ED BF BF). A pair is always one four-byte sequence, so every name has
// exactly one spelling and reads back unit for unit.
// Wide texts hold UTF-16 code units on every platform, also where wchar_t is wider than 16 bits.
#include <optional>
#include <string>
#include <string_view>

namespace pw {

// A unit above 0xFFFF (only where wchar_t is wider) is taken as a code point; one past U+10FFFF
// is written as U+FFFD.
std::string ToWtf8(std::wstring_view utf16);
// Nothing for bytes that are not WTF-8: broken, cut or overlong sequences, code points past
// U+10FFFF, and a lead surrogate's three bytes followed by a trail surrogate's (a pair spelled a
// second way).
std::optional<std::wstring> FromWtf8(std::string_view bytes);

}  // namespace pw
