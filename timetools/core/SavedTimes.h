#pragma once
// "Save Times" and "Restore Times" without any window: the rows a save writes for the entries of a
// run, and what each entry gets back, from a saved file (each row's entry found by its path under
// the listed folder) or from another folder (each entry's namesake at the same place there). An
// entry with no counterpart and a row with no entry are named with the reason, never guessed.
#include <optional>
#include <string>
#include <vector>

#include "timetools/core/EditFileSystem.h"
#include "timetools/core/EditRecords.h"
#include "timetools/core/TimeBatch.h"
#include "timetools/core/TimesFile.h"

namespace pw {

// The path of an entry relative to a folder (with or without its trailing backslash); nothing for
// the folder itself and for anything outside it.
std::optional<std::wstring> PathUnder(std::wstring_view folder, std::wstring_view path);

// A save: the file's bytes (the header, then a row an entry in the run's order) and the entries it
// leaves out with the reason (the listed folder itself, a name the file cannot hold). A folder's
// times are read again at the end: walking into it to find what it holds moved its last-access
// time, which a restore right after would otherwise count as a change.
struct SavedTimes {
  std::string Bytes;
  std::size_t Rows = 0;
  std::vector<LeftAlone> Left;
};
std::optional<SavedTimes> SaveTimes(const std::vector<BatchEntry>& entries, const std::wstring& listedFolder,
                                    EditFileSystem& fs, const BatchProgress& progress);

// One entry of a restore: what it gets (Entry.Planned: the saved or the source's times and
// attributes), or nothing and why ("no such entry here", "nothing of that name in the source").
struct RestorePlan {
  BatchEntry Entry;
  std::wstring Note;
  FsError Error = kFsOk;
};

// Each row's entry under the listed folder, as it is now: each name of its path found by its
// exact spelling, or in another letter case where that is the one entry of the name; a row whose
// way passes a link to a folder, or whose entry lands outside the listed folder once every link is
// followed, is left alone, and so is a row that reaches an entry another row names in its own
// letter case. The folders are read once each, not the rows' entries one by one.
std::optional<std::vector<RestorePlan>> PlanFromSaved(const std::vector<TimesRow>& rows,
                                                      const std::wstring& listedFolder, EditFileSystem& fs,
                                                      const BatchProgress& progress);
// Each entry of the run against the entry at the same relative path under `source`, found by the
// same rules; an entry that lands outside the listed folder is left alone.
std::optional<std::vector<RestorePlan>> PlanFromFolder(const std::vector<BatchEntry>& entries,
                                                       const std::wstring& listedFolder, const std::wstring& source,
                                                       EditFileSystem& fs, const BatchProgress& progress);

// Whether what an entry holds differs from its plan in the chosen times (a time the plan does not
// hold aside) or, with `attributes`, in the four attributes of the editor's boxes.
bool PlanChanges(const EntryInfo& now, const EntryInfo& planned, TimeFields fields, bool attributes);

// The order to write a restore in: what lies inside a folder before the folder.
void InsideFirst(std::vector<BatchEntry>& entries);

}  // namespace pw
