#pragma once
// A single-line edit that shows a time of day as "hh:mm:ss:zzz" and changes it one field at a time:
// by clicks, arrow keys, digits and two spin buttons painted inside its right edge. Behind the
// shown time it keeps a whole date-time, so a caller gets back the date it handed in with the
// edited time.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "editor/core/TimeEditRules.h"
#include "ui/Accessible.h"
#include "ui/Scoped.h"
#include "ui/Subclass.h"

namespace pw {

class TkwTimeEdit;

// One spin button: not a window, it paints itself onto the edit and remembers where.
class TkwButton {
public:
  TkwButton(TkwTimeEdit& edit, int kind) : Edit(edit), Kind(kind) {}
  TkwButton(const TkwButton&) = delete;
  TkwButton& operator=(const TkwButton&) = delete;

  bool Pressed() const { return pressed_; }
  // Repaints at once when the state changes.
  void SetPressed(bool value);
  // Recomputes Bounds from the edit's client size and draws the button on the edit.
  void Paint();

  TkwTimeEdit& Edit;
  const int Kind;  // kSpinUp or kSpinDown
  // The area last painted, in the edit's client coordinates; presses are tested against it.
  SpinRect Bounds;
  // The current mouse press began on this button.
  bool Armed = false;

private:
  bool pressed_ = false;
};

class TkwTimeEdit {
public:
  using TimeChangeHandler = std::function<void(TkwTimeEdit& sender)>;

  // Auto-repeat timer id on the edit's window; chosen away from the small ids the edit itself uses.
  static constexpr UINT_PTR RepeatTimerId = 0x7E17;
  static constexpr UINT FirstRepeatDelay = 500;
  static constexpr UINT RepeatInterval = 100;

  // Creates the edit as a child of parent with the given client-relative position and size; tag is
  // both the control id and Tag(). The parent's font is used when it has one, and the parent's DPI.
  TkwTimeEdit(HWND parent, int left, int top, int width, int height, int tag);
  ~TkwTimeEdit();
  TkwTimeEdit(const TkwTimeEdit&) = delete;
  TkwTimeEdit& operator=(const TkwTimeEdit&) = delete;

  // Nothing once the window is gone (with its parent, say).
  HWND Handle() const { return subclass_.Window(); }
  int Tag() const { return tag_; }

  // The spin column and margins for the window's DPI; SetDpi when it moves to another.
  const TimeEditMetrics& Metrics() const { return metrics_; }
  void SetDpi(UINT dpi);

  // 0 hours, 1 minutes, 2 seconds, 3 milliseconds.
  int FieldIndex() const { return fieldIndex_; }
  // The stored date-time (days since 30 December 1899); starts as the local date and time at
  // creation.
  double Value() const { return value_; }

  // Stores the date-time and shows its time of day. Raises no OnTimeChange.
  void SetTime(double value);
  // The whole days of Value with the shown time of day.
  double GetTime() const;
  // Shows "00:00:00:000"; Value stays. Raises no OnTimeChange.
  void ClearTime();

  // Raised after every change the user makes (keys, digits, spin buttons, auto-repeat, wheel, a
  // time set by an assistive tool).
  TimeChangeHandler OnTimeChange;

  // What screen readers call the edit: the row it belongs to ("Created").
  void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }
  // The spin buttons' actions as screen readers do them: part 1 steps up, part 2 down.
  ui::AccessibleControl& Accessible() { return accessible_; }

  TkwButton UpButton{*this, kSpinUp};
  TkwButton DownButton{*this, kSpinDown};

  bool RepeatTimerEnabled() const { return timerEnabled_; }
  UINT RepeatTimerInterval() const { return timerInterval_; }

private:
  friend class TkwButton;  // tells screen readers of its presses
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  void Paint(WPARAM wp, LPARAM lp);
  void KeyDown(WPARAM key);
  void Char(wchar_t ch);
  bool Press(WPARAM wp, LPARAM lp, bool doubleClick);
  void Release();
  void StopSpinning();
  void MouseMove(LPARAM lp);
  void TimerTick();

  std::wstring Text() const;
  void SelectCurrentField();
  void SetFieldValue(int value);
  void Step(int delta);
  void ShowText(const std::wstring& text);
  void ApplyRightMargin();
  void UpdateButtonBounds();
  void EnableRepeatTimer(bool enabled);
  void SetRepeatTimerInterval(UINT interval);
  ui::AccessibleFacts Describe(int part) const;
  bool PressPart(int part);
  bool TakeWholeTime(const std::wstring& text);

  HWND wnd_ = nullptr;
  int tag_ = 0;
  int fieldIndex_ = 0;
  double value_ = 0;
  TimeEditMetrics metrics_;
  bool timerEnabled_ = false;
  UINT timerInterval_ = FirstRepeatDelay;
  ui::MouseCapture capture_;
  std::wstring accessibleName_;
  ui::AccessibleControl accessible_;
  ui::Subclass subclass_;
};

}  // namespace pw
