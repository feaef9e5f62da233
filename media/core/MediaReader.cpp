#include "media/core/MediaReader.h"

#include <algorithm>

namespace pw {
namespace {

// Reads beyond the head take at least this much, so that a box header and the start of its
// payload, or an IFD and the values after it, usually come in one read.
constexpr std::size_t kLeastFarRead = 512;

}  // namespace

MediaReader::MediaReader(ByteSource& source)
    : source_(source),
      size_(source.Size()),
      // Not cleared first: the read fills it, and only what it filled is ever looked at. A run over
      // ten thousand photos makes as many readers.
      headBytes_(std::make_unique_for_overwrite<std::uint8_t[]>(
          static_cast<std::size_t>(std::min<std::uint64_t>(size_, kHeadBytes)))) {
  const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(size_, kHeadBytes));
  const std::size_t got = want == 0 ? 0 : std::min(source_.ReadAt(0, {headBytes_.get(), want}), want);
  bytesRead_ = got;
  head_ = {headBytes_.get(), got};
  // The file ends, or cannot be read, where the head stopped.
  if (got < want) size_ = got;
}

std::span<const std::uint8_t> MediaReader::View(std::uint64_t offset, std::size_t length) {
  if (length == 0 || length > kLargestView || offset > size_ || length > size_ - offset) return {};
  if (offset + length <= head_.size())
    return head_.subspan(static_cast<std::size_t>(offset), length);
  if (offset >= farOffset_ && offset + length <= farOffset_ + far_.size())
    return std::span<const std::uint8_t>(far_).subspan(static_cast<std::size_t>(offset - farOffset_), length);

  const auto fill = static_cast<std::size_t>(std::min<std::uint64_t>(std::max(length, kLeastFarRead), size_ - offset));
  if (bytesRead_ + fill > kReadBudget) return {};
  bytesRead_ += fill;
  far_.resize(fill);
  farOffset_ = offset;
  const std::size_t got = std::min(source_.ReadAt(offset, far_), fill);
  far_.resize(got);
  if (got < length) return {};
  return std::span<const std::uint8_t>(far_).first(length);
}

}  // namespace pw
