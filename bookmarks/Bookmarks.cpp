// The bookmark controls of the main window. The stored list is there (BookmarkList) but its menu is
// not yet, so the button and the pop-up item stay disabled rather than pretend.
#include "app/kwFileBrowser.h"

void TfrmFileBrowser::mnuBookmarkClick(const ui::Sender&) {}

void TfrmFileBrowser::UpdateBookmarkControls(int) {}
