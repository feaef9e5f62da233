#include "editor/EditCommand.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

#include "common/core/NumberText.h"
#include "common/platform/LocalTime.h"
#include "common/platform/SystemError.h"
#include "timetools/DiskFileSystem.h"
#include "editor/kwFileEditParams.h"
#include "timetools/kwPreview.h"
#include "timetools/kwProgress.h"
#include "timetools/core/ContentTimes.h"
#include "timetools/core/SavedTimes.h"
#include "timetools/VolumeOutlook.h"
#include "timetools/WholeFiles.h"
#include "timetools/kwTimeTool.h"
#include "timetools/kwTimesFromContent.h"

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
  }
  return L"";
}

bool HoldsFolders(const std::vector<EditTarget>& targets) {
  return std::any_of(targets.begin(), targets.end(), [](const EditTarget& target) { return target.IsFolder; });
}

// What the run could not do as asked, and where it stopped; silent when all went as asked. What a
// volume rounded as such volumes do is said once per time, not entry by entry.
void Report(HWND parent, const wchar_t* title, const BatchResult& result, RunVolumes& volumes) {
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
    text = L"Stopped after " + FormatGrouped(result.Done, separator) + L" of " +
           FormatGrouped(result.Total, separator) + L" entries; " + FormatGrouped(result.Written, separator) +
           L" of them written, which Undo Edit takes back.\n";
  }
  for (const std::wstring& summary : kept.Summaries) text += summary + L".\n";
  if (count > 0) text += (kept.Summaries.empty() ? L"" : L"\n") + std::wstring(L"Not every entry took what was asked:\n");
  for (const std::wstring& line : lines) text += L"\n" + line;
  if (count > lines.size()) text += L"\n... and " + FormatGrouped(count - lines.size(), separator) + L" more";
  MessageBoxW(parent, text.c_str(), title, MB_OK | (count == 0 ? MB_ICONINFORMATION : MB_ICONWARNING));
}

// The selected entries as the run starts from them; an entry the list has no values for is read.
std::vector<BatchEntry> Selected(const std::vector<EditTarget>& targets, EditFileSystem& fs,
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

// The entries whose times the rule changes, as they are and as they will be.
std::vector<TfrmPreview::Row> Changes(const std::vector<BatchEntry>& entries, const ChangeRule& rule) {
  std::vector<TfrmPreview::Row> rows;
  for (const BatchEntry& entry : entries) {
    const EntryChange change = rule(entry, entry.Known);
    const TimeChange& t = change.Times;
    const bool changes = (t.Created && *t.Created != entry.Known.Created) ||
                         (t.LastWrite && *t.LastWrite != entry.Known.LastWrite) ||
                         (t.LastAccess && *t.LastAccess != entry.Known.LastAccess);
    if (changes && !change.OutOfRange) rows.push_back({entry.Path, entry.Known, t, {}, {}});
  }
  return rows;
}

}  // namespace

bool EditCommand::EditFileParams(const std::vector<EditTarget>& targets, HWND parent) {
  written_.clear();
  DiskFileSystem disk;
  const bool offersScope = HoldsFolders(targets);
  EditPlan plan = AskEdit(targets, disk, [parent, offersScope](const EditDialogRequest& request) -> std::optional<EditChoice> {
    TfrmEditFileParams dialog(parent, offersScope);
    dialog.SetCaption(request.Caption);
    dialog.SetFileData(request.Info);
    dialog.SetFileHandle(request.TimesWritable);
    if (dialog.ShowModal() != TfrmEditFileParams::mrOk) return std::nullopt;
    return dialog.Choice();
  });
  if (plan.Outcome != EditOutcome::Updated) return false;
  const wchar_t* title = L"Edit File Params";
  std::vector<EditFailure> failures;
  std::optional<std::vector<BatchEntry>> entries;
  TfrmProgress::Run(parent, title,
                    [&](const BatchProgress& progress) { entries = CollectEdit(plan, disk, failures, progress); });
  if (!entries) return false;
  // On more than one entry, what their volumes will keep otherwise than confirmed is shown first.
  RunVolumes volumes;
  std::vector<TfrmPreview::Row> rows = Changes(*entries, EditRule(plan.Choice));
  std::unordered_set<std::wstring> leaveOut;
  std::vector<LeftAlone> left;
  if (volumes.Forecast(rows, leaveOut, left) && entries->size() > 1 &&
      !TfrmPreview::Confirm(parent, std::wstring(title) + L" - Preview", std::move(rows)))
    return false;
  LeaveOut(*entries, leaveOut);
  BatchResult result;
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    result = WriteEdit(std::move(plan), *entries, std::move(failures), disk, progress);
  });
  result.Left = std::move(left);
  Finish(parent, title, std::move(result), volumes);
  return true;
}

bool EditCommand::ShiftTimes(const std::vector<EditTarget>& targets, HWND parent) {
  written_.clear();
  TfrmShiftTimes window(parent, HoldsFolders(targets));
  if (window.ShowModal() != IDOK) return false;
  const std::optional<std::int64_t> ticks = window.Offset().Ticks();
  if (!ticks) return false;
  return RunTool(targets, parent, L"Shift Times", ShiftRule(*ticks, window.Fields()), window.Reach());
}

bool EditCommand::CopyTimesFrom(const std::vector<EditTarget>& targets, HWND parent) {
  written_.clear();
  TfrmCopyTimes window(parent, HoldsFolders(targets));
  if (window.ShowModal() != IDOK || !window.Reference()) return false;
  return RunTool(targets, parent, L"Copy Times From", CopyRule(*window.Reference(), window.Fields()), window.Reach());
}

bool EditCommand::TimesFromContent(const std::vector<EditTarget>& targets, HWND parent) {
  written_.clear();
  const wchar_t* title = L"Times From Content";
  TfrmTimesFromContent window(parent, HoldsFolders(targets));
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
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    const std::optional<std::vector<BatchEntry>> entries =
        CollectEntries(Selected(targets, disk, failures), window.Reach(), disk, failures, progress);
    if (entries) plans = PlanContentTimes(*entries, rule, disk, progress);
  });
  if (!plans) return false;
  std::vector<TfrmPreview::Row> rows;
  std::vector<BatchEntry> planned;
  HeldWriters held;
  std::vector<LeftAlone> left;
  const ChangeRule write = PlannedRule(rule.Fields);
  for (const ContentPlan& plan : *plans) {
    const EntryChange change = write(plan.Entry, plan.Entry.Known);
    rows.push_back({plan.Entry.Path, plan.Entry.Known, change.Times, plan.Note, {}});
    if (!plan.Entry.Planned) left.push_back({plan.Entry.Path, plan.Note, plan.Error});
  }
  RunVolumes volumes;
  std::unordered_set<std::wstring> leaveOut;
  const bool said = volumes.Forecast(rows, leaveOut, left);
  for (ContentPlan& plan : *plans) {
    if (!plan.Entry.Planned || leaveOut.contains(plan.Entry.Path)) continue;
    planned.push_back(plan.Entry);
    held.push_back(std::move(plan.Held));
  }
  if ((rows.size() > 1 || said) &&
      !TfrmPreview::Confirm(parent, std::wstring(title) + L" - Preview", std::move(rows)))
    return false;
  BatchResult result;
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    result = WriteEntries(planned, write, disk, progress, nullptr, std::move(held));
  });
  failures.insert(failures.end(), result.Failures.begin(), result.Failures.end());
  result.Failures = std::move(failures);
  result.Left = std::move(left);
  Finish(parent, title, std::move(result), volumes);
  return true;
}

bool EditCommand::SaveTimes(const std::vector<EditTarget>& targets, const std::wstring& listedFolder, HWND parent) {
  const wchar_t* title = L"Save Times";
  Scope reach = Scope::Selected;
  if (HoldsFolders(targets)) {
    TfrmSaveTimes window(parent, true);
    if (window.ShowModal() != IDOK) return false;
    reach = window.Reach();
  }
  const std::optional<std::wstring> file = ChooseSaveFile(parent, listedFolder, title);
  if (!file) return false;
  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  std::optional<SavedTimes> saved;
  FsError error = kFsOk;
  // Counted, made and written on the worker; a save stopped on the way leaves no file behind.
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    const std::optional<std::vector<BatchEntry>> entries =
        CollectEntries(Selected(targets, disk, failures), reach, disk, failures, progress);
    if (entries) saved = pw::SaveTimes(*entries, listedFolder, disk, progress);
    if (saved) error = WriteWholeFile(*file, saved->Bytes);
  });
  if (!saved) return false;
  BatchResult result;
  result.Failures = std::move(failures);
  result.Left = std::move(saved->Left);
  if (error != kFsOk) {
    const std::wstring text = L"The times could not be saved to " + *file + L":\n" + SystemErrorText(error);
    MessageBoxW(parent, text.c_str(), title, MB_OK | MB_ICONERROR);
    return false;
  }
  RunVolumes volumes;
  Report(parent, title, result, volumes);
  return true;
}

bool EditCommand::RestoreTimes(const std::vector<EditTarget>& targets, const std::wstring& listedFolder,
                               HWND parent) {
  written_.clear();
  const wchar_t* title = L"Restore Times";
  TfrmRestoreTimes window(parent, HoldsFolders(targets));
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
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    if (fromFolder) {
      const std::optional<std::vector<BatchEntry>> entries =
          CollectEntries(Selected(targets, disk, failures), window.Reach(), disk, failures, progress);
      if (entries) plans = PlanFromFolder(*entries, listedFolder, EditEntryPath(source), disk, progress);
      return;
    }
    std::string bytes;
    if ((unread = ReadWholeFile(source, bytes)) != kFsOk) return;
    TimesFile file = ParseTimesFile(bytes);
    if (file.Error) damaged = file.Error;
    else plans = PlanFromSaved(file.Rows, listedFolder, disk, progress);
  });
  // A file that cannot be read, or has one damaged row, gives nothing back at all.
  if (unread != kFsOk || damaged) {
    const std::wstring text = unread != kFsOk ? L"The file could not be read:\n" + SystemErrorText(unread)
                                              : L"Nothing is restored: the file is damaged at " + damaged->Text() + L".";
    MessageBoxW(parent, text.c_str(), title, MB_OK | MB_ICONERROR);
    return false;
  }
  if (!plans) return false;
  std::vector<TfrmPreview::Row> rows;
  std::vector<BatchEntry> changing;
  std::vector<LeftAlone> left;
  const ChangeRule write = PlannedRule(fields, attributes);
  for (const RestorePlan& plan : *plans) {
    if (!plan.Entry.Planned) {
      rows.push_back({plan.Entry.Path, plan.Entry.Known, {}, plan.Note, {}});
      left.push_back({plan.Entry.Path, plan.Note, plan.Error});
      continue;
    }
    if (!PlanChanges(plan.Entry.Known, *plan.Entry.Planned, fields, attributes)) continue;
    EntryChange change = write(plan.Entry, plan.Entry.Known);
    rows.push_back({plan.Entry.Path, plan.Entry.Known, change.Times, {}, {}});
    changing.push_back(plan.Entry);
  }
  RunVolumes volumes;
  std::unordered_set<std::wstring> leaveOut;
  volumes.Forecast(rows, leaveOut, left);
  LeaveOut(changing, leaveOut);
  // Every change is shown first; restoring what is there already changes nothing, and the preview
  // says so.
  if (!TfrmPreview::Confirm(parent, std::wstring(title) + L" - Preview", std::move(rows))) return false;
  if (changing.empty()) return false;
  InsideFirst(changing);
  BatchResult result;
  TfrmProgress::Run(parent, title,
                    [&](const BatchProgress& progress) { result = WriteEntries(changing, write, disk, progress); });
  failures.insert(failures.end(), result.Failures.begin(), result.Failures.end());
  result.Failures = std::move(failures);
  result.Left = std::move(left);
  Finish(parent, title, std::move(result), volumes);
  return true;
}

bool EditCommand::RunTool(const std::vector<EditTarget>& targets, HWND parent, const wchar_t* title,
                          const ChangeRule& rule, Scope reach) {
  DiskFileSystem disk;
  std::vector<EditFailure> failures;
  std::optional<std::vector<BatchEntry>> entries;
  // Counted before anything is written.
  TfrmProgress::Run(parent, title, [&](const BatchProgress& progress) {
    entries = CollectEntries(Selected(targets, disk, failures), reach, disk, failures, progress);
  });
  if (!entries) return false;
  std::vector<TfrmPreview::Row> rows = Changes(*entries, rule);
  RunVolumes volumes;
  std::unordered_set<std::wstring> leaveOut;
  std::vector<LeftAlone> left;
  const bool said = volumes.Forecast(rows, leaveOut, left);
  if ((rows.size() > 1 || said) && !TfrmPreview::Confirm(parent, std::wstring(title) + L" - Preview", std::move(rows)))
    return false;
  LeaveOut(*entries, leaveOut);
  BatchResult result;
  TfrmProgress::Run(parent, title,
                    [&](const BatchProgress& progress) { result = WriteEntries(*entries, rule, disk, progress); });
  failures.insert(failures.end(), result.Failures.begin(), result.Failures.end());
  result.Failures = std::move(failures);
  result.Left = std::move(left);
  Finish(parent, title, std::move(result), volumes);
  return true;
}

void EditCommand::Finish(HWND parent, const wchar_t* title, BatchResult result, RunVolumes& volumes) {
  KeepWritten(result.Undo);
  Report(parent, title, result, volumes);
  undo_.Remember(std::move(result.Undo));
}

void EditCommand::KeepWritten(const std::vector<UndoEntry>& entries) {
  written_.clear();
  written_.reserve(entries.size());
  for (const UndoEntry& entry : entries) written_.push_back({entry.Path, entry.After});
}

void EditCommand::Undo(HWND parent) {
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
