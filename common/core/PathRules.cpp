#include "common/core/PathRules.h"

#include "common/core/CaselessText.h"

namespace pw {
namespace {

std::size_t AfterLastSeparator(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(L"\\:");
  return separator == std::wstring_view::npos ? 0 : separator + 1;
}

}  // namespace

std::wstring FolderPart(std::wstring_view path) {
  return std::wstring(path.substr(0, AfterLastSeparator(path)));
}

bool IsDriveRoot(std::wstring_view listedFolder) {
  if (listedFolder.empty()) return false;
  const wchar_t last = listedFolder.back();
  if (last == L':') return true;
  if (last != L'\\') return false;
  if (listedFolder.size() == 1) return true;
  const wchar_t before = listedFolder[listedFolder.size() - 2];
  if (before == L':' || before == L'\\') return true;
  // \\server\share\ : a share's root has no folder above it (\\server\ lists nothing).
  return listedFolder.starts_with(L"\\\\") && RootOf(listedFolder).size() == listedFolder.size();
}

std::wstring LastComponent(std::wstring_view path) {
  return std::wstring(path.substr(AfterLastSeparator(path)));
}

std::wstring ParentFolderPath(std::wstring_view folderWithBackslash) {
  std::wstring_view path = folderWithBackslash;
  if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return FolderPart(path);
}

std::wstring RootOf(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') return std::wstring(path.substr(0, 2)) + L'\\';
  if (!path.starts_with(L"\\\\")) return {};
  // \\server\share\: the share is the root; a share's name alone is none.
  const std::size_t server = path.find(L'\\', 2);
  if (server == std::wstring_view::npos || server == 2) return {};
  const std::size_t share = path.find(L'\\', server + 1);
  if (share == server + 1) return {};
  return std::wstring(path.substr(0, share)) + L'\\';
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path.append(name);
}

std::wstring PathKey(std::wstring_view path) {
  std::wstring key;
  key.reserve(path.size());
  for (const wchar_t c : path) key += c == L'/' ? L'\\' : static_cast<wchar_t>(FoldAscii(c));
  while (key.size() > 1 && key.back() == L'\\' && !IsDriveRoot(key)) key.pop_back();
  return key;
}

bool LiesInside(std::wstring_view inner, std::wstring_view outer) {
  if (outer.empty() || inner.size() <= outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
  return outer.back() == L'\\' || inner[outer.size()] == L'\\';
}

}  // namespace pw
