#pragma once
// The closing table of a bench run: each figure that has a goal, appended as a row to the file
// given with `--summary FILE` (scripts/bench.sh prints them all at the end). A row is what was
// measured, the figure and the goal as printed, and whether the goal was met, tab-separated.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace bench {

inline std::wstring& SummaryFile() {
  static std::wstring file;
  return file;
}

inline std::string Text(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  return buffer;
}

inline void Summary(const std::string& what, const std::string& figure, const std::string& goal, bool met) {
  if (SummaryFile().empty()) return;
  if (FILE* f = _wfopen(SummaryFile().c_str(), L"ab")) {
    std::fprintf(f, "%s\t%s\t%s\t%s\n", what.c_str(), figure.c_str(), goal.c_str(), met ? "met" : "not met");
    std::fclose(f);
  }
}

}  // namespace bench
