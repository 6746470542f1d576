#pragma once
// A downstream port that keeps a copy of everything a component sends it: every image
// (pixels copied out of the buffer with its description) and every image-properties
// message; it counts flushes, answers the maximum-size queries as configured and can be
// told to refuse images.
//
// Every image buffer delivered is released (given back to its allocator) once the port
// is done with it, accepted or refused: a sender retrying refused images must not pile
// up buffers in the allocator.
//
// Threads: the component calls it from host threads and its worker thread while a test
// reads it; every operation is thread-safe.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/FormatDescriptor.h"
#include "framework/ImageProperties.h"
#include "framework/PortInterface.h"

namespace Host {

class CapturingPort : public Orb::PortInterface {
 public:
  struct Image {
    Orb::ImageProperties properties;     ///< as delivered: size, region, placement, stride
    Orb::FormatDescriptor descriptor;    ///< the buffer's descriptor words
    std::vector<std::uint8_t> pixels;    ///< the whole block (`size` bytes)

    /// The 4 bytes of pixel (x, y), using the stride; null outside the block.
    const std::uint8_t* pixel(int x, int y) const;
  };

  CapturingPort() = default;
  CapturingPort(const CapturingPort&) = delete;
  CapturingPort& operator=(const CapturingPort&) = delete;

  /// Answers true for every question.
  bool query(std::uint32_t code, const Orb::PropertyValue* value) override;
  /// Counts CONTROL_FLUSH; answers true.
  bool control(std::uint32_t code, const Orb::PropertyValue* value) override;
  /// QUERY_MAX_WIDTH / QUERY_MAX_HEIGHT: the configured answer (tag ValueUInt32, signed
  /// 32-bit payload) and true; false, `*value` unchanged, when not configured.
  bool getValue(std::uint32_t code, Orb::PropertyValue* value) override;
  /// MESSAGE_SAMPLE (an ImageBuffer) and MESSAGE_IMAGE_PROPERTIES are kept and accepted;
  /// a sample is refused (released, not kept) while refusing. Anything else is refused.
  bool deliver(std::uint32_t code, const Orb::PropertyValue* value) override;

  /// Answers for the maximum-size queries; nullopt leaves the query unanswered.
  void setMaxWidth(std::optional<std::int32_t> width);
  void setMaxHeight(std::optional<std::int32_t> height);

  /// Refuse every image from now on (or accept them again).
  void setRefusing(bool refusing);
  /// Refuse only the next `count` images.
  void refuseNext(std::uint32_t count);

  std::vector<Image> images() const;
  std::vector<Orb::ImageProperties> imageProperties() const;
  /// Codes of every control and deliver call, in arrival order.
  std::vector<std::uint32_t> messages() const;
  int flushCount() const;
  int refusedCount() const;

  /// Waits until at least `count` images were kept; false on time-out.
  bool waitForImages(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  bool takeImage(const Orb::PropertyValue* value);

  mutable std::mutex mutex_;
  mutable std::condition_variable imageArrived_;
  std::optional<std::int32_t> maxWidth_, maxHeight_;
  std::uint64_t refusalsLeft_ = 0;
  std::vector<Image> images_;
  std::vector<Orb::ImageProperties> imageProperties_;
  std::vector<std::uint32_t> messages_;
  int flushes_ = 0;
  int refused_ = 0;
};

}  // namespace Host
