// Dates beside a photo and XMP inside it: the export's JSON and XMP read from bytes, the names an
// export gives its JSON matched rule by rule, and "A sidecar file" worked out on a folder laid out
// like a real export.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "media/core/Sidecar.h"
#include "support/FakeEditFs.h"
#include "support/MediaBytes.h"
#include "timetools/core/ContentTimes.h"
#include "timetools/core/Sidecars.h"

using testmedia::Bytes;
using testmedia::Text;

namespace {

std::optional<std::uint64_t> InstantOf(const std::optional<pw::FoundDate>& date) {
  if (!date) return std::nullopt;
  pw::ReadingZone zone;
  zone.FixedOffsetMinutes = 60;  // a date without an offset is read at +01:00
  return pw::PlaceDate(*date, zone).Instant;
}

struct ReadCase {
  const char* Content;
  std::optional<std::int64_t> Unix;  // the instant read, in seconds since 1970
  const wchar_t* Note = L"";
};

void CheckRows(const std::vector<ReadCase>& rows, std::optional<pw::FoundDate> (*read)(std::span<const std::uint8_t>)) {
  for (const ReadCase& row : rows) {
    const Bytes bytes = Text(row.Content);
    const std::optional<pw::FoundDate> date = read(bytes);
    EXPECT_EQ(InstantOf(date), row.Unix ? std::optional(testmedia::FromUnix(*row.Unix)) : std::nullopt) << row.Content;
    if (date) {
      EXPECT_EQ(pw::DateNote(*date), row.Note) << row.Content;
    }
  }
}

}  // namespace

TEST(Sidecars, TheExportJsonGivesTheTimeTakenElseTheTimeCreatedInUtc) {
  CheckRows({
                {R"({"title":"a.jpg","photoTakenTime":{"timestamp":"1684066953","formatted":"x"},
                     "creationTime":{"timestamp":"1700000000"}})", 1684066953, L"JSON (UTC)"},
                {R"({"creationTime":{"timestamp":1700000000},"photoTakenTime":{"timestamp":"0"}})", 1700000000,
                 L"JSON creation time (UTC)"},
                // Only the top level's timestamps count, not one of a nested or listed object.
                {R"({"people":[{"photoTakenTime":{"timestamp":"1"}}],"x":{"photoTakenTime":{"timestamp":"2"}}})", {}},
                {R"({"photoTakenTime":{"timestamp":"-5"}})", {}},
                {R"({"photoTakenTime":{"timestamp":"99999999999999999999"}})", {}},
                {R"({"photoTakenTime":{"timestamp":"1684066953"})", {}},  // cut short
                {R"([[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]])",
                 {}},
                {"", {}},
            },
            pw::ReadExportJson);
  // Nesting a million deep costs no stack.
  const std::string deep = std::string(500'000, '[') + std::string(500'000, ']');
  EXPECT_EQ(pw::ReadExportJson(Text(deep)), std::nullopt);
}

TEST(Sidecars, XmpGivesTheFirstOfItsDatesAndExpandsNothing) {
  CheckRows({
                {R"(<rdf:Description exif:DateTimeOriginal="2023-05-14T14:22:33+02:00" xmp:CreateDate="2000-01-01T00:00:00"/>)",
                 1684066953, L"XMP, +02:00 (exact)"},
                {"<x><xmp:CreateDate>2000-01-01T00:00:00</xmp:CreateDate>\n<photoshop:DateCreated>\n"
                 "2023-05-14T13:22:33</photoshop:DateCreated></x>",
                 1684066953, L"XMP (zone picked)"},
                {R"(<a xap:CreateDate='2023:05:14 13:22:33'/>)", 1684066953, L"XMP (zone picked)"},
                // Another property whose name ends alike, a date without seconds, a reference.
                {R"(<a myexif:DateTimeOriginal="2023-05-14T14:22:33Z" exif:DateTimeOriginalX="2023-05-14T14:22:33Z"/>)", {}},
                {R"(<a exif:DateTimeOriginal="2023-05-14T14:22"/>)", {}},
                {"<!DOCTYPE x [<!ENTITY d \"2023-05-14T14:22:33Z\">]><a exif:DateTimeOriginal=\"&d;\"/>", {}},
                {"<exif:DateTimeOriginal><rdf:Seq/></exif:DateTimeOriginal>", {}},
                {"<exif:DateTimeOriginal exif:DateTimeOriginal=", {}},
            },
            pw::ReadXmpDate);
}

TEST(Sidecars, XmpInsideAFileIsTheLastResortOfTheDateTaken) {
  const std::string xmp = R"(<x:xmpmeta><rdf:Description exif:DateTimeOriginal="2023-05-14T14:22:33+02:00"/></x:xmpmeta>)";
  const Bytes jpeg = testmedia::Join({{0xFF, 0xD8, 0xFF, 0xE1}, testmedia::Be(2 + 29 + xmp.size(), 2),
                                      Text(std::string("http://ns.adobe.com/xap/1.0/\0", 29) + xmp), {0xFF, 0xD9}});
  const Bytes itxt = Text(std::string("XML:com.adobe.xmp\0\0\0\0\0", 22) + xmp);
  const Bytes png = testmedia::Join({{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, testmedia::Be(itxt.size(), 4),
                                     Text("iTXt"), itxt, testmedia::Be(0, 4), testmedia::Be(0, 4), Text("IEND"),
                                     testmedia::Be(0, 4)});
  const Bytes uuid = Text("\xBE\x7A\xCF\xCB\x97\xA9\x42\xE8\x9C\x71\x99\x94\x91\xE3\xAF\xAC");
  const Bytes ftyp = testmedia::Box("ftyp", Text("isom\0\0\0\0"));
  const Bytes mp4 = testmedia::Join({ftyp, testmedia::Box("uuid", testmedia::Join({uuid, Text(xmp)}))});
  const Bytes mov = testmedia::Join({ftyp, testmedia::Box("moov", testmedia::Box("udta", testmedia::Box("XMP_", Text(xmp))))});
  const Bytes* files[] = {&jpeg, &png, &mp4, &mov};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    const std::optional<pw::FoundDate> date = testmedia::TakenDate(*files[i]);
    EXPECT_EQ(InstantOf(date), testmedia::FromUnix(1684066953)) << i;
    EXPECT_TRUE(date && date->Origin == pw::DateOrigin::Xmp) << i;
  }
  // EXIF comes first.
  const Bytes both = testmedia::Join({testmedia::JpegWithExif(testmedia::ExifWithOriginal(false, "2020:01:01 00:00:00")),
                                      Bytes(jpeg.begin() + 2, jpeg.end())});
  EXPECT_EQ(testmedia::TakenDate(both)->Origin, pw::DateOrigin::ExifOriginal);
}

TEST(Sidecars, TheExportsNamesAreMatchedRuleByRule) {
  const std::wstring longName = L"A_photo_with_a_name_much_longer_than_usual_0001.jpg";  // 51 characters
  const std::wstring twin = L"A_photo_with_a_name_much_longer_than_usual_0002.jpg";
  struct Case {
    std::vector<std::wstring> Folder;
    std::wstring Photo;
    std::vector<pw::SidecarFound> Expected;
  };
  const auto json = [](std::wstring name, std::vector<std::wstring> claimants = {}) {
    return pw::SidecarFound{pw::SidecarKind::ExportJson, std::move(name), std::move(claimants)};
  };
  const auto xmp = [](std::wstring name, std::vector<std::wstring> claimants = {}) {
    return pw::SidecarFound{pw::SidecarKind::Xmp, std::move(name), std::move(claimants)};
  };
  const std::vector<Case> cases = {
      {{L"IMG_1.jpg", L"IMG_1.jpg.json"}, L"IMG_1.jpg", {json(L"IMG_1.jpg.json")}},
      {{L"IMG_1.jpg", L"img_1.JPG.supplemental-metadata.json", L"IMG_1.jpg.json"},
       L"IMG_1.jpg",
       {json(L"img_1.JPG.supplemental-metadata.json")}},
      // Cut to 46 characters with ".json": the supplemental name, then the photo's own.
      {{L"PXL_20230514_142233123.NIGHT.jpg", L"PXL_20230514_142233123.NIGHT.jpg.supplemental-.json"},
       L"PXL_20230514_142233123.NIGHT.jpg",
       {json(L"PXL_20230514_142233123.NIGHT.jpg.supplemental-.json")}},
      {{longName, L"A_photo_with_a_name_much_longer_than_usual_000.json"}, longName,
       {json(L"A_photo_with_a_name_much_longer_than_usual_000.json")}},
      // A copy's counter after the extension; an edited version shares the original's.
      {{L"IMG_1(1).jpg", L"IMG_1.jpg(1).json", L"IMG_1.jpg.json"}, L"IMG_1(1).jpg", {json(L"IMG_1.jpg(1).json")}},
      {{L"IMG_1.jpg", L"IMG_1-edited.jpg", L"IMG_1.jpg.supplemental-metadata(2).json"}, L"IMG_1(2).jpg",
       {json(L"IMG_1.jpg.supplemental-metadata(2).json")}},
      {{L"IMG_1.jpg", L"IMG_1-edited.jpg", L"IMG_1.jpg.json"}, L"IMG_1-edited.jpg", {json(L"IMG_1.jpg.json")}},
      // XMP after the JSON: photo.ext.xmp, else photo.xmp.
      {{L"a.cr2", L"a.cr2.json", L"a.xmp"}, L"a.cr2", {json(L"a.cr2.json"), xmp(L"a.xmp")}},
      {{L"a.cr2", L"a.xmp", L"a.cr2.xmp"}, L"a.cr2", {xmp(L"a.cr2.xmp")}},
      // Claimed by two: named, used for neither.
      {{longName, twin, L"A_photo_with_a_name_much_longer_than_usual_000.json"}, twin,
       {json(L"A_photo_with_a_name_much_longer_than_usual_000.json", {longName, twin})}},
      {{L"a.cr2", L"a.jpg", L"a.xmp"}, L"a.jpg", {xmp(L"a.xmp", {L"a.cr2", L"a.jpg"})}},
      {{L"IMG_1.jpg", L"IMG_1.jpg(1).json"}, L"IMG_1.jpg", {}},
      {{L"IMG_1.jpg.json"}, L"IMG_1.jpg.json", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(pw::FolderSidecars(c.Folder).For(c.Photo), c.Expected) << c.Photo;
}

TEST(Sidecars, AnExportedFolderGetsItsDatesFromTheFilesBesideIt) {
  testutil::FakeFs fs;
  const std::wstring longName = L"A_photo_with_a_name_much_longer_than_usual_0001.jpg";
  const std::wstring twin = L"A_photo_with_a_name_much_longer_than_usual_0002.jpg";
  fs.Contents = {
      {L"e\\IMG_1.jpg.supplemental-metadata.json", Text(R"({"photoTakenTime":{"timestamp":"1684066953"}})")},
      {L"e\\IMG_1(1).jpg", {}},
      {L"e\\IMG_1.jpg(1).json", Text(R"({"creationTime":{"timestamp":"1684066954"}})")},
      {L"e\\IMG_1-edited.jpg", {}},
      {L"e\\IMG_1.jpg", {}},
      {L"e\\raw.xmp", Text(R"(<a exif:DateTimeOriginal="2023-05-14T13:22:35"/>)")},
      {L"e\\raw.dng", {}},
      {L"e\\broken.jpg", {}},
      {L"e\\broken.jpg.json", Text("{")},
      {L"e\\metadata.json", Text("{}")},
      {L"e\\" + longName, {}},
      {L"e\\" + twin, {}},
      {L"e\\A_photo_with_a_name_much_longer_than_usual_000.json", Text(R"({"photoTakenTime":{"timestamp":"1"}})")},
  };
  std::vector<pw::BatchEntry> entries;
  fs.Disks[L"e"] = {0x10, 1, 1, 1};
  for (const auto& [path, bytes] : fs.Contents) {
    fs.Disks[path] = {0x20, 1, 1, 1};
    entries.push_back({path});
  }
  pw::ContentRule rule;
  rule.Source = pw::ContentSource::Sidecar;
  rule.Zone.FixedOffsetMinutes = 60;
  std::map<std::wstring, std::pair<std::optional<std::uint64_t>, std::wstring>> got;
  const std::vector<pw::ContentPlan> plans = *pw::PlanContentTimes(entries, rule, fs, {});
  for (const pw::ContentPlan& plan : plans)
    got[plan.Entry.Path] = {plan.Entry.Planned ? std::optional(plan.Entry.Planned->LastWrite) : std::nullopt, plan.Note};
  const auto at = [](std::int64_t unix) { return std::optional(testmedia::FromUnix(unix)); };
  const std::wstring refused = L"A_photo_with_a_name_much_longer_than_usual_000.json could be the sidecar of " +
                               longName + L", " + twin + L": not used";
  EXPECT_EQ(got, (decltype(got){
                     {L"e\\IMG_1.jpg", {at(1684066953), L"sidecar: IMG_1.jpg.supplemental-metadata.json (UTC)"}},
                     {L"e\\IMG_1-edited.jpg", {at(1684066953), L"sidecar: IMG_1.jpg.supplemental-metadata.json (UTC)"}},
                     {L"e\\IMG_1(1).jpg", {at(1684066954), L"sidecar: IMG_1.jpg(1).json, creation time (UTC)"}},
                     {L"e\\raw.dng", {at(1684066955), L"sidecar: raw.xmp (zone picked)"}},
                     {L"e\\broken.jpg", {std::nullopt, L"no date in broken.jpg.json"}},
                     {L"e\\" + longName, {std::nullopt, refused}},
                     {L"e\\" + twin, {std::nullopt, refused}},
                     {L"e\\IMG_1.jpg.supplemental-metadata.json", {std::nullopt, L"the sidecar of IMG_1.jpg, IMG_1-edited.jpg"}},
                     {L"e\\IMG_1.jpg(1).json", {std::nullopt, L"the sidecar of IMG_1(1).jpg"}},
                     {L"e\\raw.xmp", {std::nullopt, L"the sidecar of raw.dng"}},
                     {L"e\\broken.jpg.json", {std::nullopt, L"the sidecar of broken.jpg"}},
                     {L"e\\metadata.json", {std::nullopt, L"a sidecar of no file here"}},
                     {L"e\\A_photo_with_a_name_much_longer_than_usual_000.json",
                      {std::nullopt, L"the sidecar of " + longName + L", " + twin}},
                 }));
}

TEST(ClockRight, EachCamerasPhotosMoveByTheDifferenceOfItsReference) {
  testutil::FakeFs fs;
  const auto photo = [](const char* make, const char* model, const char* date) {
    std::vector<testmedia::TiffEntry> first;
    if (*make) first = {testmedia::TextTag(0x010F, make), testmedia::TextTag(0x0110, model)};
    return testmedia::JpegWithExif(testmedia::Tiff(false, first, {testmedia::TextTag(0x9003, date)}));
  };
  fs.Contents = {{L"a1.jpg", photo("Canon", "EOS R5", "2023:05:14 10:00:00")},
                 {L"a2.jpg", photo("Canon", "EOS R5", "2023:05:14 11:30:00")},
                 {L"b1.jpg", photo("NIKON", "Z 6", "2023:05:13 20:00:00")},
                 {L"b2.jpg", photo("NIKON", "Z 6", "2023:05:14 09:00:00")},
                 {L"n.jpg", photo("", "", "2023:05:14 08:00:00")},
                 {L"x.txt", Text("none")}};
  std::vector<pw::BatchEntry> entries;
  for (const auto& [path, bytes] : fs.Contents) {
    fs.Disks[path] = {0x20, 1, 1, 1};
    entries.push_back({path});
  }
  pw::ClockRule rule;
  rule.Zone.FixedOffsetMinutes = 0;
  const auto run = [&](std::size_t reference, std::int64_t real) {
    rule.Reference = reference;
    rule.RealInstant = testmedia::FromUnix(real);
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    const std::vector<pw::ContentPlan> plans = *pw::PlanClockRight(entries, rule, fs, {});
    for (const pw::ContentPlan& plan : plans)
      rows.push_back({plan.Entry.Path, plan.Entry.Planned ? std::to_wstring(plan.Entry.Planned->LastWrite) : L"-"});
    return rows;
  };
  const auto at = [](std::int64_t unix) { return std::to_wstring(testmedia::FromUnix(unix)); };
  // a1 was really taken at 12:00 UTC: the Canon ran two hours slow; the Nikon is left alone.
  EXPECT_EQ(run(0, 1684065600), (std::vector<std::pair<std::wstring, std::wstring>>{
                                    {L"n.jpg", L"-"}, {L"x.txt", L"-"}, {L"a1.jpg", at(1684065600)},
                                    {L"a2.jpg", at(1684071000)}, {L"b1.jpg", L"-"}, {L"b2.jpg", L"-"}}));
  // b2 at 07:59:30: the Nikon ran an hour and thirty seconds fast.
  EXPECT_EQ(run(3, 1684051170)[4], (std::pair<std::wstring, std::wstring>{L"b1.jpg", at(1684004370)}));
  const auto plans = *pw::PlanClockRight(entries, rule, fs, {});
  EXPECT_EQ(plans[4].Note, L"NIKON Z 6: -01:00:30 on EXIF (zone picked)");
  EXPECT_EQ(plans[2].Note, L"another camera: Canon EOS R5");
  EXPECT_EQ(plans[0].Note, L"no camera named: not the reference's");
  // A reference naming no camera moves every entry with a date taken.
  EXPECT_EQ(run(4, 1684051260)[2], (std::pair<std::wstring, std::wstring>{L"a1.jpg", at(1684051200 + 7260)}));
  EXPECT_EQ(pw::DifferenceText(-(2 * 86'400 + 30) * 10'000'000ll - 5'000'000), L"-2 d 00:00:30.5");
}
