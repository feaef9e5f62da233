#include "ui/HighContrast.h"

#include <uxtheme.h>

#include <atomic>

namespace ui {

namespace {
std::atomic<int> highContrastOverride{-1};
const wchar_t kClassicLook[] = L"PathwickClassicLook";
}

bool HighContrastOn() {
  if (const int forced = highContrastOverride.load(); forced >= 0) return forced != 0;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void SetHighContrastOverride(int on) { highContrastOverride = on < 0 ? -1 : on != 0; }

void ApplyContrastLook(HWND topLevel) {
  const bool on = HighContrastOn();
  // Only a change is applied: each one makes every control load its theme again.
  if (on == (GetPropW(topLevel, kClassicLook) != nullptr)) return;
  if (on)
    SetPropW(topLevel, kClassicLook, reinterpret_cast<HANDLE>(1));
  else
    RemovePropW(topLevel, kClassicLook);
  EnumChildWindows(
      topLevel,
      [](HWND child, LPARAM classic) -> BOOL {
        if (classic)
          SetWindowTheme(child, L"", L"");
        else
          SetWindowTheme(child, nullptr, nullptr);
        return TRUE;
      },
      on);
}

void RepaintForNewColours(HWND topLevel, bool sysColours) {
  ApplyContrastLook(topLevel);
  if (sysColours) {
    EnumChildWindows(
        topLevel,
        [](HWND child, LPARAM) -> BOOL {
          SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
          return TRUE;
        },
        0);
  }
  RedrawWindow(topLevel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  if (GetMenu(topLevel)) DrawMenuBar(topLevel);
}

}  // namespace ui
