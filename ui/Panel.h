#pragma once
// A plain container with the framework-style bevels: an outer and an inner ring of one pixel each,
// raised (light top-left, dark bottom-right) or lowered. Notifications and commands of its children
// go on to the panel's parent, so the form handles them all.
#include "ui/Window.h"

namespace ui {

enum class Bevel { None, Raised, Lowered };

class Panel : public Window {
public:
  void Create(HWND parent, int x, int y, int w, int h, Bevel outer, Bevel inner);
  // The area inside the bevels, in the panel's client coordinates.
  RECT InnerRect() const;
  int BevelWidth() const { return (outer_ != Bevel::None) + (inner_ != Bevel::None); }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
  void Paint(HDC dc) const;
  Bevel outer_ = Bevel::None;
  Bevel inner_ = Bevel::None;
  HFONT font_ = nullptr;  // not owned; children made later take it, as in a dialog
};

// Draws one ring of a bevel inside rc and moves rc in by one pixel.
void DrawBevelRing(HDC dc, RECT& rc, Bevel bevel);

}  // namespace ui
