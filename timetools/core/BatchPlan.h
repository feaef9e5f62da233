#pragma once
// What a batch tool hands to the one pipeline that runs every tool, and the pipeline's decisions
// that need no window: the preview's rows, whether a preview is shown, the order entries are
// written in, and which rows of the list the written entries are. A tool only plans: which entries,
// what each gets (its rule) or why it is left alone; the pipeline does the rest the same way for
// all.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "timetools/core/EditFileSystem.h"
#include "timetools/core/EditRecords.h"
#include "timetools/core/TimeBatch.h"

namespace pw {

// One entry of a plan: the entry with what the rule gives it, where its values came from
// ("EXIF, +02:00"), or, left alone, why ("no date taken").
struct PlannedEntry {
  explicit PlannedEntry(BatchEntry entry, std::wstring note = {}, bool leave = false, FsError error = kFsOk,
                        std::unique_ptr<EntryTimeWriter> held = nullptr)
      : Entry(std::move(entry)), Note(std::move(note)), Leave(leave), Error(error), Held(std::move(held)) {}
  BatchEntry Entry;
  std::wstring Note;
  bool Leave = false;
  FsError Error = kFsOk;  // why it could not be read, for one left alone
  // The file as the plan read it, to be written through (its content gave the values).
  std::unique_ptr<EntryTimeWriter> Held;
};

struct BatchPlan {
  ChangeRule Rule;
  std::vector<PlannedEntry> Entries;
  std::vector<EditFailure> Failures;  // what could not be read while planning
  // The editor's entry, held open for its times while its dialog was up.
  std::unique_ptr<EntryTimeWriter> HeldForFirst;
  // The user saw and confirmed the very values every entry gets (the editor's dialog): no preview
  // unless something is left out or kept otherwise.
  bool Confirmed = false;
  // The folder listed when the tool started: nothing outside it is written.
  std::wstring ChosenFolder;
};

// Plain entries, each getting what the rule gives it.
BatchPlan PlanEntries(const std::vector<BatchEntry>& entries, ChangeRule rule);

// One row of the preview: the entry's values now and the times that change (none: left alone),
// where they came from or why it is left alone, and what its volume will keep instead, if anything.
struct PreviewRow {
  std::wstring Path;
  EntryInfo Old;
  TimeChange New;
  std::wstring Note;
  TimeChange Kept;
};

// Every entry whose times or attributes change, then every entry left alone, each with its note.
// An entry whose new times would leave the range of file times is not shown: the run reports it.
std::vector<PreviewRow> PreviewRows(const BatchPlan& plan);

// A preview is shown when more than one entry is concerned and the user has not confirmed their
// values already, and whenever something is left out or a volume will keep something else.
bool NeedsPreview(std::size_t entries, bool anyLeft, bool volumeSays, bool confirmed);

// The entries to write, in the order they are written: what lies inside a folder before the
// folder (writing inside a folder may move the folder's own times), otherwise as planned. Left
// alone ones and those in `leaveOut` are dropped; the held writers follow their entries.
struct WriteOrder {
  std::vector<BatchEntry> Entries;
  HeldWriters Held;
};
WriteOrder OrderForWriting(BatchPlan& plan, const std::function<bool(const std::wstring&)>& leaveOut);

// An entry a run or an undo wrote, as read back right after.
struct WrittenEntry {
  std::wstring Path;
  EntryInfo Now;
};

// The rows of a listed folder that written entries are, by name: for each, the row and the
// entry's index in `written`. Entries elsewhere (deeper in a scoped run) have no row. Rows are
// taken from `firstRow` to `rowCount`, named by `caption`.
struct WrittenRow {
  int Row = 0;
  std::size_t Written = 0;
};
std::vector<WrittenRow> MatchWrittenRows(std::wstring_view listedFolder, const std::vector<WrittenEntry>& written,
                                         int firstRow, int rowCount,
                                         const std::function<std::wstring_view(int row)>& caption);

}  // namespace pw
