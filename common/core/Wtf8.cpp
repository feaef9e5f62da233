#include "common/core/Wtf8.h"

namespace pw {
namespace {

bool IsLead(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrail(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The smallest code point each sequence length may carry; anything below is overlong.
constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace

std::string ToWtf8(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = static_cast<char32_t>(utf16[i]);
    if (IsLead(cp) && i + 1 < utf16.size() && IsTrail(static_cast<char32_t>(utf16[i + 1]))) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(utf16[++i]) - 0xDC00);
    } else if (cp > 0x10FFFF) {
      cp = 0xFFFD;
    }
    AppendCodePoint(out, cp);
  }
  return out;
}

std::optional<std::wstring> FromWtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  bool afterLead = false;  // the last unit written was an unpaired lead surrogate
  for (std::size_t i = 0; i < bytes.size();) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t cp = 0;
    if (first < 0x80) {
      length = 1;
      cp = first;
    } else if (first >= 0xC2 && first <= 0xDF) {
      length = 2;
      cp = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
      length = 3;
      cp = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
      length = 4;
      cp = first & 0x07;
    } else {
      return std::nullopt;
    }
    if (bytes.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < kLeast[length] || cp > 0x10FFFF) return std::nullopt;
    if (afterLead && IsTrail(cp)) return std::nullopt;
    afterLead = IsLead(cp);
    if (cp >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
    i += length;
  }
  return out;
}

}  // namespace pw
