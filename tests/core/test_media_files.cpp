// The date readers against real files that ImageMagick, exiftool and heif-enc made (and movies
// and odd shapes written byte by byte), by scripts/make_media.sh, run by CTest before these tests.
// The instants expected are Unix times worked out apart from the program's calendar code.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "media/core/TakenDate.h"
#include "support/MediaBytes.h"

using pw::DateOrigin;
using testmedia::Bytes;
using testmedia::FromUnix;

namespace {

#ifdef PW_MEDIA_DIR
Bytes ReadMedia(const std::string& name) {
  std::ifstream in(std::string(PW_MEDIA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name << " is missing: CTest makes it (scripts/make_media.sh)";
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
#endif

struct Expected {
  const char* File;
  DateOrigin Origin;
  std::uint64_t Instant;                  // in UTC, read at +00:00 when the file gives no offset
  std::optional<std::int32_t> UtcOffset;  // as the file gives it
};

}  // namespace

TEST(MediaFiles, DatesAsTheToolsWroteThem) {
#ifndef PW_MEDIA_DIR
  GTEST_SKIP() << "this build does not make the test media";
#else
  const Expected cases[] = {
      {.File = "offset.jpg", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1684066953, 4'570'000), .UtcOffset = 120},
      {.File = "plain.jpg", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1616898600), .UtcOffset = std::nullopt},
      {.File = "digitized.jpg", .Origin = DateOrigin::ExifDigitized, .Instant = FromUnix(1577856599, 1'234'567), .UtcOffset = -330},
      {.File = "exif.png", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1646032150, 4'000'000), .UtcOffset = 60},
      {.File = "exif.webp", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1593901800), .UtcOffset = -240},
      {.File = "intel.tif", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1541934671, 5'000'000), .UtcOffset = std::nullopt},
      {.File = "motorola.tif", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1541934671, 5'000'000), .UtcOffset = std::nullopt},
      {.File = "photo.heic", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1690837628, 9'000'000), .UtcOffset = 540},
      {.File = "key.mov", .Origin = DateOrigin::QuickTimeKey, .Instant = FromUnix(1684066953), .UtcOffset = 120},
      {.File = "key.mp4", .Origin = DateOrigin::QuickTimeKey, .Instant = FromUnix(1622548800, 5'000'000), .UtcOffset = 0},
      {.File = "header.mp4", .Origin = DateOrigin::MovieHeader, .Instant = FromUnix(1671962400), .UtcOffset = 0},
      // Hand-built shapes: ORF and RW2 headers, eXIf after the image data, WebP's EXIF with its
      // name, an iloc of version 1 with a base offset, 64-bit and to-the-end box sizes.
      {.File = "handmade/little.tif", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/big.tif", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/olympus.orf", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/panasonic.rw2", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/late_exif.png", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/prefixed.webp", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/iloc_v1.heic", .Origin = DateOrigin::ExifOriginal, .Instant = FromUnix(1583031599, 1'200'000), .UtcOffset = -180},
      {.File = "handmade/sizes.mov", .Origin = DateOrigin::MovieHeader, .Instant = FromUnix(1671962400), .UtcOffset = 0},
  };
  pw::ReadingZone utc;
  utc.FixedOffsetMinutes = 0;
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.File);
    const auto date = testmedia::TakenDate(ReadMedia(c.File));
    ASSERT_TRUE(date);
    EXPECT_EQ(date->Origin, c.Origin);
    EXPECT_EQ(date->UtcOffset, c.UtcOffset);
    EXPECT_EQ(pw::PlaceDate(*date, utc).Instant, c.Instant);
  }
  // Both byte orders really are there.
  EXPECT_EQ(ReadMedia("intel.tif").at(0), 'I');
  EXPECT_EQ(ReadMedia("motorola.tif").at(0), 'M');

  // ModifyDate alone, a movie header before 1970, a JPEG cut inside its DateTimeOriginal.
  for (const char* none : {"modify_only.jpg", "pre1970.3gp", "damaged.jpg", "handmade/name0.txt"})
    EXPECT_EQ(testmedia::TakenDate(ReadMedia(none)), std::nullopt) << none;
#endif
}
