#include "browse/core/FolderModel.h"

#include "browse/core/FileCompare.h"
#include "browse/core/FileText.h"
#include "browse/core/ListingRules.h"

namespace pw {

void FolderModel::ClickColumn(int column) {
  if (column == sortColumn_) {
    sortAscending_ = !sortAscending_;
  } else {
    sortColumn_ = column;
    sortAscending_ = true;
  }
}

void FolderModel::Begin(const std::wstring& listedFolder, std::int32_t upIcon) {
  items_.clear();
  names_.Clear();
  fileCount_ = folderCount_ = 0;
  text_.ListedFolder = listedFolder;
  root_ = IsDriveRoot(listedFolder);
  if (root_) {
    FileItem& drives = items_.emplace_back();
    drives.Caption = L"[Drives]";
    drives.Kind = ItemKind::Drives;
    drives.IconIndex = upIcon;
  }
}

bool FolderModel::Keeps(std::wstring_view name, std::uint32_t attributes) const {
  if (name == L".") return false;
  if (attributes & AttrDirectory) return !(name == L".." && root_) && !hideFolders_;
  return PassesAttributeFilter(attributes, attrMask_);
}

FileItem& FolderModel::Add(const FoundEntry& found, std::uint32_t folderAttributes, std::int32_t upIcon) {
  FileItem& item = items_.emplace_back();
  item.Created = found.Created;
  item.Modified = found.Modified;
  item.Accessed = found.Accessed;
  if (found.Name == L"..") {
    item.Kind = ItemKind::Parent;
    item.Caption = names_.Add(ParentCaption(text_.ListedFolder));
    item.Attributes = folderAttributes;
    item.IconIndex = upIcon;
  } else if (found.Attributes & AttrDirectory) {
    item.Kind = ItemKind::Folder;
    item.Caption = names_.Add(found.Name);
    item.Attributes = found.Attributes;
    ++folderCount_;
  } else {
    item.Kind = ItemKind::File;
    item.Caption = names_.Add(found.Name);
    item.Attributes = found.Attributes;
    item.Size = found.Size;
    ++fileCount_;
  }
  return item;
}

std::vector<std::uint32_t> FolderModel::Sort() {
  const std::vector<std::uint32_t> order = SortFileItems(items_, sortColumn_, sortAscending_, text_);
  std::vector<std::uint32_t> moved(order.size());
  for (std::uint32_t row = 0; row < order.size(); ++row) moved[order[row]] = row;
  return moved;
}

const FileItem* FolderModel::At(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= items_.size()) return nullptr;
  return &items_[static_cast<std::size_t>(row)];
}

FileItem* FolderModel::At(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= items_.size()) return nullptr;
  return &items_[static_cast<std::size_t>(row)];
}

std::wstring FolderModel::SubText(int row, int subItem) const {
  const FileItem* item = At(row);
  return item ? ItemSubText(*item, subItem, text_) : std::wstring();
}

int FolderModel::FirstEntryRow() const {
  int row = 0;
  while (static_cast<std::size_t>(row) < items_.size() &&
         (items_[static_cast<std::size_t>(row)].Kind == ItemKind::Parent ||
          items_[static_cast<std::size_t>(row)].Kind == ItemKind::Drives))
    ++row;
  return row;
}

EntryKey FolderModel::KeyOf(int row) const {
  const FileItem* item = At(row);
  return item ? EntryKey{item->Kind, std::wstring(item->Caption)} : EntryKey{};
}

int FolderModel::RowOf(const EntryKey& key) const {
  for (std::size_t row = 0; row < items_.size(); ++row)
    if (items_[row].Kind == key.Kind && items_[row].Caption == key.Caption) return static_cast<int>(row);
  return -1;
}

int FolderModel::FindCaption(std::wstring_view text, int start, bool partial, bool wrap, const SameText& same) const {
  const int count = static_cast<int>(items_.size());
  if (count == 0) return -1;
  if (start < 0 || start >= count) start = 0;
  for (int n = 0; n < count; ++n) {
    int row = start + n;
    if (row >= count) {
      if (!wrap) break;
      row -= count;
    }
    const std::wstring_view caption = items_[static_cast<std::size_t>(row)].Caption;
    if (partial ? caption.size() < text.size() : caption.size() != text.size()) continue;
    if (same(caption.substr(0, text.size()), text)) return row;
  }
  return -1;
}

}  // namespace pw
