// Pixel rectangles count their far edges, normalised ones do not; mixing the two up
// shifts every placed subtitle by a pixel or a frame.
#include <gtest/gtest.h>

#include "framework/RectFloat.h"
#include "framework/RectInt.h"

namespace {

TEST(Rect, IntegerEdgesAreInclusive) {
  const Orb::RectInt frame(0, 0, 640, 480);
  EXPECT_EQ(frame.width(), 641);
  EXPECT_EQ(frame.height(), 481);

  const Orb::RectInt vga(0, 0, 639, 479);
  EXPECT_EQ(vga.width(), 640);
  EXPECT_EQ(vga.height(), 480);

  const Orb::RectInt offset(10, 20, 10, 20);
  EXPECT_EQ(offset.width(), 1);
  EXPECT_EQ(offset.height(), 1);
}

TEST(Rect, FloatEdgesAreExclusive) {
  EXPECT_EQ(Orb::RectFloat().width(), 0.0);
  EXPECT_EQ(Orb::RectFloat().height(), 0.0);
  const Orb::RectFloat placement(0.25, 0.5, 0.75, 0.95);
  EXPECT_DOUBLE_EQ(placement.width(), 0.5);
  EXPECT_DOUBLE_EQ(placement.height(), 0.45);
}

}  // namespace
