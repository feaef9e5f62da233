#include "editor/EditCommand.h"

#include <optional>
#include <string>

#include "common/platform/SystemError.h"
#include "editor/DiskFileSystem.h"
#include "editor/kwFileEditParams.h"

namespace pw {
namespace {

std::wstring FaultText(EditFault fault) {
  switch (fault) {
    case EditFault::Times: return L"times not changed";
    case EditFault::Attributes: return L"attributes not changed";
    case EditFault::ReadBack: return L"changed, but could not be read back";
    case EditFault::Read: return L"could not be read";
    case EditFault::ChangedSince: return L"changed by another program since";
  }
  return L"";
}

void ReportFailures(HWND parent, const wchar_t* title, const std::wstring& heading,
                    const std::vector<EditFailure>& failures) {
  if (failures.empty()) return;
  std::wstring text = heading + L"\n";
  for (const EditFailure& failure : failures) {
    text += L"\n" + failure.Path + L": " + FaultText(failure.Fault);
    if (failure.Error != kFsOk) text += L" (" + SystemErrorText(failure.Error) + L")";
  }
  MessageBoxW(parent, text.c_str(), title, MB_OK | MB_ICONWARNING);
}

}  // namespace

bool EditCommand::Run(const std::vector<EditTarget>& targets, HWND parent) {
  DiskFileSystem disk;
  EditApplyResult result =
      ApplyEdit(targets, disk, [parent](const EditDialogRequest& request) -> std::optional<EditChoice> {
        TfrmEditFileParams dialog(parent);
        dialog.SetCaption(request.Caption);
        dialog.FileData = request.Info;
        dialog.SetFileHandle(request.TimesWritable);
        if (dialog.ShowModal() != TfrmEditFileParams::mrOk) return std::nullopt;
        return dialog.Choice();
      });
  if (result.Outcome == EditOutcome::Updated) undo_.Remember(std::move(result.Undo));
  ReportFailures(parent, L"Edit File Params", L"Not every entry could be changed as confirmed:", result.Failures);
  return result.Outcome == EditOutcome::Updated;
}

void EditCommand::Undo(HWND parent) {
  if (!undo_.Available()) return;
  DiskFileSystem disk;
  ReportFailures(parent, L"Undo Edit", L"These entries were left as they are:", undo_.Run(disk));
}

}  // namespace pw
