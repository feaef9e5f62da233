#include "ui/StatusBar.h"

#include <commctrl.h>

#include <vector>

namespace ui {

void StatusBar::Create(HWND parent, int height, std::span<const int> widths) {
  hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                          height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetLayout(height, widths);
  accessible_.Attach(hwnd_, static_cast<int>(widths.size()), [this](int part) { return Facts(part); });
  access_.Install(hwnd_, [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_GETOBJECT) return accessible_.AnswerGetObject(wp, lp, result);
    if (msg == WM_NCDESTROY) accessible_.Detach();
    return false;
  });
}

AccessibleFacts StatusBar::Facts(int part) const {
  AccessibleFacts facts;
  if (part == 0) {
    facts.Name = L"Status";
    facts.Role = ROLE_SYSTEM_STATUSBAR;
    return facts;
  }
  facts.Role = ROLE_SYSTEM_STATICTEXT;
  facts.Name = Text(part - 1);
  facts.State = STATE_SYSTEM_READONLY;
  SendMessageW(hwnd_, SB_GETRECT, static_cast<WPARAM>(part - 1), reinterpret_cast<LPARAM>(&facts.Bounds));
  return facts;
}

void StatusBar::SetLayout(int height, std::span<const int> widths) const {
  SendMessageW(hwnd_, SB_SETMINHEIGHT, static_cast<WPARAM>(height), 0);
  std::vector<int> rights;
  int x = 0;
  for (int w : widths) rights.push_back(x += w);
  SendMessageW(hwnd_, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void StatusBar::SetText(int panel, const std::wstring& text) const {
  SendMessageW(hwnd_, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::Text(int panel) const {
  LRESULT r = SendMessageW(hwnd_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
  std::wstring s(LOWORD(r) + 1, L'\0');
  SendMessageW(hwnd_, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(s.data()));
  s.resize(LOWORD(r));
  return s;
}

}  // namespace ui
