#pragma once
// The editor's file-system calls on the real disk. Entries are opened for writing their times
// only (FILE_WRITE_ATTRIBUTES, sharing read, write and delete, backup semantics for folders), which
// read-only files, folders and files held open by other programs all allow, so no attribute is
// ever cleared on the way. A link is opened as itself, never as what it leads to; where the system
// cannot open a link to a folder as itself (Wine), its times and attributes are not written.
#include "timetools/core/EditFileSystem.h"

namespace pw {

class DiskFileSystem : public EditFileSystem {
public:
  FsError ReadInfo(const std::wstring& path, EntryInfo& info) override;
  FsError OpenForTimes(const std::wstring& path, std::unique_ptr<EntryTimeWriter>& writer) override;
  FsError Identify(const std::wstring& path, EntryIdentity& identity) override;
  FsError WriteAttributes(const std::wstring& path, std::uint32_t attributes) override;
  FsError ReadFolder(const std::wstring& folder, std::vector<FolderChild>& children) override;
  // Read-only, shared with every other program; the handle is told not to move the last-access
  // time, and where the volume moves it anyway (Wine does), it is put back once read.
  FsError OpenContent(const std::wstring& path, std::unique_ptr<ContentHandle>& content) override;
  // GetFinalPathNameByHandleW, which sees every kind of link, Wine's too.
  FsError FinalPath(const std::wstring& path, FinalOf what, std::wstring& final) override;
  FsError ReadStart(const std::wstring& path, std::size_t most, std::vector<std::uint8_t>& bytes) override;
};

}  // namespace pw
