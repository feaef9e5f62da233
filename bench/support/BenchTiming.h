#pragma once
// What the benchmarks share: a clock, the best of a few runs, letting the window answer, and the
// longest the window took to answer while some work ran.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "support/Messages.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

template <typename F>
double Best(int runs, F f) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, f());
  return best;
}

// Waits a little for a message, then handles all there are.
inline void Answer() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  testutil::PumpMessages();
}

// A wait for the window: when it began (seconds after the start) and how long it was.
struct Wait {
  double Began = 0;
  double Seconds = 0;
};

// The longest time the window took to answer a message sent every 10 ms while `work` ran, and
// when (seconds after the start) that wait began. With `counting`, only the messages sent while it
// is set count. `long_` collects every counted wait of 50 ms or more, to tell where they fall.
template <typename F>
double LongestWait(HWND window, F work, double* began = nullptr, const std::atomic<bool>* counting = nullptr,
                   std::vector<Wait>* long_ = nullptr) {
  std::atomic<bool> done{false}, finished{false};
  double longest = 0;
  const auto start = Clock::now();
  std::thread asker([&] {
    while (!done) {
      const auto sent = Clock::now();
      const bool counts = !counting || *counting;
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
      const double took = Seconds(sent), at = std::chrono::duration<double>(sent - start).count();
      if (counts && took >= 0.050 && long_) long_->push_back({at, took});
      if (counts && took > longest) {
        longest = took;
        if (began) *began = at;
      }
      Sleep(10);
    }
    finished = true;
  });
  work();
  done = true;
  while (!finished) Answer();  // it may be waiting for an answer
  asker.join();
  return longest;
}

}  // namespace bench
