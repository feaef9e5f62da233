#pragma once
// The main window: its layout and controls, and the handlers that wire them to the rooms that own
// the program's state: the listing model (browse/core/FolderModel), the time tools and the editor
// with the pipeline and undo they share (timetools/BatchRun, editor/EditCommand), the bookmark
// controls with their list (bookmarks/BookmarkControls)
// and the view options (app/ViewOptions). The handlers are spread over files by concern: the
// drive list, the folder list, navigation, the path line, the shortcut keys, sorting and view, and
// the commands on the selection.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <memory>
#include <string>
#include <vector>

#include "bookmarks/BookmarkControls.h"
#include "browse/core/FolderHistory.h"
#include "browse/core/FolderModel.h"
#include "browse/platform/FolderFeed.h"
#include "browse/platform/ShellInfo.h"
#include "editor/EditCommand.h"
#include "menus/FlatMenuRenderer.h"
#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/Panel.h"
#include "ui/Scoped.h"
#include "ui/Sender.h"
#include "ui/StatusBar.h"
#include "ui/Subclass.h"
#include "ui/Toolbar.h"

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

class MainWindowProbe;

class TfrmFileBrowser : public ui::Form {
public:
  static constexpr int kColumnCount = 7;

  // `folderQuery` reads the listed folders' blocks: the system's, or a test's stand-in that holds
  // a listing up for as long as the test needs it running.
  explicit TfrmFileBrowser(pw::DirectoryQuery folderQuery = pw::SystemDirectoryQuery());
  ~TfrmFileBrowser() override;

  // Creates the window (FormCreate runs inside) and shows it (FormShow). When quitOnDestroy is set,
  // destroying the window ends the message loop.
  bool Create(bool quitOnDestroy);
  void Show();

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyDpi(UINT oldDpi) override;
  void ArrangeControls() override;

private:
  friend class MainWindowProbe;

  // ---- Commands (MainCommands.cpp): each once, with its key and whether it needs a selection; the
  // menus, the pop-up menu, the toolbar and the keys name the handlers below.
  using Handler = void (TfrmFileBrowser::*)(const ui::Sender&);
  // Where a command's key works: anywhere in the window, in both lists, in the file list.
  enum class KeyScope : std::uint8_t { Window, Lists, FileList };
  struct CommandRow {
    Handler Run = nullptr;
    WORD Key = 0;  // none when 0
    unsigned Modifiers = 0;  // ui::KeyModifier bits, exactly these held
    KeyScope Where = KeyScope::Window;
    bool NeedsSelection = false;  // acts on the selected entries of the file list
    bool TextKeepsIt = false;     // the path line, while the user types in it, keeps the key
  };
  struct MenuRow {
    int Level = 0;
    const wchar_t* Name = L"";
    const wchar_t* Caption = L"";
    int Image = -1;
    int Tag = 0;
    bool Checked = false;
    int Group = 0;  // radio group
    Handler Click = nullptr;
    ui::MenuItem* TfrmFileBrowser::*Field = nullptr;  // the window's field that names the item
  };
  struct CommandTables;
  // The command a handler runs; nothing for one with neither a key nor a need of a selection.
  static const CommandRow* CommandOf(Handler run);
  static const CommandRow* CommandForKey(KeyScope where, UINT msg, WPARAM key, LPARAM lp);
  // The command of the menu item of that name in either menu's table.
  static const CommandRow* CommandOfItem(std::wstring_view name);
  // Whether the command can run now: one that acts on the selection needs one.
  bool CanRun(Handler run) const;
  // Runs a command for a menu item, a toolbar button or a key; refused with a beep when it cannot.
  // An exception it meets ends it and is reported over the window.
  void RunCommand(Handler run, const ui::Sender& sender);
  // What the user asked for, as the menu item or button that asked says it ("Shift Times").
  static std::wstring CommandName(const ui::Sender& sender);
  void BuildMenu(ui::Menu& menu, std::span<const MenuRow> rows);

  // ---- Form events and the window's own parts (kwFileBrowser.cpp, MainControls.cpp, MainMenus.cpp,
  // MainWindowDpi.cpp)
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void FormDestroy();
  bool FilesWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  void LoadSystemImageLists();
  void UpdateAttrMask();
  void CreateControls();
  void BuildMenus();
  void BuildToolbar();
  void ApplyFont();
  void LoadImageLists();
  void LoadSortBitmaps();
  void LoadWindowIcons();
  void ApplyMenuFont();
  void RescaleColumns(const ui::ListView& list, UINT oldDpi);

  // ---- Drive listing (DriveList.cpp)
  void FillDriveList();
  int lvDrivesCompare(const TDriveItem& item1, const TDriveItem& item2) const;
  void lvDrivesDblClick();
  void lvDrivesKeyDown(WORD& key);
  void OpenSelectedDrive();
  const TDriveItem* DriveAt(int index) const;

  // ---- Folder listing (FolderList.cpp)
  // What runs once a listing has ended, told whether the folder was read to its end.
  using AfterListing = std::function<void(bool read)>;
  // Lists the shown folder. False when it cannot be entered: the list keeps what it showed and
  // `then` never runs. Otherwise `then` runs when the listing ends, before this returns when that
  // is within the first slice; not at all when the listing is stopped or another one starts.
  bool ListFolder(AfterListing then = {});
  // The message of the listing's worker: what it found, or its end.
  void TakeListing(unsigned listing);
  void EndListing(pw::FolderFeed::Progress& ended);
  // Esc: stops a running listing; what it found so far stays, sorted, and says it is not all.
  void StopListing(const ui::Sender&);

  // What changed on disk in the shown folder, merged into the rows: the selection, the focus and
  // the first row shown stay with their entries.
  void ShowFolderChanges(pw::FolderFeed::Progress& taken);
  // The shown folder is gone: `there`, the nearest folder above it still there (empty: the drive
  // list), is listed, with a note in the status bar.
  void LeaveGoneFolder(const std::wstring& there);
  void lvFilesGetDispInfo(NMLVDISPINFOW& info);
  int lvFilesFindItem(const NMLVFINDITEMW& find) const;
  // The folder the file list shows, or the one to list: the folder part of CurrentPath, or while
  // CurrentPath is empty in folder mode (the drives entry is selected) the listed folder.
  std::wstring ShownFolder() const;

  // ---- The list in step with its model (ListRows.cpp)
  // Where the view goes after the rows changed: it stays; it shows the focused row (the first row
  // when none is); it keeps the first row shown that stays.
  enum class RowsView { Stay, Focused, KeepTop };
  // Changes the model's rows through `change`, which returns where each row went (moved[old row] =
  // new row, or FolderModel::kGoneRow), and puts the list in step: its length, the selection and
  // the focus carried to their entries, the view, the counts, and the path line and the bookmark
  // controls following the selected entry.
  void ChangeRows(const std::function<std::vector<std::uint32_t>()>& change, RowsView view);
  // After the rows changed: CurrentPath, the path line and the bookmark controls follow the entry
  // they named to its row now (renamed, it has a new path), or, when it went, the first selected
  // entry or the folder.
  void FollowSelection(int namedRow);
  // The path line shows CurrentPath, unless the user is typing a path into it.
  void ShowPath();
  void ShowCounts();
  void ScrollToTop(int row);
  // Takes the selection (unless keepSelected) and the focus off every row of lvFiles.
  void ClearFileSelection(bool keepSelected);

  // ---- Navigation, selection and commands (Navigation.cpp, Commands.cpp)
  void OpenItem(int index);
  // Shows a folder (path with a trailing backslash) or, for the empty path, the drive list, as
  // opening an entry does; `then` runs once it is shown. False when the folder cannot be entered.
  bool OpenFolder(const std::wstring& folder, AfterListing then = {});
  void lvFilesDblClick();
  void lvFilesKeyDown(WORD& key);
  void lvFilesSelectItem(int index, bool selected);
  void SelectFocusedOrFirst(ui::ListView& list);
  bool SelectByCaption(ui::ListView& list, const std::wstring& caption);
  // Lists the folder of path when CurrentPath differs from it; `then` is told whether the list shows
  // that folder, once it does (at once when the path is the same).
  void SetCurrentPath(const std::wstring& path, AfterListing then);
  void OpenBookmark(const std::wstring& path);
  // Whether a bookmark whose folder could not be listed names an entry that is really gone.
  bool BookmarkGone(const std::wstring& path) const;
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
  void UpdateBookmarkControls(int state);
  void mnuEditFileParamsClick(const ui::Sender&);
  // A time tool on the selected entries, then the list as the run left them: one handler for every
  // tool, named in the tables by the tool it runs.
  using TimeTool = bool (*)(const pw::ToolRequest&, pw::BatchRunner&);
  template <TimeTool Tool>
  void RunTimeTool(const ui::Sender&) {
    if (Tool({SelectedTargets(), Model.ListedFolder(), hwnd_}, Batches)) AfterEdit();
  }
  void mnuUndoEditClick(const ui::Sender&);
  // The selected entries as the time commands take them, with what the list shows of each.
  std::vector<pw::EditTarget> SelectedTargets() const;
  // The list and Undo Edit after a time command or its undo: the entries written show their new
  // values in their rows, the order, selection and scroll position kept.
  void AfterEdit();

  // ---- Shortcut keys and the mouse's back and forward buttons (ShortCuts.cpp)
  // Keys that act wherever the focus is in the window: F5, Alt+Left, Alt+Right, Alt+Up, Ctrl+L, F4,
  // Ctrl+Z.
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
  bool OnAppCommand(LPARAM lp);
  void StepThroughHistory(const pw::FolderHistory::Step& step);
  // After going up or back: selects, alone, the folder the user left when the listing holds it.
  void SelectCameFrom(const std::wstring& leftFolder);
  void FocusShownList();

  // ---- The path line while the user types a path into it (PathLine.cpp)
  bool FilenameWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  void edFilenameEnter();
  void edFilenameExit();
  void edFilenameKeyDown(WORD& key);
  // Goes to the path in the path line: a folder is listed, a file's folder with the file selected.
  // False (with a beep) when there is no such file or folder; the text stays for correction.
  bool GoToTypedPath();

  // ---- Sorting, columns and view style (SortView.cpp)
  void lvFilesColumnClick(int column);
  void UpdateSortArrows(int column);
  void mnuViewTypeClick(const ui::Sender& sender);
  void mnuColumnsClick(const ui::Sender& sender);
  // The widths the Columns menu asks for, put on the list (it takes them only in the Details view).
  void ApplyColumnStates();

  // ---- Messages, one handler each (kwFileBrowser.cpp)
  void OnCreate();
  void OnSize();
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnClose();
  void OnDestroy();
  void OnCommand(WPARAM wp, LPARAM lp);
  LRESULT OnMeasureItem(WPARAM wp, MEASUREITEMSTRUCT& mis);
  LRESULT OnDrawItem(WPARAM wp, DRAWITEMSTRUCT& dis);
  LRESULT OnMenuChar(WPARAM wp, LPARAM lp);
  void OnInitMenuPopup(HMENU menu);
  LRESULT OnNotify(NMHDR& hdr);
  LRESULT OnFilesNotify(NMHDR& hdr);
  void OnFilesItemChanged(const NMLISTVIEW& nm);
  void OnFilesStateRangeChanged(const NMLVODSTATECHANGE& nm);
  void OnContextMenu(HWND wnd, LPARAM lp);
  bool OnSetCursor(HWND wnd, UINT hit) const;
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  bool OnListKeyDown(ui::ListView& list, UINT msg, WPARAM key, LPARAM lp);

  // ---- Main window state
  std::array<ui::ScopedBitmap, 2> SortBitmaps;  // the header arrows: down, up
  std::array<TColumnState, kColumnCount> ColumnStates;
  ui::Subclass OldFilesWndProc;  // FilesWndProc in front of the list's own procedure
  int UpIconIndex = -1;
  std::wstring CurrentPath;
  pw::FolderHistory History;  // every folder listed, and the drive list when it is opened
  // What lvFiles shows, with the attribute filter, Show Folders and the sort order.
  pw::FolderModel Model;
  pw::DirectoryQuery folderQuery_;
  std::unique_ptr<pw::FolderFeed> Feed;  // made with the window, which it reports to
  unsigned listing_ = 0;                     // the listing the model shows
  pw::ListingOptions listedSort_;            // the order it was started with
  AfterListing afterListing_;
  std::vector<TDriveItem> DriveItems;

  // ---- Controls
  ui::Toolbar pnToolbar;
  ui::Panel pnFilename, pnBack;
  HWND edFilename = nullptr;
  ui::ListView lvFiles, lvDrives;
  ui::StatusBar StatusBar;
  ui::Menu MainMenu{false};
  ui::Menu lvFilesPopupMenu{true};
  // The items the window's code changes, named by the tables that lay them out.
  ui::MenuItem *mnuUpdate = nullptr, *mnuUndoEdit = nullptr, *mnuBookmarks = nullptr, *mnuView = nullptr,
               *mnuAttributes = nullptr, *mnuViewType = nullptr, *mnuShowFolders = nullptr,
               *mnuPopBookmark = nullptr;
  ui::ImageListOwner imMenu, imSmall, imLarge;
  pw::ShellImageLists Icons;  // the large and small lists shared by both list views
  // Declared after the menus and imMenu: it hands the menus back to the system's drawing first.
  pw::TFlatMenuRenderer FlatMenuRenderer1{*this, {&MainMenu, &lvFilesPopupMenu}};

  // ---- The rooms of the other concerns
  std::unique_ptr<pw::TBookmarkControls> Bookmarks;  // made with the menus, in FormCreate
  pw::BatchRunner Batches;

  ui::ScopedFont font_;
  ui::ScopedIcon bigIcon_, smallIcon_;
  ui::Subclass drivesKeys_;
  ui::Subclass pathLine_;
  bool quitOnDestroy_ = false;
  bool shown_ = false;
  bool popupAttached_ = false;
  // Selection notifications are not reported while the program rebuilds the list itself.
  bool quietSelection_ = false;
};
