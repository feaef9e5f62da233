#include "app/kwFileBrowser.h"

#include <shellapi.h>

#include "resources/resource.h"

namespace {

constexpr int kIdFiles = 101;
constexpr int kIdDrives = 102;
constexpr int kIdFilename = 103;

// Column layout of the folder list and of the drive list.
const ui::ColumnSpec kFileColumns[TfrmFileBrowser::kColumnCount] = {
    {L"Name", 110, LVCFMT_LEFT},     {L"Size", 60, LVCFMT_RIGHT},
    {L"Type", 64, LVCFMT_LEFT},      {L"Created", 110, LVCFMT_LEFT},
    {L"Modified", 110, LVCFMT_LEFT}, {L"Accessed", 110, LVCFMT_LEFT},
    {L"Attributes", 40, LVCFMT_LEFT}};
const ui::ColumnSpec kDriveColumns[] = {
    {L"Name", 160, LVCFMT_LEFT},       {L"Type", 74, LVCFMT_LEFT},
    {L"File System", 56, LVCFMT_LEFT}, {L"Disk Size", 110, LVCFMT_RIGHT},
    {L"Free Space", 110, LVCFMT_RIGHT}, {L"Serial Number", 110, LVCFMT_CENTER}};

HBITMAP LoadBitmapResource(const wchar_t* name) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HIMAGELIST LoadStrip(int id, int cx, int cy) {
  HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 16, 4);
  ui::ScopedBitmap strip(LoadBitmapResource(MAKEINTRESOURCEW(id)));
  if (strip) ImageList_AddMasked(list, strip.get(), RGB(255, 0, 255));
  return list;
}

HIMAGELIST LoadIconList(int id, int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
  ui::ScopedIcon icon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
  if (icon) ImageList_AddIcon(list, icon.get());
  return list;
}

}  // namespace

TfrmFileBrowser::TfrmFileBrowser() = default;

TfrmFileBrowser::~TfrmFileBrowser() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool TfrmFileBrowser::Create(bool quitOnDestroy) {
  quitOnDestroy_ = quitOnDestroy;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  ClassSpec cls{L"TfrmFileBrowser"};
  cls.Icon = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_PATHWICK), IMAGE_ICON, 32, 32, 0));
  cls.SmallIcon = static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_PATHWICK), IMAGE_ICON, 16, 16, 0));
  return CreateObjectWindow(cls, WS_EX_CONTROLPARENT, L"Pathwick for Windows",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            kWidth, kHeight, nullptr, nullptr) != nullptr;
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
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  font_.reset(CreateFontIndirectW(&lf));

  RECT rc;
  GetClientRect(hwnd_, &rc);
  int cw = rc.right;

  pnToolbar.Create(hwnd_, 0, 0, cw, 29, ui::Bevel::Lowered, ui::Bevel::Raised);
  BuildToolbar();

  pnFilename.Create(hwnd_, 0, 29, cw, 19, ui::Bevel::None, ui::Bevel::Lowered);
  edFilename = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL,
                               4, 3, cw - 8, 14, pnFilename.Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdFilename)),
                               GetModuleHandleW(nullptr), nullptr);

  StatusBar.Create(hwnd_, 19, {100, 100, 192});

  pnBack.Create(hwnd_, 0, 48, cw, 100, ui::Bevel::None, ui::Bevel::Lowered);
  // Created first, so it lies below the drive list. Auto-arranged, so that the arrow keys in the
  // icon views step through the rows by index instead of asking the owner for the nearest item.
  lvFiles.Create(pnBack.Handle(),
                 LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE,
                 kIdFiles);
  for (const auto& col : kFileColumns) lvFiles.AddColumn(col);
  lvDrives.Create(pnBack.Handle(),
                  LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS,
                  kIdDrives);
  for (const auto& col : kDriveColumns) lvDrives.AddColumn(col);
  SetWindowPos(lvDrives.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  filesKeys_.Install(lvFiles.Handle(), [this](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT* r) {
    if (msg != WM_KEYDOWN) return false;
    *r = 0;
    return HandleListKey(lvFiles, wp);
  });
  drivesKeys_.Install(lvDrives.Handle(), [this](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT* r) {
    if (msg != WM_KEYDOWN) return false;
    *r = 0;
    return HandleListKey(lvDrives, wp);
  });

  BuildMenus();
  ApplyFont();
  ArrangeControls();
}

void TfrmFileBrowser::BuildToolbar() {
  HWND bar = pnToolbar.Handle();
  struct ButtonSpec {
    ui::SpeedButton* Button;
    int Left, Width, Tag, Group;
    const wchar_t* Hint;
  };
  const ButtonSpec buttons[] = {
      {&btnBookmark, 4, 22, 0, 0, L"Add bookmark"},  {&btnRefresh, 28, 23, 0, 0, L"Refresh"},
      {&btnLargeIcons, 59, 23, 0, 1, L"Large Icons"}, {&btnSmallIcons, 84, 23, 1, 1, L"Small Icons"},
      {&btnList, 109, 23, 2, 1, L"List"},              {&btnDetails, 134, 23, 3, 1, L"Details"},
      {&btnUpdate, 0, 65, -1, 0, L"Update"},           {&btnCancel, 0, 65, -1, 0, L"Cancel"}};
  for (const auto& b : buttons) {
    b.Button->Create(bar, b.Left, 3, b.Width, 23);
    b.Button->Tag = b.Tag;
    b.Button->GroupIndex = b.Group;
    b.Button->SetHint(b.Hint);
  }
  btnUpdate.SetCaption(L"Update");
  btnCancel.SetCaption(L"Cancel");
  btnDetails.SetDown(true);
  btnBookmark.SetEnabled(false);

  SetBookmarkGlyph(0);

  ui::ScopedBitmap glyphs(LoadBitmapResource(MAKEINTRESOURCEW(IDB_TOOLBARGLYPHS)));
  ui::SpeedButton* withGlyph[] = {&btnRefresh, &btnLargeIcons, &btnSmallIcons, &btnList, &btnDetails};
  if (glyphs) {
    ui::WindowDC screen(nullptr);
    ui::MemoryDC src(screen.get());
    ui::SelectObj selSrc(src.get(), glyphs.get());
    for (int i = 0; i < 5; ++i) {
      ui::ScopedBitmap one(CreateCompatibleBitmap(screen.get(), 16, 16));
      {
        ui::MemoryDC dst(screen.get());
        ui::SelectObj selDst(dst.get(), one.get());
        BitBlt(dst.get(), 0, 0, 16, 16, src.get(), i * 16, 0, SRCCOPY);
      }
      withGlyph[i]->SetGlyph(one.get(), 1, RGB(255, 0, 255));
    }
  }

  btnRefresh.OnClick = [this](ui::SpeedButton&) { mnuRefreshClick(); };
  for (ui::SpeedButton* b : {&btnLargeIcons, &btnSmallIcons, &btnList, &btnDetails})
    b->OnClick = [this](ui::SpeedButton& sender) { mnuViewTypeClick(sender.Tag, true); };
  btnBookmark.OnClick = [this](ui::SpeedButton& sender) { mnuBookmarkClick(sender.Tag); };
  btnUpdate.OnClick = [this](ui::SpeedButton&) { mnuUpdateClick(); };
  btnCancel.OnClick = [this](ui::SpeedButton&) { mnuExitClick(); };

  Bevel1 = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT, 54, 5, 2, 19, bar,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  Bevel2 = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT, 160, 5, 2, 19,
                           bar, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void TfrmFileBrowser::SetBookmarkGlyph(int index) {
  ui::ScopedBitmap strip(LoadBitmapResource(MAKEINTRESOURCEW(IDB_BOOKMARKGLYPHS)));
  if (!strip) return;
  ui::WindowDC screen(nullptr);
  ui::ScopedBitmap pair(CreateCompatibleBitmap(screen.get(), 32, 16));
  {
    ui::MemoryDC src(screen.get()), dst(screen.get());
    ui::SelectObj selSrc(src.get(), strip.get());
    ui::SelectObj selDst(dst.get(), pair.get());
    BitBlt(dst.get(), 0, 0, 32, 16, src.get(), index * 32, 0, SRCCOPY);
  }
  btnBookmark.SetGlyph(pair.get(), 2, RGB(255, 0, 255));
}

void TfrmFileBrowser::BuildMenus() {
  imMenu.reset(LoadStrip(IDB_MENUICONS, 16, 16));
  imButtons.reset(LoadStrip(IDB_BOOKMARKGLYPHS, 32, 16));
  imSmall.reset(LoadIconList(IDI_FOLDERUP, 16));
  imLarge.reset(LoadIconList(IDI_FOLDERUP, 32));

  ui::MenuItem& root = MainMenu.Root();
  auto add = [](ui::MenuItem& parent, const wchar_t* name, const wchar_t* caption, int image = -1,
                int tag = 0, bool checked = false) -> ui::MenuItem* {
    ui::MenuItem& item = parent.Add(name, caption);
    item.SetImageIndex(image);
    item.Tag = tag;
    if (checked) item.SetChecked(true);
    return &item;
  };
  mnuExplorer = add(root, L"mnuExplorer", L"&Explorer", 0);
  mnuUpdate = add(*mnuExplorer, L"mnuUpdate", L"&Update", 2);
  N1 = add(*mnuExplorer, L"N1", L"-");
  mnuExit = add(*mnuExplorer, L"mnuExit", L"E&xit", 1);
  mnuOptions = add(root, L"mnuOptions", L"&Options");
  mnuRefresh = add(*mnuOptions, L"mnuRefresh", L"&Refresh", 5);
  mnuBookmarks = add(root, L"mnuBookmarks", L"&Bookmarks");
  mnuBookmarks->SetVisible(false);  // shown while there are bookmarks to list
  mnuView = add(root, L"mnuView", L"&View");
  mnuAttributes = add(*mnuView, L"mnuAttributes", L"&Attributes", 10);
  mnuReadOnly = add(*mnuAttributes, L"mnuReadOnly", L"&Read Only", -1, 1, true);
  mnuHidden = add(*mnuAttributes, L"mnuHidden", L"&Hidden", -1, 2, true);
  mnuSystem = add(*mnuAttributes, L"mnuSystem", L"&System", -1, 4, true);
  mnuArchive = add(*mnuAttributes, L"mnuArchive", L"&Archive", -1, 32, true);
  mnuNormal = add(*mnuAttributes, L"mnuNormal", L"&Normal", -1, 128, true);
  mnuColumns = add(*mnuView, L"mnuColumns", L"&Columns", 11);
  mnuSizeCol = add(*mnuColumns, L"mnuSizeCol", L"&Size", -1, 1, true);
  mnuTypeCol = add(*mnuColumns, L"mnuTypeCol", L"&Type", -1, 2, true);
  mnuCreatedCol = add(*mnuColumns, L"mnuCreatedCol", L"Created", -1, 3, true);
  mnuModifiedCol = add(*mnuColumns, L"mnuModifiedCol", L"&Modified", -1, 4, true);
  mnuAccessedCol = add(*mnuColumns, L"mnuAccessedCol", L"&Accessed", -1, 5, true);
  mnuAttributesCol = add(*mnuColumns, L"mnuAttributesCol", L"Att&ributes", -1, 6, true);
  mnuViewType = add(*mnuView, L"mnuViewType", L"&ViewType", 12);
  mnuLargeIcons = add(*mnuViewType, L"mnuLargeIcons", L"Lar&ge Icons", 6, 0);
  mnuSmallIcons = add(*mnuViewType, L"mnuSmallIcons", L"S&mall Icons", 7, 1);
  mnuList = add(*mnuViewType, L"mnuList", L"&List", 8, 2);
  mnuDetails = add(*mnuViewType, L"mnuDetails", L"&Details", 9, 3);
  for (ui::MenuItem* item : {mnuLargeIcons, mnuSmallIcons, mnuList, mnuDetails}) {
    item->RadioItem = true;
    item->GroupIndex = 1;
  }
  mnuDetails->SetChecked(true);
  N5 = add(*mnuView, L"N5", L"-");
  mnuShowFolders = add(*mnuView, L"mnuShowFolders", L"&Show Folders", -1, 0, true);
  N6 = add(*mnuView, L"N6", L"-");
  mnuAbout = add(root, L"mnuAbout", L"&About");

  mnuUpdate->OnClick = [this](ui::MenuItem&) { mnuUpdateClick(); };
  mnuExit->OnClick = [this](ui::MenuItem&) { mnuExitClick(); };
  mnuRefresh->OnClick = [this](ui::MenuItem&) { mnuRefreshClick(); };
  for (ui::MenuItem* item : {mnuReadOnly, mnuHidden, mnuSystem, mnuArchive, mnuNormal})
    item->OnClick = [this](ui::MenuItem& sender) { mnuAttributesClick(sender); };
  for (ui::MenuItem* item : {mnuSizeCol, mnuTypeCol, mnuCreatedCol, mnuModifiedCol, mnuAccessedCol,
                             mnuAttributesCol})
    item->OnClick = [this](ui::MenuItem& sender) { mnuColumnsClick(sender); };
  for (ui::MenuItem* item : {mnuLargeIcons, mnuSmallIcons, mnuList, mnuDetails})
    item->OnClick = [this](ui::MenuItem& sender) { mnuViewTypeClick(sender.Tag, false); };
  mnuShowFolders->OnClick = [this](ui::MenuItem& sender) { mnuShowFoldersClick(sender); };
  mnuAbout->OnClick = [this](ui::MenuItem&) { mnuAboutClick(); };

  ui::MenuItem& pop = lvFilesPopupMenu.Root();
  mnuPopBookmark = add(pop, L"mnuPopBookmark", L"&Add Bookmark", 3);
  mnuPopBookmark->SetEnabled(false);
  N2 = add(pop, L"N2", L"-");
  mnuCopyPath = add(pop, L"mnuCopyPath", L"Copy &Path", 13);
  mnuEditFileParams = add(pop, L"mnuEditFileParams", L"Edit &File Params", 14);
  mnuPopBookmark->OnClick = [this](ui::MenuItem& sender) { mnuBookmarkClick(sender.Tag); };
  mnuCopyPath->OnClick = [this](ui::MenuItem&) { mnuCopyPathClick(); };
  mnuEditFileParams->OnClick = [this](ui::MenuItem&) { mnuEditFileParamsClick(); };

  MainMenu.SetImages(imMenu.get());
  lvFilesPopupMenu.SetImages(imMenu.get());
  MainMenu.SetWindow(hwnd_);
  MainMenu.Rebuild();
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
  int cw = rc.right, ch = rc.bottom;
  SendMessageW(StatusBar.Handle(), WM_SIZE, 0, 0);
  RECT sb{};
  GetWindowRect(StatusBar.Handle(), &sb);
  int statusHeight = IsWindowVisible(StatusBar.Handle()) ? sb.bottom - sb.top : 0;
  pnToolbar.SetBounds(0, 0, cw, 29);
  pnFilename.SetBounds(0, 29, cw, 19);
  int backHeight = ch - 48 - statusHeight;
  pnBack.SetBounds(0, 48, cw, backHeight < 0 ? 0 : backHeight);
  RECT inner = pnBack.InnerRect();
  for (HWND list : {lvFiles.Handle(), lvDrives.Handle()})
    SetWindowPos(list, nullptr, inner.left, inner.top, inner.right - inner.left,
                 inner.bottom - inner.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Form events -----------------------------------------------------------------------------

void TfrmFileBrowser::FormCreate() {
  SortBitmaps[0].reset(LoadBitmapResource(L"DOWNBITMAP"));
  SortBitmaps[1].reset(LoadBitmapResource(L"UPBITMAP"));
  SetWindowPos(hwnd_, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  for (ui::SpeedButton* b : {&btnBookmark, &btnRefresh, &btnLargeIcons, &btnSmallIcons, &btnList,
                             &btnDetails, &btnUpdate, &btnCancel})
    b->SetVisible(b->Tag != -1);
  LoadSystemImageLists();
  FillDriveList();
  UpdateAttrMask();
  CurrentPath.clear();
  UpdateSortArrows(0);
}

void TfrmFileBrowser::FormShow() {
  // The stored view options are applied here once option persistence exists.
  if (lvDrives.Visible()) SelectFocusedOrFirst(lvDrives);
  if (lvFiles.Visible()) {
    size_t slash = CurrentPath.find_last_of(L'\\');
    SelectByCaption(lvFiles, slash == std::wstring::npos ? CurrentPath : CurrentPath.substr(slash + 1));
  }
  RECT wr;
  GetWindowRect(hwnd_, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT tb;
  GetClientRect(pnToolbar.Handle(), &tb);
  int cancelLeft = tb.right - 65 - 3;
  btnCancel.SetBounds(cancelLeft, 3, 65, 23);
  btnUpdate.SetBounds(cancelLeft - 65 - 3, 3, 65, 23);
  RECT fn;
  GetClientRect(pnFilename.Handle(), &fn);
  SetWindowPos(edFilename, nullptr, 0, 0, fn.right - 8, 14, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmFileBrowser::FormResize() {
  ListView_Arrange(lvDrives.Handle(), LVA_ALIGNTOP);
  ListView_Arrange(lvFiles.Handle(), LVA_ALIGNTOP);
}

void TfrmFileBrowser::FormClose() {
  // The view options are saved here once option persistence exists.
}

void TfrmFileBrowser::FormDestroy() {
  SortBitmaps[0].reset();
  SortBitmaps[1].reset();
  OldFilesWndProc.Remove();
}

bool TfrmFileBrowser::FilesWndProc(UINT msg, WPARAM, LPARAM lp, LRESULT* result) {
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

// --- Message dispatch ------------------------------------------------------------------------

bool TfrmFileBrowser::HandleListKey(ui::ListView& list, WPARAM key) {
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
    if (focused >= 0 && ListView_GetItemRect(lvFiles.Handle(), focused, &rc, LVIR_LABEL)) {
      pt = POINT{rc.left, rc.bottom};
    }
    ClientToScreen(lvFiles.Handle(), &pt);
  }
  lvFilesPopupMenu.Popup(hwnd_, pt);
}

LRESULT TfrmFileBrowser::OnNotify(NMHDR& hdr) {
  if (hdr.hwndFrom == lvFiles.Handle()) {
    switch (hdr.code) {
      case LVN_GETDISPINFOW:
        lvFilesGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(hdr));
        return 0;
      case LVN_ODFINDITEMW:
        return lvFilesFindItem(reinterpret_cast<NMLVFINDITEMW&>(hdr));
      case NM_DBLCLK:
        lvFilesDblClick();
        return 0;
      case LVN_COLUMNCLICK:
        lvFilesColumnClick(reinterpret_cast<NMLISTVIEW&>(hdr).iSubItem);
        return 0;
      case LVN_ITEMCHANGED: {
        auto& nm = reinterpret_cast<NMLISTVIEW&>(hdr);
        if (!(nm.uChanged & LVIF_STATE) || SuppressSelectionEvents) return 0;
        bool was = (nm.uOldState & LVIS_SELECTED) != 0, now = (nm.uNewState & LVIS_SELECTED) != 0;
        if (was == now) return 0;
        if (nm.iItem >= 0) {
          lvFilesSelectItem(nm.iItem, now);
        } else {
          for (int i = 0; i < lvFiles.Count(); ++i) lvFilesSelectItem(i, now);
        }
        return 0;
      }
      case LVN_ODSTATECHANGED: {
        auto& nm = reinterpret_cast<NMLVODSTATECHANGE&>(hdr);
        bool was = (nm.uOldState & LVIS_SELECTED) != 0, now = (nm.uNewState & LVIS_SELECTED) != 0;
        if (was == now || SuppressSelectionEvents) return 0;
        for (int i = nm.iFrom; i <= nm.iTo; ++i) lvFilesSelectItem(i, now);
        return 0;
      }
      default:
        return 0;
    }
  }
  if (hdr.hwndFrom == lvDrives.Handle()) {
    if (hdr.code == NM_DBLCLK) lvDrivesDblClick();
    return 0;
  }
  return 0;
}

LRESULT TfrmFileBrowser::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      FormCreate();
      return 0;
    case WM_SIZE:
      ArrangeControls();
      FormResize();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      mmi->ptMinTrackSize = POINT{400, 250};
      return 0;
    }
    case WM_CLOSE:
      FormClose();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      FormDestroy();
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0) {
        if (MainMenu.DispatchCommand(LOWORD(wp))) return 0;
        if (lvFilesPopupMenu.DispatchCommand(LOWORD(wp))) return 0;
      }
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wp), lp);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == edFilename) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_MEASUREITEM:
      if (MainMenu.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp)) ||
          lvFilesPopupMenu.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp)))
        return TRUE;
      break;
    case WM_DRAWITEM:
      if (MainMenu.DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)) ||
          lvFilesPopupMenu.DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)))
        return TRUE;
      break;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}
