#pragma once
// The shell's type names and icons. Asking the shell once per entry is far too slow for large
// folders, so type names and icons come from a cache keyed by extension; only entries that carry
// an icon of their own (programs, icons, cursors, shortcuts, customised folders) ask per entry, and
// only when their row is painted.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pw {

class ShellTypeCache {
public:
  struct Entry {
    std::int32_t TypeIndex = -1;  // into the type-name table, -1 when the shell has no type name
    std::int32_t IconIndex = -1;  // system image index
  };
  // The type and the generic icon of an entry of that name and those attributes. New type names
  // are appended to typeNames, which must be the same table on every call.
  Entry Lookup(std::wstring_view name, std::uint32_t attributes, std::vector<std::wstring>& typeNames);
  // Entries whose icon the shell draws from the entry itself.
  static bool HasOwnIcon(std::wstring_view name, std::uint32_t attributes);
  // The system image index of one entry, from the shell (-1 when it has none).
  static std::int32_t EntryIcon(const std::wstring& fullPath);

private:
  std::unordered_map<std::wstring, Entry> cache_;
};

}  // namespace pw

#include <windows.h>
#include <commctrl.h>

#include "ui/Scoped.h"

namespace pw {

// The image lists of both list views. The shell's system image lists cannot take icons of our own:
// the shell numbers the icons it adds itself, so an image appended by us shifts every later icon
// (Wine shows drives with our folder-up icon). Our lists therefore hold the folder-up icon first
// and copy each system icon the first time an entry needs it.
class ShellImageLists {
public:
  ShellImageLists() = default;
  ShellImageLists(const ShellImageLists&) = delete;
  ShellImageLists& operator=(const ShellImageLists&) = delete;

  // Binds to the system lists (when the shell has them) and appends the folder-up icons. The
  // lists' cells are the system's icon sizes; an icon of another size is centred, not scaled.
  void Load(HICON upLarge, HICON upSmall);
  HIMAGELIST Large() const { return large_.get(); }
  HIMAGELIST Small() const { return small_.get(); }
  // Index of the folder-up icon in our lists; -1 when there are none.
  int UpIconIndex() const { return up_; }
  // Index in our lists of a system icon; -1 when the system has no such icon.
  int FromSystem(int systemIndex);

private:
  HIMAGELIST sysLarge_ = nullptr, sysSmall_ = nullptr;  // the shell's, never destroyed
  ui::ImageListOwner large_, small_;
  int up_ = -1;
  std::unordered_map<int, int> mapped_;
};

}  // namespace pw
