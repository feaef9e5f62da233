#include "support/UserInput.h"

#include <commctrl.h>

#include <cstring>

#include "support/MainWindowProbe.h"
#include "support/Messages.h"

namespace testutil {

void PressKey(HWND wnd, WORD vk, unsigned modifiers) {
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE held[256];
  std::memcpy(held, keys, sizeof(held));
  if (modifiers & ui::ModCtrl) held[VK_CONTROL] = 0x80;
  if (modifiers & ui::ModShift) held[VK_SHIFT] = 0x80;
  if (modifiers & ui::ModAlt) held[VK_MENU] = 0x80;
  SetKeyboardState(held);
  const bool alt = (modifiers & ui::ModAlt) != 0;
  const LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16) | (alt ? 1 << 29 : 0);
  SendMessageW(wnd, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, down);
  SendMessageW(wnd, alt ? WM_SYSKEYUP : WM_KEYUP, vk, down | 0xC0000000u);
  SetKeyboardState(keys);
  PumpMessages();
}

void GoToPath(const TfrmFileBrowser& form, const std::wstring& path) {
  const HWND line = MainWindowProbe(form).PathLine();
  PressKey(form.Handle(), 'L', ui::ModCtrl);
  SetWindowTextW(line, path.c_str());
  PressKey(line, VK_RETURN);
}

void ClickColumn(const TfrmFileBrowser& form, int column) {
  const HWND header = MainWindowProbe(form).Files().Header();
  RECT rc{};
  if (!Header_GetItemRect(header, column, &rc)) return;
  const LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, pt);
  SendMessageW(header, WM_LBUTTONUP, 0, pt);
  PumpMessages();
}

}  // namespace testutil
