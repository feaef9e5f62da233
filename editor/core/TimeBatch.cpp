#include "editor/core/TimeBatch.h"

#include <limits>
#include <utility>

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

// Walks the folder depth first, appending what the scope takes; false when stopped.
bool CollectInside(const std::wstring& folder, Scope scope, EditFileSystem& fs, std::vector<BatchEntry>& out,
                   std::vector<EditFailure>& failures, const BatchProgress& progress) {
  std::vector<FolderChild> children;
  if (const FsError error = fs.ReadFolder(folder, children); error != kFsOk) {
    failures.push_back({folder, EditFault::FolderUnread, error});
    return true;
  }
  for (FolderChild& child : children) {
    const bool isFolder = (child.Info.Attributes & kDirectoryAttribute) != 0;
    std::wstring path = folder + L"\\" + child.Name;
    if (Takes(scope, isFolder)) {
      out.push_back({path, isFolder, child.Info});
      if (progress && !progress(out.size(), 0)) return false;
    }
    if (IsFolderToEnter(child.Info) && !CollectInside(path, scope, fs, out, failures, progress)) return false;
  }
  return true;
}

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

// What one entry gets; the result tells whether it was written.
struct EntryRun {
  const std::wstring& Path;
  EditFileSystem& Fs;
  BatchResult& Result;

  bool Run(const ChangeRule& rule, std::unique_ptr<EntryTimeWriter> writer) {
    // An entry held open while its dialog was up may have been deleted meanwhile, which the held
    // handle keeps from happening until it closes: it is read back by its path once closed.
    const bool held = writer != nullptr;
    FsError openError = kFsOk;
    if (!writer) openError = Fs.OpenForTimes(Path, writer);
    EntryInfo now;
    const FsError readError = writer ? writer->Read(now) : Fs.ReadInfo(Path, now);
    if (readError != kFsOk) return Fail(EditFault::Read, writer ? readError : openError);
    const EntryChange change = rule(now);
    if (change.OutOfRange) return Fail(EditFault::OutOfRange, kFsOk);

    bool written = false;
    if (change.Times.Any()) {
      const FsError error = writer ? writer->WriteTimes(change.Times) : openError;
      if (error != kFsOk) Fail(EditFault::Times, error);
      else written = true;
    }
    if (change.Attributes && *change.Attributes != SettableAttributeWord(now.Attributes)) {
      if (const FsError error = Fs.WriteAttributes(Path, *change.Attributes); error != kFsOk) {
        Fail(EditFault::Attributes, error);
      } else {
        written = true;
      }
    }
    if (!written) return false;

    if (held) writer.reset();
    EntryInfo after;
    const FsError error = writer ? writer->Read(after) : Fs.ReadInfo(Path, after);
    if (error != kFsOk) return Fail(EditFault::ReadBack, error);
    for (TimeField field : {TimeField::Created, TimeField::LastWrite, TimeField::LastAccess}) {
      const std::optional<std::uint64_t>& asked = Asked(change.Times, field);
      // A time written as it was is no change to check.
      if (asked && *asked != Stamp(now, field) && *asked != Stamp(after, field))
        Result.Roundings.push_back({Path, field, *asked, Stamp(after, field), Stamp(now, field)});
    }
    if (after != now) Result.Undo.push_back({Path, now, after});
    return true;
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

std::optional<std::vector<BatchEntry>> CollectEntries(const std::vector<BatchEntry>& selected, Scope scope,
                                                      EditFileSystem& fs, std::vector<EditFailure>& failures,
                                                      const BatchProgress& progress) {
  std::vector<BatchEntry> out(selected);
  if (scope == Scope::Selected) return out;
  for (const BatchEntry& entry : selected) {
    if (!entry.IsFolder || (entry.Known.Attributes & kReparsePointAttribute)) continue;
    if (!CollectInside(entry.Path, scope, fs, out, failures, progress)) return std::nullopt;
  }
  return out;
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
  return [ticks, fields](const EntryInfo& now) {
    EntryChange change;
    const auto shift = [&](bool chosen, std::uint64_t stamp, std::optional<std::uint64_t>& into) {
      if (!chosen) return;
      into = ShiftStamp(stamp, ticks);
      if (!into) change.OutOfRange = true;
    };
    shift(fields.Created, now.Created, change.Times.Created);
    shift(fields.LastWrite, now.LastWrite, change.Times.LastWrite);
    shift(fields.LastAccess, now.LastAccess, change.Times.LastAccess);
    if (change.OutOfRange) change.Times = {};
    return change;
  };
}

ChangeRule CopyRule(const EntryInfo& reference, TimeFields fields) {
  return [reference, fields](const EntryInfo&) {
    EntryChange change;
    // A stamp of 0 would read as "leave unchanged": the reference has none to give.
    if (fields.Created && reference.Created) change.Times.Created = reference.Created;
    if (fields.LastWrite && reference.LastWrite) change.Times.LastWrite = reference.LastWrite;
    if (fields.LastAccess && reference.LastAccess) change.Times.LastAccess = reference.LastAccess;
    return change;
  };
}

BatchResult WriteEntries(const std::vector<BatchEntry>& entries, const ChangeRule& rule, EditFileSystem& fs,
                         const BatchProgress& progress, std::unique_ptr<EntryTimeWriter> heldForFirst) {
  BatchResult result;
  if (heldForFirst && !entries.empty() && !SameFile(*heldForFirst, entries.front().Path, fs)) heldForFirst.reset();
  for (const BatchEntry& entry : entries) {
    if (progress && !progress(result.Done, entries.size())) {
      result.Stopped = true;
      break;
    }
    EntryRun run{entry.Path, fs, result};
    if (run.Run(rule, std::exchange(heldForFirst, nullptr))) ++result.Written;
    ++result.Done;
  }
  if (progress && !result.Stopped) progress(result.Done, entries.size());
  return result;
}

}  // namespace pw
