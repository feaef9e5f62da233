#include "timetools/BatchRun.h"

#include <string>
#include <unordered_set>
#include <utility>

#include "common/core/NumberText.h"
#include "common/platform/LocalTime.h"
#include "common/platform/SystemError.h"
#include "timetools/DiskFileSystem.h"
#include "timetools/VolumeOutlook.h"
#include "timetools/core/RunStop.h"
#include "timetools/kwPreview.h"
#include "timetools/kwProgress.h"

namespace pw {
namespace {

// A report names this many entries at most, then counts the others.
constexpr std::size_t kReportLines = 20;

std::wstring FaultText(EditFault fault) {
  switch (fault) {
    case EditFault::Times: return L"times not changed";
    case EditFault::Attributes: return L"attributes not changed";
    case EditFault::ReadBack: return L"changed, but could not be read back";
    case EditFault::Read: return L"could not be read";
    case EditFault::ChangedSince: return L"changed by another program since";
    case EditFault::OutOfRange: return L"left as it is: its times would leave the range of file times";
    case EditFault::FolderUnread: return L"its entries could not be read";
    case EditFault::Replaced: return L"left as it is: another file took its name since it was read";
    case EditFault::PutBack: return L"put back as it was: its volume stored a time nobody asked for";
    case EditFault::Outside: return L"left as it is: it leads outside the chosen folder";
    case EditFault::NotPutBack:
      return L"its volume stored a time nobody asked for, and it could not be put back as it was";
  }
  return L"";
}

}  // namespace

void BatchRunner::Report(HWND parent, const wchar_t* title, const BatchResult& result, RunVolumes& volumes) {
  const std::size_t failed = result.Failures.size() + result.Left.size();
  // Only the lines shown are made: a run over 100,000 entries on a file system that keeps no
  // creation time would otherwise format 200,000 stamps for nothing.
  const RunVolumes::ReportLines kept =
      volumes.Sort(result.Roundings, kReportLines > failed ? kReportLines - failed : 0);
  const std::size_t count = failed + kept.Unexpected;
  if (count == 0 && kept.Summaries.empty() && !result.Stopped) return;
  std::vector<std::wstring> lines;
  for (std::size_t i = 0; i < result.Failures.size() && lines.size() < kReportLines; ++i) {
    const EditFailure& failure = result.Failures[i];
    std::wstring line = failure.Path + L": " + FaultText(failure.Fault);
    if (failure.Error != kFsOk) line += L" (" + SystemErrorText(failure.Error) + L")";
    lines.push_back(std::move(line));
  }
  for (std::size_t i = 0; i < result.Left.size() && lines.size() < kReportLines; ++i) {
    const LeftAlone& left = result.Left[i];
    std::wstring line = left.Path + L": left as it is: " + left.Reason;
    if (left.Error != kFsOk) line += L" (" + SystemErrorText(left.Error) + L")";
    lines.push_back(std::move(line));
  }
  lines.insert(lines.end(), kept.Entries.begin(), kept.Entries.end());
  const std::wstring separator = LocaleString(LOCALE_STHOUSAND, L",");
  std::wstring text;
  if (result.Stopped && result.Total == 0) {
    text = L"Stopped before anything was written.\n";
  } else if (result.Stopped) {
    // The run stopped itself at an entry whose volume stopped answering; that entry is the last
    // failure the run added.
    const bool lost = !result.Failures.empty() && EndsTheRun(result.Failures, result.Failures.size() - 1);
    text = std::wstring(lost ? L"The volume stopped answering. " : L"") + L"Stopped after " +
           FormatGrouped(result.Done, separator) + L" of " +
           FormatGrouped(result.Total, separator) + L" entries; " + FormatGrouped(result.Written, separator) +
           L" of them written, which Undo Edit takes back.\n";
  }
  for (const std::wstring& summary : kept.Summaries) text += summary + L".\n";
  if (count > 0) text += (kept.Summaries.empty() ? L"" : L"\n") + std::wstring(L"Not every entry took what was asked:\n");
  for (const std::wstring& line : lines) text += L"\n" + line;
  if (count > lines.size()) text += L"\n... and " + FormatGrouped(count - lines.size(), separator) + L" more";
  MessageBoxW(parent, text.c_str(), title, MB_OK | (count == 0 ? MB_ICONINFORMATION : MB_ICONWARNING));
}

bool BatchRunner::Run(HWND parent, const wchar_t* title, BatchPlan plan) {
  written_.clear();
  RunVolumes volumes;
  std::vector<PreviewRow> rows = PreviewRows(plan);
  std::unordered_set<std::wstring> leaveOut;
  std::vector<LeftAlone> left;
  for (const PlannedEntry& planned : plan.Entries)
    if (planned.Leave) left.push_back({planned.Entry.Path, planned.Note, planned.Error});
  const bool volumeSays = volumes.Forecast(rows, leaveOut, left);
  if (NeedsPreview(plan.Entries.size(), !left.empty(), volumeSays, plan.Confirmed) &&
      !TfrmPreview::Confirm(parent, std::wstring(title) + L" - Preview", std::move(rows)))
    return false;
  WriteOrder order = OrderForWriting(plan, [&leaveOut](const std::wstring& path) { return leaveOut.contains(path); });
  if (order.Entries.empty() && plan.Failures.empty() && left.empty()) return false;
  // What a volume stored is checked on the worker, against rules its volume was asked for already.
  const StoredCheck check = [&volumes](const Rounding& stored, const EntryInfo& after) {
    return volumes.Accepts(stored, after);
  };
  DiskFileSystem disk;
  BatchResult result;
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    // Where the chosen folder's contents lie, links followed: every handle written lands inside.
    std::wstring within;
    if (!plan.ChosenFolder.empty() &&
        disk.FinalPath(EditEntryPath(plan.ChosenFolder), EditFileSystem::FinalOf::Contents, within) != kFsOk)
      within.clear();
    result = WriteEntries(order.Entries, plan.Rule, disk, progress, std::move(plan.HeldForFirst),
                          std::move(order.Held), check, within);
  });
  result.Failures.insert(result.Failures.begin(), plan.Failures.begin(), plan.Failures.end());
  result.Left.insert(result.Left.begin(), left.begin(), left.end());
  KeepWritten(result.Undo);
  Report(parent, title, result, volumes);
  undo_.Remember(std::move(result.Undo));
  return true;
}

void BatchRunner::KeepWritten(const std::vector<UndoEntry>& entries) {
  written_.clear();
  written_.reserve(entries.size());
  for (const UndoEntry& entry : entries) written_.push_back({entry.Path, entry.After});
}

void BatchRunner::Undo(HWND parent) {
  written_.clear();
  if (!undo_.Available()) return;
  DiskFileSystem disk;
  BatchResult result;
  TfrmProgress::Run(parent, L"Undo Edit", [&](const BatchProgress& progress) { result = undo_.Run(disk, progress); });
  KeepWritten(result.Undo);
  RunVolumes volumes;
  Report(parent, L"Undo Edit", result, volumes);
}

}  // namespace pw
