#pragma once
// The apply sequence of the "Edit File Params" command without any window: read the selected
// entries, let the dialog show the first readable one, and write the confirmed times and
// attributes to every readable entry (and with a scope, to what lies inside the selected folders),
// collecting what failed, what the file system rounded and what an undo needs.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "timetools/core/EditFileSystem.h"
#include "timetools/core/EditRecords.h"
#include "timetools/core/TimeBatch.h"

namespace pw {

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
  Scope Reach = Scope::Selected;  // offered when the selection holds folders
};

// Shows the dialog modally; nothing for Cancel or any close without Update.
using EditDialog = std::function<std::optional<EditChoice>(const EditDialogRequest&)>;

enum class EditOutcome : std::uint8_t { NothingReadable, Cancelled, Updated };

// What the dialog confirmed, and for whom: the entries from the one shown on, in list order.
struct EditPlan {
  EditOutcome Outcome = EditOutcome::NothingReadable;
  EditChoice Choice;
  std::vector<BatchEntry> Entries;
  // The shown entry, held open for its times while the dialog was up.
  std::unique_ptr<EntryTimeWriter> Held;
  // Entries before it that could not be read: reported with the run, if it runs.
  std::vector<EditFailure> Unread;
};

// "Edit Dir Params - name" for a folder, else "Edit File Params - name"; name is the last
// component of `path`.
std::wstring EditDialogCaption(bool isFolder, std::wstring_view path);

// Reads the selected entries in list order up to the first one that can be read and shows it in
// the dialog; when none can, the dialog is never shown. Nothing is written.
EditPlan AskEdit(const std::vector<EditTarget>& targets, EditFileSystem& fs, const EditDialog& dialog);
// The confirmed values for each entry: the times as confirmed, the four attribute bits over each
// entry's other settable bits; no attribute is changed unless the choice asks for it.
ChangeRule EditRule(const EditChoice& choice);
// Writes what was confirmed to the plan's entries (and with its scope, to what lies inside the
// folders among them), the unread ones reported first.
BatchResult WriteEdit(EditPlan plan, EditFileSystem& fs, const BatchProgress& progress);
// The same in two steps, to look at the entries in between: those the plan reaches, counted before
// anything is written (nothing when stopped), the unread ones moved into `failures`; then what was
// confirmed written to `entries`, after those failures.
std::optional<std::vector<BatchEntry>> CollectEdit(EditPlan& plan, EditFileSystem& fs,
                                                   std::vector<EditFailure>& failures, const BatchProgress& progress);
BatchResult WriteEdit(EditPlan plan, const std::vector<BatchEntry>& entries, std::vector<EditFailure> failures,
                      EditFileSystem& fs, const BatchProgress& progress);

}  // namespace pw
