#pragma once
// Whether the user asked for high contrast. Everything the program paints itself reads it at each
// painting, so a change shows at the repaint that WM_SETTINGCHANGE or WM_SYSCOLORCHANGE brings.
#include <windows.h>

namespace ui {

// SPI_GETHIGHCONTRAST's flag, unless told otherwise below.
bool HighContrastOn();

// Some systems (Wine) keep the flag off whatever the colours are: a test that sets a high-contrast
// scheme by its colours alone says so here (1 on, 0 off); -1 reads the flag again.
void SetHighContrastOverride(int on);

// Under high contrast the controls of a top-level window are drawn without visual styles, whose
// pictures keep their own colours; the system's classic drawing follows the scheme. Undone once
// high contrast is off again.
void ApplyContrastLook(HWND topLevel);

// A top-level window's answer to WM_SYSCOLORCHANGE (sysColours) or WM_SETTINGCHANGE: on the first
// its common controls are told too (they keep the colours in copies of their own, and only
// top-level windows hear of it from the system); then everything is painted again.
void RepaintForNewColours(HWND topLevel, bool sysColours);

}  // namespace ui
