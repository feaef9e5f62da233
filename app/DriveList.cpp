// The drive list: one entry per logical drive, filled whole and sorted by drive letter.
#include <windows.h>
#include <shellapi.h>

#include "app/kwFileBrowser.h"
#include "ui/Failure.h"
#include "browse/platform/DriveInfo.h"
#include "browse/core/FileCompare.h"
#include "common/core/CaselessText.h"
#include "browse/core/FileText.h"
#include "browse/platform/UserFormats.h"
#include "common/platform/LocalTime.h"

void TfrmFileBrowser::FillDriveList() {
  HWND list = lvDrives.Handle();
  ui::RedrawOff redraw(list);
  ListView_DeleteAllItems(list);
  DriveItems.clear();

  pw::FileTextContext formats;
  pw::LoadUserFormats(formats);
  bool haveSmallList = ListView_GetImageList(list, LVSIL_SMALL) != nullptr;
  DWORD mask = GetLogicalDrives();
  for (int drive = 0; drive < 26; ++drive) {
    if (!(mask & (1u << drive))) continue;
    TDriveItem item;
    item.Root = std::wstring(1, static_cast<wchar_t>(L'A' + drive)) + L":\\";
    try {
      SHFILEINFOW sfi{};
      if (SHGetFileInfoW(item.Root.c_str(), 0, &sfi, sizeof(sfi),
                         SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_TYPENAME)) {
        if (haveSmallList) item.IconIndex = Icons.FromSystem(sfi.iIcon);
        item.Caption = sfi.szDisplayName;
      }
      // A root the shell says nothing about still shows its root as the name.
      if (item.Caption.empty()) item.Caption = item.Root;
      pw::DriveInfo info = pw::GetDriveInfo(item.Root);
      item.SubItems[0] = info.TypeText;
      if (info.SerialNumber != 0) {
        item.SubItems[1] = info.FileSystemName;
        item.SubItems[2] = pw::FormatKilobytes(info.TotalSize, formats.ThousandSep);
        item.SubItems[3] = pw::FormatKilobytes(info.FreeSpace, formats.ThousandSep);
        item.SubItems[4] = pw::FormatSerial(info.SerialNumber);
      }
    } catch (...) {
      // One drive that cannot be read must not cost the others their entries; it shows what was
      // read of it, and the failure is traced.
      ui::ReportFailure(L"Reading drive " + item.Root);
    }
    DriveItems.push_back(std::move(item));
  }

  for (size_t i = 0; i < DriveItems.size(); ++i) {
    TDriveItem& d = DriveItems[i];
    LVITEMW lvi{};
    lvi.mask = LVIF_TEXT | LVIF_PARAM | (d.IconIndex >= 0 ? LVIF_IMAGE : 0);
    lvi.iItem = static_cast<int>(i);
    lvi.pszText = d.Caption.data();
    lvi.iImage = d.IconIndex;
    lvi.lParam = static_cast<LPARAM>(i);
    int row = ListView_InsertItem(list, &lvi);
    for (int sub = 0; sub < 5; ++sub) ListView_SetItemText(list, row, sub + 1, d.SubItems[sub].data());
  }
  ListView_SortItems(list, [](LPARAM a, LPARAM b, LPARAM self) -> int {
    auto* form = reinterpret_cast<TfrmFileBrowser*>(self);
    return form->lvDrivesCompare(form->DriveItems[static_cast<size_t>(a)], form->DriveItems[static_cast<size_t>(b)]);
  }, reinterpret_cast<LPARAM>(this));
}

int TfrmFileBrowser::lvDrivesCompare(const TDriveItem& item1, const TDriveItem& item2) const {
  return pw::CaselessCompare(item1.Root, item2.Root);
}

const TDriveItem* TfrmFileBrowser::DriveAt(int index) const {
  if (index < 0) return nullptr;
  LVITEMW lvi{};
  lvi.mask = LVIF_PARAM;
  lvi.iItem = index;
  if (!ListView_GetItem(lvDrives.Handle(), &lvi)) return nullptr;
  size_t i = static_cast<size_t>(lvi.lParam);
  return i < DriveItems.size() ? &DriveItems[i] : nullptr;
}

void TfrmFileBrowser::OpenSelectedDrive() {
  const TDriveItem* drive = DriveAt(lvDrives.FirstSelected());
  if (!drive) return;
  CurrentPath = drive->Root;
  ListFolder([this](bool) { SelectFocusedOrFirst(lvFiles); });
}

void TfrmFileBrowser::lvDrivesDblClick() { OpenSelectedDrive(); }

void TfrmFileBrowser::lvDrivesKeyDown(WORD& key) {
  switch (key) {
    case VK_RETURN:
      OpenSelectedDrive();
      break;
    case VK_LEFT:
      key = 0;
      break;
    case VK_RIGHT:
      if (lvDrives.ViewStyle() == LV_VIEW_DETAILS) {
        OpenSelectedDrive();
        key = 0;
      }
      break;
    default:
      break;
  }
}
