#include "menus/core/MenuColors.h"

#include <algorithm>

namespace pw {

namespace {

uint8_t Channel(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

uint8_t LightenChannel(uint8_t x, int percent) {
  return Channel(x + RoundHalfEven((255 - x) * percent, 100));
}

}  // namespace

int RoundHalfEven(int num, int den) {
  int q = num / den;
  int rem = num % den;
  if (rem < 0) {
    rem += den;
    --q;
  }
  if (2 * rem > den || (2 * rem == den && (q & 1) != 0)) ++q;
  return q;
}

Rgb Lighten(Rgb c, int percent) {
  percent = std::clamp(percent, 0, 100);
  return {LightenChannel(c.r, percent), LightenChannel(c.g, percent),
          LightenChannel(c.b, percent)};
}

Rgb Darken(Rgb c, int amount) {
  // Beyond +-300 every channel saturates anyway; holding it there keeps the sums in range.
  amount = std::clamp(amount, -300, 300);
  return {Channel(c.r - amount), Channel(c.g - amount + 2), Channel(c.b - amount)};
}

Rgb Grey(Rgb c, int amount) {
  const uint8_t g = Channel(std::min((c.r + c.g + c.b) / 3 + std::min(amount, 100), 240));
  return {g, g, g};
}

Rgb Resolve(const ColorValue& value, const SystemColors& system) {
  if (const Rgb* fixed = std::get_if<Rgb>(&value)) return *fixed;
  switch (std::get<SystemColor>(value)) {
    case SystemColor::ButtonFace: return system.ButtonFace;
    case SystemColor::Highlight: return system.Highlight;
    case SystemColor::ButtonShadow: return system.ButtonShadow;
    case SystemColor::MenuText: return system.MenuText;
    case SystemColor::InactiveCaption: return system.InactiveCaption;
  }
  return {};
}

std::wstring_view MenuFontFace(std::wstring_view systemFace) {
  return systemFace == L"MS Sans Serif" ? L"Tahoma" : systemFace;
}

EffectiveColors ComputeColors(const FlatMenuProperties& props, int bitsPerPixel,
                              const SystemColors& system, const NearestColor& nearest,
                              bool highContrast) {
  if (highContrast) {
    EffectiveColors c;
    c.DeepColor = bitsPerPixel >= 16;
    c.HighContrast = true;
    c.FontColor = c.CheckedColor = c.SeparatorColor = c.FrameColor = system.MenuText;
    c.Color = c.IconBackColor = c.MenuBarColor = c.CheckFillColor = c.ShadowColor = system.Menu;
    c.SelectColor = c.SelectBorderColor = c.CheckFillSelectedColor = system.Highlight;
    c.SelectFontColor = system.HighlightText;
    c.DisabledColor = system.GrayText;
    return c;
  }
  const auto lighten = [&](Rgb c, int p) { return nearest(Lighten(c, p)); };
  const auto darken = [&](Rgb c, int d) { return nearest(Darken(c, d)); };
  const auto prop = [&](const ColorValue& v) { return Resolve(v, system); };
  const bool deep = bitsPerPixel >= 16;

  EffectiveColors c;
  c.DeepColor = deep;
  c.FontColor = prop(props.FontColor);
  c.Color = prop(props.Color);
  c.IconBackColor = prop(props.IconBackColor);
  c.SelectColor = prop(props.SelectColor);
  c.SelectBorderColor = prop(props.SelectBorderColor);
  c.SelectFontColor = prop(props.SelectFontColor);
  c.MenuBarColor = prop(props.MenuBarColor);
  c.DisabledColor = prop(props.DisabledColor);
  c.CheckedColor = prop(props.CheckedColor);
  c.SeparatorColor = prop(props.SeparatorColor);
  c.CheckFillColor = deep ? lighten(c.SelectColor, 75) : kWhite;
  c.CheckFillSelectedColor = deep ? lighten(c.SelectColor, 50) : kSilver;
  c.FrameColor = deep ? darken(system.ButtonFace, 90) : system.ButtonShadow;
  c.ShadowColor = deep ? darken(system.ButtonFace, 76) : system.ButtonShadow;
  if (!props.UseSystemColors) return c;

  const Rgb face = system.ButtonFace, light = system.Highlight, shadow = system.ButtonShadow;
  c.SelectFontColor = c.FontColor;
  c.Color = deep ? lighten(face, 86) : kWhite;
  c.IconBackColor = deep ? lighten(face, 16) : face;
  c.SelectColor = deep ? lighten(light, 68) : kWhite;
  c.SelectBorderColor = light;
  c.MenuBarColor = face;
  c.DisabledColor = deep ? lighten(shadow, 10) : shadow;
  c.SeparatorColor = deep ? lighten(shadow, 25) : shadow;
  c.CheckedColor = light;
  c.CheckFillColor = deep ? lighten(light, 75) : kWhite;
  c.CheckFillSelectedColor = deep ? lighten(light, 50) : kWhite;
  return c;
}

Rgb BarTextColor(const EffectiveColors& colors, const NearestColor& nearest) {
  if (colors.HighContrast) return colors.SelectFontColor;
  const Rgb back = colors.IconBackColor;
  if ((back.r + back.b) / 2 > 150 || back.g > 200) return colors.FontColor;
  return nearest(Lighten(back, 90));
}

std::vector<int> GradientAmounts(int columns, int iconWidth) {
  std::vector<int> amounts;
  amounts.reserve(static_cast<size_t>(std::max(columns, 0)));
  int amount = 0;
  for (int i = 0; i < columns; ++i) {
    amount = std::min(amount + (i > 0 && i < iconWidth + 5 ? 3 : 1), 96);
    amounts.push_back(amount);
  }
  return amounts;
}

}  // namespace pw
