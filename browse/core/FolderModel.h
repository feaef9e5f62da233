#pragma once
// The model of the folder list: the entries of the listed folder, row by row as the list shows
// them, with the view options that decide which found entries are kept and in which order. The
// list view only shows it; every handler reads and changes the list through it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browse/core/FileItem.h"
#include "browse/core/FolderChanges.h"
#include "browse/core/ListingBuilder.h"
#include "browse/core/NamePool.h"

namespace pw {

class FolderModel {
public:
  // Whether two captions are the same for the user: letter case ignored as the file system does.
  using SameText = std::function<bool(std::wstring_view, std::wstring_view)>;

  // ---- View options --------------------------------------------------------------------------
  const ListingOptions& Options() const { return options_; }
  std::uint32_t AttrMask() const { return options_.AttrMask; }
  void SetAttrMask(std::uint32_t mask) { options_.AttrMask = mask; }
  bool HideFolders() const { return options_.HideFolders; }
  void SetHideFolders(bool hide) { options_.HideFolders = hide; }
  int SortColumn() const { return options_.SortColumn; }
  bool SortAscending() const { return options_.SortAscending; }
  // A click on a column: the sorted column turns its direction, another column sorts ascending.
  void ClickColumn(int column);

  // ---- A listing -----------------------------------------------------------------------------
  // Starts showing the listing of a folder (with its trailing backslash): no entries and no counts
  // yet. Its items will point into `names`, which the model shares from now on.
  void Begin(const std::wstring& listedFolder, std::shared_ptr<NamePool> names);
  const std::wstring& ListedFolder() const { return text_.ListedFolder; }
  // Entries of the running listing in the order found, and its counts so far.
  void Append(std::vector<FileItem>&& found, int fileCount, int folderCount);
  // The listing has ended: the whole of it, sorted, with order[new place] = place found. Returns
  // where each row shown so far went (moved[row] = new row), so that the selection follows, also
  // when the rows shown were sorted by another column meanwhile.
  std::vector<std::uint32_t> Finish(std::vector<FileItem>&& sorted, const std::vector<std::uint32_t>& order,
                                    int fileCount, int folderCount);
  // Puts the rows in the order of the sort column and direction. Returns where each row went:
  // moved[old row] = new row, so that the list's selection can follow its entries.
  std::vector<std::uint32_t> Sort();

  // ---- Entries read again ------------------------------------------------------------------
  // What one row's entry holds now on disk, or nothing when it is gone.
  struct EntryNow {
    int Row = -1;
    std::optional<FoundEntry> Found;  // its name is the row's own; only the values are read
  };
  static constexpr std::uint32_t kGoneRow = 0xFFFFFFFFu;
  // Puts each entry's new values in its row, keeping the order of the rows as it is (as a list
  // edited in place does, even when the sort column's values changed); an entry that is gone or
  // that the view no longer keeps leaves the list. Returns moved[old row] = new row, or kGoneRow.
  std::vector<std::uint32_t> Update(const std::vector<EntryNow>& entries);

  // ---- Changes on disk while the folder is shown ---------------------------------------------
  // Merges what changed: an entry still there takes its new values in its row, the rows keeping
  // their places as after an edit; one gone, or one the view no longer keeps, leaves; a new one
  // the view keeps goes to its place in the sort order, and so does a renamed entry's row. Returns
  // moved[old row] = new row, or kGoneRow, so that the selection and the focus follow.
  std::vector<std::uint32_t> Merge(FolderChanges&& changes);
  // The folder read anew while it was shown (its changes were too many to tell one by one): the
  // rows become that listing, sorted by `sortedBy` and put in the view's order when that differs;
  // when it holds just the entries shown, they only take their new values, in their rows. Returns
  // where each old row's entry is now, or kGoneRow.
  std::vector<std::uint32_t> Replace(std::vector<FileItem>&& sorted, const ListingOptions& sortedBy,
                                     std::shared_ptr<NamePool> names, int fileCount, int folderCount);

  // ---- Reading -------------------------------------------------------------------------------
  std::size_t Count() const { return items_.size() + arrivingCount_; }
  bool Empty() const { return Count() == 0; }
  // Nothing for a row outside the list.
  const FileItem* At(int row) const;
  FileItem* At(int row);
  int FileCount() const { return fileCount_; }
  int FolderCount() const { return folderCount_; }
  // What the texts of the rows are made with: the listed folder, the user's formats, the zone.
  FileTextContext& Text() { return text_; }
  const FileTextContext& Text() const { return text_; }
  // Sub-items 0..7 of a row (File-list item); empty outside the list.
  std::wstring SubText(int row, int subItem) const;
  std::wstring Path(int row) const { return SubText(row, SubPath); }
  // The first row of the folder's own entries: the parent and drives entries stand before it.
  int FirstEntryRow() const;

  // Type-to-find and the search for a caption: the first row from `start` on whose caption is
  // `text` (or begins with it, when partial), going round to the top when wrap; -1 when none is.
  int FindCaption(std::wstring_view text, int start, bool partial, bool wrap, const SameText& same) const;

private:
  void CountKinds();
  // The rows of a running listing joined to the others, before anything that moves rows.
  void Settle();

  std::vector<FileItem> items_;
  // The batches of a running listing after items_, each as it came: taking a batch never moves
  // the rows taken before (a vector of a million rows growing would keep the window waiting).
  struct Batch {
    std::size_t First = 0;  // its first row
    std::vector<FileItem> Items;
  };
  std::vector<Batch> arriving_;
  std::size_t arrivingCount_ = 0;
  // While a listing runs: the place each row's entry was found at, which the rows no longer follow
  // once the user sorts them.
  std::vector<std::uint32_t> found_;
  std::shared_ptr<NamePool> names_;
  FileTextContext text_;
  int fileCount_ = 0, folderCount_ = 0;
  ListingOptions options_;
};

}  // namespace pw
