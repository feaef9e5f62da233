#pragma once
// Names stored once, back to back in large blocks that never move: a view handed out stays valid
// until the pool is cleared, and a folder of a million entries costs no allocation per name.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace pw {

// A name held in a NamePool: where its characters start. Its length is kept in the pool just
// before them, so that a row's caption costs one pointer; it reads as a string view.
class NameRef {
public:
  NameRef() = default;
  std::wstring_view View() const {
    if (!data_) return {};
    // One unit before the name holds its length; a name of 32,768 units or more has the high
    // bit set there and the rest of its length in the unit before.
    const auto last = static_cast<std::size_t>(static_cast<std::uint16_t>(data_[-1]));
    if (!(last & 0x8000)) return {data_, last};
    const auto low = static_cast<std::size_t>(static_cast<std::uint16_t>(data_[-2]));
    return {data_, (last & 0x7FFF) << 15 | low};
  }
  operator std::wstring_view() const { return View(); }
  const wchar_t* data() const { return data_; }
  std::size_t size() const { return View().size(); }
  bool empty() const { return !data_; }
  wchar_t front() const { return View().front(); }
  std::size_t find(wchar_t c, std::size_t from = 0) const { return View().find(c, from); }
  friend bool operator==(NameRef a, std::wstring_view b) { return a.View() == b; }
  friend bool operator==(NameRef a, NameRef b) { return a.View() == b.View(); }

private:
  friend class NamePool;
  explicit NameRef(const wchar_t* data) : data_(data) {}
  const wchar_t* data_ = nullptr;
};

class NamePool {
public:
  NamePool() = default;
  NamePool(NamePool&&) noexcept = default;
  NamePool& operator=(NamePool&&) noexcept = default;
  NamePool(const NamePool&) = delete;
  NamePool& operator=(const NamePool&) = delete;

  // Empty for an empty name.
  NameRef Add(std::wstring_view name);
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
