#pragma once
// The apply sequence of the "Edit File Params" command without any window: read the selected
// entries, let the dialog show the first readable one, and write the confirmed times and
// attributes to every readable entry, collecting what failed and what an undo needs.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/EditFileSystem.h"

namespace pw {

struct EditTarget {
  std::wstring Path;      // the list's path; a trailing backslash is dropped
  bool IsFolder = false;  // kind "D"
};

// What the dialog shows.
struct EditDialogRequest {
  EntryInfo Info;
  // False when the entry could not be opened for writing its times: the dialog shows the times
  // but lets only the attributes change, and no entry of the run gets new times.
  bool TimesWritable = false;
  std::wstring Caption;
};

// The values confirmed in the dialog, for every entry of the run.
struct EditChoice {
  TimeChange Times;  // absolute UTC file times; empty = leave unchanged
  bool ModifyAttributes = false;
  std::uint32_t Attributes = 0;  // the four edited bits as checked; other bits are ignored
};

// Shows the dialog modally; nothing for Cancel or any close without Update.
using EditDialog = std::function<std::optional<EditChoice>(const EditDialogRequest&)>;

enum class EditFault : std::uint8_t {
  Times,         // opening the entry or writing its times failed
  Attributes,    // writing its attribute word failed
  ReadBack,      // written, but not readable afterwards: an undo cannot cover it
  Read,          // undo: the entry could not be read
  ChangedSince,  // undo: changed by someone else since the edit, left alone (Error is kFsOk)
};

struct EditFailure {
  std::wstring Path;
  EditFault Fault = EditFault::Times;
  FsError Error = kFsOk;
  friend bool operator==(const EditFailure&, const EditFailure&) = default;
};

// One entry an apply changed: its values before, and as read back right after (file systems
// round times, so these can differ from the values written).
struct UndoEntry {
  std::wstring Path;
  EntryInfo Before;
  EntryInfo After;
};

enum class EditOutcome : std::uint8_t { NothingReadable, Cancelled, Updated };

struct EditApplyResult {
  EditOutcome Outcome = EditOutcome::NothingReadable;
  int EntriesRead = 0;     // up to where the run ended
  int EntriesChanged = 0;  // the entries of Undo
  std::vector<EditFailure> Failures;  // in list order
  std::vector<UndoEntry> Undo;
};

// The list's path without its trailing backslash; a drive root keeps it, as "C:" would name the
// drive's current folder instead.
std::wstring EditEntryPath(std::wstring_view listPath);
// "Edit Dir Params - name" for a folder, else "Edit File Params - name"; name is the last
// component of `path`.
std::wstring EditDialogCaption(bool isFolder, std::wstring_view path);

// Runs the command over the selected entries in list order. Entries that cannot be read are
// skipped; when none can, the dialog is never shown. After Cancel no further entry is touched.
// No attribute is changed unless the dialog's choice asks for it.
EditApplyResult ApplyEdit(const std::vector<EditTarget>& targets, EditFileSystem& fs,
                          const EditDialog& dialog);

}  // namespace pw
