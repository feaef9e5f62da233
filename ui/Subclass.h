#pragma once
// Puts an object's message handler in front of a control's own. Each Subclass installs itself with
// SetWindowSubclass under its own id, so removals may come in any order and the control's chain
// stays intact; owners still remove them in the reverse order of installation.
#include <windows.h>
#include <commctrl.h>
#include <functional>

namespace ui {

class Subclass {
public:
  // Returns true when the message was handled (result in *result); false passes it on.
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;

  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  ~Subclass() { Remove(); }

  bool Install(HWND wnd, Handler handler);
  void Remove();
  bool Installed() const { return wnd_ != nullptr; }
  HWND Window() const { return wnd_; }

  // Hands a message to the handler that was in place before this one.
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const;

private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND wnd_ = nullptr;
  Handler handler_;
};

}  // namespace ui
