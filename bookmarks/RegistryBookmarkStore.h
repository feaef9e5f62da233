#pragma once
// The bookmarks' store in the per-user registry: values Key0 to Key7 of the program's key.

#include <memory>
#include <string>

#include "bookmarks/core/BookmarkStore.h"
#include "common/core/ProgramKey.h"

namespace pw {

class RegistryBookmarkStore : public BookmarkStore {
public:
  // subKey is appended to kProductKeyPath as it stands, so it begins with its backslash
  // ("\File Browser").
  explicit RegistryBookmarkStore(const std::wstring& subKey);

  std::unique_ptr<BookmarkValues> OpenForReading() override;
  std::unique_ptr<BookmarkValues> OpenForWriting() override;

private:
  std::wstring keyPath_;
};

}  // namespace pw
