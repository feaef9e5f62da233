#include "ui/SpeedButton.h"

#include <commctrl.h>

#include "ui/HighContrast.h"
#include "ui/Keys.h"
#include "ui/Panel.h"
#include "ui/Scoped.h"
#include "ui/core/AccessibleText.h"

namespace ui {

namespace {
const wchar_t kClassName[] = L"PathwickSpeedButton";
}

void SpeedButton::Create(HWND parent, int x, int y, int w, int h) {
  ClassSpec cls{kClassName};
  cls.Style = CS_HREDRAW | CS_VREDRAW;  // no CS_DBLCLKS: a quick second click is a second click
  CreateObjectWindow(cls, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, w, h, parent, nullptr);
  accessible_.Attach(
      hwnd_, 0, [this](int) { return Describe(); },
      [this](int) {
        if (!Enabled()) return false;
        Click();
        return true;
      });
}

AccessibleFacts SpeedButton::Describe() const {
  AccessibleFacts facts;
  // A glyph alone says nothing: the hint names the button, as its tooltip does for the eye.
  facts.Name = hint_.empty() ? pw::SpokenCaption(caption_) : hint_;
  if (!caption_.empty() && pw::SpokenCaption(caption_) != facts.Name) facts.Description = pw::SpokenCaption(caption_);
  facts.Role = ROLE_SYSTEM_PUSHBUTTON;
  facts.DefaultAction = L"Press";
  facts.KeyboardShortcut = pw::AccessKeyName(caption_);
  if (down_) facts.State |= STATE_SYSTEM_PRESSED;
  return facts;
}

void SpeedButton::SetHint(const std::wstring& hint) {
  hint_ = hint;
  if (!hwnd_) return;
  accessible_.RaiseNameChange();
  if (!tooltip_) {
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                   nullptr, GetModuleHandleW(nullptr), nullptr));
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = hint_.data();
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = hint_.data();
    SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void SpeedButton::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  if (hwnd_) {
    SetWindowTextW(hwnd_, caption.c_str());
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

void SpeedButton::SetGlyph(HBITMAP strip, int numGlyphs, COLORREF transparent) {
  transparent_ = transparent;
  glyph_.reset(strip ? static_cast<HBITMAP>(CopyImage(strip, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
  numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void SpeedButton::SetDown(bool down) {
  if (down_ == down) return;
  down_ = down;
  accessible_.RaiseStateChange(CHILDID_SELF);
  if (down && GroupIndex != 0 && hwnd_) {
    // The other buttons of the group come up.
    for (HWND child = GetWindow(GetParent(hwnd_), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (child == hwnd_) continue;
      auto* other = dynamic_cast<SpeedButton*>(Window::FromHandle(child));
      if (other && other->GroupIndex == GroupIndex) other->SetDown(false);
    }
  }
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void SpeedButton::SetEnabled(bool enabled) {
  if (!hwnd_) return;
  EnableWindow(hwnd_, enabled);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void SpeedButton::Click() {
  if (GroupIndex != 0) SetDown(true);
  if (OnClick) OnClick(*this);
}

void SpeedButton::KeyDown(WPARAM key) {
  if ((key == VK_SPACE || key == VK_RETURN) && Enabled()) Click();
}

bool SpeedButton::MouseInside(LPARAM lp) const {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  return PtInRect(&rc, pt) != FALSE;
}

void SpeedButton::DrawGlyph(HDC dc, const RECT& rc, bool enabled, int offset) {
  BITMAP bm{};
  GetObjectW(glyph_.get(), sizeof(bm), &bm);
  int w = bm.bmWidth / numGlyphs_;
  int h = bm.bmHeight;
  int index = (!enabled && numGlyphs_ > 1) ? 1 : 0;
  MemoryDC mem(dc);
  SelectObj sel(mem.get(), glyph_.get());
  COLORREF transparent = transparent_ != CLR_INVALID ? transparent_ : GetPixel(mem.get(), 0, h - 1);
  int x = rc.left + (rc.right - rc.left - w) / 2 + offset;
  int y = rc.top + (rc.bottom - rc.top - h) / 2 + offset;
  if (HighContrastOn()) {
    // The scheme's colours only: the glyph's shape in the button's text colour.
    const COLORREF ink = GetSysColor(!enabled ? COLOR_GRAYTEXT : down_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    for (int py = 0; py < h; ++py)
      for (int px = 0; px < w; ++px)
        if (GetPixel(mem.get(), index * w + px, py) != transparent) SetPixelV(dc, x + px, y + py, ink);
    return;
  }
  if (!enabled && numGlyphs_ == 1) {
    // No disabled picture of its own: draw an embossed grey silhouette.
    for (int pass = 0; pass < 2; ++pass) {
      COLORREF c = GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
      for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
          if (GetPixel(mem.get(), px, py) != transparent)
            SetPixelV(dc, x + px + (pass == 0 ? 1 : 0), y + py + (pass == 0 ? 1 : 0), c);
    }
    return;
  }
  TransparentBlt(dc, x, y, w, h, mem.get(), index * w, 0, w, h, transparent);
}

void SpeedButton::Paint(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  bool sunken = down_ || (pressed_ && hot_);
  if (down_ && HighContrastOn()) {
    // The lighter checked face would be the glyph's own colour in a scheme: the highlight instead.
    FillRect(dc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
  } else if (down_ && !(pressed_ && hot_)) {
    // A button that stays down gets the lighter checked face.
    ScopedBrush light(CreateSolidBrush(GetSysColor(COLOR_3DLIGHT)));
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    RECT inner = rc;
    InflateRect(&inner, -1, -1);
    FillRect(dc, &inner, light.get());
  } else {
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (sunken) {
    RECT r = rc;
    DrawBevelRing(dc, r, Bevel::Lowered);
  } else if (hot_ && enabled) {
    RECT r = rc;
    DrawBevelRing(dc, r, Bevel::Raised);
  }
  if (GetFocus() == hwnd_) {
    RECT focus = rc;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
  const int offset = sunken ? 1 : 0;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd_), WM_GETFONT, 0, 0));
  SelectObj selFont(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  // A glyph alone is centred; with a caption the two are centred together, glyph first.
  SIZE text{};
  if (!caption_.empty()) GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
  int glyphWidth = 0;
  if (glyph_) {
    BITMAP bm{};
    GetObjectW(glyph_.get(), sizeof(bm), &bm);
    glyphWidth = bm.bmWidth / numGlyphs_;
  }
  const int gap = glyph_ && !caption_.empty() ? 4 : 0;
  const int left = rc.left + (rc.right - rc.left - glyphWidth - gap - text.cx) / 2;
  if (glyph_) DrawGlyph(dc, RECT{left, rc.top, left + glyphWidth, rc.bottom}, enabled, offset);
  if (!caption_.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT r{left + glyphWidth + gap, rc.top, rc.right, rc.bottom};
    OffsetRect(&r, offset, offset);
    DrawTextW(dc, caption_.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      Paint(dc.get());
      return 0;
    }
    case WM_MOUSEMOVE: {
      bool inside = MouseInside(lp);
      if (inside != hot_) {
        hot_ = inside;
        InvalidateRect(hwnd_, nullptr, TRUE);
      }
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (!pressed_) {
        hot_ = false;
        InvalidateRect(hwnd_, nullptr, TRUE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      hot_ = true;
      capture_.take(hwnd_);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_LBUTTONUP: {
      bool wasPressed = pressed_;
      bool inside = MouseInside(lp);
      pressed_ = false;
      capture_.release();
      hot_ = inside;
      InvalidateRect(hwnd_, nullptr, TRUE);
      if (wasPressed && inside && IsWindowEnabled(hwnd_)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: {
      // Enter presses the focused button rather than the dialog's default one.
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      const bool enter = m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN;
      return DLGC_BUTTON | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
      // In a dialog Tab never gets here; in a plain window the button passes the focus on itself.
      if (MoveFocusByTab(hwnd_, msg, wp, lp)) return 0;
      KeyDown(wp);
      return 0;
    case WM_GETOBJECT: {
      LRESULT result = 0;
      return accessible_.AnswerGetObject(wp, lp, &result) ? result : Window::HandleMessage(msg, wp, lp);
    }
    case WM_NCDESTROY:
      accessible_.Detach();
      return Window::HandleMessage(msg, wp, lp);
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace ui
