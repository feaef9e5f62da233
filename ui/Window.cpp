#include "ui/Window.h"

#include <string>

#include "ui/Failure.h"

namespace ui {

namespace {
const wchar_t kObjectProp[] = L"Pathwick.WindowObject";
}

Window::~Window() {
  if (hwnd_ && IsWindow(hwnd_)) {
    HWND wnd = hwnd_;
    RemovePropW(wnd, kObjectProp);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(wnd);
  }
}

void Window::SetVisible(bool visible) const {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Window::SetBounds(int x, int y, int w, int h) const {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

Window* Window::FromHandle(HWND wnd) {
  if (!wnd || !GetPropW(wnd, kObjectProp)) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

HWND Window::CreateObjectWindow(const ClassSpec& cls, DWORD exStyle, const wchar_t* title,
                                DWORD style, int x, int y, int w, int h, HWND parent,
                                HMENU menuOrId) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(inst, cls.Name, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = cls.Style;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = inst;
    wc.hIcon = cls.Icon;
    wc.hIconSm = cls.SmallIcon;
    wc.hCursor = cls.Cursor ? cls.Cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = cls.Background;
    wc.lpszClassName = cls.Name;
    RegisterClassExW(&wc);
  }
  return CreateWindowExW(exStyle, cls.Name, title, style, x, y, w, h, parent, menuOrId, inst, this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Thunk(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = wnd;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(wnd, kObjectProp, reinterpret_cast<HANDLE>(1));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(wnd, msg, wp, lp);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // No exception may cross into the system's message dispatch.
    ReportFailure(L"message " + std::to_wstring(msg) + L" of a window");
    result = DefWindowProcW(wnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    RemovePropW(wnd, kObjectProp);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace ui
