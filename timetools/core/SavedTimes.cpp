#include "timetools/core/SavedTimes.h"

#include <algorithm>
#include <unordered_map>

#include "common/core/CaselessText.h"
#include "common/core/PathRules.h"

namespace pw {
namespace {

std::size_t Depth(std::wstring_view path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), L'\\')); }

// A folder's entries by their names, letter case folded as the file system compares them.
struct FolderNames {
  FsError Error = kFsOk;
  std::unordered_map<std::wstring, FolderChild> ByName;
};

// Reads each folder once, however many entries of it are looked up; the entries of one folder
// come one after another, so the folder last looked in is kept at hand.
class Folders {
public:
  explicit Folders(EditFileSystem& fs) : fs_(fs) {}
  // The entry at `path` as its folder lists it (its name as the folder spells it); nothing when the
  // folder holds none of that name, with the folder's error when it could not be read.
  const FolderChild* Find(const std::wstring& path, FsError& error) {
    const std::size_t split = path.find_last_of(L'\\');
    const std::wstring_view folder = std::wstring_view(path).substr(0, split == std::wstring::npos ? 0 : split + 1);
    if (!current_ || folder != lastFolder_) {
      lastFolder_.assign(folder);
      const std::wstring key = PathKey(folder);
      auto at = read_.find(key);
      if (at == read_.end()) at = read_.emplace(key, Read(lastFolder_)).first;
      current_ = &at->second;
    }
    error = current_->Error;
    name_ = PathKey(std::wstring_view(path).substr(folder.size()));
    const auto found = current_->ByName.find(name_);
    return found == current_->ByName.end() ? nullptr : &found->second;
  }

private:
  FolderNames Read(std::wstring folder) {
    FolderNames names;
    std::vector<FolderChild> children;
    if (folder.size() > 1 && folder.back() == L'\\' && !IsDriveRoot(folder)) folder.pop_back();
    names.Error = fs_.ReadFolder(folder, children);
    for (FolderChild& child : children) names.ByName.emplace(PathKey(child.Name), std::move(child));
    return names;
  }

  EditFileSystem& fs_;
  std::unordered_map<std::wstring, FolderNames> read_;
  std::wstring lastFolder_, name_;
  FolderNames* current_ = nullptr;
};

bool IsFolderInfo(const EntryInfo& info) { return (info.Attributes & kDirectoryAttribute) != 0; }

}  // namespace

std::optional<std::wstring> PathUnder(std::wstring_view folder, std::wstring_view path) {
  // Compared as the file system compares names, without making a folded copy of either: a run
  // asks this of every entry.
  const auto same = [](wchar_t a, wchar_t b) {
    return FoldAscii(a == L'/' ? L'\\' : a) == FoldAscii(b == L'/' ? L'\\' : b);
  };
  while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/') && !IsDriveRoot(folder))
    folder.remove_suffix(1);
  if (folder.empty() || path.size() <= folder.size()) return std::nullopt;
  for (std::size_t i = 0; i < folder.size(); ++i)
    if (!same(folder[i], path[i])) return std::nullopt;
  std::wstring_view relative = path.substr(folder.size());
  const bool atName = folder.back() == L'\\' || folder.back() == L'/' || relative.front() == L'\\' ||
                      relative.front() == L'/';
  if (!atName) return std::nullopt;
  while (!relative.empty() && (relative.front() == L'\\' || relative.front() == L'/')) relative.remove_prefix(1);
  while (!relative.empty() && (relative.back() == L'\\' || relative.back() == L'/')) relative.remove_suffix(1);
  if (relative.empty()) return std::nullopt;
  return std::wstring(relative);
}

std::optional<SavedTimes> SaveTimes(const std::vector<BatchEntry>& entries, const std::wstring& listedFolder,
                                    EditFileSystem& fs, const BatchProgress& progress) {
  SavedTimes saved;
  saved.Bytes.reserve(256 + entries.size() * 160);  // about a row's length, grown from there if need be
  AppendTimesHeader(saved.Bytes);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (progress && !progress(i, entries.size())) return std::nullopt;
    const BatchEntry& entry = entries[i];
    const std::optional<std::wstring> relative = PathUnder(listedFolder, entry.Path);
    if (!relative) {
      saved.Left.push_back({entry.Path, L"the listed folder itself is not saved, only what lies inside it"});
      continue;
    }
    EntryInfo info = entry.Known;
    if (entry.IsFolder && fs.ReadInfo(entry.Path, info) != kFsOk) info = entry.Known;
    const auto time = [](std::uint64_t t) { return t ? std::optional(t) : std::nullopt; };
    const TimesRow row{.Path = *relative, .IsFolder = entry.IsFolder, .Created = time(info.Created),
                       .LastWrite = time(info.LastWrite), .LastAccess = time(info.LastAccess),
                       .Attributes = info.Attributes};
    if (const std::optional<std::wstring> fault = AppendTimesRow(saved.Bytes, row)) {
      saved.Left.push_back({entry.Path, L"not saved: " + *fault});
      continue;
    }
    ++saved.Rows;
  }
  if (progress) progress(entries.size(), entries.size());
  return saved;
}

std::optional<std::vector<RestorePlan>> PlanFromSaved(const std::vector<TimesRow>& rows,
                                                      const std::wstring& listedFolder, EditFileSystem& fs,
                                                      const BatchProgress& progress) {
  std::vector<RestorePlan> plans;
  plans.reserve(rows.size());
  Folders folders(fs);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (progress && !progress(i, rows.size())) return std::nullopt;
    const TimesRow& row = rows[i];
    const std::wstring path = JoinPath(listedFolder, row.Path);
    RestorePlan plan{.Entry = {path, row.IsFolder}, .Note = {}, .Error = kFsOk};
    FsError error = kFsOk;
    const FolderChild* found = folders.Find(path, error);
    if (!found) {
      plan.Note = error == kFsOk ? L"no such entry here" : L"its folder could not be read";
      plan.Error = error;
    } else if (IsFolderInfo(found->Info) != row.IsFolder) {
      plan.Note = row.IsFolder ? L"a file here, a folder when saved" : L"a folder here, a file when saved";
    } else {
      // The name as the folder spells it now: the row's letter case may differ.
      plan.Entry = BatchEntry{JoinPath(ParentFolderPath(path), found->Name), row.IsFolder, found->Info};
      plan.Entry.Planned = EntryInfo{row.Attributes, row.Created.value_or(0), row.LastAccess.value_or(0),
                                     row.LastWrite.value_or(0)};
    }
    plans.push_back(std::move(plan));
  }
  if (progress) progress(rows.size(), rows.size());
  return plans;
}

std::optional<std::vector<RestorePlan>> PlanFromFolder(const std::vector<BatchEntry>& entries,
                                                       const std::wstring& listedFolder, const std::wstring& source,
                                                       EditFileSystem& fs, const BatchProgress& progress) {
  std::vector<RestorePlan> plans;
  plans.reserve(entries.size());
  Folders folders(fs);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (progress && !progress(i, entries.size())) return std::nullopt;
    RestorePlan plan{.Entry = entries[i], .Note = {}, .Error = kFsOk};
    const std::optional<std::wstring> relative = PathUnder(listedFolder, plan.Entry.Path);
    FsError error = kFsOk;
    const FolderChild* counterpart = relative ? folders.Find(JoinPath(source, *relative), error) : nullptr;
    if (!relative) {
      plan.Note = L"the listed folder itself has no counterpart";
    } else if (!counterpart) {
      plan.Note = error == kFsOk ? L"nothing of that name in the source" : L"its folder in the source could not be read";
      plan.Error = error;
    } else if (IsFolderInfo(counterpart->Info) != plan.Entry.IsFolder) {
      plan.Note = plan.Entry.IsFolder ? L"a file of that name in the source" : L"a folder of that name in the source";
    } else {
      plan.Entry.Planned = counterpart->Info;
    }
    plans.push_back(std::move(plan));
  }
  if (progress) progress(entries.size(), entries.size());
  return plans;
}

bool PlanChanges(const EntryInfo& now, const EntryInfo& planned, TimeFields fields, bool attributes) {
  const auto differs = [](bool chosen, std::uint64_t to, std::uint64_t is) { return chosen && to != 0 && to != is; };
  return differs(fields.Created, planned.Created, now.Created) ||
         differs(fields.LastWrite, planned.LastWrite, now.LastWrite) ||
         differs(fields.LastAccess, planned.LastAccess, now.LastAccess) ||
         (attributes && ChosenAttributeWord(now.Attributes, planned.Attributes) != SettableAttributeWord(now.Attributes));
}

void InsideFirst(std::vector<BatchEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const BatchEntry& a, const BatchEntry& b) { return Depth(a.Path) > Depth(b.Path); });
}

}  // namespace pw
