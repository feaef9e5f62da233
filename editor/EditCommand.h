#pragma once
// The "Edit File Params" command and its undo: the dialog once for the selected entries, the
// confirmed values written to each of them, a report of what failed, and "Undo Edit", which takes
// the last edit that changed something back. It owns the undo record; it knows nothing of the
// window whose selection it edits.
#include <windows.h>

#include <vector>

#include "editor/core/EditApply.h"
#include "editor/core/EditUndo.h"

namespace pw {

class EditCommand {
public:
  // Runs the command over the targets in list order, the dialog owned by `parent`. False when
  // nothing was confirmed (nothing readable, or Cancel).
  bool Run(const std::vector<EditTarget>& targets, HWND parent);
  // Writes back what the last edit changed, entry by entry, unless someone changed it since.
  void Undo(HWND parent);
  bool CanUndo() const { return undo_.Available(); }

private:
  EditUndo undo_;
};

}  // namespace pw
