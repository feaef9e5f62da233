#pragma once
// Gives the mouse wheel a meaning on the controls of a window: each wheel message becomes one press
// of the Up or Down arrow key on the control that receives it, so a time edit steps its field and a
// date control its selected part, as they do for the arrow keys.
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/Subclass.h"

namespace pw {

// One control's hook: in front of the control's handler while it lives.
class TNewWindowProc {
public:
  explicit TNewWindowProc(HWND control);
  TNewWindowProc(const TNewWindowProc&) = delete;
  TNewWindowProc& operator=(const TNewWindowProc&) = delete;
  // Puts the control's own handler back in front.
  void Restore();
  HWND Control() const { return control_; }

private:
  bool HookWindowProc(UINT msg, WPARAM wp, LRESULT* result);

  HWND control_;
  ui::Subclass SavedWindowProc;  // the control's handler stays behind the hook
};

class TkwAddWheelSupport {
public:
  // Hooks the given controls in their order. Make it after every control that puts a handler of
  // its own in front (the time edit does), so the hook comes first.
  explicit TkwAddWheelSupport(const std::vector<HWND>& controls);
  // Unhooks in the reverse order of hooking; destroy it before the controls.
  ~TkwAddWheelSupport();
  TkwAddWheelSupport(const TkwAddWheelSupport&) = delete;
  TkwAddWheelSupport& operator=(const TkwAddWheelSupport&) = delete;

  const std::vector<std::unique_ptr<TNewWindowProc>>& Hooks() const { return Hooks_; }

private:
  std::vector<std::unique_ptr<TNewWindowProc>> Hooks_;
};

}  // namespace pw
