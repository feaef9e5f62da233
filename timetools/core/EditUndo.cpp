#include "timetools/core/EditUndo.h"

#include <memory>
#include <utility>

#include "timetools/core/RunStop.h"

namespace pw {
namespace {

void Restore(const UndoEntry& entry, EditFileSystem& fs, std::vector<EditFailure>& failures,
             std::vector<UndoEntry>& restored) {
  EntryInfo now;
  if (const FsError error = fs.ReadInfo(entry.Path, now); error != kFsOk) {
    failures.push_back({entry.Path, EditFault::Read, error});
    return;
  }
  // Only what the run wrote is compared and put back: the system moves the last-access time of
  // an entry that is merely read (a folder that is listed, say).
  const std::uint8_t wrote = entry.Wrote;
  const auto differs = [wrote](std::uint8_t value, std::uint64_t a, std::uint64_t b) {
    return (wrote & value) && a != b;
  };
  const bool attributes = (wrote & kWroteAttributes) != 0;
  if (differs(kWroteCreated, now.Created, entry.After.Created) ||
      differs(kWroteLastAccess, now.LastAccess, entry.After.LastAccess) ||
      differs(kWroteLastWrite, now.LastWrite, entry.After.LastWrite) ||
      (attributes && SettableAttributeWord(now.Attributes) != SettableAttributeWord(entry.After.Attributes))) {
    failures.push_back({entry.Path, EditFault::ChangedSince, kFsOk});
    return;
  }

  const EntryInfo& before = entry.Before;
  TimeChange times;
  if (differs(kWroteCreated, now.Created, before.Created)) times.Created = before.Created;
  if (differs(kWroteLastAccess, now.LastAccess, before.LastAccess)) times.LastAccess = before.LastAccess;
  if (differs(kWroteLastWrite, now.LastWrite, before.LastWrite)) times.LastWrite = before.LastWrite;
  if (times.Any()) {
    std::unique_ptr<EntryTimeWriter> writer;
    FsError error = fs.OpenForTimes(entry.Path, writer);
    if (writer) error = writer->WriteTimes(times);
    if (error != kFsOk) failures.push_back({entry.Path, EditFault::Times, error});
  }

  const std::uint32_t word = SettableAttributeWord(before.Attributes);
  if (attributes && word != SettableAttributeWord(now.Attributes)) {
    if (const FsError error = fs.WriteAttributes(entry.Path, word); error != kFsOk) {
      failures.push_back({entry.Path, EditFault::Attributes, error});
    }
  }
  EntryInfo after;
  if (fs.ReadInfo(entry.Path, after) == kFsOk) restored.push_back({entry.Path, now, after, wrote});
}

}  // namespace

void EditUndo::Remember(std::vector<UndoEntry> entries) {
  if (!entries.empty()) entries_ = std::move(entries);
}

BatchResult EditUndo::Run(EditFileSystem& fs, const BatchProgress& progress) {
  // Taken out first: whatever happens on the way, the same edit is never undone twice.
  std::vector<UndoEntry> entries = std::exchange(entries_, {});
  BatchResult result;
  result.Total = entries.size();
  // Last written, first taken back: a file a run reached twice gets the values it had before the
  // first write, not those between the two.
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (progress && !progress(result.Done, entries.size())) {
      result.Stopped = true;
      entries.resize(entries.size() - result.Done);
      entries_ = std::move(entries);
      break;
    }
    const std::size_t failed = result.Failures.size();
    Restore(*entry, fs, result.Failures, result.Undo);
    if (EndsTheRun(result.Failures, failed)) {
      // Its volume stopped answering: this entry and those before it stay for an Undo once it
      // answers again.
      result.Stopped = true;
      entries.resize(entries.size() - result.Done);
      entries_ = std::move(entries);
      break;
    }
    ++result.Done;
  }
  if (progress && !result.Stopped) progress(result.Done, entries.size());
  return result;
}

}  // namespace pw
