#pragma once
// The DPI a window is laid out for, and the system's sizes at that DPI. The program is per-monitor
// aware: each window scales its 96-DPI layout to its own monitor and lays itself out again on
// WM_DPICHANGED. The calls that know about monitors exist from Windows 10 on; before that every
// window has the system's DPI.
#include <windows.h>

#include "ui/Scoped.h"
#include "ui/core/DpiScale.h"

namespace ui {

// WM_DPICHANGED: wParam the new DPI (twice), lParam the RECT the system suggests for the window.
// Spelled out, since headers for Windows 7 leave it out.
inline constexpr UINT kWmDpiChanged = 0x02E0;

// The DPI of the screen the process started on.
UINT SystemDpi();
// The window's DPI; the system's where the system knows no other.
UINT DpiOf(HWND wnd);

inline int Scale(int value, UINT dpi) { return pw::ScaleToDpi(value, static_cast<int>(dpi)); }

// A font of the face whose characters are `height` pixels high (already scaled to the DPI). A face
// the system does not have, or has not in that size (the bitmap font MS Sans Serif), gives way to
// the shell's dialog font, which is drawn at any size.
ScopedFont CreatePixelFont(const wchar_t* face, int height, bool underline = false);
// A font of the face and point size at dpi, as CreatePixelFont.
ScopedFont CreatePointFont(const wchar_t* face, int points, UINT dpi);

// The outer size of a window whose client area is width x height, with the frame at dpi.
SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, UINT dpi);

// The system's non-client metrics (menu font, caption sizes) at dpi; false when it does not tell.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);

struct DpiChange {
  UINT Dpi;
  RECT Suggested;
};
DpiChange ReadDpiChange(WPARAM wp, LPARAM lp);

}  // namespace ui
