#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "browse/core/FileCompare.h"
#include "browse/core/NamePool.h"
#include "common/core/CaselessText.h"
#include "support/FileReadBack.h"
#include "browse/core/FileText.h"

using pw::FileItem;
using pw::ItemKind;

namespace {

// The captions of every item the tests make, kept for the whole run.
pw::NamePool& CaptionPool() {
  static pw::NamePool names;
  return names;
}

FileItem Entry(ItemKind kind, std::wstring caption, std::uint64_t size = 0,
               std::uint64_t modified = 0) {
  FileItem item;
  item.Kind = kind;
  item.Caption = CaptionPool().Add(caption);
  item.Size = size;
  item.Modified = modified;
  item.Attributes = kind == ItemKind::File ? 0x20 : 0x10;
  return item;
}
FileItem File(std::wstring caption, std::uint64_t size = 0, std::uint64_t modified = 0) {
  return Entry(ItemKind::File, std::move(caption), size, modified);
}
FileItem Folder(std::wstring caption) { return Entry(ItemKind::Folder, std::move(caption)); }

std::vector<std::wstring> Captions(const std::vector<FileItem>& items) {
  std::vector<std::wstring> out;
  for (const FileItem& item : items) out.emplace_back(item.Caption);
  return out;
}

std::vector<std::wstring> Sorted(std::vector<FileItem> items, int column, bool ascending,
                                 const pw::FileTextContext& ctx = {}) {
  pw::SortFileItems(items, column, ascending, ctx);
  return Captions(items);
}

using Names = std::vector<std::wstring>;

}  // namespace

TEST(CaselessCompare, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(pw::CaselessCompare(L"abc", L"ABC"), 0);
  EXPECT_LT(pw::CaselessCompare(L"apple", L"Banana"), 0);
  EXPECT_GT(pw::CaselessCompare(L"banana", L"Apple"), 0);
  EXPECT_LT(pw::CaselessCompare(L"ab", L"abc"), 0);  // the shorter first
  EXPECT_GT(pw::CaselessCompare(L"abc", L"AB"), 0);
  EXPECT_EQ(pw::CaselessCompare(L"", L""), 0);
  EXPECT_LT(pw::CaselessCompare(L"", L"a"), 0);
  EXPECT_LT(pw::CaselessCompare(L"9", L"A"), 0);   // digits before letters
  EXPECT_GT(pw::CaselessCompare(L"[", L"z"), 0);   // brackets and underscore after letters
  EXPECT_GT(pw::CaselessCompare(L"_", L"Z"), 0);
  EXPECT_LT(pw::CaselessCompare(L"Text Documenta", L"Textb"), 0);
  EXPECT_NE(pw::CaselessCompare(L"\u00e9", L"\u00c9"), 0);  // no locale folding
  EXPECT_GT(pw::CaselessCompare(L"\u00e9", L"E"), 0);
  EXPECT_GT(pw::CaselessCompare(L"\uffff", L"\u0100"), 0);  // code units compare unsigned
}

TEST(SizeTextToNumber, ReadsDigitsSkippingEverythingElse) {
  EXPECT_EQ(pw::SizeTextToNumber(L"1,000"), 1000);
  EXPECT_EQ(pw::SizeTextToNumber(L"5.000.000.000"), 5000000000);
  EXPECT_EQ(pw::SizeTextToNumber(L"488,386,583 KB"), 488386583);
  EXPECT_EQ(pw::SizeTextToNumber(L""), 0);
  EXPECT_EQ(pw::SizeTextToNumber(L"abc"), 0);
  EXPECT_EQ(pw::SizeTextToNumber(L"9,223,372,036,854,775,807"),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(pw::SizeTextToNumber(L"99999999999999999999999"),
            std::numeric_limits<std::int64_t>::max());
}

TEST(DateTimeTextToValue, ReadsBackTheListTimeTexts) {
  const pw::DateFormatter dmy(L"dd.MM.yyyy");
  const double ms = 1.0 / 86400000.0;
  EXPECT_NEAR(pw::DateTimeTextToValue(L"31.12.1899 12:00:00:000", dmy), 1.5, ms / 10);
  EXPECT_NEAR(pw::DateTimeTextToValue(L"06.12.2026 08:37:23:123", dmy),
              46362.0 + (8 * 3600000 + 37 * 60000 + 23 * 1000 + 123) * ms, ms / 10);
  EXPECT_DOUBLE_EQ(pw::DateTimeTextToValue(L"06.12.2026", dmy), 46362.0);
  EXPECT_NEAR(pw::DateTimeTextToValue(L"29.12.1899 06:00:00:000", dmy), -1.25, ms / 10);
  // The time part is read by position, whatever the separator.
  EXPECT_NEAR(pw::DateTimeTextToValue(L"12/6/2026 08.37.23.123", pw::DateFormatter()),
              pw::DateTimeTextToValue(L"06.12.2026 08:37:23:123", dmy), ms / 10);
  // A pattern with blanks in it still reads.
  EXPECT_NEAR(pw::DateTimeTextToValue(L"6. 12. 2026 00:00:00:001", pw::DateFormatter(L"d. M. yyyy")),
              46362.0 + ms, ms / 10);
}

TEST(DateTimeTextToValue, UnreadableTextsGiveZero) {
  const pw::DateFormatter dmy(L"dd.MM.yyyy");
  EXPECT_EQ(pw::DateTimeTextToValue(L"", dmy), 0.0);
  EXPECT_EQ(pw::DateTimeTextToValue(L"12/6/2026 08:37:23:123", dmy), 0.0);
  EXPECT_EQ(pw::DateTimeTextToValue(L"06.12.2026 08:37", dmy), 0.0);
  EXPECT_EQ(pw::DateTimeTextToValue(L"06.12.2026 xx:37:23:123", dmy), 0.0);
  EXPECT_EQ(pw::DateTimeTextToValue(L"06.12.2026 25:00:00:000", dmy), 0.0);
}

TEST(FileOrder, ByNameSpecialEntryFirstThenFoldersThenFiles) {
  const std::vector<FileItem> items = {
      File(L"beta.txt"),  Folder(L"zeta"), File(L"Alpha.txt"), Folder(L"Alpha"),
      File(L"gamma.txt"), Entry(ItemKind::Parent, L"[Data]"), Folder(L"beta")};
  EXPECT_EQ(Sorted(items, pw::ColName, true),
            (Names{L"[Data]", L"Alpha", L"beta", L"zeta", L"Alpha.txt", L"beta.txt",
                   L"gamma.txt"}));
  EXPECT_EQ(Sorted(items, pw::ColName, false),
            (Names{L"[Data]", L"gamma.txt", L"beta.txt", L"Alpha.txt", L"zeta", L"beta",
                   L"Alpha"}));
}

TEST(FileOrder, DrivesEntryAndBracketedNamesStayOnTop) {
  const std::vector<FileItem> items = {
      File(L"a.txt"), File(L"[readme].txt"), Folder(L"[old]"), Folder(L"b"),
      Entry(ItemKind::Drives, L"[Drives]"), File(L"~z.txt")};
  for (int column = 0; column < pw::ColumnCount; ++column) {
    for (bool ascending : {true, false}) {
      SCOPED_TRACE(testing::Message() << "column " << column << " ascending " << ascending);
      const Names order = Sorted(items, column, ascending);
      EXPECT_EQ(order[0], L"[Drives]");
      // The other bracketed names follow, folders first when ascending.
      EXPECT_EQ(order[1], ascending ? L"[old]" : L"[readme].txt");
      EXPECT_EQ(order[2], ascending ? L"[readme].txt" : L"[old]");
    }
  }
  // The parent entry goes first as well, also ahead of a file named like a special entry.
  const std::vector<FileItem> sub = {File(L"[Data]"), Entry(ItemKind::Parent, L"[Data]"),
                                     File(L"[A]")};
  for (bool ascending : {true, false}) {
    std::vector<FileItem> sorted = sub;
    pw::SortFileItems(sorted, pw::ColName, ascending, {});
    EXPECT_EQ(sorted[0].Kind, ItemKind::Parent);
  }
}

TEST(FileOrder, BySizeAsNumbers) {
  const std::vector<FileItem> items = {
      File(L"b.bin", 1000), File(L"a.bin", 999), File(L"d.bin", 5), File(L"C.bin", 5),
      Folder(L"y"), Folder(L"X"), Entry(ItemKind::Parent, L"[..]"), File(L"huge", 5000000000ull)};
  EXPECT_EQ(Sorted(items, pw::ColSize, true),
            (Names{L"[..]", L"X", L"y", L"C.bin", L"d.bin", L"a.bin", L"b.bin", L"huge"}));
  EXPECT_EQ(Sorted(items, pw::ColSize, false),
            (Names{L"[..]", L"huge", L"b.bin", L"a.bin", L"d.bin", L"C.bin", L"y", L"X"}));
}

TEST(FileOrder, ByTimeToTheMillisecondThenName) {
  const std::uint64_t t0 = 134000000000000000ull;
  std::vector<FileItem> items = {
      File(L"late", 0, t0 + 10000),  // one millisecond later
      File(L"b", 0, t0 + 9999),      // within the same millisecond as "a": tie broken by name
      File(L"a", 0, t0),
      File(L"early", 0, t0 - 10000)};
  EXPECT_EQ(Sorted(items, pw::ColModified, true), (Names{L"early", L"a", L"b", L"late"}));
  EXPECT_EQ(Sorted(items, pw::ColModified, false), (Names{L"late", L"b", L"a", L"early"}));
  // The other two time columns read their own stamps.
  const std::uint64_t accessed[] = {10000, 20000 + 9999, 20000, 30000};
  for (std::size_t i = 0; i < items.size(); ++i) {
    items[i].Created = items[i].Modified;
    items[i].Accessed = accessed[i];
    items[i].Modified = 0;
  }
  EXPECT_EQ(Sorted(items, pw::ColCreated, true), (Names{L"early", L"a", L"b", L"late"}));
  EXPECT_EQ(Sorted(items, pw::ColAccessed, true), (Names{L"late", L"a", L"b", L"early"}));
  EXPECT_EQ(Sorted(items, pw::ColModified, true), (Names{L"a", L"b", L"early", L"late"}));
}

TEST(FileOrder, ByTypeTextAndCaptionAsOneText) {
  pw::FileTextContext ctx;
  ctx.TypeNames = {L"Text", L"Text Document"};
  FileItem b = File(L"b");
  b.TypeIndex = 0;
  FileItem a = File(L"a");
  a.TypeIndex = 1;
  // "Textb" against "Text Documenta": the blank sorts before the letter B.
  EXPECT_EQ(Sorted({b, a}, pw::ColType, true, ctx), (Names{L"a", L"b"}));
  EXPECT_GT(pw::CompareFileItems(b, a, pw::ColType, true, ctx), 0);
  EXPECT_LT(pw::CompareFileItems(b, a, pw::ColType, false, ctx), 0);

  // Without a shell type name the fallback text takes part: "TXT Filex" and the like.
  const std::vector<FileItem> fallback = {File(L"z.txt"), File(L"a.zip"), File(L"m.TXT"),
                                          File(L"README"), File(L"odd."), Folder(L"dir")};
  // " FileREADME" < "" + "odd." < "TXT Filem.TXT" < "TXT Filez.txt" < "ZIP Filea.zip"
  EXPECT_EQ(Sorted(fallback, pw::ColType, true, ctx),
            (Names{L"dir", L"README", L"odd.", L"m.TXT", L"z.txt", L"a.zip"}));
}

TEST(FileOrder, ByAttributesKindLettersAndCaption) {
  FileItem ra = File(L"b");
  ra.Attributes = 0x21;  // "FRAb"
  FileItem a = File(L"a");
  a.Attributes = 0x20;   // "FAa"
  FileItem plain = File(L"c");
  plain.Attributes = 0x2000;  // "F.c"
  FileItem hidden = Folder(L"h");
  hidden.Attributes = 0x12;  // "DHh"
  EXPECT_EQ(Sorted({ra, a, plain, hidden}, pw::ColAttributes, true),
            (Names{L"h", L"c", L"a", L"b"}));
}

TEST(FileOrder, IsAStrictWeakOrderOnMixedSets) {
  std::mt19937 random(7);
  const wchar_t* names[] = {L"a", L"A", L"b.txt", L"[x]", L"[Y].doc", L"c.TXT", L"c.txt", L"",
                            L"zz", L"Zz.", L"_u", L"9"};
  pw::FileTextContext ctx;
  ctx.TypeNames = {L"Text Document", L"Folder"};
  std::vector<FileItem> items;
  for (int i = 0; i < 150; ++i) {
    const auto pick = random() % 10;
    FileItem item = pick < 6 ? File(names[random() % 12]) : Folder(names[random() % 12]);
    item.Size = random() % 4;
    item.Created = random() % 3 * 10000 + random() % 10000;
    item.Modified = item.Created;
    item.Accessed = item.Created;
    item.Attributes |= random() % 2 ? 0x01 : 0x02;
    item.TypeIndex = static_cast<std::int32_t>(random() % 4) - 1;
    items.push_back(item);
  }
  items.push_back(Entry(ItemKind::Parent, L"[..]"));

  for (int column = 0; column < pw::ColumnCount; ++column) {
    for (bool ascending : {true, false}) {
      SCOPED_TRACE(testing::Message() << "column " << column << " ascending " << ascending);
      std::vector<FileItem> sorted = items;
      pw::SortFileItems(sorted, column, ascending, ctx);
      ASSERT_EQ(sorted.size(), items.size());
      EXPECT_EQ(sorted[0].Kind, ItemKind::Parent);
      for (std::size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(pw::CompareFileItems(sorted[i], sorted[i], column, ascending, ctx), 0);
        for (std::size_t j = i + 1; j < sorted.size(); ++j) {
          const int forward = pw::CompareFileItems(sorted[i], sorted[j], column, ascending, ctx);
          const int backward = pw::CompareFileItems(sorted[j], sorted[i], column, ascending, ctx);
          ASSERT_LE(forward, 0) << i << " " << j;
          ASSERT_EQ(forward, -backward) << i << " " << j;
        }
      }
    }
  }
}

TEST(FileOrder, EqualEntriesKeepTheirOrder) {
  FileItem first = File(L"same.txt", 10);
  first.IconIndex = 1;
  FileItem second = File(L"SAME.TXT", 10);
  second.IconIndex = 2;
  std::vector<FileItem> items = {first, second};
  for (bool ascending : {true, false}) {
    pw::SortFileItems(items, pw::ColSize, ascending, {});
    EXPECT_EQ(items[0].IconIndex, 1);
    EXPECT_EQ(items[1].IconIndex, 2);
  }
  std::vector<FileItem> none;
  pw::SortFileItems(none, pw::ColName, true, {});
  EXPECT_TRUE(none.empty());
}

// Items whose texts are hard to order: long shared beginnings, texts that end on a piece's edge,
// units beyond 16 bits' worth of packing, type texts that begin one another; ties on every value.
std::vector<FileItem> TrickyItems(int count, unsigned randomStart) {
  std::mt19937 random(randomStart);
  const std::wstring stems[] = {L"", L"a", L"A", L"abcdefgh", L"ABCDEFGH", L"abcdefghi",
                                L"abcdefgh12345678", L"abcdefgh12345678x", L"abcdefg\uffff",
                                L"abcdefg\ufffe", L"abcdefg\ufffd", L"abc\uffffz", L"[b]",
                                L"Text", L"text.", L"x.txt", L"y.TXT", L"z.tx", L"\u00e9t\u00e9",
                                L"ABCDEFGH12345678abcdefgh12345678", L"abcdefgh1234567\uffff",
                                L"abcdefgh12345678abcdefgh1234567\ufffe"};
  std::vector<FileItem> items;
  for (int i = 0; i < count; ++i) {
    std::wstring caption = stems[random() % std::size(stems)];
    if (random() % 2) caption += stems[random() % std::size(stems)];
    FileItem item = random() % 4 == 0 ? Folder(caption) : File(caption);
    item.Size = random() % 3;
    item.Created = random() % 2 * 10000;
    item.Modified = item.Created;
    item.Accessed = item.Created;
    item.Attributes |= random() % 8;
    item.TypeIndex = static_cast<std::int32_t>(random() % 7) - 1;
    items.push_back(item);
  }
  items.push_back(Entry(ItemKind::Drives, L"[Drives]"));
  items.push_back(Entry(ItemKind::Parent, L"[..]"));
  return items;
}

// The sort reads texts in packed pieces of eight units; its result must be exactly the stable
// order of the pairwise comparison.
TEST(FileOrder, MatchesThePairwiseComparisonOnHardTexts) {
  pw::FileTextContext ctx;
  ctx.TypeNames = {L"Text", L"Text Document", L"", L"TEXT", L"Text Documentary"};
  std::vector<FileItem> items = TrickyItems(400, 11);
  for (int column = 0; column < pw::ColumnCount; ++column) {
    for (bool ascending : {true, false}) {
      SCOPED_TRACE(testing::Message() << "column " << column << " ascending " << ascending);
      for (std::size_t i = 0; i < items.size(); ++i) items[i].IconIndex = static_cast<int>(i);
      std::vector<FileItem> expected = items;
      std::stable_sort(expected.begin(), expected.end(), [&](const FileItem& a, const FileItem& b) {
        return pw::CompareFileItems(a, b, column, ascending, ctx) < 0;
      });
      std::vector<FileItem> sorted = items;
      pw::SortFileItems(sorted, column, ascending, ctx);
      ASSERT_EQ(sorted.size(), expected.size());
      for (std::size_t i = 0; i < sorted.size(); ++i) {
        ASSERT_EQ(sorted[i].IconIndex, expected[i].IconIndex) << "at " << i;
      }
    }
  }
}

// A listing sorted while it is read, in runs of any length (merged as they come on a thread of
// their own), ends in exactly the order of one sort at its end; and a listing stopped midway lets
// its sort go.
TEST(FileOrder, ASortMadeWhileTheFolderIsReadEndsInTheSameOrder) {
  const std::vector<FileItem> items = TrickyItems(3000, 5);
  std::mt19937 random(7);
  for (int column : {pw::ColName, pw::ColSize, pw::ColModified}) {
    for (bool ascending : {true, false}) {
      SCOPED_TRACE(testing::Message() << "column " << column << " ascending " << ascending);
      ASSERT_TRUE(pw::RunningSort::Serves(column));
      std::vector<FileItem> expected = items;
      for (std::size_t i = 0; i < expected.size(); ++i) expected[i].IconIndex = static_cast<int>(i);
      std::vector<FileItem> running = expected;
      const std::vector<std::uint32_t> expectedOrder = pw::SortFileItems(expected, column, ascending, {});
      pw::RunningSort sort(column, ascending);
      std::size_t added = 0;
      while (added + 500 < running.size()) {
        const std::size_t run = 1 + random() % 400;
        sort.Add(running.data() + added, static_cast<std::uint32_t>(added), run);
        added += run;
      }
      EXPECT_EQ(sort.Finish(running), expectedOrder);  // the last items were never added
      ASSERT_EQ(running.size(), expected.size());
      for (std::size_t i = 0; i < running.size(); ++i) ASSERT_EQ(running[i].IconIndex, expected[i].IconIndex) << i;
    }
  }
  EXPECT_FALSE(pw::RunningSort::Serves(pw::ColType));
  EXPECT_FALSE(pw::RunningSort::Serves(pw::ColAttributes));

  std::vector<FileItem> whole = items;
  std::vector<FileItem> once = items;
  EXPECT_EQ(pw::RunningSort(pw::ColName, true).Finish(whole), pw::SortFileItems(once, pw::ColName, true, {}));
  for (int i = 0; i < 20; ++i) {
    pw::RunningSort stopped(pw::ColName, true);
    stopped.Add(items.data(), 0, 2000);
    stopped.Add(items.data() + 2000, 2000, 1000);
  }
}

TEST(FileOrder, TypeTextsThatBeginOneAnother) {
  pw::FileTextContext ctx;
  ctx.TypeNames = {L"Text", L"Text Document", L"Image"};
  auto typed = [](std::wstring caption, int type) {
    FileItem item = File(std::move(caption));
    item.TypeIndex = type;
    return item;
  };
  // Joined: "Textb", "Text Documenta", "Text Documentz", "Imagec", "odd." (no type text),
  // "Texta".
  const std::vector<FileItem> items = {typed(L"b", 0), typed(L"z", 1), typed(L"a", 1),
                                       typed(L"c", 2), File(L"odd."), typed(L"a", 0)};
  EXPECT_EQ(Sorted(items, pw::ColType, true, ctx),
            (Names{L"c", L"odd.", L"a", L"z", L"a", L"b"}));
}

// The order as the list's texts define it: numbers read back from the size text, times from the
// time text, and kind, type and attribute texts joined with the caption.
namespace {
int Sign(double v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int CompareByTexts(const FileItem& a, const FileItem& b, int column, const pw::FileTextContext& ctx) {
  auto sub = [&ctx](const FileItem& item, int index) { return pw::ItemSubText(item, index, ctx); };
  const std::wstring kindA = sub(a, pw::SubKind), kindB = sub(b, pw::SubKind);
  if (kindA != kindB) return kindA == L"D" ? -1 : 1;
  switch (column) {
    case pw::ColSize: {
      if (kindA == L"D") return pw::CaselessCompare(a.Caption, b.Caption);
      const auto na = pw::SizeTextToNumber(sub(a, pw::SubSize));
      const auto nb = pw::SizeTextToNumber(sub(b, pw::SubSize));
      return na != nb ? (na < nb ? -1 : 1) : pw::CaselessCompare(a.Caption, b.Caption);
    }
    case pw::ColType:
      return pw::CaselessCompare(sub(a, pw::SubType) + std::wstring(a.Caption), sub(b, pw::SubType) + std::wstring(b.Caption));
    case pw::ColCreated:
    case pw::ColModified:
    case pw::ColAccessed: {
      const int index = column - 1;
      const double va = pw::DateTimeTextToValue(sub(a, index), ctx.Date);
      const double vb = pw::DateTimeTextToValue(sub(b, index), ctx.Date);
      return va != vb ? Sign(va - vb) : pw::CaselessCompare(a.Caption, b.Caption);
    }
    case pw::ColAttributes:
      return pw::CaselessCompare(kindA + sub(a, pw::SubAttributes) + std::wstring(a.Caption),
                                 kindB + sub(b, pw::SubAttributes) + std::wstring(b.Caption));
    default: return pw::CaselessCompare(kindA + std::wstring(a.Caption), kindB + std::wstring(b.Caption));
  }
}
}  // namespace

TEST(FileOrder, RawKeysOrderAsTheListTextsDo) {
  std::mt19937 random(5);
  pw::FileTextContext ctx;
  ctx.ListedFolder = L"C:\\Data\\";
  ctx.Date = pw::DateFormatter(L"yyyy-MM-dd");
  ctx.TypeNames = {L"Text Document", L"Text", L"Application", L""};
  const wchar_t* names[] = {L"a.txt", L"B.TXT", L"c", L"d.", L"e.exe", L"F.Exe", L"g.tar.gz",
                            L"h h.txt", L"readme", L"Z.doc"};
  std::vector<FileItem> items;
  for (int i = 0; i < 120; ++i) {
    FileItem item = random() % 5 == 0 ? Folder(names[random() % std::size(names)])
                                      : File(names[random() % std::size(names)]);
    item.Size = random() % 2 ? random() % 1500 : 5000000000ull + random() % 3;
    const std::uint64_t base = 133000000000000000ull + (random() % 4) * 864000000000ull;
    item.Created = base + (random() % 3) * 10000 + random() % 10000;
    item.Modified = base + (random() % 3) * 10000000;
    item.Accessed = item.Created;
    item.Attributes = (item.Kind == ItemKind::Folder ? 0x10 : 0) | (random() % 0x100);
    item.TypeIndex = static_cast<std::int32_t>(random() % 5) - 1;
    items.push_back(item);
  }
  for (int column = 0; column < pw::ColumnCount; ++column) {
    SCOPED_TRACE(testing::Message() << "column " << column);
    for (const FileItem& a : items) {
      for (const FileItem& b : items) {
        const int expected = CompareByTexts(a, b, column, ctx);
        ASSERT_EQ(pw::CompareFileItems(a, b, column, true, ctx), expected)
            << std::string(a.Caption.View().begin(), a.Caption.View().end()) << " / "
            << std::string(b.Caption.View().begin(), b.Caption.View().end());
        ASSERT_EQ(pw::CompareFileItems(a, b, column, false, ctx), -expected);
      }
    }
  }
}
