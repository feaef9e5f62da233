#pragma once
// Thin helpers over a SysListView32 window; the form receives its notifications.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace ui {

class ListView {
public:
  void Create(HWND parent, DWORD style, int id);
  HWND Handle() const { return hwnd_; }
  // format: LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER
  void AddColumn(const wchar_t* caption, int width, int format) const;
  int ColumnCount() const;
  int ColumnWidth(int column) const;
  // The list takes a column width only in the Details view; the header takes it in every view.
  void SetColumnWidth(int column, int width) const;
  HWND Header() const { return ListView_GetHeader(hwnd_); }

  int Count() const { return ListView_GetItemCount(hwnd_); }
  int SelectedCount() const { return static_cast<int>(ListView_GetSelectedCount(hwnd_)); }
  int FirstSelected() const;
  // The selected rows in list order. The walk stops at the end of the list and never steps
  // back, so it ends even where the control reports a selection in an empty list.
  std::vector<int> SelectedRows() const;
  int Focused() const { return ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED); }
  bool IsSelected(int index) const;
  // LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST or LV_VIEW_DETAILS
  void SetViewStyle(DWORD view) const { ListView_SetView(hwnd_, view); }
  DWORD ViewStyle() const { return ListView_GetView(hwnd_); }
  // The list's own visible flag, whether or not its window is on screen yet.
  bool Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
  void SetVisible(bool visible) const { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }

private:
  HWND hwnd_ = nullptr;
};

}  // namespace ui
