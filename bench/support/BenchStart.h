#pragma once
// What every benchmark program does first: the common controls and the apartment the windows
// want, unbuffered output, and its command line: `--in FOLDER` (where the bench folders are,
// default %TEMP%\pathwick-bench\), `--summary FILE` (where the figures with a goal are added as
// rows), other `--` options, and the counts it is to run at.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/BenchSummary.h"

namespace bench {

struct Arguments {
  std::wstring Folder;  // with a trailing backslash
  std::vector<int> Counts;
  std::vector<std::string> Options;

  bool Has(const std::string& option) const {
    for (const std::string& given : Options)
      if (given == option) return true;
    return false;
  }
};

inline Arguments Start(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::setvbuf(stdout, nullptr, _IONBF, 0);

  Arguments args;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  args.Folder = std::wstring(temp) + L"pathwick-bench\\";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--in" && i + 1 < argc) {
      const std::string folder = argv[++i];
      args.Folder.assign(folder.begin(), folder.end());
      if (args.Folder.back() != L'\\') args.Folder += L'\\';
    } else if (arg == "--summary" && i + 1 < argc) {
      const std::string file = argv[++i];
      SummaryFile().assign(file.begin(), file.end());
    } else if (arg.starts_with("--")) {
      args.Options.push_back(arg);
    } else {
      args.Counts.push_back(std::atoi(arg.c_str()));
    }
  }
  return args;
}

}  // namespace bench
