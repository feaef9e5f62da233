#include "ui/Subclass.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/Failure.h"

namespace ui {
namespace {

// The handlers of one window, latest first, and the procedure that was in place before them. Only
// the thread that owns the windows uses these.
struct Chain {
  WNDPROC Original = nullptr;
  std::vector<Subclass*> Handlers;
};

std::unordered_map<HWND, Chain>& Chains() {
  static std::unordered_map<HWND, Chain> chains;
  return chains;
}

Chain* Find(HWND wnd) {
  const auto found = Chains().find(wnd);
  return found == Chains().end() ? nullptr : &found->second;
}

bool Holds(const Chain& chain, const Subclass* handler) {
  return std::find(chain.Handlers.begin(), chain.Handlers.end(), handler) != chain.Handlers.end();
}

}  // namespace

bool Subclass::Install(HWND wnd, Handler handler) {
  Remove();
  if (!wnd) return false;
  handler_ = std::move(handler);
  Chain* chain = Find(wnd);
  if (!chain) {
    SetLastError(ERROR_SUCCESS);
    const LONG_PTR original = SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::Proc));
    if (!original && GetLastError() != ERROR_SUCCESS) return false;
    chain = &Chains()[wnd];
    chain->Original = reinterpret_cast<WNDPROC>(original);
  }
  chain->Handlers.insert(chain->Handlers.begin(), this);
  wnd_ = wnd;
  return true;
}

void Subclass::Remove() {
  if (!wnd_) return;
  const HWND wnd = std::exchange(wnd_, nullptr);
  Chain* chain = Find(wnd);
  if (!chain) return;
  std::erase(chain->Handlers, this);
  // Our procedure goes only while it is the window's own: another one put in front of it later
  // still calls it, and it passes everything on.
  if (chain->Handlers.empty() &&
      GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Subclass::Proc)) {
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->Original));
    Chains().erase(wnd);
  }
}

LRESULT Subclass::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const {
  return wnd_ ? Dispatch(wnd_, this, msg, wp, lp) : 0;
}

LRESULT Subclass::Dispatch(HWND wnd, const Subclass* after, UINT msg, WPARAM wp, LPARAM lp) {
  const Chain* chain = Find(wnd);
  if (!chain) return DefWindowProcW(wnd, msg, wp, lp);
  const WNDPROC original = chain->Original;
  // A handler may install or remove handlers, even its own: it walks a copy, and passes over any
  // handler gone meanwhile.
  const std::vector<Subclass*> handlers = chain->Handlers;
  auto next = handlers.begin();
  if (after) {
    next = std::find(handlers.begin(), handlers.end(), after);
    if (next != handlers.end()) ++next;
  }
  for (; next != handlers.end(); ++next) {
    const Chain* now = Find(wnd);
    if (!now) break;
    if (!Holds(*now, *next)) continue;
    Subclass* handler = *next;
    try {
      LRESULT result = 0;
      if (handler->handler_ && handler->handler_(wnd, msg, wp, lp, &result)) return result;
    } catch (...) {
      // No exception may cross into the system's message dispatch.
      ReportFailure(L"message " + std::to_wstring(msg) + L" of a control");
    }
  }
  return CallWindowProcW(original, wnd, msg, wp, lp);
}

LRESULT CALLBACK Subclass::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_NCDESTROY) return Dispatch(wnd, nullptr, msg, wp, lp);
  // The window goes away before its owners removed their handlers: they forget it, so that their
  // Remove() does nothing, and the window ends with its own procedure.
  const LRESULT result = Dispatch(wnd, nullptr, msg, wp, lp);
  if (Chain* chain = Find(wnd)) {
    for (Subclass* handler : chain->Handlers) handler->wnd_ = nullptr;
    if (GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Subclass::Proc))
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->Original));
    Chains().erase(wnd);
  }
  return result;
}

}  // namespace ui
