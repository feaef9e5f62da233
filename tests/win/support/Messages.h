#pragma once
// Small helpers for driving real windows from tests.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace testutil {

// Dispatches every message waiting in this thread's queue (posted messages, paints, timers that
// are already due). Never sleeps.
void PumpMessages();
// Answers this thread's messages as they come until `done` holds or `most` has passed; whether it
// holds. Without `done`, answers them for `most`.
bool AnswerUntil(const std::function<bool()>& done, std::chrono::milliseconds most);

// The text of a window (GetWindowTextW).
std::wstring WindowText(HWND wnd);
// The text a list view shows in a cell (LVM_GETITEMTEXTW), whatever its length.
std::wstring ItemText(HWND list, int row, int column);

// A fresh, empty folder under %TEMP%, removed with everything in it when the object goes.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Path with a trailing backslash.
  const std::wstring& Path() const { return path_; }
private:
  std::wstring path_;
};

// Deletes a file or a folder tree; attributes are cleared first.
void RemoveTree(const std::wstring& path);

}  // namespace testutil
