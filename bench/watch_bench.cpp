// A shown folder that changes on disk: while a folder of 100,000 entries is shown in the real
// window, another program creates 10,000 files in it, five times (removing them after each); the
// time from the last one made until the list shows them all, as a ratio to listing the folder
// anew (F5) in the same run, and the longest wait for the window meanwhile, each the worst of five.
//
//   watch_bench [--in FOLDER]
//
// scripts/bench.sh makes FOLDER\watch100000 on the host and starts the program that makes the new
// files there as soon as FOLDER\watch.go appears (through Wine each new name is first looked up in
// the whole folder, which would take hours), writing FOLDER\watch.made when it is done, and
// removes them when FOLDER\watch.clean appears, writing FOLDER\watch.cleaned.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "support/MainWindowProbe.h"
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
constexpr int kRounds = 5;

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
  const std::wstring clean = parent + L"watch.clean", cleaned = parent + L"watch.cleaned";
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
  std::printf("%-10d %-44s %8.3f s\n", before - 1, "listing the folder anew (F5)", anew);

  // Five rounds: the other program makes the files, the window shows them as the watch reports
  // them; what counts is how long the list takes to show them all once the last one is made. Then
  // the other program removes them again, and the list is back as it was before the next round.
  double worst = 0, longestWait = 0;
  bool whole = true;
  for (int round = 0; round < kRounds && whole; ++round) {
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
    whole = list.Count() == before + kNewFiles;
    const double after = shown > madeAt ? shown - madeAt : 0;
    worst = std::max(worst, after / anew);
    longestWait = std::max(longestWait, wait);
    std::printf("%-10d round %d: %-35s %8.3f s %6.2fx  (made in %.3f s, all shown %.3f s after the first)\n",
                kNewFiles, round + 1, "after the last is made, until all shown", after, after / anew, making, shown);

    DeleteFileW(cleaned.c_str());
    ui::ScopedHandle(CreateFileW(clean.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const auto cleaning = Clock::now();
    while ((list.Count() != before || !Exists(cleaned)) && Seconds(cleaning) < 600) Answer();
  }
  std::printf("%-10d %-44s %8.2fx  goal <= 0.50x (worst of %d)\n", kNewFiles, "after the last is made, until all shown",
              worst, kRounds);
  std::printf("%-10d %-44s %8.3f s  goal <= 0.100 s (worst of %d)\n", kNewFiles,
              "longest wait for the window meanwhile", longestWait, kRounds);
  std::printf("%-10d %-44s %8s\n", kNewFiles, "every file shown in every round", whole ? "yes" : "NO");
  const std::string n = bench::Text("%d new files in %d: ", kNewFiles, before - 1);
  bench::Summary(n + "until all shown", bench::Text("%.2fx listing anew", worst), "<= 0.50x", whole && worst <= 0.50);
  bench::Summary(n + "longest wait meanwhile", bench::Text("%.3f s", longestWait), "<= 0.100 s", longestWait <= 0.100);
  bench::Summary(n + "every file shown", whole ? "yes" : "no", "yes", whole);
  return whole ? 0 : 1;
}
