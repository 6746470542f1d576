// The downstream port keeps what it is sent, exactly as sent, and refuses on request.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "framework/MessageCodes.h"
#include "host/CapturingPort.h"
#include "host/HostBufferAllocator.h"

namespace {

// Draws a recognisable pattern: pixel (x, y) holds bytes x, y, 0xAB, 0xCD.
Orb::ImageBuffer* drawnBuffer(Host::HostBufferAllocator& allocator, std::uint32_t width,
                              std::uint32_t height) {
  Orb::ImageBuffer* buffer = allocator.getBuffer(width, height, 1);
  std::uint8_t* pixels = buffer->lockData();
  const auto stride = static_cast<std::uint32_t>(buffer->properties.stride);
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < stride; ++x) {
      std::uint8_t* pixel = pixels + (y * stride + x) * 4;
      pixel[0] = static_cast<std::uint8_t>(x), pixel[1] = static_cast<std::uint8_t>(y);
      pixel[2] = 0xAB, pixel[3] = 0xCD;
    }
  buffer->unlockData();
  buffer->properties.region = Orb::RectInt(1, 2, 5, 6);
  buffer->properties.placement = Orb::RectFloat(0.25, 0.8, 0.75, 0.95);
  buffer->code = 0x11223344;
  buffer->word2 = 9;
  return buffer;
}

TEST(CapturingPort, KeepsACopyOfEachImageAndGivesTheBufferBack) {
  Host::HostBufferAllocator allocator;
  allocator.setStridePadding(2);
  Host::CapturingPort port;
  Orb::ImageBuffer* buffer = drawnBuffer(allocator, 6, 8);
  const Orb::PropertyValue value = Orb::PropertyValue::makePointer(buffer);

  ASSERT_TRUE(port.deliver(Orb::MESSAGE_SAMPLE, &value));
  EXPECT_EQ(allocator.outstandingBuffers(), 0u);  // copied, then released

  const auto images = port.images();
  ASSERT_EQ(images.size(), 1u);
  const auto& image = images[0];
  EXPECT_EQ(image.properties.stride, 8);
  EXPECT_EQ(image.properties.width, 6);
  EXPECT_EQ(image.properties.region, Orb::RectInt(1, 2, 5, 6));
  EXPECT_EQ(image.properties.placement, Orb::RectFloat(0.25, 0.8, 0.75, 0.95));
  EXPECT_EQ(image.descriptor.code, 0x11223344u);
  EXPECT_EQ(image.descriptor.word2, 9u);
  EXPECT_EQ(image.pixels.size(), 8u * 8u * 4u);

  const std::uint8_t* pixel = image.pixel(7, 5);  // inside the stride padding
  ASSERT_NE(pixel, nullptr);
  EXPECT_EQ(pixel[0], 7);
  EXPECT_EQ(pixel[1], 5);
  EXPECT_EQ(pixel[3], 0xCD);
  EXPECT_EQ(image.pixel(8, 0), nullptr);  // beyond the row
  EXPECT_EQ(image.pixel(0, 8), nullptr);  // beyond the block
  EXPECT_EQ(image.pixel(-1, 0), nullptr);
}

TEST(CapturingPort, RefusedImagesAreGivenBackButNotKept) {
  Host::HostBufferAllocator allocator;
  Host::CapturingPort port;
  const auto send = [&] {
    const Orb::PropertyValue value = Orb::PropertyValue::makePointer(drawnBuffer(allocator, 2, 2));
    return port.deliver(Orb::MESSAGE_SAMPLE, &value);
  };
  port.refuseNext(2);
  EXPECT_FALSE(send());
  EXPECT_FALSE(send());
  EXPECT_TRUE(send());
  port.setRefusing(true);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(send());
  port.setRefusing(false);
  EXPECT_TRUE(send());
  EXPECT_EQ(port.images().size(), 2u);
  EXPECT_EQ(port.refusedCount(), 5);
  EXPECT_EQ(allocator.outstandingBuffers(), 0u);  // a retrying sender piles nothing up
}

TEST(CapturingPort, KeepsImagePropertiesAndTheOrderOfMessages) {
  Host::CapturingPort port;
  Orb::ImageProperties frame;
  frame.width = 641;
  frame.height = 481;
  const Orb::PropertyValue value = Orb::PropertyValue::makePointer(&frame);
  EXPECT_TRUE(port.deliver(Orb::MESSAGE_IMAGE_PROPERTIES, &value));
  frame.width = 1;  // the port kept a copy, not the caller's record
  EXPECT_TRUE(port.control(Orb::CONTROL_FLUSH, nullptr));
  EXPECT_TRUE(port.control(Orb::CONTROL_FLUSH, nullptr));

  EXPECT_FALSE(port.deliver(Orb::MESSAGE_SAMPLE, nullptr));
  EXPECT_FALSE(port.deliver(Orb::MESSAGE_FONT_NAME, &value));

  ASSERT_EQ(port.imageProperties().size(), 1u);
  EXPECT_EQ(port.imageProperties()[0].width, 641);
  EXPECT_EQ(port.imageProperties()[0].hostWord1, 1);
  EXPECT_EQ(port.flushCount(), 2);
  const std::vector<std::uint32_t> expected{Orb::MESSAGE_IMAGE_PROPERTIES, Orb::CONTROL_FLUSH,
                                            Orb::CONTROL_FLUSH, Orb::MESSAGE_SAMPLE,
                                            Orb::MESSAGE_FONT_NAME};
  EXPECT_EQ(port.messages(), expected);
}

TEST(CapturingPort, AnswersMaximumSizesOnlyWhenConfigured) {
  Host::CapturingPort port;
  Orb::PropertyValue value = Orb::PropertyValue::makeUInt32(77);
  EXPECT_FALSE(port.getValue(Orb::QUERY_MAX_WIDTH, &value));
  EXPECT_EQ(value.payload.uint32, 77u);

  port.setMaxWidth(320);
  port.setMaxHeight(-1);
  ASSERT_TRUE(port.getValue(Orb::QUERY_MAX_WIDTH, &value));
  EXPECT_EQ(value.payload.int32, 320);
  ASSERT_TRUE(port.getValue(Orb::QUERY_MAX_HEIGHT, &value));
  EXPECT_EQ(value.payload.int32, -1);
  EXPECT_FALSE(port.getValue(Orb::QUERY_READY, &value));
  EXPECT_FALSE(port.getValue(Orb::QUERY_MAX_WIDTH, nullptr));
}

TEST(CapturingPort, WaitsForImagesFromAnotherThread) {
  Host::HostBufferAllocator allocator;
  Host::CapturingPort port;
  EXPECT_FALSE(port.waitForImages(1, std::chrono::milliseconds(1)));
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      const Orb::PropertyValue value =
          Orb::PropertyValue::makePointer(drawnBuffer(allocator, 4, 4));
      port.deliver(Orb::MESSAGE_SAMPLE, &value);
    }
  });
  EXPECT_TRUE(port.waitForImages(3, std::chrono::seconds(30)));
  worker.join();
  EXPECT_EQ(port.images().size(), 3u);
}

}  // namespace
