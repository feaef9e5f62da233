#pragma once
// The caseless text order of the file list (a-z folded, code units compared), over texts made of
// a few pieces, and a packed prefix that decides most comparisons of a sort on its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pw {

inline unsigned FoldAscii(wchar_t c) {
  const auto u = static_cast<unsigned>(c);
  return u >= L'a' && u <= L'z' ? u - 32 : u;
}

// A text made of up to three pieces, compared as if they were joined, without joining them.
struct JoinedText {
  std::array<std::wstring_view, 3> Parts;
};

// -1, 0 or 1; the first `skip` units of both texts are known to be equal and are not read.
int CompareJoined(const JoinedText& a, const JoinedText& b, std::size_t skip = 0);

// The first eight folded code units of a text, packed so that comparing the two numbers orders
// texts as CompareJoined does: unit + 1 per 16 bits (0 = the text ended), most significant first.
// A unit too large for 16 bits is stored as 0xFFFF, and so is everything after it; two prefixes
// that differ therefore differ before any such unit, and equal ones leave the decision to the
// full comparison.
struct TextPrefix {
  static constexpr std::size_t Units = 8;
  std::uint64_t High = 0, Low = 0;
  // Equal prefixes that are Exact hold the same first Units units of both texts, and the texts
  // go on. Equal prefixes that Ended hold the whole of two equal texts.
  bool Exact() const { return (Low & 0xFFFF) != 0 && (Low & 0xFFFF) != 0xFFFF; }
  bool Ended() const { return (Low & 0xFFFF) == 0; }
};

// The prefix of the text after its first `skip` units.
TextPrefix MakePrefix(const JoinedText& text, std::size_t skip = 0);

inline int ComparePrefix(const TextPrefix& a, const TextPrefix& b) {
  if (a.High != b.High) return a.High < b.High ? -1 : 1;
  if (a.Low != b.Low) return a.Low < b.Low ? -1 : 1;
  return 0;
}

}  // namespace pw
