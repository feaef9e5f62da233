// The bookmark controls of the main window. Bookmarks themselves (the stored list and its menu)
// are not there yet, so the button and the pop-up item stay disabled rather than pretend.
#include "app/kwFileBrowser.h"

void TfrmFileBrowser::mnuBookmarkClick(const ui::Sender&) {}

void TfrmFileBrowser::UpdateBookmarkControls(int) {}
