#pragma once
// "Undo Edit": the entries the editor's last apply changed, and writing their old times and
// attribute words back.
#include <string>
#include <vector>

#include "timetools/core/EditRecords.h"
#include "timetools/core/EditFileSystem.h"
#include "timetools/core/TimeBatch.h"

namespace pw {

class EditUndo {
public:
  // Keeps the entries of an apply in place of any earlier ones; an apply that changed nothing
  // keeps the earlier record, so the last edit that did change something can still be undone.
  void Remember(std::vector<UndoEntry> entries);
  bool Available() const { return !entries_.empty(); }
  // Restores each entry's times (100 ns exact) and whole attribute word, opened the same way as
  // for the apply, the last written first, reporting progress after each. An entry that no longer reads as the apply left
  // it was changed by someone else and is left alone. Returns those entries and the ones that
  // could not be read or written, in order, and in its Undo the entries it went on to, as they were
  // and as read back afterwards (an undo is not undone; this is for showing them). Afterwards nothing is left to undo, unless it was
  // stopped: then the entries not reached yet are still there to undo.
  BatchResult Run(EditFileSystem& fs, const BatchProgress& progress = {});
  std::size_t Count() const { return entries_.size(); }

private:
  std::vector<UndoEntry> entries_;
};

}  // namespace pw
