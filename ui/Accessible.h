#pragma once
// What screen readers learn of a control that draws itself: its name, role, value and state, and
// those of its simple parts (a spin button drawn inside it), as an MSAA IAccessible object and, for
// a control with a value, a UI Automation provider. The control answers WM_GETOBJECT through
// AnswerGetObject and tells of its changes through the Raise calls; the objects ask the control for
// its facts at each question, so they are never stale.
//
// The objects are COM objects that a screen reader may hold after the control is gone; the control
// disconnects them when it goes, and from then on they answer that they are no longer there.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>

namespace ui {

// One part of a control: 0 the control itself, 1.. its parts.
struct AccessibleFacts {
  std::wstring Name;
  long Role = ROLE_SYSTEM_CLIENT;
  std::wstring Value;
  // STATE_SYSTEM_* beyond those the window itself tells (focused, focusable, unavailable,
  // invisible), which are added for the control.
  long State = 0;
  std::wstring Description;
  std::wstring DefaultAction;
  std::wstring KeyboardShortcut;
  // A part's place in the control's client coordinates; the control itself covers its window.
  RECT Bounds{};
};

class AccessibleObject;
class AutomationProvider;

class AccessibleControl {
public:
  using Describe = std::function<AccessibleFacts(int part)>;
  using Act = std::function<bool(int part)>;
  // The text a UI Automation client sets as the value; false when it is not one the control takes.
  using SetValue = std::function<bool(const std::wstring& value)>;

  AccessibleControl() = default;
  ~AccessibleControl();
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;

  // wnd: the control's window; parts: how many simple parts it has besides itself; describe: its
  // facts now; act: runs a part's default action (may be empty: none has one).
  void Attach(HWND wnd, int parts, Describe describe, Act act = {});
  // With a setter the control also answers UI Automation, with the Value pattern.
  void ServeAutomation(SetValue setValue);

  // WM_GETOBJECT: true with *result set when the request is for one of our objects.
  bool AnswerGetObject(WPARAM wp, LPARAM lp, LRESULT* result);
  // The UI Automation provider itself, asked for one of its interfaces (the Value pattern's, say),
  // as the automation core hands it to a client in this process.
  HRESULT QueryAutomation(REFIID riid, void** out);

  // The value of the control changed: MSAA's event and UI Automation's property change.
  void RaiseValueChange();
  // A part's state changed (a spin button pressed or released), or its name or description.
  void RaiseStateChange(int part);
  void RaiseNameChange();
  void RaiseDescriptionChange();

  // Taken away from screen readers, as when the window is destroyed: the objects answer that
  // they are gone.
  void Detach();

  // The facts with the window's own state added; what both objects tell.
  AccessibleFacts FactsOf(int part) const;
  int Parts() const { return parts_; }
  HWND Window() const { return wnd_; }
  bool DoDefaultAction(int part) const { return act_ && act_(part); }
  bool SetValueText(const std::wstring& value) const { return setValue_ && setValue_(value); }
  bool TakesValue() const { return static_cast<bool>(setValue_); }

private:
  HWND wnd_ = nullptr;
  int parts_ = 0;
  Describe describe_;
  Act act_;
  SetValue setValue_;
  AccessibleObject* object_ = nullptr;        // made at the first question
  AutomationProvider* provider_ = nullptr;    // likewise
  std::wstring lastValue_;                    // the value last told, for UI Automation's change
};

// Whether a window and every window it lies in take input.
bool EnabledWithParents(HWND wnd);

}  // namespace ui
