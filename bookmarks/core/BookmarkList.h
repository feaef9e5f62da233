#pragma once
// The bookmarked paths, most recent first, and the rules that keep them in step with their store.
// Menus know nothing of here: the menu layer shows Paths() with BookmarkMenuCaption.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/core/BookmarkStore.h"

namespace pw {

// What to do with a bookmark after it was opened.
enum class BookmarkChange {
  MoveToTop,  // (or add it there)
  Remove,
  Keep,  // its place could not be looked at now (drive unplugged, share offline): leave it alone
};

// Whether two paths name the same bookmark. Windows compares them the way the system's
// case-insensitive string comparison does; this default folds only a-z.
bool SamePathIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

class BookmarkList {
public:
  static constexpr int Capacity = 8;
  using SamePath = std::function<bool(std::wstring_view, std::wstring_view)>;

  explicit BookmarkList(BookmarkStore& store, SamePath samePath = SamePathIgnoringAsciiCase);

  // Replaces the list with what the store holds: values 0 to 7 in order, the missing and the
  // unreadable ones skipped, so the list has no gaps. Empty when the key cannot be opened.
  void Load();
  // Writes the non-empty entries under consecutive numbers from 0 (a failed write leaves its
  // number to the next entry), at most Capacity of them, and deletes the numbers left over up to
  // Capacity - 1. Writes nothing when the key can be neither created nor opened.
  void Save() const;
  // The one operation that changes the list. Any change is saved and read back, so the list shows
  // what the store holds afterwards: a failed save is undone, and a ninth entry is cut off.
  void UpdateBookmark(std::wstring_view path, BookmarkChange change);
  bool IsBookmarked(std::wstring_view path) const;

  const std::vector<std::wstring>& Paths() const { return paths_; }

private:
  std::vector<std::wstring>::const_iterator Find(std::wstring_view path) const;

  BookmarkStore& store_;
  SamePath samePath_;
  std::vector<std::wstring> paths_;
};

// "&3 D:\Data\report.txt": the access key is the position. Every "&" of the path is doubled, so
// "D:\R&D" shows as it is and gives no access key of its own.
std::wstring BookmarkMenuCaption(int position, std::wstring_view path);

}  // namespace pw
