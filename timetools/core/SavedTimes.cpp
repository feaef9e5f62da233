#include "timetools/core/SavedTimes.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "common/core/CaselessText.h"
#include "common/core/PathRules.h"

namespace pw {
namespace {

std::size_t Depth(std::wstring_view path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), L'\\')); }

// The folders a restore looks in below one root, each read once, however many entries of it are
// looked up. A path below the root is followed name by name: each name is taken by its exact
// spelling first, and in another letter case only where that is the one entry of the name (a folder
// with case-sensitive lookup, and every Wine drive, holds "a.txt" and "A.txt" side by side). Every
// folder on the way must be a folder of its own: a link to a folder (a junction, a symbolic link)
// would lead a row anywhere on the disk.
class Tree {
public:
  // What a lookup found: the entry and its path as the folders spell it, or why there is none.
  struct Found {
    const FolderChild* Child = nullptr;
    std::wstring Path;
    bool Exact = true;  // every name found as the path spells it
    std::wstring Note;
    FsError Error = kFsOk;
  };
  // The texts a lookup's failures are told by.
  struct Notes {
    const wchar_t* Missing;
    const wchar_t* Unread;
  };

  Tree(EditFileSystem& fs, std::wstring root, Notes notes) : fs_(fs), root_(std::move(root)), notes_(notes) {
    while (root_.size() > 1 && root_.back() == L'\\' && !IsDriveRoot(root_)) root_.pop_back();
  }
  const std::wstring& Root() const { return root_; }

  Found Find(std::wstring_view relative) {
    // The entries of one folder come one after another: the folder last reached is kept at hand.
    const std::size_t split = relative.find_last_of(L'\\');
    const std::wstring_view folderPart =
        split == std::wstring_view::npos ? std::wstring_view() : relative.substr(0, split);
    const std::wstring_view name = split == std::wstring_view::npos ? relative : relative.substr(split + 1);
    if (!last_ || folderPart != lastPart_) {
      lastPart_.assign(folderPart);
      last_ = Reach(folderPart, lastFound_);
    }
    Found found = lastFound_;
    if (!last_) return found;
    if (last_->Error != kFsOk) return Fail(found, notes_.Unread, last_->Error);
    bool exact = true;
    const FolderChild* child = Lookup(*last_, name, exact);
    if (!child) return Fail(found, exact ? notes_.Missing : kAmbiguous, kFsOk);
    found.Child = child;
    found.Exact = found.Exact && exact;
    found.Path = JoinPath(found.Path, child->Name);
    return found;
  }

private:
  static constexpr const wchar_t* kAmbiguous = L"more than one entry here has that name in another letter case";
  static constexpr std::size_t kMany = static_cast<std::size_t>(-1);

  struct Folder {
    FsError Error = kFsOk;
    std::vector<FolderChild> Children;
    std::unordered_map<std::wstring, std::size_t> Exact;
    std::unordered_map<std::wstring, std::size_t> Folded;  // kMany where letter case alone tells two apart
  };

  static Found& Fail(Found& found, const wchar_t* note, FsError error) {
    found.Child = nullptr;
    found.Note = note;
    found.Error = error;
    return found;
  }

  // The folder at the relative path, found name by name; nothing (and why in `found`) where the
  // way is not there or passes a link.
  Folder* Reach(std::wstring_view folderPart, Found& found) {
    found = Found{.Child = nullptr, .Path = root_, .Exact = true, .Note = {}, .Error = kFsOk};
    Folder* folder = &Read(root_);
    while (!folderPart.empty()) {
      const std::size_t split = folderPart.find(L'\\');
      const std::wstring_view name = folderPart.substr(0, split);
      folderPart = split == std::wstring_view::npos ? std::wstring_view() : folderPart.substr(split + 1);
      if (folder->Error != kFsOk) {
        Fail(found, notes_.Unread, folder->Error);
        return nullptr;
      }
      bool exact = true;
      const FolderChild* child = Lookup(*folder, name, exact);
      if (!child && !exact) {
        Fail(found, kAmbiguous, kFsOk);
        return nullptr;
      }
      if (!child || !(child->Info.Attributes & kDirectoryAttribute)) {
        Fail(found, notes_.Unread, kErrorPathNotFound);
        return nullptr;
      }
      found.Path = JoinPath(found.Path, child->Name);
      found.Exact = found.Exact && exact;
      if (child->Info.Attributes & kReparsePointAttribute) {
        found.Note = L"a link to a folder on the way (" + child->Name + L"), which is not followed";
        return nullptr;
      }
      folder = &Read(found.Path);
    }
    return folder;
  }

  // The entry of that name: by its spelling, or the one entry of it in another letter case; with
  // `exact` false when found in another case, or (nothing found) when two or more would do.
  static const FolderChild* Lookup(const Folder& folder, std::wstring_view name, bool& exact) {
    exact = true;
    if (const auto at = folder.Exact.find(std::wstring(name)); at != folder.Exact.end())
      return &folder.Children[at->second];
    const auto folded = folder.Folded.find(PathKey(name));
    if (folded == folder.Folded.end()) return nullptr;
    exact = false;
    return folded->second == kMany ? nullptr : &folder.Children[folded->second];
  }

  Folder& Read(const std::wstring& path) {
    const auto at = read_.find(path);
    if (at != read_.end()) return at->second;
    Folder& folder = read_[path];
    folder.Error = fs_.ReadFolder(path, folder.Children);
    folder.Exact.reserve(folder.Children.size());
    for (std::size_t i = 0; i < folder.Children.size(); ++i) {
      folder.Exact.emplace(folder.Children[i].Name, i);
      const auto [slot, isNew] = folder.Folded.emplace(PathKey(folder.Children[i].Name), i);
      if (!isNew) slot->second = kMany;
    }
    return folder;
  }

  // The system's "path not found", for a folder on the way that is not there.
  static constexpr FsError kErrorPathNotFound = 3;

  EditFileSystem& fs_;
  std::wstring root_;
  Notes notes_;
  std::unordered_map<std::wstring, Folder> read_;
  std::wstring lastPart_;
  Folder* last_ = nullptr;
  Found lastFound_;
};

// Where the entries of a restore may be written: inside the chosen folder, once every link is
// followed. A link the listing cannot show as one (Wine lists a link to a file as a plain file)
// still shows in where its entry lands.
class Fence {
public:
  Fence(EditFileSystem& fs, const std::wstring& folder) : fs_(fs) {
    std::wstring path = folder;
    if (path.size() > 1 && path.back() == L'\\' && !IsDriveRoot(path)) path.pop_back();
    error_ = fs_.FinalPath(path, EditFileSystem::FinalOf::Contents, final_);
  }
  // Nothing when the entry lands inside; else why it is left alone. An entry that holds what it is
  // planned to get already is never written, whatever times the run chooses: not asked, as asking
  // costs an open of its own (a restore right after a save asks none).
  std::optional<std::wstring> Refuses(const std::wstring& path, const EntryInfo& now, const EntryInfo& planned,
                                      FsError& error) {
    error = kFsOk;
    if (!PlanChanges(now, planned, TimeFields{}, true)) return std::nullopt;
    error = error_;
    if (error_ != kFsOk) return L"where the chosen folder lies could not be told";
    std::wstring final;
    if ((error = fs_.FinalPath(path, EditFileSystem::FinalOf::Entry, final)) != kFsOk)
      return L"where it lies could not be told";
    if (final == final_) return L"it leads to the chosen folder itself";
    if (!FinalPathWithin(final, final_)) return L"it leads outside the chosen folder (" + final + L")";
    return std::nullopt;
  }

private:
  EditFileSystem& fs_;
  std::wstring final_;
  FsError error_ = kFsOk;
};

// Of two or more plans that reached one entry (`keys`: the entry each plan reached, empty where
// none), the one that named it in its own letter case keeps it; the others are left alone: an entry
// is never given two rows' values in turn, and "A.txt" never takes the values "a.txt" has its own
// row for.
void OneRowAnEntry(std::vector<RestorePlan>& plans, const std::vector<std::wstring>& keys,
                   const std::vector<char>& exact, const wchar_t* note) {
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::unordered_map<std::wstring_view, std::size_t> owner;  // the plan that keeps the entry, or kNone
  const auto leave = [&](std::size_t i) {
    if (i == kNone || !plans[i].Entry.Planned) return;
    plans[i].Entry.Planned.reset();
    plans[i].Note = note;
  };
  for (std::size_t i = 0; i < plans.size(); ++i) {
    if (keys[i].empty()) continue;
    const auto [at, isNew] = owner.emplace(keys[i], i);
    if (isNew) continue;
    const std::size_t other = at->second;
    if (other != kNone && exact[other] && !exact[i]) {
      leave(i);
    } else if (other != kNone && exact[i] && !exact[other]) {
      leave(other);
      at->second = i;
    } else {  // both in another letter case: neither is the one
      leave(other);
      leave(i);
      at->second = kNone;
    }
  }
}

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
  std::vector<char> exact(rows.size(), 1);
  std::vector<std::wstring> reached(rows.size());
  Tree tree(fs, listedFolder, {.Missing = L"no such entry here", .Unread = L"its folder could not be read"});
  Fence fence(fs, listedFolder);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (progress && !progress(i, rows.size())) return std::nullopt;
    const TimesRow& row = rows[i];
    RestorePlan plan{.Entry = {JoinPath(tree.Root(), row.Path), row.IsFolder}, .Note = {}, .Error = kFsOk};
    Tree::Found found = tree.Find(row.Path);
    if (!found.Child) {
      plan.Note = std::move(found.Note);
      plan.Error = found.Error;
    } else if (IsFolderInfo(found.Child->Info) != row.IsFolder) {
      plan.Note = row.IsFolder ? L"a file here, a folder when saved" : L"a folder here, a file when saved";
    } else {
      const EntryInfo planned{row.Attributes, row.Created.value_or(0), row.LastAccess.value_or(0),
                              row.LastWrite.value_or(0)};
      if (std::optional<std::wstring> refused = fence.Refuses(found.Path, found.Child->Info, planned, plan.Error)) {
        plan.Note = std::move(*refused);
      } else {
        // The path as the folders spell it now: the row's letter case may differ.
        reached[i] = found.Path;
        plan.Entry = BatchEntry{std::move(found.Path), row.IsFolder, found.Child->Info};
        plan.Entry.Planned = planned;
        exact[i] = found.Exact;
      }
    }
    plans.push_back(std::move(plan));
  }
  OneRowAnEntry(plans, reached, exact, L"another row names this entry in its own letter case");
  if (progress) progress(rows.size(), rows.size());
  return plans;
}

std::optional<std::vector<RestorePlan>> PlanFromFolder(const std::vector<BatchEntry>& entries,
                                                       const std::wstring& listedFolder, const std::wstring& source,
                                                       EditFileSystem& fs, const BatchProgress& progress) {
  std::vector<RestorePlan> plans;
  plans.reserve(entries.size());
  std::vector<char> exact(entries.size(), 1);
  std::vector<std::wstring> reached(entries.size());
  Tree tree(fs, source,
            {.Missing = L"nothing of that name in the source",
             .Unread = L"its folder in the source could not be read"});
  Fence fence(fs, listedFolder);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (progress && !progress(i, entries.size())) return std::nullopt;
    RestorePlan plan{.Entry = entries[i], .Note = {}, .Error = kFsOk};
    const std::optional<std::wstring> relative = PathUnder(listedFolder, plan.Entry.Path);
    Tree::Found counterpart;
    if (relative) counterpart = tree.Find(*relative);
    if (!relative) {
      plan.Note = L"the listed folder itself has no counterpart";
    } else if (!counterpart.Child) {
      plan.Note = std::move(counterpart.Note);
      plan.Error = counterpart.Error;
    } else if (IsFolderInfo(counterpart.Child->Info) != plan.Entry.IsFolder) {
      plan.Note = plan.Entry.IsFolder ? L"a file of that name in the source" : L"a folder of that name in the source";
    } else if (std::optional<std::wstring> refused =
                   fence.Refuses(plan.Entry.Path, plan.Entry.Known, counterpart.Child->Info, plan.Error)) {
      plan.Note = std::move(*refused);
    } else {
      plan.Entry.Planned = counterpart.Child->Info;
      exact[i] = counterpart.Exact;
      reached[i] = std::move(counterpart.Path);
    }
    plans.push_back(std::move(plan));
  }
  OneRowAnEntry(plans, reached, exact, L"its namesake in the source is another entry's, of its own letter case");
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
