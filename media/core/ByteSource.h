#pragma once
// What the date readers read from: a file's bytes by offset. The Windows side reads a file handle;
// the tests and the fuzz targets read memory.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

namespace pw {

class ByteSource {
public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `into` from `offset` on; returns how many bytes it read: fewer at the end or on an error.
  virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

// Bytes already in memory, not copied: they must outlive the source.
class MemorySource final : public ByteSource {
public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t Size() const override { return bytes_.size(); }

  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t count = std::min<std::size_t>(into.size(), bytes_.size() - static_cast<std::size_t>(offset));
    if (count != 0) std::memcpy(into.data(), bytes_.data() + offset, count);
    return count;
  }

private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace pw
