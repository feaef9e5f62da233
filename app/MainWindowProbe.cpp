#include "app/MainWindowProbe.h"

const ui::SpeedButton& MainWindowProbe::Button(std::wstring_view name) const {
  return *form_.pnToolbar.Find(name);  // the toolbar's table names every button
}

std::wstring MainWindowProbe::DriveRoot(int row) const {
  const TDriveItem* drive = form_.DriveAt(row);
  return drive ? drive->Root : std::wstring();
}
