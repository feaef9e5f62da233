#include "ui/Modal.h"

#include <vector>

namespace ui {

namespace {

// The thread's other top-level windows, which take no input while a modal window is up; enabled
// again when the object goes.
class DisabledWindows {
public:
  explicit DisabledWindows(HWND modal) : modal_(modal) {
    EnumThreadWindows(GetCurrentThreadId(), &DisabledWindows::DisableOne, reinterpret_cast<LPARAM>(this));
  }
  ~DisabledWindows() {
    for (HWND wnd : windows_)
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;

private:
  static BOOL CALLBACK DisableOne(HWND wnd, LPARAM self) {
    auto* me = reinterpret_cast<DisabledWindows*>(self);
    if (wnd != me->modal_ && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
      EnableWindow(wnd, FALSE);
      me->windows_.push_back(wnd);
    }
    return TRUE;
  }

  HWND modal_;
  std::vector<HWND> windows_;
};

}  // namespace

void RunModal(HWND wnd, const std::function<bool()>& done) {
  {
    DisabledWindows others(wnd);
    MSG msg;
    while (IsWindow(wnd) && !done()) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) {
        // The program is ending: its own loop must see the quit request as well.
        if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (IsDialogMessageW(wnd, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }  // the others are enabled before the window hides, so the activation goes back to them
  if (IsWindow(wnd)) ShowWindow(wnd, SW_HIDE);
}

}  // namespace ui
