// Output buffers recycled as a frame pool does: the same block again for the same shape,
// the smallest that holds a smaller image, a new zero-filled one otherwise, a pool that
// stays small, and nothing leaked.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/RecyclingAllocator.h"

namespace {

TEST(RecyclingAllocator, GivesBackTheSameBlockForTheSameShapeAndANewOneOtherwise) {
  Host::RecyclingAllocator allocator;
  EXPECT_FALSE(allocator.setBitsPerPixel(8));
  Orb::ImageBuffer* first = allocator.getBuffer(6, 3, 1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->properties.stride, 6);
  EXPECT_EQ(first->size, 6u * 3u * 4u);
  std::uint8_t* pixels = first->lockData();
  EXPECT_EQ(pixels[first->size - 1], 0) << "a new block is never another process's memory";
  pixels[0] = 0x55;
  first->unlockData();
  first->release();

  Orb::ImageBuffer* again = allocator.getBuffer(6, 3, 1);
  EXPECT_EQ(again, first);
  EXPECT_EQ(again->lockData()[0], 0x55) << "recycled as it is: the component clears it";
  again->unlockData();
  Orb::ImageBuffer* other = allocator.getBuffer(3, 6, 1);
  EXPECT_NE(other, again) << "a buffer in use is never handed out twice";
  other->release();
  again->release();
  EXPECT_EQ(allocator.getBuffer(0x40000000, 4, 1), nullptr) << "larger than 32 bits can hold";
}

TEST(RecyclingAllocator, ASmallerImageTakesTheSmallestBlockThatHoldsIt) {
  Host::RecyclingAllocator allocator;
  Orb::ImageBuffer* large = allocator.getBuffer(40, 10, 1);
  Orb::ImageBuffer* medium = allocator.getBuffer(20, 10, 1);
  Orb::ImageBuffer* small = allocator.getBuffer(4, 4, 1);
  medium->release();
  large->release();
  small->release();
  Orb::ImageBuffer* taken = allocator.getBuffer(10, 15, 1);
  ASSERT_EQ(taken, medium) << "the 4 x 4 block is too small, the 40 x 10 one larger than needed";
  EXPECT_EQ(taken->size, 20u * 10u * 4u) << "the block keeps its size";
  EXPECT_EQ(taken->properties.width, 10);
  EXPECT_EQ(taken->properties.stride, 10);
  EXPECT_EQ(taken->properties.height, 15);
  EXPECT_NE(allocator.getBuffer(50, 10, 1), large) << "no given-back block holds it";
}

TEST(RecyclingAllocator, ThePoolKeepsOnlyTheLargestBuffersGivenBack) {
  Host::RecyclingAllocator allocator;
  std::vector<Orb::ImageBuffer*> buffers;
  const std::uint32_t shapes = Host::RecyclingAllocator::kPooledBuffers + 2;
  for (std::uint32_t width = 1; width <= shapes; ++width) buffers.push_back(allocator.getBuffer(width, 2, 1));
  // Given back largest first: the two smallest, given back last, are the ones dropped.
  for (auto buffer = buffers.rbegin(); buffer != buffers.rend(); ++buffer) (*buffer)->release();
  EXPECT_EQ(allocator.getBuffer(shapes, 2, 1), buffers.back());
  Orb::ImageBuffer* kept = allocator.getBuffer(1, 2, 1);
  EXPECT_EQ(kept, buffers[2]) << "the smallest block left that holds it";
  kept->release();
}

}  // namespace
