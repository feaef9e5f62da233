#pragma once
// The per-pixel work on a menu icon, free of any window: the caller reads the icon's bits into
// an IconBits, lets these functions recolour it or find its shadow, and writes the bits back.
#include <vector>

#include "menus/core/MenuColors.h"
#include "menus/core/MenuLayout.h"

namespace pw {

// How an icon is shown: as it is (checked items; idle items below 16 bits per pixel), lightened
// while idle, greyed when disabled, lifted over a shadow under the mouse, or under high contrast a
// silhouette in the item's text colour.
enum class IconLook { Plain, Lightened, Greyed, Lifted, Silhouette };

inline constexpr int kIdleIconLighten = 30;
inline constexpr int kDisabledIconGrey = 90;
inline constexpr int kIconShadowDarken = 50;

struct IconBits {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row, top row first; width * height entries
  // The icon's transparent colour.
  Rgb BottomLeft() const;
};

// Lightened and Greyed change every pixel, each result through nearest; a pixel equal to the one
// before it takes the previous result, so runs of one colour cost one query. Other looks leave the
// bits alone.
void RecolorIcon(IconBits& icon, IconLook look, const NearestColor& nearest);

// Every pixel that differs from the transparent colour becomes ink: the icon's shape in one of the
// scheme's colours. An ink equal to the transparent colour would make the icon vanish, so it is
// then left alone.
void InkIcon(IconBits& icon, Rgb ink);

// The canvas points of a lifted icon's shadow: every pixel that differs from the transparent
// colour, 2 pixels right of and below the icon drawn at `at`.
std::vector<MenuPoint> IconShadowPoints(const IconBits& icon, MenuPoint at);

}  // namespace pw
