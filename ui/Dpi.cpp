#include "ui/Dpi.h"

#include <cstdlib>

namespace ui {

namespace {

// A user32 function that older systems lack, or nullptr there.
template <typename F>
F User32Function(const char* name) {
  const FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

}  // namespace

UINT SystemDpi() {
  WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : pw::kDesignDpi;
}

UINT DpiOf(HWND wnd) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && wnd ? getDpiForWindow(wnd) : 0;
  return dpi ? dpi : SystemDpi();
}

namespace {

ScopedFont MakeFont(const wchar_t* face, int height, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return ScopedFont(CreateFontIndirectW(&lf));
}

// Whether the system draws the font as asked: in that face (not a stand-in for a face it does not
// have) and at about that character height (a bitmap font answers with its nearest size, which at a
// high DPI is far too small).
bool DrawnAsAsked(HFONT font, const wchar_t* face, int height) {
  WindowDC screen(nullptr);
  SelectObj select(screen.get(), font);
  wchar_t drawnFace[LF_FACESIZE] = {};
  TEXTMETRICW metrics{};
  if (!GetTextFaceW(screen.get(), LF_FACESIZE, drawnFace) || !GetTextMetricsW(screen.get(), &metrics)) return true;
  const int drawn = metrics.tmHeight - metrics.tmInternalLeading;
  return lstrcmpiW(drawnFace, face) == 0 && std::abs(drawn - height) * 8 <= height;
}

}  // namespace

ScopedFont CreatePixelFont(const wchar_t* face, int height, bool underline) {
  ScopedFont font = MakeFont(face, height, underline);
  if (font && !DrawnAsAsked(font.get(), face, height)) return MakeFont(L"MS Shell Dlg 2", height, underline);
  return font;
}

ScopedFont CreatePointFont(const wchar_t* face, int points, UINT dpi) {
  return CreatePixelFont(face, -pw::FontHeightForDpi(points, static_cast<int>(dpi)));
}

SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, width, height};
  if (!adjust || !adjust(&frame, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
  static const auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  metrics = NONCLIENTMETRICSW{};
  metrics.cbSize = sizeof(metrics);
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return true;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
  // The system answers for its own DPI.
  const int system = static_cast<int>(SystemDpi());
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    font->lfHeight = pw::RescaleDpi(font->lfHeight, system, static_cast<int>(dpi));
  return true;
}

DpiChange ReadDpiChange(WPARAM wp, LPARAM lp) {
  return DpiChange{LOWORD(wp), *reinterpret_cast<const RECT*>(lp)};
}

}  // namespace ui
