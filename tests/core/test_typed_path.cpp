#include <gtest/gtest.h>

#include "browse/core/TypedPath.h"

TEST(TypedPath, BlanksQuotesAndBareDrivesAreTidied) {
  EXPECT_EQ(pw::CleanTypedPath(L" \" d:\\Data \" \r\n"), L"D:\\Data");
  EXPECT_EQ(pw::CleanTypedPath(L"q:"), L"Q:\\");
  EXPECT_EQ(pw::CleanTypedPath(L"q:sub"), L"Q:sub");  // relative to the drive: left as typed
  EXPECT_EQ(pw::CleanTypedPath(L"\"C:\\Data"), L"\"C:\\Data");  // a lone quote is refused later
  EXPECT_EQ(pw::CleanTypedPath(L"\""), L"\"");
  EXPECT_EQ(pw::CleanTypedPath(L" \"\" "), L"");
}
