#include "browse/platform/FolderFeed.h"

#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "browse/platform/DirectoryWatch.h"
#include "browse/platform/ShellInfo.h"
#include "browse/platform/WorkerThreads.h"
#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"
#include "ui/Failure.h"
#include "ui/Scoped.h"

namespace pw {
namespace {

// The window is told of new entries at most this often: each time it shows them, the list view
// takes a while to take its new length.
constexpr ULONGLONG kBatchEveryMs = 200;

// An entry as a search (WIN32_FIND_DATAW) or an attribute query (WIN32_FILE_ATTRIBUTE_DATA)
// reports it, under the name given.
template <typename Data>
FoundEntry Found(std::wstring_view name, const Data& data) {
  return FoundEntry{name, data.dwFileAttributes,
                    (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                    ToUInt64(data.ftCreationTime), ToUInt64(data.ftLastWriteTime), ToUInt64(data.ftLastAccessTime)};
}

// A burst of at least this many names is not read name by name: the folder is read anew once it is
// over.
constexpr std::size_t kCheckBurst = 1000;

// A folder read anew during a steady stream of changes is read again no sooner than this many
// times the last reading took: a quarter of a core at most, whatever the folder's size.
constexpr ULONGLONG kReadAnewSpacing = 4;

// Milliseconds by the performance counter: Wine's tick count stands still while its server is busy.
ULONGLONG NowMs() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<ULONGLONG>(now.QuadPart / (frequency.QuadPart / 1000));
}

}  // namespace

// What every listing of the window shares: the shell's types by extension, asked once each.
struct FolderFeed::Shared {
  std::mutex Lock;
  ShellTypeCache Types;
  std::vector<std::wstring> TypeNames;  // only ever appended to
  std::size_t TypeNamesHandedOver = 0;
};

struct FolderFeed::Job {
  Job(const std::wstring& folder, const ListingOptions& options, std::uint32_t folderAttributes)
      : Folder(folder), Options(options), FolderAttributes(folderAttributes), Builder(folder, options, folderAttributes) {}

  const std::wstring Folder;
  const ListingOptions Options;
  const std::uint32_t FolderAttributes;
  HWND Window = nullptr;
  UINT Message = 0;
  unsigned Number = 0;
  std::shared_ptr<FolderFeed::Shared> Common;
  DWORD WatchBytes = 0;
  DirectoryQuery Query = nullptr;
  std::atomic<bool> Cancelled{false};
  ui::ScopedHandle Stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};      // set with Cancelled
  // The folder is read (or the listing stopped). A flag, not an event: the window looks at it
  // without a call to Wine's server, which a watch being set up on a large folder keeps busy for
  // tens of milliseconds.
  std::atomic<bool> Ended{false};
  ListingBuilder Builder;  // the worker's alone
  std::shared_ptr<NamePool> Names;  // the builder's, for the window: the builder lets go of them

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
      }
      Ready.FileCount = Builder.FileCount();
      Ready.FolderCount = Builder.FolderCount();
      post = !Posted && (ended || GetTickCount64() - LastPost >= kBatchEveryMs);
      Posted = Posted || post;
    }
    if (post) LastPost = GetTickCount64();
    if (ended) Ended = true;
    if (post && !Cancelled) PostMessageW(Window, Message, Number, 0);
  }

  // A listing stopped by a failure of its own: the window shows the folder as unread.
  void HandOverUnread() {
    {
      std::lock_guard<std::mutex> hold(Lock);
      Ready = Progress{};
      Ready.Ended = true;
      Ready.Error = ERROR_GEN_FAILURE;
    }
    Ended = true;
    PostMessageW(Window, Message, Number, 0);
  }

  // Hands over what the watch found: `fill` changes Ready under the lock.
  template <typename F>
  void HandOverWatched(F fill) {
    bool post = false;
    {
      std::lock_guard<std::mutex> hold(Lock);
      fill(Ready);
      post = !Posted;
      Posted = true;
    }
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

  // Reads the directory block by block into `builder` until its end, a failure or Cancel, handing
  // each block's entries over when it is the listing's own. ERROR_SUCCESS only when every entry
  // was read.
  DWORD ReadAll(HANDLE directory, ListingBuilder& builder) {
    DirectoryReader reader(Query);
    for (;;) {
      if (Cancelled) return ERROR_CANCELLED;
      bool ended = false;
      const DWORD error = reader.Next(directory, ended, [&](const FoundEntry& found) {
        if (FileItem* item = builder.AddFileItem(found)) Decorate(*item, found);
      });
      if (error != ERROR_SUCCESS || ended) return error;
      builder.SortSoFar([](std::function<void()> sort) { WorkerThreads::All().Run(std::move(sort)); });
      if (&builder == &Builder) HandOver(false, ERROR_SUCCESS);
    }
  }

  // The folder, opened for reading its entries.
  ui::ScopedHandle OpenFolder() const {
    return ui::ScopedHandle(CreateFileW(Folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  }

  // Watches the listed folder until Cancel, or until it is gone.
  void Watch(DirectoryWatch& watch) {
    GatheredNames names;
    int failures = 0;       // requests failed in a row
    std::size_t burst = 0;  // names handed over since the folder was last quiet
    ULONGLONG spacing = 0;  // of the readings anew
    // A folder the system cannot watch (some network shares) is still shown; the window says that
    // it no longer follows changes rather than going stale without a word.
    bool unfollowed = false;
    const auto sayUnfollowed = [&] {
      if (std::exchange(unfollowed, true)) return;
      HandOverWatched([](Progress& ready) { ready.Unfollowed = true; });
    };
    if (!watch.Watching()) sayUnfollowed();
    for (;;) {
      const HANDLE events[2] = {Stop.get(), watch.Answered()};
      const DWORD woke = WaitForMultipleObjects(watch.Watching() ? 2 : 1, events, FALSE, names.Due());
      if (Cancelled || woke == WAIT_OBJECT_0) return;
      if (woke == WAIT_OBJECT_0 + 1) {
        if (watch.Collect(names)) {
          failures = 0;
        } else {
          // A request that failed while the folder is there may have lost changes: the folder is
          // read anew. One that keeps failing is given up; the folder is still looked at.
          if (FolderStateOf(Folder) == FolderState::Gone) return HandOverGone();
          names.Overflow = true;
          names.Stamp();
          if (++failures > 3) {
            sayUnfollowed();
            continue;
          }
        }
        // A large burst may outrun what the system keeps of its reports (Wine loses them without
        // a word): its names are not read one by one, the folder is read anew as soon as the
        // burst is over, and shown once.
        if (burst + names.Names.size() >= kCheckBurst) names.Overflow = true;
        watch.Ask();
        continue;
      }
      if (!names.Empty()) {
        const bool anew = names.Overflow;
        burst = anew ? 0 : burst + names.Names.size();
        const ULONGLONG began = NowMs();
        HandOverNames(std::exchange(names, GatheredNames{}));
        if (anew) spacing = kReadAnewSpacing * (NowMs() - began);
        names.Spacing = spacing;
        continue;
      }
      burst = 0;
      // Only a folder that is really gone is left; one that does not answer now (a network drop)
      // is looked at again later.
      if (FolderStateOf(Folder) == FolderState::Gone) return HandOverGone();
    }
  }

  // The folder is gone: the nearest folder above it that is still there, found here, away from
  // the window (a dead server answers slowly).
  void HandOverGone() {
    std::wstring there = Folder;
    do {
      there = IsDriveRoot(there) ? std::wstring() : ParentFolderPath(there);
    } while (!there.empty() && !Cancelled && FolderStateOf(there) != FolderState::There);
    HandOverWatched([&there](Progress& ready) { ready.GoneTo = there; });
  }

  void HandOverNames(GatheredNames names) {
    if (names.Overflow) return ReadAnew();
    FolderChanges changes = ReadAgain(names);
    if (Cancelled || changes.Empty()) return;
    HandOverWatched([&changes](Progress& ready) { ready.Changes.push_back(std::move(changes)); });
  }

  // Each changed name as it is now: its entry under the name the folder holds it by, or gone. Only
  // a directory search names an entry as the folder holds it: the system may report a short (8.3)
  // name, or one that differs in letter case, and a file another program holds open without
  // sharing cannot be asked for its attributes, yet it is there.
  FolderChanges ReadAgain(const GatheredNames& names) {
    FolderChanges changes;
    std::unordered_set<std::wstring> present;
    for (const GatheredNames::Name& name : names.Names) {
      if (Cancelled) break;
      const std::wstring path = Folder + name.Text;
      WIN32_FIND_DATAW data;
      const ui::ScopedFind find(
          FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
      if (!find) {
        const DWORD error = GetLastError();
        // What cannot be told now keeps its row as it is.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
          changes.Gone.push_back(changes.Names->Add(name.Text));
        continue;
      }
      const FoundEntry found = Found(data.cFileName, data);
      if (found.Name != name.Text) changes.Gone.push_back(changes.Names->Add(name.Text));
      if (found.Name == L"." || found.Name == L".." || !present.insert(std::wstring(found.Name)).second) continue;
      FileItem item = MakeEntryItem(found, *changes.Names);
      Decorate(item, found);
      changes.Present.push_back(item);
    }
    for (const auto& [from, to] : names.Renamed)
      changes.Renamed.emplace_back(changes.Names->Add(from), changes.Names->Add(to));
    return changes;
  }

  // More changed than the system could tell: the folder is read anew, as one listing.
  void ReadAnew() {
    ListingBuilder again(Folder, Options, FolderAttributes);
    const ui::ScopedHandle directory = OpenFolder();
    if (!directory) {
      if (FolderStateOf(Folder) == FolderState::Gone) HandOverGone();
      return;
    }
    if (ReadAll(directory.get(), again) != ERROR_SUCCESS || Cancelled) return;
    again.Sort(SortText());
    // Kept apart from the listing's own end, which the window may not have taken yet.
    HandOverWatched([&again](Progress& ready) {
      ready.Changes.clear();  // read before; the new listing holds what they said
      ready.Anew = Progress::Reread{again.TakeItems(), again.Names(), again.FileCount(), again.FolderCount()};
    });
  }
};

void FolderFeed::Work(const std::shared_ptr<Job>& job) {
  bool ended = false;
  try {
    DWORD error = ERROR_SUCCESS;
    // The watch starts before the first block is read: what changes while the folder is read is
    // reported after it.
    DirectoryWatch watch(job->Folder, job->WatchBytes);
    {
      const ui::ScopedHandle directory = job->OpenFolder();
      error = directory ? job->ReadAll(directory.get(), job->Builder) : FailureCode(GetLastError());
    }
    ended = true;
    if (!job->Cancelled) job->HandOver(true, error);
    else job->Ended = true;
    job->Builder.LetGoOfNames();
    if (!job->Cancelled && error == ERROR_SUCCESS) job->Watch(watch);
  } catch (...) {
    // The listing or its watch ends here; a listing that had not ended shows as unread.
    ui::ReportFailure(L"Listing " + job->Folder);
    if (!ended && !job->Cancelled) job->HandOverUnread();
    job->Ended = true;
  }
}

FolderFeed::FolderFeed(HWND window, UINT message, DWORD watchBytes, DirectoryQuery query)
    : window_(window), message_(message), watchBytes_(watchBytes), query_(query), shared_(std::make_shared<Shared>()) {}

void FolderFeed::LetWorkersGo(DWORD milliseconds) { WorkerThreads::All().LetGo(milliseconds); }

FolderFeed::~FolderFeed() { Cancel(); }

unsigned FolderFeed::Start(const std::wstring& folder, const ListingOptions& options,
                             std::uint32_t folderAttributes) {
  Cancel();
  auto job = std::make_shared<Job>(folder, options, folderAttributes);
  job->Window = window_;
  job->Message = message_;
  job->Number = ++number_;
  job->Common = shared_;
  job->WatchBytes = watchBytes_;
  job->Query = query_;
  job->Names = job->Builder.Names();
  // The worker owns its share of the job: a stopped listing finishes its block on its own, and
  // the window never waits for it.
  WorkerThreads::All().Run([job] { Work(job); });
  job_ = std::move(job);
  return number_;
}

void FolderFeed::Cancel() {
  if (!job_) return;
  job_->Cancelled = true;
  SetEvent(job_->Stop.get());
  // What it holds for the window goes now; the worker may finish its block a while longer.
  job_->Names.reset();
  {
    std::lock_guard<std::mutex> hold(job_->Lock);
    job_->Ready = Progress{};
  }
  job_.reset();
}

bool FolderFeed::Running() const {
  return job_ && !job_->Ended;
}

bool FolderFeed::WaitForEnd(DWORD milliseconds) const {
  // Timed by the performance counter: under Wine the tick count stands still while its server is
  // busy, as it is for tens of milliseconds while a watch is set up on a large folder.
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  const LONGLONG until = now.QuadPart + frequency.QuadPart * milliseconds / 1000;
  while (Running() && QueryPerformanceCounter(&now) && now.QuadPart < until) Sleep(1);
  return !Running();
}

std::shared_ptr<NamePool> FolderFeed::Names() const { return job_ ? job_->Names : nullptr; }

std::optional<FolderFeed::Progress> FolderFeed::Take(unsigned listing) {
  if (!job_ || job_->Number != listing) return std::nullopt;
  Progress taken;
  {
    std::lock_guard<std::mutex> hold(job_->Lock);
    taken = std::exchange(job_->Ready, Progress{});
    // What stays of the running listing: the counts, for the next take.
    job_->Ready.FileCount = taken.FileCount;
    job_->Ready.FolderCount = taken.FolderCount;
    job_->Posted = false;
  }
  std::lock_guard<std::mutex> hold(shared_->Lock);
  taken.NewTypeNames.assign(shared_->TypeNames.begin() + static_cast<std::ptrdiff_t>(shared_->TypeNamesHandedOver),
                            shared_->TypeNames.end());
  shared_->TypeNamesHandedOver = shared_->TypeNames.size();
  return taken;
}

}  // namespace pw
