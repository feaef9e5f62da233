#include "menus/core/MenuIcon.h"

namespace pw {

namespace {

bool Complete(const IconBits& icon) {
  return icon.width > 0 && icon.height > 0 &&
         icon.pixels.size() == static_cast<size_t>(icon.width) * static_cast<size_t>(icon.height);
}

}  // namespace

Rgb IconBits::BottomLeft() const {
  return Complete(*this) ? pixels[static_cast<size_t>(height - 1) * static_cast<size_t>(width)]
                         : Rgb{};
}

void RecolorIcon(IconBits& icon, IconLook look, const NearestColor& nearest) {
  if (look != IconLook::Lightened && look != IconLook::Greyed) return;
  bool havePrevious = false;
  Rgb previousIn, previousOut;
  for (Rgb& p : icon.pixels) {
    if (!havePrevious || p != previousIn) {
      previousIn = p;
      previousOut = nearest(look == IconLook::Lightened ? Lighten(p, kIdleIconLighten)
                                                        : Grey(p, kDisabledIconGrey));
      havePrevious = true;
    }
    p = previousOut;
  }
}

void InkIcon(IconBits& icon, Rgb ink) {
  if (!Complete(icon)) return;
  const Rgb transparent = icon.BottomLeft();
  if (ink == transparent) return;
  for (Rgb& p : icon.pixels)
    if (p != transparent) p = ink;
}

std::vector<MenuPoint> IconShadowPoints(const IconBits& icon, MenuPoint at) {
  std::vector<MenuPoint> points;
  if (!Complete(icon)) return points;
  const Rgb transparent = icon.BottomLeft();
  for (int row = 0; row < icon.height; ++row)
    for (int col = 0; col < icon.width; ++col)
      if (icon.pixels[static_cast<size_t>(row) * static_cast<size_t>(icon.width) +
                      static_cast<size_t>(col)] != transparent)
        points.push_back({at.x + 2 + col, at.y + 2 + row});
  return points;
}

}  // namespace pw
