// The main window's controls: made once, without a place, and placed by one layout for the
// window's size and DPI whenever either changes.
#include "app/MainLayout.h"
#include "app/kwFileBrowser.h"
#include "ui/Dpi.h"

namespace {

constexpr int kIdFiles = 101;
constexpr int kIdDrives = 102;
constexpr int kIdFilename = 103;

}  // namespace

void TfrmFileBrowser::CreateControls() {
  font_ = ui::CreatePointFont(L"Tahoma", layout::FontPoints, dpi_);

  BuildToolbar();
  pnFilename.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::None, ui::Bevel::Lowered);
  edFilename = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 0, 0,
                               0, 0, pnFilename.Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdFilename)),
                               GetModuleHandleW(nullptr), nullptr);
  StatusBar.Create(hwnd_, ui::Scale(layout::StatusHeight, dpi_), layout::StatusPanelsAt(static_cast<int>(dpi_)));
  pnBack.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::None, ui::Bevel::Lowered);

  // Created first, so it lies below the drive list. Auto-arranged, so that the arrow keys in the
  // icon views step through the rows by index instead of asking the owner for the nearest item.
  lvFiles.Create(pnBack.Handle(),
                 LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE,
                 kIdFiles);
  for (const auto& col : layout::FileColumns) lvFiles.AddColumn(col.Caption, ui::Scale(col.Width, dpi_), col.Format);
  lvDrives.Create(pnBack.Handle(),
                  LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS,
                  kIdDrives);
  for (const auto& col : layout::DriveColumns) lvDrives.AddColumn(col.Caption, ui::Scale(col.Width, dpi_), col.Format);
  SetWindowPos(lvDrives.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  drivesKeys_.Install(lvDrives.Handle(), [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) {
    if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) return false;
    *r = 0;
    return OnListKeyDown(lvDrives, msg, wp, lp);
  });
  pathLine_.Install(edFilename, [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) {
    return FilenameWndProc(msg, wp, lp, r);
  });

  BuildMenus();
  ApplyFont();
  ArrangeControls();
}

void TfrmFileBrowser::ApplyFont() {
  HWND controls[] = {edFilename, lvFiles.Handle(), lvDrives.Handle(), StatusBar.Handle(),
                     pnToolbar.Handle(), pnFilename.Handle(), pnBack.Handle(), hwnd_};
  for (HWND wnd : controls) SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void TfrmFileBrowser::ArrangeControls() {
  if (!pnBack.Handle()) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  SendMessageW(StatusBar.Handle(), WM_SIZE, 0, 0);
  RECT sb{};
  GetWindowRect(StatusBar.Handle(), &sb);
  const int statusHeight = IsWindowVisible(StatusBar.Handle()) ? sb.bottom - sb.top : 0;
  const layout::MainRects r = layout::Arrange(rc.right, rc.bottom, statusHeight, static_cast<int>(dpi_));
  auto place = [](HWND wnd, const RECT& to) {
    SetWindowPos(wnd, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(pnToolbar.Handle(), r.Toolbar);
  pnToolbar.Arrange(dpi_);
  place(pnFilename.Handle(), r.Filename);
  place(edFilename, r.Path);
  place(pnBack.Handle(), r.Back);
  RECT inner = pnBack.InnerRect();
  for (HWND list : {lvFiles.Handle(), lvDrives.Handle()}) place(list, inner);
}
