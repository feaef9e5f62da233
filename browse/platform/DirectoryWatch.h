#pragma once
// The system's reports of what changes in one folder: a request for them kept pending on the
// folder, and the names reported, gathered until they are read again as a batch.
#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/Scoped.h"

namespace pw {

// Whether an entry is there. Only "file not found" and "path not found" say it is gone; any other
// failure (a network drop, a share that does not answer, access denied) cannot tell, and is asked
// again later.
enum class FolderState { There, Gone, Unknown };
FolderState EntryStateOf(const std::wstring& path);
// The same for a folder: a file that took its name means the folder is gone.
FolderState FolderStateOf(const std::wstring& folder);

// The names the system reported changed, each once, in the order first reported.
struct GatheredNames {
  struct Name {
    std::wstring Text;
    // Last reported removed or renamed away: whether it is still there, and under which letter
    // case, takes asking the folder. Any other name was reported as the folder holds it.
    bool Left = false;
  };
  std::vector<Name> Names;
  std::unordered_map<std::wstring, std::size_t> Seen;
  std::vector<std::pair<std::wstring, std::wstring>> Renamed;  // old name, new name
  std::wstring RenamedFrom;
  bool Overflow = false;  // more changed than was reported: only reading the folder anew tells
  ULONGLONG First = 0, Last = 0;
  // A steady stream too large to report is read anew at most this often (and at least every two
  // seconds): a large folder takes long to read, and read over and over it would keep a core busy
  // and the window waiting while another program (or this one) writes to it.
  ULONGLONG Spacing = 0;

  bool Empty() const { return Names.empty() && !Overflow; }
  void Add(DWORD action, std::wstring name);
  // Notes that a report came now.
  void Stamp();
  // How long the watch may still gather before it hands over: a little after the last report of
  // a burst, and not much after the first of a steady stream; with nothing gathered, until the
  // next look whether the folder is still there.
  DWORD Due() const;
};

// One pending request for the changes of a folder, asked again after each answer.
class DirectoryWatch {
public:
  // bytes: the size of the buffer the system reports in; more changes at once overflow it.
  DirectoryWatch(const std::wstring& folder, DWORD bytes);
  ~DirectoryWatch();
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;

  bool Watching() const { return pending_; }
  // Signalled when the request has its answer.
  HANDLE Answered() const { return answered_.get(); }
  bool Ask();
  // Takes the answer into `names`; false when the request failed (the folder may be gone).
  bool Collect(GatheredNames& names);

private:
  ui::ScopedHandle directory_;
  ui::ScopedHandle answered_;
  std::vector<std::uint64_t> buffer_;  // aligned for the records
  DWORD bytes_;
  OVERLAPPED overlapped_{};
  bool pending_ = false;
};

}  // namespace pw
