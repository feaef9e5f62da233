// The listing model: which found entries it keeps and counts, how a sort moves rows (and with them
// the selection), type-to-find, and the name pool the captions live in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/core/FileCompare.h"
#include "browse/core/FolderModel.h"
#include "browse/core/NamePool.h"

using pw::FolderModel;
using pw::FoundEntry;
using pw::ItemKind;

namespace {

constexpr std::uint32_t kDir = 0x10, kArchive = 0x20, kHidden = 0x02;

std::vector<std::wstring> Captions(const FolderModel& model) {
  std::vector<std::wstring> out;
  for (int row = 0; const pw::FileItem* item = model.At(row); ++row) out.emplace_back(item->Caption);
  return out;
}

// Lists found entries the way the window does: the kept ones are built into a listing, shown as
// they come in batches of `batch`, and the whole listing sorted at the end.
std::vector<std::uint32_t> List(FolderModel& model, const std::wstring& folder, const std::vector<FoundEntry>& found,
                                std::size_t batch = 1000) {
  pw::ListingBuilder listing(folder, model.Options(), kDir | 0x01);
  model.Begin(folder, listing.Names());
  for (std::size_t i = 0; i < found.size(); ++i) {
    listing.AddFileItem(found[i]);
    if ((i + 1) % batch == 0) model.Append(listing.TakeNew(), listing.FileCount(), listing.FolderCount());
  }
  const std::vector<std::uint32_t> order = listing.Sort(model.Text());
  return model.Finish(listing.TakeItems(), order, listing.FileCount(), listing.FolderCount());
}

bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (towupper(a[i]) != towupper(b[i])) return false;
  return true;
}

}  // namespace

TEST(FolderModel, KeepsWhatTheViewShowsAndCountsFilesAndFoldersOnly) {
  FolderModel model;
  const std::vector<FoundEntry> found = {
      {L".", kDir}, {L"..", kDir}, {L"Sub", kDir}, {L"Hidden dir", kDir | kHidden},
      {L"a.txt", kArchive, 5}, {L"secret", kHidden}, {L"plain", 0}, {L"compressed", 0x800}};
  List(model, L"D:\\Data\\", found);
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[..]", L"Hidden dir", L"Sub", L"a.txt", L"compressed",
                                                        L"plain", L"secret"}));
  EXPECT_EQ(model.FileCount(), 4);
  EXPECT_EQ(model.FolderCount(), 2);
  EXPECT_EQ(model.FirstEntryRow(), 1);
  EXPECT_EQ(model.At(0)->Attributes, kDir | 0x01u);  // the listed folder's own
  EXPECT_EQ(model.Path(0), L"D:\\Data\\");
  EXPECT_EQ(model.Path(2), L"D:\\Data\\Sub");

  // Hidden off (and archive off, since every file may carry it), folders off: the drives entry of a
  // root stays, ".." is never listed in a root.
  model.SetAttrMask(0x01 | 0x04 | 0x80);
  model.SetHideFolders(true);
  List(model, L"D:\\", found);
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[Drives]", L"compressed", L"plain"}));
  EXPECT_EQ(model.At(0)->Kind, ItemKind::Drives);
  EXPECT_EQ(model.Path(0), L"");
  EXPECT_EQ(model.FolderCount(), 0);
  EXPECT_EQ(model.FirstEntryRow(), 1);
}

TEST(FolderModel, ASortSaysWhereEveryRowWentSoTheSelectionFollowsItsEntries) {
  FolderModel model;
  List(model, L"C:\\p\\t\\", {{L"..", kDir}, {L"b.txt", kArchive, 300}, {L"a.txt", kArchive, 100},
                           {L"c.txt", kArchive, 200}, {L"Dir", kDir}});
  ASSERT_EQ(Captions(model), (std::vector<std::wstring>{L"[p]", L"Dir", L"a.txt", L"b.txt", L"c.txt"}));

  model.ClickColumn(pw::ColSize);
  std::vector<std::uint32_t> moved = model.Sort();
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[p]", L"Dir", L"a.txt", L"c.txt", L"b.txt"}));
  EXPECT_EQ(moved[3], 4u);  // b.txt, where it is now
  EXPECT_EQ(moved[0], 0u);  // the parent entry stays on top

  model.ClickColumn(pw::ColSize);  // the same column again: descending, files before folders
  EXPECT_FALSE(model.SortAscending());
  moved = model.Sort();
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[p]", L"b.txt", L"c.txt", L"a.txt", L"Dir"}));
  EXPECT_EQ(moved[4], 1u);
  model.ClickColumn(pw::ColName);  // another column starts ascending
  EXPECT_TRUE(model.SortAscending());
}

TEST(FolderModel, EntriesReadAgainChangeInPlaceAndLeaveWhenGoneOrFilteredOut) {
  FolderModel model;
  model.SetAttrMask(0x01 | 0x80);  // hidden files not shown
  List(model, L"C:\\q\\p\\", {{L"..", kDir}, {L"a.txt", 0x80, 100, 1, 1, 1}, {L"b.txt", 0x80, 200, 2, 2, 2},
                          {L"c.txt", 0x80, 300, 3, 3, 3}, {L"Dir", kDir, 0, 4, 4, 4}});
  model.ClickColumn(pw::ColModified);
  model.Sort();
  ASSERT_EQ(Captions(model), (std::vector<std::wstring>{L"[q]", L"Dir", L"a.txt", L"b.txt", L"c.txt"}));

  // a.txt now the newest: it keeps its row though the list is sorted by that time; b.txt became
  // hidden and leaves; c.txt is gone; the folder's times change in place; the parent row is never
  // changed through this.
  const std::vector<std::uint32_t> moved = model.Update({{2, FoundEntry{L"", 0x80, 150, 9, 90, 9}},
                                                         {3, FoundEntry{L"", kHidden, 200, 2, 2, 2}},
                                                         {4, std::nullopt},
                                                         {1, FoundEntry{L"", kDir, 0, 7, 7, 7}},
                                                         {0, std::nullopt}});
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[q]", L"Dir", L"a.txt"}));
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 1, 2, FolderModel::kGoneRow, FolderModel::kGoneRow}));
  EXPECT_EQ(model.At(2)->Modified, 90u);
  EXPECT_EQ(model.At(2)->Size, 150u);
  EXPECT_EQ(model.At(1)->Created, 7u);
  EXPECT_EQ(model.FileCount(), 1);
  EXPECT_EQ(model.FolderCount(), 1);
}

namespace {

// Changes as the watch of a folder hands them over: entries read again, names gone, renames.
struct Changes {
  pw::FolderChanges Batch;
  Changes& Now(const FoundEntry& found) {
    Batch.Present.push_back(pw::MakeEntryItem(found, *Batch.Names));
    return *this;
  }
  Changes& Gone(std::wstring_view name) {
    Batch.Gone.push_back(Batch.Names->Add(name));
    return *this;
  }
  Changes& Renamed(std::wstring_view from, const FoundEntry& to) {
    Gone(from);
    Now(to);
    Batch.Renamed.emplace_back(Batch.Gone.back(), Batch.Present.back().Caption);
    return *this;
  }
};

}  // namespace

TEST(FolderModel, ChangesOnDiskMergeNewEntriesInOrderAndCarryTheRowsThatStay) {
  FolderModel model;
  model.SetAttrMask(0x01 | 0x20 | 0x80);  // hidden files not shown
  List(model, L"C:\\w\\", {{L"..", kDir}, {L"b.txt", 0x20, 2, 2, 20, 2}, {L"d.txt", 0x20, 4, 4, 40, 4},
                          {L"f.txt", 0x20, 6, 6, 60, 6}, {L"Sub", kDir, 0, 1, 1, 1}});
  ASSERT_EQ(Captions(model), (std::vector<std::wstring>{L"[..]", L"Sub", L"b.txt", L"d.txt", L"f.txt"}));

  // Created a.txt, e.txt, a hidden file and a folder; d.txt re-timed in place; f.txt deleted;
  // b.txt renamed to g.txt; a gone name never listed changes nothing.
  Changes changes;
  changes.Now({L"e.txt", 0x20, 5, 5, 50, 5})
      .Now({L"a.txt", 0x20, 1, 1, 10, 1})
      .Now({L"secret", kHidden, 1, 1, 1, 1})
      .Now({L"New", kDir, 0, 3, 3, 3})
      .Now({L"d.txt", 0x20, 44, 4, 99, 4})
      .Gone(L"f.txt")
      .Gone(L"never listed")
      .Renamed(L"b.txt", {L"g.txt", 0x20, 2, 2, 20, 2});
  std::vector<std::uint32_t> moved = model.Merge(std::move(changes.Batch));
  EXPECT_EQ(Captions(model),
            (std::vector<std::wstring>{L"[..]", L"New", L"Sub", L"a.txt", L"d.txt", L"e.txt", L"g.txt"}));
  // old rows: [..] Sub b.txt d.txt f.txt
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 2, 6, 4, FolderModel::kGoneRow}));
  EXPECT_EQ(model.At(4)->Modified, 99u);
  EXPECT_EQ(model.At(4)->Size, 44u);
  EXPECT_EQ(model.FileCount(), 4);
  EXPECT_EQ(model.FolderCount(), 2);

  // Sorted by size, descending: a re-timed entry keeps its row, a new one lands by its size, and an
  // entry made hidden leaves. Show Folders off: a new folder stays out.
  model.ClickColumn(pw::ColSize);
  model.ClickColumn(pw::ColSize);
  model.SetHideFolders(true);
  model.Sort();
  // Descending puts files before folders.
  ASSERT_EQ(Captions(model),
            (std::vector<std::wstring>{L"[..]", L"d.txt", L"e.txt", L"g.txt", L"a.txt", L"Sub", L"New"}));
  Changes more;
  more.Now({L"h.txt", 0x20, 3, 0, 0, 0}).Now({L"e.txt", kHidden, 5, 5, 5, 5}).Now({L"Other", kDir}).Now({L"a.txt", 0x20, 100, 0, 0, 0});
  moved = model.Merge(std::move(more.Batch));
  EXPECT_EQ(Captions(model),
            (std::vector<std::wstring>{L"[..]", L"d.txt", L"h.txt", L"g.txt", L"a.txt", L"Sub", L"New"}));
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 1, FolderModel::kGoneRow, 3, 4, 5, 6}));
  EXPECT_EQ(model.At(4)->Size, 100u);

  // Read anew after an overflow: rows are found again by name, the parent entry by its kind, and
  // the listing (sorted by name) goes into the view's order.
  pw::ListingOptions byName = model.Options();
  byName.SortColumn = pw::ColName;
  byName.SortAscending = true;
  byName.HideFolders = false;  // the parent entry stays
  // The folder read by the worker (its listing sorted by name) and handed to the model.
  const auto readAnew = [&](const std::vector<FoundEntry>& found) {
    pw::ListingBuilder again(L"C:\\w\\", byName, kDir);
    for (const FoundEntry& entry : found) again.AddFileItem(entry);
    again.Sort(model.Text());
    const std::shared_ptr<pw::NamePool> names = again.Names();
    return model.Replace(again.TakeItems(), byName, names, again.FileCount(), again.FolderCount());
  };
  moved = readAnew({{L"..", kDir}, {L"g.txt", 0x20, 2}, {L"z.txt", 0x20, 50}, {L"d.txt", 0x20, 44}});
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[..]", L"z.txt", L"d.txt", L"g.txt"}));
  constexpr std::uint32_t kGone = FolderModel::kGoneRow;
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 2, kGone, 3, kGone, kGone, kGone}));
  EXPECT_EQ(model.FileCount(), 3);

  // Read anew with just the entries shown: only their values change, in their rows, though z.txt
  // now sorts last.
  moved = readAnew({{L"..", kDir}, {L"z.txt", 0x20, 1}, {L"g.txt", 0x20, 2}, {L"d.txt", 0x20, 44}});
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[..]", L"z.txt", L"d.txt", L"g.txt"}));
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(model.At(1)->Size, 1u);
}

TEST(FolderModel, ReadAnewInTheOrderShownTakesTheNewValuesInTheirRows) {
  FolderModel model;
  List(model, L"C:\\r\\", {{L"..", kDir}, {L"b.txt", kArchive, 1}, {L"a.txt", kArchive, 2}, {L"Sub", kDir}});
  const auto readAnew = [&](const std::vector<FoundEntry>& found) {
    pw::ListingBuilder again(L"C:\\r\\", model.Options(), kDir);
    for (const FoundEntry& entry : found) again.AddFileItem(entry);
    again.Sort(model.Text());
    return model.Replace(again.TakeItems(), model.Options(), again.Names(), again.FileCount(), again.FolderCount());
  };
  // Only the sizes changed: the same rows, the new values.
  std::vector<std::uint32_t> moved =
      readAnew({{L"..", kDir}, {L"a.txt", kArchive, 20}, {L"b.txt", kArchive, 10}, {L"Sub", kDir}});
  ASSERT_EQ(Captions(model), (std::vector<std::wstring>{L"[..]", L"Sub", L"a.txt", L"b.txt"}));
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(model.At(2)->Size, 20u);
  EXPECT_EQ(model.At(3)->Size, 10u);
  // As many entries, one of them another: found by name, the one gone is gone.
  moved = readAnew({{L"..", kDir}, {L"a.txt", kArchive, 20}, {L"c.txt", kArchive, 30}, {L"Sub", kDir}});
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[..]", L"Sub", L"a.txt", L"c.txt"}));
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{0, 1, 2, FolderModel::kGoneRow}));
  EXPECT_EQ(model.FileCount(), 2);
}

TEST(FolderModel, TypeToFindMatchesWholeOrBeginningFromTheStartRowAndWraps) {
  FolderModel model;
  List(model, L"C:\\t\\", {{L"Alpha", kArchive}, {L"beta", kArchive}, {L"Alphabet", kArchive}});
  EXPECT_EQ(model.FindCaption(L"ALPHA", 0, false, false, SameIgnoringAsciiCase), 0);
  EXPECT_EQ(model.FindCaption(L"alpha", 1, false, false, SameIgnoringAsciiCase), -1);
  EXPECT_EQ(model.FindCaption(L"alpha", 1, false, true, SameIgnoringAsciiCase), 0);
  EXPECT_EQ(model.FindCaption(L"alph", 1, true, false, SameIgnoringAsciiCase), 1);
  EXPECT_EQ(model.FindCaption(L"BETA", 0, true, false, SameIgnoringAsciiCase), 2);  // the whole name begins with itself
  EXPECT_EQ(model.FindCaption(L"gamma", 0, true, true, SameIgnoringAsciiCase), -1);
}

TEST(FolderModel, BatchesShowTheEntriesAsFoundAndTheEndSortsThemCarryingTheRowsShown) {
  FolderModel model;
  pw::ListingBuilder listing(L"C:\\p\\t\\", model.Options(), kDir);
  model.Begin(L"C:\\p\\t\\", listing.Names());
  for (const FoundEntry& entry : std::vector<FoundEntry>{{L"c.txt", kArchive}, {L"..", kDir}, {L"b", kDir}})
    listing.AddFileItem(entry);
  model.Append(listing.TakeNew(), listing.FileCount(), listing.FolderCount());
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"c.txt", L"[p]", L"b"}));
  EXPECT_EQ(model.FileCount(), 1);
  EXPECT_EQ(model.FolderCount(), 1);
  listing.AddFileItem({L"a.txt", kArchive});
  listing.AddFileItem({L".", kDir});  // not kept, not counted
  model.Append(listing.TakeNew(), listing.FileCount(), listing.FolderCount());
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"c.txt", L"[p]", L"b", L"a.txt"}));
  EXPECT_TRUE(listing.TakeNew().empty());

  // The end comes before the last batch was shown: the rows shown move with their entries.
  listing.AddFileItem({L"0.txt", kArchive});
  const std::vector<std::uint32_t> order = listing.Sort(model.Text());
  const std::vector<std::uint32_t> moved = model.Finish(listing.TakeItems(), order, listing.FileCount(), listing.FolderCount());
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"[p]", L"b", L"0.txt", L"a.txt", L"c.txt"}));
  EXPECT_EQ(moved, (std::vector<std::uint32_t>{4, 0, 1, 3}));
  EXPECT_EQ(model.FileCount(), 3);

  // The user sorts the rows shown by size while the folder lists: at the end every row shown still
  // goes to where its own entry is, whatever order the listing sorted by.
  pw::ListingBuilder again(L"C:\\p\\t\\", model.Options(), kDir);
  model.Begin(L"C:\\p\\t\\", again.Names());
  // In three batches: the rows of later batches are found as the first batch's are.
  for (const FoundEntry& entry : std::vector<FoundEntry>{{L"c.txt", kArchive, 1}, {L"..", kDir}})
    again.AddFileItem(entry);
  model.Append(again.TakeNew(), again.FileCount(), again.FolderCount());
  again.AddFileItem({L"b", kDir});
  model.Append(again.TakeNew(), again.FileCount(), again.FolderCount());
  for (const FoundEntry& entry : std::vector<FoundEntry>{{L"a.txt", kArchive, 3}, {L"e.txt", kArchive, 2}})
    again.AddFileItem(entry);
  model.Append(again.TakeNew(), again.FileCount(), again.FolderCount());
  EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"c.txt", L"[p]", L"b", L"a.txt", L"e.txt"}));
  EXPECT_EQ(model.FindCaption(L"E.TXT", 0, false, false, SameIgnoringAsciiCase), 4);
  EXPECT_EQ(model.FirstEntryRow(), 0);
  EXPECT_EQ(model.At(5), nullptr);
  model.ClickColumn(1);
  model.ClickColumn(1);  // size, largest first
  model.Sort();
  const std::vector<std::wstring> shown = Captions(model);
  ASSERT_EQ(shown, (std::vector<std::wstring>{L"[p]", L"a.txt", L"e.txt", L"c.txt", L"b"}));
  again.AddFileItem({L"d.txt", kArchive, 9});
  const std::vector<std::uint32_t> byName = again.Sort(model.Text());
  const std::vector<std::uint32_t> carried = model.Finish(again.TakeItems(), byName, again.FileCount(), again.FolderCount());
  ASSERT_EQ(carried.size(), shown.size());
  for (std::size_t row = 0; row < shown.size(); ++row)
    EXPECT_EQ(model.At(static_cast<int>(carried[row]))->Caption, shown[row]) << row;
}

TEST(NamePool, ViewsStayValidAcrossBlocksLongNamesAndAdoption) {
  pw::NamePool pool, other;
  std::vector<pw::NameRef> views;
  for (int i = 0; i < 20000; ++i) views.push_back(pool.Add(L"name" + std::to_wstring(i)));
  // Lengths beyond a block, and beyond 16 bits.
  const std::wstring longName(40000, L'x'), longerName(70000, L'y');
  const std::wstring_view longView = other.Add(longName);
  const pw::NameRef longerRef = pool.Add(longerName);
  const std::wstring_view after = other.Add(L"after");
  pool.Adopt(std::move(other));
  const std::wstring_view last = pool.Add(L"last");
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(views[static_cast<size_t>(i)], L"name" + std::to_wstring(i));
  EXPECT_EQ(longView, longName);
  EXPECT_EQ(longerRef.View(), longerName);
  EXPECT_EQ(longerRef.size(), 70000u);
  EXPECT_EQ(after, L"after");
  EXPECT_EQ(last, L"last");
  EXPECT_TRUE(pool.Add(L"").empty());
  EXPECT_EQ(pool.Add(L"").View(), std::wstring_view());
}
