#include "browse/platform/ShellInfo.h"

#include <windows.h>
#include <shellapi.h>

#include "ui/Pictures.h"

namespace pw {

namespace {

constexpr std::uint32_t kDirectory = 0x10;

std::wstring ExtensionKey(std::wstring_view name) {
  size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring_view::npos) return L".";
  std::wstring ext(name.substr(dot));
  for (wchar_t& c : ext)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return ext;
}

}  // namespace

ShellTypeCache::Entry ShellTypeCache::Lookup(std::wstring_view name, std::uint32_t attributes,
                                             std::vector<std::wstring>& typeNames) {
  bool folder = (attributes & kDirectory) != 0;
  std::wstring key = folder ? std::wstring(L"\\folder") : ExtensionKey(name);
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;

  std::wstring probe = folder ? std::wstring(L"folder") : (key == L"." ? L"file" : L"file" + key);
  SHFILEINFOW sfi{};
  Entry entry;
  if (SHGetFileInfoW(probe.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &sfi,
                     sizeof(sfi), SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_SYSICONINDEX)) {
    entry.IconIndex = sfi.iIcon;
    if (sfi.szTypeName[0]) {
      typeNames.emplace_back(sfi.szTypeName);
      entry.TypeIndex = static_cast<std::int32_t>(typeNames.size() - 1);
    }
  }
  cache_.emplace(std::move(key), entry);
  return entry;
}

bool ShellTypeCache::HasOwnIcon(std::wstring_view name, std::uint32_t attributes) {
  // A folder shows an icon of its own (desktop.ini) only when it is marked read-only or system;
  // asking the shell about every plain folder would cost a folder query per row.
  if (attributes & kDirectory) return (attributes & (0x01 | 0x04)) != 0;
  std::wstring ext = ExtensionKey(name);
  static const wchar_t* const kOwn[] = {L".exe", L".ico", L".cur", L".ani", L".lnk", L".url", L".scr", L".cpl"};
  for (const wchar_t* own : kOwn)
    if (ext == own) return true;
  return false;
}

std::int32_t ShellTypeCache::EntryIcon(const std::wstring& fullPath) {
  SHFILEINFOW sfi{};
  if (!SHGetFileInfoW(fullPath.c_str(), 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX)) return -1;
  return sfi.iIcon;
}

}  // namespace pw

namespace pw {

void ShellImageLists::Load(HICON upLarge, HICON upSmall) {
  SHFILEINFOW sfi{};
  sysLarge_ = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX));
  sysSmall_ = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  int cx = 32, cy = 32;
  if (sysLarge_) ImageList_GetIconSize(sysLarge_, &cx, &cy);
  large_.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16));
  cx = cy = 16;
  if (sysSmall_) ImageList_GetIconSize(sysSmall_, &cx, &cy);
  small_.reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16));
  if (!sysSmall_) return;
  ui::AddIconUnscaled(large_.get(), upLarge);
  up_ = ui::AddIconUnscaled(small_.get(), upSmall);
}

int ShellImageLists::FromSystem(int systemIndex) {
  if (systemIndex < 0 || !sysSmall_) return -1;
  auto it = mapped_.find(systemIndex);
  if (it != mapped_.end()) return it->second;
  int index = -1;
  ui::ScopedIcon small(ImageList_GetIcon(sysSmall_, systemIndex, ILD_NORMAL));
  if (small) {
    ui::ScopedIcon large(sysLarge_ ? ImageList_GetIcon(sysLarge_, systemIndex, ILD_NORMAL) : nullptr);
    index = ImageList_AddIcon(small_.get(), small.get());
    ImageList_AddIcon(large_.get(), large ? large.get() : small.get());
  }
  mapped_.emplace(systemIndex, index);
  return index;
}

}  // namespace pw
