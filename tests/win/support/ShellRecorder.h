#pragma once
// The recording tool pw_record_open.exe, next to the test program, as the shell's program for a
// file type or a URL protocol: tests see exactly what the program hands to the shell, with no
// browser, mail program or network. The tool appends what it was started with to a file named in
// this process's environment, which the programs the shell starts inherit. Every registration is
// undone when the object goes.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/Messages.h"

namespace testutil {

class ShellRecorder {
public:
  ShellRecorder();
  ~ShellRecorder();
  ShellRecorder(const ShellRecorder&) = delete;
  ShellRecorder& operator=(const ShellRecorder&) = delete;

  // Files whose names end in extension (".pwtest") open with the tool.
  bool HandleFileType(const std::wstring& extension);
  // URLs of a scheme ("https", "mailto") open with the tool.
  bool HandleProtocol(const std::wstring& scheme);

  const std::wstring& Helper() const { return helper_; }
  // Waits (at most about ten seconds) for the tool's next record: the argument it was started
  // with and its current directory.
  std::optional<std::pair<std::wstring, std::wstring>> WaitForRecord();

private:
  // What one value looked like before it was set.
  struct Undo {
    HKEY Root = nullptr;
    std::wstring Key, Name;
    std::wstring CreatedKey;  // the outermost key that was made for it, removed with its tree
    bool HadValue = false;
    DWORD Type = 0;
    std::vector<BYTE> Data;
  };
  bool SetClassValue(const std::wstring& key, const std::wstring& name, const std::wstring& value);
  bool SetValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
  std::wstring Read() const;

  TempDir records_;
  std::wstring helper_, record_, command_;
  size_t consumed_ = 0;
  std::vector<Undo> undo_;
};

}  // namespace testutil
