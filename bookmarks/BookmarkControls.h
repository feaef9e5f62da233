#pragma once
// The bookmark controls of the main window: the Bookmarks menu with its list, and the toolbar
// button and pop-up item that add or remove the selected entry's bookmark. Button and item are
// always in the same one of two states, add (3) or remove (4), kept in the tags of both.
#include <windows.h>

#include <memory>
#include <string>

#include "bookmarks/kwRecentKeys.h"
#include "ui/Menu.h"
#include "ui/SpeedButton.h"

namespace pw {

class TBookmarkControls {
public:
  static constexpr int kAddState = 3;
  static constexpr int kRemoveState = 4;

  // Loads the stored bookmarks into the sub-items of bookmarkMenu (the list is stored under the
  // program's key followed by subKey) and puts the button and the item in the add state, disabled.
  TBookmarkControls(ui::MenuItem& bookmarkMenu, const std::wstring& subKey, ui::SpeedButton& button,
                    ui::MenuItem& popupItem);

  TkwRecentKeys& RecentKeys() { return *recentKeys_; }
  const TkwRecentKeys& RecentKeys() const { return *recentKeys_; }
  // The state both controls show.
  int State() const { return popupItem_.Tag; }

  // The click of the button or the item on the selected entry: adds its bookmark in the add state,
  // removes it in the remove state, then brings the controls in step.
  void Click(int senderState, const std::wstring& selectedPath);
  // Enables the controls when they are usable (an entry with a path is selected in the shown file
  // list) and shows the state that fits the entry; disabled, they keep the state they had.
  void Update(int state, bool usable, const std::wstring& selectedPath);
  // The button's glyph drawn for the DPI.
  void SetDpi(UINT dpi);

private:
  void ShowState(int state);

  std::unique_ptr<TkwRecentKeys> recentKeys_;
  ui::SpeedButton& button_;
  ui::MenuItem& popupItem_;
  UINT dpi_ = 96;
};

}  // namespace pw
