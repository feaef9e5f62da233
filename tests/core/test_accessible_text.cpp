#include "ui/core/AccessibleText.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(AccessibleText, MenuItemTextKeepsTheAccessKeyAndPutsTheShortcutAfterATab) {
  struct Row {
    const wchar_t* caption;
    const wchar_t* shortcut;
    const wchar_t* text;
  } rows[] = {
      {L"&Refresh", L"F5", L"&Refresh\tF5"},
      {L"E&xit", L"", L"E&xit"},
      {L"Copy && paste", L"Ctrl+Shift+C", L"Copy && paste\tCtrl+Shift+C"},
      {L"-", L"", L""},
      {L"-", L"F5", L""},  // a separator says nothing, whatever it carries
      {L"", L"F2", L"\tF2"},
  };
  for (const Row& row : rows) EXPECT_EQ(MenuItemText(row.caption, row.shortcut), row.text) << row.caption;
}

TEST(AccessibleText, SpokenCaptionAndAccessKeyName) {
  struct Row {
    const wchar_t* caption;
    const wchar_t* spoken;
    const wchar_t* key;
  } rows[] = {
      {L"E&xit", L"Exit", L"Alt+X"},
      {L"Save && &quit", L"Save & quit", L"Alt+Q"},
      {L"Fish && chips", L"Fish & chips", L""},
      {L"Trailing&", L"Trailing", L""},
      {L"&&&a", L"&a", L"Alt+A"},
      {L"", L"", L""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(SpokenCaption(row.caption), row.spoken) << row.caption;
    EXPECT_EQ(AccessKeyName(row.caption), row.key) << row.caption;
  }
}

}  // namespace
}  // namespace pw
