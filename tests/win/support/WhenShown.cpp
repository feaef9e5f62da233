#include "support/WhenShown.h"

#include <utility>

namespace testutil {

namespace {
WhenShown* g_current = nullptr;

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}
}  // namespace

WhenShown::WhenShown(std::wstring className, std::function<void(HWND)> script)
    : className_(std::move(className)), script_(std::move(script)), outer_(g_current) {
  g_current = this;
  hook_ = SetWindowsHookExW(WH_CBT, &WhenShown::Hook, nullptr, GetCurrentThreadId());
  showHook_ = SetWindowsHookExW(WH_CALLWNDPROC, &WhenShown::ShowHook, nullptr, GetCurrentThreadId());
}

WhenShown::~WhenShown() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (showHook_) UnhookWindowsHookEx(showHook_);
  g_current = outer_;
}

void WhenShown::Take(HWND wnd) {
  const std::wstring cls = ClassOf(wnd);
  for (WhenShown* w = g_current; w; w = w->outer_) {
    if (cls != w->className_ || w->seen_.count(wnd)) continue;
    w->seen_.insert(wnd);
    w->pending_ = wnd;
    SetTimer(nullptr, reinterpret_cast<UINT_PTR>(w), 0, &WhenShown::Timer);
    break;
  }
}

LRESULT CALLBACK WhenShown::Hook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) Take(reinterpret_cast<HWND>(wp));
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK WhenShown::ShowHook(int code, WPARAM wp, LPARAM lp) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam &&
      !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD))
    Take(call->hwnd);
  return CallNextHookEx(nullptr, code, wp, lp);
}

void CALLBACK WhenShown::Timer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (WhenShown* w = g_current; w; w = w->outer_) {
    if (w->pending_ == nullptr) continue;
    const HWND wnd = std::exchange(w->pending_, nullptr);
    ++w->runs_;
    w->script_(wnd);
    return;
  }
}

std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Static") continue;
    wchar_t buf[4096] = {};
    GetWindowTextW(child, buf, 4096);
    if (!*buf) continue;
    if (!text.empty()) text += L"\n";
    text += buf;
  }
  return text;
}

void CloseMessageBox(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

}  // namespace testutil
