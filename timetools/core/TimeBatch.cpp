#include "timetools/core/TimeBatch.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/core/PathRules.h"
#include "timetools/core/RunStop.h"

namespace pw {
namespace {

bool Takes(Scope scope, bool folder) {
  switch (scope) {
    case Scope::Selected: return false;
    case Scope::Files: return !folder;
    case Scope::Folders: return folder;
    case Scope::Everything: return true;
  }
  return false;
}

bool IsFolderToEnter(const EntryInfo& info) {
  return (info.Attributes & kDirectoryAttribute) && !(info.Attributes & kReparsePointAttribute);
}

// A path as the walk tells entries apart: spelled as it is, "/" as "\", no trailing backslash but
// a drive root's. Letter case counts: a folder with case-sensitive lookup (and every Wine drive)
// holds "a" and "A" side by side, and both are walked. A file reached under two spellings is told
// by its identity where it is written.
std::wstring WalkKey(std::wstring_view path) {
  std::wstring key(path);
  std::replace(key.begin(), key.end(), L'/', L'\\');
  while (key.size() > 1 && key.back() == L'\\' && !IsDriveRoot(key)) key.pop_back();
  return key;
}

// One run's entries, each taken once, and the folders walked so far. An entry reached by a walk can
// be one taken already only where its folder holds a selected entry (the parent entry selected
// beside the folder's own entries): only there are the names compared.
class Collection {
public:
  Collection(Scope scope, EditFileSystem& fs, std::vector<EditFailure>& failures, const BatchProgress& progress)
      : scope_(scope), fs_(fs), failures_(failures), progress_(progress) {}

  void TakeSelected(const BatchEntry& entry) {
    const std::wstring key = WalkKey(entry.Path);
    if (!seen_.insert(key).second) return;
    nearSelected_.insert(WalkKey(ParentFolderPath(key)));
    out_.push_back(entry);
  }
  bool Entered(const std::wstring& folder) const { return entered_.contains(WalkKey(folder)); }

  // Walks the folder depth first, taking what the scope takes; false when stopped.
  bool Walk(const std::wstring& folder) {
    const std::wstring folderKey = WalkKey(folder);
    if (!entered_.insert(folderKey).second) return true;
    std::vector<FolderChild> children;
    if (const FsError error = fs_.ReadFolder(folder, children); error != kFsOk) {
      failures_.push_back({folder, EditFault::FolderUnread, error});
      return true;
    }
    const bool nearSelected = nearSelected_.contains(folderKey);
    for (FolderChild& child : children) {
      const bool isFolder = (child.Info.Attributes & kDirectoryAttribute) != 0;
      const bool enter = IsFolderToEnter(child.Info);
      std::wstring path = JoinPath(folder, child.Name);
      if (Takes(scope_, isFolder) && (!nearSelected || !seen_.contains(WalkKey(path)))) {
        out_.push_back({enter ? path : std::move(path), isFolder, child.Info});
        if (progress_ && !progress_(out_.size(), 0)) return false;
      }
      if (enter && !Walk(path)) return false;  // not moved from: it is walked next
    }
    return true;
  }

  std::vector<BatchEntry> Entries() && { return std::move(out_); }

private:
  Scope scope_;
  EditFileSystem& fs_;
  std::vector<EditFailure>& failures_;
  const BatchProgress& progress_;
  std::vector<BatchEntry> out_;
  std::unordered_set<std::wstring> seen_, nearSelected_, entered_;
};

// The three times of an entry, in the order of TimeField.
std::uint64_t Stamp(const EntryInfo& info, TimeField field) {
  switch (field) {
    case TimeField::Created: return info.Created;
    case TimeField::LastWrite: return info.LastWrite;
    case TimeField::LastAccess: return info.LastAccess;
  }
  return 0;
}

const std::optional<std::uint64_t>& Asked(const TimeChange& change, TimeField field) {
  switch (field) {
    case TimeField::Created: return change.Created;
    case TimeField::LastWrite: return change.LastWrite;
    case TimeField::LastAccess: break;
  }
  return change.LastAccess;
}

// The files a run has reached, by volume and file id, with the index of the entry that reached each
// first.
using ReachedFiles = std::unordered_map<std::uint64_t, std::size_t>;

std::uint64_t IdentityKey(const EntryIdentity& id) {
  return id.FileId * 0x9E3779B97F4A7C15ull ^ id.Volume;
}

std::uint8_t WrittenTimes(const TimeChange& times) {
  return static_cast<std::uint8_t>((times.Created ? kWroteCreated : 0) | (times.LastAccess ? kWroteLastAccess : 0) |
                                   (times.LastWrite ? kWroteLastWrite : 0));
}

// Whether two readings of an entry differ in the values a run wrote.
bool DiffersIn(const EntryInfo& a, const EntryInfo& b, std::uint8_t wrote) {
  return ((wrote & kWroteCreated) && a.Created != b.Created) ||
         ((wrote & kWroteLastAccess) && a.LastAccess != b.LastAccess) ||
         ((wrote & kWroteLastWrite) && a.LastWrite != b.LastWrite) ||
         ((wrote & kWroteAttributes) && SettableAttributeWord(a.Attributes) != SettableAttributeWord(b.Attributes));
}

// What one entry gets; the result tells whether it was written.
struct EntryRun {
  const std::vector<BatchEntry>& Entries;
  std::size_t Index;
  const BatchEntry& Entry = Entries[Index];
  const std::wstring& Path = Entry.Path;
  EditFileSystem& Fs;
  BatchResult& Result;
  ReachedFiles& Reached;
  const StoredCheck& Check;
  std::wstring_view Within;

  // With `readFrom`, the writer is the file as it was read for the run, whose name another file may
  // have taken meanwhile: told apart after writing.
  bool Run(const ChangeRule& rule, std::unique_ptr<EntryTimeWriter> writer, bool readFrom = false) {
    FsError openError = kFsOk;
    if (!writer) openError = Fs.OpenForTimes(Path, writer);
    EntryInfo now;
    const FsError readError = writer ? writer->Read(now) : Fs.ReadInfo(Path, now);
    if (readError != kFsOk) return Fail(EditFault::Read, writer ? readError : openError);
    if (writer && ReachedBefore(*writer)) return false;
    if (writer && !Within.empty()) {
      // Where the handle lands, whatever link its name went through: never outside the folder.
      std::wstring final;
      if (const FsError error = writer->FinalPath(final); error != kFsOk) return Fail(EditFault::Read, error);
      if (!FinalPathWithin(final, Within)) return Fail(EditFault::Outside, kFsOk);
    }
    const EntryChange change = rule(Entry, now);
    if (change.OutOfRange) return Fail(EditFault::OutOfRange, kFsOk);
    // Nothing to do where the entry holds all it is to get: it is not touched at all. Times that
    // change are written with the others asked, as they were: some drivers keep nothing of a
    // write that does not carry them all.
    if (!Changes(change, now)) return false;

    std::uint8_t wrote = 0;
    if (change.Times.Any()) {
      const FsError error = writer ? writer->WriteTimes(change.Times) : openError;
      if (error != kFsOk) Fail(EditFault::Times, error);
      else wrote |= WrittenTimes(change.Times);
    }
    if (change.Attributes && *change.Attributes != SettableAttributeWord(now.Attributes)) {
      if (const FsError error = Fs.WriteAttributes(Path, *change.Attributes); error != kFsOk) {
        Fail(EditFault::Attributes, error);
      } else {
        wrote |= kWroteAttributes;
      }
    }
    if (!wrote) return false;

    // Read back by the path once the handle is closed: what the volume kept, not what the open
    // handle's cache still holds (an entry held open while its dialog was up may also have been
    // deleted meanwhile, which the handle kept from happening).
    EntryIdentity written;
    if (readFrom && writer->Identify(written) != kFsOk) readFrom = false;
    writer.reset();
    EntryInfo after;
    if (const FsError error = Fs.ReadInfo(Path, after); error != kFsOk) return Fail(EditFault::ReadBack, error);
    // The file read is not the one at the path any more (saved by another program under a new name
    // and renamed over it, say): that one is left alone, and nothing is there to take back.
    if (readFrom && !Holds(after, change.Times)) {
      EntryIdentity atPath;
      if (Fs.Identify(Path, atPath) != kFsOk || !(atPath == written)) return Fail(EditFault::Replaced, kFsOk);
    }
    bool stray = false;
    for (TimeField field : {TimeField::Created, TimeField::LastWrite, TimeField::LastAccess}) {
      const std::optional<std::uint64_t>& asked = Asked(change.Times, field);
      // A time written as it was is no change to check.
      if (asked && *asked != Stamp(now, field) && *asked != Stamp(after, field)) {
        Result.Roundings.push_back({Path, field, *asked, Stamp(after, field), Stamp(now, field)});
        stray = stray || (Check && !Check(Result.Roundings.back(), after));
      }
    }
    if (stray) {
      PutBack(now, wrote);
      return false;
    }
    // Written is what took a change: a volume that answered "done" and kept nothing has not.
    if (!DiffersIn(after, now, wrote)) return false;
    Result.Undo.push_back({Path, now, after, wrote});
    return true;
  }

  static bool Changes(const EntryChange& change, const EntryInfo& now) {
    return !Holds(now, change.Times) ||
           (change.Attributes && *change.Attributes != SettableAttributeWord(now.Attributes));
  }

  // Whether the entry holds the times asked, each of them.
  static bool Holds(const EntryInfo& info, const TimeChange& times) {
    return (!times.Created || *times.Created == info.Created) &&
           (!times.LastWrite || *times.LastWrite == info.LastWrite) &&
           (!times.LastAccess || *times.LastAccess == info.LastAccess);
  }

  // A file this run has reached under another name already (a second hard link, an 8.3 alias, a
  // name spelt with a trailing dot): it is written once, under the name it was reached by first.
  bool ReachedBefore(EntryTimeWriter& writer) {
    EntryIdentity id;
    if (writer.Identify(id) != kFsOk || id.FileId == 0) return false;
    const auto [at, first] = Reached.try_emplace(IdentityKey(id), Index);
    if (first) return false;
    Result.Left.push_back({Path, L"the same file as " + Entries[at->second].Path + L", written once"});
    return true;
  }

  // Puts back what the entry held before this run wrote to it: its volume stored a value nobody
  // asked for, and no entry may keep one.
  void PutBack(const EntryInfo& before, std::uint8_t wrote) {
    TimeChange times;
    if (wrote & kWroteCreated) times.Created = before.Created;
    if (wrote & kWroteLastAccess) times.LastAccess = before.LastAccess;
    if (wrote & kWroteLastWrite) times.LastWrite = before.LastWrite;
    FsError error = kFsOk;
    if (times.Any()) {
      std::unique_ptr<EntryTimeWriter> writer;
      error = Fs.OpenForTimes(Path, writer);
      if (writer) error = writer->WriteTimes(times);
    }
    if (error == kFsOk && (wrote & kWroteAttributes))
      error = Fs.WriteAttributes(Path, SettableAttributeWord(before.Attributes));
    Result.Failures.push_back({Path, error == kFsOk ? EditFault::PutBack : EditFault::NotPutBack, error});
  }

  bool Fail(EditFault fault, FsError error) {
    Result.Failures.push_back({Path, fault, error});
    return false;
  }
};

// Whether the held entry is still the file at the path; when either cannot be told, it is not.
bool SameFile(EntryTimeWriter& writer, const std::wstring& path, EditFileSystem& fs) {
  EntryIdentity held, atPath;
  return writer.Identify(held) == kFsOk && fs.Identify(path, atPath) == kFsOk && held == atPath;
}

}  // namespace

std::wstring EditEntryPath(std::wstring_view listPath) {
  if (!listPath.empty() && listPath.back() == L'\\' && !IsDriveRoot(listPath)) {
    listPath.remove_suffix(1);
  }
  return std::wstring(listPath);
}

std::optional<std::vector<BatchEntry>> CollectEntries(const std::vector<BatchEntry>& selected, Scope scope,
                                                      EditFileSystem& fs, std::vector<EditFailure>& failures,
                                                      const BatchProgress& progress) {
  Collection run(scope, fs, failures, progress);
  for (const BatchEntry& entry : selected) run.TakeSelected(entry);
  if (scope == Scope::Selected) return std::move(run).Entries();
  // The folders to walk, as they are now: what the list showed of a selected entry may be old, or
  // missing, and a link to a folder is never entered.
  std::vector<std::wstring> folders;
  for (const BatchEntry& entry : selected) {
    if (!entry.IsFolder) continue;
    EntryInfo now;
    if (const FsError error = fs.ReadInfo(entry.Path, now); error != kFsOk) {
      failures.push_back({entry.Path, EditFault::FolderUnread, error});
      continue;
    }
    if (IsFolderToEnter(now)) folders.push_back(entry.Path);
  }
  // A folder inside another one that is walked is reached by that walk; it is walked on its own
  // only when that walk did not get there (a link on the way).
  const auto inside = [&folders](const std::wstring& folder) {
    const std::wstring key = WalkKey(folder);
    return std::any_of(folders.begin(), folders.end(),
                       [&key](const std::wstring& other) { return LiesInside(key, WalkKey(other)); });
  };
  for (const std::wstring& folder : folders)
    if (!inside(folder) && !run.Walk(folder)) return std::nullopt;
  for (const std::wstring& folder : folders)
    if (!run.Entered(folder) && !run.Walk(folder)) return std::nullopt;
  return std::move(run).Entries();
}

std::optional<std::int64_t> TimeOffset::Ticks() const {
  // Beyond this many days no two file times lie apart.
  constexpr std::uint64_t kMaxDays = 10'675'199;
  if (Days > kMaxDays) return std::nullopt;
  const std::uint64_t ms = ((((static_cast<std::uint64_t>(Days) * 24 + Hours) * 60 + Minutes) * 60 + Seconds) * 1000) +
                           Milliseconds;
  if (ms > kLastFileTime / 10'000) return std::nullopt;
  const auto ticks = static_cast<std::int64_t>(ms * 10'000);
  return Negative ? -ticks : ticks;
}

std::optional<std::uint64_t> ShiftStamp(std::uint64_t stamp, std::int64_t ticks) {
  if (stamp > kLastFileTime) return std::nullopt;
  const auto value = static_cast<std::int64_t>(stamp);
  // Both stay within the signed range: stamp <= kLastFileTime, |ticks| <= kLastFileTime.
  if (ticks > 0 && value > static_cast<std::int64_t>(kLastFileTime) - ticks) return std::nullopt;
  if (ticks < 0 && value + ticks < 1) return std::nullopt;
  return static_cast<std::uint64_t>(value + ticks);
}

ChangeRule ShiftRule(std::int64_t ticks, TimeFields fields) {
  const auto change = [ticks, fields](const BatchEntry&, const EntryInfo& now) {
    EntryChange change;
    const auto shift = [&](bool chosen, std::uint64_t stamp, std::optional<std::uint64_t>& into) {
      if (!chosen || stamp == 0) return;
      into = ShiftStamp(stamp, ticks);
      if (!into) change.OutOfRange = true;
    };
    shift(fields.Created, now.Created, change.Times.Created);
    shift(fields.LastWrite, now.LastWrite, change.Times.LastWrite);
    shift(fields.LastAccess, now.LastAccess, change.Times.LastAccess);
    if (change.OutOfRange) change.Times = {};
    return change;
  };
  return ChangeRule{change};
}

ChangeRule CopyRule(const EntryInfo& reference, TimeFields fields) {
  return {[reference, fields](const BatchEntry&, const EntryInfo&) {
    EntryChange change;
    // A stamp of 0 would read as "leave unchanged": the reference has none to give.
    if (fields.Created && reference.Created) change.Times.Created = reference.Created;
    if (fields.LastWrite && reference.LastWrite) change.Times.LastWrite = reference.LastWrite;
    if (fields.LastAccess && reference.LastAccess) change.Times.LastAccess = reference.LastAccess;
    return change;
  }};
}

ChangeRule PlannedRule(TimeFields fields, bool attributes) {
  return {[fields, attributes](const BatchEntry& entry, const EntryInfo& now) {
    EntryChange change;
    if (!entry.Planned) return change;
    const EntryInfo& planned = *entry.Planned;
    if (fields.Created && planned.Created) change.Times.Created = planned.Created;
    if (fields.LastWrite && planned.LastWrite) change.Times.LastWrite = planned.LastWrite;
    if (fields.LastAccess && planned.LastAccess) change.Times.LastAccess = planned.LastAccess;
    if (attributes) change.Attributes = ChosenAttributeWord(now.Attributes, planned.Attributes);
    return change;
  }};
}

BatchResult WriteEntries(const std::vector<BatchEntry>& entries, const ChangeRule& rule, EditFileSystem& fs,
                         const BatchProgress& progress, std::unique_ptr<EntryTimeWriter> heldForFirst,
                         HeldWriters readFrom, const StoredCheck& check, std::wstring_view within) {
  BatchResult result;
  result.Total = entries.size();
  if (heldForFirst && !entries.empty() && !SameFile(*heldForFirst, entries.front().Path, fs)) heldForFirst.reset();
  ReachedFiles reached;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (progress && !progress(result.Done, entries.size())) {
      result.Stopped = true;
      break;
    }
    EntryRun run{.Entries = entries, .Index = i, .Fs = fs, .Result = result, .Reached = reached, .Check = check,
                 .Within = within};
    std::unique_ptr<EntryTimeWriter> writer =
        result.Done < readFrom.size() ? std::move(readFrom[result.Done]) : nullptr;
    const bool wasRead = writer != nullptr;
    if (!writer && result.Done == 0) writer = std::move(heldForFirst);
    const std::size_t failed = result.Failures.size();
    if (run.Run(rule, std::move(writer), wasRead)) ++result.Written;
    ++result.Done;
    if (EndsTheRun(result.Failures, failed)) {
      result.Stopped = true;
      break;
    }
  }
  if (progress && !result.Stopped) progress(result.Done, entries.size());
  return result;
}

}  // namespace pw
