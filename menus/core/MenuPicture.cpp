#include "menus/core/MenuPicture.h"

#include <initializer_list>

namespace pw {

namespace {

using Ops = std::vector<MenuOp>;

void Fill(Ops& ops, MenuRect r, Rgb color) { ops.push_back(FillOp{r, color}); }

void Outline(Ops& ops, MenuRect r, Rgb pen) {
  ops.push_back(ShapeOp{ShapeKind::Rectangle, r, pen, std::nullopt, 0});
}

void Line(Ops& ops, Rgb color, std::initializer_list<MenuPoint> points) {
  ops.push_back(LineOp{points, color});
}

// One-pixel columns from r.left to r.right inclusive, lightening the icon column's colour more
// and more away from the icon column's side.
void DrawGradient(Ops& ops, MenuRect r, int iconWidth, bool rightToLeft, const EffectiveColors& c,
                  const NearestColor& nearest) {
  const std::vector<int> amounts = GradientAmounts(r.right - r.left + 1, iconWidth);
  for (size_t i = 0; i < amounts.size(); ++i) {
    const int offset = static_cast<int>(i);
    // Right to left mirrors the columns about the item (r less the 2 added columns), the first one
    // at the item's rightmost pixel.
    const int x = rightToLeft ? r.right - 3 - offset : r.left + offset;
    Fill(ops, {x, r.top, x + 1, r.bottom}, nearest(Lighten(c.IconBackColor, amounts[i])));
  }
}

// The open menu-bar item: a raised tab, with a soft shadow on its right where the colours allow.
void DrawBarSelection(Ops& ops, MenuRect r, bool rightToLeft, const EffectiveColors& c,
                      const NearestColor& nearest) {
  const auto [l, t, x, b] = r;
  if (c.HighContrast) {
    Fill(ops, r, c.SelectColor);
    return;
  }
  Fill(ops, r, c.IconBackColor);
  if (rightToLeft || !c.DeepColor) {
    Line(ops, c.FrameColor, {{l, b - 1}, {l, t}, {x - 3, t}, {x - 3, b}});
    Fill(ops, {x - 2, t + 2, x, b}, c.ShadowColor);
    return;
  }
  const Rgb m = c.MenuBarColor;
  const auto dark = [&](int d) { return nearest(Darken(m, d)); };
  Line(ops, c.FrameColor, {{l, b - 1}, {l, t}, {x - 8, t}, {x - 8, b}});
  Fill(ops, {x - 7, t, x, b}, dark(10));
  Fill(ops, {x - 7, t + 3, x - 2, b}, dark(30));
  Fill(ops, {x - 7, t + 5, x - 3, b}, dark(60));
  Fill(ops, {x - 7, t + 6, x - 5, b}, dark(100));
  // The shadow's top fades in a rounded step.
  Line(ops, m, {{x - 5, t + 1}, {x - 1, t + 1}, {x - 1, t + 6}});
  Line(ops, m, {{x - 3, t + 2}, {x - 2, t + 2}, {x - 2, t + 3}, {x - 3, t + 3}});
  Line(ops, dark(10),
       {{x - 6, t + 3}, {x - 3, t + 3}, {x - 3, t + 6}, {x - 4, t + 6}, {x - 4, t + 3}});
  Line(ops, dark(30), {{x - 5, t + 5}, {x - 4, t + 5}, {x - 4, t + 9}});
  Line(ops, dark(40), {{x - 6, t + 5}, {x - 6, t + 7}});
}

void DrawCheckMark(Ops& ops, const MenuItemDraw& item, MenuRect k, const EffectiveColors& c) {
  if (!item.checked) return;
  const Rgb brush = item.selected ? c.CheckFillSelectedColor : c.CheckFillColor;
  const bool image = item.image.has_value();
  if (item.radioItem) {
    ops.push_back(ShapeOp{image ? ShapeKind::RoundRect : ShapeKind::Ellipse, k,
                          c.SelectBorderColor, brush, image ? 6 : 0});
    return;
  }
  // With an icon the box only frames it; the icon is drawn over it.
  ops.push_back(ShapeOp{ShapeKind::Rectangle, k, image ? c.SelectBorderColor : c.CheckedColor,
                        brush, 0});
  if (image) return;
  const auto [l, t, r, b] = k;
  const Rgb tick = !c.HighContrast ? kBlack : item.selected ? c.SelectFontColor : c.FontColor;
  Line(ops, tick, {{l + 1, t + 5}, {l + 4, b - 2}});
  Line(ops, tick, {{l + 2, t + 5}, {l + 4, b - 3}});
  Line(ops, tick, {{l + 2, t + 4}, {l + 5, b - 3}});
  Line(ops, tick, {{l + 4, b - 3}, {r + 2, t - 1}});
  Line(ops, tick, {{l + 4, b - 2}, {r - 2, t + 3}});
}

void DrawItemIcon(Ops& ops, const MenuItemDraw& item, MenuRect i, int iconWidth,
                  const EffectiveColors& c, const NearestColor& nearest) {
  const int w = item.image ? item.image->width : item.bitmapWidth;
  if (w <= 0) return;
  MenuPoint at{item.rightToLeft ? i.right - w - 2 : i.left + 2, i.top + item.iconTop};
  if (w <= iconWidth) at.x = i.left + (iconWidth - w) / 2 - 1;

  if (c.HighContrast) {
    const Rgb ink = !item.enabled ? c.DisabledColor : item.selected ? c.SelectFontColor : c.FontColor;
    // The picture's ground must differ from the ink, or the shape would vanish with it: a scheme
    // may give the highlight's text the menu's colour, never the highlight's.
    const Rgb ground = item.selected && item.enabled ? c.SelectColor : c.IconBackColor;
    ops.push_back(IconOp{at, item.image.has_value(), ground, IconLook::Silhouette, Rgb{}, ink});
    return;
  }
  const bool live = item.enabled && !item.checked;
  IconLook look = IconLook::Plain;
  if (!item.selected && live && c.DeepColor) look = IconLook::Lightened;
  if (!item.enabled) look = IconLook::Greyed;
  if (item.selected && live) {
    look = IconLook::Lifted;
    if (!item.menuBarItem) {
      --at.x;
      --at.y;
    }
  }
  const Rgb shadow = look == IconLook::Lifted
                         ? nearest(Darken(c.SelectColor, kIconShadowDarken))
                         : Rgb{};
  ops.push_back(IconOp{at, item.image.has_value(), c.IconBackColor, look, shadow, Rgb{}});
}

void DrawItemText(Ops& ops, const MenuItemDraw& item, const std::wstring& text, MenuRect t,
                  const EffectiveColors& c, const NearestColor& nearest) {
  Rgb color = c.FontColor;
  if (item.selected) color = c.SelectFontColor;
  if (!item.enabled) color = c.DisabledColor;
  if (item.selected && item.menuBarItem) color = BarTextColor(c, nearest);

  const bool rtl = item.rightToLeft;
  t.top += (t.bottom - t.top - item.textHeight) / 2;
  if (item.defaultItem && item.enabled) {
    // Darker copies just off the text's position make the menu's default command look bold.
    const auto [l, tp, r, b] = t;
    struct Pass {
      MenuRect rect;
      int darken;
    };
    for (const Pass& p : {Pass{{l + 1, tp, r, b}, 30}, Pass{{l + 1, tp + 2, r + 1, b}, 30},
                          Pass{{l, tp + 1, r, b}, 40}, Pass{{l + 1, tp + 1, r + 1, b}, 60}}) {
      // Under high contrast the copies are in the text's own colour: no shade outside the scheme.
      if (c.HighContrast)
        ops.push_back(TextOp{p.rect, text, color, rtl, rtl, std::nullopt});
      else
        ops.push_back(TextOp{p.rect, text, Rgb{}, rtl, rtl, p.darken});
    }
  }
  ops.push_back(TextOp{t, text, color, rtl, rtl, std::nullopt});
  if (item.shortcut.empty()) return;
  const Rgb shortcutColor = c.DeepColor && !c.HighContrast ? nearest(Darken(color, -40)) : color;
  MenuRect s = t;
  if (rtl)
    s.left += 10;
  else
    s.right -= 10;
  ops.push_back(TextOp{s, item.shortcut + L" ", shortcutColor, !rtl, false, std::nullopt});
}

}  // namespace

MenuItemGeometry ItemGeometry(const MenuItemDraw& item, int iconWidth) {
  MenuItemGeometry g;
  MenuRect r = item.rect;
  ++r.bottom;
  g.R = r;

  const bool rtl = item.rightToLeft;
  g.I = rtl ? MenuRect{r.right - iconWidth, r.top, r.right, r.bottom}
            : MenuRect{r.left, r.top, r.left + iconWidth, r.bottom};

  const MenuRect& i = g.I;
  if (item.image) {
    g.K = {i.left + 1, i.top + 2, i.right - 3, i.bottom - 2};
  } else {
    const int kl = i.left + (i.right - i.left - 10) / 2;
    const int kt = i.top + (i.bottom - i.top - 10) / 2;
    g.K = {kl, kt, kl + 10, kt + 10};
  }

  // A bitmap wider than the icon column pushes the text aside.
  const int reserved = item.bitmapWidth > iconWidth ? item.bitmapWidth + 4 : iconWidth;
  g.T = rtl ? MenuRect{r.left, r.top, r.right - reserved, r.bottom}
            : MenuRect{r.left + reserved, r.top, r.right, r.bottom};
  if (item.menuBarItem) {
    if (!item.image)
      g.T = r;
    else if (rtl)
      g.T.right += 5;
    else
      g.T.left -= 5;
  }
  return g;
}

MenuItemPicture DrawItemPicture(const MenuItemDraw& item, const FlatMenuProperties& props,
                                const EffectiveColors& c, const NearestColor& nearest) {
  MenuItemPicture picture;
  Ops& ops = picture.ops;
  const MenuItemGeometry g = ItemGeometry(item, props.IconWidth);
  const bool rtl = item.rightToLeft;

  if (item.menuBarItem) {
    Fill(ops, g.R, c.MenuBarColor);
  } else if (c.DeepColor && props.Gradient && !c.HighContrast) {
    DrawGradient(ops, {g.R.left, g.R.top, g.R.right + 2, g.R.bottom}, props.IconWidth, rtl, c,
                 nearest);
  } else if (item.enabled || !item.selected) {
    // A disabled item under the mouse keeps what is already there: its unselected look.
    Fill(ops, g.R, c.Color);
    Fill(ops, g.I, c.IconBackColor);
  }

  if (item.selected && props.DrawSelect) {
    if (item.menuBarItem) {
      DrawBarSelection(ops, g.R, rtl, c, nearest);
    } else if (item.enabled) {
      MenuRect s{g.R.left, g.R.top + 1, g.R.right, g.R.bottom - 1};
      if (props.FlatMenu) --s.right;
      ops.push_back(ShapeOp{ShapeKind::Rectangle, s, c.SelectBorderColor, c.SelectColor, 0});
    }
  }

  DrawCheckMark(ops, item, g.K, c);
  DrawItemIcon(ops, item, g.I, props.IconWidth, c, nearest);

  const MenuRect& t = g.T;
  if (IsSeparatorCaption(item.caption)) {
    const int y = t.top + RoundHalfEven(t.bottom - t.top, 2);
    if (rtl)
      Line(ops, c.SeparatorColor, {{t.left, y}, {t.right - 7, y}});
    else
      Line(ops, c.SeparatorColor, {{t.left + 7, y}, {t.right, y}});
  } else {
    MenuRect textRect = t;
    if (rtl)
      textRect.right -= 5;
    else
      textRect.left += 5;
    DrawItemText(ops, item, L" " + item.caption, textRect, c, nearest);
  }

  picture.popupFrame = props.FlatMenu && !item.menuBarItem;
  return picture;
}

std::vector<MenuOp> DrawPopupFrame(MenuRect window, int iconWidth, bool gradient, bool rightToLeft,
                                   const EffectiveColors& c) {
  Ops ops;
  const auto [l, t, x, b] = window;
  Outline(ops, {l, t, x - 2, b - 2}, c.FrameColor);
  if (rightToLeft) {
    Outline(ops, {l + 1, t + 1, x - 4, t + 3}, c.Color);
    Line(ops, c.Color, {{l + 2, t + 2}, {l + 2, b - 4}});
    Line(ops, c.IconBackColor, {{x - 4, t + 2}, {x - 4, b - 4}});
    Line(ops, c.IconBackColor, {{x - 4, t + 2}, {x - 3 - iconWidth, t + 2}});
  } else {
    if (!gradient) {
      Outline(ops, {l + 1, t + 1, x - 4, t + 3}, c.Color);
      Line(ops, c.IconBackColor, {{l + 1, t + 2}, {l + 2 + iconWidth, t + 2}});
    }
    Line(ops, c.IconBackColor, {{l + 1, t + 1}, {l + 1, b - 4}});
  }
  // A two-pixel shadow below and to the right, and the two corners where it begins.
  Outline(ops, {l + 2, b - 2, x, b}, c.ShadowColor);
  Outline(ops, {x - 2, t + 2, x, b}, c.ShadowColor);
  Outline(ops, {l, b - 2, l + 2, b}, c.IconBackColor);
  Outline(ops, {x - 2, t, x, t + 2}, c.IconBackColor);
  return ops;
}

}  // namespace pw
