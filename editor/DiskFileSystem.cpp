#include "editor/DiskFileSystem.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"
#include "ui/Scoped.h"

namespace pw {

namespace {

// The last error, never "success": a call that failed without saying why still failed.
FsError LastError() {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

FsError IdentifyHandle(HANDLE handle, EntryIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return LastError();
  identity.Volume = info.dwVolumeSerialNumber;
  identity.FileId = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  identity.Links = info.nNumberOfLinks;
  return kFsOk;
}

EntryInfo InfoOf(DWORD attributes, const FILETIME& created, const FILETIME& accessed, const FILETIME& written) {
  return EntryInfo{attributes, ToUInt64(created), ToUInt64(accessed), ToUInt64(written)};
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class DiskTimeWriter : public EntryTimeWriter {
public:
  explicit DiskTimeWriter(ui::ScopedHandle handle) : handle_(std::move(handle)) {}
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
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &basic, sizeof(basic))) return LastError();
    info = EntryInfo{basic.FileAttributes, static_cast<std::uint64_t>(basic.CreationTime.QuadPart),
                     static_cast<std::uint64_t>(basic.LastAccessTime.QuadPart),
                     static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart)};
    return kFsOk;
  }

private:
  ui::ScopedHandle handle_;
};

class DiskContent : public ByteSource {
public:
  DiskContent(ui::ScopedHandle handle, std::uint64_t size, std::optional<LARGE_INTEGER> accessed)
      : handle_(std::move(handle)), size_(size), accessed_(accessed) {}
  ~DiskContent() override {
    if (!accessed_) return;
    FILE_BASIC_INFO now{};
    if (!GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &now, sizeof(now)) ||
        now.LastAccessTime.QuadPart == accessed_->QuadPart)
      return;
    const FILETIME before = ToFileTime(static_cast<std::uint64_t>(accessed_->QuadPart));
    SetFileTime(handle_.get(), nullptr, &before, nullptr);
  }
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
    std::size_t got = 0;
    while (got < into.size()) {
      OVERLAPPED at{};
      const std::uint64_t from = offset + got;
      at.Offset = static_cast<DWORD>(from & 0xFFFFFFFFu);
      at.OffsetHigh = static_cast<DWORD>(from >> 32);
      const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(into.size() - got, 1u << 30));
      DWORD read = 0;
      if (!ReadFile(handle_.get(), into.data() + got, ask, &read, &at) || read == 0) break;
      got += read;
    }
    return got;
  }

private:
  ui::ScopedHandle handle_;
  std::uint64_t size_;
  std::optional<LARGE_INTEGER> accessed_;  // to put back; nothing where the handle cannot
};

}  // namespace

FsError DiskFileSystem::OpenContent(const std::wstring& path, std::unique_ptr<ByteSource>& source) {
  // Writing attributes is what telling the handle to leave the last-access time takes; a file that
  // allows reading only is still read.
  bool canKeep = true;
  ui::ScopedHandle handle(CreateFileW(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) {
    canKeep = false;
    handle.reset(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                             nullptr));
  }
  if (!handle) return LastError();
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
  source = std::make_unique<DiskContent>(std::move(handle), static_cast<std::uint64_t>(size.QuadPart), accessed);
  return kFsOk;
}

FsError DiskFileSystem::ReadInfo(const std::wstring& path, EntryInfo& info) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return LastError();
  info = InfoOf(data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime);
  return kFsOk;
}

FsError DiskFileSystem::OpenForTimes(const std::wstring& path, std::unique_ptr<EntryTimeWriter>& writer) {
  // Reading attributes as well lets the handle tell which file it holds.
  ui::ScopedHandle handle(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return LastError();
  writer = std::make_unique<DiskTimeWriter>(std::move(handle));
  return kFsOk;
}

FsError DiskFileSystem::Identify(const std::wstring& path, EntryIdentity& identity) {
  ui::ScopedHandle handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return LastError();
  return IdentifyHandle(handle.get(), identity);
}

FsError DiskFileSystem::WriteAttributes(const std::wstring& path, std::uint32_t attributes) {
  return SetFileAttributesW(path.c_str(), attributes) ? kFsOk : LastError();
}

FsError DiskFileSystem::ReadFolder(const std::wstring& folder, std::vector<FolderChild>& children) {
  WIN32_FIND_DATAW found;
  ui::ScopedFind find(FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH));
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
