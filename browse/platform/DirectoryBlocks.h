#pragma once
// A folder's entries as the system hands them out: many at a time, in large blocks, by
// NtQueryDirectoryFile. The first block is small and each next one twice as large: on a network
// share every entry of a block may cost a round trip, and the first rows should not wait for
// thousands. Some network redirectors refuse blocks over 64 KB; the reader then goes on with 64 KB
// blocks instead of calling the folder unreadable.
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "browse/core/ListingBuilder.h"

namespace pw {

// NtQueryDirectoryFile, or a test's stand-in for it.
using DirectoryQuery = LONG(NTAPI*)(HANDLE file, HANDLE event, void* apc, void* context, IO_STATUS_BLOCK* io,
                                    void* buffer, ULONG length, int infoClass, BOOLEAN single, UNICODE_STRING* mask,
                                    BOOLEAN restart);

// The system's own NtQueryDirectoryFile; nullptr where there is none.
DirectoryQuery SystemDirectoryQuery();
// The system's error code of a status, never ERROR_SUCCESS for a failure.
DWORD ErrorOfStatus(LONG status);
// A failure's code as the system gave it, or ERROR_GEN_FAILURE where it gave none: an error of 0
// never passes for success.
inline DWORD FailureCode(DWORD error) { return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE; }

class DirectoryReader {
public:
  static constexpr std::size_t kFirstBlockBytes = 16 * 1024;
  static constexpr std::size_t kBlockBytes = 256 * 1024;
  static constexpr std::size_t kSmallBlockBytes = 64 * 1024;

  explicit DirectoryReader(DirectoryQuery query = SystemDirectoryQuery());

  // Reads the next block of the open folder; `each` is called for every entry in it. Returns
  // ERROR_SUCCESS with `ended` set once there are no more entries, ERROR_SUCCESS for a block read,
  // or why the folder could not be read on (never ERROR_SUCCESS for that).
  template <typename Each>
  DWORD Next(HANDLE directory, bool& ended, Each&& each) {
    ended = false;
    const LONG status = Query(directory);
    if (status == kStatusNoMoreFiles || status == kStatusNoSuchFile) {
      ended = true;
      return ERROR_SUCCESS;
    }
    if (status < 0) return ErrorOfStatus(status);
    const auto* bytes = reinterpret_cast<const unsigned char*>(block_.data());
    for (std::size_t offset = 0;;) {
      const auto* record = reinterpret_cast<const Record*>(bytes + offset);
      each(FoundEntry{std::wstring_view(record->FileName, record->FileNameLength / sizeof(WCHAR)),
                      record->FileAttributes, Ticks(record->EndOfFile), Ticks(record->CreationTime),
                      Ticks(record->LastWriteTime), Ticks(record->LastAccessTime)});
      if (record->NextEntryOffset == 0) break;
      offset += record->NextEntryOffset;
    }
    return ERROR_SUCCESS;
  }

  std::size_t BlockBytes() const { return blockBytes_; }

private:
  // One record of FileDirectoryInformation.
  struct Record {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime, EndOfFile, AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;  // in bytes
    WCHAR FileName[1];
  };
  static constexpr LONG kStatusNoMoreFiles = static_cast<LONG>(0x80000006L);
  static constexpr LONG kStatusNoSuchFile = static_cast<LONG>(0xC000000FL);
  static std::uint64_t Ticks(const LARGE_INTEGER& value) { return static_cast<std::uint64_t>(value.QuadPart); }

  LONG Query(HANDLE directory);

  DirectoryQuery query_;
  std::vector<std::uint64_t> block_;  // aligned for the records
  std::size_t blockBytes_ = kFirstBlockBytes;
  std::size_t mostBytes_ = kBlockBytes;  // kSmallBlockBytes once a larger block was refused
  bool first_ = true;
};

}  // namespace pw
