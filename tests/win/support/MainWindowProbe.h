#pragma once
// What tests and tools may read of the main window beyond what its controls show on screen: its
// controls and menu items by the names the layout gives them, and its state. It only reads; every
// change goes through the window's controls, as a user's would.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/kwFileBrowser.h"

class MainWindowProbe {
public:
  explicit MainWindowProbe(const TfrmFileBrowser& form) : form_(form) {}

  const ui::ListView& Files() const { return form_.lvFiles; }
  const ui::ListView& Drives() const { return form_.lvDrives; }
  HWND PathLine() const { return form_.edFilename; }
  const ui::StatusBar& Status() const { return form_.StatusBar; }
  HWND ToolbarPanel() const { return form_.pnToolbar.Handle(); }
  HWND FilenamePanel() const { return form_.pnFilename.Handle(); }
  // A toolbar button or a menu item by its name ("btnRefresh", "mnuShowFolders", "N5").
  const ui::SpeedButton& Button(std::wstring_view name) const;
  const ui::MenuItem& Item(std::wstring_view name) const;
  // The key and the selection rule of the command a menu item runs; nothing for an item whose
  // command has neither.
  struct CommandKey {
    WORD Key = 0;
    unsigned Modifiers = 0;
    bool NeedsSelection = false;
  };
  std::optional<CommandKey> CommandOf(const ui::MenuItem& item) const;
  HMENU MainMenu() const { return form_.MainMenu.Handle(); }
  HMENU PopupMenu() const { return form_.lvFilesPopupMenu.Handle(); }
  HIMAGELIST MenuImages() const { return form_.imMenu.get(); }

  const std::wstring& CurrentPath() const { return form_.CurrentPath; }
  int AttrMask() const { return static_cast<int>(form_.Model.AttrMask()); }
  bool HideFolders() const { return form_.Model.HideFolders(); }
  int SortColumn() const { return form_.Model.SortColumn(); }
  bool SortAscending() const { return form_.Model.SortAscending(); }
  TColumnState Column(int column) const { return form_.ColumnStates.at(static_cast<std::size_t>(column)); }
  int UpIconIndex() const { return form_.UpIconIndex; }
  // The header arrows: 0 down, 1 up.
  HBITMAP SortBitmap(int index) const { return form_.SortBitmaps.at(static_cast<std::size_t>(index)).get(); }
  // Sub-items 0..7 of a row of the file list (File-list item); empty outside the list.
  std::wstring SubText(int row, int subItem) const { return form_.Model.SubText(row, subItem); }
  // The root a row of the drive list stands for ("D:\"); empty outside the list.
  std::wstring DriveRoot(int row) const;
  const std::vector<std::wstring>& Bookmarks() const { return form_.Bookmarks->RecentKeys().Bookmarks(); }

private:
  const TfrmFileBrowser& form_;
};
