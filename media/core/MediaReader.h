#pragma once
// How the date readers reach a file: its head (the first 64 KB) read at once, since most formats
// keep their dates there, and further bytes read only where a parser asks for them, so that a
// video's media data is stepped over, never read. Two budgets bound what a damaged or hostile file
// can cost: the bytes read from the source, and the boxes, chunks, segments and entries visited.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "media/core/ByteSource.h"

namespace pw {

class MediaReader {
public:
  static constexpr std::size_t kHeadBytes = 64 * 1024;
  static constexpr std::size_t kLargestView = 64 * 1024;
  static constexpr std::uint64_t kReadBudget = 1024 * 1024;
  static constexpr std::size_t kStepBudget = 20'000;

  explicit MediaReader(ByteSource& source);
  MediaReader(const MediaReader&) = delete;
  MediaReader& operator=(const MediaReader&) = delete;

  // The file's size; less than the source says when the source could not deliver its head.
  std::uint64_t Size() const { return size_; }

  // `length` (at least 1, at most kLargestView) bytes from `offset`, or an empty view when they are
  // not all in the file or cannot be read within the budget. A view inside the head lasts as long
  // as the reader; any other only until the next call.
  std::span<const std::uint8_t> View(std::uint64_t offset, std::size_t length);

  // Counts one box, chunk, segment or entry visited; false once that budget is spent.
  bool Step() { return ++steps_ <= kStepBudget; }

private:
  ByteSource& source_;
  std::uint64_t size_ = 0;
  std::uint64_t bytesRead_ = 0;
  std::size_t steps_ = 0;
  std::unique_ptr<std::uint8_t[]> headBytes_;
  std::span<const std::uint8_t> head_;  // what was read of them
  std::vector<std::uint8_t> far_;  // the last bytes read beyond the head
  std::uint64_t farOffset_ = 0;
};

}  // namespace pw
