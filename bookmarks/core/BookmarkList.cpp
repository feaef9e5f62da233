#include "bookmarks/core/BookmarkList.h"

#include <algorithm>
#include <utility>

namespace pw {
namespace {

wchar_t FoldAsciiLetter(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

bool SamePathIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return std::ranges::equal(a, b, {}, FoldAsciiLetter, FoldAsciiLetter);
}

BookmarkList::BookmarkList(BookmarkStore& store, SamePath samePath)
    : store_(store), samePath_(std::move(samePath)) {}

void BookmarkList::Load() {
  paths_.clear();
  const auto values = store_.OpenForReading();
  if (!values) return;
  for (int number = 0; number < Capacity; ++number) {
    if (auto path = values->Read(number)) paths_.push_back(std::move(*path));
  }
}

void BookmarkList::Save() const {
  const auto values = store_.OpenForWriting();
  if (!values) return;
  int written = 0;
  for (const std::wstring& path : paths_) {
    if (written == Capacity) break;
    if (!path.empty() && values->Write(written, path)) ++written;
  }
  for (int number = written; number < Capacity; ++number) values->Delete(number);
}

void BookmarkList::UpdateBookmark(std::wstring_view path, BookmarkChange change) {
  if (change == BookmarkChange::Keep) return;
  if (const auto found = Find(path); found != paths_.end()) paths_.erase(found);
  if (change == BookmarkChange::MoveToTop) paths_.emplace(paths_.begin(), path);
  Save();
  Load();
}

bool BookmarkList::IsBookmarked(std::wstring_view path) const { return Find(path) != paths_.end(); }

std::vector<std::wstring>::const_iterator BookmarkList::Find(std::wstring_view path) const {
  return std::ranges::find_if(paths_,
                              [&](const std::wstring& entry) { return samePath_(entry, path); });
}

std::wstring BookmarkMenuCaption(int position, std::wstring_view path) {
  std::wstring caption = L"&" + std::to_wstring(position) + L" ";
  for (const wchar_t c : path) {
    if (c == L'&') caption += L'&';  // shown as one "&", never as an access key
    caption += c;
  }
  return caption;
}

}  // namespace pw
