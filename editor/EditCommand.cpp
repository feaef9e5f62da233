// The "Edit File Params" command of the file list's pop-up menu: the selected entries, the dialog
// once, the confirmed values on every entry, a report of what failed, and the list again; and
// "Undo Edit", which takes the last edit back.
#include <optional>
#include <string>
#include <vector>

#include "app/kwFileBrowser.h"
#include "editor/DiskFileSystem.h"
#include "editor/core/EditApply.h"
#include "editor/kwFileEditParams.h"

namespace {

std::wstring FaultText(pw::EditFault fault) {
  switch (fault) {
    case pw::EditFault::Times: return L"times not changed";
    case pw::EditFault::Attributes: return L"attributes not changed";
    case pw::EditFault::ReadBack: return L"changed, but could not be read back";
    case pw::EditFault::Read: return L"could not be read";
    case pw::EditFault::ChangedSince: return L"changed by another program since";
  }
  return L"";
}

std::wstring EditFailureReport(const std::wstring& heading, const std::vector<pw::EditFailure>& failures) {
  std::wstring text = heading + L"\n";
  for (const pw::EditFailure& failure : failures) {
    text += L"\n" + failure.Path + L": " + FaultText(failure.Fault);
    if (failure.Error != pw::kFsOk) text += L" (" + pw::SystemErrorText(failure.Error) + L")";
  }
  return text;
}

}  // namespace

void TfrmFileBrowser::mnuEditFileParamsClick(const ui::Sender&) {
  std::vector<pw::EditTarget> targets;
  for (int row : lvFiles.SelectedRows()) {
    const pw::FileItem* item = ItemAt(row);
    if (item) targets.push_back({ItemSubText(row, pw::SubPath), item->Kind != pw::ItemKind::File});
  }
  pw::DiskFileSystem disk;
  pw::EditApplyResult result =
      pw::ApplyEdit(targets, disk, [this](const pw::EditDialogRequest& request) -> std::optional<pw::EditChoice> {
        TfrmEditFileParams dialog(hwnd_);
        dialog.SetCaption(request.Caption);
        dialog.FileData = request.Info;
        dialog.SetFileHandle(request.TimesWritable);
        if (dialog.ShowModal() != TfrmEditFileParams::mrOk) return std::nullopt;
        return dialog.Choice();
      });
  if (result.Outcome == pw::EditOutcome::Updated) {
    UndoRecord.Remember(std::move(result.Undo));
    mnuUndoEdit->SetEnabled(UndoRecord.Available());
  }
  if (!result.Failures.empty()) {
    MessageBoxW(hwnd_,
                EditFailureReport(L"Not every entry could be changed as confirmed:", result.Failures).c_str(),
                L"Edit File Params", MB_OK | MB_ICONWARNING);
  }
  RefreshFileList();
}

void TfrmFileBrowser::mnuUndoEditClick(const ui::Sender&) {
  if (!UndoRecord.Available()) return;
  pw::DiskFileSystem disk;
  const std::vector<pw::EditFailure> failures = UndoRecord.Run(disk);
  mnuUndoEdit->SetEnabled(false);
  if (!failures.empty()) {
    MessageBoxW(hwnd_, EditFailureReport(L"These entries were left as they are:", failures).c_str(), L"Undo Edit",
                MB_OK | MB_ICONWARNING);
  }
  RefreshFileList();
}
