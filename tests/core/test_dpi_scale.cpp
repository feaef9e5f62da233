#include "ui/core/DpiScale.h"

#include <gtest/gtest.h>

#include <vector>

namespace pw {
namespace {

TEST(DpiScale, LayoutValuesRoundLikeMulDivInBothDirections) {
  EXPECT_EQ(ScaleToDpi(632, 144), 948);
  EXPECT_EQ(ScaleToDpi(376, 192), 752);
  EXPECT_EQ(ScaleToDpi(19, 144), 29);    // 28.5: halves go up
  EXPECT_EQ(ScaleToDpi(-19, 144), -29);  // and down for negative values, never toward zero
  EXPECT_EQ(ScaleToDpi(17, 120), 21);    // 21.25
  EXPECT_EQ(ScaleToDpi(23, 0), 23);  // no DPI known: the design size
  EXPECT_EQ(ScaleToDpi(1'000'000'000, 192), 2'000'000'000);  // no overflow on the way
}

TEST(DpiScale, FontsAtTheirPointSize) {
  EXPECT_EQ(FontHeightForDpi(8, 96), -11);
  EXPECT_EQ(FontHeightForDpi(8, 144), -16);
  EXPECT_EQ(FontHeightForDpi(8, 192), -21);
}

TEST(DpiScale, WidthsTheUserSetKeepTheirProportion) {
  EXPECT_EQ(RescaleDpi(95, 96, 192), 190);
  EXPECT_EQ(RescaleDpi(95, 96, 144), 143);
  EXPECT_EQ(RescaleDpi(143, 144, 96), 95);   // and back without drifting
  EXPECT_EQ(RescaleDpi(0, 96, 192), 0);      // a hidden column stays hidden
  EXPECT_EQ(RescaleDpi(60, 0, 96), 60);
}

TEST(DpiScale, NearestPictureNeverPrefersAFartherOne) {
  const std::vector<int> all{16, 24, 32};
  EXPECT_EQ(NearestPictureSize(24, all), 24);
  EXPECT_EQ(NearestPictureSize(20, all), 16);  // a tie goes to the smaller
  EXPECT_EQ(NearestPictureSize(21, all), 24);
  EXPECT_EQ(NearestPictureSize(48, all), 32);  // 300 %: the largest drawn
  EXPECT_EQ(NearestPictureSize(8, all), 16);
  // Only some drawn: the nearest of those, in whatever order they are listed.
  EXPECT_EQ(NearestPictureSize(32, std::vector<int>{16}), 16);
  EXPECT_EQ(NearestPictureSize(32, std::vector<int>{24, 16}), 24);
  EXPECT_EQ(NearestPictureSize(64, std::vector<int>{48, 0, 32}), 48);
  EXPECT_EQ(NearestPictureSize(24, std::vector<int>{}), 0);
}

TEST(DpiScale, FittingPictureIsTheLargestThatFitsItsCell) {
  const std::vector<int> icons{48, 16, 32, 24};
  EXPECT_EQ(FittingPictureSize(20, icons), 16);
  EXPECT_EQ(FittingPictureSize(30, icons), 24);
  EXPECT_EQ(FittingPictureSize(64, icons), 48);
  EXPECT_EQ(FittingPictureSize(12, icons), 16);  // nothing fits: the smallest
  EXPECT_EQ(FittingPictureSize(12, std::vector<int>{}), 0);
}

}  // namespace
}  // namespace pw
