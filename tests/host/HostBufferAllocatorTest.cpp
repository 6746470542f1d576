// Output buffers as a component gets them: rows of `stride` pixels, refusals as null,
// and every buffer freed exactly once whether or not it was given back.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "host/HostBufferAllocator.h"

namespace {

TEST(HostBufferAllocator, BufferHoldsHeightRowsOfStridePixelsUntilGivenBack) {
  Host::HostBufferAllocator allocator;
  allocator.setStridePadding(3);
  EXPECT_TRUE(allocator.setBitsPerPixel(32));
  Orb::ImageBuffer* buffer = allocator.getBuffer(10, 4, 1);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->properties.width, 10);
  EXPECT_EQ(buffer->properties.height, 4);
  EXPECT_EQ(buffer->properties.stride, 13);
  EXPECT_EQ(buffer->size, 13u * 4u * 4u);

  std::uint8_t* pixels = buffer->lockData();
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[buffer->size - 1], 0);  // the whole block is there and cleared
  pixels[buffer->size - 1] = 0x70;
  buffer->unlockData();

  ASSERT_EQ(allocator.requests().size(), 1u);
  EXPECT_EQ(allocator.requests()[0].width, 10u);
  EXPECT_EQ(allocator.requests()[0].planes, 1u);

  // One given back, one kept: that one is freed by the allocator's destructor, which the
  // sanitizer build checks for a leak.
  ASSERT_NE(allocator.getBuffer(2, 2, 1), nullptr);
  EXPECT_EQ(allocator.outstandingBuffers(), 2u);
  buffer->release();
  EXPECT_EQ(allocator.outstandingBuffers(), 1u);
}

TEST(HostBufferAllocator, RefusesWhenToldAndForImpossibleSizes) {
  Host::HostBufferAllocator allocator;
  allocator.setRefusing(true);
  EXPECT_EQ(allocator.getBuffer(10, 10, 1), nullptr);
  allocator.setRefusing(false);

  EXPECT_EQ(allocator.getBuffer(0x7FFFFFFF, 0x7FFFFFFF, 1), nullptr);  // block beyond 32 bits
  EXPECT_EQ(allocator.getBuffer(0xFFFFFFFF, 1, 1), nullptr);           // width beyond a field
  EXPECT_EQ(allocator.getBuffer(65536, 65536, 1), nullptr);            // 16 GiB
  EXPECT_EQ(allocator.outstandingBuffers(), 0u);
  EXPECT_EQ(allocator.requests().size(), 4u);

  EXPECT_FALSE(allocator.setBitsPerPixel(12));
  EXPECT_EQ(allocator.bitsPerPixel(), 32);
}

TEST(HostBufferAllocator, RemembersOnlyTheLatestRequestsHoweverLongItRuns) {
  Host::HostBufferAllocator allocator;
  allocator.setRefusing(true);  // recorded all the same, and nothing to free
  const std::uint32_t calls = Host::HostBufferAllocator::kRecordedRequests + 10;
  for (std::uint32_t width = 1; width <= calls; ++width) allocator.getBuffer(width, 1, 1);
  const std::vector<Host::HostBufferAllocator::Request> requests = allocator.requests();
  ASSERT_EQ(requests.size(), Host::HostBufferAllocator::kRecordedRequests);
  EXPECT_EQ(requests.front().width, 11u);
  EXPECT_EQ(requests.back().width, calls);
}

TEST(HostBufferAllocator, HandsOutAndTakesBackFromSeveralThreads) {
  Host::HostBufferAllocator allocator;
  auto churn = [&] {
    for (int i = 0; i < 200; ++i) {
      Orb::ImageBuffer* buffer = allocator.getBuffer(8, 8, 1);
      ASSERT_NE(buffer, nullptr);
      buffer->lockData()[0] = 1;
      buffer->unlockData();
      buffer->release();
    }
  };
  std::thread worker(churn);
  churn();
  worker.join();
  EXPECT_EQ(allocator.outstandingBuffers(), 0u);
  EXPECT_EQ(allocator.requests().size(), 400u);
}

}  // namespace
