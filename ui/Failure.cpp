#include "ui/Failure.h"

#include <exception>
#include <mutex>
#include <new>

namespace ui {
namespace {

std::mutex& SinkLock() {
  static std::mutex lock;
  return lock;
}

FailureSink& Sink() {
  static FailureSink sink;
  return sink;
}

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (; text && *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return wide;
}

// What the exception in flight says of itself.
std::wstring InFlight() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return L"out of memory";
  } catch (const std::exception& e) {
    return Widen(e.what());
  } catch (...) {
    return L"an unknown error";
  }
}

}  // namespace

void ReportFailure(const std::wstring& what, HWND owner) {
  const std::wstring reason = InFlight();
  const std::wstring trace = L"Pathwick: " + what + L" stopped: " + reason + L"\n";
  {
    std::lock_guard<std::mutex> hold(SinkLock());
    if (Sink()) Sink()(trace);
    else OutputDebugStringW(trace.c_str());
  }
  if (owner) {
    const std::wstring text = what + L" could not be completed: " + reason + L".";
    MessageBoxW(owner, text.c_str(), what.c_str(), MB_OK | MB_ICONERROR);
  }
}

void SetFailureSink(FailureSink sink) {
  std::lock_guard<std::mutex> hold(SinkLock());
  Sink() = std::move(sink);
}

}  // namespace ui
