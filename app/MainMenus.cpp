// The main window's menus and toolbar: tables of the laid-out items and buttons, each with its
// name, caption, picture, tag and click handler, and the loops that make them.
#include "app/MainLayout.h"
#include "app/kwFileBrowser.h"
#include "resources/resource.h"

namespace {

using Handler = void (TfrmFileBrowser::*)(const ui::Sender&);

// Level 0 items are the menu's top level; an item belongs to the nearest item above it with a
// level one less.
struct MenuRow {
  int Level;
  const wchar_t* Name;
  const wchar_t* Caption;
  int Image;
  int Tag;
  bool Checked;
  int Group;  // radio group
  Handler Click;
  const wchar_t* ShortCut;
};

}  // namespace

struct TfrmFileBrowser::MenuTables {
  using F = TfrmFileBrowser;
  static constexpr int kNoImage = -1;
  static constexpr int kViewGroup = 1;
  // The buttons are placed by ArrangeControls; Update and Cancel are anchored right and never
  // shown.
  static constexpr int kTextButtonRight = layout::RightButtonGap + layout::TextButtonWidth + layout::RightButtonGap;

  static constexpr MenuRow kMainMenu[] = {
    {0, L"mnuExplorer", L"&Explorer", MENUIMG_EXPLORER, 0, false, 0, nullptr, L""},
    {1, L"mnuUpdate", L"&Update", MENUIMG_UPDATE, 0, false, 0, &F::mnuUpdateClick, L""},
    {1, L"N1", L"-", kNoImage, 0, false, 0, nullptr, L""},
    {1, L"mnuExit", L"E&xit", MENUIMG_EXIT, 0, false, 0, &F::mnuExitClick, L""},
    {0, L"mnuOptions", L"&Options", kNoImage, 0, false, 0, nullptr, L""},
    {1, L"mnuRefresh", L"&Refresh", MENUIMG_REFRESH, 0, false, 0, &F::mnuRefreshClick, L"F5"},
    {1, L"mnuUndoEdit", L"&Undo Edit", kNoImage, 0, false, 0, &F::mnuUndoEditClick, L"Ctrl+Z"},
    {1, L"N3", L"-", kNoImage, 0, false, 0, nullptr, L""},
    {1, L"mnuShiftTimes", L"S&hift Times...", kNoImage, 0, false, 0, &F::mnuShiftTimesClick, L"Ctrl+H"},
    {1, L"mnuCopyTimesFrom", L"Copy &Times From...", kNoImage, 0, false, 0, &F::mnuCopyTimesFromClick, L"Ctrl+T"},
    {0, L"mnuBookmarks", L"&Bookmarks", kNoImage, 0, false, 0, nullptr, L""},
    {0, L"mnuView", L"&View", kNoImage, 0, false, 0, nullptr, L""},
    {1, L"mnuAttributes", L"&Attributes", MENUIMG_ATTRIBUTES, 0, false, 0, nullptr, L""},
    {2, L"mnuReadOnly", L"&Read Only", kNoImage, 1, true, 0, &F::mnuAttributesClick, L""},
    {2, L"mnuHidden", L"&Hidden", kNoImage, 2, true, 0, &F::mnuAttributesClick, L""},
    {2, L"mnuSystem", L"&System", kNoImage, 4, true, 0, &F::mnuAttributesClick, L""},
    {2, L"mnuArchive", L"&Archive", kNoImage, 32, true, 0, &F::mnuAttributesClick, L""},
    {2, L"mnuNormal", L"&Normal", kNoImage, 128, true, 0, &F::mnuAttributesClick, L""},
    {1, L"mnuColumns", L"&Columns", MENUIMG_COLUMNS, 0, false, 0, nullptr, L""},
    {2, L"mnuSizeCol", L"&Size", kNoImage, 1, true, 0, &F::mnuColumnsClick, L""},
    {2, L"mnuTypeCol", L"&Type", kNoImage, 2, true, 0, &F::mnuColumnsClick, L""},
    {2, L"mnuCreatedCol", L"Created", kNoImage, 3, true, 0, &F::mnuColumnsClick, L""},
    {2, L"mnuModifiedCol", L"&Modified", kNoImage, 4, true, 0, &F::mnuColumnsClick, L""},
    {2, L"mnuAccessedCol", L"&Accessed", kNoImage, 5, true, 0, &F::mnuColumnsClick, L""},
    {2, L"mnuAttributesCol", L"Att&ributes", kNoImage, 6, true, 0, &F::mnuColumnsClick, L""},
    {1, L"mnuViewType", L"&ViewType", MENUIMG_VIEWTYPE, 0, false, 0, nullptr, L""},
    {2, L"mnuLargeIcons", L"Lar&ge Icons", MENUIMG_LARGEICONS, 0, false, kViewGroup, &F::mnuViewTypeClick, L""},
    {2, L"mnuSmallIcons", L"S&mall Icons", MENUIMG_SMALLICONS, 1, false, kViewGroup, &F::mnuViewTypeClick, L""},
    {2, L"mnuList", L"&List", MENUIMG_LIST, 2, false, kViewGroup, &F::mnuViewTypeClick, L""},
    {2, L"mnuDetails", L"&Details", MENUIMG_DETAILS, 3, true, kViewGroup, &F::mnuViewTypeClick, L""},
    {1, L"N5", L"-", kNoImage, 0, false, 0, nullptr, L""},
    {1, L"mnuShowFolders", L"&Show Folders", kNoImage, 0, true, 0, &F::mnuShowFoldersClick, L""},
    {1, L"N6", L"-", kNoImage, 0, false, 0, nullptr, L""},
    {0, L"mnuAbout", L"&About", kNoImage, 0, false, 0, &F::mnuAboutClick, L""},
  };

  static constexpr MenuRow kPopupMenu[] = {
    {0, L"mnuPopBookmark", L"&Add Bookmark", MENUIMG_ADDBOOKMARK, 0, false, 0, &F::mnuBookmarkClick, L""},
    {0, L"N2", L"-", kNoImage, 0, false, 0, nullptr, L""},
    {0, L"mnuCopyPath", L"Copy &Path", MENUIMG_COPYPATH, 0, false, 0, &F::mnuCopyPathClick, L"Ctrl+Shift+C"},
    {0, L"mnuEditFileParams", L"Edit &File Params", MENUIMG_EDITPARAMS, 0, false, 0, &F::mnuEditFileParamsClick,
     L"Alt+Enter"},
    {0, L"mnuPopShiftTimes", L"S&hift Times...", kNoImage, 0, false, 0, &F::mnuShiftTimesClick, L"Ctrl+H"},
    {0, L"mnuPopCopyTimesFrom", L"Copy &Times From...", kNoImage, 0, false, 0, &F::mnuCopyTimesFromClick, L"Ctrl+T"},
  };

  static constexpr ui::ToolbarRow<F> kToolbar[] = {
    {{L"btnBookmark", 4, -1, 22, L"Add bookmark", L"", 0, 0, -1}, &F::mnuBookmarkClick},
    {{L"btnRefresh", 28, -1, 23, L"Refresh", L"", 0, 0, 0}, &F::mnuRefreshClick},
    {{L"btnLargeIcons", 59, -1, 23, L"Large Icons", L"", 0, kViewGroup, 1}, &F::mnuViewTypeClick},
    {{L"btnSmallIcons", 84, -1, 23, L"Small Icons", L"", 1, kViewGroup, 2}, &F::mnuViewTypeClick},
    {{L"btnList", 109, -1, 23, L"List", L"", 2, kViewGroup, 3}, &F::mnuViewTypeClick},
    {{L"btnDetails", 134, -1, 23, L"Details", L"", 3, kViewGroup, 4}, &F::mnuViewTypeClick},
    {{L"btnUpdate", 0, kTextButtonRight, layout::TextButtonWidth, L"Update", L"Update", -1, 0, -1}, &F::mnuUpdateClick},
    {{L"btnCancel", 0, layout::RightButtonGap, layout::TextButtonWidth, L"Cancel", L"Cancel", -1, 0, -1},
     &F::mnuExitClick},
  };
  static constexpr int kBevels[] = {layout::Bevel1Left, layout::Bevel2Left};
};

namespace {

void BuildMenu(TfrmFileBrowser& form, ui::Menu& menu, const MenuRow* rows, size_t count, HIMAGELIST images) {
  menu.SetImages(images);
  std::vector<ui::MenuItem*> parents{&menu.Root()};
  for (size_t i = 0; i < count; ++i) {
    const MenuRow& row = rows[i];
    parents.resize(static_cast<size_t>(row.Level) + 1);
    ui::MenuItem& item = parents.back()->Add(row.Name, row.Caption);
    item.Tag = row.Tag;
    item.SetGroupIndex(row.Group);
    item.SetImageIndex(row.Image);
    if (*row.ShortCut) item.SetShortCut(row.ShortCut);
    if (row.Checked) item.SetChecked(true);
    if (row.Click) {
      item.OnClick = [&form, click = row.Click](ui::MenuItem& sender) {
        (form.*click)(ui::Sender{sender.Tag, &sender, nullptr});
      };
    }
    parents.push_back(&item);
  }
}

}  // namespace

void TfrmFileBrowser::BuildMenus() {
  LoadImageLists();
  BuildMenu(*this, MainMenu, MenuTables::kMainMenu, std::size(MenuTables::kMainMenu), imMenu.get());
  BuildMenu(*this, lvFilesPopupMenu, MenuTables::kPopupMenu, std::size(MenuTables::kPopupMenu), imMenu.get());
  Item(L"mnuUndoEdit").SetEnabled(false);  // until an edit has changed something
  MainMenu.AttachToWindow(hwnd_);
  ApplyMenuFont();
  FlatMenuRenderer1.SetProperties(pw::kMainWindowFlatMenu);
}

// Made without a place: ArrangeControls places the buttons and bevels for the window's DPI.
void TfrmFileBrowser::BuildToolbar() {
  ui::BuildToolbar(pnToolbar, hwnd_, ui::Bevel::Lowered, ui::Bevel::Raised, *this, MenuTables::kToolbar,
                   MenuTables::kBevels);
  pnToolbar.Find(L"btnDetails")->SetDown(true);
  pnToolbar.SetGlyphs(IDB_TOOLBARGLYPHS, dpi_);
}

ui::MenuItem& TfrmFileBrowser::Item(std::wstring_view name) const {
  ui::MenuItem* item = MainMenu.Find(name);
  if (!item) item = lvFilesPopupMenu.Find(name);
  return *item;  // the tables above lay out every item the window's code names
}
