#include "ui/Subclass.h"

namespace ui {

bool Subclass::Install(HWND wnd, Handler handler) {
  Remove();
  handler_ = std::move(handler);
  if (!SetWindowSubclass(wnd, &Subclass::Proc, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this)))
    return false;
  wnd_ = wnd;
  return true;
}

void Subclass::Remove() {
  if (wnd_) {
    RemoveWindowSubclass(wnd_, &Subclass::Proc, reinterpret_cast<UINT_PTR>(this));
    wnd_ = nullptr;
  }
}

LRESULT Subclass::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const {
  return DefSubclassProc(wnd_, msg, wp, lp);
}

LRESULT CALLBACK Subclass::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Subclass*>(data);
  if (msg == WM_NCDESTROY) {
    // The window goes away before its owner removed us: forget it so Remove() does nothing.
    LRESULT r = DefSubclassProc(wnd, msg, wp, lp);
    RemoveWindowSubclass(wnd, &Subclass::Proc, reinterpret_cast<UINT_PTR>(self));
    self->wnd_ = nullptr;
    return r;
  }
  try {
    LRESULT result = 0;
    if (self->handler_ && self->handler_(wnd, msg, wp, lp, &result)) return result;
  } catch (...) {
    // No exception may cross into the system's message dispatch.
  }
  return DefSubclassProc(wnd, msg, wp, lp);
}

}  // namespace ui
