#include "browse/core/ListingRules.h"

#include "browse/core/FileText.h"

namespace pw {
namespace {

constexpr std::uint32_t kFilterBits = AttrReadOnly | AttrHidden | AttrSystem | AttrArchive |
                                      AttrNormal;

std::size_t AfterLastSeparator(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(L"\\:");
  return separator == std::wstring_view::npos ? 0 : separator + 1;
}

}  // namespace

bool PassesAttributeFilter(std::uint32_t attributes, std::uint32_t attrMask) {
  if (attributes == 0) return true;
  const std::uint32_t effective =
      (attributes & kFilterBits) != 0 ? attributes : attributes | AttrNormal;
  return (effective & attrMask & kFilterBits) != 0;
}

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

std::wstring ParentCaption(std::wstring_view listedFolder) {
  std::wstring parent = ParentFolderPath(listedFolder);
  if (!parent.empty() && parent.back() == L'\\') parent.pop_back();
  const std::wstring name = LastComponent(parent);
  return L"[" + (name.empty() ? std::wstring(L"..") : name) + L"]";
}

std::wstring BookmarkCaption(std::wstring_view path) {
  if (!path.empty() && path.back() == L'\\') return ParentCaption(path);
  return LastComponent(path);
}

}  // namespace pw
