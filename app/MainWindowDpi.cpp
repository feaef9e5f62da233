// The main window at its monitor's DPI: the pictures in the sizes drawn for it, the menu font, and
// everything laid out again when the window moves to a monitor of another DPI.
#include "app/MainLayout.h"
#include "app/kwFileBrowser.h"
#include "resources/resource.h"
#include "ui/Dpi.h"
#include "ui/Pictures.h"

namespace {

// An image list of a strip's pictures, each cellsWide cells wide; the cells are as large as the
// variant loaded for dpi.
HIMAGELIST LoadStrip(int id, int cellsWide, UINT dpi) {
  const ui::Picture strip = ui::LoadPicture(id, 16, dpi);
  const int cell = strip.Bitmap ? strip.Size : 16;
  HIMAGELIST list = ImageList_Create(cellsWide * cell, cell, ILC_COLOR24 | ILC_MASK, 16, 4);
  if (strip.Bitmap) ImageList_AddMasked(list, strip.Bitmap.get(), RGB(255, 0, 255));
  return list;
}

HIMAGELIST LoadIconList(int id, int cell) {
  HIMAGELIST list = ImageList_Create(cell, cell, ILC_COLOR32 | ILC_MASK, 1, 1);
  ui::ScopedIcon icon = ui::LoadIconForCell(id, cell);
  if (icon) ImageList_AddIcon(list, icon.get());
  return list;
}

}  // namespace

void TfrmFileBrowser::LoadImageLists() {
  imMenu.reset(LoadStrip(IDB_MENUICONS, 1, dpi_));
  imSmall.reset(LoadIconList(IDI_FOLDERUP, ui::Scale(16, dpi_)));
  imLarge.reset(LoadIconList(IDI_FOLDERUP, ui::Scale(32, dpi_)));
}

void TfrmFileBrowser::LoadSortBitmaps() {
  SortBitmaps[0] = ui::LoadPicture(L"DOWNBITMAP", 16, dpi_).Bitmap;
  SortBitmaps[1] = ui::LoadPicture(L"UPBITMAP", 16, dpi_).Bitmap;
}

void TfrmFileBrowser::LoadWindowIcons() {
  ui::ScopedIcon big = ui::LoadIconForCell(IDI_PATHWICK, ui::Scale(32, dpi_));
  ui::ScopedIcon small = ui::LoadIconForCell(IDI_PATHWICK, ui::Scale(16, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  // The window has let go of the old icons only now.
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

void TfrmFileBrowser::ApplyMenuFont() {
  FlatMenuRenderer1.SetDpi(dpi_);
  LOGFONTW menuFont{};
  menuFont.lfHeight = -ui::Scale(pw::kMainWindowMenuFontHeight, dpi_);
  menuFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(menuFont.lfFaceName, pw::kMainWindowMenuFontName.data(), LF_FACESIZE);
  FlatMenuRenderer1.SetFont(menuFont, pw::SystemColor::MenuText);
}

// The header knows every column's width in every view; the list only in the Details view.
void TfrmFileBrowser::RescaleColumns(const ui::ListView& list, UINT oldDpi) {
  for (int column = 0; column < list.ColumnCount(); ++column) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    if (Header_GetItem(list.Header(), column, &item))
      list.SetColumnWidth(column, pw::RescaleDpi(item.cxy, static_cast<int>(oldDpi), static_cast<int>(dpi_)));
  }
}

void TfrmFileBrowser::ApplyDpi(UINT oldDpi) {
  if (!Bookmarks) return;  // not made yet: the controls are made for the DPI then in place
  font_ = ui::CreatePointFont(L"Tahoma", layout::FontPoints, dpi_);
  ApplyFont();
  StatusBar.SetLayout(ui::Scale(layout::StatusHeight, dpi_), layout::StatusPanelsAt(static_cast<int>(dpi_)));
  RescaleColumns(lvFiles, oldDpi);
  RescaleColumns(lvDrives, oldDpi);
  for (TColumnState& state : ColumnStates)
    state.SavedWidth = pw::RescaleDpi(state.SavedWidth, static_cast<int>(oldDpi), static_cast<int>(dpi_));

  LoadWindowIcons();
  LoadImageLists();
  // Setting the images has every item measured again when next shown, in the new font.
  MainMenu.SetImages(imMenu.get());
  lvFilesPopupMenu.SetImages(imMenu.get());
  ApplyMenuFont();
  pnToolbar.SetGlyphs(IDB_TOOLBARGLYPHS, dpi_);
  Bookmarks->SetDpi(dpi_);
  LoadSortBitmaps();
  UpdateSortArrows(Model.SortColumn());
}
