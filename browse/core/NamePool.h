#pragma once
// Names stored once, back to back in large blocks that never move: a view handed out stays valid
// until the pool is cleared, and a folder of a million entries costs no allocation per name.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace pw {

class NamePool {
public:
  NamePool() = default;
  NamePool(NamePool&&) noexcept = default;
  NamePool& operator=(NamePool&&) noexcept = default;
  NamePool(const NamePool&) = delete;
  NamePool& operator=(const NamePool&) = delete;

  std::wstring_view Add(std::wstring_view name);
  // Takes over the other pool's blocks; the views into them stay valid, now owned here.
  void Adopt(NamePool&& other);
  void Clear();
  // Characters held, in all blocks, used or not.
  std::size_t Capacity() const { return capacity_; }

private:
  static constexpr std::size_t kBlockChars = 32768;
  std::vector<std::unique_ptr<wchar_t[]>> blocks_;
  wchar_t* free_ = nullptr;  // the unused end of the newest block
  std::size_t left_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace pw
