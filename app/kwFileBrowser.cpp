#include "app/kwFileBrowser.h"

#include <shellapi.h>

#include "app/MainLayout.h"
#include "app/ViewOptions.h"
#include "browse/core/ListingRules.h"
#include "resources/resource.h"
#include "ui/Dpi.h"
#include "ui/Pictures.h"

namespace {

constexpr int kIdFiles = 101;
constexpr int kIdDrives = 102;
constexpr int kIdFilename = 103;

using Handler = void (TfrmFileBrowser::*)(const ui::Sender&);

// The menus of the main window. Level 0 items are the menu's top level; an item belongs to the
// nearest item above it with a level one less.
struct MenuRow {
  int Level;
  ui::MenuItem* TfrmFileBrowser::*Field;
  const wchar_t* Caption;
  int Image;
  int Tag;
  bool Checked;
  int Group;  // radio group
  Handler Click;
};

constexpr int kNoImage = -1;
constexpr int kViewGroup = 1;
using F = TfrmFileBrowser;

const MenuRow kMainMenu[] = {
    {0, &F::mnuExplorer, L"&Explorer", MENUIMG_EXPLORER, 0, false, 0, nullptr},
    {1, &F::mnuUpdate, L"&Update", MENUIMG_UPDATE, 0, false, 0, &F::mnuUpdateClick},
    {1, &F::N1, L"-", kNoImage, 0, false, 0, nullptr},
    {1, &F::mnuExit, L"E&xit", MENUIMG_EXIT, 0, false, 0, &F::mnuExitClick},
    {0, &F::mnuOptions, L"&Options", kNoImage, 0, false, 0, nullptr},
    {1, &F::mnuRefresh, L"&Refresh", MENUIMG_REFRESH, 0, false, 0, &F::mnuRefreshClick},
    {1, &F::mnuUndoEdit, L"&Undo Edit", kNoImage, 0, false, 0, &F::mnuUndoEditClick},
    {0, &F::mnuBookmarks, L"&Bookmarks", kNoImage, 0, false, 0, nullptr},
    {0, &F::mnuView, L"&View", kNoImage, 0, false, 0, nullptr},
    {1, &F::mnuAttributes, L"&Attributes", MENUIMG_ATTRIBUTES, 0, false, 0, nullptr},
    {2, &F::mnuReadOnly, L"&Read Only", kNoImage, 1, true, 0, &F::mnuAttributesClick},
    {2, &F::mnuHidden, L"&Hidden", kNoImage, 2, true, 0, &F::mnuAttributesClick},
    {2, &F::mnuSystem, L"&System", kNoImage, 4, true, 0, &F::mnuAttributesClick},
    {2, &F::mnuArchive, L"&Archive", kNoImage, 32, true, 0, &F::mnuAttributesClick},
    {2, &F::mnuNormal, L"&Normal", kNoImage, 128, true, 0, &F::mnuAttributesClick},
    {1, &F::mnuColumns, L"&Columns", MENUIMG_COLUMNS, 0, false, 0, nullptr},
    {2, &F::mnuSizeCol, L"&Size", kNoImage, 1, true, 0, &F::mnuColumnsClick},
    {2, &F::mnuTypeCol, L"&Type", kNoImage, 2, true, 0, &F::mnuColumnsClick},
    {2, &F::mnuCreatedCol, L"Created", kNoImage, 3, true, 0, &F::mnuColumnsClick},
    {2, &F::mnuModifiedCol, L"&Modified", kNoImage, 4, true, 0, &F::mnuColumnsClick},
    {2, &F::mnuAccessedCol, L"&Accessed", kNoImage, 5, true, 0, &F::mnuColumnsClick},
    {2, &F::mnuAttributesCol, L"Att&ributes", kNoImage, 6, true, 0, &F::mnuColumnsClick},
    {1, &F::mnuViewType, L"&ViewType", MENUIMG_VIEWTYPE, 0, false, 0, nullptr},
    {2, &F::mnuLargeIcons, L"Lar&ge Icons", MENUIMG_LARGEICONS, 0, false, kViewGroup, &F::mnuViewTypeClick},
    {2, &F::mnuSmallIcons, L"S&mall Icons", MENUIMG_SMALLICONS, 1, false, kViewGroup, &F::mnuViewTypeClick},
    {2, &F::mnuList, L"&List", MENUIMG_LIST, 2, false, kViewGroup, &F::mnuViewTypeClick},
    {2, &F::mnuDetails, L"&Details", MENUIMG_DETAILS, 3, true, kViewGroup, &F::mnuViewTypeClick},
    {1, &F::N5, L"-", kNoImage, 0, false, 0, nullptr},
    {1, &F::mnuShowFolders, L"&Show Folders", kNoImage, 0, true, 0, &F::mnuShowFoldersClick},
    {1, &F::N6, L"-", kNoImage, 0, false, 0, nullptr},
    {0, &F::mnuAbout, L"&About", kNoImage, 0, false, 0, &F::mnuAboutClick},
};

const MenuRow kPopupMenu[] = {
    {0, &F::mnuPopBookmark, L"&Add Bookmark", MENUIMG_ADDBOOKMARK, 0, false, 0, &F::mnuBookmarkClick},
    {0, &F::N2, L"-", kNoImage, 0, false, 0, nullptr},
    {0, &F::mnuCopyPath, L"Copy &Path", MENUIMG_COPYPATH, 0, false, 0, &F::mnuCopyPathClick},
    {0, &F::mnuEditFileParams, L"Edit &File Params", MENUIMG_EDITPARAMS, 0, false, 0, &F::mnuEditFileParamsClick},
};

struct ButtonRow {
  ui::SpeedButton TfrmFileBrowser::*Field;
  int Left, Width, Tag, Group;
  const wchar_t* Hint;
  int Glyph;  // picture in the toolbar strip, -1 none
  Handler Click;
};

const ButtonRow kToolbar[] = {
    {&F::btnBookmark, 4, 22, 0, 0, L"Add bookmark", -1, &F::mnuBookmarkClick},
    {&F::btnRefresh, 28, 23, 0, 0, L"Refresh", 0, &F::mnuRefreshClick},
    {&F::btnLargeIcons, 59, 23, 0, 1, L"Large Icons", 1, &F::mnuViewTypeClick},
    {&F::btnSmallIcons, 84, 23, 1, 1, L"Small Icons", 2, &F::mnuViewTypeClick},
    {&F::btnList, 109, 23, 2, 1, L"List", 3, &F::mnuViewTypeClick},
    {&F::btnDetails, 134, 23, 3, 1, L"Details", 4, &F::mnuViewTypeClick},
    {&F::btnUpdate, 0, layout::TextButtonWidth, -1, 0, L"Update", -1, &F::mnuUpdateClick},
    {&F::btnCancel, 0, layout::TextButtonWidth, -1, 0, L"Cancel", -1, &F::mnuExitClick},
};

}  // namespace

TfrmFileBrowser::TfrmFileBrowser() = default;

TfrmFileBrowser::~TfrmFileBrowser() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

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
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  if (lvDrives.Visible()) SetFocus(lvDrives.Handle());
  else if (lvFiles.Visible()) SetFocus(lvFiles.Handle());
}

void TfrmFileBrowser::CreateControls() {
  font_ = ui::CreatePointFont(L"Tahoma", layout::FontPoints, dpi_);

  pnToolbar.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Lowered, ui::Bevel::Raised);
  BuildToolbar();
  pnFilename.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::None, ui::Bevel::Lowered);
  edFilename = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 0, 0,
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

// Made without a place: ArrangeControls places the buttons and bevels for the window's DPI.
void TfrmFileBrowser::BuildToolbar() {
  for (const ButtonRow& row : kToolbar) {
    ui::SpeedButton& button = this->*row.Field;
    button.Create(pnToolbar.Handle(), 0, 0, 0, 0);
    button.Tag = row.Tag;
    button.GroupIndex = row.Group;
    button.SetHint(row.Hint);
    button.OnClick = [this, click = row.Click](ui::SpeedButton& sender) {
      (this->*click)(ui::Sender{sender.Tag, nullptr, &sender});
    };
  }
  btnUpdate.SetCaption(L"Update");
  btnCancel.SetCaption(L"Cancel");
  btnDetails.SetDown(true);
  btnBookmark.SetEnabled(false);
  SetToolbarGlyphs();
  SetBookmarkGlyph(0);

  for (HWND* bevel : {&Bevel1, &Bevel2}) {
    *bevel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT, 0, 0, 0, 0,
                             pnToolbar.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  }
}

void TfrmFileBrowser::SetToolbarGlyphs() {
  const ui::Picture glyphs = ui::LoadPicture(IDB_TOOLBARGLYPHS, 16, dpi_);
  if (!glyphs.Bitmap) return;
  for (const ButtonRow& row : kToolbar) {
    if (row.Glyph < 0) continue;
    (this->*row.Field).SetGlyph(ui::CutPicture(glyphs.Bitmap.get(), row.Glyph, glyphs.Size, glyphs.Size).get(), 1,
                                RGB(255, 0, 255));
  }
}

void TfrmFileBrowser::SetBookmarkGlyph(int index) {
  bookmarkGlyph_ = index;
  // Each state is a double glyph: normal and disabled side by side.
  const ui::Picture strip = ui::LoadPicture(IDB_BOOKMARKGLYPHS, 16, dpi_);
  if (strip.Bitmap)
    btnBookmark.SetGlyph(ui::CutPicture(strip.Bitmap.get(), index, 2 * strip.Size, strip.Size).get(), 2, RGB(255, 0, 255));
}

void TfrmFileBrowser::BuildMenus() {
  LoadImageLists();

  auto build = [this](ui::Menu& menu, const MenuRow* rows, size_t count) {
    menu.SetImages(imMenu.get());
    std::vector<ui::MenuItem*> parents{&menu.Root()};
    for (size_t i = 0; i < count; ++i) {
      const MenuRow& row = rows[i];
      parents.resize(static_cast<size_t>(row.Level) + 1);
      const wchar_t* name = row.Caption;  // items are found through their fields, not their names
      ui::MenuItem& item = parents.back()->Add(name, row.Caption);
      item.Tag = row.Tag;
      item.SetGroupIndex(row.Group);
      item.SetImageIndex(row.Image);
      if (row.Checked) item.SetChecked(true);
      if (row.Click) {
        item.OnClick = [this, click = row.Click](ui::MenuItem& sender) {
          (this->*click)(ui::Sender{sender.Tag, &sender, nullptr});
        };
      }
      this->*row.Field = &item;
      parents.push_back(&item);
    }
  };
  build(MainMenu, kMainMenu, std::size(kMainMenu));
  build(lvFilesPopupMenu, kPopupMenu, std::size(kPopupMenu));
  mnuPopBookmark->SetEnabled(false);
  mnuUndoEdit->SetShortCut(L"Ctrl+Z");
  mnuUndoEdit->SetEnabled(false);  // until an edit has changed something
  mnuRefresh->SetShortCut(L"F5");
  mnuCopyPath->SetShortCut(L"Ctrl+Shift+C");
  mnuEditFileParams->SetShortCut(L"Alt+Enter");
  MainMenu.AttachToWindow(hwnd_);

  ApplyMenuFont();
  FlatMenuRenderer1.SetProperties(pw::kMainWindowFlatMenu);
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
  place(pnFilename.Handle(), r.Filename);
  place(edFilename, r.Path);
  place(pnBack.Handle(), r.Back);
  place(btnUpdate.Handle(), r.Update);
  place(btnCancel.Handle(), r.Cancel);
  const auto s = [this](int value) { return ui::Scale(value, dpi_); };
  for (const ButtonRow& row : kToolbar) {
    if (row.Tag == -1) continue;  // anchored right, placed above
    const int left = s(row.Left), top = s(layout::ButtonTop);
    place((this->*row.Field).Handle(), RECT{left, top, left + s(row.Width), top + s(layout::ButtonHeight)});
  }
  // An etched line is two system lines of one pixel at any DPI; a wider window draws it otherwise.
  const int bevelTop = s(layout::BevelTop), bevelBottom = s(layout::BevelTop + layout::BevelHeight);
  for (auto [bevel, left] : {std::pair{Bevel1, layout::Bevel1Left}, std::pair{Bevel2, layout::Bevel2Left}})
    place(bevel, RECT{s(left), bevelTop, s(left) + layout::BevelWidth, bevelBottom});
  RECT inner = pnBack.InnerRect();
  for (HWND list : {lvFiles.Handle(), lvDrives.Handle()}) place(list, inner);
}

std::wstring TfrmFileBrowser::ShownFolder() const {
  std::wstring folder = pw::FolderPart(CurrentPath);
  if (folder.empty() && lvFiles.Visible() && !lvDrives.Visible()) folder = TextContext.ListedFolder;
  return folder;
}

// --- Form events -----------------------------------------------------------------------------

void TfrmFileBrowser::FormCreate() {
  LoadSortBitmaps();
  RecentKeys = std::make_unique<pw::TkwRecentKeys>(*mnuBookmarks, pw::kFileBrowserSubKey);
  RecentKeys->OnOpenBookmark = [this](const std::wstring& path) { OpenBookmark(path); };
  SetWindowPos(hwnd_, nullptr, 0, 0, ui::Scale(layout::WindowWidth, dpi_), ui::Scale(layout::WindowHeight, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  btnBookmark.Tag = 3;
  mnuPopBookmark->Tag = 3;
  for (int i = 0; i < kColumnCount; ++i) ColumnStates[i] = TColumnState{lvFiles.ColumnWidth(i), true};
  OldFilesWndProc.Install(lvFiles.Handle(), [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT* r) {
    return FilesWndProc(msg, wp, lp, r);
  });
  HideFolders = !mnuShowFolders->Checked();
  SortAscending = true;
  SortColumn = 0;
  mnuUpdate->SetVisible(false);
  for (const ButtonRow& row : kToolbar) {
    ui::SpeedButton& button = this->*row.Field;
    button.SetVisible(button.Tag != -1);
  }
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
  RecentKeys.reset();  // stores the bookmarks
  OldFilesWndProc.Remove();
  MainMenu.DetachFromWindow();
}

bool TfrmFileBrowser::FilesWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
    *result = 0;
    return OnListKeyDown(lvFiles, msg, wp, lp);
  }
  if (msg != WM_NOTIFY) return false;
  auto* nm = reinterpret_cast<NMHEADERW*>(lp);
  if (static_cast<unsigned>(nm->iItem) > 6u) return false;
  const UINT code = nm->hdr.code;
  if (code == HDN_BEGINTRACKA || code == HDN_BEGINTRACKW) {
    if (ColumnStates[nm->iItem].Shown) return false;
    *result = 1;  // refuses the drag
    return true;
  }
  // The list would size a hidden column to its contents on a double click at its divider.
  if ((code == HDN_DIVIDERDBLCLICKA || code == HDN_DIVIDERDBLCLICKW) && !ColumnStates[nm->iItem].Shown) {
    *result = 0;
    return true;
  }
  if (code == HDN_ENDTRACKA || code == HDN_ENDTRACKW) {
    if (nm->pitem && (nm->pitem->mask & HDI_WIDTH)) ColumnStates[nm->iItem].SavedWidth = nm->pitem->cxy;
  }
  return false;
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
  AttrMask = 0;
  for (auto& child : mnuAttributes->Items())
    if (child->Checked()) AttrMask |= child->Tag;
}

// --- Messages --------------------------------------------------------------------------------

void TfrmFileBrowser::OnCreate() {
  dpi_ = ui::DpiOf(hwnd_);
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
  return Window::HandleMessage(WM_MEASUREITEM, wp, reinterpret_cast<LPARAM>(&mis));
}

LRESULT TfrmFileBrowser::OnDrawItem(WPARAM wp, DRAWITEMSTRUCT& dis) {
  if (MainMenu.DrawItem(dis) || lvFilesPopupMenu.DrawItem(dis)) return TRUE;
  return Window::HandleMessage(WM_DRAWITEM, wp, reinterpret_cast<LPARAM>(&dis));
}

LRESULT TfrmFileBrowser::OnMenuChar(WPARAM wp, LPARAM lp) {
  const LRESULT choice =
      FlatMenuRenderer1.HandleMenuChar(static_cast<wchar_t>(LOWORD(wp)), reinterpret_cast<HMENU>(lp));
  return choice ? choice : Window::HandleMessage(WM_MENUCHAR, wp, lp);
}

bool TfrmFileBrowser::OnListKeyDown(ui::ListView& list, UINT msg, WPARAM key, LPARAM lp) {
  if (FormShortCut(list.Handle(), msg, key, lp) || ListShortCut(list, msg, key, lp)) return true;
  if (msg != WM_KEYDOWN) return false;
  WORD k = static_cast<WORD>(key);
  if (&list == &lvFiles) lvFilesKeyDown(k);
  else lvDrivesKeyDown(k);
  return k == 0;  // a handler that cleared the key keeps it from the list
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
  if (control != edFilename) return Window::HandleMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(control));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void TfrmFileBrowser::OnFilesItemChanged(const NMLISTVIEW& nm) {
  if (!(nm.uChanged & LVIF_STATE) || SuppressSelectionEvents) return;
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
  if (was == now || SuppressSelectionEvents) return;
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
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wp), lp); return 0;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return FormShortCut(hwnd_, msg, wp, lp) ? 0 : Window::HandleMessage(msg, wp, lp);
    case WM_APPCOMMAND: return OnAppCommand(lp) ? TRUE : Window::HandleMessage(msg, wp, lp);
    case ui::kWmDpiChanged: OnDpiChanged(wp, lp); return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}
