#pragma once
// The model of the folder list: the entries of the listed folder, row by row as the list shows
// them, with the view options that decide which found entries are kept and in which order. The
// list view only shows it; every handler reads and changes the list through it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "browse/core/FileItem.h"
#include "browse/core/NamePool.h"

namespace pw {

// One entry as the enumeration reports it.
struct FoundEntry {
  std::wstring_view Name;
  std::uint32_t Attributes = 0;
  std::uint64_t Size = 0;
  std::uint64_t Created = 0, Modified = 0, Accessed = 0;  // UTC file times
};

// An entry's identity within one folder: names are unique in a folder, and the parent and drives
// entries have kinds of their own, so a file that carries the parent entry's caption is still
// another entry.
struct EntryKey {
  ItemKind Kind = ItemKind::File;
  std::wstring Caption;
  friend bool operator==(const EntryKey&, const EntryKey&) = default;
};

class FolderModel {
public:
  // Whether two captions are the same for the user: letter case ignored as the file system does.
  using SameText = std::function<bool(std::wstring_view, std::wstring_view)>;

  // ---- View options --------------------------------------------------------------------------
  // The attribute filter: the OR of the checked attribute bits (read-only 1, hidden 2, system 4,
  // archive 32, normal 128).
  std::uint32_t AttrMask() const { return attrMask_; }
  void SetAttrMask(std::uint32_t mask) { attrMask_ = mask; }
  bool HideFolders() const { return hideFolders_; }
  void SetHideFolders(bool hide) { hideFolders_ = hide; }
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }
  // A click on a column: the sorted column turns its direction, another column sorts ascending.
  void ClickColumn(int column);

  // ---- A listing -----------------------------------------------------------------------------
  // Starts listing a folder (with its trailing backslash): no entries and no counts, and in a
  // drive root the drives entry with the given icon.
  void Begin(const std::wstring& listedFolder, std::int32_t upIcon);
  const std::wstring& ListedFolder() const { return text_.ListedFolder; }
  bool IsRoot() const { return root_; }
  // Whether a found entry is listed: never ".", ".." only below a drive root, folders unless they
  // are hidden, files by the attribute filter.
  bool Keeps(std::wstring_view name, std::uint32_t attributes) const;
  // Adds a kept entry and counts it. ".." becomes the parent entry, with the attributes of the
  // listed folder itself and the given icon; the caller gives the others their type and icon.
  FileItem& Add(const FoundEntry& found, std::uint32_t folderAttributes, std::int32_t upIcon);
  // Puts the rows in the order of the sort column and direction. Returns where each row went:
  // moved[old row] = new row, so that the list's selection can follow its entries.
  std::vector<std::uint32_t> Sort();

  // ---- Reading -------------------------------------------------------------------------------
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
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

  EntryKey KeyOf(int row) const;
  // The row of the entry with that key, or -1.
  int RowOf(const EntryKey& key) const;
  // Type-to-find and the search for a caption: the first row from `start` on whose caption is
  // `text` (or begins with it, when partial), going round to the top when wrap; -1 when none is.
  int FindCaption(std::wstring_view text, int start, bool partial, bool wrap, const SameText& same) const;

private:
  std::vector<FileItem> items_;
  NamePool names_;
  FileTextContext text_;
  bool root_ = false;
  int fileCount_ = 0, folderCount_ = 0;
  std::uint32_t attrMask_ = 0xA7;
  bool hideFolders_ = false;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
};

}  // namespace pw
