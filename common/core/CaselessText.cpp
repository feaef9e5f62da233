#include "common/core/CaselessText.h"

#include <algorithm>

namespace pw {
namespace {

// Walks a joined text run by run.
class JoinedCursor {
public:
  explicit JoinedCursor(const JoinedText& text) : text_(text) { SkipEmpty(); }
  bool AtEnd() const { return part_ == text_.Parts.size(); }
  // The rest of the current piece; never empty unless at the end.
  std::wstring_view Run() const { return text_.Parts[part_].substr(pos_); }
  void Advance(std::size_t count) {
    while (count > 0 && !AtEnd()) {
      const std::size_t step = std::min(count, text_.Parts[part_].size() - pos_);
      pos_ += step;
      count -= step;
      SkipEmpty();
    }
  }

private:
  void SkipEmpty() {
    while (part_ < text_.Parts.size() && pos_ == text_.Parts[part_].size()) {
      ++part_;
      pos_ = 0;
    }
  }
  const JoinedText& text_;
  std::size_t part_ = 0, pos_ = 0;
};

}  // namespace

int CompareJoined(const JoinedText& a, const JoinedText& b, std::size_t skip) {
  JoinedCursor ca(a), cb(b);
  ca.Advance(skip);
  cb.Advance(skip);
  for (;;) {
    if (ca.AtEnd() || cb.AtEnd()) return ca.AtEnd() == cb.AtEnd() ? 0 : ca.AtEnd() ? -1 : 1;
    const std::wstring_view ra = ca.Run(), rb = cb.Run();
    const std::size_t n = std::min(ra.size(), rb.size());
    for (std::size_t i = 0; i < n; ++i) {
      if (ra[i] == rb[i]) continue;
      const unsigned fa = FoldAscii(ra[i]), fb = FoldAscii(rb[i]);
      if (fa != fb) return fa < fb ? -1 : 1;
    }
    ca.Advance(n);
    cb.Advance(n);
  }
}

TextPrefix MakePrefix(const JoinedText& text, std::size_t skip) {
  TextPrefix prefix;
  std::size_t slot = 0;
  bool clamped = false;
  const auto put = [&prefix](std::size_t at, std::uint64_t value) {
    prefix.Packed[at / 4] |= value << (16 * (3 - at % 4));
  };
  JoinedCursor cursor(text);
  cursor.Advance(skip);
  while (slot < TextPrefix::Units && !cursor.AtEnd()) {
    const std::wstring_view run = cursor.Run();
    const std::size_t n = std::min(run.size(), TextPrefix::Units - slot);
    for (std::size_t i = 0; i < n; ++i, ++slot) {
      const unsigned folded = FoldAscii(run[i]);
      clamped = clamped || folded >= 0xFFFE;
      put(slot, clamped ? 0xFFFF : folded + 1);
    }
    cursor.Advance(n);
  }
  if (clamped) {  // everything after a clamped unit reads as clamped too
    for (; slot < TextPrefix::Units; ++slot) put(slot, 0xFFFF);
  }
  return prefix;
}

int CaselessCompare(std::wstring_view a, std::wstring_view b) {
  return CompareJoined({{a, {}, {}}}, {{b, {}, {}}});
}

}  // namespace pw
