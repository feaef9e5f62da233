#pragma once
// A modal loop for a window of our own: its owner takes no input until the loop ends, and the
// dialog keys (Tab, Shift+Tab, arrows between radio buttons) work as in a dialog box.
#include <windows.h>

#include <functional>

namespace ui {

// Runs until `done` returns true or the window is destroyed. A WM_QUIT met on the way ends the
// loop and is posted again for the outer loop.
void RunModal(HWND wnd, const std::function<bool()>& done);

}  // namespace ui
