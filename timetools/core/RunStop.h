#pragma once
// When a batch run stops by itself: an entry that failed because its volume stopped answering (a
// server gone, a network down). Every entry left would fail alike, each after a time-out of its
// own, so the run ends there: its report says what was written and what was not, and its undo
// holds exactly what was written.
#include <cstddef>
#include <span>

#include "timetools/core/EditRecords.h"

namespace pw {

// Whether the failures an entry added (those from `before` on) end the run.
bool EndsTheRun(std::span<const EditFailure> failures, std::size_t before);

}  // namespace pw
