#include "timetools/DiskFileSystem.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <optional>

#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"
#include "ui/Scoped.h"

namespace pw {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The last error, never "success": a call that failed without saying why still failed.
FsError LastError() {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

// The file's index on its volume and its number of names, both read from the open file alone:
// asking for the volume's serial number as well (GetFileInformationByHandle) costs Wine a query of
// the volume, half a millisecond a file. A path and a handle compared are on one volume anyway.
FsError IdentifyHandle(HANDLE handle, EntryIdentity& identity) {
  using QueryFile = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
  static const QueryFile query = reinterpret_cast<QueryFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  constexpr int kFileInternalInformation = 6;
  LARGE_INTEGER index{};
  IO_STATUS_BLOCK io{};
  FILE_STANDARD_INFO standard{};
  if (!query || query(handle, &io, &index, sizeof(index), kFileInternalInformation) < 0) return ERROR_INVALID_FUNCTION;
  if (!GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof(standard))) return LastError();
  identity.Volume = 0;
  identity.FileId = static_cast<std::uint64_t>(index.QuadPart);
  identity.Links = standard.NumberOfLinks;
  return kFsOk;
}

// The path as the system is to take it. A name that ends in a dot or a space ("x." made through
// \\?\, or by another system on a shared volume) is trimmed on the way unless the path is given
// as it stands, with \\?\ in front: "x." would open "x", another file. Other paths go as they are.
std::wstring SystemPath(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\") || path.find(L'/') != std::wstring::npos) return path;
  bool trimmed = false;
  for (std::size_t begin = 0; begin < path.size();) {
    const std::size_t end = std::min(path.find(L'\\', begin), path.size());
    const std::wstring_view name = std::wstring_view(path).substr(begin, end - begin);
    // "." and ".." would be taken as they stand too, and mean nothing then.
    if (name == L"." || name == L"..") return path;
    trimmed = trimmed || (!name.empty() && (name.back() == L'.' || name.back() == L' '));
    begin = end + 1;
  }
  if (!trimmed) return path;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\.\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

// Every entry is opened as itself: a junction or symbolic link as the link, whose own times and
// attributes the list shows, never the folder or file it leads to.
constexpr DWORD kAsItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

// Opens the entry itself. Where the system follows a link all the same (Wine follows every link to
// a folder it lists as one), the handle would write what the link leads to: refused.
FsError OpenAsItself(const std::wstring& path, DWORD access, ui::ScopedHandle& handle, FILE_BASIC_INFO* basic) {
  const std::wstring system = SystemPath(path);
  handle.reset(CreateFileW(system.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, kAsItself, nullptr));
  if (!handle) return LastError();
  FILE_BASIC_INFO own{};
  if (!basic) basic = &own;
  if (!GetFileInformationByHandleEx(handle.get(), FileBasicInfo, basic, sizeof(*basic))) return LastError();
  if ((basic->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(basic->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    const DWORD named = GetFileAttributesW(system.c_str());
    if (named != INVALID_FILE_ATTRIBUTES && (named & FILE_ATTRIBUTE_REPARSE_POINT)) {
      handle.reset();
      return ERROR_NOT_SUPPORTED;
    }
  }
  return kFsOk;
}

EntryInfo InfoOf(const FILE_BASIC_INFO& basic) {
  return EntryInfo{basic.FileAttributes, static_cast<std::uint64_t>(basic.CreationTime.QuadPart),
                   static_cast<std::uint64_t>(basic.LastAccessTime.QuadPart),
                   static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart)};
}

FsError FinalPathOf(HANDLE handle, std::wstring& final) {
  std::wstring path(MAX_PATH, L'\0');
  for (int tries = 0; tries < 3; ++tries) {
    const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return LastError();
    if (length < path.size()) {
      path.resize(length);
      final = std::move(path);
      return kFsOk;
    }
    path.resize(length);
  }
  return ERROR_INSUFFICIENT_BUFFER;
}

EntryInfo InfoOf(DWORD attributes, const FILETIME& created, const FILETIME& accessed, const FILETIME& written) {
  return EntryInfo{attributes, ToUInt64(created), ToUInt64(accessed), ToUInt64(written)};
}

class DiskTimeWriter : public EntryTimeWriter {
public:
  // `opened`: what the entry held when it was opened, the answer to the first Read (read right
  // after opening anyway; asking again would cost Wine a second call per entry).
  explicit DiskTimeWriter(ui::ScopedHandle handle, std::optional<EntryInfo> opened = std::nullopt)
      : handle_(std::move(handle)), opened_(opened) {}
  HANDLE Handle() const { return handle_.get(); }
  FsError WriteTimes(const TimeChange& change) override {
    FILETIME created{}, accessed{}, written{};
    if (change.Created) created = ToFileTime(*change.Created);
    if (change.LastAccess) accessed = ToFileTime(*change.LastAccess);
    if (change.LastWrite) written = ToFileTime(*change.LastWrite);
    if (!SetFileTime(handle_.get(), change.Created ? &created : nullptr, change.LastAccess ? &accessed : nullptr,
                     change.LastWrite ? &written : nullptr))
      return LastError();
    return kFsOk;
  }
  FsError Identify(EntryIdentity& identity) override { return IdentifyHandle(handle_.get(), identity); }
  FsError Read(EntryInfo& info) override {
    if (opened_) {
      info = *opened_;
      opened_.reset();
      return kFsOk;
    }
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &basic, sizeof(basic))) return LastError();
    info = InfoOf(basic);
    return kFsOk;
  }
  FsError FinalPath(std::wstring& final) override { return FinalPathOf(handle_.get(), final); }

private:
  ui::ScopedHandle handle_;
  std::optional<EntryInfo> opened_;
};

// What reading a file's content moved of its last-access time, put back once it is let go, or with
// the times written through the same handle.
class AccessKept {
public:
  AccessKept(HANDLE handle, std::optional<LARGE_INTEGER> before) : handle_(handle), before_(before) {}
  // Puts back the last-access time the reading moved (Wine moves it whatever the handle is told).
  void PutBack() const {
    if (!before_) return;
    FILE_BASIC_INFO now{};
    if (!GetFileInformationByHandleEx(handle_, FileBasicInfo, &now, sizeof(now)) ||
        now.LastAccessTime.QuadPart == before_->QuadPart)
      return;
    const FILETIME before = ToFileTime(static_cast<std::uint64_t>(before_->QuadPart));
    SetFileTime(handle_, nullptr, &before, nullptr);
  }
  // The times asked, with the last-access time as it was before the reading unless it is asked.
  TimeChange With(const TimeChange& change) const {
    TimeChange all = change;
    if (!all.LastAccess && before_) all.LastAccess = static_cast<std::uint64_t>(before_->QuadPart);
    return all;
  }

private:
  HANDLE handle_;
  std::optional<LARGE_INTEGER> before_;  // nothing where the handle cannot write times
};

// The file as its content was read, kept to write the times that content gave.
class KeptWriter : public EntryTimeWriter {
public:
  KeptWriter(ui::ScopedHandle handle, std::optional<LARGE_INTEGER> accessed)
      : writer_(std::move(handle)), access_(writer_.Handle(), accessed) {}
  ~KeptWriter() override {
    if (!written_) access_.PutBack();
  }
  FsError WriteTimes(const TimeChange& change) override {
    const FsError error = writer_.WriteTimes(access_.With(change));
    written_ = written_ || error == kFsOk;
    return error;
  }
  FsError Identify(EntryIdentity& identity) override { return writer_.Identify(identity); }
  FsError Read(EntryInfo& info) override { return writer_.Read(info); }
  FsError FinalPath(std::wstring& final) override { return writer_.FinalPath(final); }

private:
  DiskTimeWriter writer_;
  AccessKept access_;
  bool written_ = false;
};

class DiskContent : public ContentHandle {
public:
  DiskContent(ui::ScopedHandle handle, std::uint64_t size, std::optional<LARGE_INTEGER> accessed)
      : handle_(std::move(handle)), size_(size), accessed_(accessed) {}
  ~DiskContent() override {
    if (handle_) AccessKept(handle_.get(), accessed_).PutBack();
  }
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
    // Read on from where the file stands when that is the place: Wine takes noticeably longer for
    // a read given its offset, and most files are read once, from their start.
    if (offset != position_) {
      LARGE_INTEGER to{};
      to.QuadPart = static_cast<LONGLONG>(offset);
      if (!SetFilePointerEx(handle_.get(), to, nullptr, FILE_BEGIN)) return 0;
      position_ = offset;
    }
    std::size_t got = 0;
    while (got < into.size()) {
      const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(into.size() - got, 1u << 30));
      DWORD read = 0;
      if (!ReadFile(handle_.get(), into.data() + got, ask, &read, nullptr) || read == 0) break;
      got += read;
      position_ += read;
    }
    return got;
  }
  std::unique_ptr<EntryTimeWriter> KeepForTimes() override {
    if (!accessed_ || !handle_) return nullptr;  // opened for reading alone
    return std::make_unique<KeptWriter>(std::move(handle_), accessed_);
  }

private:
  ui::ScopedHandle handle_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;             // where the next read starts
  std::optional<LARGE_INTEGER> accessed_;  // to put back; nothing where the handle cannot
};

}  // namespace

FsError DiskFileSystem::OpenContent(const std::wstring& path, std::unique_ptr<ContentHandle>& content) {
  // Writing attributes is what telling the handle to leave the last-access time takes; a file that
  // allows reading only is still read.
  // A link is read as itself (it holds no photo): the times it could give are its own to take.
  bool canKeep = true;
  ui::ScopedHandle handle;
  FsError error = OpenAsItself(path, GENERIC_READ | FILE_WRITE_ATTRIBUTES, handle, nullptr);
  if (error != kFsOk && error != ERROR_NOT_SUPPORTED) {
    canKeep = false;
    error = OpenAsItself(path, GENERIC_READ, handle, nullptr);
  }
  if (error != kFsOk) return error;
  std::optional<LARGE_INTEGER> accessed;
  if (canKeep) {
    const FILETIME untouched{0xFFFFFFFFu, 0xFFFFFFFFu};
    SetFileTime(handle.get(), nullptr, &untouched, nullptr);
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(handle.get(), FileBasicInfo, &basic, sizeof(basic)))
      accessed = basic.LastAccessTime;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle.get(), &size)) return LastError();
  content = std::make_unique<DiskContent>(std::move(handle), static_cast<std::uint64_t>(size.QuadPart), accessed);
  return kFsOk;
}

FsError DiskFileSystem::ReadStart(const std::wstring& path, std::size_t most, std::vector<std::uint8_t>& bytes) {
  // A sidecar is a few hundred bytes: open, one read, close, and the handle told to leave the
  // last-access time (the content reading's check and put-back, for Wine, would double the cost of
  // a run over an export's thousands of them).
  ui::ScopedHandle handle(CreateFileW(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (handle) {
    const FILETIME untouched{0xFFFFFFFFu, 0xFFFFFFFFu};
    SetFileTime(handle.get(), nullptr, &untouched, nullptr);
  } else {
    handle.reset(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                             nullptr));
  }
  if (!handle) return LastError();
  constexpr std::size_t kFirstRead = 64 * 1024;
  bytes.resize(std::min(most, kFirstRead));
  std::size_t got = 0;
  while (got < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(handle.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &read, nullptr))
      return LastError();
    const bool whole = got + read < bytes.size();  // a file gives what it has: less is its end
    got += read;
    if (whole || read == 0) break;
    // Larger than it first looked: read on, up to the most asked for.
    if (got == bytes.size() && bytes.size() < most) bytes.resize(std::min(most, bytes.size() * 2));
  }
  bytes.resize(got);
  return kFsOk;
}

FsError DiskFileSystem::ReadInfo(const std::wstring& path, EntryInfo& info) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data)) return LastError();
  info = InfoOf(data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime);
  return kFsOk;
}

FsError DiskFileSystem::OpenForTimes(const std::wstring& path, std::unique_ptr<EntryTimeWriter>& writer) {
  // Reading attributes as well lets the handle tell which file it holds.
  ui::ScopedHandle handle;
  FILE_BASIC_INFO basic{};
  if (const FsError error = OpenAsItself(path, FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES, handle, &basic);
      error != kFsOk)
    return error;
  writer = std::make_unique<DiskTimeWriter>(std::move(handle), InfoOf(basic));
  return kFsOk;
}

FsError DiskFileSystem::Identify(const std::wstring& path, EntryIdentity& identity) {
  ui::ScopedHandle handle(CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, kAsItself, nullptr));
  if (!handle) return LastError();
  return IdentifyHandle(handle.get(), identity);
}

FsError DiskFileSystem::WriteAttributes(const std::wstring& path, std::uint32_t attributes) {
  // Through a handle on the entry itself: a link takes the attributes, not what it leads to.
  ui::ScopedHandle handle;
  if (const FsError error = OpenAsItself(path, FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES, handle, nullptr);
      error != kFsOk)
    return error;
  FILE_BASIC_INFO basic{};  // times of 0: left as they are
  basic.FileAttributes = attributes;
  return SetFileInformationByHandle(handle.get(), FileBasicInfo, &basic, sizeof(basic)) ? kFsOk : LastError();
}

FsError DiskFileSystem::FinalPath(const std::wstring& path, FinalOf what, std::wstring& final) {
  ui::ScopedHandle handle(CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING,
                                      what == FinalOf::Entry ? kAsItself : FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return LastError();
  return FinalPathOf(handle.get(), final);
}

FsError DiskFileSystem::ReadFolder(const std::wstring& folder, std::vector<FolderChild>& children) {
  WIN32_FIND_DATAW found;
  ui::ScopedFind find(FindFirstFileExW(JoinPath(SystemPath(folder), L"*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? kFsOk : LastError();  // an empty drive root
  }
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    children.push_back({std::wstring(name), InfoOf(found.dwFileAttributes, found.ftCreationTime,
                                                   found.ftLastAccessTime, found.ftLastWriteTime)});
  } while (FindNextFileW(find.get(), &found));
  // Only the end of the entries counts as reading them all; any other stop, even one the system
  // gives no reason for, is a folder not read to its end.
  return GetLastError() == ERROR_NO_MORE_FILES ? kFsOk : LastError();
}

}  // namespace pw
