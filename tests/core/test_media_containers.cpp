// The date taken from the containers built byte by byte: PNG's eXIf chunk, WebP's EXIF chunk,
// HEIF's Exif item through every iloc layout, and QuickTime/MP4 dates (Apple's creation date key,
// else the movie header), with the damage a box walk meets: sizes of 0 and 1, sizes below the
// header, boxes beyond their parent, cut files, and media data far larger than what is read.
#include <gtest/gtest.h>

#include <string>

#include "media/core/MediaReader.h"
#include "media/core/TakenDate.h"
#include "support/MediaBytes.h"

using namespace testmedia;
using pw::DateOrigin;
using pw::WallClock;

namespace {

constexpr const char* kDate = "2023:05:14 14:22:33";
const WallClock kClock{.Year = 2023, .Month = 5, .Day = 14, .Hour = 14, .Minute = 22, .Second = 33};
const Bytes kTiff = ExifWithOriginal(true, kDate);

Bytes Cut(const Bytes& file, std::size_t size) { return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)); }

// Every shorter file gives no date or the same, and never reads outside what is there.
void ExpectCutsAreSafe(const Bytes& file) {
  const auto full = TakenDate(file);
  for (std::size_t size = 0; size < file.size(); ++size) {
    const auto date = TakenDate(Cut(file, size));
    if (date) {
      EXPECT_EQ(date->Clock, full->Clock) << size;
    }
  }
}

Bytes PngChunk(std::string_view type, const Bytes& data) {
  return Join({Be(data.size(), 4), Text(type), data, Be(0, 4)});  // the CRC is not checked
}
const Bytes kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

Bytes WebpChunk(std::string_view type, const Bytes& data) {
  return Join({Text(type), Le(data.size(), 4), data, Bytes(data.size() % 2, 0)});
}
Bytes Webp(const Bytes& chunks) { return Join({Text("RIFF"), Le(4 + chunks.size(), 4), Text("WEBP"), chunks}); }

// A HEIF file: ftyp, meta (iinf naming item 7 as Exif, iloc), then the Exif item in mdat.
struct IlocLayout {
  int Version = 0;
  int OffsetSize = 4, LengthSize = 4, BaseSize = 0, IndexSize = 0;
  int Method = 0;
};

Bytes Heif(const IlocLayout& layout, std::string_view itemType = "Exif", int infeVersion = 2) {
  const Bytes item = Join({Be(6, 4), Text("Exif"), Bytes(2, 0), kTiff});
  const Bytes infe = FullBox("infe", infeVersion, Join({Be(7, infeVersion == 3 ? 4 : 2), Be(0, 2), Text(itemType)}));
  const Bytes iinf = FullBox("iinf", 0, Join({Be(1, 2), infe}));
  const auto iloc = [&](std::uint64_t itemAt) {
    const int idSize = layout.Version < 2 ? 2 : 4;
    // The base carries what the offset field cannot: all of it when there is none.
    const std::uint64_t base = layout.BaseSize ? itemAt - (layout.OffsetSize ? 1 : 0) : 0;
    const std::uint64_t offset = itemAt - base;
    Bytes payload = Join({{static_cast<std::uint8_t>(layout.OffsetSize << 4 | layout.LengthSize),
                           static_cast<std::uint8_t>(layout.BaseSize << 4 | layout.IndexSize)},
                          Be(2, idSize),
                          // Another item first, with two extents, to be stepped over.
                          Be(1, idSize), layout.Version ? Be(0, 2) : Bytes{}, Be(0, 2), Be(0, layout.BaseSize), Be(2, 2),
                          Bytes(2 * static_cast<std::size_t>(layout.IndexSize + layout.OffsetSize + layout.LengthSize), 0),
                          Be(7, idSize), layout.Version ? Be(static_cast<std::uint64_t>(layout.Method), 2) : Bytes{},
                          Be(0, 2), Be(base, layout.BaseSize), Be(1, 2), Be(0, layout.IndexSize),
                          Be(offset, layout.OffsetSize), Be(layout.LengthSize ? item.size() : 0, layout.LengthSize)});
    return FullBox("iloc", layout.Version, payload);
  };
  const Bytes ftyp = Box("ftyp", Join({Text("heic"), Be(0, 4), Text("mif1heic")}));
  const std::size_t headSize = ftyp.size() + FullBox("meta", 0, Join({iinf, iloc(0)})).size() + 8;
  return Join({ftyp, FullBox("meta", 0, Join({iinf, iloc(headSize)})), Box("mdat", item)});
}

// A movie header with the given creation time (seconds since 1904).
Bytes Mvhd(int version, std::uint64_t created) {
  const Bytes times = version ? Join({Be(created, 8), Be(created, 8), Be(600, 4), Be(0, 8)})
                              : Join({Be(created, 4), Be(created, 4), Be(600, 4), Be(0, 4)});
  return FullBox("mvhd", version, Join({times, Bytes(80, 0)}));
}
constexpr std::uint64_t kChristmas2022 = 3'754'807'200;  // 2022-12-25 10:00:00 UTC, since 1904

// moov/meta with Apple's keys: a first key that is not the date, then the date's key and value.
Bytes AppleMeta(std::string_view created, bool fullBox, std::string_view key = "com.apple.quicktime.creationdate") {
  const Bytes hdlr = FullBox("hdlr", 0, Join({Be(0, 4), Text("mdta"), Bytes(13, 0)}));
  const auto keyEntry = [](std::string_view name) { return Join({Be(8 + name.size(), 4), Text("mdta"), Text(name)}); };
  const Bytes keys = FullBox("keys", 0, Join({Be(2, 4), keyEntry("com.apple.quicktime.make"), keyEntry(key)}));
  // An item's type is the key's index.
  const auto item = [](std::uint32_t index, std::string_view value) {
    const Bytes data = Box("data", Join({Be(1, 4), Be(0, 4), Text(value)}));
    return Join({Be(8 + data.size(), 4), Be(index, 4), data});
  };
  const Bytes ilst = Box("ilst", Join({item(1, "Pathwick"), item(2, created)}));
  const Bytes children = Join({hdlr, keys, ilst});
  return fullBox ? FullBox("meta", 0, children) : Box("meta", children);
}

Bytes Movie(const Bytes& moovChildren, bool dataFirst = true) {
  const Bytes ftyp = Box("ftyp", Join({Text("isom"), Be(0, 4), Text("isommp42")})), mdat = Box("mdat", Bytes(300, 0));
  const Bytes moov = Box("moov", moovChildren);
  return dataFirst ? Join({ftyp, mdat, moov}) : Join({ftyp, moov, mdat});
}

}  // namespace

TEST(PngDate, TheExifChunkBeforeOrAfterTheImageDataButNotAfterTheEnd) {
  const Bytes header = Join({kPngSignature, PngChunk("IHDR", Bytes(13, 0))}), data = PngChunk("IDAT", Bytes(40, 1)),
              end = PngChunk("IEND", {}), exif = PngChunk("eXIf", kTiff);
  EXPECT_EQ(TakenDate(Join({header, exif, data, end}))->Clock, kClock);
  EXPECT_EQ(TakenDate(Join({header, data, exif, end}))->Clock, kClock);
  EXPECT_EQ(TakenDate(Join({header, data, PngChunk("eXIf", Join({Text("Exif"), Bytes(2, 0), kTiff})), end}))->Clock, kClock);
  EXPECT_EQ(TakenDate(Join({header, data, end, exif})), std::nullopt);
  EXPECT_EQ(TakenDate(Join({header, Be(0x8000'0000, 4), Text("tEXt"), exif})), std::nullopt);
  ExpectCutsAreSafe(Join({header, data, exif, end}));
}

TEST(WebpDate, TheExifChunkWithOrWithoutItsNameAndWithinTheRiffSize) {
  const Bytes image = Join({WebpChunk("VP8X", Bytes(10, 0)), WebpChunk("VP8 ", Bytes(31, 2))});  // odd: padded
  EXPECT_EQ(TakenDate(Webp(Join({image, WebpChunk("EXIF", kTiff)})))->Clock, kClock);
  EXPECT_EQ(TakenDate(Webp(Join({image, WebpChunk("EXIF", Join({Text("Exif"), Bytes(2, 0), kTiff}))})))->Clock, kClock);
  // A chunk past the RIFF's own size is not part of the file.
  EXPECT_EQ(TakenDate(Join({Webp(image), WebpChunk("EXIF", kTiff)})), std::nullopt);
  // RIFF holds other formats too.
  Bytes wave = Webp(Join({image, WebpChunk("EXIF", kTiff)}));
  std::copy_n("WAVE", 4, wave.begin() + 8);
  EXPECT_EQ(pw::MediaKindOf(wave), pw::MediaKind::Unknown);
  EXPECT_EQ(TakenDate(wave), std::nullopt);
  ExpectCutsAreSafe(Webp(Join({image, WebpChunk("EXIF", kTiff)})));
}

TEST(HeifDate, TheExifItemThroughEveryItemLocationLayout) {
  const IlocLayout layouts[] = {
      {.Version = 0, .OffsetSize = 4, .LengthSize = 4, .BaseSize = 0, .IndexSize = 0, .Method = 0},
      {.Version = 0, .OffsetSize = 0, .LengthSize = 8, .BaseSize = 4, .IndexSize = 0, .Method = 0},
      {.Version = 1, .OffsetSize = 8, .LengthSize = 4, .BaseSize = 8, .IndexSize = 4, .Method = 0},
      {.Version = 1, .OffsetSize = 4, .LengthSize = 0, .BaseSize = 0, .IndexSize = 0, .Method = 0},  // to the end
      {.Version = 2, .OffsetSize = 4, .LengthSize = 4, .BaseSize = 4, .IndexSize = 8, .Method = 0},
  };
  for (const IlocLayout& layout : layouts) {
    SCOPED_TRACE(::testing::Message() << "iloc v" << layout.Version << " " << layout.OffsetSize << layout.LengthSize
                                      << layout.BaseSize << layout.IndexSize);
    const Bytes file = Heif(layout, "Exif", layout.Version == 2 ? 3 : 2);
    EXPECT_EQ(pw::MediaKindOf(file), pw::MediaKind::IsoMedia);
    const auto date = TakenDate(file);
    ASSERT_TRUE(date);
    EXPECT_EQ(date->Clock, kClock);
    EXPECT_EQ(date->Origin, DateOrigin::ExifOriginal);
  }
  const IlocLayout plain;
  EXPECT_TRUE(TakenDate(Heif(plain)));
  EXPECT_EQ(TakenDate(Heif(plain, "hvc1")), std::nullopt);     // no Exif item
  EXPECT_EQ(TakenDate(Heif(plain, "Exif", 1)), std::nullopt);  // an item entry without a type
  EXPECT_EQ(TakenDate(Heif({.Version = 1, .OffsetSize = 4, .LengthSize = 4, .BaseSize = 0, .IndexSize = 0, .Method = 1})),
            std::nullopt);  // in the idat box: not followed
  EXPECT_EQ(TakenDate(Heif({.Version = 1, .OffsetSize = 2, .LengthSize = 4, .BaseSize = 0, .IndexSize = 0, .Method = 0})),
            std::nullopt);  // a field size iloc does not have
  ExpectCutsAreSafe(Heif(plain));

  // An iloc that claims four billion items and holds none.
  const Bytes iinf = FullBox("iinf", 0, Join({Be(1, 2), FullBox("infe", 2, Join({Be(7, 2), Be(0, 2), Text("Exif")}))}));
  EXPECT_EQ(TakenDate(Join({Box("ftyp", Text("heicmif1")),
                            FullBox("meta", 0, Join({iinf, FullBox("iloc", 2, Join({{0x44, 0x00}, Be(0xFFFF'FFFF, 4)}))}))})),
            std::nullopt);
}

TEST(MovieDate, ApplesCreationDateKeyFirstThenTheMovieHeader) {
  // The key, in QuickTime's plain meta and MP4's full one, with its own offset.
  for (const bool fullMeta : {false, true}) {
    const auto date = TakenDate(Movie(Join({Mvhd(0, kChristmas2022), AppleMeta("2023-05-14T14:22:33+0200", fullMeta)})));
    ASSERT_TRUE(date);
    EXPECT_EQ(date->Origin, DateOrigin::QuickTimeKey);
    EXPECT_EQ(date->Clock, kClock);
    EXPECT_EQ(date->UtcOffset, 120);
    EXPECT_EQ(pw::OriginText(*date), L"QuickTime, +02:00");
  }
  const auto utc = TakenDate(Movie(Join({AppleMeta("2021-06-01T12:00:00.5Z", true)})));
  EXPECT_EQ(pw::PlaceDate(*utc, {}).Instant, FromUnix(1622548800, 5'000'000));
  const auto local = TakenDate(Movie(Join({AppleMeta("2023-05-14T14:22:33", true)})));
  EXPECT_EQ(local->UtcOffset, std::nullopt);

  // No key, another key, a value that is no date: the movie header, in UTC, version 0 or 1.
  for (const Bytes& meta : {Bytes{}, AppleMeta("2023-05-14T14:22:33+0200", false, "com.apple.quicktime.location.ISO6709"),
                            AppleMeta("yesterday", true)}) {
    for (const int version : {0, 1}) {
      const auto date = TakenDate(Movie(Join({meta, Mvhd(version, kChristmas2022)}), version == 0));
      ASSERT_TRUE(date);
      EXPECT_EQ(date->Origin, DateOrigin::MovieHeader);
      EXPECT_EQ(pw::PlaceDate(*date, {}).Instant, FromUnix(1671962400));
      EXPECT_EQ(pw::OriginText(*date), L"QuickTime");
    }
  }
  // An unset time, one before 1970 (a writer counting from 1970 by mistake), 1970-01-01 00:00:00
  // itself (a camera whose clock was never set), one past what file times hold.
  for (const std::uint64_t none : {0ull, 2'082'844'799ull, 2'082'844'800ull, 0xFFFF'FFFF'FFFF'FFFFull})
    EXPECT_EQ(TakenDate(Movie(Mvhd(none > 0xFFFF'FFFF ? 1 : 0, none))), std::nullopt) << none;
  EXPECT_EQ(TakenDate(Movie(Mvhd(0, 2'082'844'801)))->Clock, (WallClock{1970, 1, 1, 0, 0, 1}));
  ExpectCutsAreSafe(Movie(Join({Mvhd(0, kChristmas2022), AppleMeta("2023-05-14T14:22:33+0200", false)}), false));
}

TEST(MovieDate, BoxSizesOfZeroOneAndNonsense) {
  const Bytes moov = Box("moov", Mvhd(0, kChristmas2022));
  const Bytes bigMdat = Join({Be(1, 4), Text("mdat"), Be(16 + 100, 8), Bytes(100, 0)});
  const Bytes lastToEnd = Join({Be(0, 4), Text("moov"), Mvhd(1, kChristmas2022)});
  // Old QuickTime: no ftyp, padding first; a 64-bit size; a last box that runs to the end.
  EXPECT_TRUE(TakenDate(Join({Box("wide", {}), bigMdat, moov})));
  EXPECT_TRUE(TakenDate(Join({Box("free", Bytes(4, 0)), bigMdat, lastToEnd})));
  EXPECT_TRUE(TakenDate(Join({Box("skip", {}), Box("mdat", Bytes(10, 0)), moov})));
  // A size smaller than its header, a 64-bit size smaller than its own header, a box past the file.
  EXPECT_EQ(TakenDate(Join({Box("ftyp", Text("isom")), Be(4, 4), Text("mdat"), moov})), std::nullopt);
  EXPECT_EQ(TakenDate(Join({Box("ftyp", Text("isom")), Be(1, 4), Text("mdat"), Be(12, 8), moov})), std::nullopt);
  EXPECT_EQ(TakenDate(Join({Box("ftyp", Text("isom")), Be(1'000'000, 4), Text("mdat"), moov})), std::nullopt);
  // A child that reaches past its parent.
  Bytes bulging = Join({Box("ftyp", Text("isom")), Box("moov", Mvhd(0, kChristmas2022))});
  bulging[bulging.size() - Mvhd(0, 0).size() + 3] += 1;
  EXPECT_EQ(TakenDate(bulging), std::nullopt);
  // A meta box too short to hold anything.
  EXPECT_TRUE(TakenDate(Movie(Join({Box("meta", {}), Mvhd(0, kChristmas2022)}))));
}

TEST(MovieDate, TheMediaDataIsSteppedOverNeverRead) {
  // 6 GB of media data before the movie: a 64-bit size, then moov.
  constexpr std::uint64_t kMediaBytes = 6'000'000'000;
  const Bytes ftyp = Box("ftyp", Join({Text("qt  "), Be(0, 4), Text("qt  ")}));
  const Bytes moov = Box("moov", Join({Mvhd(0, kChristmas2022), AppleMeta("2023-05-14T14:22:33+0200", false)}));
  SparseSource movie(ftyp.size() + kMediaBytes + moov.size());
  movie.Place(0, Join({ftyp, Be(1, 4), Text("mdat"), Be(kMediaBytes, 8)}));
  movie.Place(ftyp.size() + kMediaBytes, moov);
  const auto date = pw::ReadTakenDate(movie);
  ASSERT_TRUE(date);
  EXPECT_EQ(date->Origin, DateOrigin::QuickTimeKey);
  EXPECT_LT(movie.BytesRead(), pw::MediaReader::kHeadBytes + 4096);
}

TEST(TakenDate, TheKindIsToldByTheFirstBytesNotTheName) {
  EXPECT_EQ(pw::MediaKindOf(JpegWithExif(kTiff)), pw::MediaKind::Jpeg);
  EXPECT_EQ(pw::MediaKindOf(kTiff), pw::MediaKind::Tiff);
  EXPECT_EQ(pw::MediaKindOf(Join({kPngSignature, PngChunk("IEND", {})})), pw::MediaKind::Png);
  EXPECT_EQ(pw::MediaKindOf(Webp({})), pw::MediaKind::Webp);
  EXPECT_EQ(pw::MediaKindOf(Movie({})), pw::MediaKind::IsoMedia);
  EXPECT_EQ(pw::MediaKindOf(Box("moov", {})), pw::MediaKind::IsoMedia);
  EXPECT_EQ(pw::MediaKindOf(Text("plain text, 2023:05:14 14:22:33")), pw::MediaKind::Unknown);
  EXPECT_EQ(TakenDate(Text("plain text, 2023:05:14 14:22:33")), std::nullopt);
  EXPECT_EQ(TakenDate({}), std::nullopt);
  EXPECT_EQ(TakenDate({0xFF}), std::nullopt);
  EXPECT_EQ(TakenDate({0xFF, 0xD8, 0xFF}), std::nullopt);
}
