#pragma once
// The common status bar with fixed-width panels. Screen readers read it as a status bar whose parts
// are the panels, each named by what it shows.
#include <windows.h>

#include "ui/Accessible.h"
#include "ui/Subclass.h"

#include <string>
#include <span>

namespace ui {

class StatusBar {
public:
  StatusBar() = default;
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;

  void Create(HWND parent, int height, std::span<const int> widths);
  // The least height and the panels' widths, left to right (after a change of DPI, say).
  void SetLayout(int height, std::span<const int> widths) const;
  HWND Handle() const { return hwnd_; }
  void SetText(int panel, const std::wstring& text) const;
  std::wstring Text(int panel) const;

private:
  AccessibleFacts Facts(int part) const;

  HWND hwnd_ = nullptr;
  Subclass access_;
  AccessibleControl accessible_;
};

}  // namespace ui
