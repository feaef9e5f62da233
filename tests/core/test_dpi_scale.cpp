#include "ui/core/DpiScale.h"

#include <gtest/gtest.h>

#include <vector>

namespace pw {
namespace {

TEST(DpiScale, RoundsToTheNearestPixelAndKeepsTheUsersShare) {
  EXPECT_EQ(ScaleToDpi(19, 144), 29);    // 28.5: halves go up
  EXPECT_EQ(ScaleToDpi(-19, 144), -29);  // and down for negative values, never toward zero
  EXPECT_EQ(ScaleToDpi(23, 0), 23);      // no DPI known: the design size
  EXPECT_EQ(ScaleToDpi(1'000'000'000, 192), 2'000'000'000);  // no overflow on the way
  EXPECT_EQ(FontHeightForDpi(8, 96), -11);   // 10.67
  EXPECT_EQ(FontHeightForDpi(8, 192), -21);  // 21.33: not rounded up
  EXPECT_EQ(RescaleDpi(95, 96, 144), 143);
  EXPECT_EQ(RescaleDpi(143, 144, 96), 95);  // and back without drifting
  EXPECT_EQ(RescaleDpi(0, 96, 192), 0);     // a hidden column stays hidden
  EXPECT_EQ(RescaleDpi(60, 0, 96), 60);
}

TEST(DpiScale, PictureSizeIsTheNearestDrawnOrTheLargestThatFits) {
  const std::vector<int> drawn{24, 16, 32}, none;
  EXPECT_EQ(NearestPictureSize(20, drawn), 16);  // a tie goes to the smaller, in any order
  EXPECT_EQ(NearestPictureSize(21, drawn), 24);
  EXPECT_EQ(NearestPictureSize(64, std::vector<int>{48, 0, 32}), 48);
  EXPECT_EQ(FittingPictureSize(30, drawn), 24);
  EXPECT_EQ(FittingPictureSize(12, drawn), 16);  // nothing fits: the smallest, cut rather than shrunk
  EXPECT_EQ(NearestPictureSize(24, none), 0);
  EXPECT_EQ(FittingPictureSize(12, none), 0);
}

}  // namespace
}  // namespace pw
