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
  Scoped(Scoped&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  Scoped& operator=(Scoped&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~Scoped() { reset(); }

  T get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  T release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(T h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

private:
  T h_ = Traits::Invalid();
};

struct HandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
template <typename G>
struct GdiTraits {
  static G Invalid() { return nullptr; }
  static void Close(G h) { DeleteObject(h); }
};
struct ImageListTraits {
  static HIMAGELIST Invalid() { return nullptr; }
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};

using ScopedHandle = Scoped<HANDLE, HandleTraits>;
using ScopedFind = Scoped<HANDLE, FindTraits>;
using ScopedKey = Scoped<HKEY, KeyTraits>;
using ScopedBitmap = Scoped<HBITMAP, GdiTraits<HBITMAP>>;
using ScopedFont = Scoped<HFONT, GdiTraits<HFONT>>;
using ScopedBrush = Scoped<HBRUSH, GdiTraits<HBRUSH>>;
using ScopedPen = Scoped<HPEN, GdiTraits<HPEN>>;
using ScopedRegion = Scoped<HRGN, GdiTraits<HRGN>>;
using ScopedIcon = Scoped<HICON, IconTraits>;
using ScopedMenu = Scoped<HMENU, MenuTraits>;
using ImageListOwner = Scoped<HIMAGELIST, ImageListTraits>;

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

// SaveDC/RestoreDC.
class SavedDC {
public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDC() { if (id_) RestoreDC(dc_, id_); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
private:
  HDC dc_;
  int id_;
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

}  // namespace ui
