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

void TfrmFileBrowser::mnuEditFileParamsClick(const ui::Sender&) {
  std::vector<pw::EditTarget> targets;
  for (int row : lvFiles.SelectedRows()) {
    const pw::FileItem* item = Model.At(row);
    if (item) targets.push_back({Model.Path(row), item->Kind != pw::ItemKind::File});
  }
  Editor.Run(targets, hwnd_);
  Item(L"mnuUndoEdit").SetEnabled(Editor.CanUndo());
  RefreshFileList();
}

void TfrmFileBrowser::mnuUndoEditClick(const ui::Sender&) {
  if (!Editor.CanUndo()) return;
  Editor.Undo(hwnd_);
  Item(L"mnuUndoEdit").SetEnabled(Editor.CanUndo());
  RefreshFileList();
}

void TfrmFileBrowser::mnuAboutClick(const ui::Sender&) {
  TfrmAbout about;
  if (!about.Create()) return;
  about.SetCaption(L"About Pathwick 4 Windows");
  about.ShowModal();
}
