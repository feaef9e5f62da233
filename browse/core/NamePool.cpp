#include "browse/core/NamePool.h"

#include <algorithm>
#include <iterator>

namespace pw {

std::wstring_view NamePool::Add(std::wstring_view name) {
  if (name.empty()) return {};
  if (name.size() > left_) {
    // A name longer than a block gets a block of its own; the newest block keeps its free end.
    const std::size_t size = std::max(name.size(), kBlockChars);
    auto block = std::make_unique<wchar_t[]>(size);
    wchar_t* start = block.get();
    capacity_ += size;
    if (size > kBlockChars) {
      blocks_.insert(blocks_.empty() ? blocks_.end() : std::prev(blocks_.end()), std::move(block));
      std::copy(name.begin(), name.end(), start);
      return {start, name.size()};
    }
    blocks_.push_back(std::move(block));
    free_ = start;
    left_ = size;
  }
  wchar_t* start = free_;
  std::copy(name.begin(), name.end(), start);
  free_ += name.size();
  left_ -= name.size();
  return {start, name.size()};
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
