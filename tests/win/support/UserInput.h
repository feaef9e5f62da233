#pragma once
// Input as a user gives it, sent to the real windows with real messages: key presses with
// modifiers held, going to a path through the path line, a click on a column header. Used by the
// tests, the tools that show windows and the benchmarks alike.
#include <windows.h>

#include <string>

#include "app/kwFileBrowser.h"
#include "ui/Keys.h"

namespace testutil {

// A key press (WM_KEYDOWN, then WM_KEYUP) with modifiers held (ui::ModCtrl, ModShift, ModAlt); with
// Alt it comes as a system key. Pumps the messages it left.
void PressKey(HWND wnd, WORD vk, unsigned modifiers = ui::ModNone);
// Ctrl+L, the path pasted into the path line, Enter.
void GoToPath(const TfrmFileBrowser& form, const std::wstring& path);
// A click in the middle of a header item of the file list (a column click).
void ClickColumn(const TfrmFileBrowser& form, int column);

}  // namespace testutil
