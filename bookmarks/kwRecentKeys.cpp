#include "bookmarks/kwRecentKeys.h"

#include <windows.h>

namespace pw {
namespace {

// The way the file system matches names: letter case ignored by the system's upper-case table,
// nothing else folded, so two different files never share a bookmark.
bool SamePathIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace

TkwRecentKeys::TkwRecentKeys(ui::MenuItem& bookmarkMenu, const std::wstring& subKey)
    : BookmarkMenu(bookmarkMenu), SubKey(subKey), store_(subKey), bookmarks_(store_, SamePathIgnoringCase) {
  LoadBookmarks();
}

TkwRecentKeys::~TkwRecentKeys() { SaveBookmarks(); }

void TkwRecentKeys::LoadBookmarks() {
  bookmarks_.Load();
  ShowBookmarks();
}

void TkwRecentKeys::SaveBookmarks() const { bookmarks_.Save(); }

void TkwRecentKeys::UpdateBookmark(const std::wstring& path, BookmarkChange change) {
  if (change == BookmarkChange::Keep) return;
  bookmarks_.UpdateBookmark(path, change);
  ShowBookmarks();
}

bool TkwRecentKeys::IsBookmarked(const std::wstring& path) const { return bookmarks_.IsBookmarked(path); }

void TkwRecentKeys::ShowBookmarks() {
  BookmarkMenu.Clear();
  const std::vector<std::wstring>& paths = bookmarks_.Paths();
  for (size_t i = 0; i < paths.size(); ++i) AddBookmarkItem(static_cast<int>(i));
  BookmarkMenu.SetVisible(!paths.empty());
}

void TkwRecentKeys::AddBookmarkItem(int position) {
  ui::MenuItem& item = BookmarkMenu.Add(L"", BookmarkMenuCaption(position, bookmarks_.Paths()[static_cast<size_t>(position)]));
  item.Tag = position;
  item.OnClick = [this](ui::MenuItem& sender) { BookmarkItemClick(ui::Sender{sender.Tag, &sender, nullptr}); };
}

void TkwRecentKeys::BookmarkItemClick(const ui::Sender& sender) {
  // The path comes from the list, not back out of the caption, which has its "&"s doubled. Opening
  // the bookmark rebuilds this menu, the clicked item with it: take the path first.
  const std::vector<std::wstring>& paths = bookmarks_.Paths();
  if (sender.Tag < 0 || static_cast<size_t>(sender.Tag) >= paths.size()) return;
  const std::wstring path = paths[static_cast<size_t>(sender.Tag)];
  if (OnOpenBookmark) OnOpenBookmark(path);
}

}  // namespace pw
