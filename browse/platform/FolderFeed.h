#pragma once
// What feeds the folder list: a folder listed, then followed on disk, on a worker thread. The
// directory is read in large blocks, many entries per system
// call, each kept entry made into a list item with its shell type, the items handed to the window
// in batches as they come, and the whole listing sorted on the worker once the folder is read.
// Then the same worker watches the folder (from before the first block was read, so nothing that
// changes meanwhile is missed): the names the system reports changed are gathered for a moment,
// read again and handed over as one batch of changes; more changes than the system could report
// make it read the whole folder anew; a folder that is gone is reported so. The window is told by
// a posted message; it takes what is there on its own thread. Only what the window takes ever
// reaches its model, and nothing of a listing that was stopped.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browse/core/FileItem.h"
#include "browse/core/FolderChanges.h"
#include "browse/core/ListingBuilder.h"
#include "browse/core/NamePool.h"
#include "browse/platform/DirectoryBlocks.h"

namespace pw {

class FolderFeed {
public:
  // `message` is posted to `window` whenever there is something to take, with the listing's number
  // as its wParam. watchBytes is the size of the buffer the system reports changes in; query reads
  // the folder's blocks (a test may stand in for the system).
  FolderFeed(HWND window, UINT message, DWORD watchBytes = kWatchBytes, DirectoryQuery query = SystemDirectoryQuery());
  static constexpr DWORD kWatchBytes = 1 << 20;
  // When the process ends: waits a little for workers still finishing a block, and lets go of any
  // that hang on a folder that does not answer (a dead share), so that the process can end.
  static void LetWorkersGo(DWORD milliseconds);
  // Stops a running listing and its watch.
  ~FolderFeed();
  FolderFeed(const FolderFeed&) = delete;
  FolderFeed& operator=(const FolderFeed&) = delete;

  // Starts listing the folder (with its trailing backslash), stopping a listing that still runs.
  // folderAttributes are the folder's own, for its parent entry. Returns the listing's number.
  unsigned Start(const std::wstring& folder, const ListingOptions& options, std::uint32_t folderAttributes);
  // Stops the running listing, or the watch of the listed folder, at once. Its worker ends after
  // the block it is reading; nothing more of it is handed over.
  void Cancel();
  // Whether the folder is still being read (its watch aside).
  bool Running() const;
  // Waits until the running listing has ended, at most `milliseconds`; true when it has.
  bool WaitForEnd(DWORD milliseconds) const;
  // The names the running (or last) listing's items point into.
  std::shared_ptr<NamePool> Names() const;

  struct Progress {
    std::vector<FileItem> Found;  // since the last take, in the order found
    int FileCount = 0, FolderCount = 0;
    // Type names found since the last take; an item's TypeIndex counts over every name ever handed
    // over, in order.
    std::vector<std::wstring> NewTypeNames;
    bool Ended = false;
    // Once ended: ERROR_SUCCESS, or why the folder could not be read to its end; and the whole
    // listing sorted by the options' column, with Order[new place] = place found.
    DWORD Error = ERROR_SUCCESS;
    std::vector<FileItem> Sorted;
    std::vector<std::uint32_t> Order;

    // After the end, what the watch saw since the last take, in order: the folder read anew, then
    // batches of changes; or that the folder is gone, with the nearest folder above it that is
    // still there (empty: none is, the drive list).
    struct Reread {
      std::vector<FileItem> Sorted;  // by the listing's options
      std::shared_ptr<NamePool> Names;
      int FileCount = 0, FolderCount = 0;
    };
    std::optional<Reread> Anew;
    std::vector<FolderChanges> Changes;
    std::optional<std::wstring> GoneTo;
    // The watch could not be set up, or gave up: changes on disk are no longer shown.
    bool Unfollowed = false;
  };
  // What the listing of that number has for the window; nothing for one that is no longer current
  // or has been taken to its end.
  std::optional<Progress> Take(unsigned listing);

private:
  struct Shared;
  struct Job;
  static void Work(const std::shared_ptr<Job>& job);

  HWND window_;
  UINT message_;
  DWORD watchBytes_;
  DirectoryQuery query_;
  unsigned number_ = 0;
  std::shared_ptr<Shared> shared_;
  std::shared_ptr<Job> job_;
};

}  // namespace pw
