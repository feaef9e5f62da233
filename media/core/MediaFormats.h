#pragma once
// The date taken, format by format. Each reader expects a file whose first bytes say it is of its
// kind (TakenDate.h tells them apart) and gives nothing when the file holds no usable date, is
// damaged, or asks for more than the reader's budgets.
#include <cstdint>
#include <optional>

#include "media/core/FoundDate.h"
#include "media/core/MediaReader.h"

namespace pw {

// A TIFF structure (EXIF) from its byte-order mark at `start`; its offsets count from there and
// may not reach `end`. DateTimeOriginal with its sub-seconds and offset, else DateTimeDigitized
// with its own.
std::optional<FoundDate> ReadExifDate(MediaReader& reader, std::uint64_t start, std::uint64_t end);
// The same for a container's EXIF payload, which some writers begin with JPEG's "Exif\0\0".
std::optional<FoundDate> ReadExifPayload(MediaReader& reader, std::uint64_t start, std::uint64_t end);

std::optional<FoundDate> TiffTakenDate(MediaReader& reader);      // TIFF and the raw formats built on it
std::optional<FoundDate> JpegTakenDate(MediaReader& reader);      // the APP1 "Exif" segment
std::optional<FoundDate> PngTakenDate(MediaReader& reader);       // the eXIf chunk
std::optional<FoundDate> WebpTakenDate(MediaReader& reader);      // the EXIF chunk
std::optional<FoundDate> IsoMediaTakenDate(MediaReader& reader);  // HEIF/AVIF, QuickTime, MP4, 3GP

}  // namespace pw
