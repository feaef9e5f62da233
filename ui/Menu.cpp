#include "ui/Menu.h"

#include <utility>

#include "ui/Pictures.h"
#include "ui/Scoped.h"
#include "ui/core/AccessibleText.h"

namespace ui {

namespace {
UINT NextCommand() {
  static UINT next = 1000;
  return next++;
}
}  // namespace

// --- MenuItem ------------------------------------------------------------------------------------

MenuItem::MenuItem(Menu& owner, MenuItem* parent, std::wstring name, std::wstring caption)
    : Name(std::move(name)), owner_(owner), parent_(parent), caption_(std::move(caption)),
      command_(NextCommand()) {
  data_.msaa.dwMSAASignature = MSAA_MENU_SIG;
  data_.item = this;
  RefreshText();
}

void MenuItem::RefreshText() {
  text_ = pw::MenuItemText(caption_, shortCut_);
  data_.msaa.cchWText = static_cast<DWORD>(text_.size());
  data_.msaa.pszWText = text_.data();
}

MenuItem::~MenuItem() {
  // Children first: their handles live inside ours.
  while (!items_.empty()) items_.pop_back();
  if (owner_.handle_ == nullptr) return;  // the window took every handle with it
  if (inserted_) {
    DeleteMenu(Container(), static_cast<UINT>(Position()), MF_BYPOSITION);  // takes the sub-menu
  } else if (submenu_) {
    DestroyMenu(submenu_);
  }
}

HMENU MenuItem::Container() const { return parent_ ? parent_->submenu_ : owner_.handle_; }

int MenuItem::Position() const {
  const auto& siblings = parent_ ? parent_->items_ : owner_.root_.items_;
  int position = 0;
  for (const auto& s : siblings) {
    if (s.get() == this) break;
    if (s->inserted_) ++position;
  }
  return position;
}

bool MenuItem::IsBarItem() const { return !owner_.popup_ && parent_ == &owner_.root_; }

MenuItem& MenuItem::Add(std::wstring name, std::wstring caption) {
  if (!submenu_ && this != &owner_.root_) {
    submenu_ = CreatePopupMenu();
    if (inserted_) Update(MIIM_SUBMENU);
  }
  items_.push_back(std::make_unique<MenuItem>(owner_, this, std::move(name), std::move(caption)));
  MenuItem& item = *items_.back();
  item.Insert();
  owner_.Redraw();
  return item;
}

void MenuItem::Clear() {
  while (!items_.empty()) items_.pop_back();
  owner_.Redraw();
}

void MenuItem::Click() {
  // A handler may rebuild the menu that holds this item (opening a bookmark does), so it runs from
  // a copy that outlives the item.
  if (const auto click = OnClick) click(*this);
}

void MenuItem::Insert() {
  if (!visible_ || inserted_ || !Container()) return;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_DATA;
  mii.wID = command_;
  mii.dwItemData = ItemData();
  InsertMenuItemW(Container(), static_cast<UINT>(Position()), TRUE, &mii);
  inserted_ = true;
  Update(MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_BITMAP | MIIM_SUBMENU);
}

void MenuItem::Detach() {
  if (!inserted_) return;
  // RemoveMenu, unlike DeleteMenu, leaves the sub-menu alive: the item keeps it while hidden.
  RemoveMenu(Container(), static_cast<UINT>(Position()), MF_BYPOSITION);
  inserted_ = false;
}

void MenuItem::Update(UINT mask) {
  if (!inserted_) return;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = mask;
  if (mask & MIIM_FTYPE) {
    if (IsSeparator()) mii.fType = MFT_SEPARATOR;
    if (RadioItem()) mii.fType |= MFT_RADIOCHECK;
    if (owner_.painter_) mii.fType |= MFT_OWNERDRAW;
  }
  if (mask & MIIM_STATE)
    mii.fState = (checked_ ? MFS_CHECKED : 0u) | (enabled_ ? 0u : MFS_DISABLED);
  if (mask & MIIM_STRING) {
    if (IsSeparator()) {
      mii.fMask &= ~MIIM_STRING;
    } else {
      mii.dwTypeData = text_.data();
    }
  }
  if (mask & MIIM_BITMAP)
    mii.hbmpItem = owner_.painter_ || IsSeparator() ? nullptr : owner_.ItemBitmap(imageIndex_);
  if (mask & MIIM_SUBMENU) mii.hSubMenu = submenu_;
  SetMenuItemInfoW(Container(), static_cast<UINT>(Position()), TRUE, &mii);
  owner_.Redraw();
}

void MenuItem::SetCaption(const std::wstring& caption) {
  bool wasSeparator = IsSeparator();
  caption_ = caption;
  RefreshText();
  Update(MIIM_STRING | (wasSeparator != IsSeparator() ? MIIM_FTYPE : 0u));
}

void MenuItem::SetShortCut(const std::wstring& text) {
  shortCut_ = text;
  RefreshText();
  Update(MIIM_STRING);
}

void MenuItem::SetImageIndex(int index) {
  imageIndex_ = index;
  Update(MIIM_BITMAP);
}

void MenuItem::SetGroupIndex(int group) {
  groupIndex_ = group;
  Update(MIIM_FTYPE);
}

void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  Update(MIIM_STATE);
  if (checked && RadioItem() && parent_) {
    for (auto& sibling : parent_->items_) {
      if (sibling.get() != this && sibling->groupIndex_ == groupIndex_ && sibling->checked_) {
        sibling->checked_ = false;
        sibling->Update(MIIM_STATE);
      }
    }
  }
}

void MenuItem::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (visible) Insert();
  else Detach();
  owner_.Redraw();
}

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update(MIIM_STATE);
}

// --- Menu ----------------------------------------------------------------------------------------

Menu::Menu(bool popup)
    : popup_(popup), handle_(popup ? CreatePopupMenu() : CreateMenu()), root_(*this, nullptr, L"", L"") {
  root_.submenu_ = handle_;  // the root's children live directly in the menu's handle
  root_.inserted_ = false;
}

Menu::~Menu() {
  if (window_ && !IsWindow(window_)) {
    handle_ = nullptr;  // destroyed with its window, sub-menus and all
  } else if (window_) {
    DetachFromWindow();
  }
  root_.Clear();
  root_.submenu_ = nullptr;
  if (handle_) DestroyMenu(handle_);
  handle_ = nullptr;
}

void Menu::AttachToWindow(HWND wnd) {
  window_ = wnd;
  SetMenu(wnd, handle_);
  DrawMenuBar(wnd);
}

void Menu::DetachFromWindow() {
  if (window_ && IsWindow(window_) && GetMenu(window_) == handle_) SetMenu(window_, nullptr);
  window_ = nullptr;
}

void Menu::Redraw() const {
  if (window_ && !popup_) DrawMenuBar(window_);
}

void Menu::SetImages(HIMAGELIST images) {
  images_ = images;
  // The old bitmaps are freed only once every item holds a new one.
  const std::vector<ScopedBitmap> old = std::exchange(bitmaps_, {});
  RefreshAll(root_);
}

void Menu::SetPainter(MenuPainter* painter) {
  painter_ = painter;
  RefreshAll(root_);
  Redraw();
}

void Menu::RefreshAll(MenuItem& parent) {
  for (auto& item : parent.items_) {
    item->Update(MIIM_FTYPE | MIIM_BITMAP);
    RefreshAll(*item);
  }
}

HBITMAP Menu::ItemBitmap(int imageIndex) {
  if (!images_ || imageIndex < 0 || imageIndex >= ImageList_GetImageCount(images_)) return nullptr;
  if (bitmaps_.size() <= static_cast<size_t>(imageIndex)) bitmaps_.resize(static_cast<size_t>(imageIndex) + 1);
  if (bitmaps_[imageIndex]) return bitmaps_[imageIndex].get();
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images_, &cx, &cy);
  // A 32-bit bitmap: the image drawn over a key colour, which is then replaced by the menu colour.
  WindowDC screen(nullptr);
  DWORD* px = nullptr;
  ScopedBitmap bmp = CreateTopDownBitmap(screen.get(), cx, cy, &px);
  if (!bmp) return nullptr;
  {
    MemoryDC mem(screen.get());
    SelectObj sel(mem.get(), bmp.get());
    const COLORREF key = RGB(255, 0, 255);
    ScopedBrush keyBrush(CreateSolidBrush(key));
    RECT rc{0, 0, cx, cy};
    FillRect(mem.get(), &rc, keyBrush.get());
    ImageList_DrawEx(images_, imageIndex, mem.get(), 0, 0, cx, cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    GdiFlush();
    // Opaque, on the menu's own colour: not every menu drawer blends a bitmap's alpha.
    COLORREF menu = GetSysColor(COLOR_MENU);
    DWORD ground = 0xFF000000u | (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
    for (int i = 0; i < cx * cy; ++i) px[i] = (px[i] & 0xFFFFFF) == 0xFF00FF ? ground : (px[i] | 0xFF000000u);
  }
  bitmaps_[imageIndex] = std::move(bmp);
  return bitmaps_[imageIndex].get();
}

namespace {
template <class Match>
MenuItem* FindIn(const MenuItem& parent, const Match& match) {
  for (auto& item : parent.Items()) {
    if (match(*item)) return item.get();
    if (MenuItem* found = FindIn(*item, match)) return found;
  }
  return nullptr;
}
}  // namespace

MenuItem* Menu::FindCommand(UINT command) const {
  return FindIn(root_, [command](const MenuItem& item) { return item.Command() == command; });
}

MenuItem* Menu::Find(std::wstring_view name) const {
  return FindIn(root_, [name](const MenuItem& item) { return item.Name == name; });
}

MenuItem* Menu::OwnItem(ULONG_PTR itemData) const {
  // Every item of ours carries its Data; an item of another menu is not ours.
  const auto* data = reinterpret_cast<const MenuItem::Data*>(itemData);
  if (!data || data->msaa.dwMSAASignature != MSAA_MENU_SIG) return nullptr;
  return &data->item->owner_ == this ? data->item : nullptr;
}

bool Menu::DispatchCommand(UINT command) {
  MenuItem* item = FindCommand(command);
  if (!item) return false;
  if (item->Enabled() && item->Items().empty()) item->Click();
  return true;
}

bool Menu::MeasureItem(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU || !painter_) return false;
  MenuItem* item = OwnItem(mis.itemData);
  if (!item) return false;
  WindowDC dc(nullptr);
  int w = static_cast<int>(mis.itemWidth), h = static_cast<int>(mis.itemHeight);
  painter_->MeasureItem(*item, dc.get(), w, h);
  mis.itemWidth = static_cast<UINT>(w);
  mis.itemHeight = static_cast<UINT>(h);
  return true;
}

bool Menu::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU || !painter_) return false;
  MenuItem* item = OwnItem(dis.itemData);
  if (!item) return false;
  painter_->DrawItem(*item, dis);
  return true;
}

void Menu::Popup(HWND owner, POINT screen) {
  UINT cmd = static_cast<UINT>(TrackPopupMenu(handle_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                              screen.x, screen.y, 0, owner, nullptr));
  if (cmd) DispatchCommand(cmd);
}

}  // namespace ui
