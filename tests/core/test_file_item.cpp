#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "browse/core/FileItem.h"
#include "support/CalendarFixtures.h"

using pw::FileItem;
using pw::ItemKind;

namespace {

std::uint64_t Stamp(int y, int mo, int d, int h, int mi, int s, int ms) {
  std::uint64_t ft = 0;
  EXPECT_TRUE(pw::CalendarToFileTime(Calendar(y, mo, d, h, mi, s, ms), ft));
  return ft;
}

// The captions of the items made here, kept for the whole run.
pw::NamePool& Captions() {
  static pw::NamePool names;
  return names;
}

FileItem Item(ItemKind kind, std::wstring_view caption, std::uint32_t attributes) {
  FileItem item;
  item.Kind = kind;
  item.Caption = Captions().Add(caption);
  item.Attributes = attributes;
  item.Created = Stamp(2026, 12, 6, 8, 37, 23, 123);
  item.Modified = Stamp(2026, 7, 1, 23, 0, 0, 5);
  item.Accessed = Stamp(1999, 1, 2, 0, 0, 0, 0);
  return item;
}

pw::FileTextContext Context() {
  pw::FileTextContext ctx;
  ctx.ListedFolder = L"D:\\Data\\";
  ctx.Date = pw::DateFormatter(L"dd.MM.yyyy");
  ctx.TypeNames = {L"Text Document", L"", L"File folder"};
  return ctx;
}

}  // namespace

TEST(FileItemTexts, FileRow) {
  const pw::FileTextContext ctx = Context();
  FileItem file = Item(ItemKind::File, L"report.txt", 0x21);
  file.Size = 5000000000ull;
  file.TypeIndex = 0;
  EXPECT_EQ(pw::ItemSubText(file, pw::SubSize, ctx), L"5,000,000,000");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubType, ctx), L"Text Document");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubCreated, ctx), L"06.12.2026 08:37:23:123");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubModified, ctx), L"01.07.2026 23:00:00:005");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubAccessed, ctx), L"02.01.1999 00:00:00:000");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubAttributes, ctx), L"RA");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubPath, ctx), L"D:\\Data\\report.txt");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubKind, ctx), L"F");
  EXPECT_EQ(pw::ItemSubText(file, 8, ctx), L"");
  EXPECT_EQ(pw::ItemSubText(file, -1, ctx), L"");

  file.Size = 0;
  EXPECT_EQ(pw::ItemSubText(file, pw::SubSize, ctx), L"0");
}

TEST(FileItemTexts, TypeFallsBackToTheNameWithoutAShellTypeName) {
  const pw::FileTextContext ctx = Context();
  FileItem file = Item(ItemKind::File, L"photo.JpEg", 0x20);
  EXPECT_EQ(pw::ItemSubText(file, pw::SubType, ctx), L"JPEG File");
  file.TypeIndex = 1;  // known, but empty
  EXPECT_EQ(pw::ItemSubText(file, pw::SubType, ctx), L"JPEG File");
  file.TypeIndex = 99;  // out of range
  EXPECT_EQ(pw::ItemSubText(file, pw::SubType, ctx), L"JPEG File");
  file.Caption = Captions().Add(L"name.");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubType, ctx), L"");
  file.Caption = Captions().Add(L"README");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubType, ctx), L" File");
}

TEST(FileItemTexts, FolderRow) {
  const pw::FileTextContext ctx = Context();
  FileItem folder = Item(ItemKind::Folder, L"Old.v2", 0x16);
  folder.Size = 4096;  // never shown for a folder
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubSize, ctx), L"");
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubType, ctx), L"File Folder");
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubCreated, ctx), L"06.12.2026 08:37:23:123");
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubAttributes, ctx), L"HS");
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubPath, ctx), L"D:\\Data\\Old.v2");
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubKind, ctx), L"D");
  folder.TypeIndex = 2;
  EXPECT_EQ(pw::ItemSubText(folder, pw::SubType, ctx), L"File folder");
}

TEST(FileItemTexts, ParentAndDrivesRows) {
  const pw::FileTextContext ctx = Context();
  const FileItem parent = Item(ItemKind::Parent, L"[..]", 0x10);
  EXPECT_EQ(pw::ItemSubText(parent, pw::SubSize, ctx), L"");
  EXPECT_EQ(pw::ItemSubText(parent, pw::SubType, ctx), L"File Folder");
  EXPECT_EQ(pw::ItemSubText(parent, pw::SubModified, ctx), L"01.07.2026 23:00:00:005");
  EXPECT_EQ(pw::ItemSubText(parent, pw::SubAttributes, ctx), L".");
  EXPECT_EQ(pw::ItemSubText(parent, pw::SubPath, ctx), L"D:\\Data\\");
  EXPECT_EQ(pw::ItemSubText(parent, pw::SubKind, ctx), L"D");

  const FileItem drives = Item(ItemKind::Drives, L"[Drives]", 0x10);
  for (int sub = pw::SubSize; sub <= pw::SubPath; ++sub) {
    EXPECT_EQ(pw::ItemSubText(drives, sub, ctx), L"") << "sub-item " << sub;
  }
  EXPECT_EQ(pw::ItemSubText(drives, pw::SubKind, ctx), L"D");
}

TEST(FileItemTexts, TimesGoThroughTheLocalConversion) {
  pw::FileTextContext ctx = Context();
  ctx.TimeSep = L".";
  ctx.ToLocal = [](std::uint64_t ft, pw::CalendarTime& out) {
    if (ft < 130000000000000000ull) return false;  // pretend older stamps cannot be converted
    return pw::FileTimeToCalendar(ft + 2 * 36000000000ull, out);  // two hours east
  };
  const FileItem file = Item(ItemKind::File, L"a.txt", 0x20);
  EXPECT_EQ(pw::ItemSubText(file, pw::SubCreated, ctx), L"06.12.2026 10.37.23.123");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubModified, ctx), L"02.07.2026 01.00.00.005");
  EXPECT_EQ(pw::ItemSubText(file, pw::SubAccessed, ctx), L"");
}

TEST(FileItemTexts, StampBeyondTheCalendarGivesNoText) {
  const pw::FileTextContext ctx = Context();
  FileItem file = Item(ItemKind::File, L"a.txt", 0x20);
  file.Created = 0xFFFFFFFFFFFFFFFFull;
  EXPECT_EQ(pw::ItemSubText(file, pw::SubCreated, ctx), L"");
  file.Created = 0;
  EXPECT_EQ(pw::ItemSubText(file, pw::SubCreated, ctx), L"01.01.1601 00:00:00:000");
}
