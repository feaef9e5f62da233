#pragma once
// Owners for Win32 handles: every HANDLE, find handle, HKEY, DC, GDI object, selected object,
// clipboard opening and mouse capture is released by exactly one of these.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ui {

template <typename T, typename Traits>
class Scoped {
public:
  Scoped() = default;
  explicit Scoped(T h) : h_(h) {}
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& o) noexcept : h_(std::exchange(o.h_, T{})) {}
  Scoped& operator=(Scoped&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, T{}));
    return *this;
  }
  ~Scoped() { reset(); }

  T get() const { return h_; }
  explicit operator bool() const { return Traits::Valid(h_); }
  T release() { return std::exchange(h_, T{}); }
  void reset(T h = T{}) {
    if (Traits::Valid(h_)) Traits::Close(h_);
    h_ = h;
  }

private:
  T h_{};
};

// Kernel handles: some calls fail with NULL, others with INVALID_HANDLE_VALUE; neither is owned.
struct HandleTraits {
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
template <typename H, auto CloseFn>
struct PointerTraits {
  static bool Valid(H h) { return h != nullptr; }
  static void Close(H h) { CloseFn(h); }
};

using ScopedHandle = Scoped<HANDLE, HandleTraits>;
using ScopedFind = Scoped<HANDLE, FindTraits>;
using ScopedKey = Scoped<HKEY, PointerTraits<HKEY, RegCloseKey>>;
using ScopedBitmap = Scoped<HBITMAP, PointerTraits<HBITMAP, DeleteObject>>;
using ScopedFont = Scoped<HFONT, PointerTraits<HFONT, DeleteObject>>;
using ScopedBrush = Scoped<HBRUSH, PointerTraits<HBRUSH, DeleteObject>>;
using ScopedPen = Scoped<HPEN, PointerTraits<HPEN, DeleteObject>>;
using ScopedIcon = Scoped<HICON, PointerTraits<HICON, DestroyIcon>>;
using ImageListOwner = Scoped<HIMAGELIST, PointerTraits<HIMAGELIST, ImageList_Destroy>>;
// A window goes with its owner; one destroyed that way is not destroyed again.
struct WindowTraits {
  static bool Valid(HWND h) { return h != nullptr; }
  static void Close(HWND h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
using ScopedWindow = Scoped<HWND, WindowTraits>;
// A global memory block, until it is handed to the clipboard (release()).
using ScopedGlobal = Scoped<HGLOBAL, PointerTraits<HGLOBAL, GlobalFree>>;

// GetDC/ReleaseDC of a window (or of the screen for nullptr).
class WindowDC {
public:
  explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  ~WindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
private:
  HWND wnd_;
  HDC dc_;
};

// GetWindowDC/ReleaseDC: the whole window, its frame included.
class WholeWindowDC {
public:
  explicit WholeWindowDC(HWND wnd) : wnd_(wnd), dc_(GetWindowDC(wnd)) {}
  ~WholeWindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }
  WholeWindowDC(const WholeWindowDC&) = delete;
  WholeWindowDC& operator=(const WholeWindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
private:
  HWND wnd_;
  HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDC {
public:
  explicit PaintDC(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
  ~PaintDC() { EndPaint(wnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& ps() const { return ps_; }
private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A memory DC made compatible with another, deleted on exit.
class MemoryDC {
public:
  explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDC() { if (dc_) DeleteDC(dc_); }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }
private:
  HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back on exit.
class SelectObj {
public:
  SelectObj(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectObj() { if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_); }
  SelectObj(const SelectObj&) = delete;
  SelectObj& operator=(const SelectObj&) = delete;
private:
  HDC dc_;
  HGDIOBJ old_;
};

// OpenClipboard/CloseClipboard.
class ClipboardOpen {
public:
  explicit ClipboardOpen(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardOpen() { if (open_) CloseClipboard(); }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
  explicit operator bool() const { return open_; }
private:
  bool open_;
};

// SetErrorMode for a scope, the previous mode restored on exit.
class ErrorModeGuard {
public:
  explicit ErrorModeGuard(UINT mode) : old_(SetErrorMode(mode)) {}
  ~ErrorModeGuard() { SetErrorMode(old_); }
  ErrorModeGuard(const ErrorModeGuard&) = delete;
  ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;
private:
  UINT old_;
};

// The mouse captured by a window until release() or the end of the scope; nothing happens when
// another window took the capture meanwhile.
class MouseCapture {
public:
  MouseCapture() = default;
  ~MouseCapture() { release(); }
  MouseCapture(const MouseCapture&) = delete;
  MouseCapture& operator=(const MouseCapture&) = delete;
  void take(HWND wnd) {
    wnd_ = wnd;
    SetCapture(wnd);
  }
  void release() {
    if (wnd_ && GetCapture() == wnd_) ReleaseCapture();
    wnd_ = nullptr;
  }
  bool held() const { return wnd_ != nullptr && GetCapture() == wnd_; }
private:
  HWND wnd_ = nullptr;
};

// The wait cursor while an operation runs.
class WaitCursor {
public:
  WaitCursor() : old_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
private:
  HCURSOR old_;
};

// A window that does not repaint for a scope (WM_SETREDRAW), and repaints after it, however the
// scope is left.
class RedrawOff {
public:
  explicit RedrawOff(HWND wnd) : wnd_(wnd) { SendMessageW(wnd_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawOff() {
    SendMessageW(wnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(wnd_, nullptr, TRUE);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;
private:
  HWND wnd_;
};

// A flag raised for a scope and put back as it was after it, however the scope is left.
class RaisedFlag {
public:
  explicit RaisedFlag(bool& flag) : flag_(flag), old_(std::exchange(flag, true)) {}
  ~RaisedFlag() { flag_ = old_; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;
private:
  bool& flag_;
  bool old_;
};

}  // namespace ui
