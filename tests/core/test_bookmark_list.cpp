#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "bookmarks/core/BookmarkList.h"

using pw::BookmarkChange;
using Paths = std::vector<std::wstring>;
using Values = std::map<int, std::wstring>;

namespace {

// A registry key in memory that remembers which value numbers were ever looked at.
struct FakeStore : pw::BookmarkStore, pw::BookmarkValues {
  bool exists = true, writable = true;
  Values values;
  std::set<int> unreadable, touched;
  std::set<std::wstring> refused;  // texts whose write fails

  std::optional<std::wstring> Read(int n) override {
    touched.insert(n);
    if (!values.count(n) || unreadable.count(n)) return std::nullopt;
    return values[n];
  }
  bool Write(int n, std::wstring_view path) override {
    touched.insert(n);
    if (refused.count(std::wstring(path))) return false;
    values[n] = path;
    return true;
  }
  void Delete(int n) override {
    touched.insert(n);
    values.erase(n);
  }

  struct Opened : pw::BookmarkValues {  // the store's values, for as long as one load or save
    explicit Opened(FakeStore& s) : s(s) {}
    std::optional<std::wstring> Read(int n) override { return s.Read(n); }
    bool Write(int n, std::wstring_view path) override { return s.Write(n, path); }
    void Delete(int n) override { s.Delete(n); }
    FakeStore& s;
  };
  std::unique_ptr<pw::BookmarkValues> OpenForReading() override {
    return exists ? std::make_unique<Opened>(*this) : nullptr;
  }
  std::unique_ptr<pw::BookmarkValues> OpenForWriting() override {
    exists = exists || writable;
    return writable ? std::make_unique<Opened>(*this) : nullptr;
  }
};

}  // namespace

TEST(BookmarkList, AddingMovesToTopInTheCaseNowPassedAndKeepsEight) {
  FakeStore store;
  store.exists = false;
  pw::BookmarkList list(store);
  for (int i = 1; i <= 8; ++i)
    list.UpdateBookmark(L"D:\\p" + std::to_wstring(i), BookmarkChange::MoveToTop);
  list.UpdateBookmark(L"d:\\P3", BookmarkChange::MoveToTop);
  EXPECT_EQ(list.Paths().size(), 8u);
  EXPECT_EQ(store.values[0], L"d:\\P3");
  EXPECT_TRUE(list.IsBookmarked(L"D:\\p3"));

  list.UpdateBookmark(L"D:\\p9", BookmarkChange::MoveToTop);  // the oldest, p1, goes
  EXPECT_EQ(list.Paths(), Paths({L"D:\\p9", L"d:\\P3", L"D:\\p8", L"D:\\p7", L"D:\\p6", L"D:\\p5",
                                 L"D:\\p4", L"D:\\p2"}));
  EXPECT_EQ(store.values.size(), 8u);

  // Windows hands in its own comparison, which folds more than a-z.
  store.values = {{0, L"C:\\Ärger"}};
  pw::BookmarkList localeAware(store, [](std::wstring_view a, std::wstring_view b) {
    return a == b || (a == L"C:\\Ärger" && b == L"c:\\ärger");
  });
  list.Load();
  localeAware.Load();
  EXPECT_FALSE(list.IsBookmarked(L"c:\\ärger"));
  EXPECT_TRUE(localeAware.IsBookmarked(L"c:\\ärger"));
}

TEST(BookmarkList, RemovingAndKeeping) {
  FakeStore store;
  store.values = {{0, L"D:\\only"}};
  pw::BookmarkList list(store);
  list.Load();
  store.touched.clear();
  list.UpdateBookmark(L"D:\\only", BookmarkChange::Keep);  // its folder could not be listed
  EXPECT_TRUE(store.touched.empty());
  EXPECT_EQ(list.Paths(), Paths{L"D:\\only"});

  list.UpdateBookmark(L"d:\\ONLY", BookmarkChange::Remove);
  EXPECT_TRUE(list.Paths().empty());
  EXPECT_TRUE(store.values.empty());
}

TEST(BookmarkList, GapsAndEmptyValuesCloseUpAndKey8IsNeverTouched) {
  FakeStore store;
  store.values = {{2, L"D:\\a"}, {5, L"D:\\b"}, {8, L"D:\\eighth"}};
  pw::BookmarkList list(store);
  list.Load();
  ASSERT_EQ(list.Paths(), Paths({L"D:\\a", L"D:\\b"}));
  list.Save();
  EXPECT_EQ(store.values, Values({{0, L"D:\\a"}, {1, L"D:\\b"}, {8, L"D:\\eighth"}}));

  store.values = {{0, L"D:\\a"}, {1, L""}, {2, L"D:\\unreadable"}, {3, L"D:\\c"}, {8, L"D:\\eighth"}};
  store.unreadable = {2};
  list.Load();
  ASSERT_EQ(list.Paths(), Paths({L"D:\\a", L"", L"D:\\c"}));
  list.Save();
  EXPECT_EQ(store.values, Values({{0, L"D:\\a"}, {1, L"D:\\c"}, {8, L"D:\\eighth"}}));
  EXPECT_EQ(store.touched.count(8), 0u);
}

TEST(BookmarkList, FailedSavesAreUndoneByTheReload) {
  FakeStore store;
  store.values = {{0, L"D:\\a"}, {1, L"D:\\b"}};
  store.writable = false;
  pw::BookmarkList list(store);
  list.UpdateBookmark(L"D:\\new", BookmarkChange::MoveToTop);
  list.UpdateBookmark(L"D:\\a", BookmarkChange::Remove);
  EXPECT_EQ(list.Paths(), Paths({L"D:\\a", L"D:\\b"}));

  FakeStore missing;
  missing.exists = missing.writable = false;
  pw::BookmarkList(missing).UpdateBookmark(L"D:\\a", BookmarkChange::MoveToTop);
  EXPECT_FALSE(missing.exists);

  store.writable = true;  // a refused write leaves its number to the next entry
  store.refused = {L"D:\\refused"};
  list.UpdateBookmark(L"D:\\refused", BookmarkChange::MoveToTop);
  EXPECT_EQ(store.values, Values({{0, L"D:\\a"}, {1, L"D:\\b"}}));
  EXPECT_EQ(list.Paths(), Paths({L"D:\\a", L"D:\\b"}));
}

TEST(BookmarkCaptions, ThePositionIsTheAccessKeyAndThePathShowsAsItIs) {
  EXPECT_EQ(pw::BookmarkMenuCaption(0, L"D:\\My Files\\a b.txt"), L"&0 D:\\My Files\\a b.txt");
  EXPECT_EQ(pw::BookmarkMenuCaption(7, L""), L"&7 ");
  EXPECT_EQ(pw::BookmarkMenuCaption(1, L"D:\\R&D\\a&&b"), L"&1 D:\\R&&D\\a&&&&b");
}
