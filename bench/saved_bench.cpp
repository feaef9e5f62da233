// Save Times and Restore Times' cores on a tree of 100,000 files in 1,000 folders, as ratios to
// bare loops measured in the same run: the save against a bare walk of the tree plus writing as
// many bytes to a file; the restores (from the saved file, and from a copy of the tree) against a
// bare CreateFileW + SetFileTime + CloseHandle loop over the same files and folders.
//
//   saved_bench [--in FOLDER]
//
// It works on FOLDER\tree100000 and FOLDER\tree100000-copy (default: %TEMP%\pathwick-bench\), which
// scripts/bench.sh makes, changing only their times.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/BenchStart.h"
#include "bench/support/BenchTiming.h"
#include "timetools/DiskFileSystem.h"
#include "timetools/WholeFiles.h"
#include "timetools/core/SavedTimes.h"
#include "ui/Scoped.h"

namespace {

using bench::Clock;
using bench::Seconds;

// Every file and folder below `folder` (with its trailing backslash), folders first.
void Walk(const std::wstring& folder, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW found;
  const ui::ScopedFind find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                             nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  std::vector<std::wstring> folders;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L".." || name == L"complete.mark") continue;
    out.push_back(folder + name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(folder + name + L"\\");
  } while (FindNextFileW(find.get(), &found));
  for (const std::wstring& inner : folders) Walk(inner, out);
}

// The floor of a save: the tree walked, and as many bytes written to a file.
double BareSave(const std::wstring& tree, std::size_t bytes, const std::wstring& file) {
  const auto start = Clock::now();
  std::vector<std::wstring> entries;
  Walk(tree, entries);
  const std::string data(bytes, 'x');
  const ui::ScopedHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD wrote = 0;
  WriteFile(out.get(), data.data(), static_cast<DWORD>(data.size()), &wrote, nullptr);
  return Seconds(start);
}

// The floor of a restore: each entry opened for its times, given them, closed.
double BareWrite(const std::vector<std::wstring>& entries, std::uint64_t stamp) {
  const FILETIME t{static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
  const auto start = Clock::now();
  for (const std::wstring& path : entries) {
    const ui::ScopedHandle h(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h) SetFileTime(h.get(), &t, &t, &t);
  }
  return Seconds(start);
}

const auto kGoOn = [](std::size_t, std::size_t) { return true; };

// The tree (with its trailing backslash) walked from its folder, as the tools take it: its own
// folder first, then everything inside it.
auto WholeTree(const std::wstring& tree, pw::EditFileSystem& disk) {
  std::vector<pw::EditFailure> failures;
  const std::wstring folder = tree.substr(0, tree.size() - 1);
  pw::EntryInfo info;
  disk.ReadInfo(folder, info);
  return pw::CollectEntries({{folder, true, info}}, pw::Scope::Everything, disk, failures, kGoOn);
}

// Save Times' core: the tree walked from its folder, the rows made and written whole.
double Save(const std::wstring& tree, const std::wstring& file, std::size_t& bytes) {
  pw::DiskFileSystem disk;
  const auto start = Clock::now();
  const auto entries = WholeTree(tree, disk);
  const std::wstring folder = tree.substr(0, tree.size() - 1);
  const std::wstring parent = folder.substr(0, folder.find_last_of(L'\\') + 1);
  const auto saved = pw::SaveTimes(*entries, parent, disk, kGoOn);
  pw::WriteWholeFile(file, saved->Bytes);
  bytes = saved->Bytes.size();
  return Seconds(start);
}

// What changes of a restore's plans, written inside first.
std::size_t WriteChanges(const std::vector<pw::RestorePlan>& plans, pw::EditFileSystem& disk) {
  std::vector<pw::BatchEntry> changing;
  for (const pw::RestorePlan& plan : plans)
    if (plan.Entry.Planned && pw::PlanChanges(plan.Entry.Known, *plan.Entry.Planned, {}, false))
      changing.push_back(plan.Entry);
  pw::InsideFirst(changing);
  return pw::WriteEntries(changing, pw::PlannedRule({}), disk, kGoOn).Written;
}

// Restore Times' core from the saved file: read, parsed, planned, written.
double RestoreFromFile(const std::wstring& file, const std::wstring& parent, std::size_t& written) {
  pw::DiskFileSystem disk;
  const auto start = Clock::now();
  std::string bytes;
  pw::ReadWholeFile(file, bytes);
  const pw::TimesFile parsed = pw::ParseTimesFile(bytes);
  const auto plans = *pw::PlanFromSaved(parsed.Rows, parent, disk, kGoOn);
  written = WriteChanges(plans, disk);
  return Seconds(start);
}

// Restore Times' core from another folder: the tree walked, each entry planned against its
// namesake in the copy, written.
double RestoreFromFolder(const std::wstring& tree, const std::wstring& source, std::size_t& written) {
  pw::DiskFileSystem disk;
  const auto start = Clock::now();
  const auto entries = WholeTree(tree, disk);
  std::vector<pw::BatchEntry> inside(entries->begin() + 1, entries->end());  // not the tree's own folder
  written = WriteChanges(*pw::PlanFromFolder(inside, tree, source, disk, kGoOn), disk);
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const bench::Arguments args = bench::Start(argc, argv);
  const std::wstring tree = args.Folder + L"tree100000\\", copy = args.Folder + L"tree100000-copy";
  std::vector<std::wstring> entries;
  Walk(tree, entries);
  if (entries.empty()) {
    std::printf("(no folder %ls: scripts/bench.sh makes it)\n", tree.c_str());
    return 1;
  }
  const std::wstring file = args.Folder + L"tree100000.csv", bareFile = args.Folder + L"bare.bin";
  std::uint64_t stamp = 132'328'080'000'000'000ull;
  BareWrite(entries, stamp);  // warm the caches
  std::size_t bytes = 0, written = 0;
  double bareSave = 1e9, save = 1e9, bare = 1e9, fromFile = 1e9, fromFolder = 1e9;
  // Taken turn about, so that the machine's ups and downs fall on all alike; the best of each. Each
  // bare write moves every entry's times, which each restore then puts back.
  for (int run = 0; run < 3; ++run) {
    save = std::min(save, Save(tree, file, bytes));
    bareSave = std::min(bareSave, BareSave(tree, bytes, bareFile));
    bare = std::min(bare, BareWrite(entries, stamp += 10'000'000));
    fromFile = std::min(fromFile, RestoreFromFile(file, args.Folder, written));
    if (written != entries.size()) std::printf("  (the restore from the file wrote %zu)\n", written);
    BareWrite(entries, stamp += 10'000'000);
    fromFolder = std::min(fromFolder, RestoreFromFolder(tree, copy, written));
    if (written != entries.size()) std::printf("  (the restore from the copy wrote %zu)\n", written);
  }
  DeleteFileW(bareFile.c_str());
  std::printf("%-10s %-44s %10s %8s %8s\n", "entries", "operation", "seconds", "/bare", "goal");
  const auto row = [&](const char* what, double s, double floor, double goal = 0) {
    std::printf("%-10zu %-44s %10.3f %8.2f %8s\n", entries.size(), what, s, s / floor,
                goal ? bench::Text("<=%.2f", goal).c_str() : "");
    if (goal)
      bench::Summary(bench::Text("%zu entries: %s", entries.size(), what), bench::Text("%.2fx the bare loop", s / floor),
                     bench::Text("<= %.2fx", goal), s <= goal * floor);
  };
  row("bare walk of the tree + the same bytes written", bareSave, bareSave);
  row("Save Times (core)", save, bareSave, 1.20);
  row("bare loop: open, set times, close", bare, bare);
  row("Restore Times from the saved file (core)", fromFile, bare, 1.10);
  row("Restore Times from a copy of the tree (core)", fromFolder, bare, 1.10);
  return 0;
}
