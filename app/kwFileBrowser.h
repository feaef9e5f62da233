#pragma once
// The main window: its layout, its state, and the handlers of every subsystem that acts on it.
// The handlers are spread over files by concern (browse/DriveListing.cpp, browse/FolderListing.cpp,
// browse/Navigation.cpp, browse/SortView.cpp); this class is their one home.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bookmarks/kwRecentKeys.h"
#include "browse/core/FileItem.h"
#include "browse/core/FolderHistory.h"
#include "browse/platform/ShellInfo.h"
#include "editor/core/EditUndo.h"
#include "menus/FlatMenuRenderer.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/Panel.h"
#include "ui/Scoped.h"
#include "ui/Sender.h"
#include "ui/SpeedButton.h"
#include "ui/StatusBar.h"
#include "ui/Subclass.h"
#include "ui/Window.h"
#include "ui/core/DpiScale.h"

struct TColumnState {
  int SavedWidth = 0;
  bool Shown = true;
};

// One entry of the drive list; the list view's item lParam is its index in DriveItems.
struct TDriveItem {
  std::wstring Caption;
  int IconIndex = -1;
  std::wstring SubItems[5];  // type, file system, disk size, free space, serial number
  std::wstring Root;         // "D:\"
};

class TfrmFileBrowser : public ui::Window {
public:
  static constexpr int kColumnCount = 7;

  TfrmFileBrowser();
  ~TfrmFileBrowser() override;

  // Creates the window (FormCreate runs inside) and shows it (FormShow). When quitOnDestroy is set,
  // destroying the window ends the message loop.
  bool Create(bool quitOnDestroy);
  void Show();
  // The DPI the window is laid out for: its monitor's.
  UINT Dpi() const { return dpi_; }

  // Main window state.
  std::array<ui::ScopedBitmap, 2> SortBitmaps;
  std::unique_ptr<pw::TkwRecentKeys> RecentKeys;
  std::array<TColumnState, kColumnCount> ColumnStates;
  bool HideFolders = false;
  int AttrMask = 0;
  bool SortAscending = true;
  int SortColumn = 0;
  ui::Subclass OldFilesWndProc;  // FilesWndProc in front of the list's own procedure
  int UpIconIndex = -1;
  std::wstring CurrentPath;
  pw::FolderHistory History;  // every folder listed, and the drive list when it is opened

  // Controls.
  ui::Panel pnToolbar, pnFilename, pnBack;
  ui::SpeedButton btnBookmark, btnRefresh, btnLargeIcons, btnSmallIcons, btnList, btnDetails,
      btnUpdate, btnCancel;
  HWND Bevel1 = nullptr, Bevel2 = nullptr;
  HWND edFilename = nullptr;
  ui::ListView lvFiles, lvDrives;
  ui::StatusBar StatusBar;
  ui::Menu MainMenu{false};
  ui::Menu lvFilesPopupMenu{true};
  ui::ImageListOwner imMenu, imButtons, imSmall, imLarge;
  pw::ShellImageLists Icons;  // the large and small lists shared by both list views
  // Declared after the menus and imMenu: it hands the menus back to the system's drawing first.
  pw::TFlatMenuRenderer FlatMenuRenderer1{*this, {&MainMenu, &lvFilesPopupMenu}};

  // Menu items, by their names.
  ui::MenuItem *mnuExplorer, *mnuUpdate, *N1, *mnuExit, *mnuOptions, *mnuRefresh, *mnuUndoEdit, *mnuBookmarks,
      *mnuView, *mnuAttributes, *mnuReadOnly, *mnuHidden, *mnuSystem, *mnuArchive, *mnuNormal,
      *mnuColumns, *mnuSizeCol, *mnuTypeCol, *mnuCreatedCol, *mnuModifiedCol, *mnuAccessedCol,
      *mnuAttributesCol, *mnuViewType, *mnuLargeIcons, *mnuSmallIcons, *mnuList, *mnuDetails, *N5,
      *mnuShowFolders, *N6, *mnuAbout;
  ui::MenuItem *mnuPopBookmark, *N2, *mnuCopyPath, *mnuEditFileParams;

  // What the last edit changed, for Undo Edit.
  pw::EditUndo UndoRecord;

  // The folder listing's model: what lvFiles shows, row by row.
  std::vector<pw::FileItem> Items;
  pw::FileTextContext TextContext;
  std::vector<TDriveItem> DriveItems;
  int FileCount = 0;
  int FolderCount = 0;

  // Form events.
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void FormDestroy();

  bool FilesWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  void LoadSystemImageLists();
  void UpdateAttrMask();

  // Drive listing.
  void FillDriveList();
  int lvDrivesCompare(const TDriveItem& item1, const TDriveItem& item2) const;
  void lvDrivesDblClick();
  void lvDrivesKeyDown(WORD& key);
  void OpenSelectedDrive();
  const TDriveItem* DriveAt(int index) const;

  // Folder listing.
  // False when the folder could not be entered (the list keeps what it showed) or its entries
  // could not be read.
  bool ListFolder();
  void AddFileItem(const WIN32_FIND_DATAW& found);
  const pw::FileItem* ItemAt(int index) const;
  // Takes the selection (unless keepSelected) and the focus off every row of lvFiles.
  void ClearFileSelection(bool keepSelected);
  std::wstring ItemSubText(int index, int subItem) const;
  void lvFilesGetDispInfo(NMLVDISPINFOW& info);
  int lvFilesFindItem(const NMLVFINDITEMW& find) const;

  // Navigation, selection and commands.
  void OpenItem(int index);
  // Shows a folder (path with a trailing backslash) or, for the empty path, the drive list, as
  // opening an entry does. False when the folder could not be listed.
  bool OpenFolder(const std::wstring& folder);
  void lvFilesDblClick();
  void lvFilesKeyDown(WORD& key);
  void lvFilesSelectItem(int index, bool selected);
  void SelectFocusedOrFirst(ui::ListView& list);
  bool SelectByCaption(ui::ListView& list, const std::wstring& caption);
  // Whether the list shows the folder of path afterwards.
  bool SetCurrentPath(const std::wstring& path);
  void OpenBookmark(const std::wstring& path);
  void RefreshFileList();
  void RefreshDriveList();
  void mnuRefreshClick(const ui::Sender&);
  void mnuAttributesClick(const ui::Sender& sender);
  void mnuShowFoldersClick(const ui::Sender& sender);
  void mnuCopyPathClick(const ui::Sender&);
  void mnuExitClick(const ui::Sender&);
  void mnuUpdateClick(const ui::Sender&);
  void mnuAboutClick(const ui::Sender&);
  void mnuBookmarkClick(const ui::Sender& sender);
  void mnuEditFileParamsClick(const ui::Sender&);
  // Writes back what the last edit changed, entry by entry, unless someone changed it since.
  void mnuUndoEditClick(const ui::Sender&);
  void UpdateBookmarkControls(int state);

  // Shortcut keys and the mouse's back and forward buttons.
  // Keys that act wherever the focus is in the window: F5, Alt+Left, Alt+Right, Alt+Up, Ctrl+L, F4.
  bool FormShortCut(HWND from, UINT msg, WPARAM key, LPARAM lp);
  // Keys of the lists: Backspace in both, Ctrl+A, Ctrl+Shift+C and Alt+Enter in the file list.
  bool ListShortCut(const ui::ListView& list, UINT msg, WPARAM key, LPARAM lp);
  void GoBack(const ui::Sender&);
  void GoForward(const ui::Sender&);
  // Up one level, as opening the parent entry; from a drive root to the drive list, on that drive.
  void GoUp(const ui::Sender&);
  void SelectAllFiles(const ui::Sender&);
  // Makes the path line editable, with its text selected.
  void EditPath(const ui::Sender&);

  // The path line while the user types a path into it.
  bool FilenameWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  void edFilenameEnter();
  void edFilenameExit();
  void edFilenameKeyDown(WORD& key);
  // Goes to the path in the path line: a folder is listed, a file's folder with the file selected.
  // False (with a beep) when there is no such file or folder; the text stays for correction.
  bool GoToTypedPath();

  // Sorting, columns and view style.
  void lvFilesColumnClick(int column);
  void SortItems();
  void UpdateSortArrows(int column);
  void mnuViewTypeClick(const ui::Sender& sender);
  void mnuColumnsClick(const ui::Sender& sender);
  // The widths the Columns menu asks for, put on the list (it takes them only in the Details view).
  void ApplyColumnStates();

  // Selection notifications are not reported while the program rebuilds the list itself.
  bool SuppressSelectionEvents = false;

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void CreateControls();
  void BuildMenus();
  void BuildToolbar();
  void SetBookmarkGlyph(int index);
  void ShowBookmarkState(int state);
  void ApplyFont();
  void ArrangeControls();
  void SetToolbarGlyphs();
  // The window at its DPI (app/MainWindowDpi.cpp): the pictures in the sizes drawn for it, the
  // menu font, and everything again when the window moves to a monitor of another DPI.
  void LoadImageLists();
  void LoadSortBitmaps();
  void LoadWindowIcons();
  void ApplyMenuFont();
  void RescaleColumns(const ui::ListView& list, UINT oldDpi);
  void OnDpiChanged(WPARAM wp, LPARAM lp);
  // The folder the file list shows, or the one to list: the folder part of CurrentPath, or while
  // CurrentPath is empty in folder mode (the drives entry is selected) the listed folder.
  std::wstring ShownFolder() const;

  // Messages, one handler each.
  void OnCreate();
  void OnSize();
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnClose();
  void OnDestroy();
  void OnCommand(WPARAM wp, LPARAM lp);
  LRESULT OnMeasureItem(WPARAM wp, MEASUREITEMSTRUCT& mis);
  LRESULT OnDrawItem(WPARAM wp, DRAWITEMSTRUCT& dis);
  LRESULT OnMenuChar(WPARAM wp, LPARAM lp);
  LRESULT OnNotify(NMHDR& hdr);
  LRESULT OnFilesNotify(NMHDR& hdr);
  void OnFilesItemChanged(const NMLISTVIEW& nm);
  void OnFilesStateRangeChanged(const NMLVODSTATECHANGE& nm);
  void OnContextMenu(HWND wnd, LPARAM lp);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  bool OnListKeyDown(ui::ListView& list, UINT msg, WPARAM key, LPARAM lp);
  bool OnAppCommand(LPARAM lp);
  void StepThroughHistory(const pw::FolderHistory::Step& step);
  // After going up or back: selects, alone, the folder the user left when the listing holds it.
  void SelectCameFrom(const std::wstring& leftFolder);
  void FocusShownList();

  ui::ScopedFont font_;
  UINT dpi_ = pw::kDesignDpi;
  int bookmarkGlyph_ = 0;
  ui::ScopedIcon bigIcon_, smallIcon_;
  ui::Subclass drivesKeys_;
  ui::Subclass pathLine_;
  bool quitOnDestroy_ = false;
  bool shown_ = false;
  bool popupAttached_ = false;
  pw::ShellTypeCache shellTypes_;
};
