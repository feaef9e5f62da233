#include <gtest/gtest.h>

#include <cstdint>

#include "browse/core/ListingRules.h"
#include "common/core/NetworkErrors.h"

namespace {
constexpr std::uint32_t kAllChecked = 0xA7;  // read-only, hidden, system, archive, normal
}

TEST(AttributeFilter, FileListedWhenOneOfItsLettersIsChecked) {
  const std::uint32_t noHidden = kAllChecked & ~0x02u;
  EXPECT_TRUE(pw::PassesAttributeFilter(0x22, noHidden));   // hidden + archive: archive checked
  EXPECT_FALSE(pw::PassesAttributeFilter(0x02, noHidden));  // hidden only
  EXPECT_TRUE(pw::PassesAttributeFilter(0x02, kAllChecked));
  EXPECT_TRUE(pw::PassesAttributeFilter(0x80, 0x80));
  EXPECT_FALSE(pw::PassesAttributeFilter(0x80, 0x27));
  EXPECT_FALSE(pw::PassesAttributeFilter(0x21, 0x06));
  EXPECT_FALSE(pw::PassesAttributeFilter(0x21, 0));  // nothing checked
}

TEST(AttributeFilter, FilesWithoutLetterBitsCountAsNormal) {
  // Only "not content indexed", only "compressed": ordinary files, listed while Normal is on.
  EXPECT_TRUE(pw::PassesAttributeFilter(0x2000, kAllChecked));
  EXPECT_TRUE(pw::PassesAttributeFilter(0x800, 0x80));
  EXPECT_FALSE(pw::PassesAttributeFilter(0x800, 0x27));
  EXPECT_FALSE(pw::PassesAttributeFilter(0x2000, 0));
  // A letter bit present: that bit decides, not the stand-in.
  EXPECT_FALSE(pw::PassesAttributeFilter(0x2020, 0x80));
  EXPECT_TRUE(pw::PassesAttributeFilter(0x2020, 0x20));
}

TEST(AttributeFilter, AttributeWordZeroIsAlwaysListed) {
  EXPECT_TRUE(pw::PassesAttributeFilter(0, 0));
  EXPECT_TRUE(pw::PassesAttributeFilter(0, 0x01));
  EXPECT_TRUE(pw::PassesAttributeFilter(0, kAllChecked));
}

TEST(ListingPaths, FolderPartAndLastComponent) {
  EXPECT_EQ(pw::FolderPart(L"C:\\Windows\\notepad.exe"), L"C:\\Windows\\");
  EXPECT_EQ(pw::FolderPart(L"C:\\Windows\\"), L"C:\\Windows\\");
  EXPECT_EQ(pw::FolderPart(L"C:\\"), L"C:\\");
  EXPECT_EQ(pw::FolderPart(L"C:"), L"C:");
  EXPECT_EQ(pw::FolderPart(L"C:foo"), L"C:");
  EXPECT_EQ(pw::FolderPart(L"foo"), L"");
  EXPECT_EQ(pw::FolderPart(L""), L"");
  EXPECT_EQ(pw::LastComponent(L"C:\\Windows\\notepad.exe"), L"notepad.exe");
  EXPECT_EQ(pw::LastComponent(L"C:\\Windows\\"), L"");
  EXPECT_EQ(pw::LastComponent(L"C:foo"), L"foo");
  EXPECT_EQ(pw::LastComponent(L"plain"), L"plain");
}

TEST(ListingPaths, DriveRootDetection) {
  EXPECT_TRUE(pw::IsDriveRoot(L"C:\\"));
  EXPECT_TRUE(pw::IsDriveRoot(L"\\"));
  EXPECT_TRUE(pw::IsDriveRoot(L"C:"));
  EXPECT_TRUE(pw::IsDriveRoot(L"\\\\"));
  EXPECT_TRUE(pw::IsDriveRoot(L"C:\\Data\\\\"));  // the final backslash follows another one
  EXPECT_FALSE(pw::IsDriveRoot(L"C:\\Windows\\"));
  EXPECT_TRUE(pw::IsDriveRoot(L"\\\\server\\share\\"));  // a share's root: nothing above it
  EXPECT_FALSE(pw::IsDriveRoot(L"\\\\server\\share\\folder\\"));
  EXPECT_FALSE(pw::IsDriveRoot(L"\\\\server\\share"));
  EXPECT_FALSE(pw::IsDriveRoot(L"C:\\Windows"));
  EXPECT_FALSE(pw::IsDriveRoot(L""));
}

TEST(ListingPaths, OnlyErrorsOfAVolumeThatStoppedAnsweringCountAsALostConnection) {
  struct Row {
    std::uint32_t Error;
    bool Lost;
  };
  for (const Row row : {Row{64, true}, Row{53, true}, Row{59, true}, Row{1231, true}, Row{121, true},
                        Row{55, true}, Row{21, true}, Row{998, true}, Row{31, true},
                        // the entry's own: gone, refused, in use, a bad name, a full disk
                        Row{0, false}, Row{2, false}, Row{3, false}, Row{5, false}, Row{32, false},
                        Row{123, false}, Row{112, false}})
    EXPECT_EQ(pw::IsConnectionLost(row.Error), row.Lost) << row.Error;
}

TEST(ListingPaths, ParentFolderOfAListedFolder) {
  EXPECT_EQ(pw::ParentFolderPath(L"D:\\Data\\Old\\"), L"D:\\Data\\");
  EXPECT_EQ(pw::ParentFolderPath(L"D:\\Data\\"), L"D:\\");
  EXPECT_EQ(pw::ParentFolderPath(L"D:\\"), L"D:");
  EXPECT_EQ(pw::ParentFolderPath(L"Data\\"), L"");
  EXPECT_EQ(pw::ParentFolderPath(L""), L"");
}

TEST(ListingPaths, ParentEntryCaption) {
  EXPECT_EQ(pw::ParentCaption(L"C:\\Windows\\System32\\"), L"[Windows]");
  EXPECT_EQ(pw::ParentCaption(L"C:\\Windows\\"), L"[..]");
  EXPECT_EQ(pw::ParentCaption(L"D:\\Data\\Old\\"), L"[Data]");
  EXPECT_EQ(pw::ParentCaption(L"D:\\a[1]\\b\\"), L"[a[1]]");
}

TEST(ListingPaths, CaptionToSelectAfterABookmark) {
  EXPECT_EQ(pw::BookmarkCaption(L"D:\\Data\\Old\\"), L"[Data]");   // a bookmarked parent entry
  EXPECT_EQ(pw::BookmarkCaption(L"D:\\Data\\"), L"[..]");
  EXPECT_EQ(pw::BookmarkCaption(L"D:\\Data\\report.txt"), L"report.txt");
  EXPECT_EQ(pw::BookmarkCaption(L"D:\\Data\\Old"), L"Old");
  EXPECT_EQ(pw::BookmarkCaption(L"D:\\"), L"[..]");
}
