// The main window's commands, each once: its handler, its key, whether it needs a selection of the
// file list and where its key works; then the menus, the pop-up menu and the toolbar, whose rows
// name the handlers. A menu shows the key of its item's command, made from the command's row.
// A new command is one row in kCommands (when it has a key or needs a selection), its rows in the
// menus, and its handler.
#include "app/MainLayout.h"
#include "app/kwFileBrowser.h"
#include "resources/resource.h"
#include "ui/Failure.h"
#include "ui/Keys.h"

namespace {

constexpr int kNoImage = -1;
constexpr int kViewGroup = 1;

}  // namespace

struct TfrmFileBrowser::CommandTables {
  using F = TfrmFileBrowser;

  static constexpr CommandRow kCommands[] = {
      {.Run = &F::mnuRefreshClick, .Key = VK_F5},
      {.Run = &F::GoBack, .Key = VK_LEFT, .Modifiers = ui::ModAlt},
      {.Run = &F::GoForward, .Key = VK_RIGHT, .Modifiers = ui::ModAlt},
      {.Run = &F::GoUp, .Key = VK_UP, .Modifiers = ui::ModAlt},
      {.Run = &F::GoUp, .Key = VK_BACK, .Where = KeyScope::Lists},
      {.Run = &F::EditPath, .Key = 'L', .Modifiers = ui::ModCtrl},
      {.Run = &F::EditPath, .Key = VK_F4},
      {.Run = &F::mnuUndoEditClick, .Key = 'Z', .Modifiers = ui::ModCtrl, .TextKeepsIt = true},
      {.Run = &F::StopListing, .Key = VK_ESCAPE, .TextKeepsIt = true},
      {.Run = &F::SelectAllFiles, .Key = 'A', .Modifiers = ui::ModCtrl, .Where = KeyScope::FileList},
      {.Run = &F::mnuCopyPathClick, .Key = 'C', .Modifiers = ui::ModCtrl | ui::ModShift, .Where = KeyScope::FileList,
       .NeedsSelection = true},
      {.Run = &F::mnuEditFileParamsClick, .Key = VK_RETURN, .Modifiers = ui::ModAlt, .Where = KeyScope::FileList,
       .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::ShiftTimes>, .Key = 'H', .Modifiers = ui::ModCtrl, .Where = KeyScope::FileList,
       .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::CopyTimesFrom>, .Key = 'T', .Modifiers = ui::ModCtrl, .Where = KeyScope::FileList,
       .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::TimesFromContent>, .Key = 'G', .Modifiers = ui::ModCtrl, .Where = KeyScope::FileList,
       .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::SetTimesToNow>, .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::SetClockRight>, .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::SaveTimes>, .NeedsSelection = true},
      {.Run = &F::RunTimeTool<&pw::RestoreTimes>, .NeedsSelection = true},
      {.Run = &F::mnuBookmarkClick, .NeedsSelection = true},
  };

  // Level 0 items are the menu's top level; an item belongs to the nearest item above it with a
  // level one less. The items of one menu each have an access key of their own: a shared key only
  // selects. The pop-up's first item reads "&Remove bookmark" at times, so R is taken there too.
  static constexpr MenuRow kMainMenu[] = {
      {.Level = 0, .Name = L"mnuExplorer", .Caption = L"&Explorer", .Image = MENUIMG_EXPLORER},
      {.Level = 1, .Name = L"mnuUpdate", .Caption = L"&Update", .Image = MENUIMG_UPDATE, .Click = &F::mnuUpdateClick,
       .Field = &F::mnuUpdate},
      {.Level = 1, .Name = L"N1", .Caption = L"-"},
      {.Level = 1, .Name = L"mnuExit", .Caption = L"E&xit", .Image = MENUIMG_EXIT, .Click = &F::mnuExitClick},
      {.Level = 0, .Name = L"mnuOptions", .Caption = L"&Options"},
      {.Level = 1, .Name = L"mnuRefresh", .Caption = L"&Refresh", .Image = MENUIMG_REFRESH,
       .Click = &F::mnuRefreshClick},
      {.Level = 1, .Name = L"mnuUndoEdit", .Caption = L"&Undo Edit", .Click = &F::mnuUndoEditClick,
       .Field = &F::mnuUndoEdit},
      {.Level = 1, .Name = L"N3", .Caption = L"-"},
      {.Level = 1, .Name = L"mnuShiftTimes", .Caption = L"S&hift Times...", .Click = &F::RunTimeTool<&pw::ShiftTimes>},
      {.Level = 1, .Name = L"mnuCopyTimesFrom", .Caption = L"Copy &Times From...", .Click = &F::RunTimeTool<&pw::CopyTimesFrom>},
      {.Level = 1, .Name = L"mnuSetToNow", .Caption = L"Set to &Now...", .Click = &F::RunTimeTool<&pw::SetTimesToNow>},
      {.Level = 1, .Name = L"mnuTimesFromContent", .Caption = L"Times From &Content...",
       .Click = &F::RunTimeTool<&pw::TimesFromContent>},
      {.Level = 1, .Name = L"mnuSetClockRight", .Caption = L"Set the Cloc&k Right...",
       .Click = &F::RunTimeTool<&pw::SetClockRight>},
      {.Level = 1, .Name = L"mnuSaveTimes", .Caption = L"Sa&ve Times...", .Click = &F::RunTimeTool<&pw::SaveTimes>},
      {.Level = 1, .Name = L"mnuRestoreTimes", .Caption = L"Re&store Times...", .Click = &F::RunTimeTool<&pw::RestoreTimes>},
      {.Level = 0, .Name = L"mnuBookmarks", .Caption = L"&Bookmarks", .Field = &F::mnuBookmarks},
      {.Level = 0, .Name = L"mnuView", .Caption = L"&View", .Field = &F::mnuView},
      {.Level = 1, .Name = L"mnuAttributes", .Caption = L"&Attributes", .Image = MENUIMG_ATTRIBUTES,
       .Field = &F::mnuAttributes},
      {.Level = 2, .Name = L"mnuReadOnly", .Caption = L"&Read Only", .Tag = 1, .Checked = true,
       .Click = &F::mnuAttributesClick},
      {.Level = 2, .Name = L"mnuHidden", .Caption = L"&Hidden", .Tag = 2, .Checked = true,
       .Click = &F::mnuAttributesClick},
      {.Level = 2, .Name = L"mnuSystem", .Caption = L"&System", .Tag = 4, .Checked = true,
       .Click = &F::mnuAttributesClick},
      {.Level = 2, .Name = L"mnuArchive", .Caption = L"&Archive", .Tag = 32, .Checked = true,
       .Click = &F::mnuAttributesClick},
      {.Level = 2, .Name = L"mnuNormal", .Caption = L"&Normal", .Tag = 128, .Checked = true,
       .Click = &F::mnuAttributesClick},
      {.Level = 1, .Name = L"mnuColumns", .Caption = L"&Columns", .Image = MENUIMG_COLUMNS},
      {.Level = 2, .Name = L"mnuSizeCol", .Caption = L"&Size", .Tag = 1, .Checked = true, .Click = &F::mnuColumnsClick},
      {.Level = 2, .Name = L"mnuTypeCol", .Caption = L"&Type", .Tag = 2, .Checked = true, .Click = &F::mnuColumnsClick},
      {.Level = 2, .Name = L"mnuCreatedCol", .Caption = L"&Created", .Tag = 3, .Checked = true,
       .Click = &F::mnuColumnsClick},
      {.Level = 2, .Name = L"mnuModifiedCol", .Caption = L"&Modified", .Tag = 4, .Checked = true,
       .Click = &F::mnuColumnsClick},
      {.Level = 2, .Name = L"mnuAccessedCol", .Caption = L"&Accessed", .Tag = 5, .Checked = true,
       .Click = &F::mnuColumnsClick},
      {.Level = 2, .Name = L"mnuAttributesCol", .Caption = L"Att&ributes", .Tag = 6, .Checked = true,
       .Click = &F::mnuColumnsClick},
      {.Level = 1, .Name = L"mnuViewType", .Caption = L"&ViewType", .Image = MENUIMG_VIEWTYPE,
       .Field = &F::mnuViewType},
      {.Level = 2, .Name = L"mnuLargeIcons", .Caption = L"Lar&ge Icons", .Image = MENUIMG_LARGEICONS, .Tag = 0,
       .Group = kViewGroup, .Click = &F::mnuViewTypeClick},
      {.Level = 2, .Name = L"mnuSmallIcons", .Caption = L"S&mall Icons", .Image = MENUIMG_SMALLICONS, .Tag = 1,
       .Group = kViewGroup, .Click = &F::mnuViewTypeClick},
      {.Level = 2, .Name = L"mnuList", .Caption = L"&List", .Image = MENUIMG_LIST, .Tag = 2, .Group = kViewGroup,
       .Click = &F::mnuViewTypeClick},
      {.Level = 2, .Name = L"mnuDetails", .Caption = L"&Details", .Image = MENUIMG_DETAILS, .Tag = 3, .Checked = true,
       .Group = kViewGroup, .Click = &F::mnuViewTypeClick},
      {.Level = 1, .Name = L"N5", .Caption = L"-"},
      {.Level = 1, .Name = L"mnuShowFolders", .Caption = L"&Show Folders", .Checked = true,
       .Click = &F::mnuShowFoldersClick, .Field = &F::mnuShowFolders},
      {.Level = 1, .Name = L"N6", .Caption = L"-"},
      {.Level = 0, .Name = L"mnuAbout", .Caption = L"&About", .Click = &F::mnuAboutClick},
  };

  static constexpr MenuRow kPopupMenu[] = {
      {.Level = 0, .Name = L"mnuPopBookmark", .Caption = L"&Add Bookmark", .Image = MENUIMG_ADDBOOKMARK,
       .Click = &F::mnuBookmarkClick, .Field = &F::mnuPopBookmark},
      {.Level = 0, .Name = L"N2", .Caption = L"-"},
      {.Level = 0, .Name = L"mnuCopyPath", .Caption = L"Copy &Path", .Image = MENUIMG_COPYPATH,
       .Click = &F::mnuCopyPathClick},
      {.Level = 0, .Name = L"mnuEditFileParams", .Caption = L"Edit &File Params", .Image = MENUIMG_EDITPARAMS,
       .Click = &F::mnuEditFileParamsClick},
      {.Level = 0, .Name = L"mnuPopShiftTimes", .Caption = L"S&hift Times...", .Click = &F::RunTimeTool<&pw::ShiftTimes>},
      {.Level = 0, .Name = L"mnuPopCopyTimesFrom", .Caption = L"Copy &Times From...",
       .Click = &F::RunTimeTool<&pw::CopyTimesFrom>},
      {.Level = 0, .Name = L"mnuPopSetToNow", .Caption = L"Set to &Now...", .Click = &F::RunTimeTool<&pw::SetTimesToNow>},
      {.Level = 0, .Name = L"mnuPopTimesFromContent", .Caption = L"Times From &Content...",
       .Click = &F::RunTimeTool<&pw::TimesFromContent>},
      {.Level = 0, .Name = L"mnuPopSetClockRight", .Caption = L"Set the Cloc&k Right...",
       .Click = &F::RunTimeTool<&pw::SetClockRight>},
      {.Level = 0, .Name = L"mnuPopSaveTimes", .Caption = L"Sa&ve Times...", .Click = &F::RunTimeTool<&pw::SaveTimes>},
      {.Level = 0, .Name = L"mnuPopRestoreTimes", .Caption = L"Re&store Times...", .Click = &F::RunTimeTool<&pw::RestoreTimes>},
  };

  // The buttons are placed by ArrangeControls; Update and Cancel are anchored right and never
  // shown.
  static constexpr int kTextButtonRight = layout::RightButtonGap + layout::TextButtonWidth + layout::RightButtonGap;
  static constexpr ui::ToolbarRow<F> kToolbar[] = {
      {.Look = {.Name = L"btnBookmark", .Left = 4, .Right = -1, .Width = 22,
                 .Hint = L"Add bookmark", .Caption = L"", .Tag = 0, .Group = 0, .Glyph = -1},
       .Click = &F::mnuBookmarkClick},
      {.Look = {.Name = L"btnRefresh", .Left = 28, .Right = -1, .Width = 23,
                 .Hint = L"Refresh", .Caption = L"", .Tag = 0, .Group = 0, .Glyph = 0},
       .Click = &F::mnuRefreshClick},
      {.Look = {.Name = L"btnLargeIcons", .Left = 59, .Right = -1, .Width = 23,
                 .Hint = L"Large Icons", .Caption = L"", .Tag = 0, .Group = kViewGroup, .Glyph = 1},
       .Click = &F::mnuViewTypeClick},
      {.Look = {.Name = L"btnSmallIcons", .Left = 84, .Right = -1, .Width = 23,
                 .Hint = L"Small Icons", .Caption = L"", .Tag = 1, .Group = kViewGroup, .Glyph = 2},
       .Click = &F::mnuViewTypeClick},
      {.Look = {.Name = L"btnList", .Left = 109, .Right = -1, .Width = 23,
                 .Hint = L"List", .Caption = L"", .Tag = 2, .Group = kViewGroup, .Glyph = 3},
       .Click = &F::mnuViewTypeClick},
      {.Look = {.Name = L"btnDetails", .Left = 134, .Right = -1, .Width = 23,
                 .Hint = L"Details", .Caption = L"", .Tag = 3, .Group = kViewGroup, .Glyph = 4},
       .Click = &F::mnuViewTypeClick},
      {.Look = {.Name = L"btnUpdate", .Left = 0, .Right = kTextButtonRight, .Width = layout::TextButtonWidth,
                 .Hint = L"Update", .Caption = L"Update", .Tag = -1, .Group = 0, .Glyph = -1},
       .Click = &F::mnuUpdateClick},
      {.Look = {.Name = L"btnCancel", .Left = 0, .Right = layout::RightButtonGap, .Width = layout::TextButtonWidth,
                 .Hint = L"Cancel", .Caption = L"Cancel", .Tag = -1, .Group = 0, .Glyph = -1},
       .Click = &F::mnuExitClick},
  };
  static constexpr int kBevels[] = {layout::Bevel1Left, layout::Bevel2Left};
};

const TfrmFileBrowser::CommandRow* TfrmFileBrowser::CommandOfItem(std::wstring_view name) {
  for (std::span<const MenuRow> menu : {std::span<const MenuRow>(CommandTables::kMainMenu),
                                        std::span<const MenuRow>(CommandTables::kPopupMenu)})
    for (const MenuRow& row : menu)
      if (row.Name == name && row.Click) return CommandOf(row.Click);
  return nullptr;
}

const TfrmFileBrowser::CommandRow* TfrmFileBrowser::CommandOf(Handler run) {
  for (const CommandRow& row : CommandTables::kCommands)
    if (row.Run == run) return &row;
  return nullptr;
}

const TfrmFileBrowser::CommandRow* TfrmFileBrowser::CommandForKey(KeyScope where, UINT msg, WPARAM key, LPARAM lp) {
  if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) return nullptr;
  const unsigned mods = ui::HeldModifiers(msg, lp);
  for (const CommandRow& row : CommandTables::kCommands)
    if (row.Key != 0 && row.Where == where && row.Key == key && row.Modifiers == mods) return &row;
  return nullptr;
}

bool TfrmFileBrowser::CanRun(Handler run) const {
  const CommandRow* row = CommandOf(run);
  return !row || !row->NeedsSelection || (lvFiles.Visible() && lvFiles.SelectedCount() > 0);
}

void TfrmFileBrowser::RunCommand(Handler run, const ui::Sender& sender) {
  if (!CanRun(run)) {
    MessageBeep(MB_OK);
    return;
  }
  try {
    (this->*run)(sender);
  } catch (...) {
    // The command ends here, and says so; the window goes on.
    ui::ReportFailure(CommandName(sender), hwnd_);
  }
}

std::wstring TfrmFileBrowser::CommandName(const ui::Sender& sender) {
  std::wstring name = sender.Item ? sender.Item->Caption() : sender.Button ? sender.Button->Hint() : L"The command";
  std::erase(name, L'&');
  if (name.ends_with(L"...")) name.resize(name.size() - 3);
  return name;
}

void TfrmFileBrowser::OnInitMenuPopup(HMENU menu) {
  // The commands that act on the selection are offered only with one.
  for (const MenuRow& row : CommandTables::kMainMenu) {
    if (!row.Click) continue;
    ui::MenuItem* item = MainMenu.Find(row.Name);
    if (item && item->Parent() && item->Parent()->SubMenu() == menu && CommandOf(row.Click) &&
        CommandOf(row.Click)->NeedsSelection)
      item->SetEnabled(CanRun(row.Click));
  }
}

void TfrmFileBrowser::BuildMenu(ui::Menu& menu, std::span<const MenuRow> rows) {
  menu.SetImages(imMenu.get());
  std::vector<ui::MenuItem*> parents{&menu.Root()};
  for (const MenuRow& row : rows) {
    parents.resize(static_cast<size_t>(row.Level) + 1);
    ui::MenuItem& item = parents.back()->Add(row.Name, row.Caption);
    item.Tag = row.Tag;
    item.SetGroupIndex(row.Group);
    item.SetImageIndex(row.Image);
    if (row.Checked) item.SetChecked(true);
    if (row.Field) this->*row.Field = &item;
    if (row.Click) {
      if (const CommandRow* command = CommandOf(row.Click))
        item.SetShortCut(ui::KeyText(command->Key, command->Modifiers));
      item.OnClick = [this, click = row.Click](ui::MenuItem& sender) {
        RunCommand(click, ui::Sender{sender.Tag, &sender, nullptr});
      };
    }
    parents.push_back(&item);
  }
}

void TfrmFileBrowser::BuildMenus() {
  LoadImageLists();
  BuildMenu(MainMenu, CommandTables::kMainMenu);
  BuildMenu(lvFilesPopupMenu, CommandTables::kPopupMenu);
  mnuUndoEdit->SetEnabled(false);  // until an edit has changed something
  MainMenu.AttachToWindow(hwnd_);
  ApplyMenuFont();
  FlatMenuRenderer1.SetProperties(pw::kMainWindowFlatMenu);
}

// Made without a place: ArrangeControls places the buttons and bevels for the window's DPI.
void TfrmFileBrowser::BuildToolbar() {
  std::vector<ui::Toolbar::Button> looks;
  for (const auto& row : CommandTables::kToolbar) looks.push_back(row.Look);
  pnToolbar.Create(hwnd_, ui::Bevel::Lowered, ui::Bevel::Raised, looks, CommandTables::kBevels,
                   [this](std::size_t row, ui::SpeedButton& sender) {
                     RunCommand(CommandTables::kToolbar[row].Click, ui::Sender{sender.Tag, nullptr, &sender});
                   });
  pnToolbar.Find(L"btnDetails")->SetDown(true);
  pnToolbar.SetGlyphs(IDB_TOOLBARGLYPHS, dpi_);
}
