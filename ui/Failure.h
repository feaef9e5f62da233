#pragma once
// What happens to an exception that would otherwise end the program or vanish: it is reported
// once, with what was being done, and the operation it stopped ends there. A user's operation
// gets a message box over its window; anything else leaves a trace in the debug output.
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// Call from inside a catch block: reports the exception being handled as having stopped `what`
// ("Shift Times", "listing C:\Photos\"). With an owner, the user is told in a message box too.
void ReportFailure(const std::wstring& what, HWND owner = nullptr);

// Where the traces go: the debugger's output unless a test listens instead.
using FailureSink = std::function<void(const std::wstring& trace)>;
void SetFailureSink(FailureSink sink);

}  // namespace ui
