#pragma once
// The main window's layout in pixels at 96 dots per inch: used, scaled to the window's DPI, when
// the controls are made, whenever the window changes size and when it moves to another DPI.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <iterator>

#include "ui/core/DpiScale.h"

namespace layout {

inline constexpr int WindowWidth = 632, WindowHeight = 376;
inline constexpr int MinWidth = 400, MinHeight = 250;
inline constexpr int FontPoints = 8;  // Tahoma; -11 pixels at 96 dots per inch

inline constexpr int ToolbarHeight = 29;
inline constexpr int Bevel1Left = 54, Bevel2Left = 160;
inline constexpr int TextButtonWidth = 65, RightButtonGap = 3;  // Update and Cancel, anchored right

inline constexpr int FilenameHeight = 19;
inline constexpr int PathLeft = 4, PathTop = 3, PathHeight = 14, PathWidthLoss = 8;

inline constexpr int StatusHeight = 19;
inline constexpr int StatusPanels[] = {100, 100, 192};

inline std::array<int, std::size(StatusPanels)> StatusPanelsAt(int dpi) {
  std::array<int, std::size(StatusPanels)> widths{};
  for (size_t i = 0; i < widths.size(); ++i) widths[i] = pw::ScaleToDpi(StatusPanels[i], dpi);
  return widths;
}

struct Column {
  const wchar_t* Caption;
  int Width;
  int Format;  // LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER
};

inline constexpr Column FileColumns[] = {
    {L"Name", 110, LVCFMT_LEFT},      {L"Size", 60, LVCFMT_RIGHT},      {L"Type", 64, LVCFMT_LEFT},
    {L"Created", 110, LVCFMT_LEFT},   {L"Modified", 110, LVCFMT_LEFT},  {L"Accessed", 110, LVCFMT_LEFT},
    {L"Attributes", 40, LVCFMT_LEFT}};
inline constexpr Column DriveColumns[] = {
    {L"Name", 160, LVCFMT_LEFT},       {L"Type", 74, LVCFMT_LEFT},        {L"File System", 56, LVCFMT_LEFT},
    {L"Disk Size", 110, LVCFMT_RIGHT}, {L"Free Space", 110, LVCFMT_RIGHT}, {L"Serial Number", 110, LVCFMT_CENTER}};

// The rectangles of the window's parts for a client area of the given size, at dpi.
struct MainRects {
  RECT Toolbar, Filename, Path, Back;
};

inline MainRects Arrange(int clientWidth, int clientHeight, int statusHeight, int dpi) {
  const auto s = [dpi](int value) { return pw::ScaleToDpi(value, dpi); };
  const int toolbar = s(ToolbarHeight), filename = s(FilenameHeight);
  MainRects r{};
  r.Toolbar = RECT{0, 0, clientWidth, toolbar};
  r.Filename = RECT{0, toolbar, clientWidth, toolbar + filename};
  r.Path = RECT{s(PathLeft), s(PathTop), s(PathLeft) + clientWidth - s(PathWidthLoss), s(PathTop) + s(PathHeight)};
  const int backTop = toolbar + filename;
  const int backBottom = clientHeight - statusHeight;
  r.Back = RECT{0, backTop, clientWidth, backBottom < backTop ? backTop : backBottom};
  return r;
}

}  // namespace layout
