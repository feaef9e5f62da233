#include "editor/EditCommand.h"

#include <optional>

#include "editor/core/EditApply.h"
#include "editor/kwFileEditParams.h"
#include "timetools/DiskFileSystem.h"
#include "timetools/kwProgress.h"

namespace pw {

bool EditFileParams(const ToolRequest& request, BatchRunner& runner) {
  runner.Starting();
  HWND parent = request.Parent;
  DiskFileSystem disk;
  const bool offersScope = HoldsFolders(request.Targets);
  EditPlan asked = AskEdit(request.Targets, disk, [parent, offersScope](const EditDialogRequest& shown) -> std::optional<EditChoice> {
    TfrmEditFileParams dialog(parent, offersScope);
    dialog.SetCaption(shown.Caption);
    dialog.SetFileData(shown.Info);
    dialog.SetFileHandle(shown.TimesWritable);
    if (dialog.ShowModal() != TfrmEditFileParams::mrOk) return std::nullopt;
    return dialog.Choice();
  });
  if (asked.Outcome != EditOutcome::Updated) return false;
  const wchar_t* title = L"Edit File Params";
  std::vector<EditFailure> failures;
  std::optional<std::vector<BatchEntry>> entries;
  TfrmProgress::Run(parent, title,
                    [&](const BatchProgress& progress) { entries = CollectEdit(asked, disk, failures, progress); });
  if (!entries) return false;
  BatchPlan plan = PlanEntries(*entries, EditRule(asked.Choice));
  plan.Failures = std::move(failures);
  plan.HeldForFirst = std::move(asked.Held);
  plan.Confirmed = true;
  plan.ChosenFolder = request.ListedFolder;
  return runner.Run(parent, title, std::move(plan));
}

}  // namespace pw
