#include "browse/platform/WorkerThreads.h"

#include <objbase.h>

#include "ui/Scoped.h"

namespace pw {

struct WorkerThreads::Worker {
  std::thread Thread;
  std::condition_variable Woken;
  // Under the lock: the work it is to run next, whether it runs some, whether it is to end.
  std::function<void()> Next;
  bool Busy = false;
  bool Quit = false;
  ui::ScopedHandle Idle{CreateEventW(nullptr, TRUE, TRUE, nullptr)};  // set while it waits for work
};

WorkerThreads& WorkerThreads::All() {
  static WorkerThreads* const threads = new WorkerThreads;
  return *threads;
}

void WorkerThreads::Run(std::function<void()> work) {
  std::lock_guard<std::mutex> hold(lock_);
  Worker* worker = nullptr;
  for (const std::unique_ptr<Worker>& idle : workers_)
    if (!idle->Busy && !idle->Quit) worker = idle.get();
  if (!worker) worker = workers_.emplace_back(std::make_unique<Worker>()).get();
  worker->Next = std::move(work);
  worker->Busy = true;
  ResetEvent(worker->Idle.get());
  if (worker->Thread.joinable()) worker->Woken.notify_one();
  else worker->Thread = std::thread(&WorkerThreads::Loop, this, worker);
}

void WorkerThreads::Loop(Worker* worker) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    worker->Woken.wait(hold, [worker] { return worker->Quit || worker->Next; });
    if (!worker->Next) break;
    std::function<void()> work = std::move(worker->Next);
    worker->Next = nullptr;
    hold.unlock();
    work();
    work = nullptr;  // what the work held goes before the thread counts as idle
    hold.lock();
    worker->Busy = false;
    SetEvent(worker->Idle.get());
  }
  hold.unlock();
  if (SUCCEEDED(com)) CoUninitialize();
}

void WorkerThreads::LetGo(DWORD milliseconds) {
  std::vector<std::unique_ptr<Worker>> all;
  {
    std::lock_guard<std::mutex> hold(lock_);
    all.swap(workers_);
    for (const std::unique_ptr<Worker>& worker : all) worker->Quit = true;
  }
  for (const std::unique_ptr<Worker>& worker : all) worker->Woken.notify_one();
  const ULONGLONG until = GetTickCount64() + milliseconds;
  for (std::unique_ptr<Worker>& worker : all) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = until > now ? static_cast<DWORD>(until - now) : 0;
    if (WaitForSingleObject(worker->Idle.get(), left) == WAIT_OBJECT_0) {
      worker->Thread.join();
    } else {
      // It hangs: it and what it uses stay for the rest of the process.
      worker->Thread.detach();
      worker.release();
    }
  }
}

}  // namespace pw
