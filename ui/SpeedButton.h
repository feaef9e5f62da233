#pragma once
// A flat tool button: a glyph (or a caption), raised while the mouse is over it, sunken while
// pressed or down. Buttons of one non-zero group on the same parent behave as radio buttons:
// exactly one of them is down. The hint shows as a tooltip, and is what screen readers call it. It
// takes the focus by Tab where its parent lets Tab move it, and Space or Enter press it.
#include <functional>
#include <string>

#include "ui/Accessible.h"
#include "ui/Scoped.h"
#include "ui/Window.h"

namespace ui {

class SpeedButton : public Window {
public:
  void Create(HWND parent, int x, int y, int w, int h);

  int Tag = 0;
  int GroupIndex = 0;
  std::function<void(SpeedButton&)> OnClick;

  void SetHint(const std::wstring& hint);
  const std::wstring& Hint() const { return hint_; }
  void SetCaption(const std::wstring& caption);
  // A glyph strip: numGlyphs pictures of equal width side by side (normal, then disabled), with
  // `transparent` as the see-through colour (CLR_INVALID: the colour of the bottom-left pixel).
  // The button keeps its own copy.
  void SetGlyph(HBITMAP strip, int numGlyphs, COLORREF transparent = CLR_INVALID);
  void SetDown(bool down);
  bool Down() const { return down_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
  // Runs the click as a user's click does (group handling, then OnClick).
  void Click();

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void Paint(HDC dc);
  ui::AccessibleFacts Describe() const;
  void KeyDown(WPARAM key);
  void DrawGlyph(HDC dc, const RECT& rc, bool enabled, int offset);
  bool MouseInside(LPARAM lp) const;

  std::wstring hint_;
  std::wstring caption_;
  ScopedBitmap glyph_;
  int numGlyphs_ = 1;
  COLORREF transparent_ = CLR_INVALID;
  ScopedWindow tooltip_;
  AccessibleControl accessible_;
  MouseCapture capture_;
  bool down_ = false;
  bool hot_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
};

}  // namespace ui
