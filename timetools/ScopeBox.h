#pragma once
// "Apply to:": how far a command on the selected entries reaches into the selected folders, the
// same row in Edit File Params and in the batch time tools: a label and a drop-down list, offered
// only when the selection holds folders.
#include <windows.h>

#include "timetools/core/TimeBatch.h"
#include "ui/Layout.h"

class TScopeBox {
public:
  // The row is this high at 96 DPI.
  static constexpr int kHeight = 21;

  // Made on `parent`, enabled when offered.
  void Create(HWND parent, bool offered);
  // Puts the row, label and list, at the given place (at 96 DPI) for the parent's DPI.
  void Place(int left, int top, int width, UINT dpi) const;
  pw::Scope Reach() const;
  HWND Label() const { return label_; }
  HWND List() const { return list_; }

private:
  HWND label_ = nullptr, list_ = nullptr;
  bool offered_ = false;
};
