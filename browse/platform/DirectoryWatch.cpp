#include "browse/platform/DirectoryWatch.h"

#include <algorithm>

namespace pw {
namespace {

// What the watch reports: names made, removed and renamed, and changes of attributes, size and
// the three times.
constexpr DWORD kWatchFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                               FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_LAST_ACCESS |
                               FILE_NOTIFY_CHANGE_CREATION;
// After a change the watch waits this long for more of the same burst; a steady stream is still
// handed over this often; a quiet watch looks this often whether the folder is still there.
// A burst too large to report is read anew only once it is over, or every two seconds.
constexpr ULONGLONG kGatherMs = 50, kHandOverMs = 400, kOverflowMs = 2000;
constexpr DWORD kLookMs = 1000;
constexpr DWORD kShareBytes = 64 * 1024;

}  // namespace

namespace {

FolderState StateOf(const std::wstring& path, bool folder) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return !folder || (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FolderState::There : FolderState::Gone;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FolderState::Gone : FolderState::Unknown;
}

}  // namespace

FolderState EntryStateOf(const std::wstring& path) { return StateOf(path, false); }

FolderState FolderStateOf(const std::wstring& folder) { return StateOf(folder, true); }

void GatheredNames::Add(DWORD action, std::wstring name) {
  // The folder itself (no name) and what lies deeper are none of the folder's own entries.
  if (name.empty() || name.find(L'\\') != std::wstring::npos) return;
  if (action == FILE_ACTION_RENAMED_OLD_NAME) RenamedFrom = name;
  if (action == FILE_ACTION_RENAMED_NEW_NAME && !RenamedFrom.empty())
    Renamed.emplace_back(std::exchange(RenamedFrom, {}), name);
  const bool left = action == FILE_ACTION_REMOVED || action == FILE_ACTION_RENAMED_OLD_NAME;
  const auto [at, added] = Seen.emplace(name, Names.size());
  if (added) Names.push_back({std::move(name), left});
  else Names[at->second].Left = left;
}

void GatheredNames::Stamp() {
  Last = GetTickCount64();
  if (!First) First = Last;
}

DWORD GatheredNames::Due() const {
  if (Empty()) return kLookMs;
  const ULONGLONG due = std::min(Last + kGatherMs, First + (Overflow ? std::max(kOverflowMs, Spacing) : kHandOverMs));
  const ULONGLONG now = GetTickCount64();
  return due > now ? static_cast<DWORD>(due - now) : 0;
}

DirectoryWatch::DirectoryWatch(const std::wstring& folder, DWORD bytes)
    : directory_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
      answered_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      buffer_((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t)),
      bytes_(static_cast<DWORD>(buffer_.size() * sizeof(std::uint64_t))) {
  Ask();
}

DirectoryWatch::~DirectoryWatch() {
  if (!pending_) return;
  CancelIoEx(directory_.get(), &overlapped_);
  DWORD unused = 0;
  GetOverlappedResult(directory_.get(), &overlapped_, &unused, TRUE);
}

bool DirectoryWatch::Ask() {
  pending_ = false;
  if (!directory_ || !answered_) return false;
  ResetEvent(answered_.get());
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = answered_.get();
  pending_ = ReadDirectoryChangesW(directory_.get(), buffer_.data(), bytes_, FALSE, kWatchFilter, nullptr, &overlapped_,
                                   nullptr) != FALSE;
  // A network share takes at most 64 KB.
  if (!pending_ && bytes_ > kShareBytes && GetLastError() == ERROR_INVALID_PARAMETER) {
    bytes_ = kShareBytes;
    return Ask();
  }
  return pending_;
}

bool DirectoryWatch::Collect(GatheredNames& names) {
  DWORD got = 0;
  pending_ = false;
  if (!GetOverlappedResult(directory_.get(), &overlapped_, &got, FALSE)) {
    if (GetLastError() != ERROR_NOTIFY_ENUM_DIR) return false;
    got = 0;
  }
  names.Stamp();
  // Nothing reported: more changed than the buffer could hold.
  if (got == 0) {
    names.Overflow = true;
    return true;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
  for (std::size_t offset = 0; offset < got;) {
    const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(bytes + offset);
    names.Add(record->Action, std::wstring(record->FileName, record->FileNameLength / sizeof(WCHAR)));
    if (record->NextEntryOffset == 0) break;
    offset += record->NextEntryOffset;
  }
  return true;
}

}  // namespace pw
