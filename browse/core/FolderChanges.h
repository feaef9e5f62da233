#pragma once
// What changed in a shown folder since it was listed, as read again after the system said so: the
// entries now there under the names that changed, the names no longer there, and which names were
// renamed to which. The model merges it into its rows.
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "browse/core/FileItem.h"
#include "browse/core/ListingBuilder.h"
#include "browse/core/NamePool.h"

namespace pw {

struct FolderChanges {
  // Files and folders as they are now, typed; whether the view keeps them is the model's call.
  std::vector<FileItem> Present;
  std::vector<std::wstring_view> Gone;
  // Old name, new name: the row of the old name becomes the new name's, so its selection follows.
  std::vector<std::pair<std::wstring_view, std::wstring_view>> Renamed;
  // The names above live here; the model takes them over.
  std::shared_ptr<NamePool> Names = std::make_shared<NamePool>();

  bool Empty() const { return Present.empty() && Gone.empty(); }
};

// A found file or folder (never "." or "..") as a list item, its name stored in `names`; the
// caller gives it its type and icon.
FileItem MakeEntryItem(const FoundEntry& found, NamePool& names);

}  // namespace pw
