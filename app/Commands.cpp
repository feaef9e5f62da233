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
  mnuUndoEdit->SetEnabled(Editor.CanUndo());
  const std::vector<pw::WrittenEntry>& written = Editor.Written();
  if (written.empty() || lvDrives.Visible()) return;
  // A listing still running would hand over the values it read before the edit.
  if (Feed->Running()) {
    RefreshFileList();
    return;
  }
  // The written entries of the listed folder by name (a scoped run writes deeper ones too). They
  // were written in the order of their rows, so one walk down both finds almost all of them; what
  // it misses is looked up by name.
  const std::wstring& folder = Model.ListedFolder();
  const auto nameIn = [&folder](std::wstring_view path) {
    if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return std::wstring_view();
    const std::wstring_view name = path.substr(folder.size());
    return name.find(L'\\') == std::wstring_view::npos ? name : std::wstring_view();
  };
  std::vector<pw::FolderModel::EntryNow> rows;
  const auto take = [&](int row, const pw::EntryInfo& info) {
    const pw::FileItem& item = *Model.At(row);
    rows.push_back({row, pw::FoundEntry{item.Caption, info.Attributes, item.Size, info.Created, info.LastWrite,
                                        info.LastAccess}});
  };
  const int count = static_cast<int>(Model.Count());
  std::unordered_map<std::wstring_view, const pw::EntryInfo*> missed;
  std::size_t next = 0;
  for (int row = Model.FirstEntryRow(); row < count; ++row) {
    while (next < written.size() && nameIn(written[next].Path).empty()) ++next;
    if (next == written.size()) break;
    if (Model.At(row)->Caption == nameIn(written[next].Path)) take(row, written[next++].Now);
  }
  for (; next < written.size(); ++next)
    if (const std::wstring_view name = nameIn(written[next].Path); !name.empty()) missed[name] = &written[next].Now;
  if (!missed.empty()) {
    std::vector<bool> taken(static_cast<std::size_t>(count), false);
    for (const pw::FolderModel::EntryNow& entry : rows) taken[static_cast<std::size_t>(entry.Row)] = true;
    for (int row = Model.FirstEntryRow(); row < count; ++row) {
      if (taken[static_cast<std::size_t>(row)]) continue;
      if (const auto found = missed.find(Model.At(row)->Caption); found != missed.end()) take(row, *found->second);
    }
  }
  if (rows.empty()) return;
  // Entries the view no longer keeps (made hidden, say) leave; the others keep their rows.
  ChangeRows([this, &rows] { return Model.Update(rows); }, RowsView::Stay);
}

void TfrmFileBrowser::mnuEditFileParamsClick(const ui::Sender&) {
  if (Editor.EditFileParams(SelectedTargets(), hwnd_)) AfterEdit();
}

void TfrmFileBrowser::mnuShiftTimesClick(const ui::Sender&) {
  if (Editor.ShiftTimes(SelectedTargets(), hwnd_)) AfterEdit();
}

void TfrmFileBrowser::mnuCopyTimesFromClick(const ui::Sender&) {
  if (Editor.CopyTimesFrom(SelectedTargets(), hwnd_)) AfterEdit();
}

void TfrmFileBrowser::mnuTimesFromContentClick(const ui::Sender&) {
  if (Editor.TimesFromContent(SelectedTargets(), hwnd_)) AfterEdit();
}

void TfrmFileBrowser::mnuSaveTimesClick(const ui::Sender&) {
  Editor.SaveTimes(SelectedTargets(), Model.ListedFolder(), hwnd_);
}

void TfrmFileBrowser::mnuRestoreTimesClick(const ui::Sender&) {
  if (Editor.RestoreTimes(SelectedTargets(), Model.ListedFolder(), hwnd_)) AfterEdit();
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
