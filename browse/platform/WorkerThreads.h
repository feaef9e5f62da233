#pragma once
// The threads that read folders and watch them. A thread whose work has ended waits for the next:
// making a thread costs Wine several milliseconds, which every listing would wait for. A new one is
// made only when none is idle (the others still finishing a stopped listing's block, or hanging on
// a folder that does not answer, as a dead share does).
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pw {

class WorkerThreads {
public:
  // The process's threads; never destroyed, as a thread let go at the end may still use them.
  static WorkerThreads& All();

  // Runs `work` on an idle thread, or on a new one. Each thread lives in a single-threaded
  // apartment, which the shell's type queries want. `work` must not throw.
  void Run(std::function<void()> work);
  // When the process ends: waits at most `milliseconds` for busy threads to end their work, ends
  // the idle ones, and lets go of those still busy (hanging on a folder), which end with the process.
  void LetGo(DWORD milliseconds);

private:
  struct Worker;
  WorkerThreads() = default;
  void Loop(Worker* worker);

  std::mutex lock_;
  std::vector<std::unique_ptr<Worker>> workers_;
};

}  // namespace pw
