#pragma once
// The date a photo or video was taken, from what the file holds: its kind told by its first bytes,
// never by its extension.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "media/core/ByteSource.h"
#include "media/core/FoundDate.h"

namespace pw {

enum class MediaKind : std::uint8_t { Unknown, Jpeg, Tiff, Png, Webp, IsoMedia };

// The kind the file's first bytes (at least 12 of them to tell them all) say it is.
MediaKind MediaKindOf(std::span<const std::uint8_t> head);

// Nothing for a file of unknown kind, without a date, or too damaged to read.
std::optional<FoundDate> ReadTakenDate(ByteSource& source);

// What the preview shows for a file without one.
inline constexpr std::wstring_view kNoDateTaken = L"no date taken";

}  // namespace pw
