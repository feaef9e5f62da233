#pragma once
// Dates kept beside a photo or video rather than in it, and XMP inside it: a photo export's JSON
// (photoTakenTime, creationTime) and XMP (exif:DateTimeOriginal, photoshop:DateCreated,
// xmp:CreateDate). Byte spans in, as read by the caller; nothing of an entity or a reference is
// ever expanded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "media/core/ByteSource.h"
#include "media/core/FoundDate.h"

namespace pw {

// The most of a sidecar that is read: an export's JSON is a few hundred bytes, an XMP sidecar a
// few kilobytes; a larger file is read no further than this.
inline constexpr std::size_t kLargestSidecar = 1024 * 1024;

// photoTakenTime.timestamp, else creationTime.timestamp (seconds since 1970, UTC, as text or as a
// number); nothing for damaged JSON, a missing, zero or impossible timestamp.
std::optional<FoundDate> ReadExportJson(std::span<const std::uint8_t> bytes);

// The first of exif:DateTimeOriginal, photoshop:DateCreated, xmp:CreateDate, as an attribute or
// an element, with its offset when it has one; a date without seconds, or one written with an
// entity or a reference, is no date.
std::optional<FoundDate> ReadXmpDate(std::span<const std::uint8_t> bytes);

// The XMP a file carries inside: a JPEG's XMP segment, a PNG's iTXt "XML:com.adobe.xmp", an ISO
// media file's XMP uuid box or moov/udta/XMP_. Nothing when it has none.
std::optional<FoundDate> ReadEmbeddedXmp(ByteSource& source);

}  // namespace pw
