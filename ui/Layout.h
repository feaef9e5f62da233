#pragma once
// Layout tables: each control's place at 96 dots per inch, scaled to the window's DPI when placed.
#include <windows.h>

#include <initializer_list>

namespace ui {

struct Bounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Placed {
  HWND Control;
  Bounds At;  // at 96 DPI
};

// Moves the control to its place scaled to dpi; `down` (at 96 DPI) is added to its top.
void Place(HWND control, const Bounds& at, UINT dpi, int down = 0);
void PlaceAll(std::initializer_list<Placed> table, UINT dpi);

}  // namespace ui
