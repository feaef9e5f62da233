#pragma once
// A device context as the flat menus see it: how many colours it shows, the nearest colour it can
// show, and the drawing of the operations the menu core works out. Every pen, brush and bitmap it
// selects is put back before the call returns.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "menus/core/MenuColors.h"
#include "menus/core/MenuPicture.h"

namespace pw {

COLORREF ToColorRef(Rgb c);
Rgb FromColorRef(COLORREF c);

class MenuCanvas {
public:
  explicit MenuCanvas(HDC dc) : dc_(dc) {}

  HDC Handle() const { return dc_; }
  // Bits per pixel of what is drawn on. A memory DC reports the screen's depth whatever bitmap it
  // holds, so there the selected bitmap's depth counts.
  int BitsPerPixel() const;
  // GetNearestColor on this DC.
  Rgb Nearest(Rgb c) const;
  NearestColor NearestFunction() const;

  // Runs the operations in their order. An IconOp draws image imageIndex of images.
  void Run(const std::vector<MenuOp>& ops, HIMAGELIST images, int imageIndex) const;

private:
  void Execute(const FillOp& op) const;
  void Execute(const ShapeOp& op) const;
  void Execute(const LineOp& op) const;
  void Execute(const TextOp& op) const;
  void DrawIcon(const IconOp& op, HIMAGELIST images, int imageIndex) const;

  HDC dc_;
};

}  // namespace pw
