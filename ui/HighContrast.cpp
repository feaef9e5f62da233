#include "ui/HighContrast.h"

#include <atomic>

namespace ui {

namespace {
std::atomic<int> highContrastOverride{-1};
}

bool HighContrastOn() {
  if (const int forced = highContrastOverride.load(); forced >= 0) return forced != 0;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void SetHighContrastOverride(int on) { highContrastOverride = on < 0 ? -1 : on != 0; }

void RepaintForNewColours(HWND topLevel, bool sysColours) {
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
