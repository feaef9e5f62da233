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

// Folds only a-z to upper case and compares code units, so the order does not depend on the
// user's locale. -1, 0 or 1 by the first difference; a text that begins the other sorts first.
int CaselessCompare(std::wstring_view a, std::wstring_view b);

// A text made of up to three pieces, compared as if they were joined, without joining them.
struct JoinedText {
  std::array<std::wstring_view, 3> Parts;
};

// -1, 0 or 1; the first `skip` units of both texts are known to be equal and are not read.
int CompareJoined(const JoinedText& a, const JoinedText& b, std::size_t skip = 0);

// The first sixteen folded code units of a text, packed so that comparing the numbers orders
// texts as CompareJoined does: unit + 1 per 16 bits (0 = the text ended), most significant first.
// A unit too large for 16 bits is stored as 0xFFFF, and so is everything after it; two prefixes
// that differ therefore differ before any such unit, and equal ones leave the decision to the
// full comparison.
struct TextPrefix {
  static constexpr std::size_t Words = 4;
  static constexpr std::size_t Units = Words * 4;
  std::array<std::uint64_t, Words> Packed{};
  // Equal prefixes that are Exact hold the same first Units units of both texts, and the texts
  // go on. Equal prefixes that Ended hold the whole of two equal texts.
  bool Exact() const { return LastUnit() != 0 && LastUnit() != 0xFFFF; }
  bool Ended() const { return LastUnit() == 0; }

private:
  std::uint64_t LastUnit() const { return Packed[Words - 1] & 0xFFFF; }
};

// The prefix of the text after its first `skip` units.
TextPrefix MakePrefix(const JoinedText& text, std::size_t skip = 0);

inline int ComparePrefix(const TextPrefix& a, const TextPrefix& b) {
  for (std::size_t i = 0; i < TextPrefix::Words; ++i) {
    if (a.Packed[i] != b.Packed[i]) return a.Packed[i] < b.Packed[i] ? -1 : 1;
  }
  return 0;
}

}  // namespace pw
