#pragma once
// What a flat menu item and a pop-up menu's frame look like, free of any window: an ordered list
// of drawing operations with every position and colour worked out. The Win32 side only executes
// them, one GDI call or two per operation.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "menus/core/MenuColors.h"
#include "menus/core/MenuIcon.h"
#include "menus/core/MenuLayout.h"

namespace pw {

// FillRect with a solid brush.
struct FillOp {
  MenuRect rect;
  Rgb color;
};

enum class ShapeKind { Rectangle, RoundRect, Ellipse };

// Rectangle, RoundRect (corner x corner rounding) or Ellipse with a one-pixel solid pen; hollow
// when there is no brush.
struct ShapeOp {
  ShapeKind kind = ShapeKind::Rectangle;
  MenuRect rect;
  Rgb pen;
  std::optional<Rgb> brush;
  int corner = 0;
};

// MoveTo the first point, LineTo each following one with a one-pixel solid pen; as with LineTo,
// the last point is not drawn.
struct LineOp {
  std::vector<MenuPoint> points;
  Rgb color;
};

// DrawText with a transparent background, "&" marking the access key, aligned left or right in
// rect, top-aligned. With darkenCanvasPixel the colour is
// nearest(Darken(canvas pixel at rect's top-left corner, amount)), read just before drawing.
struct TextOp {
  MenuRect rect;
  std::wstring text;
  Rgb color;
  bool alignRight = false;
  bool rtlReading = false;
  std::optional<int> darkenCanvasPixel;
};

// The item's icon drawn at `at`. The working bitmap is the image list's image drawn with its mask
// onto a bitmap of the image size filled with imageBackground, or else a copy of the item's own
// bitmap. Read its bits, RecolorIcon(look); for Lifted paint IconShadowPoints in shadow; then
// draw the bitmap with its bottom-left pixel's colour as the transparent colour.
struct IconOp {
  MenuPoint at;
  bool fromImageList = false;
  Rgb imageBackground;
  IconLook look = IconLook::Plain;
  Rgb shadow;
  Rgb ink;  // of a silhouette
};

using MenuOp = std::variant<FillOp, ShapeOp, LineOp, TextOp, IconOp>;

// What the Win32 side knows of the item being drawn.
struct MenuItemDraw {
  MenuRect rect;           // the item rectangle handed over by the menu
  std::wstring caption;    // "-" for a separator
  std::wstring shortcut;   // empty when none
  std::optional<MenuSize> image;  // the image list's image size, when the item has an image
  int bitmapWidth = 0;     // the item's own bitmap; 0 when it has none
  int textHeight = 0;      // height of "W" in the menu font
  int iconTop = 4;         // from the item's top to its icon: 4 pixels at 96 DPI, scaled with it
  bool menuBarItem = false;
  bool selected = false;
  bool enabled = true;
  bool checked = false;
  bool radioItem = false;
  bool defaultItem = false;
  bool rightToLeft = false;
};

// R: the item rectangle one row higher; I: the icon column; K: the check box; T: the text.
struct MenuItemGeometry {
  MenuRect R;
  MenuRect I;
  MenuRect K;
  MenuRect T;
};

MenuItemGeometry ItemGeometry(const MenuItemDraw& item, int iconWidth);

struct MenuItemPicture {
  std::vector<MenuOp> ops;
  // Redraw the frame of the pop-up window the item lies in (DrawPopupFrame), unless the item's
  // DC belongs to the owner form itself or to no window.
  bool popupFrame = false;
};

MenuItemPicture DrawItemPicture(const MenuItemDraw& item, const FlatMenuProperties& props,
                                const EffectiveColors& colors, const NearestColor& nearest);

// The frame and drop shadow of a pop-up menu window, in screen coordinates from the window's
// screen rectangle, to run on the screen's DC clipped to the window rectangle minus its client
// area.
std::vector<MenuOp> DrawPopupFrame(MenuRect window, int iconWidth, bool gradient, bool rightToLeft,
                                   const EffectiveColors& colors);

}  // namespace pw
