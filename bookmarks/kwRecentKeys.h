#pragma once
// The bookmark list of a window: up to eight paths, most recent first, kept in the per-user
// registry and listed as the sub-items of one menu item, which is shown only while there is
// something to list.
#include <functional>
#include <string>
#include <vector>

#include "bookmarks/RegistryBookmarkStore.h"
#include "bookmarks/core/BookmarkList.h"
#include "ui/Menu.h"
#include "ui/Sender.h"

namespace pw {

class TkwRecentKeys {
public:
  // Loads the stored bookmarks into the sub-items of bookmarkMenu at once. subKey is appended to
  // the program's key as it stands ("\File Browser").
  TkwRecentKeys(ui::MenuItem& bookmarkMenu, const std::wstring& subKey);
  // Stores the list once more; the sub-items belong to the menu and are left alone, so the list
  // may outlive it.
  ~TkwRecentKeys();
  TkwRecentKeys(const TkwRecentKeys&) = delete;
  TkwRecentKeys& operator=(const TkwRecentKeys&) = delete;

  void LoadBookmarks();
  void SaveBookmarks() const;
  // The one way to change the list; the list and the menu then show what the registry holds.
  void UpdateBookmark(const std::wstring& path, BookmarkChange change);
  bool IsBookmarked(const std::wstring& path) const;
  const std::vector<std::wstring>& Bookmarks() const { return bookmarks_.Paths(); }

  ui::MenuItem& BookmarkMenu;
  const std::wstring SubKey;
  // Called with the path of the bookmark the user clicked.
  std::function<void(const std::wstring&)> OnOpenBookmark;

private:
  void ShowBookmarks();
  void AddBookmarkItem(int position);  // the item of the bookmark at that position; its tag
  void BookmarkItemClick(const ui::Sender& sender);

  RegistryBookmarkStore store_;
  BookmarkList bookmarks_;
};

}  // namespace pw
