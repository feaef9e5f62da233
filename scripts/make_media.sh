#!/usr/bin/env bash
# Makes the media the date readers are tested and fuzzed with, in the folder given: small photos
# made by ImageMagick with dates written by exiftool, a HEIC made by heif-enc from one of them, tiny
# movies written byte by byte, a damaged JPEG, and hand-built inputs for the fuzz targets. A folder
# made by this same script is left as it is, so running it again costs nothing.
set -euo pipefail
out=${1:?usage: make_media.sh <folder>}
version=$(cksum < "${BASH_SOURCE[0]}")
if [ -f "$out/complete" ] && [ "$(cat "$out/complete")" = "$version" ]; then
  exit 0
fi
for tool in convert exiftool heif-enc python3; do
  command -v "$tool" >/dev/null || { echo "make_media.sh: $tool is missing" >&2; exit 1; }
done

# Made aside and moved in whole, so that a run cut short leaves no half folder behind.
work="$out.part"
rm -rf "$work"
mkdir -p "$work/handmade"
cd "$work"

# A 16x16 picture with no metadata of its own, then the given tags written into it.
photo() {
  local file=$1
  shift
  convert -size 16x16 xc:orange -strip "$file"
  exiftool -q -q -overwrite_original "$@" "$file"
}

photo offset.jpg -DateTimeOriginal='2023:05:14 14:22:33' -SubSecTimeOriginal=457 -OffsetTimeOriginal=+02:00 \
      -ExifIFD:CreateDate='2022:01:01 00:00:00' -ModifyDate='2020:01:01 00:00:00'
photo plain.jpg -DateTimeOriginal='2021:03:28 02:30:00' -ModifyDate='2020:01:01 00:00:00'
photo digitized.jpg -ExifIFD:CreateDate='2019:12:31 23:59:59' -SubSecTimeDigitized=1234567 \
      -OffsetTimeDigitized=-05:30
photo modify_only.jpg -ModifyDate='2020:01:01 00:00:00'
photo exif.png -DateTimeOriginal='2022:02:28 08:09:10' -SubSecTimeOriginal=4 -OffsetTimeOriginal=+01:00
photo exif.webp -DateTimeOriginal='2020:07:04 18:30:00' -OffsetTimeOriginal=-04:00
photo intel.tif -DateTimeOriginal='2018:11:11 11:11:11' -SubSecTimeOriginal=50
convert -size 16x16 xc:orange -strip -define tiff:endian=msb motorola.tif
exiftool -q -q -overwrite_original -DateTimeOriginal='2018:11:11 11:11:11' -SubSecTimeOriginal=50 motorola.tif

# heif-enc carries the JPEG's EXIF over into an Exif item; exiftool reading it back proves it did.
photo for_heic.jpg -DateTimeOriginal='2023:08:01 06:07:08' -SubSecTimeOriginal=9 -OffsetTimeOriginal=+09:00
heif-enc -q 50 -o photo.heic for_heic.jpg >/dev/null
rm for_heic.jpg
if [ "$(exiftool -s3 -DateTimeOriginal photo.heic)" != '2023:08:01 06:07:08' ]; then
  echo "make_media.sh: heif-enc left the EXIF out of photo.heic" >&2
  exit 1
fi

# XMP only, inside a photo and beside one: what converters and photo managers write.
photo xmp_only.jpg -xmp:DateTimeOriginal='2023:05:14 14:22:33+02:00'
photo xmp_only.png -xmp:DateTimeOriginal='2022:02:28 08:09:10'
exiftool -q -q -xmp:DateTimeOriginal='2021:06:01 12:00:00+01:00' -o sidecar.xmp
# A trip with two cameras whose clocks were off by different amounts (make, model and serial tell
# them apart).
photo cam_a1.jpg -Make=Canon -Model='EOS R5' -SerialNumber=012345 -DateTimeOriginal='2023:05:14 10:00:00'
photo cam_a2.jpg -Make=Canon -Model='EOS R5' -SerialNumber=012345 -DateTimeOriginal='2023:05:14 11:30:00'
photo cam_b1.jpg -Make=NIKON -Model='Z 6' -DateTimeOriginal='2023:05:14 09:00:30'

python3 - <<'PY'
import struct, datetime, json

def box(kind, *payload):
    body = b"".join(payload)
    return struct.pack(">I", 8 + len(body)) + kind + body

def full(version, flags=0):
    return struct.pack(">I", version << 24 | flags)

def since_1904(*fields):
    return int((datetime.datetime(*fields) - datetime.datetime(1904, 1, 1)).total_seconds())

def mvhd(version, created):
    times = struct.pack(">QQIQ", created, created, 600, 0) if version else struct.pack(">IIII", created, created, 600, 0)
    rest = struct.pack(">IH", 0x10000, 0x100) + bytes(10) + bytes(36) + bytes(24) + struct.pack(">I", 2)
    return box(b"mvhd", full(version), times, rest)

def apple_meta(created, full_box):
    keys = [b"com.apple.quicktime.make", b"com.apple.quicktime.creationdate"]
    values = [b"Pathwick", created]
    hdlr = box(b"hdlr", full(0), bytes(4), b"mdta", bytes(12), b"\0")
    keys_box = box(b"keys", full(0), struct.pack(">I", len(keys)),
                   *[struct.pack(">I", 8 + len(k)) + b"mdta" + k for k in keys])
    items = [box(struct.pack(">I", i + 1), box(b"data", struct.pack(">II", 1, 0), v)) for i, v in enumerate(values)]
    return box(b"meta", full(0) if full_box else b"", hdlr, keys_box, box(b"ilst", *items))

media = box(b"mdat", bytes(2000))
created = since_1904(2022, 12, 25, 10, 0, 0)
# Old QuickTime: no ftyp, padding and the media data before the movie, meta without version.
open("key.mov", "wb").write(box(b"wide") + media +
                            box(b"moov", mvhd(0, created), apple_meta(b"2023-05-14T14:22:33+0200", False)))
open("key.mp4", "wb").write(box(b"ftyp", b"isom", bytes(4), b"isommp42") +
                            box(b"moov", mvhd(0, created), apple_meta(b"2021-06-01T12:00:00.5Z", True)) + media)
open("header.mp4", "wb").write(box(b"ftyp", b"mp42", bytes(4), b"mp42isom") + media +
                               box(b"moov", mvhd(1, created)))
open("pre1970.3gp", "wb").write(box(b"ftyp", b"3gp4", bytes(4), b"3gp4") +
                                box(b"moov", mvhd(0, since_1904(1969, 12, 31, 23, 59, 59))) + media)

# A JPEG cut off in the middle of its DateTimeOriginal.
plain = open("plain.jpg", "rb").read()
open("damaged.jpg", "wb").write(plain[:plain.index(b"2021:03:28 02:30:00") + 10])

# Hand-built inputs for the fuzz targets: shapes the tools above do not write.
def tiff(order, magic=42):
    u16, u32 = (">H", ">I") if order == b"MM" else ("<H", "<I")
    date = b"2020:02:29 23:59:59\0"
    def entry(tag, kind, count, value):
        return struct.pack(u16, tag) + struct.pack(u16, kind) + struct.pack(u32, count) + value
    ifd0 = struct.pack(u16, 1) + entry(0x8769, 4, 1, struct.pack(u32, 26)) + bytes(4)
    exif = (struct.pack(u16, 3) + entry(0x9003, 2, 20, struct.pack(u32, 68)) +
            entry(0x9291, 2, 3, b"12\0\0") + entry(0x9011, 2, 7, struct.pack(u32, 88)) + bytes(4))
    return order + struct.pack(u16, magic) + struct.pack(u32, 8) + ifd0 + exif + date + b"-03:00\0"

open("handmade/little.tif", "wb").write(tiff(b"II"))
open("handmade/big.tif", "wb").write(tiff(b"MM"))
open("handmade/olympus.orf", "wb").write(tiff(b"II", 0x4F52))
open("handmade/panasonic.rw2", "wb").write(tiff(b"II", 0x55))
def chunk(kind, data):
    import zlib
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
open("handmade/late_exif.png", "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", bytes(13)) + chunk(b"IDAT", bytes(9)) +
                                           chunk(b"eXIf", tiff(b"MM")) + chunk(b"IEND", b""))
payload = b"Exif\0\0" + tiff(b"II")
riff = (b"WEBP" + b"VP8X" + struct.pack("<I", 10) + bytes(10) + b"EXIF" + struct.pack("<I", len(payload)) + payload +
        bytes(len(payload) % 2))
open("handmade/prefixed.webp", "wb").write(b"RIFF" + struct.pack("<I", len(riff)) + riff)
# HEIF with an iloc of version 1, 8-byte offsets and a base offset.
exif_item = struct.pack(">I", 0) + tiff(b"MM")
infe = box(b"infe", full(2), struct.pack(">HH", 7, 0), b"Exif")
def heif(data_at):
    iloc = box(b"iloc", full(1), bytes([0x88, 0x40]), struct.pack(">HHHHIHQQ", 1, 7, 0, 0, data_at - 16, 1, 16, len(exif_item)))
    return box(b"ftyp", b"heic", bytes(4), b"mif1heic") + box(b"meta", full(0), box(b"iinf", full(0), struct.pack(">H", 1), infe), iloc)
head = heif(16)
open("handmade/iloc_v1.heic", "wb").write(heif(len(head) + 8) + box(b"mdat", exif_item))
# 64-bit sizes and a last box that runs to the end of the file.
large_mdat = struct.pack(">I", 1) + b"mdat" + struct.pack(">Q", 16 + 100) + bytes(100)
open("handmade/sizes.mov", "wb").write(box(b"ftyp", b"qt  ", bytes(4), b"qt  ") + large_mdat +
                                       struct.pack(">I", 0) + b"moov" + mvhd(1, created))
# A photo export's JSON, its timestamps as text and as numbers.
json.dump({"title": "IMG_1234.jpg", "photoTakenTime": {"timestamp": "1684066953", "formatted": "May 14, 2023"},
           "creationTime": {"timestamp": "1700000000"}, "geoData": {"latitude": 0.0}}, open("handmade/taken.json", "w"))
json.dump({"creationTime": {"timestamp": 1700000000}, "people": [{"name": "a"}]}, open("handmade/created.json", "w"))
for i, name in enumerate(["IMG_20230514_142233.jpg", "PXL_20230514_142233123.MP.jpg", "2023-05-14 14.22.33 (1).png",
                          "Screenshot_2023-05-14-14-22-33.png", "IMG-20230514-WA0001.jpg", "2023-05-14_14-22-33~2.jpg",
                          "DSC_0001.JPG", "120230514_142233.jpg"]):
    open("handmade/name%d.txt" % i, "w").write(name)
PY
# A movie whose header holds no usable date (before 1970), with XMP in its uuid box.
cp pre1970.3gp xmp_only.3gp
exiftool -q -q -overwrite_original -xmp:DateTimeOriginal='2020:07:04 18:30:00-04:00' xmp_only.3gp

echo "$version" > complete
cd - >/dev/null
rm -rf "$out"
mv "$work" "$out"
