#pragma once
// One listing of a folder as it is built, away from the window: the found entries that the view
// keeps, as list items with their names in a pool of the listing's own, counted, handed over in
// batches as they come, and sorted once at the end.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "browse/core/FileCompare.h"
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

// The view options a listing follows.
struct ListingOptions {
  // The attribute filter: the OR of the checked attribute bits (read-only 1, hidden 2, system 4,
  // archive 32, normal 128).
  std::uint32_t AttrMask = 0xA7;
  bool HideFolders = false;
  int SortColumn = 0;
  bool SortAscending = true;
};

// Whether a found entry is listed: never ".", ".." only below a drive root, folders unless they are
// hidden, files by the attribute filter.
bool KeepsEntry(std::wstring_view name, std::uint32_t attributes, bool root, const ListingOptions& options);

class ListingBuilder {
public:
  // A listing of the folder (with its trailing backslash); a drive root's starts with the drives
  // entry. folderAttributes are the listed folder's own, which the parent entry shows.
  ListingBuilder(const std::wstring& listedFolder, const ListingOptions& options, std::uint32_t folderAttributes);

  // Adds the entry when the view keeps it, and counts it; nothing otherwise. ".." becomes the parent
  // entry. The caller gives files and folders their type and icon.
  FileItem* AddFileItem(const FoundEntry& found);
  // Copies of the items added since the last call, in the order found.
  std::vector<FileItem> TakeNew();
  std::size_t Count() const { return items_.size(); }
  int FileCount() const { return fileCount_; }
  int FolderCount() const { return folderCount_; }

  // Hands the items added since the last call to a sort that runs beside the listing (for the
  // columns it serves, on a thread `runner` gives), so that little is left to sort at the end.
  void SortSoFar(const RunningSort::Runner& runner = {});
  // Sorts every item by the options' column and direction; returns order[new place] = place found.
  std::vector<std::uint32_t> Sort(const FileTextContext& text);
  // The items, for the model to keep once the listing has ended.
  std::vector<FileItem> TakeItems() { return std::move(items_); }
  // The names the items point into; the model shares them.
  const std::shared_ptr<NamePool>& Names() const { return names_; }
  // Lets go of the names once the model has them: a listing that goes on watching its folder
  // keeps no second hold on a million names.
  void LetGoOfNames() { names_.reset(); }

private:
  std::wstring listedFolder_;
  ListingOptions options_;
  std::uint32_t folderAttributes_;
  bool root_;
  std::vector<FileItem> items_;
  std::shared_ptr<NamePool> names_ = std::make_shared<NamePool>();
  std::size_t handedOver_ = 0;
  std::size_t sorted_ = 0;  // items handed to the running sort
  std::unique_ptr<RunningSort> running_;
  int fileCount_ = 0, folderCount_ = 0;
};

}  // namespace pw
