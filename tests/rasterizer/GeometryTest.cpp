#include "rasterizer/Geometry.h"

#include <gtest/gtest.h>

namespace {

// The default frame (0, 0, 640, 480) has inclusive right and bottom edges.
constexpr std::int64_t kDefaultWidth = 641;
constexpr std::int64_t kDefaultHeight = 481;

TEST(Geometry, TextAreaIsTruncatedAndEmptyForAnEmptyOrNegativeFrame) {
  const Orb::TextArea area = Orb::textAreaFor(kDefaultWidth, kDefaultHeight);
  EXPECT_EQ(area.maxWidth, 576u);
  EXPECT_EQ(area.maxHeight, 96u);
  const Orb::TextArea none = Orb::textAreaFor(-5, 0);
  EXPECT_EQ(none.maxWidth, 0u);
  EXPECT_EQ(none.maxHeight, 0u);
}

TEST(Geometry, BoxIsCentredWithItsBottomOnTheBaselineEvenWhenWiderThanTheFrame) {
  const Orb::Placement placement = Orb::placementFor(kDefaultWidth, kDefaultHeight, 200, 40);
  EXPECT_DOUBLE_EQ(placement.left, 220.0 / 641.0);
  EXPECT_DOUBLE_EQ(placement.right, 420.0 / 641.0);
  EXPECT_DOUBLE_EQ(placement.top, 0.95 - 40.0 / 481.0);
  EXPECT_DOUBLE_EQ(placement.bottom, 0.95);

  const Orb::Placement wide = Orb::placementFor(kDefaultWidth, kDefaultHeight, 900, 40);
  EXPECT_DOUBLE_EQ(wide.left, (320.0 - 450.0) / 641.0);  // starts left of the frame
  EXPECT_DOUBLE_EQ(wide.right, (320.0 - 450.0 + 900.0) / 641.0);
}

TEST(Geometry, EmptyBoxOrFrameIsPlacedAtZeros) {
  for (const auto& [width, height, boxWidth, boxHeight] :
       {std::tuple<std::int64_t, std::int64_t, std::uint32_t, std::uint32_t>{641, 481, 0, 0},
        {641, 481, 0, 30},
        {641, 481, 30, 0},
        {0, 481, 30, 30},
        {641, -1, 30, 30}}) {
    const Orb::Placement placement = Orb::placementFor(width, height, boxWidth, boxHeight);
    EXPECT_EQ(placement.left, 0.0);
    EXPECT_EQ(placement.top, 0.0);
    EXPECT_EQ(placement.right, 0.0);
    EXPECT_EQ(placement.bottom, 0.0);
  }
}

TEST(Geometry, FontSizeFollowsTheTighterDimension) {
  EXPECT_EQ(Orb::fontSizeFor(kDefaultWidth, kDefaultHeight), 21u);
  EXPECT_EQ(Orb::fontSizeFor(1920, 1080), 49u);
  EXPECT_EQ(Orb::fontSizeFor(320, 1080), 11u);
  EXPECT_EQ(Orb::fontSizeFor(10, 10), 1u);
}

TEST(Geometry, OnlyARealSmallerAnswerShrinksTheFrame) {
  std::int32_t edge = 640;
  EXPECT_TRUE(Orb::limitFrameEdge(edge, kDefaultWidth, true, 320));
  EXPECT_EQ(edge, 319);

  edge = 640;
  EXPECT_FALSE(Orb::limitFrameEdge(edge, kDefaultWidth, true, 700));
  EXPECT_FALSE(Orb::limitFrameEdge(edge, kDefaultWidth, true, 641));
  EXPECT_FALSE(Orb::limitFrameEdge(edge, kDefaultWidth, true, 0));
  EXPECT_FALSE(Orb::limitFrameEdge(edge, kDefaultWidth, true, -20));
  EXPECT_FALSE(Orb::limitFrameEdge(edge, kDefaultWidth, false, 320));
  EXPECT_EQ(edge, 640);
}

}  // namespace
