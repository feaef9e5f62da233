// Program entry: common controls, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/kwFileBrowser.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                            ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // The shell's icon and type queries want a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  int rc = 0;
  {
    TfrmFileBrowser form;
    if (form.Create(true)) {
      form.Show();
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      rc = static_cast<int>(msg.wParam);
    }
  }
  // The window is gone at once; a listing's worker stuck on a share that does not answer must not
  // keep the process alive.
  pw::FolderFeed::LetWorkersGo(1500);
  CoUninitialize();
  return rc;
}
