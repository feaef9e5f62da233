#include "ui/Panel.h"

#include "ui/Scoped.h"

namespace ui {

void DrawBevelRing(HDC dc, RECT& rc, Bevel bevel) {
  if (bevel == Bevel::None) return;
  COLORREF topLeft = GetSysColor(bevel == Bevel::Raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  COLORREF bottomRight = GetSysColor(bevel == Bevel::Raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  ScopedBrush tl(CreateSolidBrush(topLeft));
  ScopedBrush br(CreateSolidBrush(bottomRight));
  RECT r{rc.left, rc.top, rc.right, rc.top + 1};
  FillRect(dc, &r, tl.get());
  r = RECT{rc.left, rc.top, rc.left + 1, rc.bottom};
  FillRect(dc, &r, tl.get());
  r = RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom};
  FillRect(dc, &r, br.get());
  r = RECT{rc.right - 1, rc.top, rc.right, rc.bottom};
  FillRect(dc, &r, br.get());
  InflateRect(&rc, -1, -1);
}

void Panel::Create(HWND parent, int x, int y, int w, int h, Bevel outer, Bevel inner) {
  outer_ = outer;
  inner_ = inner;
  ClassSpec cls{L"PathwickPanel"};
  cls.Style = CS_HREDRAW | CS_VREDRAW;
  CreateObjectWindow(cls, WS_EX_CONTROLPARENT, L"",
                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, w, h, parent,
                     nullptr);
}

RECT Panel::InnerRect() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  InflateRect(&rc, -BevelWidth(), -BevelWidth());
  return rc;
}

void Panel::Paint(HDC dc) const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  DrawBevelRing(dc, rc, outer_);
  DrawBevelRing(dc, rc, inner_);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      Paint(dc.get());
      return 0;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CONTEXTMENU:
      return SendMessageW(GetParent(hwnd_), msg, wp, lp);
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace ui
