#include "ui/Menu.h"

#include "ui/Scoped.h"

namespace ui {

namespace {
UINT NextCommand() {
  static UINT next = 1000;
  return next++;
}
}  // namespace

MenuItem::MenuItem(Menu* owner, MenuItem* parent, std::wstring name, std::wstring caption)
    : Name(std::move(name)), owner_(owner), parent_(parent), caption_(std::move(caption)),
      command_(NextCommand()) {}

void MenuItem::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  owner_->Changed();
}

void MenuItem::SetImageIndex(int index) {
  imageIndex_ = index;
  owner_->Changed();
}

void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (checked && RadioItem && parent_) {
    for (auto& sibling : parent_->items_)
      if (sibling.get() != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex)
        sibling->checked_ = false;
  }
  owner_->Changed();
}

void MenuItem::SetVisible(bool visible) {
  visible_ = visible;
  owner_->Changed();
}

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  owner_->Changed();
}

MenuItem& MenuItem::Add(std::wstring name, std::wstring caption) {
  items_.push_back(std::make_unique<MenuItem>(owner_, this, std::move(name), std::move(caption)));
  owner_->Changed();
  return *items_.back();
}

void MenuItem::Clear() {
  while (!items_.empty()) items_.pop_back();
  owner_->Changed();
}

void MenuItem::Click() {
  if (OnClick) OnClick(*this);
}

Menu::Menu(bool popup) : popup_(popup), root_(this, nullptr, L"", L"") {
  Rebuild();
}

Menu::~Menu() {
  if (handle_ && !(window_ && GetMenu(window_) == handle_)) DestroyMenu(handle_);
  for (HBITMAP b : bitmaps_)
    if (b) DeleteObject(b);
}

void Menu::SetImages(HIMAGELIST images) {
  images_ = images;
  for (HBITMAP& b : bitmaps_) {
    if (b) DeleteObject(b);
    b = nullptr;
  }
  Changed();
}

void Menu::SetOwnerDraw(bool ownerDraw) {
  ownerDraw_ = ownerDraw;
  Changed();
}

void Menu::Changed() { Rebuild(); }

HBITMAP Menu::ItemBitmap(int imageIndex) {
  if (!images_ || imageIndex < 0 || imageIndex >= ImageList_GetImageCount(images_)) return nullptr;
  if (bitmaps_.size() <= static_cast<size_t>(imageIndex)) bitmaps_.resize(imageIndex + 1, nullptr);
  if (bitmaps_[imageIndex]) return bitmaps_[imageIndex];
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images_, &cx, &cy);
  // A 32-bit bitmap: the image drawn over a key colour, which is then replaced by the menu colour.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  WindowDC screen(nullptr);
  HBITMAP bmp = CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  {
    MemoryDC mem(screen.get());
    SelectObj sel(mem.get(), bmp);
    const COLORREF key = RGB(255, 0, 255);
    ScopedBrush keyBrush(CreateSolidBrush(key));
    RECT rc{0, 0, cx, cy};
    FillRect(mem.get(), &rc, keyBrush.get());
    ImageList_DrawEx(images_, imageIndex, mem.get(), 0, 0, cx, cy, CLR_NONE, CLR_NONE,
                     ILD_TRANSPARENT);
    GdiFlush();
    // Opaque, on the menu's own colour: not every menu drawer blends a bitmap's alpha.
    COLORREF menu = GetSysColor(COLOR_MENU);
    DWORD ground = 0xFF000000u | (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < cx * cy; ++i) px[i] = (px[i] & 0xFFFFFF) == 0xFF00FF ? ground : (px[i] | 0xFF000000u);
  }
  bitmaps_[imageIndex] = bmp;
  return bmp;
}

void Menu::Fill(HMENU menu, MenuItem& parent) {
  for (auto& item : parent.items_) {
    item->submenu_ = nullptr;
    if (!item->visible_) continue;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    mii.wID = item->command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    if (item->IsSeparator()) {
      mii.fType = MFT_SEPARATOR;
    } else {
      mii.fMask |= MIIM_STRING;
      mii.dwTypeData = const_cast<wchar_t*>(item->caption_.c_str());
      if (item->RadioItem) mii.fType |= MFT_RADIOCHECK;
    }
    if (ownerDraw_) mii.fType |= MFT_OWNERDRAW;
    mii.fState = (item->checked_ ? MFS_CHECKED : 0) | (item->enabled_ ? 0 : MFS_DISABLED);
    if (!item->items_.empty()) {
      item->submenu_ = CreatePopupMenu();
      Fill(item->submenu_, *item);
      mii.fMask |= MIIM_SUBMENU;
      mii.hSubMenu = item->submenu_;
    }
    if (!ownerDraw_ && !item->IsSeparator()) {
      if (HBITMAP bmp = ItemBitmap(item->imageIndex_)) {
        mii.fMask |= MIIM_BITMAP;
        mii.hbmpItem = bmp;
      }
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
  }
}

void Menu::Rebuild() {
  HMENU old = handle_;
  handle_ = popup_ ? CreatePopupMenu() : CreateMenu();
  Fill(handle_, root_);
  if (window_ && !popup_) {
    SetMenu(window_, handle_);
    DrawMenuBar(window_);
  }
  if (old) DestroyMenu(old);
}

namespace {
MenuItem* FindIn(MenuItem& parent, const std::function<bool(MenuItem&)>& match) {
  for (auto& item : parent.Items()) {
    if (match(*item)) return item.get();
    if (MenuItem* found = FindIn(*item, match)) return found;
  }
  return nullptr;
}
}  // namespace

MenuItem* Menu::FindCommand(UINT command) {
  return FindIn(root_, [command](MenuItem& i) { return i.Command() == command; });
}

MenuItem* Menu::FindName(const std::wstring& name) {
  return FindIn(root_, [&name](MenuItem& i) { return i.Name == name; });
}

bool Menu::DispatchCommand(UINT command) {
  MenuItem* item = FindCommand(command);
  if (!item) return false;
  if (item->Enabled() && item->Items().empty()) item->Click();
  return true;
}

bool Menu::MeasureItem(MEASUREITEMSTRUCT& mis) {
  if (mis.CtlType != ODT_MENU) return false;
  MenuItem* item = FindCommand(mis.itemID);
  if (!item || !item->OnMeasureItem) return false;
  WindowDC dc(nullptr);
  int w = static_cast<int>(mis.itemWidth), h = static_cast<int>(mis.itemHeight);
  item->OnMeasureItem(*item, dc.get(), w, h);
  mis.itemWidth = static_cast<UINT>(w);
  mis.itemHeight = static_cast<UINT>(h);
  return true;
}

bool Menu::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  MenuItem* item = FindCommand(dis.itemID);
  if (!item || !item->OnDrawItem) return false;
  item->OnDrawItem(*item, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
  return true;
}

void Menu::Popup(HWND owner, POINT screen) {
  UINT cmd = static_cast<UINT>(TrackPopupMenu(handle_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                              screen.x, screen.y, 0, owner, nullptr));
  if (cmd) DispatchCommand(cmd);
}

}  // namespace ui
