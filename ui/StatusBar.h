#pragma once
// The common status bar with fixed-width panels.
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class StatusBar {
public:
  void Create(HWND parent, int height, const std::vector<int>& widths);
  HWND Handle() const { return hwnd_; }
  void SetText(int panel, const std::wstring& text) const;
  std::wstring Text(int panel) const;
  int Height() const { return height_; }

private:
  HWND hwnd_ = nullptr;
  int height_ = 0;
};

}  // namespace ui
