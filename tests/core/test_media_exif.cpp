// The date taken from EXIF in TIFF structures and JPEG files built byte by byte: both byte orders,
// the original and the digitized date with their sub-seconds and offsets, the tags that never
// count, and damage: cut files, offsets out of the file, absurd counts, IFDs that point at
// themselves, and a file read only where its structure leads.
#include <gtest/gtest.h>

#include <string>

#include "media/core/DateText.h"
#include "media/core/MediaReader.h"
#include "media/core/TakenDate.h"
#include "support/MediaBytes.h"

using namespace testmedia;
using pw::DateOrigin;
using pw::FoundDate;
using pw::WallClock;

namespace {

constexpr const char* kDate = "2023:05:14 14:22:33";
const WallClock kClock{.Year = 2023, .Month = 5, .Day = 14, .Hour = 14, .Minute = 22, .Second = 33};

WallClock WithTicks(WallClock clock, std::uint32_t ticks) {
  clock.SubSecond = ticks;
  return clock;
}

// The instant of a date that carries its offset; the zone is not asked.
std::uint64_t Instant(const FoundDate& date) { return pw::PlaceDate(date, pw::ReadingZone{}).Instant.value_or(0); }

}  // namespace

TEST(ExifDate, TheOriginalWithItsSubSecondsAndOffsetInBothByteOrdersInTiffAndJpeg) {
  for (const bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "MM" : "II");
    const Bytes tiff = ExifWithOriginal(bigEndian, kDate, "457", "+02:00");
    for (const Bytes& file : {tiff, JpegWithExif(tiff)}) {
      const auto date = TakenDate(file);
      ASSERT_TRUE(date);
      EXPECT_EQ(date->Origin, DateOrigin::ExifOriginal);
      EXPECT_EQ(date->Clock, WithTicks(kClock, 4'570'000));
      EXPECT_EQ(date->UtcOffset, 120);
      EXPECT_EQ(Instant(*date), FromUnix(1684066953, 4'570'000));  // 12:22:33.457 UTC
      EXPECT_EQ(pw::OriginText(*date), L"EXIF, +02:00");
    }
  }
  // Without an offset it is a wall-clock time, whatever zone the reader runs in.
  const auto plain = TakenDate(ExifWithOriginal(true, kDate));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->UtcOffset, std::nullopt);
  EXPECT_EQ(pw::OriginText(*plain), L"EXIF");
}

TEST(ExifDate, TextsAsCamerasWriteThem) {
  // Sub-seconds: a fraction of the second, kept to 100 ns and cut, not rounded.
  EXPECT_EQ(pw::ReadSubSeconds("457"), 4'570'000u);
  EXPECT_EQ(pw::ReadSubSeconds("4"), 4'000'000u);
  EXPECT_EQ(pw::ReadSubSeconds("1234567"), 1'234'567u);
  EXPECT_EQ(pw::ReadSubSeconds("123456789"), 1'234'567u);
  EXPECT_EQ(pw::ReadSubSeconds("0999999999"), 999'999u);
  EXPECT_EQ(pw::ReadSubSeconds(std::string("45 \0", 4)), 4'500'000u);
  EXPECT_EQ(pw::ReadSubSeconds("   "), std::nullopt);
  EXPECT_EQ(pw::ReadSubSeconds("4x"), std::nullopt);

  EXPECT_EQ(pw::ReadUtcOffset("+02:00"), 120);
  EXPECT_EQ(pw::ReadUtcOffset("-05:30"), -330);
  EXPECT_EQ(pw::ReadUtcOffset("+0545"), 345);
  EXPECT_EQ(pw::ReadUtcOffset("-03"), -180);
  EXPECT_EQ(pw::ReadUtcOffset("Z"), 0);
  EXPECT_EQ(pw::ReadUtcOffset("   :  "), std::nullopt);
  EXPECT_EQ(pw::ReadUtcOffset("+02:60"), std::nullopt);
  EXPECT_EQ(pw::ReadUtcOffset("-18:00"), -1080);  // the furthest a zone can be
  EXPECT_EQ(pw::ReadUtcOffset("+18:01"), std::nullopt);
  EXPECT_EQ(pw::ReadUtcOffset("02:00"), std::nullopt);

  EXPECT_EQ(pw::ReadExifDateTime(std::string("2023:05:14 14:22:33\0", 20)), kClock);
  EXPECT_EQ(pw::ReadExifDateTime("2024:02:29 23:59:59"), (WallClock{2024, 2, 29, 23, 59, 59}));
  for (const char* none : {"0000:00:00 00:00:00", "    :  :     :  :  ", "", "2023:02:29 10:00:00",
                           "2023:13:01 10:00:00", "2023:05:14 24:00:00", "2023:05:14 14:60:00",
                           "2023:05:14 14:22:60", "2023:05:14 14:22", "2023:05:14 14:22:33:1", "2023/05/14 14:22:33"})
    EXPECT_EQ(pw::ReadExifDateTime(none), std::nullopt) << none;
}

TEST(ExifDate, TheDigitizedDateOnlyWithoutAnOriginalAndNeverTheModifyDate) {
  const std::vector<TiffEntry> digitized = {TextTag(0x9004, "2019:12:31 23:59:59"),
                                            TextTag(0x9292, "1234567"),
                                            TextTag(0x9012, "-05:30"),
                                            // The original's offset does not belong to the digitized date.
                                            TextTag(0x9011, "+09:00")};
  for (const char* original : {"", "0000:00:00 00:00:00", "                   ", "2023:02:30 10:00:00"}) {
    std::vector<TiffEntry> exif = digitized;
    if (*original) exif.push_back(TextTag(0x9003, original));
    const auto date = TakenDate(Tiff(false, {}, exif));
    ASSERT_TRUE(date) << original;
    EXPECT_EQ(date->Origin, DateOrigin::ExifDigitized);
    EXPECT_EQ(date->Clock, (WallClock{2019, 12, 31, 23, 59, 59, 1'234'567}));
    EXPECT_EQ(date->UtcOffset, -330);
    EXPECT_EQ(Instant(*date), FromUnix(1577856599, 1'234'567));
    EXPECT_EQ(pw::OriginText(*date), L"EXIF digitized, -05:30");
  }
  // ModifyDate (0x0132) alone, in either IFD: no date taken.
  const TiffEntry modify = TextTag(0x0132, kDate);
  EXPECT_EQ(TakenDate(Tiff(true, {modify}, {})), std::nullopt);
  EXPECT_EQ(TakenDate(Tiff(true, {modify}, {modify})), std::nullopt);
  // TIFF/EP files keep the original date in IFD0 itself; the Exif IFD's wins when both have one.
  const TiffEntry inFirst = TextTag(0x9003, "2001:01:01 01:01:01");
  EXPECT_EQ(TakenDate(Tiff(false, {inFirst}, {}))->Clock, (WallClock{2001, 1, 1, 1, 1, 1}));
  EXPECT_EQ(TakenDate(Tiff(false, {inFirst}, {TextTag(0x9003, kDate)}))->Clock, kClock);
}

TEST(ExifDate, ACutFileGivesNothingOrWhatWasReadBeforeTheCut) {
  for (const bool bigEndian : {false, true}) {
    const Bytes tiff = ExifWithOriginal(bigEndian, kDate, "457", "+02:00");
    const Bytes jpeg = JpegWithExif(tiff);
    const auto full = TakenDate(jpeg);
    ASSERT_TRUE(full);
    const std::string text(jpeg.begin(), jpeg.end());
    // The text's NUL is not needed.
    const std::size_t dateEnd = text.find(kDate) + 19;
    for (std::size_t size = 0; size <= jpeg.size(); ++size) {
      const auto date = TakenDate(Bytes(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(size)));
      if (size < dateEnd) {
        EXPECT_EQ(date, std::nullopt) << size;
      } else {
        // The offset's text lies after the date's: a file cut between them keeps the wall clock.
        ASSERT_TRUE(date) << size;
        EXPECT_EQ(date->Clock, full->Clock);
      }
    }
    EXPECT_EQ(TakenDate(Bytes(tiff.begin(), tiff.end() - 1))->UtcOffset, 120);
    EXPECT_EQ(TakenDate(Bytes(tiff.begin(), tiff.end() - 2))->UtcOffset, std::nullopt);
  }
}

TEST(ExifDate, OffsetsAndCountsThatLeadOutOfTheStructureGiveNothing) {
  const Bytes good = ExifWithOriginal(false, kDate);
  // Entries, in order: IFD0 at 8 (ModifyDate, the Exif pointer), the Exif IFD at 38 (DateTimeOriginal).
  constexpr std::size_t kPointerValue = 8 + 2 + 12 + 8, kExifIfd = 38, kDateEntry = kExifIfd + 2;
  ASSERT_EQ(good[kPointerValue], kExifIfd);
  const auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    Bytes file = good;
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return TakenDate(file);
  };
  EXPECT_TRUE(TakenDate(good));
  EXPECT_EQ(patched(4, {0xFF, 0xFF, 0xFF, 0xFF}), std::nullopt);                   // IFD0 far past the end
  EXPECT_EQ(patched(kPointerValue, {0xF0, 0xFF, 0xFF, 0xFF}), std::nullopt);       // Exif IFD past the end
  EXPECT_EQ(patched(kPointerValue, {8, 0, 0, 0}), std::nullopt);                   // Exif IFD is IFD0 again
  EXPECT_EQ(patched(kDateEntry + 8, {0xF0, 0xFF, 0xFF, 0xFF}), std::nullopt);      // the text past the end
  EXPECT_EQ(patched(kDateEntry + 8, {0xFE, 0xFF, 0xFF, 0xFF}), std::nullopt);      // ... wrapping around
  EXPECT_EQ(patched(kDateEntry + 2, {3, 0}), std::nullopt);                        // SHORT, not text
  EXPECT_EQ(patched(0, {'I', 'M'}), std::nullopt);                                 // no byte order
  EXPECT_EQ(patched(2, {43, 0}), std::nullopt);                                    // BigTIFF and others
  // A count of 65535 entries in a file of a few dozen bytes: the entries that are there are read.
  EXPECT_TRUE(patched(kExifIfd, {0xFF, 0xFF}));
  // A text count in the billions: only the text's first bytes are read.
  EXPECT_EQ(patched(kDateEntry + 4, {0xFF, 0xFF, 0xFF, 0xFF})->Clock, kClock);
  // An Exif IFD that points at itself is read once.
  Bytes loop = Tiff(true, {}, {TextTag(0x9003, kDate), LongTag(0x8769, 8 + 18)});
  EXPECT_EQ(TakenDate(loop)->Clock, kClock);
}

TEST(JpegDate, TheExifSegmentIsFoundAmongOthersAndNotAfterTheImageData) {
  const Bytes tiff = ExifWithOriginal(true, kDate);
  const Bytes exif = Join({Text("Exif"), Bytes(2, 0), tiff});
  const Bytes xmp = Text(std::string_view("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
  const auto segment = [](std::uint8_t marker, const Bytes& payload) {
    return Join({{0xFF, marker}, Be(payload.size() + 2, 2), payload});
  };
  const Bytes start = {0xFF, 0xD8}, scan = {0xFF, 0xDA, 0, 2, 0xFF, 0xD9};
  // XMP in an APP1 of its own, a large ICC profile, fill bytes and a restart marker first.
  EXPECT_EQ(TakenDate(Join({start, segment(0xE1, xmp), segment(0xE2, Bytes(60'000, 7)), {0xFF, 0xFF, 0xFF, 0xD0},
                            segment(0xE1, exif), scan}))->Clock,
            kClock);
  // A first EXIF segment without a date (a thumbnail's, an editor's) does not hide the next one's.
  const Bytes undated = Join({Text("Exif"), Bytes(2, 0), Tiff(true, {TextTag(0x0132, kDate)}, {})});
  EXPECT_EQ(TakenDate(Join({start, segment(0xE1, undated), segment(0xE1, exif), scan})),
            TakenDate(Join({start, segment(0xE1, exif), scan})));
  // Some cameras end the name with 0xFF.
  Bytes padded = exif;
  padded[5] = 0xFF;
  EXPECT_TRUE(TakenDate(Join({start, segment(0xE1, padded), scan})));
  EXPECT_EQ(TakenDate(Join({start, scan, segment(0xE1, exif)})), std::nullopt);
  EXPECT_EQ(TakenDate(Join({start, {0xFF, 0xE1, 0, 1}, exif})), std::nullopt);  // a length below its own size
  EXPECT_EQ(TakenDate(Join({start, {0x00}, segment(0xE1, exif)})), std::nullopt);  // no marker where one belongs
  EXPECT_EQ(TakenDate(Join({start, segment(0xE1, Join({Text("Exif"), Bytes(2, 0)}))})), std::nullopt);
}

TEST(MediaReading, OnlyTheHeadOfAJpegAndOnlyWhatTheStructureNamesElsewhereAreRead) {
  // A 20 MB JPEG with its EXIF at the start: its first 64 KB are all that is read.
  SparseSource photo(20'000'000);
  photo.Place(0, JpegWithExif(ExifWithOriginal(false, kDate)));
  EXPECT_EQ(pw::ReadTakenDate(photo)->Clock, kClock);
  EXPECT_EQ(photo.BytesRead(), pw::MediaReader::kHeadBytes);

  // A raw file whose Exif IFD and date lie 10 MB and 30 MB in: read there, a little each.
  SparseSource raw(40'000'000);
  Bytes head = Join({Text("II"), Le(42, 2), Le(8, 4), Le(1, 2), Le(0x8769, 2), Le(4, 2), Le(1, 4), Le(10'000'000, 4), Le(0, 4)});
  raw.Place(0, head);
  raw.Place(10'000'000, Join({Le(1, 2), Le(0x9003, 2), Le(2, 2), Le(20, 4), Le(30'000'000, 4), Le(0, 4)}));
  raw.Place(30'000'000, Text(kDate));
  EXPECT_EQ(pw::ReadTakenDate(raw)->Clock, kClock);
  EXPECT_LT(raw.BytesRead(), pw::MediaReader::kHeadBytes + 2048);

  // A hundred thousand segments of 4 bytes before the EXIF: the walk gives up within its budgets.
  SparseSource endless(1'000'000);
  Bytes segments = {0xFF, 0xD8};
  for (int i = 0; i < 100'000; ++i) segments.insert(segments.end(), {0xFF, 0xE3, 0, 2});
  endless.Place(0, segments);
  endless.Place(segments.size(), JpegWithExif(ExifWithOriginal(false, kDate)));
  EXPECT_EQ(pw::ReadTakenDate(endless), std::nullopt);
  EXPECT_LE(endless.BytesRead(), pw::MediaReader::kReadBudget);
}

TEST(TiffDate, RawFormatsWithTheirOwnHeaders) {
  for (const auto& [order, magic] : {std::pair{"II", "RO"}, {"II", "RS"}, {"MM", "OR"}, {"II", "U\0"}}) {
    Bytes file = ExifWithOriginal(order[0] == 'M', kDate);
    file[2] = static_cast<std::uint8_t>(magic[0]);
    file[3] = static_cast<std::uint8_t>(magic[1]);
    EXPECT_EQ(pw::MediaKindOf(file), pw::MediaKind::Tiff) << order << magic;
    EXPECT_EQ(TakenDate(file)->Clock, kClock) << order << magic;
  }
}
