#pragma once
// Sizes of the flat menu items, free of any window: the icon an item reserves room for and the
// width and height the item asks for when the menu measures it.
#include <functional>
#include <optional>
#include <string_view>

#include "ui/core/DpiScale.h"

namespace pw {

struct MenuPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const MenuPoint&, const MenuPoint&) = default;
};

struct MenuSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const MenuSize&, const MenuSize&) = default;
};

// Right and bottom edges are outside, as for the platform's rectangles.
struct MenuRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const MenuRect&, const MenuRect&) = default;
};

bool IsSeparatorCaption(std::wstring_view caption);

// The picture an item shows: the image list's image when the item has one, else its own bitmap
// when that is wider than 0, else nothing; items below the menu bar always reserve the icon column.
MenuSize ItemIconSize(bool menuBarItem, std::optional<MenuSize> image, MenuSize bitmap,
                      int iconWidth);

// The size of a string drawn in the menu font (GetTextExtentPoint32 on a DC holding it).
using TextExtent = std::function<MenuSize(std::wstring_view)>;

// The item's size from the size the menu proposes: wide enough for the caption (one "&" less,
// since the access-key mark is not drawn), the shortcut with room to spare, and the icon; high
// enough for one and three quarter text lines and for the icon with a margin. A separator is
// exactly 4 pixels high; nothing else shrinks below the proposal. The text is measured in the
// font for the menu's DPI; the margins and the separator, given here at 96 DPI, are scaled to it.
MenuSize MeasureMenuItem(std::wstring_view caption, std::wstring_view shortcut,
                         const TextExtent& extent, MenuSize icon, MenuSize proposed,
                         int dpi = kDesignDpi);

}  // namespace pw
