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

// A box drawn at (10, 20), placed by itself as the classic engine's box is.
Orb::Placement placed(std::int64_t width, std::int64_t height, std::uint32_t boxWidth,
                      std::uint32_t boxHeight, std::uint32_t alignment = 2) {
  const Orb::PixelBox box{10, 20, 10 + std::int64_t{boxWidth}, 20 + std::int64_t{boxHeight}};
  return Orb::placementFor(width, height, box, box, alignment);
}

TEST(Geometry, BoxIsCentredWithItsBottomOnTheBaselineEvenWhenWiderThanTheFrame) {
  const Orb::Placement placement = placed(kDefaultWidth, kDefaultHeight, 200, 40);
  EXPECT_DOUBLE_EQ(placement.left, 220.0 / 641.0);
  EXPECT_DOUBLE_EQ(placement.right, 420.0 / 641.0);
  EXPECT_DOUBLE_EQ(placement.top, 0.95 - 40.0 / 481.0);
  EXPECT_DOUBLE_EQ(placement.bottom, 0.95);

  const Orb::Placement wide = placed(kDefaultWidth, kDefaultHeight, 900, 40);
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
    const Orb::Placement placement = placed(width, height, boxWidth, boxHeight);
    EXPECT_EQ(placement.left, 0.0);
    EXPECT_EQ(placement.top, 0.0);
    EXPECT_EQ(placement.right, 0.0);
    EXPECT_EQ(placement.bottom, 0.0);
  }
}

// The anchor is what is aligned; the region drawn around it keeps its place beside it.
TEST(Geometry, AlignmentPlacesTheAnchorOnItsRowAndColumn) {
  const Orb::PixelBox region{0, 0, 300, 60};
  const Orb::PixelBox anchor{10, 5, 290, 50};  // 280 x 45
  const double w = 1000.0, h = 500.0;
  const Orb::Placement bottomLeft = Orb::placementFor(1000, 500, region, anchor, 1);
  EXPECT_DOUBLE_EQ(bottomLeft.left, (50.0 - 10.0) / w);
  EXPECT_DOUBLE_EQ(bottomLeft.bottom, 0.95 + 10.0 / h) << "ink below the anchor hangs lower";
  const Orb::Placement topRight = Orb::placementFor(1000, 500, region, anchor, 9);
  EXPECT_DOUBLE_EQ(topRight.right, (1000.0 - 50.0 - 280.0 - 10.0 + 300.0) / w);
  EXPECT_DOUBLE_EQ(topRight.top, 0.05 - 5.0 / h);
  const Orb::Placement middle = Orb::placementFor(1000, 500, region, anchor, 5);
  EXPECT_DOUBLE_EQ(middle.left, (500.0 - 140.0 - 10.0) / w);
  EXPECT_DOUBLE_EQ(middle.top + (5.0 + 22.5) / h, 0.5) << "the anchor's centre on the frame's";
  const Orb::Placement unknown = Orb::placementFor(1000, 500, region, anchor, 12);
  const Orb::Placement bottomCentre = Orb::placementFor(1000, 500, region, anchor, 2);
  EXPECT_DOUBLE_EQ(unknown.left, bottomCentre.left);
  EXPECT_DOUBLE_EQ(unknown.top, bottomCentre.top);

  const Orb::PixelBox line = Orb::onFrame(bottomLeft, 1000, 500, region, Orb::PixelBox{20, 10, 120, 40});
  EXPECT_EQ(line.left, 60);
  EXPECT_EQ(line.bottom - line.top, 30);
  EXPECT_EQ(line.top, 475 - 50 + 10 - 0) << "the anchor's bottom at 475";
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
