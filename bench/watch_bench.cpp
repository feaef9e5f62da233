// A shown folder that changes on disk: while a folder of 100,000 entries is shown in the real
// window, another program creates 10,000 files in it; the time from the last one made until the
// list shows them all, as a ratio to listing the folder anew (F5) in the same run, the time from
// the first one, and the longest wait for the window meanwhile.
//
//   watch_bench [--in FOLDER]
//
// scripts/bench.sh makes FOLDER\watch100000 on the host and starts the program that makes the new
// files there as soon as FOLDER\watch.go appears (through Wine each new name is first looked up in
// the whole folder, which would take hours), writing FOLDER\watch.made when it is done.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "app/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "bench/support/BenchStart.h"
#include "bench/support/BenchTiming.h"
#include "support/UserInput.h"
#include "ui/Scoped.h"

namespace {

using bench::Answer;
using bench::Clock;
using bench::Seconds;

constexpr int kNewFiles = 10000;

bool Listing(const TfrmFileBrowser& form) {
  return MainWindowProbe(form).Status().Text(2).starts_with(L"Listing...");
}

// F5 on the shown folder, until its listing has ended and the list is painted.
double ListAnew(const TfrmFileBrowser& form) {
  const ui::ListView& list = MainWindowProbe(form).Files();
  const auto start = Clock::now();
  testutil::PressKey(list.Handle(), VK_F5);
  while (Listing(form)) Answer();
  RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return Seconds(start);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
  const std::wstring parent = bench::Start(argc, argv).Folder;
  const std::wstring dir = parent + L"watch100000\\";
  const std::wstring go = parent + L"watch.go", made = parent + L"watch.made";
  if (!Exists(dir)) {
    std::printf("(no folder %ls: scripts/bench.sh makes it)\n", dir.c_str());
    return 1;
  }

  TfrmFileBrowser form;
  form.Create(false);
  form.Show();
  testutil::PumpMessages();
  const ui::ListView& list = MainWindowProbe(form).Files();
  testutil::GoToPath(form, dir);
  while (Listing(form)) Answer();
  const int before = list.Count();
  const double anew = bench::Best(3, [&] { return ListAnew(form); });

  // The other program makes the files; the window shows them as the watch reports them. What
  // counts is how long the list takes to show them all once the last one is made.
  DeleteFileW(made.c_str());
  const auto start = Clock::now();
  double shown = 0, madeAt = 0;
  const double wait = bench::LongestWait(form.Handle(), [&] {
    ui::ScopedHandle(CreateFileW(go.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    while (list.Count() < before + kNewFiles && Seconds(start) < 600) {
      Answer();
      if (!madeAt && Exists(made)) madeAt = Seconds(start);
    }
    shown = Seconds(start);
    while (!madeAt && Seconds(start) < 600) {
      Answer();
      if (Exists(made)) madeAt = Seconds(start);
    }
  });
  double making = 0;
  if (FILE* f = _wfopen(made.c_str(), L"r")) {
    if (std::fscanf(f, "%lf", &making) != 1) making = 0;
    std::fclose(f);
  }
  std::printf("%-10d %-44s %8.3f s\n", before - 1, "listing the folder anew (F5)", anew);
  const double after = shown > madeAt ? shown - madeAt : 0;
  std::printf("%-10d %-44s %8.3f s %6.2fx\n", kNewFiles, "after the last is made, until all are shown", after,
              after / anew);
  std::printf("%-10d %-44s %8.3f s  (the files made in %.3f s)\n", kNewFiles, "from the first made until all are shown",
              shown, making);
  std::printf("%-10d %-44s %8.3f s\n", kNewFiles, "longest wait for the window meanwhile", wait);
  std::printf("%-10d %-44s %8s\n", list.Count() - 1, "entries shown at the end",
              list.Count() == before + kNewFiles ? "all" : "NOT ALL");
  return list.Count() == before + kNewFiles ? 0 : 1;
}
