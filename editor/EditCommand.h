#pragma once
// "Edit File Params": the dialog once, for the first entry that can be read, then the confirmed
// values on every selected entry (and with a scope, on what lies inside the selected folders),
// through the pipeline every batch tool runs through.
#include "timetools/TimeTools.h"

namespace pw {

// False when nothing was confirmed.
bool EditFileParams(const ToolRequest& request, BatchRunner& runner);

}  // namespace pw
