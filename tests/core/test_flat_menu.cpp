#include <gtest/gtest.h>

#include <algorithm>

#include "menus/core/MenuAccessKey.h"
#include "menus/core/MenuColors.h"
#include "menus/core/MenuIcon.h"
#include "menus/core/MenuLayout.h"
#include "menus/core/MenuPicture.h"

namespace pw {
namespace {

const SystemColors kSystem{{212, 208, 200}, {10, 36, 106}, {128, 128, 128}, {0, 0, 0},
                           {120, 130, 140}, {212, 208, 200}, {255, 255, 255}, {128, 128, 128}};
const NearestColor kExact = [](Rgb c) { return c; };

template <typename Op>
std::vector<Op> OpsOf(const std::vector<MenuOp>& ops) {
  std::vector<Op> found;
  for (const MenuOp& op : ops)
    if (const Op* o = std::get_if<Op>(&op)) found.push_back(*o);
  return found;
}

TEST(FlatMenuColors, RoundingClampingCapsAndTheDevicesColours) {
  EXPECT_EQ(Lighten({0, 1, 5}, 30), (Rgb{76, 77, 80}));  // 76.5 rounds to the even 76
  EXPECT_EQ(Lighten({0, 0, 0}, 50), (Rgb{128, 128, 128}));  // 127.5 rounds to the even 128
  EXPECT_EQ(Darken({5, 100, 250}, 10), (Rgb{0, 92, 240}));
  EXPECT_EQ(Darken({100, 254, 240}, -40), (Rgb{140, 255, 255}));
  EXPECT_EQ(Grey({200, 200, 200}, 90), (Rgb{240, 240, 240}));
  EffectiveColors bar;  // the open menu-bar item's text: the font's colour on a light icon column
  bar.IconBackColor = {0, 201, 0};
  EXPECT_EQ(BarTextColor(bar, kExact), bar.FontColor);
  bar.IconBackColor = {150, 200, 151};  // just short of both limits: lightened
  EXPECT_EQ(BarTextColor(bar, kExact), (Rgb{244, 250, 245}));
  const std::vector<int> band = GradientAmounts(60, 24);
  EXPECT_EQ((std::vector<int>{band.at(0), band.at(1), band.at(28), band.at(29), band.at(59)}),
            (std::vector<int>{1, 4, 85, 86, 96}));
  EXPECT_EQ(GradientAmounts(40, 40).at(32), 96);  // the cap holds inside the icon column band too
  // Derived colours are what the device can show.
  const NearestColor coarse = [](Rgb v) { return Rgb{uint8_t(v.r & 0xF0), v.g, v.b}; };
  EXPECT_EQ(ComputeColors(kMainWindowFlatMenu, 16, kSystem, coarse).Color, (Rgb{240, 248, 247}));
}

TEST(FlatMenuMeasure, SeparatorAccessKeysShortcutsAndIconMinimum) {
  int height = 13;
  const TextExtent extent = [&](std::wstring_view s) {
    int w = 0;
    for (wchar_t c : s) w += c == L'W' ? 9 : c == L'&' ? 5 : 6;
    return MenuSize{w, height};
  };
  const MenuSize icon{24, 16};
  EXPECT_EQ(MeasureMenuItem(L"&Open", L"", extent, icon, {10, 10}), (MenuSize{58, 23}));
  EXPECT_EQ(MeasureMenuItem(L"A&&B", L"", extent, icon, {10, 10}).width, 51);
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"Ctrl+C", extent, icon, {10, 10}).width, 121);
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"  ", extent, icon, {10, 10}).width, 58);
  EXPECT_EQ(MeasureMenuItem(L"-", L"", extent, icon, {0, 30}), (MenuSize{34, 4}));
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, {24, 20}, {}).height, 24);  // the icon's 20 + 4
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, icon, {200, 40}), (MenuSize{200, 40}));
  height = 14;  // 10.5 rounds to the even 10
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, icon, {}).height, 24);
  EXPECT_EQ(ItemIconSize(false, MenuSize{16, 16}, {}, 24), (MenuSize{24, 16}));
  EXPECT_EQ(ItemIconSize(true, MenuSize{16, 15}, {30, 12}, 24), (MenuSize{16, 15}));
}

std::vector<MenuOp> Draw(const MenuItemDraw& item, int bits = 32, bool gradient = false) {
  FlatMenuProperties props = kMainWindowFlatMenu;
  props.Gradient = gradient;
  return DrawItemPicture(item, props, ComputeColors(props, bits, kSystem, kExact), kExact).ops;
}

MenuItemDraw Item(std::wstring caption) {
  MenuItemDraw item;
  item.rect = {10, 5, 160, 27};
  item.caption = std::move(caption);
  item.textHeight = 13;
  return item;
}

TEST(FlatMenuPicture, GeometryGradientTextAndShortcut) {
  MenuItemDraw item = Item(L"Copy");
  const auto columns = OpsOf<FillOp>(Draw(item, 32, true));
  ASSERT_EQ(columns.size(), 153u);  // a gradient: the 150 columns, 2 more and the right edge
  EXPECT_EQ(columns[152].rect, (MenuRect{162, 5, 163, 28}));
  item.bitmapWidth = 30;  // wider than the icon column: pushes the text aside
  EXPECT_EQ(ItemGeometry(item, 24).T.left, 44);
  item.rightToLeft = true;
  EXPECT_EQ(OpsOf<FillOp>(Draw(item, 32, true)).at(0).rect, (MenuRect{159, 5, 160, 28}));
  EXPECT_EQ(ItemGeometry(item, 24).I, (MenuRect{136, 5, 160, 28}));
  EXPECT_EQ(ItemGeometry(item, 24).T, (MenuRect{10, 5, 126, 28}));

  item = Item(L"&Copy Path");
  item.shortcut = L"Ctrl+C";
  item.defaultItem = true;
  auto texts = OpsOf<TextOp>(Draw(item));
  ASSERT_EQ(texts.size(), 6u);  // four darker copies behind the text make it look bold
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(texts[i].darkenCanvasPixel && texts[i].text == texts[4].text) << i;
  EXPECT_TRUE(texts[4].rect == (MenuRect{39, 10, 160, 28}) && texts[4].text == L" &Copy Path");
  EXPECT_TRUE(texts[5].rect == (MenuRect{39, 10, 150, 28}) && texts[5].alignRight);
  EXPECT_TRUE(texts[5].text == L"Ctrl+C " && texts[5].color == (Rgb{40, 42, 40}));  // lighter
  item.rightToLeft = true;
  texts = OpsOf<TextOp>(Draw(item, 8));
  EXPECT_TRUE(texts.at(4).alignRight && texts[4].rtlReading);
  EXPECT_EQ(texts.at(5).rect, (MenuRect{20, 10, 131, 28}));
  EXPECT_TRUE(texts[5].color == kSystem.MenuText && !texts[5].alignRight);
}

TEST(FlatMenuPicture, CheckedRadioIconLooksAndTheDisabledItemUnderTheMouse) {
  const EffectiveColors c = ComputeColors(kMainWindowFlatMenu, 32, kSystem, kExact);
  MenuItemDraw item = Item(L"&Large Icons");
  item.checked = item.radioItem = item.selected = true;
  item.image = MenuSize{16, 16};
  const auto shapes = OpsOf<ShapeOp>(Draw(item));
  ASSERT_EQ(shapes.size(), 2u);  // selection, then the box
  EXPECT_EQ(shapes[1].kind, ShapeKind::RoundRect);
  EXPECT_EQ(shapes[1].brush, c.CheckFillSelectedColor);
  IconOp op = OpsOf<IconOp>(Draw(item)).at(0);
  EXPECT_TRUE(op.look == IconLook::Plain && op.at == (MenuPoint{13, 9}));
  item.checked = false;
  op = OpsOf<IconOp>(Draw(item)).at(0);
  EXPECT_TRUE(op.look == IconLook::Lifted && op.at == (MenuPoint{12, 8}));
  item.selected = false;
  EXPECT_EQ(OpsOf<IconOp>(Draw(item)).at(0).look, IconLook::Lightened);
  EXPECT_EQ(OpsOf<IconOp>(Draw(item, 8)).at(0).look, IconLook::Plain);
  item.selected = true;
  item.enabled = false;
  const auto ops = Draw(item);
  EXPECT_TRUE(OpsOf<FillOp>(ops).empty() && OpsOf<ShapeOp>(ops).empty());
  op = OpsOf<IconOp>(ops).at(0);
  EXPECT_TRUE(op.look == IconLook::Greyed && op.at == (MenuPoint{13, 9}));
  EXPECT_EQ(OpsOf<TextOp>(ops).at(0).color, c.DisabledColor);
  // The bits: recolouring reuses the last result, the shadow skips the transparent colour.
  IconBits icon{3, 2, {kBlack, kBlack, {10, 20, 31}, {1, 1, 1}, kBlack, kBlack}};
  EXPECT_EQ(IconShadowPoints(icon, {10, 20}),
            (std::vector<MenuPoint>{{12, 22}, {13, 22}, {14, 22}, {13, 23}, {14, 23}}));
  IconBits greyed = icon;
  int queries = 0;
  RecolorIcon(icon, IconLook::Lightened, [&](Rgb v) { ++queries; return v; });
  EXPECT_EQ(queries, 4);
  EXPECT_EQ(icon.pixels[1], (Rgb{76, 76, 76}));
  RecolorIcon(greyed, IconLook::Greyed, kExact);
  EXPECT_EQ(greyed.pixels[2], (Rgb{110, 110, 110}));
}

// A high-contrast scheme: every colour apart, so that a derived one shows.
const SystemColors kScheme{.ButtonFace = {0, 0, 0}, .Highlight = {0, 255, 255}, .ButtonShadow = {128, 128, 128},
                           .MenuText = {255, 255, 255}, .InactiveCaption = {0, 0, 128}, .Menu = {0, 0, 1},
                           .HighlightText = {0, 0, 1}, .GrayText = {0, 255, 0}};  // as dark as the menu

TEST(FlatMenuPicture, HighContrastDrawsOnlyTheSchemesColoursWhateverTheItem) {
  const std::vector<Rgb> palette{kScheme.Menu, kScheme.MenuText, kScheme.Highlight, kScheme.HighlightText,
                                 kScheme.GrayText};
  const auto inPalette = [&](Rgb c) { return std::find(palette.begin(), palette.end(), c) != palette.end(); };
  // Every derivation would give colours off the scheme.
  const NearestColor shifted = [](Rgb c) { return Rgb{c.r, c.g, uint8_t(c.b ^ 0x40)}; };
  for (const bool gradient : {false, true}) {
    FlatMenuProperties props = kMainWindowFlatMenu;
    props.Gradient = gradient;
    const EffectiveColors colors = ComputeColors(props, 32, kScheme, shifted, true);
    EXPECT_TRUE(colors.HighContrast);
    struct Row {
      bool selected, enabled, checked, radio, def, bar, image;
      const wchar_t* shortcut;
    } rows[] = {
        {false, true, false, false, false, false, true, L"F5"}, {true, true, false, false, false, false, true, L""},
        {true, false, false, false, false, false, true, L"F5"}, {false, true, true, false, false, false, false, L""},
        {true, true, true, false, false, false, false, L""},    {false, true, true, true, false, false, true, L""},
        {true, true, false, false, true, false, false, L"F2"},  {true, true, false, false, false, true, false, L""},
        {false, true, false, false, false, true, true, L""},
    };
    for (const Row& row : rows) {
      MenuItemDraw item = Item(L"&Refresh");
      item.selected = row.selected;
      item.enabled = row.enabled;
      item.checked = row.checked;
      item.radioItem = row.radio;
      item.defaultItem = row.def;
      item.menuBarItem = row.bar;
      item.shortcut = row.shortcut;
      if (row.image) item.image = MenuSize{16, 16};
      const std::vector<MenuOp> ops = DrawItemPicture(item, props, colors, shifted).ops;
      for (const FillOp& f : OpsOf<FillOp>(ops)) EXPECT_TRUE(inPalette(f.color));
      for (const LineOp& l : OpsOf<LineOp>(ops)) EXPECT_TRUE(inPalette(l.color));
      for (const ShapeOp& s : OpsOf<ShapeOp>(ops)) {
        EXPECT_TRUE(inPalette(s.pen));
        EXPECT_TRUE(!s.brush || inPalette(*s.brush));
      }
      for (const TextOp& t : OpsOf<TextOp>(ops)) {
        EXPECT_TRUE(inPalette(t.color));
        EXPECT_FALSE(t.darkenCanvasPixel);  // no shade read off the canvas either
      }
      for (const IconOp& i : OpsOf<IconOp>(ops)) {
        EXPECT_EQ(i.look, IconLook::Silhouette);
        EXPECT_EQ(i.ink, !row.enabled ? kScheme.GrayText : row.selected ? kScheme.HighlightText : kScheme.MenuText);
        EXPECT_TRUE(inPalette(i.imageBackground));
        EXPECT_NE(i.imageBackground, i.ink);  // the silhouette stands out of its ground
      }
      // The text of a selected item stands on the highlight in the highlight's text colour.
      if (row.selected && row.enabled) {
        EXPECT_EQ(OpsOf<TextOp>(ops).back().color, kScheme.HighlightText);
      }
    }
    for (const MenuOp& op : DrawPopupFrame({0, 0, 120, 200}, 24, gradient, false, colors)) {
      if (const auto* s = std::get_if<ShapeOp>(&op)) {
        EXPECT_TRUE(inPalette(s->pen));
      }
      if (const auto* l = std::get_if<LineOp>(&op)) {
        EXPECT_TRUE(inPalette(l->color));
      }
    }
  }
}

TEST(FlatMenuIcons, ASilhouetteInksEveryPixelButTheTransparentOnes) {
  const Rgb clear{0, 0, 1}, ink{255, 255, 255};
  IconBits icon{2, 2, {{10, 20, 30}, clear, clear, {200, 0, 0}}};  // bottom-left is transparent
  InkIcon(icon, ink);
  EXPECT_EQ(icon.pixels, (std::vector<Rgb>{ink, clear, clear, ink}));
  IconBits vanishing{1, 2, {{9, 9, 9}, clear}};
  InkIcon(vanishing, clear);  // an ink of the transparent colour would hide the icon: left alone
  EXPECT_EQ(vanishing.pixels, (std::vector<Rgb>{{9, 9, 9}, clear}));
}

TEST(FlatMenuAccessKeys, EscapedAmpersandsCaseAndKeysSharedByItems) {
  for (const wchar_t* none : {L"A&&B", L"Trailing&", L"Created"}) EXPECT_EQ(AccessKey(none), 0);
  EXPECT_EQ(AccessKey(L"Salt && &Pepper"), L'P');
  // Items sharing a key are selected in turn from the highlighted one, wrapping at the end.
  const std::vector<std::wstring> shared{L"&Archive", L"&Normal", L"&Accessed", L"B&&&A"};
  const int expected[][2] = {{-1, 0}, {0, 2}, {2, 3}, {3, 0}, {1, 2}};
  for (const auto& [current, next] : expected) {
    const AccessKeyChoice c = ChooseByAccessKey(shared, L'a', current);
    EXPECT_TRUE(c.index == next && !c.execute) << current;
  }
  EXPECT_EQ(ChooseByAccessKey(shared, L'&', -1).index, -1);

  // The keys more than one item of a menu has, letter case aside; items without a key share none.
  const std::pair<std::vector<std::wstring>, std::vector<wchar_t>> menus[] = {
      {{L"&Refresh", L"&Undo Edit", L"-", L"Sa&ve Times...", L"&Restore Times..."}, {L'R'}},
      {shared, {L'A'}},
      {{L"&b", L"&B", L"&c", L"x&c", L"&b"}, {L'B', L'C'}},
      {{L"Created", L"-", L"-", L"A&&B", L"B&&A", L"&Size"}, {}},
  };
  for (const auto& [captions, keys] : menus) EXPECT_EQ(SharedAccessKeys(captions), keys) << captions.front();
}

}  // namespace
}  // namespace pw
