#pragma once
// A tree of menu items over HMENU handles. Each item is put into its parent's handle once, when it
// is added, and every later change (caption, image, check mark, enabled state, visibility) is made
// in place on that handle. Items reach their click handler through WM_COMMAND ids.
//
// Ownership: a sub-menu handle belongs to the handle it is attached to (DestroyMenu is recursive);
// an item owns its sub-menu itself only while it is hidden (detached). The root handle belongs to
// the Menu until it is handed to a window as its menu bar; then the window destroys it, unless the
// Menu takes it back first with DetachFromWindow.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Scoped.h"

namespace ui {

class Menu;

class MenuItem {
public:
  MenuItem(Menu& owner, MenuItem* parent, std::wstring name, std::wstring caption);
  ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::wstring Name;
  int Tag = 0;
  std::function<void(MenuItem&)> OnClick;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  // Shown at the right of the caption, as the system menus show key names ("F5").
  const std::wstring& ShortCut() const { return shortCut_; }
  void SetShortCut(const std::wstring& text);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  // Radio group among the siblings; 0 = none.
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int group);
  bool RadioItem() const { return groupIndex_ != 0; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other items of its group under the same parent.
  void SetChecked(bool checked);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool IsSeparator() const { return caption_ == L"-"; }

  MenuItem* Parent() const { return parent_; }
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  MenuItem& Add(std::wstring name, std::wstring caption);
  void Clear();  // removes and frees every sub-item, the last one first
  void Click();  // runs OnClick as a user's click does
  UINT Command() const { return command_; }
  HMENU SubMenu() const { return submenu_; }
  // Whether this is a top-level item of a menu bar.
  bool IsBarItem() const;
  // The item data its handle holds: screen readers find the item's text at its start (MSAA menu
  // information, as they read owner-drawn items), the menu finds the item behind it.
  ULONG_PTR ItemData() const { return reinterpret_cast<ULONG_PTR>(&data_); }

private:
  friend class Menu;
  HMENU Container() const;
  int Position() const;  // among the visible siblings
  void Insert();
  void Update(UINT mask);
  void Detach();
  void RefreshText();

  // Laid out as screen readers expect: their information first.
  struct Data {
    MSAAMENUINFO msaa;
    MenuItem* item;
  };

  Menu& owner_;
  MenuItem* parent_;
  std::wstring caption_;
  std::wstring shortCut_;
  std::wstring text_;  // caption and shortcut as the handle holds them, and as screen readers read them
  Data data_{};
  int imageIndex_ = -1;
  int groupIndex_ = 0;
  bool checked_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool inserted_ = false;
  UINT command_;
  HMENU submenu_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

// Measures and draws the items of a menu that is owner-drawn.
class MenuPainter {
public:
  virtual ~MenuPainter() = default;
  virtual void MeasureItem(MenuItem& item, HDC dc, int& width, int& height) = 0;
  virtual void DrawItem(MenuItem& item, const DRAWITEMSTRUCT& dis) = 0;
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
  // With a painter every item is owner-drawn by it, items added later too; nullptr: the system
  // draws the items with their images.
  void SetPainter(MenuPainter* painter);
  MenuPainter* Painter() const { return painter_; }

  // Makes the root handle the window's menu bar.
  void AttachToWindow(HWND wnd);
  // Takes the menu bar back from the window (before the window is destroyed).
  void DetachFromWindow();
  HWND Window() const { return window_; }

  MenuItem* FindCommand(UINT command) const;
  // The item of that name, at any depth, or nullptr.
  MenuItem* Find(std::wstring_view name) const;
  // WM_COMMAND from a menu: runs the item's click handler; false when the id is not ours.
  bool DispatchCommand(UINT command);
  // WM_MEASUREITEM / WM_DRAWITEM of our owner-drawn items; false when the item is not ours.
  bool MeasureItem(MEASUREITEMSTRUCT& mis);
  bool DrawItem(const DRAWITEMSTRUCT& dis);
  // Shows a pop-up menu at a screen point and runs the chosen item.
  void Popup(HWND owner, POINT screen);

private:
  friend class MenuItem;
  HBITMAP ItemBitmap(int imageIndex);
  MenuItem* OwnItem(ULONG_PTR itemData) const;
  void Redraw() const;
  void RefreshAll(MenuItem& parent);

  bool popup_;
  HMENU handle_;
  HIMAGELIST images_ = nullptr;
  MenuPainter* painter_ = nullptr;
  HWND window_ = nullptr;
  std::vector<ScopedBitmap> bitmaps_;  // one per image, made on demand
  MenuItem root_;                 // destroyed first, while the handles still exist
};

}  // namespace ui
