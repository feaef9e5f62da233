// What a screen reader learns of the program's own controls and menus, read the way it reads them:
// the controls' objects through oleacc (AccessibleObjectFromWindow), their events through a
// WinEvent hook, UI Automation's nodes through its core, the menu items' texts from their data.
#include <windows.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "about/kwCorvaltAbout.h"
#include "common/core/TimeText.h"
#include "support/EditorProbes.h"
#include "editor/core/TimeEditRules.h"
#include "editor/kwFileEditParams.h"
#include "editor/kwTimeEdit.h"
#include "support/BrowserFixture.h"
#include "support/UserInput.h"
#include "timetools/kwSetClockRight.h"
#include "timetools/kwTimeTool.h"
#include "timetools/kwTimesFromContent.h"
#include "support/Messages.h"
#include "ui/ValueProvider.h"
#include "ui/core/AccessibleText.h"

namespace {

using namespace std::chrono_literals;

struct ComRelease {
  void operator()(IUnknown* p) const {
    if (p) p->Release();
  }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

ComPtr<IAccessible> ObjectOf(HWND wnd) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(wnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc))))
    return nullptr;
  return ComPtr<IAccessible>(acc);
}

VARIANT Part(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring Take(BSTR text) {
  std::wstring s = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return s;
}

std::wstring Name(IAccessible& acc, long part = CHILDID_SELF) {
  BSTR s = nullptr;
  acc.get_accName(Part(part), &s);
  return Take(s);
}
std::wstring Value(IAccessible& acc, long part = CHILDID_SELF) {
  BSTR s = nullptr;
  acc.get_accValue(Part(part), &s);
  return Take(s);
}
std::wstring Description(IAccessible& acc, long part = CHILDID_SELF) {
  BSTR s = nullptr;
  acc.get_accDescription(Part(part), &s);
  return Take(s);
}
long Number(IAccessible& acc, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long part) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED((acc.*get)(Part(part), &v)) || v.vt != VT_I4) return -1;
  return v.lVal;
}
long Role(IAccessible& acc, long part = CHILDID_SELF) { return Number(acc, &IAccessible::get_accRole, part); }
long State(IAccessible& acc, long part = CHILDID_SELF) { return Number(acc, &IAccessible::get_accState, part); }

std::wstring Colons(std::wstring text) {  // the time with every separator made ":"
  for (size_t i : {2u, 5u, 8u})
    if (i < text.size()) text[i] = L':';
  return text;
}

// The events a screen reader's hook gets, out of context, as messages this thread answers.
class WinEvents {
public:
  WinEvents() {
    events_ = &seen_;
    hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &WinEvents::Seen, GetCurrentProcessId(), 0,
                            WINEVENT_OUTOFCONTEXT);
  }
  ~WinEvents() {
    if (hook_) UnhookWinEvent(hook_);
    events_ = nullptr;
  }
  bool Hooked() const { return hook_ != nullptr; }
  int Count(DWORD event, HWND wnd, LONG child = CHILDID_SELF) const {
    int n = 0;
    for (const Seen_& e : seen_) n += e.event == event && e.wnd == wnd && e.child == child;
    return n;
  }
  // Waits until `n` such events came, then takes whatever else is waiting: the count is then final.
  int CountOnce(DWORD event, HWND wnd, int n, LONG child = CHILDID_SELF) const {
    testutil::AnswerUntil([&] { return Count(event, wnd, child) >= n; }, 5s);
    testutil::PumpMessages();
    return Count(event, wnd, child);
  }
  void Clear() {
    testutil::PumpMessages();
    seen_.clear();
  }

private:
  struct Seen_ {
    DWORD event;
    HWND wnd;
    LONG child;
  };
  static void CALLBACK Seen(HWINEVENTHOOK, DWORD event, HWND wnd, LONG object, LONG child, DWORD, DWORD) {
    if (events_ && object == OBJID_CLIENT) events_->push_back({event, wnd, child});
  }
  static inline std::vector<Seen_>* events_ = nullptr;
  std::vector<Seen_> seen_;
  HWINEVENTHOOK hook_ = nullptr;
};

const wchar_t kHostClass[] = L"PwAccessibilityTestHost";

void RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kHostClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
}

HWND CreateHost() {
  RegisterHostClass();
  static HWND top = CreateWindowExW(0, kHostClass, L"Accessibility", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND host = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 150, top,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(top);
  return host;
}

class TimeEditAccessTest : public ::testing::Test {
protected:
  void SetUp() override {
    host = CreateHost();
    edit = std::make_unique<pw::TkwTimeEdit>(host, 10, 10, 90, 21, 7);
    ASSERT_NE(edit->Handle(), nullptr);
    edit->SetAccessibleName(L"Modified");
    edit->OnTimeChange = [this](pw::TkwTimeEdit&) { ++changes; };
    // 2 March 2001, 14:05:09.007.
    edit->SetTime(pw::JoinDateTime(36952.0, 14 * 3'600'000 + 5 * 60'000 + 9 * 1000 + 7));
    testutil::PumpMessages();
  }
  void TearDown() override {
    edit.reset();
    DestroyWindow(host);
    testutil::PumpMessages();
  }
  HWND Wnd() const { return edit->Handle(); }
  void Key(WPARAM vk) const { SendMessageW(Wnd(), WM_KEYDOWN, vk, 1); }

  HWND host = nullptr;
  std::unique_ptr<pw::TkwTimeEdit> edit;
  int changes = 0;
};

TEST_F(TimeEditAccessTest, ReadsAsItsRowWithTheTimeAsValueAndTellsEachChange) {
  const ComPtr<IAccessible> acc = ObjectOf(Wnd());
  ASSERT_TRUE(acc);
  EXPECT_EQ(Name(*acc), L"Modified");
  EXPECT_EQ(Role(*acc), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Colons(Value(*acc)), L"14:05:09:007");
  EXPECT_EQ(Description(*acc).rfind(L"hours selected", 0), 0u) << Description(*acc);

  WinEvents events;
  ASSERT_TRUE(events.Hooked());
  events.Clear();
  Key(VK_UP);  // hours
  EXPECT_EQ(Colons(Value(*acc)), L"15:05:09:007");
  Key(VK_RIGHT);  // no change of value: no event
  EXPECT_EQ(Description(*acc).rfind(L"minutes selected", 0), 0u) << Description(*acc);
  SendMessageW(Wnd(), WM_CHAR, L'7', 1);
  EXPECT_EQ(Colons(Value(*acc)), L"15:57:09:007");
  Key(VK_DOWN);
  EXPECT_EQ(Colons(Value(*acc)), L"15:56:09:007");
  EXPECT_EQ(events.CountOnce(EVENT_OBJECT_VALUECHANGE, Wnd(), 3), 3);
  EXPECT_EQ(changes, 3);
  EXPECT_GE(events.Count(EVENT_OBJECT_DESCRIPTIONCHANGE, Wnd()), 1);

  // A time set from code is told too: a screen reader says what Set now or Clear time did.
  edit->ClearTime();
  EXPECT_EQ(events.CountOnce(EVENT_OBJECT_VALUECHANGE, Wnd(), 4), 4);
  EXPECT_EQ(Colons(Value(*acc)), L"00:00:00:000");
}

TEST_F(TimeEditAccessTest, StateFollowsTheFocusAndTheEnabledStateOfItsRow) {
  const ComPtr<IAccessible> acc = ObjectOf(Wnd());
  ASSERT_TRUE(acc);
  SetFocus(nullptr);
  EXPECT_EQ(State(*acc) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_FOCUSABLE);
  SetFocus(Wnd());
  EXPECT_EQ(State(*acc) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(State(*acc) & STATE_SYSTEM_READONLY, 0);
  // The dialog disables the panel that holds the rows, not the edit itself.
  EnableWindow(host, FALSE);
  EXPECT_EQ(State(*acc) & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE), STATE_SYSTEM_UNAVAILABLE);
  EnableWindow(host, TRUE);
  SetWindowLongW(Wnd(), GWL_STYLE, GetWindowLongW(Wnd(), GWL_STYLE) | ES_READONLY);
  EXPECT_NE(State(*acc) & STATE_SYSTEM_READONLY, 0);
}

TEST_F(TimeEditAccessTest, SpinButtonsArePartsThatStepWhenPressedByAScreenReader) {
  const ComPtr<IAccessible> acc = ObjectOf(Wnd());
  ASSERT_TRUE(acc);
  long count = 0;
  ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Name(*acc, 1), L"Up");
  EXPECT_EQ(Name(*acc, 2), L"Down");
  EXPECT_EQ(Role(*acc, 1), ROLE_SYSTEM_PUSHBUTTON);
  BSTR key = nullptr;
  acc->get_accKeyboardShortcut(Part(2), &key);
  EXPECT_EQ(Take(key), L"Down");  // the key that does the same
  EXPECT_EQ(acc->accDoDefaultAction(Part(1)), S_OK);
  EXPECT_EQ(Colons(Value(*acc)), L"15:05:09:007");
  EXPECT_EQ(acc->accDoDefaultAction(Part(2)), S_OK);
  EXPECT_EQ(acc->accDoDefaultAction(Part(2)), S_OK);
  EXPECT_EQ(Colons(Value(*acc)), L"13:05:09:007");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(acc->accDoDefaultAction(Part(3)), E_INVALIDARG);

  // Where the button is drawn, and pressed while the mouse holds it.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(acc->accLocation(&left, &top, &width, &height, Part(1)), S_OK);
  RECT client{};
  GetClientRect(Wnd(), &client);
  POINT corner{client.right, 0};
  ClientToScreen(Wnd(), &corner);
  EXPECT_EQ(left + width, corner.x);
  EXPECT_EQ(top, corner.y);
  VARIANT hit;
  ASSERT_EQ(acc->accHitTest(left + width / 2, top + height / 2, &hit), S_OK);
  EXPECT_EQ(hit.lVal, 1);
  WinEvents events;
  events.Clear();
  const LPARAM upPoint = MAKELPARAM(client.right - width / 2, height / 2);
  SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, upPoint);
  EXPECT_NE(State(*acc, 1) & STATE_SYSTEM_PRESSED, 0);
  SendMessageW(Wnd(), WM_LBUTTONUP, 0, upPoint);
  EXPECT_EQ(State(*acc, 1) & STATE_SYSTEM_PRESSED, 0);
  EXPECT_EQ(events.CountOnce(EVENT_OBJECT_STATECHANGE, Wnd(), 2, 1), 2);

  // A disabled row's buttons do nothing.
  EnableWindow(host, FALSE);
  EXPECT_EQ(acc->accDoDefaultAction(Part(1)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Colons(Value(*acc)), L"14:05:09:007");
  EnableWindow(host, TRUE);
}

TEST_F(TimeEditAccessTest, AnObjectHeldAfterTheEditIsGoneAnswersThatItIsGone) {
  const ComPtr<IAccessible> acc = ObjectOf(Wnd());
  ASSERT_TRUE(acc);
  edit.reset();
  BSTR name = nullptr;
  EXPECT_TRUE(FAILED(acc->get_accName(Part(CHILDID_SELF), &name)));
  EXPECT_EQ(name, nullptr);
}

// UI Automation's client functions, from its core as a client in this process finds them.
struct AutomationClient {
  using Node = void*;
  using NodeFromHandle = HRESULT(WINAPI*)(HWND, Node*);
  using GetProperty = HRESULT(WINAPI*)(Node, PROPERTYID, VARIANT*);
  using NodeRelease = BOOL(WINAPI*)(Node);
  NodeFromHandle nodeFromHandle = nullptr;
  GetProperty getProperty = nullptr;
  NodeRelease nodeRelease = nullptr;
  AutomationClient() {
    if (HMODULE core = LoadLibraryW(L"uiautomationcore.dll")) {
      nodeFromHandle = reinterpret_cast<NodeFromHandle>(reinterpret_cast<void*>(GetProcAddress(core, "UiaNodeFromHandle")));
      getProperty = reinterpret_cast<GetProperty>(reinterpret_cast<void*>(GetProcAddress(core, "UiaGetPropertyValue")));
      nodeRelease = reinterpret_cast<NodeRelease>(reinterpret_cast<void*>(GetProcAddress(core, "UiaNodeRelease")));
    }
  }
};

constexpr PROPERTYID kNameProperty = 30005, kControlTypeProperty = 30003;
constexpr long kEditControlType = 50004;

// A time edit on a thread of its own, which answers its messages as the program's window thread
// does while this one asks: UI Automation's client waits for the answer without answering any
// message itself, so the control cannot live on the asking thread.
class EditOnItsOwnThread {
public:
  explicit EditOnItsOwnThread(const wchar_t* name) {
    RegisterHostClass();
    thread_ = std::thread([this, name] {
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      {
        const HWND top = CreateWindowExW(0, kHostClass, L"Automation", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 260, 200,
                                         80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        pw::TkwTimeEdit edit(top, 10, 10, 90, 21, 7);
        edit.SetAccessibleName(name);
        {
          const std::lock_guard lock(mutex_);
          wnd_ = edit.Handle();
          threadId_ = GetCurrentThreadId();
          started_ = true;
        }
        ready_.notify_all();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DestroyWindow(top);  // the edit's window with it, on this thread
      }
      CoUninitialize();
    });
    std::unique_lock lock(mutex_);
    ready_.wait_for(lock, 20s, [this] { return started_; });
  }
  ~EditOnItsOwnThread() {
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return started_; });
    }
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND Handle() const {
    const std::lock_guard lock(mutex_);
    return wnd_;
  }

private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  bool started_ = false;
  HWND wnd_ = nullptr;
  DWORD threadId_ = 0;
  std::thread thread_;
};

TEST(EditAutomationTest, NodeHasTheRowsNameAndIsAnEdit) {
  const AutomationClient uia;
  ASSERT_TRUE(uia.nodeFromHandle && uia.getProperty && uia.nodeRelease);
  const EditOnItsOwnThread edit(L"Accessed");
  ASSERT_NE(edit.Handle(), nullptr);
  AutomationClient::Node node = nullptr;
  ASSERT_EQ(uia.nodeFromHandle(edit.Handle(), &node), S_OK);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(uia.getProperty(node, kNameProperty, &v), S_OK);
  EXPECT_EQ(v.vt, VT_BSTR);
  if (v.vt == VT_BSTR) {
    EXPECT_EQ(std::wstring(v.bstrVal), L"Accessed");
  }
  VariantClear(&v);
  EXPECT_EQ(uia.getProperty(node, kControlTypeProperty, &v), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, kEditControlType);
  uia.nodeRelease(node);
}

TEST_F(TimeEditAccessTest, ValuePatternShowsAndTakesAWholeTime) {
  // The Value pattern, as the core hands it to a client in this process.
  IUnknown* unknown = nullptr;
  ASSERT_EQ(edit->Accessible().QueryAutomation(__uuidof(IRawElementProviderSimple), reinterpret_cast<void**>(&unknown)),
            S_OK);
  const ComPtr<IRawElementProviderSimple> provider(static_cast<IRawElementProviderSimple*>(unknown));
  IUnknown* pattern = nullptr;
  ASSERT_EQ(provider->GetPatternProvider(10002 /* Value */, &pattern), S_OK);
  ASSERT_NE(pattern, nullptr);
  const ComPtr<IUnknown> valuePattern(pattern);
  IValueProvider* asked = nullptr;
  ASSERT_EQ(pattern->QueryInterface(__uuidof(IValueProvider), reinterpret_cast<void**>(&asked)), S_OK);
  const ComPtr<IValueProvider> value(asked);
  BSTR shown = nullptr;
  ASSERT_EQ(value->get_Value(&shown), S_OK);
  EXPECT_EQ(Colons(Take(shown)), L"14:05:09:007");
  BOOL readOnly = TRUE;
  ASSERT_EQ(value->get_IsReadOnly(&readOnly), S_OK);
  EXPECT_FALSE(readOnly);
  WinEvents events;
  events.Clear();
  EXPECT_EQ(value->SetValue(L"07:08:09:010"), S_OK);
  EXPECT_EQ(Colons(testutil::WindowText(Wnd())), L"07:08:09:010");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(events.CountOnce(EVENT_OBJECT_VALUECHANGE, Wnd(), 1), 1);
  EXPECT_EQ(value->SetValue(L"24:00:00:000"), E_INVALIDARG);
  EXPECT_EQ(value->SetValue(L"7:8:9"), E_INVALIDARG);
  EXPECT_EQ(Colons(testutil::WindowText(Wnd())), L"07:08:09:010");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pw::TimeOfDayFromText(testutil::WindowText(Wnd())), (pw::TimeOfDay{7, 8, 9, 10}));
}

TEST(EditorAccessTest, TimeEditsAreNamedByTheirRowsAndTheToolbarButtonsByTheirHints) {
  TfrmEditFileParams editor(nullptr);
  const EditFileParamsProbe probe(editor.Handle());
  const wchar_t* rows[] = {L"Created", L"Modified", L"Accessed"};
  for (int i = 0; i < 3; ++i) {
    const ComPtr<IAccessible> acc = ObjectOf(probe.edTimes(i).Handle());
    ASSERT_TRUE(acc);
    EXPECT_EQ(Name(*acc), rows[i]);
  }
  for (const auto& [name, said] : {std::pair{L"btnNow", L"Set now"}, std::pair{L"btnUpdate", L"Update"}}) {
    const ComPtr<IAccessible> acc = ObjectOf(probe.Button(name).Handle());
    ASSERT_TRUE(acc);
    EXPECT_EQ(Name(*acc), said);
    EXPECT_EQ(Role(*acc), ROLE_SYSTEM_PUSHBUTTON);
  }
}

TEST(AboutAccessTest, TheLinksAreLinksReachedByTabAfterOk) {
  TfrmAbout about;
  ASSERT_TRUE(about.Create());
  const AboutProbe probe(about);
  EXPECT_EQ(GetNextDlgTabItem(about.Handle(), probe.btnOK(), FALSE), probe.LabelWeb());
  EXPECT_EQ(GetNextDlgTabItem(about.Handle(), probe.LabelWeb(), FALSE), probe.LabelMail());
  EXPECT_EQ(GetNextDlgTabItem(about.Handle(), probe.LabelMail(), FALSE), probe.btnOK());
  for (HWND link : {probe.LabelWeb(), probe.LabelMail()}) {
    const ComPtr<IAccessible> acc = ObjectOf(link);
    ASSERT_TRUE(acc);
    EXPECT_EQ(Role(*acc), ROLE_SYSTEM_LINK);
    EXPECT_EQ(Name(*acc), testutil::WindowText(link));
    EXPECT_FALSE(Name(*acc).empty());
    EXPECT_NE(State(*acc) & STATE_SYSTEM_LINKED, 0);
  }
}

// --- Keyboard: Tab in reading order, a key for every caption ------------------------------------

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 63);
  return name;
}

RECT ScreenRect(HWND wnd) {
  RECT rc{};
  GetWindowRect(wnd, &rc);
  return rc;
}

// The controls Tab reaches from the first, once round (bounded: a loop that never comes back fails).
std::vector<HWND> TabRound(HWND top) {
  std::vector<HWND> stops;
  for (HWND at = GetNextDlgTabItem(top, nullptr, FALSE); at && stops.size() < 64; at = GetNextDlgTabItem(top, at, FALSE)) {
    if (!stops.empty() && at == stops.front()) break;
    stops.push_back(at);
  }
  return stops;
}

// Every control that takes the focus is reached by Tab, top to bottom and left to right within a
// row; every check box, radio button and button that is not the window's OK or Cancel has an access
// key, as has a label that names an edit or a list; no two share one.
void ExpectKeyboardReachable(HWND top, bool readingOrder) {
  const std::vector<HWND> round = TabRound(top);
  std::vector<HWND> all;
  EnumChildWindows(top, [](HWND child, LPARAM into) {
    reinterpret_cast<std::vector<HWND>*>(into)->push_back(child);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&all));
  std::vector<std::wstring> keys;
  for (HWND child : all) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (!IsWindowVisible(child)) continue;
    if ((style & WS_TABSTOP) && IsWindowEnabled(child)) {
      EXPECT_NE(std::find(round.begin(), round.end(), child), round.end()) << testutil::WindowText(child) << " not reached";
    }
    const std::wstring cls = ClassOf(child), text = testutil::WindowText(child);
    const int id = GetDlgCtrlID(child);
    bool needsKey = false;
    if (cls == L"Button") needsKey = !text.empty() && id != IDOK && id != IDCANCEL;
    if (cls == L"Static" && !(style & SS_NOPREFIX) && !text.empty()) {
      HWND named = GetWindow(child, GW_HWNDNEXT);
      const std::wstring namedClass = named ? ClassOf(named) : L"";
      needsKey = namedClass == L"Edit" || namedClass == L"ComboBox" || namedClass == DATETIMEPICK_CLASSW;
    }
    if (!needsKey) continue;
    const std::wstring key = pw::AccessKeyName(text);
    EXPECT_NE(key, L"") << text << " has no access key";
    if (!key.empty()) {
      EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 0) << text << ": its key is taken";
      keys.push_back(key);
    }
  }
  for (size_t i = 1; readingOrder && i < round.size(); ++i) {
    const RECT a = ScreenRect(round[i - 1]), b = ScreenRect(round[i]);
    const bool sameRow = b.top < a.bottom && a.top < b.bottom;
    EXPECT_TRUE(sameRow ? b.left >= a.right - 2 : b.top >= a.top)
        << testutil::WindowText(round[i]) << " [" << ClassOf(round[i]) << "] comes after "
        << testutil::WindowText(round[i - 1]) << " [" << ClassOf(round[i - 1]) << "]";
  }
}

TEST(KeyboardTest, EveryToolWindowTabsInReadingOrderAndEveryCaptionHasItsOwnKey) {
  const std::vector<std::wstring> photos{L"C:\\none\\a.jpg"};
  const std::pair<const char*, std::function<std::unique_ptr<ui::Form>()>> windows[] = {
      {"shift", [] { return std::make_unique<TfrmShiftTimes>(nullptr, true); }},
      {"copy", [] { return std::make_unique<TfrmCopyTimes>(nullptr, true); }},
      {"restore", [] { return std::make_unique<TfrmRestoreTimes>(nullptr, true); }},
      {"content", [] { return std::make_unique<TfrmTimesFromContent>(nullptr, true); }},
      {"save", [] { return std::make_unique<TfrmSaveTimes>(nullptr, true); }},
      {"now", [] { return std::make_unique<TfrmSetNow>(nullptr, true); }},
      {"clock", [&photos] { return std::make_unique<TfrmSetClockRight>(nullptr, photos); }},
      {"editor", [] { return std::make_unique<TfrmEditFileParams>(nullptr); }},
  };
  for (const auto& [name, make] : windows) {
    SCOPED_TRACE(name);
    const std::unique_ptr<ui::Form> window = make();
    ShowWindow(window->Handle(), SW_SHOWNA);
    // The editor's order is its own (the synchronise box comes within the third row).
    ExpectKeyboardReachable(window->Handle(), std::string_view(name) != "editor");
  }
}

// --- The main window ----------------------------------------------------------------------------

class MainWindowAccessTest : public BrowserFolderTest {
protected:
  MainWindowAccessTest() : BrowserFolderTest(L"access") {}
  struct SeenItem {
    std::wstring handleText;  // what the menu handle holds as the item's string
    std::wstring readerText;  // what screen readers read from the item's data
    bool separator = false;
    bool signed_ = false;
  };
  // Every item of a menu and of its sub-menus, depth first.
  static void Walk(HMENU menu, std::vector<SeenItem>& seen) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
      wchar_t text[256] = {};
      info.dwTypeData = text;
      info.cch = 255;
      ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
      SeenItem item;
      item.handleText = text;
      item.separator = (info.fType & MFT_SEPARATOR) != 0;
      const auto* msaa = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
      if (msaa && msaa->dwMSAASignature == MSAA_MENU_SIG) {
        item.signed_ = true;
        item.readerText.assign(msaa->pszWText ? msaa->pszWText : L"", msaa->cchWText);
      }
      seen.push_back(item);
      if (info.hSubMenu) Walk(info.hSubMenu, seen);
    }
  }
  static std::vector<SeenItem> Items(HMENU menu) {
    std::vector<SeenItem> seen;
    Walk(menu, seen);
    return seen;
  }
  static std::wstring ReaderText(HMENU menu, const ui::MenuItem& item) {
    for (const SeenItem& seen : Items(menu))
      if (seen.handleText == pw::MenuItemText(item.Caption(), item.ShortCut())) return seen.readerText;
    return L"(not found)";
  }
};

TEST_F(MainWindowAccessTest, EveryMenuItemCarriesItsTextForScreenReaders) {
  MakeFile(base + L"marked.txt");
  ListPath(base);
  ClickRow(FileList(), 1);
  ClickButton(Button(L"btnBookmark"));  // a bookmark item added after the menus were made
  ASSERT_FALSE(Probe().Bookmarks().empty());
  ASSERT_EQ(Probe().Bookmarks().front(), base + L"marked.txt");

  int withShortcut = 0, bookmarkItems = 0;
  for (HMENU menu : {Probe().MainMenu(), Probe().PopupMenu()}) {
    const std::vector<SeenItem> items = Items(menu);
    ASSERT_GT(items.size(), 5u);
    for (const SeenItem& item : items) {
      EXPECT_TRUE(item.signed_) << item.handleText;
      if (item.separator) {
        EXPECT_EQ(item.readerText, L"");
        continue;
      }
      EXPECT_EQ(item.readerText, item.handleText);
      EXPECT_NE(item.readerText.find(L'&'), std::wstring::npos) << item.readerText << " has no access key";
      withShortcut += item.readerText.find(L'\t') != std::wstring::npos;
      bookmarkItems += item.readerText.find(L"marked.txt") != std::wstring::npos;
    }
  }
  // One item per bookmark of that name (an earlier run's may stay in the registry), none in the pop-up.
  EXPECT_EQ(bookmarkItems, std::count_if(Probe().Bookmarks().begin(), Probe().Bookmarks().end(),
                                         [](const std::wstring& path) { return path.ends_with(L"marked.txt"); }));
  EXPECT_GE(withShortcut, 5);
  EXPECT_EQ(ReaderText(Probe().MainMenu(), *Item(L"mnuRefresh")), L"&Refresh\tF5");

  // The pop-up item now removes the bookmark: its text follows its caption.
  EXPECT_EQ(ReaderText(Probe().PopupMenu(), *Item(L"mnuPopBookmark")), Item(L"mnuPopBookmark")->Caption());
  EXPECT_EQ(Item(L"mnuPopBookmark")->Caption(), L"&Remove bookmark");
  ClickButton(Button(L"btnBookmark"));
  EXPECT_EQ(ReaderText(Probe().PopupMenu(), *Item(L"mnuPopBookmark")), L"&Add bookmark");
}

TEST_F(MainWindowAccessTest, TabWalksToolbarPathLineAndListAndBack) {
  ListPath(base);
  SetFocus(FileList().Handle());
  std::vector<HWND> seen{GetFocus()};
  for (int i = 0; i < 40 && (seen.size() == 1 || seen.back() != FileList().Handle()); ++i) {
    testutil::PressKey(GetFocus(), VK_TAB);
    seen.push_back(GetFocus());
  }
  ASSERT_EQ(seen.back(), FileList().Handle()) << "Tab never came back to the list";
  ASSERT_GE(seen.size(), 9u);
  // The toolbar's buttons left to right, then the path line, then the list.
  EXPECT_EQ(seen[seen.size() - 2], Probe().PathLine());
  for (size_t i = 1; i + 2 < seen.size(); ++i) {
    EXPECT_EQ(GetParent(seen[i]), Probe().ToolbarPanel());
    if (i > 1) {
      EXPECT_GT(ScreenRect(seen[i]).left, ScreenRect(seen[i - 1]).left);
    }
  }
  // Shift+Tab goes back the same way; in the drive list Tab reaches the drive list instead.
  testutil::PressKey(GetFocus(), VK_TAB, ui::ModShift);
  EXPECT_EQ(GetFocus(), Probe().PathLine());
  testutil::PressKey(GetFocus(), VK_TAB, ui::ModShift);
  EXPECT_EQ(GetFocus(), seen[seen.size() - 3]);

  // The status bar reads as one, its panels named by what they show.
  const ComPtr<IAccessible> status = ObjectOf(Status().Handle());
  ASSERT_TRUE(status);
  EXPECT_EQ(Role(*status), ROLE_SYSTEM_STATUSBAR);
  long panels = 0;
  EXPECT_EQ(status->get_accChildCount(&panels), S_OK);
  EXPECT_EQ(panels, 3);
  EXPECT_TRUE(Status().Text(1).starts_with(L"Folders: "));
  EXPECT_EQ(Name(*status, 1), Status().Text(0));
  EXPECT_EQ(Name(*status, 2), Status().Text(1));
  EXPECT_EQ(Role(*status, 2), ROLE_SYSTEM_STATICTEXT);
}

TEST_F(MainWindowAccessTest, ToolbarButtonsReadAsButtonsWithTheirHints) {
  int buttons = 0;
  for (HWND child = GetWindow(Probe().ToolbarPanel(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto* button = dynamic_cast<const ui::SpeedButton*>(ui::Window::FromHandle(child));
    if (!button) continue;
    ++buttons;
    const ComPtr<IAccessible> acc = ObjectOf(child);
    ASSERT_TRUE(acc);
    EXPECT_EQ(Role(*acc), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Name(*acc), button->Hint());
    EXPECT_FALSE(Name(*acc).empty());
  }
  EXPECT_GE(buttons, 6);

  // A view button pressed by a screen reader switches the view, and reads as pressed then.
  const ComPtr<IAccessible> list = ObjectOf(Button(L"btnList").Handle());
  ASSERT_TRUE(list);
  EXPECT_EQ(State(*list) & STATE_SYSTEM_PRESSED, 0);
  EXPECT_EQ(list->accDoDefaultAction(Part(CHILDID_SELF)), S_OK);
  EXPECT_NE(State(*list) & STATE_SYSTEM_PRESSED, 0);
  EXPECT_TRUE(Item(L"mnuList")->Checked());
  ClickButton(Button(L"btnDetails"));

  // The bookmark button's name follows its hint, and screen readers are told.
  const ComPtr<IAccessible> bookmark = ObjectOf(Button(L"btnBookmark").Handle());
  ASSERT_TRUE(bookmark);
  EXPECT_EQ(Name(*bookmark), L"Add bookmark");
}

}  // namespace
