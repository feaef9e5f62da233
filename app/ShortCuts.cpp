// The keys an Explorer user presses without thinking, and the mouse's back and forward buttons.
// Each control that can hold the focus hands its key presses here before acting on them itself,
// so the keys work the same whether or not a message loop translates accelerators.
#include <windows.h>

#include "app/kwFileBrowser.h"
#include "common/core/CaselessText.h"
#include "common/core/PathRules.h"
#include "ui/Keys.h"

namespace {

bool FolderAvailable(const std::wstring& folder) {
  if (folder.empty()) return true;  // the drive list
  const DWORD attrs = GetFileAttributesW(folder.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool TfrmFileBrowser::FormShortCut(HWND from, UINT msg, WPARAM key, LPARAM lp) {
  // Toolbar, path line, list: Tab walks them in reading order.
  if (ui::MoveFocusByTab(from, msg, key, lp)) return true;
  const CommandRow* command = CommandForKey(KeyScope::Window, msg, key, lp);
  if (!command || (command->TextKeepsIt && from == edFilename)) return false;
  ui::KeyUsed(from, msg, key, lp);
  RunCommand(command->Run, ui::Sender{});
  return true;
}

bool TfrmFileBrowser::ListShortCut(const ui::ListView& list, UINT msg, WPARAM key, LPARAM lp) {
  const CommandRow* command = CommandForKey(KeyScope::Lists, msg, key, lp);
  const CommandRow* fileKey = command ? nullptr : CommandForKey(KeyScope::FileList, msg, key, lp);
  if (!command && !fileKey) return false;
  ui::KeyUsed(list.Handle(), msg, key, lp);
  // A key of the file list's commands means nothing in the drive list (Alt+Enter must not open the
  // drive as Enter does).
  if (!command && &list != &lvFiles) MessageBeep(MB_OK);
  else RunCommand((command ? command : fileKey)->Run, ui::Sender{});
  return true;
}

bool TfrmFileBrowser::OnAppCommand(LPARAM lp) {
  switch (GET_APPCOMMAND_LPARAM(lp)) {
    case APPCOMMAND_BROWSER_BACKWARD: GoBack(ui::Sender{}); return true;
    case APPCOMMAND_BROWSER_FORWARD: GoForward(ui::Sender{}); return true;
    default: return false;
  }
}

void TfrmFileBrowser::GoBack(const ui::Sender&) { StepThroughHistory(History.Back(FolderAvailable)); }

void TfrmFileBrowser::GoForward(const ui::Sender&) { StepThroughHistory(History.Forward(FolderAvailable)); }

void TfrmFileBrowser::StepThroughHistory(const pw::FolderHistory::Step& step) {
  // A folder deleted since it was visited is passed over with a beep, never an error box.
  if (step.Skipped > 0 || !step.Folder) MessageBeep(MB_OK);
  if (!step.Folder) return;
  const std::wstring left = lvFiles.Visible() ? Model.ListedFolder() : std::wstring();
  OpenFolder(*step.Folder, [this, left](bool read) {
    if (read && !left.empty()) SelectCameFrom(left);
  });
}

void TfrmFileBrowser::GoUp(const ui::Sender&) {
  const std::wstring listed = Model.ListedFolder();
  if (lvDrives.Visible() || listed.empty()) {
    MessageBeep(MB_OK);
    return;
  }
  if (!pw::IsDriveRoot(listed)) {
    OpenFolder(pw::ParentFolderPath(listed), [this, listed](bool read) {
      if (read) SelectCameFrom(listed);
    });
    return;
  }
  // The drive list comes back with the drive just left as its focused, and so selected, entry.
  for (int i = 0; i < lvDrives.Count(); ++i) {
    const TDriveItem* drive = DriveAt(i);
    if (drive && pw::CaselessCompare(drive->Root, listed) == 0)
      ListView_SetItemState(lvDrives.Handle(), i, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  OpenFolder(L"");
}

void TfrmFileBrowser::SelectCameFrom(const std::wstring& leftFolder) {
  // Only when the listed folder holds the one left: going up, or back to where the user came from.
  if (pw::CaselessCompare(pw::ParentFolderPath(leftFolder), Model.ListedFolder()) != 0) return;
  const std::wstring name = pw::LastComponent(std::wstring_view(leftFolder).substr(0, leftFolder.size() - 1));
  for (int row = 0; const pw::FileItem* item = Model.At(row); ++row) {
    if (item->Kind != pw::ItemKind::Folder || pw::CaselessCompare(item->Caption, name) != 0) continue;
    ClearFileSelection(false);
    ListView_SetItemState(lvFiles.Handle(), row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ListView_EnsureVisible(lvFiles.Handle(), row, FALSE);
    return;
  }
}

void TfrmFileBrowser::SelectAllFiles(const ui::Sender&) {
  // The folder's entries: not the parent entry nor the drives entry, which always stand on top.
  const int count = lvFiles.Count();
  const int first = Model.FirstEntryRow();
  if (first >= count) return;
  // One change of the whole list instead of one per row, which in a large folder would repaint
  // the path line and the bookmark controls for every entry. The selection handler then runs once,
  // for the last entry that changed: the entry it would have ended on row by row.
  int last = count - 1;
  while (last >= first && lvFiles.IsSelected(last)) --last;
  {
    ui::RaisedFlag quiet(quietSelection_);
    ListView_SetItemState(lvFiles.Handle(), -1, LVIS_SELECTED, LVIS_SELECTED);
    for (int i = 0; i < first; ++i) ListView_SetItemState(lvFiles.Handle(), i, 0, LVIS_SELECTED);
  }
  lvFilesSelectItem(last >= first ? last : count - 1, true);
}

void TfrmFileBrowser::FocusShownList() {
  SetFocus(lvDrives.Visible() ? lvDrives.Handle() : lvFiles.Handle());
}
