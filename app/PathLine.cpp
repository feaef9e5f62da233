// The path line: read-only and showing CurrentPath, until the user asks to type a path into it
// (Ctrl+L, F4 or a click). Enter goes to the typed path; Esc or leaving the line gives it the
// current path back.
#include <windows.h>

#include "app/kwFileBrowser.h"
#include "browse/core/ListingRules.h"
#include "browse/core/TypedPath.h"
#include "ui/Keys.h"

namespace {

std::wstring WindowText(HWND wnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Relative paths count from the listed folder, the process's current directory.
std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (size == 0 || size >= full.size()) return {};
  full.resize(size);
  return full;
}

}  // namespace

void TfrmFileBrowser::EditPath(const ui::Sender&) {
  if (GetFocus() == edFilename) SendMessageW(edFilename, EM_SETSEL, 0, -1);
  else SetFocus(edFilename);
}

bool TfrmFileBrowser::FilenameWndProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      // The first click selects the whole path, as in Explorer's address bar; later ones place
      // the caret.
      if (GetFocus() == edFilename) return false;
      SetFocus(edFilename);
      *result = 0;
      return true;
    case WM_SETFOCUS:
      *result = pathLine_.CallPrevious(msg, wp, lp);
      edFilenameEnter();
      return true;
    case WM_KILLFOCUS:
      edFilenameExit();
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      *result = 0;
      if (FormShortCut(edFilename, msg, wp, lp)) return true;
      if (msg != WM_KEYDOWN) return false;
      WORD key = static_cast<WORD>(wp);
      edFilenameKeyDown(key);
      if (key != 0) return false;
      ui::KeyUsed(edFilename, msg, wp, lp);  // a single-line edit beeps at Enter
      return true;
    }
    default:
      return false;
  }
}

void TfrmFileBrowser::edFilenameEnter() {
  SendMessageW(edFilename, EM_SETREADONLY, FALSE, 0);
  // With the drives entry selected the line is empty; the folder shown is the one to edit.
  if (CurrentPath.empty()) SetWindowTextW(edFilename, ShownFolder().c_str());
  SendMessageW(edFilename, EM_SETSEL, 0, -1);
  InvalidateRect(edFilename, nullptr, TRUE);  // editable: the window colour instead of the face
}

void TfrmFileBrowser::edFilenameExit() {
  SendMessageW(edFilename, EM_SETREADONLY, TRUE, 0);
  SetWindowTextW(edFilename, CurrentPath.c_str());
  InvalidateRect(edFilename, nullptr, TRUE);
}

void TfrmFileBrowser::edFilenameKeyDown(WORD& key) {
  switch (key) {
    case VK_RETURN:
      if (GoToTypedPath()) FocusShownList();
      key = 0;
      break;
    case VK_ESCAPE:
      FocusShownList();
      key = 0;
      break;
    default:
      break;
  }
}

bool TfrmFileBrowser::GoToTypedPath() {
  const std::wstring typed = pw::CleanTypedPath(WindowText(edFilename));
  std::wstring path = typed.empty() ? std::wstring() : FullPath(typed);
  const DWORD attrs = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    MessageBeep(MB_OK);
    return false;
  }
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) {
    if (path.back() != L'\\') path += L'\\';
    OpenFolder(path, [](bool read) {
      if (!read) MessageBeep(MB_OK);
    });
    return true;
  }
  SetCurrentPath(path, [this, path](bool shown) {
    if (shown) SelectByCaption(lvFiles, pw::LastComponent(path));
    else MessageBeep(MB_OK);
    UpdateBookmarkControls(Bookmarks->State());
  });
  return true;
}
