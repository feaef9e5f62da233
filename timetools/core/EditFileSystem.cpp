#include "timetools/core/EditFileSystem.h"

#include <algorithm>

namespace pw {

FsError EditFileSystem::ReadStart(const std::wstring& path, std::size_t most, std::vector<std::uint8_t>& bytes) {
  std::unique_ptr<ContentHandle> content;
  if (const FsError error = OpenContent(path, content); error != kFsOk) return error;
  bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(content->Size(), most)));
  bytes.resize(content->ReadAt(0, bytes));
  return kFsOk;
}

std::uint32_t SettableAttributeWord(std::uint32_t attributes) {
  const std::uint32_t settable = attributes & kSettableAttributes;
  return settable != 0 ? settable : kNormalAttribute;
}

std::uint32_t ChosenAttributeWord(std::uint32_t current, std::uint32_t chosen) {
  return SettableAttributeWord((current & ~kEditedAttributes) | (chosen & kEditedAttributes));
}

bool FinalPathWithin(std::wstring_view entryFinal, std::wstring_view folderFinal) {
  while (!folderFinal.empty() && folderFinal.back() == L'\\') folderFinal.remove_suffix(1);
  if (folderFinal.empty() || !entryFinal.starts_with(folderFinal)) return false;
  const std::wstring_view rest = entryFinal.substr(folderFinal.size());
  return rest.empty() || rest.front() == L'\\';
}

}  // namespace pw
