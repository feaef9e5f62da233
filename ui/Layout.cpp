#include "ui/Layout.h"

#include "ui/Dpi.h"

namespace ui {

void Place(HWND control, const Bounds& at, UINT dpi, int down) {
  SetWindowPos(control, nullptr, Scale(at.Left, dpi), Scale(at.Top + down, dpi), Scale(at.Width, dpi),
               Scale(at.Height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceAll(std::initializer_list<Placed> table, UINT dpi) {
  for (const Placed& placed : table) Place(placed.Control, placed.At, dpi);
}

}  // namespace ui
