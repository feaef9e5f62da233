#include "ui/Accessible.h"

#include <ole2.h>
// Not <uiautomation.h>: one of mingw-w64's declarations names a parameter "new".
#include <uiautomationclient.h>
#include <uiautomationcore.h>

#include <atomic>
#include <utility>

#include "ui/ValueProvider.h"

namespace ui {

namespace {

// WM_GETOBJECT's object id of a window's UI Automation provider.
constexpr LONG kUiaRootObjectId = -25;

// UI Automation's core is not in every import library and not on every system: it is looked up
// once and kept for the life of the process.
struct AutomationCore {
  using ReturnProvider = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
  using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
  using RaiseProperty = HRESULT(WINAPI*)(IRawElementProviderSimple*, PROPERTYID, VARIANT, VARIANT);
  using Disconnect = HRESULT(WINAPI*)(IRawElementProviderSimple*);
  ReturnProvider returnProvider = nullptr;
  HostProvider hostProvider = nullptr;
  RaiseProperty raiseProperty = nullptr;
  Disconnect disconnect = nullptr;

  static const AutomationCore& Get() {
    static const AutomationCore core = [] {
      AutomationCore c;
      if (HMODULE module = LoadLibraryW(L"uiautomationcore.dll")) {
        c.returnProvider = reinterpret_cast<ReturnProvider>(
            reinterpret_cast<void*>(GetProcAddress(module, "UiaReturnRawElementProvider")));
        c.hostProvider = reinterpret_cast<HostProvider>(
            reinterpret_cast<void*>(GetProcAddress(module, "UiaHostProviderFromHwnd")));
        c.raiseProperty = reinterpret_cast<RaiseProperty>(
            reinterpret_cast<void*>(GetProcAddress(module, "UiaRaiseAutomationPropertyChangedEvent")));
        c.disconnect = reinterpret_cast<Disconnect>(
            reinterpret_cast<void*>(GetProcAddress(module, "UiaDisconnectProvider")));
      }
      return c;
    }();
    return core;
  }
};

BSTR NewBstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

// A text answer: S_FALSE with nothing when the text is empty, as MSAA expects.
HRESULT AnswerText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = NewBstr(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

}  // namespace

bool EnabledWithParents(HWND wnd) {
  for (HWND w = wnd; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    if (!IsWindowEnabled(w)) return false;
  return wnd != nullptr;
}

// --- The MSAA object ----------------------------------------------------------------------------

class AccessibleObject final : public IAccessible {
public:
  explicit AccessibleObject(AccessibleControl* control) : control_(control) {
    // The system's object for the client area answers what is not ours to answer: the parent, the
    // neighbours, the place.
    CreateStdAccessibleObject(control->Window(), OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&standard_));
  }
  void Forget() {
    control_ = nullptr;
    if (standard_) std::exchange(standard_, nullptr)->Release();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible))
      *out = static_cast<IAccessible*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      Forget();
      delete this;
    }
    return left;
  }

  // IDispatch: screen readers call the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!control_) return RPC_E_DISCONNECTED;
    return standard_ ? standard_->get_accParent(parent) : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!control_) return RPC_E_DISCONNECTED;
    *count = control_->Parts();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    int part = 0;
    if (const HRESULT hr = PartOf(child, &part); hr != S_OK) return hr;
    return part == 0 ? E_INVALIDARG : S_FALSE;  // parts are simple elements, not objects
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleFacts::Name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleFacts::Value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleFacts::Description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return Number(child, out, [](const AccessibleFacts& f) { return f.Role; });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return Number(child, out, [](const AccessibleFacts& f) { return f.State; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return control_ ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return control_ ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleFacts::KeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (!control_) return RPC_E_DISCONNECTED;
    if (GetFocus() != control_->Window()) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return control_ ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleFacts::DefaultAction);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    int part = 0;
    if (const HRESULT hr = PartOf(child, &part); hr != S_OK) return hr;
    if (part != 0 || flags != SELFLAG_TAKEFOCUS) return S_FALSE;
    SetFocus(control_->Window());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    int part = 0;
    if (const HRESULT hr = PartOf(child, &part); hr != S_OK) return hr;
    RECT r{};
    if (part == 0) {
      if (!GetClientRect(control_->Window(), &r)) return S_FALSE;
    } else {
      r = control_->FactsOf(part).Bounds;
    }
    POINT corner{r.left, r.top};
    ClientToScreen(control_->Window(), &corner);
    *left = corner.x;
    *top = corner.y;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    int part = 0;
    if (const HRESULT hr = PartOf(start, &part); hr != S_OK) return hr;
    const int parts = control_->Parts();
    int next = -1;
    if (part == 0 && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) {
      if (parts > 0) next = direction == NAVDIR_FIRSTCHILD ? 1 : parts;
    } else if (part > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && part < parts) {
      next = part + 1;
    } else if (part > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && part > 1) {
      next = part - 1;
    } else if (part == 0) {
      return standard_ ? standard_->accNavigate(direction, start, out) : S_FALSE;
    }
    if (next < 0) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = next;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (!control_) return RPC_E_DISCONNECTED;
    POINT p{x, y};
    ScreenToClient(control_->Window(), &p);
    RECT client{};
    GetClientRect(control_->Window(), &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    for (int part = 1; part <= control_->Parts(); ++part) {
      const RECT r = control_->FactsOf(part).Bounds;
      if (HasArea(r) && PtInRect(&r, p)) out->lVal = part;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int part = 0;
    if (const HRESULT hr = PartOf(child, &part); hr != S_OK) return hr;
    return control_->DoDefaultAction(part) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  ~AccessibleObject() = default;

  HRESULT PartOf(const VARIANT& child, int* part) const {
    if (!control_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > control_->Parts()) return E_INVALIDARG;
    *part = static_cast<int>(child.lVal);
    return S_OK;
  }
  HRESULT Text(const VARIANT& child, BSTR* out, std::wstring AccessibleFacts::*field) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    int part = 0;
    if (const HRESULT hr = PartOf(child, &part); hr != S_OK) return hr;
    return AnswerText(control_->FactsOf(part).*field, out);
  }
  template <class Pick>
  HRESULT Number(const VARIANT& child, VARIANT* out, Pick pick) const {
    if (!out) return E_POINTER;
    VariantInit(out);
    int part = 0;
    if (const HRESULT hr = PartOf(child, &part); hr != S_OK) return hr;
    out->vt = VT_I4;
    out->lVal = pick(control_->FactsOf(part));
    return S_OK;
  }

  std::atomic<ULONG> refs_{1};
  AccessibleControl* control_;
  IAccessible* standard_ = nullptr;
};

// --- The UI Automation provider -----------------------------------------------------------------

namespace {

// UI Automation's control types (not every SDK names them).
constexpr long kButtonControlType = 50000, kEditControlType = 50004, kHyperlinkControlType = 50005,
               kTextControlType = 50020, kCustomControlType = 50025;
constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);
constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200);

long ControlTypeOf(long role) {
  switch (role) {
    case ROLE_SYSTEM_TEXT: return kEditControlType;
    case ROLE_SYSTEM_PUSHBUTTON: return kButtonControlType;
    case ROLE_SYSTEM_LINK: return kHyperlinkControlType;
    case ROLE_SYSTEM_STATICTEXT: return kTextControlType;
    default: return kCustomControlType;
  }
}

}  // namespace

class AutomationProvider final : public IRawElementProviderSimple, public IValueProvider {
public:
  explicit AutomationProvider(AccessibleControl* control) : control_(control) {}
  void Forget() { control_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IRawElementProviderSimple))
      *out = static_cast<IRawElementProviderSimple*>(this);
    else if (riid == __uuidof(IValueProvider))
      *out = static_cast<IValueProvider*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    if (!options) return E_POINTER;
    // Calls come on the window's own thread, as its other messages do.
    *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!control_) return kElementNotAvailable;
    if (pattern == UIA_ValuePatternId) {
      *out = static_cast<IValueProvider*>(this);
      AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (!control_) return kElementNotAvailable;
    const AccessibleFacts facts = control_->FactsOf(0);
    const auto text = [out](const std::wstring& value) {
      out->vt = VT_BSTR;
      out->bstrVal = NewBstr(value);
    };
    const auto flag = [out](bool value) {
      out->vt = VT_BOOL;
      out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    };
    switch (property) {
      case UIA_NamePropertyId: text(facts.Name); break;
      case UIA_ControlTypePropertyId:
        out->vt = VT_I4;
        out->lVal = ControlTypeOf(facts.Role);
        break;
      case UIA_HelpTextPropertyId:
        if (!facts.Description.empty()) text(facts.Description);
        break;
      case UIA_AccessKeyPropertyId:
        if (!facts.KeyboardShortcut.empty()) text(facts.KeyboardShortcut);
        break;
      case UIA_IsKeyboardFocusablePropertyId: flag((facts.State & STATE_SYSTEM_FOCUSABLE) != 0); break;
      case UIA_HasKeyboardFocusPropertyId: flag((facts.State & STATE_SYSTEM_FOCUSED) != 0); break;
      case UIA_IsEnabledPropertyId: flag((facts.State & STATE_SYSTEM_UNAVAILABLE) == 0); break;
      case UIA_IsValuePatternAvailablePropertyId: flag(true); break;
      case UIA_ValueValuePropertyId: text(facts.Value); break;
      case UIA_ValueIsReadOnlyPropertyId: flag(ReadOnly(facts)); break;
      default: break;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!control_) return kElementNotAvailable;
    const auto host = AutomationCore::Get().hostProvider;
    return host ? host(control_->Window(), out) : S_OK;
  }

  // IValueProvider
  HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override {
    if (!control_) return kElementNotAvailable;
    if (!value) return E_INVALIDARG;
    if (ReadOnly(control_->FactsOf(0))) return kElementNotEnabled;
    return control_->SetValueText(value) ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!control_) return kElementNotAvailable;
    *out = NewBstr(control_->FactsOf(0).Value);
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* out) override {
    if (!out) return E_POINTER;
    if (!control_) return kElementNotAvailable;
    *out = ReadOnly(control_->FactsOf(0));
    return S_OK;
  }

private:
  ~AutomationProvider() = default;
  static bool ReadOnly(const AccessibleFacts& facts) {
    return (facts.State & (STATE_SYSTEM_READONLY | STATE_SYSTEM_UNAVAILABLE)) != 0;
  }

  std::atomic<ULONG> refs_{1};
  AccessibleControl* control_;
};

// --- The control's side -------------------------------------------------------------------------

AccessibleControl::~AccessibleControl() { Detach(); }

void AccessibleControl::Attach(HWND wnd, int parts, Describe describe, Act act) {
  Detach();
  wnd_ = wnd;
  parts_ = parts;
  describe_ = std::move(describe);
  act_ = std::move(act);
}

void AccessibleControl::ServeAutomation(SetValue setValue) { setValue_ = std::move(setValue); }

AccessibleFacts AccessibleControl::FactsOf(int part) const {
  AccessibleFacts facts = describe_ ? describe_(part) : AccessibleFacts{};
  if (!wnd_) return facts;
  const bool visible = IsWindowVisible(wnd_) != FALSE;
  const bool enabled = EnabledWithParents(wnd_);
  if (!visible) facts.State |= STATE_SYSTEM_INVISIBLE;
  if (!enabled) facts.State |= STATE_SYSTEM_UNAVAILABLE;
  if (part == 0 && visible && enabled && (GetWindowLongW(wnd_, GWL_STYLE) & WS_TABSTOP))
    facts.State |= STATE_SYSTEM_FOCUSABLE;
  if (part == 0 && GetFocus() == wnd_) facts.State |= STATE_SYSTEM_FOCUSED;
  return facts;
}

bool AccessibleControl::AnswerGetObject(WPARAM wp, LPARAM lp, LRESULT* result) {
  if (!wnd_) return false;
  const auto id = static_cast<LONG>(static_cast<DWORD>(lp));
  if (id == OBJID_CLIENT) {
    if (!object_) object_ = new AccessibleObject(this);
    *result = LresultFromObject(__uuidof(IAccessible), wp, object_);
    return true;
  }
  if (id == kUiaRootObjectId && setValue_) {
    const auto answer = AutomationCore::Get().returnProvider;
    if (!answer) return false;
    if (!provider_) provider_ = new AutomationProvider(this);
    *result = answer(wnd_, wp, lp, provider_);
    return true;
  }
  return false;
}

HRESULT AccessibleControl::QueryAutomation(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!wnd_ || !setValue_) return E_NOINTERFACE;
  if (!provider_) provider_ = new AutomationProvider(this);
  return provider_->QueryInterface(riid, out);
}

void AccessibleControl::RaiseValueChange() {
  if (!wnd_) return;
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, wnd_, OBJID_CLIENT, CHILDID_SELF);
  const std::wstring value = FactsOf(0).Value;
  const auto raise = AutomationCore::Get().raiseProperty;
  if (provider_ && raise) {
    VARIANT before, after;
    VariantInit(&before);
    VariantInit(&after);
    before.vt = after.vt = VT_BSTR;
    before.bstrVal = NewBstr(lastValue_);
    after.bstrVal = NewBstr(value);
    raise(provider_, UIA_ValueValuePropertyId, before, after);
    VariantClear(&before);
    VariantClear(&after);
  }
  lastValue_ = value;
}

void AccessibleControl::RaiseStateChange(int part) {
  if (wnd_) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, wnd_, OBJID_CLIENT, part);
}

void AccessibleControl::RaiseNameChange() {
  if (wnd_) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, wnd_, OBJID_CLIENT, CHILDID_SELF);
}

void AccessibleControl::RaiseDescriptionChange() {
  if (wnd_) NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, wnd_, OBJID_CLIENT, CHILDID_SELF);
}

void AccessibleControl::Detach() {
  if (object_) {
    AccessibleObject* object = std::exchange(object_, nullptr);
    object->Forget();
    // A screen reader's proxies are cut, so that it lets the object go; then our own reference.
    CoDisconnectObject(static_cast<IAccessible*>(object), 0);
    object->Release();
  }
  if (provider_) {
    AutomationProvider* provider = std::exchange(provider_, nullptr);
    provider->Forget();
    if (const auto disconnect = AutomationCore::Get().disconnect) disconnect(provider);
    provider->Release();
  }
  wnd_ = nullptr;
}

}  // namespace ui
