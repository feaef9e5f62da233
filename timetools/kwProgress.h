#pragma once
// A run of the time tools on a worker thread while the program stays responsive: the thread's
// windows keep painting and answering, and once the run has taken longer than a first slice a
// small window shows how far it is, with Cancel. Cancel, Esc or the close box stop the run
// between two entries.
#include <windows.h>

#include <chrono>

#include <functional>
#include <string>

#include "timetools/core/TimeBatch.h"
#include "ui/Form.h"
#include "ui/Scoped.h"

class ProgressProbe;

class TfrmProgress : public ui::Form {
public:
  // Runs `job` on a worker and returns when it has ended. The job reports through the progress it
  // is given: entries done and their total, the total 0 while it is still counting. An exception
  // that ends the job is thrown again here, on the caller's thread.
  static void Run(HWND owner, const std::wstring& title, const std::function<void(const pw::BatchProgress&)>& job);

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyDpi(UINT oldDpi) override;
  void ArrangeControls() override;

private:
  friend class ProgressProbe;
  TfrmProgress(HWND owner, const std::wstring& title);
  void btnCancelClick();
  ~TfrmProgress() override;
  void CreateControls();
  void ShowProgress();

  // Controls.
  HWND lblStatus = nullptr;
  HWND pbProgress = nullptr;
  HWND btnCancel = nullptr;

  std::chrono::steady_clock::time_point started_;
  std::size_t done_ = 0, total_ = 0;
  bool stopping_ = false;
  // Set from the worker, read here.
  struct Shared;
  Shared* shared_ = nullptr;
};
