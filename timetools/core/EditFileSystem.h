#pragma once
// The file-system calls of the time and attribute editor behind an interface, so that the apply
// and undo sequences run the same against the platform and against a test's recording fake; and
// the rules of the attribute word the platform accepts.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "media/core/ByteSource.h"

namespace pw {

// An entry's standard information: its whole attribute word and its three UTC file times
// (100 ns units since 1601).
struct EntryInfo {
  std::uint32_t Attributes = 0;
  std::uint64_t Created = 0;
  std::uint64_t LastAccess = 0;
  std::uint64_t LastWrite = 0;
  friend bool operator==(const EntryInfo&, const EntryInfo&) = default;
};

// Which file a path or an open handle names: the file's id on its volume (the volume's serial number
// where it is known, else 0: a path and a handle compared lie on one volume). A file replaced by
// another program (saved under a new name, then renamed over the old one) keeps its path but gets
// another id. Links counts the names the file has (hard links).
struct EntryIdentity {
  std::uint32_t Volume = 0;
  std::uint64_t FileId = 0;
  std::uint32_t Links = 1;
  friend bool operator==(const EntryIdentity& a, const EntryIdentity& b) {
    return a.Volume == b.Volume && a.FileId == b.FileId;
  }
};

// Times for one write; an empty one stays as it is on disk.
struct TimeChange {
  std::optional<std::uint64_t> Created;
  std::optional<std::uint64_t> LastAccess;
  std::optional<std::uint64_t> LastWrite;
  bool Any() const { return Created || LastAccess || LastWrite; }
};

// The outcome of one call: kFsOk, or the system's error code. A call that fails must never
// return kFsOk, even when the system gives no code.
using FsError = std::uint32_t;
inline constexpr FsError kFsOk = 0;
// The process holds as many open files as the system lets it.
inline constexpr FsError kFsTooManyOpenFiles = 4;

// An entry held open for writing its times and nothing else: opened that way, read-only files,
// folders and files other programs hold open can be written too, and no attribute has to be
// cleared first. Destroying it closes it.
class EntryTimeWriter {
public:
  virtual ~EntryTimeWriter() = default;
  virtual FsError WriteTimes(const TimeChange& change) = 0;
  // The file the held handle names.
  virtual FsError Identify(EntryIdentity& identity) = 0;
  // What the held entry holds now.
  virtual FsError Read(EntryInfo& info) = 0;
  // Where the held handle lands once every link on the way is followed (a junction, a symbolic
  // link, a mapped drive): the path the system gives it ("\\?\C:\Data\a.txt"). A write through
  // the handle changes that entry, whatever path it was opened by.
  virtual FsError FinalPath(std::wstring& path) = 0;
};

// A file's content opened for reading, read-only and shared with every other program; reading it
// leaves its last-access time as it was.
class ContentHandle : public ByteSource {
public:
  // The same open file, kept to write the times its content gave: the file written is the file
  // read, whatever happens to its name meanwhile. Nothing where it cannot take times.
  virtual std::unique_ptr<EntryTimeWriter> KeepForTimes() = 0;
};

// One entry found in a folder.
struct FolderChild {
  std::wstring Name;
  EntryInfo Info;
};

class EditFileSystem {
public:
  virtual ~EditFileSystem() = default;
  virtual FsError ReadInfo(const std::wstring& path, EntryInfo& info) = 0;
  // On success `writer` holds the open entry; on failure it stays empty.
  virtual FsError OpenForTimes(const std::wstring& path,
                               std::unique_ptr<EntryTimeWriter>& writer) = 0;
  // The file the path names now.
  virtual FsError Identify(const std::wstring& path, EntryIdentity& identity) = 0;
  // `attributes` is always a word made by SettableAttributeWord.
  virtual FsError WriteAttributes(const std::wstring& path, std::uint32_t attributes) = 0;
  // The entries of a folder (path without its trailing backslash), "." and ".." left out.
  virtual FsError ReadFolder(const std::wstring& folder, std::vector<FolderChild>& children) = 0;
  // A file's content to read from; on failure `content` stays empty.
  virtual FsError OpenContent(const std::wstring& path, std::unique_ptr<ContentHandle>& content) = 0;
  // Where the entry at `path` lands, as EntryTimeWriter::FinalPath tells it of an entry opened for
  // its times (FinalOf::Entry: a link is the link itself, where the system can open one as such);
  // or where what a folder holds lies (FinalOf::Contents: a link to a folder followed, for the
  // folder a run was chosen for, to hold what it writes against).
  enum class FinalOf : std::uint8_t { Entry, Contents };
  virtual FsError FinalPath(const std::wstring& path, FinalOf what, std::wstring& final) = 0;
  // Up to `most` bytes of a small file from its start (a sidecar beside a photo), read in one go;
  // by default through OpenContent.
  virtual FsError ReadStart(const std::wstring& path, std::size_t most, std::vector<std::uint8_t>& bytes);
};

// Whether the final path of an entry is the final path of a folder or lies inside it. Both come
// from the system, which spells every name as the volume stores it: compared exactly, so that of
// two folders "a" and "A" (a folder with case-sensitive lookup) neither holds the other.
bool FinalPathWithin(std::wstring_view entryFinal, std::wstring_view folderFinal);

// Directory and reparse point (a link to a folder, which a walk does not enter).
inline constexpr std::uint32_t kDirectoryAttribute = 0x10;
inline constexpr std::uint32_t kReparsePointAttribute = 0x400;

// The bits of the editor's four check boxes: read-only, hidden, system, archive.
inline constexpr std::uint32_t kEditedAttributes = 0x01 | 0x02 | 0x04 | 0x20;
// The bits a program may set: the four, temporary, offline, not content indexed, no scrub data,
// and a cloud file's pinned and unpinned states. The editor shows only the four; the others are
// passed back as they were whenever the word is written, so a synced file keeps its pinning. The
// rest (directory, compressed, encrypted, sparse, reparse point ...) belong to the entry; the file
// system keeps them whatever is written, and some of them make the call fail when passed.
inline constexpr std::uint32_t kSettableAttributes =
    kEditedAttributes | 0x100 | 0x1000 | 0x2000 | 0x20000 | 0x80000 | 0x100000;
// "Normal" is valid only alone and stands for "none of the settable bits".
inline constexpr std::uint32_t kNormalAttribute = 0x80;

// The word that gives an entry the settable bits of `attributes`.
std::uint32_t SettableAttributeWord(std::uint32_t attributes);
// The word that gives an entry whose word is `current` the four edited bits as in `chosen`,
// keeping its other settable bits.
std::uint32_t ChosenAttributeWord(std::uint32_t current, std::uint32_t chosen);

}  // namespace pw
