#pragma once
// What the time tools report of a run: the entries that failed and why, and what an undo needs of
// each entry written.
#include <cstdint>
#include <string>

#include "timetools/core/EditFileSystem.h"

namespace pw {

enum class EditFault : std::uint8_t {
  Times,         // opening the entry or writing its times failed
  Attributes,    // writing its attribute word failed
  ReadBack,      // written, but not readable afterwards: an undo cannot cover it
  Read,          // the entry could not be read
  ChangedSince,  // undo: changed by someone else since the edit, left alone (Error is kFsOk)
  OutOfRange,    // a shifted stamp would leave the range of file times: left alone (Error is kFsOk)
  FolderUnread,  // a folder whose entries could not be read: what lies inside is left alone
  Replaced,      // another file took its name since it was read: the one at the path is left alone
  PutBack,       // its volume stored a time nobody asked for: its values before the run were put back
  NotPutBack,    // the same, and putting its values back failed too (Error says why)
  Outside,       // its name leads outside the chosen folder (a link): left alone
};

struct EditFailure {
  std::wstring Path;
  EditFault Fault = EditFault::Times;
  FsError Error = kFsOk;
  friend bool operator==(const EditFailure&, const EditFailure&) = default;
};

// An entry a run leaves as it is, and why: nothing found to give it ("no date taken").
struct LeftAlone {
  std::wstring Path;
  std::wstring Reason;
  FsError Error = kFsOk;  // the system's reason too, where a read failed
  friend bool operator==(const LeftAlone&, const LeftAlone&) = default;
};

// Which of an entry's values a run wrote.
enum WrittenValue : std::uint8_t {
  kWroteCreated = 1,
  kWroteLastAccess = 2,
  kWroteLastWrite = 4,
  kWroteAttributes = 8,
  kWroteAll = 15,
};

// One entry a run changed: its values before, and as read back right after (file systems round
// times, so these can differ from the values written). Only the values the run wrote are its to
// take back: the system moves an entry's last-access time whenever it is read.
struct UndoEntry {
  std::wstring Path;
  EntryInfo Before;
  EntryInfo After;
  std::uint8_t Wrote = kWroteAll;  // WrittenValue bits
};

}  // namespace pw
