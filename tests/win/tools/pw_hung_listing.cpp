// Lists a folder whose reads never come back, as on a share that hangs, then ends as the program
// does once its window is closed. The process must end although the listing's worker never
// returns; exit code 0 once it got that far.
#include <windows.h>

#include "browse/platform/FolderFeed.h"

namespace {

HANDLE g_entered = nullptr;
HANDLE g_never = nullptr;

LONG NTAPI NeverAnswers(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, void*, ULONG, int, BOOLEAN, UNICODE_STRING*,
                        BOOLEAN) {
  SetEvent(g_entered);
  WaitForSingleObject(g_never, INFINITE);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  g_entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  {
    pw::FolderFeed feed(nullptr, WM_APP, pw::FolderFeed::kWatchBytes, NeverAnswers);
    feed.Start(temp, pw::ListingOptions{}, FILE_ATTRIBUTE_DIRECTORY);
    if (WaitForSingleObject(g_entered, 20000) != WAIT_OBJECT_0) return 2;
  }
  pw::FolderFeed::LetWorkersGo(1500);
  return 0;
}
