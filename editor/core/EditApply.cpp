#include "editor/core/EditApply.h"

#include <memory>
#include <utility>

#include "common/core/PathRules.h"

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

// Whether the held entry is still the file at the path; when either cannot be told, it is not.
bool SameFile(EntryTimeWriter& writer, const std::wstring& path, EditFileSystem& fs) {
  EntryIdentity held, atPath;
  return writer.Identify(held) == kFsOk && fs.Identify(path, atPath) == kFsOk && held == atPath;
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
  // Entries that could not be read before the dialog: reported only if something is written.
  std::vector<EditFailure> unreadBefore;
  for (const EditTarget& target : targets) {
    const std::wstring path = EditEntryPath(target.Path);
    EntryInfo before;
    if (const FsError error = fs.ReadInfo(path, before); error != kFsOk) {
      // The drives entry has no path; it is no entry to edit.
      if (!path.empty()) (choice ? result.Failures : unreadBefore).push_back({path, EditFault::Read, error});
      continue;
    }
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
      result.Failures = std::move(unreadBefore);
      // Times the shown entry could not take are not confirmed values for the others either.
      if (!timesWritable) choice->Times = {};
      // While the dialog was open another program may have replaced the file (saved it under
      // another name and renamed that over it): the held handle then names the old file, and the
      // values read before describe it, not the file now at the path.
      if (const FsError error = fs.ReadInfo(path, before); error != kFsOk) {
        result.Failures.push_back({path, EditFault::Read, error});
        continue;
      }
      if (writer && choice->Times.Any() && !SameFile(*writer, path, fs)) {
        writer.reset();
        openError = fs.OpenForTimes(path, writer);
      }
    } else if (choice->Times.Any()) {
      openError = fs.OpenForTimes(path, writer);
    }
    ApplyToEntry(path, before, std::move(writer), openError, *choice, fs, result);
  }
  return result;
}

}  // namespace pw
