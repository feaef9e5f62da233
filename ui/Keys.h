#pragma once
// Key presses as a window's own key handling sees them: which modifiers were held, and how a
// window that used a key keeps the rest of the system from acting on it too.
#include <windows.h>

#include <string>

namespace ui {

enum KeyModifier : unsigned { ModNone = 0, ModCtrl = 1, ModShift = 2, ModAlt = 4 };

// The modifiers held when a WM_KEYDOWN or WM_SYSKEYDOWN was sent. Alt comes from the message
// itself (a key pressed with Alt is a system key with the context bit set).
unsigned HeldModifiers(UINT msg, LPARAM lp);

// For a key a window has acted on: the character the message loop's TranslateMessage made of it
// is taken off the queue (the control would act on it, or beep), and a key pressed with Alt is
// still shown to the default handling, which otherwise takes the release of Alt for a press of
// the menu key.
void KeyUsed(HWND wnd, UINT msg, WPARAM key, LPARAM lp);

// Tab and Shift+Tab in a window that is not run as a dialog: the focus goes to the next (previous)
// control that takes it, in the order the controls were made, looking into panels that hold
// controls. True when the key was one of them and was used.
bool MoveFocusByTab(HWND from, UINT msg, WPARAM key, LPARAM lp);

// A key with its modifiers as menus show it: "Ctrl+Shift+C", "Alt+Enter", "F5"; empty for none.
std::wstring KeyText(WORD key, unsigned modifiers);

}  // namespace ui
