// The "Edit File Params" command of the file list's pop-up menu.
#include "app/kwFileBrowser.h"

void TfrmFileBrowser::mnuEditFileParamsClick(const ui::Sender&) {
  // The editor dialog is not there yet; the command does nothing rather than pretend.
}
