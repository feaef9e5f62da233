#include "browse/core/NamePool.h"

#include <algorithm>
#include <iterator>

namespace pw {

namespace {

// How many units the length takes before the name.
std::size_t LengthUnits(std::size_t length) { return length < 0x8000 ? 1 : 2; }

// The length, then the name; returns where the name starts.
wchar_t* Put(std::wstring_view name, wchar_t* at) {
  const std::size_t length = name.size();
  if (LengthUnits(length) == 1) {
    *at++ = static_cast<wchar_t>(length);
  } else {
    *at++ = static_cast<wchar_t>(length & 0x7FFF);
    *at++ = static_cast<wchar_t>(0x8000 | (length >> 15));
  }
  std::copy(name.begin(), name.end(), at);
  return at;
}

}  // namespace

NameRef NamePool::Add(std::wstring_view name) {
  if (name.empty()) return {};
  const std::size_t units = name.size() + LengthUnits(name.size());
  if (units > left_) {
    // A name longer than a block gets a block of its own; the newest block keeps its free end.
    const std::size_t size = std::max(units, kBlockChars);
    auto block = std::make_unique<wchar_t[]>(size);
    wchar_t* start = block.get();
    capacity_ += size;
    if (size > kBlockChars) {
      blocks_.insert(blocks_.empty() ? blocks_.end() : std::prev(blocks_.end()), std::move(block));
      return NameRef(Put(name, start));
    }
    blocks_.push_back(std::move(block));
    free_ = start;
    left_ = size;
  }
  const NameRef added(Put(name, free_));
  free_ += units;
  left_ -= units;
  return added;
}

void NamePool::Adopt(NamePool&& other) {
  if (other.blocks_.empty()) return;
  // The other pool's blocks go before the newest block, which keeps taking new names.
  const auto at = blocks_.empty() ? blocks_.end() : std::prev(blocks_.end());
  blocks_.insert(at, std::make_move_iterator(other.blocks_.begin()), std::make_move_iterator(other.blocks_.end()));
  if (!free_) {
    free_ = other.free_;
    left_ = other.left_;
  }
  capacity_ += other.capacity_;
  other.blocks_.clear();
  other.free_ = nullptr;
  other.left_ = other.capacity_ = 0;
}

void NamePool::Clear() {
  blocks_.clear();
  free_ = nullptr;
  left_ = capacity_ = 0;
}

}  // namespace pw
