// Listing and sorting large folders in the real main window, each figure as a ratio to the bare
// enumeration of the same folder measured in the same run.
//
//   listing_bench [--in FOLDER] [count ...]      (default: 10000 100000 1000000)
//
// The folders are made under FOLDER (default: %TEMP%\pathwick-bench\) unless a previous run (or
// scripts/bench.sh, which makes them much faster on the host) left them there complete.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "support/UserInput.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

size_t WorkingSet() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
  return pmc.WorkingSetSize;
}

// Empty files with a mix of extensions, and one sub-folder per thousand files.
std::wstring MakeFolder(const std::wstring& parent, int count) {
  std::wstring dir = parent + L"bench" + std::to_wstring(count) + L"\\";
  std::wstring marker = dir + L"complete.mark";
  if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return dir;
  CreateDirectoryW(dir.c_str(), nullptr);
  static const wchar_t* const kExt[] = {L".txt", L".doc", L".jpg", L".cpp", L".h", L".log",
                                        L".dat", L".xml", L"", L".tar.gz"};
  for (int i = 0; i < count; ++i) {
    std::wstring name = dir + (i % 1000 == 999 ? L"Folder" : L"file") + std::to_wstring(i);
    if (i % 1000 == 999) {
      CreateDirectoryW(name.c_str(), nullptr);
      continue;
    }
    name += kExt[i % 10];
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  HANDLE h = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return dir;
}

// The floor: one FindFirstFileExW loop over the folder.
double BareEnumeration(const std::wstring& dir, size_t* entries) {
  auto start = Clock::now();
  WIN32_FIND_DATAW fd;
  size_t n = 0;
  HANDLE h = FindFirstFileExW((dir + L"*.*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h != INVALID_HANDLE_VALUE) {
    do ++n;
    while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  *entries = n;
  return Seconds(start);
}

template <typename F>
double Best(int runs, F f) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, f());
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::setvbuf(stdout, nullptr, _IONBF, 0);

  std::vector<int> counts;
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::wstring parent = std::wstring(tmp) + L"pathwick-bench\\";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--in" && i + 1 < argc) {
      std::string folder = argv[++i];
      parent.assign(folder.begin(), folder.end());
      if (parent.back() != L'\\') parent += L'\\';
    } else {
      counts.push_back(std::atoi(arg.c_str()));
    }
  }
  if (counts.empty()) counts = {10000, 100000, 1000000};
  CreateDirectoryW(parent.c_str(), nullptr);

  TfrmFileBrowser form;
  form.Create(false);
  form.Show();
  Pump();

  std::printf("%-10s %-24s %10s %8s\n", "entries", "operation", "seconds", "ratio");
  for (int count : counts) {
    auto made = Clock::now();
    std::wstring dir = MakeFolder(parent, count);
    double makeTime = Seconds(made);
    size_t entries = 0;
    BareEnumeration(dir, &entries);  // warm the caches
    double bare = Best(3, [&] { return BareEnumeration(dir, &entries); });
    auto row = [&](const char* what, double s) {
      std::printf("%-10zu %-24s %10.3f %8.2f\n", entries, what, s, s / bare);
    };
    std::printf("(%zu entries made or found in %.1f s)\n", entries, makeTime);
    row("bare enumeration", bare);

    // Leave the previous listing first, so its memory does not count here.
    testutil::GoToPath(form, parent);
    size_t before = WorkingSet();
    double listing = Best(3, [&] {
      auto start = Clock::now();
      testutil::GoToPath(form, dir);
      RedrawWindow(MainWindowProbe(form).Files().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return Seconds(start);
    });
    size_t after = WorkingSet();
    row("list + first paint", listing);
    std::printf("%-10zu %-24s %10.1f MB -> %.1f MB, %.0f bytes per entry\n", entries, "working set",
                before / 1048576.0, after / 1048576.0,
                after > before ? static_cast<double>(after - before) / static_cast<double>(entries) : 0.0);

    const struct { const char* Name; int Column; } sorts[] = {
        {"sort Name (descending)", 0}, {"sort Size", 1}, {"sort Type", 2}, {"sort Modified", 4}};
    for (const auto& sort : sorts) {
      double t = Best(3, [&] {
        // Clicks first that leave the list sorted by another column (by Name ascending for the
        // Name sort), so each timed click sorts the same way.
        testutil::ClickColumn(form, 6);
        if (sort.Column == 0) testutil::ClickColumn(form, 0);
        auto start = Clock::now();
        testutil::ClickColumn(form, sort.Column);
        RedrawWindow(MainWindowProbe(form).Files().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return Seconds(start);
      });
      row(sort.Name, t);
    }
    std::fflush(stdout);
  }
  std::printf("(the folders stay in %ls for the next run)\n", parent.c_str());
  return 0;
}
