// Pixel rectangles count their far edges, normalised ones do not; mixing the two up
// shifts every placed subtitle by a pixel or a frame.
#include <gtest/gtest.h>

#include "framework/RectFloat.h"
#include "framework/RectInt.h"

namespace {

TEST(Rect, IntegerEdgesAreInclusiveFloatEdgesExclusive) {
  EXPECT_EQ(Orb::RectInt(0, 0, 640, 480).width(), 641);
  EXPECT_EQ(Orb::RectInt(0, 0, 640, 480).height(), 481);
  EXPECT_EQ(Orb::RectInt(10, 20, 10, 20).width(), 1);
  EXPECT_EQ(Orb::RectInt(10, 20, 10, 20).height(), 1);
  EXPECT_EQ(Orb::RectFloat().width(), 0.0);
  const Orb::RectFloat placement(0.25, 0.5, 0.75, 0.95);
  EXPECT_DOUBLE_EQ(placement.width(), 0.5);
  EXPECT_DOUBLE_EQ(placement.height(), 0.45);
}

}  // namespace
