#pragma once
// The time and attribute commands on the selected entries and their undo: "Edit File Params" (the
// dialog once, the confirmed values on every entry), "Shift Times", "Copy Times From" and "Times
// From Content" and "Restore Times" (a window each, a preview when more than one entry is
// concerned), each reaching into the selected folders when asked; and "Save Times", the times to a
// file that "Restore Times" gives back. Every run goes on a worker with its progress shown, ends with a report of what failed and
// what the file system stored otherwise than asked, and can be taken back by "Undo Edit". It knows
// nothing of the window whose selection it works on.
#include <windows.h>

#include <string>
#include <vector>

#include "editor/core/EditApply.h"
#include "timetools/core/EditUndo.h"
#include "timetools/core/TimeBatch.h"

namespace pw {

class RunVolumes;

// An entry a run or an undo wrote, as read back right after.
struct WrittenEntry {
  std::wstring Path;
  EntryInfo Now;
};

class EditCommand {
public:
  // Each runs over the targets in list order with its windows owned by `parent`; false when
  // nothing was confirmed.
  bool EditFileParams(const std::vector<EditTarget>& targets, HWND parent);
  bool ShiftTimes(const std::vector<EditTarget>& targets, HWND parent);
  bool CopyTimesFrom(const std::vector<EditTarget>& targets, HWND parent);
  bool TimesFromContent(const std::vector<EditTarget>& targets, HWND parent);
  // The times and attributes of the targets (and with a scope of what lies inside them) saved to a
  // file the user names, their paths relative to the listed folder; and given back from such a
  // file, or from another folder's entries of the same relative paths.
  bool SaveTimes(const std::vector<EditTarget>& targets, const std::wstring& listedFolder, HWND parent);
  bool RestoreTimes(const std::vector<EditTarget>& targets, const std::wstring& listedFolder, HWND parent);
  // Writes back what the last run changed, entry by entry, unless someone changed it since.
  void Undo(HWND parent);
  bool CanUndo() const { return undo_.Available(); }
  // The entries the last run or undo wrote, for the list to show them as they are now without
  // reading them again.
  const std::vector<WrittenEntry>& Written() const { return written_; }

private:
  bool RunTool(const std::vector<EditTarget>& targets, HWND parent, const wchar_t* title, const ChangeRule& rule,
               Scope reach);
  void Finish(HWND parent, const wchar_t* title, BatchResult result, RunVolumes& volumes);

  EditUndo undo_;
  std::vector<WrittenEntry> written_;
  void KeepWritten(const std::vector<UndoEntry>& entries);
};

}  // namespace pw
