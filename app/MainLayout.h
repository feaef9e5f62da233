#pragma once
// The main window's layout in pixels: used when the controls are made and whenever the window
// changes size.
#include <windows.h>
#include <commctrl.h>

namespace layout {

inline constexpr int WindowWidth = 632, WindowHeight = 376;
inline constexpr int MinWidth = 400, MinHeight = 250;
inline constexpr int FontHeight = -11;  // Tahoma 8 point at 96 dots per inch

inline constexpr int ToolbarHeight = 29;
inline constexpr int ButtonTop = 3, ButtonHeight = 23;
inline constexpr int BevelTop = 5, BevelWidth = 2, BevelHeight = 19;
inline constexpr int Bevel1Left = 54, Bevel2Left = 160;
inline constexpr int TextButtonWidth = 65, RightButtonGap = 3;  // Update and Cancel, anchored right

inline constexpr int FilenameHeight = 19;
inline constexpr int PathLeft = 4, PathTop = 3, PathHeight = 14, PathWidthLoss = 8;

inline constexpr int StatusHeight = 19;
inline constexpr int StatusPanels[] = {100, 100, 192};

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

// The rectangles of the window's parts for a client area of the given size.
struct MainRects {
  RECT Toolbar, Filename, Path, Back, Update, Cancel;
};

inline MainRects Arrange(int clientWidth, int clientHeight, int statusHeight) {
  MainRects r{};
  r.Toolbar = RECT{0, 0, clientWidth, ToolbarHeight};
  r.Filename = RECT{0, ToolbarHeight, clientWidth, ToolbarHeight + FilenameHeight};
  r.Path = RECT{PathLeft, PathTop, PathLeft + clientWidth - PathWidthLoss, PathTop + PathHeight};
  const int backTop = ToolbarHeight + FilenameHeight;
  const int backBottom = clientHeight - statusHeight;
  r.Back = RECT{0, backTop, clientWidth, backBottom < backTop ? backTop : backBottom};
  const int cancelLeft = clientWidth - TextButtonWidth - RightButtonGap;
  r.Cancel = RECT{cancelLeft, ButtonTop, cancelLeft + TextButtonWidth, ButtonTop + ButtonHeight};
  const int updateLeft = cancelLeft - TextButtonWidth - RightButtonGap;
  r.Update = RECT{updateLeft, ButtonTop, updateLeft + TextButtonWidth, ButtonTop + ButtonHeight};
  return r;
}

}  // namespace layout
