#pragma once
// What the program's top-level windows share: the DPI they are laid out for, the one sequence that
// lays a window out again when it moves to a monitor of another DPI, and for the dialogs the modal
// run and its result.
#include <windows.h>

#include <span>

#include "ui/Scoped.h"
#include "ui/Window.h"
#include "ui/core/DpiScale.h"

namespace ui {

class Form : public Window {
public:
  UINT Dpi() const { return dpi_; }
  // IDOK or IDCANCEL once a modal run has ended; 0 while none has.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

protected:
  // A form destroys its window in its own destructor, while the members its handlers use still
  // exist; the base class's destructor would come too late for them.
  void DestroyForm();
  // Takes the DPI of the monitor the window was made on; the first thing a form does at WM_CREATE.
  void TakeDpi();
  // Sizes the window for a client area of width x height (at 96 DPI, scaled to the form's) and
  // puts it in the middle of its owner, or of the screen when it has none, all of it on screen.
  void PlaceCentred(int width, int height, DWORD style, DWORD exStyle);
  // Shows the window while every other window of the thread takes no input, with the focus on
  // `focus`, until a result is set or the window closes (IDCANCEL).
  int RunModal(HWND focus);
  // Focus rectangles and access-key underlines shown from the start, not only after Alt.
  void ShowFocusCues() const;
  // The dialogs' font: `face` at 8 points for the form's DPI, given to each control; the font they
  // had is let go only once they all have the new one. Called again when the DPI changes.
  void UseFont(std::span<const HWND> controls, const wchar_t* face = L"Tahoma");
  HFONT Font() const { return font_.get(); }

  // The form's own part of a DPI change (fonts, pictures, sizes kept in pixels), called with the
  // new DPI already in place. The controls may not exist yet when it comes: a window moved to
  // another monitor while it is being made gets the change then.
  virtual void ApplyDpi(UINT oldDpi) = 0;
  // Places every control for the form's DPI and size.
  virtual void ArrangeControls() = 0;

  // WM_DPICHANGED: the form's part, the suggested place, the layout, a repaint. WM_SYSCOLORCHANGE
  // and WM_SETTINGCHANGE: the common controls told, everything painted again.
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  UINT dpi_ = pw::kDesignDpi;
  int modalResult_ = 0;

private:
  ScopedFont font_;
};

}  // namespace ui
