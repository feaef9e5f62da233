#include "ui/Keys.h"

namespace ui {

unsigned HeldModifiers(UINT msg, LPARAM lp) {
  unsigned mods = ModNone;
  if (GetKeyState(VK_CONTROL) & 0x8000) mods |= ModCtrl;
  if (GetKeyState(VK_SHIFT) & 0x8000) mods |= ModShift;
  if (msg == WM_SYSKEYDOWN ? (HIWORD(lp) & KF_ALTDOWN) != 0 : (GetKeyState(VK_MENU) & 0x8000) != 0) mods |= ModAlt;
  return mods;
}

void KeyUsed(HWND wnd, UINT msg, WPARAM key, LPARAM lp) {
  MSG pending;
  const UINT chars = msg == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  PeekMessageW(&pending, wnd, chars, chars, PM_REMOVE | PM_NOYIELD);
  if (msg == WM_SYSKEYDOWN) DefWindowProcW(wnd, msg, key, lp);
}

}  // namespace ui
