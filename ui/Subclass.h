#pragma once
// Puts an object's message handler in front of a control's own. The handlers of one window form a
// chain of our own behind a single window procedure, the latest first, so removals may come in any
// order and the control's chain stays intact. Messages reach a handler without asking the system
// for anything (the system's subclassing reads a window property per message, which under Wine is
// a round trip to its server for every message the control gets).
#include <windows.h>

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
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  // Offers the message to the window's handlers from the one after `after` on (all when null),
  // then to the window's own procedure.
  static LRESULT Dispatch(HWND wnd, const Subclass* after, UINT msg, WPARAM wp, LPARAM lp);

  HWND wnd_ = nullptr;
  Handler handler_;
};

}  // namespace ui
