#include "browse/core/ListingBuilder.h"

#include "browse/core/FileCompare.h"
#include "browse/core/FolderChanges.h"
#include "browse/core/FileText.h"
#include "browse/core/ListingRules.h"
#include "common/core/PathRules.h"

#include <utility>

namespace pw {

bool KeepsEntry(std::wstring_view name, std::uint32_t attributes, bool root, const ListingOptions& options) {
  if (name == L".") return false;
  if (attributes & AttrDirectory) return !(name == L".." && root) && !options.HideFolders;
  return PassesAttributeFilter(attributes, options.AttrMask);
}

ListingBuilder::ListingBuilder(const std::wstring& listedFolder, const ListingOptions& options,
                               std::uint32_t folderAttributes)
    : listedFolder_(listedFolder), options_(options), folderAttributes_(folderAttributes),
      root_(IsDriveRoot(listedFolder)) {
  if (root_) {
    FileItem& drives = items_.emplace_back();
    drives.Caption = names_->Add(L"[Drives]");
    drives.Kind = ItemKind::Drives;
    drives.IconIndex = kUpIcon;
  }
}

FileItem MakeEntryItem(const FoundEntry& found, NamePool& names) {
  FileItem item;
  item.Created = found.Created;
  item.Modified = found.Modified;
  item.Accessed = found.Accessed;
  item.Caption = names.Add(found.Name);
  item.Attributes = found.Attributes;
  if (found.Attributes & AttrDirectory) {
    item.Kind = ItemKind::Folder;
  } else {
    item.Kind = ItemKind::File;
    item.Size = found.Size;
  }
  return item;
}

FileItem* ListingBuilder::AddFileItem(const FoundEntry& found) {
  if (!KeepsEntry(found.Name, found.Attributes, root_, options_)) return nullptr;
  if (found.Name == L"..") {
    FileItem& item = items_.emplace_back();
    item.Created = found.Created;
    item.Modified = found.Modified;
    item.Accessed = found.Accessed;
    item.Kind = ItemKind::Parent;
    item.Caption = names_->Add(ParentCaption(listedFolder_));
    item.Attributes = folderAttributes_;
    item.IconIndex = kUpIcon;
    return &item;
  }
  FileItem& item = items_.emplace_back(MakeEntryItem(found, *names_));
  if (item.Kind == ItemKind::Folder) ++folderCount_;
  else ++fileCount_;
  return &item;
}

std::vector<FileItem> ListingBuilder::TakeNew() {
  std::vector<FileItem> batch(items_.begin() + static_cast<std::ptrdiff_t>(handedOver_), items_.end());
  handedOver_ = items_.size();
  return batch;
}

void ListingBuilder::SortSoFar(const RunningSort::Runner& runner) {
  // Runs of a few thousand: a small folder is sorted at its end, with no thread of its own.
  constexpr std::size_t kShortestRun = 8192;
  if (!RunningSort::Serves(options_.SortColumn) || items_.size() - sorted_ < kShortestRun) return;
  if (!running_) running_ = std::make_unique<RunningSort>(options_.SortColumn, options_.SortAscending, runner);
  running_->Add(items_.data() + sorted_, static_cast<std::uint32_t>(sorted_), items_.size() - sorted_);
  sorted_ = items_.size();
}

std::vector<std::uint32_t> ListingBuilder::Sort(const FileTextContext& text) {
  if (running_) return std::exchange(running_, nullptr)->Finish(items_);
  return SortFileItems(items_, options_.SortColumn, options_.SortAscending, text);
}

}  // namespace pw
