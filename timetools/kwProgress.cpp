#include "timetools/kwProgress.h"

#include <commctrl.h>

#include <chrono>

#include <atomic>
#include <exception>
#include <thread>

#include "common/core/NumberText.h"
#include "common/platform/LocalTime.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/Modal.h"

namespace {

constexpr int kClientWidth = 300, kClientHeight = 86;
constexpr ui::Bounds kStatus{10, 10, 280, 16}, kBar{10, 30, 280, 16}, kCancel{215, 54, 75, 23};
constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 100;
constexpr std::chrono::milliseconds kTick{kTickMs};
constexpr UINT kTickMessage = WM_APP + 1;
// A run that ends within this is never shown.
constexpr std::chrono::milliseconds kFirstSlice{300};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

struct TfrmProgress::Shared {
  std::atomic<std::size_t> Done{0}, Total{0};
  std::atomic<bool> Stop{false}, Ended{false};
};

TfrmProgress::TfrmProgress(HWND owner, const std::wstring& title) {
  ClassSpec cls{L"TfrmProgress"};
  CreateObjectWindow(cls, kExStyle, title.c_str(), kStyle, 0, 0, kClientWidth, kClientHeight, owner, nullptr);
}

TfrmProgress::~TfrmProgress() { DestroyForm(); }

void TfrmProgress::Run(HWND owner, const std::wstring& title,
                       const std::function<void(const pw::BatchProgress&)>& job) {
  Shared shared;
  TfrmProgress form(owner, title);
  form.shared_ = &shared;
  form.started_ = std::chrono::steady_clock::now();
  const HWND window = form.Handle();
  std::exception_ptr failed;
  std::thread worker([&shared, &job, &failed, window] {
    // The worker also asks for a tick now and then: a timer's message is made only when nothing
    // else waits in the queue, and the changes a large run makes keep the list's watch posting.
    auto nextTick = std::chrono::steady_clock::now() + kTick;
    try {
      job([&shared, &nextTick, window](std::size_t done, std::size_t total) {
        shared.Done = done;
        shared.Total = total;
        if (const auto now = std::chrono::steady_clock::now(); now >= nextTick) {
          nextTick = now + kTick;
          PostMessageW(window, kTickMessage, 0, 0);
        }
        return !shared.Stop;
      });
    } catch (...) {
      failed = std::current_exception();  // the caller meets it on its own thread
    }
    shared.Ended = true;
    PostMessageW(window, WM_NULL, 0, 0);  // wakes the loop below
  });
  SetTimer(window, kTimer, kTickMs, nullptr);
  ui::RunModal(window, [&shared] { return shared.Ended.load(); });
  shared.Stop = true;  // the loop may have ended for another reason: the program closes
  worker.join();
  if (failed) std::rethrow_exception(failed);
}

void TfrmProgress::CreateControls() {
  TakeDpi();
  PlaceCentred(kClientWidth, kClientHeight, kStyle, kExStyle);
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  lblStatus = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0, hwnd_, nullptr,
                              inst, nullptr);
  pbProgress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_, nullptr, inst, nullptr);
  btnCancel = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0,
                              0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), inst, nullptr);
  ApplyDpi(dpi_);
  ArrangeControls();
}

void TfrmProgress::ApplyDpi(UINT) {
  if (btnCancel) UseFont(std::initializer_list<HWND>{lblStatus, btnCancel});
}

void TfrmProgress::ArrangeControls() {
  if (!btnCancel) return;
  ui::PlaceAll({{lblStatus, kStatus}, {pbProgress, kBar}, {btnCancel, kCancel}}, dpi_);
}

// What the worker has reached, every tick; the window shows itself once the first slice is over.
void TfrmProgress::ShowProgress() {
  done_ = shared_->Done;
  total_ = shared_->Total;
  const std::wstring separator = pw::LocaleString(LOCALE_STHOUSAND, L",");
  std::wstring text;
  if (stopping_) text = L"Stopping...";
  else if (total_ == 0) text = L"Counting... " + pw::FormatGrouped(done_, separator) + L" entries";
  else text = pw::FormatGrouped(done_, separator) + L" of " + pw::FormatGrouped(total_, separator) + L" entries";
  SetWindowTextW(lblStatus, text.c_str());
  if (total_ > 0) {
    SendMessageW(pbProgress, PBM_SETRANGE32, 0, static_cast<LPARAM>(total_));
    SendMessageW(pbProgress, PBM_SETPOS, static_cast<WPARAM>(done_), 0);
  }
  // Timed by the performance counter: Wine's tick count stands still while its server is busy with
  // the run's files, and the window would never show.
  if (!IsWindowVisible(hwnd_) && std::chrono::steady_clock::now() - started_ >= kFirstSlice) {
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(btnCancel);
  }
}

void TfrmProgress::btnCancelClick() {
  stopping_ = true;
  shared_->Stop = true;
  EnableWindow(btnCancel, FALSE);
  ShowProgress();
}

LRESULT TfrmProgress::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: CreateControls(); return 0;
    case WM_TIMER:
    case kTickMessage: ShowProgress(); return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) btnCancelClick();
      return 0;
    case WM_CLOSE: btnCancelClick(); return 0;  // the run ends the window, not the close box
    default: return Form::HandleMessage(msg, wp, lp);
  }
}
