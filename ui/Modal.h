#pragma once
// A modal loop for a window of our own: the thread's other windows take no input until the loop
// ends, and the dialog keys (Tab, Shift+Tab, Enter, Esc) work as in a dialog box.
#include <windows.h>

#include <functional>

namespace ui {

// Runs until `done` returns true or the window is destroyed, then hides the window. A WM_QUIT met
// on the way ends the loop and is posted again for the outer loop.
void RunModal(HWND wnd, const std::function<bool()>& done);

}  // namespace ui
