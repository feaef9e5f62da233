#include "editor/core/EditApply.h"

#include <memory>
#include <utility>

#include "browse/core/ListingRules.h"

namespace pw {
namespace {

// Writes the choice to one entry that was read as `before`, then reads it back for the undo.
void ApplyToEntry(const std::wstring& path, const EntryInfo& before,
                  std::unique_ptr<EntryTimeWriter> writer, FsError openError,
                  const EditChoice& choice, EditFileSystem& fs, EditApplyResult& result) {
  bool written = false;
  if (choice.Times.Any()) {
    FsError error = openError;
    if (writer) {
      error = writer->WriteTimes(choice.Times);
      written = true;
    }
    if (error != kFsOk) result.Failures.push_back({path, EditFault::Times, error});
  }
  if (choice.ModifyAttributes) {
    const std::uint32_t word = ChosenAttributeWord(before.Attributes, choice.Attributes);
    if (word != SettableAttributeWord(before.Attributes)) {
      written = true;
      const FsError error = fs.WriteAttributes(path, word);
      if (error != kFsOk) result.Failures.push_back({path, EditFault::Attributes, error});
    }
  }
  writer.reset();
  if (!written) return;

  EntryInfo after;
  const FsError error = fs.ReadInfo(path, after);
  if (error != kFsOk) {
    result.Failures.push_back({path, EditFault::ReadBack, error});
  } else if (after != before) {
    result.Undo.push_back({path, before, after});
    ++result.EntriesChanged;
  }
}

}  // namespace

std::wstring EditEntryPath(std::wstring_view listPath) {
  if (!listPath.empty() && listPath.back() == L'\\' && !IsDriveRoot(listPath)) {
    listPath.remove_suffix(1);
  }
  return std::wstring(listPath);
}

std::wstring EditDialogCaption(bool isFolder, std::wstring_view path) {
  return (isFolder ? L"Edit Dir Params - " : L"Edit File Params - ") + LastComponent(path);
}

EditApplyResult ApplyEdit(const std::vector<EditTarget>& targets, EditFileSystem& fs,
                          const EditDialog& dialog) {
  EditApplyResult result;
  std::optional<EditChoice> choice;
  for (const EditTarget& target : targets) {
    const std::wstring path = EditEntryPath(target.Path);
    EntryInfo before;
    if (fs.ReadInfo(path, before) != kFsOk) continue;
    ++result.EntriesRead;

    std::unique_ptr<EntryTimeWriter> writer;
    FsError openError = kFsOk;
    if (!choice) {
      openError = fs.OpenForTimes(path, writer);
      const bool timesWritable = writer != nullptr;
      choice = dialog({before, timesWritable, EditDialogCaption(target.IsFolder, path)});
      if (!choice) {
        result.Outcome = EditOutcome::Cancelled;
        return result;
      }
      result.Outcome = EditOutcome::Updated;
      // Times the shown entry could not take are not confirmed values for the others either.
      if (!timesWritable) choice->Times = {};
    } else if (choice->Times.Any()) {
      openError = fs.OpenForTimes(path, writer);
    }
    ApplyToEntry(path, before, std::move(writer), openError, *choice, fs, result);
  }
  return result;
}

}  // namespace pw
