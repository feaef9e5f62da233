#include "menus/FlatMenuRenderer.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "menus/core/MenuAccessKey.h"
#include "menus/core/MenuLayout.h"
#include "menus/core/MenuPicture.h"
#include "ui/Dpi.h"
#include "ui/HighContrast.h"

namespace pw {

namespace {

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
         a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut &&
         a.lfCharSet == b.lfCharSet && a.lfOutPrecision == b.lfOutPrecision &&
         a.lfClipPrecision == b.lfClipPrecision && a.lfQuality == b.lfQuality &&
         a.lfPitchAndFamily == b.lfPitchAndFamily &&
         std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

SystemColors CurrentSystemColors() {
  return SystemColors{FromColorRef(GetSysColor(COLOR_BTNFACE)),
                      FromColorRef(GetSysColor(COLOR_HIGHLIGHT)),
                      FromColorRef(GetSysColor(COLOR_BTNSHADOW)),
                      FromColorRef(GetSysColor(COLOR_MENUTEXT)),
                      FromColorRef(GetSysColor(COLOR_INACTIVECAPTION)),
                      FromColorRef(GetSysColor(COLOR_MENU)),
                      FromColorRef(GetSysColor(COLOR_HIGHLIGHTTEXT)),
                      FromColorRef(GetSysColor(COLOR_GRAYTEXT))};
}

const ui::MenuItem* FindSubMenu(const ui::MenuItem& parent, HMENU handle) {
  for (const auto& item : parent.Items()) {
    if (item->SubMenu() == handle) return item.get();
    if (const ui::MenuItem* found = FindSubMenu(*item, handle)) return found;
  }
  return nullptr;
}

}  // namespace

TFlatMenuRenderer::TFlatMenuRenderer(ui::Window& owner, std::vector<ui::Menu*> menus)
    : owner_(owner), menus_(std::move(menus)), dpi_(ui::SystemDpi()) {
  // Should the system not tell its menu font, text is drawn in the default GUI font.
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fontDescription_), &fontDescription_);
  TakeFont(fontDescription_);
  ResetToMenuFont();
}

TFlatMenuRenderer::~TFlatMenuRenderer() { InstallHandlers(false); }

void TFlatMenuRenderer::SetProperties(const FlatMenuProperties& props) {
  const bool active = props_.Active;
  props_ = props;
  props_.Active = active;
  RedrawMenuBar();
  SetActive(props.Active);
}

void TFlatMenuRenderer::SetActive(bool active) {
  props_.Active = active;
  InstallHandlers(false);
  if (active) InstallHandlers(true);
  RedrawMenuBar();
}

void TFlatMenuRenderer::SetFont(const LOGFONTW& font, const ColorValue& color) {
  TakeFont(font);
  props_.FontColor = color;
  RedrawMenuBar();
}

bool TFlatMenuRenderer::ResetToMenuFont() {
  NONCLIENTMETRICSW metrics{};
  if (!ui::NonClientMetricsForDpi(metrics, dpi_)) return false;
  LOGFONTW font = metrics.lfMenuFont;
  const std::wstring face(MenuFontFace(font.lfFaceName));
  lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  TakeFont(font);
  props_.FontColor = SystemColor::MenuText;
  return true;
}

void TFlatMenuRenderer::SetDpi(UINT dpi) {
  dpi_ = dpi;
  // Items are measured before any is drawn; they are measured in the font for the new DPI.
  if (props_.UseSystemColors) ResetToMenuFont();
  RedrawMenuBar();
}

FlatMenuProperties TFlatMenuRenderer::ScaledProperties() const {
  FlatMenuProperties props = props_;
  props.IconWidth = ui::Scale(props_.IconWidth, dpi_);
  return props;
}

void TFlatMenuRenderer::TakeFont(const LOGFONTW& font) {
  // Every item drawing resets the font with system colours; the object is only made anew when the
  // font really changes.
  if (font_ && SameFont(font, fontDescription_)) return;
  HFONT made = CreateFontIndirectW(&font);
  if (!made) return;
  font_.reset(made);
  fontDescription_ = font;
}

// In this program a menu has one painter where each item once had a draw and a measure handler:
// installing sets the painter of every menu that has items, removing takes it away again.
void TFlatMenuRenderer::InstallHandlers(bool on) {
  for (ui::Menu* menu : menus_) {
    if (menu->Root().Items().empty()) continue;
    if (on) {
      if (!menu->Painter() || props_.OverrideOwnerDraw) menu->SetPainter(this);
    } else if (menu->Painter() == this) {
      menu->SetPainter(nullptr);
    }
  }
}

void TFlatMenuRenderer::RefreshHandlers(ui::MenuItem& item) {
  ui::Menu* menu = MenuOf(item);
  if (menu && menu->Painter() != this && (!menu->Painter() || props_.OverrideOwnerDraw))
    menu->SetPainter(this);
}

ui::Menu* TFlatMenuRenderer::MenuOf(const ui::MenuItem& item) const {
  const ui::MenuItem* root = &item;
  while (root->Parent()) root = root->Parent();
  for (ui::Menu* menu : menus_)
    if (&menu->Root() == root) return menu;
  return nullptr;
}

const ui::MenuItem* TFlatMenuRenderer::ParentOfHandle(HMENU handle) const {
  for (ui::Menu* menu : menus_) {
    if (menu->Handle() == handle) return &menu->Root();
    if (const ui::MenuItem* found = FindSubMenu(menu->Root(), handle)) return found;
  }
  return nullptr;
}

std::optional<MenuSize> TFlatMenuRenderer::ItemImage(const ui::MenuItem& item) const {
  const ui::Menu* menu = MenuOf(item);
  int width = 0, height = 0;
  if (!menu || !menu->Images() || item.ImageIndex() == -1 ||
      !ImageList_GetIconSize(menu->Images(), &width, &height))
    return std::nullopt;
  return MenuSize{width, height};
}

MenuSize TFlatMenuRenderer::ItemIconSize(const ui::MenuItem& item) const {
  return pw::ItemIconSize(item.IsBarItem(), ItemImage(item), MenuSize{}, ui::Scale(props_.IconWidth, dpi_));
}

EffectiveColors TFlatMenuRenderer::ComputeColors(const MenuCanvas& canvas) {
  if (props_.UseSystemColors) ResetToMenuFont();
  return pw::ComputeColors(props_, canvas.BitsPerPixel(), CurrentSystemColors(), canvas.NearestFunction(),
                           ui::HighContrastOn());
}

void TFlatMenuRenderer::HandleMeasureItem(ui::MenuItem& item, HDC dc, int& width, int& height) {
  if (!props_.Active) return;
  ui::SelectObj selFont(dc, font_.get());
  const TextExtent extent = [dc](std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return MenuSize{size.cx, size.cy};
  };
  const MenuSize size = MeasureMenuItem(item.Caption(), item.ShortCut(), extent, ItemIconSize(item),
                                        {width, height}, static_cast<int>(dpi_));
  width = size.width;
  height = size.height;
}

void TFlatMenuRenderer::HandleDrawItem(ui::MenuItem& item, const DRAWITEMSTRUCT& dis) {
  if (!props_.Active) return;
  const MenuCanvas canvas(dis.hDC);
  const EffectiveColors colors = ComputeColors(canvas);

  // For a menu item hwndItem is the menu that holds it.
  const HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!GetMenuItemInfoW(menu, dis.itemID, FALSE, &info)) info.fType = info.fState = 0;
  const bool rightToLeft = (info.fType & MFT_RIGHTORDER) != 0;

  ui::ScopedFont arabic;
  if (rightToLeft) {
    LOGFONTW font = fontDescription_;
    font.lfCharSet = ARABIC_CHARSET;
    arabic.reset(CreateFontIndirectW(&font));
  }
  ui::SelectObj selFont(dis.hDC, arabic ? arabic.get() : font_.get());
  SIZE letter{};
  GetTextExtentPoint32W(dis.hDC, L"W", 1, &letter);

  MenuItemDraw draw;
  draw.rect = {dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom};
  draw.caption = item.Caption();
  draw.shortcut = item.ShortCut();
  draw.image = ItemImage(item);
  draw.textHeight = letter.cy;
  draw.iconTop = ui::Scale(draw.iconTop, dpi_);
  draw.menuBarItem = item.IsBarItem();
  draw.selected = (dis.itemState & ODS_SELECTED) != 0;
  draw.enabled = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) == 0;
  draw.checked = (dis.itemState & ODS_CHECKED) != 0;
  draw.radioItem = item.RadioItem();
  draw.defaultItem = (dis.itemState & ODS_DEFAULT) != 0 || (info.fState & MFS_DEFAULT) != 0;
  draw.rightToLeft = rightToLeft;

  const MenuItemPicture picture = DrawItemPicture(draw, ScaledProperties(), colors, canvas.NearestFunction());
  const ui::Menu* owning = MenuOf(item);
  canvas.Run(picture.ops, owning ? owning->Images() : nullptr, item.ImageIndex());
  if (picture.popupFrame) {
    const HWND window = WindowFromDC(dis.hDC);
    if (window && window != owner_.Handle()) DrawPopupFrame(window, menu, rightToLeft, colors);
  }
  RefreshHandlers(item);
}

void TFlatMenuRenderer::DrawPopupFrame(HWND window, HMENU menu, bool rightToLeft,
                                       const EffectiveColors& colors) const {
  RECT bounds{};
  if (!GetWindowRect(window, &bounds)) return;
  // The window's own DC, not the screen's: drawing on the desktop does not reach the pop-up window
  // everywhere (not under Wine). In window coordinates the frame lies in the outermost pixels.
  ui::WholeWindowDC dc(window);
  if (!dc) return;
  // The frame keeps off the items. Some systems draw a menu's border inside its client area, so
  // the items, not the client area, mark what belongs to the menu.
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    RECT item{};
    if (GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item))
      ExcludeClipRect(dc.get(), item.left - bounds.left, item.top - bounds.top,
                      item.right - bounds.left, item.bottom - bounds.top);
  }
  const MenuRect frame{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  MenuCanvas(dc.get()).Run(
      pw::DrawPopupFrame(frame, ui::Scale(props_.IconWidth, dpi_), props_.Gradient, rightToLeft, colors),
      nullptr, -1);
}

void TFlatMenuRenderer::RedrawMenuBar() const {
  const HWND wnd = owner_.Handle();
  if (wnd && GetMenu(wnd)) DrawMenuBar(wnd);
}

LRESULT TFlatMenuRenderer::HandleMenuChar(wchar_t key, HMENU menu) const {
  const ui::MenuItem* parent = ParentOfHandle(menu);
  if (!parent) return 0;
  // The handle holds the visible items only, in their order.
  std::vector<std::wstring> captions;
  for (const auto& child : parent->Items())
    if (child->Visible()) captions.push_back(child->Caption());
  int highlighted = -1;
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) highlighted = i;
  const AccessKeyChoice choice = ChooseByAccessKey(captions, key, highlighted);
  if (choice.index < 0) return 0;
  return MAKELRESULT(choice.index, choice.execute ? MNC_EXECUTE : MNC_SELECT);
}

}  // namespace pw
