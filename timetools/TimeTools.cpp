#include "timetools/TimeTools.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "common/platform/LocalTime.h"
#include "common/platform/SystemError.h"
#include "timetools/DiskFileSystem.h"
#include "timetools/VolumeOutlook.h"
#include "timetools/WholeFiles.h"
#include "timetools/core/ContentTimes.h"
#include "timetools/core/SavedTimes.h"
#include "timetools/kwProgress.h"
#include "timetools/kwSetClockRight.h"
#include "timetools/kwTimeTool.h"
#include "timetools/kwTimesFromContent.h"

namespace pw {
namespace {

// The entries of a simple tool (one rule for all), counted before anything is written; the rule
// is made once the window is confirmed. False when nothing was confirmed or the count was stopped.
template <class Window, class MakeRule>
bool RunSimple(const ToolRequest& request, BatchRunner& runner, const wchar_t* title, MakeRule makeRule) {
  runner.Starting();
  Window window(request.Parent, HoldsFolders(request.Targets));
  if (window.ShowModal() != IDOK) return false;
  const std::optional<ChangeRule> rule = makeRule(window);
  if (!rule) return false;
  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  std::optional<std::vector<BatchEntry>> entries;
  TfrmProgress::Run(request.Parent, title, [&](const BatchProgress& progress) {
    entries = CollectEntries(SelectedEntries(request.Targets, disk, failures), window.Reach(), disk, failures, progress);
  });
  if (!entries) return false;
  BatchPlan plan = PlanEntries(*entries, *rule);
  plan.Failures = std::move(failures);
  plan.ChosenFolder = request.ListedFolder;
  return runner.Run(request.Parent, title, std::move(plan));
}

// The plan of a tool that worked each entry's values out beforehand, with what it says of each.
template <class Planned>
BatchPlan PlanWorkedOut(std::vector<Planned> worked, ChangeRule rule, std::vector<EditFailure> failures,
                        const std::wstring& chosenFolder) {
  BatchPlan plan;
  plan.ChosenFolder = chosenFolder;
  plan.Rule = std::move(rule);
  plan.Failures = std::move(failures);
  plan.Entries.reserve(worked.size());
  for (Planned& one : worked) {
    const bool leave = !one.Entry.Planned;
    if constexpr (requires { one.Held; }) {
      plan.Entries.emplace_back(std::move(one.Entry), std::move(one.Note), leave, one.Error, std::move(one.Held));
    } else {
      plan.Entries.emplace_back(std::move(one.Entry), std::move(one.Note), leave, one.Error);
    }
  }
  return plan;
}

}  // namespace

bool HoldsFolders(const std::vector<EditTarget>& targets) {
  return std::any_of(targets.begin(), targets.end(), [](const EditTarget& target) { return target.IsFolder; });
}

std::vector<BatchEntry> SelectedEntries(const std::vector<EditTarget>& targets, EditFileSystem& fs,
                                        std::vector<EditFailure>& failures) {
  std::vector<BatchEntry> entries;
  for (const EditTarget& target : targets) {
    const std::wstring path = EditEntryPath(target.Path);
    if (path.empty()) continue;  // the drives entry
    EntryInfo info;
    if (target.Known) info = *target.Known;
    else if (const FsError error = fs.ReadInfo(path, info); error != kFsOk) {
      failures.push_back({path, EditFault::Read, error});
      continue;
    }
    entries.push_back({path, target.IsFolder, info});
  }
  return entries;
}

bool ShiftTimes(const ToolRequest& request, BatchRunner& runner) {
  return RunSimple<TfrmShiftTimes>(request, runner, L"Shift Times", [](const TfrmShiftTimes& window) {
    const std::optional<std::int64_t> ticks = window.Offset().Ticks();
    return ticks ? std::optional(ShiftRule(*ticks, window.Fields())) : std::nullopt;
  });
}

bool CopyTimesFrom(const ToolRequest& request, BatchRunner& runner) {
  return RunSimple<TfrmCopyTimes>(request, runner, L"Copy Times From", [](const TfrmCopyTimes& window) {
    return window.Reference() ? std::optional(CopyRule(*window.Reference(), window.Fields())) : std::nullopt;
  });
}

bool SetTimesToNow(const ToolRequest& request, BatchRunner& runner) {
  return RunSimple<TfrmSetNow>(request, runner, L"Set to Now", [](const TfrmSetNow& window) {
    // The moment the window was confirmed, to the 100 ns, for every entry.
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return std::optional(CopyRule(AtInstant(ToUInt64(now)), window.Fields()));
  });
}

bool TimesFromContent(const ToolRequest& request, BatchRunner& runner) {
  runner.Starting();
  const wchar_t* title = L"Times From Content";
  TfrmTimesFromContent window(request.Parent, HoldsFolders(request.Targets));
  if (window.ShowModal() != IDOK) return false;
  ContentRule rule;
  rule.Source = window.Source();
  rule.CountFolders = window.CountFolders();
  rule.Fields = window.Fields();
  rule.Zone.FixedOffsetMinutes = window.FixedOffset();
  // The run reads the zone on its worker, with rules of its own: the window's are the list's.
  const auto zone = std::make_shared<LocalTimeZone>();
  rule.Zone.BiasesAround = [zone](int year) { return zone->BiasesAround(year); };
  rule.Zone.ToLocal = [zone](std::uint64_t utc) { return zone->LocalTicks(utc); };

  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  std::optional<std::vector<ContentPlan>> plans;
  // Every file is read, and every date worked out, before anything is written.
  TfrmProgress::Run(request.Parent, title, [&](const BatchProgress& progress) {
    const std::optional<std::vector<BatchEntry>> entries =
        CollectEntries(SelectedEntries(request.Targets, disk, failures), window.Reach(), disk, failures, progress);
    if (entries) plans = PlanContentTimes(*entries, rule, disk, progress);
  });
  if (!plans) return false;
  return runner.Run(request.Parent, title,
                    PlanWorkedOut(std::move(*plans), PlannedRule(rule.Fields), std::move(failures), request.ListedFolder));
}

bool SetClockRight(const ToolRequest& request, BatchRunner& runner) {
  runner.Starting();
  const wchar_t* title = L"Set the Clock Right";
  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  const std::vector<BatchEntry> entries = SelectedEntries(request.Targets, disk, failures);
  std::vector<std::wstring> paths;
  for (const BatchEntry& entry : entries) paths.push_back(entry.Path);
  TfrmSetClockRight window(request.Parent, paths);
  if (window.ShowModal() != IDOK) return false;
  const std::optional<std::uint64_t> real = window.RealInstant();
  if (!real) return false;
  ClockRule rule;
  rule.Reference = window.Reference();
  rule.RealInstant = *real;
  const auto zone = std::make_shared<LocalTimeZone>();
  rule.Zone.BiasesAround = [zone](int year) { return zone->BiasesAround(year); };
  rule.Zone.ToLocal = [zone](std::uint64_t utc) { return zone->LocalTicks(utc); };
  std::optional<std::vector<ContentPlan>> plans;
  // Every file's date taken is read, and its camera told, before anything is written.
  TfrmProgress::Run(request.Parent, title, [&](const BatchProgress& progress) {
    plans = PlanClockRight(entries, rule, disk, progress);
  });
  if (!plans) return false;
  return runner.Run(request.Parent, title,
                    PlanWorkedOut(std::move(*plans), PlannedRule(window.Fields()), std::move(failures),
                                  request.ListedFolder));
}

bool SaveTimes(const ToolRequest& request, BatchRunner&) {
  const wchar_t* title = L"Save Times";
  Scope reach = Scope::Selected;
  if (HoldsFolders(request.Targets)) {
    TfrmSaveTimes window(request.Parent, true);
    if (window.ShowModal() != IDOK) return false;
    reach = window.Reach();
  }
  const std::optional<std::wstring> file = ChooseSaveFile(request.Parent, request.ListedFolder, title);
  if (!file) return false;
  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  std::optional<SavedTimes> saved;
  FsError error = kFsOk;
  // Counted, made and written on the worker; a save stopped on the way leaves no file behind.
  TfrmProgress::Run(request.Parent, title, [&](const BatchProgress& progress) {
    const std::optional<std::vector<BatchEntry>> entries =
        CollectEntries(SelectedEntries(request.Targets, disk, failures), reach, disk, failures, progress);
    if (entries) saved = pw::SaveTimes(*entries, request.ListedFolder, disk, progress);
    if (saved) error = WriteWholeFile(*file, saved->Bytes);
  });
  if (!saved) return false;
  if (error != kFsOk) {
    const std::wstring text = L"The times could not be saved to " + *file + L":\n" + SystemErrorText(error);
    MessageBoxW(request.Parent, text.c_str(), title, MB_OK | MB_ICONERROR);
    return false;
  }
  BatchResult result;
  result.Failures = std::move(failures);
  result.Left = std::move(saved->Left);
  RunVolumes volumes;
  BatchRunner::Report(request.Parent, title, result, volumes);
  return true;
}

bool RestoreTimes(const ToolRequest& request, BatchRunner& runner) {
  runner.Starting();
  const wchar_t* title = L"Restore Times";
  TfrmRestoreTimes window(request.Parent, HoldsFolders(request.Targets));
  if (window.ShowModal() != IDOK) return false;
  const TimeFields fields = window.Fields();
  const bool attributes = window.Attributes();
  const bool fromFolder = window.SourceIsFolder();
  const std::wstring source = window.ReferencePath();

  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  std::optional<std::vector<RestorePlan>> plans;
  std::optional<TimesFileError> damaged;
  FsError unread = kFsOk;
  TfrmProgress::Run(request.Parent, title, [&](const BatchProgress& progress) {
    if (fromFolder) {
      const std::optional<std::vector<BatchEntry>> entries =
          CollectEntries(SelectedEntries(request.Targets, disk, failures), window.Reach(), disk, failures, progress);
      if (entries) plans = PlanFromFolder(*entries, request.ListedFolder, EditEntryPath(source), disk, progress);
      return;
    }
    std::string bytes;
    if ((unread = ReadWholeFile(source, bytes)) != kFsOk) return;
    TimesFile file = ParseTimesFile(bytes);
    if (file.Error) damaged = file.Error;
    else plans = PlanFromSaved(file.Rows, request.ListedFolder, disk, progress);
  });
  // A file that cannot be read, or has one damaged row, gives nothing back at all.
  if (unread != kFsOk || damaged) {
    const std::wstring text = unread != kFsOk ? L"The file could not be read:\n" + SystemErrorText(unread)
                                              : L"Nothing is restored: the file is damaged at " + damaged->Text() + L".";
    MessageBoxW(request.Parent, text.c_str(), title, MB_OK | MB_ICONERROR);
    return false;
  }
  if (!plans) return false;
  return runner.Run(request.Parent, title,
                    PlanWorkedOut(std::move(*plans), PlannedRule(fields, attributes), std::move(failures),
                                  request.ListedFolder));
}

}  // namespace pw
