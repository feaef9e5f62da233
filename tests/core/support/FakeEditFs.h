#pragma once
// A file system for the editor's and the time tools' runs, in memory: entries by path, each with
// its information; every call logged as "<call> <path>", and made to fail where a test says so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "timetools/core/EditFileSystem.h"

namespace testutil {

using pw::EntryInfo;

// Logs every call; a call fails with the code Errors holds for "<call> <path>". Attributes are
// kept as Windows keeps them: only the settable bits change, "normal" stands for none.
class FakeFs final : public pw::EditFileSystem {
public:
  using Lines = std::vector<std::wstring>;
  std::map<std::wstring, EntryInfo> Disks;
  std::map<std::wstring, pw::FsError> Errors;
  std::wstring Fat;  // keeps last write to 2 s; its creation reads as last write, as under Wine
  Lines Log;
  std::wstring Open;
  std::uint64_t OpenId = 0;
  // Which file each path names (0 unless a test replaces one); writes through a handle whose file
  // was replaced since it was opened land here, on the orphaned old file.
  std::map<std::wstring, std::uint64_t> Ids;
  std::map<std::wstring, EntryInfo> Orphans;
  // What files hold, for the readers of their content; and how many may be open at once (those read
  // and those kept from their reading to their writing), as a system's limit on open files.
  std::map<std::wstring, std::vector<std::uint8_t>> Contents;
  std::size_t MostOpen = 1'000'000;
  std::size_t OpenNow = 0;
  // Second names of files (hard links): each is listed in its folder, but reads and writes reach the
  // entry of its first name.
  std::map<std::wstring, std::wstring> HardLinks;

  // Links: an entry at or under a key lands at or under its value once links are followed.
  std::map<std::wstring, std::wstring> Leads;

  std::wstring FinalOf(const std::wstring& path) const {
    for (const auto& [link, target] : Leads)
      if (path == link || path.starts_with(link + L"\\")) return L"\\\\?\\" + target + path.substr(link.size());
    return L"\\\\?\\" + path;
  }
  std::wstring FileOf(const std::wstring& path) const {
    const auto link = HardLinks.find(path);
    return link == HardLinks.end() ? path : link->second;
  }
  pw::EntryIdentity IdentityOf(const std::wstring& path) {
    const std::wstring file = FileOf(path);
    std::uint32_t links = 1;
    for (const auto& [name, first] : HardLinks) links += first == file;
    return {7, Ids[file], links};
  }

  pw::FsError Call(const std::wstring& call, const std::wstring& path, std::wstring detail = {}) {
    Log.push_back(call + L" " + path + detail);
    return Errors.contains(call + L" " + path) ? Errors[call + L" " + path] : 0;
  }
  pw::FsError ReadInfo(const std::wstring& path, EntryInfo& info) override {
    if (const pw::FsError error = Call(L"read", path)) return error;
    if (!Disks.contains(path)) return 2;
    info = Disks[FileOf(path)];
    if (path == Fat) info.Created = info.LastWrite;
    return 0;
  }
  pw::FsError OpenForTimes(const std::wstring& path,
                           std::unique_ptr<pw::EntryTimeWriter>& writer) override {
    if (const pw::FsError error = Call(L"open", path)) return error;
    if (!Disks.contains(path)) return 2;
    EXPECT_TRUE(Open.empty());
    Open = path;
    OpenId = Ids[FileOf(path)];
    writer.reset(new Closer{*this});
    return 0;
  }
  pw::FsError Identify(const std::wstring& path, pw::EntryIdentity& id) override {
    if (const pw::FsError error = Call(L"id", path)) return error;
    id = IdentityOf(path);
    return 0;
  }
  pw::FsError WriteTimes(const pw::TimeChange& t) {
    if (const pw::FsError error = Call(L"times", Open)) return error;
    EntryInfo& info = Ids[FileOf(Open)] == OpenId ? Disks[FileOf(Open)] : Orphans[Open];
    info.Created = t.Created.value_or(info.Created);
    info.LastAccess = t.LastAccess.value_or(info.LastAccess);
    info.LastWrite = t.LastWrite.value_or(info.LastWrite);
    if (Open == Fat) info.LastWrite -= info.LastWrite % 20'000'000;
    return 0;
  }
  pw::FsError ReadFolder(const std::wstring& folder, std::vector<pw::FolderChild>& children) override {
    if (const pw::FsError error = Call(L"list", folder)) return error;
    if (!Disks.contains(folder)) return 3;
    for (const auto& [path, info] : Disks) {
      const std::wstring name = path.substr(std::min(path.size(), folder.size() + 1));
      if (path.starts_with(folder + L"\\") && name.find(L'\\') == std::wstring::npos) children.push_back({name, info});
    }
    return 0;
  }
  pw::FsError OpenContent(const std::wstring& path, std::unique_ptr<pw::ContentHandle>& content) override {
    if (const pw::FsError error = Call(L"content", path)) return error;
    if (OpenNow >= MostOpen) return pw::kFsTooManyOpenFiles;
    const auto held = Contents.find(FileOf(path));
    if (held == Contents.end()) return 2;
    content = std::make_unique<Held>(*this, path, held->second);
    return 0;
  }
  // Its links are the kind the system follows whatever it is asked (Wine's): both ways alike.
  pw::FsError FinalPath(const std::wstring& path, pw::EditFileSystem::FinalOf, std::wstring& final) override {
    if (const pw::FsError error = Call(L"final", path)) return error;
    if (!Disks.contains(path)) return 2;
    final = FinalOf(path);
    return 0;
  }
  pw::FsError ReadHeld(pw::EntryInfo& info) {
    if (const pw::FsError error = Call(L"readh", Open)) return error;
    info = Ids[FileOf(Open)] == OpenId ? Disks[FileOf(Open)] : Orphans[Open];
    if (Open == Fat) info.Created = info.LastWrite;
    return 0;
  }
  pw::FsError WriteAttributes(const std::wstring& path, std::uint32_t word) override {
    EXPECT_TRUE((word & 0x10) == 0 && ((word & 0x80) == 0 || word == 0x80)) << word;
    if (const pw::FsError error = Call(L"attr", path, L" " + std::to_wstring(word))) return error;
    const std::uint32_t kept = (Disks[path].Attributes & ~0x1A31A7u) | (word & 0x1A3127u);
    Disks[path].Attributes = kept != 0 ? kept : 0x80;
    return 0;
  }

private:
  // A copy of the bytes: a test may change the file while its content is read. Kept for the times,
  // it writes the file it read, even when another one has taken its name since.
  struct Held final : pw::ContentHandle {
    Held(FakeFs& owner, std::wstring path, std::vector<std::uint8_t> bytes)
        : Fs(owner), Path(std::move(path)), Id(owner.Ids[owner.FileOf(Path)]), Bytes(std::move(bytes)), Source(Bytes) {
      ++Fs.OpenNow;
    }
    ~Held() override { --Fs.OpenNow; }
    std::uint64_t Size() const override { return Source.Size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override { return Source.ReadAt(offset, into); }
    std::unique_ptr<pw::EntryTimeWriter> KeepForTimes() override {
      return std::make_unique<Kept>(Fs, Path, Id);
    }
    FakeFs& Fs;
    std::wstring Path;
    std::uint64_t Id;
    std::vector<std::uint8_t> Bytes;
    pw::MemorySource Source;
  };
  struct Kept final : pw::EntryTimeWriter {
    Kept(FakeFs& owner, std::wstring path, std::uint64_t id) : Fs(owner), Path(std::move(path)), Id(id) { ++Fs.OpenNow; }
    ~Kept() override { --Fs.OpenNow; }
    EntryInfo& File() { return Fs.Ids[Fs.FileOf(Path)] == Id ? Fs.Disks[Fs.FileOf(Path)] : Fs.Orphans[Path]; }
    pw::FsError WriteTimes(const pw::TimeChange& t) override {
      if (const pw::FsError error = Fs.Call(L"times", Path, L" (kept)")) return error;
      EntryInfo& info = File();
      info.Created = t.Created.value_or(info.Created);
      info.LastAccess = t.LastAccess.value_or(info.LastAccess);
      info.LastWrite = t.LastWrite.value_or(info.LastWrite);
      return 0;
    }
    pw::FsError Identify(pw::EntryIdentity& id) override {
      id = {7, Id, 1};
      return 0;
    }
    pw::FsError Read(EntryInfo& info) override {
      info = File();
      return 0;
    }
    pw::FsError FinalPath(std::wstring& final) override {
      final = Fs.FinalOf(Path);
      return 0;
    }
    FakeFs& Fs;
    std::wstring Path;
    std::uint64_t Id;
  };
  struct Closer final : pw::EntryTimeWriter {
    FakeFs& fs;
    explicit Closer(FakeFs& owner) : fs(owner) {}
    ~Closer() override { fs.Call(L"close", std::exchange(fs.Open, {})); }
    pw::FsError WriteTimes(const pw::TimeChange& t) override { return fs.WriteTimes(t); }
    pw::FsError Identify(pw::EntryIdentity& id) override {
      id = fs.IdentityOf(fs.Open);
      id.FileId = fs.OpenId;
      return 0;
    }
    pw::FsError Read(pw::EntryInfo& info) override { return fs.ReadHeld(info); }
    pw::FsError FinalPath(std::wstring& final) override {
      final = fs.FinalOf(fs.Open);
      return 0;
    }
  };
};

}  // namespace testutil
