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

bool MoveFocusByTab(HWND from, UINT msg, WPARAM key, LPARAM lp) {
  if (msg != WM_KEYDOWN || key != VK_TAB || (HeldModifiers(msg, lp) & (ModCtrl | ModAlt))) return false;
  HWND top = GetAncestor(from, GA_ROOT);
  HWND current = GetFocus();
  if (current == top || !IsChild(top, current)) current = nullptr;
  const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  HWND next = GetNextDlgTabItem(top, current, back);
  KeyUsed(from, msg, key, lp);
  if (next && next != current) SetFocus(next);
  return true;
}

std::wstring KeyText(WORD key, unsigned modifiers) {
  if (key == 0) return {};
  std::wstring text;
  if (modifiers & ModCtrl) text += L"Ctrl+";
  if (modifiers & ModShift) text += L"Shift+";
  if (modifiers & ModAlt) text += L"Alt+";
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return text + static_cast<wchar_t>(key);
  if (key >= VK_F1 && key <= VK_F24) return text + L"F" + std::to_wstring(key - VK_F1 + 1);
  switch (key) {
    case VK_RETURN: return text + L"Enter";
    case VK_ESCAPE: return text + L"Esc";
    case VK_BACK: return text + L"Backspace";
    case VK_DELETE: return text + L"Del";
    case VK_LEFT: return text + L"Left";
    case VK_RIGHT: return text + L"Right";
    case VK_UP: return text + L"Up";
    case VK_DOWN: return text + L"Down";
    default: return text + L"?";
  }
}

}  // namespace ui
