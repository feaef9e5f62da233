#include "browse/core/FolderModel.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <utility>

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
  items_ = std::vector<FileItem>();  // not {}: that would keep the capacity
  arriving_.clear();
  arrivingCount_ = 0;
  found_.clear();
  names_ = std::move(names);
  fileCount_ = folderCount_ = 0;
  text_.ListedFolder = listedFolder;
}

void FolderModel::Append(std::vector<FileItem>&& found, int fileCount, int folderCount) {
  const std::size_t before = found_.size();
  found_.resize(before + found.size());
  std::iota(found_.begin() + static_cast<std::ptrdiff_t>(before), found_.end(), static_cast<std::uint32_t>(before));
  if (!found.empty()) {
    if (Empty()) {
      items_ = std::move(found);
    } else {
      const std::size_t count = found.size();
      arriving_.push_back({Count(), std::move(found)});
      arrivingCount_ += count;
    }
  }
  fileCount_ = fileCount;
  folderCount_ = folderCount;
}

std::vector<std::uint32_t> FolderModel::Finish(std::vector<FileItem>&& sorted, const std::vector<std::uint32_t>& order,
                                                int fileCount, int folderCount) {
  std::vector<std::uint32_t> placeOfFound(order.size());
  for (std::uint32_t row = 0; row < order.size(); ++row) placeOfFound[order[row]] = row;
  std::vector<std::uint32_t> moved(Count(), kGoneRow);
  for (std::size_t row = 0; row < moved.size() && row < found_.size(); ++row)
    if (found_[row] < placeOfFound.size()) moved[row] = placeOfFound[found_[row]];
  found_ = std::vector<std::uint32_t>();
  arriving_.clear();
  arrivingCount_ = 0;
  items_ = std::move(sorted);
  fileCount_ = fileCount;
  folderCount_ = folderCount;
  return moved;
}

void FolderModel::Settle() {
  if (arriving_.empty()) return;
  items_.reserve(Count());
  for (Batch& batch : arriving_) items_.insert(items_.end(), batch.Items.begin(), batch.Items.end());
  arriving_.clear();
  arrivingCount_ = 0;
}

std::vector<std::uint32_t> FolderModel::Sort() {
  Settle();
  const std::vector<std::uint32_t> order = SortFileItems(items_, options_.SortColumn, options_.SortAscending, text_);
  std::vector<std::uint32_t> moved(order.size());
  for (std::uint32_t row = 0; row < order.size(); ++row) moved[order[row]] = row;
  if (!found_.empty()) {
    std::vector<std::uint32_t> found(found_.size());
    for (std::uint32_t row = 0; row < order.size() && order[row] < found_.size(); ++row) found[row] = found_[order[row]];
    found_ = std::move(found);
  }
  return moved;
}

std::vector<std::uint32_t> FolderModel::Update(const std::vector<EntryNow>& entries) {
  Settle();
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

std::vector<std::uint32_t> FolderModel::Merge(FolderChanges&& changes) {
  Settle();
  const bool root = IsDriveRoot(text_.ListedFolder);
  // The rows of the changed names, found in one pass over the rows: a batch is small beside a
  // folder of 100,000 entries, which is not indexed for it.
  std::unordered_map<std::wstring_view, std::uint32_t> rowOf;
  rowOf.reserve(changes.Present.size() + changes.Gone.size());
  for (const FileItem& item : changes.Present) rowOf.emplace(item.Caption, kGoneRow);
  for (std::wstring_view name : changes.Gone) rowOf.emplace(name, kGoneRow);
  for (std::size_t row = 0; row < items_.size(); ++row) {
    if (items_[row].Kind != ItemKind::File && items_[row].Kind != ItemKind::Folder) continue;
    if (const auto found = rowOf.find(items_[row].Caption); found != rowOf.end())
      found->second = static_cast<std::uint32_t>(row);
  }
  const auto find = [&rowOf](std::wstring_view name) {
    const auto found = rowOf.find(name);
    return found == rowOf.end() ? kGoneRow : found->second;
  };

  std::vector<bool> leaves(items_.size(), false);
  for (std::wstring_view name : changes.Gone)
    if (const std::uint32_t row = find(name); row != kGoneRow) leaves[row] = true;
  std::vector<FileItem> arrivals;
  for (const FileItem& now : changes.Present) {
    const std::uint32_t row = find(now.Caption);
    const bool kept = KeepsEntry(now.Caption, now.Attributes, root, options_);
    if (row == kGoneRow) {
      if (kept) arrivals.push_back(now);
      continue;
    }
    leaves[row] = !kept;  // also an entry gone and back under its name
    if (!kept) continue;
    const NameRef caption = items_[row].Caption;
    items_[row] = now;
    items_[row].Caption = caption;
  }
  // A renamed entry's old row goes where its new name lands.
  std::unordered_map<std::wstring_view, std::uint32_t> renamedFrom;
  for (const auto& [from, to] : changes.Renamed)
    if (const std::uint32_t row = find(from); row != kGoneRow && leaves[row]) renamedFrom[to] = row;

  SortFileItems(arrivals, options_.SortColumn, options_.SortAscending, text_);
  std::vector<std::uint32_t> moved(items_.size(), kGoneRow);
  std::vector<FileItem> merged;
  merged.reserve(items_.size() + arrivals.size());
  const auto arrive = [&](const FileItem& item) {
    if (const auto from = renamedFrom.find(item.Caption); from != renamedFrom.end())
      moved[from->second] = static_cast<std::uint32_t>(merged.size());
    merged.push_back(item);
  };
  std::size_t next = 0;
  for (std::size_t row = 0; row < items_.size(); ++row) {
    if (leaves[row]) continue;
    // Each new entry goes before the first staying row that sorts after it.
    while (next < arrivals.size() &&
           CompareFileItems(arrivals[next], items_[row], options_.SortColumn, options_.SortAscending, text_) < 0)
      arrive(arrivals[next++]);
    moved[row] = static_cast<std::uint32_t>(merged.size());
    merged.push_back(items_[row]);
  }
  while (next < arrivals.size()) arrive(arrivals[next++]);
  items_ = std::move(merged);
  if (!names_) names_ = std::make_shared<NamePool>();
  names_->Adopt(std::move(*changes.Names));
  CountKinds();
  return moved;
}

std::vector<std::uint32_t> FolderModel::Replace(std::vector<FileItem>&& sorted, const ListingOptions& sortedBy,
                                                std::shared_ptr<NamePool> names, int fileCount, int folderCount) {
  Settle();
  fileCount_ = fileCount;
  folderCount_ = folderCount;
  // Read anew in the order shown, with the same entries (a run that changed only their values):
  // each row takes its new values where it is. One walk, where finding every row by its name took
  // the window a few hundred milliseconds for 100,000 entries, each time a busy folder was re-read.
  const bool sameOrder = sorted.size() == items_.size() && std::equal(
      items_.begin(), items_.end(), sorted.begin(), [](const FileItem& shown, const FileItem& read) {
        return shown.Kind == read.Kind && (shown.Kind == ItemKind::Parent || shown.Kind == ItemKind::Drives ||
                                           shown.Caption == read.Caption);
      });
  if (sameOrder) {
    items_ = std::move(sorted);
    names_ = std::move(names);
    std::vector<std::uint32_t> moved(items_.size());
    for (std::uint32_t row = 0; row < moved.size(); ++row) moved[row] = row;
    return moved;
  }
  // Entries are known by their names; the parent and drives entries by their kinds.
  std::unordered_map<std::wstring_view, std::uint32_t> rowOf;
  std::uint32_t parentRow = kGoneRow, drivesRow = kGoneRow;
  rowOf.reserve(sorted.size());
  for (std::uint32_t row = 0; row < sorted.size(); ++row) {
    if (sorted[row].Kind == ItemKind::Parent) parentRow = row;
    else if (sorted[row].Kind == ItemKind::Drives) drivesRow = row;
    else rowOf.emplace(sorted[row].Caption, row);
  }
  std::vector<std::uint32_t> moved(items_.size(), kGoneRow);
  for (std::size_t row = 0; row < items_.size(); ++row) {
    const FileItem& item = items_[row];
    if (item.Kind == ItemKind::Parent) moved[row] = parentRow;
    else if (item.Kind == ItemKind::Drives) moved[row] = drivesRow;
    else if (const auto found = rowOf.find(item.Caption); found != rowOf.end()) moved[row] = found->second;
  }
  // The same entries as shown, only their values read anew (what the watch reported was all
  // there was): they keep their rows, as values changed in place do.
  const bool sameEntries = sorted.size() == items_.size() &&
                           std::none_of(moved.begin(), moved.end(), [](std::uint32_t row) { return row == kGoneRow; });
  if (sameEntries) {
    for (std::size_t row = 0; row < items_.size(); ++row) items_[row] = sorted[moved[row]];
    names_ = std::move(names);
    for (std::size_t row = 0; row < moved.size(); ++row) moved[row] = static_cast<std::uint32_t>(row);
    return moved;
  }
  items_ = std::move(sorted);
  names_ = std::move(names);
  if (sortedBy.SortColumn != options_.SortColumn || sortedBy.SortAscending != options_.SortAscending) {
    const std::vector<std::uint32_t> again = Sort();
    for (std::uint32_t& row : moved)
      if (row != kGoneRow) row = again[row];
  }
  return moved;
}

void FolderModel::CountKinds() {
  fileCount_ = folderCount_ = 0;
  for (const FileItem& item : items_) {
    if (item.Kind == ItemKind::File) ++fileCount_;
    else if (item.Kind == ItemKind::Folder) ++folderCount_;
  }
}

const FileItem* FolderModel::At(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= Count()) return nullptr;
  const auto at = static_cast<std::size_t>(row);
  if (at < items_.size()) return &items_[at];
  // The last batch that starts at or before the row.
  const auto batch = std::upper_bound(arriving_.begin(), arriving_.end(), at,
                                      [](std::size_t r, const Batch& b) { return r < b.First; }) - 1;
  return &batch->Items[at - batch->First];
}

FileItem* FolderModel::At(int row) { return const_cast<FileItem*>(std::as_const(*this).At(row)); }

std::wstring FolderModel::SubText(int row, int subItem) const {
  const FileItem* item = At(row);
  return item ? ItemSubText(*item, subItem, text_) : std::wstring();
}

int FolderModel::FirstEntryRow() const {
  int row = 0;
  for (const FileItem* item = At(row); item && (item->Kind == ItemKind::Parent || item->Kind == ItemKind::Drives);
       item = At(++row)) {
  }
  return row;
}

int FolderModel::FindCaption(std::wstring_view text, int start, bool partial, bool wrap, const SameText& same) const {
  const int count = static_cast<int>(Count());
  if (count == 0) return -1;
  if (start < 0 || start >= count) start = 0;
  for (int n = 0; n < count; ++n) {
    int row = start + n;
    if (row >= count) {
      if (!wrap) break;
      row -= count;
    }
    const std::wstring_view caption = At(row)->Caption;
    if (partial ? caption.size() < text.size() : caption.size() != text.size()) continue;
    if (same(caption.substr(0, text.size()), text)) return row;
  }
  return -1;
}

}  // namespace pw
