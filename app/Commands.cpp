// The commands on the selection that other rooms carry out: the bookmark controls, the editor and
// its undo, and the about box.
#include "about/kwCorvaltAbout.h"
#include "app/kwFileBrowser.h"

void TfrmFileBrowser::mnuBookmarkClick(const ui::Sender& sender) {
  const int selected = lvFiles.FirstSelected();
  if (selected < 0) return;
  Bookmarks->Click(sender.Tag, Model.Path(selected));
}

void TfrmFileBrowser::UpdateBookmarkControls(int state) {
  const int selected = lvFiles.FirstSelected();
  const std::wstring path = Model.Path(selected);  // empty for the drives entry
  Bookmarks->Update(state, lvFiles.Visible() && selected >= 0 && !path.empty(), path);
}

std::vector<pw::EditTarget> TfrmFileBrowser::SelectedTargets() const {
  std::vector<pw::EditTarget> targets;
  for (int row : lvFiles.SelectedRows()) {
    const pw::FileItem* item = Model.At(row);
    if (!item) continue;
    const pw::EntryInfo known{item->Attributes, item->Created, item->Accessed, item->Modified};
    targets.push_back({Model.Path(row), item->Kind != pw::ItemKind::File, known});
  }
  return targets;
}

void TfrmFileBrowser::AfterEdit() {
  Item(L"mnuUndoEdit").SetEnabled(Editor.CanUndo());
  RefreshFileList();
}

void TfrmFileBrowser::mnuEditFileParamsClick(const ui::Sender&) {
  Editor.Run(SelectedTargets(), hwnd_);
  AfterEdit();
}

void TfrmFileBrowser::mnuShiftTimesClick(const ui::Sender&) {
  if (lvFiles.SelectedCount() == 0) {
    MessageBeep(MB_OK);
    return;
  }
  if (Editor.ShiftTimes(SelectedTargets(), hwnd_)) AfterEdit();
}

void TfrmFileBrowser::mnuCopyTimesFromClick(const ui::Sender&) {
  if (lvFiles.SelectedCount() == 0) {
    MessageBeep(MB_OK);
    return;
  }
  if (Editor.CopyTimesFrom(SelectedTargets(), hwnd_)) AfterEdit();
}

void TfrmFileBrowser::mnuUndoEditClick(const ui::Sender&) {
  if (!Editor.CanUndo()) return;
  Editor.Undo(hwnd_);
  AfterEdit();
}

void TfrmFileBrowser::mnuAboutClick(const ui::Sender&) {
  TfrmAbout about;
  if (!about.Create()) return;
  about.SetCaption(L"About Pathwick 4 Windows");
  about.ShowModal();
}
