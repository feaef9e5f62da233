#pragma once
// Colours of the flat menus, free of any window: the three colour functions, the renderer's
// properties with their defaults and the main window's values, and the effective colours every
// item drawing starts from.
#include <cstdint>
#include <functional>
#include <string_view>
#include <variant>
#include <vector>

namespace pw {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kSilver{192, 192, 192};

// The nearest colour the drawing device can show (GetNearestColor on the item's DC). Every colour
// the renderer derives goes through it, so a palette display never dithers a menu.
using NearestColor = std::function<Rgb(Rgb)>;

// num / den rounded to the nearest integer, halves to the even neighbour; den must be positive.
int RoundHalfEven(int num, int den);

// Each channel x moves toward white: x + round((255 - x) * percent / 100), halves to even;
// percent is held within 0..100.
Rgb Lighten(Rgb c, int percent);
// Red and blue lowered by amount, green by amount - 2, each clamped to 0..255; a negative amount
// brightens.
Rgb Darken(Rgb c, int amount);
// The grey (g, g, g) with g = (r + g + b) / 3 + amount (amount at most 100), g at most 240.
Rgb Grey(Rgb c, int amount);

// The system colours the renderer reads (GetSysColor: COLOR_BTNFACE, COLOR_HIGHLIGHT,
// COLOR_BTNSHADOW, COLOR_MENUTEXT, COLOR_INACTIVECAPTION; under high contrast also COLOR_MENU,
// COLOR_HIGHLIGHTTEXT and COLOR_GRAYTEXT).
enum class SystemColor { ButtonFace, Highlight, ButtonShadow, MenuText, InactiveCaption };

struct SystemColors {
  Rgb ButtonFace;
  Rgb Highlight;
  Rgb ButtonShadow;
  Rgb MenuText;
  Rgb InactiveCaption;
  Rgb Menu;
  Rgb HighlightText;
  Rgb GrayText;
};

// A property's colour: fixed, or a system colour taken at its current value when drawing.
using ColorValue = std::variant<Rgb, SystemColor>;
Rgb Resolve(const ColorValue& value, const SystemColors& system);

// The renderer's published properties except the font object itself, of which only the colour
// matters here. The initialisers are the values a new renderer starts with; SelectFontColor is
// the menu text colour the font takes when the system hands out its menu font.
struct FlatMenuProperties {
  ColorValue FontColor = SystemColor::MenuText;
  ColorValue Color = SystemColor::ButtonFace;
  ColorValue IconBackColor = SystemColor::ButtonFace;
  ColorValue MenuBarColor = SystemColor::ButtonFace;
  ColorValue SelectColor = SystemColor::Highlight;
  ColorValue SelectBorderColor = SystemColor::Highlight;
  ColorValue SelectFontColor = SystemColor::MenuText;
  ColorValue DisabledColor = SystemColor::InactiveCaption;
  ColorValue SeparatorColor = SystemColor::ButtonFace;
  ColorValue CheckedColor = SystemColor::Highlight;
  int IconWidth = 24;
  bool DrawSelect = true;
  bool UseSystemColors = true;
  bool OverrideOwnerDraw = false;
  bool Gradient = false;
  bool FlatMenu = false;
  bool AutoDetect = false;
  bool Active = false;
};

// The main window's renderer: its colours and flags match a new renderer's except that it frames
// its pop-up menus and is switched on. Its font is Tahoma with an 11-pixel character height
// (lfHeight -11) in the menu text colour.
inline const FlatMenuProperties kMainWindowFlatMenu{.FlatMenu = true, .Active = true};
inline constexpr std::wstring_view kMainWindowMenuFontName = L"Tahoma";
inline constexpr int kMainWindowMenuFontHeight = 11;

// The face the menu font gets from the system's menu font: "MS Sans Serif" is a bitmap font that
// looks coarse next to the icons, so it becomes "Tahoma".
std::wstring_view MenuFontFace(std::wstring_view systemFace);

// The colours one item is drawn with, recomputed for every item so changes of the system colours
// or of the colour depth show at once.
struct EffectiveColors {
  bool DeepColor = false;  // 16 or more bits per pixel
  // The user asked for high contrast: only the scheme's own colours are drawn, no colour is
  // derived from them (no lightening, shadows or gradients), icons show as silhouettes.
  bool HighContrast = false;
  Rgb FontColor;
  Rgb Color;
  Rgb IconBackColor;
  Rgb SelectColor;
  Rgb SelectBorderColor;
  Rgb SelectFontColor;
  Rgb MenuBarColor;
  Rgb DisabledColor;
  Rgb CheckedColor;
  Rgb SeparatorColor;
  Rgb CheckFillColor;
  Rgb CheckFillSelectedColor;
  Rgb FrameColor;
  Rgb ShadowColor;
};

// With UseSystemColors the caller first gives the font the system's menu font; when that succeeds
// FontColor must already be SystemColor::MenuText, since SelectFontColor follows the font.
// Under high contrast the properties give way to the scheme: menu and menu text, highlight and
// highlight text, grey text for disabled items; the frame in the menu text colour, no shadow.
EffectiveColors ComputeColors(const FlatMenuProperties& props, int bitsPerPixel,
                              const SystemColors& system, const NearestColor& nearest,
                              bool highContrast = false);

// The text colour of the open menu-bar item: the font's colour on a light icon column, else a
// strong lightening of the icon column's colour; under high contrast the highlight's text colour.
Rgb BarTextColor(const EffectiveColors& colors, const NearestColor& nearest);

// The lightening amounts of the gradient's one-pixel columns, counted from the edge the gradient
// starts at: each column adds 3 inside the icon column band (past the first column, before
// iconWidth + 5), else 1, and the running amount stops at 96.
std::vector<int> GradientAmounts(int columns, int iconWidth);

}  // namespace pw
