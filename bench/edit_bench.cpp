// Writing times to many files: the time tools' shift and the editor's apply, each through the
// command's own core, as a ratio to a bare loop of CreateFileW + SetFileTime + CloseHandle over the
// same files measured in the same run; then the longest the main window takes to answer while
// "Edit File Params" sets the three times of every file of the folder selected in it.
//
//   edit_bench [--in FOLDER] [--window-only] [count ...]      (default: 100000)
//
// It works on the folders scripts/bench.sh makes under FOLDER (default: %TEMP%\pathwick-bench\),
// changing only their files' times.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "bench/support/BenchStart.h"
#include "bench/support/BenchTiming.h"
#include "timetools/DiskFileSystem.h"
#include "editor/core/EditApply.h"
#include "timetools/core/TimeBatch.h"
#include "support/EditorProbes.h"
#include "support/UserInput.h"
#include "ui/Scoped.h"

namespace {

using bench::Best;
using bench::Clock;
using bench::Seconds;

constexpr std::uint64_t kSecond = 10'000'000;

std::vector<std::wstring> FilesIn(const std::wstring& dir) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found;
  const ui::ScopedFind find(FindFirstFileExW((dir + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                             nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::wstring(found.cFileName) != L"complete.mark")
      files.push_back(dir + found.cFileName);
  } while (FindNextFileW(find.get(), &found));
  return files;
}

FILETIME Ft(std::uint64_t t) { return {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)}; }

// The floor: each file opened for its times, given them, closed.
double Bare(const std::vector<std::wstring>& files, std::uint64_t stamp, bool allThree) {
  const FILETIME t = Ft(stamp);
  const auto start = Clock::now();
  for (const std::wstring& path : files) {
    const ui::ScopedHandle h(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h) SetFileTime(h.get(), allThree ? &t : nullptr, allThree ? &t : nullptr, &t);
  }
  return Seconds(start);
}

// Shift Times' core: every file's last-write time one second later (or earlier).
double Shift(const std::vector<std::wstring>& files, std::int64_t ticks) {
  std::vector<pw::BatchEntry> entries(files.begin(), files.end());
  pw::DiskFileSystem disk;
  const auto start = Clock::now();
  const pw::BatchResult result =
      pw::WriteEntries(entries, pw::ShiftRule(ticks, {false, true, false}), disk, [](std::size_t, std::size_t) { return true; });
  const double s = Seconds(start);
  if (result.Written != files.size()) std::printf("  (shift wrote %zu of %zu)\n", result.Written, files.size());
  return s;
}

// The editor's core: the dialog's three times on every file, the first one held while it is up.
double Edit(const std::vector<std::wstring>& files, std::uint64_t stamp) {
  std::vector<pw::EditTarget> targets(files.begin(), files.end());
  pw::DiskFileSystem disk;
  const auto start = Clock::now();
  pw::EditPlan plan = pw::AskEdit(targets, disk, [stamp](const pw::EditDialogRequest&) {
    return std::optional<pw::EditChoice>(pw::EditChoice{{stamp, stamp, stamp}});
  });
  const pw::BatchResult result = pw::WriteEdit(std::move(plan), disk, [](std::size_t, std::size_t) { return true; });
  const double s = Seconds(start);
  if (result.Done != files.size()) std::printf("  (edit reached %zu of %zu)\n", result.Done, files.size());
  return s;
}

// Clicks Update in the editor's dialog as soon as it is up, and closes the report that follows
// (Wine keeps no creation time of its own).
HHOOK g_hook = nullptr;
HWND g_dialog = nullptr, g_box = nullptr;
std::atomic<bool> g_applying{false};  // from the click on Update on
Clock::time_point g_started;
double g_reportAt = 0;  // when the report came up, seconds after the command

void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageW(std::exchange(g_box, nullptr), WM_COMMAND, IDOK, 0);
}

void CALLBACK ClickUpdate(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const HWND dialog = std::exchange(g_dialog, nullptr);
  if (!dialog) return;
  g_applying = true;
  HWND button = EditFileParamsProbe(dialog).Button(L"btnUpdate").Handle();
  RECT rc{};
  GetClientRect(button, &rc);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right / 2, rc.bottom / 2));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(rc.right / 2, rc.bottom / 2));
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    wchar_t name[64] = {};
    GetClassNameW(reinterpret_cast<HWND>(wp), name, 64);
    if (std::wstring(name) == L"TfrmEditFileParams") {
      g_dialog = reinterpret_cast<HWND>(wp);
      SetTimer(nullptr, 0, 0, &ClickUpdate);
    } else if (std::wstring(name) == L"#32770") {
      g_reportAt = Seconds(g_started);
      g_box = reinterpret_cast<HWND>(wp);
      SetTimer(nullptr, 0, 0, &CloseBox);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  bench::Arguments args = bench::Start(argc, argv);
  std::wstring& parent = args.Folder;
  std::vector<int>& counts = args.Counts;
  if (counts.empty()) counts = {100000};

  TfrmFileBrowser form;
  form.Create(false);
  form.Show();
  testutil::PumpMessages();

  std::printf("%-10s %-34s %10s %8s\n", "files", "operation", "seconds", "/bare");
  for (int count : counts) {
    const std::wstring dir = parent + L"bench" + std::to_wstring(count) + L"\\";
    const std::vector<std::wstring> files = FilesIn(dir);
    if (files.empty()) {
      std::printf("(no folder %ls: scripts/bench.sh makes it)\n", dir.c_str());
      continue;
    }
    // Stamps a day apart, so that every run changes every file.
    std::uint64_t stamp = 132'328'080'000'000'000ull;
    const auto next = [&stamp] { return stamp += 86'400 * kSecond; };
    Bare(files, next(), true);  // warm the caches
    double bareAll = 0;
    if (!args.Has("--window-only")) {
      const double bareWrite = Best(3, [&] { return Bare(files, next(), false); });
      bareAll = Best(3, [&] { return Bare(files, next(), true); });
      const auto row = [&](const char* what, double s, double floor) {
        std::printf("%-10zu %-34s %10.3f %8.2f\n", files.size(), what, s, s / floor);
      };
      row("bare loop, last-write time", bareWrite, bareWrite);
      row("bare loop, three times", bareAll, bareAll);
      std::int64_t sign = 1;
      row("shift last-write times (core)", Best(3, [&] { return Shift(files, (sign = -sign) * kSecond); }), bareWrite);
      row("edit: three times set (core)", Best(3, [&] { return Edit(files, next()); }), bareAll);
    }

    // The real command in the real window: every file selected, Edit File Params, Update.
    testutil::GoToPath(form, dir);
    while (MainWindowProbe(form).Status().Text(2).starts_with(L"Listing...")) bench::Answer();
    const ui::ListView& list = MainWindowProbe(form).Files();
    testutil::PressKey(list.Handle(), 'A', ui::ModCtrl);
    Edit({files.front()}, next());  // the dialog shows this stamp, which the others do not hold
    g_hook = SetWindowsHookExW(WH_CBT, &WatchDialogs, nullptr, GetCurrentThreadId());
    g_applying = false;
    const auto command = [&] {
      SendMessageW(form.Handle(), WM_COMMAND,
                   MAKEWPARAM(MainWindowProbe(form).Item(L"mnuEditFileParams").Command(), 0), 0);
    };
    const auto start = Clock::now();
    g_started = start;
    g_reportAt = 0;
    double began = 0;
    std::vector<bench::Wait> waits;
    const double wait = bench::LongestWait(form.Handle(), command, &began, &g_applying, &waits);
    const double whole = Seconds(start);
    UnhookWindowsHookEx(g_hook);
    std::printf("%-10zu %-34s", files.size(), "waits of 50 ms or more (at: ms)");
    for (const bench::Wait& w : waits) std::printf(" %.1f: %.0f", w.Began, w.Seconds * 1000);
    std::printf("%s", waits.empty() ? " none" : "");
    if (g_reportAt > 0) std::printf("; the report came at %.1f", g_reportAt);
    std::printf("\n");
    std::printf("%-10zu %-34s %10.3f %8.2f  the longest wait for the window while it applies: %.3f s (from %.3f s on)\n",
                files.size(), "Edit File Params in the window", whole, bareAll > 0 ? whole / bareAll : 0.0, wait, began);
    bench::Summary(bench::Text("%zu files: Edit File Params, longest wait", files.size()),
                   bench::Text("%.3f s (from %.1f s on)", wait, began), "<= 0.100 s", wait <= 0.100);
  }
  return 0;
}
