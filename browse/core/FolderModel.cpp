#include "browse/core/FolderModel.h"

#include <algorithm>

#include "browse/core/FileCompare.h"
#include "browse/core/FileText.h"
#include "common/core/PathRules.h"

namespace pw {

void FolderModel::ClickColumn(int column) {
  if (column == options_.SortColumn) {
    options_.SortAscending = !options_.SortAscending;
  } else {
    options_.SortColumn = column;
    options_.SortAscending = true;
  }
}

void FolderModel::Begin(const std::wstring& listedFolder, std::shared_ptr<NamePool> names) {
  items_.clear();
  names_ = std::move(names);
  fileCount_ = folderCount_ = 0;
  text_.ListedFolder = listedFolder;
}

void FolderModel::Append(std::vector<FileItem>&& found, int fileCount, int folderCount) {
  if (items_.empty()) items_ = std::move(found);
  else items_.insert(items_.end(), found.begin(), found.end());
  fileCount_ = fileCount;
  folderCount_ = folderCount;
}

std::vector<std::uint32_t> FolderModel::Finish(std::vector<FileItem>&& sorted, const std::vector<std::uint32_t>& order,
                                                int fileCount, int folderCount) {
  std::vector<std::uint32_t> moved(order.size());
  for (std::uint32_t row = 0; row < order.size(); ++row) moved[order[row]] = row;
  moved.resize(std::min(moved.size(), items_.size()));
  items_ = std::move(sorted);
  fileCount_ = fileCount;
  folderCount_ = folderCount;
  return moved;
}

std::vector<std::uint32_t> FolderModel::Sort() {
  const std::vector<std::uint32_t> order = SortFileItems(items_, options_.SortColumn, options_.SortAscending, text_);
  std::vector<std::uint32_t> moved(order.size());
  for (std::uint32_t row = 0; row < order.size(); ++row) moved[order[row]] = row;
  return moved;
}

std::vector<std::uint32_t> FolderModel::Update(const std::vector<EntryNow>& entries) {
  const bool root = IsDriveRoot(text_.ListedFolder);
  std::vector<bool> leaves(items_.size(), false);
  for (const EntryNow& entry : entries) {
    FileItem* item = At(entry.Row);
    if (!item || item->Kind == ItemKind::Parent || item->Kind == ItemKind::Drives) continue;
    const std::size_t row = static_cast<std::size_t>(entry.Row);
    if (!entry.Found || !KeepsEntry(item->Caption, entry.Found->Attributes, root, options_)) {
      leaves[row] = true;
      continue;
    }
    const FoundEntry& found = *entry.Found;
    item->Attributes = found.Attributes;
    item->Created = found.Created;
    item->Modified = found.Modified;
    item->Accessed = found.Accessed;
    if (item->Kind == ItemKind::File) item->Size = found.Size;
  }
  std::vector<std::uint32_t> moved(items_.size());
  std::size_t kept = 0;
  for (std::size_t row = 0; row < items_.size(); ++row) {
    if (leaves[row]) {
      moved[row] = kGoneRow;
      if (items_[row].Kind == ItemKind::File) --fileCount_;
      else --folderCount_;
      continue;
    }
    moved[row] = static_cast<std::uint32_t>(kept);
    if (kept != row) items_[kept] = items_[row];
    ++kept;
  }
  items_.resize(kept);
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
