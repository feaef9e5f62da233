#pragma once
// The batch time tools, each a window that asks what to do and a planning rule: "Shift Times",
// "Copy Times From", "Set to Now", "Times From Content", "Set the Clock Right", "Restore Times", each reaching into the
// selected folders when asked, and "Save Times", the times to a file that "Restore Times" gives
// back. Every tool that writes hands its plan to the one pipeline (BatchRunner).
#include <windows.h>

#include <string>
#include <vector>

#include "timetools/BatchRun.h"
#include "timetools/core/TimeBatch.h"

namespace pw {

// What a tool is started on: the selected entries of the list, the folder listed, and the window
// that owns the tool's windows.
struct ToolRequest {
  std::vector<EditTarget> Targets;
  std::wstring ListedFolder;
  HWND Parent = nullptr;
};

// Each returns false when nothing was confirmed.
bool ShiftTimes(const ToolRequest& request, BatchRunner& runner);
bool CopyTimesFrom(const ToolRequest& request, BatchRunner& runner);
bool SetTimesToNow(const ToolRequest& request, BatchRunner& runner);
bool TimesFromContent(const ToolRequest& request, BatchRunner& runner);
// The selected photos and videos of one camera moved by the difference between one's date taken
// and when it was really taken.
bool SetClockRight(const ToolRequest& request, BatchRunner& runner);
bool SaveTimes(const ToolRequest& request, BatchRunner& runner);
bool RestoreTimes(const ToolRequest& request, BatchRunner& runner);

// Whether the selection holds folders, for a tool to offer its scope.
bool HoldsFolders(const std::vector<EditTarget>& targets);
// The selected entries as a run starts from them; an entry the list has no values for is read.
std::vector<BatchEntry> SelectedEntries(const std::vector<EditTarget>& targets, EditFileSystem& fs,
                                        std::vector<EditFailure>& failures);

}  // namespace pw
