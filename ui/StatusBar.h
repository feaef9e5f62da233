#pragma once
// The common status bar with fixed-width panels.
#include <windows.h>

#include <string>
#include <span>

namespace ui {

class StatusBar {
public:
  void Create(HWND parent, int height, std::span<const int> widths);
  // The least height and the panels' widths, left to right (after a change of DPI, say).
  void SetLayout(int height, std::span<const int> widths) const;
  HWND Handle() const { return hwnd_; }
  void SetText(int panel, const std::wstring& text) const;
  std::wstring Text(int panel) const;

private:
  HWND hwnd_ = nullptr;
};

}  // namespace ui
