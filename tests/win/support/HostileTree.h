#pragma once
// A folder made of what broke the commands that write times before: names that differ in letter
// case only (files and folders), a name that ends in a dot (reached through \\?\) beside its
// trimmed namesake, a long name with an 8.3 alias, two names of one file (hard links), links to a
// folder inside and to a folder and a file outside, a read-only file and a file held open without
// delete sharing; and beside it the folder outside that no run may touch.
//
// What a system cannot make is left out and not listed: a folder without case-sensitive lookup
// holds no "A.txt" beside "a.txt", and Windows makes a symbolic link only with the privilege for
// it. Under Wine the links are made as Unix symbolic links (Wine makes none itself), which it reads
// as links to folders; one to a file it lists as the file it leads to.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/EditFixture.h"

namespace testutil {

enum class HostileKind {
  Plain,    // a file or folder of the chosen folder: a run gives it what it asks, or names it
  Link,     // a junction or symbolic link in the chosen folder: what it leads to is never written
  Outside,  // outside the chosen folder: never written
};

struct HostileEntry {
  std::wstring Name;  // relative to the chosen folder ("..\Outside\secret.txt" for what lies outside)
  bool Folder = false;
  HostileKind Kind = HostileKind::Plain;
};

class HostileTree {
public:
  // Makes the tree in `base` (a folder with a trailing backslash): base\Hostile\ and base\Outside\.
  // Without `everything`, only what every volume holds (a FAT volume has no links, no second names
  // and no letter case of its own): the files and folders, the read-only and the held one.
  explicit HostileTree(const std::wstring& base, bool everything = true);
  ~HostileTree();
  HostileTree(const HostileTree&) = delete;
  HostileTree& operator=(const HostileTree&) = delete;

  // The chosen folder, with a trailing backslash.
  const std::wstring& Folder() const { return folder_; }
  // Every entry made, the chosen folder itself first (Name "").
  const std::vector<HostileEntry>& Entries() const { return entries_; }
  bool Has(const std::wstring& name) const;
  // The full path of an entry, as the list shows it.
  std::wstring PathOf(const std::wstring& name) const;
  // The 8.3 alias of the long name, when the system gives one.
  const std::wstring& Alias() const { return alias_; }

  // Every entry's stamps now, read as it is named (a name ending in a dot through \\?\).
  std::map<std::wstring, Stamps> Read() const;
  // Gives a plain entry a last-write (and for a file a last-access) time of its own.
  bool Stamp(const std::wstring& name, unsigned long long written) const;

private:
  void Add(std::wstring name, bool folder, HostileKind kind = HostileKind::Plain);
  bool MakeLink(const std::wstring& name, const std::wstring& target, bool folder);

  std::wstring base_, folder_, alias_;
  std::vector<HostileEntry> entries_;
  HANDLE held_ = INVALID_HANDLE_VALUE;
};

// The path as it stands, with \\?\ in front: a name that ends in a dot is not trimmed.
std::wstring Verbatim(const std::wstring& path);
// Starts a program of the host (Wine runs Unix programs) and waits until `done` holds, for ten
// seconds at most: Wine gives no handle to wait on for a Unix process. Whether it holds.
bool RunHost(const std::wstring& program, const std::vector<std::wstring>& args, const std::function<bool()>& done);
// The host's path of a Windows path under Wine; empty on Windows.
std::wstring UnixPathOf(const std::wstring& path);

}  // namespace testutil
