#include "common/core/PathRules.h"

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
  return before == L':' || before == L'\\';
}

std::wstring LastComponent(std::wstring_view path) {
  return std::wstring(path.substr(AfterLastSeparator(path)));
}

std::wstring ParentFolderPath(std::wstring_view folderWithBackslash) {
  std::wstring_view path = folderWithBackslash;
  if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return FolderPart(path);
}

}  // namespace pw
