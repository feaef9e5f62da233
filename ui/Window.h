#pragma once
// One C++ object per window: the object is found from the window procedure through the pointer
// stored at WM_NCCREATE, and each message goes to HandleMessage.
#include <windows.h>

namespace ui {

class Window {
public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  void SetVisible(bool visible) const;
  void SetBounds(int x, int y, int w, int h) const;

  // The object behind a window made by this layer, or nullptr for any other window.
  static Window* FromHandle(HWND wnd);

protected:
  struct ClassSpec {
    const wchar_t* Name;
    UINT Style = CS_DBLCLKS;
    HBRUSH Background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HICON Icon = nullptr;
    HICON SmallIcon = nullptr;
    HCURSOR Cursor = nullptr;  // nullptr: the arrow
  };
  HWND CreateObjectWindow(const ClassSpec& cls, DWORD exStyle, const wchar_t* title, DWORD style,
                          int x, int y, int w, int h, HWND parent, HMENU menuOrId);
  // Unhandled messages go to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;

private:
  static LRESULT CALLBACK Thunk(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace ui
