#pragma once
// Runs of the time tools over many entries, free of any window: which entries a run covers (the
// selected ones, and with a scope what lies inside the selected folders), what each entry gets
// (its own stamps shifted, a reference's stamps, the editor's confirmed values), and the writing
// itself: each entry read again just before it is written, written, read back, compared with what
// was asked, and remembered for the undo. A run reports its progress after each entry and stops
// between two entries when told to.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/core/DateTime.h"
#include "timetools/core/EditFileSystem.h"
#include "timetools/core/EditRecords.h"

namespace pw {

// ---- What a run covers -------------------------------------------------------------------------

// One entry of a run, with its information as last seen (in the list or by the walk); the run reads
// it again before it writes. A run that worked out each entry's values beforehand (from what the
// file holds, from a saved file) keeps them in Planned; a time of 0 there is none.
struct BatchEntry {
  BatchEntry(std::wstring path, bool isFolder = false, EntryInfo known = {})
      : Path(std::move(path)), IsFolder(isFolder), Known(known) {}
  std::wstring Path;
  bool IsFolder = false;
  EntryInfo Known;
  std::optional<EntryInfo> Planned;
};

// A selected entry of the list, as a run starts from it.
struct EditTarget {
  EditTarget(std::wstring path, bool isFolder = false, std::optional<EntryInfo> known = std::nullopt)
      : Path(std::move(path)), IsFolder(isFolder), Known(known) {}
  std::wstring Path;               // the list's path; a trailing backslash is dropped
  bool IsFolder = false;           // kind "D"
  std::optional<EntryInfo> Known;  // as the list shows it, when it does
};

// The list's path without its trailing backslash; a drive root keeps it, as "C:" would name the
// drive's current folder instead.
std::wstring EditEntryPath(std::wstring_view listPath);

// The same instant for all three times.
inline EntryInfo AtInstant(std::uint64_t utc) { return EntryInfo{0, utc, utc, utc}; }

// The selected entries only, or also what lies inside the selected folders: files, folders, both.
enum class Scope : std::uint8_t { Selected, Files, Folders, Everything };

// Called after each entry counted or done, with how far the run is; false stops the run.
using BatchProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The selected entries, then for each selected folder, depth first, the entries inside it that the
// scope takes; each entry once, however often it is selected or reached (the parent entry stands
// for the listed folder, whose walk reaches the folders selected beside it: those are not walked
// again). A selected folder is read before it is walked: links to folders (reparse points) are
// taken as entries but never entered, wherever they stand. A folder that cannot be read is
// reported and passed over. Nothing when stopped.
std::optional<std::vector<BatchEntry>> CollectEntries(const std::vector<BatchEntry>& selected, Scope scope,
                                                      EditFileSystem& fs, std::vector<EditFailure>& failures,
                                                      const BatchProgress& progress);

// ---- What an entry gets ------------------------------------------------------------------------

// The times a run writes to an entry that holds `now`, and (the editor) its attribute word.
struct EntryChange {
  TimeChange Times;
  std::optional<std::uint32_t> Attributes;  // a word made by SettableAttributeWord
  bool OutOfRange = false;  // a shifted stamp would leave the range of file times: nothing is written
};

// What an entry gets, from the entry and what it holds right before it is written.
struct ChangeRule {
  std::function<EntryChange(const BatchEntry& entry, const EntryInfo& now)> Change;
  EntryChange operator()(const BatchEntry& entry, const EntryInfo& now) const { return Change(entry, now); }
};

// Which of the three times a tool moves or sets.
struct TimeFields {
  bool Created = true, LastWrite = true, LastAccess = true;
  bool Any() const { return Created || LastWrite || LastAccess; }
};

// An offset as the user gives it, in its parts.
struct TimeOffset {
  bool Negative = false;
  std::uint32_t Days = 0, Hours = 0, Minutes = 0, Seconds = 0, Milliseconds = 0;
  // In 100-ns units; nothing when the parts make more than any two file times lie apart.
  std::optional<std::int64_t> Ticks() const;
};

// The stamp moved by ticks, all its digits kept; nothing when that leaves the range of file times,
// which ends at kLastFileTime and, since 0 stands for "leave unchanged" when written, begins at 1.
std::optional<std::uint64_t> ShiftStamp(std::uint64_t stamp, std::int64_t ticks);
// Each chosen time of the entry moved by ticks, from the entry's own stamp. A stamp of 0 is no time
// at all (some file systems keep no creation time): it stays as it is.
ChangeRule ShiftRule(std::int64_t ticks, TimeFields fields);
// The chosen times set to the reference's stamps.
ChangeRule CopyRule(const EntryInfo& reference, TimeFields fields);
// The chosen times set to each entry's planned ones, and with `attributes` the four attributes of
// the editor's boxes; an entry without a plan is left as it is.
ChangeRule PlannedRule(TimeFields fields, bool attributes = false);

// ---- The writing ---------------------------------------------------------------------------------

enum class TimeField : std::uint8_t { Created, LastWrite, LastAccess };

// A time that the file system stored otherwise than asked: rounded (FAT keeps the last write to two
// seconds) or refused (some keep no creation time). Before is what the time held when the entry was
// read just before writing: a volume that keeps nothing still holds it.
struct Rounding {
  std::wstring Path;
  TimeField Field = TimeField::LastWrite;
  std::uint64_t Asked = 0, Stored = 0, Before = 0;
  friend bool operator==(const Rounding&, const Rounding&) = default;
};

struct BatchResult {
  std::size_t Total = 0;    // the entries the run was to look at
  std::size_t Done = 0;     // the entries looked at: all, or a prefix when stopped
  std::size_t Written = 0;  // of those, the ones that took a change
  bool Stopped = false;
  std::vector<EditFailure> Failures;
  std::vector<LeftAlone> Left;  // entries the run had nothing to give, with the reason
  std::vector<Rounding> Roundings;
  std::vector<UndoEntry> Undo;  // every entry written, with its values before and after
};

// Whether a time the volume stored otherwise than asked is one it may keep (a rounding it makes,
// nothing kept at all, which the report names): false for a value nobody asked for, which is put
// back at once. `after` is the whole entry as read back.
using StoredCheck = std::function<bool(const Rounding& stored, const EntryInfo& after)>;

// Writes to each entry in order what the rule gives it for what it holds at that moment, and reads
// it back once its handle is closed (what the volume kept, not what a cache echoes). The first
// entry may come with the handle the editor held for it while its dialog was shown: used when it
// still names the file at the path, else the path is opened anew. Times the entry already held are
// not compared after writing. A file reached again under another name (a hard link, a short name)
// is passed over and named, whatever the rule: each file is written once. An entry whose volume
// stored a value `check` refuses gets its values before the run back and stays out of the undo.
// With `within` (the final path of the folder the run was chosen for), an entry whose open handle
// lands anywhere else (a link to a file outside) is left alone.
// `readFrom` may hold, entry by entry, the file as the run read it (its content gave the times):
// that file is written, and where its path names another file by then, the entry is reported
// replaced and left out of the undo.
using HeldWriters = std::vector<std::unique_ptr<EntryTimeWriter>>;
BatchResult WriteEntries(const std::vector<BatchEntry>& entries, const ChangeRule& rule, EditFileSystem& fs,
                         const BatchProgress& progress, std::unique_ptr<EntryTimeWriter> heldForFirst = nullptr,
                         HeldWriters readFrom = {}, const StoredCheck& check = {}, std::wstring_view within = {});

}  // namespace pw
