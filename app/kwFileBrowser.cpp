#include "app/kwFileBrowser.h"

#include <shellapi.h>

#include "app/MainLayout.h"
#include "app/ViewOptions.h"
#include "common/core/PathRules.h"
#include "common/core/ProgramKey.h"
#include "resources/resource.h"
#include "ui/Dpi.h"
#include "ui/HighContrast.h"

namespace {

// Posted by the listing's worker when it has found entries or is done; wParam names the listing.
constexpr UINT kWmListing = WM_APP + 1;

}  // namespace

TfrmFileBrowser::TfrmFileBrowser(pw::DirectoryQuery folderQuery) : folderQuery_(folderQuery) {}

TfrmFileBrowser::~TfrmFileBrowser() { DestroyForm(); }

bool TfrmFileBrowser::Create(bool quitOnDestroy) {
  quitOnDestroy_ = quitOnDestroy;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  ClassSpec cls{L"TfrmFileBrowser"};
  // The window's own icons are set for its DPI when it is made (LoadWindowIcons).
  cls.Icon = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_PATHWICK), IMAGE_ICON, 32, 32, LR_SHARED));
  cls.SmallIcon = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_PATHWICK), IMAGE_ICON, 16, 16, LR_SHARED));
  return CreateObjectWindow(cls, WS_EX_CONTROLPARENT, L"Pathwick for Windows",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            layout::WindowWidth, layout::WindowHeight, nullptr, nullptr) != nullptr;
}

void TfrmFileBrowser::Show() {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  ShowFocusCues();
  ui::ApplyContrastLook(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  if (lvDrives.Visible()) SetFocus(lvDrives.Handle());
  else if (lvFiles.Visible()) SetFocus(lvFiles.Handle());
}

// --- Form events -----------------------------------------------------------------------------

void TfrmFileBrowser::FormCreate() {
  Feed = std::make_unique<pw::FolderFeed>(hwnd_, kWmListing, pw::FolderFeed::kWatchBytes, folderQuery_);
  LoadSortBitmaps();
  // The bookmark controls start in the add state (tag 3).
  Bookmarks = std::make_unique<pw::TBookmarkControls>(*mnuBookmarks, pw::kFileBrowserSubKey,
                                                      *pnToolbar.Find(L"btnBookmark"), *mnuPopBookmark);
  Bookmarks->SetDpi(dpi_);
  Bookmarks->RecentKeys().OnOpenBookmark = [this](const std::wstring& path) { OpenBookmark(path); };
  SetWindowPos(hwnd_, nullptr, 0, 0, ui::Scale(layout::WindowWidth, dpi_), ui::Scale(layout::WindowHeight, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < kColumnCount; ++i) ColumnStates[i] = TColumnState{lvFiles.ColumnWidth(i), true};
  OldFilesWndProc.Install(lvFiles.Handle(), [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) {
    return FilesWndProc(msg, wp, lp, r);
  });
  Model.SetHideFolders(!mnuShowFolders->Checked());
  mnuUpdate->SetVisible(false);
  for (std::size_t i = 0; i < pnToolbar.Count(); ++i) pnToolbar.At(i).SetVisible(pnToolbar.At(i).Tag != -1);
  LoadSystemImageLists();
  FillDriveList();
  UpdateAttrMask();
  CurrentPath.clear();
  History.Visit(CurrentPath);  // the drive list, where the program starts
  UpdateSortArrows(0);
}

void TfrmFileBrowser::FormShow() {
  pw::PersistMenuChecks(*mnuView, pw::FileBrowserKeyPath(), false);
  if (lvDrives.Visible()) SelectFocusedOrFirst(lvDrives);
  if (lvFiles.Visible()) SelectByCaption(lvFiles, pw::LastComponent(CurrentPath));
  RECT wr;
  GetWindowRect(hwnd_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ArrangeControls();
}

void TfrmFileBrowser::FormResize() {
  ListView_Arrange(lvDrives.Handle(), LVA_ALIGNTOP);
  ListView_Arrange(lvFiles.Handle(), LVA_ALIGNTOP);
}

void TfrmFileBrowser::FormClose() {
  pw::PersistMenuChecks(*mnuView, pw::FileBrowserKeyPath(), true);
}

void TfrmFileBrowser::FormDestroy() {
  SortBitmaps[0].reset();
  SortBitmaps[1].reset();
  Feed.reset();     // a running listing stops
  Bookmarks.reset();  // stores the bookmarks
  OldFilesWndProc.Remove();
  MainMenu.DetachFromWindow();
}

void TfrmFileBrowser::LoadSystemImageLists() {
  ui::ScopedIcon upLarge(imLarge ? ImageList_GetIcon(imLarge.get(), 0, ILD_NORMAL) : nullptr);
  ui::ScopedIcon upSmall(imSmall ? ImageList_GetIcon(imSmall.get(), 0, ILD_NORMAL) : nullptr);
  Icons.Load(upLarge.get(), upSmall.get());
  for (HWND list : {lvDrives.Handle(), lvFiles.Handle()}) {
    ListView_SetImageList(list, Icons.Large(), LVSIL_NORMAL);
    ListView_SetImageList(list, Icons.Small(), LVSIL_SMALL);
  }
  UpIconIndex = Icons.UpIconIndex();
}

void TfrmFileBrowser::UpdateAttrMask() {
  std::uint32_t mask = 0;
  for (auto& child : mnuAttributes->Items())
    if (child->Checked()) mask |= static_cast<std::uint32_t>(child->Tag);
  Model.SetAttrMask(mask);
}

// --- Messages --------------------------------------------------------------------------------

void TfrmFileBrowser::OnCreate() {
  TakeDpi();
  LoadWindowIcons();
  CreateControls();
  FormCreate();
}

void TfrmFileBrowser::OnSize() {
  ArrangeControls();
  FormResize();
}

void TfrmFileBrowser::OnGetMinMaxInfo(MINMAXINFO& info) const {
  info.ptMinTrackSize = POINT{ui::Scale(layout::MinWidth, dpi_), ui::Scale(layout::MinHeight, dpi_)};
}

void TfrmFileBrowser::OnClose() {
  FormClose();
  DestroyWindow(hwnd_);
}

void TfrmFileBrowser::OnDestroy() {
  FormDestroy();
  if (quitOnDestroy_) PostQuitMessage(0);
}

void TfrmFileBrowser::OnCommand(WPARAM wp, LPARAM lp) {
  if (HIWORD(wp) != 0 || lp != 0) return;  // only menu commands
  if (!MainMenu.DispatchCommand(LOWORD(wp))) lvFilesPopupMenu.DispatchCommand(LOWORD(wp));
}

LRESULT TfrmFileBrowser::OnMeasureItem(WPARAM wp, MEASUREITEMSTRUCT& mis) {
  if (MainMenu.MeasureItem(mis) || lvFilesPopupMenu.MeasureItem(mis)) return TRUE;
  return Form::HandleMessage(WM_MEASUREITEM, wp, reinterpret_cast<LPARAM>(&mis));
}

LRESULT TfrmFileBrowser::OnDrawItem(WPARAM wp, DRAWITEMSTRUCT& dis) {
  if (MainMenu.DrawItem(dis) || lvFilesPopupMenu.DrawItem(dis)) return TRUE;
  return Form::HandleMessage(WM_DRAWITEM, wp, reinterpret_cast<LPARAM>(&dis));
}

LRESULT TfrmFileBrowser::OnMenuChar(WPARAM wp, LPARAM lp) {
  const LRESULT choice =
      FlatMenuRenderer1.HandleMenuChar(static_cast<wchar_t>(LOWORD(wp)), reinterpret_cast<HMENU>(lp));
  return choice ? choice : Form::HandleMessage(WM_MENUCHAR, wp, lp);
}

bool TfrmFileBrowser::OnListKeyDown(ui::ListView& list, UINT msg, WPARAM key, LPARAM lp) {
  if (FormShortCut(list.Handle(), msg, key, lp) || ListShortCut(list, msg, key, lp)) return true;
  if (msg != WM_KEYDOWN) return false;
  WORD k = static_cast<WORD>(key);
  if (&list == &lvFiles) lvFilesKeyDown(k);
  else lvDrivesKeyDown(k);
  return k == 0;  // a handler that cleared the key keeps it from the list
}

// While a listing goes on in the background the window takes input, as the cursor shows.
bool TfrmFileBrowser::OnSetCursor(HWND, UINT hit) const {
  if (hit != HTCLIENT || !Feed || !Feed->Running()) return false;
  SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
  return true;
}

void TfrmFileBrowser::OnContextMenu(HWND wnd, LPARAM lp) {
  if (wnd != lvFiles.Handle() || !popupAttached_) return;
  POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  if (pt.x == -1 && pt.y == -1) {
    // From the keyboard: under the focused entry.
    RECT rc{};
    int focused = lvFiles.Focused();
    if (focused >= 0 && ListView_GetItemRect(lvFiles.Handle(), focused, &rc, LVIR_LABEL)) pt = POINT{rc.left, rc.bottom};
    ClientToScreen(lvFiles.Handle(), &pt);
  }
  lvFilesPopupMenu.Popup(hwnd_, pt);
}

LRESULT TfrmFileBrowser::OnCtlColorStatic(HDC dc, HWND control) {
  if (control != edFilename) return Form::HandleMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(control));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void TfrmFileBrowser::OnFilesItemChanged(const NMLISTVIEW& nm) {
  if (!(nm.uChanged & LVIF_STATE) || quietSelection_) return;
  const bool was = (nm.uOldState & LVIS_SELECTED) != 0, now = (nm.uNewState & LVIS_SELECTED) != 0;
  if (was == now) return;
  if (nm.iItem >= 0) {
    lvFilesSelectItem(nm.iItem, now);
  } else {
    for (int i = 0; i < lvFiles.Count(); ++i) lvFilesSelectItem(i, now);
  }
}

void TfrmFileBrowser::OnFilesStateRangeChanged(const NMLVODSTATECHANGE& nm) {
  const bool was = (nm.uOldState & LVIS_SELECTED) != 0, now = (nm.uNewState & LVIS_SELECTED) != 0;
  if (was == now || quietSelection_) return;
  for (int i = nm.iFrom; i <= nm.iTo; ++i) lvFilesSelectItem(i, now);
}

LRESULT TfrmFileBrowser::OnFilesNotify(NMHDR& hdr) {
  switch (hdr.code) {
    case LVN_GETDISPINFOW: lvFilesGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(hdr)); return 0;
    case LVN_ODFINDITEMW: return lvFilesFindItem(reinterpret_cast<NMLVFINDITEMW&>(hdr));
    case NM_DBLCLK: lvFilesDblClick(); return 0;
    case LVN_COLUMNCLICK: lvFilesColumnClick(reinterpret_cast<NMLISTVIEW&>(hdr).iSubItem); return 0;
    case LVN_ITEMCHANGED: OnFilesItemChanged(reinterpret_cast<NMLISTVIEW&>(hdr)); return 0;
    case LVN_ODSTATECHANGED: OnFilesStateRangeChanged(reinterpret_cast<NMLVODSTATECHANGE&>(hdr)); return 0;
    default: return 0;
  }
}

LRESULT TfrmFileBrowser::OnNotify(NMHDR& hdr) {
  if (hdr.hwndFrom == lvFiles.Handle()) return OnFilesNotify(hdr);
  if (hdr.hwndFrom == lvDrives.Handle() && hdr.code == NM_DBLCLK) lvDrivesDblClick();
  return 0;
}

LRESULT TfrmFileBrowser::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_COMMAND: OnCommand(wp, lp); return 0;
    case WM_MEASUREITEM: return OnMeasureItem(wp, *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_DRAWITEM: return OnDrawItem(wp, *reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    case WM_MENUCHAR: return OnMenuChar(wp, lp);
    case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wp)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wp), lp); return 0;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return FormShortCut(hwnd_, msg, wp, lp) ? 0 : Form::HandleMessage(msg, wp, lp);
    case WM_APPCOMMAND: return OnAppCommand(lp) ? TRUE : Form::HandleMessage(msg, wp, lp);
    case kWmListing: TakeListing(static_cast<unsigned>(wp)); return 0;
    case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp)) ? TRUE : Form::HandleMessage(msg, wp, lp);
    default: return Form::HandleMessage(msg, wp, lp);
  }
}
