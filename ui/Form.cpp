#include "ui/Form.h"

#include <algorithm>

#include "ui/Dpi.h"
#include "ui/HighContrast.h"
#include "ui/Modal.h"

namespace ui {

void Form::DestroyForm() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form::TakeDpi() { dpi_ = DpiOf(hwnd_); }

void Form::PlaceCentred(int width, int height, DWORD style, DWORD exStyle) {
  const SIZE frame = WindowSizeForClient(Scale(width, dpi_), Scale(height, dpi_), style, exStyle, dpi_);
  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (const HWND owner = GetWindow(hwnd_, GW_OWNER)) GetWindowRect(owner, &around);
  const LONG left = std::clamp<LONG>((around.left + around.right - frame.cx) / 2, 0,
                                     std::max<LONG>(0, GetSystemMetrics(SM_CXSCREEN) - frame.cx));
  const LONG top = std::clamp<LONG>((around.top + around.bottom - frame.cy) / 2, 0,
                                    std::max<LONG>(0, GetSystemMetrics(SM_CYSCREEN) - frame.cy));
  SetWindowPos(hwnd_, nullptr, left, top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::RunModal(HWND focus) {
  if (!hwnd_) return 0;
  modalResult_ = 0;
  ShowFocusCues();
  ApplyContrastLook(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  if (focus) SetFocus(focus);
  ui::RunModal(hwnd_, [this] { return modalResult_ != 0; });
  if (modalResult_ == 0) modalResult_ = IDCANCEL;
  return modalResult_;
}

void Form::UseFont(std::span<const HWND> controls, const wchar_t* face) {
  ScopedFont font = CreatePointFont(face, 8, dpi_);
  for (HWND control : controls) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  font_ = std::move(font);
}

void Form::ShowFocusCues() const {
  // Without this the focus rectangle and the access keys' underlines stay hidden until Alt is
  // pressed, and a keyboard user never sees where the focus is.
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SYSCOLORCHANGE || msg == WM_SETTINGCHANGE) {
    // The colours of everything painted here follow the system's (and high contrast) at each paint.
    RepaintForNewColours(hwnd_, msg == WM_SYSCOLORCHANGE);
    return Window::HandleMessage(msg, wp, lp);
  }
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
