#include "browse/platform/FolderLister.h"

#include <objbase.h>
#include <winternl.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

#include "browse/platform/ShellInfo.h"
#include "common/core/PathRules.h"
#include "ui/Scoped.h"

namespace pw {
namespace {

// One record of FileDirectoryInformation, as NtQueryDirectoryFile fills the buffer with them.
struct DirectoryRecord {
  ULONG NextEntryOffset;
  ULONG FileIndex;
  LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime, EndOfFile, AllocationSize;
  ULONG FileAttributes;
  ULONG FileNameLength;  // in bytes
  WCHAR FileName[1];
};

using QueryDirectory = LONG(NTAPI*)(HANDLE file, HANDLE event, void* apc, void* context, IO_STATUS_BLOCK* io,
                                    void* buffer, ULONG length, int infoClass, BOOLEAN single, UNICODE_STRING* mask,
                                    BOOLEAN restart);
using StatusToError = ULONG(NTAPI*)(LONG status);
constexpr int kFileDirectoryInformation = 1;
constexpr LONG kStatusNoMoreFiles = static_cast<LONG>(0x80000006L);
constexpr LONG kStatusNoSuchFile = static_cast<LONG>(0xC000000FL);
// A block holds a few thousand entries: one system call for all of them.
constexpr std::size_t kBlockBytes = 256 * 1024;
// The window is told of new entries at most this often: each time it shows them, the list view
// takes a while to take its new length.
constexpr ULONGLONG kBatchEveryMs = 200;

struct NtDirectoryCalls {
  QueryDirectory Query = nullptr;
  StatusToError ToError = nullptr;
};

const NtDirectoryCalls& DirectoryCalls() {
  static const NtDirectoryCalls calls = [] {
    NtDirectoryCalls c;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
      c.Query = reinterpret_cast<QueryDirectory>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryDirectoryFile")));
      c.ToError = reinterpret_cast<StatusToError>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")));
    }
    return c;
  }();
  return calls;
}

std::uint64_t Ticks(const LARGE_INTEGER& value) { return static_cast<std::uint64_t>(value.QuadPart); }

// The workers of every listing the process started: a stopped listing's worker finishes the block
// it reads on its own time, and the process waits for them all before it ends, so that none is
// cut off while it holds a lock of the system's.
class Workers {
public:
  ~Workers() {
    std::lock_guard<std::mutex> hold(lock_);
    for (Worker& worker : workers_) worker.Thread.join();
  }
  void Add(std::thread thread, HANDLE ended, std::shared_ptr<void> job) {
    std::lock_guard<std::mutex> hold(lock_);
    // Those that have ended are done with at once.
    std::erase_if(workers_, [](Worker& worker) {
      if (WaitForSingleObject(worker.Ended, 0) != WAIT_OBJECT_0) return false;
      worker.Thread.join();
      return true;
    });
    workers_.push_back({std::move(thread), ended, std::move(job)});
  }

private:
  struct Worker {
    std::thread Thread;
    HANDLE Ended;                // the job's, kept open by
    std::shared_ptr<void> Job;  // the job itself
  };
  std::mutex lock_;
  std::vector<Worker> workers_;
};

Workers& AllWorkers() {
  static Workers workers;
  return workers;
}

}  // namespace

// What every listing of the window shares: the shell's types by extension, asked once each.
struct FolderLister::Shared {
  std::mutex Lock;
  ShellTypeCache Types;
  std::vector<std::wstring> TypeNames;  // only ever appended to
  std::size_t TypeNamesHandedOver = 0;
};

struct FolderLister::Job {
  Job(const std::wstring& folder, const ListingOptions& options, std::uint32_t folderAttributes)
      : Folder(folder), Options(options), Builder(folder, options, folderAttributes) {}

  const std::wstring Folder;
  const ListingOptions Options;
  HWND Window = nullptr;
  UINT Message = 0;
  unsigned Number = 0;
  std::shared_ptr<FolderLister::Shared> Common;
  std::atomic<bool> Cancelled{false};
  ui::ScopedHandle Ended{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  ListingBuilder Builder;  // the worker's alone

  // Handed to the window under the lock.
  std::mutex Lock;
  Progress Ready;
  bool Posted = false;
  ULONGLONG LastPost = 0;  // the worker's alone

  void HandOver(bool ended, DWORD error) {
    // Sorted before the lock is taken: the window never waits for a sort.
    std::vector<std::uint32_t> order;
    if (ended) order = Builder.Sort(SortText());
    bool post = false;
    {
      std::lock_guard<std::mutex> hold(Lock);
      if (ended) {
        Ready.Ended = true;
        Ready.Error = error;
        Ready.Order = std::move(order);
        Ready.Sorted = Builder.TakeItems();
        Ready.Found.clear();  // the sorted listing takes the place of the last batch
      } else {
        std::vector<FileItem> batch = Builder.TakeNew();
        Ready.Found.insert(Ready.Found.end(), batch.begin(), batch.end());
        Ready.Kept = Builder.Count();
      }
      Ready.FileCount = Builder.FileCount();
      Ready.FolderCount = Builder.FolderCount();
      post = !Posted && (ended || GetTickCount64() - LastPost >= kBatchEveryMs);
      Posted = Posted || post;
    }
    if (post) LastPost = GetTickCount64();
    if (ended) SetEvent(Ended.get());
    if (post && !Cancelled) PostMessageW(Window, Message, Number, 0);
  }

  // The sort reads type names; the worker is the only one that adds any.
  FileTextContext SortText() {
    FileTextContext text;
    std::lock_guard<std::mutex> hold(Common->Lock);
    text.TypeNames = Common->TypeNames;
    return text;
  }

  void Decorate(FileItem& item, const FoundEntry& found) {
    if (item.Kind == ItemKind::Drives) return;
    std::lock_guard<std::mutex> hold(Common->Lock);
    const ShellTypeCache::Entry type = Common->Types.Lookup(found.Name, found.Attributes, Common->TypeNames);
    item.TypeIndex = type.TypeIndex;  // the parent entry is typed as the folder it is
    if (item.Kind == ItemKind::Parent) return;
    item.IconIndex = type.IconIndex >= 0 ? type.IconIndex : kNoIcon;
    item.OwnIcon = ShellTypeCache::HasOwnIcon(found.Name, found.Attributes);
  }

  // Reads the directory block by block until its end, a failure or Cancel.
  DWORD ReadAll(HANDLE directory) {
    const NtDirectoryCalls& nt = DirectoryCalls();
    if (!nt.Query || !nt.ToError) return ERROR_CALL_NOT_IMPLEMENTED;
    std::vector<std::uint64_t> block(kBlockBytes / sizeof(std::uint64_t));  // aligned for the records
    for (bool first = true;; first = false) {
      if (Cancelled) return ERROR_CANCELLED;
      IO_STATUS_BLOCK io{};
      const LONG status = nt.Query(directory, nullptr, nullptr, nullptr, &io, block.data(),
                                   static_cast<ULONG>(kBlockBytes), kFileDirectoryInformation, FALSE, nullptr, first);
      if (status == kStatusNoMoreFiles || status == kStatusNoSuchFile) return ERROR_SUCCESS;
      if (status < 0) return nt.ToError(status);
      const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
      for (std::size_t offset = 0;;) {
        const auto* record = reinterpret_cast<const DirectoryRecord*>(bytes + offset);
        const FoundEntry found{std::wstring_view(record->FileName, record->FileNameLength / sizeof(WCHAR)),
                               record->FileAttributes,
                               Ticks(record->EndOfFile),
                               Ticks(record->CreationTime),
                               Ticks(record->LastWriteTime),
                               Ticks(record->LastAccessTime)};
        if (FileItem* item = Builder.AddFileItem(found)) Decorate(*item, found);
        if (record->NextEntryOffset == 0) break;
        offset += record->NextEntryOffset;
      }
      HandOver(false, ERROR_SUCCESS);
    }
  }
};

void FolderLister::Work(std::shared_ptr<Job> job) {
  // The shell's type queries want a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  DWORD error = ERROR_SUCCESS;
  {
    ui::ScopedHandle directory(CreateFileW(job->Folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    error = directory ? job->ReadAll(directory.get()) : GetLastError();
  }
  if (!job->Cancelled) job->HandOver(true, error);
  else SetEvent(job->Ended.get());
  if (SUCCEEDED(com)) CoUninitialize();
}

FolderLister::FolderLister(HWND window, UINT message)
    : window_(window), message_(message), shared_(std::make_shared<Shared>()) {}

FolderLister::~FolderLister() { Cancel(); }

unsigned FolderLister::Start(const std::wstring& folder, const ListingOptions& options,
                             std::uint32_t folderAttributes) {
  Cancel();
  auto job = std::make_shared<Job>(folder, options, folderAttributes);
  job->Window = window_;
  job->Message = message_;
  job->Number = ++number_;
  job->Common = shared_;
  // The worker owns its share of the job: a stopped listing finishes its block on its own, and
  // the window never waits for it.
  AllWorkers().Add(std::thread(&FolderLister::Work, job), job->Ended.get(), job);
  job_ = std::move(job);
  return number_;
}

void FolderLister::Cancel() {
  if (!job_) return;
  job_->Cancelled = true;
  job_.reset();
}

bool FolderLister::Running() const {
  return job_ && WaitForSingleObject(job_->Ended.get(), 0) == WAIT_TIMEOUT;
}

bool FolderLister::WaitForEnd(DWORD milliseconds) const {
  return !job_ || WaitForSingleObject(job_->Ended.get(), milliseconds) == WAIT_OBJECT_0;
}

std::shared_ptr<NamePool> FolderLister::Names() const { return job_ ? job_->Builder.Names() : nullptr; }

std::optional<FolderLister::Progress> FolderLister::Take(unsigned listing) {
  if (!job_ || job_->Number != listing) return std::nullopt;
  Progress taken;
  {
    std::lock_guard<std::mutex> hold(job_->Lock);
    taken = std::exchange(job_->Ready, Progress{});
    // What stays of the running listing: the counts, for the next take.
    job_->Ready.Kept = taken.Kept;
    job_->Ready.FileCount = taken.FileCount;
    job_->Ready.FolderCount = taken.FolderCount;
    job_->Posted = false;
  }
  std::lock_guard<std::mutex> hold(shared_->Lock);
  taken.NewTypeNames.assign(shared_->TypeNames.begin() + static_cast<std::ptrdiff_t>(shared_->TypeNamesHandedOver),
                            shared_->TypeNames.end());
  shared_->TypeNamesHandedOver = shared_->TypeNames.size();
  if (taken.Ended) job_.reset();  // nothing more to come; the model shares the names
  return taken;
}

}  // namespace pw
