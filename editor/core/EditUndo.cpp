#include "editor/core/EditUndo.h"

#include <memory>
#include <utility>

namespace pw {
namespace {

void Restore(const UndoEntry& entry, EditFileSystem& fs, std::vector<EditFailure>& failures,
             std::vector<UndoEntry>& restored) {
  EntryInfo now;
  if (const FsError error = fs.ReadInfo(entry.Path, now); error != kFsOk) {
    failures.push_back({entry.Path, EditFault::Read, error});
    return;
  }
  if (now != entry.After) {
    failures.push_back({entry.Path, EditFault::ChangedSince, kFsOk});
    return;
  }

  const EntryInfo& before = entry.Before;
  TimeChange times;
  if (now.Created != before.Created) times.Created = before.Created;
  if (now.LastAccess != before.LastAccess) times.LastAccess = before.LastAccess;
  if (now.LastWrite != before.LastWrite) times.LastWrite = before.LastWrite;
  if (times.Any()) {
    std::unique_ptr<EntryTimeWriter> writer;
    FsError error = fs.OpenForTimes(entry.Path, writer);
    if (writer) error = writer->WriteTimes(times);
    if (error != kFsOk) failures.push_back({entry.Path, EditFault::Times, error});
  }

  const std::uint32_t word = SettableAttributeWord(before.Attributes);
  if (word != SettableAttributeWord(now.Attributes)) {
    if (const FsError error = fs.WriteAttributes(entry.Path, word); error != kFsOk) {
      failures.push_back({entry.Path, EditFault::Attributes, error});
    }
  }
  EntryInfo after;
  if (fs.ReadInfo(entry.Path, after) == kFsOk) restored.push_back({entry.Path, now, after});
}

}  // namespace

void EditUndo::Remember(std::vector<UndoEntry> entries) {
  if (!entries.empty()) entries_ = std::move(entries);
}

BatchResult EditUndo::Run(EditFileSystem& fs, const BatchProgress& progress) {
  // Taken out first: whatever happens on the way, the same edit is never undone twice.
  std::vector<UndoEntry> entries = std::exchange(entries_, {});
  BatchResult result;
  for (const UndoEntry& entry : entries) {
    if (progress && !progress(result.Done, entries.size())) {
      result.Stopped = true;
      entries_.assign(entries.begin() + static_cast<std::ptrdiff_t>(result.Done), entries.end());
      break;
    }
    Restore(entry, fs, result.Failures, result.Undo);
    ++result.Done;
  }
  if (progress && !result.Stopped) progress(result.Done, entries.size());
  return result;
}

}  // namespace pw
