#include "ui/Modal.h"

namespace ui {

void RunModal(HWND wnd, const std::function<bool()>& done) {
  HWND owner = GetWindow(wnd, GW_OWNER);
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  MSG msg;
  while (IsWindow(wnd) && !done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (IsDialogMessageW(wnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Enabled again before the window goes, so the activation returns to the owner.
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
}

}  // namespace ui
