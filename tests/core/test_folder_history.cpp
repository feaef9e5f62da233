#include <gtest/gtest.h>

#include <set>
#include <string>

#include "browse/core/FolderHistory.h"

namespace {

std::wstring Name(int i) { return L"C:\\F" + std::to_wstring(i) + L"\\"; }

}  // namespace

TEST(FolderHistory, StepsSkipGoneFoldersAndANewVisitDropsWhatLayAhead) {
  pw::FolderHistory history;
  std::set<std::wstring> gone;
  const pw::FolderHistory::Available there = [&](const std::wstring& f) { return gone.count(f) == 0; };
  EXPECT_FALSE(history.Back(there).Folder);
  for (int i = 0; i < 5; ++i) history.Visit(Name(i));
  history.Visit(L"c:\\f4\\");  // the folder shown, listed again: no new step
  gone = {Name(3), Name(2)};
  const pw::FolderHistory::Step back = history.Back(there);
  EXPECT_EQ(back.Folder, Name(1));
  EXPECT_EQ(back.Skipped, 2);
  EXPECT_EQ(history.Forward(there).Folder, Name(4));

  gone = {Name(0), Name(1), Name(2), Name(3)};
  EXPECT_EQ(history.Back(there).Skipped, 4);
  gone.clear();
  EXPECT_EQ(history.Back(there).Folder, Name(3));  // a failed step stayed where it was

  history.Visit(L"");  // the drive list
  EXPECT_FALSE(history.Forward(there).Folder);
  EXPECT_EQ(history.Back(there).Folder, Name(3));
  EXPECT_EQ(history.Forward(there).Folder, L"");
}

TEST(FolderHistory, KeepsTheLatestFiftyVisits) {
  pw::FolderHistory history;
  for (int i = 0; i < 60; ++i) history.Visit(Name(i));
  const auto all = [](const std::wstring&) { return true; };
  std::wstring last;
  size_t steps = 0;
  for (; auto folder = history.Back(all).Folder; ++steps) last = *folder;
  EXPECT_EQ(steps, pw::FolderHistory::kLimit - 1);
  EXPECT_EQ(last, Name(10));
}
