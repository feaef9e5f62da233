#include "support/MainWindowProbe.h"

const ui::SpeedButton& MainWindowProbe::Button(std::wstring_view name) const {
  return *form_.pnToolbar.Find(name);  // the toolbar's table names every button
}

std::wstring MainWindowProbe::DriveRoot(int row) const {
  const TDriveItem* drive = form_.DriveAt(row);
  return drive ? drive->Root : std::wstring();
}

const ui::MenuItem& MainWindowProbe::Item(std::wstring_view name) const {
  ui::MenuItem* item = form_.MainMenu.Find(name);
  if (!item) item = form_.lvFilesPopupMenu.Find(name);
  return *item;  // the tables lay out every item a test names
}

std::optional<MainWindowProbe::CommandKey> MainWindowProbe::CommandOf(const ui::MenuItem& item) const {
  const TfrmFileBrowser::CommandRow* row = TfrmFileBrowser::CommandOfItem(item.Name);
  if (!row) return std::nullopt;
  return CommandKey{row->Key, row->Modifiers, row->NeedsSelection};
}
