#include <gtest/gtest.h>

#include "menus/core/MenuAccessKey.h"
#include "menus/core/MenuColors.h"
#include "menus/core/MenuIcon.h"
#include "menus/core/MenuLayout.h"
#include "menus/core/MenuPicture.h"

namespace pw {
namespace {

const SystemColors kSystem{{212, 208, 200}, {10, 36, 106}, {128, 128, 128}, {0, 0, 0},
                           {120, 130, 140}};
const NearestColor kExact = [](Rgb c) { return c; };

using Points = std::vector<MenuPoint>;

template <typename Op>
std::vector<Op> OpsOf(const std::vector<MenuOp>& ops) {
  std::vector<Op> found;
  for (const MenuOp& op : ops)
    if (const Op* o = std::get_if<Op>(&op)) found.push_back(*o);
  return found;
}

TEST(FlatMenuColors, LightenDarkenGreyRoundClampAndCap) {
  EXPECT_EQ(Lighten({0, 1, 5}, 30), (Rgb{76, 77, 80}));  // 76.5 rounds to the even 76
  EXPECT_EQ(Lighten({0, 0, 0}, 50), (Rgb{128, 128, 128}));  // 127.5 rounds to the even 128
  EXPECT_EQ(Lighten({10, 20, 30}, 250), kWhite);
  EXPECT_EQ(Darken({5, 100, 250}, 10), (Rgb{0, 92, 240}));
  EXPECT_EQ(Darken({100, 254, 240}, -40), (Rgb{140, 255, 255}));
  EXPECT_EQ(Grey({200, 200, 200}, 90), (Rgb{240, 240, 240}));
  EXPECT_EQ(Grey({1, 1, 0}, 150), (Rgb{100, 100, 100}));

  EffectiveColors c;
  c.FontColor = {1, 2, 3};
  c.IconBackColor = {160, 0, 150};
  EXPECT_EQ(BarTextColor(c, kExact), c.FontColor);
  c.IconBackColor = {0, 201, 0};
  EXPECT_EQ(BarTextColor(c, kExact), c.FontColor);
  c.IconBackColor = {150, 200, 151};  // 94.5 and 49.5 round to even
  EXPECT_EQ(BarTextColor(c, kExact), (Rgb{244, 250, 245}));

  const std::vector<int> band24 = GradientAmounts(60, 24);
  ASSERT_EQ(band24.size(), 60u);
  const std::vector<int> picked{band24[0],  band24[1],  band24[28],
                                band24[29], band24[39], band24[59]};
  EXPECT_EQ(picked, (std::vector<int>{1, 4, 85, 86, 96, 96}));
  EXPECT_EQ(GradientAmounts(40, 40).at(32), 96);  // the cap holds inside the icon column band too
}

TEST(FlatMenuColors, SystemColorsAtDeepAndShallowDepth) {
  const EffectiveColors deep = ComputeColors(kMainWindowFlatMenu, 32, kSystem, kExact);
  EXPECT_EQ(deep.Color, (Rgb{249, 248, 247}));
  EXPECT_EQ(deep.IconBackColor, (Rgb{219, 216, 209}));
  EXPECT_EQ(deep.SelectColor, (Rgb{177, 185, 207}));
  EXPECT_EQ(deep.DisabledColor, (Rgb{141, 141, 141}));
  EXPECT_EQ(deep.CheckFillColor, (Rgb{194, 200, 218}));
  EXPECT_EQ(deep.CheckFillSelectedColor, (Rgb{132, 146, 180}));
  EXPECT_EQ(deep.FrameColor, (Rgb{122, 120, 110}));
  EXPECT_EQ(deep.ShadowColor, (Rgb{136, 134, 124}));

  const EffectiveColors shallow = ComputeColors(kMainWindowFlatMenu, 8, kSystem, kExact);
  EXPECT_EQ(shallow.Color, kWhite);
  EXPECT_EQ(shallow.IconBackColor, kSystem.ButtonFace);
  EXPECT_EQ(shallow.CheckFillSelectedColor, kWhite);
  EXPECT_EQ(shallow.FrameColor, kSystem.ButtonShadow);

  const FlatMenuProperties own{
      .Color = Rgb{1, 2, 3}, .SelectFontColor = Rgb{9, 9, 9}, .UseSystemColors = false};
  const EffectiveColors fixed = ComputeColors(own, 8, kSystem, kExact);
  EXPECT_EQ(fixed.Color, (Rgb{1, 2, 3}));
  EXPECT_EQ(fixed.SelectFontColor, (Rgb{9, 9, 9}));
  EXPECT_EQ(fixed.CheckFillSelectedColor, kSilver);

  // Derived colours are what the device can show; colours taken as they are stay untouched.
  const NearestColor coarse = [](Rgb c) {
    return Rgb{uint8_t(c.r & 0xF0), uint8_t(c.g & 0xF0), uint8_t(c.b & 0xF0)};
  };
  const EffectiveColors device = ComputeColors(kMainWindowFlatMenu, 16, kSystem, coarse);
  EXPECT_EQ(device.Color, (Rgb{240, 240, 240}));
  EXPECT_EQ(device.SelectBorderColor, kSystem.Highlight);
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
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, icon, {200, 40}), (MenuSize{200, 40}));
  height = 14;  // 10.5 rounds to the even 10
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, icon, {}).height, 24);
  height = 8;
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, icon, {}).height, 20);
  // At 200 %: the separator and the margins double; the text is measured in the larger font.
  EXPECT_EQ(MeasureMenuItem(L"-", L"", extent, {48, 0}, {0, 30}, 192), (MenuSize{68, 8}));
  EXPECT_EQ(MeasureMenuItem(L"Copy", L"", extent, {48, 32}, {}, 192), (MenuSize{92, 40}));

  EXPECT_EQ(ItemIconSize(false, MenuSize{16, 16}, {}, 24), (MenuSize{24, 16}));
  EXPECT_EQ(ItemIconSize(false, std::nullopt, {0, 12}, 24), (MenuSize{24, 0}));
  EXPECT_EQ(ItemIconSize(false, std::nullopt, {30, 12}, 24), (MenuSize{30, 12}));
  EXPECT_EQ(ItemIconSize(true, MenuSize{16, 15}, {30, 12}, 24), (MenuSize{16, 15}));
}

std::vector<MenuOp> Draw(const MenuItemDraw& item, int bitsPerPixel = 32,
                         const FlatMenuProperties& props = kMainWindowFlatMenu) {
  return DrawItemPicture(item, props, ComputeColors(props, bitsPerPixel, kSystem, kExact), kExact)
      .ops;
}

MenuItemDraw Item(std::wstring caption) {
  MenuItemDraw item;
  item.rect = {10, 5, 160, 27};
  item.caption = std::move(caption);
  item.textHeight = 13;
  return item;
}

TEST(FlatMenuPicture, GeometryOfIconColumnCheckBoxAndText) {
  MenuItemDraw item = Item(L"Copy");
  MenuItemGeometry g = ItemGeometry(item, 24);
  EXPECT_EQ(g.R, (MenuRect{10, 5, 160, 28}));
  EXPECT_EQ(g.I, (MenuRect{10, 5, 34, 28}));
  EXPECT_EQ(g.K, (MenuRect{17, 11, 27, 21}));
  EXPECT_EQ(g.T, (MenuRect{34, 5, 160, 28}));
  item.image = MenuSize{16, 16};
  item.bitmapWidth = 30;
  g = ItemGeometry(item, 24);
  EXPECT_EQ(g.K, (MenuRect{11, 7, 31, 26}));
  EXPECT_EQ(g.T.left, 44);
  item.rightToLeft = true;
  g = ItemGeometry(item, 24);
  EXPECT_EQ(g.I, (MenuRect{136, 5, 160, 28}));
  EXPECT_EQ(g.T, (MenuRect{10, 5, 126, 28}));

  MenuItemDraw bar = Item(L"&View");
  bar.rect = {40, 0, 90, 19};
  bar.menuBarItem = true;
  EXPECT_EQ(ItemGeometry(bar, 24).T, (MenuRect{40, 0, 90, 20}));
  bar.image = MenuSize{16, 16};
  EXPECT_EQ(ItemGeometry(bar, 24).T.left, 59);

  MenuItemDraw separator = Item(L"-");
  separator.rect = {0, 40, 150, 44};
  const auto lines = OpsOf<LineOp>(Draw(separator));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (Points{{31, 42}, {150, 42}}));
}

TEST(FlatMenuPicture, TextShortcutAndDefaultItemPasses) {
  MenuItemDraw item = Item(L"&Copy Path");
  item.shortcut = L"Ctrl+C";
  item.defaultItem = true;
  auto texts = OpsOf<TextOp>(Draw(item));
  ASSERT_EQ(texts.size(), 6u);
  const MenuRect passes[] = {{40, 10, 160, 28}, {40, 12, 161, 28}, {39, 11, 160, 28},
                             {40, 11, 161, 28}};
  const int amounts[] = {30, 30, 40, 60};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(texts[i].rect, passes[i]);
    EXPECT_EQ(texts[i].darkenCanvasPixel, amounts[i]);
  }
  EXPECT_EQ(texts[4].rect, (MenuRect{39, 10, 160, 28}));
  EXPECT_EQ(texts[4].text, L" &Copy Path");
  EXPECT_TRUE(texts[4].color == kSystem.MenuText && !texts[4].alignRight);
  EXPECT_EQ(texts[5].rect, (MenuRect{39, 10, 150, 28}));
  EXPECT_TRUE(texts[5].text == L"Ctrl+C " && texts[5].alignRight);
  EXPECT_EQ(texts[5].color, (Rgb{40, 42, 40}));  // lighter than the black text

  item.rightToLeft = true;
  item.defaultItem = false;
  texts = OpsOf<TextOp>(Draw(item, 8));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].rect, (MenuRect{10, 10, 131, 28}));
  EXPECT_TRUE(texts[0].alignRight && texts[0].rtlReading);
  EXPECT_EQ(texts[1].rect, (MenuRect{20, 10, 131, 28}));
  EXPECT_TRUE(texts[1].color == kSystem.MenuText && !texts[1].alignRight);
}

TEST(FlatMenuPicture, CheckMarksIconsAndTheDisabledItemUnderTheMouse) {
  const EffectiveColors c = ComputeColors(kMainWindowFlatMenu, 32, kSystem, kExact);
  MenuItemDraw item = Item(L"&Show Folders");
  item.checked = true;
  auto ops = Draw(item);
  auto shapes = OpsOf<ShapeOp>(ops);
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].rect, (MenuRect{17, 11, 27, 21}));
  EXPECT_TRUE(shapes[0].pen == c.CheckedColor && shapes[0].brush == c.CheckFillColor);
  const auto tick = OpsOf<LineOp>(ops);
  const std::vector<Points> strokes = {{{18, 16}, {21, 19}}, {{19, 16}, {21, 18}},
                                       {{19, 15}, {22, 18}}, {{21, 18}, {29, 10}},
                                       {{21, 19}, {25, 14}}};
  ASSERT_EQ(tick.size(), strokes.size());
  for (size_t i = 0; i < tick.size(); ++i)
    EXPECT_TRUE(tick[i].points == strokes[i] && tick[i].color == kBlack) << i;

  item.radioItem = true;
  item.image = MenuSize{16, 16};
  item.selected = true;
  shapes = OpsOf<ShapeOp>(Draw(item));
  ASSERT_EQ(shapes.size(), 2u);  // selection, then the box
  EXPECT_EQ(shapes[0].rect, (MenuRect{10, 6, 159, 27}));
  EXPECT_EQ(shapes[1].kind, ShapeKind::RoundRect);
  EXPECT_EQ(shapes[1].brush, c.CheckFillSelectedColor);
  IconOp icon = OpsOf<IconOp>(Draw(item)).at(0);
  EXPECT_TRUE(icon.look == IconLook::Plain && icon.at == (MenuPoint{13, 9}));

  item.checked = false;
  icon = OpsOf<IconOp>(Draw(item)).at(0);
  EXPECT_TRUE(icon.look == IconLook::Lifted && icon.at == (MenuPoint{12, 8}));
  EXPECT_EQ(icon.shadow, (Rgb{127, 137, 157}));
  item.selected = false;
  EXPECT_EQ(OpsOf<IconOp>(Draw(item)).at(0).look, IconLook::Lightened);

  item.selected = true;
  item.enabled = false;
  ops = Draw(item);
  EXPECT_TRUE(OpsOf<FillOp>(ops).empty());
  EXPECT_TRUE(OpsOf<ShapeOp>(ops).empty());
  icon = OpsOf<IconOp>(ops).at(0);
  EXPECT_TRUE(icon.look == IconLook::Greyed && icon.at == (MenuPoint{13, 9}));
  EXPECT_EQ(OpsOf<TextOp>(ops).at(0).color, c.DisabledColor);
}

TEST(FlatMenuPicture, GradientBarSelectionAndPopupFrame) {
  FlatMenuProperties gradient = kMainWindowFlatMenu;
  gradient.Gradient = true;
  const EffectiveColors deep = ComputeColors(gradient, 32, kSystem, kExact);
  MenuItemDraw item = Item(L"Copy");
  auto columns = OpsOf<FillOp>(Draw(item, 32, gradient));
  ASSERT_EQ(columns.size(), 153u);  // 150 item columns, 2 added, and the right edge itself
  EXPECT_EQ(columns[0].rect, (MenuRect{10, 5, 11, 28}));
  EXPECT_EQ(columns[152].rect, (MenuRect{162, 5, 163, 28}));
  EXPECT_EQ(columns[152].color, (Rgb{254, 253, 253}));
  item.rightToLeft = true;
  columns = OpsOf<FillOp>(Draw(item, 32, gradient));
  ASSERT_EQ(columns.size(), 153u);
  EXPECT_EQ(columns[0].rect, (MenuRect{159, 5, 160, 28}));
  EXPECT_EQ(columns[1].color, (Rgb{220, 218, 211}));

  MenuItemDraw bar = Item(L"&View");
  bar.rect = {40, 0, 90, 19};
  bar.menuBarItem = true;
  bar.selected = true;
  auto ops = Draw(bar);
  auto fills = OpsOf<FillOp>(ops);
  ASSERT_EQ(fills.size(), 6u);
  EXPECT_TRUE(fills[2].rect == (MenuRect{83, 0, 90, 20}) && fills[2].color == (Rgb{202, 200, 190}));
  EXPECT_TRUE(fills[5].rect == (MenuRect{83, 6, 85, 20}) && fills[5].color == (Rgb{112, 110, 100}));
  auto lines = OpsOf<LineOp>(ops);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].points, (Points{{40, 19}, {40, 0}, {82, 0}, {82, 20}}));
  EXPECT_EQ(lines[5].color, (Rgb{172, 170, 160}));
  EXPECT_EQ(OpsOf<TextOp>(ops).at(0).color, deep.FontColor);

  ops = Draw(bar, 8);
  fills = OpsOf<FillOp>(ops);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_TRUE(fills[2].rect == (MenuRect{88, 2, 90, 20}) && fills[2].color == kSystem.ButtonShadow);
  EXPECT_EQ(OpsOf<LineOp>(ops).at(0).points, (Points{{40, 19}, {40, 0}, {87, 0}, {87, 20}}));

  auto frame = DrawPopupFrame({100, 200, 300, 400}, 24, false, false, deep);
  ASSERT_EQ(frame.size(), 8u);
  EXPECT_EQ(std::get<ShapeOp>(frame[0]).rect, (MenuRect{100, 200, 298, 398}));
  EXPECT_EQ(std::get<LineOp>(frame[2]).points, (Points{{101, 202}, {126, 202}}));
  EXPECT_EQ(std::get<ShapeOp>(frame[4]).rect, (MenuRect{102, 398, 300, 400}));
  EXPECT_EQ(std::get<ShapeOp>(frame[7]).pen, deep.IconBackColor);
  EXPECT_EQ(DrawPopupFrame({100, 200, 300, 400}, 24, true, false, deep).size(), 6u);
}

TEST(FlatMenuIcon, RecolourReusesTheLastResultAndShadowSkipsTheTransparentColour) {
  const Rgb a{0, 0, 0}, b{10, 20, 31}, bottomLeft{1, 1, 1};
  IconBits icon{3, 2, {a, a, b, bottomLeft, a, a}};
  const IconBits original = icon;
  EXPECT_EQ(IconShadowPoints(icon, {10, 20}),
            (Points{{12, 22}, {13, 22}, {14, 22}, {13, 23}, {14, 23}}));

  int queries = 0;
  const NearestColor counting = [&](Rgb c) { ++queries; return c; };
  RecolorIcon(icon, IconLook::Lightened, counting);
  EXPECT_EQ(queries, 4);
  EXPECT_EQ(icon.pixels[1], (Rgb{76, 76, 76}));
  icon = original;
  RecolorIcon(icon, IconLook::Greyed, kExact);
  EXPECT_EQ(icon.pixels[2], (Rgb{110, 110, 110}));
  EXPECT_EQ(icon.BottomLeft(), (Rgb{91, 91, 91}));
  icon = original;
  RecolorIcon(icon, IconLook::Lifted, counting);
  EXPECT_EQ(icon.pixels, original.pixels);
}

TEST(FlatMenuAccessKeys, EscapedAmpersandsCaseAndKeysSharedByItems) {
  EXPECT_EQ(AccessKey(L"E&xit"), L'x');
  EXPECT_EQ(AccessKey(L"Salt && &Pepper"), L'P');
  EXPECT_EQ(AccessKey(L"A&&B"), 0);
  EXPECT_EQ(AccessKey(L"Trailing&"), 0);
  EXPECT_EQ(AccessKey(L"Created"), 0);

  const std::vector<std::wstring> view{L"&Attributes", L"&Columns", L"-", L"&Show Folders"};
  const AccessKeyChoice show = ChooseByAccessKey(view, L's', -1);
  EXPECT_TRUE(show.index == 3 && show.execute);
  EXPECT_EQ(ChooseByAccessKey(view, L'C', 0).index, 1);
  EXPECT_EQ(ChooseByAccessKey(view, L'x', -1).index, -1);
  EXPECT_EQ(ChooseByAccessKey(view, L'&', -1).index, -1);

  // Items sharing a key are selected in turn from the highlighted one, wrapping at the end.
  const std::vector<std::wstring> shared{L"&Archive", L"&Normal", L"&Accessed", L"B&&&A"};
  const int expected[][2] = {{-1, 0}, {0, 2}, {2, 3}, {3, 0}, {1, 2}};
  for (const auto& [current, next] : expected) {
    const AccessKeyChoice c = ChooseByAccessKey(shared, L'a', current);
    EXPECT_TRUE(c.index == next && !c.execute) << current;
  }
}

}  // namespace
}  // namespace pw
