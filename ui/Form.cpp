#include "ui/Form.h"

#include "ui/Dpi.h"
#include "ui/Modal.h"

namespace ui {

void Form::DestroyForm() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form::TakeDpi() { dpi_ = DpiOf(hwnd_); }

int Form::RunModal(HWND focus) {
  if (!hwnd_) return 0;
  modalResult_ = 0;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  if (focus) SetFocus(focus);
  ui::RunModal(hwnd_, [this] { return modalResult_ != 0; });
  if (modalResult_ == 0) modalResult_ = IDCANCEL;
  return modalResult_;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kWmDpiChanged) return Window::HandleMessage(msg, wp, lp);
  const DpiChange change = ReadDpiChange(wp, lp);
  const UINT oldDpi = dpi_;
  dpi_ = change.Dpi;
  ApplyDpi(oldDpi);
  const RECT& r = change.Suggested;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ArrangeControls();  // also where the size stayed the same
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return 0;
}

}  // namespace ui
