#pragma once
// Acts on a modal window from inside its own loop: the script runs once a window of the given class
// has been shown or activated by this thread (a window shown while the thread's active window is
// a disabled owner is not always activated under Wine), on a zero-delay timer that the modal loop dispatches, so the
// test drives the window with real messages while the code under test waits for it to close.
#include <windows.h>

#include <functional>
#include <set>
#include <string>

namespace testutil {

class WhenShown {
public:
  WhenShown(std::wstring className, std::function<void(HWND)> script);
  ~WhenShown();
  WhenShown(const WhenShown&) = delete;
  WhenShown& operator=(const WhenShown&) = delete;
  // How many windows the script ran for.
  int Runs() const { return runs_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ShowHook(int code, WPARAM wp, LPARAM lp);
  static void Take(HWND wnd);
  static void CALLBACK Timer(HWND, UINT, UINT_PTR id, DWORD);

  std::wstring className_;
  std::function<void(HWND)> script_;
  HHOOK hook_ = nullptr, showHook_ = nullptr;
  std::set<HWND> seen_;
  HWND pending_ = nullptr;
  int runs_ = 0;
  WhenShown* outer_ = nullptr;  // an enclosing watcher of another class
};

// The text of a message box (its static controls joined by line breaks), and a click on its OK.
std::wstring MessageBoxText(HWND box);
void CloseMessageBox(HWND box);

}  // namespace testutil
