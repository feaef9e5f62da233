// The commands on the selection that other rooms carry out: the bookmark controls, the editor and
// its undo, and the about box.
#include <unordered_map>

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
  const std::vector<pw::WrittenEntry>& written = Editor.Written();
  if (written.empty() || lvDrives.Visible()) return;
  // A listing still running would hand over the values it read before the edit.
  if (Lister->Running()) {
    RefreshFileList();
    return;
  }
  std::unordered_map<std::wstring, const pw::EntryInfo*> now;
  now.reserve(written.size());
  for (const pw::WrittenEntry& entry : written) now[entry.Path] = &entry.Now;
  std::vector<pw::FolderModel::EntryNow> rows;
  const int count = static_cast<int>(Model.Count());
  for (int row = Model.FirstEntryRow(); row < count && rows.size() < now.size(); ++row) {
    const auto found = now.find(pw::EditEntryPath(Model.Path(row)));
    if (found == now.end()) continue;
    const pw::FileItem& item = *Model.At(row);
    const pw::EntryInfo& info = *found->second;
    rows.push_back({row, pw::FoundEntry{item.Caption, info.Attributes, item.Size, info.Created, info.LastWrite,
                                        info.LastAccess}});
  }
  if (rows.empty()) return;
  const std::size_t before = Model.Count();
  const std::vector<std::uint32_t> moved = Model.Update(rows);
  if (Model.Count() == before) {
    InvalidateRect(lvFiles.Handle(), nullptr, FALSE);
    return;
  }
  // Entries the view no longer keeps (made hidden, say) leave; the others keep their selection.
  ShowEndedListing(lvFiles.SelectedRows(), lvFiles.Focused(), moved);
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
