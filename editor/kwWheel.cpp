#include "editor/kwWheel.h"

namespace pw {

TNewWindowProc::TNewWindowProc(HWND control) : control_(control) {
  SavedWindowProc.Install(control, [this](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
    return HookWindowProc(msg, wp, result);
  });
}

void TNewWindowProc::Restore() { SavedWindowProc.Remove(); }

bool TNewWindowProc::HookWindowProc(UINT msg, WPARAM wp, LRESULT* result) {
  if (msg != WM_MOUSEWHEEL) return false;
  // One message, one key press, whatever the distance: towards the user (or 0) is Down.
  const short distance = static_cast<short>(HIWORD(wp));
  SendMessageW(control_, WM_KEYDOWN, distance > 0 ? VK_UP : VK_DOWN, 0);
  *result = 0;
  return true;
}

TkwAddWheelSupport::TkwAddWheelSupport(const std::vector<HWND>& controls) {
  for (HWND control : controls)
    if (control) Hooks_.push_back(std::make_unique<TNewWindowProc>(control));
}

TkwAddWheelSupport::~TkwAddWheelSupport() {
  while (!Hooks_.empty()) {
    Hooks_.back()->Restore();
    Hooks_.pop_back();
  }
}

}  // namespace pw
