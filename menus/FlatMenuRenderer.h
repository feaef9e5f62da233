#pragma once
// Draws every item of a form's menu bar and pop-up menus flat: an icon column along the left edge,
// a flat selection rectangle, its own check and radio marks, lightened, lifted and greyed icons,
// thin separators, a raised tab for the open menu-bar item and, with FlatMenu, a frame and drop
// shadow around each pop-up menu window. It works entirely through the owner-draw protocol, as the
// painter of the form's menus: the form hands it WM_MEASUREITEM and WM_DRAWITEM through them.
#include <windows.h>

#include <optional>
#include <vector>

#include "menus/MenuCanvas.h"
#include "menus/core/MenuColors.h"
#include "ui/Menu.h"
#include "ui/Scoped.h"
#include "ui/Window.h"

namespace pw {

class TFlatMenuRenderer : public ui::MenuPainter {
public:
  // owner: the form whose menus are drawn (its window may not exist yet); menus: its main menu and
  // pop-up menus. The font starts as the system's menu font; nothing is drawn until Active.
  TFlatMenuRenderer(ui::Window& owner, std::vector<ui::Menu*> menus);
  // Hands the menus back to the system's drawing.
  ~TFlatMenuRenderer() override;
  TFlatMenuRenderer(const TFlatMenuRenderer&) = delete;
  TFlatMenuRenderer& operator=(const TFlatMenuRenderer&) = delete;

  const FlatMenuProperties& Properties() const { return props_; }
  // Takes every property, as a form's stored values are applied: the menu bar is redrawn at once
  // and Active is set last, which installs afresh; the other values show at the next drawing.
  void SetProperties(const FlatMenuProperties& props);
  bool Active() const { return props_.Active; }
  // On: installs afresh (off, then on); off: hands the menus back. Redraws the menu bar.
  void SetActive(bool active);

  // Copies the font; the colour is the text colour of items that are neither selected nor disabled.
  // The font is taken as it is: it should already be the size for the DPI.
  void SetFont(const LOGFONTW& font, const ColorValue& color);
  // Gives the font the system's menu font at the DPI ("MS Sans Serif" becomes "Tahoma") in the menu
  // text colour; false, with the font left as it was, when the system does not tell its metrics.
  bool ResetToMenuFont();

  // The DPI of the owner window. IconWidth and the other sizes are given for 96 DPI and drawn
  // scaled to it; with UseSystemColors the font becomes the system's menu font at this DPI.
  void SetDpi(UINT dpi);
  UINT Dpi() const { return dpi_; }

  // Makes the renderer the painter of the owner's menus (on) or takes it away (off). A menu that
  // has another painter keeps it unless OverrideOwnerDraw; switching off removes only this one.
  void InstallHandlers(bool on);
  // Run after each item drawn: its menu keeps this painter. Items added to a menu later need
  // nothing more: a menu with a painter makes every item it inserts owner-drawn.
  void RefreshHandlers(ui::MenuItem& item);

  // The painter's two calls; both do nothing while not Active.
  void MeasureItem(ui::MenuItem& item, HDC dc, int& width, int& height) override {
    HandleMeasureItem(item, dc, width, height);
  }
  void DrawItem(ui::MenuItem& item, const DRAWITEMSTRUCT& dis) override { HandleDrawItem(item, dis); }
  // Widens and heightens the size the menu proposes to what the item needs.
  void HandleMeasureItem(ui::MenuItem& item, HDC dc, int& width, int& height);
  void HandleDrawItem(ui::MenuItem& item, const DRAWITEMSTRUCT& dis);

  // WM_MENUCHAR: owner-drawn items are not searched for their access keys by every system. The
  // answer for the item of `menu` whose access key is `key`, or 0 when no item has it.
  LRESULT HandleMenuChar(wchar_t key, HMENU menu) const;

private:
  // The properties with their sizes at the DPI.
  FlatMenuProperties ScaledProperties() const;
  // The colours of one item drawing on the canvas; with UseSystemColors also resets the font.
  EffectiveColors ComputeColors(const MenuCanvas& canvas);
  void TakeFont(const LOGFONTW& font);
  ui::Menu* MenuOf(const ui::MenuItem& item) const;
  const ui::MenuItem* ParentOfHandle(HMENU handle) const;
  std::optional<MenuSize> ItemImage(const ui::MenuItem& item) const;
  MenuSize ItemIconSize(const ui::MenuItem& item) const;
  // The frame and drop shadow of the pop-up menu window that holds the items of menu.
  void DrawPopupFrame(HWND window, HMENU menu, bool rightToLeft, const EffectiveColors& colors) const;
  void RedrawMenuBar() const;

  ui::Window& owner_;
  std::vector<ui::Menu*> menus_;
  FlatMenuProperties props_;
  UINT dpi_;
  LOGFONTW fontDescription_{};
  ui::ScopedFont font_;
};

}  // namespace pw
