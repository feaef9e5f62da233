// The commands on the selection that other rooms carry out: the bookmark controls, the editor and
// its undo, and the about box.
#include <string_view>

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
  mnuUndoEdit->SetEnabled(Batches.CanUndo());
  const std::vector<pw::WrittenEntry>& written = Batches.Written();
  if (written.empty() || lvDrives.Visible()) return;
  // A listing still running would hand over the values it read before the edit.
  if (Feed->Running()) {
    RefreshFileList();
    return;
  }
  std::vector<pw::FolderModel::EntryNow> rows;
  const auto caption = [this](int row) { return std::wstring_view(Model.At(row)->Caption); };
  for (const pw::WrittenRow& found : pw::MatchWrittenRows(Model.ListedFolder(), written, Model.FirstEntryRow(),
                                                          static_cast<int>(Model.Count()), caption)) {
    const pw::FileItem& item = *Model.At(found.Row);
    const pw::EntryInfo& info = written[found.Written].Now;
    rows.push_back({found.Row, pw::FoundEntry{item.Caption, info.Attributes, item.Size, info.Created, info.LastWrite,
                                              info.LastAccess}});
  }
  if (rows.empty()) return;
  // Entries the view no longer keeps (made hidden, say) leave; the others keep their rows.
  ChangeRows([this, &rows] { return Model.Update(rows); }, RowsView::Stay);
}

void TfrmFileBrowser::mnuEditFileParamsClick(const ui::Sender& sender) { RunTimeTool<&pw::EditFileParams>(sender); }

void TfrmFileBrowser::mnuUndoEditClick(const ui::Sender&) {
  if (!Batches.CanUndo()) return;
  Batches.Undo(hwnd_);
  AfterEdit();
}

void TfrmFileBrowser::mnuAboutClick(const ui::Sender&) {
  TfrmAbout about;
  if (!about.Create()) return;
  about.SetCaption(L"About Pathwick 4 Windows");
  about.ShowModal();
}
