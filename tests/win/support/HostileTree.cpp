#include "support/HostileTree.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "support/Files.h"
#include "support/TestDrive.h"

namespace testutil {

namespace {

constexpr unsigned long long kHour = 36'000'000'000;

std::wstring Quoted(const std::wstring& arg) {
  return arg.find_first_of(L" \t\"") == std::wstring::npos ? arg : L"\"" + arg + L"\"";
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  const auto id = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &info) != FALSE;
    CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  return id(a, x) && id(b, y) && x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

// A junction, as Windows makes one without any privilege: a folder with a mount-point reparse point.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  HANDLE h = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::wstring substitute = L"\\??\\" + target;
  const auto bytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
  std::vector<char> buffer(8 + 8 + bytes + 2 * sizeof(wchar_t), 0);
  auto* header = reinterpret_cast<DWORD*>(buffer.data());
  header[0] = IO_REPARSE_TAG_MOUNT_POINT;
  reinterpret_cast<USHORT*>(buffer.data() + 4)[0] = static_cast<USHORT>(buffer.size() - 8);
  auto* offsets = reinterpret_cast<USHORT*>(buffer.data() + 8);
  offsets[0] = 0;                                   // substitute name offset
  offsets[1] = bytes;                               // and length
  offsets[2] = static_cast<USHORT>(bytes + 2);      // print name offset (empty)
  offsets[3] = 0;
  std::memcpy(buffer.data() + 16, substitute.data(), bytes);
  DWORD got = 0;
  const BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                  nullptr, 0, &got, nullptr);
  CloseHandle(h);
  if (!ok) RemoveDirectoryW(link.c_str());
  return ok != FALSE;
}

}  // namespace

std::wstring Verbatim(const std::wstring& path) {
  return path.starts_with(L"\\\\") ? path : L"\\\\?\\" + path;
}

std::wstring UnixPathOf(const std::wstring& path) {
  if (path.size() > 3 && path.back() == L'\\') return UnixPathOf(path.substr(0, path.size() - 1)) + L"/";
  using UnixName = char*(__cdecl*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return {};
  char* name = unixName(path.c_str());
  if (!name) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 1)) - 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), length);
  HeapFree(GetProcessHeap(), 0, name);
  return wide;
}

bool RunHost(const std::wstring& program, const std::vector<std::wstring>& args, const std::function<bool()>& done) {
  std::wstring application = L"Z:" + program;
  std::replace(application.begin(), application.end(), L'/', L'\\');
  std::wstring command = Quoted(program);
  for (const std::wstring& arg : args) command += L" " + Quoted(arg);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Wine gives no handle to wait on for a Unix program: its work is waited for instead.
  for (int tries = 0; tries < 1000; ++tries) {
    if (done()) return true;
    Sleep(10);
  }
  return false;
}

namespace {
bool Exists(const std::wstring& path) { return GetFileAttributesW(Verbatim(path).c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

HostileTree::HostileTree(const std::wstring& base, bool everything) : base_(base), folder_(base + L"Hostile\\") {
  const bool wine = RunningUnderWine();
  CreateDirectoryW((base_ + L"Outside").c_str(), nullptr);
  MakeFile(base_ + L"Outside\\secret.txt", 3);
  CreateDirectoryW(folder_.c_str(), nullptr);
  Add(L"", true);
  Add(L"..\\Outside", true, HostileKind::Outside);
  Add(L"..\\Outside\\secret.txt", false, HostileKind::Outside);

  // Names that differ in letter case only: made by the host under Wine, whose own lookup ignores
  // letter case; on Windows only in a folder with case-sensitive lookup.
  MakeFile(folder_ + L"a.txt", 1);
  Add(L"a.txt", false);
  CreateDirectoryW((folder_ + L"x").c_str(), nullptr);
  Add(L"x", true);
  MakeFile(folder_ + L"x\\f.txt", 1);
  Add(L"x\\f.txt", false);
  if (everything && wine) {
    const std::wstring unixFolder = UnixPathOf(folder_);
    // Listed by its own name: Wine's lookup of one name would find its namesake in another case.
    const auto listed = [this](const std::wstring& name) {
      return [this, name] {
        const std::size_t split = name.find_last_of(L'\\');
        const std::wstring in = split == std::wstring::npos ? folder_ : folder_ + name.substr(0, split + 1);
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((in + L"*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return false;
        bool seen = false;
        do seen = seen || LastName(name) == found.cFileName;
        while (FindNextFileW(find, &found));
        FindClose(find);
        return seen;
      };
    };
    if (RunHost(L"/usr/bin/touch", {unixFolder + L"A.txt"}, listed(L"A.txt"))) Add(L"A.txt", false);
    if (RunHost(L"/bin/mkdir", {unixFolder + L"X"}, listed(L"X")) &&
        RunHost(L"/usr/bin/touch", {unixFolder + L"X/f.txt"}, listed(L"X\\f.txt"))) {
      Add(L"X", true);
      Add(L"X\\f.txt", false);
    }
  } else if (everything) {
    HANDLE h = CreateFileW((folder_ + L"A.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      Add(L"A.txt", false);
    }
  }
  CreateDirectoryW((folder_ + L"in").c_str(), nullptr);
  Add(L"in", true);
  MakeFile(folder_ + L"in\\f.txt", 1);
  Add(L"in\\f.txt", false);

  // A name that ends in a dot, and the name it would be trimmed to.
  MakeFile(folder_ + L"dot", 1);
  Add(L"dot", false);
  HANDLE dot = INVALID_HANDLE_VALUE;
  if (everything)
    dot = CreateFileW(Verbatim(folder_ + L"dot.").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (dot != INVALID_HANDLE_VALUE) {
    CloseHandle(dot);
    Add(L"dot.", false);
  }
  // A long name, and its 8.3 alias where it names the same file.
  const std::wstring longName = MakeFile(folder_ + L"A long file name.text", 1);
  Add(L"A long file name.text", false);
  wchar_t shortPath[MAX_PATH] = {};
  if (GetShortPathNameW(longName.c_str(), shortPath, MAX_PATH) && SameFile(shortPath, longName) &&
      LastName(shortPath) != LastName(longName))
    alias_ = LastName(shortPath);
  // Two names of one file, each with a date of its own in it.
  MakeFile(folder_ + L"IMG_20230514_142233.jpg", 1);
  Add(L"IMG_20230514_142233.jpg", false);
  if (everything && CreateHardLinkW((folder_ + L"2021-01-02 03.04.05.png").c_str(),
                                    (folder_ + L"IMG_20230514_142233.jpg").c_str(), nullptr))
    Add(L"2021-01-02 03.04.05.png", false);
  MakeFile(folder_ + L"ro.txt", 1);
  Add(L"ro.txt", false);
  MakeFile(folder_ + L"held.txt", 1);
  Add(L"held.txt", false);

  // Links: to a folder inside, to a folder outside, to a file outside.
  if (everything && MakeLink(L"jin", folder_ + L"in", true)) Add(L"jin", true, HostileKind::Link);
  if (everything && MakeLink(L"jout", base_ + L"Outside", true)) Add(L"jout", true, HostileKind::Link);
  if (everything && MakeLink(L"fout", base_ + L"Outside\\secret.txt", false)) Add(L"fout", false, HostileKind::Link);

  // Every entry its own times, the 100-ns digits too; folders after what they hold.
  unsigned long long at = UtcFileTime(2015, 3, 4, 5, 6, 7, 0);
  for (const bool folders : {false, true}) {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
      if (entry->Folder != folders || entry->Kind == HostileKind::Link) continue;
      at += kHour + 1234;
      Stamp(entry->Name, at);
    }
  }
  SetFileAttributesW((folder_ + L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  // Held open by another program that lets it be read and written, not deleted or renamed.
  held_ = CreateFileW((folder_ + L"held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
}

HostileTree::~HostileTree() {
  if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
  // The links go first, as links: a removal that followed one would empty what it leads to.
  if (RunningUnderWine()) {
    RunHost(L"/bin/rm", {L"-rf", UnixPathOf(folder_), UnixPathOf(base_ + L"Outside")},
            [this] { return !Exists(folder_) && !Exists(base_ + L"Outside"); });
    return;
  }
  for (const HostileEntry& entry : entries_) {
    if (entry.Kind != HostileKind::Link) continue;
    if (entry.Folder) RemoveDirectoryW(PathOf(entry.Name).c_str());
    else DeleteFileW(PathOf(entry.Name).c_str());
  }
  DeleteFileW(Verbatim(folder_ + L"dot.").c_str());
  SetFileAttributesW((folder_ + L"ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool HostileTree::MakeLink(const std::wstring& name, const std::wstring& target, bool folder) {
  const std::wstring link = folder_ + name;
  if (RunningUnderWine()) {
    // Relative, as a user's link would be: the tree may be moved with it.
    const std::wstring relative = target.starts_with(folder_) ? target.substr(folder_.size())
                                                              : L"../" + target.substr(base_.size());
    std::wstring unixTarget = relative;
    std::replace(unixTarget.begin(), unixTarget.end(), L'\\', L'/');
    return RunHost(L"/bin/ln", {L"-s", unixTarget, UnixPathOf(folder_) + name}, [link] { return Exists(link); });
  }
  if (folder) return MakeJunction(link, target);
  return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE;
}

void HostileTree::Add(std::wstring name, bool folder, HostileKind kind) {
  entries_.push_back({std::move(name), folder, kind});
}

bool HostileTree::Has(const std::wstring& name) const {
  return std::any_of(entries_.begin(), entries_.end(), [&](const HostileEntry& entry) { return entry.Name == name; });
}

std::wstring HostileTree::PathOf(const std::wstring& name) const {
  if (name.empty()) return folder_.substr(0, folder_.size() - 1);
  if (name.starts_with(L"..\\")) return base_ + name.substr(3);
  return folder_ + name;
}

std::map<std::wstring, Stamps> HostileTree::Read() const {
  std::map<std::wstring, Stamps> stamps;
  for (const HostileEntry& entry : entries_) stamps[entry.Name] = ReadStamps(Verbatim(PathOf(entry.Name)));
  return stamps;
}

bool HostileTree::Stamp(const std::wstring& name, unsigned long long written) const {
  const bool folder = std::any_of(entries_.begin(), entries_.end(),
                                  [&](const HostileEntry& entry) { return entry.Name == name && entry.Folder; });
  return SetTimes(Verbatim(PathOf(name)), 0, folder ? 0 : written - 5 * kHour, written);
}

}  // namespace testutil
