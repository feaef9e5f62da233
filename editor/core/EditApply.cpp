#include "editor/core/EditApply.h"

#include <iterator>
#include <utility>

#include "common/core/PathRules.h"

namespace pw {

std::wstring EditDialogCaption(bool isFolder, std::wstring_view path) {
  return (isFolder ? L"Edit Dir Params - " : L"Edit File Params - ") + LastComponent(path);
}

EditPlan AskEdit(const std::vector<EditTarget>& targets, EditFileSystem& fs, const EditDialog& dialog) {
  EditPlan plan;
  for (const EditTarget& target : targets) {
    const std::wstring path = EditEntryPath(target.Path);
    if (plan.Outcome == EditOutcome::Updated) {
      plan.Entries.push_back({path, target.IsFolder, target.Known.value_or(EntryInfo{})});
      continue;
    }
    EntryInfo before;
    if (const FsError error = fs.ReadInfo(path, before); error != kFsOk) {
      // The drives entry has no path; it is no entry to edit.
      if (!path.empty()) plan.Unread.push_back({path, EditFault::Read, error});
      continue;
    }
    fs.OpenForTimes(path, plan.Held);
    const bool timesWritable = plan.Held != nullptr;
    std::optional<EditChoice> choice = dialog({before, timesWritable, EditDialogCaption(target.IsFolder, path)});
    if (!choice) {
      plan.Outcome = EditOutcome::Cancelled;
      plan.Held.reset();
      return plan;
    }
    plan.Outcome = EditOutcome::Updated;
    plan.Choice = *choice;
    // Times the shown entry could not take are not confirmed values for the others either.
    if (!timesWritable) plan.Choice.Times = {};
    plan.Entries.push_back({path, target.IsFolder, before});
  }
  if (plan.Outcome != EditOutcome::Updated) plan.Unread.clear();
  return plan;
}

ChangeRule EditRule(const EditChoice& choice) {
  return {[choice](const BatchEntry&, const EntryInfo& now) {
    EntryChange change;
    change.Times = choice.Times;
    if (choice.ModifyAttributes) change.Attributes = ChosenAttributeWord(now.Attributes, choice.Attributes);
    return change;
  }};
}

std::optional<std::vector<BatchEntry>> CollectEdit(EditPlan& plan, EditFileSystem& fs,
                                                   std::vector<EditFailure>& failures, const BatchProgress& progress) {
  failures.insert(failures.end(), std::make_move_iterator(plan.Unread.begin()),
                  std::make_move_iterator(plan.Unread.end()));
  plan.Unread.clear();
  return CollectEntries(plan.Entries, plan.Choice.Reach, fs, failures, progress);
}

BatchResult WriteEdit(EditPlan plan, const std::vector<BatchEntry>& entries, std::vector<EditFailure> failures,
                      EditFileSystem& fs, const BatchProgress& progress) {
  BatchResult result = WriteEntries(entries, EditRule(plan.Choice), fs, progress, std::move(plan.Held));
  failures.insert(failures.end(), result.Failures.begin(), result.Failures.end());
  result.Failures = std::move(failures);
  return result;
}

BatchResult WriteEdit(EditPlan plan, EditFileSystem& fs, const BatchProgress& progress) {
  std::vector<EditFailure> failures;
  const std::optional<std::vector<BatchEntry>> entries = CollectEdit(plan, fs, failures, progress);
  if (entries) return WriteEdit(std::move(plan), *entries, std::move(failures), fs, progress);
  BatchResult result;
  result.Stopped = true;  // stopped while counting: nothing written
  result.Failures = std::move(failures);
  return result;
}

}  // namespace pw
