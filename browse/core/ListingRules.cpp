#include "browse/core/ListingRules.h"

#include "browse/core/FileText.h"

namespace pw {
namespace {

constexpr std::uint32_t kFilterBits = AttrReadOnly | AttrHidden | AttrSystem | AttrArchive |
                                      AttrNormal;

}  // namespace

bool PassesAttributeFilter(std::uint32_t attributes, std::uint32_t attrMask) {
  if (attributes == 0) return true;
  const std::uint32_t effective =
      (attributes & kFilterBits) != 0 ? attributes : attributes | AttrNormal;
  return (effective & attrMask & kFilterBits) != 0;
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
