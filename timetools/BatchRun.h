#pragma once
// The one pipeline every batch time tool runs through once it has planned: what the entries'
// volumes will keep, the preview, the writing on a worker with its progress and Cancel (each file
// once, inside first), the read-back with what a volume stored wrongly put back at once, the
// report, the undo record and the entries written, for the list. It also takes back the last run
// ("Undo Edit"). It knows nothing of the window whose selection the tools work on.
#include <windows.h>

#include <vector>

#include "timetools/core/BatchPlan.h"
#include "timetools/core/EditUndo.h"

namespace pw {

class RunVolumes;

class BatchRunner {
public:
  // Runs the plan with its windows owned by `parent`; false when the preview was cancelled or the
  // run could not start (nothing was written then).
  bool Run(HWND parent, const wchar_t* title, BatchPlan plan);
  // Writes back what the last run changed, the last written first, unless someone changed it since.
  void Undo(HWND parent);
  bool CanUndo() const { return undo_.Available(); }
  // The entries the last run or undo wrote, for the list to show them as they are now without
  // reading them again.
  const std::vector<WrittenEntry>& Written() const { return written_; }
  // A run that starts: what the last one wrote is no longer news for the list.
  void Starting() { written_.clear(); }

  // What a run could not do as asked, and where it stopped; silent when all went as asked.
  static void Report(HWND parent, const wchar_t* title, const BatchResult& result, RunVolumes& volumes);

private:
  void KeepWritten(const std::vector<UndoEntry>& entries);

  EditUndo undo_;
  std::vector<WrittenEntry> written_;
};

}  // namespace pw
