#pragma once
// A tree of menu items mirrored onto HMENU handles. The tree is the truth: captions, images,
// tags, check marks, radio groups, visibility and enabled state live here, and every change is
// carried to the menu handle at once. Items reach their click handler through WM_COMMAND ids.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Menu;

class MenuItem {
public:
  MenuItem(Menu* owner, MenuItem* parent, std::wstring name, std::wstring caption);

  const std::wstring Name;
  int Tag = 0;
  bool RadioItem = false;
  int GroupIndex = 0;
  std::function<void(MenuItem&)> OnClick;
  // Owner-draw hooks; when set (and the menu is owner-drawn) they measure and draw the item.
  std::function<void(MenuItem&, HDC, int& width, int& height)> OnMeasureItem;
  std::function<void(MenuItem&, HDC, const RECT&, bool selected)> OnDrawItem;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group under the same parent.
  void SetChecked(bool checked);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool IsSeparator() const { return caption_ == L"-"; }

  MenuItem* Parent() const { return parent_; }
  Menu* Owner() const { return owner_; }
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  MenuItem& Add(std::wstring name, std::wstring caption);
  void Clear();               // removes and frees every sub-item, the last one first
  void Click();               // runs OnClick as a user's click does
  UINT Command() const { return command_; }
  HMENU SubMenu() const { return submenu_; }

private:
  friend class Menu;
  Menu* owner_;
  MenuItem* parent_;
  std::wstring caption_;
  int imageIndex_ = -1;
  bool checked_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  UINT command_;
  HMENU submenu_ = nullptr;  // owned by the Menu's handle tree
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class Menu {
public:
  explicit Menu(bool popup);
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  MenuItem& Root() { return root_; }
  HMENU Handle() const { return handle_; }
  bool IsPopup() const { return popup_; }
  // Images shown beside the captions (not owned).
  void SetImages(HIMAGELIST images);
  HIMAGELIST Images() const { return images_; }
  void SetOwnerDraw(bool ownerDraw);
  bool OwnerDraw() const { return ownerDraw_; }
  // The window whose menu bar this is; it is redrawn after changes.
  void SetWindow(HWND wnd) { window_ = wnd; }

  MenuItem* FindCommand(UINT command);
  MenuItem* FindName(const std::wstring& name);
  // WM_COMMAND from a menu: runs the item's click handler; false when the id is not ours.
  bool DispatchCommand(UINT command);
  // WM_MEASUREITEM / WM_DRAWITEM for our items; false when the item is not ours.
  bool MeasureItem(MEASUREITEMSTRUCT& mis);
  bool DrawItem(const DRAWITEMSTRUCT& dis);
  // Shows a pop-up menu at a screen point and runs the chosen item.
  void Popup(HWND owner, POINT screen);

  // Rebuilds the handles from the tree.
  void Rebuild();

private:
  friend class MenuItem;
  void Fill(HMENU menu, MenuItem& parent);
  void Changed();
  HBITMAP ItemBitmap(int imageIndex);

  bool popup_;
  MenuItem root_;
  HMENU handle_ = nullptr;
  HIMAGELIST images_ = nullptr;
  bool ownerDraw_ = false;
  HWND window_ = nullptr;
  std::vector<HBITMAP> bitmaps_;  // one per image, made on demand
};

}  // namespace ui
